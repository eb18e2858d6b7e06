#include "platform/host/idml/ct_idml_text_languages.h"

#include <cstring>

namespace {
std::size_t n_Characters(const char* pc_Text) {
    std::size_t n_count = 0;
    for (const char* pc = pc_Text; *pc != '\0'; ++pc) {
        n_count += (static_cast<unsigned char>(*pc) & 0xC0) != 0x80 ? 1 : 0;
    }
    return n_count;
}

void v_Count(const pugi::xml_node& co_Node, const std::string& s_From,
             CT_IdmlTextLanguages::CT_Counts& co_Counts) {
    for (pugi::xml_node co_child : co_Node.children()) {
        if (co_child.type() != pugi::node_element) {
            continue;
        }
        if (std::strcmp(co_child.name(), "Content") == 0) {
            co_Counts[s_From] += n_Characters(co_child.child_value());
            continue;
        }
        const pugi::xml_attribute co_own = co_child.attribute("AppliedLanguage");
        if (co_own) {
            v_Count(co_child, co_own.value(), co_Counts);
        } else if (std::strcmp(co_child.name(), "ParagraphStyleRange") == 0) {
            v_Count(co_child,
                    CT_IdmlTextLanguages::sk_Style +
                        std::string(co_child.attribute("AppliedParagraphStyle").value()),
                    co_Counts);
        } else {
            v_Count(co_child, s_From, co_Counts);
        }
    }
}
}  // namespace

void CT_IdmlTextLanguages::sv_Count(const pugi::xml_node& co_Story, CT_Counts& co_Counts) {
    v_Count(co_Story, std::string(1, sk_Style), co_Counts);
}
