#include "platform/common/ct_xml_depth.h"

pugi::xml_node CT_XmlDepth::sco_TooDeep(const pugi::xml_node& co_Root, std::size_t n_Limit) {
    if (!co_Root) {
        return pugi::xml_node();
    }
    pugi::xml_node co_node = co_Root;
    std::size_t n_depth = 1;
    for (;;) {
        pugi::xml_node co_child = co_node.first_child();
        while (co_child && co_child.type() != pugi::node_element) {
            co_child = co_child.next_sibling();
        }
        if (co_child) {
            co_node = co_child;
            if (++n_depth > n_Limit) {
                return co_node;
            }
            continue;
        }
        // Up until an element with a later sibling element, or back at the root.
        for (;;) {
            if (co_node == co_Root) {
                return pugi::xml_node();
            }
            pugi::xml_node co_next = co_node.next_sibling();
            while (co_next && co_next.type() != pugi::node_element) {
                co_next = co_next.next_sibling();
            }
            if (co_next) {
                co_node = co_next;
                break;
            }
            co_node = co_node.parent();
            --n_depth;
        }
    }
}
