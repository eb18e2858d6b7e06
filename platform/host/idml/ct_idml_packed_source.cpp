#include "platform/host/idml/ct_idml_packed_source.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/common/ct_errors.h"
#include "platform/host/idml/ct_idml_inflater.h"

CT_IdmlPackedSource::CT_IdmlPackedSource(const std::string& s_Data, std::string s_Packed)
    : s_Bytes(std::move(s_Packed)),
      n_Size(s_Data.size()),
      n_Crc(CT_IdmlInflater::sn_Crc(s_Data)),
      i_Time(std::time(nullptr)) {
    zip_error_init(&co_Error);
}

CT_IdmlPackedSource::~CT_IdmlPackedSource() {
    zip_error_fini(&co_Error);
}

CT_IdmlPartBytes CT_IdmlPackedSource::co_Unpack() const {
    CT_IdmlPartBytes co_Data;
    if (!CT_IdmlInflater().s_Unpack(s_Bytes, n_Size, n_Crc, co_Data).empty()) {
        CT_Errors::v_ThrowError(e_HostFailure, "a packed story cannot be unpacked again");
    }
    return co_Data;
}

zip_source_t* CT_IdmlPackedSource::pco_Source(zip_t* pco_Archive) {
    return zip_source_function(pco_Archive, &CT_IdmlPackedSource::si_Serve, this);
}

zip_int64_t CT_IdmlPackedSource::si_Serve(void* p_Self, void* p_Data, zip_uint64_t n_Length,
                                          zip_source_cmd_t eo_Command) {
    auto* pco_Self = static_cast<CT_IdmlPackedSource*>(p_Self);
    switch (eo_Command) {
        case ZIP_SOURCE_OPEN:
            pco_Self->n_Offset = 0;
            return 0;
        case ZIP_SOURCE_READ:
            return pco_Self->i_Read(p_Data, n_Length);
        case ZIP_SOURCE_CLOSE:
        case ZIP_SOURCE_FREE:
            return 0;
        case ZIP_SOURCE_STAT:
            return pco_Self->i_Stat(p_Data, n_Length);
        case ZIP_SOURCE_ERROR:
            return zip_error_to_data(&pco_Self->co_Error, p_Data, n_Length);
        case ZIP_SOURCE_SUPPORTS:
            return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ,
                                                  ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                                                  ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, -1);
        default:
            zip_error_set(&pco_Self->co_Error, ZIP_ER_OPNOTSUPP, 0);
            return -1;
    }
}

zip_int64_t CT_IdmlPackedSource::i_Read(void* p_Data, zip_uint64_t n_Length) {
    const std::size_t n_Count =
        static_cast<std::size_t>(std::min<zip_uint64_t>(n_Length, s_Bytes.size() - n_Offset));
    std::memcpy(p_Data, s_Bytes.data() + n_Offset, n_Count);
    n_Offset += n_Count;
    return static_cast<zip_int64_t>(n_Count);
}

// Reporting the packing method with both sizes and the checksum is what makes libzip store the
// bytes as they are.
zip_int64_t CT_IdmlPackedSource::i_Stat(void* p_Data, zip_uint64_t n_Length) const {
    if (n_Length < sizeof(zip_stat_t)) {
        return -1;
    }
    zip_stat_t* pco_Stat = static_cast<zip_stat_t*>(p_Data);
    zip_stat_init(pco_Stat);
    pco_Stat->valid = ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_CRC | ZIP_STAT_COMP_METHOD |
                      ZIP_STAT_MTIME | ZIP_STAT_ENCRYPTION_METHOD;
    pco_Stat->size = n_Size;
    pco_Stat->comp_size = s_Bytes.size();
    pco_Stat->crc = n_Crc;
    pco_Stat->comp_method = ZIP_CM_DEFLATE;
    pco_Stat->encryption_method = ZIP_EM_NONE;
    pco_Stat->mtime = i_Time;
    return sizeof(zip_stat_t);
}
