// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtf/reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "core/markup.h"
#include "rtf/writer.h"
#include "rtf_test_util.h"

namespace equat::rtf {
namespace {

inline CharFormat InFont(int font) {
    CharFormat f;
    f.font = font;
    return f;
}

const std::string kHead =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
    "{\\f1\\froman\\fcharset0 Times New Roman;}{\\f3\\froman\\fcharset2 Symbol;}}"
    "{\\colortbl ;\\red255\\green0\\blue0;\\red255\\green255\\blue0;}\\pard ";

std::string Text(const std::string& body) {
    return PlainTextUtf8(ReadRtf(kHead + body + "}"));
}

TEST(RtfReader, PlainText) {
    struct Case {
        const char* body;
        const char* text;
    } cases[] = {
        {"Hello", "Hello"},
        {"a\\par b\\par ", "a\nb\n"},
        {"a\\line b\\tab c", "a\nb\tc"},
        {"caf\\'e9 \xe9\x80", "caf\xc3\xa9 \xc3\xa9\xe2\x82\xac"},
        {"\\{\\}\\\\", "{}\\"},
        {"a\r\nb", "ab"},
        {"x\\u916?y", "x\xce\x94y"},
        {"\\uc2 \\u916??y", "\xce\x94y"},
        {"\\uc0 \\u916 y", "\xce\x94y"},
        {"\\u-4028?", "\xef\x81\x84"},  // U+F044 outside a symbol font stays as it is
        {"\\u55357?\\u56832?", "\xf0\x9f\x98\x80"},
        {"{\\u916\\'e9}z", "\xce\x94z"},
        {"a{\\*\\unknown hidden {nested}}b", "ab"},
        {"a{\\info {\\title T}}b", "ab"},
        {"a\\bin3 {}}b", "ab"},
        {"\\emdash\\~\\lquote", "\xe2\x80\x94\xc2\xa0\xe2\x80\x98"},
        {"\\par", "\n"},
        {"\\f3 D \\'ec\\'ed\\'ee", "\xce\x94 \xe2\x8e\xa7\xe2\x8e\xa8\xe2\x8e\xa9"},
        {"\\f3 \\u61508?\\u-4028?\\u68?", "\xce\x94\xce\x94\xce\x94"},
        {"\\f3 \xec{\\f0 \xec}", "\xe2\x8e\xa7\xc3\xac"},
    };
    for (const Case& c : cases) EXPECT_EQ(Text(c.body), c.text) << c.body;
}

TEST(RtfReader, CharacterFormat) {
    const Document d = ReadRtf(kHead +
                               "\\fs a\\fs30\\b\\i\\ul\\strike\\super b\\b0\\i0\\ulnone\\strike0"
                               "\\sub c\\nosupersub\\ul d\\ul0\\cf1\\highlight2 e\\cf0\\highlight0 "
                               "\\f1 f{\\b g}h\\plain i}");
    ASSERT_EQ(d.paragraphs.size(), 1u);
    const auto& runs = d.paragraphs[0].runs;
    ASSERT_EQ(runs.size(), 9u);
    const Rgb red{255, 0, 0}, yellow{255, 255, 0};
    EXPECT_EQ(runs[0].format.size, 24);
    EXPECT_EQ(runs[0].format.font, 0);
    const CharFormat& b = runs[1].format;
    EXPECT_TRUE(b.bold && b.italic && b.underline && b.strike);
    EXPECT_EQ(b.valign, VAlign::Super);
    EXPECT_EQ(b.size, 30);
    const CharFormat& c = runs[2].format;
    EXPECT_FALSE(c.bold || c.italic || c.underline || c.strike);
    EXPECT_EQ(c.valign, VAlign::Sub);
    EXPECT_TRUE(runs[3].format.underline);
    EXPECT_EQ(runs[3].format.valign, VAlign::Baseline);
    EXPECT_FALSE(runs[4].format.underline);
    EXPECT_EQ(runs[4].format.colour, red);
    EXPECT_EQ(runs[4].format.highlight, yellow);
    EXPECT_EQ(runs[5].text, "f");
    EXPECT_EQ(runs[5].format.font, 1);
    EXPECT_FALSE(runs[5].format.colour.has_value());
    EXPECT_TRUE(runs[6].format.bold);
    EXPECT_FALSE(runs[7].format.bold);  // the group restored it
    EXPECT_EQ(runs[8].format, InFont(0));
}

TEST(RtfReader, TablesAndDefaults) {
    const Document d = ReadRtf(std::string(kRtfHeader) + "x}");
    ASSERT_EQ(d.fonts.size(), 5u);
    EXPECT_EQ(d.fonts[1].name, "Times New Roman");
    EXPECT_EQ(d.fonts[3].charset, 2);
    EXPECT_EQ(EncodingOf(d.fonts[3]), FontEncoding::Symbol);
    EXPECT_EQ(d.fonts[2].family, FontFamily::Modern);
    EXPECT_EQ(d.defaultFont, 0);
    EXPECT_EQ(d.defaultTab, 720);
    EXPECT_EQ(d.language, 1036);
    // Entries without braces, a missing ';', a picture font and a \deff after the table.
    const Document e = ReadRtf(
        "{\\rtf1{\\fonttbl\\f5\\fnil Courier New;\\f7\\fcharset2 Wingdings;{\\f9 Last}}\\deff7"
        "\\f9 a\\f2 \\'41}");
    ASSERT_EQ(e.fonts.size(), 3u);
    EXPECT_EQ(e.fonts[2].name, "Last");
    EXPECT_EQ(e.defaultFont, 1);
    EXPECT_EQ(e.paragraphs[0].runs[0].format.font, 2);
    EXPECT_EQ(e.paragraphs[0].runs[1].format.font, 1);        // unknown \f2: the default font
    EXPECT_EQ(e.paragraphs[0].runs[1].text, "\xef\x81\x81");  // Wingdings byte kept as U+F041
}

// Tables as other writers make them: each paragraph's place (table,row,column,right, or "-"
// outside any table), in reading order; and the text, a row's cells between tabs.
TEST(RtfReader, TableCells) {
    struct Case {
        const char* body;
        const char* places;
        const char* text;
    } cases[] = {
        {"\\trowd\\trgaph70\\cellx1000\\cellx2500\\pard\\intbl a\\cell b\\par c\\cell\\row\\pard d",
         "0,0,0,1000 0,0,1,2500 0,0,1,2500 -", "a\tb c\nd"},
        // The row's definition after its cells, as some writers place it; a missing edge.
        {"\\pard\\intbl a\\cell b\\cell\\trowd\\cellx900\\row\\intbl c\\cell\\row\\pard\\par e",
         "0,0,0,1440 0,0,1,2880 0,1,0,900 - -", "a\tb\nc\n\ne"},
        // Two tables apart; text after the last cell is the row's; an empty \\row is no row.
        {"\\trowd\\cellx500\\intbl a\\cell\\row\\row\\pard x\\par\\trowd\\cellx700\\intbl b\\cell "
         "c\\row\\pard",
         "0,0,0,500 - 1,0,0,700 1,0,1,2140 -", "a\nx\nb\tc\n"},
        // A nested table's cells are paragraphs of the outer cell; its properties are skipped.
        {"\\trowd\\cellx3000\\pard\\intbl\\itap2 n1\\nestcell n2\\nestcell{\\*\\nesttableprops"
         "\\trowd\\cellx10\\cellx20\\nestrow}{\\nonesttables\\par}\\itap1 o\\cell\\row\\pard",
         "0,0,0,3000 0,0,0,3000 0,0,0,3000 -", "n1 n2 o\n"},
    };
    for (const Case& c : cases) {
        const Document d = ReadRtf(kHead + c.body + "}");
        std::string places;
        for (const Paragraph& p : d.paragraphs) {
            if (!places.empty()) places += ' ';
            places += p.cell ? std::to_string(p.cell->table) + "," + std::to_string(p.cell->row) +
                                   "," + std::to_string(p.cell->column) + "," +
                                   std::to_string(p.cell->right)
                             : "-";
        }
        EXPECT_EQ(places, c.places) << c.body;
        EXPECT_EQ(PlainTextUtf8(d), c.text) << c.body;
        EXPECT_TRUE(ReadRtf(WriteRtf(d)) == d) << c.body;
    }
}

TEST(RtfReader, ParagraphsAndAlignment) {
    const Document d = ReadRtf(kHead + "\\qc a\\par b\\pard\\par\\qr}");
    ASSERT_EQ(d.paragraphs.size(), 3u);
    EXPECT_EQ(d.paragraphs[0].align, Align::Center);
    EXPECT_EQ(d.paragraphs[1].align, Align::Left);
    EXPECT_EQ(d.paragraphs[2].align, Align::Right);
    EXPECT_TRUE(d.paragraphs[2].runs.empty());
}

TEST(RtfReader, NotRtfIsText) {
    EXPECT_EQ(PlainTextUtf8(ReadRtf("just text {x} more")), "just text x more");
    EXPECT_EQ(PlainTextUtf8(ReadRtf("")), "");
    EXPECT_FALSE(LooksLikeRtf("{\\rt"));
    EXPECT_TRUE(LooksLikeRtf("\r\n {\\rtf1"));
}

TEST(RtfReader, MalformedFiles) {
    struct Case {
        const char* file;
        const char* text;
    } cases[] = {
        {"unbalanced_open.rtf", "ABCD\nE"},
        {"unbalanced_close.rtf", "A"},
        {"truncated_hex_end.rtf", "A"},
        {"truncated_hex_middle.rtf", "AzzB C"},
        {"bin_past_end.rtf", "A"},
        {"colour_out_of_range.rtf", "ABCDEF"},
        {"nul_byte.rtf", "ABC"},
        {"symbol_forms.rtf",
         "\xce\x94 \xe2\x8e\xa7\xe2\x8e\xa8\xe2\x8e\xa9 \xce\x94 \xce\x94\xce\x94x"},
    };
    for (const Case& c : cases) {
        const std::string data = test::ReadDataFile(c.file);
        ASSERT_FALSE(data.empty()) << c.file;
        EXPECT_EQ(PlainTextUtf8(ReadRtf(data)), c.text) << c.file;
    }
    const Document d = ReadRtf(test::ReadDataFile("colour_out_of_range.rtf"));
    const auto& runs = d.paragraphs[0].runs;
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].text, "ABCD");  // every out-of-range index is the automatic colour
    EXPECT_FALSE(runs[0].format.colour || runs[0].format.highlight);
    EXPECT_EQ(runs[2].format.highlight, (Rgb{255, 255, 0}));
}

