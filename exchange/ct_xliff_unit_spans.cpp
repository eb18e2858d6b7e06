#include "exchange/ct_xliff_unit_spans.h"

#include <algorithm>
#include <iterator>

#include "platform/common/ct_xml_depth.h"

namespace {
constexpr std::size_t kn_None = std::string_view::npos;
constexpr unsigned kn_Parse = pugi::parse_default | pugi::parse_ws_pcdata;

bool b_At(std::string_view co_Bytes, std::size_t n_At, std::string_view co_Text) {
    return co_Bytes.compare(n_At, co_Text.size(), co_Text) == 0;
}

// Past the end of what starts at n_At and ends with co_End, or kn_None.
std::size_t n_PastEnd(std::string_view co_Bytes, std::size_t n_From, std::string_view co_End) {
    const std::size_t n_end = co_Bytes.find(co_End, n_From);
    return n_end == kn_None ? kn_None : n_end + co_End.size();
}

// Past the ">" of the tag at n_At, over quoted attribute values, or kn_None.
std::size_t n_TagEnd(std::string_view co_Bytes, std::size_t n_At) {
    for (std::size_t n = n_At + 1; n < co_Bytes.size(); ++n) {
        const char c = co_Bytes[n];
        if (c == '"' || c == '\'') {
            n = co_Bytes.find(c, n + 1);
            if (n == kn_None) {
                return kn_None;
            }
        } else if (c == '>') {
            return n + 1;
        }
    }
    return kn_None;
}

// Past the document type at n_At: its internal subset's brackets, quoted literals (an entity's
// value may hold "]>") and comments are followed. kn_None when it never ends.
std::size_t n_DoctypeEnd(std::string_view co_Bytes, std::size_t n_At) {
    long i_brackets = 0;
    for (std::size_t n = n_At + 2; n < co_Bytes.size(); ++n) {
        const char c = co_Bytes[n];
        if (c == '"' || c == '\'') {
            n = co_Bytes.find(c, n + 1);
        } else if (b_At(co_Bytes, n, "<!--")) {
            n = co_Bytes.find("-->", n + 4);
            n = n == kn_None ? kn_None : n + 2;
        } else if (c == '[') {
            ++i_brackets;
        } else if (c == ']') {
            --i_brackets;
        } else if (c == '>' && i_brackets <= 0) {
            return n + 1;
        }
        if (n == kn_None) {
            return kn_None;
        }
    }
    return kn_None;
}

// The name of the start tag [n_At, n_End), prefix and all.
std::string_view co_TagName(std::string_view co_Bytes, std::size_t n_At, std::size_t n_End) {
    const std::string_view co_tag = co_Bytes.substr(n_At + 1, n_End - n_At - 1);
    return co_tag.substr(0, co_tag.find_first_of(" \t\r\n/>"));
}

// Whether the start tag [n_At, n_End) opens a unit: its name without a prefix is "trans-unit",
// as the reader tells elements apart.
bool b_OpensUnit(std::string_view co_Bytes, std::size_t n_At, std::size_t n_End) {
    std::string_view co_name = co_TagName(co_Bytes, n_At, n_End);
    const std::size_t n_colon = co_name.rfind(':');
    if (n_colon != kn_None) {
        co_name.remove_prefix(n_colon + 1);
    }
    return co_name == "trans-unit";
}
}  // namespace

CT_XliffUnitSpans::CT_XliffUnitSpans(std::string_view co_Bytes, et_Outline eo_Outline,
                                     const CT_Passed& f_Passed)
    : b_Bare(eo_Outline == e_WithoutUnits), b_NameOnly(eo_Outline == e_WithUnitNames) {
    b_Followed = b_Follow(co_Bytes, f_Passed);
    if (!b_Followed) {
        co_Outline.clear();
        co_Stretches.clear();
        co_Units.clear();
    }
}

