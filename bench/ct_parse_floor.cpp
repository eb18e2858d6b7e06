// The least work any command on a package must do: open the zip, unpack every XML entry and
// parse it in place with pugixml, each tree freed before the next is parsed, so that neither its
// time nor its memory holds anything a command could do without. Prints the number of XML entries
// and their unpacked bytes, so that a script can set command times and peak memory against it.
// With --write, also the least an import that changes every story must do to save: each story
// parsed as the command parses a part it may change and written out again by the command's own
// serializing and packing, held packed until the new package is written to OUT with every other
// entry copied as it was.
//   storyport_parse_floor [--write OUT] PACKAGE
#include <libdeflate.h>
#include <zip.h>
#include <pugixml.hpp>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/common/ct_atomic_replace.h"
#include "platform/common/ct_errors.h"
#include "platform/host/idml/ct_idml_deflater.h"
#include "platform/host/idml/ct_idml_file_source.h"
#include "platform/host/idml/ct_idml_packed_source.h"
#include "platform/host/idml/ct_idml_xml_part.h"

namespace {

struct CT_ZipCloser {
    void operator()(zip_t* pco_Zip) const { zip_discard(pco_Zip); }
};
struct CT_InflaterCloser {
    void operator()(libdeflate_decompressor* pco_Inflater) const {
        libdeflate_free_decompressor(pco_Inflater);
    }
};
struct CT_EntryCloser {
    void operator()(zip_file_t* pco_File) const { zip_fclose(pco_File); }
};

bool b_IsXml(const char* pc_Name) {
    const std::size_t n_length = std::strlen(pc_Name);
    return n_length > 4 && std::strcmp(pc_Name + n_length - 4, ".xml") == 0;
}

// Reads what the entry holds, packed or not, into s_Bytes; false when it cannot be read.
bool b_Read(zip_t* pco_Zip, zip_uint64_t n_Index, zip_flags_t n_Flags, std::size_t n_Size,
            std::string& s_Bytes) {
    std::unique_ptr<zip_file_t, CT_EntryCloser> pco_file(
        zip_fopen_index(pco_Zip, n_Index, n_Flags));
    if (!pco_file) {
        return false;
    }
    s_Bytes.resize(n_Size);
    std::size_t n_done = 0;
    while (n_done < s_Bytes.size()) {
        const zip_int64_t i_read =
            zip_fread(pco_file.get(), &s_Bytes[n_done], s_Bytes.size() - n_done);
        if (i_read <= 0) {
            return false;
        }
        n_done += static_cast<std::size_t>(i_read);
    }
    return true;
}

// The unpacked bytes of one entry, or false when it cannot be read. A deflated entry is read
// packed and unpacked whole, its checksum held to the directory's, as the command reads it.
bool b_Unpack(zip_t* pco_Zip, zip_uint64_t n_Index, libdeflate_decompressor* pco_Inflater,
              std::string& s_Packed, std::string& s_Bytes) {
    zip_stat_t co_stat;
    if (zip_stat_index(pco_Zip, n_Index, 0, &co_stat) != 0) {
        return false;
    }
    if (co_stat.comp_method != ZIP_CM_DEFLATE) {
        return b_Read(pco_Zip, n_Index, 0, static_cast<std::size_t>(co_stat.size), s_Bytes);
    }
    if (!b_Read(pco_Zip, n_Index, ZIP_FL_COMPRESSED, static_cast<std::size_t>(co_stat.comp_size),
                s_Packed)) {
        return false;
    }
    s_Bytes.resize(static_cast<std::size_t>(co_stat.size));
    std::size_t n_out = 0;
    return libdeflate_deflate_decompress(pco_Inflater, s_Packed.data(), s_Packed.size(),
                                         s_Bytes.data(), s_Bytes.size(),
                                         &n_out) == LIBDEFLATE_SUCCESS &&
           n_out == s_Bytes.size() &&
           libdeflate_crc32(0, s_Bytes.data(), s_Bytes.size()) == co_stat.crc;
}

// The stories written again, as an import that changed every one writes them: by the command's
// own serializing and packing.
struct CT_Rewrite {
    std::vector<std::pair<zip_uint64_t, std::unique_ptr<CT_IdmlPackedSource>>> co_Stories;

    static bool sb_IsStory(const char* pc_Name) {
        return std::strncmp(pc_Name, "Stories/", 8) == 0;
    }

    void v_Pack(zip_uint64_t n_Index, const pugi::xml_document& co_Tree) {
        const std::string s_xml = CT_IdmlXmlPart::ss_Serialize(co_Tree);
        co_Stories.emplace_back(n_Index,
                                std::make_unique<CT_IdmlPackedSource>(
                                    s_xml, CT_IdmlDeflater::sco_ThisThread().s_Pack(s_xml)));
    }

