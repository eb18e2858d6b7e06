// Batches over documents named by path: the log of a whole batch in reverse order, failures
// that are logged and passed over, cancel, and errors that must neither loop nor leak.
#include "batch/ct_batch.h"

#include <gtest/gtest.h>

#include <regex>

#include "batch/ct_batch_action.h"
#include "tests/document/ct_kernel_fixture.h"

namespace {
// The two actions the user-interface layer makes: export discards, import saves.
template <int (CT_Document::*pf_Operation)(const CT_String&, CT_ProcessData&), int b_Save>
class CT_Action : public CT_BatchAction {
  public:
    int b_Execute(const CT_String& co_Tagged, CT_ProcessData& co_Data) override {
        return (pco_Document->*pf_Operation)(co_Tagged, co_Data);
    }
    int b_IsSaveNeeded() override { return b_Save; }
};
const std::string ks_Separator = std::string(40, '-') + "\n";
}  // namespace

class CT_BatchTest : public CT_KernelFixture {
  protected:
    void SetUp() override {
        CT_KernelFixture::SetUp();
        co_Host.v_PutDocument("/docs/one.indd", {co_Box("O", 1, 0, "one")});
        co_Host.v_PutDocument("/docs/two.indd", {co_Box("T", 1, 0, "two")});
        co_Host.v_PutDocument("/docs/three.indd",
                              {co_Box("H", 1, 0, "3"), co_Box("E", 1, 9, "drei")});
        for (const char* pc_path : {"/docs/one.indd", "/docs/two.indd", "/docs/three.indd"}) {
            co_Files.b_AddLast(new CT_String(pc_path));
        }
    }
    void TearDown() override {
        co_Files.v_DestroyAll();
        CT_KernelFixture::TearDown();
    }
    // A batch over the caller's list from its first path.
    void v_Run(CT_BatchAction& co_Action) {
        sco_Batch.v_SetBatch(CT_String((co_Folder / "").c_str()), co_Settings);
        co_Files.v_GotoFirst();
        sco_Batch.v_InitBatch(co_Action, co_Files);
        sco_Batch.v_BatchAll(co_Data);
    }
    // The log after its first line, which must be a time.
    std::string s_BatchLog() {
        const std::string s_log = s_Log();
        const std::size_t n_end = s_log.find('\n');
        EXPECT_TRUE(std::regex_match(s_log.substr(0, n_end),
                                     std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)")));
        v_ClearLog();
        return s_log.substr(n_end + 1);
    }

    CT_LinkedList<CT_String> co_Files;
    CT_Action<&CT_Document::b_Export, 0> co_Export;
    CT_Action<&CT_Document::b_Import, 1> co_Import;
};

TEST_F(CT_BatchTest, ExportThenImportOverThreeDocumentsOneFailingToOpen) {
    co_Files.v_GotoFirst();
    co_Files.b_Next();
    *co_Files.pco_GetCurrent() = "/docs/missing.indd";
    v_Run(co_Export);
    const std::string s_missing =
        "\nError: cannot open /docs/missing.indd: no document is saved there\n\n";
    EXPECT_EQ(s_BatchLog(),
              ks_Separator + "Exporting three.indd...\n2 stories have been exported.\n\n" +
                  s_missing + "Exporting one.indd...\n1 story has been exported.\n\n" +
                  "\nBatch finished but contains one or more errors (see above).");
    EXPECT_EQ(sco_Batch.n_GetFileDone(), 2u);
    EXPECT_EQ(co_Host.co_Progress(),
              (std::vector<std::string>{"files 3", "next file", "start Exporting three.indd... 2",
                                        "step", "step", "next file", "next file",
                                        "start Exporting one.indd... 1", "step"}));
    EXPECT_TRUE(co_Host.co_PushedListeners().empty());

    co_Tagged("one.mtt", s_Story("O", "eins"));
    v_Run(co_Import);
    EXPECT_EQ(s_BatchLog(),
              ks_Separator + "Importing three.indd...\n2 stories have been imported.\n\n" +
                  s_missing + "Importing one.indd...\n1 story has been imported.\n\n" +
                  "\nBatch finished but contains one or more errors (see above).");
    EXPECT_EQ(s_Contents("/docs/one.indd", true) + s_Contents("/docs/three.indd", true),
              "eins|3|drei|");
}

TEST_F(CT_BatchTest, CancelDuringTheSecondDocumentClosesItUnsavedAndOpensNoMore) {
    co_Tagged("two.mtt", s_Story("T", "x"));
    co_Tagged("three.mtt", s_Story("H", "x") + s_Story("E", "x"));
    co_Host.v_CancelAfterPolls(8);  // the second document's only story sees the cancel
    v_Run(co_Import);
    EXPECT_EQ(s_BatchLog(),
              ks_Separator + "Importing three.indd...\n2 stories have been imported.\n\n" +
                  "Importing two.indd...\nImport canceled.\n\n" + "\nBatch canceled.");
    EXPECT_EQ(sco_Batch.n_GetFileDone(), 1u);
    EXPECT_EQ(s_Contents("/docs/three.indd", true) + s_Contents("/docs/two.indd", true),
              "x|x|two|");
    EXPECT_EQ(n_Calls("v_Close /docs/two.indd 1") + n_Calls("p_Open /docs/one.indd 1"), 0);
    EXPECT_TRUE(co_Host.co_PushedListeners().empty());
}

TEST_F(CT_BatchTest, ErrorsWhileProcessingOrClosingNeitherLoopNorLeak) {
    // Nothing done yet: the error leaves the batch, and a further call finishes it.
    co_Host.v_FailOn("v_GenerateBoxList", 1);
    EXPECT_THROW(v_Run(co_Export), et_ErrorCode);
    EXPECT_FALSE(sco_Batch.b_IsBatchComplete());
    sco_Batch.v_BatchAll(co_Data);
    EXPECT_EQ(sco_Batch.n_GetFileDone(), 2u);

    // Once a document is done, a failing check is passed over; a failing close is reported
    // and the batch goes on; each document is closed once.
    co_Host.v_ClearJournal();
    v_ClearLog();
    co_Host.v_FailOn("v_Close", 1);
    co_Host.v_FailOn("v_GenerateBoxList", 2);
    v_Run(co_Export);
    EXPECT_EQ(sco_Batch.n_GetFileDone(), 2u);
    EXPECT_EQ(n_Calls("v_Close /docs/three.indd 0") + n_Calls("v_Close /docs/two.indd 0") +
                  n_Calls("v_Close /docs/one.indd 0"),
              3);
    EXPECT_EQ(s_BatchLog(), ks_Separator +
                                "Exporting three.indd...\n2 stories have been exported.\n\n" +
                                "\nError: v_Close failed: the host was told to fail it\n\n" +
                                "Exporting one.indd...\n1 story has been exported.\n\n" +
                                "\nBatch finished but contains one or more errors (see above).");
    co_Host.v_CloseDocument("/docs/three.indd", false);
}

// A save refused when an imported document is closed loses that document's import: the user
// is told, also when a document was done before and when it is the first, and the batch goes
// on with the next document.
TEST_F(CT_BatchTest, ARefusedSaveOnCloseIsReportedAndTheBatchGoesOn) {
    // The first close fails, then the second: the first document, then one after a done one.
    for (const std::string s_round : {"1", "2"}) {
        SCOPED_TRACE(s_round);
        co_Tagged("one.mtt", s_Story("O", "eins" + s_round));
        co_Tagged("two.mtt", s_Story("T", "zwei" + s_round));
        co_Tagged("three.mtt", s_Story("H", "drei" + s_round) + s_Story("E", "vier" + s_round));
        co_Host.v_FailOn("v_Close", s_round == "1" ? 1 : 2);
        v_Run(co_Import);
        const std::string s_name = s_round == "1" ? "three" : "two";
        const std::string s_log = s_BatchLog();
        EXPECT_NE(s_log.find(" been imported.\n\n\nError: v_Close failed: the host was told to "
                             "fail it\n\n"),
                  std::string::npos)
            << s_log;
        EXPECT_LT(s_log.find("Importing " + s_name + ".indd"), s_log.find("Error: "));
        EXPECT_EQ(s_log.substr(s_log.rfind('\n')),
                  "\nBatch finished but contains one or more errors (see above).");
        co_Host.v_CloseDocument("/docs/" + s_name + ".indd", false);
        EXPECT_EQ(s_Contents("/docs/three.indd", true) + s_Contents("/docs/two.indd", true) +
                      s_Contents("/docs/one.indd", true),
                  s_round == "1" ? "3|drei|zwei1|eins1|" : "drei2|vier2|zwei1|eins2|");
    }
    EXPECT_TRUE(co_Host.co_PushedListeners().empty());
}

TEST_F(CT_BatchTest, AListIsTakenFromItsFirstPathWhenItsCursorStandsNowhere) {
    co_Host.v_PutDocument("/docs/empty.indd", {});
    co_Files.v_GotoFirst();
    *co_Files.pco_GetCurrent() = "/docs/empty.indd";
    co_Files.b_AddLast(new CT_String("/docs/gone.indd"));
    co_Files.n_Count();  // to the last path, which is then removed
    delete co_Files.pco_GetCurrent();
    co_Files.v_RemoveCurrent();
    sco_Batch.v_SetBatch(CT_String((co_Folder / "").c_str()), co_Settings);
    sco_Batch.v_InitBatch(co_Export, co_Files);
    sco_Batch.v_BatchAll(co_Data);
    // A document without text boxes is passed over and counts as done.
    EXPECT_EQ(s_BatchLog(),
              ks_Separator + "Exporting three.indd...\n2 stories have been exported.\n\n" +
                  "Exporting two.indd...\n1 story has been exported.\n\n" + "\nBatch finished.");
    EXPECT_EQ(sco_Batch.n_GetFileDone(), 3u);
}

TEST(CT_BatchTaggedFileTest, TaggedFilesAreNamedAfterTheirDocumentInTheBatchFolder) {
    CT_MemoryHost co_host;
    CT_Host::sv_Install(&co_host);
    const CT_StoryListSettings co_settings;
    const CT_String co_document("/work/Brochure.indd");
    for (const char* pc_folder : {"T:\\Out", "T:\\Out\\"}) {
        sco_Batch.v_SetBatch(pc_folder, co_settings);
        EXPECT_EQ(sco_Batch.co_GetTaggedFile(co_document), "T:\\Out\\Brochure.mtt");
    }
    sco_Batch.v_SetBatch("", co_settings);
    EXPECT_EQ(sco_Batch.co_GetTaggedFile(co_document), "Brochure.mtt");
    CT_Host::sv_Install(nullptr);
}
