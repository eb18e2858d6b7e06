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

    // The same, calling f_Visit(element, depth) on every element up to the first too deep, in
    // document order from co_Root: a reader that must look at each element once looks in this
    // walk instead of a second one over a large tree.
    template <class F>
    static pugi::xml_node sco_TooDeepVisiting(const pugi::xml_node& co_Root, F&& f_Visit,
                                              std::size_t n_Limit = kn_Limit);
};

// pugixml's own walk keeps no stack and steps from node to node inside the library: stepping
// here, each move cost several calls into it, a twentieth of a listing.
template <class F>
pugi::xml_node CT_XmlDepth::sco_TooDeepVisiting(const pugi::xml_node& co_Root, F&& f_Visit,
                                                std::size_t n_Limit) {
    if (!co_Root) {
        return pugi::xml_node();
    }
    struct CT_Walker : pugi::xml_tree_walker {
        CT_Walker(F& f_Visit, std::size_t n_Limit) : f_Visit(f_Visit), n_Limit(n_Limit) {}
        bool for_each(pugi::xml_node& co_Node) override {
            if (co_Node.type() != pugi::node_element) {
                return true;
            }
            // The walk counts the root's children as 0; co_Root stands at 1.
            const std::size_t n_depth = static_cast<std::size_t>(depth()) + 2;
            if (n_depth > n_Limit) {
                co_Deep = co_Node;
                return false;
            }
            f_Visit(co_Node, n_depth);
            return true;
        }
        F& f_Visit;
        std::size_t n_Limit;
        pugi::xml_node co_Deep;
    };
    f_Visit(co_Root, std::size_t{1});
    CT_Walker co_walker(f_Visit, n_Limit);
    pugi::xml_node(co_Root).traverse(co_walker);
    return co_walker.co_Deep;
}
