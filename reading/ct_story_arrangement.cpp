#include "reading/ct_story_arrangement.h"

#include <algorithm>
#include <climits>
#include <unordered_map>

#include "storyorder/ct_story_order.h"

void CT_StoryArrangement::sv_Apply(const std::vector<std::string>& co_Keys,
                                   CT_StoryOrder& co_Order) {
    if (co_Order.b_IsEmpty()) {
        co_Order.v_SetStoryOrder(e_Custom);
        return;
    }
    std::unordered_map<std::string, std::size_t> co_rank;
    for (const std::string& s_key : co_Keys) {
        co_rank.emplace(s_key, co_rank.size());
    }
    struct CT_Place {
        int i_Group;
        std::size_t n_Rank;
        CT_TextBox* pco_Box;
    };
    std::vector<CT_Place> co_places;
    co_Order.v_GotoFirst();
    do {
        CT_TextBox* pco_box = co_Order.pco_GetCurrent();
        auto co_found = co_rank.find(std::string(pco_box->cco_GetKey().sv()));
        co_places.push_back({pco_box->b_IsOnMasterPage() ? INT_MIN : pco_box->i_GetVirtualPage(),
                             co_found == co_rank.end() ? co_rank.size() : co_found->second,
                             pco_box});
    } while (co_Order.b_Next());
    std::stable_sort(co_places.begin(), co_places.end(),
                     [](const CT_Place& co_A, const CT_Place& co_B) {
                         return co_A.i_Group != co_B.i_Group ? co_A.i_Group < co_B.i_Group
                                                             : co_A.n_Rank < co_B.n_Rank;
                     });
    // Built from the back, each box put in front of the ones already placed: a move before a
    // box is the kernel's one way to cross page groups.
    co_Order.v_SetStoryOrder(e_Custom);
    for (auto it = co_places.rbegin(); it != co_places.rend(); ++it) {
        co_Order.v_GotoFirst();
        CT_TextBox* pco_first = co_Order.pco_GetCurrent();
        if (pco_first != it->pco_Box) {
            co_Order.v_Move(it->pco_Box, pco_first);
        }
    }
}
