// The capacity estimate on frames of known size, in 10-point type on 12 points of leading: a
// first line takes 10 points of height, each further one 12, and a Latin character 5 points of
// width.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "map/ct_capacity_estimate.h"

namespace {

CT_FrameSetting co_Frame(double d_Width, double d_Height, unsigned n_Columns = 1,
                         double d_Inset = 0) {
    CT_FrameSetting co_frame;
    co_frame.b_HasGeometry = true;
    co_frame.d_Width = d_Width;
    co_frame.d_Height = d_Height;
    co_frame.n_Columns = n_Columns;
    co_frame.d_Gutter = 20;
    co_frame.d_InsetTop = co_frame.d_InsetLeft = co_frame.d_InsetBottom = co_frame.d_InsetRight =
        d_Inset;
    return co_frame;
}

CT_StorySetting co_Story(std::vector<CT_FrameSetting> co_Frames) {
    CT_StorySetting co_setting;
    co_setting.co_Frames = std::move(co_Frames);
    // Mostly 10 on 12; the rarer run shows that the mean is weighted by characters.
    co_setting.co_Type = {{7, 9, 25}, {11, 13, 75}};
    return co_setting;
}

}  // namespace

TEST(CapacityEstimate, LinesAndCharactersOfKnownFrames) {
    struct CT_Case {
        const char* pc_Name;
        std::vector<CT_FrameSetting> co_Frames;
        unsigned n_Lines;
        double d_LineWidth;
        std::size_t n_Capacity;
    };
    const CT_Case aco_cases[] = {
        // 1 + (100 - 10) / 12 = 8 lines of 200 points: 1600 points, 320 characters.
        {"one column", {co_Frame(200, 100)}, 8, 200, 320},
        // Two columns of (200 - 20) / 2 = 90 points: 16 lines, 1440 points.
        {"two columns", {co_Frame(200, 100, 2)}, 16, 90, 288},
        // Insets of 10 leave 180 by 80: 1 + 70 / 12 = 6 lines, 1080 points.
        {"insets", {co_Frame(200, 100, 1, 10)}, 6, 180, 216},
        // 8 lines of 200, then 1 + 40 / 12 = 4 of 100: 2000 points over 12 lines.
        {"threaded", {co_Frame(200, 100), co_Frame(100, 50)}, 12, 2000.0 / 12, 400},
        // Shorter than the type: no line at all.
        {"too low", {co_Frame(200, 9)}, 0, 0, 0},
    };
    for (const CT_Case& co_case : aco_cases) {
        SCOPED_TRACE(co_case.pc_Name);
        const CT_CapacityEstimate co_estimate(co_Story(co_case.co_Frames));
        EXPECT_TRUE(co_estimate.b_Measurable());
        EXPECT_DOUBLE_EQ(co_estimate.d_Size(), 10);
        EXPECT_EQ(co_estimate.n_Lines(), co_case.n_Lines);
        EXPECT_DOUBLE_EQ(co_estimate.d_LineWidth(), co_case.d_LineWidth);
        EXPECT_EQ(co_estimate.n_Capacity(), co_case.n_Capacity);
        EXPECT_EQ(co_estimate.n_Capacity("Tous les jours"), co_case.n_Capacity);
        // Full-width characters take twice the room.
        EXPECT_EQ(co_estimate.n_Capacity("\xE6\x97\xA5\xE6\x9C\xAC"), co_case.n_Capacity / 2);
    }
}

TEST(CapacityEstimate, FillCountsWholeLinesForEveryParagraphButTheLast) {
    const CT_CapacityEstimate co_estimate(co_Story({co_Frame(200, 100)}));  // 8 lines of 40
    const std::string s_line(40, 'x');
    EXPECT_DOUBLE_EQ(co_estimate.d_Fill(std::string(320, 'x')), 1.0);
    EXPECT_GT(co_estimate.d_Fill(std::string(321, 'x')), 1.0);
    // "a" ends a line of its own; codes take no room and a closing break opens no line.
    EXPECT_DOUBLE_EQ(co_estimate.d_Fill("a\n<g1>b</g1>\n"), (200.0 + 5) / 1600);
    EXPECT_DOUBLE_EQ(co_estimate.d_Fill(s_line + "x\n" + s_line), (400.0 + 200) / 1600);
    EXPECT_DOUBLE_EQ(co_estimate.d_Fill("<x1/>\n"), 0);
}

// Each character counts once, whether it stands among eight plain bytes or beside a wide one:
// half an em for ASCII, one for a tab or a wide character.
TEST(CapacityEstimate, MeasuresTabsAndWideCharactersWhereverTheyStand) {
    const auto co_measure = [](const std::string& s_Text) {
        const CT_CapacityEstimate::CT_Measure co_got = CT_CapacityEstimate::sco_Measure(s_Text);
        return std::make_pair(co_got.co_Paragraphs.at(0), co_got.n_Characters);
    };
    EXPECT_EQ(co_measure("a\tb\tc\td\te\tf\tg\th\t"), std::make_pair(12.0, std::size_t{16}));
    EXPECT_EQ(co_measure("\t\t\t\t\t\t\t\tabc"), std::make_pair(9.5, std::size_t{11}));
    EXPECT_EQ(co_measure("\xE6\x97\xA5\tabcdefgh\xE6\x97\xA5x"),
              std::make_pair(7.5, std::size_t{12}));
}

TEST(CapacityEstimate, FramesWithoutGeometryAreNotMeasured) {
    CT_StorySetting co_setting = co_Story({co_Frame(200, 100), co_Frame(200, 100)});
    co_setting.co_Frames[1].b_HasGeometry = false;
    co_setting.co_Frames[1].b_Prints = false;
    co_setting.co_Frames[0].b_GrowsWithText = true;
    const CT_CapacityEstimate co_estimate(co_setting);
    EXPECT_FALSE(co_estimate.b_Measurable());
    EXPECT_TRUE(co_estimate.b_GrowsWithText());
    EXPECT_TRUE(co_estimate.b_Prints());
    EXPECT_EQ(co_estimate.n_Lines(), 0u);
    EXPECT_EQ(co_estimate.d_Fill("text"), 0);
    EXPECT_FALSE(CT_CapacityEstimate(CT_StorySetting{}).b_Measurable());
}

TEST(CapacityEstimate, LinesStartInTheFrameTheirTextReaches) {
    // 8 lines of 40 characters, then 4 of 20.
    const CT_CapacityEstimate co_estimate(co_Story({co_Frame(200, 100), co_Frame(100, 50)}));
    // Seven one-line paragraphs leave one line, which a paragraph of 60 fills before flowing on;
    // what runs past the last frame stays in it.
    const std::string s_tagged =
        "a\nb\nc\nd\ne\nf\ng\n" + std::string(60, 'x') + "\ny\n" + std::string(200, 'z') + "\nw\n";
    EXPECT_EQ(co_estimate.co_FrameOfLines(s_tagged),
              (std::vector<std::size_t>{0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1}));
    EXPECT_TRUE(CT_CapacityEstimate(co_Story({})).co_FrameOfLines(s_tagged).empty());
}
