#include "exchange/ct_xliff_placement.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <optional>
#include <unordered_map>
#include <utility>

#include "exchange/ct_word_count.h"
#include "exchange/ct_xliff_unit_codes.h"

namespace {
using et_Token = CT_TaggedToken::et_Kind;
using et_Finding = CT_XliffFinding::et_Kind;

// Every paragraph of the flow in the writer's unit order: a paragraph, then the flows of its
// anchors, each in turn.
void v_Number(std::vector<CT_LayoutParagraph>& co_Flow,
              std::vector<CT_LayoutParagraph*>& co_Paragraphs) {
    for (CT_LayoutParagraph& co_paragraph : co_Flow) {
        co_Paragraphs.push_back(&co_paragraph);
        for (CT_LayoutAnchor& co_anchor : co_paragraph.co_Anchors) {
            for (CT_LayoutFlow& co_flow : co_anchor.co_Flows) {
                v_Number(co_flow.co_Paragraphs, co_Paragraphs);
            }
        }
    }
}

std::string s_Tagged(const std::vector<CT_TaggedToken>& co_Tokens) {
    std::string s_tagged;
    CT_TaggedToken::sv_Write(co_Tokens, s_tagged);
    return s_tagged;
}

// What a translator reads of the tokens: their text without codes.
std::string s_Plain(const std::vector<CT_TaggedToken>& co_Tokens) {
    std::string s_plain;
    for (const CT_TaggedToken& co_token : co_Tokens) {
        if (co_token.eo_Kind == et_Token::e_Text) {
            s_plain += co_token.co_Text;
        }
    }
    return s_plain;
}

bool b_HasLetter(const std::vector<CT_TaggedToken>& co_Tokens) {
    return std::any_of(co_Tokens.begin(), co_Tokens.end(), [](const CT_TaggedToken& co_Token) {
        return co_Token.eo_Kind == et_Token::e_Text && CT_WordCount::sb_HasLetter(co_Token.co_Text);
    });
}

std::string co_Name(et_Token eo_Kind, unsigned n_Code) {
    const std::string co_number = std::to_string(n_Code);
    switch (eo_Kind) {
        case et_Token::e_Open:
            return "<g" + co_number + ">";
        case et_Token::e_Close:
            return "</g" + co_number + ">";
        default:
            return "<x" + co_number + "/>";
    }
}

// Whether the target holds the source's codes in the source's order, as it mostly does: then
// no code is missing, extra or there too often.
bool b_SameCodes(const std::vector<CT_TaggedToken>& co_Source,
                 const std::vector<CT_TaggedToken>& co_Target) {
    auto b_Code = [](const CT_TaggedToken& co_Token) {
        return co_Token.eo_Kind != et_Token::e_Text;
    };
    auto co_source = std::find_if(co_Source.begin(), co_Source.end(), b_Code);
    auto co_target = std::find_if(co_Target.begin(), co_Target.end(), b_Code);
    while (co_source != co_Source.end() && co_target != co_Target.end()) {
        if (co_source->eo_Kind != co_target->eo_Kind || co_source->n_Code != co_target->n_Code) {
            return false;
        }
        co_source = std::find_if(co_source + 1, co_Source.end(), b_Code);
        co_target = std::find_if(co_target + 1, co_Target.end(), b_Code);
    }
    return co_source == co_Source.end() && co_target == co_Target.end();
}

// The codes of a unit's content, each with how often it stands there.
std::map<std::pair<et_Token, unsigned>, int> co_Codes(
    const std::vector<CT_TaggedToken>& co_Tokens) {
    std::map<std::pair<et_Token, unsigned>, int> co_codes;
    for (const CT_TaggedToken& co_token : co_Tokens) {
        if (co_token.eo_Kind != et_Token::e_Text) {
            ++co_codes[{co_token.eo_Kind, co_token.n_Code}];
        }
    }
    return co_codes;
}

// The first close of a paired code that does not close the code opened last, or a code left
// open at the end (its open); null when the codes nest.
const CT_TaggedToken* pco_FirstMisnested(const std::vector<CT_TaggedToken>& co_Tokens) {
    std::vector<const CT_TaggedToken*> co_open;
    for (const CT_TaggedToken& co_token : co_Tokens) {
        if (co_token.eo_Kind == et_Token::e_Open) {
            co_open.push_back(&co_token);
        } else if (co_token.eo_Kind == et_Token::e_Close) {
            if (co_open.empty() || co_open.back()->n_Code != co_token.n_Code) {
                return &co_token;
            }
            co_open.pop_back();
        }
    }
    return co_open.empty() ? nullptr : co_open.back();
}

// The ways a unit's codes may have been numbered: per unit with runs of one look merged
// (kn_Merged), per unit with every run (kn_AllRuns), or by the story's own numbers, as the
// first version of the writer did (kn_Story). Files of that version still import: the story's
// numbering is one more comparison, tried last.
constexpr int kn_Merged = 0;
constexpr int kn_AllRuns = 1;
constexpr int kn_Story = 2;

// A paragraph seen each way, each view made when first asked for: a unit's source is compared
// with them and its target read back through the one that fits, and numbering a paragraph's
// codes is most of what placing a unit costs.
class CT_Ways {
  public:
    CT_Ways(const std::vector<CT_TaggedToken>& co_Paragraph,
            const CT_StoryLayout::CT_Codes& co_Codes)
        : co_Paragraph(co_Paragraph), co_Codes(co_Codes) {}

