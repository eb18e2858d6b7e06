#include "platform/host/idml/ct_idml_part_bytes.h"

#include <pugixml.hpp>

#include <cstring>
#include <new>
#include <utility>

CT_IdmlPartBytes::CT_IdmlPartBytes(std::size_t n_Size) : n_Length(n_Size) {
    if (n_Size == 0) {
        return;
    }
    pc_Bytes = static_cast<char*>(pugi::get_memory_allocation_function()(n_Size));
    if (pc_Bytes == nullptr) {
        throw std::bad_alloc();
    }
}

CT_IdmlPartBytes::CT_IdmlPartBytes(std::string_view co_Bytes) : CT_IdmlPartBytes(co_Bytes.size()) {
    if (!co_Bytes.empty()) {
        std::memcpy(pc_Bytes, co_Bytes.data(), co_Bytes.size());
    }
}

CT_IdmlPartBytes::CT_IdmlPartBytes(CT_IdmlPartBytes&& co_Other) noexcept
    : pc_Bytes(std::exchange(co_Other.pc_Bytes, nullptr)),
      n_Length(std::exchange(co_Other.n_Length, 0)) {}

CT_IdmlPartBytes& CT_IdmlPartBytes::operator=(CT_IdmlPartBytes&& co_Other) noexcept {
    if (this != &co_Other) {
        std::swap(pc_Bytes, co_Other.pc_Bytes);
        std::swap(n_Length, co_Other.n_Length);
    }
    return *this;
}

CT_IdmlPartBytes::~CT_IdmlPartBytes() {
    if (pc_Bytes != nullptr) {
        pugi::get_memory_deallocation_function()(pc_Bytes);
    }
}

char* CT_IdmlPartBytes::pc_Release() {
    n_Length = 0;
    return std::exchange(pc_Bytes, nullptr);
}
