// How deep a parsed XML tree nests, measured without recursion. The readers of strangers' files
// walk their trees recursively, which is plain and fast for any document a person or a tool
// makes; a tree nested tens of thousands of levels deep would overflow the stack, so each
// reader asks here first and refuses such a tree with its file and line. Stateless.
#pragma once

#include <pugixml.hpp>

#include <cstddef>

class CT_XmlDepth {
  public:
    // Deeper than any document or translation file nests (a story holds ranges in ranges, a
    // unit codes in codes, a dozen levels at most), shallow enough for every recursive reader.
    static constexpr std::size_t kn_Limit = 1000;

    // The first element, in document order, that stands more than n_Limit elements below
    // co_Root (co_Root itself at depth 1), or a null node when none does.
    static pugi::xml_node sco_TooDeep(const pugi::xml_node& co_Root,
                                      std::size_t n_Limit = kn_Limit);
};
