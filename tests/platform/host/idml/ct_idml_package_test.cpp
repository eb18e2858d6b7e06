// Broken packages are refused when opened, with one error that names the file and the entry,
// and nothing is written: the file keeps its bytes and nothing appears beside it.
#include <fcntl.h>
#include <unistd.h>

#include <cstring>

#include "platform/host/idml/ct_idml_file_source.h"
#include "platform/host/idml/ct_idml_package.h"
#include "tests/platform/host/idml/ct_idml_test_support.h"

using namespace idml_test;

namespace {

struct CT_Broken {
    const char* pc_Case;
    std::function<void(const fs::path&)> f_Make;
    std::string s_Expected;  // follows the quoted path in the error's text
};

template <typename F>
et_ErrorCode eo_Raised(F f_Call) {
    try {
        f_Call();
    } catch (et_ErrorCode eo_Code) {
        return eo_Code;
    }
    return e_NoError;
}

std::vector<CT_Entry> co_Without(std::vector<CT_Entry> co_Entries, const std::string& s_Name) {
    co_Entries.erase(
        std::remove_if(co_Entries.begin(), co_Entries.end(),
                       [&](const CT_Entry& co_Entry) { return co_Entry.s_Name == s_Name; }),
        co_Entries.end());
    return co_Entries;
}

class CT_IdmlPackageTest : public CT_HostTest {};

TEST_F(CT_IdmlPackageTest, BrokenPackagesAreRefusedWithTheFileAndTheEntry) {
    const std::vector<std::pair<std::string, std::string>> co_Two = {
        {"k1", "<Content>A</Content>"}, {"k2", "<Content>B</Content>"}};
    const std::vector<CT_Broken> co_Cases = {
        {"not a zip", [](const fs::path& co_Path) { std::ofstream(co_Path) << "plain text"; },
         " is not an IDML package: Not a zip archive"},
        {"truncated",
         [](const fs::path& co_Path) {
             std::string s_Bytes = s_ReadFile(co_Sample("footnotes.idml"));
             std::ofstream(co_Path, std::ios::binary) << s_Bytes.substr(0, s_Bytes.size() / 2);
         },
         " is not an IDML package: Not a zip archive"},
        {"no design map",
         [&](const fs::path& co_Path) {
             v_WriteZip(co_Path, co_Without(co_SmallPackage(co_Two), "designmap.xml"));
         },
         ": entry \"designmap.xml\" is missing"},
        {"story missing",
         [&](const fs::path& co_Path) {
             v_WriteZip(co_Path, co_Without(co_SmallPackage(co_Two), "Stories/Story_k2.xml"));
         },
         ": entry \"Stories/Story_k2.xml\" is missing"},
        {"malformed story",
         [&](const fs::path& co_Path) {
             std::vector<CT_Entry> co_Entries = co_SmallPackage(co_Two);
             co_Entries[4].s_Bytes.resize(co_Entries[4].s_Bytes.size() - 10);
             v_WriteZip(co_Path, co_Entries);
         },
         ": entry \"Stories/Story_k2.xml\" is not well-formed XML (Start-end tags mismatch at "
         "byte "},
        // Spreads share one tree: one that holds nothing or nests too deep is named as a story is.
        {"empty story",
         [&](const fs::path& co_Path) {
             std::vector<CT_Entry> co_Entries = co_SmallPackage(co_Two);
             co_Entries[4].s_Bytes = "<?xml version=\"1.0\"?>\n";
             v_WriteZip(co_Path, co_Entries);
         },
         ": entry \"Stories/Story_k2.xml\" is not well-formed XML (has no root element at byte 0)"},
        {"empty spread",
         [&](const fs::path& co_Path) {
             std::vector<CT_Entry> co_Entries = co_SmallPackage(co_Two);
             co_Entries[2].s_Bytes = "<?xml version=\"1.0\"?>\n";
             v_WriteZip(co_Path, co_Entries);
         },
         ": entry \"Spreads/S.xml\" is not well-formed XML (has no root element at byte 0)"},
        {"spread nested too deep",
         [&](const fs::path& co_Path) {
             std::vector<CT_Entry> co_Entries = co_SmallPackage(co_Two);
             std::string s_Deep;
             for (int i = 0; i < 1100; ++i) {
                 s_Deep += "<Group>";
             }
             for (int i = 0; i < 1100; ++i) {
                 s_Deep += "</Group>";
             }
             co_Entries[2].s_Bytes.insert(co_Entries[2].s_Bytes.rfind("</Spread>"), s_Deep);
             v_WriteZip(co_Path, co_Entries);
         },
         ": entry \"Spreads/S.xml\" nests elements more than 1000 deep (at byte "},
        // A story's depth is measured in the walk that also finds its anchored frames.
        {"story nested too deep",
         [&](const fs::path& co_Path) {
             std::string s_Deep;
             for (int i = 0; i < 1100; ++i) {
                 s_Deep += "<XMLElement>";
             }
             s_Deep += "<TextFrame ParentStory=\"k1\"/>";
             for (int i = 0; i < 1100; ++i) {
                 s_Deep += "</XMLElement>";
             }
             v_WriteZip(co_Path, co_SmallPackage({{"k1", "<Content>A</Content>"}, {"k2", s_Deep}}));
         },
         ": entry \"Stories/Story_k2.xml\" nests elements more than 1000 deep (at byte "},
        {"damaged story",
         [&](const fs::path& co_Path) {
             std::string s_Text;
             for (int i = 0; i < 200; ++i) {
                 s_Text += "line " + std::to_string(i * 7919 % 1000) + " of the story\n";
             }
             v_WriteZip(co_Path, co_SmallPackage({{"k1", "<Content>A</Content>"},
                                                  {"k2", "<Content>" + s_Text + "</Content>"}}));
             // One byte of the story's packed data changed: the local header gives its place.
             std::string s_Bytes = s_ReadFile(co_Path);
             const std::string s_Name = "Stories/Story_k2.xml";
             const std::size_t n_Name = s_Bytes.find(s_Name);
             const std::size_t n_Extra = static_cast<unsigned char>(s_Bytes[n_Name - 2]) |
                                         static_cast<unsigned char>(s_Bytes[n_Name - 1]) << 8;
             s_Bytes[n_Name + s_Name.size() + n_Extra + 40] ^= 0x55;
             std::ofstream(co_Path, std::ios::binary) << s_Bytes;
         },
         ": entry \"Stories/Story_k2.xml\" cannot be unpacked: "},
        {"packed size beyond the package",
         [&](const fs::path& co_Path) {
             v_WriteZip(co_Path, co_SmallPackage(co_Two));
             // The directory's record of the story says it packs into 2 GB.
             std::string s_Bytes = s_ReadFile(co_Path);
             const std::string s_Name = "Stories/Story_k2.xml";
             const std::size_t n_Record = s_Bytes.rfind(s_Name) - 46;
             ASSERT_EQ(s_Bytes.compare(n_Record, 4, "PK\x01\x02"), 0);
             s_Bytes.replace(n_Record + 20, 4, "\xF0\xFF\xFF\x7F", 4);
             std::ofstream(co_Path, std::ios::binary) << s_Bytes;
         },
         ": entry \"Stories/Story_k2.xml\" is said to take more bytes than the package holds "
         "(2147483632)"},
        {"packing bomb",
         [&](const fs::path& co_Path) {
             std::vector<CT_Entry> co_Entries = co_SmallPackage(co_Two);
             co_Entries.emplace_back("Resources/Big.xml", std::string(8u << 20, ' '));
             v_WriteZip(co_Path, co_Entries);
         },
         ": entry \"Resources/Big.xml\" unpacks to an absurd size (8388608 bytes from "},
    };
    for (const CT_Broken& co_Case : co_Cases) {
        CT_TempDir co_Dir;
        const fs::path co_Path = co_Dir / "broken.idml";
        co_Case.f_Make(co_Path);
        const std::string s_Before = s_ReadFile(co_Path);
        try {
            void* p_Document = co_Host.p_Open(CT_String(co_Path.c_str()), 1);
            co_Host.v_Release(p_Document);
            ADD_FAILURE() << co_Case.pc_Case << ": opened";
        } catch (et_ErrorCode eo_Code) {
            EXPECT_EQ(eo_Code, e_BadDocument) << co_Case.pc_Case;
            std::string s_Text(CT_Errors::cco_GetLastError().sv());
            EXPECT_EQ(s_Text.substr(0, co_Path.string().size() + 2 + co_Case.s_Expected.size()),
                      "\"" + co_Path.string() + "\"" + co_Case.s_Expected)
                << co_Case.pc_Case;
        }
        EXPECT_EQ(s_ReadFile(co_Path), s_Before) << co_Case.pc_Case;
        EXPECT_EQ(co_Dir.n_Files(), 1u) << co_Case.pc_Case;
        EXPECT_EQ(co_Host.n_OpenDocuments(), 0u) << co_Case.pc_Case;
        EXPECT_EQ(co_Host.p_GetCurrentDocument(), nullptr) << co_Case.pc_Case;

        // The same bytes served from memory, as the fuzz target reads them, get the same error.
        const std::string s_Served = (co_Dir / "served.idml").string();
        CT_Files::sv_ServeFromMemory(CT_String(s_Served), s_Before);
        EXPECT_EQ(e_BadDocument, eo_Raised([&] { v_Open(s_Served); })) << co_Case.pc_Case;
        EXPECT_EQ(std::string(CT_Errors::cco_GetLastError().sv())
                      .substr(0, s_Served.size() + 2 + co_Case.s_Expected.size()),
                  "\"" + s_Served + "\"" + co_Case.s_Expected)
            << co_Case.pc_Case;
        CT_Files::sv_ServeFromMemory(CT_String(), {});
    }
}

// A path that names nothing, or a folder, is told as such: in a list of documents that is the
// likelier mistake than a broken package.
TEST_F(CT_IdmlPackageTest, AMissingPathOrAFolderIsToldAsSuch) {
    CT_TempDir co_Dir;
    fs::create_directory(co_Dir / "folder.idml");
    const std::pair<std::string, std::string> aco_cases[] = {
        {(co_Dir / "missing.idml").string(),
         "cannot open \"" + (co_Dir / "missing.idml").string() + "\": no such file"},
        {(co_Dir / "folder.idml").string(),
         "\"" + (co_Dir / "folder.idml").string() + "\" is a folder, not an IDML package"},
    };
    for (const auto& [s_path, s_expected] : aco_cases) {
        EXPECT_EQ(e_BadDocument, eo_Raised([&] { v_Open(s_path); })) << s_path;
        EXPECT_EQ(std::string(CT_Errors::cco_GetLastError().sv()), s_expected);
        EXPECT_EQ(co_Host.n_OpenDocuments(), 0u);
    }
}

// A package served from memory lists and exports what the file does, and is never written.
TEST_F(CT_IdmlPackageTest, ServedFromMemoryReadsAsTheFileAndIsNotSaved) {
    CT_TempDir co_Dir;
    v_Open(co_Sample("tables-nested.idml"));
    const std::vector<std::string> co_FromDisk = co_Listing();
    const std::map<std::string, std::string> co_Stories = co_ExportAll(co_Dir / "disk.stt");
    v_CloseActive(0);

    const std::string s_Bytes = s_ReadFile(co_Sample("tables-nested.idml"));
    const std::string s_Served = (co_Dir / "served.idml").string();
    CT_Files::sv_ServeFromMemory(CT_String(s_Served), s_Bytes);
    v_Open(s_Served);
    EXPECT_EQ(co_Listing(), co_FromDisk);
    EXPECT_EQ(co_ExportAll(co_Dir / "served.stt"), co_Stories);
    v_CloseActive(0);

    CT_IdmlPackage co_Package(s_Served);
    EXPECT_EQ(e_FileWrite, eo_Raised([&] { co_Package.v_Save({}); }));
    CT_Files::sv_ServeFromMemory(CT_String(), {});
    EXPECT_FALSE(fs::exists(s_Served));
}

// An entry whose own header gives another date than the archive's directory reads as the
// directory says, each entry held to its checksum; but copying such entries as they are could
// write what the directory does not describe, so the save refuses before writing anything.
TEST_F(CT_IdmlPackageTest, HeadersAtOddsWithTheDirectoryAreReadButNotWrittenAgain) {
    CT_TempDir co_Dir;
    const fs::path co_Path = co_Dir / "odd.idml";
    v_WriteZip(co_Path, co_SmallPackage({{"k1", "<Content>Kept</Content>"}}));
    std::string s_Bytes = s_ReadFile(co_Path);
    const std::size_t n_Header = s_Bytes.find("Stories/Story_k1.xml") - 30;
    ASSERT_EQ(s_Bytes.compare(n_Header, 4, "PK\x03\x04"), 0);
    s_Bytes[n_Header + 10] ^= 0x21;  // the entry's own time of day
    std::ofstream(co_Path, std::ios::binary) << s_Bytes;

    CT_IdmlPackage co_Package(co_Path.string());
    EXPECT_NE(co_Package.co_Read("Stories/Story_k1.xml").sv().find("Kept"), std::string::npos);
    EXPECT_EQ(e_BadDocument, eo_Raised([&] { co_Package.v_Save({}); }));
    EXPECT_EQ(std::string(CT_Errors::cco_GetLastError().sv()),
              "\"" + co_Path.string() +
                  "\" cannot be written again: its entries are at odds with its directory "
                  "(Zip archive inconsistent)");
    EXPECT_EQ(s_ReadFile(co_Path), s_Bytes);
    EXPECT_EQ(co_Dir.n_Files(), 1u);
}

// A package written by a careless tool gets its type entry first and unpacked when saved; the
// changed story is readable and every other entry keeps its place.
TEST_F(CT_IdmlPackageTest, SavingPutsTheTypeFirstAndUnpacked) {
    std::vector<CT_Entry> co_Entries = co_SmallPackage({{"k1", "<Content>Old</Content>"}});
    std::swap(co_Entries[0], co_Entries[1]);
    co_Entries[1].i_Method = ZIP_CM_DEFLATE;
    CT_TempDir co_Dir;
    v_WriteZip(co_Dir / "a.idml", co_Entries);
    v_Open(co_Dir / "a.idml");
    v_ImportAll(co_Dir / "t.stt", {{"k1", "New"}});
    v_CloseActive(1);

    std::vector<CT_Entry> co_Saved = co_ReadZip(co_Dir / "a.idml");
    ASSERT_EQ(co_Saved.size(), 4u);
    EXPECT_EQ(co_Saved[0].s_Name, "mimetype");
    EXPECT_EQ(co_Saved[0].i_Method, ZIP_CM_STORE);
    EXPECT_EQ(co_Saved[0].s_Raw, "application/vnd.adobe.indesign-idml-package");
    EXPECT_EQ(co_Saved[1].s_Name, "designmap.xml");
    EXPECT_EQ(co_Saved[3].s_Name, "Stories/Story_k1.xml");
    EXPECT_NE(co_Saved[3].s_Bytes.find("<Content>New</Content>"), std::string::npos);
}

// A story saved larger than the whole package was is read again from the new file: what the
// package holds is judged by the file it is now.
TEST_F(CT_IdmlPackageTest, AStorySavedLargerThanThePackageWasReadsAgain) {
    CT_TempDir co_Dir;
    v_WriteZip(co_Dir / "a.idml", co_SmallPackage({{"k1", "<Content>Old</Content>"}}));
    const std::uintmax_t n_Before = fs::file_size(co_Dir / "a.idml");
    std::string s_Long;
    for (int i = 0; i < 40000; ++i) {
        s_Long += std::to_string(i * 7919 % 100003) + " ";
    }
    v_Open(co_Dir / "a.idml");
    v_ImportAll(co_Dir / "t.stt", {{"k1", s_Long}});
    v_CloseActive(1);
    ASSERT_GT(fs::file_size(co_Dir / "a.idml"), 2 * n_Before);
    CT_IdmlPackage co_Package((co_Dir / "a.idml").string());
    EXPECT_NE(co_Package.co_Read("Stories/Story_k1.xml").sv().find(s_Long.substr(0, 200)),
              std::string::npos);
}

}  // namespace