    // REQUIRES: n_Way is kn_Merged or kn_AllRuns.
    const CT_XliffUnitCodes& co_UnitCodes(int n_Way) {
        std::optional<CT_XliffUnitCodes>& co_codes = aco_Codes[n_Way];
        if (!co_codes) {
            co_codes.emplace(co_Paragraph, co_Codes, n_Way == kn_AllRuns);
        }
        return *co_codes;
    }
    const std::vector<CT_TaggedToken>& co_View(int n_Way) {
        return n_Way == kn_Story ? co_Paragraph : co_UnitCodes(n_Way).cco_Read();
    }
    const std::string& s_View(int n_Way) {
        std::optional<std::string>& s_view = as_Views[n_Way];
        if (!s_view) {
            s_view = s_Tagged(co_View(n_Way));
        }
        return *s_view;
    }

  private:
    const std::vector<CT_TaggedToken>& co_Paragraph;
    const CT_StoryLayout::CT_Codes& co_Codes;
    std::optional<CT_XliffUnitCodes> aco_Codes[kn_Story];
    std::optional<std::string> as_Views[kn_Story + 1];
};

// The first way the paragraph is seen in that f_Fits takes; -1 for none.
template <typename ft_Fits>
int n_WayOf(ft_Fits f_Fits) {
    for (int n_way = kn_Merged; n_way <= kn_Story; ++n_way) {
        if (f_Fits(n_way)) {
            return n_way;
        }
    }
    return -1;
}

// How many units' sources are the paragraphs their ids name in the layout.
std::size_t n_Matching(const std::vector<CT_LayoutParagraph*>& co_paragraphs,
                       const CT_StoryLayout::CT_Codes& co_Codes,
                       const std::vector<const CT_XliffUnit*>& co_Units) {
    std::size_t n_matching = 0;
    for (const CT_XliffUnit* pco_unit : co_Units) {
        if (pco_unit->n_Number == 0 || pco_unit->n_Number > co_paragraphs.size()) {
            continue;
        }
        const std::string s_source = s_Tagged(pco_unit->co_Source);
        CT_Ways co_ways(co_paragraphs[pco_unit->n_Number - 1]->co_Tokens, co_Codes);
        n_matching += n_WayOf([&](int n_Way) { return co_ways.s_View(n_Way) == s_source; }) >= 0;
    }
    return n_matching;
}
}  // namespace

CT_XliffPlacement::CT_UnitsByStory CT_XliffPlacement::sco_ByStory(const CT_XliffReader& co_Reader) {
    CT_UnitsByStory co_units;
    for (const CT_XliffUnit& co_unit : co_Reader.cco_Units()) {
        if (co_unit.co_Key.empty()) {
            co_units.co_Keyless.push_back(&co_unit);
        } else {
            co_units.co_ByKey[co_unit.co_Key].push_back(&co_unit);
        }
    }
    return co_units;
}

