// Pseudo-translation of tagged content: letters accented, each paragraph lengthened by the
// share asked for (markers included) with the extra letters spread over its words, markers at
// both ends of each paragraph, codes and line ends where they were.
#include <gtest/gtest.h>

#include "exchange/ct_pseudo_text.h"

TEST(PseudoText, ParagraphsGrowBetweenMarkersAndCodesStay) {
    // 18 characters grown by 40 % make 25: five letters doubled, every third, and the markers.
    EXPECT_EQ(CT_PseudoText::ss_Tagged("Summer in the Alps", 0.4),
              "[\xC5\xA0\xC3\xBCmmm\xC3\xA9\xC5\x95\xC5\x95 \xC3\xAD\xC3\xB1 "
              "\xC5\xA5\xC5\xA5\xC4\xA5\xC3\xA9 \xC3\x80\xC3\x80\xC4\xBAp\xC5\xA1\xC5\xA1]");
    EXPECT_EQ(CT_PseudoText::ss_Tagged("Our <g1>new</g1> \\<route\\>\n<x1/>Go\n<x2/>\n5.88", 0),
              "[\xC3\x96\xC3\xBC\xC5\x95 <g1>\xC3\xB1\xC3\xA9\xC5\xB5</g1> \\<\xC5\x95\xC3\xB6"
              "\xC3\xBC\xC5\xA5\xC3\xA9\\>]\n<x1/>[\xC4\x9E\xC3\xB6]\n<x2/>\n[5.88]");
    EXPECT_THROW(CT_PseudoText::ss_Tagged("a <b", 0.3), std::invalid_argument);
}

TEST(PseudoText, GrowthByLanguage) {
    EXPECT_DOUBLE_EQ(CT_PseudoText::sd_GrowthFor("de-CH"), 0.35);
    EXPECT_DOUBLE_EQ(CT_PseudoText::sd_GrowthFor("FR"), 0.2);
    EXPECT_DOUBLE_EQ(CT_PseudoText::sd_GrowthFor("ja_JP"), 0.0);
    EXPECT_DOUBLE_EQ(CT_PseudoText::sd_GrowthFor("tlh"), 0.3);
}