// The archive is read a window of its bytes at a time: entries read against the archive's
// order, across the window's edges and larger than the window, give back what was packed.
TEST_F(CT_IdmlPackageTest, EntriesReadInAnyOrderGiveBackTheirBytes) {
    std::vector<CT_Entry> co_Entries;
    unsigned n_Seed = 12345;
    auto s_Noise = [&](std::size_t n_Length) {
        std::string s_Text;
        while (s_Text.size() < n_Length) {
            n_Seed = n_Seed * 1103515245u + 12345u;
            s_Text += static_cast<char>('a' + (n_Seed >> 16) % 26);
        }
        return s_Text;
    };
    for (int i = 0; i < 400; ++i) {
        co_Entries.emplace_back("Stories/Story_k" + std::to_string(i) + ".xml", s_Noise(2000));
    }
    co_Entries.emplace_back("Stored.xml", s_Noise(700000), ZIP_CM_STORE);
    co_Entries.emplace_back("Packed.xml", s_Noise(900000));
    CT_TempDir co_Dir;
    v_WriteZip(co_Dir / "many.idml", co_Entries);

    CT_IdmlPackage co_Package((co_Dir / "many.idml").string());
    for (auto co_entry = co_Entries.rbegin(); co_entry != co_Entries.rend(); ++co_entry) {
        ASSERT_EQ(co_Package.co_Read(co_entry->s_Name).sv(), co_entry->s_Bytes) << co_entry->s_Name;
    }
    for (std::size_t n = 0; n < co_Entries.size(); n += 7) {
        ASSERT_EQ(co_Package.co_Read(co_Entries[n].s_Name).sv(), co_Entries[n].s_Bytes);
    }
}

