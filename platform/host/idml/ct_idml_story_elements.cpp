#include "platform/host/idml/ct_idml_story_elements.h"

#include <cstring>

#include "platform/host/idml/ct_idml_story_break_run.h"

namespace {
bool b_Is(const pugi::xml_node& co_Node, const char* pc_Name) {
    return std::strcmp(co_Node.name(), pc_Name) == 0;
}

// Deleted text must not reach the translator; any change type we do not know is kept whole
// too, which is the safe side.
bool b_IsTrackedText(const pugi::xml_node& co_Change) {
    const char* pc_type = co_Change.attribute("ChangeType").value();
    return std::strcmp(pc_type, "InsertedText") == 0 || std::strcmp(pc_type, "MovedText") == 0;
}
}  // namespace

// Asked of every element of every story, some more than once: the name is looked at once, its
// first letter choosing among the few names it can be.
et_IdmlRole CT_IdmlStoryElements::seo_Role(const pugi::xml_node& co_Element) {
    const char* pc_name = co_Element.name();
    auto b_Named = [pc_name](const char* pc_Name) { return std::strcmp(pc_name, pc_Name) == 0; };
    switch (pc_name[0]) {
        case 'P':
            if (b_Named("ParagraphStyleRange")) {
                return et_IdmlRole::e_ParagraphRange;
            }
            return b_Named("Properties") ? et_IdmlRole::e_Setting : et_IdmlRole::e_Object;
        case 'C':
            if (b_Named("CharacterStyleRange")) {
                return et_IdmlRole::e_CharacterRange;
            }
            if (b_Named("Content")) {
                return et_IdmlRole::e_Content;
            }
            if (b_Named("Change")) {
                return b_IsTrackedText(co_Element) ? et_IdmlRole::e_TrackedText
                                                   : et_IdmlRole::e_Object;
            }
            return et_IdmlRole::e_Object;
        case 'B':
            return b_Named("Br") || CT_IdmlStoryBreakRun::sb_IsRun(co_Element)
                       ? et_IdmlRole::e_Break
                       : et_IdmlRole::e_Object;
        case 'H':
            return b_Named("HyperlinkTextSource") ? et_IdmlRole::e_Wrapper : et_IdmlRole::e_Object;
        case 'X':
            if (b_Named("XMLElement")) {
                return et_IdmlRole::e_Wrapper;
            }
            return b_Named("XMLAttribute") ? et_IdmlRole::e_Setting : et_IdmlRole::e_Object;
        case 'F':
        case 'N':
            return b_Named("Footnote") || b_Named("Note") ? et_IdmlRole::e_Note
                                                          : et_IdmlRole::e_Object;
        case 'T':
            return b_Named("Table") ? et_IdmlRole::e_Table : et_IdmlRole::e_Object;
        case 'S':
            return b_Named("StoryPreference") ? et_IdmlRole::e_Setting : et_IdmlRole::e_Object;
        case 'I':
            return b_Named("InCopyExportOption") ? et_IdmlRole::e_Setting : et_IdmlRole::e_Object;
        case 'M':
            return b_Named("MetadataPacketPreference") ? et_IdmlRole::e_Setting
                                                       : et_IdmlRole::e_Object;
        default:
            return et_IdmlRole::e_Object;
    }
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