std::vector<CT_TaggedStory> CT_XliffPlacement::sco_PlaceAll(
    const CT_XliffReader& co_Reader, const CT_Layouts& f_Layouts,
    std::vector<CT_XliffFinding>& co_Findings) {
    return sco_Assemble(
        co_Reader, sco_ByStory(co_Reader),
        [&](const std::string& s_Key, const std::vector<const CT_XliffUnit*>& co_Units,
            std::string& s_Content, std::vector<CT_XliffFinding>& co_StoryFindings) {
            std::vector<CT_StoryLayout> co_layouts;
            if (!f_Layouts(s_Key, co_layouts)) {
                return false;
            }
            const CT_XliffPlacement co_placement(s_Key, std::move(co_layouts), co_Units);
            s_Content = co_placement.s_Content();
            co_StoryFindings = co_placement.cco_Findings();
            return true;
        },
        co_Findings);
}

std::vector<CT_TaggedStory> CT_XliffPlacement::sco_Assemble(
    const CT_XliffReader& co_Reader, const CT_UnitsByStory& co_Units, const CT_Laid& f_Laid,
    std::vector<CT_XliffFinding>& co_Findings) {
    const std::size_t n_first = co_Findings.size();
    for (const CT_XliffUnit* pco_unit : co_Units.co_Keyless) {
        CT_XliffFinding co_finding;
        co_finding.eo_Kind = et_Finding::e_UnknownUnit;
        co_finding.co_Unit = pco_unit->co_Id.empty() ? "\"\"" : pco_unit->co_Id;
        co_finding.n_Line = pco_unit->n_Line;
        co_Findings.push_back(std::move(co_finding));
    }
    std::vector<CT_TaggedStory> co_stories;
    for (const std::string& co_key : co_Reader.co_StoryKeys()) {
        const std::vector<const CT_XliffUnit*>& co_units = co_Units.co_ByKey.at(co_key);
        std::string s_content;
        std::vector<CT_XliffFinding> co_found;
        if (!f_Laid(co_key, co_units, s_content, co_found)) {
            CT_XliffFinding co_finding;
            co_finding.eo_Kind = et_Finding::e_UnknownStory;
            co_finding.co_Story = co_key;
            co_finding.co_Unit = co_units.front()->co_Id;
            co_finding.n_Line = co_units.front()->n_Line;
            co_Findings.push_back(std::move(co_finding));
            continue;
        }
        co_Findings.insert(co_Findings.end(), co_found.begin(), co_found.end());
        co_stories.push_back(CT_TaggedStory{co_key, std::string(), std::move(s_content)});
    }
    // In the order of the file's lines, whatever story they are of; paragraphs the file lacks
    // have no line and go last.
    std::stable_sort(co_Findings.begin() + static_cast<std::ptrdiff_t>(n_first), co_Findings.end(),
                     [](const CT_XliffFinding& co_One, const CT_XliffFinding& co_Other) {
                         return co_One.n_Line - 1 < co_Other.n_Line - 1;
                     });
    return co_stories;
}

bool CT_XliffPlacement::sb_IsTranslated(const CT_XliffUnit& co_Unit) {
    // A tool may write an empty target for a unit it did not translate, whatever its state.
    if (!co_Unit.b_Target || (co_Unit.co_Target.empty() && !co_Unit.co_Source.empty())) {
        return false;
    }
    const std::string& co_state = co_Unit.co_State;
    if (co_Unit.b_Approved || co_state == "translated" || co_state == "final" ||
        co_state == "signed-off" || co_state.compare(0, 13, "needs-review-") == 0) {
        return true;
    }
    return co_Unit.co_Target != co_Unit.co_Source;
}

