#include "exchange/ct_story_layout.h"

#include <cstddef>
#include <utility>

namespace {
using et_Code = CT_ExchangeCode::et_Kind;
using et_Token = CT_TaggedToken::et_Kind;

// Reads flows from a token list along the codes' kinds; every method returns false at the
// first token that does not fit, and the caller then lays the story out flat.
class CT_LayoutReader {
  public:
    CT_LayoutReader(std::vector<CT_TaggedToken>& co_Tokens,
                    const CT_StoryLayout::CT_Codes& co_Codes)
        : co_Tokens(co_Tokens), co_Codes(co_Codes) {}

    // Reads paragraphs up to the end (b_Inner false) or up to a token that ends an inner flow.
    bool b_Flow(std::vector<CT_LayoutParagraph>& co_Paragraphs, bool b_Inner) {
        CT_LayoutParagraph co_paragraph;
        bool b_open = false;  // co_paragraph has something or was begun
        while (n_At < co_Tokens.size()) {
            CT_TaggedToken& co_token = co_Tokens[n_At];
            const et_Code eo_kind = eo_Kind(co_token);
            if (co_token.eo_Kind == et_Token::e_LineEnd) {
                co_paragraph.n_Line = n_Lines++;
                co_Paragraphs.push_back(std::move(co_paragraph));
                co_paragraph = CT_LayoutParagraph();
                b_open = false;
                ++n_At;
                continue;
            }
            if (eo_kind == et_Code::e_FlowClose || eo_kind == et_Code::e_Cell ||
                eo_kind == et_Code::e_TableClose) {
                return b_Inner && !b_open;
            }
            if (!b_open) {
                v_Reserve(co_paragraph);
            }
            b_open = true;
            if (eo_kind == et_Code::e_FlowOpen && co_token.eo_Kind == et_Token::e_Open) {
                // A note around its text: its unit shows it as one object code, as a
                // footnote's; writing the layout back gives <gN> again.
                co_token.eo_Kind = et_Token::e_Standalone;
            }
            co_paragraph.co_Tokens.push_back(std::move(co_token));
            ++n_At;
            if (eo_kind == et_Code::e_FlowOpen && !b_Note(co_token, co_paragraph)) {
                return false;
            }
            if (eo_kind == et_Code::e_TableOpen && !b_Table(co_token, co_paragraph)) {
                return false;
            }
        }
        if (b_open) {
            return false;  // a last paragraph without its line end
        }
        return !b_Inner;
    }

  private:
    // Room for the tokens up to the next line end, so that a long paragraph is not moved
    // again and again as it grows.
    void v_Reserve(CT_LayoutParagraph& co_Paragraph) const {
        std::size_t n_end = n_At;
        while (n_end < co_Tokens.size() && co_Tokens[n_end].eo_Kind != et_Token::e_LineEnd) {
            ++n_end;
        }
        co_Paragraph.co_Tokens.reserve(n_end - n_At);
    }

    // A paired code around a note's text opens and closes a flow as a footnote's codes do.
    et_Code eo_Kind(const CT_TaggedToken& co_Token) const {
        if (co_Token.eo_Kind == et_Token::e_Text || co_Token.eo_Kind == et_Token::e_LineEnd) {
            return et_Code::e_Inline;
        }
        auto co_found = co_Codes.find(co_Token.n_Code);
        const et_Code eo_kind =
            co_found == co_Codes.end() ? et_Code::e_Inline : co_found->second.eo_Kind;
        if (eo_kind == et_Code::e_FlowAround) {
            return co_Token.eo_Kind == et_Token::e_Open    ? et_Code::e_FlowOpen
                   : co_Token.eo_Kind == et_Token::e_Close ? et_Code::e_FlowClose
                                                           : et_Code::e_Inline;
        }
        return co_Token.eo_Kind == et_Token::e_Standalone ? eo_kind : et_Code::e_Inline;
    }

    // The anchor's closing code: an object code of the kind, or for a paired note the close of
    // its own code.
    bool b_Close(et_Code eo_Kind, CT_LayoutAnchor& co_Anchor) {
        if (n_At >= co_Tokens.size() || this->eo_Kind(co_Tokens[n_At]) != eo_Kind) {
            return false;
        }
        const CT_TaggedToken& co_close = co_Tokens[n_At];
        if (co_Anchor.b_Paired != (co_close.eo_Kind == et_Token::e_Close) ||
            (co_Anchor.b_Paired && co_close.n_Code != co_Anchor.n_Open)) {
            return false;
        }
        co_Anchor.n_Close = co_Tokens[n_At++].n_Code;
        return true;
    }

    bool b_Note(const CT_TaggedToken& co_Open, CT_LayoutParagraph& co_Paragraph) {
        CT_LayoutAnchor co_anchor;
        co_anchor.n_Open = co_Open.n_Code;
        co_anchor.b_Paired = co_Codes.at(co_Open.n_Code).eo_Kind == et_Code::e_FlowAround;
        co_anchor.co_Label = co_Codes.at(co_Open.n_Code).co_Label;
        co_anchor.co_Flows.emplace_back();
        if (!b_Flow(co_anchor.co_Flows.back().co_Paragraphs, true) ||
            !b_Close(et_Code::e_FlowClose, co_anchor)) {
            return false;
        }
        co_Paragraph.co_Anchors.push_back(std::move(co_anchor));
        return true;
    }

