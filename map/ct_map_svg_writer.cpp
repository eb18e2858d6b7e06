#include "map/ct_map_svg_writer.h"

#include <algorithm>
#include <cstdio>
#include <vector>

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

CT_MapSvgWriter::CT_MapSvgWriter(const CT_StoryMap& co_Map) : co_Map(co_Map), co_Labels(co_Map) {}

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

void CT_MapSvgWriter::v_SetFit(const CT_FitReport& co_Report, bool b_Colour) {
    co_Fits.clear();
    for (const CT_StoryFit& co_story : co_Report.co_GetStories()) {
        co_Fits[co_story.s_Key] = {co_story.eo_Verdict, co_story.b_Prints, co_story.b_AtRisk,
                                   co_Report.s_Sentence(co_story)};
    }
    b_Checked = b_Colour;
    d_MaxGrowth = co_Report.d_GetMaxGrowth();
}

const CT_MapSvgWriter::CT_Fit* CT_MapSvgWriter::pco_FitOf(const std::string& s_Key) const {
    const auto co_found = co_Fits.find(s_Key);
    return co_found == co_Fits.end() ? nullptr : &co_found->second;
}

const char* CT_MapSvgWriter::spc_VerdictWord(const CT_Fit& co_Fit) {
    if (!co_Fit.b_Prints) {
        return "does not print";
    }
    if (co_Fit.eo_Verdict == et_FitVerdict::e_Unmeasured) {
        return co_Fit.b_AtRisk ? "may overflow" : "not measured";
    }
    return CT_FitReport::spc_Verdict(co_Fit.eo_Verdict);
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
    const double d_width = std::max(co_Map.d_GetWidth(), co_Map.d_Points(sd_LegendWidth));
    const double d_height = co_Map.d_GetHeight() + co_Map.d_Points(d_LegendHeight());
    const std::string s_width = s_Number(d_width);
    const std::string s_height = s_Number(d_height);
    if (b_Standalone) {
        co_Out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    }
    co_Out << "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"story-map\" width=\""
           << s_Number(d_width * co_Map.d_GetScale()) << "\" height=\""
           << s_Number(d_height * co_Map.d_GetScale()) << "\" viewBox=\"0 0 " << s_width << " "
           << s_height << "\" " << gpc_Font;
    if (!s_OrderName.empty()) {
        co_Out << " data-story-order=\"" << ss_Escape(s_OrderName) << "\"";
    }
    co_Out << ">\n";
    co_Out << "<defs><marker id=\"thread-arrow\" viewBox=\"0 0 10 10\" refX=\"9\" refY=\"5\" "
              "markerWidth=\"6\" markerHeight=\"6\" orient=\"auto\"><path d=\"M0,0 L10,5 L0,10 "
              "z\" fill=\"#1565c0\"/></marker></defs>\n";
    co_Out << "<rect width=\"" << s_width << "\" height=\"" << s_height
           << "\" fill=\"#ffffff\"/>\n";
    const std::string s_label = s_Px(CT_MapLabelLayout::sd_PagePixels);
    for (const CT_MapRow& co_row : co_Map.co_GetRows()) {
        co_Out << "<g class=\"spread\" transform=\"translate(" << s_Number(co_row.d_X) << " "
               << s_Number(co_row.d_Y) << ")\">\n";
        const std::string s_title = CT_MapLabelLayout::ss_TitleOf(co_row);
        if (!s_title.empty()) {
            co_Out << "<text class=\"heading\" x=\"" << s_Number(co_row.co_Extent.left) << "\" y=\""
                   << s_Number(co_row.co_Extent.top - co_Map.d_Points(22)) << "\" font-size=\""
                   << s_Px(CT_MapLabelLayout::sd_HeadingPixels)
                   << "\" font-weight=\"bold\" fill=\"#333\">" << ss_Escape(s_title) << "</text>\n";
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
            if (!co_frame.b_Anchored) {
                v_WriteFrame(co_Out, co_frame);
            }
        }
        co_Out << "</g>\n";
    }
    v_WriteLines(co_Out);
    v_WriteLabels(co_Out);
    v_WriteLegend(co_Out);
    co_Out << "</svg>\n";
}

