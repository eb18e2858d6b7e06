// Checks a long text's UTF-8 on several threads, piece by piece, finding what CT_Utf8 finds
// checking it whole: a translation file of a large document is tens of megabytes, checked
// before anything is read from it. Stateless; the text is the caller's.
#pragma once

#include <cstddef>
#include <string_view>

class CT_ParallelUtf8 {
  public:
    static constexpr std::size_t sn_DefaultPiece = 4 << 20;

    // CT_Utf8::sn_FirstInvalid's answer, the text cut into pieces of about n_Piece bytes that
    // are checked on n_Threads threads (this one counted); a text of one piece, or one thread,
    // is checked here alone.
    static std::size_t sn_FirstInvalid(std::string_view co_Text, unsigned n_Threads,
                                       std::size_t n_Piece = sn_DefaultPiece);
};
