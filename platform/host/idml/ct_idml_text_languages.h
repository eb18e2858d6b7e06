// How many characters of a story are set under each paragraph style and under each language
// named on the text itself: what the language most of a document's text is set in is found
// from, once the styles say which language each paragraph style stands for. Counted as a
// document is read through, story by story on whichever thread reads it, so that nothing has
// to parse every story again to ask. Stateless; the counts are the caller's.
#pragma once

#include <pugixml.hpp>

#include <cstddef>
#include <map>
#include <string>

class CT_IdmlTextLanguages {
  public:
    // By what the text's language comes from: a paragraph style, as sk_Style followed by the
    // style's Self ("" for text in none), or a language named on the text ("$ID/French").
    using CT_Counts = std::map<std::string, std::size_t>;
    static constexpr char sk_Style = '\x01';

    // Adds the characters of the story's <Content> elements to what they are set in: the
    // language an element names (AppliedLanguage) holds for everything in it, down to a
    // paragraph style range, which starts again from its style. Follows the story's elements
    // down, as deep as the reader that parsed it allowed.
    static void sv_Count(const pugi::xml_node& co_Story, CT_Counts& co_Counts);
};
