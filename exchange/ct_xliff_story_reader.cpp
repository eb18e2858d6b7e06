#include "exchange/ct_xliff_story_reader.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <utility>

#include "platform/common/ct_utf8.h"

namespace {
using et_Token = CT_TaggedToken::et_Kind;

bool b_Is(const pugi::xml_node& co_Node, const char* pc_Name) {
    return CT_XliffStoryReader::sb_IsElement(co_Node, pc_Name);
}

void v_AddText(std::vector<CT_TaggedToken>& co_Tokens, std::string_view co_Text) {
    if (co_Text.empty()) {
        return;
    }
    if (co_Tokens.empty() || co_Tokens.back().eo_Kind != et_Token::e_Text) {
        co_Tokens.push_back(CT_TaggedToken{et_Token::e_Text, std::string(), 0});
    }
    co_Tokens.back().co_Text += co_Text;
}

// The code number at pc_At after one space at most, moving past it; 0 when none stands there.
// Code numbers have at most nine digits, as the tagged form reads them.
unsigned n_CodeAt(const char*& pc_At) {
    pc_At += *pc_At == ' ' ? 1 : 0;
    unsigned n_code = 0;
    std::size_t n_digits = 0;
    for (; *pc_At >= '0' && *pc_At <= '9'; ++pc_At, ++n_digits) {
        if (n_digits == 9 || (n_digits == 0 && *pc_At == '0')) {
            return 0;
        }
        n_code = n_code * 10 + static_cast<unsigned>(*pc_At - '0');
    }
    return n_code;
}

std::string co_Name(const CT_TaggedToken& co_Token) {
    const std::string co_number = std::to_string(co_Token.n_Code);
    switch (co_Token.eo_Kind) {
        case et_Token::e_Open:
            return "<g" + co_number + ">";
        case et_Token::e_Close:
            return "</g" + co_number + ">";
        default:
            return "<x" + co_number + "/>";
    }
}

// Whether the target holds the source's codes in the source's order, as it mostly does: then
// no code is missing, extra or there too often.
bool b_SameCodes(const std::vector<CT_TaggedToken>& co_Source,
                 const std::vector<CT_TaggedToken>& co_Target) {
    auto b_Code = [](const CT_TaggedToken& co_Token) {
        return co_Token.eo_Kind != et_Token::e_Text;
    };
    auto co_source = std::find_if(co_Source.begin(), co_Source.end(), b_Code);
    auto co_target = std::find_if(co_Target.begin(), co_Target.end(), b_Code);
    while (co_source != co_Source.end() && co_target != co_Target.end()) {
        if (co_source->eo_Kind != co_target->eo_Kind || co_source->n_Code != co_target->n_Code) {
            return false;
        }
        co_source = std::find_if(co_source + 1, co_Source.end(), b_Code);
        co_target = std::find_if(co_target + 1, co_Target.end(), b_Code);
    }
    return co_source == co_Source.end() && co_target == co_Target.end();
}

// The codes of a unit's content, each with how often it stands there.
std::map<std::pair<int, unsigned>, int> co_Codes(const std::vector<CT_TaggedToken>& co_Tokens) {
    std::map<std::pair<int, unsigned>, int> co_codes;
    for (const CT_TaggedToken& co_token : co_Tokens) {
        if (co_token.eo_Kind != et_Token::e_Text) {
            ++co_codes[{static_cast<int>(co_token.eo_Kind), co_token.n_Code}];
        }
    }
    return co_codes;
}
}  // namespace

CT_XliffStoryReader::CT_XliffStoryReader(CT_XliffReader& co_Reader, const std::string& co_Key)
    : co_Reader(co_Reader), co_Key(co_Key) {}

std::string CT_XliffStoryReader::s_Read(const pugi::xml_node& co_Group) {
    CT_StoryLayout co_layout;
    v_Flow(co_Group, co_layout.co_Paragraphs());
    return co_layout.s_Content();
}

void CT_XliffStoryReader::v_Flow(const pugi::xml_node& co_Parent,
                                 std::vector<CT_LayoutParagraph>& co_Paragraphs) {
    for (pugi::xml_node co_child : co_Parent.children()) {
        if (b_Is(co_child, "trans-unit")) {
            co_Paragraphs.emplace_back();
            v_Unit(co_child, co_Paragraphs.back());
        } else if (b_Is(co_child, "group")) {
            if (co_Paragraphs.empty()) {
                co_Unit = co_child.attribute("id").value();
                v_Refuse("a footnote, note or table group stands before any paragraph");
            }
            v_Anchor(co_child, co_Paragraphs.back());
        }
    }
}

