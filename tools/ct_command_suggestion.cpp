#include "tools/ct_command_suggestion.h"

#include <algorithm>

std::size_t CT_CommandSuggestion::sn_Distance(const std::string& s_From, const std::string& s_To) {
    const std::size_t n_rows = s_From.size() + 1;
    const std::size_t n_cols = s_To.size() + 1;
    std::vector<std::size_t> co_cost(n_rows * n_cols);
    const auto n_at = [&](std::size_t n_Row, std::size_t n_Col) -> std::size_t& {
        return co_cost[n_Row * n_cols + n_Col];
    };
    for (std::size_t n_row = 0; n_row < n_rows; ++n_row) {
        n_at(n_row, 0) = n_row;
    }
    for (std::size_t n_col = 0; n_col < n_cols; ++n_col) {
        n_at(0, n_col) = n_col;
    }
    for (std::size_t n_row = 1; n_row < n_rows; ++n_row) {
        for (std::size_t n_col = 1; n_col < n_cols; ++n_col) {
            const std::size_t n_change = s_From[n_row - 1] == s_To[n_col - 1] ? 0 : 1;
            std::size_t n_best = std::min({n_at(n_row - 1, n_col) + 1, n_at(n_row, n_col - 1) + 1,
                                           n_at(n_row - 1, n_col - 1) + n_change});
            if (n_row > 1 && n_col > 1 && s_From[n_row - 1] == s_To[n_col - 2] &&
                s_From[n_row - 2] == s_To[n_col - 1]) {
                n_best = std::min(n_best, n_at(n_row - 2, n_col - 2) + 1);
            }
            n_at(n_row, n_col) = n_best;
        }
    }
    return n_at(n_rows - 1, n_cols - 1);
}

std::string CT_CommandSuggestion::ss_Nearest(const std::string& s_Word,
                                             const std::vector<std::string>& co_Names) {
    std::string s_best;
    std::size_t n_best = 0;
    for (const std::string& s_name : co_Names) {
        const std::size_t n_distance = sn_Distance(s_Word, s_name);
        // Two slips in a short word leave too little of it to be sure.
        const std::size_t n_allowed = s_name.size() < 5 ? 1 : 2;
        if (n_distance <= n_allowed && (s_best.empty() || n_distance < n_best)) {
            s_best = s_name;
            n_best = n_distance;
        }
    }
    if (!s_best.empty() || s_Word.size() < 2) {
        return s_best;
    }
    std::vector<std::string> co_started;
    std::copy_if(co_Names.begin(), co_Names.end(), std::back_inserter(co_started),
                 [&s_Word](const std::string& s_Name) { return s_Name.rfind(s_Word, 0) == 0; });
    return co_started.size() == 1 ? co_started.front() : "";
}
