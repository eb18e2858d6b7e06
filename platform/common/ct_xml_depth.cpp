#include "platform/common/ct_xml_depth.h"

pugi::xml_node CT_XmlDepth::sco_TooDeep(const pugi::xml_node& co_Root, std::size_t n_Limit) {
    return sco_TooDeepVisiting(
        co_Root, [](const pugi::xml_node&, std::size_t) {}, n_Limit);
}
