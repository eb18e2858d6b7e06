// One operating-system call made to fail while the object lives, for tests of what a failed
// write leaves behind. The hook is process-wide, so one at a time; the fault must outlive it.
#pragma once

#include <cstring>

#include "platform/common/ct_errors.h"
#include "platform/common/internal/ct_os_file.h"

struct CT_OsFault {
    const char* pc_Call;  // as the file layer names it: "write", "fsync", "rename"
    int i_Errno;
    et_ErrorCode eo_Expected;
};

class CT_FailingOsCall {
  public:
    explicit CT_FailingOsCall(const CT_OsFault& co_Fault) {
        rpco_Fault() = &co_Fault;
        CT_OsFile::sv_SetFaultHook(&si_Hook);
    }
    ~CT_FailingOsCall() {
        CT_OsFile::sv_SetFaultHook(nullptr);
        rpco_Fault() = nullptr;
    }
    CT_FailingOsCall(const CT_FailingOsCall&) = delete;
    CT_FailingOsCall& operator=(const CT_FailingOsCall&) = delete;

  private:
    static const CT_OsFault*& rpco_Fault() {
        static const CT_OsFault* spco_fault = nullptr;
        return spco_fault;
    }
    static int si_Hook(const char* pc_Call) {
        return std::strcmp(pc_Call, rpco_Fault()->pc_Call) == 0 ? rpco_Fault()->i_Errno : 0;
    }
};
