// Unpacks entry data packed with deflate as zip entries store it (no zlib header), reusing one
// decompressor for every entry of a package: a fresh one per entry costs its set-up and makes
// the allocator hand its window back and forth between the trees being built. Owns its stream.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>

class CT_IdmlInflater {
  public:
    CT_IdmlInflater();
    ~CT_IdmlInflater();
    CT_IdmlInflater(const CT_IdmlInflater&) = delete;
    CT_IdmlInflater& operator=(const CT_IdmlInflater&) = delete;

    // Unpacks the bytes, which must give exactly n_Size bytes with the checksum n_Crc, into
    // s_Data. Returns an empty text when they do, else what is wrong.
    std::string s_Unpack(const std::string& s_Packed, std::uint64_t n_Size, std::uint32_t n_Crc,
                         std::string& s_Data);
    // The checksum a zip entry holding the data records.
    static std::uint32_t sn_Crc(const std::string& s_Data);

  private:
    z_stream co_Stream{};
    bool b_Ready = false;
};
