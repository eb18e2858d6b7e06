#include "platform/common/ct_file_bytes.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/common/ct_errors.h"
#include "platform/common/internal/ct_os_file.h"

namespace {
[[noreturn]] void v_Fail(et_ErrorCode eo_Code, const std::string& s_Text, int i_Descriptor) {
    if (i_Descriptor >= 0) {
        ::close(i_Descriptor);
    }
    CT_Errors::v_ThrowError(eo_Code, CT_String(s_Text.c_str()));
}

std::size_t n_PageSize() {
    static const std::size_t sn_page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    return sn_page;
}
}  // namespace

CT_FileBytes::CT_FileBytes(const std::string& s_Path) {
    const int i_fd = ::open(s_Path.c_str(), O_RDONLY | O_CLOEXEC);
    if (i_fd < 0) {
        v_Fail(e_FileOpen, "cannot open \"" + s_Path + "\": " + std::strerror(errno), -1);
    }
    struct stat co_info {};
    if (::fstat(i_fd, &co_info) != 0) {
        v_Fail(e_FileRead, "cannot read " + s_Path, i_fd);
    }
    const std::string s_cannot = "cannot read " + s_Path;
    if (!S_ISREG(co_info.st_mode)) {
        char ac_block[1 << 16];
        for (;;) {
            const ssize_t i_read = ::read(i_fd, ac_block, sizeof ac_block);
            if (i_read < 0 && errno == EINTR) {
                continue;
            }
            if (i_read < 0) {
                v_Fail(e_FileRead, s_cannot, i_fd);
            }
            if (i_read == 0) {
                break;
            }
            s_Piped.append(ac_block, static_cast<std::size_t>(i_read));
        }
        ::close(i_fd);
        return;
    }
    n_Size = static_cast<std::size_t>(co_info.st_size);
    i_Descriptor = i_fd;
    if (n_Size == 0) {
        return;
    }
    // Mapped rather than read: a page is held only once it is read, and what is given back is
    // the file's again, not memory of this program's that would have to be read into anew.
    void* pv_mapped = ::mmap(nullptr, n_Size, PROT_READ, MAP_PRIVATE, i_fd, 0);
    if (pv_mapped == MAP_FAILED) {
        i_Descriptor = -1;
        v_Fail(e_FileRead, s_cannot + ": " + std::strerror(errno), i_fd);
    }
    pc_Mapped = static_cast<char*>(pv_mapped);
}

CT_FileBytes::~CT_FileBytes() {
    if (pc_Mapped != nullptr) {
        ::munmap(pc_Mapped, n_Size);
    }
    if (i_Descriptor >= 0) {
        ::close(i_Descriptor);
    }
}

std::string_view CT_FileBytes::co_View() const {
    return pc_Mapped != nullptr ? std::string_view(pc_Mapped, n_Size) : std::string_view(s_Piped);
}

void CT_FileBytes::v_GiveBack(std::size_t n_From, std::size_t n_To) {
    const std::size_t n_page = n_PageSize();
    const std::size_t n_first = n_From / n_page * n_page;
    const std::size_t n_last = std::min(n_To, n_Size) / n_page * n_page;
    if (pc_Mapped == nullptr || n_last <= n_first) {
        return;
    }
    // Failing, the memory is only kept.
    ::madvise(pc_Mapped + n_first, n_last - n_first, MADV_DONTNEED);
}

std::string_view CT_FileBytes::co_Reread(std::size_t n_From, std::size_t n_To,
                                         std::string& co_Buffer) const {
    n_To = std::min(n_To, co_View().size());
    n_From = std::min(n_From, n_To);
    if (i_Descriptor < 0) {
        return co_View().substr(n_From, n_To - n_From);
    }
    co_Buffer.resize(n_To - n_From);
    const long long i_read =
        CT_OsFile::sn_ReadAt(i_Descriptor, n_From, co_Buffer.data(), co_Buffer.size());
    co_Buffer.resize(i_read < 0 ? 0 : static_cast<std::size_t>(i_read));
    return co_Buffer;
}
