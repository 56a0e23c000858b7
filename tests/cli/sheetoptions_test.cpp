// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/sheetoptions.h"

#include <gtest/gtest.h>

#include "core/kinds.h"

using namespace equat;

TEST(ParseSheetArgs, Accepted) {
    std::string error;
    auto job = ParseSheetArgs({"--kind", "1d", "--level", "3", "--count", "40", "--interline", "0",
                               "--title", "Classe de 3\xC3\xA8me", "--seed", "4294967295",
                               "--sheets", "5", "--output", "out", "--log", "l.txt"},
                              &error);
    ASSERT_TRUE(job) << error;
    EXPECT_EQ(job->settings.level, 3);
    EXPECT_EQ(job->settings.count, 40);
    EXPECT_EQ(job->settings.interline, 0);
    EXPECT_EQ(job->settings.title, "Classe de 3\xE8me");
    EXPECT_EQ(*job->seed, 4294967295u);
    EXPECT_EQ(job->sheets, 5);
    EXPECT_TRUE(job->settings.separatorOn);

    job = ParseSheetArgs({"--kind", "1d", "--no-separator"}, &error);
    ASSERT_TRUE(job);
    EXPECT_FALSE(job->settings.separatorOn);
    EXPECT_FALSE(job->seed);
    EXPECT_EQ(job->settings.count, 25);  // the window's design values
    EXPECT_EQ(job->settings.interline, 1);
    EXPECT_EQ(job->settings.instruction, "Calculer ");
    EXPECT_FALSE(job->pdf);

    EXPECT_EQ(job->settings.keyStyle, KeyStyle::Decimal);

    job = ParseSheetArgs({"--pdf", "--kind", "syst", "--key", "exact"}, &error);
    ASSERT_TRUE(job) << error;
    EXPECT_TRUE(job->pdf);
    EXPECT_EQ(job->settings.keyStyle, KeyStyle::Exact);
    job = ParseSheetArgs({"--kind", "1d", "--key", "detailed"}, &error);
    ASSERT_TRUE(job) << error;
    EXPECT_EQ(job->settings.keyStyle, KeyStyle::Detailed);
}

TEST(ParseSheetArgs, Refused) {
    const std::string title161(161, 'a');
    const std::string sep201(201, '-');
    const std::string code = EncodeSheetCode(SheetCode{});
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"--level", "2"},
        {"--kind", "3d"},
        {"--kind", "1d", "--level", "0"},
        {"--kind", "1d", "--level", "4"},
        {"--kind", "1d", "--level", "2x"},
        {"--kind", "1d", "--count", "41"},
        {"--kind", "1d", "--count", "0"},
        {"--kind", "1d", "--interline", "11"},
        {"--kind", "1d", "--seed", "-1"},
        {"--kind", "1d", "--seed", "4294967296"},
        {"--kind", "1d", "--sheets", "0"},
        {"--kind", "1d", "--title", title161},
        {"--kind", "1d", "--separator", sep201},
        {"--kind", "1d", "--title", "racine \xE2\x88\x9A"},
        {"--kind", "1d", "--title", "\xFF"},
        {"--kind", "1d", "--separator", "-", "--no-separator"},
        {"--kind", "1d", "--no-separator", "--separator", "-"},
        {"--kind", "1d", "--count"},
        {"--kind", "1d", "--bogus"},
        {"--kind", "1d", "--output", ""},
        {"--kind", "1d", "--key", "Detailed"},
        {"--kind", "1d", "--key", "Exact"},
        {"--kind", "1d", "--key"},
        {"--key", "exact", "--kind", "2d", "--key", "decimal"},
        {"--code", code, "--code", code},
        {"--kind", "1d", "--name", "Zo\xC3\xA9"},
        {"--code", code, "--name", "A\x1B[2J"},
        {"--code", "2345678"},
        {"--code", "", "--kind", "1d"},
        {"--code", code, "--level", "2"},
        {"--code", code, "--sheets", "3"},
        {"--code", code, "--collate", "c.pdf"},
        {"--kind", "1d", "--roster", "r.txt", "--sheets", "3"},
        {"--kind", "1d", "--answers", "g.pdf"},
        {"--kind", "1d", "--collate", "c.pdf", "--pdf"},
        {"--kind", "1d", "--adapted", "--font", "arial"},
        {"--kind", "1d", "--adapted", "--size", "12"},
        {"--kind", "1d", "--adapted", "--spacing", "3"},
        {"--kind", "1d", "--adapted", "--size", "14", "--size", "16"},
        {"--kind", "1d", "--cream"},
        {"--kind", "1d", "--standard"},
        {"--code", code, "--standard", "--adapted"},
    };
    for (const auto& args : cases) {
        std::string error;
        EXPECT_FALSE(ParseSheetArgs(args, &error)) << ::testing::PrintToString(args);
        EXPECT_FALSE(error.empty());
    }
    std::string error;
    EXPECT_TRUE(ParseSheetArgs({"--kind", "1d", "--title", std::string(160, 'a')}, &error));
    EXPECT_TRUE(ParseSheetArgs({"--kind", "1d", "--separator", std::string(200, '=')}, &error));
}

