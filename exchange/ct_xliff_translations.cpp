#include "exchange/ct_xliff_translations.h"

#include <pugixml.hpp>

#include <cstring>
#include <memory>

#include "exchange/ct_word_count.h"
#include "exchange/ct_xliff_unit_spans.h"
#include "platform/common/ct_errors.h"
#include "platform/common/ct_file_bytes.h"
#include "platform/common/ct_shown.h"
#include "platform/common/ct_xml_depth.h"

namespace {
// Tools write the XLIFF namespace with a prefix of their own, or with none.
const char* pc_Local(const pugi::xml_node& co_Node) {
    const char* pc_name = co_Node.name();
    const char* pc_colon = std::strrchr(pc_name, ':');
    return pc_colon == nullptr ? pc_name : pc_colon + 1;
}

bool b_Is(const pugi::xml_node& co_Node, const char* pc_Name) {
    return co_Node.type() == pugi::node_element && std::strcmp(pc_Local(co_Node), pc_Name) == 0;
}

// Text and codes as an import reads them: a code as its element and id, segment markers left
// out, since a tool may merge or split segments without changing a word. co_Text gets the text
// alone.
void v_Flatten(const pugi::xml_node& co_Parent, std::string& co_Out, std::string& co_Text) {
    for (const pugi::xml_node& co_child : co_Parent.children()) {
        if (co_child.type() == pugi::node_pcdata || co_child.type() == pugi::node_cdata) {
            co_Out += co_child.value();
            co_Text += co_child.value();
            continue;
        }
        if (co_child.type() != pugi::node_element) {
            continue;
        }
        const bool b_segment =
            b_Is(co_child, "mrk") && std::strcmp(co_child.attribute("mtype").value(), "seg") == 0;
        if (!b_segment) {
            co_Out += '\x01';
            co_Out += pc_Local(co_child);
            co_Out += ' ';
            co_Out += co_child.attribute("id").value();
            co_Out += '\x02';
        }
        v_Flatten(co_child, co_Out, co_Text);
        if (!b_segment) {
            co_Out += '\x03';
        }
    }
}

bool b_Decided(const pugi::xml_node& co_Unit, const pugi::xml_node& co_Target) {
    const char* pc_state = co_Target.attribute("state").value();
    return std::strcmp(co_Unit.attribute("approved").value(), "yes") == 0 ||
           std::strcmp(pc_state, "translated") == 0 || std::strcmp(pc_state, "final") == 0 ||
           std::strcmp(pc_state, "signed-off") == 0 ||
           std::strncmp(pc_state, "needs-review", 12) == 0;
}

bool b_Translated(const pugi::xml_node& co_Unit) {
    pugi::xml_node co_source;
    pugi::xml_node co_target;
    for (const pugi::xml_node& co_child : co_Unit.children()) {
        if (b_Is(co_child, "source")) {
            co_source = co_child;
        } else if (b_Is(co_child, "target")) {
            co_target = co_child;
        }
    }
    if (!co_target) {
        return false;
    }
    std::string co_targetCodes;
    std::string co_targetText;
    v_Flatten(co_target, co_targetCodes, co_targetText);
    if (co_targetCodes.empty()) {
        return false;
    }
    std::string co_sourceCodes;
    std::string co_sourceText;
    v_Flatten(co_source, co_sourceCodes, co_sourceText);
    return co_targetCodes != co_sourceCodes ||
           (b_Decided(co_Unit, co_target) && CT_WordCount::sb_HasLetter(co_sourceText));
}

void v_Walk(const pugi::xml_node& co_Parent, std::vector<std::string>& co_Ids) {
    for (const pugi::xml_node& co_child : co_Parent.children()) {
        if (b_Is(co_child, "trans-unit")) {
            if (b_Translated(co_child)) {
                co_Ids.push_back(co_child.attribute("id").value());
            }
        } else if (co_child.type() == pugi::node_element) {
            v_Walk(co_child, co_Ids);
        }
    }
}

// Each unit parsed on its own (CT_XliffUnitSpans), as the file is too large to hold as one tree
// beside the document an export reads. False for anything not as the spans take it: a file
// that is wrong, in another encoding than UTF-8 or nested too deep is then read whole.
bool b_FindByUnits(std::string_view s_Bytes, std::vector<std::string>& co_Ids) {
    // The outline is only checked: its units' start tags are parsed with the units.
    const CT_XliffUnitSpans co_spans(s_Bytes, CT_XliffUnitSpans::e_WithoutUnits);
    if (pugi::xml_document co_outline; !co_spans.b_ParseOutline(co_outline)) {
        return false;
    }
    for (const CT_XliffUnitSpans::CT_Span& co_span : co_spans.cco_Units()) {
        pugi::xml_document co_unit;
        if (!CT_XliffUnitSpans::sb_ParseUnit(s_Bytes, co_span, CT_XmlDepth::kn_Limit, co_unit)) {
            return false;
        }
        if (b_Translated(co_unit.document_element())) {
            co_Ids.push_back(co_unit.document_element().attribute("id").value());
        }
    }
    return true;
}
}  // namespace

std::vector<std::string> CT_XliffTranslations::sco_Find(const std::string& s_Path,
                                                        std::string& s_Error) {
    std::vector<std::string> co_ids;
    s_Error.clear();
    {
        // Read where it lies: the XLIFF file of a large document runs to hundreds of megabytes,
        // which a copy grown as it is read would hold up to twice over, a byte at a time.
        std::unique_ptr<CT_FileBytes> pco_file;
        try {
            pco_file = std::make_unique<CT_FileBytes>(s_Path);
        } catch (et_ErrorCode) {
            CT_Errors::v_ResetError();  // the parse below says what stands in the way
        }
        if (pco_file && b_FindByUnits(pco_file->co_View(), co_ids)) {
            return co_ids;
        }
        co_ids.clear();
    }
    pugi::xml_document co_document;
    const pugi::xml_parse_result co_result =
        co_document.load_file(s_Path.c_str(), pugi::parse_default | pugi::parse_ws_pcdata);
    if (!co_result) {
        s_Error =
            std::string(co_result.description()) + " at byte " + std::to_string(co_result.offset);
        return co_ids;
    }
    // Flattening a unit follows its elements down: a file nested deeper than any tool nests
    // would overflow the stack.
    if (const pugi::xml_node co_deep = CT_XmlDepth::sco_TooDeep(co_document.document_element())) {
        s_Error = "elements nest more than " + std::to_string(CT_XmlDepth::kn_Limit) + " deep (<" +
                  CT_Shown::ss_Value(co_deep.name()) + ">)";
        return co_ids;
    }
    v_Walk(co_document, co_ids);
    return co_ids;
}