CT_MapSvgWriter::CT_Look CT_MapSvgWriter::co_LookOf(const CT_MapFrame& co_Frame) const {
    CT_Look co_look;
    const CT_MapStory* pco_story = pco_StoryOf(co_Frame);
    co_look.pco_Story = pco_story;
    co_look.pco_Fit = pco_story == nullptr ? nullptr : pco_FitOf(co_Frame.s_Key);
    const CT_Fit* pco_fit = b_Checked ? co_look.pco_Fit : nullptr;
    co_look.s_Class = "frame";
    if (pco_story == nullptr) {
        co_look.s_Class += " left-out";
        co_look.pc_Fill = "#e0e0e0";
        co_look.pc_Stroke = "#9e9e9e";
    } else if (pco_fit != nullptr && pco_fit->b_AtRisk) {
        co_look.s_Class += " at-risk";
        co_look.pc_Fill = "#ffcdd2";
        co_look.pc_Stroke = "#c62828";
    } else if (pco_fit != nullptr && pco_fit->b_Prints &&
               pco_fit->eo_Verdict == et_FitVerdict::e_Tight) {
        co_look.s_Class += " tight";
        co_look.pc_Fill = "#fff59d";
        co_look.pc_Stroke = "#f9a825";
        co_look.pc_Number = "#212121";
    } else if (pco_fit != nullptr && pco_fit->b_Prints &&
               pco_fit->eo_Verdict == et_FitVerdict::e_Fits) {
        co_look.s_Class += " fits";
        co_look.pc_Fill = "#c8e6c9";
        co_look.pc_Stroke = "#2e7d32";
    }
    if (co_Frame.b_OnPasteBoard) {
        co_look.s_Class += " pasteboard";
    }
    if (co_Frame.b_Anchored) {
        co_look.s_Class += " anchored";
    }
    return co_look;
}

// The frame's group opens with its data and tooltip; the caller draws its shape and closes it.
void CT_MapSvgWriter::v_OpenFrame(std::ostream& co_Out, const CT_MapFrame& co_Frame,
                                  const CT_Look& co_Look) const {
    const CT_MapStory* pco_story = co_Look.pco_Story;
    std::string s_tip =
        pco_story != nullptr ? pco_story->s_Label : "Left out: " + co_Frame.s_LeftOut;
    s_tip += " (" + co_Frame.s_Key + ")";
    if (!co_Frame.s_Place.empty()) {
        s_tip += ", " + co_Frame.s_Place;
    }
    if (co_Look.pco_Fit != nullptr) {
        s_tip += "\n" + co_Look.pco_Fit->s_Sentence;
    }
    co_Out << "<g class=\"" << co_Look.s_Class << "\" data-key=\"" << ss_Escape(co_Frame.s_Key)
           << "\" data-order=\"" << co_Frame.n_Number << "\" data-thread=\"" << co_Frame.n_InThread
           << "\" data-label=\"" << ss_Escape(pco_story != nullptr ? pco_story->s_Label : "")
           << "\" data-preview=\"" << ss_Escape(pco_story != nullptr ? pco_story->s_Preview : "")
           << "\"";
    if (pco_story == nullptr) {
        co_Out << " data-left-out=\"" << ss_Escape(co_Frame.s_LeftOut) << "\"";
    } else {
        co_Out << " data-page=\"" << pco_story->i_Page << "\"";
    }
    if (!co_Frame.s_Place.empty()) {
        co_Out << " data-place=\"" << ss_Escape(co_Frame.s_Place) << "\"";
    }
    if (co_Look.pco_Fit != nullptr) {
        co_Out << " data-verdict=\"" << spc_VerdictWord(*co_Look.pco_Fit) << "\"";
        if (co_Look.pco_Fit->b_AtRisk) {
            co_Out << " data-risk=\"" << ss_Escape(co_Look.pco_Fit->s_Sentence) << "\"";
        }
    }
    co_Out << "><title>" << ss_Escape(s_tip) << "</title>";
}

