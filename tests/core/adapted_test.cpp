// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/adapted.h"

#include <gtest/gtest.h>

#include <string>

#include "core/classset.h"
#include "core/kinds.h"
#include "core/sheetcode.h"
#include "core/titlemarkup.h"
#include "rtf/reader.h"
#include "rtf/writer.h"

using namespace equat;

namespace {

AdaptedLayout LayoutNumber(int n) {
    AdaptedLayout l;
    l.on = true;
    l.font = kAdaptedFonts[n % kAdaptedFontCount].font;
    l.size = kAdaptedSizes[(n / 3) % 3];
    l.doubleSpacing = (n & 8) != 0;
    l.cream = (n & 16) != 0;
    l.key = (n & 32) != 0;
    return l;
}

std::string Text(const std::string& rtf) {
    return rtf::PlainTextUtf8(rtf::ReadRtf(rtf));
}

// What a pupil reads in the adapted document: its font, at least the layout's size,
// never italic; the separator lines alone keep the standard size, the line they fill.
void ExpectReadable(const std::string& rtf, const AdaptedLayout& l, bool writingSpace) {
    const rtf::Document doc = rtf::ReadRtf(rtf);
    bool spaced = false;
    for (const auto& p : doc.paragraphs) {
        EXPECT_EQ(p.lineSpacing, l.doubleSpacing ? 480 : 360);
        spaced |= p.spaceAfter == WritingSpace(l);
        for (const auto& r : p.runs) {
            if (r.text.find_first_not_of("- ") == std::string::npos) continue;
            const std::string& font = doc.fonts.at(static_cast<std::size_t>(r.format.font)).name;
            EXPECT_TRUE(font == FontInfo(l.font).family || font == "Symbol") << font;
            EXPECT_FALSE(r.format.italic) << r.text;
            EXPECT_GE(r.format.size, AdaptedTextSize(l)) << r.text;
        }
    }
    EXPECT_EQ(spaced, writingSpace);
}

}  // namespace

// The adapted copy is the standard copy of the same draw: the same text, line for line,
// and the same results, whatever the kind, style and layout.
TEST(Adapted, SameTextAndResultsAsTheStandardCopy) {
    int n = 0;
    for (std::uint32_t seed = 0; seed < 60; ++seed) {
        for (const auto& kind : kSheetKinds) {
            const AdaptedLayout layout = LayoutNumber(n++);
            SheetSettings standard;
            standard.level = 1 + static_cast<int>(seed % 3);
            standard.count = 12;
            standard.keyStyle = kKeyStyles[seed % kKeyStyleCount].style;
            standard.decimalComma = seed % 5 == 0;
            standard.title = seed % 7 == 0 ? TitleWithName(kDefaultTitle, "Tom Martin")
                                           : std::string(kDefaultTitle);
            SheetSettings adapted = standard;
            adapted.layout = layout;
            RandomSource a(seed), b(seed);
            const Sheet plain = BuildSheet(*MakeKind(kind.name), a, standard);
            const Sheet big = BuildSheet(*MakeKind(kind.name), b, adapted);
            ASSERT_EQ(Text(big.subject), Text(plain.subject)) << kind.name << seed;
            ASSERT_EQ(Text(big.answerKey), Text(plain.answerKey)) << kind.name << seed;
            EXPECT_EQ(big.results, plain.results);
            EXPECT_EQ(big.log, plain.log);
            ExpectReadable(big.subject, layout, true);
            const bool strip = standard.keyStyle == KeyStyle::Strip;
            if (layout.key || strip) ExpectReadable(big.answerKey, layout, strip);
            // A strip follows its subject's layout, line for line; other keys only when asked.
            if (!layout.key && !strip) {
                EXPECT_EQ(big.answerKey, plain.answerKey);
            }
        }
    }
}

// A copy's code carries its layout: every layout comes back from the code, and its
// documents are rebuilt in it; bits this program does not build are refused.
TEST(Adapted, CodesRebuildTheirLayout) {
    for (int n = 0; n < 64; ++n) {
        const AdaptedLayout layout = LayoutNumber(n);
        EXPECT_EQ(LayoutOfFlags(LayoutFlags(layout)), layout);
        EXPECT_EQ(LayoutFlags(layout) & ~kSheetCodeLayoutBits, 0u);
        SheetCode code;
        code.kind = "2d";
        code.seed = 977u * static_cast<unsigned>(n);
        code.flags = LayoutFlags(layout);
        std::string error;
        const auto back = DecodeSheetCode(EncodeSheetCode(code), &error);
        ASSERT_TRUE(back) << error;
        EXPECT_EQ(*back, WithCodeSeed(code));
        SheetSettings asked;
        asked.layout = layout;
        EXPECT_EQ(BuildSheetFromCode(*back, SheetSettings{}).subject,
                  BuildSheetFromCode(*back, asked).subject);
    }
    EXPECT_FALSE(LayoutFlags(AdaptedLayout{}));
    // A fourth font or size is a later program's; a layout that is not on is no code at all.
    for (std::uint32_t bad : {(3u << 13) | (1u << 12), (3u << 15) | (1u << 12)}) {
        SheetCode code;
        code.flags = bad;
        std::string error;
        EXPECT_FALSE(DecodeSheetCode(EncodeSheetCode(code), &error)) << bad;
        EXPECT_NE(error.find("plus r"), std::string::npos);
    }
    SheetCode off;
    off.flags = 1u << 13;
    EXPECT_EQ(EncodeSheetCode(off), "");
}

