#include "platform/host/idml/ct_idml_story_plain_text.h"

#include <algorithm>

#include "platform/common/ct_utf8.h"

bool CT_IdmlStoryPlainText::sb_Extract(std::string_view co_Content, std::string& co_Text,
                                       std::size_t n_Limit, bool b_Preview) {
    co_Text.clear();
    if (!co_Content.empty() && co_Content.back() == '\n') {
        co_Content.remove_suffix(1);
    }
    std::size_t n_count = 0;
    std::size_t n_at = 0;
    while (n_at < co_Content.size()) {
        char c = co_Content[n_at];
        if (c == '<') {
            std::size_t n_end = co_Content.find('>', n_at);
            n_at = n_end == std::string_view::npos ? co_Content.size() : n_end + 1;
            continue;
        }
        if (n_count == n_Limit) {
            return true;
        }
        if (c == '\\' && n_at + 1 < co_Content.size()) {
            ++n_at;
        }
        // Content that reached the document is well formed; a stray byte still moves one on.
        std::size_t n_length =
            std::max<std::size_t>(CT_Utf8::sn_SequenceLength(co_Content, n_at), 1);
        std::string_view co_character = co_Content.substr(n_at, n_length);
        n_at += co_character.size();
        ++n_count;
        bool b_space = co_character == "\n" || co_character == "\r" || co_character == "\t" ||
                       co_character == "\u2028";
        if (b_Preview && b_space) {
            co_Text.push_back(' ');
        } else {
            co_Text.append(co_character);
        }
    }
    return false;
}

std::size_t CT_IdmlStoryPlainText::sn_PrefixBytes(std::string_view co_Content,
                                                  std::size_t n_Characters) {
    std::size_t n_count = 0;
    std::size_t n_at = 0;
    while (n_at < co_Content.size() && n_count < n_Characters) {
        if (co_Content[n_at] == '<') {
            std::size_t n_end = co_Content.find('>', n_at);
            n_at = n_end == std::string_view::npos ? co_Content.size() : n_end + 1;
            continue;
        }
        if (co_Content[n_at] == '\\' && n_at + 1 < co_Content.size()) {
            ++n_at;
        }
        n_at += std::max<std::size_t>(CT_Utf8::sn_SequenceLength(co_Content, n_at), 1);
        ++n_count;
    }
    return std::min(n_at, co_Content.size());
}
