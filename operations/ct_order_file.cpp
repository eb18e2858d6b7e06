#include "operations/ct_order_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "operations/ct_file_kind.h"
#include "platform/common/ct_errors.h"
#include "storyorder/ct_story_order.h"
#include "textbox/ct_text_box.h"

namespace {
std::string s_Trim(const std::string& s_Line) {
    const char* const pc_blanks = " \t\r\f\v";
    const std::size_t n_first = s_Line.find_first_not_of(pc_blanks);
    if (n_first == std::string::npos) {
        return "";
    }
    return s_Line.substr(n_first, s_Line.find_last_not_of(pc_blanks) - n_first + 1);
}

std::vector<CT_TextBox*> co_BoxesOf(CT_StoryOrder& co_Order) {
    std::vector<CT_TextBox*> co_boxes;
    if (co_Order.b_IsEmpty()) {
        return co_boxes;
    }
    co_Order.v_GotoFirst();
    do {
        co_boxes.push_back(co_Order.pco_GetCurrent());
    } while (co_Order.b_Next());
    return co_boxes;
}
}  // namespace

CT_OrderFile::CT_OrderFile(const std::string& s_Path) : s_Path(s_Path) {
    std::error_code co_error;
    if (std::filesystem::is_directory(s_Path, co_error)) {
        CT_Errors::v_ThrowError(
            e_FileOpen, CT_String(("\"" + s_Path +
                                   "\" is a folder, not an order file: give the file that lists "
                                   "the story keys")
                                      .c_str()));
    }
    std::ifstream co_file(s_Path, std::ios::binary);
    if (!co_file) {
        const std::string s_reason = std::strerror(errno);
        CT_Errors::v_ThrowError(
            e_FileOpen,
            CT_String(("cannot open the order file \"" + s_Path + "\": " + s_reason).c_str()));
    }
    const char* pc_kind =
        CT_FileKind::spc_Describe(CT_FileKind::seo_Guess(CT_FileKind::ss_ReadHead(s_Path)));
    if (pc_kind != nullptr) {
        CT_Errors::v_ThrowError(
            e_FileRead, CT_String(("\"" + s_Path + "\" is " + pc_kind +
                                   ", not an order file: an order file lists story keys, one per "
                                   "line, as 'list --keys' writes them")
                                      .c_str()));
    }
    std::string s_line;
    for (std::size_t n_line = 1; std::getline(co_file, s_line); ++n_line) {
        // An editor may have saved the file with a byte order mark, which is no part of a key.
        if (n_line == 1 && s_line.compare(0, 3, "\xEF\xBB\xBF") == 0) {
            s_line.erase(0, 3);
        }
        const std::string s_key = s_Trim(s_line);
        if (!s_key.empty() && s_key[0] != '#') {
            co_Keys.push_back(s_key);
            co_Lines.push_back(n_line);
        }
    }
}

std::vector<std::pair<std::size_t, std::string>> CT_OrderFile::co_Apply(
    CT_StoryOrder& co_Order) const {
    std::vector<CT_TextBox*> co_rest = co_BoxesOf(co_Order);
    std::vector<CT_TextBox*> co_sequence;
    std::vector<std::pair<std::size_t, std::string>> co_unknown;
    std::vector<std::string> co_placed;
    for (std::size_t n_key = 0; n_key < co_Keys.size(); ++n_key) {
        const std::string& s_key = co_Keys[n_key];
        if (std::find(co_placed.begin(), co_placed.end(), s_key) != co_placed.end()) {
            continue;  // a key listed twice keeps its first place
        }
        const CT_String co_key(s_key.c_str());
        auto it_box = co_rest.begin();
        while (it_box != co_rest.end() && !(*it_box)->b_IsThisBox(co_key)) {
            ++it_box;
        }
        if (it_box == co_rest.end()) {
            co_unknown.emplace_back(co_Lines[n_key], s_key);
            continue;
        }
        co_sequence.push_back(*it_box);
        co_placed.push_back(s_key);
        co_rest.erase(it_box);
    }
    co_sequence.insert(co_sequence.end(), co_rest.begin(), co_rest.end());
    // Each move puts a box at the end of its own page's group, so moving every box in the
    // wanted sequence leaves each page in that sequence.
    for (CT_TextBox* pco_box : co_sequence) {
        co_Order.v_Move(pco_box, nullptr);
    }
    return co_unknown;
}
