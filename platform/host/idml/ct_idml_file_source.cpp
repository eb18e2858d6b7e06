#include "platform/host/idml/ct_idml_file_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/common/internal/ct_os_file.h"

namespace {

// Large enough that a document's entries, read in archive order, take few reads; small enough
// to cost nothing beside the document.
constexpr std::size_t kn_Window = 256 << 10;
// What is written is held until there is this much, and then all of it is written out but the
// last kn_WriteKept bytes, where the zip library goes back to: an entry's header is completed
// once its data is written.
constexpr std::size_t kn_WriteHeld = 8 << 20;
constexpr std::size_t kn_WriteKept = 1 << 20;

struct CT_Source {
    int i_Descriptor = -1;
    bool b_Owned = true;  // the descriptor is closed with the source
    std::uint64_t n_Size = 0;
    time_t n_Modified = 0;
    std::uint64_t n_At = 0;  // where the next read starts
    std::vector<char> co_Window;
    std::uint64_t n_WindowAt = 0;
    std::size_t n_WindowLength = 0;
    zip_error_t co_Error;

    // Writing: the bytes from n_HeldAt on are in co_Held, not yet in the file.
    std::uint64_t n_WriteAt = 0;
    std::uint64_t n_WriteEnd = 0;
    std::uint64_t n_HeldAt = 0;
    std::string co_Held;

    CT_Source() { zip_error_init(&co_Error); }
    CT_Source(const CT_Source&) = delete;
    CT_Source& operator=(const CT_Source&) = delete;
    ~CT_Source() {
        zip_error_fini(&co_Error);
        if (b_Owned && i_Descriptor >= 0) {
            ::close(i_Descriptor);
        }
    }

    // Reads what the file holds at n_Offset, up to n_Length bytes: fewer only at its end.
    zip_int64_t i_ReadAt(std::uint64_t n_Offset, char* pc_Into, std::size_t n_Length) {
        const long long i_read = CT_OsFile::sn_ReadAt(i_Descriptor, n_Offset, pc_Into, n_Length);
        if (i_read < 0) {
            zip_error_set(&co_Error, ZIP_ER_READ, errno);
            return -1;
        }
        return static_cast<zip_int64_t>(i_read);
    }

    // Through the file layer, which words a full disk plainly and where tests make it fail.
    bool b_WriteOut(std::uint64_t n_Offset, const char* pc_From, std::size_t n_Length) {
        if (::lseek(i_Descriptor, static_cast<off_t>(n_Offset), SEEK_SET) < 0 ||
            !CT_OsFile::sb_WriteAll(i_Descriptor, pc_From, n_Length)) {
            zip_error_set(&co_Error, ZIP_ER_WRITE, errno);
            return false;
        }
        return true;
    }

    bool b_Flush(std::size_t n_Length) {
        if (!b_WriteOut(n_HeldAt, co_Held.data(), n_Length)) {
            return false;
        }
        // The archive is flushed before it replaces the document: to the disk as it goes.
        CT_OsFile::sv_StartWriteback(i_Descriptor, n_HeldAt, n_Length);
        co_Held.erase(0, n_Length);
        n_HeldAt += n_Length;
        return true;
    }

    zip_int64_t i_Write(const char* pc_From, std::size_t n_Length) {
        const std::uint64_t n_heldEnd = n_HeldAt + co_Held.size();
        if (n_WriteAt < n_HeldAt || n_WriteAt > n_heldEnd) {
            // Before what is held (a header far back) or past it: what is held goes first.
            if (!b_Flush(co_Held.size())) {
                return -1;
            }
            n_HeldAt = n_WriteAt;
        }
        const std::size_t n_from = static_cast<std::size_t>(n_WriteAt - n_HeldAt);
        const std::size_t n_over = std::min(n_Length, co_Held.size() - n_from);
        co_Held.replace(n_from, n_over, pc_From, n_Length);
        n_WriteAt += n_Length;
        n_WriteEnd = std::max(n_WriteEnd, n_WriteAt);
        if (co_Held.size() > kn_WriteHeld && !b_Flush(co_Held.size() - kn_WriteKept)) {
            return -1;
        }
        return static_cast<zip_int64_t>(n_Length);
    }

