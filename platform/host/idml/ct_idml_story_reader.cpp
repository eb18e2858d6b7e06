#include "platform/host/idml/ct_idml_story_reader.h"

#include <algorithm>

#include "platform/host/idml/ct_idml_story_lexer.h"
#include "platform/host/idml/ct_idml_story_refusal.h"

CT_IdmlStoryReader::CT_IdmlStoryReader(const CT_IdmlStoryAnalysis& co_Analysis,
                                       const CT_String& co_Key)
    : co_Analysis(co_Analysis), co_Codes(co_Analysis.cco_Codes()), co_Key(co_Key) {}

void CT_IdmlStoryReader::v_Read(std::string_view co_Content,
                                std::vector<CT_IdmlStoryLeaf>& co_Leaves) {
    pco_Leaves = &co_Leaves;
    this->co_Content = co_Content;
    std::size_t n_flows = co_Analysis.cco_Flows().size();
    co_FlowStack.assign(1, 0);
    co_ParagraphOf.assign(n_flows, 0);
    co_BreaksOf.assign(n_flows, 0);
    co_LastOf.assign(n_flows, 0);
    co_Seen.assign(co_Codes.size(), false);

    CT_IdmlStoryLexer co_lexer(co_Content, co_Key);
    CT_IdmlStoryLexer::CT_Token co_token;
    for (co_lexer.v_Next(co_token); co_token.eo_Kind != CT_IdmlStoryLexer::et_Token::e_End;
         co_lexer.v_Next(co_token)) {
        switch (co_token.eo_Kind) {
            case CT_IdmlStoryLexer::et_Token::e_Text:
                v_Text(co_token.co_Text);
                break;
            case CT_IdmlStoryLexer::et_Token::e_LineEnd:
                v_LineEnd();
                break;
            case CT_IdmlStoryLexer::et_Token::e_Open:
                v_OpenPaired(co_token.n_Number);
                break;
            case CT_IdmlStoryLexer::et_Token::e_Close:
                v_ClosePaired(co_token.n_Number);
                break;
            default:
                v_Standalone(co_token.n_Number);
                break;
        }
    }
    v_Finish();
}

void CT_IdmlStoryReader::v_Text(std::string& co_Text) {
    v_CheckInCell();
    CT_IdmlStoryLeaf& co_leaf = co_Add(et_IdmlLeaf::e_Text);
    co_leaf.co_Text.swap(co_Text);
}

// Line ends in a row with nothing between but paired codes that change nothing are one leaf.
void CT_IdmlStoryReader::v_LineEnd() {
    v_CheckInCell();
    unsigned n_flow = n_Flow();
    CT_IdmlStoryLeaf* pco_last = pco_Leaves->empty() ? nullptr : &pco_Leaves->back();
    if (pco_last && pco_last->eo_Kind == et_IdmlLeaf::e_Break && pco_last->n_Flow == n_flow &&
        pco_last->n_Format == n_Innermost(et_IdmlCode::e_Format) &&
        pco_last->n_Change == n_Innermost(et_IdmlCode::e_Change)) {
        ++pco_last->n_Count;
    } else {
        co_Add(et_IdmlLeaf::e_Break).n_Break = co_BreaksOf[n_flow];
    }
    ++co_BreaksOf[n_flow];
    ++co_ParagraphOf[n_flow];
}

// Paired codes may repeat (the same formatting twice) and may cross structure codes: they only
// say how the text between them looks.
void CT_IdmlStoryReader::v_OpenPaired(unsigned n_Number) {
    if (cco_Code(n_Number, true).b_IsNote()) {
        return v_NoteOpen(n_Number);
    }
    co_Paired.push_back(n_Number);
}

