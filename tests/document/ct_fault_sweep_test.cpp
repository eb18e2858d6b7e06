// Every host call of a run fails in turn, and the user cancels at every poll in turn: export,
// import, both entry points, a batch of three imports, a story order check, and an export to
// XLIFF and an import from it as the command makes them (its converter; the reader and the
// tagged file written from what it reads). Each run starts from the same fresh state and must
// end in one of the states a user can live with: the old tagged or XLIFF file or the complete
// new one, every story either old or translated, one error line or the cancel line, no handle
// left given out, no intermediate file left, nothing raised past the operation's own boundary.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "batch/ct_batch.h"
#include "batch/ct_batch_action.h"
#include "exchange/ct_tagged_file.h"
#include "exchange/ct_xliff_placement.h"
#include "exchange/ct_xliff_reader.h"
#include "exchange/ct_xliff_writer.h"
#include "operations/ct_xliff_converter.h"
#include "platform/host/idml/ct_idml_host.h"
#include "tests/document/ct_kernel_fixture.h"

namespace {

enum et_Operation {
    e_Export,
    e_Import,
    e_EntryExport,
    e_EntryImport,
    e_Batch,
    e_Check,
    e_XliffExport,
    e_XliffImport
};
enum et_Mode { e_Fail, e_Cancel };

const char* const kpc_Failed = "failed: the host was told to fail it";

class CT_ImportAction : public CT_BatchAction {
  public:
    int b_Execute(const CT_String& co_Tagged, CT_ProcessData& co_Data) override {
        return pco_Document->b_Import(co_Tagged, co_Data);
    }
    int b_IsSaveNeeded() override { return 1; }
};

// One fresh host with four documents and their tagged files, installed for one run.
class CT_World {
  public:
    static constexpr const char* spc_Main = "/docs/brochure.indd";

    explicit CT_World(et_Operation eo_Operation) : co_Format(sco_Format(eo_Operation)) {
        CT_Host::sv_Install(&co_Host);
        co_Host.v_PutDocument(spc_Main, {co_Box("A", 1, 10, "Hello"), co_Box("B", 1, 50, "World"),
                                         co_Box("C", 2, 10, "Third")});
        co_Folder.v_Put("out.mtt", "the old tagged file");
        co_Folder.v_Put("in.mtt", s_File({{"C", "Dritte"}, {"A", "Hallo"}, {"B", "Welt"}}));
        co_Folder.v_Put("out.xlf", "the old XLIFF file");
        co_Folder.v_Put("in.xlf", s_Xliff({{"C", "Dritte"}, {"A", "Hallo"}, {"B", "Welt"}}));
        for (const char* pc_Name : {"one", "two", "three"}) {
            const std::string s_Path = std::string("/docs/") + pc_Name + ".indd";
            co_Host.v_PutDocument(s_Path, {co_Box("X", 1, 0, "old"), co_Box("Y", 1, 9, "old")});
            co_Folder.v_Put(std::string(pc_Name) + ".mtt", s_File({{"Y", "new"}, {"X", "new"}}));
            co_Files.b_AddLast(new CT_String(s_Path.c_str()));
        }
    }
    ~CT_World() {
        co_Files.v_DestroyAll();
        CT_Host::sv_Install(nullptr);
        CT_Errors::v_ResetError();
    }

    static std::string s_File(const std::vector<std::pair<std::string, std::string>>& co_Stories) {
        std::string s_File = CT_MemoryHost::spc_OpenTag;
        for (const auto& co_Story : co_Stories) {
            s_File += "<STORY NAME=\"" + co_Story.first + "\" LOCATION=\"P1\">" + co_Story.second +
                      "</STORY>\n\n\n";
        }
        return s_File + CT_MemoryHost::spc_CloseTag;
    }
    // An export to XLIFF writes a tagged work file and has it converted.
    static CT_StoryFormatSettings sco_Format(et_Operation eo_Operation) {
        CT_StoryFormatSettings co_format;
        if (eo_Operation == e_XliffExport) {
            co_format.v_SetTaggedTextFormat(CT_StoryFormatSettings::e_QuarvelTaggedText);
        }
        return co_format;
    }

