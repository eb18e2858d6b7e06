// The codes of one unit as an XLIFF file shows them to a translator: numbered from 1 in the
// unit, so that two equal sentences look equal wherever they stand; a pair as <g> where it
// nests, as <bx/> and <ex/> where it crosses another or reaches into another paragraph; the two
// codes of a hyperlink or XML element as one pair. Unless every code is asked for, formatting runs
// of the same look are one run and runs that look as the paragraph's own text are no code. Maps a
// unit's content read in that numbering back to the story's codes. Holds its own view; keeps
// pointers into the story's codes, which must outlive it.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "exchange/ct_story_layout.h"
#include "exchange/ct_tagged_token.h"

class CT_XliffUnitCodes {
  public:
    enum class et_Element { e_G, e_X, e_Bx, e_Ex };
    struct CT_Element {
        et_Element eo_Element = et_Element::e_X;
        unsigned n_Id = 0;   // in the unit, from 1
        unsigned n_Rid = 0;  // <bx/>, <ex/>: the id of the pair's <bx/>; 0 for an <ex/> alone
        const CT_ExchangeCode* pco_Code = nullptr;  // what it says it is; null: nothing
    };

    // co_Tokens: a paragraph's tokens in the story's numbering (no line end).
    CT_XliffUnitCodes(const std::vector<CT_TaggedToken>& co_Tokens,
                      const CT_StoryLayout::CT_Codes& co_Codes, bool b_AllCodes);

    // The unit's content to write: text, <g> as e_Open and e_Close with its id, every other
    // code as e_Standalone with its id, which cco_Element names.
    const std::vector<CT_TaggedToken>& cco_Written() const { return co_Written; }
    const CT_Element& cco_Element(unsigned n_Id) const { return co_Elements[n_Id - 1]; }
    std::size_t n_Codes() const { return co_Elements.size(); }
    // The content as a reader gives it back: <g> and <bx/>/<ex/> as opens and closes by the
    // pair's number (a <g>'s id, a <bx/>'s id), <x/> as e_Standalone by its id.
    const std::vector<CT_TaggedToken>& cco_Read() const { return co_Read; }

    // The story's tokens for content read in this unit's numbering: a pair's codes give its
    // first run's, a merged run's text takes that run's formatting. False, with the code's
    // name in s_Code, when the content holds a code this unit does not.
    bool b_Back(const std::vector<CT_TaggedToken>& co_Content,
                std::vector<CT_TaggedToken>& co_Tagged, std::string& s_Code) const;

  private:
    struct ct_Item;
    struct ct_Pair;
    void v_Number(std::vector<ct_Item>& co_Items, std::vector<ct_Pair>& co_Pairs);

    std::vector<CT_TaggedToken> co_Written;
    std::vector<CT_TaggedToken> co_Read;
    std::vector<CT_Element> co_Elements;
    // By the read token's kind and number: the story's tokens it stands for.
    std::map<std::pair<CT_TaggedToken::et_Kind, unsigned>, std::vector<CT_TaggedToken>> co_Back;
};
