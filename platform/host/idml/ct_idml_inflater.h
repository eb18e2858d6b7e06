// Unpacks entry data packed with deflate as zip entries store it (no zlib header), reusing one
// decompressor for every entry of a package. Owns its decompressor.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/host/idml/ct_idml_part_bytes.h"

struct libdeflate_decompressor;

class CT_IdmlInflater {
  public:
    CT_IdmlInflater();
    ~CT_IdmlInflater();
    CT_IdmlInflater(const CT_IdmlInflater&) = delete;
    CT_IdmlInflater& operator=(const CT_IdmlInflater&) = delete;

    // Unpacks the bytes, which must give exactly n_Size bytes with the checksum n_Crc, into
    // co_Data. Returns an empty text when they do, else what is wrong. Refuses damaged data and
    // any other size; bytes after the end of the packed data are not looked at.
    std::string s_Unpack(const std::string& s_Packed, std::uint64_t n_Size, std::uint32_t n_Crc,
                         CT_IdmlPartBytes& co_Data);
    // The checksum a zip entry holding the data records.
    static std::uint32_t sn_Crc(std::string_view co_Data);

  private:
    libdeflate_decompressor* pco_Decompressor;
};