CT_XliffPlacement::CT_XliffPlacement(const std::string& co_Key,
                                     std::vector<CT_StoryLayout> co_Layouts,
                                     const std::vector<const CT_XliffUnit*>& co_Units)
    : co_Key(co_Key) {
    // The layout most sources match; of two that match as many, the one with as many
    // paragraphs as the file has units (a note left out has no units of its own).
    std::size_t n_best = 0;
    std::pair<std::size_t, std::size_t> co_best;
    for (std::size_t n = 0; n < co_Layouts.size() && co_Layouts.size() > 1; ++n) {
        std::vector<CT_LayoutParagraph*> co_paragraphs;
        v_Number(co_Layouts[n].co_Paragraphs(), co_paragraphs);
        const std::size_t n_apart = co_paragraphs.size() > co_Units.size()
                                        ? co_paragraphs.size() - co_Units.size()
                                        : co_Units.size() - co_paragraphs.size();
        const std::pair<std::size_t, std::size_t> co_score(
            n_Matching(co_paragraphs, co_Layouts[n].cco_Codes(), co_Units), SIZE_MAX - n_apart);
        if (n == 0 || co_score > co_best) {
            co_best = co_score;
            n_best = n;
        }
    }
    if (!co_Layouts.empty()) {
        co_Layout = std::move(co_Layouts[n_best]);
    }
    std::vector<CT_LayoutParagraph*> co_paragraphs;
    v_Number(co_Layout.co_Paragraphs(), co_paragraphs);
    // The line of the unit each paragraph was placed from; 0 while none was.
    std::vector<std::size_t> co_placed(co_paragraphs.size(), 0);
    // Paragraphs keep their document tokens until every unit is placed, so that a source is
    // always compared with the document's text, never with another unit's translation.
    std::vector<std::vector<CT_TaggedToken>> co_new(co_paragraphs.size());
    std::vector<bool> co_replaced(co_paragraphs.size(), false);
    for (const CT_XliffUnit* pco_unit : co_Units) {
        const CT_XliffUnit& co_unit = *pco_unit;
        if (!co_unit.co_Fault.empty()) {
            v_Add(et_Finding::e_Unreadable, &co_unit, std::string(), co_unit.co_Fault);
            if (co_unit.n_FaultLine != 0) {
                co_Findings.back().n_Line = co_unit.n_FaultLine;
            }
        }
        if (co_unit.n_Number == 0 || co_unit.n_Number > co_paragraphs.size()) {
            v_Add(et_Finding::e_UnknownUnit, &co_unit);
            continue;
        }
        const std::size_t n_index = co_unit.n_Number - 1;
        if (co_placed[n_index] != 0) {
            v_Add(et_Finding::e_DuplicateUnit, &co_unit, std::string(),
                  std::to_string(co_placed[n_index]));
            continue;
        }
        co_placed[n_index] = co_unit.n_Line != 0 ? co_unit.n_Line : 1;
        if (!co_unit.co_Fault.empty()) {
            continue;
        }
        const CT_LayoutParagraph& co_paragraph = *co_paragraphs[n_index];
        const CT_StoryLayout::CT_Codes& co_codes = co_Layout.cco_Codes();
        const std::string s_source = s_Tagged(co_unit.co_Source);
        const std::string s_target = co_unit.b_Target ? s_Tagged(co_unit.co_Target) : "";
        // A document that holds this very translation already (imported before) has not
        // changed under it: importing it again changes nothing.
        CT_Ways co_ways(co_paragraph.co_Tokens, co_codes);
        int n_way = n_WayOf([&](int n_Way) {
            const std::string& s_view = co_ways.s_View(n_Way);
            return s_view == s_source || (co_unit.b_Target && s_view == s_target);
        });
        const bool b_sameSource = n_way >= 0;
        if (!b_sameSource) {
            v_Add(et_Finding::e_SourceDiffers, &co_unit, std::string(), s_Plain(co_unit.co_Source));
            co_Findings.back().co_Document = s_Plain(co_paragraph.co_Tokens);
        }
        // A unit with nothing to translate is taken only when a translator changed it anyway.
        const bool b_translated =
            co_unit.b_NoTranslate ? co_unit.b_Target && co_unit.co_Target != co_unit.co_Source &&
                                        !(co_unit.co_Target.empty() && !co_unit.co_Source.empty())
                                  : sb_IsTranslated(co_unit);
        if (!b_translated) {
            if (!co_unit.b_NoTranslate) {
                v_Add(et_Finding::e_Untranslated, &co_unit);
            }
            continue;
        }
        if (!b_CheckCodes(co_unit)) {
            continue;
        }
        if (co_unit.co_State.compare(0, 13, "needs-review-") == 0) {
            v_Add(et_Finding::e_Review, &co_unit, std::string(), co_unit.co_State);
        }
        // A translation of an older text goes in only when its codes are the document's: the
        // document's objects and formatting must all come back.
        if (!b_sameSource) {
            const auto co_target = co_Codes(co_unit.co_Target);
            n_way =
                n_WayOf([&](int n_Way) { return co_Codes(co_ways.co_View(n_Way)) == co_target; });
        }
        if (n_way == kn_Story) {
            co_new[n_index] = co_unit.co_Target;
        } else if (n_way >= 0 && co_ways.s_View(n_way) == s_target) {
            // Left as it was: the paragraph's own runs, merged ones too, come back exactly.
            co_new[n_index] = co_paragraph.co_Tokens;
        } else if (n_way >= 0) {
            // The target's codes are the source's (checked above), so each maps back.
            std::string s_code;
            if (!co_ways.co_UnitCodes(n_way).b_Back(co_unit.co_Target, co_new[n_index], s_code)) {
                n_way = -1;
            }
        }
        co_replaced[n_index] = n_way >= 0;
    }
    for (std::size_t n = 0; n < co_paragraphs.size(); ++n) {
        if (co_replaced[n]) {
            co_paragraphs[n]->co_Tokens = std::move(co_new[n]);
        } else if (co_placed[n] == 0 && b_HasLetter(co_paragraphs[n]->co_Tokens)) {
            CT_XliffFinding co_finding;
            co_finding.eo_Kind = et_Finding::e_MissingUnit;
            co_finding.co_Story = co_Key;
            co_finding.co_Unit = co_Key + "." + std::to_string(n + 1);
            co_Findings.push_back(std::move(co_finding));
        }
    }
}

