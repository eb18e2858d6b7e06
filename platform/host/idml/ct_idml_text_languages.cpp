#include "platform/host/idml/ct_idml_text_languages.h"

#include <cstdint>
#include <cstring>

namespace {
// Characters, not bytes: every byte but a UTF-8 continuation byte (10xxxxxx) starts one. A
// story's text is most of its bytes, so eight are looked at together.
std::size_t n_Characters(const char* pc_Text) {
    const std::size_t n_size = std::strlen(pc_Text);
    std::size_t n_continuations = 0;
    std::size_t n_at = 0;
    for (std::uint64_t n_eight = 0; n_at + sizeof n_eight <= n_size; n_at += sizeof n_eight) {
        std::memcpy(&n_eight, pc_Text + n_at, sizeof n_eight);
        // A byte's bit 6 moved up into its bit 7: set where bit 7 is and bit 6 is not.
        n_continuations += static_cast<std::size_t>(
            __builtin_popcountll(n_eight & ~(n_eight << 1) & 0x8080808080808080ull));
    }
    for (; n_at < n_size; ++n_at) {
        n_continuations += (static_cast<unsigned char>(pc_Text[n_at]) & 0xC0) == 0x80 ? 1 : 0;
    }
    return n_size - n_continuations;
}

// n_Count: the count of what the text under co_Node is set in, looked up once for the element
// that says so rather than for each piece of text (std::map keeps its entries in place).
void v_Count(const pugi::xml_node& co_Node, std::size_t& n_Count,
             CT_IdmlTextLanguages::CT_Counts& co_Counts) {
    for (pugi::xml_node co_child = co_Node.first_child(); co_child;
         co_child = co_child.next_sibling()) {
        if (co_child.type() != pugi::node_element) {
            continue;
        }
        const char* pc_name = co_child.name();
        if (std::strcmp(pc_name, "Content") == 0) {
            n_Count += n_Characters(co_child.child_value());
            continue;
        }
        const pugi::xml_attribute co_own = co_child.attribute("AppliedLanguage");
        if (co_own) {
            v_Count(co_child, co_Counts[co_own.value()], co_Counts);
        } else if (std::strcmp(pc_name, "ParagraphStyleRange") == 0) {
            v_Count(co_child,
                    co_Counts[CT_IdmlTextLanguages::sk_Style +
                              std::string(co_child.attribute("AppliedParagraphStyle").value())],
                    co_Counts);
        } else {
            v_Count(co_child, n_Count, co_Counts);
        }
    }
}
}  // namespace

void CT_IdmlTextLanguages::sv_Count(const pugi::xml_node& co_Story, CT_Counts& co_Counts) {
    v_Count(co_Story, co_Counts[std::string(1, sk_Style)], co_Counts);
}
