// Every sample package, with characters that end or break a start tag ('>', '"', '<', quotes)
// and the template's markers ('%', '@') put into its story ids and master spread names: export,
// an unchanged import and a second export give well-formed start tags, the same tagged file
// and the same document.
#include <filesystem>
#include <map>
#include <regex>

#include "tests/platform/host/idml/ct_idml_story_samples.h"
#include "tests/tools/ct_cli_fixture.h"

namespace fs = std::filesystem;

namespace {
using CT_Entries = std::vector<std::pair<std::string, std::string>>;

// What is added to every id and name, as it stands in an XML attribute.
const std::string gs_Hostile = "&gt;x&quot;%@&lt;'";

// The package's entries as names and unpacked bytes.
CT_Entries co_ReadEntries(const std::string& s_Path) {
    CT_Entries co_entries;
    for (const idml_test::CT_Entry& co_entry : idml_test::co_ReadZip(s_Path)) {
        co_entries.emplace_back(co_entry.s_Name, co_entry.s_Bytes);
    }
    return co_entries;
}

// Replaces every whole-token use of the id in attribute values (bounded by quotes or blanks,
// as in Self, ParentStory and the design map's StoryList).
void v_RenameId(std::string& s_Xml, const std::string& s_Id) {
    auto b_Bound = [](char c_Char) { return c_Char == '"' || c_Char == ' '; };
    for (std::size_t n_at = s_Xml.find(s_Id); n_at != std::string::npos;
         n_at = s_Xml.find(s_Id, n_at + 1)) {
        const std::size_t n_end = n_at + s_Id.size();
        if (n_at > 0 && b_Bound(s_Xml[n_at - 1]) && n_end < s_Xml.size() && b_Bound(s_Xml[n_end])) {
            s_Xml.insert(n_end, gs_Hostile);
        }
    }
}

// The package with hostile story ids and master spread names.
std::vector<idml_test::CT_Entry> co_Hostile(std::vector<idml_test::CT_Entry> co_Entries) {
    std::vector<std::string> co_ids;
    for (const idml_test::CT_Entry& co_entry : co_Entries) {
        const std::string& s_bytes = co_entry.s_Bytes;
        if (co_entry.s_Name == "designmap.xml") {
            const std::regex co_story("Stories/Story_([^\"]+)\\.xml");
            for (std::sregex_iterator it_match(s_bytes.begin(), s_bytes.end(), co_story);
                 it_match != std::sregex_iterator(); ++it_match) {
                co_ids.push_back((*it_match)[1]);
            }
        }
    }
    const std::regex co_master("(<MasterSpread [^>]*?Name=\"[^\"]*)\"");
    for (idml_test::CT_Entry& co_entry : co_Entries) {
        const std::string& s_name = co_entry.s_Name;
        std::string& s_bytes = co_entry.s_Bytes;
        if (s_name.size() < 4 || s_name.substr(s_name.size() - 4) != ".xml") {
            continue;
        }
        for (const std::string& s_id : co_ids) {
            v_RenameId(s_bytes, s_id);
        }
        if (s_name.rfind("MasterSpreads/", 0) == 0) {
            s_bytes = std::regex_replace(s_bytes, co_master, "$1" + gs_Hostile + "\"",
                                         std::regex_constants::format_first_only);
        }
    }
    return co_Entries;
}

std::size_t n_Count(const std::string& s_Text, const std::regex& co_Pattern) {
    return static_cast<std::size_t>(
        std::distance(std::sregex_iterator(s_Text.begin(), s_Text.end(), co_Pattern), {}));
}
}  // namespace