bool CT_XliffPlacement::b_CheckCodes(const CT_XliffUnit& co_Unit) {
    const std::size_t n_before = co_Findings.size();
    if (!b_SameCodes(co_Unit.co_Source, co_Unit.co_Target)) {
        const auto co_source = co_Codes(co_Unit.co_Source);
        const auto co_target = co_Codes(co_Unit.co_Target);
        for (const auto& co_code : co_source) {
            if (co_target.count(co_code.first) == 0) {
                v_Add(et_Finding::e_CodeMissing, &co_Unit,
                      co_Name(co_code.first.first, co_code.first.second));
            }
        }
        for (const auto& co_code : co_target) {
            const auto co_found = co_source.find(co_code.first);
            if (co_found == co_source.end()) {
                v_Add(et_Finding::e_CodeExtra, &co_Unit,
                      co_Name(co_code.first.first, co_code.first.second));
            } else if (co_code.second > co_found->second) {
                v_Add(et_Finding::e_CodeTwice, &co_Unit,
                      co_Name(co_code.first.first, co_code.first.second));
            }
        }
    }
    if (co_Findings.size() != n_before) {
        return false;
    }
    // Paired codes the source itself closes out of order (as the document has them) may stay
    // so; otherwise the target must nest them.
    const CT_TaggedToken* pco_source = pco_FirstMisnested(co_Unit.co_Source);
    const CT_TaggedToken* pco_target = pco_FirstMisnested(co_Unit.co_Target);
    if (pco_source == nullptr && pco_target != nullptr) {
        v_Add(et_Finding::e_CodeOutOfPlace, &co_Unit,
              co_Name(pco_target->eo_Kind, pco_target->n_Code));
        return false;
    }
    return true;
}

void CT_XliffPlacement::v_Add(CT_XliffFinding::et_Kind eo_Kind, const CT_XliffUnit* pco_Unit,
                              const std::string& co_Code, const std::string& co_Detail) {
    CT_XliffFinding co_finding;
    co_finding.eo_Kind = eo_Kind;
    co_finding.co_Story = co_Key;
    co_finding.co_Unit = pco_Unit->co_Id;
    co_finding.n_Line = pco_Unit->n_Line;
    co_finding.co_Code = co_Code;
    co_finding.co_Detail = co_Detail;
    co_Findings.push_back(std::move(co_finding));
}
