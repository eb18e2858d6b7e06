#include "platform/host/idml/ct_idml_package.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string_view>
#include <system_error>
#include <vector>

#include "platform/common/ct_atomic_replace.h"
#include "platform/common/ct_errors.h"
#include "platform/common/ct_files.h"
#include "platform/common/internal/ct_os_file.h"
#include "platform/host/idml/ct_idml_file_source.h"

namespace {

const char* const gpc_Mimetype = "mimetype";

std::string s_Quoted(const std::string& s_Text) {
    return "\"" + s_Text + "\"";
}

std::string s_ZipError(int i_Code) {
    zip_error_t co_Error;
    zip_error_init_with_code(&co_Error, i_Code);
    std::string s_Text = zip_error_strerror(&co_Error);
    zip_error_fini(&co_Error);
    return s_Text;
}

[[noreturn]] void v_FailWrite(const std::string& s_Path, const std::string& s_Why) {
    CT_Errors::v_ThrowError(e_FileWrite,
                            CT_String(("cannot write " + s_Quoted(s_Path) + ": " + s_Why).c_str()));
}

// i_Method < 0 keeps what the source holds: packed data stays packed as it is.
void v_Add(zip_t* pco_Out, const std::string& s_Name, zip_source_t* pco_Source,
           zip_int32_t i_Method, const std::string& s_Path) {
    if (pco_Source == nullptr) {
        v_FailWrite(s_Path, zip_strerror(pco_Out));
    }
    zip_int64_t i_Index = zip_file_add(pco_Out, s_Name.c_str(), pco_Source, ZIP_FL_ENC_UTF_8);
    if (i_Index < 0) {
        zip_source_free(pco_Source);
        v_FailWrite(s_Path, zip_strerror(pco_Out));
    }
    if (i_Method >= 0 &&
        zip_set_file_compression(pco_Out, static_cast<zip_uint64_t>(i_Index), i_Method, 0) != 0) {
        v_FailWrite(s_Path, zip_strerror(pco_Out));
    }
}

// A size that cannot be read holds no entry back: the zip library, which read the file, is
// then the judge.
std::uint64_t sn_FileSize(const std::string& s_Path) {
    std::error_code co_error;
    const std::uintmax_t n_size = std::filesystem::file_size(s_Path, co_error);
    return co_error ? ~std::uint64_t{0} : static_cast<std::uint64_t>(n_size);
}

}  // namespace

CT_IdmlPackage::CT_IdmlPackage(const std::string& s_Path) : s_FilePath(s_Path) {
    int i_Error = 0;
    if (const std::string_view* pco_Bytes = CT_Files::spco_ServedFromMemory(CT_String(s_Path))) {
        co_Zip.reset(CT_IdmlFileSource::spco_OpenBytes(*pco_Bytes, i_Error));
        n_ArchiveSize = pco_Bytes->size();
    } else {
        co_Zip.reset(CT_IdmlFileSource::spco_Open(s_Path, 0, i_Error));
        n_ArchiveSize = sn_FileSize(s_Path);
    }
    if (co_Zip == nullptr) {
        // A wrong path in a list of documents is the likelier mistake than a broken package.
        std::error_code co_error;
        const std::filesystem::file_status co_status = std::filesystem::status(s_Path, co_error);
        const std::string s_Text =
            i_Error == ZIP_ER_NOENT ? "cannot open " + s_Quoted(s_Path) + ": no such file"
            : std::filesystem::is_directory(co_status)
                ? s_Quoted(s_Path) + " is a folder, not an IDML package"
                : s_Quoted(s_Path) + " is not an IDML package: " + s_ZipError(i_Error);
        CT_Errors::v_ThrowError(e_BadDocument, CT_String(s_Text.c_str()));
    }
    v_Index();
}

void CT_IdmlPackage::v_Refuse(const std::string& s_Entry, const std::string& s_What) const {
    CT_Errors::v_ThrowError(
        e_BadDocument,
        CT_String((s_Quoted(s_FilePath) + ": entry " + s_Quoted(s_Entry) + " " + s_What).c_str()));
}

