#include "map/ct_json_string.h"

#include <cstdio>

std::string CT_JsonString::ss_Quote(const std::string& s_Text) {
    std::string s_out = "\"";
    for (const char c_byte : s_Text) {
        const unsigned char c_unsigned = static_cast<unsigned char>(c_byte);
        if (c_byte == '"' || c_byte == '\\') {
            s_out += '\\';
            s_out += c_byte;
        } else if (c_unsigned < 0x20) {
            char ac_escape[8];
            std::snprintf(ac_escape, sizeof ac_escape, "\\u%04x", c_unsigned);
            s_out += ac_escape;
        } else {
            s_out += c_byte;
        }
    }
    return s_out + "\"";
}
