#include "reading/ct_structure_order.h"

#include <unordered_set>

#include "reading/ct_reading_order.h"

CT_StructureOrder::CT_StructureOrder(const std::vector<std::string>& co_Tagged,
                                     const CT_ReadingLayout& co_Layout)
    : co_Keys(CT_ReadingOrder::sco_WithAnchored(co_Tagged, co_Layout.co_Anchored)) {
    std::unordered_set<std::string> co_placed(co_Keys.begin(), co_Keys.end());
    const CT_ReadingOrder co_reading(co_Layout);
    for (const std::string& s_key : co_reading.co_GetKeys()) {
        if (co_placed.insert(s_key).second) {
            co_Keys.push_back(s_key);
        }
    }
}