// Hostile sizes, built here rather than committed.
TEST(RtfReader, HugeInputs) {
    const std::string deep =
        "{\\rtf1 a" + std::string(100000, '{') + "b" + std::string(100000, '}') + "c}";
    EXPECT_EQ(PlainTextUtf8(ReadRtf(deep)), "abc");

    const std::string digits = kHead + "\\fs" + std::string(1000000, '9') + " x\\u" +
                               std::string(1000000, '1') + "?y\\uc" + std::string(100000, '7') +
                               " z}";
    const Document d = ReadRtf(digits);
    EXPECT_EQ(PlainTextUtf8(d), "x\xef\xbf\xbdyz");
    EXPECT_EQ(d.paragraphs[0].runs[0].format.size, 3276);

    std::string fonts = "{\\rtf1{\\fonttbl";
    for (int k = 0; k < 20000; ++k)
        fonts += "{\\f" + std::to_string(k) + "\\fcharset" + std::to_string(k % 3) + " F" +
                 std::to_string(k) + ";}";
    fonts += "}\\f19999 a\\f2 b}";
    const Document f = ReadRtf(fonts);
    ASSERT_EQ(f.fonts.size(), 20000u);
    EXPECT_EQ(f.paragraphs[0].runs[0].format.font, 19999);
    EXPECT_EQ(f.paragraphs[0].runs[1].text, "\xce\xb2");  // charset 2: the Symbol table

    // Work per token stays constant however long a font name or large a colour table is:
    // these would take minutes if it did not.
    std::string switches = "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset2 " +
                           std::string(200000, 'n') + ";}}{\\colortbl ;";
    for (int k = 0; k < 30000; ++k)
        switches += "\\red" + std::to_string(k % 256) + "\\green" + std::to_string(k / 256) + ";";
    switches += "}";
    for (int k = 0; k < 30000; ++k)
        switches += "\\f" + std::to_string(k % 2) + "\\cf" + std::to_string(k + 1) + " a";
    const Document s = ReadRtf(switches + "}");
    EXPECT_EQ(s.paragraphs[0].runs.size(), 30000u);
    EXPECT_EQ(ReadRtf(WriteRtf(s)), s);
    EXPECT_EQ(PlainTextCp1252(s).size(), 30000u);

    const std::string unbalanced = std::string(200000, '}') + std::string(200000, '{') + "x";
    EXPECT_EQ(PlainTextUtf8(ReadRtf(unbalanced)), "x");
}

