#include "platform/host/idml/ct_idml_story_builder.h"

#include <algorithm>

#include "platform/host/idml/ct_idml_story_break_run.h"
#include "platform/host/idml/ct_idml_story_template.h"

namespace {
std::uintptr_t n_Identity(const pugi::xml_node& co_Node) {
    return reinterpret_cast<std::uintptr_t>(co_Node.internal_object());
}

bool b_IsContentLeaf(et_IdmlLeaf eo_Kind) {
    switch (eo_Kind) {
        case et_IdmlLeaf::e_Text:
        case et_IdmlLeaf::e_Pi:
        case et_IdmlLeaf::e_Break:
        case et_IdmlLeaf::e_Object:
        case et_IdmlLeaf::e_NoteOpen:
        case et_IdmlLeaf::e_TableOpen:
            return true;
        default:
            return false;
    }
}
}  // namespace

CT_IdmlStoryBuilder::CT_IdmlStoryBuilder(CT_IdmlStoryAnalysis& co_Analysis,
                                         const std::vector<CT_IdmlStoryLeaf>& co_Leaves)
    : co_Analysis(co_Analysis),
      co_Events(co_Analysis.cco_Events()),
      co_Codes(co_Analysis.cco_Codes()),
      co_Leaves(co_Leaves) {}

void CT_IdmlStoryBuilder::v_Build(pugi::xml_node co_Target) {
    v_Places();
    v_Anchors();
    n_BuildFlow(co_Target, 0);
    v_SetText();
}

void CT_IdmlStoryBuilder::v_Places() {
    co_Places.clear();
    co_Places.reserve(co_Leaves.size());
    for (const CT_IdmlStoryLeaf& co_leaf : co_Leaves) {
        co_Places.push_back(co_PlaceOf(co_leaf));
    }
}

// Text takes its paragraph's ranges; breaks and objects keep the character range and tracked
// change they had (a page break keeps its break type), unless a change code now covers them.
// n_Offset: which line end of a break leaf.
CT_IdmlStoryBuilder::ct_Place CT_IdmlStoryBuilder::co_PlaceOf(const CT_IdmlStoryLeaf& co_Leaf,
                                                              unsigned n_Offset) {
    ct_Place co_place;
    if (co_Leaf.eo_Kind == et_IdmlLeaf::e_FlowEnd || co_Leaf.eo_Kind == et_IdmlLeaf::e_Skip) {
        return co_place;
    }
    const CT_IdmlStoryParagraph& co_paragraph =
        cco_Paragraph(co_Leaf.n_Flow, co_Leaf.n_Paragraph + n_Offset);
    co_place.co_Psr = co_paragraph.co_Psr;
    co_place.co_Csr =
        co_Leaf.n_Format ? co_EventNode(co_Leaf.n_Format, true) : co_paragraph.co_BaseCsr;
    co_place.co_Change =
        co_Leaf.n_Change ? co_EventNode(co_Leaf.n_Change, false) : pugi::xml_node();
    const CT_IdmlStoryEvent* pco_old = nullptr;
    if (co_Leaf.eo_Kind == et_IdmlLeaf::e_Break) {
        const std::vector<std::size_t>& co_breaks =
            co_Analysis.cco_Flows()[co_Leaf.n_Flow].co_Breaks;
        const std::size_t n_break = co_Leaf.n_Break + n_Offset;
        pco_old = n_break < co_breaks.size() ? &co_Events[co_breaks[n_break]] : nullptr;
    } else if (co_Leaf.eo_Kind != et_IdmlLeaf::e_Text &&
               co_Leaf.eo_Kind != et_IdmlLeaf::e_WrapOpen) {
        pco_old = &co_Events[co_Leaf.n_Event];
        co_place.co_Psr = pco_old->co_Psr ? co_place.co_Psr : pugi::xml_node();
    }
    if (pco_old) {
        co_place.co_Csr = pco_old->co_Csr;
        co_place.co_Change = co_Leaf.n_Change ? co_place.co_Change : pco_old->co_Change;
    }
    co_place.n_CsrKey = co_Analysis.n_Key(co_place.co_Csr);
    return co_place;
}

const CT_IdmlStoryParagraph& CT_IdmlStoryBuilder::cco_Paragraph(unsigned n_Flow,
                                                                unsigned n_Paragraph) const {
    const std::vector<CT_IdmlStoryParagraph>& co_paragraphs =
        co_Analysis.cco_Flows()[n_Flow].co_Paragraphs;
    return co_paragraphs[std::min<std::size_t>(n_Paragraph, co_paragraphs.size() - 1)];
}

