// Cuts tagged content into tokens: text (unescaped), line ends and codes. Refuses, naming the
// story's key and the byte offset, what no export can have written: a bad escape, a "<" that
// starts no code, text that is not UTF-8 or holds a control character XML cannot carry. A
// line end is "\n", "\r\n" or "\r". The lexer reads the caller's content without copying it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/common/ct_string.h"

class CT_IdmlStoryLexer {
  public:
    enum class et_Token { e_End, e_Text, e_LineEnd, e_Open, e_Close, e_Standalone };
    struct CT_Token {
        et_Token eo_Kind = et_Token::e_End;
        std::string co_Text;    // e_Text
        unsigned n_Number = 0;  // codes
    };

    CT_IdmlStoryLexer(std::string_view co_Content, const CT_String& co_Key);

    // The next token; e_End at the end of the content, and on every call after it.
    void v_Next(CT_Token& co_Token);

  private:
    void v_Text(CT_Token& co_Token);
    void v_Code(CT_Token& co_Token);
    bool b_Number(unsigned& n_Number);
    std::size_t n_PlainLength() const;
    [[noreturn]] void v_BadEscape(char c_Next) const;
    [[noreturn]] void v_Refuse(const std::string& co_What) const;

    std::string_view co_Content;
    const CT_String& co_Key;
    std::size_t n_Position = 0;
};
