#include "platform/host/idml/ct_idml_text_languages.h"

#include <cstring>

#include "platform/common/ct_utf8.h"

namespace {
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
            n_Count += CT_Utf8::sn_CodePoints(co_child.child_value());
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
