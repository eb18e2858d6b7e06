#include "platform/host/idml/ct_idml_story_template.h"

#include "platform/host/idml/ct_idml_story_elements.h"

pugi::xml_node CT_IdmlStoryTemplate::sco_Open(const pugi::xml_node& co_Source,
                                              pugi::xml_node co_Parent) {
    pugi::xml_node co_copy = co_Parent.append_child(co_Source.name());
    for (const pugi::xml_attribute& co_attribute : co_Source.attributes()) {
        co_copy.append_copy(co_attribute);
    }
    for (const pugi::xml_node& co_child : co_Source.children()) {
        if (sb_IsText(co_child, co_Source)) {
            break;
        }
        if (CT_IdmlStoryElements::sb_IsKept(co_child, co_Source)) {
            co_copy.append_copy(co_child);
        }
    }
    return co_copy;
}

void CT_IdmlStoryTemplate::sv_Close(const pugi::xml_node& co_Source, pugi::xml_node co_Copy) {
    bool b_after = false;
    for (const pugi::xml_node& co_child : co_Source.children()) {
        b_after = b_after || sb_IsText(co_child, co_Source);
        if (b_after && CT_IdmlStoryElements::sb_IsKept(co_child, co_Source)) {
            co_Copy.append_copy(co_child);
        }
    }
}

// Whatever the codec reads or rebuilds: every element that is not kept, and instructions.
bool CT_IdmlStoryTemplate::sb_IsText(const pugi::xml_node& co_Child,
                                     const pugi::xml_node& co_Parent) {
    switch (co_Child.type()) {
        case pugi::node_element:
            return !CT_IdmlStoryElements::sb_IsKept(co_Child, co_Parent);
        case pugi::node_pi:
        case pugi::node_comment:
            return true;
        default:
            return false;
    }
}
