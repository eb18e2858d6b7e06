#include "platform/host/idml/ct_idml_story_template.h"

#include "platform/host/idml/ct_idml_story_elements.h"

// Each child is asked once whether it is kept: the text is every element that is not kept,
// and instructions.
pugi::xml_node CT_IdmlStoryTemplate::sco_Open(const pugi::xml_node& co_Source,
                                              pugi::xml_node co_Parent) {
    pugi::xml_node co_copy = co_Parent.append_child(co_Source.name());
    for (const pugi::xml_attribute& co_attribute : co_Source.attributes()) {
        co_copy.append_copy(co_attribute);
    }
    for (const pugi::xml_node& co_child : co_Source.children()) {
        const pugi::xml_node_type eo_type = co_child.type();
        if (eo_type == pugi::node_pi || eo_type == pugi::node_comment) {
            break;
        }
        if (eo_type == pugi::node_element) {
            if (!CT_IdmlStoryElements::sb_IsKept(co_child, co_Source)) {
                break;
            }
            co_copy.append_copy(co_child);
        }
    }
    return co_copy;
}

void CT_IdmlStoryTemplate::sv_Close(const pugi::xml_node& co_Source, pugi::xml_node co_Copy) {
    bool b_after = false;
    for (const pugi::xml_node& co_child : co_Source.children()) {
        const pugi::xml_node_type eo_type = co_child.type();
        if (eo_type == pugi::node_pi || eo_type == pugi::node_comment) {
            b_after = true;
        } else if (eo_type == pugi::node_element) {
            if (!CT_IdmlStoryElements::sb_IsKept(co_child, co_Source)) {
                b_after = true;
            } else if (b_after) {
                co_Copy.append_copy(co_child);
            }
        }
    }
}