// The layout's options; a code without a layout takes the one asked for, --standard drops
// a code's own with the seed it was drawn from.
TEST(ParseSheetArgs, AdaptedLayout) {
    std::string error;
    auto job = ParseSheetArgs({"--kind", "1d", "--adapted", "--font", "opendyslexic", "--size",
                               "18", "--spacing", "2", "--cream", "--adapted-key"},
                              &error);
    ASSERT_TRUE(job) << error;
    EXPECT_EQ(job->settings.layout,
              (AdaptedLayout{true, AdaptedFont::OpenDyslexic, 18, true, true, true}));
    EXPECT_TRUE(ParseSheetArgs({"--kind", "1d", "--roster", "r.txt", "--size", "16"}, &error));
    SheetCode code;
    code.seed = 123456789;
    code.flags = LayoutFlags(job->settings.layout);
    code = WithCodeSeed(code);
    job = ParseSheetArgs({"--code", EncodeSheetCode(code), "--standard"}, &error);
    ASSERT_TRUE(job) << error;
    EXPECT_FALSE(job->settings.layout.on);
    EXPECT_EQ(job->seed, code.seed);
    EXPECT_FALSE(ParseSheetArgs({"--code", EncodeSheetCode(code), "--size", "14"}, &error));
}

TEST(ParseSheetArgs, ClassSetAndCode) {
    SheetCode code;
    code.kind = "syst";
    code.level = 3;
    code.count = 7;
    code.interline = 0;
    code.seed = 99;
    std::string error;
    auto job =
        ParseSheetArgs({"--code", EncodeSheetCode(code), "--title", "T", "--no-separator"}, &error);
    ASSERT_TRUE(job) << error;
    EXPECT_EQ(job->kind, "syst");
    EXPECT_EQ(*job->seed, 99u);
    EXPECT_EQ(job->settings.count, 7);
    EXPECT_EQ(job->settings.level, 3);
    EXPECT_EQ(job->settings.interline, 0);
    EXPECT_EQ(job->settings.code, EncodeSheetCode(code));
    EXPECT_EQ(job->settings.title, "T");
    EXPECT_FALSE(job->ClassSet());

    job = ParseSheetArgs(
        {"--kind", "1d", "--sheets", "35", "--collate", "c.pdf", "--answers", "g.pdf"}, &error);
    ASSERT_TRUE(job) << error;
    EXPECT_TRUE(job->ClassSet());
    EXPECT_EQ(job->collate, "c.pdf");
    EXPECT_EQ(job->answers, "g.pdf");
    EXPECT_TRUE(job->settings.code.empty());

    // A code of any format is taken, and shown on the copy as it was handed out.
    for (const auto format :
         {SheetCodeFormat::Short, SheetCodeFormat::Long, SheetCodeFormat::Checked}) {
        code.format = format;
        const std::string given = EncodeSheetCode(code);
        job = ParseSheetArgs({"--code", given}, &error);
        ASSERT_TRUE(job) << given << ": " << error;
        EXPECT_EQ(job->settings.code, given);
    }

    // A typing slip in a code is told in the tools' language (French here, from the test's
    // locale, when the translations are built in).
    std::string text;
    for (char c : EncodeSheetCode(code))
        if (c != '-') text += c;
    std::size_t at = 0;
    while (text[at] == text[at + 1]) ++at;
    std::swap(text[at], text[at + 1]);
    EXPECT_FALSE(ParseSheetArgs({"--code", text}, &error));
    EXPECT_NE(error.find(ToolsInFrench() ? "faute de frappe" : "a typo away"), std::string::npos)
        << error;

    // A refused code is shown escaped and cut, whatever it holds.
    EXPECT_FALSE(ParseSheetArgs({"--code", "\x1B]0;x\x07" + std::string(100000, 'Z')}, &error));
    EXPECT_EQ(error.find('\x1B'), std::string::npos);
    EXPECT_LT(error.size(), 200u);
    EXPECT_NE(error.find("\\x1B]0;x\\x07ZZ"), std::string::npos) << error;

    // A name with a copy again: as typed in the title.
    job = ParseSheetArgs({"--code", EncodeSheetCode(code), "--name", "O'Brien {x}"}, &error);
    ASSERT_TRUE(job) << error;
    EXPECT_EQ(job->settings.name, "O'Brien {x}");
}

// The help names the tables' choices in its own words: a row added to a table must be named
// there too, as a whole word.
TEST(SheetUsage, NamesEveryChoiceOfTheTables) {
    const std::string usage = SheetUsage();
    const auto named = [&](std::string_view word) {
        const auto letter = [](char c) { return std::isalnum(static_cast<unsigned char>(c)); };
        for (auto at = usage.find(word); at != std::string::npos; at = usage.find(word, at + 1))
            if ((at == 0 || !letter(usage[at - 1])) &&
                (at + word.size() == usage.size() || !letter(usage[at + word.size()])))
                return true;
        return false;
    };
    std::vector<std::string_view> words;
    for (const auto& kind : kSheetKinds) {
        words.push_back(kind.name);
        for (const auto& c : kind.cases) words.push_back(c.word);
    }
    for (const auto& style : kKeyStyles) words.push_back(style.name);
    for (const auto& font : kAdaptedFonts) words.push_back(font.name);
    for (std::string_view word : words) EXPECT_TRUE(named(word)) << word;
}
