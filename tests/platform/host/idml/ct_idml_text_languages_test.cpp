// What a story's text is set in, counted in characters: a paragraph style's text under its
// style, a language named on the text under that language, down to the next paragraph style.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <map>
#include <string>

#include "platform/host/idml/ct_idml_text_languages.h"

namespace {

TEST(IdmlTextLanguages, CountsCharactersUnderTheStyleOrLanguageTheyAreSetIn) {
    pugi::xml_document co_story;
    ASSERT_TRUE(co_story.load_string(
        "<Story><Content>ab</Content>"
        "<ParagraphStyleRange AppliedParagraphStyle=\"ParagraphStyle/Body\">"
        "<CharacterStyleRange><Content>h\xC3\xA9llo w\xC3\xB6rld, \xE6\x97\xA5\xE6\x9C\xAC"
        "</Content></CharacterStyleRange>"
        "<CharacterStyleRange AppliedLanguage=\"$ID/French\"><Content>d\xC3\xA9j\xC3\xA0 vu"
        "</Content><Table><Cell><ParagraphStyleRange AppliedParagraphStyle=\"ParagraphStyle/"
        "Cell\"><Content>x</Content></ParagraphStyleRange></Cell></Table><Content>, tr\xC3\xA8s"
        "</Content></CharacterStyleRange></ParagraphStyleRange></Story>"));
    CT_IdmlTextLanguages::CT_Counts co_counts;
    CT_IdmlTextLanguages::sv_Count(co_story.document_element(), co_counts);
    CT_IdmlTextLanguages::sv_Count(co_story.document_element(), co_counts);
    std::map<std::string, std::size_t> co_counted;
    for (const auto& [s_from, n_characters] : co_counts) {
        if (n_characters != 0) {
            co_counted[s_from] = n_characters;
        }
    }
    const std::string s_style(1, CT_IdmlTextLanguages::sk_Style);
    EXPECT_EQ(co_counted, (std::map<std::string, std::size_t>{{s_style, 4},
                                                              {s_style + "ParagraphStyle/Body", 30},
                                                              {s_style + "ParagraphStyle/Cell", 2},
                                                              {"$ID/French", 26}}));
}

}  // namespace
