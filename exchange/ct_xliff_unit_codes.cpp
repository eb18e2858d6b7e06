#include "exchange/ct_xliff_unit_codes.h"

#include <string_view>

namespace {
using et_Token = CT_TaggedToken::et_Kind;
using et_Pair = CT_ExchangeCode::et_Pair;

void v_Add(std::vector<CT_TaggedToken>& co_Tokens, const CT_TaggedToken& co_Token) {
    if (co_Token.eo_Kind == et_Token::e_Text) {
        CT_TaggedToken::sv_AddText(co_Tokens, co_Token.co_Text);
    } else {
        co_Tokens.push_back(co_Token);
    }
}

}  // namespace

// One pair of the unit: opened by a paired code or a hyperlink's or XML element's start.
struct CT_XliffUnitCodes::ct_Pair {
    unsigned n_First = 0;  // the story's code that opened it
    std::string co_Look;   // a formatting run's look when runs may merge; empty otherwise
    bool b_Closed = false;
    unsigned n_Id = 0;  // its <g>'s or <bx/>'s id
};

struct CT_XliffUnitCodes::ct_Item {
    enum class et_Role { e_Text, e_Open, e_Close, e_Alone };
    et_Role eo_Role = et_Role::e_Text;
    std::string co_Text;
    std::size_t n_Pair = 0;  // e_Open, e_Close: the pair; 0 for one whose partner is elsewhere
    const CT_ExchangeCode* pco_Code = nullptr;
    std::vector<CT_TaggedToken> co_Back;
};

CT_XliffUnitCodes::CT_XliffUnitCodes(const std::vector<CT_TaggedToken>& co_Tokens,
                                     const CT_StoryLayout::CT_Codes& co_Codes, bool b_AllCodes) {
    using et_Role = ct_Item::et_Role;
    std::vector<ct_Item> co_items;
    std::vector<ct_Pair> co_pairs(1);
    std::map<unsigned, std::size_t> co_pairOf;  // the story's opening code: its pair
    std::map<unsigned, bool> co_dropped;
    auto pco_CodeOf = [&co_Codes](unsigned n_Code) -> const CT_ExchangeCode* {
        auto co_found = co_Codes.find(n_Code);
        return co_found == co_Codes.end() ? nullptr : &co_found->second;
    };
    auto v_Item = [&co_items](et_Role eo_Role, std::size_t n_Pair, const CT_ExchangeCode* pco_Code,
                              const CT_TaggedToken& co_Back) {
        co_items.push_back(ct_Item{eo_Role, std::string(), n_Pair, pco_Code, {co_Back}});
    };
    auto v_Text = [&co_items](std::string_view co_Text) {
        co_items.emplace_back();
        co_items.back().co_Text = co_Text;
    };
    // The pair a close ends: its open's, when that stands in this unit and is still open.
    auto n_OpenPair = [&](unsigned n_Open) -> std::size_t {
        auto co_found = co_pairOf.find(n_Open);
        return co_found != co_pairOf.end() && !co_pairs[co_found->second].b_Closed
                   ? co_found->second
                   : 0;
    };
    for (const CT_TaggedToken& co_token : co_Tokens) {
        const CT_ExchangeCode* pco_code = pco_CodeOf(co_token.n_Code);
        switch (co_token.eo_Kind) {
            case et_Token::e_Text:
                v_Text(co_token.co_Text);
                break;
            case et_Token::e_Open: {
                const bool b_reduce =
                    !b_AllCodes && pco_code != nullptr && !pco_code->co_Look.empty();
                if (b_reduce && pco_code->b_LooksAsParagraph) {
                    co_dropped[co_token.n_Code] = true;
                    break;
                }
                // A run that looks as the one just closed goes on in its pair.
                if (b_reduce && !co_items.empty() && co_items.back().eo_Role == et_Role::e_Close &&
                    co_items.back().n_Pair != 0 &&
                    co_pairs[co_items.back().n_Pair].co_Look == pco_code->co_Look) {
                    const std::size_t n_pair = co_items.back().n_Pair;
                    co_items.pop_back();
                    co_pairs[n_pair].b_Closed = false;
                    co_pairOf[co_token.n_Code] = n_pair;
                    break;
                }
                co_pairs.push_back(ct_Pair{co_token.n_Code, b_reduce ? pco_code->co_Look : ""});
                co_pairOf[co_token.n_Code] = co_pairs.size() - 1;
                v_Item(et_Role::e_Open, co_pairs.size() - 1, pco_code, co_token);
                break;
            }
            case et_Token::e_Close: {
                if (co_dropped.count(co_token.n_Code) != 0) {
                    break;
                }
                const std::size_t n_pair = n_OpenPair(co_token.n_Code);
                co_pairs[n_pair].b_Closed = n_pair != 0;
                v_Item(et_Role::e_Close, n_pair, pco_code,
                       CT_TaggedToken{et_Token::e_Close, std::string(),
                                      n_pair != 0 ? co_pairs[n_pair].n_First : co_token.n_Code});
                break;
            }
            default: {
                const et_Pair eo_pair = pco_code != nullptr ? pco_code->eo_Pair : et_Pair::e_None;
                if (eo_pair == et_Pair::e_Open) {
                    co_pairs.push_back(ct_Pair{co_token.n_Code, std::string()});
                    co_pairOf[co_token.n_Code] = co_pairs.size() - 1;
                    v_Item(et_Role::e_Open, co_pairs.size() - 1, pco_code, co_token);
                } else if (eo_pair == et_Pair::e_Close) {
                    const std::size_t n_pair = n_OpenPair(pco_code->n_Partner);
                    co_pairs[n_pair].b_Closed = n_pair != 0;
                    v_Item(et_Role::e_Close, n_pair, pco_code, co_token);
                } else {
                    v_Item(et_Role::e_Alone, 0, pco_code, co_token);
                }
            }
        }
    }
    // A pair whose close stands in another paragraph opens here alone.
    for (ct_Item& co_item : co_items) {
        if (co_item.eo_Role == et_Role::e_Open && !co_pairs[co_item.n_Pair].b_Closed) {
            co_item.n_Pair = 0;
        }
    }
    v_Number(co_items, co_pairs);
}

