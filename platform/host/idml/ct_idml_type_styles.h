// The type sizes an IDML document's paragraph and character styles set: point size, leading
// and auto-leading, each style's own or taken up its BasedOn chain. Read once from the styles
// part into plain values; the part may go afterwards.
#pragma once

#include <pugixml.hpp>

#include <string>
#include <unordered_map>
#include <vector>

#include "platform/host/ct_story_setting.h"

// 0 is "not set" for every field; a negative leading is "Auto", a share of the size.
struct CT_IdmlTypeValues {
    double d_Size = 0;
    double d_Leading = 0;
    double d_AutoLeading = 0;  // percent of the size

    // Takes from co_Under what this does not set.
    void v_Under(const CT_IdmlTypeValues& co_Under);
    // The values of an element: a style, or a style range of a story, which overrides its
    // style. A size or leading that is no number, not positive or beyond what a layout can
    // set is not set.
    static CT_IdmlTypeValues sco_Own(const pugi::xml_node& co_Node);
};

class CT_IdmlTypeStyles {
  public:
    // A document without a styles part: no style sets anything.
    CT_IdmlTypeStyles() = default;
    // Every ParagraphStyle and CharacterStyle under the styles part's root, in groups too.
    explicit CT_IdmlTypeStyles(const pugi::xml_node& co_Root);

    // What the style with this Self id sets, itself or through the styles it is based on;
    // nothing for a style the document lacks. A chain that loops or runs deeper than any
    // person builds stops where it is.
    CT_IdmlTypeValues co_Resolve(const std::string& s_Self) const;

    // The text of a story (its <Story> element) in runs of one size and leading.
    std::vector<CT_TypeRun> co_TypeOf(const pugi::xml_node& co_Story) const;

  private:
    struct CT_Style {
        CT_IdmlTypeValues co_Own;
        std::string s_BasedOn;  // a Self id, or a name for co_ByName; empty for none
        std::string s_Kind;     // "ParagraphStyle" or "CharacterStyle"
    };
    std::string s_Find(const CT_Style& co_Style) const;

    std::unordered_map<std::string, CT_Style> co_Styles;     // by Self id
    std::unordered_map<std::string, std::string> co_ByName;  // "Kind/Name" to Self id
};
