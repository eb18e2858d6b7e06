// A memory host installed for one test, with one open document, and text boxes made the way
// the kernel makes them (from the host's box list). After each test no box handle may be left
// given out, and none may have been released twice.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/host/ct_document_interface.h"
#include "platform/host/ct_host.h"
#include "platform/host/memory/ct_memory_host.h"
#include "textbox/ct_text_box.h"

inline CT_MemoryBox so_OnPage(const std::string& s_Key, unsigned n_Page, int i_X, int i_Y,
                              const std::string& s_Content = "") {
    return CT_MemoryBox{s_Key, n_Page, false, false, "", i_X, i_Y, s_Content};
}
inline CT_MemoryBox so_OnMaster(const std::string& s_Key, unsigned n_Page,
                                const std::string& s_Spread) {
    return CT_MemoryBox{s_Key, n_Page, true, false, s_Spread, 0, 0, ""};
}
inline CT_MemoryBox so_OnPasteBoard(const std::string& s_Key, bool b_AlsoOnMaster = false) {
    return CT_MemoryBox{s_Key, 1, b_AlsoOnMaster, true, "", 0, 0, ""};
}

class CT_HostFixture : public ::testing::Test {
  protected:
    static constexpr const char* spc_Path = "/docs/story.indd";

    void SetUp() override { CT_Host::sv_Install(&co_Host); }
    void TearDown() override {
        EXPECT_EQ(co_Host.n_LiveBoxHandles(), 0);
        EXPECT_EQ(co_Host.n_DoubleReleases(), 0);
        CT_Host::sv_Install(nullptr);
    }

    void v_OpenDocument(const std::vector<CT_MemoryBox>& co_Boxes) {
        co_Host.v_PutDocument(spc_Path, co_Boxes);
        co_Host.v_OpenDocument(spc_Path);
    }
    std::vector<CT_MemoryBox>& co_LiveBoxes() { return co_Host.co_OpenBoxes(spc_Path); }

    // One cached text box per box of the host's list, in the host's order.
    std::vector<std::unique_ptr<CT_TextBox>> co_TakeBoxes() {
        std::vector<std::unique_ptr<CT_TextBox>> co_boxes;
        CT_DocumentInterface::v_GenerateBoxList(0);
        if (CT_DocumentInterface::b_IsBoxListEmpty()) {
            return co_boxes;
        }
        CT_DocumentInterface::v_ResetBoxList();
        do {
            co_boxes.emplace_back(new CT_TextBox(CT_DocumentInterface::p_GetCurrentBox()));
        } while (CT_DocumentInterface::b_NextTextBox());
        return co_boxes;
    }

    CT_MemoryHost co_Host;
};
