#include "map/ct_map_svg_writer.h"

#include <cstdio>

#include "map/ct_story_map.h"
#include "platform/common/ct_utf8.h"

namespace {
const char* const gpc_Font = "font-family=\"sans-serif\"";

std::string s_Number(double d_Value) {
    char ac_text[32];
    std::snprintf(ac_text, sizeof ac_text, "%.2f", d_Value);
    std::string s_text = ac_text;
    s_text.erase(s_text.find_last_not_of('0') + 1);
    if (s_text.back() == '.') {
        s_text.pop_back();
    }
    return s_text == "-0" ? "0" : s_text;
}

// The length of the well-formed sequence at the position that XML can carry, 0 when none.
std::size_t n_XmlCharacterLength(const std::string& s_Text, std::size_t n_At) {
    const std::size_t n_Length = CT_Utf8::sn_SequenceLength(s_Text, n_At);
    // U+FFFE and U+FFFF are not XML characters.
    const bool b_NonCharacter = n_Length == 3 && s_Text.compare(n_At, 2, "\xEF\xBF") == 0 &&
                                static_cast<unsigned char>(s_Text[n_At + 2]) >= 0xBE;
    return b_NonCharacter ? 0 : n_Length;
}
}  // namespace

CT_MapSvgWriter::CT_MapSvgWriter(const CT_StoryMap& co_Map) : co_Map(co_Map) {}

std::string CT_MapSvgWriter::ss_Escape(const std::string& s_Text) {
    std::string s_out;
    s_out.reserve(s_Text.size());
    for (std::size_t n = 0; n < s_Text.size();) {
        const unsigned char c_byte = static_cast<unsigned char>(s_Text[n]);
        const std::size_t n_length = n_XmlCharacterLength(s_Text, n);
        if (n_length == 0) {
            s_out += "\xEF\xBF\xBD";
            ++n;
            continue;
        }
        switch (c_byte) {
            case '&':
                s_out += "&amp;";
                break;
            case '<':
                s_out += "&lt;";
                break;
            case '>':
                s_out += "&gt;";
                break;
            case '"':
                s_out += "&quot;";
                break;
            case '\t':
                s_out += "&#9;";
                break;
            case '\n':
                s_out += "&#10;";
                break;
            case '\r':
                s_out += "&#13;";
                break;
            default:
                if (c_byte < 0x20) {
                    s_out += "\xEF\xBF\xBD";
                } else {
                    s_out.append(s_Text, n, n_length);
                }
        }
        n += n_length;
    }
    return s_out;
}

std::string CT_MapSvgWriter::s_NoteFor(const std::string& s_Key) const {
    const auto co_found = co_AtRisk.find(s_Key);
    return co_found == co_AtRisk.end() ? std::string() : co_found->second;
}

std::string CT_MapSvgWriter::s_Px(double d_Pixels) const {
    return s_Number(co_Map.d_Points(d_Pixels));
}

const CT_MapStory* CT_MapSvgWriter::pco_StoryOf(const CT_MapFrame& co_Frame) const {
    if (co_Frame.n_Number == 0) {
        return nullptr;
    }
    return &co_Map.co_GetStories()[co_Frame.n_Number - 1];
}

