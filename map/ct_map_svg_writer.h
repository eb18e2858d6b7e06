// Draws a story map as one SVG element: pages to scale with their labels, text frames as
// outlines numbered by the story order (left-out ones greyed, ones at risk of overflowing in
// red), thread lines with arrows, and the reading path through the story numbers. Every frame
// is a group carrying data-key, data-order (0 when left out), data-thread (its place in the
// thread) and, for the page around it, data-label and data-preview; its rectangle stands in its
// spread's coordinates, in points. Fonts are the viewer's own sans-serif: nothing is fetched.
#pragma once

#include <map>
#include <ostream>
#include <string>
#include <utility>

class CT_StoryMap;
struct CT_MapFrame;
struct CT_MapStory;

class CT_MapSvgWriter {
  public:
    // The map must outlive the writer.
    explicit CT_MapSvgWriter(const CT_StoryMap& co_Map);

    // Stories to draw as at risk, by key, each with a note for the frame's tooltip.
    void v_SetRisks(std::map<std::string, std::string> co_Risks) {
        co_AtRisk = std::move(co_Risks);
    }

    // The story order the numbers follow, as the command line names it ("reading"), written
    // on the picture's root as data-story-order; none when empty.
    void v_SetOrderName(std::string s_Name) { s_OrderName = std::move(s_Name); }

    // The note for a story at risk; empty for the others.
    std::string s_NoteFor(const std::string& s_Key) const;

    // b_Standalone: with the XML declaration, for an .svg file; else for inlining in HTML.
    void v_Write(std::ostream& co_Out, bool b_Standalone) const;

    // Text made safe for XML content and attribute values. Characters XML 1.0 cannot carry
    // become U+FFFD.
    static std::string ss_Escape(const std::string& s_Text);

  private:
    void v_WriteFrame(std::ostream& co_Out, const CT_MapFrame& co_Frame) const;
    void v_WriteLines(std::ostream& co_Out) const;
    const CT_MapStory* pco_StoryOf(const CT_MapFrame& co_Frame) const;
    // A length of so many screen pixels, in points, as SVG text.
    std::string s_Px(double d_Pixels) const;

    const CT_StoryMap& co_Map;
    std::map<std::string, std::string> co_AtRisk;
    std::string s_OrderName;
};