    // A translated XLIFF file as a translation tool gives it back: targets in every unit.
    static std::string s_Xliff(const std::vector<std::pair<std::string, std::string>>& co_Stories) {
        CT_XliffWriter co_writer({"brochure.indd", "en", "de", true});
        for (const auto& co_Story : co_Stories) {
            co_writer.v_AddStory(co_Story.first, "P1", co_Story.second + "\n", {});
        }
        return co_writer.s_Finish();
    }
    CT_String co_In(const char* pc_Name) const { return CT_String((co_Folder / pc_Name).c_str()); }

    // Opens the main document as the user would, with its story order checked, and for the
    // check changes the document behind it: B goes, D comes.
    void v_Prepare(et_Operation eo_Operation) {
        if (eo_Operation == e_XliffExport) {
            // The command's converter; the IDML host it asks about codes knows none here, so
            // every code stays inline.
            co_Converter.emplace(co_CodeSource, CT_XliffWriter::CT_Options{"", "en", "de", true});
        }
        if (eo_Operation == e_EntryExport || eo_Operation == e_EntryImport ||
            eo_Operation == e_Batch) {
            return;
        }
        co_Host.v_OpenDocument(spc_Main);
        pco_Document = CT_Document::spco_GetCurrentDocument(co_Settings);
        pco_Document->v_CheckStoryOrder();
        if (eo_Operation == e_Check) {
            std::vector<CT_MemoryBox>& co_Boxes = co_Host.co_OpenBoxes(spc_Main);
            co_Boxes.erase(co_Boxes.begin() + 1);
            co_Boxes.push_back(co_Box("D", 1, 30, "New"));
        }
    }

    void v_Run(et_Operation eo_Operation) {
        switch (eo_Operation) {
            case e_Export:
                pco_Document->b_Export(co_In("out.mtt"), co_Data);
                break;
            case e_Import:
                pco_Document->b_Import(co_In("in.mtt"), co_Data);
                break;
            case e_EntryExport:
                CT_Document::sb_Export(spc_Main, co_In("out.mtt"), co_Settings, co_Data);
                break;
            case e_EntryImport:
                CT_Document::sb_Import(spc_Main, co_In("in.mtt"), co_Settings, co_Data);
                break;
            case e_Batch:
                sco_Batch.v_SetBatch(CT_String((co_Folder / "").c_str()), co_Settings);
                co_Files.v_GotoFirst();
                sco_Batch.v_InitBatch(co_Action, co_Files);
                sco_Batch.v_BatchAll(co_Data);
                break;
            case e_Check:
                pco_Document->v_CheckStoryOrder();
                break;
            case e_XliffExport:
                pco_Document->b_Export(co_In("out.xlf"), co_Data);
                break;
            case e_XliffImport:
                v_ImportXliff();
                break;
        }
    }

    // What the command does with an XLIFF file to import: reads it, writes the tagged file of
    // what it read where intermediate files go, imports that and removes it.
    void v_ImportXliff() {
        const CT_XliffReader co_reader(co_Folder.co_Get("in.xlf"));
        // Laid over the stories the file was exported from: their sources.
        std::vector<CT_XliffFinding> co_findings;
        const std::vector<CT_TaggedStory> co_stories = CT_XliffPlacement::sco_PlaceAll(
            co_reader,
            [&](const std::string& s_Key, std::vector<CT_StoryLayout>& co_Layouts) {
                const std::map<std::string, std::string> co_sources = {
                    {"C", "Dritte\n"}, {"A", "Hallo\n"}, {"B", "Welt\n"}};
                co_Layouts.emplace_back(co_sources.at(s_Key), CT_StoryLayout::CT_Codes());
                return true;
            },
            co_findings);
        const std::string s_tagged = CT_TaggedStoryFile::s_Write(
            co_stories, CT_MemoryHost::spc_OpenTag, CT_MemoryHost::spc_CloseTag);
        CT_Files co_file;
        co_file.v_Open();
        co_file.v_Write(s_tagged.data(), s_tagged.size());
        co_file.v_Close();
        struct CT_Remove {
            CT_Files& co_File;
            ~CT_Remove() { co_File.v_Delete(); }
        } co_remove{co_file};
        pco_Document->b_Import(co_file.cco_GetFullPath(), co_Data);
    }

