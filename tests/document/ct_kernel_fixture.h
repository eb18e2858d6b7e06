// A memory host installed for one test with the document /docs/brochure.indd saved in it, a
// log captured in memory, a processing context and a fresh folder for tagged files. After each
// test no box or document handle may be left given out and none released twice: every
// document the test made has been destroyed (registry documents by closing them in the host).
#pragma once

#include <gtest/gtest.h>

#include <stdlib.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "document/ct_document.h"
#include "platform/common/ct_errors.h"
#include "platform/host/ct_host.h"
#include "platform/host/memory/ct_memory_host.h"
#include "storyorder/ct_story_order.h"
#include "tests/platform/common/ct_temp_folder.h"

inline CT_MemoryBox co_Box(const std::string& s_Key, unsigned n_Page, int i_Y,
                           const std::string& s_Content) {
    CT_MemoryBox co_box;
    co_box.s_Key = s_Key;
    co_box.n_Page = n_Page;
    co_box.i_Y = i_Y;
    co_box.s_Content = s_Content;
    return co_box;
}

// The keys of a story order, first to last.
inline std::string s_Keys(CT_StoryOrder& co_Order) {
    std::string s_keys;
    if (co_Order.b_IsEmpty()) {
        return s_keys;
    }
    co_Order.v_GotoFirst();
    do {
        s_keys += co_Order.pco_GetCurrent()->cco_GetKey().sv();
    } while (co_Order.b_Next());
    return s_keys;
}

// Points the system's temporary folder, where intermediate files go, at a folder of its own
// for as long as it lives, so that a run can be seen to leave none.
class CT_OwnTemporaryFolder {
  public:
    CT_OwnTemporaryFolder() {
        const char* pc_old = std::getenv("TMPDIR");
        b_Had = pc_old != nullptr;
        s_Old = b_Had ? pc_old : "";
        ::setenv("TMPDIR", co_Folder.co_Path.c_str(), 1);
    }
    ~CT_OwnTemporaryFolder() {
        b_Had ? ::setenv("TMPDIR", s_Old.c_str(), 1) : ::unsetenv("TMPDIR");
    }
    // Whether no file is left in it: the folders of the run that held the files may stay
    // while the process lives.
    bool b_HoldsNoFile() const {
        for (const auto& co_entry :
             std::filesystem::recursive_directory_iterator(co_Folder.co_Path)) {
            if (!co_entry.is_directory()) {
                return false;
            }
        }
        return true;
    }
    CT_TempFolder co_Folder;

  private:
    bool b_Had = false;
    std::string s_Old;
};

class CT_KernelFixture : public ::testing::Test {
  protected:
    // A and B on page 1 (A above B), C on page 2: top-down order A, B, C.
    static constexpr const char* spc_Document = "/docs/brochure.indd";
    static constexpr const char* spc_OpenTag = "<MEMORY-TAGGED-TEXT 1.0>";
    static constexpr const char* spc_CloseTag = "</MEMORY-TAGGED-TEXT>";

    void SetUp() override {
        CT_Host::sv_Install(&co_Host);
        co_Host.v_PutDocument(spc_Document,
                              {co_Box("A", 1, 10, "Hello"), co_Box("B", 1, 50, "World"),
                               co_Box("C", 2, 10, "Third story")});
    }
    void TearDown() override {
        if (co_Host.b_IsOpen(spc_Document)) {
            co_Host.v_CloseDocument(spc_Document, false);  // drops its registry document
        }
        EXPECT_EQ(co_Host.n_LiveBoxHandles(), 0);
        EXPECT_EQ(co_Host.n_LiveDocumentHandles(), 0);
        EXPECT_EQ(co_Host.n_DoubleReleases(), 0);
        CT_Host::sv_Install(nullptr);
        CT_Errors::v_ResetError();
    }

    // One story framed as export writes it, and a tagged file holding stories.
    static std::string s_Story(const std::string& s_Key, const std::string& s_Content,
                               const std::string& s_Location = "P1") {
        return "<STORY NAME=\"" + s_Key + "\" LOCATION=\"" + s_Location + "\">" + s_Content +
               "</STORY>\n\n\n";
    }
    CT_String co_Tagged(const std::string& s_Name, const std::string& s_Stories) {
        co_Folder.v_Put(s_Name, spc_OpenTag + s_Stories + spc_CloseTag);
        return CT_String((co_Folder / s_Name).c_str());
    }
    // The contents of the boxes as "a|b|c|", of the open or of the saved document.
    std::string s_Contents(const std::string& s_Path, bool b_Saved = false) {
        std::string s_contents;
        for (const CT_MemoryBox& co_box :
             b_Saved ? co_Host.co_SavedBoxes(s_Path) : co_Host.co_OpenBoxes(s_Path)) {
            s_contents += co_box.s_Content + "|";
        }
        return s_contents;
    }
    std::string s_Log() const { return co_Out.str(); }
    void v_ClearLog() { co_Out.str(""); }
    int n_Calls(const std::string& s_Line) const {
        return std::count(co_Host.co_Journal().begin(), co_Host.co_Journal().end(), s_Line);
    }
    // The registry's document for the active document, with its story order checked.
    CT_Document* pco_Current() {
        CT_Document* pco_document = CT_Document::spco_GetCurrentDocument(co_Settings);
        pco_document->v_CheckStoryOrder();
        return pco_document;
    }

    CT_MemoryHost co_Host;
    std::ostringstream co_Out;
    CT_LogStream co_Log{co_Out};
    CT_StoryListSettings co_Settings;
    CT_StoryFormatSettings co_Format;
    CT_ProcessData co_Data{co_Log, co_Format, CT_String("Translation")};
    CT_TempFolder co_Folder;
};
