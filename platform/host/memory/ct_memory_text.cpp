#include "platform/host/memory/ct_memory_text.h"

#include "platform/common/ct_utf8.h"

namespace {
bool b_IsFlattened(char32_t c) {
    return c == U'\n' || c == U'\r' || c == U'\t';
}
}  // namespace

std::string CT_MemoryText::s_Narrow(std::string_view co_Text, unsigned n_Limit, bool& b_More) {
    // A stray byte counts as one character of its own so that nothing is ever skipped.
    const std::string_view co_Cut = CT_Utf8::so_FirstColumns(co_Text, n_Limit);
    b_More = co_Cut.size() < co_Text.size();
    return std::string(co_Cut);
}

std::u16string CT_MemoryText::s_Wide(std::string_view co_Text, unsigned n_Limit, bool& b_More) {
    std::u16string co_Out(n_Limit, u'\0');
    co_Out.resize(CT_Utf8::sn_ToUtf16(co_Text, &co_Out[0], n_Limit, b_More));
    return co_Out;
}

void CT_MemoryText::v_Flatten(std::string& co_Text) {
    for (char& c : co_Text) {
        if (b_IsFlattened(static_cast<unsigned char>(c))) {
            c = ' ';
        }
    }
}

void CT_MemoryText::v_Flatten(std::u16string& co_Text) {
    for (char16_t& c : co_Text) {
        if (b_IsFlattened(c)) {
            c = u' ';
        }
    }
}