    bool b_Table(const CT_TaggedToken& co_Open, CT_LayoutParagraph& co_Paragraph) {
        CT_LayoutAnchor co_anchor;
        co_anchor.b_Table = true;
        co_anchor.n_Open = co_Open.n_Code;
        co_anchor.co_Label = "table";
        while (n_At < co_Tokens.size() && eo_Kind(co_Tokens[n_At]) == et_Code::e_Cell) {
            const CT_ExchangeCode& co_cell = co_Codes.at(co_Tokens[n_At].n_Code);
            CT_LayoutFlow co_flow;
            co_flow.n_Code = co_Tokens[n_At++].n_Code;
            co_flow.n_Row = co_cell.n_Row;
            co_flow.n_Column = co_cell.n_Column;
            if (!b_Flow(co_flow.co_Paragraphs, true)) {
                return false;
            }
            co_anchor.co_Flows.push_back(std::move(co_flow));
        }
        if (!b_Close(et_Code::e_TableClose, co_anchor)) {
            return false;
        }
        co_Paragraph.co_Anchors.push_back(std::move(co_anchor));
        return true;
    }

    std::vector<CT_TaggedToken>& co_Tokens;
    const CT_StoryLayout::CT_Codes& co_Codes;
    std::size_t n_At = 0;
    std::size_t n_Lines = 0;
};

void v_WriteFlow(const std::vector<CT_LayoutParagraph>& co_Paragraphs, std::string& co_Out);

// The anchor that opens at the code; a translator may have moved anchors around.
const CT_LayoutAnchor* pco_AnchorAt(const CT_LayoutParagraph& co_Paragraph,
                                    const CT_TaggedToken& co_Token) {
    if (co_Token.eo_Kind != et_Token::e_Standalone) {
        return nullptr;
    }
    for (const CT_LayoutAnchor& co_anchor : co_Paragraph.co_Anchors) {
        if (co_anchor.n_Open == co_Token.n_Code) {
            return &co_anchor;
        }
    }
    return nullptr;
}

void v_WriteParagraph(const CT_LayoutParagraph& co_Paragraph, std::string& co_Out) {
    for (const CT_TaggedToken& co_token : co_Paragraph.co_Tokens) {
        const CT_LayoutAnchor* pco_anchor = pco_AnchorAt(co_Paragraph, co_token);
        if (pco_anchor == nullptr || !pco_anchor->b_Paired) {
            CT_TaggedToken::sv_Write(co_token, co_Out);
        } else {
            CT_TaggedToken::sv_Write(
                CT_TaggedToken{et_Token::e_Open, std::string(), co_token.n_Code}, co_Out);
        }
        if (pco_anchor == nullptr) {
            continue;
        }
        const CT_LayoutAnchor& co_anchor = *pco_anchor;
        for (const CT_LayoutFlow& co_flow : co_anchor.co_Flows) {
            if (co_flow.n_Code != 0) {
                CT_TaggedToken::sv_Write(
                    CT_TaggedToken{et_Token::e_Standalone, std::string(), co_flow.n_Code}, co_Out);
            }
            v_WriteFlow(co_flow.co_Paragraphs, co_Out);
        }
        CT_TaggedToken::sv_Write(
            CT_TaggedToken{co_anchor.b_Paired ? et_Token::e_Close : et_Token::e_Standalone,
                           std::string(), co_anchor.n_Close},
            co_Out);
    }
}

void v_WriteFlow(const std::vector<CT_LayoutParagraph>& co_Paragraphs, std::string& co_Out) {
    for (const CT_LayoutParagraph& co_paragraph : co_Paragraphs) {
        v_WriteParagraph(co_paragraph, co_Out);
        co_Out.push_back('\n');
    }
}
}  // namespace

CT_StoryLayout::CT_StoryLayout(std::string_view co_Content, const CT_Codes& co_Codes)
    : co_Codes_(co_Codes) {
    std::vector<CT_TaggedToken> co_tokens;
    const bool b_readsBack = CT_TaggedToken::sb_Read(co_Content, co_tokens);
    if (b_Layout(co_tokens, co_Codes)) {
        // Paragraphs without anchors write their tokens back in the order they were read, so
        // only anchors and content the tokens do not give back need the comparison.
        bool b_anchors = false;
        for (const CT_LayoutParagraph& co_paragraph : co_Paragraphs_) {
            b_anchors = b_anchors || !co_paragraph.co_Anchors.empty();
        }
        if (b_readsBack && !b_anchors) {
            return;
        }
        std::string s_back;
        s_back.reserve(co_Content.size());
        v_WriteFlow(co_Paragraphs_, s_back);
        if (s_back == co_Content) {
            return;
        }
    }
    // Flat: one paragraph per line, codes inline; a last line without its line end still
    // gets one, which the import reads the same way. The tokens were moved away: read again.
    co_Paragraphs_.clear();
    co_tokens.clear();
    CT_TaggedToken::sv_Read(co_Content, co_tokens);
    if (!co_tokens.empty() && co_tokens.back().eo_Kind != et_Token::e_LineEnd) {
        co_tokens.push_back(CT_TaggedToken{et_Token::e_LineEnd, std::string(), 0});
    }
    b_Layout(co_tokens, CT_Codes());
}

// Moves the tokens' texts into the paragraphs.
bool CT_StoryLayout::b_Layout(std::vector<CT_TaggedToken>& co_Tokens, const CT_Codes& co_Codes) {
    return CT_LayoutReader(co_Tokens, co_Codes).b_Flow(co_Paragraphs_, false);
}

std::string CT_StoryLayout::s_Content() const {
    std::string co_out;
    v_WriteFlow(co_Paragraphs_, co_out);
    return co_out;
}
