#include "platform/common/internal/ct_read_window.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/common/internal/ct_os_file.h"

CT_ReadWindow::CT_ReadWindow(int i_Fd, const CT_String& co_Path, std::size_t n_BlockSize)
    : i_Fd(i_Fd), co_Path(co_Path), n_BlockSize(n_BlockSize) {}

CT_ReadWindow::CT_ReadWindow(std::string_view co_Bytes, const CT_String& co_Path,
                             std::size_t n_BlockSize)
    : i_Fd(-1), co_Memory(co_Bytes), co_Path(co_Path), n_BlockSize(n_BlockSize) {}

std::uint64_t CT_ReadWindow::n_Find(std::uint64_t n_From, std::string_view co_Marker,
                                    std::string* pco_Passed) {
    const std::size_t n_marker = co_Marker.size();
    if (n_marker == 0) {
        return n_From;
    }
    if (!b_Holds(n_From)) {
        n_Base = n_From;
        n_Length = 0;
    }
    for (;;) {
        const char* pc_begin = co_Buffer.data() + (n_From - n_Base);
        const auto n_held = static_cast<std::size_t>(n_Base + n_Length - n_From);
        // memmem: a two-way search, linear in the bytes it looks at.
        const auto* pc_hit = static_cast<const char*>(
            n_held < n_marker ? nullptr : ::memmem(pc_begin, n_held, co_Marker.data(), n_marker));
        const std::size_t n_passed = pc_hit != nullptr ? static_cast<std::size_t>(pc_hit - pc_begin)
                                                       : n_held - std::min(n_held, n_marker - 1);
        if (pco_Passed != nullptr) {
            pco_Passed->append(pc_begin, n_passed);
        }
        n_From += n_passed;
        if (pc_hit != nullptr) {
            return n_From;
        }
        // The bytes kept may begin a marker that the next block completes.
        if (!b_Refill(n_From)) {
            return sn_NotFound;
        }
    }
}

bool CT_ReadWindow::b_Read(std::uint64_t n_From, std::size_t n_Count, std::string& co_Bytes) {
    while (n_Count > 0) {
        if (!b_Holds(n_From) || n_From == n_Base + n_Length) {
            if (!b_Refill(n_From)) {
                return false;
            }
            continue;
        }
        const auto n_offset = static_cast<std::size_t>(n_From - n_Base);
        const std::size_t n_take = std::min(n_Count, n_Length - n_offset);
        co_Bytes.append(co_Buffer.data() + n_offset, n_take);
        n_From += n_take;
        n_Count -= n_take;
    }
    return true;
}

bool CT_ReadWindow::b_Holds(std::uint64_t n_Offset) const {
    return n_Offset >= n_Base && n_Offset <= n_Base + n_Length;
}

bool CT_ReadWindow::b_Refill(std::uint64_t n_From) {
    const std::size_t n_keep =
        b_Holds(n_From) ? static_cast<std::size_t>(n_Base + n_Length - n_From) : 0;
    if (n_keep > 0) {
        std::memmove(co_Buffer.data(), co_Buffer.data() + (n_From - n_Base), n_keep);
    }
    n_Base = n_From;
    n_Length = n_keep;
    if (co_Buffer.size() < n_Length + n_BlockSize) {
        co_Buffer.resize(n_Length + n_BlockSize);
    }
    if (i_Fd < 0) {
        const std::uint64_t n_at = n_Base + n_Length;
        const std::size_t n_read = n_at >= co_Memory.size()
                                       ? 0
                                       : co_Memory.copy(co_Buffer.data() + n_Length, n_BlockSize,
                                                        static_cast<std::size_t>(n_at));
        n_Length += n_read;
        return n_read > 0;
    }
    const long long i_read =
        CT_OsFile::sn_ReadAt(i_Fd, n_Base + n_Length, co_Buffer.data() + n_Length, n_BlockSize);
    if (i_read < 0) {
        CT_OsFile::sv_Raise(e_FileRead, "cannot read ", co_Path, "", errno);
    }
    n_Length += static_cast<std::size_t>(i_read);
    return i_read > 0;
}
