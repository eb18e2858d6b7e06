// The static host interface: without a backend every call raises e_NoHost.
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
}
}  // namespace
