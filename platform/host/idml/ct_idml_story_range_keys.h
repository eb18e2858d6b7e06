// Gives every character range a small number that is equal for ranges with the same visible
// formatting. Spacing that only fits text to its frame (tracking, kerning, leading, horizontal
// scale, aki) is left out, so that such runs get no code of their own. Keys are cached per
// node; the object must not outlive the XML document. Key 0 stands for "no range".
#pragma once

#include <pugixml.hpp>

#include <string>
#include <unordered_map>

class CT_IdmlStoryRangeKeys {
  public:
    unsigned n_Key(const pugi::xml_node& co_Range);

  private:
    static std::string s_Signature(const pugi::xml_node& co_Range);
    static void sv_AddProperties(const pugi::xml_node& co_Node, std::string& co_Out);

    std::unordered_map<const void*, unsigned> co_ByNode;
    std::unordered_map<std::string, unsigned> co_BySignature;
};
