// One piece of a story's tagged content: text (unescaped, UTF-8), a line end, or a code. A
// content is read into tokens by CT_TaggedToken::sv_Read and written back by sv_Write, which
// gives back the same bytes for content that export wrote.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

struct CT_TaggedToken {
    enum class et_Kind { e_Text, e_LineEnd, e_Open, e_Close, e_Standalone };
    et_Kind eo_Kind = et_Kind::e_Text;
    std::string co_Text;  // e_Text
    unsigned n_Code = 0;  // codes

    bool operator==(const CT_TaggedToken& co_Other) const {
        return eo_Kind == co_Other.eo_Kind && co_Text == co_Other.co_Text &&
               n_Code == co_Other.n_Code;
    }

    // Appends the tokens of co_Content to co_Tokens; adjacent text becomes one token. "\r\n"
    // and "\r" are line ends. Raises std::invalid_argument, naming the byte offset, on a bad
    // escape or a "<" that starts no code.
    static void sv_Read(std::string_view co_Content, std::vector<CT_TaggedToken>& co_Tokens) {
        sb_Read(co_Content, co_Tokens);
    }
    // As sv_Read; returns whether sv_Write gives back co_Content byte for byte (it does not
    // for CR line ends and for a ">" left unescaped), so that a caller can spare writing the
    // tokens back to compare.
    static bool sb_Read(std::string_view co_Content, std::vector<CT_TaggedToken>& co_Tokens);
    // Reads as sv_Read without keeping tokens: f_Text gets each run of unescaped text (a view
    // into the content, valid for the call; adjacent runs come one by one), f_Token each line
    // end and code, in order. Raises as sv_Read, having handed over what came before.
    static void sv_Scan(std::string_view co_Content,
                        const std::function<void(std::string_view)>& f_Text,
                        const std::function<void(const CT_TaggedToken&)>& f_Token);
    // Whether sv_Read takes the content without error and sv_Write gives back the same bytes:
    // no CR and no bare ">". Then every line is its tokens' tagged form as it stands.
    static bool sb_ReadsAsWritten(std::string_view co_Content);
    // Appends the tagged form of the tokens: text escaped, line ends as "\n".
    static void sv_Write(const std::vector<CT_TaggedToken>& co_Tokens, std::string& co_Out);
    static void sv_Write(const CT_TaggedToken& co_Token, std::string& co_Out);
    static void sv_AppendEscaped(std::string_view co_Text, std::string& co_Out);
    // Appends text to co_Tokens, joined to a text token that ends them: adjacent text is always
    // one token. Empty text adds nothing.
    static void sv_AddText(std::vector<CT_TaggedToken>& co_Tokens, std::string_view co_Text);
};