TEST(RtfReader, GeneratedDocuments) {
    for (const auto& g : test::GeneratedDocuments()) {
        const Document d = ReadRtf(g.rtf);
        const std::string text = PlainTextUtf8(d);
        EXPECT_EQ(d.fonts.size(), 5u) << g.name;
        // A solution set writes its braces and "\\" itself: no control word is left elsewhere.
        std::string outsideSets;
        for (std::size_t at = 0, end; at < text.size(); at = end + 1) {
            end = std::min(text.find('\n', at), text.size());
            const std::string line = text.substr(at, end - at);
            if (line.find("S = ") == std::string::npos) outsideSets += line;
        }
        EXPECT_EQ(outsideSets.find('\\'), std::string::npos) << g.name;
        EXPECT_EQ(outsideSets.find('{'), std::string::npos) << g.name;
        EXPECT_NE(text.find("1\xc2\xb0/ "), std::string::npos) << g.name;
        // Nothing but whitespace follows the last paragraph mark.
        EXPECT_TRUE(d.paragraphs.back().runs.empty() ||
                    d.paragraphs.back().runs.back().text.find_first_not_of(' ') ==
                        std::string::npos)
            << g.name;
        if (g.name.ends_with("_Cor")) {
            bool highlighted = false, italic = false;
            for (const auto& p : d.paragraphs)
                for (const auto& r : p.runs) {
                    highlighted |= r.format.highlight == Rgb{255, 255, 0};
                    italic |= r.format.italic && d.fonts[r.format.font].name == "Times New Roman";
                }
            EXPECT_TRUE(highlighted && italic) << g.name;
        }
    }
}

}  // namespace
}  // namespace equat::rtf

