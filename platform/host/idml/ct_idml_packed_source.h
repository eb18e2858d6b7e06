// Entry data packed here, handed to libzip as it is: the source tells libzip the packing method,
// both sizes and the checksum, so the bytes are stored without being packed again. It owns the
// packed bytes and must live until the archive it was added to has been closed or discarded.
#pragma once

#include <zip.h>

#include <cstdint>
#include <ctime>
#include <string>

#include "platform/host/idml/ct_idml_part_bytes.h"

class CT_IdmlPackedSource {
  public:
    // The data and what it packs to.
    CT_IdmlPackedSource(const std::string& s_Data, std::string s_Packed);
    ~CT_IdmlPackedSource();
    CT_IdmlPackedSource(const CT_IdmlPackedSource&) = delete;
    CT_IdmlPackedSource& operator=(const CT_IdmlPackedSource&) = delete;

    // A new libzip source reading this object; null when libzip refuses it.
    zip_source_t* pco_Source(zip_t* pco_Archive);
    std::size_t n_PackedSize() const { return s_Bytes.size(); }
    std::uint64_t n_DataSize() const { return n_Size; }
    // The data again; e_HostFailure when the packed bytes do not give it back.
    CT_IdmlPartBytes co_Unpack() const;

  private:
    static zip_int64_t si_Serve(void* p_Self, void* p_Data, zip_uint64_t n_Length,
                                zip_source_cmd_t eo_Command);
    zip_int64_t i_Read(void* p_Data, zip_uint64_t n_Length);
    zip_int64_t i_Stat(void* p_Data, zip_uint64_t n_Length) const;

    std::string s_Bytes;
    std::uint64_t n_Size;
    std::uint32_t n_Crc;
    std::time_t i_Time;
    std::size_t n_Offset = 0;
    zip_error_t co_Error;
};