void CT_MapSvgWriter::v_Write(std::ostream& co_Out, bool b_Standalone) const {
    const std::string s_width = s_Number(co_Map.d_GetWidth());
    const std::string s_height = s_Number(co_Map.d_GetHeight());
    if (b_Standalone) {
        co_Out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    }
    co_Out << "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"story-map\" width=\""
           << s_Number(co_Map.d_GetWidth() * co_Map.d_GetScale()) << "\" height=\""
           << s_Number(co_Map.d_GetHeight() * co_Map.d_GetScale()) << "\" viewBox=\"0 0 " << s_width
           << " " << s_height << "\" " << gpc_Font;
    if (!s_OrderName.empty()) {
        co_Out << " data-story-order=\"" << ss_Escape(s_OrderName) << "\"";
    }
    co_Out << ">\n";
    co_Out << "<defs><marker id=\"thread-arrow\" viewBox=\"0 0 10 10\" refX=\"9\" refY=\"5\" "
              "markerWidth=\"6\" markerHeight=\"6\" orient=\"auto\"><path d=\"M0,0 L10,5 L0,10 "
              "z\" fill=\"#1565c0\"/></marker></defs>\n";
    co_Out << "<rect width=\"" << s_width << "\" height=\"" << s_height
           << "\" fill=\"#ffffff\"/>\n";
    const std::string s_label = s_Px(11);
    for (const CT_MapRow& co_row : co_Map.co_GetRows()) {
        co_Out << "<g class=\"spread\" transform=\"translate(" << s_Number(co_row.d_X) << " "
               << s_Number(co_row.d_Y) << ")\">\n";
        std::string s_title = co_row.s_Heading;
        if (!co_row.s_Caption.empty()) {
            s_title += (s_title.empty() ? "" : ": ") + co_row.s_Caption;
        }
        if (!s_title.empty()) {
            co_Out << "<text class=\"heading\" x=\"" << s_Number(co_row.co_Extent.left) << "\" y=\""
                   << s_Number(co_row.co_Extent.top - co_Map.d_Points(22)) << "\" font-size=\""
                   << s_Px(14) << "\" font-weight=\"bold\" fill=\"#333\">" << ss_Escape(s_title)
                   << "</text>\n";
        }
        for (const CT_MapPage& co_page : co_row.co_Pages) {
            const CT_IdmlRect& r = co_page.co_Rect;
            co_Out << "<rect class=\"page\" x=\"" << s_Number(r.left) << "\" y=\""
                   << s_Number(r.top) << "\" width=\"" << s_Number(r.right - r.left)
                   << "\" height=\"" << s_Number(r.bottom - r.top)
                   << "\" fill=\"#f7f7f7\" stroke=\"#757575\" stroke-width=\"" << s_Px(1)
                   << "\"/>\n";
            if (!co_page.s_Label.empty()) {
                co_Out << "<text class=\"page-label\" x=\"" << s_Number(r.left) << "\" y=\""
                       << s_Number(r.top - co_Map.d_Points(5)) << "\" font-size=\"" << s_label
                       << "\" fill=\"#555\">" << ss_Escape(co_page.s_Label) << "</text>\n";
            }
        }
        for (const CT_MapFrame& co_frame : co_row.co_Frames) {
            v_WriteFrame(co_Out, co_frame);
        }
        co_Out << "</g>\n";
    }
    v_WriteLines(co_Out);
    co_Out << "</svg>\n";
}

