// Where something stands in a text file the user edits, in the words the user's editor uses:
// the file, the line and the column, both from 1. Every reader of a translator's file (the
// tagged story file, XLIFF) names a fault this way, so that the user can go straight to it.
// Stateless.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class CT_TextPlace {
  public:
    // Line and column of the byte at n_Offset. A line ends at LF, CR LF or a lone CR; the
    // column counts characters (UTF-8 sequences), not bytes.
    static std::size_t sn_Line(std::string_view co_Text, std::size_t n_Offset);
    static std::size_t sn_Column(std::string_view co_Text, std::size_t n_Offset);
    // "FILE:LINE:COLUMN: WHAT".
    static std::string ss_Message(const std::string& s_File, std::string_view co_Text,
                                  std::size_t n_Offset, const std::string& s_What);
    // The line that holds the offset, without its line end, cut to n_Max characters with
    // "..." when longer: what the user sees there.
    static std::string ss_LineAt(std::string_view co_Text, std::size_t n_Offset,
                                 std::size_t n_Max = 40);
};
