// The story map as a script and a viewer see it: every story numbered as the list orders it,
// frames where the layout puts them, a file that parses and renders, and refusals that name
// what is wrong.
#include <pugixml.hpp>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "tests/tools/ct_cli_fixture.h"

namespace {
struct CT_DrawnFrame {
    std::string s_Key;
    unsigned n_Order = 0;
    unsigned n_Thread = 0;
    std::string s_Class;
    std::string s_LeftOut;
    double d_X = 0, d_Y = 0;
};

std::vector<CT_DrawnFrame> co_Frames(const pugi::xml_document& co_Document) {
    std::vector<CT_DrawnFrame> co_frames;
    for (const pugi::xpath_node& co_found : co_Document.select_nodes("//g[@data-key]")) {
        const pugi::xml_node co_node = co_found.node();
        CT_DrawnFrame co_frame;
        co_frame.s_Key = co_node.attribute("data-key").value();
        co_frame.n_Order = co_node.attribute("data-order").as_uint();
        co_frame.n_Thread = co_node.attribute("data-thread").as_uint();
        co_frame.s_Class = co_node.attribute("class").value();
        co_frame.s_LeftOut = co_node.attribute("data-left-out").value();
        co_frame.d_X = co_node.child("rect").attribute("x").as_double();
        co_frame.d_Y = co_node.child("rect").attribute("y").as_double();
        co_frames.push_back(co_frame);
    }
    return co_frames;
}

// The keys by their numbers, one line per number from 1; a number shared by several keys
// shows them all on its line, so that a wrong numbering cannot pass.
std::string s_KeysByOrder(const std::vector<CT_DrawnFrame>& co_Frames) {
    std::map<unsigned, std::set<std::string>> co_byOrder;
    for (const CT_DrawnFrame& co_frame : co_Frames) {
        if (co_frame.n_Order != 0) {
            co_byOrder[co_frame.n_Order].insert(co_frame.s_Key);
        }
    }
    std::string s_keys;
    unsigned n_expected = 1;
    for (const auto& co_entry : co_byOrder) {
        if (co_entry.first != n_expected++) {
            s_keys += "(gap)\n";
        }
        for (const std::string& s_key : co_entry.second) {
            s_keys += (s_key == *co_entry.second.begin() ? "" : "|") + s_key;
        }
        s_keys += "\n";
    }
    return s_keys;
}

// "key" -> (x, y) from the lines of "list --json", for the stories that go out.
std::map<std::string, std::pair<double, double>> co_ListedPositions(const std::string& s_Json) {
    std::map<std::string, std::pair<double, double>> co_positions;
    std::istringstream co_lines(s_Json);
    for (std::string s_line; std::getline(co_lines, s_line);) {
        const std::size_t n_key = s_line.find("\"key\": \"");
        const std::size_t n_x = s_line.find("\"x\": ");
        const std::size_t n_y = s_line.find("\"y\": ");
        if (n_key == std::string::npos || n_x == std::string::npos || n_y == std::string::npos ||
            s_line.find("\"export\": false") != std::string::npos) {
            continue;
        }
        const std::size_t n_from = n_key + 8;
        co_positions[s_line.substr(n_from, s_line.find('"', n_from) - n_from)] = {
            std::atof(s_line.c_str() + n_x + 5), std::atof(s_line.c_str() + n_y + 5)};
    }
    return co_positions;
}
}  // namespace

// On every sample and in every order, the numbers on the frames give the keys that list gives,
// which export writes in the same sequence, and each story's first frame stands where the
// story list says its box is.
TEST_F(CT_CliTest, MapNumbersTheStoriesAsTheListDoesAndPutsThemWhereTheBoxesAre) {
    std::vector<std::string> co_samples = {"brochure.idml"};
    for (const auto& co_entry :
         std::filesystem::directory_iterator(std::string(STORYPORT_TEST_DATA) + "/idml")) {
        if (co_entry.path().extension() == ".idml") {
            co_samples.push_back(co_entry.path().filename().string());
            v_CopyIn(co_entry.path().string(), co_samples.back());
        }
    }
    for (const std::string& s_sample : co_samples) {
        for (const char* pc_order : {"top-down", "left-right", "custom"}) {
            SCOPED_TRACE(s_sample + " " + pc_order);
            const CT_CliResult co_map = co_Run({"map", s_sample, "map.svg", "--order", pc_order});
            ASSERT_EQ(co_map.i_Status, 0) << co_map.s_Err;
            pugi::xml_document co_svg;
            ASSERT_TRUE(co_svg.load_file(s_Path("map.svg").c_str()));
            const std::vector<CT_DrawnFrame> co_frames = co_Frames(co_svg);
            const std::string s_listed =
                co_Run({"list", s_sample, "--keys", "--order", pc_order}).s_Out;
            EXPECT_EQ(s_KeysByOrder(co_frames), s_listed);
            if (std::string(pc_order) != "top-down") {
                continue;
            }
            // What list shows is what export writes. The export of another sample may share
            // keys with this one: it is no earlier export of this document, which would be
            // replaced.
            std::filesystem::remove(s_Path("out.stt"));
            ASSERT_EQ(co_Run({"export", s_sample, "out.stt"}).i_Status, 0);
            std::string s_exported;
            for (const std::string& s_key : sco_TaggedKeys(s_Read("out.stt"))) {
                s_exported += s_key + "\n";
            }
            EXPECT_EQ(s_exported, s_listed);
            const auto co_listed = co_ListedPositions(co_Run({"list", s_sample, "--json"}).s_Out);
            // Anchored stories are marks inside the frame that holds them, not frames.
            std::size_t n_placed = 0;
            for (const CT_DrawnFrame& co_frame : co_frames) {
                if (co_frame.n_Thread != 1 || co_listed.count(co_frame.s_Key) == 0) {
                    continue;
                }
                ++n_placed;
                if (co_frame.s_Class.find("anchored") != std::string::npos) {
                    continue;
                }
                SCOPED_TRACE(co_frame.s_Key);
                EXPECT_LE(std::fabs(co_frame.d_X - co_listed.at(co_frame.s_Key).first), 1.0);
                EXPECT_LE(std::fabs(co_frame.d_Y - co_listed.at(co_frame.s_Key).second), 1.0);
            }
            EXPECT_EQ(n_placed, co_listed.size());
        }
    }
}

