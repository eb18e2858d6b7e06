#include "operations/ct_setting_words.h"

#include <cctype>

#include "settings/ct_story_order_kind.h"

namespace {
const char* const gpc_StoryOrder = "STORY_ORDER";
const char* const gpc_IgnorePasteBoard = "IGNORE_STORY_ON_PASTE_BOARD";

// Upper case, "_" for "-": how keys are written and words compared.
std::string s_Folded(std::string s_Text) {
    for (char& c_char : s_Text) {
        c_char = c_char == '-'
                     ? '_'
                     : static_cast<char>(std::toupper(static_cast<unsigned char>(c_char)));
    }
    return s_Text;
}

// Digits alone, short enough to be one of the small numbers these settings take.
int i_Digits(const std::string& s_Value) {
    if (s_Value.empty() || s_Value.size() > 6) {
        return -1;
    }
    int i_number = 0;
    for (const char c_char : s_Value) {
        if (c_char < '0' || c_char > '9') {
            return -1;
        }
        i_number = i_number * 10 + (c_char - '0');
    }
    return i_number;
}
}  // namespace

const std::vector<std::string>& CT_SettingWords::sco_Keys() {
    static const std::vector<std::string> co_keys = {"IMPORT_FOLDER", "EXPORT_FOLDER",
                                                     gpc_StoryOrder, gpc_IgnorePasteBoard};
    return co_keys;
}

std::string CT_SettingWords::ss_Key(const std::string& s_Spelling) {
    const std::string s_key = s_Folded(s_Spelling);
    if (s_key == "IGNORE_PASTEBOARD") {
        return gpc_IgnorePasteBoard;
    }
    for (const std::string& s_known : sco_Keys()) {
        if (s_known == s_key) {
            return s_known;
        }
    }
    return "";
}

std::string CT_SettingWords::ss_Spelling(const std::string& s_Key) {
    if (s_Key == gpc_IgnorePasteBoard) {
        return "ignore-pasteboard";
    }
    std::string s_spelling = s_Key;
    for (char& c_char : s_spelling) {
        c_char = c_char == '_'
                     ? '-'
                     : static_cast<char>(std::tolower(static_cast<unsigned char>(c_char)));
    }
    return s_spelling;
}

const std::vector<std::string>& CT_SettingWords::sco_Words(const std::string& s_Key) {
    // Indexed by the number each stands for.
    static const std::vector<std::string> co_orders = {"top-down", "left-right", "custom"};
    static const std::vector<std::string> co_flags = {"no", "yes"};
    static const std::vector<std::string> co_none;
    if (s_Key == gpc_StoryOrder) {
        return co_orders;
    }
    return s_Key == gpc_IgnorePasteBoard ? co_flags : co_none;
}

bool CT_SettingWords::sb_IsNumber(const std::string& s_Key) {
    return !sco_Words(s_Key).empty();
}

int CT_SettingWords::si_Number(const std::string& s_Key, const std::string& s_Value) {
    const std::vector<std::string>& co_words = sco_Words(s_Key);
    const std::string s_value = s_Folded(s_Value);
    for (std::size_t n = 0; n < co_words.size(); ++n) {
        if (s_Folded(co_words[n]) == s_value) {
            return static_cast<int>(n);
        }
    }
    if (s_Key == gpc_IgnorePasteBoard) {
        if (s_value == "TRUE" || s_value == "ON") {
            return 1;
        }
        if (s_value == "FALSE" || s_value == "OFF") {
            return 0;
        }
    }
    const int i_number = i_Digits(s_Value);
    if (s_Key == gpc_StoryOrder) {
        return i_number <= e_Custom ? i_number : -1;
    }
    // The file keeps any number for the flag and reads all but 0 as yes.
    return co_words.empty() ? -1 : i_number;
}

std::string CT_SettingWords::ss_Word(const std::string& s_Key, int i_Number) {
    const std::vector<std::string>& co_words = sco_Words(s_Key);
    if (s_Key == gpc_IgnorePasteBoard) {
        return co_words[i_Number != 0 ? 1 : 0];
    }
    return i_Number >= 0 && static_cast<std::size_t>(i_Number) < co_words.size()
               ? co_words[static_cast<std::size_t>(i_Number)]
               : std::to_string(i_Number);
}

std::string CT_SettingWords::ss_Accepted(const std::string& s_Key) {
    const std::vector<std::string>& co_words = sco_Words(s_Key);
    if (co_words.empty()) {
        return "a folder (without double quotes)";
    }
    std::string s_text;
    // Shown in the order people meet them: yes before no.
    const bool b_flag = s_Key == gpc_IgnorePasteBoard;
    for (std::size_t n = 0; n < co_words.size(); ++n) {
        const std::string& s_word = co_words[b_flag ? co_words.size() - 1 - n : n];
        s_text += (n == 0 ? "" : n + 1 == co_words.size() ? " or " : ", ") + s_word;
    }
    return s_text;
}
