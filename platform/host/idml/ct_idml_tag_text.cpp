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
}  // namespace

std::string CT_IdmlTagText::ss_Key(const std::string& s_StoryId) {
    return s_Escape(s_StoryId, true);
}

std::string CT_IdmlTagText::ss_Location(const std::string& s_SpreadName) {
    return s_Escape(s_SpreadName, false);
}
