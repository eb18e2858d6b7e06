// Reads one <trans-unit> of an XLIFF file into a CT_XliffUnit: its id, its attributes, and its
// source's and target's inline XML as tagged tokens, whatever a tool did to segments (<mrk>
// kept or dropped, paired codes as <g> or <bx>/<ex>). Content it cannot take (a code of no
// number, an element that is no code, a line end, a character that does not exist) is not
// guessed at: the unit keeps the reason in co_Fault. Stateless apart from the unit being read.
#pragma once

#include <pugixml.hpp>

#include <map>
#include <string>
#include <vector>

#include "exchange/ct_xliff_unit.h"

class CT_XliffUnitReader {
  public:
    // b_CheckTexts: whether texts may hold bytes that are not UTF-8 (the parser makes any
    // character reference into bytes).
    static CT_XliffUnit sco_Read(const pugi::xml_node& co_Unit, bool b_CheckTexts);
    // The story key a unit id names ("u1c2" of "u1c2.3"); empty when it names none.
    static std::string ss_StoryKey(const std::string& s_Id);

    // Whether the node is an element of that local name, whatever its namespace prefix.
    static bool sb_IsElement(const pugi::xml_node& co_Node, const char* pc_Name);

  private:
    explicit CT_XliffUnitReader(bool b_CheckTexts) : b_CheckTexts(b_CheckTexts) {}
    void v_Inline(const pugi::xml_node& co_Parent, std::vector<CT_TaggedToken>& co_Tokens,
                  bool b_Source);
    unsigned n_Number(const pugi::xml_node& co_Element, const char* pc_Attribute) const;

    bool b_CheckTexts;
    std::map<std::string, std::string> co_Characters;  // the unit's character codes, by id
};
