// Gives every character range a small number that is equal for ranges with the same visible
// formatting. Spacing that only fits text to its frame (tracking, kerning, leading, horizontal
// scale, aki) is left out, so that such runs get no code of their own. Keys are cached per
// node; the object must not outlive the XML document. Key 0 stands for "no range".
// Keys also compare by how plain their formatting is, which depends on the formatting alone.
#pragma once

#include <pugixml.hpp>

#include <memory_resource>
#include <string>
#include <unordered_map>
#include <vector>

class CT_IdmlStoryRangeKeys {
  public:
    unsigned n_Key(const pugi::xml_node& co_Range);

    // True when formatting n_A overrides fewer settings than n_B (no character style counts as
    // none); equal counts go by a fixed order of the formattings, so that of two different keys
    // exactly one is plainer. REQUIRES: both keys given by this object, neither 0.
    bool b_Plainer(unsigned n_A, unsigned n_B) const;

    // What a reader sees of a range's formatting: its key's signature without the settings
    // that fine-tune glyphs or size what is switched off (ligatures, baseline shift, stroke
    // weight...), so that two runs of the same look may go to a translator as one. Empty for
    // no range.
    static std::string ss_Look(const pugi::xml_node& co_Range);

  private:
    struct ct_Formatting {
        const std::string* pco_Signature;  // owned by co_BySignature, whose nodes stay put
        std::size_t n_Overrides;
    };

    static void sv_AddSignature(const pugi::xml_node& co_Range, std::string& co_Out,
                                bool b_Look = false);
    static void sv_AddProperties(const pugi::xml_node& co_Node, std::string& co_Out,
                                 bool b_Look = false);
    static std::size_t sn_Overrides(const pugi::xml_node& co_Range);

    // A story's ranges are met one or more times each: their entries come from a store of
    // the object's, dropped whole with it, instead of an allocation each.
    std::pmr::monotonic_buffer_resource co_NodeStore;
    std::pmr::unordered_map<const void*, unsigned> co_ByNode{&co_NodeStore};
    std::unordered_map<std::string, unsigned> co_BySignature;
    std::vector<ct_Formatting> co_Formattings;  // per key - 1
};
