// Cuts the inline content of one unit into sentences with ICU's sentence break iterator for a
// language, with the locale's abbreviation exceptions ("Mr.", "e.g.") where ICU has them. A
// cut never falls inside a paired code: sentences it would split stay one segment. White
// space between sentences stands outside them. Holds one ICU iterator: not for two threads.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "exchange/ct_tagged_token.h"

class CT_SentenceSplitter {
  public:
    // A sentence (b_Segment) or the white space between two, as text tokens and codes.
    struct CT_Piece {
        bool b_Segment = true;
        std::vector<CT_TaggedToken> co_Tokens;
    };

    // co_Language: BCP 47; empty for ICU's root rules.
    explicit CT_SentenceSplitter(const std::string& co_Language);
    ~CT_SentenceSplitter();
    CT_SentenceSplitter(const CT_SentenceSplitter&) = delete;
    CT_SentenceSplitter& operator=(const CT_SentenceSplitter&) = delete;

    // The pieces of co_Tokens (no line ends), in order; together they hold every token.
    std::vector<CT_Piece> co_Split(const std::vector<CT_TaggedToken>& co_Tokens);

  private:
    struct ct_Iterator;
    std::unique_ptr<ct_Iterator> pco_Iterator;
};
