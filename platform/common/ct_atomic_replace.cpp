#include "platform/common/ct_atomic_replace.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/common/ct_error_code.h"
#include "platform/common/internal/ct_os_file.h"

CT_AtomicReplace::CT_AtomicReplace(const CT_String& co_Target) : co_Shown(co_Target) {
    i_Descriptor = CT_OsFile::si_CreateBeside(co_Target, s_Target, s_Temp, pco_Run);
}

CT_AtomicReplace::~CT_AtomicReplace() {
    v_CloseFd();
    if (!b_Committed) {
        ::unlink(s_Temp.c_str());
    }
}

void CT_AtomicReplace::v_CloseFd() {
    if (i_Descriptor >= 0) {
        ::close(i_Descriptor);
        i_Descriptor = -1;
    }
}

void CT_AtomicReplace::v_Fail(int i_Code, const char* pc_What, int i_Errno) {
    v_CloseFd();
    ::unlink(s_Temp.c_str());
    b_Committed = true;  // nothing is left to remove
    CT_OsFile::sv_Raise(static_cast<et_ErrorCode>(i_Code), pc_What, co_Shown, "", i_Errno);
}

void CT_AtomicReplace::v_Commit(bool b_Durable) {
    if (b_Durable && i_Descriptor < 0) {
        i_Descriptor = ::open(s_Temp.c_str(), O_RDONLY | O_CLOEXEC);
        if (i_Descriptor < 0) {
            v_Fail(e_FileWrite, "cannot write ", errno);
        }
    }
    if (b_Durable && CT_OsFile::si_Sync(i_Descriptor) != 0) {
        v_Fail(e_FileWrite, "cannot write ", errno);
    }
    if (i_Descriptor >= 0) {
        // Some file systems report a failed write only when the file is closed.
        const int i_Closed = ::close(i_Descriptor);
        i_Descriptor = -1;
        if (i_Closed != 0) {
            v_Fail(e_FileWrite, "cannot write ", errno);
        }
    }
    if (CT_OsFile::si_Rename(s_Temp, s_Target) != 0) {
        v_Fail(e_FileReplace, "cannot replace ", errno);
    }
    b_Committed = true;
    if (b_Durable) {
        CT_OsFile::sv_SyncFolder(CT_OsFile::sco_Folder(s_Target));
    }
}
