// Puts one story of an XLIFF file back together: its units become paragraphs, its anchor
// groups (footnotes, notes, tables) the flows anchored in them, each unit's inline XML the
// tokens of tagged content. Used by CT_XliffReader only; raises its CT_Refusal.
#pragma once

#include <pugixml.hpp>

#include <map>
#include <string>
#include <vector>

#include "exchange/ct_story_layout.h"
#include "exchange/ct_xliff_reader.h"

class CT_XliffStoryReader {
  public:
    CT_XliffStoryReader(CT_XliffReader& co_Reader, const std::string& co_Key);

    // The tagged content of the story whose group this is.
    std::string s_Read(const pugi::xml_node& co_Group);

    // Whether the node is an element of that local name, whatever its namespace prefix.
    static bool sb_IsElement(const pugi::xml_node& co_Node, const char* pc_Name);

  private:
    void v_Flow(const pugi::xml_node& co_Parent, std::vector<CT_LayoutParagraph>& co_Paragraphs);
    void v_Anchor(const pugi::xml_node& co_Group, CT_LayoutParagraph& co_Paragraph);
    void v_Unit(const pugi::xml_node& co_Unit, CT_LayoutParagraph& co_Paragraph);
    void v_Inline(const pugi::xml_node& co_Parent, std::vector<CT_TaggedToken>& co_Tokens,
                  bool b_Source);
    void v_CheckCodes(const std::vector<CT_TaggedToken>& co_Source,
                      const std::vector<CT_TaggedToken>& co_Target) const;
    void v_CheckCodeCounts(const std::vector<CT_TaggedToken>& co_Source,
                           const std::vector<CT_TaggedToken>& co_Target) const;
    [[noreturn]] void v_Refuse(const std::string& co_What) const;
    unsigned n_Number(const pugi::xml_node& co_Element, const char* pc_Attribute) const;

    CT_XliffReader& co_Reader;
    std::string co_Key;
    std::string co_Unit;                               // id of the unit being read
    std::map<std::string, std::string> co_Characters;  // its character codes, by id
};