    std::string s_Order() { return s_Keys(*pco_Document->pco_GetStoryOrder(0)); }

    // Every box of every document, saved and (when open) live: "path key content" lines.
    std::vector<std::string> co_Stories() {
        std::vector<std::string> co_Lines;
        for (const char* pc_Path :
             {spc_Main, "/docs/one.indd", "/docs/two.indd", "/docs/three.indd"}) {
            for (const CT_MemoryBox& co_box : co_Host.co_SavedBoxes(pc_Path)) {
                co_Lines.push_back(std::string(pc_Path) + " " + co_box.s_Key + " " +
                                   co_box.s_Content);
            }
            if (co_Host.b_IsOpen(pc_Path)) {
                for (const CT_MemoryBox& co_box : co_Host.co_OpenBoxes(pc_Path)) {
                    co_Lines.push_back(std::string(pc_Path) + " live " + co_box.s_Key + " " +
                                       co_box.s_Content);
                }
            }
        }
        return co_Lines;
    }

    // Closes what is open, so that the registry's documents go and give their handles back.
    void v_CloseAll() {
        for (const char* pc_Path :
             {spc_Main, "/docs/one.indd", "/docs/two.indd", "/docs/three.indd"}) {
            if (co_Host.b_IsOpen(pc_Path)) {
                co_Host.v_CloseDocument(pc_Path, false);
            }
        }
    }

    CT_MemoryHost co_Host;
    std::ostringstream co_Out;
    CT_LogStream co_Log{co_Out};
    CT_StoryListSettings co_Settings;
    CT_StoryFormatSettings co_Format;
    CT_ProcessData co_Data{co_Log, co_Format, CT_String("Translation")};
    CT_TempFolder co_Folder;
    CT_OwnTemporaryFolder co_Temporary;  // after co_Folder, which must not lie in it
    CT_LinkedList<CT_String> co_Files;
    CT_ImportAction co_Action;
    CT_Document* pco_Document = nullptr;
    CT_IdmlHost co_CodeSource;  // never installed
    std::optional<CT_XliffConverter> co_Converter;
};

// What a complete run leaves, and how many host calls and cancel polls it makes.
struct CT_FullRun {
    std::vector<std::string> co_Journal;
    unsigned n_Polls = 0;
    std::string s_Tagged;
    std::string s_Xliff;
    std::vector<std::string> co_Stories;
    std::string s_Order;
};

struct CT_SweepCase {
    et_Operation eo_Operation;
    et_Mode eo_Mode;
    const char* pc_Name;
};

class FaultSweep : public ::testing::TestWithParam<CT_SweepCase> {
  protected:
    et_Operation eo_Op() const { return GetParam().eo_Operation; }

    CT_FullRun co_Record() {
        CT_World co_World(eo_Op());
        co_World.v_Prepare(eo_Op());
        co_World.co_Host.v_ClearJournal();
        const unsigned n_PollsBefore = co_World.co_Host.n_CancelPolls();
        co_World.v_Run(eo_Op());
        CT_FullRun co_Run{co_World.co_Host.co_Journal(),
                          co_World.co_Host.n_CancelPolls() - n_PollsBefore,
                          co_World.co_Folder.co_Get("out.mtt"),
                          co_World.co_Folder.co_Get("out.xlf"),
                          co_World.co_Stories(),
                          ""};
        if (eo_Op() == e_Check) {
            co_Run.s_Order = co_World.s_Order();
        }
        co_World.v_CloseAll();
        return co_Run;
    }

