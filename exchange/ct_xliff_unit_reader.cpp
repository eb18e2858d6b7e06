#include "exchange/ct_xliff_unit_reader.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "platform/common/ct_utf8.h"

namespace {
using et_Token = CT_TaggedToken::et_Kind;

bool b_Is(const pugi::xml_node& co_Node, const char* pc_Name) {
    return CT_XliffUnitReader::sb_IsElement(co_Node, pc_Name);
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

// A fault of the unit's content, raised to sco_Read, which keeps its text.
class CT_Fault : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};
}  // namespace

std::string CT_XliffUnitReader::ss_StoryKey(const std::string& s_Id) {
    const std::size_t n_dot = s_Id.rfind('.');
    // Keys go out with a quotation mark written as %22, since a tagged story file could not
    // name it; an id whose story part holds one names no story, whatever stories are offered.
    if (n_dot == std::string::npos || n_dot == 0 || s_Id.find('"') < n_dot) {
        return std::string();
    }
    return s_Id.substr(0, n_dot);
}

CT_XliffUnit CT_XliffUnitReader::sco_Read(const pugi::xml_node& co_Unit, bool b_CheckTexts) {
    CT_XliffUnit co_unit;
    co_unit.co_Id = co_Unit.attribute("id").value();
    co_unit.co_Key = ss_StoryKey(co_unit.co_Id);
    if (!co_unit.co_Key.empty()) {
        const std::size_t n_dot = co_unit.co_Key.size();
        const char* pc_number = co_unit.co_Id.c_str() + n_dot + 1;
        const std::size_t n_digits = co_unit.co_Id.size() - n_dot - 1;
        // Numbers as the writer gives them: no sign, no leading zero, and few enough digits.
        if (n_digits > 0 && n_digits < 10 && *pc_number != '0' &&
            std::strspn(pc_number, "0123456789") == n_digits) {
            co_unit.n_Number = std::strtoul(pc_number, nullptr, 10);
        }
    }
    co_unit.b_NoTranslate = std::strcmp(co_Unit.attribute("translate").value(), "no") == 0;
    co_unit.b_Approved = std::strcmp(co_Unit.attribute("approved").value(), "yes") == 0;
    pugi::xml_node co_source;
    pugi::xml_node co_target;
    for (pugi::xml_node co_child : co_Unit.children()) {
        if (sb_IsElement(co_child, "source")) {
            co_source = co_child;
        } else if (sb_IsElement(co_child, "target")) {
            co_target = co_child;
        }
    }
    co_unit.b_Target = co_target;
    co_unit.co_State = co_target.attribute("state").value();
    CT_XliffUnitReader co_reader(b_CheckTexts);
    try {
        co_reader.v_Inline(co_source, co_unit.co_Source, true);
        if (co_target) {
            co_reader.v_Inline(co_target, co_unit.co_Target, false);
        }
    } catch (const CT_Fault& co_fault) {
        co_unit.co_Fault = co_fault.what();
    }
    return co_unit;
}

void CT_XliffUnitReader::v_Inline(const pugi::xml_node& co_Parent,
                                  std::vector<CT_TaggedToken>& co_Tokens, bool b_Source) {
    for (pugi::xml_node co_child : co_Parent.children()) {
        if (co_child.type() == pugi::node_pcdata || co_child.type() == pugi::node_cdata) {
            // A line end in tagged content ends the paragraph: one inside a unit would cut its
            // paragraph in two in the document, so it is refused rather than guessed at.
            if (std::strpbrk(co_child.value(), "\r\n") != nullptr) {
                throw CT_Fault(std::string(b_Source ? "the source" : "the target") +
                               " breaks a line, and a unit is one paragraph: join its lines");
            }
            // The parser makes any character reference into bytes, even one to a surrogate or
            // past U+10FFFF, and passes the bytes of other encodings on unchecked.
            if (b_CheckTexts && !CT_Utf8::sb_IsValid(co_child.value())) {
                throw CT_Fault(std::string(b_Source ? "the source" : "the target") +
                               " holds a character that does not exist (a surrogate or a code past "
                               "U+10FFFF)");
            }
            CT_TaggedToken::sv_AddText(co_Tokens, co_child.value());
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
            // A pair is known by its rid, an <ex/> whose <bx/> is in another unit by its id.
            co_Tokens.push_back(CT_TaggedToken{
                b_Is(co_child, "bx") ? et_Token::e_Open : et_Token::e_Close, std::string(),
                n_Number(co_child, co_child.attribute("rid") ? "rid" : "id")});
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
                    throw CT_Fault("character code " + co_id +
                                   " does not say its character (equiv-text)");
                }
                co_Characters[co_id].clear();
                CT_Utf8::sv_Append(co_Characters[co_id], static_cast<char32_t>(n_char));
            }
            auto co_found = co_Characters.find(co_id);
            if (co_found == co_Characters.end()) {
                throw CT_Fault("the target has character code " + co_id +
                               " that its source does not have");
            }
            CT_TaggedToken::sv_AddText(co_Tokens, co_found->second);
        } else if (b_Is(co_child, "x")) {
            co_Tokens.push_back(
                CT_TaggedToken{et_Token::e_Standalone, std::string(), n_Number(co_child, "id")});
        } else {
            throw CT_Fault(std::string("<") + co_child.name() + "> is no code of this file");
        }
    }
}

unsigned CT_XliffUnitReader::n_Number(const pugi::xml_node& co_Element,
                                      const char* pc_Attribute) const {
    const char* pc_value = co_Element.attribute(pc_Attribute).value();
    const char* pc_end = pc_value;
    const unsigned n_value = *pc_value == ' ' ? 0 : n_CodeAt(pc_end);
    if (n_value == 0 || *pc_end != '\0') {
        throw CT_Fault(std::string("<") + co_Element.name() + "> has " + pc_Attribute + " \"" +
                       pc_value + "\", which is no code number of this file");
    }
    return n_value;
}

// Elements are matched by their local name, so that a file that gives the XLIFF namespace a
// prefix reads the same as one that makes it the default.
bool CT_XliffUnitReader::sb_IsElement(const pugi::xml_node& co_Node, const char* pc_Name) {
    if (co_Node.type() != pugi::node_element) {
        return false;
    }
    const char* pc_name = co_Node.name();
    const char* pc_colon = std::strrchr(pc_name, ':');
    return std::strcmp(pc_colon != nullptr ? pc_colon + 1 : pc_name, pc_Name) == 0;
}
