// Turns the XML of one IDML story into the tagged content a translator edits, and rebuilds the
// story from translated content. Text and paragraphs come from the content; formatting runs and
// objects come back from the story's own XML by their code numbers. Stateless; the caller owns
// the XML documents.
#pragma once

#include <pugixml.hpp>

#include <string>
#include <string_view>

#include "platform/common/ct_string.h"

class CT_IdmlStoryCodec {
  public:
    // The tagged content of the story element (the <Story> inside Stories/Story_*.xml): UTF-8,
    // paragraphs ending in "\n", "\", "<" and ">" of the text escaped as "\\", "\<" and "\>",
    // <gN>...</gN> around formatting runs and <xN/> for objects, N unique in the story.
    // Every paragraph ends in "\n", the last one too, so a story that ends with a break ends
    // in "\n\n" and an empty story is "\n". Footnotes, notes and table cells (row by row) stand
    // where they are anchored, between <xN/> codes, their paragraphs ending the same way.
    static std::string s_Export(const pugi::xml_node& co_Story);

    // The story's plain text without codes (and without the last paragraph's line end), at most
    // n_Limit code points of it into co_Text; true when the text goes on. With b_Preview, line
    // ends, tabs and U+2028 read as spaces.
    static bool b_PlainText(const pugi::xml_node& co_Story, std::string& co_Text,
                            std::size_t n_Limit, bool b_Preview);

    // Rebuilds the story element from tagged content. Refuses content that drops an object,
    // uses an unknown code or leaves a code unbalanced, by raising e_BadContent with a text that
    // names the key and the code; the story is then left exactly as it was. Content equal to
    // s_Export's leaves the XML untouched. A flow's last line end may be missing; "\r\n" and
    // "\r" count as line ends. Only running out of memory raises anything else.
    static void v_Import(pugi::xml_node co_Story, std::string_view co_Content,
                         const CT_String& co_Key);
};