void CT_IdmlPackage::v_Index() {
    co_Names.clear();
    co_Indexes.clear();
    zip_int64_t i_Count = zip_get_num_entries(co_Zip.get(), 0);
    // Sized once: a package of many stories would rehash its thousands of names several times.
    // The count is the directory's, which the library has read whole and so is no bigger.
    const std::size_t n_count = static_cast<std::size_t>(std::max<zip_int64_t>(i_Count, 0));
    co_Indexes.reserve(n_count);
    co_Names.reserve(n_count);
    for (zip_int64_t i = 0; i < i_Count; ++i) {
        zip_uint64_t n_Index = static_cast<zip_uint64_t>(i);
        const char* pc_Name = zip_get_name(co_Zip.get(), n_Index, ZIP_FL_ENC_GUESS);
        if (pc_Name == nullptr) {
            v_Refuse("#" + std::to_string(i), "has no readable name");
        }
        std::string s_Name = pc_Name;
        if (!co_Indexes.emplace(s_Name, n_Index).second) {
            v_Refuse(s_Name, "appears twice");
        }
        v_CheckEntry(n_Index, s_Name);
        co_Names.push_back(std::move(s_Name));
    }
}

void CT_IdmlPackage::v_CheckEntry(zip_uint64_t n_Index, const std::string& s_Name) const {
    zip_stat_t co_Stat;
    if (zip_stat_index(co_Zip.get(), n_Index, 0, &co_Stat) != 0) {
        v_Refuse(s_Name, std::string("cannot be read: ") + zip_strerror(co_Zip.get()));
    }
    if (co_Stat.encryption_method != ZIP_EM_NONE) {
        v_Refuse(s_Name, "is encrypted");
    }
    if (!zip_compression_method_supported(co_Stat.comp_method, 0)) {
        v_Refuse(s_Name, "uses an unknown compression method");
    }
    // The directory is not held to the entries' own headers as the package opens: an entry
    // said to take more bytes than the whole package is refused here, before a buffer is sized
    // by it.
    if ((co_Stat.valid & ZIP_STAT_COMP_SIZE) != 0 && co_Stat.comp_size > n_ArchiveSize) {
        v_Refuse(s_Name, "is said to take more bytes than the package holds (" +
                             std::to_string(co_Stat.comp_size) + ")");
    }
    if (co_Stat.size > n_MaxEntrySize) {
        v_Refuse(s_Name, "unpacks to an absurd size (" + std::to_string(co_Stat.size) + " bytes)");
    }
    // A tiny entry cannot do harm whatever its ratio; a big one with a huge ratio is a bomb.
    if (sb_PackedTooTightly(co_Stat.size, co_Stat.comp_size)) {
        v_Refuse(s_Name, "unpacks to an absurd size (" + std::to_string(co_Stat.size) +
                             " bytes from " + std::to_string(co_Stat.comp_size) + ")");
    }
}

bool CT_IdmlPackage::b_Has(const std::string& s_Entry) const {
    return co_Indexes.count(s_Entry) != 0;
}

bool CT_IdmlPackage::b_IsStored(const std::string& s_Entry) const {
    zip_stat_t co_Stat;
    return zip_stat_index(co_Zip.get(), co_Indexes.at(s_Entry), 0, &co_Stat) == 0 &&
           co_Stat.comp_method == ZIP_CM_STORE;
}

// Start 0 and length -1 copy the packed data as it is, without unpacking it.
zip_source_t* CT_IdmlPackage::pco_Copy(zip_t* pco_Out, const std::string& s_Entry) const {
    return zip_source_zip(pco_Out, co_Zip.get(), co_Indexes.at(s_Entry), 0, 0, -1);
}

CT_IdmlPartBytes CT_IdmlPackage::co_Read(const std::string& s_Entry) const {
    const std::lock_guard<std::mutex> co_lock(co_Reading);
    v_ReadRawHeld(s_Entry, co_Raw);
    return co_Unpack(s_Entry, co_Raw, co_Inflater);
}

void CT_IdmlPackage::v_ReadRaw(const std::string& s_Entry, CT_Raw& co_Out) const {
    const std::lock_guard<std::mutex> co_lock(co_Reading);
    v_ReadRawHeld(s_Entry, co_Out);
}

