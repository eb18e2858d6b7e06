// One XML entry of an IDML package, parsed: the design map, a spread, the preferences or a
// story. It owns its parsed tree and remembers whether the tree was changed since it was read.
// A changed tree may be put away packed, as the package will store it, and is parsed again
// when it is next asked for. pugixml never loads a DTD or an external entity, so parsing
// reads nothing but these bytes.
#pragma once

#include <pugixml.hpp>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/host/idml/ct_idml_packed_source.h"
#include "platform/host/idml/ct_idml_part_bytes.h"

class CT_IdmlDeflater;

class CT_IdmlXmlPart {
  public:
    // Read-only parts drop the whitespace between elements; editable ones keep every character,
    // the declaration and processing instructions, so that writing them back loses nothing.
    enum et_Use { e_ReadOnly, e_Editable };
    // Shown each element and its depth (the document element at 1) as the depth is checked.
    using CT_Visit = std::function<void(const pugi::xml_node&, std::size_t)>;

    // Parses the bytes; a text that is not well-formed XML, or that nests elements deeper than
    // CT_XmlDepth::kn_Limit, raises e_BadDocument naming the package, the entry and the byte.
    // The tree is parsed in place: it takes the bytes over and points into them.
    // A reader that must see every element is shown them by co_Visit, in document order, in
    // the walk that measures the depth; none is shown beyond a depth the part is refused for.
    CT_IdmlXmlPart(const std::string& s_Package, std::string s_Entry, CT_IdmlPartBytes co_Bytes,
                   et_Use eo_Use, const CT_Visit& co_Visit = nullptr);
    // A changed part already put away: the bytes packed are its tree written out.
    CT_IdmlXmlPart(std::string s_Entry, std::unique_ptr<CT_IdmlPackedSource> pco_Packed,
                   et_Use eo_Use);
    CT_IdmlXmlPart(const CT_IdmlXmlPart&) = delete;
    CT_IdmlXmlPart& operator=(const CT_IdmlXmlPart&) = delete;

    // Parses the bytes as a read-only part's into co_Parent's tree, after its last child, and
    // returns their document element: parts that are only read share one tree's memory that way.
    // Refuses what the constructor refuses, in the same words; the tree keeps a copy of the bytes.
    static pugi::xml_node sco_ParseInto(pugi::xml_node co_Parent, const std::string& s_Package,
                                        const std::string& s_Entry, std::string_view co_Bytes);

    const std::string& s_Entry() const { return s_EntryName; }
    // The document element; a tree put away is parsed again first.
    pugi::xml_node co_Root() const;

    void v_MarkChanged() { b_Changed = true; }
    void v_ClearChanged() { b_Changed = false; }
    bool b_IsChanged() const { return b_Changed; }

    // The tree as UTF-8 bytes, exactly as parsed apart from the changes.
    std::string s_Serialize() const;
    // The same of a tree parsed as an editable part's is, given its document node.
    static std::string ss_Serialize(const pugi::xml_node& co_Document);
    // The parser's options for a part of this use: one that may change keeps all it holds
    // (declaration, processing instructions, comments, white space), so that it is written
    // again as it was read.
    static unsigned sn_ParseFlags(et_Use eo_Use);

    // Writes the tree out, packs it and lets the tree go. A tree that was changed holds its
    // old nodes as well as the new ones until it is freed, so a document changed story by
    // story is kept small this way; the packed bytes are also what a save stores.
    void v_PutAway(CT_IdmlDeflater& co_Deflater);
    // The packed bytes of a tree put away, or null while the tree is parsed.
    CT_IdmlPackedSource* pco_GetPacked() const { return b_Parsed ? nullptr : pco_Packed.get(); }

  private:
    void v_Parse(const std::string& s_Package, CT_IdmlPartBytes co_Bytes,
                 const CT_Visit& co_Visit = nullptr) const;

    std::string s_EntryName;
    et_Use eo_Use;
    // The tree is parsed on demand from the packed bytes: asking for it does not change the
    // part's content, so a const part may do it.
    mutable pugi::xml_document co_Tree;
    mutable bool b_Parsed = false;
    mutable std::unique_ptr<CT_IdmlPackedSource> pco_Packed;
    bool b_Changed = false;
};
