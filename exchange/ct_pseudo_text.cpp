#include "exchange/ct_pseudo_text.h"

#include <unicode/uchar.h>

#include <cmath>
#include <utility>

#include "exchange/ct_tagged_token.h"
#include "platform/common/ct_utf8.h"

namespace {

// Accented forms from Latin-1 and Latin Extended-A, which the text fonts of Latin documents
// carry; a letter without one keeps its form.
const char* const gapc_Lower[26] = {"à", "b", "ç", "ď", "é", "f", "ğ", "ĥ", "í",
                                    "ĵ", "ķ", "ĺ", "m", "ñ", "ö", "p", "q", "ŕ",
                                    "š", "ť", "ü", "v", "ŵ", "x", "ý", "ž"};
const char* const gapc_Upper[26] = {"À", "B", "Ç", "Ď", "É", "F", "Ğ", "Ĥ", "Í",
                                    "Ĵ", "Ķ", "Ĺ", "M", "Ñ", "Ö", "P", "Q", "Ŕ",
                                    "Š", "Ť", "Ü", "V", "Ŵ", "X", "Ý", "Ž"};

std::string s_Accented(char32_t c_Char) {
    if (c_Char >= U'a' && c_Char <= U'z') {
        return gapc_Lower[c_Char - U'a'];
    }
    if (c_Char >= U'A' && c_Char <= U'Z') {
        return gapc_Upper[c_Char - U'A'];
    }
    std::string s_out;
    CT_Utf8::sv_Append(s_out, c_Char);
    return s_out;
}

// Letters, and the digits and code points of any kind, of the pieces.
void v_Count(const std::vector<std::string>& co_Pieces, std::size_t& n_Letters,
             std::size_t& n_Digits, std::size_t& n_Points) {
    n_Letters = n_Digits = n_Points = 0;
    for (const std::string& s_piece : co_Pieces) {
        for (std::size_t n_at = 0; n_at < s_piece.size();) {
            const char32_t c_char = CT_Utf8::sc_Next(s_piece, n_at);
            n_Letters += u_isalpha(static_cast<UChar32>(c_char)) ? 1 : 0;
            n_Digits += u_isdigit(static_cast<UChar32>(c_char)) ? 1 : 0;
            ++n_Points;
        }
    }
}

}  // namespace

// The extra letters are spread evenly: the letter numbered i (from 0) of L is followed by
// floor((i + 1) E / L) - floor(i E / L) copies of itself, E in all.
void CT_PseudoText::sv_Paragraph(std::vector<std::string>& co_Pieces, double d_Expand) {
    std::size_t n_letters = 0, n_digits = 0, n_points = 0;
    v_Count(co_Pieces, n_letters, n_digits, n_points);
    if (n_letters + n_digits == 0) {
        return;
    }
    const double d_grown =
        std::floor(static_cast<double>(n_points) * std::max(d_Expand, 0.0) + 0.5);
    const std::size_t n_extra =
        n_letters == 0 || d_grown <= 2 ? 0 : static_cast<std::size_t>(d_grown) - 2;
    std::size_t n_letter = 0;
    for (std::string& s_piece : co_Pieces) {
        std::string s_out;
        for (std::size_t n_at = 0; n_at < s_piece.size();) {
            const char32_t c_char = CT_Utf8::sc_Next(s_piece, n_at);
            const std::string s_char = s_Accented(c_char);
            s_out += s_char;
            if (!u_isalpha(static_cast<UChar32>(c_char))) {
                continue;
            }
            const std::size_t n_copies =
                (n_letter + 1) * n_extra / n_letters - n_letter * n_extra / n_letters;
            for (std::size_t n = 0; n < n_copies; ++n) {
                s_out += s_char;
            }
            ++n_letter;
        }
        s_piece = std::move(s_out);
    }
    // Around the text itself: a marker before a paragraph's first code would land in the
    // table cell or note before it.
    std::size_t n_first = 0, n_last = co_Pieces.size() - 1;
    while (co_Pieces[n_first].empty()) {
        ++n_first;
    }
    while (co_Pieces[n_last].empty()) {
        --n_last;
    }
    co_Pieces[n_first].insert(0, "[");
    co_Pieces[n_last] += "]";
}

std::string CT_PseudoText::ss_Tagged(std::string_view co_Content, double d_Expand) {
    std::vector<CT_TaggedToken> co_tokens;
    CT_TaggedToken::sv_Read(co_Content, co_tokens);
    // Each paragraph's text tokens are its pieces; its codes stay between them.
    std::vector<CT_TaggedToken> co_out;
    std::size_t n_start = 0;
    auto v_Flush = [&](std::size_t n_End) {
        std::vector<std::string> co_pieces;
        for (std::size_t n = n_start; n < n_End; ++n) {
            if (co_tokens[n].eo_Kind == CT_TaggedToken::et_Kind::e_Text) {
                co_pieces.push_back(co_tokens[n].co_Text);
            }
        }
        if (!co_pieces.empty()) {
            sv_Paragraph(co_pieces, d_Expand);
        }
        std::size_t n_piece = 0;
        for (std::size_t n = n_start; n < n_End; ++n) {
            co_out.push_back(co_tokens[n]);
            if (co_tokens[n].eo_Kind == CT_TaggedToken::et_Kind::e_Text) {
                co_out.back().co_Text = co_pieces[n_piece++];
            }
        }
    };
    for (std::size_t n = 0; n < co_tokens.size(); ++n) {
        if (co_tokens[n].eo_Kind == CT_TaggedToken::et_Kind::e_LineEnd) {
            v_Flush(n);
            co_out.push_back(co_tokens[n]);
            n_start = n + 1;
        }
    }
    v_Flush(co_tokens.size());
    std::string s_out;
    CT_TaggedToken::sv_Write(co_out, s_out);
    return s_out;
}

double CT_PseudoText::sd_GrowthFor(const std::string& s_Language) {
    static const std::pair<const char*, double> aco_growth[] = {
        {"de", 0.35}, {"nl", 0.3},  {"fi", 0.3}, {"ru", 0.3},  {"uk", 0.3},  {"pl", 0.3},
        {"el", 0.3},  {"hu", 0.3},  {"fr", 0.2}, {"es", 0.25}, {"pt", 0.25}, {"it", 0.2},
        {"ro", 0.2},  {"cs", 0.2},  {"sk", 0.2}, {"tr", 0.2},  {"sv", 0.15}, {"da", 0.15},
        {"nb", 0.15}, {"no", 0.15}, {"en", 0.0}, {"ja", 0.0},  {"zh", 0.0},  {"ko", 0.0}};
    std::string s_language = s_Language.substr(0, s_Language.find_first_of("-_"));
    for (char& c_char : s_language) {
        c_char = c_char >= 'A' && c_char <= 'Z' ? static_cast<char>(c_char - 'A' + 'a') : c_char;
    }
    for (const auto& [pc_language, d_growth] : aco_growth) {
        if (s_language == pc_language) {
            return d_growth;
        }
    }
    return 0.3;
}
