// The story list as a person and a script see it, in the orders the user can choose.
#include "tests/tools/ct_cli_fixture.h"

namespace {
const char* const gpc_TopDownList =
    "brochure.idml: 7 stories, top-down order\n"
    "\n"
    "Master Pages\n"
    "  Story 1: Alpine Travel \xC2\xB7 Summ...    u1c2      at 36, 344            4 words       24 "
    "chars  layer \"Layer 1\"\n"
    "\n"
    "Pasteboard\n"
    "  Story 2: Designer note: repla...    u22c      at -832, -196        10 words       50 chars  "
    "layer \"Layer 1\"\n"
    "\n"
    "Page 1\n"
    "  Story 3: Summer in the Alps         u1d6      at 36, -360           4 words       15 chars  "
    "layer \"Layer 1\"\n"
    "  Story 4: Prices per person Da...    u1f3      at 316, -296         15 words       57 chars  "
    "layer \"Layer 1\"\n"
    "  Story 5: Our mountain guides ...    u1e4      at 36, -276          56 words      273 chars  "
    "layer \"Layer 1\"\n"
    "\n"
    "Page 2\n"
    "  Story 6: All tours include a ...    u205      at -296, -360        14 words       78 chars  "
    "layer \"Layer 1\"\n"
    "\n"
    "Page 3\n"
    "  Story 7: Tours at a glance To...    u21a      at 36, -360          19 words       63 chars  "
    "layer \"Layer 1\"\n"
    "\n"
    "To translate: 122 words, 560 characters; repeated inside the document: 0 words, 0 "
    "characters\n";
}  // namespace

TEST_F(CT_CliTest, ListShowsPageGroupsLabelsAndKeysLogsNothingAndFollowsItsOptions) {
    const CT_CliResult co_result = co_Run({"list", "brochure.idml"});
    EXPECT_EQ(co_result.i_Status, 0);
    EXPECT_EQ(co_result.s_Out, gpc_TopDownList);
    EXPECT_EQ(co_result.s_Err, "");
    EXPECT_EQ(co_Run({"list", "brochure.idml", "--keys", "--order", "left-right"}).s_Out,
              "u1c2\nu22c\nu1d6\nu1e4\nu1f3\nu205\nu21a\n");
    EXPECT_EQ(co_Run({"list", "brochure.idml", "--keys", "--ignore-pasteboard"}).s_Out,
              "u1c2\nu1d6\nu1f3\nu1e4\nu205\nu21a\n");
}

TEST_F(CT_CliTest, JsonListGivesEveryStoryWithItsPage) {
    const CT_CliResult co_result = co_Run({"list", "brochure.idml", "--json"});
    ASSERT_EQ(co_result.i_Status, 0);
    const std::vector<std::string> co_lines = sco_Lines(co_result.s_Out);
    ASSERT_EQ(co_lines.size(), 15u);
    EXPECT_EQ(co_lines[0], "{");
    EXPECT_EQ(co_lines[1], "  \"document\": \"brochure.idml\",");
    EXPECT_EQ(co_lines[2], "  \"order\": \"top-down\",");
    EXPECT_EQ(co_lines[3], "  \"order_file\": null,");
    EXPECT_EQ(co_lines[6],
              "    {\"number\": 2, \"key\": \"u22c\", \"label\": \"Story 2: Designer note: "
              "repla...\", \"preview\": \"Designer note: repla...\", \"page\": 0, \"group\": "
              "\"Pasteboard\", \"x\": -832, \"y\": -196, \"layer\": \"Layer 1\", \"export\": true, "
              "\"left_out\": null, \"words\": 10, \"characters\": 50, "
              "\"repeated_words\": 0, \"repeated_characters\": 0},");
    EXPECT_EQ(co_lines[11],
              "    {\"number\": 7, \"key\": \"u21a\", \"label\": \"Story 7: Tours at a glance "
              "To...\", \"preview\": \"Tours at a glance To...\", \"page\": 3, \"group\": \"Page "
              "3\", \"x\": 36, \"y\": -360, \"layer\": \"Layer 1\", \"export\": true, "
              "\"left_out\": null, \"words\": 19, \"characters\": 63, \"repeated_words\": 0, "
              "\"repeated_characters\": 0}");
    EXPECT_EQ(co_lines[13],
              "  \"total\": {\"words\": 122, \"characters\": 560, \"repeated_words\": "
              "0, \"repeated_characters\": 0}");
    EXPECT_EQ(co_lines[14], "}");
}

