// Strict UTF-8, the one reading of text bytes for the whole system: a sequence is well formed
// only in its shortest form, never encodes a surrogate and never goes past U+10FFFF. Readers
// that must go on after bad bytes read each of them as U+FFFD. Static operations only; nothing
// here allocates unless it returns a string.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class CT_Utf8 {
  public:
    static constexpr char32_t sc_Replacement = 0xFFFD;

    // Length of the well-formed sequence at the position, 0 when none starts there (also at
    // or past the end). ASCII, most of most text, is decided here without a call.
    static std::size_t sn_SequenceLength(std::string_view co_Text, std::size_t n_At) {
        return n_At < co_Text.size() && static_cast<unsigned char>(co_Text[n_At]) < 0x80
                   ? 1
                   : sn_LongerLength(co_Text, n_At);
    }
    // The code point at the position, moving past it; a byte that starts no well-formed
    // sequence gives U+FFFD and moves one byte on.
    static char32_t sc_Next(std::string_view co_Text, std::size_t& n_At) {
        if (n_At < co_Text.size() && static_cast<unsigned char>(co_Text[n_At]) < 0x80) {
            return static_cast<unsigned char>(co_Text[n_At++]);
        }
        return sc_NextLonger(co_Text, n_At);
    }
    // Position of the first byte that starts no well-formed sequence, or npos.
    static std::size_t sn_FirstInvalid(std::string_view co_Text);
    static bool sb_IsValid(std::string_view co_Text) {
        return sn_FirstInvalid(co_Text) == std::string_view::npos;
    }

    // Appends the code point's bytes; surrogates and values past U+10FFFF append U+FFFD.
    static void sv_Append(std::string& co_Text, char32_t c_Point);

    // Writes the text as UTF-16 into at most n_Capacity units, never half of a surrogate pair,
    // and returns the units written; b_Cut says whether text was left out. No closing zero.
    static std::size_t sn_ToUtf16(std::string_view co_Text, char16_t* puz_Out,
                                  std::size_t n_Capacity, bool& b_Cut);

    // Columns on a terminal: one per code point (a bad byte counts as one).
    static std::size_t sn_Columns(std::string_view co_Text);
    // Code points of well-formed text, counted by the bytes that start one: every byte but a
    // continuation byte (10xxxxxx). Faster than sn_Columns over a story's text; bad bytes are
    // counted as they fall.
    static std::size_t sn_CodePoints(std::string_view co_Text);
    // The longest start of the text that fills at most n_Columns columns, never ending inside
    // a sequence.
    static std::string_view so_FirstColumns(std::string_view co_Text, std::size_t n_Columns);

  private:
    // sn_SequenceLength and sc_Next past ASCII.
    static std::size_t sn_LongerLength(std::string_view co_Text, std::size_t n_At);
    static char32_t sc_NextLonger(std::string_view co_Text, std::size_t& n_At);
};
