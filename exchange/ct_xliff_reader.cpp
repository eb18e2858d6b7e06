#include "exchange/ct_xliff_reader.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "exchange/ct_xliff_story_reader.h"
#include "platform/common/ct_utf8.h"

namespace {
bool b_Is(const pugi::xml_node& co_Node, const char* pc_Name) {
    return CT_XliffStoryReader::sb_IsElement(co_Node, pc_Name);
}

pugi::xml_node co_Child(const pugi::xml_node& co_Parent, const char* pc_Name) {
    for (pugi::xml_node co_child : co_Parent.children()) {
        if (b_Is(co_child, pc_Name)) {
            return co_child;
        }
    }
    return pugi::xml_node();
}

// The key of a story group: its resname, or its id when a tool dropped the resname.
std::string co_KeyOf(const pugi::xml_node& co_Group) {
    std::string co_key = co_Group.attribute("resname").value();
    return co_key.empty() ? co_Group.attribute("id").value() : co_key;
}

[[noreturn]] void v_NotWellFormed(std::string_view co_Bytes, std::ptrdiff_t n_Offset,
                                  const char* pc_What) {
    std::size_t n_line = 1;
    std::size_t n_column = 1;
    const std::size_t n_end =
        std::min(static_cast<std::size_t>(std::max<std::ptrdiff_t>(n_Offset, 0)), co_Bytes.size());
    for (std::size_t n = 0; n < n_end; ++n) {
        if (co_Bytes[n] == '\n') {
            ++n_line;
            n_column = 1;
        } else if ((static_cast<unsigned char>(co_Bytes[n]) & 0xC0) != 0x80) {
            ++n_column;
        }
    }
    throw CT_XliffReader::CT_Refusal("not well-formed XML at line " + std::to_string(n_line) +
                                     ", column " + std::to_string(n_column) + ": " + pc_What);
}

void v_CheckVersion(const pugi::xml_node& co_Root) {
    if (!b_Is(co_Root, "xliff")) {
        throw CT_XliffReader::CT_Refusal(std::string("not an XLIFF file: its root element is <") +
                                         co_Root.name() + ">");
    }
    const std::string co_version = co_Root.attribute("version").value();
    const std::string co_space = co_Root.attribute("xmlns").value();
    if (co_version.compare(0, 1, "2") == 0 || co_space.find(":2.") != std::string::npos) {
        throw CT_XliffReader::CT_Refusal("XLIFF " + (co_version.empty() ? "2" : co_version) +
                                         " is not read: save the translation as XLIFF 1.2");
    }
    if (co_version != "1.2" && co_version != "1.1" && co_version != "1.0") {
        throw CT_XliffReader::CT_Refusal("XLIFF version \"" + co_version +
                                         "\" is not read: save the translation as XLIFF 1.2");
    }
}
}  // namespace

std::vector<std::string> CT_XliffReader::sco_StoryKeys(std::string_view co_Bytes) {
    std::vector<std::string> co_keys;
    pugi::xml_document co_document;
    if (!co_document.load_buffer(co_Bytes.data(), co_Bytes.size())) {
        return co_keys;
    }
    const pugi::xml_node co_body =
        co_Child(co_Child(co_document.document_element(), "file"), "body");
    for (pugi::xml_node co_child : co_body.children()) {
        if (b_Is(co_child, "group")) {
            co_keys.push_back(co_KeyOf(co_child));
        }
    }
    return co_keys;
}

CT_XliffReader::CT_XliffReader(std::string_view co_Bytes) {
    pugi::xml_document co_document;
    const pugi::xml_parse_result co_result = co_document.load_buffer(
        co_Bytes.data(), co_Bytes.size(), pugi::parse_default | pugi::parse_ws_pcdata);
    if (!co_result) {
        v_NotWellFormed(co_Bytes, co_result.offset, co_result.description());
    }
    // The parser passes bad bytes of a UTF-8 file on as they are; the document would refuse
    // them later, naming neither this file nor the place.
    if (co_result.encoding == pugi::encoding_utf8) {
        const std::size_t n_bad = CT_Utf8::sn_FirstInvalid(co_Bytes);
        if (n_bad != std::string_view::npos) {
            v_NotWellFormed(co_Bytes, static_cast<std::ptrdiff_t>(n_bad),
                            "bytes that are not UTF-8");
        }
        b_CheckTexts = co_Bytes.find("&#") != std::string_view::npos;
    }
    const pugi::xml_node co_root = co_document.document_element();
    v_CheckVersion(co_root);
    const pugi::xml_node co_file = co_Child(co_root, "file");
    co_Original = co_file.attribute("original").value();
    co_SourceLanguage = co_file.attribute("source-language").value();
    co_TargetLanguage = co_file.attribute("target-language").value();
    for (pugi::xml_node co_child : co_Child(co_file, "body").children()) {
        if (b_Is(co_child, "trans-unit")) {
            throw CT_Refusal(std::string("unit ") + co_child.attribute("id").value() +
                             " stands outside any story group");
        }
        if (!b_Is(co_child, "group")) {
            continue;
        }
        const std::string co_key = co_KeyOf(co_child);
        // The tagged story file ends a key at its quote and the start tag at ">": a key with
        // either, or with a line end, would come into the import as another key.
        if (co_key.find_first_of("\"<>\r\n") != std::string::npos || !CT_Utf8::sb_IsValid(co_key)) {
            throw CT_Refusal("story \"" + co_key +
                             "\": a story key holds no quote, \"<\", \">\", line end or "
                             "character that does not exist");
        }
        CT_TaggedStory co_story;
        co_story.co_Key = co_key;
        co_story.co_Content = CT_XliffStoryReader(*this, co_key).s_Read(co_child);
        co_Stories.push_back(std::move(co_story));
    }
    if (n_Units_ == 0) {
        throw CT_Refusal("the file holds no translation units");
    }
}
