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

  private:
    static pugi::xml_node so_FirstElement(pugi::xml_node co_Node) {
        while (co_Node && co_Node.type() != pugi::node_element) {
            co_Node = co_Node.next_sibling();
        }
        return co_Node;
    }
};

template <class F>
pugi::xml_node CT_XmlDepth::sco_TooDeepVisiting(const pugi::xml_node& co_Root, F&& f_Visit,
                                                std::size_t n_Limit) {
    if (!co_Root) {
        return pugi::xml_node();
    }
    pugi::xml_node co_node = co_Root;
    std::size_t n_depth = 1;
    f_Visit(co_node, n_depth);
    for (;;) {
        if (const pugi::xml_node co_child = so_FirstElement(co_node.first_child())) {
            co_node = co_child;
            if (++n_depth > n_Limit) {
                return co_node;
            }
            f_Visit(co_node, n_depth);
            continue;
        }
        // Up until an element with a later sibling element, or back at the root.
        for (;;) {
            if (co_node == co_Root) {
                return pugi::xml_node();
            }
            if (const pugi::xml_node co_next = so_FirstElement(co_node.next_sibling())) {
                co_node = co_next;
                f_Visit(co_node, n_depth);
                break;
            }
            co_node = co_node.parent();
            --n_depth;
        }
    }
}
