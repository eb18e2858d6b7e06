#include "platform/common/ct_files.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <optional>
#include <string>
#include <string_view>

#include "platform/common/ct_atomic_replace.h"
#include "platform/common/ct_errors.h"
#include "platform/common/internal/ct_os_file.h"
#include "platform/common/internal/ct_read_window.h"

namespace {
enum et_State {
    e_Closed,
    e_Reading,
    e_Writing,       // to a temporary beside the target
    e_Intermediate,  // in place, in the temporary folder
    e_Failed,        // a write failed and the file is gone: v_Close raises that failure again
};

// The file sv_ServeFromMemory serves, and its bytes.
std::string gs_MemoryPath;
std::string_view gco_MemoryBytes;

bool b_FromMemory(const CT_String& co_path) {
    return !gs_MemoryPath.empty() && co_path.sv() == gs_MemoryPath;
}

CT_String co_Quoted(const CT_String& co_text) {
    return CT_String("\"") + co_text + "\"";
}
}  // namespace

struct CT_Files::CT_Impl {
    et_State eo_State = e_Closed;
    int i_Fd = -1;
    CT_String co_Path;  // as the caller gave it: cco_GetFullPath and error texts
    std::optional<CT_AtomicReplace> co_Replace;  // writing: the temporary beside the target
    std::string co_Temp;                         // an intermediate file
    bool b_Durable = false;
    std::uint64_t n_Written = 0;  // bytes written
    std::uint64_t n_Sent = 0;     // and sent to the disk
    CT_String co_FailText;        // of the write that failed

    // Reading.
    std::optional<CT_ReadWindow> co_Window;
    std::uint64_t n_Pos = 0;
    // The last search that did not move, to be reused: the host counts a story's bytes and
    // then reads them, import then moves past the marker.
    bool b_Seen = false;
    std::uint64_t n_SeenFrom = 0;
    std::string co_SeenMarker;
    std::uint64_t n_SeenAt = 0;

    // Writing.
    std::string co_Pending;

    void v_Start(const CT_String& co_path);
    void v_Reset();
    [[noreturn]] void v_Abandon(et_ErrorCode eo_code, const char* pc_what, int i_errno);
    void v_Put(const char* pc_data, std::size_t n_length);
    void v_RequireReading() const;
    void v_RequireWriting() const;
    std::uint64_t n_FindRemembered(std::string_view co_marker);
    [[noreturn]] void v_RaiseEnd(const CT_String& co_what) const;
};

void CT_Files::CT_Impl::v_Start(const CT_String& co_path) {
    if (eo_State != e_Closed && eo_State != e_Failed) {
        CT_Errors::v_ThrowError(e_FileState, co_Quoted(co_Path) + " is already open");
    }
    v_Reset();
    co_Path = co_path;
}

void CT_Files::CT_Impl::v_Reset() {
    if (co_Replace) {
        co_Replace.reset();  // closes the descriptor and removes an unfinished temporary
    } else if (i_Fd >= 0) {
        ::close(i_Fd);
    }
    i_Fd = -1;
    eo_State = e_Closed;
    co_Window.reset();
    n_Pos = 0;
    n_Written = 0;
    n_Sent = 0;
    b_Seen = false;
    co_SeenMarker.clear();
    co_Pending = std::string();
}

// Removes the unfinished file, so that nothing half-written stays, then raises.
void CT_Files::CT_Impl::v_Abandon(et_ErrorCode eo_code, const char* pc_what, int i_errno) {
    const bool b_intermediate = eo_State == e_Intermediate;
    v_Reset();
    if (b_intermediate) {
        ::unlink(co_Temp.c_str());
    }
    eo_State = e_Failed;
    try {
        CT_OsFile::sv_Raise(eo_code, pc_what, co_Path, "", i_errno);
    } catch (et_ErrorCode) {
        co_FailText = CT_Errors::cco_GetLastError();
        throw;
    }
}

