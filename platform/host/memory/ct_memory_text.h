// Cutting a box's UTF-8 content the way a host hands text out: narrow text measured in code
// points, 16-bit text in UTF-16 units, neither ever splitting a character. Stateless; the
// caller owns every buffer.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class CT_MemoryText {
  public:
    // The first n_Limit code points of the text, as UTF-8. b_More tells whether text is left.
    static std::string s_Narrow(std::string_view co_Text, unsigned n_Limit, bool& b_More);
    // The first n_Limit UTF-16 units of the text, a surrogate pair never split. b_More tells
    // whether text is left. Malformed UTF-8 reads as U+FFFD.
    static std::u16string s_Wide(std::string_view co_Text, unsigned n_Limit, bool& b_More);
    // Line ends and tabs read as spaces, as a one-line preview shows them.
    static void v_Flatten(std::string& co_Text);
    static void v_Flatten(std::u16string& co_Text);
};
