#include "operations/ct_settings_file_check.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/common/ct_shown.h"

namespace {
// In the order the reader looks for them.
const char* const gapc_Keys[] = {"IMPORT_FOLDER", "EXPORT_FOLDER", "STORY_ORDER",
                                 "IGNORE_STORY_ON_PASTE_BOARD"};
const char* const gpc_KeyList =
    "IMPORT_FOLDER, EXPORT_FOLDER, STORY_ORDER and IGNORE_STORY_ON_PASTE_BOARD";

// The number the reader makes of a text: leading blanks and a sign, then digits up to the first
// other character; no digits give 0.
long i_ReadAsNumber(const std::string& s_Value) {
    return std::strtol(s_Value.c_str(), nullptr, 10);
}

bool b_IsDigits(const std::string& s_Value) {
    return !s_Value.empty() &&
           std::all_of(s_Value.begin(), s_Value.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string s_ValueProblem(const std::string& s_Key, const std::string& s_Value) {
    if (s_Key == "STORY_ORDER") {
        if (b_IsDigits(s_Value) && i_ReadAsNumber(s_Value) <= 2) {
            return "";
        }
        return "STORY_ORDER cannot be \"" + CT_Shown::ss_Value(s_Value) +
               "\"; it is 0 (top-down), 1 (left-right) or 2 (custom): top-down is used";
    }
    if (s_Key == "IGNORE_STORY_ON_PASTE_BOARD" && !b_IsDigits(s_Value)) {
        return "IGNORE_STORY_ON_PASTE_BOARD cannot be \"" + CT_Shown::ss_Value(s_Value) +
               "\"; it is 0 (no) or 1 (yes): it is read as " +
               (i_ReadAsNumber(s_Value) != 0 ? "yes" : "no");
    }
    return "";
}

// Reads `KEY = "VALUE"` with blanks before it and blanks or a carriage return after it, by hand:
// the line comes from a file a person edited and may be of any length.
bool b_ParseSetting(const std::string& s_Line, std::string& s_Key, std::string& s_Value) {
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
    return true;
}
}  // namespace

// The reader takes the keys one after the other, each from where the one before was found; a
// key it does not find leaves it where it was.
std::vector<std::string> CT_SettingsFileCheck::sco_Problems(const std::string& s_Path) {
    std::ifstream co_file(s_Path, std::ios::binary);
    if (!co_file) {
        return {};
    }
    return sco_ProblemsIn(std::string(std::istreambuf_iterator<char>(co_file), {}), s_Path);
}

std::vector<std::string> CT_SettingsFileCheck::sco_ProblemsIn(const std::string& s_Bytes,
                                                              const std::string& s_Path) {
    std::istringstream co_file(s_Bytes);
    struct CT_Line {
        std::size_t n_Number;
        std::string s_Problem;  // empty for a setting of a known key
        std::string s_Key;
        std::string s_Value;
    };
    std::vector<CT_Line> co_lines;
    std::string s_line;
    for (std::size_t n_line = 1; std::getline(co_file, s_line); ++n_line) {
        if (s_line.find_first_not_of(" \t\r") == std::string::npos) {
            continue;
        }
        std::string s_key;
        std::string s_value;
        if (!b_ParseSetting(s_line, s_key, s_value)) {
            co_lines.push_back({n_line,
                                "not a setting: each line is KEY = \"VALUE\"; the settings "
                                "around it may be misread",
                                "", ""});
        } else if (std::find(std::begin(gapc_Keys), std::end(gapc_Keys), s_key) ==
                   std::end(gapc_Keys)) {
            co_lines.push_back({n_line,
                                "\"" + CT_Shown::ss_Value(s_key) +
                                    "\" is not a setting; the settings are " + gpc_KeyList,
                                "", ""});
        } else {
            co_lines.push_back({n_line, "", s_key, s_value});
        }
    }
    std::vector<bool> co_read(co_lines.size(), false);
    std::size_t n_from = 0;
    for (const char* pc_key : gapc_Keys) {
        for (std::size_t n = n_from; n < co_lines.size(); ++n) {
            if (co_lines[n].s_Key == pc_key) {
                co_read[n] = true;
                co_lines[n].s_Problem = s_ValueProblem(pc_key, co_lines[n].s_Value);
                n_from = n + 1;
                break;
            }
        }
    }
    std::vector<std::string> co_problems;
    for (std::size_t n = 0; n < co_lines.size(); ++n) {
        CT_Line& co_line = co_lines[n];
        if (!co_line.s_Key.empty() && !co_read[n]) {
            co_line.s_Problem = co_line.s_Key +
                                " is not read: the settings are read in the order " + gpc_KeyList +
                                ", each once and after the one before";
        }
        if (!co_line.s_Problem.empty()) {
            co_problems.push_back(s_Path + ":" + std::to_string(co_line.n_Number) + ": " +
                                  co_line.s_Problem);
        }
    }
    return co_problems;
}
