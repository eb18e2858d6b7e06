// The host contract, one set of cases run on every backend with the same small document: three
// stories k1 "Alpha", k2 "Beta" and k3 "Gamma" on page 1 at (10,20), (10,40) and (10,60); and a
// second document with the same keys and other text ("Uno", "Dos", "Tres") to stand in front.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "batch/ct_batch.h"
#include "batch/ct_batch_action.h"
#include "document/ct_document.h"
#include "platform/common/ct_errors.h"
#include "platform/common/ct_files.h"
#include "platform/host/ct_document_interface.h"
#include "platform/host/ct_host.h"
#include "platform/host/ct_listener.h"
#include "platform/host/memory/ct_memory_host.h"
#include "settings/ct_process_data.h"
#include "settings/ct_story_format_settings.h"
#include "settings/ct_story_list_settings.h"
#include "tests/platform/host/idml/ct_idml_test_support.h"

namespace {

using idml_test::CT_TempDir;

class CT_MemoryBackend {
  public:
    CT_MemoryBackend() {
        v_Put(s_Document(), {"Alpha", "Beta", "Gamma"});
        v_Put(s_Front(), {"Uno", "Dos", "Tres"});
    }
    void v_Put(const std::string& s_Path, const std::vector<std::string>& co_Texts) {
        std::vector<CT_MemoryBox> co_Boxes;
        for (const std::string& s_Text : co_Texts) {
            CT_MemoryBox co_Box;
            co_Box.s_Key = "k" + std::to_string(co_Boxes.size() + 1);
            co_Box.s_Content = s_Text;
            co_Box.i_X = 10;
            co_Box.i_Y = 20 * static_cast<int>(co_Boxes.size() + 1);
            co_Boxes.push_back(co_Box);
        }
        co_Host.v_PutDocument(s_Path, co_Boxes);
    }
    std::string s_Document() const { return "/contract/small.indd"; }
    std::string s_Front() const { return "/contract/front.indd"; }
    std::string s_Missing() const { return "/contract/missing.indd"; }
    std::string s_TaggedFile() const { return (co_Dir / "t.mtt").string(); }
    void v_SetCancel(bool b_On) { b_On ? co_Host.v_RequestCancel() : co_Host.v_ClearCancel(); }
    int n_LiveHandles() const {
        return co_Host.n_LiveBoxHandles() + co_Host.n_LiveDocumentHandles();
    }
    int n_BadReleases() const { return co_Host.n_DoubleReleases(); }

