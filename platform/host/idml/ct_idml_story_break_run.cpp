#include "platform/host/idml/ct_idml_story_break_run.h"

#include <cstring>
#include <string>

namespace {
const char ac_Between[] = "/><Br";  // what each line end after the first adds
const std::size_t n_Between = sizeof ac_Between - 1;
}  // namespace

void CT_IdmlStoryBreakRun::sv_Append(pugi::xml_node co_Parent, std::size_t n_Count) {
    if (n_Count == 0) {
        return;
    }
    std::string s_name(2 + (n_Count - 1) * n_Between, '\0');
    std::memcpy(&s_name[0], "Br", 2);
    for (char* pc_at = &s_name[2]; pc_at != &s_name[0] + s_name.size(); pc_at += n_Between) {
        std::memcpy(pc_at, ac_Between, n_Between);
    }
    co_Parent.append_child(s_name.c_str());
}

bool CT_IdmlStoryBreakRun::sb_IsRun(const pugi::xml_node& co_Element) {
    return std::strncmp(co_Element.name(), "Br/><Br", 2 + n_Between) == 0;
}

std::size_t CT_IdmlStoryBreakRun::sn_Count(const pugi::xml_node& co_Element) {
    if (!sb_IsRun(co_Element)) {
        return 1;
    }
    return 1 + (std::strlen(co_Element.name()) - 2) / n_Between;
}
