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

#include "platform/common/ct_errors.h"

namespace {
CT_OsFile::CT_FaultHook gpf_FaultHook = nullptr;

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

std::string co_TempName(const std::string& co_target) {
    static std::atomic<unsigned> sn_counter{0};
    // Cut so that the temporary's name stays within the system's limit when the target's does.
    std::string co_name = co_target.substr(co_target.rfind('/') + 1).substr(0, 200);
    return CT_OsFile::sco_Folder(co_target) + "/." + co_name + "." + std::to_string(::getpid()) +
           "-" + std::to_string(sn_counter++) + ".tmp";
}
}  // namespace

std::string CT_OsFile::sco_OsPath(std::string_view co_Path) {
    std::string co_result(co_Path);
    std::replace(co_result.begin(), co_result.end(), '\\', '/');
    return co_result;
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
        co_text += std::strerror(i_Errno);
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
                               std::string& co_Temp) {
    co_Target = co_ResolveLink(sco_OsPath(co_Path.sv()));
    struct stat co_info {};
    const bool b_exists = ::stat(co_Target.c_str(), &co_info) == 0;
    if (b_exists && S_ISDIR(co_info.st_mode)) {
        sv_Raise(e_FileOpen, "cannot open ", co_Path, " for writing", EISDIR);
    }
    for (int i_try = 0;; ++i_try) {
        co_Temp = co_TempName(co_Target);
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
    const char* pc_folder = std::getenv("TMPDIR");
    const std::string co_folder = pc_folder != nullptr && *pc_folder != '\0' ? pc_folder : "/tmp";
    co_Path = co_folder + "/storyport-XXXXXX";
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

void CT_OsFile::sv_SyncFolder(const std::string& co_OsFolder) {
    int i_fd = ::open(co_OsFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (i_fd < 0) {
        return;
    }
    ::fsync(i_fd);
    ::close(i_fd);
}
