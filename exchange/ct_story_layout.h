// A story's tagged content cut into the pieces a translator sees as units: the paragraphs of
// the story, and, anchored in them, footnotes and notes (one flow of paragraphs each) and
// tables (one flow per cell). Built from the content and what its codes stand for; writing the
// layout back gives the content it was built from, byte for byte. Content whose structure does
// not match its codes is laid out flat: every line one paragraph, every code kept inline.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/ct_exchange_code.h"
#include "exchange/ct_tagged_token.h"

struct CT_LayoutAnchor;

struct CT_LayoutParagraph {
    std::size_t n_Line = 0;                   // its line in the content, from 0
    std::vector<CT_TaggedToken> co_Tokens;    // text and codes; no line end
    std::vector<CT_LayoutAnchor> co_Anchors;  // in the order of their codes in co_Tokens
};

// One flow: a note's whole text, or one cell of a table.
struct CT_LayoutFlow {
    unsigned n_Code = 0;  // a cell's code; 0 for a note
    unsigned n_Row = 0;
    unsigned n_Column = 0;
    std::vector<CT_LayoutParagraph> co_Paragraphs;
};

// A footnote, note or table anchored in a paragraph at its opening code. A note whose text
// stands inside a paired code (<gN>...</gN>) is b_Paired: n_Open and n_Close are both N, and
// its paragraph holds the code as an object code (<xN/>).
struct CT_LayoutAnchor {
    bool b_Table = false;
    bool b_Paired = false;
    unsigned n_Open = 0;
    unsigned n_Close = 0;
    std::string co_Label;  // "footnote", "note", "table"
    std::vector<CT_LayoutFlow> co_Flows;
};

class CT_StoryLayout {
  public:
    using CT_Codes = std::map<unsigned, CT_ExchangeCode>;

    // co_Codes: what the codes stand for; a code it lacks is inline. Raises
    // std::invalid_argument when the content is no tagged content.
    CT_StoryLayout(std::string_view co_Content, const CT_Codes& co_Codes);
    // An empty story, to be filled paragraph by paragraph.
    CT_StoryLayout() = default;

    std::vector<CT_LayoutParagraph>& co_Paragraphs() { return co_Paragraphs_; }
    // What the codes stand for, as given, also when the story is laid out flat.
    const CT_Codes& cco_Codes() const { return co_Codes_; }
    const std::vector<CT_LayoutParagraph>& cco_Paragraphs() const { return co_Paragraphs_; }

    // The tagged content: every paragraph followed by a line end, each anchor's flows written
    // right after its opening code and followed by its closing code.
    std::string s_Content() const;

  private:
    bool b_Layout(std::vector<CT_TaggedToken>& co_Tokens, const CT_Codes& co_Codes);

    std::vector<CT_LayoutParagraph> co_Paragraphs_;
    CT_Codes co_Codes_;
};
