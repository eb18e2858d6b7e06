#include "exchange/ct_document_count.h"

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

// The unit as a repeat is recognised: its words in their order, without codes, blanks
// collapsed. Object codes part words, as they do when words are counted.
std::string s_RepeatKey(std::string_view co_Unit) {
    std::string s_key;
    s_key.reserve(co_Unit.size());
    bool b_blank = false;
    for (std::size_t n = 0; n < co_Unit.size();) {
        const char c = co_Unit[n];
        const std::size_t n_end = c == '<' ? n_CodeEnd(co_Unit, n) : n;
        const bool b_object = n_end != n && co_Unit[n + 1] == 'x';
        if (n_end != n && !b_object) {
            n = n_end;
            continue;
        }
        if (b_object || c == ' ' || c == '\t' || c == '\r') {
            b_blank = true;
            n = b_object ? n_end : n + 1;
            continue;
        }
        if (b_blank && !s_key.empty()) {
            s_key += ' ';
        }
        b_blank = false;
        // Text up to the next code, blank or escape goes in at once.
        std::size_t n_run = n;
        while (n_run < co_Unit.size() && co_Unit[n_run] != '<' && co_Unit[n_run] != ' ' &&
               co_Unit[n_run] != '\t' && co_Unit[n_run] != '\r' && co_Unit[n_run] != '\\') {
            ++n_run;
        }
        if (n_run == n) {
            n_run = c == '\\' && n + 1 < co_Unit.size() ? n + 2 : n + 1;
        }
        s_key.append(co_Unit.data() + n, n_run - n);
        n = n_run;
    }
    return s_key;
}

// Not only numbers: a letter of ASCII, or a character beyond it (a unit of non-ASCII
// punctuation alone has no word, which the caller checks).
bool b_HasText(std::string_view co_Unit) {
    for (std::size_t n = 0; n < co_Unit.size();) {
        const std::size_t n_end = co_Unit[n] == '<' ? n_CodeEnd(co_Unit, n) : n;
        if (n_end != n) {
            n = n_end;
            continue;
        }
        const unsigned char c = static_cast<unsigned char>(co_Unit[n++]);
        if (c >= 0x80 || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
            return true;
        }
    }
    return false;
}
}  // namespace

CT_DocumentCount::CT_DocumentCount(const std::string& co_Locale) : co_Counter(co_Locale) {}

CT_StoryTally CT_DocumentCount::co_AddStory(std::string_view co_Content) {
    CT_StoryTally co_story;
    while (!co_Content.empty()) {
        const std::size_t n_end = co_Content.find('\n');
        const std::string_view co_unit = co_Content.substr(0, n_end);
        co_Content.remove_prefix(n_end == std::string_view::npos ? co_Content.size() : n_end + 1);
        if (!b_HasText(co_unit)) {
            continue;
        }
        const CT_TextCount co_count = co_Counter.co_CountTagged(co_unit);
        if (co_count.n_Words == 0) {
            continue;
        }
        co_story.co_All += co_count;
        if (!co_Seen.insert(s_RepeatKey(co_unit)).second) {
            co_story.co_Repeated += co_count;
        }
    }
    co_Total.co_All += co_story.co_All;
    co_Total.co_Repeated += co_story.co_Repeated;
    return co_story;
}
