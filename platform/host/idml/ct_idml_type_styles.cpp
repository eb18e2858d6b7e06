#include "platform/host/idml/ct_idml_type_styles.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/common/ct_utf8.h"

namespace {

bool b_Is(const pugi::xml_node& co_Node, const char* pc_Name) {
    return std::strcmp(co_Node.name(), pc_Name) == 0;
}

// The largest size and leading a layout sets, in points; anything larger is damage.
const double gd_Largest = 5000;

double d_Value(const char* pc_Text) {
    const char* pc_end = pc_Text + std::strlen(pc_Text);
    double d_value = 0;
    const std::from_chars_result co_read = std::from_chars(pc_Text, pc_end, d_value);
    if (co_read.ec != std::errc() || co_read.ptr != pc_end || !std::isfinite(d_value) ||
        d_value <= 0 || d_value > gd_Largest) {
        return 0;
    }
    return d_value;
}

}  // namespace

void CT_IdmlTypeValues::v_Under(const CT_IdmlTypeValues& co_Under) {
    d_Size = d_Size != 0 ? d_Size : co_Under.d_Size;
    d_Leading = d_Leading != 0 ? d_Leading : co_Under.d_Leading;
    d_AutoLeading = d_AutoLeading != 0 ? d_AutoLeading : co_Under.d_AutoLeading;
}

CT_IdmlTypeValues CT_IdmlTypeValues::sco_Own(const pugi::xml_node& co_Node) {
    CT_IdmlTypeValues co_values;
    co_values.d_Size = d_Value(co_Node.attribute("PointSize").value());
    co_values.d_AutoLeading = d_Value(co_Node.attribute("AutoLeading").value());
    const pugi::xml_node co_leading = co_Node.child("Properties").child("Leading");
    if (std::strcmp(co_leading.attribute("type").value(), "enumeration") == 0) {
        co_values.d_Leading = std::strcmp(co_leading.text().get(), "Auto") == 0 ? -1 : 0;
    } else if (co_leading) {
        co_values.d_Leading = d_Value(co_leading.text().get());
    }
    return co_values;
}

CT_IdmlTypeStyles::CT_IdmlTypeStyles(const pugi::xml_node& co_Root) {
    std::vector<pugi::xml_node> co_stack{co_Root};
    while (!co_stack.empty()) {
        const pugi::xml_node co_node = co_stack.back();
        co_stack.pop_back();
        const bool b_paragraph = std::strcmp(co_node.name(), "ParagraphStyle") == 0;
        if (b_paragraph || std::strcmp(co_node.name(), "CharacterStyle") == 0) {
            CT_Style co_style;
            co_style.co_Own = CT_IdmlTypeValues::sco_Own(co_node);
            co_style.s_BasedOn = co_node.child("Properties").child("BasedOn").text().get();
            co_style.s_Kind = b_paragraph ? "ParagraphStyle" : "CharacterStyle";
            const std::string s_self = co_node.attribute("Self").value();
            co_ByName.emplace(co_style.s_Kind + "/" + co_node.attribute("Name").value(), s_self);
            co_Styles.emplace(s_self, std::move(co_style));
            continue;
        }
        for (pugi::xml_node co_child : co_node.children()) {
            if (co_child.type() == pugi::node_element) {
                co_stack.push_back(co_child);
            }
        }
    }
}

// BasedOn names its style by Self id ("ParagraphStyle/Body", type object) or by name ("Body" or
// "$ID/[No paragraph style]", type string).
std::string CT_IdmlTypeStyles::s_Find(const CT_Style& co_Style) const {
    if (co_Style.s_BasedOn.empty() || co_Styles.count(co_Style.s_BasedOn) != 0) {
        return co_Style.s_BasedOn;
    }
    const auto co_named = co_ByName.find(co_Style.s_Kind + "/" + co_Style.s_BasedOn);
    return co_named == co_ByName.end() ? std::string() : co_named->second;
}

