// The XLIFF reader and the laying of its units over a document's stories, on files that
// translation tools and translators have been at: any bytes give stories or one refusal, never
// a crash or another error. The stories it gives must reach
// the document as they stand: well-formed UTF-8, tagged content that reads back to the same
// bytes, keys and contents that come out of the tagged story file written for the import
// unchanged, and, imported by the kernel into a document of those keys (the memory host, the
// file served from memory), every story in its box byte for byte. Read from a file, which gives
// back its bytes as it goes and reads a unit's text again when asked, the bytes give what they
// give from memory.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "document/ct_document.h"
#include "exchange/ct_tagged_file.h"
#include "exchange/ct_tagged_token.h"
#include "exchange/ct_xliff_placement.h"
#include "exchange/ct_xliff_reader.h"
#include "platform/common/ct_errors.h"
#include "platform/common/ct_file_bytes.h"
#include "platform/common/ct_files.h"
#include "platform/common/ct_utf8.h"
#include "platform/host/ct_host.h"
#include "platform/host/idml/ct_idml_host.h"
#include "platform/host/memory/ct_memory_host.h"

namespace {
// Imports the stories into a document that has a box for each key and checks that each box
// then holds its story's content. Keys given twice cannot make such a document.
void v_ImportIntoDocument(const std::vector<CT_TaggedStory>& co_Stories) {
    std::set<std::string> co_keys;
    std::vector<CT_MemoryBox> co_boxes;
    for (const CT_TaggedStory& co_story : co_Stories) {
        if (!co_keys.insert(co_story.co_Key).second) {
            return;
        }
        CT_MemoryBox co_box;
        co_box.s_Key = co_story.co_Key;
        co_box.i_Y = static_cast<int>(co_boxes.size()) * 10;
        co_box.s_Content = "old";
        co_boxes.push_back(co_box);
    }
    if (co_boxes.empty()) {
        return;
    }
    const std::string s_tagged = CT_TaggedStoryFile::s_Write(co_Stories, CT_MemoryHost::spc_OpenTag,
                                                             CT_MemoryHost::spc_CloseTag);
    const CT_String co_path("/x.mtt");
    CT_Files::sv_ServeFromMemory(co_path, s_tagged);
    {
        CT_MemoryHost co_host;
        co_host.v_SetJournaling(false);
        CT_Host::sv_Install(&co_host);
        co_host.v_PutDocument("/x.indd", co_boxes);
        std::ostringstream co_out;
        CT_LogStream co_log(co_out);
        CT_StoryListSettings co_settings;
        CT_StoryFormatSettings co_format;
        CT_ProcessData co_data(co_log, co_format, CT_String("Fuzz"));
        if (CT_Document::sb_Import("/x.indd", co_path, co_settings, co_data) != 0) {
            std::abort();
        }
        for (const CT_MemoryBox& co_box : co_host.co_SavedBoxes("/x.indd")) {
            for (const CT_TaggedStory& co_story : co_Stories) {
                if (co_story.co_Key == co_box.s_Key && co_story.co_Content != co_box.s_Content) {
                    std::abort();
                }
            }
        }
        if (co_host.n_LiveBoxHandles() != 0 || co_host.n_LiveDocumentHandles() != 0) {
            std::abort();
        }
    }
    CT_Files::sv_ServeFromMemory(CT_String(), std::string_view());
    CT_Errors::v_ResetError();
}
}  // namespace

// What the reader gives of every unit, its text read.
std::string s_Units(CT_XliffReader& co_Reader) {
    std::string s_units;
    for (const CT_XliffUnit& co_unit : co_Reader.cco_Units()) {
        co_Reader.v_Unpack(co_unit);
        s_units +=
            co_unit.co_Id + "\n" + std::to_string(co_unit.n_Line) + "\n" + co_unit.co_Fault + "\n";
        CT_TaggedToken::sv_Write(co_unit.co_Source, s_units);
        s_units += "\n";
        CT_TaggedToken::sv_Write(co_unit.co_Target, s_units);
        s_units += "\n";
    }
    return s_units;
}

