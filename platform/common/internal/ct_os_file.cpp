#include "platform/common/internal/ct_os_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/common/ct_errors.h"
#include "platform/common/ct_run_folder.h"

namespace {
CT_OsFile::CT_FaultHook gpf_FaultHook = nullptr;
std::string gs_BatchFolder;

// The errno the fault hook chooses for the call, 0 when it runs.
int i_Fault(const char* pc_Call) {
    const int i_errno = gpf_FaultHook != nullptr ? gpf_FaultHook(pc_Call) : 0;
    errno = i_errno;
    return i_errno;
}

// The file a write replaces: a symbolic link goes on naming the file it named.
std::string co_ResolveLink(const std::string& co_path) {
    struct stat co_info {};
    if (::lstat(co_path.c_str(), &co_info) != 0 || !S_ISLNK(co_info.st_mode)) {
        return co_path;
    }
    char* pc_real = ::realpath(co_path.c_str(), nullptr);
    if (pc_real == nullptr) {
        return co_path;
    }
    std::string co_real(pc_real);
    std::free(pc_real);
    return co_real;
}

// In the run's folder beside the target, so that the rename stays on one file system and a run
// killed before it leaves nothing a later run does not find.
std::string co_TempName(const std::string& co_target, const std::string& co_run) {
    static std::atomic<unsigned> sn_counter{0};
    // Cut so that the temporary's name stays within the system's limit when the target's does.
    std::string co_name = co_target.substr(co_target.rfind('/') + 1).substr(0, 200);
    return co_run + co_name + "." + std::to_string(sn_counter++) + ".tmp";
}
}  // namespace

std::string CT_OsFile::sco_OsPath(std::string_view co_Path) {
    const std::size_t n_folder = gs_BatchFolder.size();
    if (n_folder == 0 || co_Path.size() <= n_folder ||
        co_Path.compare(0, n_folder, gs_BatchFolder) != 0) {
        return std::string(co_Path);
    }
    std::string co_os(co_Path);
    co_os[n_folder - 1] = '/';
    return co_os;
}

void CT_OsFile::sv_SetBatchFolder(const std::string& co_Folder) {
    gs_BatchFolder = !co_Folder.empty() && co_Folder.back() == '\\' ? co_Folder : std::string();
}

std::string CT_OsFile::sco_Reason(int i_Errno) {
    switch (i_Errno) {
        case ENOSPC:
            return "the disk is full";
        case EDQUOT:
            return "the disk quota is used up";
        default:
            return std::strerror(i_Errno);
    }
}

std::string CT_OsFile::sco_Folder(const std::string& co_OsPath) {
    std::size_t n_slash = co_OsPath.rfind('/');
    if (n_slash == std::string::npos) {
        return ".";
    }
    return n_slash == 0 ? "/" : co_OsPath.substr(0, n_slash);
}

void CT_OsFile::sv_Raise(et_ErrorCode eo_Code, const char* pc_What, const CT_String& co_Path,
                         const char* pc_How, int i_Errno) {
    CT_String co_text = CT_String(pc_What) + "\"" + co_Path + "\"" + pc_How;
    if (i_Errno != 0) {
        co_text += ": ";
        co_text += sco_Reason(i_Errno).c_str();
    }
    CT_Errors::v_ThrowError(eo_Code, co_text);
}

int CT_OsFile::si_OpenForReading(const CT_String& co_Path) {
    int i_fd = ::open(sco_OsPath(co_Path.sv()).c_str(), O_RDONLY | O_CLOEXEC);
    if (i_fd < 0) {
        sv_Raise(e_FileOpen, "cannot open ", co_Path, " for reading", errno);
    }
    struct stat co_info {};
    if (::fstat(i_fd, &co_info) == 0 && S_ISDIR(co_info.st_mode)) {
        ::close(i_fd);
        sv_Raise(e_FileOpen, "cannot open ", co_Path, " for reading", EISDIR);
    }
    return i_fd;
}

