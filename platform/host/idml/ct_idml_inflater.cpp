#include "platform/host/idml/ct_idml_inflater.h"

#include <libdeflate.h>

CT_IdmlInflater::CT_IdmlInflater() : pco_Decompressor(libdeflate_alloc_decompressor()) {}

CT_IdmlInflater::~CT_IdmlInflater() {
    libdeflate_free_decompressor(pco_Decompressor);
}

std::string CT_IdmlInflater::s_Unpack(const std::string& s_Packed, std::uint64_t n_Size,
                                      std::uint32_t n_Crc, CT_IdmlPartBytes& co_Data) {
    if (pco_Decompressor == nullptr) {
        return "the decompressor cannot start";
    }
    co_Data = CT_IdmlPartBytes(static_cast<std::size_t>(n_Size));
    std::size_t n_out = 0;
    const libdeflate_result eo_result =
        libdeflate_deflate_decompress(pco_Decompressor, s_Packed.data(), s_Packed.size(),
                                      co_Data.pc_Data(), co_Data.n_Size(), &n_out);
    // Fewer bytes or more than the directory says are as wrong as damaged data.
    if (eo_result != LIBDEFLATE_SUCCESS || n_out != n_Size) {
        return "wrong size or damaged data";
    }
    if (sn_Crc(co_Data.sv()) != n_Crc) {
        return "CRC error";
    }
    return "";
}

std::uint32_t CT_IdmlInflater::sn_Crc(std::string_view co_Data) {
    return libdeflate_crc32(0, co_Data.data(), co_Data.size());
}