void CT_IdmlStoryReader::v_ClosePaired(unsigned n_Number) {
    if (cco_Code(n_Number, true).b_IsNote()) {
        return v_NoteClose(n_Number);
    }
    if (!co_Paired.empty() && co_Paired.back() == n_Number) {
        co_Paired.pop_back();
        return;
    }
    std::string co_close = CT_IdmlStoryCode::s_Close(n_Number);
    if (std::find(co_Paired.begin(), co_Paired.end(), n_Number) == co_Paired.end()) {
        v_Refuse("code " + co_close + " has no opening code");
    }
    v_Refuse("code " + co_close + " closes before " + CT_IdmlStoryCode::s_Open(co_Paired.back()));
}

void CT_IdmlStoryReader::v_Standalone(unsigned n_Number) {
    const CT_IdmlStoryCode& co_code = cco_Code(n_Number, false);
    if (co_Seen[n_Number]) {
        v_Refuse("code " + CT_IdmlStoryCode::s_Standalone(n_Number) + " appears twice");
    }
    co_Seen[n_Number] = true;
    switch (co_code.eo_Kind) {
        case et_IdmlCode::e_Note:
            return v_NoteWhole(n_Number);
        case et_IdmlCode::e_Object: {
            v_CheckInCell();
            bool b_inContent =
                co_Analysis.cco_Events()[co_code.n_Event].eo_Kind == et_IdmlEvent::e_Pi;
            co_Add(b_inContent ? et_IdmlLeaf::e_Pi : et_IdmlLeaf::e_Object, co_code.n_Event);
            return;
        }
        case et_IdmlCode::e_Open:
            return v_Open(n_Number);
        case et_IdmlCode::e_Close:
            return v_Close(n_Number);
        case et_IdmlCode::e_TableOpen:
            v_CheckInCell();
            co_Add(et_IdmlLeaf::e_TableOpen, co_code.n_Event);
            co_Structures.push_back(n_Number);
            return;
        case et_IdmlCode::e_Cell:
            return v_Cell(n_Number);
        default:
            return v_TableClose(n_Number);
    }
}

// A closing code whose opener stands nowhere in the content means that the opener was dropped:
// that is the code the translator has to put back, so it is the one named.
void CT_IdmlStoryReader::v_RefuseOutOfPlace(unsigned n_Number) {
    const unsigned n_partner = co_Codes[n_Number].n_Partner;
    if (!co_Seen[n_partner] &&
        co_Content.find(CT_IdmlStoryCode::s_Standalone(n_partner)) == std::string_view::npos) {
        v_Refuse("code " + CT_IdmlStoryCode::s_Standalone(n_partner) + " is missing");
    }
    v_Refuse("code " + CT_IdmlStoryCode::s_Standalone(n_Number) + " is out of place");
}

void CT_IdmlStoryReader::v_Open(unsigned n_Number) {
    v_CheckInCell();
    const CT_IdmlStoryCode& co_code = co_Codes[n_Number];
    const CT_IdmlStoryEvent& co_event = co_Analysis.cco_Events()[co_code.n_Event];
    co_Structures.push_back(n_Number);
    if (co_event.eo_Kind == et_IdmlEvent::e_WrapOpen) {
        co_Add(et_IdmlLeaf::e_WrapOpen, co_code.n_Event).n_Code = n_Number;
        return;
    }
    co_Add(et_IdmlLeaf::e_NoteOpen, co_code.n_Event).n_Inner = co_event.n_Inner;
    co_FlowStack.push_back(co_event.n_Inner);
}

void CT_IdmlStoryReader::v_Close(unsigned n_Number) {
    const CT_IdmlStoryCode& co_code = co_Codes[n_Number];
    if (co_Structures.empty() || co_Structures.back() != co_code.n_Partner) {
        v_RefuseOutOfPlace(n_Number);
    }
    co_Structures.pop_back();
    const CT_IdmlStoryEvent& co_open =
        co_Analysis.cco_Events()[co_Codes[co_code.n_Partner].n_Event];
    if (co_open.eo_Kind == et_IdmlEvent::e_WrapOpen) {
        co_Add(et_IdmlLeaf::e_WrapClose, co_code.n_Event).n_Code = co_code.n_Partner;
        return;
    }
    v_EndFlow(co_open.n_Inner);
    co_FlowStack.pop_back();
    co_Add(et_IdmlLeaf::e_NoteClose, co_code.n_Event);
}