// extradata: "open close" for the anchor, the cell's code for each cell group of a table.
void CT_XliffStoryReader::v_Anchor(const pugi::xml_node& co_Group,
                                   CT_LayoutParagraph& co_Paragraph) {
    CT_LayoutAnchor co_anchor;
    co_Unit = co_Group.attribute("id").value();
    const char* pc_codes = co_Group.attribute("extradata").value();
    co_anchor.n_Open = n_CodeAt(pc_codes);
    co_anchor.n_Close = n_CodeAt(pc_codes);
    if (co_anchor.n_Open == 0 || co_anchor.n_Close == 0 || *pc_codes != '\0') {
        v_Refuse("the group does not say which codes it stands between (extradata)");
    }
    // One code for both ends: a note inside a paired code.
    co_anchor.b_Paired = co_anchor.n_Open == co_anchor.n_Close;
    if (std::strcmp(co_Group.attribute("restype").value(), "x-table") == 0) {
        for (pugi::xml_node co_cell : co_Group.children()) {
            if (b_Is(co_cell, "group")) {
                co_anchor.co_Flows.emplace_back();
                co_Unit = co_cell.attribute("id").value();
                co_anchor.co_Flows.back().n_Code = n_Number(co_cell, "extradata");
                v_Flow(co_cell, co_anchor.co_Flows.back().co_Paragraphs);
            }
        }
    } else {
        co_anchor.co_Flows.emplace_back();
        v_Flow(co_Group, co_anchor.co_Flows.back().co_Paragraphs);
    }
    co_Paragraph.co_Anchors.push_back(std::move(co_anchor));
}

void CT_XliffStoryReader::v_Unit(const pugi::xml_node& co_Unit, CT_LayoutParagraph& co_Paragraph) {
    ++co_Reader.n_Units_;
    this->co_Unit = co_Unit.attribute("id").value();
    co_Characters.clear();
    pugi::xml_node co_source;
    pugi::xml_node co_target;
    for (pugi::xml_node co_child : co_Unit.children()) {
        if (b_Is(co_child, "source")) {
            co_source = co_child;
        } else if (b_Is(co_child, "target")) {
            co_target = co_child;
        }
    }
    std::vector<CT_TaggedToken> co_sourceTokens;
    v_Inline(co_source, co_sourceTokens, true);
    std::vector<CT_TaggedToken> co_targetTokens;
    if (co_target) {
        v_Inline(co_target, co_targetTokens, false);
    }
    // A tool may write an empty target for a unit it did not translate.
    const bool b_translated = co_target && !(co_targetTokens.empty() && !co_sourceTokens.empty()) &&
                              co_targetTokens != co_sourceTokens;
    if (!b_translated && std::strcmp(co_Unit.attribute("translate").value(), "no") != 0) {
        co_Reader.co_Untranslated.push_back(this->co_Unit);
    }
    if (!b_translated) {
        co_Paragraph.co_Tokens = std::move(co_sourceTokens);
        return;
    }
    v_CheckCodes(co_sourceTokens, co_targetTokens);
    co_Paragraph.co_Tokens = std::move(co_targetTokens);
}

void CT_XliffStoryReader::v_Inline(const pugi::xml_node& co_Parent,
                                   std::vector<CT_TaggedToken>& co_Tokens, bool b_Source) {
    for (pugi::xml_node co_child : co_Parent.children()) {
        if (co_child.type() == pugi::node_pcdata || co_child.type() == pugi::node_cdata) {
            // A line end in tagged content ends the paragraph: one inside a unit would cut its
            // paragraph in two in the document, so it is refused rather than guessed at.
            if (std::strpbrk(co_child.value(), "\r\n") != nullptr) {
                v_Refuse(std::string(b_Source ? "the source" : "the target") +
                         " breaks a line, and a unit is one paragraph: join its lines");
            }
            // The parser makes any character reference into bytes, even one to a surrogate or
            // past U+10FFFF, and passes the bytes of other encodings on unchecked.
            if (co_Reader.b_CheckTexts && !CT_Utf8::sb_IsValid(co_child.value())) {
                v_Refuse(std::string(b_Source ? "the source" : "the target") +
                         " holds a character that does not exist (a surrogate or a code past "
                         "U+10FFFF)");
            }
            v_AddText(co_Tokens, co_child.value());
            continue;
        }
        if (co_child.type() != pugi::node_element) {
            continue;
        }
        if (b_Is(co_child, "mrk")) {
            v_Inline(co_child, co_Tokens, b_Source);
        } else if (b_Is(co_child, "g")) {
            const unsigned n_code = n_Number(co_child, "id");
            co_Tokens.push_back(CT_TaggedToken{et_Token::e_Open, std::string(), n_code});
            v_Inline(co_child, co_Tokens, b_Source);
            co_Tokens.push_back(CT_TaggedToken{et_Token::e_Close, std::string(), n_code});
        } else if (b_Is(co_child, "bx") || b_Is(co_child, "ex")) {
            co_Tokens.push_back(
                CT_TaggedToken{b_Is(co_child, "bx") ? et_Token::e_Open : et_Token::e_Close,
                               std::string(), n_Number(co_child, "id")});
        } else if (b_Is(co_child, "x") && co_child.attribute("id").value()[0] == 'c') {
            // A character XML cannot carry, kept as a code: the source says which.
            const std::string co_id = co_child.attribute("id").value();
            if (b_Source) {
                const char* pc_equiv = co_child.attribute("equiv-text").value();
                const unsigned long n_char = std::strncmp(pc_equiv, "U+", 2) == 0
                                                 ? std::strtoul(pc_equiv + 2, nullptr, 16)
                                                 : 0;
                // No surrogate half, and no line end: that would cut the paragraph in two.
                if (n_char == 0 || n_char > 0xFFFF || (n_char >= 0xD800 && n_char <= 0xDFFF) ||
                    n_char == '\n' || n_char == '\r') {
                    v_Refuse("character code " + co_id +
                             " does not say its character (equiv-text)");
                }
                co_Characters[co_id].clear();
                CT_Utf8::sv_Append(co_Characters[co_id], static_cast<char32_t>(n_char));
            }
            auto co_found = co_Characters.find(co_id);
            if (co_found == co_Characters.end()) {
                v_Refuse("the target has character code " + co_id +
                         " that its source does not have");
            }
            v_AddText(co_Tokens, co_found->second);
        } else if (b_Is(co_child, "x")) {
            co_Tokens.push_back(
                CT_TaggedToken{et_Token::e_Standalone, std::string(), n_Number(co_child, "id")});
        } else {
            v_Refuse(std::string("<") + co_child.name() + "> is no code of this file");
        }
    }
}

