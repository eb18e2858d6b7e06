#include "platform/common/ct_string.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
TEST(StringTest, WritableBufferBecomesTheContent) {
    CT_String co_empty;
    char* pc_buffer = static_cast<char*>(co_empty);
    std::strcpy(pc_buffer, "-2147483648");  // eleven characters and the terminator
    EXPECT_EQ(11u, co_empty.n_GetStringSize(nullptr));
    EXPECT_TRUE(co_empty == "-2147483648");

    CT_String co_long("a longer text than twelve");
    pc_buffer = static_cast<char*>(co_long);
    EXPECT_EQ('a', pc_buffer[0]);
    std::strcpy(pc_buffer + 24, "E!");
    EXPECT_EQ("a longer text than twelvE!", co_long.sv());
    static_cast<char*>(co_long)[1] = '\0';
    CT_String co_copy(co_long);
    EXPECT_EQ("a", co_copy.sv());
    EXPECT_EQ(1u, co_long.size());

    CT_String co_untouched("kept");
    static_cast<void>(static_cast<char*>(co_untouched));
    EXPECT_TRUE(co_untouched == "kept");
}

TEST(StringTest, NumbersAndConcatenation) {
    CT_String co_text = CT_String("Page ") + 0u + "/" + 4294967295u;
    EXPECT_EQ("Page 0/4294967295", co_text.sv());
    co_text += CT_String(nullptr, 0);
    co_text += 7u;
    co_text += static_cast<const char*>(nullptr);
    EXPECT_EQ("Page 0/42949672957", co_text.sv());
    co_text = static_cast<const char*>(co_text) + 5;  // from its own buffer
    EXPECT_EQ("0/42949672957", co_text.sv());
    EXPECT_EQ("ab", CT_String("abc", 2).sv());
    EXPECT_EQ(3u, CT_String("a\0b", 3).size());
}

}  // namespace
