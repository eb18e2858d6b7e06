// The story map as a script and a viewer see it: every story numbered as the list orders it,
// frames where the layout puts them, a file that parses and renders, and refusals that name
// what is wrong.
#include <pugixml.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

// On every sample each number is readable (9 px at the least), inside or touching a frame of
// its story, clear of every other number and of the arrowheads, and nothing is drawn over it;
// every map renders to more than a blank picture.
TEST_F(CT_CliTest, EveryNumberOnEverySampleMapIsClearAndTheMapRenders) {
    using CT_Box = std::array<double, 4>;  // left, top, right, bottom on the picture
    auto f_overlap = [](const CT_Box& a, const CT_Box& b) {
        return a[0] < b[2] && b[0] < a[2] && a[1] < b[3] && b[1] < a[3];
    };
    const bool b_render = std::system("command -v rsvg-convert >/dev/null 2>&1") == 0;
    for (const auto& co_entry :
         std::filesystem::directory_iterator(std::string(STORYPORT_TEST_DATA) + "/idml")) {
        if (co_entry.path().extension() != ".idml") {
            continue;
        }
        SCOPED_TRACE(co_entry.path().filename().string());
        ASSERT_EQ(co_Run({"map", co_entry.path().string(), "map.svg"}).i_Status, 0);
        pugi::xml_document co_svg;
        ASSERT_TRUE(co_svg.load_file(s_Path("map.svg").c_str()));
        const pugi::xml_node co_root = co_svg.document_element();
        const double d_scale =
            co_root.attribute("width").as_double() /
            std::atof(std::strchr(std::strchr(co_root.attribute("viewBox").value(), ' ') + 1, ' ') +
                      1);
        std::multimap<std::string, CT_Box> co_frames;
        for (const pugi::xpath_node& co_found : co_svg.select_nodes("//g[@transform]/g/rect")) {
            const pugi::xml_node r = co_found.node();
            double d_x = 0, d_y = 0;
            std::sscanf(r.parent().parent().attribute("transform").value(), "translate(%lf %lf)",
                        &d_x, &d_y);
            d_x += r.attribute("x").as_double();
            d_y += r.attribute("y").as_double();
            co_frames.emplace(r.parent().attribute("data-key").value(),
                              CT_Box{d_x, d_y, d_x + r.attribute("width").as_double(),
                                     d_y + r.attribute("height").as_double()});
        }
        std::vector<CT_Box> co_tips;
        for (const pugi::xpath_node& co_line : co_svg.select_nodes("//g[@class='threads']/line")) {
            const double d_x = co_line.node().attribute("x2").as_double();
            const double d_y = co_line.node().attribute("y2").as_double();
            co_tips.push_back({d_x - 3 / d_scale, d_y - 3 / d_scale, d_x, d_y});
        }
        const pugi::xml_node co_layer = co_svg.select_node("//g[@class='labels']").node();
        ASSERT_STREQ(co_layer.next_sibling().attribute("class").value(), "legend");
        std::vector<CT_Box> co_labels;
        for (const pugi::xml_node co_label : co_layer.children("g")) {
            const pugi::xml_node r = co_label.child("rect");
            const CT_Box co_box{r.attribute("x").as_double(), r.attribute("y").as_double(),
                                r.attribute("x").as_double() + r.attribute("width").as_double(),
                                r.attribute("y").as_double() + r.attribute("height").as_double()};
            const std::string s_text = co_label.child("text").text().get();
            SCOPED_TRACE(s_text);
            EXPECT_GE(co_label.child("text").attribute("font-size").as_double() * d_scale, 8.99);
            for (const CT_Box& co_other : co_labels) {
                EXPECT_FALSE(f_overlap(co_box, co_other));
            }
            for (const CT_Box& co_tip : co_tips) {
                EXPECT_FALSE(f_overlap(co_box, co_tip));
            }
            const auto co_own = co_frames.equal_range(co_label.attribute("data-for").value());
            const bool b_anchored = co_label.attribute("data-key");
            EXPECT_TRUE(b_anchored || std::any_of(co_own.first, co_own.second, [&](const auto& co) {
                            const CT_Box& f = co.second;
                            // Touching, to the coordinates' two decimals.
                            return co_box[0] <= f[2] + 0.03 && f[0] <= co_box[2] + 0.03 &&
                                   co_box[1] <= f[3] + 0.03 && f[1] <= co_box[3] + 0.03;
                        }));
            co_labels.push_back(co_box);
        }
        EXPECT_EQ(co_labels.size(), co_frames.size() + co_svg
                                                           .select_nodes("//g[@class='labels']"
                                                                         "/g[@data-key]")
                                                           .size());
        // A picture that shows nothing packs as small as an empty canvas of its size: frames
        // drawn outside the view or in the background's colour would.
        if (b_render) {
            v_Write("blank.svg", std::string("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"") +
                                     co_root.attribute("width").value() + "\" height=\"" +
                                     co_root.attribute("height").value() + "\"/>");
            for (const char* pc_name : {"map", "blank"}) {
                const std::string s_command = "rsvg-convert -b white -o '" + s_Path(pc_name) +
                                              ".png' '" + s_Path(pc_name) + ".svg'";
                ASSERT_EQ(std::system(s_command.c_str()), 0) << pc_name;
            }
            EXPECT_GT(s_Read("map.png").size(), 3 * s_Read("blank.png").size());
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

// The list beside the picture gives each story's counts and its fit, by the same report as
// check; a frame is placed as a ruler at its page's corner measures it, and pages are named as
// printed, section prefixes and all.
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
    EXPECT_STREQ(co_frame.child("title").text().get(),
                 "Story 3: Summer in the Alps (u1d6), x 36 pt, y 36 pt on page 1\nfits: the text "
                 "fills about 60 % of the room its frames give it (about 30 characters)");
    std::string s_counts;
    for (const char* pc_key : {"u1d6", "u22c", "u205"}) {
        const pugi::xml_node co_item =
            co_page.select_node(("//li[@data-story='" + std::string(pc_key) + "']").c_str()).node();
        s_counts += co_item.attribute("data-place").value() + std::string(": ") +
                    co_item.select_node("span[@class='counts']").node().text().get() +
                    co_item.select_node("span/span").node().text().get() + "\n";
    }
    EXPECT_EQ(s_counts,
              "x 36 pt, y 36 pt on page 1: 4 words, 15 characters; fits\n"
              "x -220 pt, y 200 pt from page 2, on the pasteboard: 10 words, 50 characters; does "
              "not print\n"
              "x 316 pt, y 36 pt on page 2: 14 words, 78 characters; fits\n");

    ASSERT_EQ(
        co_Run({"map", std::string(STORYPORT_TEST_DATA) + "/idml/sections-masters.idml", "s.html"})
            .i_Status,
        0);
    pugi::xml_document co_sections;
    ASSERT_TRUE(co_sections.load_file(s_Path("s.html").c_str()));
    std::string s_names;
    for (const char* pc_path : {"//*[@class='page-label']", "//h2"}) {
        for (const pugi::xpath_node& co_name : co_sections.select_nodes(pc_path)) {
            s_names += co_name.node().text().get() + std::string("|");
        }
    }
    EXPECT_EQ(s_names, "Page A22|Page A23|Master Pages|Pasteboard|Page A22|Page A23|");
}

// The order file the HTML map saves, put beside the document, is the custom order of every
// later run (list, map, export) until it is deleted, and never the order of another kind.
TEST_F(CT_CliTest, AnOrderFileBesideTheDocumentIsTheCustomOrderUntilDeleted) {
    v_Write("brochure.idml.order", "# arranged in the map\nu21a\nu1e4\nu1d6\n");
    const std::string s_custom = co_Run({"list", "brochure.idml", "--order", "custom"}).s_Out;
    EXPECT_EQ(sco_Lines(s_custom)[0],
              "brochure.idml: 7 stories, custom order from brochure.idml.order");
    EXPECT_EQ(co_Run({"list", "brochure.idml", "--keys", "--order", "custom"}).s_Out,
              "u1c2\nu22c\nu1e4\nu1d6\nu1f3\nu205\nu21a\n");
    ASSERT_EQ(co_Run({"export", "brochure.idml", "out.stt", "--order", "custom"}).i_Status, 0);
    const std::string s_tagged = s_Read("out.stt");
    EXPECT_LT(s_tagged.find("u1e4"), s_tagged.find("u1d6"));
    ASSERT_EQ(co_Run({"map", "brochure.idml", "map.html", "--order", "custom"}).i_Status, 0);
    EXPECT_NE(s_Read("map.html").find("custom order from brochure.idml.order"), std::string::npos);
    EXPECT_EQ(co_Run({"list", "brochure.idml", "--keys"}).s_Out,
              "u1c2\nu22c\nu1d6\nu1f3\nu1e4\nu205\nu21a\n");
    std::filesystem::remove(s_Path("brochure.idml.order"));
    EXPECT_EQ(sco_Lines(co_Run({"list", "brochure.idml", "--order", "custom"}).s_Out)[0],
              "brochure.idml: 7 stories, custom order");
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
