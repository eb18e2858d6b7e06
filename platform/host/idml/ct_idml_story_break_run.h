// Line ends in a row held as one element. Its name is "Br" repeated with "/><" between, so that
// written without indentation, as a package stores its stories, it comes out as that many
// <Br/> elements byte for byte while the tree spends one node on them: thousands of empty
// paragraphs would otherwise cost far more than the text they come from. Only an import makes
// such an element, and the codec reads it back as the breaks it stands for. Stateless.
#pragma once

#include <pugixml.hpp>

#include <cstddef>

class CT_IdmlStoryBreakRun {
  public:
    // Appends n_Count plain line ends to co_Parent: a <Br/>, or one element for all of them.
    static void sv_Append(pugi::xml_node co_Parent, std::size_t n_Count);
    // Whether the element is a run that sv_Append made (of two line ends or more).
    static bool sb_IsRun(const pugi::xml_node& co_Element);
    // How many line ends the element stands for: its length for a run, else 1.
    static std::size_t sn_Count(const pugi::xml_node& co_Element);
};
