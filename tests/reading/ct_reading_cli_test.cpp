// The computed orders through the command. The reading order against the orders a person wrote
// by hand for four samples: the share of adjacent pairs of the person's order that the command
// keeps in the same order, and Kendall's tau over all pairs (1 = the person's order, -1 =
// reversed). Anchored stories in every order; the structure order; the name of the order in
// force on the list and the map.
#include <algorithm>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "tests/tools/ct_cli_fixture.h"

namespace {

const std::string gs_Data = STORYPORT_TEST_DATA;

struct CT_Score {
    unsigned n_AdjacentKept = 0, n_Adjacent = 0;
    long l_Concordant = 0, l_Discordant = 0;
    double d_Adjacent() const { return n_Adjacent ? double(n_AdjacentKept) / n_Adjacent : 1; }
    double d_Tau() const {
        const long l_all = l_Concordant + l_Discordant;
        return l_all ? double(l_Concordant - l_Discordant) / double(l_all) : 1;
    }
};

// The keys a person reads, page groups in order; the pasteboard is nobody's reading.
std::vector<std::string> co_Truth(const std::string& s_Name) {
    std::ifstream co_in(gs_Data + "/order-truth/" + s_Name + ".txt");
    std::vector<std::string> co_keys;
    bool b_pasteboard = false;
    for (std::string s_line; std::getline(co_in, s_line);) {
        if (s_line.empty() || s_line[0] == '#') {
            continue;
        }
        if (s_line.rfind("---", 0) == 0) {
            b_pasteboard = s_line.find("pasteboard") != std::string::npos;
        } else if (!b_pasteboard) {
            co_keys.push_back(s_line);
        }
    }
    return co_keys;
}

std::string s_Document(const std::string& s_Name) {
    return gs_Data + "/idml/" + s_Name + ".idml";
}

CT_Score co_Score(const std::vector<std::string>& co_Truth,
                  const std::vector<std::string>& co_Got) {
    std::map<std::string, std::size_t> co_place;
    for (std::size_t n = 0; n < co_Got.size(); ++n) {
        co_place.emplace(co_Got[n], n);
    }
    std::vector<std::size_t> co_at;
    for (const std::string& s_key : co_Truth) {
        const auto it = co_place.find(s_key);
        EXPECT_NE(it, co_place.end()) << s_key << " is not in the command's order";
        if (it != co_place.end()) {
            co_at.push_back(it->second);
        }
    }
    CT_Score co_score;
    for (std::size_t i = 0; i < co_at.size(); ++i) {
        if (i + 1 < co_at.size()) {
            ++co_score.n_Adjacent;
            co_score.n_AdjacentKept += co_at[i] < co_at[i + 1];
        }
        for (std::size_t j = i + 1; j < co_at.size(); ++j) {
            (co_at[i] < co_at[j] ? co_score.l_Concordant : co_score.l_Discordant) += 1;
        }
    }
    return co_score;
}

class CT_ReadingCliTest : public CT_CliTest {
  protected:
    // The keys of the sample in the order.
    std::vector<std::string> co_Command(const std::string& s_Order, const std::string& s_Name) {
        const CT_CliResult co_list =
            co_Run({"list", "--keys", "--order", s_Order, s_Document(s_Name)});
        EXPECT_EQ(co_list.i_Status, 0) << co_list.s_Err;
        return sco_Lines(co_list.s_Out);
    }

    // Pooled tau over all pairs and the mean adjacent share over the documents, printed per
    // document so that a drop says where it is.
    std::pair<double, double> co_Measure(const std::string& s_Order) {
        CT_Score co_pooled;
        double d_adjacent = 0;
        unsigned n_documents = 0;
        for (const char* pc_name :
             {"brochure-cs4", "classifieds", "frames-mixed", "threaded-island"}) {
            const CT_Score co_score = co_Score(co_Truth(pc_name), co_Command(s_Order, pc_name));
            std::cout << s_Order << " " << pc_name << ": adjacent " << co_score.d_Adjacent()
                      << ", tau " << co_score.d_Tau() << "\n";
            co_pooled.l_Concordant += co_score.l_Concordant;
            co_pooled.l_Discordant += co_score.l_Discordant;
            d_adjacent += co_score.d_Adjacent();
            ++n_documents;
        }
        return {co_pooled.d_Tau(), d_adjacent / n_documents};
    }
};

TEST_F(CT_ReadingCliTest, ReadingOrderReadsAsThePersonDid) {
    const auto [d_tau, d_adjacent] = co_Measure("reading");
    EXPECT_GE(d_tau, 0.97);
    EXPECT_GE(d_adjacent, 0.95);
}

// A check that cannot fail checks nothing: an order sorted by coordinates alone stays below
// the goal on these documents.
TEST_F(CT_ReadingCliTest, TheDocumentsTellReadingFromSorting) {
    EXPECT_LT(co_Measure("left-right").second, 0.95);
}

// The classified paper's listing of page 4 anchors fifteen ads in its text: whatever the
// order, they follow it as the text has them, where they were once listed in reverse.
TEST_F(CT_ReadingCliTest, AnchoredStoriesFollowTheirHolderInEveryOrder) {
    const std::vector<std::string> co_anchored = {
        "u3824", "u4a25", "u4a0c", "u49f5", "u49de", "u49c5", "u49ae", "u4997",
        "u497e", "u4965", "u494e", "u4935", "u491e", "u4905", "u48ee", "u48d5"};
    for (const char* pc_order : {"top-down", "left-right", "custom", "reading", "structure"}) {
        SCOPED_TRACE(pc_order);
        const std::vector<std::string> co_keys = co_Command(pc_order, "classifieds");
        const auto it_holder = std::find(co_keys.begin(), co_keys.end(), co_anchored.front());
        ASSERT_LE(it_holder + static_cast<std::ptrdiff_t>(co_anchored.size()), co_keys.end());
        EXPECT_EQ(std::vector<std::string>(it_holder, it_holder + co_anchored.size()), co_anchored);
    }
}

// The one story the notes document tags goes first, the others follow in reading order; a
// document without structure is said to have none and keeps its reading order. The list and
// the map name the order in force.
TEST_F(CT_ReadingCliTest, StructureOrderTakesTaggedStoriesFirst) {
    EXPECT_EQ(co_Command("structure", "notes-mixed"),
              (std::vector<std::string>{"u156", "uc9", "ufd", "u116", "u136"}));
    EXPECT_EQ(co_Command("reading", "notes-mixed"),
              (std::vector<std::string>{"uc9", "ufd", "u116", "u136", "u156"}));
    EXPECT_EQ(co_Command("structure", "frames-mixed"), co_Command("reading", "frames-mixed"));
    const std::vector<std::string> co_errors = sco_Lines(
        co_Run({"list", "--keys", "--order", "structure", s_Document("frames-mixed")}).s_Err);
    EXPECT_NE(std::find(co_errors.begin(), co_errors.end(),
                        "Warning: " + s_Document("frames-mixed") +
                            " has no XML structure: its stories are in reading order"),
              co_errors.end());
    EXPECT_EQ(
        sco_Lines(co_Run({"list", "--order", "reading", s_Document("notes-mixed")}).s_Out).at(0),
        "notes-mixed.idml: 5 stories, reading order");
    co_Run({"map", s_Document("notes-mixed"), "map.svg", "--order", "structure"});
    const std::string s_svg = s_Read("map.svg");
    EXPECT_NE(s_svg.find("data-story-order=\"structure\""), std::string::npos);
}

}  // namespace