void CT_IdmlStoryReader::v_NoteOpen(unsigned n_Number) {
    v_CheckInCell();
    if (co_Seen[n_Number]) {
        v_Refuse("code " + CT_IdmlStoryCode::s_Open(n_Number) + " appears twice");
    }
    co_Seen[n_Number] = true;
    const CT_IdmlStoryEvent& co_event = co_Analysis.cco_Events()[co_Codes[n_Number].n_Event];
    co_Structures.push_back(n_Number);
    co_Add(et_IdmlLeaf::e_NoteOpen, co_Codes[n_Number].n_Event).n_Inner = co_event.n_Inner;
    co_FlowStack.push_back(co_event.n_Inner);
}

void CT_IdmlStoryReader::v_NoteClose(unsigned n_Number) {
    if (co_Structures.empty() || co_Structures.back() != n_Number) {
        v_Refuse("code " + CT_IdmlStoryCode::s_Close(n_Number) + " is out of place");
    }
    co_Structures.pop_back();
    const CT_IdmlStoryEvent& co_open = co_Analysis.cco_Events()[co_Codes[n_Number].n_Event];
    v_EndFlow(co_open.n_Inner);
    co_FlowStack.pop_back();
    co_Add(et_IdmlLeaf::e_NoteClose, co_Codes[n_Number].n_Event);
}

// A note left out of the file comes back as it was, whole, with every code inside it.
void CT_IdmlStoryReader::v_NoteWhole(unsigned n_Number) {
    v_CheckInCell();
    const CT_IdmlStoryCode& co_code = co_Codes[n_Number];
    for (unsigned n_inner = n_Number + 1; n_inner <= co_code.n_Partner; ++n_inner) {
        if (co_Seen[n_inner]) {
            v_Refuse("code " + CT_IdmlStoryCode::s_Standalone(n_Number) + " stands for a note " +
                     "whose codes appear elsewhere");
        }
        co_Seen[n_inner] = true;
    }
    co_Add(et_IdmlLeaf::e_Object, co_code.n_Event);
}

void CT_IdmlStoryReader::v_Cell(unsigned n_Number) {
    const CT_IdmlStoryCode& co_code = co_Codes[n_Number];
    v_LeaveCell(co_code.n_Partner);
    if (co_Structures.empty() || co_Structures.back() != co_code.n_Partner) {
        v_RefuseOutOfPlace(n_Number);
    }
    unsigned n_inner = co_Analysis.cco_Events()[co_code.n_Event].n_Inner;
    co_Add(et_IdmlLeaf::e_Cell, co_code.n_Event).n_Inner = n_inner;
    co_Structures.push_back(n_Number);
    co_FlowStack.push_back(n_inner);
}

void CT_IdmlStoryReader::v_TableClose(unsigned n_Number) {
    const CT_IdmlStoryCode& co_code = co_Codes[n_Number];
    v_LeaveCell(co_code.n_Partner);
    if (co_Structures.empty() || co_Structures.back() != co_code.n_Partner) {
        v_RefuseOutOfPlace(n_Number);
    }
    co_Structures.pop_back();
    co_Add(et_IdmlLeaf::e_TableClose, co_code.n_Event);
}

// Ends the open cell when it belongs to the table: a cell runs up to the next cell or the end
// of its table.
void CT_IdmlStoryReader::v_LeaveCell(unsigned n_Table) {
    if (co_Structures.empty()) {
        return;
    }
    const CT_IdmlStoryCode& co_top = co_Codes[co_Structures.back()];
    if (co_top.eo_Kind != et_IdmlCode::e_Cell || co_top.n_Partner != n_Table) {
        return;
    }
    v_EndFlow(co_FlowStack.back());
    co_FlowStack.pop_back();
    co_Structures.pop_back();
}