pugi::xml_node CT_IdmlStoryBuilder::co_EventNode(unsigned n_Code, bool b_Csr) const {
    const CT_IdmlStoryEvent& co_event = co_Events[co_Codes[n_Code].n_Event];
    return b_Csr ? co_event.co_Csr : co_event.co_Change;
}

// A wrapper stands in the ranges of its first leaf; an empty one where it was opened.
void CT_IdmlStoryBuilder::v_Anchors() {
    co_Anchors.assign(co_Codes.size(), ct_Place());
    co_Made.assign(co_Codes.size(), false);
    std::vector<std::vector<std::size_t>> co_waiting(co_Analysis.cco_Flows().size());
    for (std::size_t n_leaf = 0; n_leaf < co_Leaves.size(); ++n_leaf) {
        const CT_IdmlStoryLeaf& co_leaf = co_Leaves[n_leaf];
        std::vector<std::size_t>& co_open = co_waiting[co_leaf.n_Flow];
        if (co_leaf.eo_Kind == et_IdmlLeaf::e_WrapOpen) {
            co_open.push_back(n_leaf);
        } else if (co_leaf.eo_Kind == et_IdmlLeaf::e_WrapClose && !co_open.empty() &&
                   co_Leaves[co_open.back()].n_Code == co_leaf.n_Code) {
            co_Anchors[co_leaf.n_Code] = co_Places[co_open.back()];
            co_open.pop_back();
        } else if (b_IsContentLeaf(co_leaf.eo_Kind)) {
            for (std::size_t n_open : co_open) {
                co_Anchors[co_Leaves[n_open].n_Code] = co_Places[n_leaf];
            }
            co_open.clear();
        }
    }
}

std::size_t CT_IdmlStoryBuilder::n_BuildFlow(pugi::xml_node co_Target, std::size_t n_Leaf) {
    ct_Flow co_flow;
    co_flow.co_Target = co_Target;
    for (;; ++n_Leaf) {
        const CT_IdmlStoryLeaf& co_leaf = co_Leaves[n_Leaf];
        switch (co_leaf.eo_Kind) {
            case et_IdmlLeaf::e_FlowEnd:
                v_EndFlow(co_flow, co_leaf.n_Flow);
                return n_Leaf;
            case et_IdmlLeaf::e_NoteOpen:
                n_Leaf = n_Note(co_flow, n_Leaf);
                break;
            case et_IdmlLeaf::e_Cell: {
                pugi::xml_node co_cell = co_Events[co_leaf.n_Event].co_Node;
                pugi::xml_node co_copy = co_Cells[co_cell.internal_object()];
                n_Leaf = n_BuildFlow(co_copy, n_Leaf + 1);
                CT_IdmlStoryTemplate::sv_Close(co_cell, co_copy);
                break;
            }
            default:
                v_Leaf(co_flow, n_Leaf);
                break;
        }
    }
}

void CT_IdmlStoryBuilder::v_Leaf(ct_Flow& co_Flow, std::size_t n_Leaf) {
    const CT_IdmlStoryLeaf& co_leaf = co_Leaves[n_Leaf];
    std::vector<ct_Entry> co_wanted;
    switch (co_leaf.eo_Kind) {
        case et_IdmlLeaf::e_Text:
            v_Place(co_Flow, n_Leaf, true);
            v_AppendText(co_Top(co_Flow), co_leaf.co_Text);
            return;
        case et_IdmlLeaf::e_Pi:
            v_Place(co_Flow, n_Leaf, true);
            co_Top(co_Flow).append_copy(co_Events[co_leaf.n_Event].co_Node);
            return;
        case et_IdmlLeaf::e_Object:
            v_Place(co_Flow, n_Leaf, false);
            co_Top(co_Flow).append_copy(co_Events[co_leaf.n_Event].co_Node);
            return;
        case et_IdmlLeaf::e_Break:
            return v_Breaks(co_Flow, n_Leaf);
        case et_IdmlLeaf::e_TableOpen:
            return v_Table(co_Flow, n_Leaf);
        case et_IdmlLeaf::e_WrapOpen:
            co_Flow.co_Wrappers.push_back(co_leaf.n_Code);
            return;
        case et_IdmlLeaf::e_WrapClose:
            if (!co_Made[co_leaf.n_Code]) {
                v_Wanted(co_Flow, nullptr, false, co_wanted);
                v_MoveTo(co_Flow, co_wanted);
            }
            co_Flow.co_Wrappers.pop_back();
            return;
        default:  // skipped line ends and the ends of notes and tables
            return;
    }
}

