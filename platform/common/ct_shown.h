// A value from a stranger's file as a message shows it: a value past a readable length is cut
// at the end of a character and says how many bytes it had, so that a key, an attribute or a
// line of megabytes never floods the terminal or the log. Stateless.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class CT_Shown {
  public:
    static constexpr std::size_t kn_Readable = 200;

    // The value whole when it has at most n_Max bytes, else its first n_Max bytes or fewer
    // (never half a UTF-8 character) and "... (N bytes)".
    static std::string ss_Value(std::string_view co_Value, std::size_t n_Max = kn_Readable);
    // A whole message line: one past n_Max bytes keeps its start and its end, the part between
    // given as "... (N bytes) ...", so that what the message says of the value still shows.
    static std::string ss_Line(std::string_view co_Line, std::size_t n_Max);
};
