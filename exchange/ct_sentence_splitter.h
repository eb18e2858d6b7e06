// Cuts the inline content of one unit into sentences with ICU's sentence break iterator for a
// language, with the locale's abbreviation exceptions ("Mr.", "e.g.") where ICU has them. A
// cut never falls inside a paired code: sentences it would split stay one segment. White
// space between sentences stands outside them. Holds one ICU iterator: not for two threads.
#pragma once

#include <cstddef>
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
    // True when co_Split would surely give one sentence of every token (no sentence end
    // inside, no white space at the end), found without a break iterator and without copies:
    // most units are such. False says nothing; co_Split then tells.
    bool b_OneSentence(const std::vector<CT_TaggedToken>& co_Tokens) const;

  private:
    void v_Cut(std::vector<std::size_t>& co_Cuts);

    struct ct_Iterator;
    std::unique_ptr<ct_Iterator> pco_Iterator;
};
