#include "platform/host/idml/ct_idml_xml_part.h"

#include <utility>

#include "platform/common/ct_errors.h"
#include "platform/common/ct_xml_depth.h"
#include "platform/host/idml/ct_idml_deflater.h"

namespace {

class CT_StringWriter : public pugi::xml_writer {
  public:
    explicit CT_StringWriter(std::string& s_Out) : s_Target(s_Out) {}
    void write(const void* p_Data, std::size_t n_Size) override {
        s_Target.append(static_cast<const char*>(p_Data), n_Size);
    }

  private:
    std::string& s_Target;
};

}  // namespace

unsigned CT_IdmlXmlPart::sn_ParseFlags(et_Use eo_Use) {
    if (eo_Use == e_ReadOnly) {
        return pugi::parse_default;
    }
    return pugi::parse_default | pugi::parse_declaration | pugi::parse_pi | pugi::parse_comments |
           pugi::parse_ws_pcdata;
}

CT_IdmlXmlPart::CT_IdmlXmlPart(const std::string& s_Package, std::string s_Entry,
                               CT_IdmlPartBytes co_Bytes, et_Use eo_Use, const CT_Visit& co_Visit)
    : s_EntryName(std::move(s_Entry)), eo_Use(eo_Use) {
    v_Parse(s_Package, std::move(co_Bytes), co_Visit);
}

CT_IdmlXmlPart::CT_IdmlXmlPart(std::string s_Entry, std::unique_ptr<CT_IdmlPackedSource> pco_Packed,
                               et_Use eo_Use)
    : s_EntryName(std::move(s_Entry)),
      eo_Use(eo_Use),
      pco_Packed(std::move(pco_Packed)),
      b_Changed(true) {}

namespace {

[[noreturn]] void v_RefuseMalformed(const std::string& s_Package, const std::string& s_Entry,
                                    const std::string& s_Why, std::ptrdiff_t i_At) {
    CT_Errors::v_ThrowError(e_BadDocument, CT_String(("\"" + s_Package + "\": entry \"" + s_Entry +
                                                      "\" is not well-formed XML (" + s_Why +
                                                      " at byte " + std::to_string(i_At) + ")")
                                                         .c_str()));
}

// A part that did not parse, or parsed to nothing but a declaration or comments, which a
// part read into a shared tree and one parsed alone report alike.
[[noreturn]] void v_RefuseUnparsed(const std::string& s_Package, const std::string& s_Entry,
                                   const pugi::xml_parse_result& co_Result) {
    const bool b_empty = co_Result || co_Result.status == pugi::status_no_document_element;
    v_RefuseMalformed(s_Package, s_Entry, b_empty ? "has no root element" : co_Result.description(),
                      b_empty ? 0 : co_Result.offset);
}

// The byte, as for a part that is not well-formed: parsing in place rewrote the text before
// it, so its line can no longer be counted.
[[noreturn]] void v_RefuseTooDeep(const std::string& s_Package, const std::string& s_Entry,
                                  std::ptrdiff_t i_At) {
    CT_Errors::v_ThrowError(
        e_BadDocument,
        CT_String(("\"" + s_Package + "\": entry \"" + s_Entry + "\" nests elements more than " +
                   std::to_string(CT_XmlDepth::kn_Limit) + " deep (at byte " +
                   std::to_string(i_At) + ")")
                      .c_str()));
}

}  // namespace

// Parsing in place spares a copy of every part and the gaps its freeing would leave between
// the trees, which make every later allocation slower. The tree owns the bytes whether they
// parse or not.
void CT_IdmlXmlPart::v_Parse(const std::string& s_Package, CT_IdmlPartBytes co_Bytes,
                             const CT_Visit& co_Visit) const {
    const std::size_t n_size = co_Bytes.n_Size();
    pugi::xml_parse_result co_Result = co_Tree.load_buffer_inplace_own(
        co_Bytes.pc_Release(), n_size, sn_ParseFlags(eo_Use), pugi::encoding_auto);
    if (!co_Result || !co_Tree.document_element()) {
        v_RefuseUnparsed(s_Package, s_EntryName, co_Result);
    }
    const pugi::xml_node co_root = co_Tree.document_element();
    if (const pugi::xml_node co_deep = co_Visit
                                           ? CT_XmlDepth::sco_TooDeepVisiting(co_root, co_Visit)
                                           : CT_XmlDepth::sco_TooDeep(co_root)) {
        const std::ptrdiff_t i_at = co_deep.offset_debug();
        co_Tree.reset();
        v_RefuseTooDeep(s_Package, s_EntryName, i_at);
    }
    b_Parsed = true;
}

pugi::xml_node CT_IdmlXmlPart::sco_ParseInto(pugi::xml_node co_Parent, const std::string& s_Package,
                                             const std::string& s_Entry,
                                             std::string_view co_Bytes) {
    const pugi::xml_node co_before = co_Parent.last_child();
    const pugi::xml_parse_result co_result = co_Parent.append_buffer(
        co_Bytes.data(), co_Bytes.size(), sn_ParseFlags(e_ReadOnly), pugi::encoding_auto);
    pugi::xml_node co_root = co_before ? co_before.next_sibling() : co_Parent.first_child();
    while (co_root && co_root.type() != pugi::node_element) {
        co_root = co_root.next_sibling();
    }
    if (!co_result || !co_root) {
        v_RefuseUnparsed(s_Package, s_Entry, co_result);
    }
    if (const pugi::xml_node co_deep = CT_XmlDepth::sco_TooDeep(co_root)) {
        v_RefuseTooDeep(s_Package, s_Entry, co_deep.offset_debug());
    }
    return co_root;
}

pugi::xml_node CT_IdmlXmlPart::co_Root() const {
    if (!b_Parsed) {
        // The bytes were written from a tree, so they parse; the tree is the content again.
        v_Parse("", pco_Packed->co_Unpack());
        pco_Packed.reset();
    }
    return co_Tree.document_element();
}

void CT_IdmlXmlPart::v_PutAway(CT_IdmlDeflater& co_Deflater) {
    if (!b_Parsed) {
        return;
    }
    const std::string s_Bytes = s_Serialize();
    pco_Packed = std::make_unique<CT_IdmlPackedSource>(s_Bytes, co_Deflater.s_Pack(s_Bytes));
    co_Tree.reset();
    b_Parsed = false;
}

std::string CT_IdmlXmlPart::s_Serialize() const {
    co_Root();
    return ss_Serialize(co_Tree);
}

// The declaration, when there is one, is a node of the tree and written as it was read.
std::string CT_IdmlXmlPart::ss_Serialize(const pugi::xml_node& co_Document) {
    std::string s_Out;
    CT_StringWriter co_Writer(s_Out);
    co_Document.print(co_Writer, "", pugi::format_raw | pugi::format_no_declaration,
                      pugi::encoding_utf8);
    return s_Out;
}
