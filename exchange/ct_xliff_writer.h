// Writes the stories of one document as an XLIFF 1.2 file for translation tools: one <file>,
// one <group> per story in story order, one <trans-unit> per paragraph, footnote or note
// paragraph and table cell paragraph, each cut into sentences (<seg-source>, <mrk mtype="seg">)
// and carrying a <target> that copies its source unless targets are left out: waiting for a
// translator, or done for a paragraph of numbers only, which the translator may still localise.
// Codes are numbered per unit (CT_XliffUnitCodes); characters XML cannot carry become <x> codes
// too. A unit with nothing to translate is translate="no" and has no target. Given the room of
// the story's frames, each unit to translate carries its share of it as maxwidth in characters.
// The file keeps what an import needs to put every story back together byte for byte.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/ct_sentence_splitter.h"
#include "exchange/ct_story_layout.h"

class CT_XliffWriter {
  public:
    struct CT_Options {
        std::string co_Original;        // the document's file name
        std::string co_SourceLanguage;  // BCP 47, required
        std::string co_TargetLanguage;  // BCP 47, required
        bool b_Targets = true;
        // Every formatting run a code of its own, as the document has them; otherwise runs
        // that differ only in what a reader cannot see are one (see CT_XliffUnitCodes).
        bool b_AllCodes = false;
        // A maxwidth on every unit to translate of a story whose context gives its capacity.
        bool b_Limits = true;
    };

    // What a translator is told of a story besides its text.
    struct CT_Context {
        // Where it stands ("page A22, frame u1dc, layer Text"), for its group's note; the
        // location when empty.
        std::string co_Where;
        std::vector<std::string> co_Styles;  // the paragraph style of each content line
        // The page each content line starts on ("page A22"), for its unit's note; the last
        // stands for the lines after it, and none is named when empty.
        std::vector<std::string> co_Pages;
        // Characters of running text the story's frames hold; 0 for no limits. It is split
        // over the units in proportion to their text, each share rounded up (see sn_Limit).
        std::size_t n_Capacity = 0;
    };

    // Takes the file's bytes as they are ready, in order.
    using CT_Sink = std::function<void(std::string_view)>;

    explicit CT_XliffWriter(const CT_Options& co_Options);
    // Hands the file to co_Sink a few hundred kilobytes at a time, so that a big file never
    // stands whole in memory; s_Finish then hands the rest and returns nothing.
    CT_XliffWriter(const CT_Options& co_Options, CT_Sink co_Sink);

    // Adds the next story in story order. co_Location is the story's location as the tagged
    // file's start tag gives it ("P3", "B", "M" and the master). Raises std::invalid_argument
    // when the content is no tagged content.
    void v_AddStory(std::string_view co_Key, std::string_view co_Location,
                    std::string_view co_Content, const CT_StoryLayout::CT_Codes& co_Codes,
                    const CT_Context& co_Context);
    void v_AddStory(std::string_view co_Key, std::string_view co_Location,
                    std::string_view co_Content, const CT_StoryLayout::CT_Codes& co_Codes);

    // What v_AddStory writes of one story, written apart: a caller with stories to write on
    // several threads writes each on a writer of the thread's own (made with the same options)
    // and hands them to one writer's v_AddWritten in story order. n_Number: the story's place
    // in the file, from 1. Raises as v_AddStory does.
    struct CT_Written {
        std::string s_Bytes;
        std::size_t n_Units = 0;
    };
    CT_Written co_Write(std::size_t n_Number, std::string_view co_Key, std::string_view co_Location,
                        std::string_view co_Content, const CT_StoryLayout::CT_Codes& co_Codes,
                        const CT_Context& co_Context);
    void v_AddWritten(const CT_Written& co_Written);

    // The whole file, UTF-8, or the empty string with a sink; the writer is spent afterwards.
    std::string s_Finish();

    std::size_t n_Units() const { return n_Units_; }

  private:
    struct ct_Story;

    // Writes the story into co_Out.
    void v_Story(std::size_t n_Number, std::string_view co_Key, std::string_view co_Location,
                 std::string_view co_Content, const CT_StoryLayout::CT_Codes& co_Codes,
                 const CT_Context& co_Context);
    // Hands co_Out to the sink once it holds enough.
    void v_Flush();
    void v_Flow(ct_Story& co_Story, const std::vector<CT_LayoutParagraph>& co_Paragraphs,
                const std::string& co_Label, const std::string& co_Restype);
    void v_Anchor(ct_Story& co_Story, const CT_LayoutAnchor& co_Anchor);
    void v_Unit(ct_Story& co_Story, const CT_LayoutParagraph& co_Paragraph,
                const std::string& co_Label, const std::string& co_Restype);
    void v_Inline(const std::vector<CT_TaggedToken>& co_Tokens, ct_Story& co_Story);
    void v_Code(const CT_TaggedToken& co_Token, const ct_Story& co_Story);
    void v_Text(std::string_view co_Text, ct_Story& co_Story);
    void v_Attribute(const char* pc_Name, std::string_view co_Value);
    void v_Number(std::size_t n_Value);
    // A share of the room, in characters, rounded up to a round number where that adds at most
    // a tenth (37.2 gives 40, 41.5 gives 45), else to the next whole character.
    static std::size_t sn_Limit(double d_Share);

    CT_Options co_Options;
    CT_Sink co_Sink;
    CT_SentenceSplitter co_Splitter;
    std::string co_Out;
    // What the last code written stood for, and its attributes as written.
    std::string co_LastCtype;
    std::string co_LastEquiv;
    std::string co_LastAttributes;
    std::size_t n_Stories = 0;
    std::size_t n_Units_ = 0;
};
