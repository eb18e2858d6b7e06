#include "exchange/ct_document_count.h"

#include <algorithm>
#include <stdexcept>

namespace {
// The end of the code that starts at n_At ("<gN>", "</gN>", "<xN/>"), or n_At when none does.
std::size_t n_CodeEnd(std::string_view co_Unit, std::size_t n_At) {
    std::size_t n = n_At + 1;
    const bool b_close = n < co_Unit.size() && co_Unit[n] == '/';
    n += b_close ? 1 : 0;
    if (n >= co_Unit.size() || (co_Unit[n] != 'g' && co_Unit[n] != 'x')) {
        return n_At;
    }
    const char c_kind = co_Unit[n++];
    const std::size_t n_digits = n;
    while (n < co_Unit.size() && co_Unit[n] >= '0' && co_Unit[n] <= '9') {
        ++n;
    }
    if (n == n_digits) {
        return n_At;
    }
    const std::string_view co_end = c_kind == 'x' && !b_close ? "/>" : ">";
    return co_Unit.substr(n, co_end.size()) == co_end ? n + co_end.size() : n_At;
}

bool b_Blank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

bool b_EndsRun(std::string_view co_Unit, std::size_t n) {
    const char c = co_Unit[n];
    if (c == ' ') {
        return n + 1 == co_Unit.size() || b_Blank(co_Unit[n + 1]) || co_Unit[n + 1] == '<';
    }
    return c == '<' || c == '\\' || b_Blank(c);
}

// The unit as a repeat is recognised: its words in their order, without codes, blanks
// collapsed; object codes read as blanks.
void v_RepeatKey(std::string_view co_Unit, std::string& s_Key) {
    s_Key.clear();
    bool b_blank = false;
    for (std::size_t n = 0; n < co_Unit.size();) {
        const char c = co_Unit[n];
        const std::size_t n_end = c == '<' ? n_CodeEnd(co_Unit, n) : n;
        const bool b_object = n_end != n && co_Unit[n + 1] == 'x';
        if (n_end != n && !b_object) {
            n = n_end;
            continue;
        }
        if (b_object || b_Blank(c)) {
            b_blank = true;
            n = b_object ? n_end : n + 1;
            continue;
        }
        if (b_blank && !s_Key.empty()) {
            s_Key += ' ';
        }
        b_blank = false;
        // Text up to the next code, escape or blank that does not stand alone between text
        // goes in at once: a space between words stays as it is.
        std::size_t n_run = n;
        while (n_run < co_Unit.size() && !b_EndsRun(co_Unit, n_run)) {
            ++n_run;
        }
        if (n_run == n) {
            n_run = c == '\\' && n + 1 < co_Unit.size() ? n + 2 : n + 1;
        }
        s_Key.append(co_Unit.data() + n, n_run - n);
        n = n_run;
    }
}

// The unit's text as a translation tool reads it: codes left out, escapes kept. Text between
// codes goes in a run at a time, since a listing passes every unit through here.
void v_TextOf(std::string_view co_Unit, std::string& s_Text) {
    s_Text.clear();
    std::size_t n_run = 0;
    for (std::size_t n = 0; n < co_Unit.size();) {
        const std::size_t n_end = co_Unit[n] == '<' ? n_CodeEnd(co_Unit, n) : n;
        if (n_end != n) {
            s_Text.append(co_Unit.data() + n_run, n - n_run);
            n = n_end;
            n_run = n;
            continue;
        }
        n += co_Unit[n] == '\\' && n + 1 < co_Unit.size() ? 2 : 1;
    }
    s_Text.append(co_Unit.data() + n_run, co_Unit.size() - n_run);
}
}  // namespace

CT_DocumentCount::CT_DocumentCount(const std::string& co_Locale) : co_Counter(co_Locale) {}

