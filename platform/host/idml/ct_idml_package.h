// One IDML package on disk: a zip whose entries are read on demand. The package keeps its file
// open while it lives, so unchanged entries can be copied compressed, as they are, when the
// package is written again. Broken packages are refused when opened with e_BadDocument and a
// text that names the file and the entry.
#pragma once

#include <zip.h>

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/host/idml/ct_idml_inflater.h"
#include "platform/host/idml/ct_idml_packed_source.h"
#include "platform/host/idml/ct_idml_part_bytes.h"
#include "platform/host/idml/ct_idml_zip_owners.h"

class CT_IdmlPackage {
  public:
    // New entries by name, already packed, so that only packed bytes are held until the
    // package is written. The caller owns the sources; they must outlive the save.
    using CT_Replaced = std::map<std::string, CT_IdmlPackedSource*>;

    // Opens and checks the package: a readable zip, no encrypted entries, no entry whose
    // unpacked size is absurd or that is said to take more bytes than the package has.
    explicit CT_IdmlPackage(const std::string& s_Path);
    CT_IdmlPackage(const CT_IdmlPackage&) = delete;
    CT_IdmlPackage& operator=(const CT_IdmlPackage&) = delete;

    const std::string& s_Path() const { return s_FilePath; }
    bool b_Has(const std::string& s_Entry) const;
    // The unpacked bytes of the entry; e_BadDocument when it is missing or damaged.
    CT_IdmlPartBytes co_Read(const std::string& s_Entry) const;

    // An entry's bytes as the archive keeps them. The archive is read by one thread at a time
    // (co_Read and v_ReadRaw wait for each other, from whatever thread they are called), and
    // what it held may be unpacked by co_Unpack on any thread, each with its own inflater.
    struct CT_Raw {
        std::string s_Bytes;
        bool b_Packed = false;  // deflated, to be unpacked; else the entry's own bytes
        std::uint64_t n_Size = 0;
        std::uint32_t n_Crc = 0;
    };
    // Reads the entry into the buffer (whose memory is reused); e_BadDocument when it is
    // missing or cannot be read.
    void v_ReadRaw(const std::string& s_Entry, CT_Raw& co_Out) const;
    // The unpacked bytes; e_BadDocument naming the package and the entry when they are damaged.
    CT_IdmlPartBytes co_Unpack(const std::string& s_Entry, const CT_Raw& co_Raw,
                               CT_IdmlInflater& co_With) const;

    // Writes the package again with the given entries replaced: a new file beside the old one,
    // the mimetype entry first and stored, every other entry in its old place, unchanged ones
    // copied compressed as they were; then the new file is renamed into place. On failure the
    // old file stays as it was. Afterwards the package reads from the new file. A package whose
    // entries' own headers disagree with its directory, which reading does not mind, is
    // refused here with e_BadDocument before anything is written.
    void v_Save(const CT_Replaced& co_Replaced);
    // What v_Save checks of the package before writing: e_BadDocument when it is refused.
    void v_CheckConsistent() const;

    // The unpacked size above which an entry is refused, and the largest packing ratio allowed
    // for entries above n_RatioFloor bytes.
    static constexpr std::uint64_t n_MaxEntrySize = 256ull << 20;
    static constexpr std::uint64_t n_MaxRatio = 1000;
    static constexpr std::uint64_t n_RatioFloor = 1u << 20;
    // Whether data of n_Size bytes packed into n_Packed is packed more tightly than allowed.
    static bool sb_PackedTooTightly(std::uint64_t n_Size, std::uint64_t n_Packed) {
        return n_Size > n_RatioFloor && n_Size / n_MaxRatio > n_Packed;
    }

  private:
    void v_Index();
    void v_ReadRawHeld(const std::string& s_Entry, CT_Raw& co_Out) const;
    void v_CheckEntry(zip_uint64_t n_Index, const std::string& s_Name) const;
    bool b_IsStored(const std::string& s_Entry) const;
    void v_ReadPacked(const std::string& s_Entry, zip_uint64_t n_Index, const zip_stat_t& co_Stat,
                      CT_Raw& co_Out) const;
    zip_source_t* pco_Copy(zip_t* pco_Out, const std::string& s_Entry) const;
    void v_WriteTo(int i_Descriptor, const CT_Replaced& co_Replaced);
    [[noreturn]] void v_Refuse(const std::string& s_Entry, const std::string& s_What) const;

    std::string s_FilePath;
    std::uint64_t n_ArchiveSize = 0;  // the package's bytes, as it was opened
    CT_IdmlZip co_Zip;
    std::vector<std::string> co_Names;  // in the order of the archive
    std::unordered_map<std::string, zip_uint64_t> co_Indexes;
    // Reading keeps one decompressor and one buffer for the packed bytes for every entry.
    mutable CT_IdmlInflater co_Inflater;
    mutable CT_Raw co_Raw;
    mutable std::mutex co_Reading;  // held while the archive, co_Raw or co_Inflater is used
};
