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
    // Before v_Walk: walk only as far as the first point where the text read holds at least
    // n_Characters characters (counted from the text alone) and no flow is inside a paragraph,
    // as paragraphs are tallied (b_InParagraph, b_EndsParagraph). 0: the whole story.
    void v_StopAt(std::size_t n_Characters) { n_StopAt = n_Characters; }
    // Events were left out: the walk stopped before the end.
    bool b_Stopped() const { return b_Dropped; }

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

    void v_Count(const CT_IdmlStoryEvent& co_Event);
    bool b_IsHidden(const pugi::xml_node& co_Range) const;

    static std::vector<pugi::xml_node> sco_CellsInReadingOrder(const pugi::xml_node& co_Table);

    std::vector<CT_IdmlStoryEvent>& co_Events;
    std::vector<CT_IdmlStoryFlow>& co_Flows;
    const std::unordered_set<std::string>* pco_Hidden;
    // v_StopAt's count.
    std::size_t n_StopAt = 0;
    std::size_t n_Seen = 0;
    std::size_t n_Open = 0;       // flows inside a paragraph
    std::vector<bool> co_Inside;  // per flow
    bool b_Enough = false;        // the point is reached: no event is added after it
    bool b_Dropped = false;
};
