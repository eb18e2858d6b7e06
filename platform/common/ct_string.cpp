#include "platform/common/ct_string.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {
// Callers hand out the writable buffer of an empty string to fill in short numbers and names;
// twelve bytes hold any 32-bit number with its sign and terminator.
constexpr std::size_t gn_MinWritable = 12;

std::string_view sv_Of(const char* pc_Text) {
    return pc_Text == nullptr ? std::string_view() : std::string_view(pc_Text);
}

std::string co_Decimal(unsigned n_Number) {
    return std::to_string(n_Number);
}
}  // namespace

CT_String::CT_String() = default;

CT_String::CT_String(const char* pc_Text, std::size_t n_Length) {
    if (pc_Text == nullptr) {
        return;
    }
    if (n_Length == 0) {
        co_Data.assign(pc_Text);
        return;
    }
    co_Data.assign(pc_Text, n_Length);
}

CT_String::CT_String(std::string_view co_Text) : co_Data(co_Text) {}

CT_String::CT_String(const CT_String& co_Other) : co_Data(co_Other.sv()) {}

CT_String::CT_String(CT_String&& co_Other) noexcept
    : co_Data(std::move(co_Other.co_Data)), b_Dirty(co_Other.b_Dirty) {
    co_Other.co_Data.clear();
    co_Other.b_Dirty = false;
}

CT_String::~CT_String() = default;

CT_String& CT_String::operator=(const CT_String& co_Other) {
    if (this != &co_Other) {
        co_Data.assign(co_Other.sv());
        b_Dirty = false;
    }
    return *this;
}

CT_String& CT_String::operator=(CT_String&& co_Other) noexcept {
    if (this != &co_Other) {
        co_Data = std::move(co_Other.co_Data);
        b_Dirty = co_Other.b_Dirty;
        co_Other.co_Data.clear();
        co_Other.b_Dirty = false;
    }
    return *this;
}

CT_String& CT_String::operator=(const char* pc_Text) {
    // The text may point into this string's own buffer; assign copes with that.
    v_SyncLength();
    co_Data.assign(sv_Of(pc_Text));
    return *this;
}

CT_String CT_String::operator+(const CT_String& co_Text) const {
    CT_String co_result(*this);
    co_result += co_Text;
    return co_result;
}

CT_String CT_String::operator+(const char* pc_Text) const {
    CT_String co_result(*this);
    co_result += pc_Text;
    return co_result;
}

CT_String CT_String::operator+(unsigned n_Number) const {
    CT_String co_result(*this);
    co_result += n_Number;
    return co_result;
}

CT_String& CT_String::operator+=(const CT_String& co_Text) {
    v_SyncLength();
    co_Data.append(co_Text.sv());
    return *this;
}

CT_String& CT_String::operator+=(const char* pc_Text) {
    v_SyncLength();
    co_Data.append(sv_Of(pc_Text));
    return *this;
}

CT_String& CT_String::operator+=(unsigned n_Number) {
    v_SyncLength();
    co_Data.append(co_Decimal(n_Number));
    return *this;
}

int CT_String::operator==(const CT_String& co_Other) const {
    return sv() == co_Other.sv();
}

int CT_String::operator==(const char* pc_Text) const {
    return sv() == sv_Of(pc_Text);
}

CT_String::operator const char*() const {
    v_SyncLength();
    return co_Data.c_str();
}

CT_String::operator char*() {
    v_SyncLength();
    // The zeros past the content make the old content end where it did, whatever the caller
    // writes or leaves unwritten; the length is taken again at the next use.
    co_Data.resize(std::max(co_Data.size() + 1, gn_MinWritable), '\0');
    b_Dirty = true;
    return &co_Data[0];
}

char16_t CT_String::operator[](int i_Index) const {
    if (i_Index < 0) {
        return 0;
    }
    return (*this)[static_cast<std::size_t>(i_Index)];
}

char16_t CT_String::operator[](unsigned n_Index) const {
    return (*this)[static_cast<std::size_t>(n_Index)];
}

char16_t CT_String::operator[](std::size_t n_Index) const {
    std::string_view co_text = sv();
    if (n_Index >= co_text.size()) {
        return 0;
    }
    return static_cast<unsigned char>(co_text[n_Index]);
}

unsigned CT_String::n_GetStringSize(const void*) const {
    return static_cast<unsigned>(size());
}

// Only the first occurrence: the story start tag gets the key put in before the location, and
// a key holding the location's marker must not have that marker replaced as well.
void CT_String::v_Replace(const char* pc_Marker, const char* pc_Text) {
    std::string_view co_marker = sv_Of(pc_Marker);
    if (co_marker.empty()) {
        return;
    }
    v_SyncLength();
    std::size_t n_at = co_Data.find(co_marker);
    if (n_at == std::string::npos) {
        return;
    }
    // Copied first: the text may point into this string's own buffer.
    std::string co_text(sv_Of(pc_Text));
    co_Data.replace(n_at, co_marker.size(), co_text);
}

std::string_view CT_String::sv() const {
    v_SyncLength();
    return co_Data;
}

std::size_t CT_String::size() const {
    return sv().size();
}

bool CT_String::empty() const {
    return size() == 0;
}

void CT_String::v_Append(const char* pc_Data, std::size_t n_Length) {
    v_SyncLength();
    if (pc_Data == nullptr || n_Length == 0) {
        return;
    }
    co_Data.append(pc_Data, n_Length);
}

void CT_String::v_SyncLength() const {
    if (!b_Dirty) {
        return;
    }
    co_Data.resize(std::strlen(co_Data.c_str()));
    b_Dirty = false;
}
