#include "tools/ct_text_wrap.h"

#include <sstream>
#include <vector>

namespace {
std::vector<std::string> co_Words(const std::string& s_Text) {
    std::istringstream co_in(s_Text);
    std::vector<std::string> co_words;
    std::string s_word;
    while (co_in >> s_word) {
        co_words.push_back(s_word);
    }
    return co_words;
}
}  // namespace

std::string CT_TextWrap::ss_Fill(const std::string& s_Text, std::size_t n_Width,
                                 std::size_t n_Indent) {
    // A word longer than the room there is stands on a line of its own, unbroken.
    const std::size_t n_room = n_Width > n_Indent + 20 ? n_Width - n_Indent : 20;
    std::string s_out;
    std::size_t n_used = 0;
    for (const std::string& s_word : co_Words(s_Text)) {
        if (n_used > 0 && n_used + 1 + s_word.size() > n_room) {
            s_out += "\n" + std::string(n_Indent, ' ');
            n_used = 0;
        }
        if (n_used > 0) {
            s_out += ' ';
            ++n_used;
        }
        s_out += s_word;
        n_used += s_word.size();
    }
    return s_out + "\n";
}

std::string CT_TextWrap::ss_TwoColumns(const std::string& s_Left, const std::string& s_Right,
                                       std::size_t n_Column, std::size_t n_Width) {
    std::string s_out = "  " + s_Left;
    if (s_Right.empty()) {
        return s_out + "\n";
    }
    if (s_out.size() + 2 > n_Column) {
        s_out += "\n" + std::string(n_Column, ' ');
    } else {
        s_out += std::string(n_Column - s_out.size(), ' ');
    }
    return s_out + ss_Fill(s_Right, n_Width, n_Column);
}

std::string CT_TextWrap::ss_Paragraphs(const std::string& s_Text, std::size_t n_Width) {
    std::istringstream co_in(s_Text);
    std::string s_out;
    std::string s_paragraph;
    const auto v_flush = [&] {
        if (!s_paragraph.empty()) {
            s_out += ss_Fill(s_paragraph, n_Width, 0);
            s_paragraph.clear();
        }
    };
    std::string s_line;
    while (std::getline(co_in, s_line)) {
        if (s_line.empty() || s_line.front() == ' ') {
            v_flush();
            s_out += s_line + "\n";
            continue;
        }
        s_paragraph += (s_paragraph.empty() ? "" : " ") + s_line;
        // A line that ends with a colon heads what follows.
        if (s_line.back() == ':') {
            v_flush();
        }
    }
    v_flush();
    return s_out;
}
