// A file gives its bytes, from a pipe too, and the same after memory is given back, however the
// offsets fall on the pages; read again, what the file holds now; a file that is not there is
// refused naming it.
#include "platform/common/ct_file_bytes.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <string>
#include <thread>

#include "platform/common/ct_errors.h"
#include "tests/platform/common/ct_temp_folder.h"

TEST(CT_FileBytesTest, WhatIsGivenBackReadsTheSame) {
    CT_TempFolder co_folder;
    std::string s_bytes;
    for (unsigned i = 0; s_bytes.size() < (3u << 20); ++i) {
        s_bytes += std::to_string(i * 7919u % 100003u) + " ";
    }
    co_folder.v_Put("big.xlf", s_bytes);
    CT_FileBytes co_file(co_folder / "big.xlf");
    ASSERT_EQ(co_file.co_View(), s_bytes);
    co_file.v_GiveBack(5, (1u << 20) + 4097);
    co_file.v_GiveBack(2u << 20, s_bytes.size() + 10);
    EXPECT_EQ(co_file.co_View(), s_bytes);
    // Read again from the file, as it stands now.
    std::string s_buffer;
    EXPECT_EQ(co_file.co_Reread(3, 5000, s_buffer), s_bytes.substr(3, 4997));
    EXPECT_EQ(co_file.co_Reread(s_bytes.size() - 9, s_bytes.size() + 9, s_buffer),
              s_bytes.substr(s_bytes.size() - 9));
    co_folder.v_Put("big.xlf", s_bytes.substr(0, 4000));
    EXPECT_EQ(co_file.co_Reread(3, 5000, s_buffer), s_bytes.substr(3, 3997));

    co_folder.v_Put("empty.xlf", "");
    EXPECT_TRUE(CT_FileBytes(co_folder / "empty.xlf").co_View().empty());
}

TEST(CT_FileBytesTest, APipeIsReadAsItComesAndAMissingFileIsRefused) {
    CT_TempFolder co_folder;
    const std::string s_pipe = co_folder / "pipe";
    ASSERT_EQ(::mkfifo(s_pipe.c_str(), 0600), 0);
    const std::string s_sent(200000, 'p');
    std::thread co_writer([&] { std::ofstream(s_pipe, std::ios::binary) << s_sent; });
    CT_FileBytes co_piped(s_pipe);
    co_writer.join();
    co_piped.v_GiveBack(0, 100000);
    EXPECT_EQ(co_piped.co_View(), s_sent);

    const std::string s_missing = co_folder / "missing.xlf";
    try {
        CT_FileBytes co_missing(s_missing);
        FAIL() << "read";
    } catch (et_ErrorCode eo_code) {
        EXPECT_EQ(eo_code, e_FileOpen);
        EXPECT_EQ(std::string(CT_Errors::cco_GetLastError().sv()),
                  "cannot open \"" + s_missing + "\": No such file or directory");
    }
}
