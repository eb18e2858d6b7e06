// Test helper: the stories of the shared sample packages, read with libzip into memory and
// parsed the way a host parses them. Each story keeps its own document.
#pragma once

#include <zip.h>
#include <pugixml.hpp>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/host/idml/ct_idml_story_xml.h"

struct CT_SampleStory {
    std::string co_Package;  // file name, e.g. "footnotes.idml"
    std::string co_Entry;    // e.g. "Stories/Story_udd.xml"
    std::unique_ptr<pugi::xml_document> pco_Document;

    pugi::xml_node co_Story() const { return pco_Document->document_element().child("Story"); }
    std::string s_Key() const { return co_Story().attribute("Self").value(); }
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

inline std::string s_SampleFolder() {
    const char* pc_shared = std::getenv("STORYPORT_SHARED");
    return std::string(pc_shared ? pc_shared : "../shared") + "/samples/idml/";
}

inline std::vector<std::string> co_SamplePackages() {
    return {"brochure-cs4.idml",    "chinese.idml",         "classifieds.idml",
            "footnotes.idml",       "frames-mixed.idml",    "hyperlinks-table.idml",
            "korean-math.idml",     "notes-mixed.idml",     "sections-masters.idml",
            "story-pointers.idml",  "tables-nested.idml",   "text-on-path.idml",
            "threaded-island.idml", "tracked-changes.idml", "xml-structure.idml"};
}

// Every Stories/*.xml entry of the package, in the package's order; empty when it cannot be read.
inline std::vector<CT_SampleStory> co_ReadStories(const std::string& co_Package) {
    std::vector<CT_SampleStory> co_stories;
    int i_error = 0;
    zip_t* pco_zip = zip_open((s_SampleFolder() + co_Package).c_str(), ZIP_RDONLY, &i_error);
    if (!pco_zip) {
        return co_stories;
    }
    for (zip_int64_t i = 0; i < zip_get_num_entries(pco_zip, 0); ++i) {
        std::string co_name = zip_get_name(pco_zip, static_cast<zip_uint64_t>(i), 0);
        zip_stat_t co_stat;
        if (co_name.rfind("Stories/", 0) != 0 ||
            zip_stat_index(pco_zip, static_cast<zip_uint64_t>(i), 0, &co_stat) != 0) {
            continue;
        }
        std::string co_bytes(co_stat.size, '\0');
        zip_file_t* pco_file = zip_fopen_index(pco_zip, static_cast<zip_uint64_t>(i), 0);
        zip_fread(pco_file, co_bytes.data(), co_stat.size);
        zip_fclose(pco_file);
        CT_SampleStory co_story{co_Package, co_name, std::make_unique<pugi::xml_document>()};
        co_story.pco_Document->load_buffer(co_bytes.data(), co_bytes.size(),
                                           CT_IdmlStoryXml::sn_ParseOptions);
        co_stories.push_back(std::move(co_story));
    }
    zip_close(pco_zip);
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
