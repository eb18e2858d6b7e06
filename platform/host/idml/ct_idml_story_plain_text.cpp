#include "platform/host/idml/ct_idml_story_plain_text.h"

#include <algorithm>

#include "platform/common/ct_utf8.h"

namespace {

// The next character of the content at or after n_At, codes passed over and an escape undone:
// its bytes, and n_At moved past it. Empty at the end. Content that reached the document is
// well formed; a stray byte still moves one on.
std::string_view co_NextCharacter(std::string_view co_Content, std::size_t& n_At) {
    while (n_At < co_Content.size() && co_Content[n_At] == '<') {
        const std::size_t n_end = co_Content.find('>', n_At);
        n_At = n_end == std::string_view::npos ? co_Content.size() : n_end + 1;
    }
    if (n_At >= co_Content.size()) {
        return {};
    }
    if (co_Content[n_At] == '\\' && n_At + 1 < co_Content.size()) {
        ++n_At;
    }
    const std::size_t n_length =
        std::max<std::size_t>(CT_Utf8::sn_SequenceLength(co_Content, n_At), 1);
    const std::string_view co_character = co_Content.substr(n_At, n_length);
    n_At += co_character.size();
    return co_character;
}

}  // namespace

bool CT_IdmlStoryPlainText::sb_Extract(std::string_view co_Content, std::string& co_Text,
                                       std::size_t n_Limit, bool b_Preview) {
    co_Text.clear();
    if (!co_Content.empty() && co_Content.back() == '\n') {
        co_Content.remove_suffix(1);
    }
    std::size_t n_at = 0;
    for (std::size_t n_count = 0;; ++n_count) {
        const std::string_view co_character = co_NextCharacter(co_Content, n_at);
        if (co_character.empty()) {
            return false;
        }
        if (n_count == n_Limit) {
            return true;
        }
        // A byte at a time for the one-byte characters most text is made of.
        const char c_first = co_character[0];
        const bool b_one = co_character.size() == 1;
        const bool b_space = b_one ? c_first == '\n' || c_first == '\r' || c_first == '\t'
                                   : co_character == "\u2028";
        if (b_Preview && b_space) {
            co_Text.push_back(' ');
        } else if (b_one) {
            co_Text.push_back(c_first);
        } else {
            co_Text.append(co_character);
        }
    }
}

bool CT_IdmlStoryPlainText::sb_KeepStart(std::string& co_Content, std::size_t n_Characters) {
    return sb_KeepBytes(co_Content, sn_PrefixBytes(co_Content, n_Characters));
}

bool CT_IdmlStoryPlainText::sb_KeepBytes(std::string& co_Content, std::size_t n_Bytes) {
    if (n_Bytes >= co_Content.size()) {
        return false;
    }
    co_Content.resize(n_Bytes);
    co_Content.shrink_to_fit();
    return true;
}

std::size_t CT_IdmlStoryPlainText::sn_PrefixBytes(std::string_view co_Content,
                                                  std::size_t n_Characters, std::size_t n_From) {
    std::size_t n_at = n_From;
    for (std::size_t n_count = 0; n_count < n_Characters; ++n_count) {
        if (co_NextCharacter(co_Content, n_at).empty()) {
            break;
        }
    }
    return n_at;
}