TEST_F(CT_CliTest, HostileIdsAndMasterNamesSurviveARoundTripOfEverySample) {
    const std::regex co_wellFormed("<STORY NAME=\"[^\"<>\\n]+\" LOCATION=\"[^\"<>\\n]*\">");
    const std::regex co_endTag("</STORY>");
    const std::regex co_hostileKey("<STORY NAME=\"[^\"]*%3Ex%22%25@%3C'\"");
    const std::regex co_hostileMaster("LOCATION=\"M[^\"]*%3Ex%22%25@%3C'[0-9]+\">");
    std::size_t n_masters = 0;
    for (const fs::directory_entry& co_sample :
         fs::directory_iterator(std::string(STORYPORT_TEST_DATA) + "/idml")) {
        if (co_sample.path().extension() != ".idml") {
            continue;
        }
        SCOPED_TRACE(co_sample.path().filename().string());
        idml_test::v_WriteZip(s_Path("h.idml"),
                              co_Hostile(idml_test::co_ReadZip(co_sample.path().string())));
        const CT_CliResult co_export = co_Run({"export", "h.idml", "first.stt"});
        ASSERT_EQ(co_export.i_Status, 0) << co_export.s_Err;
        const std::string s_first = s_Read("first.stt");
        EXPECT_EQ(n_Count(s_first, co_wellFormed), n_Count(s_first, co_endTag));
        EXPECT_EQ(n_Count(s_first, co_hostileKey), n_Count(s_first, co_endTag));
        n_masters += n_Count(s_first, co_hostileMaster);

        const CT_Entries co_before = co_ReadEntries(s_Path("h.idml"));
        const CT_CliResult co_import = co_Run({"import", "h.idml", "first.stt", "--no-backup"});
        ASSERT_EQ(co_import.i_Status, 0) << co_import.s_Err;
        EXPECT_EQ(co_Run({"export", "h.idml", "second.stt"}).i_Status, 0);
        EXPECT_EQ(s_Read("second.stt"), s_first);
        EXPECT_TRUE(co_ReadEntries(s_Path("h.idml")) == co_before);
    }
    EXPECT_GT(n_masters, 0u);  // some samples have text on master pages
}

// A path is bytes: a backslash is a character of a name, as are a line feed, quotes and bytes
// that are no UTF-8, so each command reads and writes the file named and no other, in a folder
// "back/" beside a file "back\slash.idml" and in a batch folder whose own name ends in one.
TEST_F(CT_CliTest, BackslashesAndOtherBytesInNamesNameTheFileGiven) {
    const std::string s_odd = "na\\me\n\"q'\xFF";
    fs::create_directory(s_Path("back"));
    v_CopyIn(ss_Sample("brochure.idml"), "back\\slash.idml");
    v_CopyIn(ss_Sample("brochure.idml"), s_odd + ".idml");
    v_Write("back/slash.idml", "not a document");
    v_Write("back/x.stt", "kept");
    const std::string s_list = co_Run({"list", "back\\slash.idml"}).s_Out;
    EXPECT_NE(s_list.find("u1c2"), std::string::npos) << s_list;

    ASSERT_EQ(co_Run({"export", "back\\slash.idml", "back\\x.stt"}).i_Status, 0);
    EXPECT_EQ(s_Read("back/x.stt"), "kept");
    const std::string s_exported = s_Read("back\\x.stt");
    EXPECT_NE(s_exported.find("<STORY NAME=\"u1c2\""), std::string::npos);

    const CT_CliResult co_import = co_Run({"import", s_odd + ".idml", "brochure.fr.stt"});
    EXPECT_EQ(co_import.i_Status, 0) << co_import.s_Err;
    EXPECT_TRUE(b_Exists(s_odd + ".idml.bak"));
    ASSERT_EQ(co_Run({"export", s_odd + ".idml", "odd.stt"}).i_Status, 0);
    EXPECT_EQ(s_Read("odd.stt"), s_Read("brochure.fr.stt"));

    for (const char* pc_jobs : {"1", "2"}) {
        SCOPED_TRACE(pc_jobs);
        const std::string s_folder = std::string("tag\\") + pc_jobs + "\\";
        const CT_CliResult co_batch = co_Run({"batch", "export", "--folder", s_folder, "--jobs",
                                              pc_jobs, "back\\slash.idml", s_odd + ".idml"});
        EXPECT_EQ(co_batch.i_Status, 0) << co_batch.s_Err;
        EXPECT_EQ(co_Listing(s_folder),
                  (std::vector<std::string>{"back\\slash.stt", s_odd + ".stt"}));
        EXPECT_EQ(s_Read(s_folder + "/back\\slash.stt"), s_exported);
        EXPECT_EQ(s_Read(s_folder + "/" + s_odd + ".stt"), s_Read("odd.stt"));
    }
    fs::create_directory(s_Path("fr"));
    v_Write("fr/back\\slash.stt", s_Read("brochure.fr.stt"));
    const CT_CliResult co_batch = co_Run({"batch", "import", "--folder", "fr", "back\\slash.idml"});
    EXPECT_EQ(co_batch.i_Status, 0) << co_batch.s_Err;
    ASSERT_EQ(co_Run({"export", "back\\slash.idml", "back.stt"}).i_Status, 0);
    EXPECT_EQ(s_Read("back.stt"), s_Read("brochure.fr.stt"));
    EXPECT_EQ(s_Read("back/slash.idml"), "not a document");
}
