// Fills help text to a width. Plain lines that follow each other make one paragraph, refilled;
// a line that starts with a space (an example, a list) is kept as it stands. Holds nothing.
#pragma once

#include <cstddef>
#include <string>

class CT_TextWrap {
  public:
    // s_Text filled to n_Width columns, every line after the first indented by n_Indent spaces
    // (the first is indented by the caller); ends with a newline.
    static std::string ss_Fill(const std::string& s_Text, std::size_t n_Width,
                               std::size_t n_Indent);
    // Two columns: s_Left at two spaces, s_Right from column n_Column, moved to the next line
    // when s_Left is too wide to leave room for it.
    static std::string ss_TwoColumns(const std::string& s_Left, const std::string& s_Right,
                                     std::size_t n_Column, std::size_t n_Width);
    // The paragraphs of s_Text as lines of at most n_Width columns.
    static std::string ss_Paragraphs(const std::string& s_Text, std::size_t n_Width);
};