namespace equat::rtf {
namespace {

// A PNG picture written by our writer reads back as it was, between its texts; a picture of
// another kind, or data that is no PNG, is skipped with nothing else lost.
TEST(RtfReader, PngPicturesReadBack) {
    Document doc;
    doc.paragraphs[0].runs = {rtf::Run{{}, "avant "},
                              rtf::Run{{}, "", PngPicture{"\x89PNG\r\n", 3000, 1500, 40, 20}},
                              rtf::Run{{}, " apr\xC3\xA8s"}};
    const Document back = ReadRtf(WriteRtf(doc));
    ASSERT_EQ(back.paragraphs.at(0).runs.size(), 3u);
    EXPECT_EQ(back.paragraphs[0].runs[1].picture, doc.paragraphs[0].runs[1].picture);
    EXPECT_EQ(PlainTextUtf8(back), "avant  apr\xC3\xA8s");
    for (const char* other :
         {"{\\pict\\wmetafile8\\picwgoal10\\pichgoal10 89504e47}",
          "{\\pict\\pngblip\\picwgoal10\\pichgoal10 0102}", "{\\pict\\pngblip 89504e47}",
          "{\\pict\\pngblip\\picwgoal10\\pichgoal10 89504e4}"}) {
        const Document d = ReadRtf(std::string("{\\rtf1 a") + other + "b}");
        EXPECT_EQ(PlainTextUtf8(d), "ab") << other;
        for (const rtf::Run& r : d.paragraphs.at(0).runs) EXPECT_FALSE(r.picture) << other;
    }
}

}  // namespace
}  // namespace equat::rtf