    // One run with the fault or the cancel at index n (from 1) and every check on what it left.
    void v_RunOnce(unsigned n, const CT_FullRun& co_Full, const std::vector<std::string>& co_Old) {
        CT_World co_World(eo_Op());
        co_World.v_Prepare(eo_Op());
        const std::string s_OrderBefore = eo_Op() == e_Check ? co_World.s_Order() : "";
        const std::string s_Failing =
            GetParam().eo_Mode == e_Fail
                ? co_Full.co_Journal[n - 1].substr(0, co_Full.co_Journal[n - 1].find(' '))
                : "";
        SCOPED_TRACE("index " + std::to_string(n) + " " + s_Failing);
        if (GetParam().eo_Mode == e_Fail) {
            co_World.co_Host.v_FailOn("*", n);
        } else {
            co_World.co_Host.v_CancelAfterPolls(co_World.co_Host.n_CancelPolls() + n - 1);
        }
        bool b_Escaped = false;
        try {
            co_World.v_Run(eo_Op());
        } catch (et_ErrorCode eo_Code) {
            b_Escaped = true;
            EXPECT_EQ(eo_Code, e_HostFailure);
        }
        v_CheckEscape(b_Escaped, s_Failing);
        if (eo_Op() == e_Batch && b_Escaped) {
            // A batch that passed an error on waits at that document's close step; the caller
            // goes on with it.
            EXPECT_NO_THROW(sco_Batch.v_BatchAll(co_World.co_Data));
        }
        v_CheckLog(co_World.co_Out.str());
        EXPECT_EQ(co_World.co_Folder.co_Names(),
                  (std::set<std::string>{"in.mtt", "in.xlf", "one.mtt", "out.mtt", "out.xlf",
                                         "three.mtt", "two.mtt"}));
        EXPECT_TRUE(co_World.co_Temporary.b_HoldsNoFile());
        const std::string s_Tagged = co_World.co_Folder.co_Get("out.mtt");
        EXPECT_TRUE(s_Tagged == "the old tagged file" || s_Tagged == co_Full.s_Tagged) << s_Tagged;
        const std::string s_Xliff = co_World.co_Folder.co_Get("out.xlf");
        EXPECT_TRUE(s_Xliff == "the old XLIFF file" || s_Xliff == co_Full.s_Xliff) << s_Xliff;
        if (eo_Op() == e_Check) {
            const std::string s_Order = co_World.s_Order();
            EXPECT_EQ(s_Order, b_Escaped ? s_OrderBefore : co_Full.s_Order);
        }
        v_CheckStories(co_World.co_Stories(), co_Full.co_Stories, co_Old);
        co_World.v_CloseAll();
        // A host that refused to take a handle back still holds it.
        EXPECT_EQ(co_World.co_Host.n_LiveBoxHandles(), s_Failing == "v_ReleaseBox" ? 1 : 0);
        EXPECT_EQ(co_World.co_Host.n_LiveDocumentHandles(), s_Failing == "v_Release" ? 1 : 0);
        EXPECT_EQ(co_World.co_Host.n_DoubleReleases(), 0);
        EXPECT_TRUE(co_World.co_Host.co_PushedListeners().empty() || s_Failing == "v_PopListener");
    }

    // Export and import catch everything but the progress caption and the outcome count; the
    // entry points, the check and a batch with no document done yet pass errors on.
    void v_CheckEscape(bool b_Escaped, const std::string& s_Failing) const {
        if (GetParam().eo_Mode == e_Cancel) {
            EXPECT_FALSE(b_Escaped);
            return;
        }
        static const std::set<std::string> sco_Outside = {
            "co_GetDocumentPath", "pco_GetProgressListener", "n_GetStoryCounter"};
        if (eo_Op() == e_Export || eo_Op() == e_Import || eo_Op() == e_XliffExport ||
            eo_Op() == e_XliffImport) {
            EXPECT_TRUE(!b_Escaped || sco_Outside.count(s_Failing) != 0);
        }
    }

    // At most one error line, naming the failed call; a cancel is reported once.
    void v_CheckLog(const std::string& s_Log) const {
        std::istringstream co_Lines(s_Log);
        int n_Errors = 0;
        int n_Cancels = 0;
        for (std::string s_Line; std::getline(co_Lines, s_Line);) {
            if (s_Line.rfind("Error: ", 0) == 0) {
                ++n_Errors;
                EXPECT_NE(s_Line.find(kpc_Failed), std::string::npos) << s_Line;
            }
            n_Cancels += s_Line == "Export canceled." || s_Line == "Import canceled.";
        }
        EXPECT_LE(n_Errors, 1) << s_Log;
        if (GetParam().eo_Mode == e_Cancel) {
            EXPECT_EQ(n_Errors, 0) << s_Log;
            const bool b_Quiet =
                s_Log.empty() && (eo_Op() == e_EntryExport || eo_Op() == e_EntryImport);
            EXPECT_TRUE(b_Quiet || n_Cancels == 1 ||
                        s_Log.find("Batch canceled.") != std::string::npos)
                << s_Log;
        }
    }

