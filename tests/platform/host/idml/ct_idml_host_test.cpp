// The IDML host as the kernel meets it, where the host contract's cases do not reach: paths
// spelled in other ways, previews, what a story shows after an import, conditions and parts.
#include "platform/common/ct_utf8.h"
#include "tests/platform/host/idml/ct_idml_test_support.h"

using namespace idml_test;

namespace {

class CT_IdmlHostTest : public CT_HostTest {
  protected:
    fs::path co_Make(const std::string& s_Name,
                     const std::vector<std::pair<std::string, std::string>>& co_Stories) {
        v_WriteZip(co_Dir / s_Name, co_SmallPackage(co_Stories));
        return co_Dir / s_Name;
    }
    std::string s_ActivePath() {
        void* p_Document = co_Host.p_GetCurrentDocument();
        std::string s_Path =
            p_Document ? std::string(co_Host.co_GetDocumentPath(p_Document).sv()) : "";
        co_Host.v_Release(p_Document);
        return s_Path;
    }
    CT_TempDir co_Dir;
};

TEST_F(CT_IdmlHostTest, DocumentsAreFoundByAnySpellingOfTheirPathAndOpenedOnce) {
    fs::path co_A = co_Make("a.idml", {{"k1", "<Content>A</Content>"}});
    fs::path co_B = co_Make("b.idml", {{"k1", "<Content>B</Content>"}});
    void* p_A = co_Host.p_Open(CT_String(co_A.c_str()), 1);
    v_Open(co_B);
    EXPECT_EQ(s_ActivePath(), co_B.string());

    fs::create_directory(co_Dir / "sub");
    const std::string s_Odd = (co_Dir / "sub" / ".." / "a.idml").string();
    void* p_Found = co_Host.p_IsDocumentOpen(CT_String(s_Odd.c_str()));
    ASSERT_NE(p_Found, nullptr);
    EXPECT_TRUE(co_Host.b_IsEqual(p_Found, p_A));
    EXPECT_EQ(co_Host.p_IsDocumentOpen(CT_String((co_Dir / "c.idml").c_str())), nullptr);

    void* p_Again = co_Host.p_Open(CT_String(s_Odd.c_str()), 1);
    EXPECT_TRUE(co_Host.b_IsEqual(p_Again, p_A));
    EXPECT_EQ(co_Host.n_OpenDocuments(), 2u);
    EXPECT_EQ(s_ActivePath(), co_A.string());
    for (void* p_Handle : {p_A, p_Found, p_Again}) {
        co_Host.v_Release(p_Handle);
    }
}

// Ctrl-C during the load of a long document is seen within a story, on any number of threads,
// and the document is not left half open.
TEST_F(CT_IdmlHostTest, ACancelDuringTheLoadStopsItWithinAStory) {
    std::vector<std::pair<std::string, std::string>> co_stories;
    for (int i = 0; i < 40; ++i) {
        co_stories.push_back({"k" + std::to_string(i), "<Content>Text</Content>"});
    }
    const fs::path co_path = co_Make("long.idml", co_stories);
    for (const unsigned n_threads : {1u, 3u}) {
        SCOPED_TRACE(n_threads);
        int n_asked = 0;
        co_Host.v_SetThreads(n_threads);
        co_Host.v_SetCancelSource([&n_asked] { return ++n_asked > 5 ? 1 : 0; });
        try {
            co_Host.p_Open(CT_String(co_path.c_str()), 1);
            ADD_FAILURE() << "the load went on";
        } catch (et_ErrorCode eo_code) {
            EXPECT_EQ(eo_code, e_HostFailure);
            EXPECT_EQ(std::string(CT_Errors::cco_GetLastError().sv()),
                      "canceled while reading " + fs::canonical(co_path).string());
        }
        EXPECT_EQ(n_asked, 6);
        EXPECT_EQ(co_Host.n_OpenDocuments(), 0u);
    }
    co_Host.v_SetCancelSource({});
}

TEST_F(CT_IdmlHostTest, PreviewsCountCharactersAndNeverSplitASurrogatePair) {
    v_Open(co_Make("a.idml", {{"k1",
                               "<Content>A\xF0\x9F\x98\x80"
                               "B\tC</Content>"}}));
    v_ForEachBox(false, [&](void* p_Box) {
        CT_String co_Text;
        EXPECT_TRUE(co_Host.b_GetContent(co_Text, p_Box, 2, 1, 0));
        EXPECT_EQ(co_Text, "A\xF0\x9F\x98\x80");
        char16_t auz_Text[8];
        EXPECT_TRUE(co_Host.b_GetContent(auz_Text, p_Box, 2, 1, 0));
        EXPECT_EQ(std::u16string(auz_Text), u"A");
        EXPECT_TRUE(co_Host.b_GetContent(auz_Text, p_Box, 3, 1, 0));
        EXPECT_EQ(std::u16string(auz_Text), u"A\U0001F600");
        EXPECT_FALSE(co_Host.b_GetContent(auz_Text, p_Box, 7, 1, 0));
        EXPECT_EQ(std::u16string(auz_Text), u"A\U0001F600B C");
    });
    v_CloseActive(0);
}

// Parsing never loads a document type or an external entity.
TEST_F(CT_IdmlHostTest, ExternalEntitiesAreNeverRead) {
    std::vector<CT_Entry> co_Entries = co_SmallPackage({{"k1", "<Content>&e;</Content>"}});
    co_Entries[3].s_Bytes = "<!DOCTYPE s [<!ENTITY e SYSTEM \"/etc/passwd\">]>" +
                            co_Entries[3].s_Bytes.substr(co_Entries[3].s_Bytes.find("?>") + 2);
    v_WriteZip(co_Dir / "a.idml", co_Entries);
    v_Open(co_Dir / "a.idml");
    v_ForEachBox(false, [&](void* p_Box) {
        CT_String co_Text;
        co_Host.b_GetContent(co_Text, p_Box, 100, 0, 0);
        EXPECT_EQ(std::string(co_Text.sv()).find("root"), std::string::npos);
    });
    v_CloseActive(0);
}

// A story's text is kept between calls about it; what an import or a change of the notes choice
// changes shows at once, and each story shows its own.
TEST_F(CT_IdmlHostTest, TextShowsWhatTheStoryHoldsNow) {
    auto co_texts = [&]() {
        std::vector<std::string> co_out;
        v_ForEachBox(false, [&](void* p_Box) {
            CT_String co_Text;
            co_Host.b_GetContent(co_Text, p_Box, 100, 0, 0);
            char16_t auz_Text[101] = {};
            co_Host.b_GetContent(auz_Text, p_Box, 100, 0, 0);
            char16_t auz_Expected[101] = {};
            bool b_Cut = false;
            CT_Utf8::sn_ToUtf16(co_Text.sv(), auz_Expected, 100, b_Cut);
            EXPECT_EQ(std::u16string(auz_Text), std::u16string(auz_Expected));
            co_out.push_back(std::string(co_Text.sv()));
        });
        return co_out;
    };
    v_Open(co_Make("a.idml", {{"k1", "<Content>Old</Content>"},
                              {"k2",
                               "<Content>Two</Content><Note><ParagraphStyleRange>"
                               "<Content>N</Content></ParagraphStyleRange></Note>"}}));
    EXPECT_EQ(co_texts(), (std::vector<std::string>{"Old", "TwoN\n"}));
    co_Host.v_SetSkipNotes(true);
    EXPECT_EQ(co_texts(), (std::vector<std::string>{"Old", "Two"}));
    co_Host.v_SetSkipNotes(false);
    v_CloseActive(0);

    v_Open(co_Make("b.idml", {{"k1", "<Content>Old</Content>"}}));
    EXPECT_EQ(co_texts(), (std::vector<std::string>{"Old"}));
    v_ImportAll(co_Dir / "t.stt", {{"k1", "New"}});
    EXPECT_EQ(co_texts(), (std::vector<std::string>{"New"}));
    v_CloseActive(0);
}

// An imported story is kept packed until it is asked for again: it reads back, takes a second
// import and is saved as it stands then, also across saves of the open document.
TEST_F(CT_IdmlHostTest, AnImportedStoryReadsBackAndChangesAgainBeforeAndAfterASave) {
    const fs::path co_A =
        co_Make("a.idml", {{"k1", "<Content>Old</Content>"}, {"k2", "<Content>Two</Content>"}});
    v_Open(co_A);
    void* p_Document = co_Host.p_GetCurrentDocument();
    const std::map<std::string, std::string> co_first{{"k1", "New \\<1\\>\n"}, {"k2", "Two\n"}};
    const std::map<std::string, std::string> co_second{{"k1", "Newer\n"}, {"k2", "Deux\n"}};
    v_ImportAll(co_Dir / "t.stt", co_first);
    EXPECT_EQ(co_ExportAll(co_Dir / "e.stt"), co_first);
    v_ImportAll(co_Dir / "t.stt", co_second);
    co_Host.v_Save(p_Document);
    EXPECT_EQ(co_ExportAll(co_Dir / "e.stt"), co_second);
    v_ImportAll(co_Dir / "t.stt", co_first);
    co_Host.v_Save(p_Document);
    co_Host.v_Release(p_Document);
    v_CloseActive(0);
    v_Open(co_A);
    EXPECT_EQ(co_ExportAll(co_Dir / "e.stt"), co_first);
    v_CloseActive(0);
}

// A condition the design map hides after naming the stories it applies to still hides their
// text in a document read through; what is counted shows every condition and keeps notes; a
// translation leaves the hidden text as it was.
TEST_F(CT_IdmlHostTest, ReadingThroughHidesConditionsNamedAfterTheStories) {
    std::vector<CT_Entry> co_entries =
        co_SmallPackage({{"k1",
                          "<Content>Shown</Content></CharacterStyleRange>"
                          "<CharacterStyleRange AppliedConditions=\"Condition/Web\">"
                          "<Content>Hidden</Content>"}});
    std::string& s_map = co_entries[1].s_Bytes;
    s_map.insert(s_map.rfind("</Document>"),
                 "<Condition Self=\"Condition/Web\" Visible=\"false\"/>");
    v_WriteZip(co_Dir / "a.idml", co_entries);
    for (bool b_through : {false, true}) {
        co_Host.v_SetReadThrough(b_through);
        v_Open(co_Dir / "a.idml");
        v_ForEachBox(false, [&](void* p_Box) {
            CT_String co_text;
            co_Host.b_GetContent(co_text, p_Box, 100, 0, 0);
            EXPECT_EQ(co_text, "Shown");
        });
        EXPECT_EQ(co_ExportAll(co_Dir / "out.stt").at("k1"), "Shown<x1/>\n");
        std::string s_counted;
        EXPECT_TRUE(co_Host.b_CountedContent("k1", s_counted));
        EXPECT_EQ(s_counted, "Shown<g1>Hidden</g1>\n");
        EXPECT_FALSE(co_Host.b_CountedContent("k2", s_counted));
        v_CloseActive(0);
    }
    // A translated import keeps the hidden text as it was, in the saved package too.
    v_Open(co_Dir / "a.idml");
    v_ImportAll(co_Dir / "in.stt", {{"k1", "Gezeigt<x1/>\n"}});
    v_CloseActive(1);
    const std::string s_saved = co_ReadZip(co_Dir / "a.idml")[3].s_Bytes;
    EXPECT_NE(s_saved.find("<Content>Gezeigt</Content>"), std::string::npos) << s_saved;
    EXPECT_NE(s_saved.find("AppliedConditions=\"Condition/Web\"><Content>Hidden</Content>"),
              std::string::npos)
        << s_saved;
}

// A part the design map names more than once is read once: the document is the one that
// names each part once.
TEST_F(CT_IdmlHostTest, APartNamedAgainIsReadOnce) {
    const std::vector<CT_Entry> co_once =
        co_SmallPackage({{"k1", "<Content>One</Content>"}, {"k2", "<Content>Two</Content>"}});
    std::vector<CT_Entry> co_again = co_once;
    std::string& s_map = co_again[1].s_Bytes;
    const std::string s_spread = "<idPkg:Spread src=\"Spreads/S.xml\"/>";
    const std::string s_story = "<idPkg:Story src=\"Stories/Story_k1.xml\"/>";
    s_map.insert(s_map.rfind("</Document>"), s_spread + s_story + s_spread);
    v_WriteZip(co_Dir / "once.idml", co_once);
    v_WriteZip(co_Dir / "again.idml", co_again);
    v_Open(co_Dir / "once.idml");
    const std::vector<std::string> co_listing = co_Listing();
    const std::map<std::string, std::string> co_stories = co_ExportAll(co_Dir / "once.stt");
    v_CloseActive(0);
    v_Open(co_Dir / "again.idml");
    EXPECT_EQ(co_Listing(), co_listing);
    EXPECT_EQ(co_ExportAll(co_Dir / "again.stt"), co_stories);
    v_CloseActive(0);
}

}  // namespace
