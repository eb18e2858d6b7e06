#include "textbox/ct_story_tags.h"

const CT_String CT_StoryTags::sco_StartTagTemplate("<STORY NAME=\"@\" LOCATION=\"%\">", 0);
const CT_String CT_StoryTags::sco_EndTag("</STORY>", 0);
const CT_String CT_StoryTags::sco_StoryStart("<STORY NAME=\"", 0);
const CT_String CT_StoryTags::sco_KeyEnd("\"", 0);
const CT_String CT_StoryTags::sco_StartTagEnd(">", 0);
const CT_String CT_StoryTags::sco_MasterPage("M", 0);
const CT_String CT_StoryTags::sco_DocumentPage("P", 0);
const CT_String CT_StoryTags::sco_PasteBoard("B", 0);
