// A text as a JSON string literal, for the command's --json outputs: quotes, backslashes and
// control characters escaped, UTF-8 passed through.
#pragma once

#include <string>

class CT_JsonString {
  public:
    static std::string ss_Quote(const std::string& s_Text);
};
