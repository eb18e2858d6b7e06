#include "platform/host/idml/ct_idml_story_range_keys.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace {
bool b_IsSpacing(const char* pc_Name) {
    // Asked of every attribute of every range: most names are ruled out by their first letter.
    switch (pc_Name[0]) {
        case 'H':
        case 'K':
        case 'L':
        case 'T':
            break;
        default:
            return false;
    }
    static const char* const apc_spacing[] = {
        "Tracking",        "KerningMethod", "KerningValue", "Leading",
        "HorizontalScale", "LeadingAki",    "TrailingAki",  "Tsume"};
    for (const char* pc_spacing : apc_spacing) {
        if (std::strcmp(pc_Name, pc_spacing) == 0) {
            return true;
        }
    }
    return false;
}

// Settings a translator can neither see in the running text nor act on: besides spacing,
// those found on the samples' ranges that only fine-tune glyphs (ligatures, contextual
// alternates, diacritics, alignment to the em box), shift a run a little (baseline shift), or
// size what shows only when switched on elsewhere (stroke, underline, ruby and emphasis marks).
// Character style, font, size, colour, position, underline, strike, case, language and
// conditions are never among them.
bool b_IsInvisible(const char* pc_Name) {
    static const char* const apc_invisible[] = {
        "BaselineShift",      "Ligatures",       "OTFContextualAlternate", "DiacriticPosition",
        "CharacterAlignment", "VerticalScale",   "StrokeWeight",           "MiterLimit",
        "UnderlineOffset",    "UnderlineWeight", "StrikeThroughOffset",    "StrikeThroughWeight",
        "RubyFontSize",       "KentenFontSize",  "PageNumberType",         "Skew"};
    if (b_IsSpacing(pc_Name)) {
        return true;
    }
    for (const char* pc_invisible : apc_invisible) {
        if (std::strcmp(pc_Name, pc_invisible) == 0) {
            return true;
        }
    }
    return false;
}

using ft_Skip = bool (*)(const char*);

void v_AddAttribute(const char* pc_Name, const char* pc_Value, std::string& co_Out) {
    // push_back, not append(1, c): the one inline and cheap, the other a call that may move
    // the rest of the string, for each of hundreds of thousands of separators.
    co_Out.append(pc_Name);
    co_Out.push_back('\x01');
    co_Out.append(pc_Value);
    co_Out.push_back('\x02');
}

// Separators that cannot occur in XML text keep "a=bc" apart from "ab=c". The attributes go in
// by name, so that their order in the file does not count.
void v_AddAttributes(const pugi::xml_node& co_Node, std::string& co_Out,
                     ft_Skip f_Skip = b_IsSpacing) {
    // Files written by the layout program give a range's attributes in order of name nine
    // times in ten: those are added as they stand, without a list to sort.
    const std::size_t n_start = co_Out.size();
    const char* pc_previous = nullptr;
    bool b_ordered = true;
    for (const pugi::xml_attribute& co_attribute : co_Node.attributes()) {
        const char* pc_name = co_attribute.name();
        if (f_Skip(pc_name)) {
            continue;
        }
        if (pc_previous && std::strcmp(pc_previous, pc_name) >= 0) {
            b_ordered = false;
            break;
        }
        v_AddAttribute(pc_name, co_attribute.value(), co_Out);
        pc_previous = pc_name;
    }
    if (b_ordered) {
        return;
    }
    co_Out.resize(n_start);
    // One list per thread, reused, costs no allocation once it has grown to the most
    // attributes a node has.
    thread_local std::vector<std::pair<const char*, const char*>> co_attributes;
    co_attributes.clear();
    for (const pugi::xml_attribute& co_attribute : co_Node.attributes()) {
        if (!f_Skip(co_attribute.name())) {
            co_attributes.emplace_back(co_attribute.name(), co_attribute.value());
        }
    }
    std::sort(co_attributes.begin(), co_attributes.end(), [](const auto& co_a, const auto& co_b) {
        return std::strcmp(co_a.first, co_b.first) < 0;
    });
    for (const auto& co_attribute : co_attributes) {
        v_AddAttribute(co_attribute.first, co_attribute.second, co_Out);
    }
}
// Indentation between the children depends on nesting depth, not on formatting.
void v_AddText(const char* pc_Text, std::string& co_Out) {
    if (pc_Text[std::strspn(pc_Text, " \t\r\n")] != '\0') {
        co_Out.append(pc_Text);
        co_Out.push_back('\x03');
    }
}
}  // namespace

