#include "exchange/ct_xliff_text.h"

void CT_XliffText::sv_AppendText(std::string_view co_Text, std::string& co_Out) {
    std::size_t n = 0;
    while (n < co_Text.size()) {
        std::size_t n_special = co_Text.find_first_of("&<>", n);
        if (n_special == std::string_view::npos) {
            co_Out.append(co_Text.substr(n));
            return;
        }
        co_Out.append(co_Text.substr(n, n_special - n));
        co_Out += co_Text[n_special] == '&' ? "&amp;" : co_Text[n_special] == '<' ? "&lt;" : "&gt;";
        n = n_special + 1;
    }
}

void CT_XliffText::sv_AppendAttribute(std::string_view co_Text, std::string& co_Out) {
    for (char c : co_Text) {
        switch (c) {
            case '&':
                co_Out += "&amp;";
                break;
            case '<':
                co_Out += "&lt;";
                break;
            case '"':
                co_Out += "&quot;";
                break;
            case '\t':
                co_Out += "&#9;";
                break;
            case '\n':
                co_Out += "&#10;";
                break;
            case '\r':
                co_Out += "&#13;";
                break;
            default:
                co_Out.push_back(c);
        }
    }
}

std::size_t CT_XliffText::sn_Carried(std::string_view co_Text) {
    for (std::size_t n = 0; n < co_Text.size(); ++n) {
        const unsigned char c = static_cast<unsigned char>(co_Text[n]);
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') {
            return n;
        }
        if (c == 0xEF && n + 2 < co_Text.size() &&
            static_cast<unsigned char>(co_Text[n + 1]) == 0xBF &&
            static_cast<unsigned char>(co_Text[n + 2]) >= 0xBE) {
            return n;
        }
    }
    return co_Text.size();
}

char32_t CT_XliffText::sc_Refused(std::string_view co_Text, std::size_t& n_Length) {
    const unsigned char c = static_cast<unsigned char>(co_Text[0]);
    if (c < 0x80) {
        n_Length = 1;
        return c;
    }
    n_Length = 3;
    return static_cast<unsigned char>(co_Text[2]) == 0xBE ? 0xFFFE : 0xFFFF;
}