    // Moves the reading or the writing position as the zip library's arguments say.
    zip_int64_t i_Seek(std::uint64_t& n_Position, std::uint64_t n_End, void* pv_Data,
                       zip_uint64_t n_Length) {
        const zip_int64_t i_to =
            zip_source_seek_compute_offset(n_Position, n_End, pv_Data, n_Length, &co_Error);
        if (i_to < 0) {
            return -1;
        }
        n_Position = static_cast<std::uint64_t>(i_to);
        return 0;
    }

    zip_int64_t i_Read(char* pc_Into, std::size_t n_Length) {
        std::size_t n_done = 0;
        while (n_done < n_Length) {
            if (n_At >= n_WindowAt && n_At < n_WindowAt + n_WindowLength) {
                const std::size_t n_from = static_cast<std::size_t>(n_At - n_WindowAt);
                const std::size_t n_take = std::min(n_Length - n_done, n_WindowLength - n_from);
                std::memcpy(pc_Into + n_done, co_Window.data() + n_from, n_take);
                n_done += n_take;
                n_At += n_take;
                continue;
            }
            // What would not fit the window goes straight where it is wanted.
            if (n_Length - n_done >= kn_Window) {
                const zip_int64_t i_read = i_ReadAt(n_At, pc_Into + n_done, n_Length - n_done);
                if (i_read < 0) {
                    return -1;
                }
                n_done += static_cast<std::size_t>(i_read);
                n_At += static_cast<std::uint64_t>(i_read);
                break;
            }
            co_Window.resize(kn_Window);
            const zip_int64_t i_read = i_ReadAt(n_At, co_Window.data(), kn_Window);
            if (i_read < 0) {
                return -1;
            }
            n_WindowAt = n_At;
            n_WindowLength = static_cast<std::size_t>(i_read);
            if (n_WindowLength == 0) {
                break;  // the end of the file
            }
        }
        return static_cast<zip_int64_t>(n_done);
    }
};

zip_int64_t i_Command(void* pv_State, void* pv_Data, zip_uint64_t n_Length,
                      zip_source_cmd_t eo_Command) {
    CT_Source& co_source = *static_cast<CT_Source*>(pv_State);
    switch (eo_Command) {
        case ZIP_SOURCE_OPEN:
            co_source.n_At = 0;
            return 0;
        case ZIP_SOURCE_READ:
            return co_source.i_Read(static_cast<char*>(pv_Data),
                                    static_cast<std::size_t>(n_Length));
        case ZIP_SOURCE_CLOSE:
            return 0;
        case ZIP_SOURCE_STAT: {
            zip_stat_t* pco_stat =
                ZIP_SOURCE_GET_ARGS(zip_stat_t, pv_Data, n_Length, &co_source.co_Error);
            if (pco_stat == nullptr) {
                return -1;
            }
            zip_stat_init(pco_stat);
            pco_stat->size = co_source.n_Size;
            pco_stat->mtime = co_source.n_Modified;
            pco_stat->valid |= ZIP_STAT_SIZE | ZIP_STAT_MTIME;
            return sizeof(zip_stat_t);
        }
        case ZIP_SOURCE_ERROR:
            return zip_error_to_data(&co_source.co_Error, pv_Data, n_Length);
        case ZIP_SOURCE_FREE:
            delete &co_source;
            return 0;
        case ZIP_SOURCE_SEEK:
            return co_source.i_Seek(co_source.n_At, co_source.n_Size, pv_Data, n_Length);
        case ZIP_SOURCE_TELL:
            return static_cast<zip_int64_t>(co_source.n_At);
        case ZIP_SOURCE_BEGIN_WRITE:
            co_source.co_Held.clear();
            co_source.n_HeldAt = co_source.n_WriteAt = co_source.n_WriteEnd = 0;
            if (::ftruncate(co_source.i_Descriptor, 0) != 0) {
                zip_error_set(&co_source.co_Error, ZIP_ER_WRITE, errno);
                return -1;
            }
            return 0;
        case ZIP_SOURCE_WRITE:
            return co_source.i_Write(static_cast<const char*>(pv_Data),
                                     static_cast<std::size_t>(n_Length));
        case ZIP_SOURCE_SEEK_WRITE:
            return co_source.i_Seek(co_source.n_WriteAt, co_source.n_WriteEnd, pv_Data, n_Length);
        case ZIP_SOURCE_TELL_WRITE:
            return static_cast<zip_int64_t>(co_source.n_WriteAt);
        case ZIP_SOURCE_COMMIT_WRITE:
            if (!co_source.b_Flush(co_source.co_Held.size())) {
                return -1;
            }
            co_source.n_Size = co_source.n_WriteEnd;
            return 0;
        case ZIP_SOURCE_ROLLBACK_WRITE:
        case ZIP_SOURCE_REMOVE:
            // What was written is the caller's to remove with its file.
            co_source.co_Held.clear();
            return 0;
        case ZIP_SOURCE_SUPPORTS: {
            const zip_int64_t i_reading = zip_source_make_command_bitmap(
                ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, ZIP_SOURCE_SEEK, ZIP_SOURCE_TELL,
                ZIP_SOURCE_SUPPORTS, -1);
            // A source over the caller's descriptor is the one to write.
            return co_source.b_Owned
                       ? i_reading
                       : i_reading | zip_source_make_command_bitmap(
                                         ZIP_SOURCE_BEGIN_WRITE, ZIP_SOURCE_WRITE,
                                         ZIP_SOURCE_SEEK_WRITE, ZIP_SOURCE_TELL_WRITE,
                                         ZIP_SOURCE_COMMIT_WRITE, ZIP_SOURCE_ROLLBACK_WRITE,
                                         ZIP_SOURCE_REMOVE, -1);
        }
        default:
            zip_error_set(&co_source.co_Error, ZIP_ER_OPNOTSUPP, 0);
            return -1;
    }
}

// The archive on the source, which it then owns; a source that could not be made, or that holds
// no archive, gives null with co_Error set, and is freed.
zip_t* pco_OpenOn(zip_source_t* pco_Source, int i_Flags, int& i_Error, zip_error_t& co_Error) {
    zip_t* pco_zip =
        pco_Source != nullptr ? zip_open_from_source(pco_Source, i_Flags, &co_Error) : nullptr;
    if (pco_zip == nullptr && pco_Source != nullptr) {
        zip_source_free(pco_Source);
    }
    i_Error = zip_error_code_zip(&co_Error);
    zip_error_fini(&co_Error);
    return pco_zip;
}

// The archive on a source the state makes; the source owns the state from then on, and frees it
// with itself.
zip_t* pco_OpenOn(std::unique_ptr<CT_Source> pco_State, int i_Flags, int& i_Error) {
    zip_error_t co_error;
    zip_error_init(&co_error);
    zip_source_t* pco_source = zip_source_function_create(i_Command, pco_State.get(), &co_error);
    if (pco_source == nullptr) {
        zip_error_set(&co_error, ZIP_ER_MEMORY, 0);
    } else {
        pco_State.release();
    }
    return pco_OpenOn(pco_source, i_Flags, i_Error, co_error);
}

}  // namespace