// A line end the story had keeps its element; new ones are plain. Once they are all new and past
// the old paragraphs, the rest take the same ranges, and go in as one run.
void CT_IdmlStoryBuilder::v_Breaks(ct_Flow& co_Flow, std::size_t n_Leaf) {
    const CT_IdmlStoryLeaf& co_leaf = co_Leaves[n_Leaf];
    const CT_IdmlStoryFlow& co_old = co_Analysis.cco_Flows()[co_leaf.n_Flow];
    std::vector<ct_Entry> co_wanted;
    for (unsigned n = 0; n < co_leaf.n_Count; ++n) {
        const std::size_t n_break = co_leaf.n_Break + n;
        const ct_Place co_place = n == 0 ? co_Places[n_Leaf] : co_PlaceOf(co_leaf, n);
        v_Wanted(co_Flow, &co_place, false, co_wanted);
        v_MoveTo(co_Flow, co_wanted);
        pugi::xml_node co_top = co_Top(co_Flow);
        if (n_break < co_old.co_Breaks.size()) {
            const pugi::xml_node& co_node = co_Events[co_old.co_Breaks[n_break]].co_Node;
            if (CT_IdmlStoryBreakRun::sb_IsRun(co_node)) {
                CT_IdmlStoryBreakRun::sv_Append(co_top, 1);
            } else {
                co_top.append_copy(co_node);
            }
        } else if (co_leaf.n_Paragraph + n + 1 >= co_old.co_Paragraphs.size()) {
            CT_IdmlStoryBreakRun::sv_Append(co_top, co_leaf.n_Count - n);
            return;
        } else {
            CT_IdmlStoryBreakRun::sv_Append(co_top, 1);
        }
    }
}

std::size_t CT_IdmlStoryBuilder::n_Note(ct_Flow& co_Flow, std::size_t n_Leaf) {
    v_Place(co_Flow, n_Leaf, false);
    pugi::xml_node co_note = co_Events[co_Leaves[n_Leaf].n_Event].co_Node;
    pugi::xml_node co_copy = CT_IdmlStoryTemplate::sco_Open(co_note, co_Top(co_Flow));
    std::size_t n_end = n_BuildFlow(co_copy, n_Leaf + 1);
    CT_IdmlStoryTemplate::sv_Close(co_note, co_copy);
    return n_end;
}

// Cells keep the order they had in the file; each is filled when its code comes.
void CT_IdmlStoryBuilder::v_Table(ct_Flow& co_Flow, std::size_t n_Leaf) {
    v_Place(co_Flow, n_Leaf, false);
    pugi::xml_node co_table = co_Events[co_Leaves[n_Leaf].n_Event].co_Node;
    pugi::xml_node co_copy = CT_IdmlStoryTemplate::sco_Open(co_table, co_Top(co_Flow));
    for (const pugi::xml_node& co_cell : co_table.children("Cell")) {
        co_Cells[co_cell.internal_object()] = CT_IdmlStoryTemplate::sco_Open(co_cell, co_copy);
    }
    CT_IdmlStoryTemplate::sv_Close(co_table, co_copy);
}

// A flow whose text became empty keeps one empty paragraph with its old ranges, so that the
// paragraph style survives.
void CT_IdmlStoryBuilder::v_EndFlow(ct_Flow& co_Flow, unsigned n_Flow) {
    std::vector<ct_Entry> co_none;
    v_MoveTo(co_Flow, co_none);
    if (co_Flow.b_Any) {
        return;
    }
    ct_Place co_place;
    const CT_IdmlStoryParagraph& co_first = cco_Paragraph(n_Flow, 0);
    co_place.co_Psr = co_first.co_Psr;
    co_place.co_Csr = co_first.co_BaseCsr;
    co_place.n_CsrKey = co_Analysis.n_Key(co_place.co_Csr);
    std::vector<ct_Entry> co_wanted;
    v_Wanted(co_Flow, &co_place, false, co_wanted);
    v_MoveTo(co_Flow, co_wanted);
    v_MoveTo(co_Flow, co_none);
}

