// The story order against a plain model of its placement rules, on large scripted documents:
// the model places one box at a time by walking its list, the way the order's rules read, so
// any shortcut the order takes on whole lists must give the same sequences. The documents have
// many boxes at the same place, so that the sequence of equal boxes is tested as well.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "settings/ct_story_list_settings.h"
#include "storyorder/ct_story_order.h"
#include "tests/textbox/ct_host_fixture.h"

namespace {

struct CT_ModelBox {
    std::string s_Key;
    int i_Page;  // virtual page: 0 for the pasteboard
    int i_X;
    int i_Y;
};
using CT_ModelList = std::vector<CT_ModelBox>;

bool b_After(const CT_ModelBox& co_A, const CT_ModelBox& co_B, int i_Kind) {
    if (co_A.i_Page != co_B.i_Page) {
        return co_A.i_Page > co_B.i_Page;
    }
    if (i_Kind == e_TopDown) {
        return co_A.i_Y != co_B.i_Y ? co_A.i_Y > co_B.i_Y : co_A.i_X > co_B.i_X;
    }
    return co_A.i_X != co_B.i_X ? co_A.i_X > co_B.i_X : co_A.i_Y > co_B.i_Y;
}

void v_PageAppend(CT_ModelList& co_List, const CT_ModelBox& co_Box) {
    auto co_at = std::find_if(co_List.begin(), co_List.end(), [&](const CT_ModelBox& co_Other) {
        return co_Other.i_Page > co_Box.i_Page;
    });
    co_List.insert(co_at, co_Box);
}

void v_Place(CT_ModelList& co_List, const CT_ModelBox& co_Box, int i_Kind) {
    if (i_Kind != e_TopDown && i_Kind != e_LeftRight) {
        return v_PageAppend(co_List, co_Box);
    }
    for (auto co_at = co_List.begin(); co_at != co_List.end(); ++co_at) {
        if (b_After(*co_at, co_Box, i_Kind)) {
            co_List.insert(co_at, co_Box);
            return;
        }
    }
    v_PageAppend(co_List, co_Box);
}

const CT_ModelBox* pco_Keyed(const CT_ModelList& co_List, const std::string& s_Key) {
    for (const CT_ModelBox& co_box : co_List) {
        if (co_box.s_Key == s_Key) {
            return &co_box;
        }
    }
    return nullptr;
}

// The story order's rules, one box at a time.
class CT_ModelOrder {
  public:
    explicit CT_ModelOrder(int i_Default) : i_Default(i_Default), i_Kind(i_Default) {}

    void v_Check(const CT_ModelList& co_Host) {
        CT_ModelList co_old;
        for (const CT_ModelBox& co_box : co_Order) {
            v_PageAppend(co_old, co_box);
        }
        CT_ModelList co_generated;
        for (const CT_ModelBox& co_box : co_Host) {
            v_Place(co_generated, co_box, i_Default);
        }
        co_Order = co_Link(co_old, co_generated, true);
        if (co_Custom) {
            co_Custom = co_Link(*co_Custom, co_generated, false);
        }
        v_SetKind(i_Kind);
    }

    void v_SetKind(int i_New) {
        if (i_Kind == e_Custom) {
            co_Custom = co_Order;
        }
        i_Kind = i_New;
        const CT_ModelList co_source = i_New == e_Custom && co_Custom ? *co_Custom : co_Order;
        co_Order.clear();
        for (const CT_ModelBox& co_box : co_source) {
            v_Place(co_Order, co_box, i_Kind);
        }
    }

    void v_Move(const std::string& s_Key, const std::string& s_Before) {
        auto co_at = std::find_if(co_Order.begin(), co_Order.end(),
                                  [&](const CT_ModelBox& co_box) { return co_box.s_Key == s_Key; });
        const CT_ModelBox co_box = *co_at;
        co_Order.erase(co_at);
        if (s_Before.empty()) {
            v_PageAppend(co_Order, co_box);
        } else {
            auto co_before = std::find_if(co_Order.begin(), co_Order.end(),
                                          [&](const auto& co_b) { return co_b.s_Key == s_Before; });
            co_Order.insert(co_before, co_box);
        }
        i_Kind = e_Custom;
    }

    std::string s_Keys() const {
        std::string s_keys;
        for (const CT_ModelBox& co_box : co_Order) {
            s_keys += co_box.s_Key + ",";
        }
        return s_keys;
    }

  private:
    static CT_ModelList co_Link(const CT_ModelList& co_Source, const CT_ModelList& co_Generated,
                                bool b_PageAppend) {
        CT_ModelList co_target;
        for (const CT_ModelBox& co_box : co_Source) {
            if (const CT_ModelBox* pco_new = pco_Keyed(co_Generated, co_box.s_Key)) {
                if (b_PageAppend) {
                    v_PageAppend(co_target, *pco_new);
                } else {
                    co_target.push_back(*pco_new);
                }
            }
        }
        for (const CT_ModelBox& co_box : co_Generated) {
            if (pco_Keyed(co_target, co_box.s_Key) == nullptr) {
                co_target.insert(co_target.begin(), co_box);
            }
        }
        return co_target;
    }

