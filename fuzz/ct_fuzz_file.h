// A scratch file for one fuzz input: the readers under test take paths, not buffers. One per
// process, rewritten for every input and removed at exit.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

class CT_FuzzFile {
  public:
    explicit CT_FuzzFile(const char* pc_Suffix) {
        const char* pc_Dir = std::getenv("TMPDIR");
        s_Path = std::string(pc_Dir != nullptr ? pc_Dir : "/tmp") + "/storyport-fuzz-" +
                 std::to_string(::getpid()) + pc_Suffix;
    }
    ~CT_FuzzFile() { std::remove(s_Path.c_str()); }
    const std::string& s_Write(const std::uint8_t* pc_Data, std::size_t n_Size) const {
        std::FILE* pco_File = std::fopen(s_Path.c_str(), "wb");
        if (pco_File == nullptr) {
            std::abort();
        }
        std::fwrite(pc_Data, 1, n_Size, pco_File);
        std::fclose(pco_File);
        return s_Path;
    }

  private:
    std::string s_Path;
};
