// The unpacked bytes of one package entry, in memory the XML parser can take over and free with
// its tree: parsing in place then needs neither a copy of the bytes nor a buffer cleared before
// they are unpacked into it. Owns the bytes until the parser takes them.
#pragma once

#include <cstddef>
#include <string_view>

class CT_IdmlPartBytes {
  public:
    CT_IdmlPartBytes() = default;
    // Room for n_Size bytes, not yet written.
    explicit CT_IdmlPartBytes(std::size_t n_Size);
    // A copy of the bytes.
    explicit CT_IdmlPartBytes(std::string_view co_Bytes);
    CT_IdmlPartBytes(CT_IdmlPartBytes&& co_Other) noexcept;
    CT_IdmlPartBytes& operator=(CT_IdmlPartBytes&& co_Other) noexcept;
    CT_IdmlPartBytes(const CT_IdmlPartBytes&) = delete;
    CT_IdmlPartBytes& operator=(const CT_IdmlPartBytes&) = delete;
    ~CT_IdmlPartBytes();

    char* pc_Data() { return pc_Bytes; }
    std::size_t n_Size() const { return n_Length; }
    std::string_view sv() const { return {pc_Bytes, n_Length}; }
    // Hands the bytes over to whoever frees them with the parser's deallocation function;
    // the object is empty afterwards.
    char* pc_Release();

  private:
    char* pc_Bytes = nullptr;
    std::size_t n_Length = 0;
};
