// The bytes of a file open for reading, fetched a block at a time into one window and searched
// for markers that may straddle blocks, so that a search costs time linear in the bytes it
// passes. The window borrows the descriptor (or the bytes of a file served from memory); its
// owner closes or keeps them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/common/ct_string.h"

class CT_ReadWindow {
  public:
    static constexpr std::uint64_t sn_NotFound = ~std::uint64_t{0};

    // co_Path names the file in error texts.
    CT_ReadWindow(int i_Fd, const CT_String& co_Path, std::size_t n_BlockSize);
    // Reads co_Bytes instead of a descriptor, in the same blocks.
    CT_ReadWindow(std::string_view co_Bytes, const CT_String& co_Path, std::size_t n_BlockSize);

    // The offset of the marker's first occurrence at or after n_From, or sn_NotFound. The
    // bytes before it are appended to pco_Passed when given. Raises e_FileRead.
    std::uint64_t n_Find(std::uint64_t n_From, std::string_view co_Marker, std::string* pco_Passed);
    // Appends the n_Count bytes at n_From to co_Bytes; false when the file ends first.
    bool b_Read(std::uint64_t n_From, std::size_t n_Count, std::string& co_Bytes);

  private:
    bool b_Holds(std::uint64_t n_Offset) const;
    // Makes the window start at n_From, keeping the bytes it holds from there, and reads the
    // next block after them. False at the end of the file.
    bool b_Refill(std::uint64_t n_From);

    int i_Fd;
    std::string_view co_Memory;  // when i_Fd is -1
    CT_String co_Path;
    std::size_t n_BlockSize;
    std::vector<char> co_Buffer;
    std::uint64_t n_Base = 0;  // offset in the file of co_Buffer[0]
    std::size_t n_Length = 0;  // bytes held
};