    CT_TempDir co_Dir;
    CT_MemoryHost co_Host;
};

class CT_IdmlBackend {
  public:
    CT_IdmlBackend() {
        idml_test::v_WriteZip(s_Document(), idml_test::co_SmallPackage({
                                                {"k1", "<Content>Alpha</Content>"},
                                                {"k2", "<Content>Beta</Content>"},
                                                {"k3", "<Content>Gamma</Content>"},
                                            }));
        idml_test::v_WriteZip(s_Front(), idml_test::co_SmallPackage({
                                             {"k1", "<Content>Uno</Content>"},
                                             {"k2", "<Content>Dos</Content>"},
                                             {"k3", "<Content>Tres</Content>"},
                                         }));
        co_Host.v_SetCancelSource([this] { return i_Cancel; });
    }
    // Two pages numbered by two sections (A22, then on in roman numerals); k1 threaded from a
    // frame of two columns with insets on the first page into a stretched one on the second,
    // in 10 points on 12 leading, 20-point characters and auto leading at 150 %; k2 on the
    // pasteboard and k3 in a non-printing frame whose height follows its text.
    std::string s_SetDocument() {
        const std::string s_path = (co_Dir / "set.idml").string();
        const auto s_frame = [](const std::string& s_Attributes, const char* pc_Size,
                                const std::string& s_Preference) {
            return "<TextFrame " + s_Attributes +
                   "><Properties><PathGeometry><GeometryPathType><PathPointArray>"
                   "<PathPointType Anchor=\"0 0\"/><PathPointType Anchor=\"" +
                   pc_Size +
                   "\"/></PathPointArray></GeometryPathType></PathGeometry>"
                   "</Properties>" +
                   s_Preference + "</TextFrame>";
        };
        const std::string s_story =
            "<ParagraphStyleRange AppliedParagraphStyle=\"ParagraphStyle/Body\">"
            "<CharacterStyleRange><Content>Alpha</Content><Br/></CharacterStyleRange>"
            "</ParagraphStyleRange><ParagraphStyleRange AppliedParagraphStyle=\"ParagraphStyle/"
            "Head\"><CharacterStyleRange AppliedCharacterStyle=\"CharacterStyle/Big\"><Content>"
            "Beta</Content></CharacterStyleRange><CharacterStyleRange><Content>Gamma</Content>"
            "</CharacterStyleRange></ParagraphStyleRange>";
        std::vector<idml_test::CT_Entry> co_entries = {
            {"mimetype", "application/vnd.adobe.indesign-idml-package", ZIP_CM_STORE},
            {"designmap.xml",
             "<Document xmlns:idPkg=\"p\"><idPkg:Styles src=\"Resources/Styles.xml\"/>"
             "<Layer Self=\"L1\" Name=\"Text\"/><idPkg:Spread src=\"Spreads/S.xml\"/>"
             "<Section Self=\"s1\" PageStart=\"p1\" ContinueNumbering=\"false\" "
             "PageNumberStart=\"22\" SectionPrefix=\"A\" PageNumberStyle=\"Arabic\"/>"
             "<Section Self=\"s2\" PageStart=\"p2\" ContinueNumbering=\"true\" "
             "PageNumberStyle=\"LowerRoman\"/><idPkg:Story src=\"Stories/k1.xml\"/>"
             "<idPkg:Story src=\"Stories/k2.xml\"/><idPkg:Story src=\"Stories/k3.xml\"/>"
             "</Document>"},
            {"Resources/Styles.xml",
             "<idPkg:Styles xmlns:idPkg=\"p\"><RootCharacterStyleGroup><CharacterStyle "
             "Self=\"CharacterStyle/Big\" Name=\"Big\" PointSize=\"20\"/>"
             "</RootCharacterStyleGroup><RootParagraphStyleGroup><ParagraphStyle "
             "Self=\"ParagraphStyle/$ID/[No paragraph style]\" Name=\"$ID/[No paragraph "
             "style]\" PointSize=\"12\"/><ParagraphStyleGroup><ParagraphStyle "
             "Self=\"ParagraphStyle/Body\" Name=\"Body\" PointSize=\"10\"><Properties>"
             "<BasedOn type=\"string\">$ID/[No paragraph style]</BasedOn><Leading "
             "type=\"unit\">12</Leading></Properties></ParagraphStyle><ParagraphStyle "
             "Self=\"ParagraphStyle/Head\" Name=\"Head\" AutoLeading=\"150\"><Properties>"
             "<BasedOn type=\"object\">ParagraphStyle/Body</BasedOn><Leading "
             "type=\"enumeration\">Auto</Leading></Properties></ParagraphStyle>"
             "</ParagraphStyleGroup></RootParagraphStyleGroup></idPkg:Styles>"},
            {"Spreads/S.xml",
             "<idPkg:Spread xmlns:idPkg=\"p\"><Spread><Page Self=\"p1\" GeometricBounds=\"0 0 "
             "300 300\"/><Page Self=\"p2\" GeometricBounds=\"0 0 300 300\" "
             "ItemTransform=\"1 0 0 1 300 0\"/>" +
                 s_frame("Self=\"f2\" ParentStory=\"k1\" PreviousTextFrame=\"f1\" "
                         "ItemTransform=\"2 0 0 1 320 10\"",
                         "50 50", "") +
                 s_frame("Self=\"f1\" ParentStory=\"k1\" NextTextFrame=\"f2\" "
                         "ItemTransform=\"1 0 0 1 10 10\"",
                         "200 100",
                         "<TextFramePreference TextColumnCount=\"2\" TextColumnGutter=\"20\">"
                         "<Properties><InsetSpacing type=\"list\"><ListItem>1</ListItem>"
                         "<ListItem>2</ListItem><ListItem>3</ListItem><ListItem>4</ListItem>"
                         "</InsetSpacing></Properties></TextFramePreference>") +
                 s_frame("Self=\"f3\" ParentStory=\"k2\" ItemTransform=\"1 0 0 1 -500 10\"",
                         "100 100", "") +
                 s_frame("Self=\"f4\" ParentStory=\"k3\" ItemLayer=\"L1\" "
                         "Nonprinting=\"true\" ItemTransform=\"1 0 0 1 10 200\"",
                         "100 50", "<TextFramePreference AutoSizingType=\"HeightOnly\"/>") +
                 "</Spread></idPkg:Spread>"},
            {"Stories/k1.xml", "<idPkg:Story xmlns:idPkg=\"p\"><Story Self=\"k1\">" + s_story +
                                   "</Story></idPkg:Story>"},
            {"Stories/k2.xml", idml_test::s_StoryXml("k2", "<Content>Note</Content>")},
            {"Stories/k3.xml", idml_test::s_StoryXml("k3", "<Content>Note</Content>")},
        };
        idml_test::v_WriteZip(s_path, co_entries);
        return s_path;
    }
    std::string s_Document() const { return (co_Dir / "small.idml").string(); }
    std::string s_Front() const { return (co_Dir / "front.idml").string(); }
    std::string s_Missing() const { return (co_Dir / "missing.idml").string(); }
    std::string s_TaggedFile() const { return (co_Dir / "t.stt").string(); }
    void v_SetCancel(bool b_On) { i_Cancel = b_On; }
    int n_LiveHandles() const {
        return co_Host.n_LiveBoxHandles() + co_Host.n_LiveDocumentHandles();
    }
    int n_BadReleases() const { return co_Host.n_BadReleases(); }

