// One document read on one thread and on several: the same list, files, log and refusals,
// whatever order the threads finish its stories in.
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "tests/platform/host/idml/ct_idml_story_samples.h"
#include "tests/tools/ct_cli_fixture.h"

namespace {

std::string s_StoryKey(unsigned n_Story) {
    return "s" + std::to_string(n_Story);
}

std::string s_StoryEntry(unsigned n_Story) {
    return "Stories/Story_" + s_StoryKey(n_Story) + ".xml";
}

// Paragraphs and bold runs in numbers that differ from story to story, so that a thread given
// a long story finishes after one given the short stories behind it.
std::string s_StoryXml(unsigned n_Story) {
    std::string s_inside;
    for (unsigned n_para = 0; n_para < 1 + n_Story * 37 % 23; ++n_para) {
        s_inside += "<CharacterStyleRange><Content>Story " + std::to_string(n_Story) +
                    " says line " + std::to_string(n_para) +
                    "</Content></CharacterStyleRange><CharacterStyleRange FontStyle=\"Bold\">"
                    "<Content>in bold</Content><Br/></CharacterStyleRange>";
    }
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><idPkg:Story xmlns:idPkg=\"p\"><Story "
           "Self=\"" +
           s_StoryKey(n_Story) + "\"><ParagraphStyleRange>" + s_inside +
           "</ParagraphStyleRange></Story></idPkg:Story>";
}

// A package of stories, each in a frame of its own on one page, and the design map's parts
// after the stories.
std::vector<idml_test::CT_Entry> co_Package(unsigned n_Stories, const std::string& s_MapEnd = "") {
    std::string s_map = "<Document xmlns:idPkg=\"p\"><idPkg:Spread src=\"Spreads/S.xml\"/>";
    std::string s_spread =
        "<idPkg:Spread xmlns:idPkg=\"p\"><Spread><Page GeometricBounds=\"0 0 2000 100\" "
        "ItemTransform=\"1 0 0 1 0 0\"/>";
    std::vector<idml_test::CT_Entry> co_entries = {
        {"mimetype", "application/vnd.adobe.indesign-idml-package", ZIP_CM_STORE},
        {"designmap.xml", ""},
        {"Spreads/S.xml", ""}};
    for (unsigned n_story = 0; n_story < n_Stories; ++n_story) {
        s_map += "<idPkg:Story src=\"" + s_StoryEntry(n_story) + "\"/>";
        s_spread += "<TextFrame ParentStory=\"" + s_StoryKey(n_story) +
                    "\" PreviousTextFrame=\"n\" ItemTransform=\"1 0 0 1 10 " +
                    std::to_string(n_story * 5) + "\"/>";
        co_entries.emplace_back(s_StoryEntry(n_story), s_StoryXml(n_story));
    }
    co_entries[1].s_Bytes = s_map + s_MapEnd + "</Document>";
    co_entries[2].s_Bytes = s_spread + "</Spread></idPkg:Spread>";
    return co_entries;
}

std::string s_Entries(const std::string& s_Package) {
    std::string s_all;
    for (const idml_test::CT_Entry& co_entry : idml_test::co_ReadZip(s_Package)) {
        s_all += co_entry.s_Name + "\n" + co_entry.s_Bytes + "\n";
    }
    return s_all;
}

}  // namespace

class CT_CliThreadsTest : public CT_CliTest {
  protected:
    // Everything a run shows, its files' bytes after it included.
    std::string s_Run(std::vector<std::string> co_Args, unsigned n_Threads,
                      const std::string& s_Written) {
        co_Args.insert(co_Args.end(), {"--threads", std::to_string(n_Threads)});
        const CT_CliResult co_result = co_Run(co_Args);
        return std::to_string(co_result.i_Status) + "\n" + co_result.s_Out + co_result.s_Err +
               (s_Written.empty() ? "" : s_Read(s_Written));
    }

    // List, both exports, a check (its fit measured story by story on the threads) and an
    // import of every story on n_Threads threads.
    std::vector<std::string> co_Everything(const std::string& s_Document, unsigned n_Threads) {
        std::remove(s_Path("out.stt").c_str());  // else taken for a translation of another
        std::remove(s_Path("out.xlf").c_str());
        std::vector<std::string> co_seen = {
            s_Run({"list", s_Document, "--json"}, n_Threads, ""),
            s_Run({"export", s_Document, "out.stt"}, n_Threads, "out.stt"),
            s_Run({"export", s_Document, "out.xlf", "--target-lang", "fr"}, n_Threads, "out.xlf")};
        v_Write("tr.stt", idml_test::s_Shouted(s_Read("out.stt")));
        co_seen.push_back(s_Run({"check", s_Document, "tr.stt", "--json"}, n_Threads, ""));
        v_CopyIn(s_Path(s_Document), "work.idml");
        co_seen.push_back(s_Run({"import", "work.idml", "tr.stt", "--no-backup"}, n_Threads, ""));
        co_seen.push_back(s_Entries(s_Path("work.idml")));
        return co_seen;
    }
};