// Written through its buffer, an archive whose entry outgrows what the buffer holds (its header
// is then completed where the file already has it) reads back whole with the zip library's own
// reading.
TEST_F(CT_IdmlPackageTest, AnEntryLargerThanTheWriteBufferIsWrittenWhole) {
    std::string s_large(12u << 20, '\0');
    unsigned n_seed = 99;
    for (char& c : s_large) {
        n_seed = n_seed * 1103515245u + 12345u;
        c = static_cast<char>(n_seed >> 16);
    }
    CT_TempDir co_Dir;
    const fs::path co_Path = co_Dir / "large.zip";
    const int i_fd = ::open(co_Path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    ASSERT_GE(i_fd, 0);
    int i_Error = 0;
    zip_t* pco_out = CT_IdmlFileSource::spco_OpenToWrite(i_fd, i_Error);
    ASSERT_NE(pco_out, nullptr) << i_Error;
    for (const char* pc_name : {"first.xml", "large.bin", "last.xml"}) {
        const bool b_large = std::strcmp(pc_name, "large.bin") == 0;
        zip_source_t* pco_source =
            zip_source_buffer(pco_out, b_large ? s_large.data() : pc_name,
                              b_large ? s_large.size() : std::strlen(pc_name), 0);
        const zip_int64_t i_index = zip_file_add(pco_out, pc_name, pco_source, 0);
        ASSERT_GE(i_index, 0);
        zip_set_file_compression(pco_out, static_cast<zip_uint64_t>(i_index), ZIP_CM_STORE, 0);
    }
    ASSERT_EQ(zip_close(pco_out), 0) << zip_strerror(pco_out);
    ::close(i_fd);

    const std::vector<CT_Entry> co_read = co_ReadZip(co_Path);
    ASSERT_EQ(co_read.size(), 3u);
    EXPECT_EQ(co_read[0].s_Bytes, "first.xml");
    EXPECT_TRUE(co_read[1].s_Bytes == s_large);
    EXPECT_EQ(co_read[2].s_Bytes, "last.xml");
}