    CT_TempDir co_Dir;
    CT_IdmlHost co_Host;
    int i_Cancel = 0;
};

// The export action of a batch, as the user-interface layer makes it.
class CT_ExportAction : public CT_BatchAction {
  public:
    int b_Execute(const CT_String& co_Tagged, CT_ProcessData& co_Data) override {
        return pco_Document->b_Export(co_Tagged, co_Data);
    }
    int b_IsSaveNeeded() override { return 0; }
};

// A close listener that runs a chosen function.
class CT_CloseProbe : public CT_Listener {
  public:
    void operator()() override { f_Call(); }
    std::function<void()> f_Call = [] {};
};

template <typename T_Backend>
class HostContract : public ::testing::Test {
  protected:
    void SetUp() override {
        CT_Host::sv_Install(&co_Backend.co_Host);
        CT_DocumentInterface::sv_SetCloseDocumentListener(&co_Probe);
    }
    void TearDown() override {
        CT_DocumentInterface::sv_SetCloseDocumentListener(nullptr);
        EXPECT_EQ(co_Backend.n_LiveHandles(), 0);
        EXPECT_EQ(co_Backend.n_BadReleases(), n_ExpectedBadReleases);
    }

    CT_HostBackend& host() { return co_Backend.co_Host; }
    CT_String co_Path() const { return CT_String(co_Backend.s_Document().c_str()); }

    // The code the call raised, e_NoError when it raised nothing.
    static et_ErrorCode eo_ErrorOf(const std::function<void()>& f_Call) {
        try {
            f_Call();
        } catch (et_ErrorCode eo_Code) {
            return eo_Code;
        }
        return e_NoError;
    }

    // Opens the document and gives its handle back: it stays open and active.
    void v_Open() {
        void* p_Document = host().p_Open(co_Path(), 1);
        host().v_Release(p_Document);
    }
    void v_CloseActive(int b_Save) {
        void* p_Document = host().p_GetCurrentDocument();
        host().v_Close(p_Document, b_Save);
        host().v_Release(p_Document);
    }
    // The handle of the listed box with the key; the caller releases it.
    void* p_Box(const std::string& s_Key) {
        host().v_GenerateBoxList(0);
        host().v_ResetBoxList();
        do {
            void* p_Candidate = host().p_GetCurrentBox();
            if (host().co_GetKey(p_Candidate) == s_Key.c_str()) {
                return p_Candidate;
            }
            host().v_ReleaseBox(p_Candidate);
        } while (host().b_NextTextBox());
        ADD_FAILURE() << "no box " << s_Key;
        return nullptr;
    }
    std::string s_Text(void* p_Box) {
        CT_String co_Text;
        host().b_GetContent(co_Text, p_Box, 100, 0, 0);
        return std::string(co_Text.sv());
    }
    // The story of the box as the host writes it into a tagged file.
    std::string s_Exported(void* p_Box) {
        CT_Files co_File;
        co_File.v_Open(CT_String(co_Backend.s_TaggedFile().c_str()), e_OpenWrite, 0);
        EXPECT_EQ(host().b_Export(p_Box, co_File), 0);
        co_File.v_Close();
        return idml_test::s_ReadFile(co_Backend.s_TaggedFile());
    }
    // Hands the bytes to the box as its new story, then reads one more byte to show where the
    // host left the file.
    et_ErrorCode eo_Import(void* p_Box, const std::string& s_Story, std::string& s_After) {
        idml_test::fs::path co_File(co_Backend.s_TaggedFile());
        std::ofstream(co_File, std::ios::binary) << s_Story << "|";
        CT_Files co_In;
        co_In.v_Open(CT_String(co_File.c_str()), e_OpenRead, 0);
        et_ErrorCode eo_Code = eo_ErrorOf(
            [&] { host().b_Import(p_Box, co_In, static_cast<unsigned>(s_Story.size())); });
        co_In.v_Read(s_After, 1);
        co_In.v_Close();
        return eo_Code;
    }