void CT_MapSvgWriter::v_WriteFrame(std::ostream& co_Out, const CT_MapFrame& co_Frame) const {
    const CT_MapStory* pco_story = pco_StoryOf(co_Frame);
    const auto co_risk = co_AtRisk.find(co_Frame.s_Key);
    const bool b_risk = pco_story != nullptr && co_risk != co_AtRisk.end();
    std::string s_class = "frame";
    const char* pc_fill = "#e3f2fd";
    const char* pc_stroke = "#1565c0";
    if (pco_story == nullptr) {
        s_class += " left-out";
        pc_fill = "#e0e0e0";
        pc_stroke = "#9e9e9e";
    } else if (b_risk) {
        s_class += " at-risk";
        pc_fill = "#ffcdd2";
        pc_stroke = "#c62828";
    }
    if (co_Frame.b_OnPasteBoard) {
        s_class += " pasteboard";
    }
    if (co_Frame.b_Anchored) {
        s_class += " anchored";
    }
    std::string s_tip =
        pco_story != nullptr ? pco_story->s_Label : "Left out: " + co_Frame.s_LeftOut;
    s_tip += " (" + co_Frame.s_Key + ")";
    if (co_Frame.b_OnPasteBoard) {
        s_tip += ", on the pasteboard";
    }
    if (b_risk) {
        s_tip += ": " + co_risk->second;
    }
    co_Out << "<g class=\"" << s_class << "\" data-key=\"" << ss_Escape(co_Frame.s_Key)
           << "\" data-order=\"" << co_Frame.n_Number << "\" data-thread=\"" << co_Frame.n_InThread
           << "\" data-label=\"" << ss_Escape(pco_story != nullptr ? pco_story->s_Label : "")
           << "\" data-preview=\"" << ss_Escape(pco_story != nullptr ? pco_story->s_Preview : "")
           << "\"";
    if (pco_story == nullptr) {
        co_Out << " data-left-out=\"" << ss_Escape(co_Frame.s_LeftOut) << "\"";
    }
    if (b_risk) {
        co_Out << " data-risk=\"" << ss_Escape(co_risk->second) << "\"";
    }
    const CT_IdmlRect& r = co_Frame.co_Rect;
    co_Out << "><title>" << ss_Escape(s_tip) << "</title><rect x=\"" << s_Number(r.left)
           << "\" y=\"" << s_Number(r.top) << "\" width=\"" << s_Number(r.right - r.left)
           << "\" height=\"" << s_Number(r.bottom - r.top) << "\" fill=\"" << pc_fill
           << "\" fill-opacity=\"0.7\" stroke=\"" << pc_stroke << "\" stroke-width=\"" << s_Px(1.5)
           << "\"" << (co_Frame.b_OnPasteBoard ? " stroke-dasharray=\"" + s_Px(5) + "\"" : "")
           << "/>";
    const std::string s_number =
        pco_story == nullptr ? "\xE2\x80\x93" : std::to_string(co_Frame.n_Number);
    co_Out << "<circle cx=\"" << s_Number(r.left) << "\" cy=\"" << s_Number(r.top) << "\" r=\""
           << s_Px(co_Frame.n_InThread == 1 ? 9 : 7) << "\" fill=\"" << pc_stroke
           << "\"/><text x=\"" << s_Number(r.left) << "\" y=\"" << s_Number(r.top)
           << "\" dy=\"0.35em\" text-anchor=\"middle\" font-size=\""
           << s_Px(co_Frame.n_InThread == 1 ? 10 : 8) << "\" font-weight=\"bold\" fill=\"#fff\">"
           << s_number << "</text>";
    if (co_Frame.b_OnPasteBoard && !co_Frame.b_Anchored) {
        co_Out << "<text x=\"" << s_Number(r.left + co_Map.d_Points(12)) << "\" y=\""
               << s_Number(r.top - co_Map.d_Points(4)) << "\" font-size=\"" << s_Px(10)
               << "\" fill=\"#555\">" << ss_Escape(co_Map.s_GetPasteBoardLabel()) << "</text>";
    }
    co_Out << "</g>\n";
}

void CT_MapSvgWriter::v_WriteLines(std::ostream& co_Out) const {
    co_Out << "<g class=\"threads\" stroke=\"#1565c0\" stroke-width=\"" << s_Px(1.5)
           << "\" fill=\"none\" marker-end=\"url(#thread-arrow)\" pointer-events=\"none\">\n";
    for (const std::vector<CT_MapPoint>& co_thread : co_Map.co_GetThreads()) {
        for (std::size_t n = 0; n + 1 < co_thread.size(); n += 2) {
            co_Out << "<line x1=\"" << s_Number(co_thread[n].d_X) << "\" y1=\""
                   << s_Number(co_thread[n].d_Y) << "\" x2=\"" << s_Number(co_thread[n + 1].d_X)
                   << "\" y2=\"" << s_Number(co_thread[n + 1].d_Y) << "\"/>\n";
        }
    }
    co_Out << "</g>\n";
    if (co_Map.co_GetReadingPath().size() < 2) {
        return;
    }
    co_Out << "<polyline class=\"reading-path\" fill=\"none\" stroke=\"#e65100\" stroke-width=\""
           << s_Px(1) << "\" stroke-opacity=\"0.8\" pointer-events=\"none\" points=\"";
    const char* pc_separator = "";
    for (const CT_MapPoint& co_point : co_Map.co_GetReadingPath()) {
        co_Out << pc_separator << s_Number(co_point.d_X) << "," << s_Number(co_point.d_Y);
        pc_separator = " ";
    }
    co_Out << "\"/>\n";
}