void CT_IdmlPackage::v_ReadRawHeld(const std::string& s_Entry, CT_Raw& co_Out) const {
    auto co_Found = co_Indexes.find(s_Entry);
    if (co_Found == co_Indexes.end()) {
        v_Refuse(s_Entry, "is missing");
    }
    zip_stat_t co_Stat;
    CT_IdmlZipFile co_File;
    const zip_uint64_t n_needed = ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_CRC;
    const bool b_stat = zip_stat_index(co_Zip.get(), co_Found->second, 0, &co_Stat) == 0;
    co_Out.b_Packed =
        b_stat && co_Stat.comp_method == ZIP_CM_DEFLATE && (co_Stat.valid & n_needed) == n_needed;
    if (co_Out.b_Packed) {
        v_ReadPacked(s_Entry, co_Found->second, co_Stat, co_Out);
        return;
    }
    if (!b_stat ||
        (co_File.reset(zip_fopen_index(co_Zip.get(), co_Found->second, 0)), co_File == nullptr)) {
        v_Refuse(s_Entry, std::string("cannot be unpacked: ") + zip_strerror(co_Zip.get()));
    }
    std::string& s_Bytes = co_Out.s_Bytes;
    s_Bytes.assign(static_cast<std::size_t>(co_Stat.size), '\0');
    std::size_t n_Done = 0;
    zip_int64_t i_Read = 1;
    while (n_Done < s_Bytes.size() &&
           (i_Read = zip_fread(co_File.get(), &s_Bytes[n_Done], s_Bytes.size() - n_Done)) > 0) {
        n_Done += static_cast<std::size_t>(i_Read);
    }
    // Reading on to the end lets the library check the entry's checksum.
    char c_Extra = 0;
    if (i_Read > 0) {
        i_Read = zip_fread(co_File.get(), &c_Extra, 1);
    }
    std::string s_Why = i_Read < 0 ? zip_file_strerror(co_File.get()) : "";
    if (i_Read != 0 || n_Done != s_Bytes.size()) {
        v_Refuse(s_Entry, "cannot be unpacked: " + (s_Why.empty() ? "wrong size" : s_Why));
    }
}

// A deflated entry: its packed bytes are read as they are, to be unpacked by co_Unpack.
void CT_IdmlPackage::v_ReadPacked(const std::string& s_Entry, zip_uint64_t n_Index,
                                  const zip_stat_t& co_Stat, CT_Raw& co_Out) const {
    CT_IdmlZipFile co_File(zip_fopen_index(co_Zip.get(), n_Index, ZIP_FL_COMPRESSED));
    if (co_File == nullptr) {
        v_Refuse(s_Entry, std::string("cannot be unpacked: ") + zip_strerror(co_Zip.get()));
    }
    std::string& s_PackedBytes = co_Out.s_Bytes;
    s_PackedBytes.resize(static_cast<std::size_t>(co_Stat.comp_size));
    std::size_t n_Done = 0;
    zip_int64_t i_Read = 1;
    while (n_Done < s_PackedBytes.size() &&
           (i_Read = zip_fread(co_File.get(), &s_PackedBytes[n_Done],
                               s_PackedBytes.size() - n_Done)) > 0) {
        n_Done += static_cast<std::size_t>(i_Read);
    }
    if (i_Read < 0 || n_Done != s_PackedBytes.size()) {
        v_Refuse(s_Entry,
                 "cannot be unpacked: " +
                     std::string(i_Read < 0 ? zip_file_strerror(co_File.get()) : "wrong size"));
    }
    co_Out.n_Size = co_Stat.size;
    co_Out.n_Crc = co_Stat.crc;
}

CT_IdmlPartBytes CT_IdmlPackage::co_Unpack(const std::string& s_Entry, const CT_Raw& co_Raw,
                                           CT_IdmlInflater& co_With) const {
    if (!co_Raw.b_Packed) {
        return CT_IdmlPartBytes(co_Raw.s_Bytes);
    }
    CT_IdmlPartBytes co_Bytes;
    const std::string s_Why =
        co_With.s_Unpack(co_Raw.s_Bytes, co_Raw.n_Size, co_Raw.n_Crc, co_Bytes);
    if (!s_Why.empty()) {
        v_Refuse(s_Entry, "cannot be unpacked: " + s_Why);
    }
    return co_Bytes;
}

