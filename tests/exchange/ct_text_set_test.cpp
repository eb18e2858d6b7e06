#include "exchange/ct_text_set.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Texts that differ only in length, in their last byte past a multiple of eight, or by an
// embedded NUL are different texts; a text met again, however many came between (the table
// grows several times), is not added twice.
TEST(CT_TextSetTest, TellsTextsMetBeforeFromNewOnes) {
    CT_TextSet co_set;
    const std::string co_nul("a\0b", 3);
    for (const std::string& s_text :
         {std::string(), std::string("a"), std::string("aa"), std::string("12345678x"),
          std::string("12345678y"), co_nul, std::string("a\0c", 3)}) {
        EXPECT_TRUE(co_set.b_Insert(s_text)) << ::testing::PrintToString(s_text);
    }
    for (int n = 0; n < 20000; ++n) {
        ASSERT_TRUE(co_set.b_Insert("unit " + std::to_string(n)));
    }
    EXPECT_FALSE(co_set.b_Insert(""));
    EXPECT_FALSE(co_set.b_Insert(co_nul));
    EXPECT_FALSE(co_set.b_Insert("12345678y"));
    for (int n = 0; n < 20000; n += 997) {
        EXPECT_FALSE(co_set.b_Insert("unit " + std::to_string(n)));
    }
    EXPECT_EQ(co_set.n_Size(), 20007u);
}

}  // namespace
