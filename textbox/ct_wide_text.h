// Bounded operations on zero-terminated 16-bit (UTF-16) strings, for the wide previews and
// labels of text boxes. Every writer takes the buffer's capacity in units, always leaves a
// terminator inside it and never ends a cut text with half of a surrogate pair.
#pragma once

#include <cstddef>

class CT_WideText {
  public:
    static std::size_t sn_Length(const char16_t* quz_Text);
    // Appends as much of the text as fits.
    static void sv_Append(char16_t* puz_Buffer, std::size_t n_Capacity, const char16_t* quz_Text);
    // Writes the format into the buffer with "%d" replaced by the decimal number and "%%" by
    // "%"; other characters are copied as they stand. Cut to fit.
    static void sv_FormatNumber(char16_t* puz_Buffer, std::size_t n_Capacity,
                                const char16_t* quz_Format, long long i_Number);
};