void CT_IdmlStoryBuilder::v_Wanted(const ct_Flow& co_Flow, const ct_Place* pco_Place,
                                   bool b_Content, std::vector<ct_Entry>& co_Wanted) const {
    co_Wanted.clear();
    std::uintptr_t n_psr = 0;
    std::uintptr_t n_csr = 0;
    auto v_Ranges = [&](const ct_Place& co_Place, unsigned n_Level) {
        if (n_Level >= 1 && co_Place.co_Psr && n_psr != n_Identity(co_Place.co_Psr)) {
            n_psr = n_Identity(co_Place.co_Psr);
            n_csr = 0;
            co_Wanted.push_back({'P', n_psr, co_Place.co_Psr, pugi::xml_node()});
        }
        if (n_Level >= 2 && co_Place.co_Csr && n_csr != co_Place.n_CsrKey) {
            n_csr = co_Place.n_CsrKey;
            co_Wanted.push_back({'C', n_csr, co_Place.co_Csr, pugi::xml_node()});
        }
    };
    for (unsigned n_code : co_Flow.co_Wrappers) {
        const CT_IdmlStoryEvent& co_open = co_Events[co_Codes[n_code].n_Event];
        v_Ranges(co_Anchors[n_code], co_open.n_Level);
        co_Wanted.push_back({'W', n_code, co_open.co_Node, pugi::xml_node()});
    }
    if (!pco_Place) {
        return;
    }
    v_Ranges(*pco_Place, 2);
    if (pco_Place->co_Change) {
        co_Wanted.push_back(
            {'T', n_Identity(pco_Place->co_Change), pco_Place->co_Change, pugi::xml_node()});
    }
    if (b_Content) {
        co_Wanted.push_back({'X', 0, pugi::xml_node(), pugi::xml_node()});
    }
}

// Keeps the open elements that the wanted list starts with, closes the rest, opens the others.
void CT_IdmlStoryBuilder::v_MoveTo(ct_Flow& co_Flow, const std::vector<ct_Entry>& co_Wanted) {
    std::size_t n_keep = 0;
    while (n_keep < co_Flow.co_Open.size() && n_keep < co_Wanted.size() &&
           co_Flow.co_Open[n_keep].c_Type == co_Wanted[n_keep].c_Type &&
           co_Flow.co_Open[n_keep].n_Key == co_Wanted[n_keep].n_Key) {
        ++n_keep;
    }
    while (co_Flow.co_Open.size() > n_keep) {
        const ct_Entry& co_last = co_Flow.co_Open.back();
        if (co_last.co_Source) {
            CT_IdmlStoryTemplate::sv_Close(co_last.co_Source, co_last.co_Element);
        }
        co_Flow.co_Open.pop_back();
    }
    for (std::size_t n = n_keep; n < co_Wanted.size(); ++n) {
        ct_Entry co_entry = co_Wanted[n];
        pugi::xml_node co_parent = co_Top(co_Flow);
        co_entry.co_Element = co_entry.co_Source
                                  ? CT_IdmlStoryTemplate::sco_Open(co_entry.co_Source, co_parent)
                                  : co_parent.append_child("Content");
        if (co_entry.c_Type == 'W') {
            co_Made[co_entry.n_Key] = true;
        }
        co_Flow.co_Open.push_back(co_entry);
    }
}

// Once for every leaf: the list is the builder's, so that it is not made again each time.
void CT_IdmlStoryBuilder::v_Place(ct_Flow& co_Flow, std::size_t n_Leaf, bool b_Content) {
    v_Wanted(co_Flow, &co_Places[n_Leaf], b_Content, co_Placing);
    v_MoveTo(co_Flow, co_Placing);
}

pugi::xml_node CT_IdmlStoryBuilder::co_Top(ct_Flow& co_Flow) {
    co_Flow.b_Any = true;
    return co_Flow.co_Open.empty() ? co_Flow.co_Target : co_Flow.co_Open.back().co_Element;
}

// Text that comes in many pieces (a code around every letter) gathers in co_PendingText: giving
// the node its value piece by piece would copy all that came before with each piece.
void CT_IdmlStoryBuilder::v_AppendText(pugi::xml_node co_Content, const std::string& co_Text) {
    pugi::xml_node co_last = co_Content.last_child();
    if (co_last && co_last == co_PendingNode) {
        co_PendingText += co_Text;
        return;
    }
    if (co_last.type() == pugi::node_pcdata) {
        co_last.set_value((std::string(co_last.value()) + co_Text).c_str());
        return;
    }
    v_SetText();
    co_PendingNode = co_Content.append_child(pugi::node_pcdata);
    co_PendingText = co_Text;
}

void CT_IdmlStoryBuilder::v_SetText() {
    if (co_PendingNode) {
        co_PendingNode.set_value(co_PendingText.c_str());
    }
    co_PendingNode = pugi::xml_node();
    co_PendingText.clear();
}