unsigned CT_IdmlStoryRangeKeys::n_Key(const pugi::xml_node& co_Range) {
    if (!co_Range) {
        return 0;
    }
    auto co_known = co_ByNode.find(co_Range.internal_object());
    if (co_known != co_ByNode.end()) {
        return co_known->second;
    }
    // Most ranges repeat a formatting met before: the signature is made in a buffer of the
    // thread's, and copied only for a new one.
    thread_local std::string s_signature;
    s_signature.clear();
    sv_AddSignature(co_Range, s_signature);
    auto co_found = co_BySignature.find(s_signature);
    if (co_found == co_BySignature.end()) {
        const unsigned n_next = static_cast<unsigned>(co_BySignature.size()) + 1;
        co_found = co_BySignature.emplace(s_signature, n_next).first;
        co_Formattings.push_back({&co_found->first, sn_Overrides(co_Range)});
    }
    const unsigned n_key = co_found->second;
    co_ByNode.emplace(co_Range.internal_object(), n_key);
    return n_key;
}

bool CT_IdmlStoryRangeKeys::b_Plainer(unsigned n_A, unsigned n_B) const {
    const ct_Formatting& co_a = co_Formattings[n_A - 1];
    const ct_Formatting& co_b = co_Formattings[n_B - 1];
    if (co_a.n_Overrides != co_b.n_Overrides) {
        return co_a.n_Overrides < co_b.n_Overrides;
    }
    return *co_a.pco_Signature < *co_b.pco_Signature;
}

// Settings that change how text looks: attributes and properties, spacing aside.
std::size_t CT_IdmlStoryRangeKeys::sn_Overrides(const pugi::xml_node& co_Range) {
    std::size_t n_overrides = 0;
    for (const pugi::xml_attribute& co_attribute : co_Range.attributes()) {
        bool b_noStyle = std::strcmp(co_attribute.name(), "AppliedCharacterStyle") == 0 &&
                         std::strstr(co_attribute.value(), "[No character style]");
        n_overrides += b_IsSpacing(co_attribute.name()) || b_noStyle ? 0 : 1;
    }
    for (const pugi::xml_node& co_properties : co_Range.children("Properties")) {
        for (const pugi::xml_node& co_property : co_properties.children()) {
            bool b_setting = co_property.type() == pugi::node_element;
            n_overrides += b_setting && !b_IsSpacing(co_property.name()) ? 1 : 0;
        }
    }
    return n_overrides;
}

void CT_IdmlStoryRangeKeys::sv_AddSignature(const pugi::xml_node& co_Range, std::string& co_Out,
                                            bool b_Look) {
    v_AddAttributes(co_Range, co_Out, b_Look ? b_IsInvisible : b_IsSpacing);
    for (const pugi::xml_node& co_child : co_Range.children("Properties")) {
        sv_AddProperties(co_child, co_Out, b_Look);
    }
}

std::string CT_IdmlStoryRangeKeys::ss_Look(const pugi::xml_node& co_Range) {
    std::string co_look;
    if (co_Range) {
        sv_AddSignature(co_Range, co_look, true);
    }
    return co_look;
}

void CT_IdmlStoryRangeKeys::sv_AddProperties(const pugi::xml_node& co_Node, std::string& co_Out,
                                             bool b_Look) {
    for (const pugi::xml_node& co_child : co_Node.children()) {
        if (co_child.type() == pugi::node_pcdata || co_child.type() == pugi::node_cdata) {
            v_AddText(co_child.value(), co_Out);
            continue;
        }
        if (co_child.type() != pugi::node_element ||
            (b_Look ? b_IsInvisible : b_IsSpacing)(co_child.name())) {
            continue;
        }
        co_Out.push_back('\x04');
        co_Out.append(co_child.name());
        co_Out.push_back('\x05');
        v_AddAttributes(co_child, co_Out, b_Look ? b_IsInvisible : b_IsSpacing);
        sv_AddProperties(co_child, co_Out, b_Look);
        co_Out.push_back('\x06');
    }
}