// Roster lines: a name alone as before, or with its columns; a line whose columns are not
// ours stays the name it always was.
TEST(Adapted, RosterColumns) {
    struct Row {
        const char* line;
        const char* name;  // UTF-8 as written, Windows-1252 once read
        int level;
        bool adapted;
    };
    const Row rows[] = {
        {"\xC3\x89lo\xC3\xAFse Dupr\xC3\xA9;2;A", "\xC9lo\xEFse Dupr\xE9", 2, true},
        {"Tom Martin;3", "Tom Martin", 3, false},
        {"In\xC3\xA8s Ba;;A", "In\xE8s Ba", 0, true},
        {"  Adam Li ; 1 ; a ", "Adam Li", 1, true},
        {"Zo\xC3\xA9 Roux;", "Zo\xE9 Roux", 0, false},
        {"Adam Li", "Adam Li", 0, false},
        {"Dupont;Jean", "Dupont;Jean", 0, false},
        {"Li;4", "Li;4", 0, false},
        {"Li;2;B", "Li;2;B", 0, false},
        {"Li;2;A;x", "Li;2;A;x", 0, false},
        // As a spreadsheet exports it: quotes, "" inside them, commas, empty columns after.
        {"\"Dupont, Jean\";\"2\";\"A\"", "Dupont, Jean", 2, true},
        {"\"Dupont, Jean\",3,", "Dupont, Jean", 3, false},
        {"Dupont Jean,2,A", "Dupont Jean", 2, true},
        {" \"O\"\"Neil; Kim\" ", "O\"Neil; Kim", 0, false},
        {"Li;2;A;;", "Li", 2, true},
        {"Dupont, Jean", "Dupont, Jean", 0, false},
    };
    for (const Row& r : rows) {
        std::string error;
        const auto got = ParseRosterEntries(r.line, &error);
        ASSERT_TRUE(got) << r.line << error;
        ASSERT_EQ(got->size(), 1u);
        EXPECT_EQ(got->front(), (RosterEntry{r.name, {r.level, r.adapted}})) << r.line;
    }
    // Refused with the reason: no name, a quote left open or followed by text, columns that
    // a quoted line cannot mean.
    for (const auto& [text, says] :
         {std::pair{"Tom\n;2;A\n", "Ligne 2"},
          {"Tom\n\"Dupont;2\n", "Ligne 2 de la liste : des guillemets"},
          {"\"Dupont\" Jean;2\n", "Ligne 1 de la liste : des guillemets"},
          {"\"Dupont\";4\n", "le niveau (1 \xE0 3)"}}) {
        std::string error;
        EXPECT_FALSE(ParseRosterEntries(text, &error)) << text;
        EXPECT_NE(error.find(says), std::string::npos) << error;
    }
}

// In a set, the copies marked A are adapted and the others not, each at its own level.
TEST(Adapted, ClassSetChoicesPerCopy) {
    ClassSetRequest request;
    request.kind = "1d";
    request.settings.count = 5;
    request.settings.layout.font = AdaptedFont::OpenDyslexic;
    request.names = {"A", "B", "C"};
    request.choices = {{3, true}, {0, false}, {2, false}};
    RandomSource stream(4);
    const ClassSet set = MakeClassSet(request, stream);
    ASSERT_EQ(set.copies.size(), 3u);
    for (std::size_t k = 0; k < 3; ++k) {
        const auto& copy = set.copies[k];
        const int level = request.choices[k].level ? request.choices[k].level : 1;
        EXPECT_EQ(copy.code.level, level);
        EXPECT_EQ(copy.sheet.baseName.substr(0, 10), "Equat1d_N" + std::to_string(level));
        const bool adapted = copy.sheet.subject.find("OpenDyslexic") != std::string::npos;
        EXPECT_EQ(adapted, request.choices[k].adapted);
    }
}
