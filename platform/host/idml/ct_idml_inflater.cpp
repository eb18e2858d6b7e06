#include "platform/host/idml/ct_idml_inflater.h"

#include <limits>

CT_IdmlInflater::CT_IdmlInflater() {
    // Negative window bits: raw deflate, the form zip entries hold.
    b_Ready = inflateInit2(&co_Stream, -MAX_WBITS) == Z_OK;
}

CT_IdmlInflater::~CT_IdmlInflater() {
    if (b_Ready) {
        inflateEnd(&co_Stream);
    }
}

std::string CT_IdmlInflater::s_Unpack(const std::string& s_Packed, std::uint64_t n_Size,
                                      std::uint32_t n_Crc, std::string& s_Data) {
    if (!b_Ready || inflateReset(&co_Stream) != Z_OK) {
        return "the decompressor cannot start";
    }
    // zlib counts in 32 bits; entries are far smaller than that (CT_IdmlPackage::n_MaxEntrySize).
    if (s_Packed.size() > std::numeric_limits<uInt>::max() ||
        n_Size > std::numeric_limits<uInt>::max()) {
        return "too large";
    }
    s_Data.assign(static_cast<std::size_t>(n_Size), '\0');
    co_Stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(s_Packed.data()));
    co_Stream.avail_in = static_cast<uInt>(s_Packed.size());
    co_Stream.next_out = reinterpret_cast<Bytef*>(&s_Data[0]);
    co_Stream.avail_out = static_cast<uInt>(s_Data.size());
    const int i_result = inflate(&co_Stream, Z_FINISH);
    if (i_result != Z_STREAM_END || co_Stream.total_out != n_Size) {
        return i_result == Z_DATA_ERROR || i_result == Z_STREAM_END || i_result == Z_BUF_ERROR
                   ? "wrong size or damaged data"
                   : "the decompressor failed";
    }
    if (sn_Crc(s_Data) != n_Crc) {
        return "CRC error";
    }
    return "";
}

std::uint32_t CT_IdmlInflater::sn_Crc(const std::string& s_Data) {
    return static_cast<std::uint32_t>(
        crc32_z(crc32(0, Z_NULL, 0), reinterpret_cast<const Bytef*>(s_Data.data()), s_Data.size()));
}