// The same bytes read from a file as from memory: the same units, or the same refusal.
void v_ReadFromAFile(std::string_view co_Bytes) {
    // One file for the whole run, removed when it ends.
    static const struct CT_Scratch {
        std::string s_Path = std::filesystem::temp_directory_path() / "storyport-fuzz-XXXXXX";
        CT_Scratch() { close(mkstemp(s_Path.data())); }
        ~CT_Scratch() { unlink(s_Path.c_str()); }
    } sco_scratch;
    const std::string& ss_path = sco_scratch.s_Path;
    std::string s_memory;
    std::string s_file;
    try {
        CT_XliffReader co_reader(co_Bytes);
        s_memory = s_Units(co_reader);
    } catch (const CT_XliffReader::CT_Refusal& co_refusal) {
        s_memory = co_refusal.what();
    }
    {
        std::ofstream(ss_path, std::ios::binary | std::ios::trunc)
            .write(co_Bytes.data(), static_cast<std::streamsize>(co_Bytes.size()));
        CT_FileBytes co_file(ss_path);
        try {
            CT_XliffReader co_reader(co_file, CT_XliffReader::CT_Cancel(), 2);
            s_file = s_Units(co_reader);
        } catch (const CT_XliffReader::CT_Refusal& co_refusal) {
            s_file = co_refusal.what();
        }
    }
    if (s_file != s_memory) {
        std::abort();
    }
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pc_Data, std::size_t n_Size) {
    v_ReadFromAFile(std::string_view(reinterpret_cast<const char*>(pc_Data), n_Size));
    std::vector<CT_TaggedStory> co_stories;
    try {
        const CT_XliffReader co_reader(
            std::string_view(reinterpret_cast<const char*>(pc_Data), n_Size));
        // Every story the file names is laid over the same document story: a paragraph with a
        // formatting run, a footnote of two paragraphs, and an empty last paragraph.
        static const CT_StoryLayout::CT_Codes sco_codes = [] {
            CT_StoryLayout::CT_Codes co_codes;
            co_codes[2].eo_Kind = CT_ExchangeCode::et_Kind::e_FlowOpen;
            co_codes[2].co_Label = "footnote";
            co_codes[3].eo_Kind = CT_ExchangeCode::et_Kind::e_FlowClose;
            return co_codes;
        }();
        std::vector<CT_XliffFinding> co_findings;
        co_stories = CT_XliffPlacement::sco_PlaceAll(
            co_reader,
            [](const std::string&, std::vector<CT_StoryLayout>& co_Layouts) {
                co_Layouts.emplace_back("Hello <g1>big</g1> world.<x2/>Foot\nnote.\n<x3/>\n\n",
                                        sco_codes);
                return true;
            },
            co_findings);
    } catch (const CT_XliffReader::CT_Refusal&) {
        return 0;
    }
    for (const CT_TaggedStory& co_story : co_stories) {
        if (!CT_Utf8::sb_IsValid(co_story.co_Key) || !CT_Utf8::sb_IsValid(co_story.co_Content)) {
            std::abort();
        }
        std::vector<CT_TaggedToken> co_tokens;
        CT_TaggedToken::sv_Read(co_story.co_Content, co_tokens);  // raising is a finding
        std::string s_again;
        CT_TaggedToken::sv_Write(co_tokens, s_again);
        if (s_again != co_story.co_Content) {
            std::abort();
        }
    }
    const std::vector<CT_TaggedStory> co_read =
        CT_TaggedStoryFile::sco_Read(CT_TaggedStoryFile::s_Write(
            co_stories, CT_IdmlHost::spc_OpenTag, CT_IdmlHost::spc_CloseTag));
    if (co_read.size() != co_stories.size()) {
        std::abort();
    }
    for (std::size_t n = 0; n < co_read.size(); ++n) {
        if (co_read[n].co_Key != co_stories[n].co_Key ||
            co_read[n].co_Content != co_stories[n].co_Content) {
            std::abort();
        }
    }
    v_ImportIntoDocument(co_stories);
    return 0;
}
