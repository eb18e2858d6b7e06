// The markup that frames every story of a tagged story file. The texts are plain ASCII and are
// built once when the library loads; the start tag is the template with "@" replaced by the
// box key and then "%" by the location.
#pragma once

#include "platform/common/ct_string.h"

class CT_StoryTags {
  public:
    static const CT_String sco_StartTagTemplate;  // <STORY NAME="@" LOCATION="%">
    static const CT_String sco_EndTag;            // </STORY>
    static const CT_String sco_StoryStart;        // <STORY NAME=" : what a reader looks for
    static const CT_String sco_KeyEnd;            // the double quote that ends the key
    static const CT_String sco_StartTagEnd;       // >
    static const CT_String sco_MasterPage;        // first letters of the locations
    static const CT_String sco_DocumentPage;
    static const CT_String sco_PasteBoard;

    static constexpr const char* spc_KeyMarker = "@";
    static constexpr const char* spc_LocationMarker = "%";
};
