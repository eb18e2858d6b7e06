#include "platform/common/ct_file_bytes.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/common/ct_errors.h"

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
    n_Mapped = n_Size == 0 ? 1 : n_Size;
    void* pv_mapped =
        ::mmap(nullptr, n_Mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (pv_mapped == MAP_FAILED) {
        n_Mapped = 0;
        v_Fail(e_FileRead, s_cannot + ": " + std::strerror(errno), i_fd);
    }
    pc_Mapped = static_cast<char*>(pv_mapped);
    // In huge pages where the system gives them: a large file then costs a few hundred page
    // faults instead of tens of thousands. Without, nothing changes.
    ::madvise(pc_Mapped, n_Mapped, MADV_HUGEPAGE);
    std::size_t n_done = 0;
    // A file that shrinks as it is read is read as far as it goes.
    while (n_done < n_Size) {
        const ssize_t i_read = ::read(i_fd, pc_Mapped + n_done, n_Size - n_done);
        if (i_read < 0 && errno == EINTR) {
            continue;
        }
        if (i_read < 0) {
            ::munmap(pc_Mapped, n_Mapped);
            pc_Mapped = nullptr;
            v_Fail(e_FileRead, s_cannot, i_fd);
        }
        if (i_read == 0) {
            break;
        }
        n_done += static_cast<std::size_t>(i_read);
    }
    n_Size = n_done;
    ::close(i_fd);
}

CT_FileBytes::~CT_FileBytes() {
    if (pc_Mapped != nullptr) {
        ::munmap(pc_Mapped, n_Mapped);
    }
}

std::string_view CT_FileBytes::co_View() const {
    return pc_Mapped != nullptr ? std::string_view(pc_Mapped, n_Size) : std::string_view(s_Piped);
}

void CT_FileBytes::v_GiveBackBefore(std::size_t n_Offset) {
    const std::size_t n_page = n_PageSize();
    const std::size_t n_upto = std::min(n_Offset, n_Size) / n_page * n_page;
    if (pc_Mapped == nullptr || n_upto <= n_GivenBack) {
        return;
    }
    // Failing, the memory is only kept.
    ::madvise(pc_Mapped + n_GivenBack, n_upto - n_GivenBack, MADV_DONTNEED);
    n_GivenBack = n_upto;
}