// The line end that closes a flow's last paragraph is written by export for every flow; it
// is not a break. Content that lacks it is taken as it is.
void CT_IdmlStoryReader::v_EndFlow(unsigned n_Flow) {
    std::size_t n_last = co_LastOf[n_Flow];
    if (n_last != 0 && (*pco_Leaves)[n_last - 1].eo_Kind == et_IdmlLeaf::e_Break) {
        CT_IdmlStoryLeaf& co_breaks = (*pco_Leaves)[n_last - 1];
        if (co_breaks.n_Count > 1) {
            --co_breaks.n_Count;
        } else {
            co_breaks.eo_Kind = et_IdmlLeaf::e_Skip;
        }
    }
    CT_IdmlStoryLeaf co_end;
    co_end.eo_Kind = et_IdmlLeaf::e_FlowEnd;
    co_end.n_Flow = n_Flow;
    pco_Leaves->push_back(co_end);
}

void CT_IdmlStoryReader::v_Finish() {
    if (!co_Paired.empty()) {
        v_Refuse("code " + CT_IdmlStoryCode::s_Open(co_Paired.front()) + " is not closed");
    }
    for (unsigned n_open : co_Structures) {
        if (co_Codes[n_open].b_IsNote()) {
            v_Refuse("code " + CT_IdmlStoryCode::s_Open(n_open) + " is not closed");
        }
    }
    for (unsigned n_number = 1; n_number < co_Codes.size(); ++n_number) {
        if (!co_Codes[n_number].b_IsPaired() && !co_Seen[n_number]) {
            v_Refuse("code " + CT_IdmlStoryCode::s_Standalone(n_number) + " is missing");
        }
    }
    v_EndFlow(0);
}

CT_IdmlStoryLeaf& CT_IdmlStoryReader::co_Add(et_IdmlLeaf eo_Kind, std::size_t n_Event) {
    unsigned n_flow = n_Flow();
    CT_IdmlStoryLeaf co_leaf;
    co_leaf.eo_Kind = eo_Kind;
    co_leaf.n_Flow = n_flow;
    co_leaf.n_Paragraph = co_ParagraphOf[n_flow];
    co_leaf.n_Event = n_Event;
    co_leaf.n_Format = n_Innermost(et_IdmlCode::e_Format);
    co_leaf.n_Change = n_Innermost(et_IdmlCode::e_Change);
    pco_Leaves->push_back(std::move(co_leaf));
    co_LastOf[n_flow] = pco_Leaves->size();
    return pco_Leaves->back();
}

unsigned CT_IdmlStoryReader::n_Innermost(et_IdmlCode eo_Kind) const {
    for (auto it = co_Paired.rbegin(); it != co_Paired.rend(); ++it) {
        if (co_Codes[*it].eo_Kind == eo_Kind) {
            return *it;
        }
    }
    return 0;
}

const CT_IdmlStoryCode& CT_IdmlStoryReader::cco_Code(unsigned n_Number, bool b_Paired) const {
    if (n_Number > 0 && n_Number < co_Codes.size() &&
        (co_Codes[n_Number].b_IsPaired() == b_Paired || co_Codes[n_Number].b_IsNote())) {
        return co_Codes[n_Number];
    }
    v_Refuse("unknown code " + (b_Paired ? CT_IdmlStoryCode::s_Open(n_Number)
                                         : CT_IdmlStoryCode::s_Standalone(n_Number)));
}

void CT_IdmlStoryReader::v_CheckInCell() const {
    if (co_Structures.empty() ||
        co_Codes[co_Structures.back()].eo_Kind != et_IdmlCode::e_TableOpen) {
        return;
    }
    v_Refuse("text in table " + CT_IdmlStoryCode::s_Standalone(co_Structures.back()) +
             " outside its cells");
}

void CT_IdmlStoryReader::v_Refuse(const std::string& co_Reason) const {
    CT_IdmlStoryRefusal::sv_Refuse(co_Key, co_Reason);
}