    int i_Default;
    int i_Kind;
    CT_ModelList co_Order;
    std::optional<CT_ModelList> co_Custom;
};

std::string s_Keys(CT_StoryOrder& co_Order) {
    std::string s_keys;
    if (!co_Order.b_IsEmpty()) {
        co_Order.v_GotoFirst();
        do {
            s_keys += std::string(co_Order.pco_GetCurrent()->cco_GetKey().sv()) + ",";
        } while (co_Order.b_Next());
    }
    return s_keys;
}

class StoryOrderReferenceTest : public CT_HostFixture, public ::testing::WithParamInterface<int> {
  protected:
    // Few pages and a coarse grid of places, so that many boxes share a page and a place.
    CT_MemoryBox co_RandomBox() {
        const std::string s_key = "s" + std::to_string(n_NextKey++);
        if (co_Random() % 13 == 0) {
            return so_OnPasteBoard(s_key);
        }
        return so_OnPage(s_key, 1 + co_Random() % 12, static_cast<int>(co_Random() % 4) * 100,
                         static_cast<int>(co_Random() % 5) * 100);
    }

    CT_ModelList co_Model() {
        CT_ModelList co_list;
        for (const CT_MemoryBox& co_box : co_LiveBoxes()) {
            co_list.push_back({co_box.s_Key,
                               co_box.b_OnPasteBoard ? 0 : static_cast<int>(co_box.n_Page),
                               co_box.i_X, co_box.i_Y});
        }
        return co_list;
    }

    // The host's boxes change: some vanish, some come, some move to another place.
    void v_EditDocument() {
        std::vector<CT_MemoryBox>& co_boxes = co_LiveBoxes();
        for (int i = 0; i < 40 && !co_boxes.empty(); ++i) {
            co_boxes.erase(co_boxes.begin() + co_Random() % co_boxes.size());
        }
        for (int i = 0; i < 50; ++i) {
            co_boxes.insert(co_boxes.begin() + co_Random() % (co_boxes.size() + 1), co_RandomBox());
        }
        for (int i = 0; i < 20; ++i) {
            CT_MemoryBox& co_box = co_boxes[co_Random() % co_boxes.size()];
            co_box.n_Page = 1 + co_Random() % 12;
            co_box.i_Y = static_cast<int>(co_Random() % 5) * 100;
        }
    }

    std::string s_RandomKey(CT_StoryOrder& co_Order) {
        std::vector<std::string> co_keys;
        co_Order.v_GotoFirst();
        do {
            co_keys.emplace_back(co_Order.pco_GetCurrent()->cco_GetKey().sv());
        } while (co_Order.b_Next());
        return co_keys[co_Random() % co_keys.size()];
    }

    std::mt19937 co_Random{static_cast<unsigned>(GetParam()) * 7919u + 17u};
    unsigned n_NextKey = 0;
};

TEST_P(StoryOrderReferenceTest, ChecksKindsAndMovesGiveTheModelsSequences) {
    const int i_default = GetParam() % 4;  // 3 is a kind read from a hand-edited file
    std::vector<CT_MemoryBox> co_boxes;
    for (int i = 0; i < 600; ++i) {
        co_boxes.push_back(co_RandomBox());
    }
    v_OpenDocument(co_boxes);
    CT_StoryListSettings co_settings;
    co_settings.v_SetDefaultStoryOrder(static_cast<et_StoryOrder>(i_default));
    CT_StoryOrder co_order(co_settings);
    CT_ModelOrder co_model(i_default);

    for (int i_step = 0; i_step < 30; ++i_step) {
        const unsigned n_what = co_Random() % 4;
        SCOPED_TRACE("step " + std::to_string(i_step) + ", action " + std::to_string(n_what));
        if (n_what == 0 || i_step == 0) {
            if (i_step > 0) {
                v_EditDocument();
            }
            co_order.v_CheckStoryOrder();
            co_model.v_Check(co_Model());
        } else if (n_what == 1) {
            const int i_kind = static_cast<int>(co_Random() % 4);
            co_order.v_SetStoryOrder(static_cast<et_StoryOrder>(i_kind));
            co_model.v_SetKind(i_kind);
        } else {
            const std::string s_key = s_RandomKey(co_order);
            const std::string s_before = n_what == 2 ? std::string() : s_RandomKey(co_order);
            if (s_before == s_key) {
                continue;
            }
            co_order.b_Find(CT_String(s_key.c_str()));
            CT_TextBox* pco_box = co_order.pco_GetCurrent();
            CT_TextBox* pco_before = nullptr;
            if (!s_before.empty()) {
                co_order.b_Find(CT_String(s_before.c_str()));
                pco_before = co_order.pco_GetCurrent();
            }
            co_order.v_Move(pco_box, pco_before);
            co_model.v_Move(s_key, s_before);
        }
        ASSERT_EQ(s_Keys(co_order), co_model.s_Keys());
    }
    co_order.v_DestroyAll();
}

INSTANTIATE_TEST_SUITE_P(Seeds, StoryOrderReferenceTest, ::testing::Range(0, 8));

}  // namespace