TEST_F(CT_CliThreadsTest, EveryThreadCountGivesTheSameListFilesAndDocument) {
    std::vector<std::string> co_documents = {"brochure.idml"};
    for (const std::string& s_name : idml_test::co_SampleNames()) {
        v_CopyIn(ss_ThirdParty(s_name), s_name);
        co_documents.push_back(s_name);
    }
    idml_test::v_WriteZip(s_Path("generated.idml"), co_Package(300));
    co_documents.push_back("generated.idml");  // last: its files are looked at after the loop
    for (const std::string& s_document : co_documents) {
        SCOPED_TRACE(s_document);
        const std::vector<std::string> co_one = co_Everything(s_document, 1);
        ASSERT_EQ(co_one[1].substr(0, 2), "0\n");
        EXPECT_EQ(co_Everything(s_document, 3), co_one);
    }
    // The generated stories went out and came back in the design map's order.
    const std::string s_tagged = s_Read("out.stt");
    EXPECT_LT(s_tagged.find("Story 1 says"), s_tagged.find("Story 2 says"));
    EXPECT_NE(s_Entries(s_Path("work.idml")).find("STORY 299 SAYS LINE 0"), std::string::npos);
}

// Of several broken parts, the first in the design map's order is named, as when one thread
// reads them in turn: stories and spreads are read on the threads after the map's other parts.
TEST_F(CT_CliThreadsTest, TheFirstBrokenPartIsNamedWhateverTheThreads) {
    const std::string s_missing = "<idPkg:Spread src=\"Spreads/Missing.xml\"/>";
    const std::string s_malformed = "<idPkg:Spread src=\"Spreads/Bad.xml\"/>";
    const std::string s_where = "storyport: error: \"" + s_Path("broken.idml") + "\": entry ";
    struct CT_Case {
        std::vector<std::pair<unsigned, std::string>> co_Broken;  // story, its new XML
        std::string s_MapEnd;
        std::string s_Error;
    };
    const std::vector<CT_Case> co_cases = {
        {{{150, "<Story Self=\"s150\">"}, {170, "<Other Self=\"s170\"/>"}},
         s_missing,
         "\"Stories/Story_s150.xml\" is not well-formed XML"},
        {{{170, "<Other Self=\"s170\"/>"}, {190, s_StoryXml(3)}},
         s_missing,
         "\"Stories/Story_s170.xml\" holds no story"},
        {{{190, s_StoryXml(3)}}, s_missing, "\"Stories/Story_s190.xml\" repeats the story id s3"},
        {{}, s_missing, "\"Spreads/Missing.xml\" is missing"},
        {{{150, "<Story Self=\"s150\">"}},
         s_malformed,
         "\"Stories/Story_s150.xml\" is not well-formed XML"},
        {{}, s_malformed, "\"Spreads/Bad.xml\" is not well-formed XML"}};
    for (const CT_Case& co_case : co_cases) {
        SCOPED_TRACE(co_case.s_Error);
        std::vector<idml_test::CT_Entry> co_entries = co_Package(200, co_case.s_MapEnd);
        for (const auto& co_broken : co_case.co_Broken) {
            co_entries[3 + co_broken.first].s_Bytes = co_broken.second;
        }
        co_entries.emplace_back("Spreads/Bad.xml", "<Spread><Page></Spread>");
        idml_test::v_WriteZip(s_Path("broken.idml"), co_entries);
        const auto co_before = co_Snapshot();
        for (const unsigned n_threads : {1u, 4u}) {
            const CT_CliResult co_result = co_Run(
                {"export", "broken.idml", "out.stt", "--threads", std::to_string(n_threads)});
            EXPECT_EQ(co_result.i_Status, 1);
            const std::vector<std::string> co_errors = sco_ErrorLines(co_result.s_Err);
            ASSERT_FALSE(co_errors.empty()) << co_result.s_Err;
            EXPECT_EQ(co_errors[0].substr(0, s_where.size() + co_case.s_Error.size()),
                      s_where + co_case.s_Error);
            EXPECT_TRUE(co_Snapshot() == co_before);
        }
    }
}
