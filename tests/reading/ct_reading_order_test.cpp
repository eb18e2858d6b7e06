// The reading order's rules on small scripted pages: rows with uneven tops, columns of a
// folded page, a group read as one unit, threads read where they start, anchored frames after
// their anchors, and which page of a spread is read first. Each case is one the position
// orders get wrong, so that the expected sequence is not what sorting by coordinates gives.
#include "reading/ct_reading_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using CT_Item = CT_ReadingLayout::CT_Item;
using CT_Keys = std::vector<std::string>;

CT_Item co_Frame(const std::string& s_Key, double d_Left, double d_Top, double d_Right,
                 double d_Bottom, bool b_ThreadStart = true) {
    CT_Item co_item;
    co_item.s_Key = s_Key;
    co_item.co_Bounds = {d_Left, d_Top, d_Right, d_Bottom};
    co_item.b_ThreadStart = b_ThreadStart;
    return co_item;
}

CT_Item co_Group(std::vector<CT_Item> co_Members) {
    CT_Item co_group;
    co_group.s_Group = "g";
    co_group.co_Members = std::move(co_Members);
    CT_ReadingLayout::sv_Bound(co_group);
    return co_group;
}

TEST(CT_ReadingOrderTest, FramesSideBySideAreOneRowWhateverTheirTops) {
    // Tops 8 points apart read left to right; a frame half-hidden behind a wider one (no cut
    // runs between them) is in the row of the frame whose top lies near its own.
    EXPECT_EQ(CT_ReadingOrder::sco_Read({co_Frame("right", 60, 100, 110, 150),
                                         co_Frame("left", 0, 108, 50, 158),
                                         co_Frame("under", 0, 200, 110, 220)}),
              (CT_Keys{"left", "right", "under"}));
    EXPECT_EQ(CT_ReadingOrder::sco_Read({co_Frame("back", 0, 10, 200, 100),
                                         co_Frame("over", 150, 7, 190, 30),
                                         co_Frame("low", 20, 60, 60, 90)}),
              (CT_Keys{"back", "over", "low"}));
    // Tops further apart than the tolerance are two rows even when the frames overlap.
    EXPECT_EQ(CT_ReadingOrder::sco_Read({co_Frame("wide", 0, 0, 200, 100),
                                         co_Frame("first", 150, 40, 190, 60),
                                         co_Frame("second", 10, 70, 60, 90)}),
              (CT_Keys{"wide", "first", "second"}));
}

TEST(CT_ReadingOrderTest, AFoldedPageIsReadPanelByPanelUnderItsHeadline) {
    // Three panels whose frames start at different heights: no line crosses the page between
    // them, a gutter runs down each fold. The headline spans all three.
    const std::vector<CT_Item> co_page = {
        co_Frame("headline", 0, 0, 290, 30), co_Frame("1a", 0, 40, 90, 80),
        co_Frame("1b", 0, 90, 90, 300),      co_Frame("2a", 100, 60, 190, 100),
        co_Frame("2b", 100, 110, 190, 300),  co_Frame("3a", 200, 50, 290, 85),
        co_Frame("3b", 200, 95, 290, 300)};
    EXPECT_EQ(CT_ReadingOrder::sco_Read(co_page),
              (CT_Keys{"headline", "1a", "1b", "2a", "2b", "3a", "3b"}));
}

TEST(CT_ReadingOrderTest, WhereRowsAndColumnsBothRunTheWiderSpaceDecides) {
    // Two panels 30 points apart, each of two blocks 10 points apart, the blocks level across
    // the fold: panel by panel. With the spaces the other way round, a grid read by rows.
    EXPECT_EQ(CT_ReadingOrder::sco_Read(
                  {co_Frame("R1", 120, 0, 210, 100), co_Frame("L2", 0, 110, 90, 200),
                   co_Frame("R2", 120, 110, 210, 200), co_Frame("L1", 0, 0, 90, 100)}),
              (CT_Keys{"L1", "L2", "R1", "R2"}));
    EXPECT_EQ(CT_ReadingOrder::sco_Read(
                  {co_Frame("R1", 100, 0, 190, 100), co_Frame("L2", 0, 130, 90, 230),
                   co_Frame("R2", 100, 130, 190, 230), co_Frame("L1", 0, 0, 90, 100)}),
              (CT_Keys{"L1", "R1", "L2", "R2"}));
    // A headline 40 points over two panels whose lower blocks sit 15 points under their upper
    // ones, the fold 20 points wide: the headline first, then panel by panel.
    EXPECT_EQ(CT_ReadingOrder::sco_Read(
                  {co_Frame("head", 0, 0, 150, 20), co_Frame("L1", 0, 60, 90, 100),
                   co_Frame("R1", 110, 60, 200, 100), co_Frame("L2", 0, 115, 90, 150),
                   co_Frame("R2", 110, 115, 200, 150)}),
              (CT_Keys{"head", "L1", "L2", "R1", "R2"}));
}

