// What each element met inside a story means to the codec: a range that formats the text, a
// setting that travels with its parent, text, a paragraph end, something that wraps text and
// keeps its identity, tracked text, an element with text flows of its own, or an object that is
// carried whole. Stateless.
#pragma once

#include <pugixml.hpp>

enum class et_IdmlRole {
    e_ParagraphRange,
    e_CharacterRange,
    e_Setting,      // Properties and the like: copied with the element that holds them
    e_Content,      // text, with processing instructions for special characters
    e_Break,        // the end of a paragraph
    e_Wrapper,      // hyperlink source, XML element: around text, never split or dropped
    e_TrackedText,  // inserted or moved text of a tracked change: stays text
    e_Note,         // footnote or note: a text flow of its own, anchored in the text
    e_Table,        // cells, each a text flow of its own
    e_Object,       // anything else, deleted text included: kept whole
};

class CT_IdmlStoryElements {
  public:
    static et_IdmlRole seo_Role(const pugi::xml_node& co_Element);
    // Children that a copy of the element keeps when its text is rebuilt: the settings, and
    // for a table everything but its cells.
    static bool sb_IsKept(const pugi::xml_node& co_Child, const pugi::xml_node& co_Parent);
};
