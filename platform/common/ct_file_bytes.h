// The bytes of a file read whole into memory of their own, which a reader that goes through
// them once may give back a stretch at a time: a large file and what is read out of it are then
// not held whole at once. Owns the memory; a stretch given back is never to be read again.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class CT_FileBytes {
  public:
    // Reads the file; raises e_FileOpen ("cannot open "FILE": reason") or e_FileRead ("cannot
    // read FILE"). A pipe is read as it comes, and its memory is not given back.
    explicit CT_FileBytes(const std::string& s_Path);
    ~CT_FileBytes();
    CT_FileBytes(const CT_FileBytes&) = delete;
    CT_FileBytes& operator=(const CT_FileBytes&) = delete;

    std::string_view co_View() const;
    // Gives back the memory of the whole pages before the offset.
    void v_GiveBackBefore(std::size_t n_Offset);

  private:
    char* pc_Mapped = nullptr;  // a regular file's bytes, in pages of their own
    std::size_t n_Mapped = 0;
    std::size_t n_Size = 0;
    std::size_t n_GivenBack = 0;
    std::string s_Piped;  // a pipe's
};