    // Every story is either as it was or as translated, never anything else (a live copy may
    // hold what either state's saved copy holds); a cancelled import by path leaves the saved
    // document as it was.
    void v_CheckStories(const std::vector<std::string>& co_Now,
                        const std::vector<std::string>& co_Full,
                        const std::vector<std::string>& co_Old) const {
        const auto s_Saved = [](std::string s_Story) {
            const std::size_t n_Live = s_Story.find(" live ");
            return n_Live == std::string::npos ? s_Story : s_Story.erase(n_Live, 5);
        };
        std::set<std::string> co_Allowed;
        for (const std::vector<std::string>* pco_State : {&co_Old, &co_Full}) {
            for (const std::string& s_Story : *pco_State) {
                co_Allowed.insert(s_Saved(s_Story));
            }
        }
        for (const std::string& s_Story : co_Now) {
            EXPECT_EQ(co_Allowed.count(s_Saved(s_Story)), 1u) << s_Story;
        }
        if (GetParam().eo_Mode == e_Cancel && eo_Op() == e_EntryImport) {
            EXPECT_EQ(co_Now, co_Old);
        }
    }
};

TEST_P(FaultSweep, EveryRunEndsInAStateTheUserCanLiveWith) {
    const std::vector<std::string> co_Old = [this] {
        CT_World co_World(eo_Op());
        co_World.v_Prepare(eo_Op());
        std::vector<std::string> co_Stories = co_World.co_Stories();
        co_World.v_CloseAll();
        return co_Stories;
    }();
    const CT_FullRun co_Full = co_Record();
    const unsigned n_Indexes = GetParam().eo_Mode == e_Fail
                                   ? static_cast<unsigned>(co_Full.co_Journal.size())
                                   : co_Full.n_Polls;
    ASSERT_GT(n_Indexes, 0u);
    // A sweep over a run that left nothing new would prove nothing.
    if (eo_Op() == e_XliffExport) {
        ASSERT_NE(co_Full.s_Xliff.find("<trans-unit"), std::string::npos) << co_Full.s_Xliff;
    }
    if (eo_Op() == e_XliffImport) {
        ASSERT_NE(co_Full.co_Stories, co_Old);
    }
    RecordProperty("indexes", static_cast<int>(n_Indexes));
    for (unsigned n = 1; n <= n_Indexes; ++n) {
        v_RunOnce(n, co_Full, co_Old);
        if (HasFailure()) {
            break;  // one failing index says enough; the rest would repeat it
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Operations, FaultSweep,
    ::testing::Values(CT_SweepCase{e_Export, e_Fail, "ExportFails"},
                      CT_SweepCase{e_Export, e_Cancel, "ExportCancels"},
                      CT_SweepCase{e_Import, e_Fail, "ImportFails"},
                      CT_SweepCase{e_Import, e_Cancel, "ImportCancels"},
                      CT_SweepCase{e_EntryExport, e_Fail, "EntryExportFails"},
                      CT_SweepCase{e_EntryExport, e_Cancel, "EntryExportCancels"},
                      CT_SweepCase{e_EntryImport, e_Fail, "EntryImportFails"},
                      CT_SweepCase{e_EntryImport, e_Cancel, "EntryImportCancels"},
                      CT_SweepCase{e_Batch, e_Fail, "BatchFails"},
                      CT_SweepCase{e_Batch, e_Cancel, "BatchCancels"},
                      CT_SweepCase{e_Check, e_Fail, "CheckFails"},
                      CT_SweepCase{e_XliffExport, e_Fail, "XliffExportFails"},
                      CT_SweepCase{e_XliffExport, e_Cancel, "XliffExportCancels"},
                      CT_SweepCase{e_XliffImport, e_Fail, "XliffImportFails"},
                      CT_SweepCase{e_XliffImport, e_Cancel, "XliffImportCancels"}),
    [](const ::testing::TestParamInfo<CT_SweepCase>& co_Info) { return co_Info.param.pc_Name; });

}  // namespace
