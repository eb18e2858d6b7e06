// Copies an element of a story without its text, so that new text can be put in: its name,
// its attributes and the children it keeps (settings; a table's rows and columns). Kept
// children before the element's text are copied when the copy is opened, those after it when
// the copy is closed, so that they keep their place. Indentation is not copied.
#pragma once

#include <pugixml.hpp>

class CT_IdmlStoryTemplate {
  public:
    // Appends the copy to co_Parent, with the kept children that stood before the text.
    static pugi::xml_node sco_Open(const pugi::xml_node& co_Source, pugi::xml_node co_Parent);
    // Appends to co_Copy the kept children that stood after the text.
    static void sv_Close(const pugi::xml_node& co_Source, pugi::xml_node co_Copy);
};
