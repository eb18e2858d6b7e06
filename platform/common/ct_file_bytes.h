// The bytes of a file, mapped, which a reader that goes through them may give back a stretch at
// a time, and read a stretch of again from the file when it needs it: a large file and what is
// read out of it are then not held whole at once. Owns the mapping and keeps the file open.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class CT_FileBytes {
  public:
    // Maps the file; raises e_FileOpen ("cannot open "FILE": reason") or e_FileRead ("cannot
    // read FILE"). A pipe is read whole as it comes, and its memory is not given back. Another
    // program that cuts the file short while it is mapped ends this one when it next reads
    // what was cut (the file is read before any is written).
    explicit CT_FileBytes(const std::string& s_Path);
    ~CT_FileBytes();
    CT_FileBytes(const CT_FileBytes&) = delete;
    CT_FileBytes& operator=(const CT_FileBytes&) = delete;

    std::string_view co_View() const;
    // Gives back the memory of the pages from the one that holds the first offset up to the one
    // that holds the second: what is read there again is read from the file again (a page
    // given back too soon costs only that). Safe on several threads.
    void v_GiveBack(std::size_t n_From, std::size_t n_To);
    // The bytes from one offset to the other, read from the file into the buffer as it holds
    // them now (fewer or other bytes than at first when it changed since) without holding them
    // in the mapping; a pipe's are its memory's. Safe on several threads.
    std::string_view co_Reread(std::size_t n_From, std::size_t n_To, std::string& co_Buffer) const;

  private:
    char* pc_Mapped = nullptr;  // a regular file's bytes
    std::size_t n_Size = 0;
    int i_Descriptor = -1;  // a regular file's, read again without the mapping
    std::string s_Piped;    // a pipe's
};
