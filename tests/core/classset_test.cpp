// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/classset.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "core/kinds.h"
#include "core/quiz.h"
#include "core/titlemarkup.h"

using namespace equat;

namespace {

SheetCode Shape(const char* kind, int level, int count, std::uint32_t flags = 0) {
    SheetCode c;
    c.kind = kind;
    c.level = level;
    c.count = count;
    c.flags = flags;
    return c;
}

}  // namespace

// Every code rebuilds its copy alone, byte for byte, and no question is on two copies.
TEST(ClassSet, CopiesDifferAndEachCodeRebuildsItsCopy) {
    for (const auto& shape : {Shape("1d", 2, 25), Shape("2d", 2, 20), Shape("syst", 3, 40),
                              Shape("1d", 2, 25, kSheetCodeDecimalComma)}) {
        RandomSource stream(2026);
        int repeats = -1;
        const auto set = BuildClassSet(shape, SheetSettings{}, stream, 35, {}, &repeats);
        ASSERT_EQ(set.size(), 35u);
        EXPECT_EQ(repeats, 0) << shape.kind;
        std::set<std::string> codes, keys;
        for (const auto& copy : set) {
            codes.insert(copy.codeText);
            std::string error;
            const auto decoded = DecodeSheetCode(copy.codeText, &error);
            ASSERT_TRUE(decoded) << error;
            std::vector<std::string> own;
            const Sheet again = BuildSheetFromCode(*decoded, SheetSettings{}, &own);
            EXPECT_EQ(again.subject, copy.sheet.subject);
            EXPECT_EQ(again.answerKey, copy.sheet.answerKey);
            EXPECT_EQ(decoded->flags, shape.flags);  // decimal commas come back with the code
            EXPECT_NE(copy.sheet.subject.find("Code : " + copy.codeText), std::string::npos);
            for (const auto& k : own) EXPECT_TRUE(keys.insert(k).second) << shape.kind;
        }
        EXPECT_EQ(codes.size(), 35u);
    }
}

// Every new copy gets a checked code, whatever made it and whether or not it needs the room.
TEST(ClassSet, NewCopiesGetCheckedCodes) {
    const auto request = [](const char* kind, std::vector<std::string> names,
                            std::vector<CopyChoice> choices) {
        ClassSetRequest r;
        r.kind = kind;
        r.copies = 3;
        r.names = std::move(names);
        r.choices = std::move(choices);
        return r;
    };
    const std::function<ClassSet(RandomSource&)> makers[] = {
        [&](RandomSource& s) { return MakeClassSet(request("1d", {}, {}), s); },
        [&](RandomSource& s) {
            return MakeClassSet(request("syst", {"A", "B"}, {{3, false}, {0, true}}), s);
        },
        [](RandomSource& s) { return MakeQuiz(QuizRequest{}, s); },
    };
    for (const auto& make : makers) {
        RandomSource stream(7);
        for (const auto& copy : make(stream).copies) {
            std::string error;
            const auto read = ReadSheetCode(copy.codeText, &error);
            ASSERT_TRUE(read) << copy.codeText << ": " << error;
            EXPECT_EQ(read->format, SheetCodeFormat::Checked) << copy.codeText;
            EXPECT_EQ(copy.codeText.size(), kCheckedSheetCodeLength + 3) << copy.codeText;
        }
    }
}

// A level with too few questions for the set still gives every copy, with the repeats told.
TEST(ClassSet, TooFewQuestionsGiveTheFewestRepeats) {
    RandomSource stream(5);
    int repeats = 0;
    const auto set = BuildClassSet(Shape("2d", 1, 40), SheetSettings{}, stream, 40, {}, &repeats);
    EXPECT_EQ(set.size(), 40u);
    EXPECT_GT(repeats, 0);
    EXPECT_LT(repeats, 200);
}

