#include "platform/host/idml/ct_idml_tag_text.h"

#include <cstring>

namespace {
std::string s_Escape(const std::string& s_Text, bool b_Blanks) {
    static const char ac_hex[] = "0123456789ABCDEF";
    std::string s_out;
    s_out.reserve(s_Text.size());
    for (const char c_char : s_Text) {
        const unsigned char c_byte = static_cast<unsigned char>(c_char);
        const bool b_escape = c_byte < 0x20 || c_byte == 0x7F || std::strchr("%\"<>&", c_char) ||
                              (b_Blanks && c_char == ' ');
        if (c_char != '\0' && !b_escape) {
            s_out.push_back(c_char);
            continue;
        }
        s_out.push_back('%');
        s_out.push_back(ac_hex[c_byte >> 4]);
        s_out.push_back(ac_hex[c_byte & 0x0F]);
    }
    return s_out;
}

int i_Hex(char c_Char) {
    const char* pc_digit = std::strchr("0123456789ABCDEF", c_Char);
    return c_Char != '\0' && pc_digit != nullptr ? static_cast<int>(pc_digit - "0123456789ABCDEF")
                                                 : -1;
}
}  // namespace

std::string CT_IdmlTagText::ss_Key(const std::string& s_StoryId) {
    return s_Escape(s_StoryId, true);
}

std::string CT_IdmlTagText::ss_Location(const std::string& s_SpreadName) {
    return s_Escape(s_SpreadName, false);
}

std::string CT_IdmlTagText::ss_StoryId(const std::string& s_Key) {
    std::string s_out;
    for (std::size_t n = 0; n < s_Key.size(); ++n) {
        const int i_high = n + 2 < s_Key.size() && s_Key[n] == '%' ? i_Hex(s_Key[n + 1]) : -1;
        const int i_low = i_high >= 0 ? i_Hex(s_Key[n + 2]) : -1;
        if (i_low < 0) {
            s_out.push_back(s_Key[n]);
            continue;
        }
        s_out.push_back(static_cast<char>(i_high * 16 + i_low));
        n += 2;
    }
    return s_out;
}