// Ids in the order the codes stand. Pairs are <g> unless one crosses another: then all are
// <bx/> and <ex/>, as are the ends of pairs whose other end is in another unit.
void CT_XliffUnitCodes::v_Number(std::vector<ct_Item>& co_Items, std::vector<ct_Pair>& co_Pairs) {
    using et_Role = ct_Item::et_Role;
    bool b_crossing = false;
    std::vector<std::size_t> co_open;
    for (const ct_Item& co_item : co_Items) {
        if (co_item.n_Pair == 0) {
            continue;
        }
        if (co_item.eo_Role == et_Role::e_Open) {
            co_open.push_back(co_item.n_Pair);
        } else if (!co_open.empty() && co_open.back() == co_item.n_Pair) {
            co_open.pop_back();
        } else {
            b_crossing = true;
            break;
        }
    }
    auto v_Element = [this](et_Element eo_Element, unsigned n_Rid,
                            const CT_ExchangeCode* pco_Code) {
        const unsigned n_id = static_cast<unsigned>(co_Elements.size() + 1);
        co_Elements.push_back(
            CT_Element{eo_Element, n_id, eo_Element == et_Element::e_Bx ? n_id : n_Rid, pco_Code});
        return n_id;
    };
    for (ct_Item& co_item : co_Items) {
        const bool b_g = co_item.n_Pair != 0 && !b_crossing;
        CT_TaggedToken co_read;
        switch (co_item.eo_Role) {
            case et_Role::e_Text:
                CT_TaggedToken::sv_AddText(co_Written, co_item.co_Text);
                CT_TaggedToken::sv_AddText(co_Read, co_item.co_Text);
                continue;
            case et_Role::e_Open: {
                const unsigned n_id =
                    v_Element(b_g ? et_Element::e_G : et_Element::e_Bx, 0, co_item.pco_Code);
                co_Pairs[co_item.n_Pair].n_Id = n_id;
                co_Written.push_back(CT_TaggedToken{b_g ? et_Token::e_Open : et_Token::e_Standalone,
                                                    std::string(), n_id});
                co_read = CT_TaggedToken{et_Token::e_Open, std::string(), n_id};
                break;
            }
            case et_Role::e_Close: {
                if (b_g) {
                    const unsigned n_id = co_Pairs[co_item.n_Pair].n_Id;
                    co_Written.push_back(CT_TaggedToken{et_Token::e_Close, std::string(), n_id});
                    co_read = CT_TaggedToken{et_Token::e_Close, std::string(), n_id};
                    break;
                }
                const unsigned n_rid = co_item.n_Pair != 0 ? co_Pairs[co_item.n_Pair].n_Id : 0;
                const unsigned n_id = v_Element(et_Element::e_Ex, n_rid, co_item.pco_Code);
                co_Written.push_back(CT_TaggedToken{et_Token::e_Standalone, std::string(), n_id});
                co_read =
                    CT_TaggedToken{et_Token::e_Close, std::string(), n_rid != 0 ? n_rid : n_id};
                break;
            }
            case et_Role::e_Alone: {
                const unsigned n_id = v_Element(et_Element::e_X, 0, co_item.pco_Code);
                co_Written.push_back(CT_TaggedToken{et_Token::e_Standalone, std::string(), n_id});
                co_read = CT_TaggedToken{et_Token::e_Standalone, std::string(), n_id};
                break;
            }
        }
        co_Read.push_back(co_read);
        co_Back[{co_read.eo_Kind, co_read.n_Code}] = std::move(co_item.co_Back);
    }
}

bool CT_XliffUnitCodes::b_Back(const std::vector<CT_TaggedToken>& co_Content,
                               std::vector<CT_TaggedToken>& co_Tagged, std::string& s_Code) const {
    for (const CT_TaggedToken& co_token : co_Content) {
        if (co_token.eo_Kind == et_Token::e_Text) {
            CT_TaggedToken::sv_AddText(co_Tagged, co_token.co_Text);
            continue;
        }
        auto co_found = co_Back.find({co_token.eo_Kind, co_token.n_Code});
        if (co_found == co_Back.end()) {
            s_Code = std::to_string(co_token.n_Code);
            return false;
        }
        for (const CT_TaggedToken& co_back : co_found->second) {
            v_Add(co_Tagged, co_back);
        }
    }
    return true;
}
