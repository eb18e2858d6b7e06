#include "platform/host/idml/ct_idml_story_walker.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "platform/common/ct_utf8.h"
#include "platform/host/idml/ct_idml_story_break_run.h"
#include "platform/host/idml/ct_idml_story_elements.h"

CT_IdmlStoryWalker::CT_IdmlStoryWalker(std::vector<CT_IdmlStoryEvent>& co_Events,
                                       std::vector<CT_IdmlStoryFlow>& co_Flows,
                                       const std::unordered_set<std::string>* pco_HiddenConditions)
    : co_Events(co_Events), co_Flows(co_Flows), pco_Hidden(pco_HiddenConditions) {}

void CT_IdmlStoryWalker::v_Walk(const pugi::xml_node& co_Story) {
    v_Flow(co_Story);
}

void CT_IdmlStoryWalker::v_Flow(const pugi::xml_node& co_Root) {
    ct_Context co_context;
    co_context.n_Flow = static_cast<unsigned>(co_Flows.size());
    co_Flows.emplace_back();
    co_Flows.back().co_Root = co_Root;
    v_Children(co_Root, co_context);
    v_Add(et_IdmlEvent::e_FlowEnd, co_Root, co_context);
}

void CT_IdmlStoryWalker::v_Children(const pugi::xml_node& co_Parent, const ct_Context& co_Context) {
    for (const pugi::xml_node& co_child : co_Parent.children()) {
        if (b_Enough) {
            return;
        }
        v_Node(co_child, co_Context);
    }
}

// Text outside Content is only the indentation of the file: the layout program ignores it.
void CT_IdmlStoryWalker::v_Node(const pugi::xml_node& co_Node, const ct_Context& co_Context) {
    switch (co_Node.type()) {
        case pugi::node_element:
            v_Element(co_Node, co_Context);
            return;
        case pugi::node_pi:
        case pugi::node_comment:
            v_Add(et_IdmlEvent::e_Object, co_Node, co_Context);
            return;
        default:
            return;
    }
}

void CT_IdmlStoryWalker::v_Element(const pugi::xml_node& co_Element, const ct_Context& co_Context) {
    switch (CT_IdmlStoryElements::seo_Role(co_Element)) {
        case et_IdmlRole::e_ParagraphRange:
            return v_Range(co_Element, co_Context, true);
        case et_IdmlRole::e_CharacterRange:
            if (b_IsHidden(co_Element)) {
                return v_Add(et_IdmlEvent::e_Object, co_Element, co_Context);
            }
            return v_Range(co_Element, co_Context, false);
        case et_IdmlRole::e_Setting:
            return;
        case et_IdmlRole::e_Content:
            return v_Content(co_Element, co_Context);
        case et_IdmlRole::e_Break:
            for (std::size_t n = CT_IdmlStoryBreakRun::sn_Count(co_Element); n > 0 && !b_Enough;
                 --n) {
                v_Add(et_IdmlEvent::e_Break, co_Element, co_Context);
            }
            return;
        case et_IdmlRole::e_Wrapper:
            return v_Wrapper(co_Element, co_Context);
        case et_IdmlRole::e_TrackedText: {
            ct_Context co_inner = co_Context;
            co_inner.co_Change = co_Element;
            return v_Children(co_Element, co_inner);
        }
        case et_IdmlRole::e_Note:
            return v_Note(co_Element, co_Context);
        case et_IdmlRole::e_Table:
            return v_Table(co_Element, co_Context);
        case et_IdmlRole::e_Object:
            return v_Add(et_IdmlEvent::e_Object, co_Element, co_Context);
    }
}

void CT_IdmlStoryWalker::v_Range(const pugi::xml_node& co_Range, ct_Context co_Context,
                                 bool b_Paragraph) {
    CT_IdmlStoryFlow& co_flow = co_Flows[co_Context.n_Flow];
    if (b_Paragraph) {
        co_Context.co_Psr = co_Range;
        co_Context.n_Level = 1;
        if (!co_flow.co_FirstPsr) {
            co_flow.co_FirstPsr = co_Range;
        }
    } else {
        co_Context.co_Csr = co_Range;
        co_Context.n_Level = 2;
        if (!co_flow.co_FirstCsr) {
            co_flow.co_FirstCsr = co_Range;
        }
    }
    v_Children(co_Range, co_Context);
}

void CT_IdmlStoryWalker::v_Content(const pugi::xml_node& co_Content, const ct_Context& co_Context) {
    for (const pugi::xml_node& co_child : co_Content.children()) {
        if (b_Enough) {
            return;
        }
        switch (co_child.type()) {
            case pugi::node_pcdata:
            case pugi::node_cdata:
                if (*co_child.value() != '\0') {
                    v_Add(et_IdmlEvent::e_Text, co_child, co_Context);
                }
                break;
            case pugi::node_element:
                v_Element(co_child, co_Context);
                break;
            default:
                v_Add(et_IdmlEvent::e_Pi, co_child, co_Context);
                break;
        }
    }
}

void CT_IdmlStoryWalker::v_Wrapper(const pugi::xml_node& co_Wrapper, const ct_Context& co_Context) {
    v_Add(et_IdmlEvent::e_WrapOpen, co_Wrapper, co_Context);
    ct_Context co_inner = co_Context;
    co_inner.n_Level = 0;
    v_Children(co_Wrapper, co_inner);
    v_Add(et_IdmlEvent::e_WrapClose, co_Wrapper, co_Context);
}

