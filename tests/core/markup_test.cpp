// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/markup.h"

#include <gtest/gtest.h>

#include <string>

#include "core/keymarkup.h"
#include "core/kinds.h"
#include "rtf/reader.h"
#include "rtf/writer.h"

using namespace equat;
using namespace std::string_literals;

TEST(MarkupToRtf, TagsAndText) {
    const std::string kBorders =
        "\\clvertalc\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10"
        "\\clbrdrr\\brdrs\\brdrw10\\cellx";
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
        {"<row=900,480><cell></row>", "\\trowd\\trgaph70\\trleft0" + kBorders + "900" + kBorders +
                                          "1380\\pard\\intbl \\qc "
                                          "\\cell \\row\\pard "},
        {"<ROW=5,5>",
         "\\trowd\\trgaph70\\trleft0" + kBorders + "5" + kBorders + "10\\pard\\intbl \\qc "},
        {"<row=>", ""},
        {"<row=5,>", ""},
        {"<row=0>", ""},
        {"<row=31681>", ""},
        {"<row=-5>", ""},
        {"<row=5;5>", ""},
        {"ab\0<b>cd"s, "ab"},  // NUL ends the text
        {"<b\0>x"s, "\\b "},   // also inside a tag
    };
    for (const auto& c : cases) EXPECT_EQ(MarkupToRtf(c.in), c.out) << c.in;
}

// What each tag does, sizes of digits alone read on their short way as any other size.
TEST(ReadTag, KindAndValue) {
    struct Case {
        std::string_view tag;
        TagKind kind;
        int value;
    };
    const Case cases[] = {
        {"te=18", TagKind::Size, 18},
        {"te=0018", TagKind::Size, 18},
        {"te=9999", TagKind::Size, 9999},
        {"te=12345", TagKind::Unknown, 0},
        {"te=", TagKind::Size, -1},
        {"te=1te=8", TagKind::Size, 18},
        {"te=1a", TagKind::Unknown, 0},
        {"te=-1", TagKind::Unknown, 0},
        {"b", TagKind::Bold, 1},
        {"/i", TagKind::Italic, 0},
        {"/sup", TagKind::Baseline, 0},
        {"symbol", TagKind::Font, 3},
        {"tab", TagKind::Tab, 0},
        {"t", TagKind::Unknown, 0},
        {"", TagKind::Unknown, 0},
        {"cell", TagKind::Cell, 0},
        {"cf=jaune", TagKind::Highlight, 12},
        {"row=5,5", TagKind::Row, 2},
    };
    for (const Case& c : cases) {
        const MarkupTag t = ReadTag(c.tag);
        EXPECT_EQ(t.kind, c.kind) << c.tag;
        EXPECT_EQ(t.value, c.value) << c.tag;
    }
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

// A teacher's text as title, instruction or separator: the markup's own tags act, every other
// sign shows as typed, and no text loses a question (read back through the RTF reader).
TEST(TeacherMarkup, HostileTextsShowAsTypedAndKeepEveryQuestion) {
    const struct {
        std::string typed;  // Windows-1252
        std::string shown;  // UTF-8; empty: as typed
    } texts[] = {
        {"Contr\xF4le (ch. 3}", "Contr\xC3\xB4le (ch. 3}"},
        {"}", ""},
        {"Note {sur 20}", ""},
        {"a < b et c > d", ""},
        {"x<3 : reste", ""},
        {"C:\\Users\\prof", ""},
        {"\\page Suite", ""},
        {"\\", ""},
        {"{\\rtf1 x}", ""},
        {"<b>Gras</b> et <B>aussi</B>", "Gras et aussi"},
        {"<te=99>Grand<te=18>", "Grand"},
        {"<<b>>", "<>"},
        {">", ""},
        {"<ce=rose>x<te=}>y<te=12345>", ""},
        {"<row=900><cell>x</row>", ""},  // a title opens no table
        {std::string("a\x01z\tb\0c", 7), "azbc"},
    };
    const auto plain = [](const std::string& rtf) { return rtf::PlainTextUtf8(rtf::ReadRtf(rtf)); };
    for (const auto& t : texts) {
        const std::string shown = t.shown.empty() ? t.typed : t.shown;
        for (int role = 0; role < 3; ++role) {
            SheetSettings s;
            s.count = 12;
            (role == 0 ? s.title : role == 1 ? s.instruction : s.separator) = t.typed;
            RandomSource rng(7);
            const Sheet sheet = BuildSheet(*MakeKind("2d"), rng, s);
            for (const std::string& doc : {plain(sheet.subject), plain(sheet.answerKey)}) {
                EXPECT_NE(doc.find(shown), std::string::npos) << role << " " << t.typed << "\n"
                                                              << doc;
                for (int i = 1; i <= s.count; ++i)
                    EXPECT_NE(doc.find("\n" + std::to_string(i) + "\xC2\xB0/"), std::string::npos)
                        << role << " " << t.typed << " " << i;
            }
        }
    }
}

// However many values and however long a row's label, every row of a sign table opens as a
// row the tags take, with a cell per interval and value between the label and the infinities.
TEST(SignTableMarkup, EveryRowIsARowOfTheTags) {
    for (int n : {1, 4, 29}) {
        SignTable t;
        for (int v = 0; v < n; ++v) t.values.push_back(Surd(Rational(v * 1000003, 7)));
        Side wide;
        for (int k = 0; k < 40; ++k) wide.push_back({Rational(k + 1, 3), Unknown::X});
        t.rows = {{{wide}, 1, std::vector<Sign>(2 * n + 1, Sign::Plus)}, {{wide, wide}, 1, {}}};
        int rows = 0, cells = 0;
        ForEachMarkup(
            SignTableMarkup(t), [](std::string_view) {},
            [&](std::string_view tag) {
                const MarkupTag m = ReadTag(tag);
                if (m.kind == TagKind::Row) {
                    EXPECT_EQ(m.value, 2 * n + 4) << n;
                }
                rows += m.kind == TagKind::Row;
                cells += m.kind == TagKind::Cell;
            });
        EXPECT_EQ(rows, 3) << n;
        EXPECT_EQ(cells, 3 * (2 * n + 4)) << n;
    }
}
