// The name a mistyped command or option most likely meant, for the "did you mean" of the
// command line's refusals. Holds nothing.
#pragma once

#include <string>
#include <vector>

class CT_CommandSuggestion {
  public:
    // The name of co_Names nearest to s_Word, or "" when none is near enough to be what the
    // user meant: a slip of one or two keys (a swap of two neighbours counts as one), or the
    // start of exactly one name.
    static std::string ss_Nearest(const std::string& s_Word,
                                  const std::vector<std::string>& co_Names);
    // The number of edits (insert, delete, replace, swap two neighbours) from s_From to s_To.
    static std::size_t sn_Distance(const std::string& s_From, const std::string& s_To);
};
