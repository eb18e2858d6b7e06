// The static host interface: every call reaches the installed backend with its arguments, and
// without a backend every call raises e_NoHost.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/common/ct_errors.h"
#include "platform/host/ct_basic_interface.h"
#include "platform/host/ct_box_interface.h"
#include "platform/host/ct_document_interface.h"
#include "platform/host/ct_host.h"
#include "platform/host/ct_listener.h"
#include "platform/host/ct_parent_progress_listener.h"
#include "platform/host/ct_progress_listener.h"
#include "platform/host/memory/ct_memory_host.h"

namespace {
using Lines = std::vector<std::string>;

class CT_IdleListener : public CT_Listener {
  public:
    void operator()() override {}
};

et_ErrorCode eo_ErrorOf(const std::function<void()>& co_Call) {
    try {
        co_Call();
    } catch (et_ErrorCode eo_Code) {
        return eo_Code;
    }
    return e_NoError;
}

TEST(HostInterface, EveryFamilyRaisesNoHostWithoutBackend) {
    CT_Host::sv_Install(nullptr);
    CT_IdleListener co_Listener;
    void* p_Handle = nullptr;
    CT_String co_Text;
    const std::vector<std::function<void()>> co_Calls = {
        [] { CT_DocumentInterface::p_GetCurrentDocument(); },
        [&] { CT_DocumentInterface::v_Release(p_Handle); },
        [] { CT_DocumentInterface::v_GenerateBoxList(0); },
        [&] { CT_BoxInterface::sb_GetContent(co_Text, p_Handle, 20, 1, 0); },
        [] { CT_BoxInterface::sn_GetStoryCounter(); },
        [&] { CT_BasicInterface::v_GetTaggedExtension(co_Text); },
        [] { CT_ProgressListener::sb_IsCancel(); },
        [] { CT_ProgressListener::spco_GetProgressListener(); },
        [] { CT_ParentProgressListener::spco_GetProgressListener(); },
        [&] { CT_Listener::sv_Push(&co_Listener); },
        [&] { co_Listener.v_StartCounting(1); },
    };
    for (std::size_t n = 0; n < co_Calls.size(); ++n) {
        CT_Errors::v_ResetError();
        EXPECT_EQ(eo_ErrorOf(co_Calls[n]), e_NoHost) << "call " << n;
        EXPECT_EQ(CT_Errors::set_GetLastError(), e_NoHost) << "call " << n;
        EXPECT_FALSE(CT_Errors::cco_GetLastError().empty()) << "call " << n;
    }
    // The close listener is the interface's own, so it needs no backend.
    CT_DocumentInterface::sv_SetCloseDocumentListener(&co_Listener);
    EXPECT_EQ(CT_DocumentInterface::spco_GetCloseDocumentListener(), &co_Listener);
    CT_DocumentInterface::sv_SetCloseDocumentListener(nullptr);
}

TEST(HostInterface, CallsReachTheInstalledBackendWithTheirArguments) {
    CT_MemoryHost co_First;
    CT_MemoryHost co_Second;
    co_First.v_PutDocument("/d/a.indd", {});
    CT_Host::sv_Install(&co_First);

    void* p_Document = CT_DocumentInterface::p_Open(CT_String("/d/a.indd"), 7);
    CT_DocumentInterface::v_Close(p_Document, 1);
    CT_DocumentInterface::v_Release(p_Document);
    EXPECT_EQ(p_Document, nullptr);  // the backend's reset reaches the caller's pointer
    CT_String co_Extension;
    CT_BasicInterface::v_GetTaggedExtension(co_Extension);
    EXPECT_EQ(std::string(co_Extension.sv()), ".mtt");
    CT_IdleListener co_Listener;
    co_Listener.v_StartCounting(1);
    EXPECT_EQ(co_First.co_Journal(),
              (Lines{"p_Open /d/a.indd 7", "v_Close /d/a.indd 1", "v_Release /d/a.indd",
                     "co_GetTaggedExtension", "v_StartCounting 1"}));

    CT_Host::sv_Install(&co_Second);
    CT_Listener::sv_Push(&co_Listener);
    EXPECT_EQ(co_Second.co_PushedListeners(), (std::vector<CT_Listener*>{&co_Listener}));
    EXPECT_EQ(co_First.co_Journal().size(), 5u);
    CT_Host::sv_Install(nullptr);
}

TEST(HostInterface, DestroyingTheInstalledHostUninstallsIt) {
    {
        CT_MemoryHost co_Host;
        CT_Host::sv_Install(&co_Host);
    }
    EXPECT_EQ(CT_Host::spco_GetBackend(), nullptr);
    EXPECT_EQ(eo_ErrorOf([] { CT_BoxInterface::sn_GetStoryCounter(); }), e_NoHost);
}
}  // namespace
