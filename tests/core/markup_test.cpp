// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/markup.h"

#include <gtest/gtest.h>

#include <string>

using namespace equat;
using namespace std::string_literals;

TEST(MarkupToRtf, TagsAndText) {
    struct Case {
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"", ""},
        {"<b>x</b>", "\\b x\\b0 "},
        {"<B>x</B>", "\\b x\\b0 "},
        {"<sub>1</sub>", "\\sub 1\\nosupersub "},
        {"<sup>2</SUP>", "\\super 2\\nosupersub "},
        {"<i><u><s></s></u></i>", "\\i \\ul \\strike \\strike0 \\ul0 \\i0 "},
        {"<arial><times><courier><symbol>", "\\f0 \\f1 \\f2 \\f3 "},
        {"<te=18>", "\\fs18 "},
        {"<TE=18>", "\\fs18 "},
        {"<te=>", "\\fs "},
        {"<te=abc>", "\\fsabc "},
        {"<te=1te=8>", "\\fs18 "},
        {"<cf=jaune>", "\\highlight12 "},
        {"<cf=auto>", "\\highlight0 "},
        {"<ce=rouge>", "\\cf10 "},
        {"<ce=automatique>", "\\cf0 "},
        {"<ce=bleu fonc\xE9>", "\\cf5 "},
        {"<ce=bleu fonc\xC9>", ""},  // only A..Z are lower-cased
        {"<cf=blanc><ce=noir>", "\\highlight16 \\cf1 "},
        {"<ce=pink>", ""},
        {"<br><tab>", "\\par \\tab "},
        {"<>", ""},
        {"< b>", ""},
        {"<bold>", ""},
        {"x<b", "x\\b "},    // an unclosed tag is still translated
        {"<<b>x", "x"},      // the tag text is "<b"
        {"a>b", "a>b"},      // '>' outside a tag is ordinary
        {"a\r\n\tb", "ab"},  // control characters vanish
        {"\xE9\xB0", "\xE9\xB0"},
        {"{\\i x}", "{\\i x}"},
        {"ab\0<b>cd"s, "ab"},  // NUL ends the text
        {"<b\0>x"s, "\\b "},   // also inside a tag
    };
    for (const auto& c : cases) EXPECT_EQ(MarkupToRtf(c.in), c.out) << c.in;
}

TEST(MarkupToRtf, HeaderComesBackUnchanged) {
    EXPECT_EQ(kRtfHeader.size(), 642u);
    EXPECT_EQ(MarkupToRtf(kRtfHeader), kRtfHeader);
    EXPECT_TRUE(kRtfHeader.ends_with("\\f0 "));
}

TEST(MarkupToRtf, EveryColourName) {
    const char* names[] = {"noir",          "marron",  "vert",       "olive",
                           "bleu fonc\xE9", "violet",  "cyan",       "gris fonc\xE9",
                           "gris clair",    "rouge",   "vert clair", "jaune",
                           "bleu",          "fuchsia", "bleu ciel",  "blanc"};
    for (int k = 0; k < 16; ++k) {
        EXPECT_EQ(MarkupToRtf("<ce="s + names[k] + ">"), "\\cf" + std::to_string(k + 1) + " ");
        EXPECT_EQ(MarkupToRtf("<cf="s + names[k] + ">"),
                  "\\highlight" + std::to_string(k + 1) + " ");
    }
}
