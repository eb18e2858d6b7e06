// One XML entry of an IDML package, parsed: the design map, a spread, the preferences or a
// story. It owns its parsed tree and remembers whether the tree was changed since it was read.
// pugixml never loads a DTD or an external entity, so parsing reads nothing but these bytes.
#pragma once

#include <pugixml.hpp>

#include <string>

class CT_IdmlXmlPart {
  public:
    // Read-only parts drop the whitespace between elements; editable ones keep every character,
    // the declaration and processing instructions, so that writing them back loses nothing.
    enum et_Use { e_ReadOnly, e_Editable };

    // Parses the bytes; a text that is not well-formed XML raises e_BadDocument naming the
    // package and the entry.
    CT_IdmlXmlPart(const std::string& s_Package, std::string s_Entry, const std::string& s_Bytes,
                   et_Use eo_Use);
    CT_IdmlXmlPart(const CT_IdmlXmlPart&) = delete;
    CT_IdmlXmlPart& operator=(const CT_IdmlXmlPart&) = delete;

    const std::string& s_Entry() const { return s_EntryName; }
    // The document element.
    pugi::xml_node co_Root() const { return co_Tree.document_element(); }

    void v_MarkChanged() { b_Changed = true; }
    void v_ClearChanged() { b_Changed = false; }
    bool b_IsChanged() const { return b_Changed; }

    // The tree as UTF-8 bytes, exactly as parsed apart from the changes.
    std::string s_Serialize() const;

  private:
    std::string s_EntryName;
    pugi::xml_document co_Tree;
    bool b_Changed = false;
};
