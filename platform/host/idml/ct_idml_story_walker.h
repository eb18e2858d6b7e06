// Reads a story's XML in text order and lays it out flat: one event per piece of text, break,
// object, and start or end of a wrapper, note or table; every footnote, note and table cell
// gets a flow of its own, read where it is anchored (cells row by row, a merged cell once).
// A character range under conditions that are all hidden is one object, carried whole. Fills
// vectors the caller owns; the events point into the caller's XML document.
#pragma once

#include <pugixml.hpp>

#include <string>
#include <unordered_set>
#include <vector>

#include "platform/host/idml/ct_idml_story_event.h"
#include "platform/host/idml/ct_idml_story_flow.h"

class CT_IdmlStoryWalker {
  public:
    // pco_HiddenConditions: the ids of the hidden conditions, or null for none; the caller's.
    CT_IdmlStoryWalker(std::vector<CT_IdmlStoryEvent>& co_Events,
                       std::vector<CT_IdmlStoryFlow>& co_Flows,
                       const std::unordered_set<std::string>* pco_HiddenConditions = nullptr);

    // Flow 0 is the story itself.
    void v_Walk(const pugi::xml_node& co_Story);

  private:
    struct ct_Context {
        pugi::xml_node co_Psr;
        pugi::xml_node co_Csr;
        pugi::xml_node co_Change;
        unsigned n_Flow = 0;
        unsigned n_Level = 0;
    };

    void v_Flow(const pugi::xml_node& co_Root);
    void v_Children(const pugi::xml_node& co_Parent, const ct_Context& co_Context);
    void v_Node(const pugi::xml_node& co_Node, const ct_Context& co_Context);
    void v_Element(const pugi::xml_node& co_Element, const ct_Context& co_Context);
    void v_Range(const pugi::xml_node& co_Range, ct_Context co_Context, bool b_Paragraph);
    void v_Content(const pugi::xml_node& co_Content, const ct_Context& co_Context);
    void v_Wrapper(const pugi::xml_node& co_Wrapper, const ct_Context& co_Context);
    void v_Note(const pugi::xml_node& co_Note, const ct_Context& co_Context);
    void v_Table(const pugi::xml_node& co_Table, const ct_Context& co_Context);
    void v_Add(et_IdmlEvent eo_Kind, const pugi::xml_node& co_Node, const ct_Context& co_Context,
               unsigned n_Inner = 0);

    bool b_IsHidden(const pugi::xml_node& co_Range) const;

    static std::vector<pugi::xml_node> sco_CellsInReadingOrder(const pugi::xml_node& co_Table);

    std::vector<CT_IdmlStoryEvent>& co_Events;
    std::vector<CT_IdmlStoryFlow>& co_Flows;
    const std::unordered_set<std::string>* pco_Hidden;
};
