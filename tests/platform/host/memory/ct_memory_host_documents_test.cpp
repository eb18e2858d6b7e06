// Documents and boxes: saving, closing with the close listener, and the handles the host
// hands out.
#include <string>
#include <vector>

#include "platform/host/ct_box_interface.h"
#include "platform/host/ct_document_interface.h"
#include "platform/host/ct_listener.h"
#include "tests/platform/host/memory/ct_memory_host_fixture.h"

namespace {
// Writes down which document was active each time the host reported a close.
class CT_ActiveRecorder : public CT_Listener {
  public:
    void operator()() override {
        void* p_Document = CT_DocumentInterface::p_GetCurrentDocument();
        co_Seen.push_back(std::string(CT_DocumentInterface::co_GetDocumentPath(p_Document).sv()));
        CT_DocumentInterface::v_Release(p_Document);
    }
    std::vector<std::string> co_Seen;
};

class MemoryHostDocuments : public CT_MemoryHostFixture {
  protected:
    void SetUp() override {
        CT_MemoryHostFixture::SetUp();
        CT_DocumentInterface::sv_SetCloseDocumentListener(&co_Listener);
        for (const char* pc_Path : {"/d/a.indd", "/d/b.indd", "/d/c.indd"}) {
            co_Host.v_PutDocument(pc_Path, {co_Box("A", "alpha"), co_Box("B", "beta")});
        }
    }
    void TearDown() override {
        CT_DocumentInterface::sv_SetCloseDocumentListener(nullptr);
        CT_MemoryHostFixture::TearDown();
    }

    std::string s_ActivePath() {
        void* p_Document = CT_DocumentInterface::p_GetCurrentDocument();
        if (p_Document == nullptr) {
            return "none";
        }
        std::string s_Path(CT_DocumentInterface::co_GetDocumentPath(p_Document).sv());
        CT_DocumentInterface::v_Release(p_Document);
        return s_Path;
    }

    CT_ActiveRecorder co_Listener;
};

TEST_F(MemoryHostDocuments, ListenerSeesClosingDocumentActiveThenMostRecentOtherTakesOver) {
    co_Host.v_OpenDocument("/d/a.indd");
    co_Host.v_OpenDocument("/d/b.indd");
    co_Host.v_OpenDocument("/d/c.indd");
    co_Host.v_Activate("/d/a.indd");
    void* p_B = CT_DocumentInterface::p_IsDocumentOpen(CT_String("/d/b.indd"));

    CT_DocumentInterface::v_Close(p_B, 0);  // not the active one
    EXPECT_EQ(s_ActivePath(), "/d/a.indd");
    co_Host.v_CloseDocument("/d/a.indd", false);
    EXPECT_EQ(s_ActivePath(), "/d/c.indd");
    co_Host.v_CloseDocument("/d/c.indd", true);
    EXPECT_EQ(s_ActivePath(), "none");
    EXPECT_EQ(co_Listener.co_Seen,
              (std::vector<std::string>{"/d/b.indd", "/d/a.indd", "/d/c.indd"}));

    // The handle outlives its document: its path stays, the live operations refuse.
    EXPECT_EQ(CT_DocumentInterface::co_GetDocumentPath(p_B), "/d/b.indd");
    EXPECT_EQ(eo_ErrorOf([&] { CT_DocumentInterface::v_Save(p_B); }), e_UnknownDocument);
    EXPECT_EQ(eo_ErrorOf([&] { CT_DocumentInterface::v_Close(p_B, 0); }), e_UnknownDocument);
    CT_DocumentInterface::v_Release(p_B);
    EXPECT_EQ(co_Host.n_LiveDocumentHandles(), 0);
}

TEST_F(MemoryHostDocuments, EveryBoxHandleIsNewAndCountedUntilReleasedOnce) {
    co_Host.v_OpenDocument("/d/a.indd");
    co_Host.v_OpenDocument("/d/b.indd");
    CT_DocumentInterface::v_GenerateBoxList(0);
    void* p_First = CT_DocumentInterface::p_GetCurrentBox();
    void* p_Second = CT_DocumentInterface::p_GetCurrentBox();
    CT_DocumentInterface::b_NextTextBox();
    void* p_Other = CT_DocumentInterface::p_GetCurrentBox();
    co_Host.v_Activate("/d/a.indd");
    CT_DocumentInterface::v_GenerateBoxList(0);
    void* p_SameKeyElsewhere = CT_DocumentInterface::p_GetCurrentBox();

    EXPECT_NE(p_First, p_Second);
    EXPECT_TRUE(CT_BoxInterface::sb_IsEqual(p_First, p_Second));
    EXPECT_FALSE(CT_BoxInterface::sb_IsEqual(p_First, p_Other));
    EXPECT_FALSE(CT_BoxInterface::sb_IsEqual(p_First, p_SameKeyElsewhere));
    EXPECT_EQ(co_Host.n_LiveBoxHandles(), 4);

    void* p_Copy = p_First;
    CT_BoxInterface::sv_ReleaseBox(p_First);
    CT_BoxInterface::sv_ReleaseBox(p_Copy);
    EXPECT_EQ(co_Host.n_LiveBoxHandles(), 3);
    EXPECT_EQ(co_Host.n_DoubleReleases(), 1);
    // A released handle is still recognised, and refused.
    EXPECT_EQ(eo_ErrorOf([&] { CT_BoxInterface::sco_GetKey(p_Copy); }), e_UnknownDocument);
    for (void** pp_Box : {&p_Second, &p_Other, &p_SameKeyElsewhere}) {
        CT_BoxInterface::sv_ReleaseBox(*pp_Box);
    }
    EXPECT_EQ(co_Host.n_LiveBoxHandles(), 0);
    EXPECT_EQ(co_Host.n_LiveDocumentHandles(), 0);
}
}  // namespace
