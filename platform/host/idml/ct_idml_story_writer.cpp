#include "platform/host/idml/ct_idml_story_writer.h"

#include <cstring>

CT_IdmlStoryWriter::CT_IdmlStoryWriter(const std::vector<CT_IdmlStoryEvent>& co_Events,
                                       const std::vector<CT_IdmlStoryFlow>& co_Flows,
                                       CT_IdmlStoryRangeKeys& co_Keys, bool b_SkipNotes)
    : co_Events(co_Events), co_Flows(co_Flows), co_Keys(co_Keys), b_SkipNotes(b_SkipNotes) {}

void CT_IdmlStoryWriter::v_Write(std::string& co_Content, std::vector<CT_IdmlStoryCode>& co_Codes) {
    pco_Content = &co_Content;
    pco_Codes = &co_Codes;
    co_Codes.assign(1, CT_IdmlStoryCode());
    co_Paragraph.assign(co_Flows.size(), 0);
    for (std::size_t n_event = 0; n_event < co_Events.size(); ++n_event) {
        v_Event(n_event);
    }
}

void CT_IdmlStoryWriter::sv_AppendEscaped(const char* pc_Text, std::string& co_Out) {
    for (const char* pc = pc_Text;;) {
        std::size_t n_plain = std::strcspn(pc, "\\<>");
        co_Out.append(pc, n_plain);
        pc += n_plain;
        if (*pc == '\0') {
            return;
        }
        co_Out.push_back('\\');
        co_Out.push_back(*pc++);
    }
}

void CT_IdmlStoryWriter::v_Event(std::size_t n_Event) {
    const CT_IdmlStoryEvent& co_event = co_Events[n_Event];
    switch (co_event.eo_Kind) {
        case et_IdmlEvent::e_Text:
            return v_Text(n_Event);
        case et_IdmlEvent::e_Pi:
        case et_IdmlEvent::e_Object:
            co_Pending += CT_IdmlStoryCode::s_Standalone(n_NewCode(et_IdmlCode::e_Object, n_Event));
            return;
        case et_IdmlEvent::e_Break:
        case et_IdmlEvent::e_FlowEnd:
            v_CloseSpans(0);
            v_FlushPending();
            pco_Content->push_back('\n');
            ++co_Paragraph[co_event.n_Flow];
            return;
        default:
            return v_Structure(n_Event);
    }
}

void CT_IdmlStoryWriter::v_Text(std::size_t n_Event) {
    const CT_IdmlStoryEvent& co_event = co_Events[n_Event];
    const CT_IdmlStoryParagraph& co_paragraph =
        co_Flows[co_event.n_Flow].co_Paragraphs[co_Paragraph[co_event.n_Flow]];
    // A format and a change at most: held here, not in a list made for every run of text.
    ct_Span aco_wanted[2];
    std::size_t n_wanted = 0;
    unsigned n_key = co_Keys.n_Key(co_event.co_Csr);
    if (n_key != co_paragraph.n_BaseKey) {
        // The key, not the node, is the identity: runs that differ only in spacing share a code.
        aco_wanted[n_wanted++] = {false, n_key, 0};
    }
    if (co_event.co_Change) {
        aco_wanted[n_wanted++] = {
            true, reinterpret_cast<std::uintptr_t>(co_event.co_Change.internal_object()), 0};
    }
    std::size_t n_keep = 0;
    while (n_keep < co_Spans.size() && n_keep < n_wanted &&
           co_Spans[n_keep] == aco_wanted[n_keep]) {
        ++n_keep;
    }
    v_KeepLongestRun(n_keep, n_Event);
    v_CloseSpans(n_keep);
    v_FlushPending();
    for (std::size_t n = n_keep; n < n_wanted; ++n) {
        ct_Span& co_span = aco_wanted[n];
        co_span.n_Code =
            n_NewCode(co_span.b_Change ? et_IdmlCode::e_Change : et_IdmlCode::e_Format, n_Event);
        co_Spans.push_back(co_span);
        *pco_Content += CT_IdmlStoryCode::s_Open(co_span.n_Code);
    }
    sv_AppendEscaped(co_event.co_Node.value(), *pco_Content);
}

