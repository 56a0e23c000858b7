// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/classset.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

using namespace equat;

namespace {

SheetCode Shape(const char* kind, int level, int count) {
    SheetCode c;
    c.kind = kind;
    c.level = level;
    c.count = count;
    return c;
}

}  // namespace

// Every code rebuilds its copy alone, byte for byte, and no question is on two copies.
TEST(ClassSet, CopiesDifferAndEachCodeRebuildsItsCopy) {
    for (const auto& shape : {Shape("1d", 2, 25), Shape("2d", 2, 20), Shape("syst", 3, 40)}) {
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
            EXPECT_NE(copy.sheet.subject.find("Code : " + copy.codeText), std::string::npos);
            for (const auto& k : own) EXPECT_TRUE(keys.insert(k).second) << shape.kind;
        }
        EXPECT_EQ(codes.size(), 35u);
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
        {title, "Dupont Marie",
         "Dupont Marie                Pr\xE9nom :                             Classe :"},
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
        {"Adam\n\xFF\n", "Ligne 2"},
        {std::string(61, 'a'), "au plus 60"},
    };
    for (const auto& r : refused) {
        EXPECT_FALSE(ParseRoster(r.text, &error)) << r.text;
        EXPECT_NE(error.find(r.says), std::string::npos) << error;
    }
}