    T_Backend co_Backend;
    CT_CloseProbe co_Probe;
    int n_ExpectedBadReleases = 0;
};

using Backends = ::testing::Types<CT_MemoryBackend, CT_IdmlBackend>;
class BackendNames {
  public:
    template <typename T>
    static std::string GetName(int) {
        return std::is_same<T, CT_MemoryBackend>::value ? "Memory" : "Idml";
    }
};
TYPED_TEST_SUITE(HostContract, Backends, BackendNames);

TYPED_TEST(HostContract, DocumentsAreFoundOpenedAndComparedByFile) {
    CT_HostBackend& co_Host = this->host();
    EXPECT_EQ(co_Host.p_GetCurrentDocument(), nullptr);
    EXPECT_EQ(co_Host.p_IsDocumentOpen(this->co_Path()), nullptr);
    EXPECT_EQ(this->eo_ErrorOf(
                  [&] { co_Host.p_Open(CT_String(this->co_Backend.s_Missing().c_str()), 1); }),
              e_BadDocument);
    EXPECT_EQ(this->co_Backend.n_LiveHandles(), 0);

    void* p_Opened = co_Host.p_Open(this->co_Path(), 1);
    void* p_Found = co_Host.p_IsDocumentOpen(this->co_Path());
    void* p_Current = co_Host.p_GetCurrentDocument();
    EXPECT_NE(p_Opened, p_Found);
    EXPECT_TRUE(co_Host.b_IsEqual(p_Opened, p_Found));
    EXPECT_TRUE(co_Host.b_IsEqual(p_Found, p_Current));
    EXPECT_TRUE(co_Host.b_IsEqual(nullptr, nullptr));
    EXPECT_FALSE(co_Host.b_IsEqual(p_Opened, nullptr));
    EXPECT_FALSE(co_Host.b_IsEqual(nullptr, p_Opened));
    EXPECT_EQ(std::string(co_Host.co_GetDocumentPath(p_Opened).sv()),
              this->co_Backend.s_Document());
    for (void* p_Handle : {p_Opened, p_Found, p_Current}) {
        co_Host.v_Release(p_Handle);
        EXPECT_EQ(p_Handle, nullptr);
    }
    void* p_Null = nullptr;
    co_Host.v_Release(p_Null);
    co_Host.v_ReleaseBox(p_Null);
    this->v_CloseActive(0);
}

TYPED_TEST(HostContract, AReleasedHandleNeverNamesAnotherOne) {
    CT_HostBackend& co_Host = this->host();
    this->v_Open();
    void* p_Old = co_Host.p_GetCurrentDocument();
    void* p_Stale = p_Old;
    co_Host.v_Release(p_Old);
    void* p_New = co_Host.p_GetCurrentDocument();
    EXPECT_NE(p_New, p_Stale);
    EXPECT_EQ(this->eo_ErrorOf([&] { co_Host.co_GetDocumentPath(p_Stale); }), e_UnknownDocument);
    EXPECT_EQ(this->eo_ErrorOf([&] { co_Host.b_IsEqual(p_Stale, p_New); }), e_UnknownDocument);
    co_Host.v_Release(p_Stale);  // a second release touches nothing live
    EXPECT_EQ(std::string(co_Host.co_GetDocumentPath(p_New).sv()), this->co_Backend.s_Document());
    co_Host.v_Release(p_New);

    void* p_Box = this->p_Box("k1");
    void* p_StaleBox = p_Box;
    co_Host.v_ReleaseBox(p_Box);
    void* p_Live = this->p_Box("k1");
    EXPECT_NE(p_Live, p_StaleBox);
    co_Host.v_ReleaseBox(p_StaleBox);
    EXPECT_EQ(this->eo_ErrorOf([&] { co_Host.co_GetKey(p_StaleBox); }), e_UnknownDocument);
    EXPECT_EQ(this->s_Text(p_Live), "Alpha");
    co_Host.v_ReleaseBox(p_Live);
    this->n_ExpectedBadReleases = 2;
    this->v_CloseActive(0);
}

TYPED_TEST(HostContract, HandlesOfTheWrongKindOrOfAnotherHostAreRefused) {
    CT_HostBackend& co_Host = this->host();
    this->v_Open();
    void* p_Document = co_Host.p_GetCurrentDocument();
    void* p_Box = this->p_Box("k2");
    TypeParam co_Other;
    void* p_Foreign = co_Other.co_Host.p_Open(CT_String(co_Other.s_Document().c_str()), 1);
    const std::vector<std::function<void()>> co_Calls = {
        [&] { co_Host.co_GetKey(p_Document); },
        [&] { co_Host.co_GetDocumentPath(p_Box); },
        [&] { co_Host.b_IsEqualBox(p_Box, p_Document); },
        [&] { co_Host.co_GetDocumentPath(p_Foreign); },
        [&] { co_Host.v_Save(p_Foreign); },
        [&] { co_Host.n_GetPage(nullptr); },
        [&] { co_Host.co_GetDocumentPath(nullptr); },
    };
    for (std::size_t n = 0; n < co_Calls.size(); ++n) {
        SCOPED_TRACE("call " + std::to_string(n));
        EXPECT_EQ(this->eo_ErrorOf(co_Calls[n]), e_UnknownDocument);
    }
    co_Other.co_Host.v_Release(p_Foreign);
    co_Host.v_ReleaseBox(p_Box);
    co_Host.v_Release(p_Document);
    this->v_CloseActive(0);
}

TYPED_TEST(HostContract, TheBoxListWalksEveryBoxOnceAndStopsAtTheEnd) {
    CT_HostBackend& co_Host = this->host();
    EXPECT_TRUE(co_Host.b_IsBoxListEmpty());
    EXPECT_EQ(this->eo_ErrorOf([&] { co_Host.v_GenerateBoxList(0); }), e_UnknownDocument);
    EXPECT_EQ(this->eo_ErrorOf([&] { co_Host.co_GetStorySetting(CT_String("k1")); }),
              e_UnknownDocument);
    this->v_Open();
    EXPECT_TRUE(co_Host.co_GetStorySetting(CT_String("nothing")).co_Frames.empty());
    co_Host.v_GenerateBoxList(0);
    ASSERT_FALSE(co_Host.b_IsBoxListEmpty());
    std::vector<std::string> co_Seen;
    for (int i_Round = 0; i_Round < 2; ++i_Round) {
        co_Host.v_ResetBoxList();
        do {
            void* p_Box = co_Host.p_GetCurrentBox();
            tagPOINT co_At{0, 0};
            co_Host.v_GetPosition(p_Box, co_At);
            co_Seen.push_back(std::string(co_Host.co_GetKey(p_Box).sv()) + " p" +
                              std::to_string(co_Host.n_GetPage(p_Box)) +
                              (co_Host.b_IsOnMasterPage(p_Box) ? " master" : "") +
                              (co_Host.b_IsOnPasteBoard(p_Box) ? " pasteboard" : "") + " " +
                              std::to_string(co_At.x) + "," + std::to_string(co_At.y) +
                              co_Host.co_GetSpreadName(p_Box).sv().data());
            co_Host.v_DisplayBox(p_Box);
            co_Host.v_ReleaseBox(p_Box);
        } while (co_Host.b_NextTextBox());
        EXPECT_FALSE(co_Host.b_NextTextBox());
        EXPECT_EQ(this->eo_ErrorOf([&] { co_Host.p_GetCurrentBox(); }), e_HostFailure);
    }
    EXPECT_EQ(co_Seen, (std::vector<std::string>{"k1 p1 10,20", "k2 p1 10,40", "k3 p1 10,60",
                                                 "k1 p1 10,20", "k2 p1 10,40", "k3 p1 10,60"}));
    this->v_CloseActive(0);
}

TYPED_TEST(HostContract, BoxesAreEqualByDocumentAndKeyEvenAcrossOpenings) {
    CT_HostBackend& co_Host = this->host();
    this->v_Open();
    void* p_First = this->p_Box("k1");
    void* p_Again = this->p_Box("k1");
    void* p_Other = this->p_Box("k2");
    EXPECT_TRUE(co_Host.b_IsEqualBox(p_First, p_Again));
    EXPECT_FALSE(co_Host.b_IsEqualBox(p_First, p_Other));
    EXPECT_TRUE(co_Host.b_IsEqualBox(nullptr, nullptr));
    EXPECT_FALSE(co_Host.b_IsEqualBox(p_First, nullptr));
    this->v_CloseActive(0);
    this->v_Open();
    void* p_Reopened = this->p_Box("k1");
    EXPECT_TRUE(co_Host.b_IsEqualBox(p_First, p_Reopened));
    for (void* p_Box : {p_First, p_Again, p_Other, p_Reopened}) {
        co_Host.v_ReleaseBox(p_Box);
    }
    this->v_CloseActive(0);
}

TYPED_TEST(HostContract, ContentIsCutAtTheLimitInCodePoints) {
    CT_HostBackend& co_Host = this->host();
    this->v_Open();
    void* p_Box = this->p_Box("k3");
    CT_String co_Text;
    EXPECT_TRUE(co_Host.b_GetContent(co_Text, p_Box, 3, 1, 0));
    EXPECT_EQ(co_Text, "Gam");
    EXPECT_FALSE(co_Host.b_GetContent(co_Text, p_Box, 5, 1, 0));
    EXPECT_EQ(co_Text, "Gamma");
    char16_t auz_Text[8];
    EXPECT_TRUE(co_Host.b_GetContent(auz_Text, p_Box, 2, 0, 0));
    EXPECT_EQ(std::u16string(auz_Text), u"Ga");
    EXPECT_EQ(this->eo_ErrorOf([&] { co_Host.b_GetContent(nullptr, p_Box, 2, 0, 0); }),
              e_HostFailure);
    co_Host.v_ReleaseBox(p_Box);
    this->v_CloseActive(0);
}

TYPED_TEST(HostContract, StoriesGoOutAndComeBackAndRefusedContentChangesNothing) {
    CT_HostBackend& co_Host = this->host();
    this->v_Open();
    void* p_Box = this->p_Box("k1");
    co_Host.v_PrepareForExport();
    const std::string s_Story = this->s_Exported(p_Box);
    EXPECT_EQ(co_Host.n_GetStoryCounter(), 1u);
    co_Host.v_CloseExport();
    ASSERT_NE(s_Story.find("Alpha"), std::string::npos);

    co_Host.v_PrepareForImport();
    EXPECT_EQ(co_Host.n_GetStoryCounter(), 0u);
    std::string s_Translated = s_Story;
    s_Translated.replace(s_Translated.find("Alpha"), 5, "Omega");
    std::string s_After;
    EXPECT_EQ(this->eo_Import(p_Box, s_Translated, s_After), e_NoError);
    EXPECT_EQ(s_After, "|");
    EXPECT_EQ(this->s_Text(p_Box), "Omega");
    std::string s_Broken = s_Story;
    s_Broken.replace(s_Broken.find("Alpha"), 5, "\xC0\xAF\xED\xA0\x80");
    EXPECT_EQ(this->eo_Import(p_Box, s_Broken, s_After), e_BadContent);
    EXPECT_EQ(s_After, "|");
    EXPECT_EQ(this->s_Text(p_Box), "Omega");
    EXPECT_EQ(co_Host.n_GetStoryCounter(), 1u);
    co_Host.v_CloseImport();

    // Saved changes survive closing without saving; unsaved ones do not.
    void* p_Document = co_Host.p_GetCurrentDocument();
    co_Host.v_Save(p_Document);
    co_Host.v_Release(p_Document);
    EXPECT_EQ(this->eo_Import(p_Box, s_Story, s_After), e_NoError);
    co_Host.v_ReleaseBox(p_Box);
    this->v_CloseActive(0);
    this->v_Open();
    p_Box = this->p_Box("k1");
    EXPECT_EQ(this->s_Text(p_Box), "Omega");
    co_Host.v_ReleaseBox(p_Box);
    this->v_CloseActive(0);
}

TYPED_TEST(HostContract, AClosedDocumentIsGoneEvenWhenTheListenerRaises) {
    CT_HostBackend& co_Host = this->host();
    this->v_Open();
    void* p_Document = co_Host.p_GetCurrentDocument();
    void* p_Box = this->p_Box("k2");
    std::string s_ActiveInListener;
    this->co_Probe.f_Call = [&] {
        void* p_Active = CT_DocumentInterface::p_GetCurrentDocument();
        s_ActiveInListener = std::string(co_Host.co_GetDocumentPath(p_Active).sv());
        co_Host.v_Release(p_Active);
        CT_Errors::v_ThrowError(e_HostFailure, "the listener failed");
    };
    EXPECT_EQ(this->eo_ErrorOf([&] { co_Host.v_Close(p_Document, 0); }), e_HostFailure);
    EXPECT_EQ(s_ActiveInListener, this->co_Backend.s_Document());
    EXPECT_EQ(co_Host.p_IsDocumentOpen(this->co_Path()), nullptr);
    EXPECT_EQ(co_Host.p_GetCurrentDocument(), nullptr);
    EXPECT_TRUE(co_Host.b_IsBoxListEmpty());

    // What the handles carry stays; what needs the open document is refused.
    EXPECT_EQ(std::string(co_Host.co_GetDocumentPath(p_Document).sv()),
              this->co_Backend.s_Document());
    EXPECT_EQ(co_Host.co_GetKey(p_Box), "k2");
    EXPECT_TRUE(co_Host.b_IsEqualBox(p_Box, p_Box));
    CT_String co_Text;
    tagPOINT co_At{0, 0};
    const std::vector<std::function<void()>> co_Refused = {
        [&] { co_Host.v_Save(p_Document); },
        [&] { co_Host.v_Close(p_Document, 0); },
        [&] { co_Host.b_GetContent(co_Text, p_Box, 10, 0, 0); },
        [&] { co_Host.n_GetPage(p_Box); },
        [&] { co_Host.v_GetPosition(p_Box, co_At); },
        [&] { co_Host.v_DisplayBox(p_Box); },
    };
    for (std::size_t n = 0; n < co_Refused.size(); ++n) {
        SCOPED_TRACE("call " + std::to_string(n));
        EXPECT_EQ(this->eo_ErrorOf(co_Refused[n]), e_UnknownDocument);
    }
    // Opening the file again does not bring old handles back to life.
    this->co_Probe.f_Call = [] {};
    this->v_Open();
    EXPECT_EQ(this->eo_ErrorOf([&] { co_Host.v_Save(p_Document); }), e_UnknownDocument);
    co_Host.v_ReleaseBox(p_Box);
    co_Host.v_Release(p_Document);
    this->v_CloseActive(0);
}

TYPED_TEST(HostContract, ListenersAndTheCancelNeverFailAndADestroyedHostIsUninstalled) {
    CT_HostBackend& co_Host = this->host();
    co_Host.v_PopListener();
    CT_CloseProbe co_Listener;
    co_Host.v_PushListener(&co_Listener);
    co_Host.v_PopListener();
    co_Host.v_PopListener();
    EXPECT_FALSE(co_Host.b_IsCancel());
    this->co_Backend.v_SetCancel(true);
    EXPECT_TRUE(co_Host.b_IsCancel());
    this->co_Backend.v_SetCancel(false);
    EXPECT_NE(co_Host.pco_GetProgressListener(), nullptr);
    EXPECT_NE(co_Host.pco_GetParentProgressListener(), nullptr);
    co_Host.v_StartCounting(1);
    EXPECT_EQ(co_Host.n_GetStoryCounter(), 0u);
    // Destroying the installed host uninstalls it.
    {
        TypeParam co_Other;
        CT_Host::sv_Install(&co_Other.co_Host);
    }
    EXPECT_EQ(CT_Host::spco_GetBackend(), nullptr);
}

// The kernel lists the active document's boxes. A document that is open but not in front is
// exported, imported and run through a batch as itself, and the front one stays in front.
TYPED_TEST(HostContract, TheKernelWorksOnTheOpenDocumentItAskedForAndLeavesTheFrontOneInFront) {
    CT_HostBackend& co_Host = this->host();
    const std::string s_Front = this->co_Backend.s_Front();
    this->v_Open();
    void* p_Front = co_Host.p_Open(CT_String(s_Front.c_str()), 1);
    co_Host.v_Release(p_Front);
    std::ostringstream co_Out;
    CT_LogStream co_Log(co_Out);
    CT_ProcessData co_Data(co_Log, CT_StoryFormatSettings(), CT_String("Contract"));
    const CT_StoryListSettings co_Settings;
    const std::string s_Tagged = this->co_Backend.s_TaggedFile();
    const std::string s_Translation = s_Tagged + ".fr";
    auto s_FrontNow = [&] {
        void* p_Active = co_Host.p_GetCurrentDocument();
        const std::string s_Path(co_Host.co_GetDocumentPath(p_Active).sv());
        co_Host.v_Release(p_Active);
        return s_Path;
    };
    // The stories' text in the order of the file, each ending with "|".
    auto s_Texts = [&](const std::string& s_File) {
        const std::string s_Bytes = idml_test::s_ReadFile(s_File);
        std::string s_Found;
        for (const char* pc_Word : {"Alpha", "Omega", "Beta", "Gamma", "Uno", "Dos", "Tres"}) {
            if (s_Bytes.find(pc_Word) != std::string::npos) {
                s_Found += std::string(pc_Word) + "|";
            }
        }
        return s_Found;
    };

    EXPECT_EQ(
        CT_Document::sb_Export(this->co_Path(), CT_String(s_Tagged.c_str()), co_Settings, co_Data),
        0);
    EXPECT_EQ(s_Texts(s_Tagged), "Alpha|Beta|Gamma|");
    EXPECT_EQ(s_FrontNow(), s_Front);

    std::string s_Story = idml_test::s_ReadFile(s_Tagged);
    s_Story.replace(s_Story.find("Alpha"), 5, "Omega");
    std::ofstream(s_Translation, std::ios::binary) << s_Story;
    EXPECT_EQ(CT_Document::sb_Import(this->co_Path(), CT_String(s_Translation.c_str()), co_Settings,
                                     co_Data),
              0);
    EXPECT_EQ(s_FrontNow(), s_Front);
    EXPECT_EQ(co_Out.str().find("Error"), std::string::npos) << co_Out.str();

    // A batch exports the translated document as it now stands; the front one never changed.
    CT_ExportAction co_Action;
    CT_LinkedList<CT_String> co_Files;
    co_Files.b_AddLast(new CT_String(this->co_Path()));
    co_Files.v_GotoFirst();
    sco_Batch.v_SetBatch(CT_String(this->co_Backend.co_Dir.co_Get().string().c_str()), co_Settings);
    sco_Batch.v_InitBatch(co_Action, co_Files);
    sco_Batch.v_BatchAll(co_Data);
    co_Files.v_DestroyAll();
    std::string s_Batched(sco_Batch.co_GetTaggedFile(CT_String(this->co_Path())).sv());
    std::replace(s_Batched.begin(), s_Batched.end(), '\\', '/');
    EXPECT_EQ(s_Texts(s_Batched), "Omega|Beta|Gamma|");
    EXPECT_EQ(s_FrontNow(), s_Front);
    EXPECT_EQ(CT_Document::sb_Export(CT_String(s_Front.c_str()), CT_String(s_Tagged.c_str()),
                                     co_Settings, co_Data),
              0);
    EXPECT_EQ(s_Texts(s_Tagged), "Uno|Dos|Tres|");

    // The document found open is the active one while its handle is held, and only then.
    void* p_Found = co_Host.p_IsDocumentOpen(this->co_Path());
    EXPECT_EQ(s_FrontNow(), this->co_Backend.s_Document());
    co_Host.v_Release(p_Found);
    EXPECT_EQ(s_FrontNow(), s_Front);
    this->v_CloseActive(0);
    this->v_CloseActive(0);
}

// Every fact the capacity estimate uses, read from the package. The memory host only gives back
// the settings a test put in it: what it shares with this one is in the box list's case.
using IdmlHostContract = HostContract<CT_IdmlBackend>;
TEST_F(IdmlHostContract, StorySettingsGiveFramesInThreadOrderWithPrintedPageNames) {
    const std::string s_set = this->co_Backend.s_SetDocument();
    void* p_Document = this->host().p_Open(CT_String(s_set.c_str()), 1);
    auto s_describe = [this](const char* pc_Key) {
        const CT_StorySetting co_setting = this->host().co_GetStorySetting(CT_String(pc_Key));
        std::ostringstream co_out;
        for (const CT_FrameSetting& co_frame : co_setting.co_Frames) {
            co_out << co_frame.s_Id << " [" << co_frame.s_Page << "] "
                   << (co_frame.b_Prints ? "prints" : co_frame.s_NotPrinted)
                   << (co_frame.b_OnPasteBoard ? " pasteboard" : "") << " "
                   << (co_frame.b_HasGeometry ? "" : "no geometry ") << co_frame.d_Width << "x"
                   << co_frame.d_Height << " insets " << co_frame.d_InsetTop << ","
                   << co_frame.d_InsetLeft << "," << co_frame.d_InsetBottom << ","
                   << co_frame.d_InsetRight << " columns " << co_frame.n_Columns << "/"
                   << co_frame.d_Gutter << (co_frame.b_GrowsWithText ? " grows" : "") << "\n";
        }
        for (const CT_TypeRun& co_run : co_setting.co_Type) {
            co_out << co_run.d_Size << "/" << co_run.d_Leading << " x" << co_run.n_Characters
                   << "\n";
        }
        return co_out.str();
    };
    EXPECT_EQ(s_describe("k1"),
              "f1 [A22] prints 200x100 insets 1,2,3,4 columns 2/20\n"
              "f2 [xxiii] prints 100x50 insets 0,0,0,0 columns 1/12\n"
              "10/12 x5\n20/30 x4\n10/15 x5\n");
    EXPECT_EQ(s_describe("k2"),
              "f3 [] on the pasteboard pasteboard 100x100 insets 0,0,0,0 columns 1/12\n"
              "12/14.4 x4\n");
    EXPECT_EQ(s_describe("k3"),
              "f4 [A22] in a non-printing frame 100x50 insets 0,0,0,0 columns 1/12 grows\n"
              "12/14.4 x4\n");
    EXPECT_EQ(s_describe("nothing"), "");
    this->host().v_Close(p_Document, 0);
    this->host().v_Release(p_Document);
    EXPECT_EQ(this->eo_ErrorOf([this] { this->host().co_GetStorySetting(CT_String("k1")); }),
              e_UnknownDocument);
}

}  // namespace