void CT_Files::CT_Impl::v_Put(const char* pc_data, std::size_t n_length) {
    if (!CT_OsFile::sb_WriteAll(i_Fd, pc_data, n_length)) {
        v_Abandon(e_FileWrite, "cannot write ", errno);
    }
    // A durable file is flushed before it takes the target's place: what it holds goes to the
    // disk as it is written, while the rest is made, and the flush waits for the last of it.
    n_Written += n_length;
    if (b_Durable && n_Written - n_Sent >= (std::uint64_t{4} << 20)) {
        CT_OsFile::sv_StartWriteback(i_Fd, n_Sent, n_Written - n_Sent);
        n_Sent = n_Written;
    }
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

std::uint64_t CT_Files::CT_Impl::n_FindRemembered(std::string_view co_marker) {
    if (b_Seen && n_SeenFrom == n_Pos && co_SeenMarker == co_marker) {
        return n_SeenAt;
    }
    n_SeenAt = co_Window->n_Find(n_Pos, co_marker, nullptr);
    b_Seen = true;
    n_SeenFrom = n_Pos;
    co_SeenMarker.assign(co_marker);
    return n_SeenAt;
}

void CT_Files::CT_Impl::v_RaiseEnd(const CT_String& co_what) const {
    CT_Errors::v_ThrowError(
        e_EndOfFile, CT_String("the end of ") + co_Quoted(co_Path) + " came before " + co_what);
}

CT_Files::CT_Files() : pco_Impl(std::make_unique<CT_Impl>()) {}

CT_Files::~CT_Files() {
    v_Cancel();
}

void CT_Files::v_Open(const CT_String& co_Path, et_OpenMode eo_Mode, int i_Durable) {
    CT_Impl& co = *pco_Impl;
    co.v_Start(co_Path);
    co.b_Durable = i_Durable != 0;
    if (eo_Mode == e_OpenRead && b_FromMemory(co_Path)) {
        // Blocks no bigger than the bytes: nothing to gain from a bigger window.
        co.co_Window.emplace(gco_MemoryBytes, co_Path,
                             std::min(sn_BlockSize, gco_MemoryBytes.size() + 1));
        co.eo_State = e_Reading;
        return;
    }
    if (eo_Mode == e_OpenRead) {
        co.i_Fd = CT_OsFile::si_OpenForReading(co_Path);
        co.co_Window.emplace(co.i_Fd, co_Path, sn_BlockSize);
        co.eo_State = e_Reading;
        return;
    }
    if (eo_Mode != e_OpenWrite) {
        CT_OsFile::sv_Raise(e_FileOpen, "cannot open ", co_Path, " in an unknown mode", EINVAL);
    }
    co.co_Replace.emplace(co_Path);
    co.i_Fd = co.co_Replace->i_Fd();
    co.eo_State = e_Writing;
}

void CT_Files::v_Open() {
    CT_Impl& co = *pco_Impl;
    co.v_Start(CT_String());
    co.i_Fd = CT_OsFile::si_CreateIntermediate(co.co_Temp);
    co.co_Path = CT_String(co.co_Temp);
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
    if (co.eo_State == e_Closed || co.eo_State == e_Reading) {
        co.v_Reset();
        return;
    }
    if (co.eo_State == e_Failed) {
        co.eo_State = e_Closed;
        CT_Errors::v_ThrowError(e_FileWrite, co.co_FailText);
    }
    co.v_Put(co.co_Pending.data(), co.co_Pending.size());
    if (co.eo_State == e_Writing) {
        try {
            co.co_Replace->v_Commit(co.b_Durable);
        } catch (et_ErrorCode) {
            co.co_FailText = CT_Errors::cco_GetLastError();
            co.v_Reset();
            co.eo_State = e_Failed;
            throw;
        }
        co.i_Fd = -1;
        co.v_Reset();
        return;
    }
    // Some file systems report a failed write only when the file is closed.
    const int i_closed = ::close(co.i_Fd);
    co.i_Fd = -1;
    if (i_closed != 0) {
        co.v_Abandon(e_FileWrite, "cannot write ", errno);
    }
    co.v_Reset();
}

void CT_Files::v_Cancel() {
    CT_Impl& co = *pco_Impl;
    const bool b_intermediate = co.eo_State == e_Intermediate;
    co.v_Reset();
    if (b_intermediate) {
        ::unlink(co.co_Temp.c_str());
    }
}

void CT_Files::v_Delete() {
    v_Cancel();
    const std::string co_os = CT_OsFile::sco_OsPath(pco_Impl->co_Path.sv());
    // A file already gone is what the caller wants: clean-ups call this after a failure and
    // must not raise over the error they clean up after.
    if (::unlink(co_os.c_str()) != 0 && errno != ENOENT) {
        CT_OsFile::sv_Raise(e_FileDelete, "cannot delete ", pco_Impl->co_Path, "", errno);
    }
}

void CT_Files::v_Write(const CT_String& co_Text) {
    std::string_view co_text = co_Text.sv();
    v_Write(co_text.data(), co_text.size());
}

void CT_Files::v_Write(const char* pc_Data, std::size_t n_Length) {
    CT_Impl& co = *pco_Impl;
    co.v_RequireWriting();
    if (co.co_Pending.size() + n_Length < sn_BlockSize) {
        co.co_Pending.append(pc_Data, n_Length);
        return;
    }
    co.v_Put(co.co_Pending.data(), co.co_Pending.size());
    co.co_Pending.clear();
    if (n_Length < sn_BlockSize) {
        co.co_Pending.append(pc_Data, n_Length);
        return;
    }
    co.v_Put(pc_Data, n_Length);
}

void CT_Files::v_Writeln(const CT_String& co_Text) {
    v_Write(co_Text);
    v_Write("\n", 1);
}

void CT_Files::v_MoveUntil(const CT_String& co_Marker) {
    CT_Impl& co = *pco_Impl;
    co.v_RequireReading();
    const std::uint64_t n_at = co.n_FindRemembered(co_Marker.sv());
    // A failed search leaves the position alone, so that the later keys of a settings file
    // edited by hand can still be found after a missing one.
    if (n_at == CT_ReadWindow::sn_NotFound) {
        co.v_RaiseEnd(co_Quoted(co_Marker));
    }
    co.n_Pos = n_at + co_Marker.size();
}

void CT_Files::v_ReadUntil(CT_String& co_Text, const CT_String& co_Marker) {
    CT_Impl& co = *pco_Impl;
    co.v_RequireReading();
    std::string co_passed;
    const std::uint64_t n_at = co.co_Window->n_Find(co.n_Pos, co_Marker.sv(), &co_passed);
    if (n_at == CT_ReadWindow::sn_NotFound) {
        co.v_RaiseEnd(co_Quoted(co_Marker));
    }
    co.n_Pos = n_at + co_Marker.size();
    co_Text = CT_String(co_passed);
}

unsigned CT_Files::n_CountUntil(const CT_String& co_Marker) {
    CT_Impl& co = *pco_Impl;
    co.v_RequireReading();
    const std::uint64_t n_at = co.n_FindRemembered(co_Marker.sv());
    if (n_at == CT_ReadWindow::sn_NotFound) {
        co.v_RaiseEnd(co_Quoted(co_Marker));
    }
    if (n_at - co.n_Pos > UINT_MAX) {
        CT_OsFile::sv_Raise(e_FileRead, "cannot read ", co.co_Path,
                            ": more than 4 GB stand before the marker", 0);
    }
    return static_cast<unsigned>(n_at - co.n_Pos);
}

void CT_Files::v_Read(std::string& co_Bytes, std::size_t n_Count) {
    CT_Impl& co = *pco_Impl;
    co.v_RequireReading();
    std::string co_bytes;
    if (!co.co_Window->b_Read(co.n_Pos, n_Count, co_bytes)) {
        co.v_RaiseEnd(CT_String(std::to_string(n_Count) + " more bytes"));
    }
    co.n_Pos += n_Count;
    co_Bytes.swap(co_bytes);
}

void CT_Files::sv_ServeFromMemory(const CT_String& co_Path, std::string_view co_Bytes) {
    gs_MemoryPath.assign(co_Path.sv());
    gco_MemoryBytes = co_Bytes;
}

const std::string_view* CT_Files::spco_ServedFromMemory(const CT_String& co_Path) {
    return b_FromMemory(co_Path) ? &gco_MemoryBytes : nullptr;
}

int CT_Files::sb_Exist(const CT_String& co_Path) {
    if (b_FromMemory(co_Path)) {
        return 1;
    }
    return ::access(CT_OsFile::sco_OsPath(co_Path.sv()).c_str(), F_OK) == 0;
}

CT_String CT_Files::sco_GetFileName(const CT_String& co_Path) {
    std::string_view co_path = co_Path.sv();
    std::size_t n_slash = co_path.rfind('/');
    return n_slash == std::string_view::npos ? co_Path : CT_String(co_path.substr(n_slash + 1));
}

// A name that starts with its only dot (".profile") has no extension.
void CT_Files::sv_RemoveExtension(CT_String& co_Name) {
    std::string_view co_name = co_Name.sv();
    std::size_t n_slash = co_name.rfind('/');
    std::size_t n_start = n_slash == std::string_view::npos ? 0 : n_slash + 1;
    std::size_t n_dot = co_name.rfind('.');
    if (n_dot == std::string_view::npos || n_dot <= n_start) {
        return;
    }
    co_Name = CT_String(co_name.substr(0, n_dot));
}
