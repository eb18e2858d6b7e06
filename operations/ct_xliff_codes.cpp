#include "operations/ct_xliff_codes.h"

#include <cstring>

namespace {
using et_Info = CT_IdmlStoryCodeInfo::et_Kind;
using et_Code = CT_ExchangeCode::et_Kind;

CT_ExchangeCode co_Code(et_Code eo_Kind, const char* pc_Ctype, const std::string& co_Equiv) {
    CT_ExchangeCode co_code;
    co_code.eo_Kind = eo_Kind;
    co_code.co_Ctype = pc_Ctype;
    co_code.co_Equiv = co_Equiv;
    return co_code;
}

bool b_IsFrame(const std::string& co_Element) {
    static const char* const apc_frames[] = {"TextFrame",   "Rectangle", "Oval",   "Polygon",
                                             "GraphicLine", "Group",     "Button", "EPSText"};
    for (const char* pc_frame : apc_frames) {
        if (co_Element == pc_frame) {
            return true;
        }
    }
    return false;
}

CT_ExchangeCode co_Object(const std::string& co_Element) {
    if (b_IsFrame(co_Element)) {
        return co_Code(et_Code::e_Inline, "x-anchored-frame", "anchored frame");
    }
    if (co_Element.compare(0, 4, "ACE ") == 0) {
        return co_Code(et_Code::e_Inline, "x-special-character", "special character");
    }
    if (co_Element == "HyperlinkTextDestination") {
        return co_Code(et_Code::e_Inline, "x-hyperlink-destination", "hyperlink destination");
    }
    if (co_Element == "PageReference") {
        return co_Code(et_Code::e_Inline, "x-index-marker", "index marker");
    }
    if (co_Element == "Change") {
        return co_Code(et_Code::e_Inline, "x-deleted-text", "deleted text");
    }
    return co_Code(et_Code::e_Inline, "x-object", co_Element.empty() ? "object" : co_Element);
}

CT_ExchangeCode co_Wrapper(const std::string& co_Element, bool b_Open) {
    const bool b_link = co_Element == "HyperlinkTextSource";
    const std::string co_what = b_link ? "hyperlink" : "XML element";
    return co_Code(et_Code::e_Inline,
                   b_link ? (b_Open ? "x-hyperlink-start" : "x-hyperlink-end")
                          : (b_Open ? "x-xml-element-start" : "x-xml-element-end"),
                   co_what + (b_Open ? " start" : " end"));
}

CT_ExchangeCode co_CodeOf(const CT_IdmlStoryCodeInfo& co_Info) {
    const bool b_footnote = co_Info.co_Element == "Footnote";
    switch (co_Info.eo_Kind) {
        case et_Info::e_Format:
            return co_Code(et_Code::e_Inline, "x-formatting", "formatting");
        case et_Info::e_Change:
            return co_Code(et_Code::e_Inline, "x-tracked-insertion", "tracked insertion");
        case et_Info::e_Object:
            return co_Object(co_Info.co_Element);
        case et_Info::e_WrapOpen:
        case et_Info::e_WrapClose:
            return co_Wrapper(co_Info.co_Element, co_Info.eo_Kind == et_Info::e_WrapOpen);
        case et_Info::e_NoteOpen: {
            CT_ExchangeCode co_code =
                co_Code(et_Code::e_FlowOpen, b_footnote ? "x-footnote" : "x-note",
                        b_footnote ? "footnote" : "note");
            co_code.co_Label = co_code.co_Equiv;
            return co_code;
        }
        case et_Info::e_NoteClose:
            return co_Code(et_Code::e_FlowClose, b_footnote ? "x-footnote-end" : "x-note-end",
                           b_footnote ? "footnote end" : "note end");
        case et_Info::e_TableOpen:
            return co_Code(et_Code::e_TableOpen, "x-table", "table");
        case et_Info::e_Cell: {
            CT_ExchangeCode co_code = co_Code(et_Code::e_Cell, "x-table-cell", "table cell");
            co_code.n_Row = co_Info.n_Row;
            co_code.n_Column = co_Info.n_Column;
            return co_code;
        }
        case et_Info::e_TableClose:
            return co_Code(et_Code::e_TableClose, "x-table-end", "table end");
        case et_Info::e_Note: {
            CT_ExchangeCode co_code = co_Code(et_Code::e_FlowAround, "x-note", "note");
            co_code.co_Label = "note";
            return co_code;
        }
        case et_Info::e_None:
            break;
    }
    return CT_ExchangeCode();
}
}  // namespace

CT_StoryLayout::CT_Codes CT_XliffCodes::sco_From(
    const std::vector<CT_IdmlStoryCodeInfo>& co_Infos) {
    CT_StoryLayout::CT_Codes co_codes;
    for (unsigned n = 1; n < co_Infos.size(); ++n) {
        co_codes.emplace(n, co_CodeOf(co_Infos[n]));
    }
    return co_codes;
}
