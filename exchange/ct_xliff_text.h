// Escaping for the XML that the XLIFF writer produces by hand, and the characters XML 1.0
// cannot carry. Stateless.
#pragma once

#include <string>
#include <string_view>

class CT_XliffText {
  public:
    // Appends text content with "&", "<" and ">" escaped.
    static void sv_AppendText(std::string_view co_Text, std::string& co_Out);
    // Appends an attribute value (for double quotes) with white space other than spaces kept.
    static void sv_AppendAttribute(std::string_view co_Text, std::string& co_Out);
    // Length of a run at co_Text's start that XML can carry (UTF-8 left as it is); the run
    // ends at a control character other than tab, line feed and carriage return, or at U+FFFE
    // or U+FFFF.
    static std::size_t sn_Carried(std::string_view co_Text);
    // sv_AppendText of the run that sn_Carried measures, in one pass; returns its length.
    static std::size_t sn_AppendCarried(std::string_view co_Text, std::string& co_Out);
    // The character that stops sn_Carried at co_Text's start, and its length in bytes.
    static char32_t sc_Refused(std::string_view co_Text, std::size_t& n_Length);
};