CT_StoryTally CT_DocumentCount::co_AddStory(std::string_view co_Content,
                                            const CT_StoryLayout::CT_Codes& co_Codes) {
    CT_StoryTally co_story;
    try {
        const bool b_inline =
            std::all_of(co_Codes.begin(), co_Codes.end(), [](const auto& co_Code) {
                return co_Code.second.eo_Kind == CT_ExchangeCode::et_Kind::e_Inline;
            });
        if (b_inline) {
            v_AddLines(co_Content, co_story);
        } else {
            const CT_StoryLayout co_layout(co_Content, co_Codes);
            v_AddFlow(co_layout.cco_Paragraphs(), co_story);
        }
    } catch (const std::invalid_argument&) {
        // Not content export writes (a "<" that starts no code): line by line, what is no
        // code read as text.
        co_story = CT_StoryTally();
        v_AddRawLines(co_Content, co_story);
    }
    co_Total.co_All += co_story.co_All;
    co_Total.co_Repeated += co_story.co_Repeated;
    return co_story;
}

// Without a code that opens a note or a table, a story's layout is its lines, whether or not
// the content is as export writes it, and no layout is built. Content that reads as it is
// written is its units line by line where it stands; other content is written again from its
// tokens, line by line.
void CT_DocumentCount::v_AddLines(std::string_view co_Content, CT_StoryTally& co_Story) {
    if (CT_TaggedToken::sb_ReadsAsWritten(co_Content)) {
        v_AddRawLines(co_Content, co_Story);
        return;
    }
    co_Tokens.clear();
    CT_TaggedToken::sv_Read(co_Content, co_Tokens);
    auto it_line = co_Tokens.cbegin();
    for (auto it = co_Tokens.cbegin(); it != co_Tokens.cend(); ++it) {
        const bool b_last = it + 1 == co_Tokens.cend();
        if (it->eo_Kind != CT_TaggedToken::et_Kind::e_LineEnd && !b_last) {
            continue;
        }
        s_Unit.clear();
        const auto it_end = it->eo_Kind == CT_TaggedToken::et_Kind::e_LineEnd ? it : it + 1;
        for (; it_line != it_end; ++it_line) {
            CT_TaggedToken::sv_Write(*it_line, s_Unit);
        }
        v_AddUnit(s_Unit, co_Story);
        it_line = it + 1;
    }
}

void CT_DocumentCount::v_AddRawLines(std::string_view co_Content, CT_StoryTally& co_Story) {
    while (!co_Content.empty()) {
        const std::size_t n_end = co_Content.find('\n');
        v_AddUnit(co_Content.substr(0, n_end), co_Story);
        co_Content.remove_prefix(n_end == std::string_view::npos ? co_Content.size() : n_end + 1);
    }
}

void CT_DocumentCount::v_AddFlow(const std::vector<CT_LayoutParagraph>& co_Paragraphs,
                                 CT_StoryTally& co_Story) {
    for (const CT_LayoutParagraph& co_paragraph : co_Paragraphs) {
        s_Unit.clear();
        CT_TaggedToken::sv_Write(co_paragraph.co_Tokens, s_Unit);
        v_AddUnit(s_Unit, co_Story);
        for (const CT_LayoutAnchor& co_anchor : co_paragraph.co_Anchors) {
            for (const CT_LayoutFlow& co_flow : co_anchor.co_Flows) {
                v_AddFlow(co_flow.co_Paragraphs, co_Story);
            }
        }
    }
}

void CT_DocumentCount::v_AddUnit(std::string_view co_Unit, CT_StoryTally& co_Story) {
    // Without a "<" the unit has no code to leave out: its text is itself.
    std::string_view co_text = co_Unit;
    if (co_Unit.find('<') != std::string_view::npos) {
        v_TextOf(co_Unit, s_Text);
        co_text = s_Text;
    }
    if (!CT_WordCount::sb_HasLetter(co_text)) {
        return;
    }
    const CT_TextCount co_count = co_Counter.co_CountTagged(co_text);
    if (co_count.n_Words == 0) {
        return;
    }
    co_Story.co_All += co_count;
    v_RepeatKey(co_Unit, s_Key);
    if (!co_Seen.b_Insert(s_Key)) {
        co_Story.co_Repeated += co_count;
    }
}
