// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtf/writer.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "rtf/reader.h"
#include "rtf/symbol.h"
#include "rtf_test_util.h"

namespace equat::rtf {
namespace {

inline CharFormat InFont(int font) {
    CharFormat f;
    f.font = font;
    return f;
}

Document OneParagraph(std::vector<Font> fonts, std::vector<Run> runs) {
    Document d;
    d.fonts = std::move(fonts);
    d.defaultFont = d.fonts.empty() ? -1 : 0;
    d.paragraphs[0].runs = std::move(runs);
    return d;
}

const Font kArial{"Arial", 0, FontFamily::Swiss, 2};
const Font kSymbol{"Symbol", 2, FontFamily::Roman, 2};

TEST(RtfWriter, SymbolFontTextIsUnicodeWithTheSymbolByteAsFallback) {
    // Delta, the brace pieces and '=' in the Symbol font; a letter the font cannot draw.
    const Document d = OneParagraph(
        {kArial, kSymbol}, {rtf::Run{InFont(1), "\xce\x94\xe2\x8e\xa7\xe2\x8e\xa8\xe2\x8e\xa9=a"}});
    const std::string rtf = WriteRtf(d);
    EXPECT_NE(rtf.find("\\f1 {\\uc2\\f0\\u916\\f1\\'44\\f0\\u9127\\f1\\'ec\\f0\\u9128\\f1\\'ed"
                       "\\f0\\u9129\\f1\\'ee\\f0\\u61\\f1\\'3d}{\\f0 a}"),
              std::string::npos)
        << rtf;
    EXPECT_EQ(ReadRtf(rtf), ReadRtf(WriteRtf(ReadRtf(rtf))));
    EXPECT_EQ(PlainTextUtf8(ReadRtf(rtf)), PlainTextUtf8(d));
}

// Every way a Symbol-font character is spelled reads as the same model, and that model
// survives saving: the font's bytes, \u with a fallback in the font, its private code
// points, and our own saved form (\u in a text font, the font and its byte as fallback).
TEST(RtfWriter, SymbolFormsReadAsOneModelThatRoundTrips) {
    const std::string head =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
        "{\\f3\\froman\\fcharset2 Symbol;}}\\pard\\f3 ";
    const char* forms[] = {
        "D \\'ec\\'d6\\'bb",
        "\\u916\\'44\\u32\\'20\\u9127\\'ec\\u8730\\'d6\\u8776\\'bb",
        "\\uc0\\u-4028\\u-4064 \\u-3860 \\u-3882 \\u-3909 ",
        "{\\uc2\\f0\\u916\\f3\\'44\\f0\\u32\\f3\\'20\\f0\\u9127\\f3\\'ec\\f0\\u8730\\f3\\'d6"
        "\\f0\\u8776\\f3\\'bb}",
        "{\\f0\\uc2\\u916\\f3\\'44}{\\f0\\uc2\\u32\\f3\\'20}{\\f0\\uc2\\u9127\\f3\\'ec}"
        "{\\f0\\uc2\\u8730\\f3\\'d6}{\\f0\\uc2\\u8776\\f3\\'bb}",
    };
    const Document expected = ReadRtf(head + forms[0] + "}");
    EXPECT_EQ(PlainTextUtf8(expected), "\xce\x94 \xe2\x8e\xa7\xe2\x88\x9a\xe2\x89\x88");
    for (const char* form : forms) {
        const Document d = ReadRtf(head + form + "}");
        EXPECT_EQ(d, expected) << form;
        EXPECT_EQ(ReadRtf(WriteRtf(d)), d) << form;
    }
    // The whole font, with a text font that is not the first one.
    std::string all =
        "{\\rtf1\\ansi\\deff1{\\fonttbl{\\f0\\froman\\fcharset2 Symbol;}"
        "{\\f1\\fswiss\\fcharset0 Arial;}}\\pard\\f0 ";
    for (int b = 0x20; b <= 0xFF; ++b)
        all += "\\'" + std::string(1, "0123456789abcdef"[b >> 4]) + "0123456789abcdef"[b & 15];
    const Document whole = ReadRtf(all + "}");
    const std::string saved = WriteRtf(whole);
    EXPECT_EQ(ReadRtf(saved), whole);
    // Without a text font the bytes stay: a font added for them would be read back.
    const Document symbolOnly = ReadRtf("{\\rtf1{\\fonttbl{\\f0\\fcharset2 Symbol;}}D\\'ec}");
    EXPECT_EQ(ReadRtf(WriteRtf(symbolOnly)), symbolOnly);
    EXPECT_NE(saved.find("{\\uc2\\f1\\u32\\f0\\'20\\f1\\u33\\f0\\'21"), std::string::npos) << saved;
}

TEST(RtfWriter, TextEscapes) {
    struct Case {
        const char* utf8;
        const char* rtf;
    } cases[] = {
        {"a{b}\\c", "a\\{b\\}\\\\c"},
        {"\xc3\xa9\xe2\x82\xac", "\\'e9\\'80"},
        {"\xce\x94", "\\u916?"},
        {"\xef\xbf\xbd", "\\u-3?"},
        {"\xf0\x9f\x98\x80", "\\u-10179?\\u-8704?"},
        {"a\tb\xe2\x80\xa8"
         "c",
         "a\\tab b\\line c"},
    };
    for (const Case& c : cases) {
        const Document d = OneParagraph({kArial}, {rtf::Run{InFont(0), c.utf8}});
        const std::string rtf = WriteRtf(d);
        EXPECT_NE(rtf.find(std::string("\\fs24 ") + c.rtf + "}"), std::string::npos) << rtf;
        EXPECT_EQ(PlainTextUtf8(ReadRtf(rtf)), PlainTextUtf8(d)) << c.rtf;
    }
}

TEST(RtfWriter, PictureFontWithoutTextFontGetsOne) {
    const Document d = OneParagraph({kSymbol}, {rtf::Run{InFont(0), "\xce\xb1z"}});
    const Document back = ReadRtf(WriteRtf(d));
    ASSERT_EQ(back.fonts.size(), 2u);
    EXPECT_EQ(back.fonts[1].name, "Arial");
    EXPECT_EQ(PlainTextUtf8(back), "\xce\xb1z");
}

TEST(RtfWriter, EmptyDocumentAndEmptyParagraphs) {
    Document d;
    EXPECT_EQ(ReadRtf(WriteRtf(d)), ReadRtf(WriteRtf(ReadRtf(WriteRtf(d)))));
    EXPECT_EQ(PlainTextUtf8(ReadRtf(WriteRtf(d))), "");
    d.paragraphs.resize(3);
    EXPECT_EQ(ReadRtf(WriteRtf(d)).paragraphs.size(), 3u);
}

TEST(RtfWriter, PlainTextCp1252) {
    const Document d = OneParagraph(
        {kArial, kSymbol},
        {rtf::Run{InFont(0), "\xc3\xa9\xce\x94"}, rtf::Run{InFont(1), "\xce\x94\xe2\x8e\xa7"}});
    EXPECT_EQ(PlainTextCp1252(d), "\xe9?D\xec");
}

TEST(RtfWriter, SymbolTableRoundTrips) {
    for (int b = 0x20; b <= 0xFF; ++b) {
        const char32_t cp = SymbolToUnicode(static_cast<unsigned char>(b));
        const auto back = UnicodeToSymbol(cp);
        ASSERT_TRUE(back.has_value()) << b;
        // Only the three sans-serif duplicates of (R), (C) and TM come back as their serif bytes.
        if (b >= 0xE2 && b <= 0xE4)
            EXPECT_EQ(*back, b - 0x10);
        else
            EXPECT_EQ(*back, b);
    }
    EXPECT_EQ(SymbolToUnicode('D'), U'\u0394');
    EXPECT_EQ(SymbolToUnicode(0xEC), U'\u23A7');
    EXPECT_EQ(SymbolToUnicode(0xED), U'\u23A8');
    EXPECT_EQ(SymbolToUnicode(0xEE), U'\u23A9');
    EXPECT_EQ(UnicodeToSymbol(U'\uF044'), 'D');
}

// Read, write, read again: the second reading equals the first.
TEST(RtfWriter, RoundTripKeepsTheModel) {
    std::vector<test::Generated> inputs = test::GeneratedDocuments();
    for (const auto& e : std::filesystem::directory_iterator(EQUAT_TEST_DATA))
        if (e.path().extension() == ".rtf")
            inputs.push_back(
                {e.path().filename().string(), test::ReadDataFile(e.path().filename().string())});
    for (const auto& in : inputs) {
        const Document first = ReadRtf(in.rtf);
        const Document second = ReadRtf(WriteRtf(first));
        EXPECT_EQ(first, second) << in.name;
    }
}

// Line spacing as a multiple of the line and space after a paragraph, as adapted sheets
// use them; an exact height (no \\slmult) reads as a single line, as before.
TEST(RtfWriter, ParagraphSpacingRoundTrips) {
    const Document doc = ReadRtf(
        "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\sl360\\slmult1 a\\sa1260\\par\\sa0 b\\par\\pard "
        "c\\par\\sl-300 d}");
    ASSERT_EQ(doc.paragraphs.size(), 4u);
    const int line[] = {360, 360, 0, 0}, after[] = {1260, 0, 0, 0};
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(doc.paragraphs[k].lineSpacing, line[k]) << k;
        EXPECT_EQ(doc.paragraphs[k].spaceAfter, after[k]) << k;
    }
    EXPECT_EQ(ReadRtf(WriteRtf(doc)), doc);
}

}  // namespace
}  // namespace equat::rtf