    // The mimetype first, then every entry in its place, unchanged ones copied packed; into a
    // temporary that replaces the target as the command's save does, so that a failed or
    // interrupted run leaves no package half written. False when it cannot be written.
    bool b_Write(zip_t* pco_From, const char* pc_Path) const {
        try {
            CT_AtomicReplace co_replace{CT_String(pc_Path)};
            int i_error = 0;
            zip_t* pco_out = CT_IdmlFileSource::spco_OpenToWrite(co_replace.i_Fd(), i_error);
            bool b_ok = pco_out != nullptr;
            const zip_int64_t i_mimetype = b_ok ? zip_name_locate(pco_From, "mimetype", 0) : -1;
            const zip_int64_t i_count = zip_get_num_entries(pco_From, 0);
            std::size_t n_story = 0;
            for (zip_int64_t i = -1; b_ok && i < i_count; ++i) {
                const zip_int64_t i_entry = i < 0 ? i_mimetype : i;
                if (i_entry < 0 || (i >= 0 && i == i_mimetype)) {
                    continue;
                }
                const zip_uint64_t n_index = static_cast<zip_uint64_t>(i_entry);
                const bool b_new =
                    n_story < co_Stories.size() && co_Stories[n_story].first == n_index;
                zip_source_t* pco_source =
                    b_new ? co_Stories[n_story++].second->pco_Source(pco_out)
                          : zip_source_zip(pco_out, pco_From, n_index, 0, 0, -1);
                b_ok = pco_source != nullptr &&
                       zip_file_add(pco_out, zip_get_name(pco_From, n_index, 0), pco_source,
                                    ZIP_FL_ENC_UTF_8) >= 0;
                if (!b_ok && pco_source != nullptr) {
                    zip_source_free(pco_source);
                }
            }
            b_ok = b_ok && zip_close(pco_out) == 0;
            if (!b_ok) {
                if (pco_out != nullptr) {
                    zip_discard(pco_out);
                }
                return false;  // the temporary goes with co_replace
            }
            co_replace.v_Commit();
            return true;
        } catch (et_ErrorCode) {
            return false;
        }
    }
};

}  // namespace

int main(int i_Argc, char** ppc_Argv) {
    const bool b_write = i_Argc == 4 && std::strcmp(ppc_Argv[1], "--write") == 0;
    if (i_Argc != 2 && !b_write) {
        std::fprintf(stderr, "usage: %s [--write OUT] PACKAGE\n", ppc_Argv[0]);
        return 2;
    }
    const char* pc_package = ppc_Argv[i_Argc - 1];
    std::unique_ptr<CT_Rewrite> pco_rewrite = b_write ? std::make_unique<CT_Rewrite>() : nullptr;
    // As the command does: the zone is read once, not at each entry's date.
    if (std::getenv("TZ") == nullptr) {
        setenv("TZ", ":/etc/localtime", 0);
    }
    int i_error = 0;
    // Through the command's own reading of the archive, a window at a time.
    std::unique_ptr<zip_t, CT_ZipCloser> pco_zip(
        CT_IdmlFileSource::spco_Open(pc_package, 0, i_error));
    if (!pco_zip) {
        std::fprintf(stderr, "%s: not a zip (libzip error %d)\n", pc_package, i_error);
        return 1;
    }
    std::size_t n_entries = 0;
    std::uint64_t n_bytes = 0;
    std::string s_bytes;
    std::string s_packed;
    std::unique_ptr<libdeflate_decompressor, CT_InflaterCloser> pco_inflater(
        libdeflate_alloc_decompressor());
    const zip_int64_t i_count = zip_get_num_entries(pco_zip.get(), 0);
    for (zip_int64_t i_entry = 0; i_entry < i_count; ++i_entry) {
        const zip_uint64_t n_index = static_cast<zip_uint64_t>(i_entry);
        const char* pc_name = zip_get_name(pco_zip.get(), n_index, 0);
        if (pc_name == nullptr || !b_IsXml(pc_name)) {
            continue;
        }
        if (!b_Unpack(pco_zip.get(), n_index, pco_inflater.get(), s_packed, s_bytes)) {
            std::fprintf(stderr, "%s: entry %s cannot be unpacked\n", pc_package, pc_name);
            return 1;
        }
        // Gone at the end of the loop, before the next part is unpacked. A story to be written
        // again is read as the command reads one it may change: all that it holds kept.
        const bool b_story = pco_rewrite && CT_Rewrite::sb_IsStory(pc_name);
        pugi::xml_document co_tree;
        if (!co_tree.load_buffer_inplace(
                s_bytes.data(), s_bytes.size(),
                CT_IdmlXmlPart::sn_ParseFlags(b_story ? CT_IdmlXmlPart::e_Editable
                                                      : CT_IdmlXmlPart::e_ReadOnly))) {
            std::fprintf(stderr, "%s: entry %s is not well-formed XML\n", pc_package, pc_name);
            return 1;
        }
        if (b_story) {
            try {
                pco_rewrite->v_Pack(n_index, co_tree);
            } catch (et_ErrorCode) {
                std::fprintf(stderr, "%s: entry %s cannot be packed\n", pc_package, pc_name);
                return 1;
            }
        }
        n_bytes += s_bytes.size();
        ++n_entries;
    }
    if (pco_rewrite && !pco_rewrite->b_Write(pco_zip.get(), ppc_Argv[2])) {
        std::fprintf(stderr, "%s cannot be written\n", ppc_Argv[2]);
        return 1;
    }
    std::printf("%zu XML entries, %llu bytes\n", n_entries,
                static_cast<unsigned long long>(n_bytes));
    return 0;
}