void CT_XliffStoryReader::v_CheckCodes(const std::vector<CT_TaggedToken>& co_Source,
                                       const std::vector<CT_TaggedToken>& co_Target) const {
    if (!b_SameCodes(co_Source, co_Target)) {
        v_CheckCodeCounts(co_Source, co_Target);
    }
    std::vector<unsigned> co_open;
    for (const CT_TaggedToken& co_token : co_Target) {
        if (co_token.eo_Kind == et_Token::e_Open) {
            co_open.push_back(co_token.n_Code);
        } else if (co_token.eo_Kind == et_Token::e_Close) {
            if (co_open.empty() || co_open.back() != co_token.n_Code) {
                v_Refuse("the target closes code " + co_Name(co_token) + " out of order");
            }
            co_open.pop_back();
        }
    }
}

void CT_XliffStoryReader::v_CheckCodeCounts(const std::vector<CT_TaggedToken>& co_Source,
                                            const std::vector<CT_TaggedToken>& co_Target) const {
    const auto co_source = co_Codes(co_Source);
    const auto co_target = co_Codes(co_Target);
    auto co_NameOf = [](const std::pair<int, unsigned>& co_Key) {
        return co_Name(
            CT_TaggedToken{static_cast<et_Token>(co_Key.first), std::string(), co_Key.second});
    };
    for (const auto& co_code : co_source) {
        if (co_target.count(co_code.first) == 0) {
            v_Refuse("the target lacks code " + co_NameOf(co_code.first) + " of its source");
        }
    }
    for (const auto& co_code : co_target) {
        if (co_source.count(co_code.first) == 0) {
            v_Refuse("the target has code " + co_NameOf(co_code.first) +
                     " that its source does not have");
        }
        if (co_code.second > co_source.at(co_code.first)) {
            v_Refuse("the target has code " + co_NameOf(co_code.first) +
                     " more often than its source");
        }
    }
}

unsigned CT_XliffStoryReader::n_Number(const pugi::xml_node& co_Element,
                                       const char* pc_Attribute) const {
    const char* pc_value = co_Element.attribute(pc_Attribute).value();
    const char* pc_end = pc_value;
    const unsigned n_value = *pc_value == ' ' ? 0 : n_CodeAt(pc_end);
    if (n_value == 0 || *pc_end != '\0') {
        v_Refuse(std::string("<") + co_Element.name() + "> has " + pc_Attribute + " \"" + pc_value +
                 "\", which is no code number of this file");
    }
    return n_value;
}

void CT_XliffStoryReader::v_Refuse(const std::string& co_What) const {
    throw CT_XliffReader::CT_Refusal("story " + co_Key + ", unit " + co_Unit + ": " + co_What);
}

// Elements are matched by their local name, so that a file that gives the XLIFF namespace a
// prefix reads the same as one that makes it the default.
bool CT_XliffStoryReader::sb_IsElement(const pugi::xml_node& co_Node, const char* pc_Name) {
    if (co_Node.type() != pugi::node_element) {
        return false;
    }
    const char* pc_name = co_Node.name();
    const char* pc_colon = std::strrchr(pc_name, ':');
    return std::strcmp(pc_colon != nullptr ? pc_colon + 1 : pc_name, pc_Name) == 0;
}
