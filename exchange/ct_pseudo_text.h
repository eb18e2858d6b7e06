// Pseudo-translation: text that reads as the source but looks translated, for seeing in the
// layout, before paying for a translation, what a longer text does to its frames. Letters of
// the Latin alphabet become accented ones that the fonts of a Latin document have (a to à, e to
// é, ...), each paragraph is lengthened by a share of its characters (its letters doubled here
// and there, spread over its words, so that lines still break between words) and framed by "["
// and "]", so that a cut end shows. Codes, line ends and every other character stay as they
// are. Stateless.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class CT_PseudoText {
  public:
    // A paragraph's pieces of text, between which its codes stand, each accented and
    // lengthened in place; the first piece of text opens with "[", the last ends with "]". d_Expand
    // is the growth, markers included (0.3 for 30 %). A paragraph without a letter or digit is left
    // as it is.
    static void sv_Paragraph(std::vector<std::string>& co_Pieces, double d_Expand);
    // The same over a story's tagged content: each paragraph (between line ends) on its own,
    // codes kept where they stand. Content that is no tagged content raises
    // std::invalid_argument, as CT_TaggedToken does.
    static std::string ss_Tagged(std::string_view co_Content, double d_Expand);
    // The growth a translation from English into the language usually brings, as a share (0.2
    // for French), by the language part of a BCP 47 code; 0.3 for a language not known here.
    static double sd_GrowthFor(const std::string& s_Language);
};
