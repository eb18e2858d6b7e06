#include "operations/ct_text_place.h"

#include <algorithm>

namespace {
bool b_IsContinuation(char c_Byte) {
    return (static_cast<unsigned char>(c_Byte) & 0xC0) == 0x80;
}

// The offset where the line holding n_Offset starts.
std::size_t n_LineStart(std::string_view co_Text, std::size_t n_Offset) {
    n_Offset = std::min(n_Offset, co_Text.size());
    const std::size_t n_end = co_Text.substr(0, n_Offset).find_last_of("\r\n");
    return n_end == std::string_view::npos ? 0 : n_end + 1;
}
}  // namespace

std::size_t CT_TextPlace::sn_Line(std::string_view co_Text, std::size_t n_Offset) {
    n_Offset = std::min(n_Offset, co_Text.size());
    std::size_t n_line = 1;
    for (std::size_t n_at = 0; n_at < n_Offset; ++n_at) {
        if (co_Text[n_at] == '\n' ||
            (co_Text[n_at] == '\r' && (n_at + 1 >= co_Text.size() || co_Text[n_at + 1] != '\n'))) {
            ++n_line;
        }
    }
    return n_line;
}

std::size_t CT_TextPlace::sn_Column(std::string_view co_Text, std::size_t n_Offset) {
    n_Offset = std::min(n_Offset, co_Text.size());
    std::size_t n_column = 1;
    for (std::size_t n_at = n_LineStart(co_Text, n_Offset); n_at < n_Offset; ++n_at) {
        n_column += b_IsContinuation(co_Text[n_at]) ? 0 : 1;
    }
    return n_column;
}

std::string CT_TextPlace::ss_Message(const std::string& s_File, std::string_view co_Text,
                                     std::size_t n_Offset, const std::string& s_What) {
    return s_File + ":" + std::to_string(sn_Line(co_Text, n_Offset)) + ":" +
           std::to_string(sn_Column(co_Text, n_Offset)) + ": " + s_What;
}

std::string CT_TextPlace::ss_LineAt(std::string_view co_Text, std::size_t n_Offset,
                                    std::size_t n_Max) {
    const std::size_t n_start = n_LineStart(co_Text, n_Offset);
    std::size_t n_end = co_Text.find_first_of("\r\n", n_start);
    n_end = n_end == std::string_view::npos ? co_Text.size() : n_end;
    std::size_t n_cut = n_start;
    for (std::size_t n_chars = 0; n_cut < n_end; ++n_cut) {
        if (!b_IsContinuation(co_Text[n_cut]) && n_chars++ == n_Max) {
            break;
        }
    }
    return std::string(co_Text.substr(n_start, n_cut - n_start)) + (n_cut < n_end ? "..." : "");
}
