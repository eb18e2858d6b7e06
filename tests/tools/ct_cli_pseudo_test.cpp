// Pseudo-translation: a copy of the sample brochure with every story lengthened between markers
// and its codes kept, the same as a translated XLIFF file that check takes as a translation, the
// original untouched, and targets refused as export refuses its file.
#include <algorithm>
#include <vector>

#include "exchange/ct_tagged_file.h"
#include "exchange/ct_tagged_token.h"
#include "tests/tools/ct_cli_fixture.h"

namespace {
// The codes and line ends of tagged content, in order, without its text.
std::vector<CT_TaggedToken> co_Structure(const std::string& s_Content) {
    std::vector<CT_TaggedToken> co_tokens;
    CT_TaggedToken::sv_Read(s_Content, co_tokens);
    co_tokens.erase(std::remove_if(co_tokens.begin(), co_tokens.end(),
                                   [](const CT_TaggedToken& co_Token) {
                                       return co_Token.eo_Kind == CT_TaggedToken::et_Kind::e_Text;
                                   }),
                    co_tokens.end());
    return co_tokens;
}
}  // namespace

TEST_F(CT_CliTest, PseudoWritesALongerCopyAndATranslatedXliffFile) {
    const std::string s_original = s_Read("brochure.idml");
    const CT_CliResult co_run = co_Run(
        {"pseudo", "brochure.idml", "out/p.idml", "--target-lang", "de", "--xliff", "p.xlf"});
    ASSERT_EQ(co_run.i_Status, 0) << co_run.s_Err;
    EXPECT_EQ(s_Read("brochure.idml"), s_original);
    EXPECT_EQ(co_Listing("out"), std::vector<std::string>{"p.idml"});

    ASSERT_EQ(co_Run({"export", "brochure.idml", "b.stt"}).i_Status, 0);
    ASSERT_EQ(co_Run({"export", "out/p.idml", "p.stt"}).i_Status, 0);
    const std::vector<CT_TaggedStory> co_before = CT_TaggedStoryFile::sco_Read(s_Read("b.stt"));
    const std::vector<CT_TaggedStory> co_after = CT_TaggedStoryFile::sco_Read(s_Read("p.stt"));
    ASSERT_EQ(co_after.size(), co_before.size());
    for (std::size_t n = 0; n < co_before.size(); ++n) {
        SCOPED_TRACE(co_before[n].co_Key);
        EXPECT_EQ(co_after[n].co_Key, co_before[n].co_Key);
        EXPECT_TRUE(co_Structure(co_after[n].co_Content) == co_Structure(co_before[n].co_Content));
        EXPECT_GT(co_after[n].co_Content.size(), co_before[n].co_Content.size() * 5 / 4);
    }
    // 18 characters grown by a third and more, as German grows: four letters doubled, and the
    // markers.
    EXPECT_EQ(co_after[2].co_Content,
              "[\xC5\xA0\xC3\xBCmmm\xC3\xA9\xC5\x95 \xC3\xAD\xC3\xB1\xC3\xB1 \xC5\xA5\xC4\xA5\xC3"
              "\xA9 \xC3\x80\xC3\x80\xC4\xBAp\xC5\xA1\xC5\xA1]\n");

    // The XLIFF file is a translation of the brochure itself, every unit done.
    const CT_CliResult co_check = co_Run({"check", "brochure.idml", "p.xlf"});
    EXPECT_EQ(co_check.i_Status, 0) << co_check.s_Out << co_check.s_Err;
    EXPECT_EQ(co_check.s_Err.find("Not translated"), std::string::npos) << co_check.s_Err;
    EXPECT_NE(co_check.s_Out.find("  Story 3: Summer in the Alps         u1d6        15 ->     21"),
              std::string::npos)
        << co_check.s_Out;
}

TEST_F(CT_CliTest, PseudoRefusesTargetsAsExportDoes) {
    const auto co_before = co_Snapshot();
    const CT_CliResult co_self = co_Run({"pseudo", "brochure.idml", "brochure.idml"});
    EXPECT_EQ(co_self.i_Status, 1);
    EXPECT_NE(co_self.s_Err.find("is the document"), std::string::npos) << co_self.s_Err;
    EXPECT_TRUE(co_Snapshot() == co_before);

    ASSERT_EQ(co_Run({"pseudo", "brochure.idml", "p.idml", "--expand", "10"}).i_Status, 0);
    const std::string s_first = s_Read("p.idml");
    const CT_CliResult co_again = co_Run({"pseudo", "brochure.idml", "p.idml"});
    EXPECT_EQ(co_again.i_Status, 1);
    EXPECT_NE(co_again.s_Err.find("--force replaces it"), std::string::npos) << co_again.s_Err;
    EXPECT_EQ(s_Read("p.idml"), s_first);
    ASSERT_EQ(co_Run({"pseudo", "brochure.idml", "p.idml", "--force"}).i_Status, 0);
    EXPECT_EQ(s_Read("p.idml.bak"), s_first);
    EXPECT_NE(s_Read("p.idml"), s_first);
}
