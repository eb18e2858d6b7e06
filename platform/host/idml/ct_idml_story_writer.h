// Writes the tagged content of a walked story and numbers its codes. Text is escaped; a break
// or the end of a flow writes "\n"; text whose formatting differs from its paragraph's base,
// and tracked inserted or moved text, stand in <gN>...</gN>, closed at every line end and
// around every structure code so that each line keeps its codes balanced; objects and the
// starts and ends of wrappers, footnotes, tables and cells are <xN/>. A note's text stands in
// one <gN>...</gN> of its own, or, when notes are skipped, the whole note is <xN/>; its codes are
// numbered either way, so that every other code keeps its number. Reads the caller's events and
// flows; fills the caller's content and code table.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/host/idml/ct_idml_story_code.h"
#include "platform/host/idml/ct_idml_story_event.h"
#include "platform/host/idml/ct_idml_story_flow.h"
#include "platform/host/idml/ct_idml_story_range_keys.h"

class CT_IdmlStoryWriter {
  public:
    CT_IdmlStoryWriter(const std::vector<CT_IdmlStoryEvent>& co_Events,
                       const std::vector<CT_IdmlStoryFlow>& co_Flows,
                       CT_IdmlStoryRangeKeys& co_Keys, bool b_SkipNotes = false);

    void v_Write(std::string& co_Content, std::vector<CT_IdmlStoryCode>& co_Codes);

    // "\", "<" and ">" written as "\\", "\<" and "\>".
    static void sv_AppendEscaped(const char* pc_Text, std::string& co_Out);

  private:
    // An open paired code: a format (by range key) or a tracked change (by node).
    struct ct_Span {
        bool b_Change;
        std::uintptr_t n_Identity;
        unsigned n_Code;
        bool operator==(const ct_Span& co_Other) const {
            return b_Change == co_Other.b_Change && n_Identity == co_Other.n_Identity;
        }
    };

    void v_Event(std::size_t n_Event);
    void v_Text(std::size_t n_Event);
    void v_Structure(std::size_t n_Event);
    bool b_Note(std::size_t n_Event);
    void v_KeepLongestRun(std::size_t n_Kept, std::size_t n_Event);
    unsigned n_NewCode(et_IdmlCode eo_Kind, std::size_t n_Event, unsigned n_Partner = 0);
    void v_CloseSpans(std::size_t n_Keep);
    void v_FlushPending();

    const std::vector<CT_IdmlStoryEvent>& co_Events;
    const std::vector<CT_IdmlStoryFlow>& co_Flows;
    CT_IdmlStoryRangeKeys& co_Keys;

    std::string* pco_Content = nullptr;
    std::vector<CT_IdmlStoryCode>* pco_Codes = nullptr;
    std::vector<unsigned> co_Paragraph;  // per flow: the paragraph being written
    std::vector<ct_Span> co_Spans;
    std::vector<unsigned> co_Structures;  // open wrapper, note and table codes
    // Objects wait here until the next text tells whether they stand inside its spans.
    std::string co_Pending;
    bool b_SkipNotes;
    std::string* pco_Shown = nullptr;  // the content while a skipped note writes elsewhere
    std::string co_Skipped;
};