void CT_IdmlStoryWalker::v_Note(const pugi::xml_node& co_Note, const ct_Context& co_Context) {
    v_Add(et_IdmlEvent::e_NoteOpen, co_Note, co_Context, static_cast<unsigned>(co_Flows.size()));
    v_Flow(co_Note);
    v_Add(et_IdmlEvent::e_NoteClose, co_Note, co_Context);
}

void CT_IdmlStoryWalker::v_Table(const pugi::xml_node& co_Table, const ct_Context& co_Context) {
    v_Add(et_IdmlEvent::e_TableOpen, co_Table, co_Context);
    for (const pugi::xml_node& co_cell : sco_CellsInReadingOrder(co_Table)) {
        if (b_Enough) {
            break;
        }
        v_Add(et_IdmlEvent::e_Cell, co_cell, co_Context, static_cast<unsigned>(co_Flows.size()));
        v_Flow(co_cell);
    }
    v_Add(et_IdmlEvent::e_TableClose, co_Table, co_Context);
}

void CT_IdmlStoryWalker::v_Add(et_IdmlEvent eo_Kind, const pugi::xml_node& co_Node,
                               const ct_Context& co_Context, unsigned n_Inner) {
    if (b_Enough) {
        b_Dropped = true;
        return;
    }
    CT_IdmlStoryEvent co_event;
    co_event.eo_Kind = eo_Kind;
    co_event.co_Node = co_Node;
    co_event.co_Psr = co_Context.co_Psr;
    co_event.co_Csr = co_Context.co_Csr;
    co_event.co_Change = co_Context.co_Change;
    co_event.n_Flow = co_Context.n_Flow;
    co_event.n_Inner = n_Inner;
    co_event.n_Level = co_Context.n_Level;
    co_Events.push_back(co_event);
    if (n_StopAt > 0) {
        v_Count(co_event);
    }
}

void CT_IdmlStoryWalker::v_Count(const CT_IdmlStoryEvent& co_Event) {
    if (co_Event.n_Flow >= co_Inside.size()) {
        co_Inside.resize(co_Event.n_Flow + 1, false);
    }
    const bool b_inside = b_EndsParagraph(co_Event.eo_Kind) ? false
                          : b_InParagraph(co_Event.eo_Kind) ? true
                                                            : co_Inside[co_Event.n_Flow];
    if (b_inside != co_Inside[co_Event.n_Flow]) {
        co_Inside[co_Event.n_Flow] = b_inside;
        n_Open = b_inside ? n_Open + 1 : n_Open - 1;
    }
    if (co_Event.eo_Kind == et_IdmlEvent::e_Text) {
        // Only whether the text reaches n_StopAt counts: a long paragraph is not counted whole.
        const std::string_view co_text = co_Event.co_Node.value();
        for (std::size_t n_at = 0; n_at < co_text.size() && n_Seen < n_StopAt; ++n_Seen) {
            CT_Utf8::sc_Next(co_text, n_at);
        }
    } else if (co_Event.eo_Kind == et_IdmlEvent::e_Break) {
        ++n_Seen;
    }
    b_Enough = n_Seen >= n_StopAt && n_Open == 0;
}

// Text shows when any of its conditions is shown. The ids in AppliedConditions are written
// with "%20" and the like for the characters they stand for.
bool CT_IdmlStoryWalker::b_IsHidden(const pugi::xml_node& co_Range) const {
    if (pco_Hidden == nullptr || pco_Hidden->empty()) {
        return false;
    }
    const char* pc_applied = co_Range.attribute("AppliedConditions").value();
    bool b_any = false;
    std::string s_id;
    for (const char* pc = pc_applied;; ++pc) {
        if (*pc != ' ' && *pc != '\0') {
            unsigned n_code = 0;
            if (*pc == '%' && std::sscanf(pc + 1, "%2x", &n_code) == 1 && pc[1] && pc[2]) {
                s_id.push_back(static_cast<char>(n_code));
                pc += 2;
            } else {
                s_id.push_back(*pc);
            }
            continue;
        }
        if (!s_id.empty()) {
            if (pco_Hidden->count(s_id) == 0) {
                return false;
            }
            b_any = true;
            s_id.clear();
        }
        if (*pc == '\0') {
            return b_any;
        }
    }
}

// A cell's Name is "column:row". Merged cells are stored once, at their first position. When a
// name cannot be read, the file's own order is the best guess left.
std::vector<pugi::xml_node> CT_IdmlStoryWalker::sco_CellsInReadingOrder(
    const pugi::xml_node& co_Table) {
    struct ct_Cell {
        long i_Row;
        long i_Column;
        pugi::xml_node co_Node;
    };
    std::vector<ct_Cell> co_cells;
    bool b_named = true;
    for (const pugi::xml_node& co_cell : co_Table.children("Cell")) {
        long i_column = 0;
        long i_row = 0;
        if (std::sscanf(co_cell.attribute("Name").value(), "%ld:%ld", &i_column, &i_row) != 2) {
            b_named = false;
        }
        co_cells.push_back({i_row, i_column, co_cell});
    }
    if (b_named) {
        std::stable_sort(co_cells.begin(), co_cells.end(),
                         [](const ct_Cell& co_a, const ct_Cell& co_b) {
                             return co_a.i_Row != co_b.i_Row ? co_a.i_Row < co_b.i_Row
                                                             : co_a.i_Column < co_b.i_Column;
                         });
    }
    std::vector<pugi::xml_node> co_nodes;
    for (const ct_Cell& co_cell : co_cells) {
        co_nodes.push_back(co_cell.co_Node);
    }
    return co_nodes;
}
