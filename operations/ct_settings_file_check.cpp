#include "operations/ct_settings_file_check.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "operations/ct_setting_words.h"
#include "platform/common/ct_shown.h"

namespace {
const char* const gpc_KeyList =
    "IMPORT_FOLDER, EXPORT_FOLDER, STORY_ORDER and IGNORE_STORY_ON_PASTE_BOARD";

std::string s_ValueProblem(const std::string& s_Key, const std::string& s_Value) {
    if (!CT_SettingWords::sb_IsNumber(s_Key) || CT_SettingWords::si_Number(s_Key, s_Value) >= 0) {
        return "";
    }
    // What the reader makes of it: the digits it starts with, else 0.
    const long i_read = std::strtol(s_Value.c_str(), nullptr, 10);
    const std::string s_used = s_Key == "STORY_ORDER"
                                   ? "top-down is used"
                                   : std::string("it is read as ") + (i_read != 0 ? "yes" : "no");
    return s_Key + " cannot be \"" + CT_Shown::ss_Value(s_Value) + "\"; it is " +
           CT_SettingWords::ss_Accepted(s_Key) + ": " + s_used;
}

// Reads `KEY = "VALUE"` with blanks before it and blanks or a carriage return after it, by hand:
// the line comes from a file a person edited and may be of any length.
bool b_ParseSetting(const std::string& s_Line, std::string& s_Key, std::string& s_Value,
                    std::size_t& n_ValueAt) {
    std::size_t n = s_Line.find_first_not_of(" \t");
    const std::size_t n_key = n == std::string::npos ? s_Line.size() : n;
    for (n = n_key; n < s_Line.size(); ++n) {
        const char c = s_Line[n];
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
              c == '_')) {
            break;
        }
    }
    if (n == n_key || s_Line.compare(n, 4, " = \"") != 0) {
        return false;
    }
    const std::size_t n_value = n + 4;
    const std::size_t n_quote = s_Line.find('"', n_value);
    if (n_quote == std::string::npos ||
        s_Line.find_first_not_of(" \t\r", n_quote + 1) != std::string::npos) {
        return false;
    }
    s_Key = s_Line.substr(n_key, n - n_key);
    s_Value = s_Line.substr(n_value, n_quote - n_value);
    n_ValueAt = n_value;
    return true;
}
}  // namespace

struct CT_SettingsFileCheck::CT_Line {
    std::size_t n_Number;
    std::string s_Problem;  // empty for a setting of a known key
    std::string s_Key;
    std::string s_Value;
    std::size_t n_ValueAt;  // where the value starts in the file's bytes
    bool b_Read;            // the reader takes its value
};

std::vector<std::string> CT_SettingsFileCheck::sco_Problems(const std::string& s_Path) {
    std::ifstream co_file(s_Path, std::ios::binary);
    if (!co_file) {
        return {};
    }
    return sco_ProblemsIn(std::string(std::istreambuf_iterator<char>(co_file), {}), s_Path);
}

// The reader takes the keys one after the other, each from where the one before was found; a
// key it does not find leaves it where it was.
std::vector<CT_SettingsFileCheck::CT_Line> CT_SettingsFileCheck::sco_Lines(
    const std::string& s_Bytes) {
    std::vector<CT_Line> co_lines;
    std::size_t n_start = 0;
    for (std::size_t n_line = 1; n_start < s_Bytes.size(); ++n_line) {
        const std::size_t n_end = std::min(s_Bytes.find('\n', n_start), s_Bytes.size());
        const std::string s_line = s_Bytes.substr(n_start, n_end - n_start);
        const std::size_t n_lineStart = n_start;
        n_start = n_end + 1;
        if (s_line.find_first_not_of(" \t\r") == std::string::npos) {
            continue;
        }
        std::string s_key;
        std::string s_value;
        std::size_t n_valueAt = 0;
        if (!b_ParseSetting(s_line, s_key, s_value, n_valueAt)) {
            co_lines.push_back({n_line,
                                "not a setting: each line is KEY = \"VALUE\"; the settings "
                                "around it may be misread",
                                "", "", 0, false});
        } else if (CT_SettingWords::ss_Key(s_key) != s_key) {
            co_lines.push_back({n_line,
                                "\"" + CT_Shown::ss_Value(s_key) +
                                    "\" is not a setting; the settings are " + gpc_KeyList,
                                "", "", 0, false});
        } else {
            co_lines.push_back({n_line, "", s_key, s_value, n_lineStart + n_valueAt, false});
        }
    }
    std::size_t n_from = 0;
    for (const std::string& s_key : CT_SettingWords::sco_Keys()) {
        for (std::size_t n = n_from; n < co_lines.size(); ++n) {
            if (co_lines[n].s_Key == s_key) {
                co_lines[n].b_Read = true;
                co_lines[n].s_Problem = s_ValueProblem(s_key, co_lines[n].s_Value);
                n_from = n + 1;
                break;
            }
        }
    }
    for (CT_Line& co_line : co_lines) {
        if (!co_line.s_Key.empty() && !co_line.b_Read) {
            co_line.s_Problem = co_line.s_Key +
                                " is not read: the settings are read in the order " + gpc_KeyList +
                                ", each once and after the one before";
        }
    }
    return co_lines;
}

std::vector<std::string> CT_SettingsFileCheck::sco_ProblemsIn(const std::string& s_Bytes,
                                                              const std::string& s_Path) {
    std::vector<std::string> co_problems;
    for (const CT_Line& co_line : sco_Lines(s_Bytes)) {
        if (!co_line.s_Problem.empty()) {
            co_problems.push_back(s_Path + ":" + std::to_string(co_line.n_Number) + ": " +
                                  co_line.s_Problem);
        }
    }
    return co_problems;
}

std::string CT_SettingsFileCheck::ss_Numbered(const std::string& s_Bytes) {
    std::string s_numbered = s_Bytes;
    const std::vector<CT_Line> co_lines = sco_Lines(s_Bytes);
    // From the end, so that the places of the values before stay where they were.
    for (auto it = co_lines.rbegin(); it != co_lines.rend(); ++it) {
        if (!it->b_Read || !it->s_Problem.empty() || !CT_SettingWords::sb_IsNumber(it->s_Key)) {
            continue;
        }
        const int i_number = CT_SettingWords::si_Number(it->s_Key, it->s_Value);
        s_numbered.replace(it->n_ValueAt, it->s_Value.size(), std::to_string(i_number));
    }
    return s_numbered;
}
