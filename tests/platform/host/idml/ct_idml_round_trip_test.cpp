// Every third-party sample goes through export, import and save, read through or from trees:
// unchanged content leaves the file as it was; stories written again keep their XML while every
// other entry is copied as stored.
#include <algorithm>
#include <fstream>
#include <map>
#include <memory>
#include <utility>

#include "platform/host/idml/ct_idml_document.h"

#include "tests/platform/host/idml/ct_idml_test_support.h"

using namespace idml_test;

namespace {

using CT_Stories = std::map<std::string, std::string>;

class CT_IdmlRoundTrip : public CT_HostTest, public ::testing::WithParamInterface<std::string> {
  protected:
    // Each story's whole text and what is counted of it, as check weighs them.
    std::vector<std::string> co_Asked() {
        std::vector<std::string> co_texts;
        v_ForEachBox(false, [&](void* p_Box) {
            CT_String co_text;
            co_Host.b_GetContent(co_text, p_Box, 10000, 0, 0);
            std::string s_counted;
            co_Host.b_CountedContent(std::string(co_Host.co_GetKey(p_Box).sv()), s_counted);
            co_texts.push_back(std::string(co_text.sv()) + "|" + s_counted);
        });
        return co_texts;
    }

    CT_TempDir co_Dir;
};

// What export and list read of a document opened to be read through, which keeps no story's
// tree, is what they read of one that keeps every tree, with notes kept or skipped, whatever it
// keeps of each story (type sizes too): what it did not keep is read again. An export records the
// codes only of the stories whose codes were kept or read again. A tree asked for afterwards is
// read again, so that an import of the unchanged content still finds every story and leaves the
// file as it was, with nothing beside it.
TEST_P(CT_IdmlRoundTrip, ReadingThroughGivesWhatTheTreesGive) {
    using et_Keep = CT_IdmlHost::et_Keep;
    fs::path co_Package = co_Dir.co_CopySample(GetParam());
    // What is read, and apart from it what the export recorded of the codes.
    using CT_Seen = std::pair<std::vector<std::string>, std::vector<std::string>>;
    auto co_seen = [&]() {
        v_Open(co_Package);
        CT_Seen co_seen{co_Listing(), {}};
        std::vector<std::string>& co_lines = co_seen.first;
        v_ForEachBox(false, [&](void* p_Box) {
            const std::string s_key(co_Host.co_GetKey(p_Box).sv());
            for (unsigned n_limit : {0u, 1u, 20u, 61u, 62u, 10000u}) {
                CT_String co_text;
                const int b_more = co_Host.b_GetContent(co_text, p_Box, n_limit, 1, 0);
                co_lines.push_back(std::string(co_text.sv()) + (b_more ? "+" : "."));
            }
            CT_String co_text;
            co_Host.b_GetContent(co_text, p_Box, 10000, 0, 0);
            std::string s_counted;
            std::string s_described;
            std::vector<CT_IdmlStoryCodeInfo> co_codes;
            EXPECT_TRUE(co_Host.b_CountedContent(s_key, s_counted));
            EXPECT_TRUE(co_Host.b_CountedContent(s_key, s_described, co_codes));
            EXPECT_EQ(s_described, s_counted);
            co_lines.push_back(std::string(co_text.sv()) + "|" + s_counted + "|" +
                               std::to_string(co_codes.size()));
            std::string s_type;
            for (const CT_TypeRun& co_run : co_Host.co_GetStorySetting(CT_String(s_key)).co_Type) {
                s_type += std::to_string(co_run.d_Size) + "/" + std::to_string(co_run.d_Leading) +
                          "x" + std::to_string(co_run.n_Characters) + " ";
            }
            co_lines.push_back(s_type);
        });
        // What is asked of a story after the export wrote it (and let go of what it kept) is
        // what was asked before.
        const std::vector<std::string> co_before = co_Asked();
        for (const auto& co_story : co_ExportAll(co_Dir / "out.stt")) {
            co_lines.push_back(co_story.first + "|" + co_story.second);
            if (const auto* pco_codes = co_Host.pco_ExportedCodes(co_story.first)) {
                for (const CT_IdmlStoryCodeInfo& co_code : *pco_codes) {
                    co_seen.second.push_back(co_story.first + " " + co_code.co_Element + " " +
                                             std::to_string(static_cast<int>(co_code.eo_Kind)) +
                                             " " + std::to_string(co_code.n_Row) + ":" +
                                             std::to_string(co_code.n_Column) + " " +
                                             co_code.co_Look);
                }
            }
        }
        EXPECT_EQ(co_Asked(), co_before);
        v_CloseActive(0);
        return co_seen;
    };
    for (bool b_skip : {false, true}) {
        co_Host.v_SetSkipNotes(b_skip);
        co_Host.v_SetReadThrough(false);
        const CT_Seen co_trees = co_seen();
        co_Host.v_SetReadThrough(true);
        EXPECT_EQ(co_seen(), co_trees);
        for (et_Keep eo_keep : {et_Keep::e_Preview, et_Keep::e_Content}) {
            co_Host.v_SetReadThrough(true, eo_keep, eo_keep == et_Keep::e_Content);
            const CT_Seen co_read = co_seen();
            EXPECT_EQ(co_read.first, co_trees.first) << static_cast<int>(eo_keep);
            // A story whose whole content was not kept is read again, codes and all.
            std::vector<std::string> co_recorded = co_read.second;
            std::vector<std::string> co_all = co_trees.second;
            std::sort(co_recorded.begin(), co_recorded.end());
            std::sort(co_all.begin(), co_all.end());
            EXPECT_TRUE(std::includes(co_all.begin(), co_all.end(), co_recorded.begin(),
                                      co_recorded.end()));
            EXPECT_TRUE(eo_keep == et_Keep::e_Preview || co_recorded.empty());
        }
    }
    co_Host.v_SetSkipNotes(false);
    v_Open(co_Package);
    v_ImportAll(co_Dir / "in.stt", co_ExportAll(co_Dir / "out.stt"));
    v_CloseActive(1);
    EXPECT_EQ(s_ReadFile(co_Package), s_ReadFile(co_Sample(GetParam())));
    EXPECT_EQ(co_Dir.n_Files(), 3u);
}

// A translation imported ahead, into each story as the document is read through, leaves what
// was read of each story as it was and saves the package an import of each story after the
// reading saves; a story the import refuses is refused with the same words, on one thread or
// several, and content other than what was imported ahead is imported as it comes.
TEST_P(CT_IdmlRoundTrip, ImportingAheadGivesWhatImportingAfterGives) {
    const fs::path co_Package = co_Dir.co_CopySample(GetParam());
    co_Host.v_SetReadThrough(true, CT_IdmlHost::et_Keep::e_Content);
    v_Open(co_Package);
    std::map<std::string, std::string> co_translated = co_ExportAll(co_Dir / "out.stt");
    v_CloseActive(0);
    // A story whose first code the translator dropped is refused.
    for (auto& [s_key, s_content] : co_translated) {
        s_content = s_Shouted(s_content);
    }
    for (auto& [s_key, s_content] : co_translated) {
        const std::size_t n_code = s_content.find("<x1/>");
        if (n_code != std::string::npos) {
            s_content.erase(n_code, 5);
            break;
        }
    }
    // Ahead: 0 imports nothing ahead, 1 the contents given, 2 what a translation made from
    // each story as it is read gives (the same contents).
    auto co_imported = [&](const std::string& s_Name, int i_Ahead, const std::string& s_Other) {
        const bool b_Ahead = i_Ahead != 0;
        const fs::path co_copy = co_Dir / s_Name;
        fs::copy_file(co_Package, co_copy);
        std::map<std::string, std::string> co_ahead = co_translated;
        if (!s_Other.empty()) {
            co_ahead[s_Other] += "\n";
        }
        // Views, as a command gives them, into text that outlives the document.
        auto pco_views = std::make_shared<std::map<std::string, std::string_view>>();
        for (const auto& [s_key, s_content] : co_ahead) {
            pco_views->emplace(s_key, s_content);
        }
        if (i_Ahead == 1) {
            co_Host.v_ImportAhead(co_copy.string(), pco_views);
        } else if (i_Ahead == 2) {
            co_Host.v_TranslateAhead(
                co_copy.string(),
                [pco_views](const std::string& s_Key, const CT_IdmlHost::CT_ExportedStory& co_Kept,
                            const CT_IdmlHost::CT_ExportedStory*, std::string& s_Translated) {
                    const auto co_found = pco_views->find(s_Key);
                    EXPECT_FALSE(co_Kept.s_Content.empty()) << s_Key;
                    if (co_found == pco_views->end()) {
                        return false;
                    }
                    s_Translated = co_found->second;
                    return true;
                },
                pco_views);
        }
        const unsigned n_before = co_Host.n_ImportedAhead();
        v_Open(co_copy);
        const fs::path co_file = co_Dir / "in.stt";
        {
            std::ofstream co_out(co_file, std::ios::binary);
            v_ForEachBox(false, [&](void* p_Box) {
                const std::string s_key(co_Host.co_GetKey(p_Box).sv());
                co_out << "\x01" << s_key << "\x02" << co_translated.at(s_key) << "\x03";
            });
        }
        // What was read of each story before the import, as check weighs it.
        std::vector<std::string> co_seen = co_Asked();
        CT_Files co_in;
        co_in.v_Open(CT_String(co_file.c_str()), e_OpenRead, 0);
        co_Host.v_PrepareForImport();
        v_ForEachBox(false, [&](void* p_Box) {
            const std::string s_key(co_Host.co_GetKey(p_Box).sv());
            co_in.v_MoveUntil(CT_String(("\x01" + s_key + "\x02").c_str()));
            try {
                co_Host.b_Import(p_Box, co_in, co_in.n_CountUntil(CT_String("\x03")));
            } catch (et_ErrorCode eo_code) {
                co_seen.push_back(std::to_string(eo_code) + " " +
                                  std::string(CT_Errors::cco_GetLastError().sv()));
            }
        });
        co_in.v_Close();
        EXPECT_EQ(co_Host.n_ImportedAhead() - n_before,
                  b_Ahead ? co_translated.size() - (s_Other.empty() ? 0 : 1) : 0u);
        v_CloseActive(1);
        for (const CT_Entry& co_entry : co_ReadZip(co_copy)) {
            if (co_entry.s_Name.rfind("Stories/", 0) == 0) {
                co_seen.push_back(co_entry.s_Name + "\n" + co_entry.s_Bytes);
            }
        }
        return co_seen;
    };
    const std::vector<std::string> co_after = co_imported("after.idml", 0, "");
    EXPECT_EQ(co_imported("ahead.idml", 1, ""), co_after);
    EXPECT_EQ(co_imported("other.idml", 1, co_translated.begin()->first), co_after);
    EXPECT_EQ(co_imported("made.idml", 2, ""), co_after);
    co_Host.v_SetThreads(3);  // imported ahead on the threads the stories are read on
    EXPECT_EQ(co_imported("threads.idml", 1, ""), co_after);
    EXPECT_EQ(co_imported("made-threads.idml", 2, co_translated.begin()->first), co_after);
}

// Every story parsed and written again holds the same XML; every other entry is copied byte for
// byte as it was stored, in the same order, with the mimetype first and not compressed.
TEST_P(CT_IdmlRoundTrip, StoriesWrittenAgainKeepTheirXmlAndTheRestIsCopied) {
    fs::path co_Package = co_Dir.co_CopySample(GetParam());
    {
        CT_IdmlDocument co_Document(co_Package.string());
        for (const std::string& s_Key : co_Document.co_StoryKeys()) {
            co_Document.pco_FindStory(s_Key)->v_MarkChanged();
        }
        co_Document.v_Save();
        EXPECT_FALSE(co_Document.b_IsChanged());
    }
    std::vector<CT_Entry> co_Before = co_ReadZip(co_Sample(GetParam()));
    std::vector<CT_Entry> co_After = co_ReadZip(co_Package);
    ASSERT_EQ(co_After.size(), co_Before.size());
    EXPECT_EQ(co_After[0].s_Name, "mimetype");
    EXPECT_EQ(co_After[0].i_Method, ZIP_CM_STORE);
    for (std::size_t n = 0; n < co_Before.size(); ++n) {
        const CT_Entry& co_Old = co_Before[n];
        const CT_Entry& co_New = co_After[n];
        ASSERT_EQ(co_New.s_Name, co_Old.s_Name);
        if (co_Old.s_Name.rfind("Stories/", 0) == 0) {
            EXPECT_EQ(s_Canonical(co_New.s_Bytes), s_Canonical(co_Old.s_Bytes)) << co_Old.s_Name;
        } else {
            EXPECT_EQ(co_New.s_Raw, co_Old.s_Raw) << co_Old.s_Name;
        }
    }
    EXPECT_EQ(co_Dir.n_Files(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Samples, CT_IdmlRoundTrip, ::testing::ValuesIn(co_SampleNames()),
                         [](const ::testing::TestParamInfo<std::string>& co_Info) {
                             std::string s_Name = fs::path(co_Info.param).stem().string();
                             std::replace(s_Name.begin(), s_Name.end(), '-', '_');
                             return s_Name;
                         });

}  // namespace
