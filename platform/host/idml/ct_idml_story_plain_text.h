// Turns tagged content into the plain text a person reads: codes left out, escapes undone, the
// line end that closes the last paragraph dropped. Stateless.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class CT_IdmlStoryPlainText {
  public:
    // At most n_Limit code points into co_Text (never part of a UTF-8 sequence); true when more
    // text follows. With b_Preview, "\n", "\r", "\t" and U+2028 read as a space.
    static bool sb_Extract(std::string_view co_Content, std::string& co_Text, std::size_t n_Limit,
                           bool b_Preview);
    // The bytes of the content that hold its first n_Characters characters as sb_Extract counts
    // them, with the codes between them: the whole content when it has no more. sb_Extract of
    // such a prefix gives what it gives of the whole content for any n_Limit + 2 <= n_Characters
    // (one more character tells that text follows, one more again that it is not the line end
    // that closes the story).
    // Counted from byte n_From, the end of a prefix already measured, it gives where the next
    // n_Characters end: a count goes on from where the last stopped instead of starting over.
    static std::size_t sn_PrefixBytes(std::string_view co_Content, std::size_t n_Characters,
                                      std::size_t n_From = 0);
    // Cuts the content to sn_PrefixBytes of it, letting go of the rest's memory; true when
    // something was cut.
    static bool sb_KeepStart(std::string& co_Content, std::size_t n_Characters);
    // The same for a prefix already measured: n_Bytes of it.
    static bool sb_KeepBytes(std::string& co_Content, std::size_t n_Bytes);
};