TEST(CT_ReadingOrderTest, AGroupIsReadAsOneUnitAtItsBounds) {
    // The frame beside the group stands between its members by height: it is read after the
    // whole group, and the group's members in reading order among themselves.
    const std::vector<CT_Item> co_page = {
        co_Frame("beside", 60, 50, 110, 70),
        co_Group({co_Frame("contact", 0, 100, 50, 120), co_Frame("banner", 0, 0, 50, 20),
                  co_Group({co_Frame("price", 30, 40, 50, 60), co_Frame("name", 0, 42, 25, 60)})}),
        co_Frame("under", 0, 130, 110, 150)};
    EXPECT_EQ(CT_ReadingOrder::sco_Read(co_page),
              (CT_Keys{"banner", "name", "price", "contact", "beside", "under"}));
}

TEST(CT_ReadingOrderTest, AThreadIsReadWhereItsFirstFrameStands) {
    // The thread's later frame fills the left column; it takes its room there, but the story
    // is read at its first frame, under the title.
    const std::vector<CT_Item> co_page = {co_Frame("body", 0, 0, 90, 300, false),
                                          co_Frame("title", 100, 0, 190, 20),
                                          co_Frame("body", 100, 30, 190, 300)};
    EXPECT_EQ(CT_ReadingOrder::sco_Read(co_page), (CT_Keys{"title", "body"}));
}

// Each frame further below and to the right of the one before, the space growing: the widest
// space always parts one frame from the rest. Five thousand of them are still read, top to
// bottom, without a cut per frame on the stack.
TEST(CT_ReadingOrderTest, AStaircaseOfFramesIsReadTopToBottom) {
    std::vector<CT_Item> co_page;
    CT_Keys co_expected;
    double d_top = 0;
    for (int i = 0; i < 5000; ++i) {
        co_page.push_back(co_Frame("s" + std::to_string(i), i, d_top, i + 10, d_top + 10));
        co_expected.push_back("s" + std::to_string(i));
        d_top += 11 + i * 0.01;
    }
    std::reverse(co_page.begin(), co_page.end());
    EXPECT_EQ(CT_ReadingOrder::sco_Read(co_page), co_expected);
}

CT_ReadingLayout::CT_Page co_Page(double d_Left, std::vector<CT_Item> co_Items) {
    CT_ReadingLayout::CT_Page co_page;
    co_page.co_Bounds = {d_Left, 0, d_Left + 100, 100};
    co_page.co_Items = std::move(co_Items);
    return co_page;
}

TEST(CT_ReadingOrderTest, SpreadsReadTheirBoundPageFirstAndAnchorsFollowTheirHolders) {
    CT_ReadingLayout co_layout;
    CT_ReadingLayout::CT_Spread co_spread;
    co_spread.co_Pages = {co_Page(0, {co_Frame("p2", 10, 10, 90, 90)}),
                          co_Page(-100, {co_Frame("p1", -90, 10, -10, 90)})};
    co_spread.co_PasteBoard.co_Items = {co_Frame("aside", 300, 0, 350, 50)};
    co_layout.co_Spreads.push_back(co_spread);
    CT_ReadingLayout::CT_Spread co_master;
    co_master.b_Master = true;
    co_master.co_Pages = {co_Page(-100, {co_Frame("mleft", -90, 0, -10, 5)}),
                          co_Page(0, {co_Frame("mright", 10, 0, 90, 5)})};
    co_layout.co_Spreads.push_back(co_master);
    // p1 anchors "inline" and then "late"; "inline" anchors "nested". "p2" names itself, and
    // "mright" anchors a story shown on a page of its own, which keeps its place.
    co_layout.co_Anchored = {
        {"p1", "inline"}, {"inline", "nested"}, {"p1", "late"}, {"p2", "p2"}, {"mright", "p1"}};
    EXPECT_EQ(CT_ReadingOrder(co_layout).co_GetKeys(),
              (CT_Keys{"mleft", "mright", "aside", "p1", "inline", "nested", "late", "p2"}));
    // Bound right to left, the right page of each spread comes first.
    co_layout.co_Spreads[0].b_RightToLeft = true;
    co_layout.co_Spreads[1].b_RightToLeft = true;
    EXPECT_EQ(CT_ReadingOrder(co_layout).co_GetKeys(),
              (CT_Keys{"mright", "mleft", "aside", "p2", "p1", "inline", "nested", "late"}));
}

}  // namespace
