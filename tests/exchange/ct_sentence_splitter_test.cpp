#include "exchange/ct_sentence_splitter.h"

#include <gtest/gtest.h>

#include <string>

namespace {
// The pieces as text: sentences in [brackets], the space between them bare, codes as tagged.
std::string s_Pieces(CT_SentenceSplitter& co_Splitter, const std::string& s_Content) {
    std::vector<CT_TaggedToken> co_tokens;
    CT_TaggedToken::sv_Read(s_Content, co_tokens);
    std::string s_out;
    for (const CT_SentenceSplitter::CT_Piece& co_piece : co_Splitter.co_Split(co_tokens)) {
        std::string s_piece;
        CT_TaggedToken::sv_Write(co_piece.co_Tokens, s_piece);
        s_out += co_piece.b_Segment ? "[" + s_piece + "]" : s_piece;
    }
    return s_out;
}

TEST(CT_SentenceSplitterTest, CutsSentencesAndKeepsCodesWhole) {
    CT_SentenceSplitter co_english("en-US");
    EXPECT_EQ(s_Pieces(co_english, "Mr. Smith arrived. He sat down!  Then?"),
              "[Mr. Smith arrived.] [He sat down!]  [Then?]");
    // A paired code never spans two segments; codes that close stay with their sentence, codes
    // that open go with the next.
    EXPECT_EQ(s_Pieces(co_english, "<g1>One. Two.</g1> Three.<x2/> <g3>Four.</g3>"),
              "[<g1>One. Two.</g1>] [Three.<x2/>] [<g3>Four.</g3>]");
    EXPECT_EQ(s_Pieces(co_english, ""), "");
    CT_SentenceSplitter co_japanese("ja");
    EXPECT_EQ(
        s_Pieces(
            co_japanese,
            "\xE3\x81\xAF\xE3\x81\x84\xE3\x80\x82\xE3\x81\x84\xE3\x81\x84\xE3\x81\x88\xE3\x80\x82"),
        "[\xE3\x81\xAF\xE3\x81\x84\xE3\x80\x82][\xE3\x81\x84\xE3\x81\x84\xE3\x81\x88\xE3\x80\x82]");
}

// Units without full stops or question and exclamation marks are cut without ICU's iterator:
// the cuts must be those the iterator makes (and the round trip over the samples proves the
// rest). Line ends end sentences, forced line breaks (U+2028) only after a full stop; CR LF
// stays whole.
TEST(CT_SentenceSplitterTest, CutsAtLineBreaksWithoutStops) {
    CT_SentenceSplitter co_english("en");
    EXPECT_EQ(s_Pieces(co_english, "Title"), "[Title]");
    EXPECT_EQ(s_Pieces(co_english, "Title \t"), "[Title] \t");
    EXPECT_EQ(s_Pieces(co_english, "One\xE2\x80\xA8two\xE2\x80\xA8"),
              "[One\xE2\x80\xA8two]\xE2\x80\xA8");
    EXPECT_EQ(s_Pieces(co_english, "<g1>One\xE2\x80\xA8two</g1>\xE2\x80\xA9three"),
              "[<g1>One\xE2\x80\xA8two</g1>]\xE2\x80\xA9[three]");
    // With a stop anywhere ICU cuts the whole unit, line breaks included.
    EXPECT_EQ(s_Pieces(co_english, "Cahier\xE2\x80\xA8sp\xC3\xA9\x63ial. Three"),
              "[Cahier\xE2\x80\xA8sp\xC3\xA9\x63ial.] [Three]");
    EXPECT_EQ(s_Pieces(co_english, "One.\xE2\x80\xA8Two"), "[One.]\xE2\x80\xA8[Two]");
}

}  // namespace