void CT_IdmlPackage::v_Save(const CT_Replaced& co_Replaced) {
    if (CT_Files::spco_ServedFromMemory(CT_String(s_FilePath)) != nullptr) {
        v_FailWrite(s_FilePath, "it was read from memory");
    }
    v_CheckConsistent();
    CT_AtomicReplace co_Replace{CT_String(s_FilePath.c_str())};
    v_WriteTo(co_Replace.i_Fd(), co_Replaced);
    co_Replace.v_Commit();
    int i_Error = 0;
    CT_IdmlZip co_New(CT_IdmlFileSource::spco_Open(s_FilePath, 0, i_Error));
    if (co_New == nullptr) {
        CT_Errors::v_ThrowError(e_FileRead, CT_String(("cannot read " + s_Quoted(s_FilePath) +
                                                       " again: " + s_ZipError(i_Error))
                                                          .c_str()));
    }
    co_Zip = std::move(co_New);
    n_ArchiveSize = sn_FileSize(s_FilePath);
    v_Index();
}

// Reading needs no agreement between each entry's own header and the archive's directory, as
// every entry read is held to its checksum; copying unchanged entries as they are does, and a
// check of every header costs a read of each, so it is made only before a save.
void CT_IdmlPackage::v_CheckConsistent() const {
    int i_Error = 0;
    CT_IdmlZip co_checked(CT_IdmlFileSource::spco_Open(s_FilePath, ZIP_CHECKCONS, i_Error));
    if (co_checked == nullptr) {
        CT_Errors::v_ThrowError(
            e_BadDocument,
            CT_String((s_Quoted(s_FilePath) +
                       " cannot be written again: its entries are at odds with its directory (" +
                       s_ZipError(i_Error) + ")")
                          .c_str()));
    }
}

// The replaced entries' sources must outlive the archive: libzip reads them when it is closed.
void CT_IdmlPackage::v_WriteTo(int i_Descriptor, const CT_Replaced& co_Replaced) {
    std::string s_Mimetype;
    int i_Error = 0;
    CT_IdmlZip co_Out(CT_IdmlFileSource::spco_OpenToWrite(i_Descriptor, i_Error));
    if (co_Out == nullptr) {
        v_FailWrite(s_FilePath, s_ZipError(i_Error));
    }
    zip_t* pco_Out = co_Out.get();
    // The type comes first and unpacked, where readers look for it.
    if (b_Has(gpc_Mimetype) && !b_IsStored(gpc_Mimetype)) {
        s_Mimetype = std::string(co_Read(gpc_Mimetype).sv());
        v_Add(pco_Out, gpc_Mimetype,
              zip_source_buffer(pco_Out, s_Mimetype.data(), s_Mimetype.size(), 0), ZIP_CM_STORE,
              s_FilePath);
    } else if (b_Has(gpc_Mimetype)) {
        v_Add(pco_Out, gpc_Mimetype, pco_Copy(pco_Out, gpc_Mimetype), -1, s_FilePath);
    }
    for (const std::string& s_Name : co_Names) {
        if (s_Name == gpc_Mimetype) {
            continue;
        }
        auto co_New = co_Replaced.find(s_Name);
        if (co_New != co_Replaced.end()) {
            v_Add(pco_Out, s_Name, co_New->second->pco_Source(pco_Out), -1, s_FilePath);
            continue;
        }
        v_Add(pco_Out, s_Name, pco_Copy(pco_Out, s_Name), -1, s_FilePath);
    }
    if (zip_close(pco_Out) != 0) {
        // A failed write is told as the file layer tells it: "the disk is full".
        const zip_error_t* pco_error = zip_get_error(pco_Out);
        v_FailWrite(s_FilePath, zip_error_code_zip(pco_error) == ZIP_ER_WRITE
                                    ? CT_OsFile::sco_Reason(zip_error_code_system(pco_error))
                                    : std::string(zip_strerror(pco_Out)));
    }
    co_Out.release();  // closed: the archive is freed
}
