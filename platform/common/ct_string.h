// The system's string: a sequence of bytes holding UTF-8 text, always zero-terminated. It owns
// its buffer; copies are independent. Lengths and indexes count bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class CT_String {
  public:
    CT_String();
    // (text, 0) takes the zero-terminated text; (nullptr, 0) is the empty string. A non-zero
    // n_Length takes exactly that many bytes of pc_Text.
    CT_String(const char* pc_Text, std::size_t n_Length = 0);
    explicit CT_String(std::string_view co_Text);
    CT_String(const CT_String& co_Other);
    CT_String(CT_String&& co_Other) noexcept;
    ~CT_String();

    CT_String& operator=(const CT_String& co_Other);
    CT_String& operator=(CT_String&& co_Other) noexcept;
    CT_String& operator=(const char* pc_Text);

    CT_String operator+(const CT_String& co_Text) const;
    CT_String operator+(const char* pc_Text) const;
    // Appends the decimal digits of the number.
    CT_String operator+(unsigned n_Number) const;
    CT_String& operator+=(const CT_String& co_Text);
    CT_String& operator+=(const char* pc_Text);
    CT_String& operator+=(unsigned n_Number);

    // Exact, case-sensitive comparison of the bytes. Returns int like the rest of the system.
    int operator==(const CT_String& co_Other) const;
    int operator==(const char* pc_Text) const;
    int operator!=(const CT_String& co_Other) const { return !(*this == co_Other); }
    int operator!=(const char* pc_Text) const { return !(*this == pc_Text); }

    operator const char*() const;
    // A writable buffer of at least max(length + 1, 12) bytes. Whatever is written through it
    // up to the first zero byte becomes the string's content.
    explicit operator char*();

    // The byte at the index, as an unsigned 16-bit value; 0 past the end.
    char16_t operator[](int i_Index) const;
    char16_t operator[](unsigned n_Index) const;
    char16_t operator[](std::size_t n_Index) const;

    // The length in bytes. The argument is not used; callers pass null.
    unsigned n_GetStringSize(const void* p_Unused = nullptr) const;
    // Replaces the first occurrence of the marker by the text; nothing when it does not occur.
    void v_Replace(const char* pc_Marker, const char* pc_Text);

    // Access for the stand-ins and the tools around the kernel.
    std::string_view sv() const;
    std::size_t size() const;
    bool empty() const;
    void v_Append(const char* pc_Data, std::size_t n_Length);

  private:
    void v_SyncLength() const;

    mutable std::string co_Data;
    mutable bool b_Dirty = false;  // written through the char* buffer, length not yet taken
};