void CT_IdmlStoryWriter::v_Structure(std::size_t n_Event) {
    v_CloseSpans(0);
    v_FlushPending();
    if (b_Note(n_Event)) {
        return;
    }
    unsigned n_code = 0;
    switch (co_Events[n_Event].eo_Kind) {
        case et_IdmlEvent::e_WrapOpen:
        case et_IdmlEvent::e_NoteOpen:
            n_code = n_NewCode(et_IdmlCode::e_Open, n_Event);
            co_Structures.push_back(n_code);
            break;
        case et_IdmlEvent::e_WrapClose:
        case et_IdmlEvent::e_NoteClose:
            n_code = n_NewCode(et_IdmlCode::e_Close, n_Event, co_Structures.back());
            co_Structures.pop_back();
            break;
        case et_IdmlEvent::e_TableOpen:
            n_code = n_NewCode(et_IdmlCode::e_TableOpen, n_Event);
            co_Structures.push_back(n_code);
            break;
        case et_IdmlEvent::e_Cell:
            n_code = n_NewCode(et_IdmlCode::e_Cell, n_Event, co_Structures.back());
            break;
        default:  // e_TableClose
            n_code = n_NewCode(et_IdmlCode::e_TableClose, n_Event, co_Structures.back());
            co_Structures.pop_back();
            break;
    }
    *pco_Content += CT_IdmlStoryCode::s_Standalone(n_code);
}

// A note (not a footnote, which prints) is the designer's, not the reader's: the translator
// sees where it starts and ends, or, when notes are skipped, only where it stands.
bool CT_IdmlStoryWriter::b_Note(std::size_t n_Event) {
    const CT_IdmlStoryEvent& co_event = co_Events[n_Event];
    if (std::strcmp(co_event.co_Node.name(), "Note") != 0) {
        return false;
    }
    if (co_event.eo_Kind == et_IdmlEvent::e_NoteOpen) {
        const unsigned n_code = n_NewCode(et_IdmlCode::e_Note, n_Event);
        co_Structures.push_back(n_code);
        if (!b_SkipNotes) {
            *pco_Content += CT_IdmlStoryCode::s_Open(n_code);
            return true;
        }
        *pco_Content += CT_IdmlStoryCode::s_Standalone(n_code);
        pco_Shown = pco_Content;
        pco_Content = &co_Skipped;
        return true;
    }
    if (co_event.eo_Kind != et_IdmlEvent::e_NoteClose) {
        return false;
    }
    const unsigned n_code = co_Structures.back();
    co_Structures.pop_back();
    (*pco_Codes)[n_code].n_Partner = static_cast<unsigned>(pco_Codes->size() - 1);
    if (pco_Shown != nullptr) {
        pco_Content = pco_Shown;
        pco_Shown = nullptr;
        co_Skipped.clear();
        return true;
    }
    *pco_Content += CT_IdmlStoryCode::s_Close(n_code);
    return true;
}

// A format code stands for the range of its longest text, not for a short kerned run in it.
void CT_IdmlStoryWriter::v_KeepLongestRun(std::size_t n_Kept, std::size_t n_Event) {
    std::size_t n_bytes = std::strlen(co_Events[n_Event].co_Node.value());
    for (std::size_t n = 0; n < n_Kept; ++n) {
        CT_IdmlStoryCode& co_code = (*pco_Codes)[co_Spans[n].n_Code];
        if (!co_Spans[n].b_Change &&
            n_bytes > std::strlen(co_Events[co_code.n_Event].co_Node.value())) {
            co_code.n_Event = n_Event;
        }
    }
}

unsigned CT_IdmlStoryWriter::n_NewCode(et_IdmlCode eo_Kind, std::size_t n_Event,
                                       unsigned n_Partner) {
    CT_IdmlStoryCode co_code;
    co_code.eo_Kind = eo_Kind;
    co_code.n_Event = n_Event;
    co_code.n_Partner = n_Partner;
    pco_Codes->push_back(co_code);
    return static_cast<unsigned>(pco_Codes->size() - 1);
}

// Closes right after the last text of the span: objects that follow stay outside it.
void CT_IdmlStoryWriter::v_CloseSpans(std::size_t n_Keep) {
    while (co_Spans.size() > n_Keep) {
        *pco_Content += CT_IdmlStoryCode::s_Close(co_Spans.back().n_Code);
        co_Spans.pop_back();
    }
}

void CT_IdmlStoryWriter::v_FlushPending() {
    *pco_Content += co_Pending;
    co_Pending.clear();
}
