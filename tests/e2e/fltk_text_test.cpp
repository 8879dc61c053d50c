// Text that crosses between the platform (Latin-1) and FLTK (UTF-8) in a dialog.
#include <gtest/gtest.h>

#include "platform/display/fltk_text.h"

using zp::fltk::latin1_of_utf8;
using zp::fltk::utf8_of_latin1;

TEST(FltkText, AsciiPassesBothWaysUnchanged) {
    const std::string text = "Valentine 14 & @friends\t~";
    EXPECT_EQ(utf8_of_latin1(text), text);
    EXPECT_EQ(latin1_of_utf8(text), text);
    EXPECT_EQ(latin1_of_utf8(""), "");
}

TEST(FltkText, LatinOneRoundTripsThroughUtf8) {
    // é (E9), ß (DF), the no-break space (A0) and ÿ (FF): the edges of the two-byte forms.
    const std::string latin1 = "caf\xE9 \xDF\xA0\xFF\x80";
    const std::string utf8 = utf8_of_latin1(latin1);
    EXPECT_EQ(utf8, "caf\xC3\xA9 \xC3\x9F\xC2\xA0\xC3\xBF\xC2\x80");
    EXPECT_EQ(latin1_of_utf8(utf8), latin1);
}

TEST(FltkText, WhatLatinOneCannotHoldBecomesOneQuestionMarkEach) {
    EXPECT_EQ(latin1_of_utf8("\xE2\x82\xAC" "5"), "?5");          // euro sign, 3 bytes
    EXPECT_EQ(latin1_of_utf8("a\xF0\x9F\x98\x80" "b"), "a?b");    // emoji, 4 bytes
    EXPECT_EQ(latin1_of_utf8("\xC5\x81odz"), "?odz");             // L with stroke, 2 bytes
}

TEST(FltkText, BrokenUtf8LosesOnlyItsOwnBytes) {
    EXPECT_EQ(latin1_of_utf8("a\x80z"), "a?z");           // stray continuation byte
    EXPECT_EQ(latin1_of_utf8("a\xC3"), "a?");             // cut at the end
    EXPECT_EQ(latin1_of_utf8("\xE2\x82z"), "?z");         // cut short, next letter kept
    EXPECT_EQ(latin1_of_utf8("\xC3z"), "?z");
    EXPECT_EQ(latin1_of_utf8("\xC1\x81"), "?");           // overlong form of 'A'
    EXPECT_EQ(latin1_of_utf8("\xFF" "a"), "?a");          // never a lead byte
}
