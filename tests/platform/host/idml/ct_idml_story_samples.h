// Test helper shared by the codec, host and command tests, without the host: the third-party
// sample packages, their entries read and written with libzip, and their stories parsed the way a
// host parses them.
#pragma once

#include <gtest/gtest.h>
#include <zip.h>
#include <pugixml.hpp>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/host/idml/ct_idml_story_xml.h"

namespace idml_test {

namespace fs = std::filesystem;

struct CT_Entry {
    CT_Entry(std::string s_EntryName, std::string s_Data, zip_int32_t i_How = ZIP_CM_DEFLATE,
             std::string s_Stored = "")
        : s_Name(std::move(s_EntryName)),
          s_Bytes(std::move(s_Data)),
          i_Method(i_How),
          s_Raw(std::move(s_Stored)) {}
    std::string s_Name;
    std::string s_Bytes;
    zip_int32_t i_Method;
    std::string s_Raw;  // the compressed bytes as stored
};

inline fs::path co_Sample(const std::string& s_Name) {
    return fs::path(STORYPORT_TEST_DATA) / "idml" / s_Name;
}

// The third-party samples, named here so that test names exist before the samples are looked at.
inline std::vector<std::string> co_SampleNames() {
    return {"brochure-cs4.idml",    "chinese.idml",         "classifieds.idml",
            "footnotes.idml",       "frames-mixed.idml",    "hyperlinks-table.idml",
            "korean-math.idml",     "notes-mixed.idml",     "sections-masters.idml",
            "story-pointers.idml",  "tables-nested.idml",   "text-on-path.idml",
            "threaded-island.idml", "tracked-changes.idml", "xml-structure.idml"};
}

inline std::string s_ReadEntry(zip_t* pco_Zip, zip_uint64_t n_Index, zip_flags_t n_Flags) {
    zip_stat_t co_Stat;
    zip_stat_index(pco_Zip, n_Index, 0, &co_Stat);
    std::string s_Bytes(n_Flags & ZIP_FL_COMPRESSED ? co_Stat.comp_size : co_Stat.size, '\0');
    zip_file_t* pco_File = zip_fopen_index(pco_Zip, n_Index, n_Flags);
    zip_fread(pco_File, s_Bytes.data(), s_Bytes.size());
    zip_fclose(pco_File);
    return s_Bytes;
}

// Every entry of a package in archive order, unpacked and as stored.
inline std::vector<CT_Entry> co_ReadZip(const fs::path& co_Path) {
    int i_Error = 0;
    zip_t* pco_Zip = zip_open(co_Path.c_str(), ZIP_RDONLY, &i_Error);
    EXPECT_NE(pco_Zip, nullptr) << co_Path;
    std::vector<CT_Entry> co_Entries;
    for (zip_int64_t i = 0; pco_Zip != nullptr && i < zip_get_num_entries(pco_Zip, 0); ++i) {
        zip_uint64_t n = static_cast<zip_uint64_t>(i);
        zip_stat_t co_Stat;
        zip_stat_index(pco_Zip, n, 0, &co_Stat);
        co_Entries.emplace_back(zip_get_name(pco_Zip, n, 0), s_ReadEntry(pco_Zip, n, 0),
                                static_cast<zip_int32_t>(co_Stat.comp_method),
                                s_ReadEntry(pco_Zip, n, ZIP_FL_COMPRESSED));
    }
    if (pco_Zip != nullptr) {
        zip_discard(pco_Zip);
    }
    return co_Entries;
}

// A package of the entries, each packed by its method.
inline void v_WriteZip(const fs::path& co_Path, const std::vector<CT_Entry>& co_Entries) {
    int i_Error = 0;
    zip_t* pco_Zip = zip_open(co_Path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &i_Error);
    ASSERT_NE(pco_Zip, nullptr);
    for (const CT_Entry& co_Entry : co_Entries) {
        zip_source_t* pco_Source =
            zip_source_buffer(pco_Zip, co_Entry.s_Bytes.data(), co_Entry.s_Bytes.size(), 0);
        zip_int64_t i_Index = zip_file_add(pco_Zip, co_Entry.s_Name.c_str(), pco_Source, 0);
        zip_set_file_compression(pco_Zip, static_cast<zip_uint64_t>(i_Index), co_Entry.i_Method, 0);
    }
    ASSERT_EQ(zip_close(pco_Zip), 0);
}

struct CT_SampleStory {
    std::string co_Package;  // file name, e.g. "footnotes.idml"
    std::string co_Entry;    // e.g. "Stories/Story_udd.xml"
    std::unique_ptr<pugi::xml_document> pco_Document;

    pugi::xml_node co_Story() const { return pco_Document->document_element().child("Story"); }
    std::string s_Xml() const {
        std::string co_out;
        struct ct_Writer : pugi::xml_writer {
            std::string* pco_Out;
            void write(const void* p_Data, size_t n_Size) override {
                pco_Out->append(static_cast<const char*>(p_Data), n_Size);
            }
        } co_writer;
        co_writer.pco_Out = &co_out;
        pco_Document->save(co_writer, "", CT_IdmlStoryXml::sn_WriteOptions);
        return co_out;
    }
};

// Every Stories/*.xml entry of the package, in the package's order, each in its own document.
inline std::vector<CT_SampleStory> co_ReadStories(const std::string& co_Package) {
    std::vector<CT_SampleStory> co_stories;
    for (const CT_Entry& co_entry : co_ReadZip(co_Sample(co_Package))) {
        if (co_entry.s_Name.rfind("Stories/", 0) != 0) {
            continue;
        }
        co_stories.push_back({co_Package, co_entry.s_Name, std::make_unique<pugi::xml_document>()});
        co_stories.back().pco_Document->load_buffer(
            co_entry.s_Bytes.data(), co_entry.s_Bytes.size(), CT_IdmlStoryXml::sn_ParseOptions);
    }
    return co_stories;
}

inline CT_SampleStory co_ReadStory(const std::string& co_Package, const std::string& co_Entry) {
    for (CT_SampleStory& co_story : co_ReadStories(co_Package)) {
        if (co_story.co_Entry == co_Entry) {
            return std::move(co_story);
        }
    }
    return CT_SampleStory{co_Package, co_Entry, std::make_unique<pugi::xml_document>()};
}

// A translation that changes every story: ASCII letters outside codes and escapes in capitals.
inline std::string s_Shouted(const std::string& s_Tagged) {
    std::string s_out = s_Tagged;
    bool b_code = false;
    for (std::size_t n_at = 0; n_at < s_out.size(); ++n_at) {
        const char c_at = s_out[n_at];
        if (c_at == '\\') {
            ++n_at;
        } else if (c_at == '<' || c_at == '>') {
            b_code = c_at == '<';
        } else if (!b_code && c_at >= 'a' && c_at <= 'z') {
            s_out[n_at] = static_cast<char>(c_at - 'a' + 'A');
        }
    }
    return s_out;
}

}  // namespace idml_test
