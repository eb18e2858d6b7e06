// One text flow of a story: the story itself, a footnote, a note or a table cell. Holds what
// the rebuild needs to give new text the formatting of the old one: per paragraph its
// paragraph range and its base character range (the one whose text needs no code), and the
// breaks in text order. Nodes belong to the story's XML document.
#pragma once

#include <pugixml.hpp>

#include <cstddef>
#include <vector>

struct CT_IdmlStoryParagraph {
    pugi::xml_node co_Psr;
    pugi::xml_node co_BaseCsr;
    unsigned n_BaseKey = 0;  // range key of co_BaseCsr
};

struct CT_IdmlStoryFlow {
    pugi::xml_node co_Root;      // Story, Footnote, Note or Cell
    pugi::xml_node co_FirstPsr;  // first ranges met in the flow, empty ones included
    pugi::xml_node co_FirstCsr;
    std::vector<CT_IdmlStoryParagraph> co_Paragraphs;  // never empty once analysed
    std::vector<std::size_t> co_Breaks;                // event indexes of the flow's breaks
};
