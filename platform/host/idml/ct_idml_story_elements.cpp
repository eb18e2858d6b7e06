#include "platform/host/idml/ct_idml_story_elements.h"

#include <cstring>

#include "platform/host/idml/ct_idml_story_break_run.h"

namespace {
bool b_Is(const pugi::xml_node& co_Node, const char* pc_Name) {
    return std::strcmp(co_Node.name(), pc_Name) == 0;
}

bool b_IsSetting(const pugi::xml_node& co_Element) {
    static const char* const apc_names[] = {"Properties", "XMLAttribute", "StoryPreference",
                                            "InCopyExportOption", "MetadataPacketPreference"};
    for (const char* pc_name : apc_names) {
        if (b_Is(co_Element, pc_name)) {
            return true;
        }
    }
    return false;
}

// Deleted text must not reach the translator; any change type we do not know is kept whole
// too, which is the safe side.
bool b_IsTrackedText(const pugi::xml_node& co_Change) {
    const char* pc_type = co_Change.attribute("ChangeType").value();
    return std::strcmp(pc_type, "InsertedText") == 0 || std::strcmp(pc_type, "MovedText") == 0;
}
}  // namespace

et_IdmlRole CT_IdmlStoryElements::seo_Role(const pugi::xml_node& co_Element) {
    if (b_Is(co_Element, "ParagraphStyleRange")) {
        return et_IdmlRole::e_ParagraphRange;
    }
    if (b_Is(co_Element, "CharacterStyleRange")) {
        return et_IdmlRole::e_CharacterRange;
    }
    if (b_Is(co_Element, "Content")) {
        return et_IdmlRole::e_Content;
    }
    if (b_Is(co_Element, "Br") || CT_IdmlStoryBreakRun::sb_IsRun(co_Element)) {
        return et_IdmlRole::e_Break;
    }
    if (b_Is(co_Element, "HyperlinkTextSource") || b_Is(co_Element, "XMLElement")) {
        return et_IdmlRole::e_Wrapper;
    }
    if (b_Is(co_Element, "Change")) {
        return b_IsTrackedText(co_Element) ? et_IdmlRole::e_TrackedText : et_IdmlRole::e_Object;
    }
    if (b_Is(co_Element, "Footnote") || b_Is(co_Element, "Note")) {
        return et_IdmlRole::e_Note;
    }
    if (b_Is(co_Element, "Table")) {
        return et_IdmlRole::e_Table;
    }
    return b_IsSetting(co_Element) ? et_IdmlRole::e_Setting : et_IdmlRole::e_Object;
}

bool CT_IdmlStoryElements::sb_IsKept(const pugi::xml_node& co_Child,
                                     const pugi::xml_node& co_Parent) {
    if (co_Child.type() != pugi::node_element) {
        return false;
    }
    if (b_Is(co_Parent, "Table")) {
        return !b_Is(co_Child, "Cell");
    }
    return seo_Role(co_Child) == et_IdmlRole::e_Setting;
}
