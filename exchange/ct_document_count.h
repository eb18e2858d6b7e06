// What a translator is paid for in a whole document, story by story in story order: the words
// and characters of every unit that has something to translate, and how much of that repeats a
// unit met earlier in the document. Units are those of the XLIFF file (CT_StoryLayout: a
// paragraph, a table cell's paragraph, a footnote's or note's paragraph), counted as a
// translation tool counts the unit it reads: object codes inside a unit take no room, so that
// "one<x1/>two" is one word, as the unit's text shows it. Units without a letter (codes,
// numbers, punctuation and spaces alone) are not counted, as they are not for translation. A
// repeat is a unit whose text, codes and blanks at its ends set aside, is the text of an
// earlier unit: code numbers differ from story to story. Counts with one CT_WordCount of its
// own.
#pragma once

#include <string>
#include <string_view>

#include "exchange/ct_story_layout.h"
#include "exchange/ct_text_set.h"
#include "exchange/ct_word_count.h"

struct CT_StoryTally {
    CT_TextCount co_All;       // every unit with something to translate
    CT_TextCount co_Repeated;  // the part of co_All in units met before
};

class CT_DocumentCount {
  public:
    // co_Locale as for CT_WordCount.
    explicit CT_DocumentCount(const std::string& co_Locale = std::string());

    // Counts the next story's tagged content, cut into units along what its codes stand for
    // (without them every line is a unit); "earlier" is the order of these calls. Content
    // that is no tagged content is counted line by line, a "<" that starts no code and a lone
    // "\" read as text.
    CT_StoryTally co_AddStory(std::string_view co_Content,
                              const CT_StoryLayout::CT_Codes& co_Codes = {});
    const CT_StoryTally& co_GetTotal() const { return co_Total; }

  private:
    void v_AddLines(std::string_view co_Content, CT_StoryTally& co_Story);
    void v_AddRawLines(std::string_view co_Content, CT_StoryTally& co_Story);
    void v_AddFlow(const std::vector<CT_LayoutParagraph>& co_Paragraphs, CT_StoryTally& co_Story);
    void v_AddUnit(std::string_view co_Unit, CT_StoryTally& co_Story);

    CT_WordCount co_Counter;
    std::string s_Unit;  // the unit being counted, its text without codes and what tells it as
    std::string s_Text;  // a repeat: kept to reuse their buffers
    std::string s_Key;
    std::vector<CT_TaggedToken> co_Tokens;  // a story's, kept likewise
    CT_TextSet co_Seen;
    CT_StoryTally co_Total;
};