CT_IdmlTypeValues CT_IdmlTypeStyles::co_Resolve(const std::string& s_Self) const {
    CT_IdmlTypeValues co_values;
    std::string s_next = s_Self;
    for (int i_depth = 0; i_depth < 64 && !s_next.empty(); ++i_depth) {
        const auto co_style = co_Styles.find(s_next);
        if (co_style == co_Styles.end()) {
            break;
        }
        co_values.v_Under(co_style->second.co_Own);
        s_next = s_Find(co_style->second);
    }
    return co_values;
}

// The text of a story in runs of one size and leading: a range's own values first, then its
// character style's, its paragraph range's and its paragraph style's, then what IDML takes
// where nothing is said (12 points, leading "Auto" at 120 % of the size).
std::vector<CT_TypeRun> CT_IdmlTypeStyles::co_TypeOf(const pugi::xml_node& co_Story) const {
    std::vector<CT_TypeRun> co_runs;
    struct CT_Place {
        pugi::xml_node co_Node;
        pugi::xml_node co_Paragraph;
        pugi::xml_node co_Character;
    };
    std::vector<CT_Place> co_stack{{co_Story, {}, {}}};
    // A story names few styles, and a range holds its pieces of text one after the other:
    // each style is resolved once, and a piece in the ranges of the piece before has its size.
    std::vector<std::pair<std::string_view, CT_IdmlTypeValues>> co_styles;
    auto co_Resolved = [&](const char* pc_Style) {
        for (const auto& [co_name, co_values] : co_styles) {
            if (co_name == pc_Style) {
                return co_values;
            }
        }
        co_styles.emplace_back(pc_Style, co_Resolve(pc_Style));
        return co_styles.back().second;
    };
    pugi::xml_node co_lastParagraph;
    pugi::xml_node co_lastCharacter;
    CT_TypeRun co_last;
    bool b_known = false;
    while (!co_stack.empty()) {
        CT_Place co_place = co_stack.back();
        co_stack.pop_back();
        if (b_Is(co_place.co_Node, "ParagraphStyleRange")) {
            co_place.co_Paragraph = co_place.co_Node;
            co_place.co_Character = {};
        } else if (b_Is(co_place.co_Node, "CharacterStyleRange")) {
            co_place.co_Character = co_place.co_Node;
        } else if (b_Is(co_place.co_Node, "Content")) {
            if (co_place.co_Paragraph != co_lastParagraph ||
                co_place.co_Character != co_lastCharacter || !b_known) {
                CT_IdmlTypeValues co_values = CT_IdmlTypeValues::sco_Own(co_place.co_Character);
                co_values.v_Under(
                    co_Resolved(co_place.co_Character.attribute("AppliedCharacterStyle").value()));
                co_values.v_Under(CT_IdmlTypeValues::sco_Own(co_place.co_Paragraph));
                co_values.v_Under(
                    co_Resolved(co_place.co_Paragraph.attribute("AppliedParagraphStyle").value()));
                co_last.d_Size = co_values.d_Size > 0 ? co_values.d_Size : 12;
                const double d_auto = co_values.d_AutoLeading > 0 ? co_values.d_AutoLeading : 120;
                co_last.d_Leading =
                    co_values.d_Leading > 0 ? co_values.d_Leading : co_last.d_Size * d_auto / 100;
                co_lastParagraph = co_place.co_Paragraph;
                co_lastCharacter = co_place.co_Character;
                b_known = true;
            }
            CT_TypeRun co_run = co_last;
            co_run.n_Characters = CT_Utf8::sn_CodePoints(co_place.co_Node.text().get());
            if (!co_runs.empty() && co_runs.back().d_Size == co_run.d_Size &&
                co_runs.back().d_Leading == co_run.d_Leading) {
                co_runs.back().n_Characters += co_run.n_Characters;
            } else if (co_run.n_Characters > 0) {
                co_runs.push_back(co_run);
            }
            continue;
        }
        for (pugi::xml_node co_child = co_place.co_Node.last_child(); co_child;
             co_child = co_child.previous_sibling()) {
            if (co_child.type() == pugi::node_element) {
                co_stack.push_back({co_child, co_place.co_Paragraph, co_place.co_Character});
            }
        }
    }
    return co_runs;
}
