// Draws a story map as one SVG element: pages to scale with their printed names, text frames as
// outlines (left-out ones greyed; checked against a translation, coloured by the fit report's
// verdict), thread lines with arrows, the reading path, then every frame's number above it all
// where the label layout puts it, and a legend under the spreads. Every frame is a group
// carrying data-key, data-order (0 when left out), data-thread (its place in the thread),
// data-place (where it stands on its page), data-verdict when a fit is known and, for the page
// around it, data-label and data-preview; its rectangle stands in its spread's coordinates, in
// points. A number is a
// group of class "label" naming its story in data-for, on the picture's coordinates; an
// anchored story is its number alone, a frame group of class "anchored". Fonts are the viewer's
// own sans-serif: nothing is fetched.
#pragma once

#include <map>
#include <ostream>
#include <string>
#include <utility>

#include "map/ct_fit_report.h"
#include "map/ct_map_label_layout.h"

class CT_StoryMap;
struct CT_MapFrame;
struct CT_MapStory;

class CT_MapSvgWriter {
  public:
    // The map must outlive the writer.
    explicit CT_MapSvgWriter(const CT_StoryMap& co_Map);

    // What the fit report says of a story, as the map shows it.
    struct CT_Fit {
        et_FitVerdict eo_Verdict = et_FitVerdict::e_Unmeasured;
        bool b_Prints = true;
        bool b_AtRisk = false;
        std::string s_Sentence;  // CT_FitReport::s_Sentence
    };

    // Each story's fit, told in its frame's tooltip; b_Colour (a translation was checked):
    // frames are coloured by the verdict and the legend says how. Nothing of the report is kept.
    void v_SetFit(const CT_FitReport& co_Report, bool b_Colour);

    // The story order the numbers follow, as the command line names it ("reading"), written
    // on the picture's root as data-story-order; none when empty.
    void v_SetOrderName(std::string s_Name) { s_OrderName = std::move(s_Name); }

    // The story's fit; none when no fit was set or the story is not in the order.
    const CT_Fit* pco_FitOf(const std::string& s_Key) const;
    // The words a story's fit is told by: "fits", "tight", "overflows", "may overflow" (grown
    // where nothing is measured), "not measured", "does not print".
    static const char* spc_VerdictWord(const CT_Fit& co_Fit);

    // b_Standalone: with the XML declaration, for an .svg file; else for inlining in HTML.
    void v_Write(std::ostream& co_Out, bool b_Standalone) const;

    // Text made safe for XML content and attribute values. Characters XML 1.0 cannot carry
    // become U+FFFD.
    static std::string ss_Escape(const std::string& s_Text);

    // Where the numbers stand; the layout is the writer's.
    const CT_MapLabelLayout& co_GetLabels() const { return co_Labels; }

  private:
    // How a frame is drawn: its classes and colours, from its story and the fit.
    struct CT_Look {
        const CT_MapStory* pco_Story = nullptr;
        std::string s_Class;
        const char* pc_Fill = "#e3f2fd";
        const char* pc_Stroke = "#1565c0";
        const char* pc_Number = "#ffffff";  // a number's colour on the stroke's
        const CT_Fit* pco_Fit = nullptr;
    };

    CT_Look co_LookOf(const CT_MapFrame& co_Frame) const;
    void v_OpenFrame(std::ostream& co_Out, const CT_MapFrame& co_Frame,
                     const CT_Look& co_Look) const;
    void v_WriteFrame(std::ostream& co_Out, const CT_MapFrame& co_Frame) const;
    void v_WriteLabels(std::ostream& co_Out) const;
    void v_WriteLegend(std::ostream& co_Out) const;
    double d_LegendHeight() const;  // screen pixels
    void v_WriteLines(std::ostream& co_Out) const;
    const CT_MapStory* pco_StoryOf(const CT_MapFrame& co_Frame) const;
    // A length of so many screen pixels, in points, as SVG text.
    std::string s_Px(double d_Pixels) const;

    static constexpr double sd_LegendWidth = 460;  // screen pixels
    static constexpr double sd_LegendLine = 18;

    const CT_StoryMap& co_Map;
    CT_MapLabelLayout co_Labels;
    bool b_Checked = false;
    std::map<std::string, CT_Fit> co_Fits;
    double d_MaxGrowth = 0;
    std::string s_OrderName;
};
