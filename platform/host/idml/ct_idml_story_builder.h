// Builds the new XML of a story's text from the leaves of translated content. Each leaf gets a
// place: the paragraph range of its paragraph (paragraph k of a flow takes that of old
// paragraph k, the last one's for extra paragraphs), and a character range: its format code's,
// else its paragraph's base; objects and breaks keep the one they had. Ranges are opened and
// closed as consecutive leaves need them, split wherever a wrapper begins or ends. A wrapper
// is never split: it stands at the level it had (in a character range, right in a paragraph
// range, or outside them) in the ranges of its first leaf, and leaves inside it that need
// other ranges get ranges of their own inside it. Copies from the analysed story's document
// into the target's document; both must outlive the builder.
#pragma once

#include <pugixml.hpp>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/host/idml/ct_idml_story_analysis.h"
#include "platform/host/idml/ct_idml_story_leaf.h"

class CT_IdmlStoryBuilder {
  public:
    CT_IdmlStoryBuilder(CT_IdmlStoryAnalysis& co_Analysis,
                        const std::vector<CT_IdmlStoryLeaf>& co_Leaves);

    // Appends the story's new text (flow 0) to co_Target.
    void v_Build(pugi::xml_node co_Target);

  private:
    struct ct_Place {
        pugi::xml_node co_Psr;
        pugi::xml_node co_Csr;
        pugi::xml_node co_Change;
        unsigned n_CsrKey = 0;
    };
    // One open element of the flow being built. Types: 'P' paragraph range, 'C' character
    // range, 'W' wrapper, 'T' tracked change, 'X' Content.
    struct ct_Entry {
        char c_Type;
        std::uintptr_t n_Key;
        pugi::xml_node co_Source;
        pugi::xml_node co_Element;
    };
    struct ct_Flow {
        pugi::xml_node co_Target;
        std::vector<ct_Entry> co_Open;
        std::vector<unsigned> co_Wrappers;  // open wrapper codes, innermost last
        bool b_Any = false;
    };

    void v_Places();
    ct_Place co_PlaceOf(const CT_IdmlStoryLeaf& co_Leaf, unsigned n_Offset = 0);
    const CT_IdmlStoryParagraph& cco_Paragraph(unsigned n_Flow, unsigned n_Paragraph) const;
    pugi::xml_node co_EventNode(unsigned n_Code, bool b_Csr) const;
    void v_Anchors();

    std::size_t n_BuildFlow(pugi::xml_node co_Target, std::size_t n_Leaf);
    void v_Leaf(ct_Flow& co_Flow, std::size_t n_Leaf);
    void v_Breaks(ct_Flow& co_Flow, std::size_t n_Leaf);
    std::size_t n_Note(ct_Flow& co_Flow, std::size_t n_Leaf);
    void v_Table(ct_Flow& co_Flow, std::size_t n_Leaf);
    void v_EndFlow(ct_Flow& co_Flow, unsigned n_Flow);

    void v_Wanted(const ct_Flow& co_Flow, const ct_Place* pco_Place, bool b_Content,
                  std::vector<ct_Entry>& co_Wanted) const;
    void v_MoveTo(ct_Flow& co_Flow, const std::vector<ct_Entry>& co_Wanted);
    void v_Place(ct_Flow& co_Flow, std::size_t n_Leaf, bool b_Content);
    pugi::xml_node co_Top(ct_Flow& co_Flow);
    void v_AppendText(pugi::xml_node co_Content, const std::string& co_Text);
    void v_SetText();  // gives the text node being filled its value

    CT_IdmlStoryAnalysis& co_Analysis;
    const std::vector<CT_IdmlStoryEvent>& co_Events;
    const std::vector<CT_IdmlStoryCode>& co_Codes;
    const std::vector<CT_IdmlStoryLeaf>& co_Leaves;
    std::vector<ct_Place> co_Places;   // per leaf
    std::vector<ct_Place> co_Anchors;  // per wrapper code
    std::vector<bool> co_Made;         // per wrapper code: its element exists
    std::unordered_map<const void*, pugi::xml_node> co_Cells;  // old cell -> its new copy
    std::vector<ct_Entry> co_Placing;  // what v_Place wants open, in v_Place only
    pugi::xml_node co_PendingNode;     // the last text node made, whose value is still ...
    std::string co_PendingText;        // ... this
};
