#include "operations/ct_xliff_codes.h"

#include <cstring>
#include <string>
#include <utility>

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

// The special characters of the samples by number; others say only that they are one.
std::string s_SpecialCharacter(const std::string& co_Number) {
    static const std::pair<const char*, const char*> aco_names[] = {
        {"4", "footnote number"}, {"7", "indent to here"},  {"8", "right indent tab"},
        {"18", "page number"},    {"19", "section marker"},
    };
    for (const auto& co_name : aco_names) {
        if (co_Number == co_name.first) {
            return co_name.second;
        }
    }
    return "special character " + co_Number;
}

// "TextFrame" is "text frame": what a translator reads of an anchored object's element.
std::string s_Words(const std::string& co_Element) {
    std::string s_words;
    for (char c : co_Element) {
        if (c >= 'A' && c <= 'Z') {
            s_words += s_words.empty() ? "" : " ";
            c = static_cast<char>(c - 'A' + 'a');
        }
        s_words += c;
    }
    return s_words;
}

CT_ExchangeCode co_Object(const std::string& co_Element) {
    if (b_IsFrame(co_Element)) {
        return co_Code(et_Code::e_Inline, co_Element == "Rectangle" ? "image" : "x-anchored-frame",
                       "anchored " + s_Words(co_Element));
    }
    if (co_Element.compare(0, 4, "ACE ") == 0) {
        const std::string co_name = s_SpecialCharacter(co_Element.substr(4));
        return co_Code(et_Code::e_Inline,
                       co_name == "page number" ? "x-page-number" : "x-special-character", co_name);
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

// A hyperlink or XML element around text: its open and close go out as one pair, which says
// what it is (an XML element by its tag).
CT_ExchangeCode co_Wrapper(const CT_IdmlStoryCodeInfo& co_Info) {
    const bool b_open = co_Info.eo_Kind == et_Info::e_WrapOpen;
    const bool b_link = co_Info.co_Element == "HyperlinkTextSource";
    const std::string co_what =
        b_link ? "hyperlink"
               : "XML element" + (co_Info.co_Name.empty() ? "" : " " + co_Info.co_Name);
    CT_ExchangeCode co_code = co_Code(et_Code::e_Inline,
                                      b_link ? (b_open ? "link" : "x-hyperlink-end")
                                             : (b_open ? "x-xml-element" : "x-xml-element-end"),
                                      b_open ? co_what : co_what + " end");
    co_code.eo_Pair = b_open ? CT_ExchangeCode::et_Pair::e_Open : CT_ExchangeCode::et_Pair::e_Close;
    co_code.n_Partner = co_Info.n_Partner;
    return co_code;
}

// A formatting run says the kind XLIFF has a name for when it is one (bold, italic,
// underlined), and its character style's name or font style for a translator to read.
CT_ExchangeCode co_Format(const CT_IdmlStoryCodeInfo& co_Info) {
    const std::string& co_style = co_Info.co_FontStyle;
    const bool b_bold = co_style.find("Bold") != std::string::npos;
    const bool b_italic = co_style.find("Italic") != std::string::npos ||
                          co_style.find("Oblique") != std::string::npos;
    const char* pc_ctype = b_bold && !b_italic        ? "bold"
                           : b_italic && !b_bold      ? "italic"
                           : co_Info.b_Underline      ? "underlined"
                           : !co_Info.co_Name.empty() ? "x-character-style"
                                                      : "x-formatting";
    CT_ExchangeCode co_code = co_Code(et_Code::e_Inline, pc_ctype,
                                      !co_Info.co_Name.empty()                     ? co_Info.co_Name
                                      : !co_style.empty() && co_style != "Regular" ? co_style
                                                                                   : "formatting");
    co_code.co_Look = co_Info.co_Look;
    co_code.b_LooksAsParagraph = co_Info.b_LooksAsParagraph;
    return co_code;
}

CT_ExchangeCode co_CodeOf(const CT_IdmlStoryCodeInfo& co_Info) {
    const bool b_footnote = co_Info.co_Element == "Footnote";
    switch (co_Info.eo_Kind) {
        case et_Info::e_Format:
            return co_Format(co_Info);
        case et_Info::e_Change:
            return co_Code(et_Code::e_Inline, "x-tracked-insertion", "tracked insertion");
        case et_Info::e_Object:
            return co_Object(co_Info.co_Element);
        case et_Info::e_WrapOpen:
        case et_Info::e_WrapClose:
            return co_Wrapper(co_Info);
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
