// A rough estimate of the room a story's frames give its text, from how the host sets it (the
// frames of its thread, their insets, columns and gutters, and the type sizes of its text): how
// many lines the frames hold and how many characters fill them, and how full a given text would
// make them. Characters are measured by an average advance per script, in ems of the story's
// mean type size: Latin half an em, CJK full-width characters a whole em, other scripts a
// little over half. Hyphenation, justification, tracking, kerning, the font's own widths,
// space before and after paragraphs, tables and text wrap around other items are ignored, so
// the numbers are right within a fifth or so for running text and rougher for anything else.
// A plain value; it keeps nothing of the setting it was made from.
#pragma once

#include <cstddef>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/host/ct_story_setting.h"

class CT_CapacityEstimate {
  public:
    static constexpr double sd_LatinEms = 0.5;
    static constexpr double sd_WideEms = 1.0;
    static constexpr double sd_OtherEms = 0.55;

    explicit CT_CapacityEstimate(const CT_StorySetting& co_Setting);

    // Whether the story has frames and every one of them has geometry: only then are lines,
    // capacity and fill measured (else they are 0).
    bool b_Measurable() const { return b_Geometry; }
    // Whether a frame of the thread grows with its text, so that no text overflows it.
    bool b_GrowsWithText() const { return b_Grows; }
    // Whether any frame of the story prints.
    bool b_Prints() const { return b_Printing; }
    // The story's mean type size and leading, in points, weighted by characters.
    double d_Size() const { return d_TypeSize; }
    double d_Leading() const { return d_TypeLeading; }
    // Lines the frames hold, every column counted: a first line takes the type size, each
    // further one the leading.
    unsigned n_Lines() const { return n_LineCount; }
    // The mean width of a line, in points.
    double d_LineWidth() const { return n_LineCount == 0 ? 0 : d_Room / n_LineCount; }
    // Characters of running text that fill every line, in the script mix of co_Sample (tagged
    // content as a story file holds it; Latin when it holds no text).
    std::size_t n_Capacity(std::string_view co_Sample = {}) const;
    // How full the tagged content would make the frames: 1 fills them exactly, more overflows.
    // Every paragraph but the last ends its last line. 0 for content without text, infinity for
    // text where no line fits; 0 when not measurable.
    double d_Fill(std::string_view co_Tagged) const;

    // Tagged content measured once, for several of the questions above: the width of its
    // paragraphs and its characters. Content that is no tagged content (a stray "<") is measured
    // as the text it is.
    struct CT_Measure {
        std::vector<double> co_Paragraphs;  // each paragraph's width, in ems
        std::size_t n_Characters = 0;
    };
    static CT_Measure sco_Measure(std::string_view co_Tagged);
    std::size_t n_Capacity(const CT_Measure& co_Sample) const;
    double d_Fill(const CT_Measure& co_Tagged) const;
    // The frame (index in thread order) each line of the tagged content starts in, the frames
    // filled in turn as d_Fill fills them; text past the last frame stays in it. Empty when not
    // measurable.
    std::vector<std::size_t> co_FrameOfLines(std::string_view co_Tagged) const;

    // The advance of a character in ems, by its script; 0 for marks that combine with the
    // character before and for invisible characters.
    static double sd_Ems(char32_t c_Char);

  private:
    bool b_Geometry = false;
    bool b_Grows = false;
    bool b_Printing = false;
    double d_TypeSize = 12;
    double d_TypeLeading = 14.4;
    unsigned n_LineCount = 0;
    double d_Room = 0;  // the lines' widths added up, points
    // Each frame's lines and their width in points, in thread order; 0 lines where none fits.
    std::vector<std::pair<unsigned, double>> co_FrameLines;
};