TEST_F(CT_CliTest, MapGreysIgnoredPasteboardFramesAndJoinsThreads) {
    ASSERT_EQ(co_Run({"map", "brochure.idml", "map.svg", "--ignore-pasteboard"}).i_Status, 0);
    pugi::xml_document co_svg;
    ASSERT_TRUE(co_svg.load_file(s_Path("map.svg").c_str()));
    std::vector<std::string> co_greyed;
    for (const CT_DrawnFrame& co_frame : co_Frames(co_svg)) {
        if (co_frame.n_Order == 0) {
            co_greyed.push_back(co_frame.s_Key + " " + co_frame.s_Class + ": " +
                                co_frame.s_LeftOut);
        }
    }
    EXPECT_EQ(co_greyed, std::vector<std::string>{"u22c frame left-out pasteboard: on the "
                                                  "pasteboard, which is ignored"});
    // One story runs over two frames: one thread line; six stories on the reading path.
    EXPECT_EQ(co_svg.select_nodes("//g[@class='threads']/line").size(), 1u);
    const std::string s_path =
        co_svg.select_node("//polyline[@class='reading-path']").node().attribute("points").value();
    EXPECT_EQ(std::count(s_path.begin(), s_path.end(), ','), 6);
}

TEST_F(CT_CliTest, HtmlMapIsWellFormedSelfContainedAndListsTheStoriesBesideThePicture) {
    ASSERT_EQ(co_Run({"map", "brochure.idml", "map.html"}).i_Status, 0);
    const std::string s_html = s_Read("map.html");
    pugi::xml_document co_page;
    ASSERT_TRUE(co_page.load_string(s_html.c_str()));
    // Nothing to fetch: no address but the namespaces, no linked file or font.
    std::string s_rest = s_html;
    for (const char* pc_namespace :
         {"http://www.w3.org/1999/xhtml", "http://www.w3.org/2000/svg"}) {
        s_rest.replace(s_rest.find(pc_namespace), std::string(pc_namespace).size(), "");
    }
    for (const char* pc_fetch : {"http", "src=", "href=", "@import", "@font-face"}) {
        EXPECT_EQ(s_rest.find(pc_fetch), std::string::npos) << pc_fetch;
    }
    std::string s_listed;
    for (const pugi::xpath_node& co_item : co_page.select_nodes("//li[@data-story]")) {
        s_listed += std::string(co_item.node().attribute("data-story").value()) + "\n";
    }
    EXPECT_EQ(s_listed, co_Run({"list", "brochure.idml", "--keys"}).s_Out);
    const pugi::xml_node co_frame = co_page.select_node("//g[@data-key='u1d6']").node();
    EXPECT_STREQ(co_frame.attribute("data-label").value(), "Story 3: Summer in the Alps");
    EXPECT_STREQ(co_frame.attribute("data-preview").value(), "Summer in the Alps");
    EXPECT_STREQ(co_frame.child("title").text().get(), "Story 3: Summer in the Alps (u1d6)");
}

// A picture that shows nothing packs as small as an empty canvas of its size: frames drawn
// outside the view or in the background's colour would.
TEST_F(CT_CliTest, RenderedMapIsNotBlank) {
    if (std::system("command -v rsvg-convert >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "rsvg-convert is not installed";
    }
    ASSERT_EQ(co_Run({"map", "brochure.idml", "map.svg"}).i_Status, 0);
    pugi::xml_document co_svg;
    ASSERT_TRUE(co_svg.load_file(s_Path("map.svg").c_str()));
    const pugi::xml_node co_root = co_svg.document_element();
    v_Write("blank.svg", std::string("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"") +
                             co_root.attribute("width").value() + "\" height=\"" +
                             co_root.attribute("height").value() + "\"/>");
    for (const char* pc_name : {"map", "blank"}) {
        const std::string s_command =
            "rsvg-convert -b white -o '" + s_Path(pc_name) + ".png' '" + s_Path(pc_name) + ".svg'";
        ASSERT_EQ(std::system(s_command.c_str()), 0) << pc_name;
    }
    EXPECT_GT(s_Read("map.png").size(), 3 * s_Read("blank.png").size());
}

TEST_F(CT_CliTest, MapRefusesOtherPictureNamesAndLeavesNothingWhereItCannotWrite) {
    const CT_CliResult co_png = co_Run({"map", "brochure.idml", "map.png"});
    EXPECT_EQ(co_png.i_Status, 2);
    EXPECT_NE(co_png.s_Err.find("must end in .svg or .html"), std::string::npos) << co_png.s_Err;
    const CT_CliResult co_nowhere = co_Run({"map", "brochure.idml", "no/such/folder/map.svg"});
    EXPECT_EQ(co_nowhere.i_Status, 1);
    ASSERT_EQ(sco_ErrorLines(co_nowhere.s_Err).size(), 1u) << co_nowhere.s_Err;
    EXPECT_NE(co_nowhere.s_Err.find("no/such/folder/map.svg"), std::string::npos);
    EXPECT_EQ(co_Listing(),
              (std::vector<std::string>{"brochure.fr.stt", "brochure.idml", "config"}));
}