bool CT_XliffUnitSpans::b_Follow(std::string_view co_Bytes, const CT_Passed& f_Passed) {
    std::size_t n_copied = 0;  // the file up to here is in the outline
    std::size_t n_told = 0;    // and up to here f_Passed was told of
    auto v_Copy = [&](std::size_t n_To) {
        co_Stretches.push_back({co_Outline.size(), n_copied});
        co_Outline.append(co_Bytes.substr(n_copied, n_To - n_copied));
    };
    std::size_t n_depth = 0;  // elements open in the unit being followed, itself included
    std::size_t n_unit = 0;   // where that unit starts
    for (std::size_t n_at = co_Bytes.find('<'); n_at != kn_None; n_at = co_Bytes.find('<', n_at)) {
        std::size_t n_end = kn_None;
        if (b_At(co_Bytes, n_at, "<!--")) {
            n_end = n_PastEnd(co_Bytes, n_at + 4, "-->");
        } else if (b_At(co_Bytes, n_at, "<![CDATA[")) {
            n_end = n_PastEnd(co_Bytes, n_at + 9, "]]>");
        } else if (b_At(co_Bytes, n_at, "<?")) {
            n_end = n_PastEnd(co_Bytes, n_at + 2, "?>");
        } else if (b_At(co_Bytes, n_at, "<!")) {
            n_end = n_DoctypeEnd(co_Bytes, n_at);
        } else if ((n_end = n_TagEnd(co_Bytes, n_at)) != kn_None) {
            const bool b_close = co_Bytes[n_at + 1] == '/';
            const bool b_empty = !b_close && co_Bytes[n_end - 2] == '/';
            if (n_depth > 0) {
                n_depth = b_close ? n_depth - 1 : b_empty ? n_depth : n_depth + 1;
                if (n_depth == 0) {
                    co_Units.push_back({n_unit, n_end});
                    n_copied = n_end;
                    if (f_Passed && n_copied - n_told >= (std::size_t{4} << 20)) {
                        f_Passed(n_told, n_copied);
                        n_told = n_copied;
                    }
                }
            } else if (!b_close && b_OpensUnit(co_Bytes, n_at, n_end)) {
                if (b_Bare) {
                    v_Copy(n_at);
                    n_copied = b_empty ? n_end : n_at;  // an empty unit goes at once
                }
                if (b_empty) {
                    co_Units.push_back({n_at, n_end});
                } else {
                    n_depth = 1;
                    n_unit = n_at;
                    if (!b_Bare) {
                        v_Copy(b_NameOnly ? n_at + 1 + co_TagName(co_Bytes, n_at, n_end).size()
                                          : n_end - 1);
                        co_Outline += "/>";
                    }
                }
            }
        }
        if (n_end == kn_None) {
            return false;
        }
        n_at = n_end;
    }
    if (n_depth > 0) {
        return false;
    }
    v_Copy(co_Bytes.size());
    return true;
}

std::size_t CT_XliffUnitSpans::n_FileOffset(std::size_t n_OutlineOffset) const {
    const auto co_after =
        std::upper_bound(co_Stretches.begin(), co_Stretches.end(), n_OutlineOffset,
                         [](std::size_t n, const CT_Stretch& co_S) { return n < co_S.n_Outline; });
    if (co_after == co_Stretches.begin()) {
        return n_OutlineOffset;
    }
    const CT_Stretch& co_stretch = *std::prev(co_after);
    return co_stretch.n_File + (n_OutlineOffset - co_stretch.n_Outline);
}

const CT_XliffUnitSpans::CT_Span* CT_XliffUnitSpans::pco_UnitAt(std::size_t n_FileOffset) const {
    const auto co_after =
        std::upper_bound(co_Units.begin(), co_Units.end(), n_FileOffset,
                         [](std::size_t n, const CT_Span& co_S) { return n < co_S.n_Start; });
    if (co_after == co_Units.begin() || std::prev(co_after)->n_End <= n_FileOffset) {
        return nullptr;
    }
    return &*std::prev(co_after);
}

bool CT_XliffUnitSpans::b_ParseOutline(pugi::xml_document& co_Tree) const {
    if (!b_Followed) {
        return false;
    }
    const pugi::xml_parse_result co_result =
        co_Tree.load_buffer(co_Outline.data(), co_Outline.size(), kn_Parse);
    return co_result && co_result.encoding == pugi::encoding_utf8 &&
           !CT_XmlDepth::sco_TooDeep(co_Tree.document_element());
}

bool CT_XliffUnitSpans::sb_ParseUnit(std::string_view co_Bytes, const CT_Span& co_Span,
                                     std::size_t n_Limit, pugi::xml_document& co_Tree) {
    return co_Tree.load_buffer(co_Bytes.data() + co_Span.n_Start, co_Span.n_End - co_Span.n_Start,
                               kn_Parse, pugi::encoding_utf8) &&
           !CT_XmlDepth::sco_TooDeep(co_Tree.document_element(), n_Limit);
}
