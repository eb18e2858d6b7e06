// The four settings as people read and type them: each key, and for the two numbers the file
// keeps (the story order kind, the pasteboard flag) the words that stand for them. The command's
// show, set, settings check, manual page and completion all take their words from here, so that
// what one prints the others take. Stateless.
#pragma once

#include <string>
#include <vector>

class CT_SettingWords {
  public:
    // IMPORT_FOLDER, EXPORT_FOLDER, STORY_ORDER, IGNORE_STORY_ON_PASTE_BOARD, in the order the
    // file holds them.
    static const std::vector<std::string>& sco_Keys();
    // The key a spelling names: the key itself, or lower case with hyphens ("story-order",
    // and "ignore-pasteboard"); empty when it names none.
    static std::string ss_Key(const std::string& s_Spelling);
    // How people type a key: lower case with hyphens ("story-order", "ignore-pasteboard").
    static std::string ss_Spelling(const std::string& s_Key);
    // The words a key's value is shown in ("top-down", ...; "yes", "no"); none for a folder.
    static const std::vector<std::string>& sco_Words(const std::string& s_Key);
    // True for the keys whose value is a number in the file.
    static bool sb_IsNumber(const std::string& s_Key);
    // The number a value stands for: one of the key's words (in any case, "_" for "-"), or
    // its number written in digits; for the pasteboard flag also true/false and on/off. -1
    // when the value means nothing for the key.
    static int si_Number(const std::string& s_Key, const std::string& s_Value);
    // The word for a number, or the number in digits when it has none.
    static std::string ss_Word(const std::string& s_Key, int i_Number);
    // What the key takes, in words: "top-down, left-right or custom".
    static std::string ss_Accepted(const std::string& s_Key);
};