void CT_MapSvgWriter::v_WriteFrame(std::ostream& co_Out, const CT_MapFrame& co_Frame) const {
    const CT_Look co_look = co_LookOf(co_Frame);
    v_OpenFrame(co_Out, co_Frame, co_look);
    const CT_IdmlRect& r = co_Frame.co_Rect;
    co_Out << "<rect x=\"" << s_Number(r.left) << "\" y=\"" << s_Number(r.top) << "\" width=\""
           << s_Number(r.right - r.left) << "\" height=\"" << s_Number(r.bottom - r.top)
           << "\" fill=\"" << co_look.pc_Fill << "\" fill-opacity=\"0.7\" stroke=\""
           << co_look.pc_Stroke << "\" stroke-width=\"" << s_Px(1.5) << "\""
           << (co_Frame.b_OnPasteBoard ? " stroke-dasharray=\"" + s_Px(5) + "\"" : "")
           << "/></g>\n";
}

// Numbers go last, above every fill and line. An anchored story is its number alone, drawn
// hollow; a frame's number names the story it belongs to, for the page's script.
void CT_MapSvgWriter::v_WriteLabels(std::ostream& co_Out) const {
    co_Out << "<g class=\"labels\" font-weight=\"bold\" text-anchor=\"middle\">\n";
    for (const CT_MapLabel& co_label : co_Labels.co_GetLabels()) {
        const CT_MapFrame& co_frame =
            co_Map.co_GetRows()[co_label.n_Row].co_Frames[co_label.n_Frame];
        const CT_Look co_look = co_LookOf(co_frame);
        if (co_frame.b_Anchored) {
            v_OpenFrame(co_Out, co_frame, co_look);
        } else {
            co_Out << "<g class=\"label\" data-for=\"" << ss_Escape(co_frame.s_Key) << "\">";
        }
        const CT_IdmlRect& r = co_label.co_Box;
        co_Out << "<rect x=\"" << s_Number(r.left) << "\" y=\"" << s_Number(r.top) << "\" width=\""
               << s_Number(r.right - r.left) << "\" height=\"" << s_Number(r.bottom - r.top)
               << "\" rx=\"" << s_Number((r.bottom - r.top) / 2) << "\" fill=\""
               << (co_frame.b_Anchored ? "#ffffff" : co_look.pc_Stroke) << "\" stroke=\""
               << co_look.pc_Stroke << "\" stroke-width=\"" << s_Px(1) << "\"/><text x=\""
               << s_Number((r.left + r.right) / 2) << "\" y=\"" << s_Number((r.top + r.bottom) / 2)
               << "\" dy=\"0.35em\" font-size=\"" << s_Number(co_label.d_FontSize) << "\" fill=\""
               << (co_frame.b_Anchored ? co_look.pc_Stroke : co_look.pc_Number) << "\">"
               << co_label.s_Text << "</text></g>\n";
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

double CT_MapSvgWriter::d_LegendHeight() const {
    return sd_LegendLine * static_cast<double>(b_Checked ? 13 : 8) + 16;
}

// What the colours, dashes, numbers and lines mean, under the spreads, in screen pixels.
void CT_MapSvgWriter::v_WriteLegend(std::ostream& co_Out) const {
    const double d_left = co_Map.d_Points(16);
    double d_y = co_Map.d_GetHeight();
    const double d_line = co_Map.d_Points(sd_LegendLine);
    const double d_swatch = co_Map.d_Points(30);
    co_Out << "<g class=\"legend\" font-size=\"" << s_Px(12) << "\" fill=\"#333\">\n";
    auto f_text = [&](const std::string& s_Text, const char* pc_Weight) {
        co_Out << "<text x=\"" << s_Number(d_left + d_swatch + co_Map.d_Points(8)) << "\" y=\""
               << s_Number(d_y + d_line * 0.7) << "\" font-weight=\"" << pc_Weight << "\">"
               << ss_Escape(s_Text) << "</text>\n";
        d_y += d_line;
    };
    auto f_box = [&](const char* pc_Fill, const char* pc_Stroke, bool b_Dashed) {
        co_Out << "<rect x=\"" << s_Number(d_left) << "\" y=\"" << s_Number(d_y + d_line * 0.15)
               << "\" width=\"" << s_Number(d_swatch) << "\" height=\"" << s_Number(d_line * 0.7)
               << "\" fill=\"" << pc_Fill << "\" fill-opacity=\"0.7\" stroke=\"" << pc_Stroke
               << "\" stroke-width=\"" << s_Px(1.5) << "\""
               << (b_Dashed ? " stroke-dasharray=\"" + s_Px(5) + "\"" : "") << "/>\n";
    };
    auto f_number = [&](const char* pc_Text, double d_Pixels, bool b_Hollow) {
        const double d_size = co_Map.d_Points(d_Pixels);
        const double d_x = d_left + co_Map.d_Points(2);
        const double d_top = d_y + (d_line - 1.4 * d_size) / 2;
        co_Out << "<rect x=\"" << s_Number(d_x) << "\" y=\"" << s_Number(d_top) << "\" width=\""
               << s_Number(1.4 * d_size) << "\" height=\"" << s_Number(1.4 * d_size) << "\" rx=\""
               << s_Number(0.7 * d_size) << "\" fill=\"" << (b_Hollow ? "#ffffff" : "#1565c0")
               << "\" stroke=\"#1565c0\" stroke-width=\"" << s_Px(1) << "\"/><text x=\""
               << s_Number(d_x + 0.7 * d_size) << "\" y=\"" << s_Number(d_top + 0.7 * d_size)
               << "\" dy=\"0.35em\" text-anchor=\"middle\" font-weight=\"bold\" font-size=\""
               << s_Number(d_size) << "\" fill=\"" << (b_Hollow ? "#1565c0" : "#ffffff") << "\">"
               << pc_Text << "</text>\n";
    };
    auto f_line = [&](const char* pc_Colour, bool b_Arrow) {
        const std::string s_y = s_Number(d_y + d_line / 2);
        co_Out << "<line x1=\"" << s_Number(d_left) << "\" y1=\"" << s_y << "\" x2=\""
               << s_Number(d_left + d_swatch) << "\" y2=\"" << s_y << "\" stroke=\"" << pc_Colour
               << "\" stroke-width=\"" << s_Px(b_Arrow ? 1.5 : 1) << "\""
               << (b_Arrow ? " marker-end=\"url(#thread-arrow)\"" : "") << "/>\n";
    };
    f_text(s_OrderName.empty() ? std::string("Legend")
                               : "Legend: numbers follow the " + s_OrderName + " order",
           "bold");
    f_box("#e3f2fd", "#1565c0", false);
    f_number("1", CT_MapLabelLayout::sd_FirstPixels, false);
    f_text("a text frame, numbered by its story's place in the order", "normal");
    f_number("1", CT_MapLabelLayout::sd_OtherPixels, false);
    f_text("a later frame of the same story (smaller number)", "normal");
    f_number("2", CT_MapLabelLayout::sd_OtherPixels, true);
    f_text("an anchored or inline story, in the frame that holds it", "normal");
    f_line("#1565c0", true);
    f_text("the text runs on into the next frame of its story", "normal");
    f_line("#e65100", false);
    f_text("the order, from each story's first frame to the next story's", "normal");
    f_box("#e3f2fd", "#1565c0", true);
    f_text("a frame on the pasteboard, which does not print", "normal");
    f_box("#e0e0e0", "#9e9e9e", false);
    f_text("a story left out of the order (numbered \xE2\x80\x93)", "normal");
    if (b_Checked) {
        // As the fit report judges: by the room where the frames can be measured, by growth
        // where they cannot.
        f_text("Fit of the translation in the room of its frames:", "bold");
        f_box("#c8e6c9", "#2e7d32", false);
        f_text("fits", "normal");
        f_box("#fff59d", "#f9a825", false);
        f_text("tight: more than 90 % of the room filled", "normal");
        f_box("#ffcdd2", "#c62828", false);
        f_text("overflows, or grown more than " +
                   std::to_string(static_cast<long long>(d_MaxGrowth * 100 + 0.5)) +
                   " % where nothing is measured",
               "normal");
        f_box("#e3f2fd", "#1565c0", false);
        f_text("not judged: it does not print, or has no room to measure", "normal");
    }
    co_Out << "</g>\n";
}