int CT_OsFile::si_CreateBeside(const CT_String& co_Path, std::string& co_Target,
                               std::string& co_Temp, std::unique_ptr<CT_RunFolder>& pco_Run) {
    co_Target = co_ResolveLink(sco_OsPath(co_Path.sv()));
    struct stat co_info {};
    const bool b_exists = ::stat(co_Target.c_str(), &co_info) == 0;
    if (b_exists && S_ISDIR(co_info.st_mode)) {
        sv_Raise(e_FileOpen, "cannot open ", co_Path, " for writing", EISDIR);
    }
    pco_Run = std::make_unique<CT_RunFolder>(sco_Folder(co_Target));
    if (pco_Run->s_GetPath().empty()) {
        sv_Raise(e_FileOpen, "cannot open ", co_Path, " for writing", errno);
    }
    for (int i_try = 0;; ++i_try) {
        co_Temp = co_TempName(co_Target, pco_Run->s_GetPath());
        int i_fd = ::open(co_Temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (i_fd >= 0) {
            if (b_exists) {
                ::fchmod(i_fd, co_info.st_mode & 07777);
            }
            return i_fd;
        }
        if (errno != EEXIST || i_try == 100) {
            sv_Raise(e_FileOpen, "cannot open ", co_Path, " for writing", errno);
        }
    }
}

int CT_OsFile::si_CreateIntermediate(std::string& co_Path) {
    const std::string co_folder = CT_RunFolder::ss_Temporary();
    co_Path = co_folder + "intermediate-XXXXXX";
    int i_fd = ::mkstemp(&co_Path[0]);
    if (i_fd < 0) {
        sv_Raise(e_FileOpen, "cannot make an intermediate file in ", CT_String(co_folder), "",
                 errno);
    }
    ::fcntl(i_fd, F_SETFD, FD_CLOEXEC);
    return i_fd;
}

void CT_OsFile::sv_SetFaultHook(CT_FaultHook pf_Hook) {
    gpf_FaultHook = pf_Hook;
}

int CT_OsFile::si_Sync(int i_Fd) {
    return i_Fault("fsync") != 0 ? -1 : ::fsync(i_Fd);
}

int CT_OsFile::si_Rename(const std::string& co_From, const std::string& co_To) {
    return i_Fault("rename") != 0 ? -1 : ::rename(co_From.c_str(), co_To.c_str());
}

bool CT_OsFile::sb_WriteAll(int i_Fd, const char* pc_Data, std::size_t n_Length) {
    if (n_Length > 0 && i_Fault("write") != 0) {
        return false;
    }
    while (n_Length > 0) {
        ssize_t i_done = ::write(i_Fd, pc_Data, n_Length);
        if (i_done < 0 && errno == EINTR) {
            continue;
        }
        if (i_done <= 0) {
            if (i_done == 0) {
                errno = EIO;
            }
            return false;
        }
        pc_Data += i_done;
        n_Length -= static_cast<std::size_t>(i_done);
    }
    return true;
}

long long CT_OsFile::sn_ReadAt(int i_Fd, std::uint64_t n_Offset, char* pc_Into,
                               std::size_t n_Length) {
    std::size_t n_done = 0;
    while (n_done < n_Length) {
        const ssize_t i_read = ::pread(i_Fd, pc_Into + n_done, n_Length - n_done,
                                       static_cast<off_t>(n_Offset + n_done));
        if (i_read < 0 && errno == EINTR) {
            continue;
        }
        if (i_read < 0) {
            return -1;
        }
        if (i_read == 0) {
            break;
        }
        n_done += static_cast<std::size_t>(i_read);
    }
    return static_cast<long long>(n_done);
}

void CT_OsFile::sv_StartWriteback(int i_Fd, std::uint64_t n_From, std::uint64_t n_Length) {
#ifdef SYNC_FILE_RANGE_WRITE
    // A hint: whatever it fails at, the flush does.
    ::sync_file_range(i_Fd, static_cast<off_t>(n_From), static_cast<off_t>(n_Length),
                      SYNC_FILE_RANGE_WRITE);
#else
    (void)i_Fd;
    (void)n_From;
    (void)n_Length;
#endif
}

int CT_OsFile::si_Copy(const std::string& co_From, const std::string& co_To) {
    const int i_in = ::open(co_From.c_str(), O_RDONLY | O_CLOEXEC);
    if (i_in < 0) {
        return errno;
    }
    const int i_out = ::open(co_To.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    int i_errno = i_out < 0 ? errno : 0;
    std::vector<char> co_block(1 << 20);
    while (i_errno == 0) {
        const ssize_t i_read = ::read(i_in, co_block.data(), co_block.size());
        if (i_read < 0 && errno == EINTR) {
            continue;
        }
        if (i_read <= 0) {
            i_errno = i_read < 0 ? errno : 0;
            break;
        }
        if (!sb_WriteAll(i_out, co_block.data(), static_cast<std::size_t>(i_read))) {
            i_errno = errno;
        }
    }
    // A file system may report a write it could not make only when the file is closed.
    if (i_out >= 0 && ::close(i_out) != 0 && i_errno == 0) {
        i_errno = errno;
    }
    ::close(i_in);
    if (i_errno != 0 && i_out >= 0) {
        ::unlink(co_To.c_str());
    }
    errno = i_errno;
    return i_errno;
}

void CT_OsFile::sv_SyncFolder(const std::string& co_OsFolder) {
    int i_fd = ::open(co_OsFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (i_fd < 0) {
        return;
    }
    ::fsync(i_fd);
    ::close(i_fd);
}