zip_t* CT_IdmlFileSource::spco_Open(const std::string& s_Path, int i_Flags, int& i_Error) {
    auto pco_state = std::make_unique<CT_Source>();
    pco_state->i_Descriptor = ::open(s_Path.c_str(), O_RDONLY | O_CLOEXEC);
    if (pco_state->i_Descriptor < 0) {
        i_Error = errno == ENOENT ? ZIP_ER_NOENT : ZIP_ER_OPEN;
        return nullptr;
    }
    struct stat co_info {};
    if (::fstat(pco_state->i_Descriptor, &co_info) != 0) {
        i_Error = ZIP_ER_READ;
        return nullptr;
    }
    if (!S_ISREG(co_info.st_mode)) {
        i_Error = ZIP_ER_OPEN;  // a folder cannot be read as an archive
        return nullptr;
    }
    pco_state->n_Size = static_cast<std::uint64_t>(co_info.st_size);
    pco_state->n_Modified = co_info.st_mtime;
    return pco_OpenOn(std::move(pco_state), ZIP_RDONLY | i_Flags, i_Error);
}

zip_t* CT_IdmlFileSource::spco_OpenToWrite(int i_Descriptor, int& i_Error) {
    auto pco_state = std::make_unique<CT_Source>();
    pco_state->i_Descriptor = i_Descriptor;
    pco_state->b_Owned = false;
    return pco_OpenOn(std::move(pco_state), ZIP_TRUNCATE, i_Error);
}

zip_t* CT_IdmlFileSource::spco_OpenBytes(std::string_view co_Bytes, int& i_Error) {
    zip_error_t co_error;
    zip_error_init(&co_error);
    return pco_OpenOn(zip_source_buffer_create(co_Bytes.data(), co_Bytes.size(), 0, &co_error),
                      ZIP_RDONLY, i_Error, co_error);
}