TEST(ClassSet, NamesTakeThePlaceOfNomAndOrderTheKeys) {
    const std::string title(kDefaultTitle);
    const struct {
        std::string title, name, expected;
    } cases[] = {
        // A full name: no "Prénom :" after it, "Classe :" where it was.
        {title, "Dupont Marie", "Dupont Marie" + std::string(53, ' ') + "Classe :"},
        {title, "Marie",
         "Marie                       Pr\xE9nom :                             Classe :"},
        // Shown as typed: RTF's signs and tags escaped.
        {"Nom : C", "Zo\xE9 {x} \\par <te=72>", "Zo\xE9 \\{x\\} \\\\par \\'3cte=72>   C"},
        {"Nom : Classe", "Lefebvre-Durand Anne", "Lefebvre-Durand Anne   Classe"},
        {"Contr\xF4le", "Li", "Li   Contr\xF4le"},
    };
    for (const auto& c : cases) EXPECT_EQ(TitleWithName(c.title, c.name), c.expected);

    RandomSource stream(1);
    int repeats = 0;
    const std::vector<std::string> names = {"\xC9lodie", "bernard", "Zo\xE9", "Adam", "bernard"};
    const auto set = BuildClassSet(Shape("1d", 1, 3), SheetSettings{}, stream, 0, names, &repeats);
    ASSERT_EQ(set.size(), 5u);
    EXPECT_NE(set[2].sheet.subject.find("Zo\xE9"), std::string::npos);
    EXPECT_EQ(OrderByName(set), (std::vector<std::size_t>{3, 1, 4, 0, 2}));
}

TEST(ClassSet, RosterLines) {
    std::string error;
    const auto names = ParseRoster("\xEF\xBB\xBF  Zo\xC3\xA9 Martin \r\n\n\t\nAdam\n", &error);
    ASSERT_TRUE(names) << error;
    EXPECT_EQ(*names, (std::vector<std::string>{"Zo\xE9 Martin", "Adam"}));

    const struct {
        std::string text, says;
    } refused[] = {
        {"\n \r\n", "aucun nom"},
        {"Adam\nNa\xE2\x88\x9A\n", "Ligne 2"},
        {std::string(61, 'a'), "au plus 60"},
        {"Adam\nA\x01m\n", "Ligne 2 de la liste : un caract\xE8re de contr\xF4le"},
        {std::string("Adam\rBob\rA\0m", 12), "Ligne 3"},
        {[] {
             std::string many;
             for (int k = 0; k < 201; ++k) many += "a\n";
             return many;
         }(),
         "Ligne 201 de la liste : une liste a au plus 200"},
    };
    for (const auto& r : refused) {
        EXPECT_FALSE(ParseRoster(r.text, &error)) << r.text;
        EXPECT_NE(error.find(r.says), std::string::npos) << error;
    }

    // What spreadsheets and other editors write, read as the names typed.
    const struct {
        std::string bytes;
        std::vector<std::string> names;
    } read[] = {
        {"Alice\rBob\rCarl", {"Alice", "Bob", "Carl"}},
        {"L\xE9"
         "a\r\nAdam\xFF\n",
         {"L\xE9"
          "a",
          "Adam\xFF"}},                                                     // Windows-1252
        {std::string("\xFF\xFEL\0\xE9\0\n\0", 8), {"L\xE9"}},               // UTF-16LE
        {std::string("\xFE\xFF\0Z\0\xE9\0\r\0\n\0B", 12), {"Z\xE9", "B"}},  // UTF-16BE
        {"Martin\tZo\xC3\xA9\n", {"Martin Zo\xE9"}},
    };
    for (const auto& r : read) {
        const auto got = ParseRoster(r.bytes, &error);
        ASSERT_TRUE(got || r.names.empty()) << error;
        EXPECT_EQ(*got, r.names);
    }
}

// A copy keeps the settings it was made with, which the PDFs read (strips, cream pages): they
// make its documents again, each copy in its own layout and level.
TEST(ClassSet, EachCopyKeepsTheSettingsThatMadeIt) {
    ClassSetRequest r;
    r.kind = "2d";
    r.names = {"Ada", "Bob"};
    r.choices = {{0, true}, {3, false}};
    r.settings.keyStyle = KeyStyle::Strip;
    r.settings.layout.cream = true;
    r.settings.layout.key = true;
    RandomSource stream(11);
    for (const auto& copy : MakeClassSet(r, stream).copies) {
        const SheetSettings& s = *copy.sheet.settings;
        EXPECT_EQ(s.layout.on, copy.name == "Ada");
        EXPECT_TRUE(s.layout.cream);
        EXPECT_EQ(s.level, copy.name == "Ada" ? 1 : 3);
        EXPECT_EQ(s.keyStyle, KeyStyle::Strip);
        RandomSource rng(CodeSeed(copy.code));
        const Sheet again = BuildSheet(*MakeSheetKind(copy.code.kind, s.draw), rng, s);
        EXPECT_EQ(again.subject, copy.sheet.subject) << copy.name;
        EXPECT_EQ(again.answerKey, copy.sheet.answerKey) << copy.name;
    }
}