// An arrangement saved with --keys and edited by hand (an editor put a byte order mark first):
// the listed stories lead their page in the file's order, pages keep their places, and a stale
// key is only a warning, shown cut when long. A folder is no order file.
TEST_F(CT_CliTest, OrderFileArrangesEachPageAndWarnsAboutUnknownKeys) {
    v_Write("order.txt", "\xEF\xBB\xBF  u1e4\n# my order\nu9999\n" + std::string(10000, 'x') +
                             "\nu21a\nu1d6\nu1e4\n");
    const CT_CliResult co_result =
        co_Run({"list", "brochure.idml", "--keys", "--order-file", "order.txt"});
    EXPECT_EQ(co_result.i_Status, 0);
    EXPECT_EQ(co_result.s_Out, "u1c2\nu22c\nu1e4\nu1d6\nu1f3\nu205\nu21a\n");
    EXPECT_EQ(co_result.s_Err,
              "Warning: order.txt:3: the order file names a story that the document does not "
              "have: u9999\nWarning: order.txt:4: the order file names a story that the document "
              "does not have: " +
                  std::string(200, 'x') + "... (10000 bytes)\n");
    EXPECT_EQ(sco_Lines(co_Run({"list", "brochure.idml", "--order-file", "order.txt"}).s_Out)[0],
              "brochure.idml: 7 stories, custom order from order.txt");
    // Export follows the file as list does.
    ASSERT_EQ(co_Run({"export", "brochure.idml", "o.stt", "--order-file", "order.txt"}).i_Status,
              0);
    const std::string s_tagged = s_Read("o.stt");
    EXPECT_LT(s_tagged.find("NAME=\"u1e4\""), s_tagged.find("NAME=\"u1d6\""));
    const CT_CliResult co_folder = co_Run({"list", "brochure.idml", "--order-file", "config"});
    EXPECT_EQ(co_folder.i_Status, 1);
    EXPECT_EQ(co_folder.s_Err,
              "storyport: error: \"config\" is a folder, not an order file: give the file that "
              "lists the story keys\n");
}

// A file of another kind given as the order file (the document, the translation) is refused as
// what it is, rather than each of its lines being taken for a key.
TEST_F(CT_CliTest, OrderFileOfAnotherKindIsRefused) {
    const auto co_before = co_Snapshot();
    for (const char* pc_file : {"brochure.idml", "brochure.fr.stt"}) {
        SCOPED_TRACE(pc_file);
        const std::string s_kind = std::string(pc_file) == "brochure.idml"
                                       ? "a zip archive (a document?)"
                                       : "a tagged story file";
        for (const std::vector<std::string>& co_args :
             {std::vector<std::string>{"list", "brochure.idml", "--order-file", pc_file},
              {"export", "brochure.idml", "out.stt", "--order-file", pc_file}}) {
            const CT_CliResult co_result = co_Run(co_args);
            EXPECT_EQ(co_result.i_Status, 1);
            EXPECT_EQ(co_result.s_Err, "storyport: error: \"" + std::string(pc_file) + "\" is " +
                                           s_kind +
                                           ", not an order file: an order file lists story keys, "
                                           "one per line, as 'list --keys' writes them\n");
            EXPECT_TRUE(co_Snapshot() == co_before);
        }
    }
}

// A paragraph that comes again later in the story order is counted as repeated where it comes
// again, in the story's line and in the totals.
TEST_F(CT_CliTest, ListCountsAParagraphMetAgainAsRepeated) {
    ASSERT_EQ(co_Run({"export", "brochure.idml", "brochure.stt"}).i_Status, 0);
    std::string s_tagged = s_Read("brochure.stt");
    const std::string s_note = "Designer note: replace the photo on page 2 before printing.\n";
    ASSERT_NE(s_tagged.find(s_note), std::string::npos);
    v_Write("brochure.stt",
            s_tagged.replace(s_tagged.find(s_note), s_note.size(), "Summer in the  Alps\n"));
    ASSERT_EQ(co_Run({"import", "brochure.idml", "brochure.stt", "--no-backup"}).i_Status, 0);
    const std::vector<std::string> co_lines = sco_Lines(co_Run({"list", "brochure.idml"}).s_Out);
    ASSERT_EQ(co_lines.size(), 20u);
    EXPECT_EQ(co_lines[9].substr(co_lines[9].find("at 36")),
              "at 36, -360           4 words       15 chars, 4 repeated  layer \"Layer 1\"");
    EXPECT_EQ(co_lines[19],
              "To translate: 116 words, 525 characters; repeated inside the document: "
              "4 words, 15 characters");
}
