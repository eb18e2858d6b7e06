#include "platform/common/ct_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/common/ct_errors.h"

namespace {
enum et_State {
    e_Closed,
    e_Reading,
    e_Writing,       // to a temporary beside the target
    e_Intermediate,  // in place, in the temporary folder
    e_Failed,        // a write failed: the temporary is gone, only v_Close or v_Cancel remain
};

constexpr std::uint64_t gn_NotFound = ~std::uint64_t{0};

std::string co_OsPath(std::string_view co_path) {
    std::string co_result(co_path);
    std::replace(co_result.begin(), co_result.end(), '\\', '/');
    return co_result;
}

std::string co_Folder(const std::string& co_path) {
    std::size_t n_slash = co_path.rfind('/');
    if (n_slash == std::string::npos) {
        return ".";
    }
    return n_slash == 0 ? "/" : co_path.substr(0, n_slash);
}

CT_String co_Quoted(const CT_String& co_text) {
    return CT_String("\"") + co_text + "\"";
}

[[noreturn]] void v_Raise(et_ErrorCode eo_code, const char* pc_what, const CT_String& co_path,
                          const char* pc_how, int i_errno) {
    CT_String co_text = CT_String(pc_what) + co_Quoted(co_path) + pc_how;
    if (i_errno != 0) {
        co_text += ": ";
        co_text += std::strerror(i_errno);
    }
    CT_Errors::v_ThrowError(eo_code, co_text);
}

bool b_WriteAll(int i_fd, const char* pc_data, std::size_t n_length) {
    while (n_length > 0) {
        ssize_t i_done = ::write(i_fd, pc_data, n_length);
        if (i_done < 0 && errno == EINTR) {
            continue;
        }
        if (i_done <= 0) {
            if (i_done == 0) {
                errno = EIO;
            }
            return false;
        }
        pc_data += i_done;
        n_length -= static_cast<std::size_t>(i_done);
    }
    return true;
}

// Flushes a folder so that a rename inside it survives a crash.
void v_SyncFolder(const std::string& co_folder) {
    int i_fd = ::open(co_folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (i_fd < 0) {
        return;
    }
    ::fsync(i_fd);
    ::close(i_fd);
}

// The file a write replaces: a symbolic link keeps pointing at the file it named.
std::string co_ResolveTarget(const std::string& co_path) {
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
}  // namespace

struct CT_Files::CT_Impl {
    et_State eo_State = e_Closed;
    int i_Fd = -1;
    CT_String co_Path;      // as the caller gave it: cco_GetFullPath and error texts
    std::string co_Target;  // where the finished file goes
    std::string co_Temp;    // what is being written
    bool b_Durable = false;
    CT_String co_FailText;  // of the write that failed

    // Reading: the bytes from n_Base to n_Base + n_Length of the file are held in co_Buffer.
    std::vector<char> co_Buffer;
    std::uint64_t n_Base = 0;
    std::size_t n_Length = 0;
    std::uint64_t n_Pos = 0;
    // The last search that found (or missed) a marker without moving, to be reused.
    bool b_Seen = false;
    std::uint64_t n_SeenFrom = 0;
    std::string co_SeenMarker;
    std::uint64_t n_SeenAt = 0;

    // Writing.
    std::string co_Pending;

    void v_Reset();
    void v_CloseFd();
    [[noreturn]] void v_Abandon(et_ErrorCode eo_code, const char* pc_what, const char* pc_how,
                                int i_errno);
    void v_Flush();
    void v_RequireReading() const;
    void v_RequireWriting() const;
    bool b_Refill(std::uint64_t n_From);
    std::uint64_t n_Find(std::string_view co_marker, std::string* pco_passed);
    std::uint64_t n_FindRemembered(std::string_view co_marker);
    [[noreturn]] void v_RaiseEnd(std::string_view co_marker) const;
};

void CT_Files::CT_Impl::v_Reset() {
    eo_State = e_Closed;
    co_Buffer = std::vector<char>();
    n_Base = 0;
    n_Length = 0;
    n_Pos = 0;
    b_Seen = false;
    co_SeenMarker.clear();
    co_Pending = std::string();
}

void CT_Files::CT_Impl::v_CloseFd() {
    if (i_Fd >= 0) {
        ::close(i_Fd);
    }
    i_Fd = -1;
}

// Removes the unfinished file so that nothing half-written remains, then raises.
void CT_Files::CT_Impl::v_Abandon(et_ErrorCode eo_code, const char* pc_what, const char* pc_how,
                                  int i_errno) {
    v_CloseFd();
    ::unlink(co_Temp.c_str());
    v_Reset();
    eo_State = e_Failed;
    try {
        v_Raise(eo_code, pc_what, co_Path, pc_how, i_errno);
    } catch (et_ErrorCode) {
        co_FailText = CT_Errors::cco_GetLastError();
        throw;
    }
}

void CT_Files::CT_Impl::v_Flush() {
    if (co_Pending.empty()) {
        return;
    }
    if (!b_WriteAll(i_Fd, co_Pending.data(), co_Pending.size())) {
        v_Abandon(e_FileWrite, "cannot write ", "", errno);
    }
    co_Pending.clear();
}

void CT_Files::CT_Impl::v_RequireReading() const {
    if (eo_State != e_Reading) {
        CT_Errors::v_ThrowError(e_FileState, co_Quoted(co_Path) + " is not open for reading");
    }
}

void CT_Files::CT_Impl::v_RequireWriting() const {
    if (eo_State == e_Failed) {
        CT_Errors::v_ThrowError(e_FileWrite, co_FailText);
    }
    if (eo_State != e_Writing && eo_State != e_Intermediate) {
        CT_Errors::v_ThrowError(e_FileState, co_Quoted(co_Path) + " is not open for writing");
    }
}

// Makes the held bytes start at n_From, keeping those already held from there on, and reads
// the next block after them. False at the end of the file.
bool CT_Files::CT_Impl::b_Refill(std::uint64_t n_From) {
    std::size_t n_keep = 0;
    if (n_From >= n_Base && n_From <= n_Base + n_Length) {
        n_keep = static_cast<std::size_t>(n_Base + n_Length - n_From);
    }
    if (n_keep > 0) {
        std::memmove(co_Buffer.data(), co_Buffer.data() + (n_From - n_Base), n_keep);
    }
    n_Base = n_From;
    n_Length = n_keep;
    if (co_Buffer.size() < n_Length + sn_BlockSize) {
        co_Buffer.resize(n_Length + sn_BlockSize);
    }
    for (;;) {
        ssize_t i_read = ::pread(i_Fd, co_Buffer.data() + n_Length, sn_BlockSize,
                                 static_cast<off_t>(n_Base + n_Length));
        if (i_read < 0 && errno == EINTR) {
            continue;
        }
        if (i_read < 0) {
            v_Raise(e_FileRead, "cannot read ", co_Path, "", errno);
        }
        n_Length += static_cast<std::size_t>(i_read);
        return i_read > 0;
    }
}

// The offset of the marker's next occurrence from the position, or gn_NotFound. The bytes
// passed before it are appended to pco_passed when given. The position does not move.
std::uint64_t CT_Files::CT_Impl::n_Find(std::string_view co_marker, std::string* pco_passed) {
    const std::size_t n_marker = co_marker.size();
    if (n_marker == 0) {
        return n_Pos;
    }
    std::uint64_t n_from = n_Pos;
    if (n_from < n_Base || n_from > n_Base + n_Length) {
        n_Base = n_from;
        n_Length = 0;
    }
    for (;;) {
        const char* pc_begin = co_Buffer.data() + (n_from - n_Base);
        const std::size_t n_held = static_cast<std::size_t>(n_Base + n_Length - n_from);
        const void* p_hit =
            n_held < n_marker ? nullptr : ::memmem(pc_begin, n_held, co_marker.data(), n_marker);
        if (p_hit != nullptr) {
            const auto* pc_hit = static_cast<const char*>(p_hit);
            if (pco_passed != nullptr) {
                pco_passed->append(pc_begin, static_cast<std::size_t>(pc_hit - pc_begin));
            }
            return n_from + static_cast<std::uint64_t>(pc_hit - pc_begin);
        }
        // The last bytes may begin a marker that the next block completes.
        const std::size_t n_keep = std::min(n_held, n_marker - 1);
        if (pco_passed != nullptr) {
            pco_passed->append(pc_begin, n_held - n_keep);
        }
        n_from += n_held - n_keep;
        if (!b_Refill(n_from)) {
            return gn_NotFound;
        }
    }
}

// As n_Find, reusing the outcome of the last search from the same position for the same
// marker: the host counts a story's bytes and then reads them, import moves past them.
std::uint64_t CT_Files::CT_Impl::n_FindRemembered(std::string_view co_marker) {
    if (b_Seen && n_SeenFrom == n_Pos && co_SeenMarker == co_marker) {
        return n_SeenAt;
    }
    std::uint64_t n_at = n_Find(co_marker, nullptr);
    b_Seen = true;
    n_SeenFrom = n_Pos;
    co_SeenMarker.assign(co_marker);
    n_SeenAt = n_at;
    return n_at;
}

void CT_Files::CT_Impl::v_RaiseEnd(std::string_view co_marker) const {
    CT_Errors::v_ThrowError(e_EndOfFile, CT_String("the end of ") + co_Quoted(co_Path) +
                                             " came before " + co_Quoted(CT_String(co_marker)));
}

CT_Files::CT_Files() : pco_Impl(std::make_unique<CT_Impl>()) {}

CT_Files::~CT_Files() {
    v_Cancel();
}

void CT_Files::v_Open(const CT_String& co_Path, et_OpenMode eo_Mode, int i_Durable) {
    CT_Impl& co = *pco_Impl;
    if (co.eo_State != e_Closed && co.eo_State != e_Failed) {
        CT_Errors::v_ThrowError(e_FileState, co_Quoted(co.co_Path) + " is already open");
    }
    co.v_Reset();
    co.co_Path = co_Path;
    co.b_Durable = i_Durable != 0;
    const std::string co_os = co_OsPath(co_Path.sv());
    if (eo_Mode == e_OpenRead) {
        co.i_Fd = ::open(co_os.c_str(), O_RDONLY | O_CLOEXEC);
        if (co.i_Fd < 0) {
            v_Raise(e_FileOpen, "cannot open ", co_Path, " for reading", errno);
        }
        struct stat co_info {};
        if (::fstat(co.i_Fd, &co_info) == 0 && S_ISDIR(co_info.st_mode)) {
            co.v_CloseFd();
            v_Raise(e_FileOpen, "cannot open ", co_Path, " for reading", EISDIR);
        }
        co.eo_State = e_Reading;
        return;
    }
    if (eo_Mode != e_OpenWrite) {
        v_Raise(e_FileOpen, "cannot open ", co_Path, " in an unknown mode", EINVAL);
    }
    co.co_Target = co_ResolveTarget(co_os);
    struct stat co_target {};
    const bool b_exists = ::stat(co.co_Target.c_str(), &co_target) == 0;
    if (b_exists && S_ISDIR(co_target.st_mode)) {
        v_Raise(e_FileOpen, "cannot open ", co_Path, " for writing", EISDIR);
    }
    // Same folder as the target, so that the rename that puts it in place is atomic.
    static std::atomic<unsigned> sn_counter{0};
    const std::string co_folder = co_Folder(co.co_Target);
    const std::string co_name = co.co_Target.substr(co.co_Target.rfind('/') + 1).substr(0, 100);
    for (int i_try = 0; co.i_Fd < 0; ++i_try) {
        co.co_Temp = co_folder + "/." + co_name + "." + std::to_string(::getpid()) + "-" +
                     std::to_string(sn_counter++) + ".tmp";
        co.i_Fd = ::open(co.co_Temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (co.i_Fd < 0 && (errno != EEXIST || i_try > 100)) {
            v_Raise(e_FileOpen, "cannot open ", co_Path, " for writing", errno);
        }
    }
    if (b_exists) {
        ::fchmod(co.i_Fd, co_target.st_mode & 07777);
    }
    co.eo_State = e_Writing;
}

void CT_Files::v_Open() {
    CT_Impl& co = *pco_Impl;
    if (co.eo_State != e_Closed && co.eo_State != e_Failed) {
        CT_Errors::v_ThrowError(e_FileState, co_Quoted(co.co_Path) + " is already open");
    }
    co.v_Reset();
    const char* pc_folder = std::getenv("TMPDIR");
    std::string co_folder = pc_folder != nullptr && *pc_folder != '\0' ? pc_folder : "/tmp";
    std::string co_template = co_folder + "/storyport-XXXXXX";
    co.i_Fd = ::mkstemp(&co_template[0]);
    if (co.i_Fd < 0) {
        v_Raise(e_FileOpen, "cannot make an intermediate file in ", CT_String(co_folder), "",
                errno);
    }
    ::fcntl(co.i_Fd, F_SETFD, FD_CLOEXEC);
    co.co_Path = CT_String(co_template);
    co.co_Target = co_template;
    co.co_Temp = co_template;
    co.b_Durable = false;
    co.eo_State = e_Intermediate;
}

const CT_String& CT_Files::cco_GetFullPath() const {
    return pco_Impl->co_Path;
}

bool CT_Files::b_IsOpen() const {
    return pco_Impl->eo_State != e_Closed && pco_Impl->eo_State != e_Failed;
}

void CT_Files::v_Close() {
    CT_Impl& co = *pco_Impl;
    if (co.eo_State == e_Closed) {
        return;
    }
    if (co.eo_State == e_Failed) {
        co.eo_State = e_Closed;
        CT_Errors::v_ThrowError(e_FileWrite, co.co_FailText);
    }
    if (co.eo_State == e_Reading) {
        co.v_CloseFd();
        co.v_Reset();
        return;
    }
    co.v_Flush();
    if (co.b_Durable && ::fsync(co.i_Fd) != 0) {
        co.v_Abandon(e_FileWrite, "cannot write ", "", errno);
    }
    int i_closed = ::close(co.i_Fd);
    co.i_Fd = -1;
    if (i_closed != 0) {
        co.v_Abandon(e_FileWrite, "cannot write ", "", errno);
    }
    if (co.eo_State == e_Writing && ::rename(co.co_Temp.c_str(), co.co_Target.c_str()) != 0) {
        co.v_Abandon(e_FileReplace, "cannot replace ", "", errno);
    }
    if (co.b_Durable) {
        v_SyncFolder(co_Folder(co.co_Target));
    }
    co.v_Reset();
}

void CT_Files::v_Cancel() {
    CT_Impl& co = *pco_Impl;
    co.v_CloseFd();
    if (co.eo_State == e_Writing || co.eo_State == e_Intermediate) {
        ::unlink(co.co_Temp.c_str());
    }
    co.v_Reset();
}

void CT_Files::v_Delete() {
    v_Cancel();
    const std::string co_os = co_OsPath(pco_Impl->co_Path.sv());
    // Already gone is what the caller wants; a clean-up must not raise over the error it
    // cleans up after.
    if (::unlink(co_os.c_str()) != 0 && errno != ENOENT) {
        v_Raise(e_FileDelete, "cannot delete ", pco_Impl->co_Path, "", errno);
    }
}

void CT_Files::v_Write(const CT_String& co_Text) {
    std::string_view co_text = co_Text.sv();
    v_Write(co_text.data(), co_text.size());
}

void CT_Files::v_Write(const char* pc_Data, std::size_t n_Length) {
    CT_Impl& co = *pco_Impl;
    co.v_RequireWriting();
    if (n_Length == 0) {
        return;
    }
    if (co.co_Pending.size() + n_Length < sn_BlockSize) {
        co.co_Pending.append(pc_Data, n_Length);
        return;
    }
    co.v_Flush();
    if (n_Length < sn_BlockSize) {
        co.co_Pending.append(pc_Data, n_Length);
        return;
    }
    if (!b_WriteAll(co.i_Fd, pc_Data, n_Length)) {
        co.v_Abandon(e_FileWrite, "cannot write ", "", errno);
    }
}

void CT_Files::v_Writeln(const CT_String& co_Text) {
    v_Write(co_Text);
    v_Write("\n", 1);
}

void CT_Files::v_MoveUntil(const CT_String& co_Marker) {
    CT_Impl& co = *pco_Impl;
    co.v_RequireReading();
    std::string_view co_marker = co_Marker.sv();
    std::uint64_t n_at = co.n_FindRemembered(co_marker);
    // A failed search leaves the position alone: the later keys of a settings file edited
    // by hand can then still be found after a missing one.
    if (n_at == gn_NotFound) {
        co.v_RaiseEnd(co_marker);
    }
    co.n_Pos = n_at + co_marker.size();
}

void CT_Files::v_ReadUntil(CT_String& co_Text, const CT_String& co_Marker) {
    CT_Impl& co = *pco_Impl;
    co.v_RequireReading();
    std::string_view co_marker = co_Marker.sv();
    std::string co_passed;
    std::uint64_t n_at = co.n_Find(co_marker, &co_passed);
    if (n_at == gn_NotFound) {
        co.v_RaiseEnd(co_marker);
    }
    co.n_Pos = n_at + co_marker.size();
    co_Text = CT_String(co_passed);
}

unsigned CT_Files::n_CountUntil(const CT_String& co_Marker) {
    CT_Impl& co = *pco_Impl;
    co.v_RequireReading();
    std::string_view co_marker = co_Marker.sv();
    std::uint64_t n_at = co.n_FindRemembered(co_marker);
    if (n_at == gn_NotFound) {
        co.v_RaiseEnd(co_marker);
    }
    if (n_at - co.n_Pos > UINT_MAX) {
        v_Raise(e_FileRead, "cannot read ", co.co_Path, ": more than 4 GB before the marker", 0);
    }
    return static_cast<unsigned>(n_at - co.n_Pos);
}

void CT_Files::v_Read(std::string& co_Bytes, std::size_t n_Count) {
    CT_Impl& co = *pco_Impl;
    co.v_RequireReading();
    std::string co_bytes;
    co_bytes.reserve(std::min<std::size_t>(n_Count, std::size_t{64} << 20));
    std::uint64_t n_at = co.n_Pos;
    while (co_bytes.size() < n_Count) {
        if (n_at >= co.n_Base && n_at < co.n_Base + co.n_Length) {
            const auto n_offset = static_cast<std::size_t>(n_at - co.n_Base);
            const std::size_t n_take = std::min(n_Count - co_bytes.size(), co.n_Length - n_offset);
            co_bytes.append(co.co_Buffer.data() + n_offset, n_take);
            n_at += n_take;
            continue;
        }
        if (!co.b_Refill(n_at)) {
            CT_Errors::v_ThrowError(e_EndOfFile, CT_String("the end of ") + co_Quoted(co.co_Path) +
                                                     " came before " +
                                                     static_cast<unsigned>(n_Count) + " bytes");
        }
    }
    co.n_Pos = n_at;
    co_Bytes.swap(co_bytes);
}

int CT_Files::sb_Exist(const CT_String& co_Path) {
    struct stat co_info {};
    return ::stat(co_OsPath(co_Path.sv()).c_str(), &co_info) == 0;
}

CT_String CT_Files::sco_GetFileName(const CT_String& co_Path) {
    std::string_view co_path = co_Path.sv();
    std::size_t n_slash = co_path.find_last_of("/\\");
    return n_slash == std::string_view::npos ? co_Path : CT_String(co_path.substr(n_slash + 1));
}

// A name that starts with its only dot (".profile") has no extension.
void CT_Files::sv_RemoveExtension(CT_String& co_Name) {
    std::string_view co_name = co_Name.sv();
    std::size_t n_slash = co_name.find_last_of("/\\");
    std::size_t n_start = n_slash == std::string_view::npos ? 0 : n_slash + 1;
    std::size_t n_dot = co_name.rfind('.');
    if (n_dot == std::string_view::npos || n_dot <= n_start) {
        return;
    }
    co_Name = CT_String(co_name.substr(0, n_dot));
}
