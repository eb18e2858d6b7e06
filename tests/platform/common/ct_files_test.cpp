#include "platform/common/ct_files.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/common/ct_errors.h"
#include "tests/platform/common/ct_temp_folder.h"

namespace {
constexpr std::size_t gn_Block = CT_Files::sn_BlockSize;

// Runs the call and gives the code it raised, e_NoError when it raised nothing.
template <typename F>
et_ErrorCode eo_Raised(F co_call) {
    try {
        co_call();
    } catch (et_ErrorCode eo_code) {
        return eo_code;
    }
    return e_NoError;
}

class FilesTest : public ::testing::Test {
  protected:
    void v_OpenRead(const std::string& co_Bytes) {
        co_Dir.v_Put("in.txt", co_Bytes);
        co_File.v_Open(CT_String(co_Dir / "in.txt"), e_OpenRead, 0);
    }
    CT_TempFolder co_Dir;
    CT_Files co_File;
};

TEST_F(FilesTest, MarkersStraddlingBlockBoundariesAreFound) {
    // The marker starts at each of the last bytes of the first and the third block, after
    // decoys that match its beginning only.
    for (std::size_t n_back = 1; n_back <= 8; ++n_back) {
        for (std::size_t n_block : {std::size_t{1}, std::size_t{3}}) {
            std::string co_head(n_block * gn_Block - n_back, 'x');
            co_head.replace(co_head.size() - 20, 5, "</STO");
            v_OpenRead(co_head + "</STORY>tail<A>");
            CT_String co_text;
            co_File.v_ReadUntil(co_text, "</STORY>");
            EXPECT_EQ(co_head.size(), co_text.size()) << n_back << " " << n_block;
            EXPECT_TRUE(co_text.sv() == co_head);
            co_File.v_ReadUntil(co_text, "<A>");
            EXPECT_EQ("tail", co_text.sv());
            co_File.v_Close();
        }
    }
}

TEST_F(FilesTest, FailedSearchRaisesEndOfFileAndKeepsPosition) {
    v_OpenRead("IMPORT_FOLDER = \"a\"\nSTORY_ORDER = \"2\"\n");
    CT_String co_value("before");
    co_File.v_MoveUntil("IMPORT_FOLDER");
    EXPECT_EQ(e_EndOfFile, eo_Raised([&] { co_File.v_MoveUntil("EXPORT_FOLDER"); }));
    EXPECT_EQ(e_EndOfFile, eo_Raised([&] { co_File.v_ReadUntil(co_value, "#"); }));
    EXPECT_EQ(e_EndOfFile, eo_Raised([&] { co_File.n_CountUntil("#"); }));
    EXPECT_TRUE(co_value == "before");
    co_File.v_MoveUntil("\"");
    co_File.v_ReadUntil(co_value, "\"");
    EXPECT_TRUE(co_value == "a");
    co_File.v_MoveUntil("STORY_ORDER = \"");
    co_File.v_ReadUntil(co_value, "\"");
    EXPECT_TRUE(co_value == "2");
    std::string co_tail;
    co_File.v_Read(co_tail, 1);
    EXPECT_EQ(e_EndOfFile, eo_Raised([&] { co_File.v_Read(co_tail, 1); }));
    EXPECT_EQ("\n", co_tail);
}

TEST_F(FilesTest, WritingReplacesTheTargetOnlyWhenClosed) {
    co_Dir.v_Put("out.txt", "old");
    const CT_String co_path(co_Dir / "out.txt");
    co_File.v_Open(co_path, e_OpenWrite, 1);
    co_File.v_Write("line");
    EXPECT_EQ("old", co_Dir.co_Get("out.txt"));
    co_File.v_Cancel();
    EXPECT_EQ("old", co_Dir.co_Get("out.txt"));
    {
        CT_Files co_unclosed;
        co_unclosed.v_Open(co_path, e_OpenWrite, 0);
        co_unclosed.v_Writeln("lost");
    }
    EXPECT_EQ("old", co_Dir.co_Get("out.txt"));
    co_File.v_Open(co_path, e_OpenWrite, 0);
    co_File.v_Writeln("new");
    co_File.v_Write(std::string(3 * gn_Block, 'z').c_str(), 3 * gn_Block);
    co_File.v_Writeln(CT_String());
    co_File.v_Close();
    EXPECT_EQ("new\n" + std::string(3 * gn_Block, 'z') + "\n", co_Dir.co_Get("out.txt"));
    EXPECT_EQ(std::set<std::string>{"out.txt"}, co_Dir.co_Names());
}

TEST_F(FilesTest, WritingThroughALinkReplacesTheLinkedFile) {
    co_Dir.v_Put("real.txt", "old");
    std::filesystem::create_symlink("real.txt", co_Dir / "link.txt");
    co_File.v_Open(CT_String(co_Dir / "link.txt"), e_OpenWrite, 0);
    co_File.v_Write("new");
    co_File.v_Close();
    EXPECT_TRUE(std::filesystem::is_symlink(co_Dir / "link.txt"));
    EXPECT_EQ("new", co_Dir.co_Get("real.txt"));
    EXPECT_EQ((std::set<std::string>{"link.txt", "real.txt"}), co_Dir.co_Names());
}

TEST_F(FilesTest, ErrorsNameThePathAndTheReason) {
    const std::string co_missing = co_Dir / "none/out.txt";
    EXPECT_EQ(e_FileOpen,
              eo_Raised([&] { co_File.v_Open(CT_String(co_missing), e_OpenWrite, 0); }));
    EXPECT_EQ("cannot open \"" + co_missing + "\" for writing: No such file or directory",
              CT_Errors::cco_GetLastError().sv());
    EXPECT_EQ(e_FileOpen, eo_Raised([&] { co_File.v_Open(CT_String(co_missing), e_OpenRead, 0); }));
    EXPECT_EQ("cannot open \"" + co_missing + "\" for reading: No such file or directory",
              CT_Errors::cco_GetLastError().sv());
    v_OpenRead("text");
    EXPECT_EQ(e_FileState, eo_Raised([&] { co_File.v_Write("x"); }));
    EXPECT_EQ(e_EndOfFile, eo_Raised([&] { co_File.v_MoveUntil("#"); }));
    EXPECT_EQ("the end of \"" + co_Dir / "in.txt" + "\" came before \"#\"",
              CT_Errors::cco_GetLastError().sv());
}

// A backslash is a character of a name: "sub\a.txt" stands beside the folder "sub", whose
// "a.txt" is left alone.
TEST_F(FilesTest, ABackslashIsPartOfAName) {
    std::filesystem::create_directory(co_Dir / "sub");
    co_Dir.v_Put("sub/a.txt", "other");
    const CT_String co_path(co_Dir.co_Path + "/sub\\a.txt");
    co_File.v_Open(co_path, e_OpenWrite, 0);
    co_File.v_Write("A<");
    co_File.v_Close();
    EXPECT_EQ("A<", co_Dir.co_Get("sub\\a.txt"));
    EXPECT_EQ("other", co_Dir.co_Get("sub/a.txt"));
    EXPECT_TRUE(CT_Files::sb_Exist(co_path));
    EXPECT_FALSE(CT_Files::sb_Exist(CT_String(co_Dir.co_Path + "/sub\\b.txt")));
    co_File.v_Open(co_path, e_OpenRead, 0);
    CT_String co_text;
    co_File.v_ReadUntil(co_text, "<");
    EXPECT_TRUE(co_text == "A");
}

// The fuzz targets read their input from memory: every reading call must behave as it does on
// the same bytes on disk, markers split across blocks and failed searches included.
TEST_F(FilesTest, ServedFromMemoryReadsAsTheFileDoes) {
    const std::string co_bytes = std::string(gn_Block - 3, 'x') + "</STORY>A=\"1\"\nB" + "tail";
    auto co_Trace = [](CT_Files& co_file) {
        std::string co_trace;
        CT_String co_text;
        co_file.v_MoveUntil("xx");
        co_trace += std::to_string(co_file.n_CountUntil("</STORY>")) + ";";
        co_file.v_ReadUntil(co_text, "</STORY>");
        co_trace += std::to_string(co_text.sv().size()) + ";";
        co_trace += std::to_string(eo_Raised([&] { co_file.v_MoveUntil("none"); })) + ";";
        co_file.v_ReadUntil(co_text, "\"");
        std::string co_rest;
        co_file.v_Read(co_rest, 3);
        co_trace += std::string(co_text.sv()) + "|" + co_rest + ";";
        co_trace += std::to_string(eo_Raised([&] { co_file.v_Read(co_rest, 99); }));
        return co_trace;
    };
    v_OpenRead(co_bytes);
    const std::string co_fromDisk = co_Trace(co_File);
    co_File.v_Close();

    const CT_String co_served(co_Dir / "served.txt");
    CT_Files::sv_ServeFromMemory(co_served, co_bytes);
    EXPECT_TRUE(CT_Files::sb_Exist(co_served));
    EXPECT_FALSE(CT_Files::sb_Exist(CT_String(co_Dir / "other.txt")));
    co_File.v_Open(co_served, e_OpenRead, 0);
    EXPECT_EQ(co_Trace(co_File), co_fromDisk);
    co_File.v_Close();
    CT_Files::sv_ServeFromMemory(CT_String(), {});
    EXPECT_FALSE(CT_Files::sb_Exist(co_served));
    EXPECT_EQ(e_FileOpen, eo_Raised([&] { co_File.v_Open(co_served, e_OpenRead, 0); }));
}

TEST(FileNamesTest, LastComponentAndExtension) {
    // A backslash is a character of a name, not a separator.
    EXPECT_TRUE(CT_Files::sco_GetFileName("C:\\docs/book\\ch1.v2.indd") == "book\\ch1.v2.indd");
    EXPECT_TRUE(CT_Files::sco_GetFileName("/a/b/") == "");
    EXPECT_TRUE(CT_Files::sco_GetFileName("plain") == "plain");
    const char* apc_cases[][2] = {{"ch1.v2.indd", "ch1.v2"},
                                  {"dir.d/name", "dir.d/name"},
                                  {"dir/.profile", "dir/.profile"},
                                  {"dir\\.profile", "dir\\"},
                                  {"a.", "a"},
                                  {"", ""}};
    for (auto& apc_case : apc_cases) {
        CT_String co_name(apc_case[0]);
        CT_Files::sv_RemoveExtension(co_name);
        EXPECT_TRUE(co_name == apc_case[1]) << apc_case[0];
    }
}

TEST(IntermediateFileTest, LivesInTheTemporaryFolderUntilDeleted) {
    CT_Files co_file;
    co_file.v_Open();
    const std::string co_path(co_file.cco_GetFullPath().sv());
    EXPECT_EQ(0u, co_path.rfind(std::filesystem::temp_directory_path().string(), 0));
    co_file.v_Writeln("work");
    co_file.v_Close();
    EXPECT_TRUE(CT_Files::sb_Exist(co_file.cco_GetFullPath()));
    co_file.v_Delete();
    EXPECT_FALSE(CT_Files::sb_Exist(co_file.cco_GetFullPath()));

    co_file.v_Open();
    const CT_String co_second = co_file.cco_GetFullPath();
    co_file.v_Cancel();
    EXPECT_FALSE(CT_Files::sb_Exist(co_second));
}
}  // namespace
