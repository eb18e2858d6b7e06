// A list element for the container tests: a sort key, a name that tells equal keys apart, and a
// record of which items were deleted.
#pragma once

#include <string>
#include <vector>

#include "containers/ct_linked_list.h"

struct CT_ListTestItem {
    static std::vector<std::string>& sco_Deleted() {
        static std::vector<std::string> co_deleted;
        return co_deleted;
    }

    CT_ListTestItem(int i_SortKey, std::string s_TheName) : i_Key(i_SortKey), s_Name(s_TheName) {}
    ~CT_ListTestItem() { sco_Deleted().push_back(s_Name); }

    // Equal keys count as the same element, so one item can be found through another.
    int operator==(const CT_ListTestItem& co_Other) const { return i_Key == co_Other.i_Key; }
    int b_SortsAfter(CT_ListTestItem* pco_Other) { return i_Key > pco_Other->i_Key; }
    int b_HasKey(CT_ListTestItem* pco_Other) { return i_Key == pco_Other->i_Key; }
    int b_Succeed() { return 1; }

    int i_Key;
    std::string s_Name;
};

// The names of the list's elements in order ("-" for a null element); moves the cursor.
inline std::string s_Names(CT_LinkedList<CT_ListTestItem>& co_List) {
    std::string s_names;
    if (co_List.b_IsEmpty()) {
        return s_names;
    }
    co_List.v_GotoFirst();
    do {
        CT_ListTestItem* pco_item = co_List.pco_GetCurrent();
        s_names += s_names.empty() ? "" : ",";
        s_names += pco_item == nullptr ? "-" : pco_item->s_Name;
    } while (co_List.b_Next());
    return s_names;
}

inline std::string s_CurrentName(const CT_LinkedList<CT_ListTestItem>& co_List) {
    const CT_ListTestItem* pco_item = co_List.pco_GetCurrent();
    return pco_item == nullptr ? "(none)" : pco_item->s_Name;
}
