// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/drawchoices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <string>
#include <vector>

#include "core/kinds.h"
#include "core/sheetcode.h"

using namespace equat;

namespace {

// Its case: the one a kind of solution sets states, else the verdict, or for the second
// degree the sign of its discriminant, which must agree with the verdict.
int CaseOfResult(const QuestionResult& r) {
    if (r.set) {
        EXPECT_TRUE(r.caseBit);
        return r.caseBit.value_or(-1);
    }
    if (r.discriminant) {
        EXPECT_EQ(*r.discriminant < 0, r.verdict == Verdict::NoRealRoot);
        return *r.discriminant < 0 ? 1 : *r.discriminant == 0 ? 2 : 0;
    }
    if (r.verdict == Verdict::Values) return 0;
    return r.verdict == Verdict::NoSolution ? 1 : 2;
}

bool OfSolutions(const QuestionResult& r, Solutions s) {
    for (const auto& v : r.values) {
        if (r.verdict != Verdict::Values && !r.set) {
            EXPECT_FALSE(v.exact);
            continue;
        }
        EXPECT_TRUE(v.exact);
        const bool rational = v.exact->b() == 0;
        if (s == Solutions::Fraction && !rational) return false;
        if (s == Solutions::Integer && !(rational && v.exact->d() == 1)) return false;
    }
    return true;
}

SheetSettings SettingsFor(int level, int count, const DrawChoices& c) {
    SheetSettings s;
    s.level = level;
    s.count = count;
    s.draw = c;
    s.exports.model = true;  // each question's kind
    return s;
}

}  // namespace

// Every kind, level (and progressive), choice of cases and of solutions, with and without
// every case, some of them mixed: each question is of a picked case with solutions of the
// asked kind, each picked case appears with every case, a mixed sheet keeps its order.
TEST(DrawChoices, EverySheetAsksWhatWasChosen) {
    RandomSource pick(2026);
    int sheets = 0;
    for (int round = 0; round < 4; ++round)
        for (int kind = 0; kind < kKindCount; ++kind)
            for (int levels = 1; levels <= 4; ++levels)
                for (unsigned cases = 0; cases <= kAllCases; ++cases)
                    for (const auto& sol : kSolutions) {
                        DrawChoices c;
                        c.cases = cases;
                        c.solutions = sol.value;
                        c.progressive = levels == 4;
                        c.everyCase = pick.RandomInt(2) == 1;
                        if (pick.RandomInt(4) == 0) {
                            c.mixedKinds =
                                (1u << kind) | (1u << ((kind + 1 + pick.RandomInt(2)) % 3));
                            if (pick.RandomInt(2) == 0) c.mixedKinds = 7u | (1u << kind);
                            c.interleaved = pick.RandomInt(2) == 1;
                        }
                        // Room for every case of every kind of the mix.
                        const int count = std::max(9 + pick.RandomInt(32),
                                                   kCaseCount * std::popcount(c.mixedKinds));
                        ASSERT_FALSE(DrawChoicesError(c, kind, count));
                        const auto settings = SettingsFor(levels == 4 ? 1 : levels, count, c);
                        RandomSource rng(static_cast<std::uint32_t>(pick.RandomInt(1 << 30)));
                        const auto questions = MakeSheetKind(kSheetKinds[kind].name, c);
                        const Sheet sheet = BuildSheet(*questions, rng, settings);
                        ++sheets;
                        SCOPED_TRACE(sheet.baseName + " cases " + std::to_string(cases) + " " +
                                     std::string(sol.word) + (c.everyCase ? " every" : "") +
                                     " mixed " + std::to_string(c.mixedKinds));
                        ASSERT_EQ(sheet.results.size(), static_cast<std::size_t>(count));
                        std::vector<int> kinds;
                        for (int k = 0; k < kKindCount; ++k)
                            if (c.IsMixed() ? (c.mixedKinds >> k) & 1u : k == kind)
                                kinds.push_back(k);
                        std::vector<unsigned> seen(kKindCount, 0);
                        int previous = 0;
                        for (int i = 0; i < count; ++i) {
                            const auto& r = sheet.results[static_cast<std::size_t>(i)];
                            const int k =
                                KindIndex(sheet.model->questions[static_cast<std::size_t>(i)].kind);
                            if (c.interleaved) {
                                EXPECT_EQ(k, kinds[static_cast<std::size_t>(i) % kinds.size()]);
                            }
                            EXPECT_GE(k, previous) << "question " << i + 1;
                            if (!c.interleaved) previous = k;
                            const int q = CaseOfResult(r);
                            EXPECT_TRUE((c.PickedCases() >> q) & 1u) << "question " << i + 1;
                            EXPECT_TRUE(OfSolutions(r, c.solutions)) << "question " << i + 1;
                            seen[static_cast<std::size_t>(k)] |= 1u << q;
                        }
                        for (int k : kinds) {
                            if (c.everyCase) {
                                EXPECT_EQ(seen[static_cast<std::size_t>(k)], c.PickedCases());
                            }
                            EXPECT_NE(seen[static_cast<std::size_t>(k)], 0u);
                        }
                        EXPECT_NE(sheet.baseName.find(c.progressive ? "1-3_" : "_N"),
                                  std::string::npos);
                    }
    EXPECT_EQ(sheets, 4 * kKindCount * 4 * 8 * 3);
}

TEST(DrawChoices, ImpossibleRequestsAreRefusedBeforeDrawing) {
    struct Row {
        unsigned cases;
        bool every;
        unsigned mixed;
        int kind, count;
        bool refused;
    };
    const Row rows[] = {
        {0, true, 0, 0, 2, true},    // three cases, two questions
        {0, true, 0, 0, 3, false},   //
        {6, true, 0, 1, 1, true},    // two picked cases, one question
        {2, true, 0, 2, 1, false},   // one picked case
        {0, false, 7, 0, 2, true},   // three kinds, two questions
        {3, true, 3, 0, 3, true},    // two cases for each of two kinds in three questions
        {3, true, 3, 1, 4, false},   //
        {0, false, 2, 1, 10, true},  // a mix of one kind
        {0, false, 6, 0, 10, true},  // the sheet's kind outside its mix
        {8, false, 0, 0, 10, true},  // a case no kind has
    };
    for (const Row& row : rows) {
        DrawChoices c;
        c.cases = row.cases;
        c.everyCase = row.every;
        c.mixedKinds = row.mixed;
        EXPECT_EQ(DrawChoicesError(c, row.kind, row.count).has_value(), row.refused)
            << row.cases << " " << row.mixed << " " << row.count;
    }
}

// A copy's code carries its choices: decoded, it rebuilds the same documents; bits this
// program never writes are refused.
TEST(DrawChoices, CodesCarryTheChoices) {
    RandomSource pick(7);
    for (int n = 0; n < 60; ++n) {
        SheetCode code;
        const int kind = pick.RandomInt(kKindCount);
        code.kind = kSheetKinds[kind].name;
        code.level = 1 + pick.RandomInt(3);
        code.count = 12 + pick.RandomInt(29);
        code.seed = static_cast<std::uint32_t>(pick.RandomInt(1 << 30));
        DrawChoices c;
        c.cases = static_cast<unsigned>(pick.RandomInt(8));
        c.everyCase = pick.RandomInt(2) == 1;
        c.solutions = kSolutions[pick.RandomInt(3)].value;
        c.progressive = pick.RandomInt(2) == 1;
        if (pick.RandomInt(2) == 1) {
            c.mixedKinds = (1u << kind) | (1u << ((kind + 1) % 3));
            c.interleaved = pick.RandomInt(2) == 1;
        }
        code.flags = DrawChoicesFlags(c);
        code = WithCodeSeed(code);
        std::string error;
        const auto back = DecodeSheetCode(EncodeSheetCode(code), &error);
        ASSERT_TRUE(back) << error;
        EXPECT_EQ(*back, code);
        EXPECT_EQ(SettingsForCode(*back, {}).draw, c);
        const Sheet again = BuildSheetFromCode(*back, {});
        RandomSource rng(CodeSeed(code));
        const auto questions = MakeSheetKind(code.kind, c);
        const Sheet direct = BuildSheet(*questions, rng, SettingsForCode(code, {}));
        EXPECT_EQ(again.answerKey, direct.answerKey);
        EXPECT_EQ(again.subject, direct.subject);
    }
    SheetCode bad;
    bad.flags = 3u << 5;  // a fourth kind of solutions
    std::string error;
    EXPECT_FALSE(DecodeSheetCode(EncodeSheetCode(bad), &error));
    EXPECT_EQ(DrawChoicesFlags({}), 0u);
}

// The window's stored number holds every choice a code holds, a mix of any of sixteen kinds
// too; choices of the first three kinds keep the number earlier versions stored.
TEST(DrawChoices, PackedChoicesKeepEveryKindOfAMix) {
    RandomSource pick(11);
    for (int n = 0; n < 500; ++n) {
        DrawChoices c;
        c.cases = static_cast<unsigned>(pick.RandomInt(8));
        c.everyCase = pick.RandomInt(2) == 1;
        c.solutions = kSolutions[pick.RandomInt(3)].value;
        c.progressive = pick.RandomInt(2) == 1;
        c.mixedKinds = static_cast<unsigned>(pick.RandomInt(1 << 16)) & (n % 2 ? 0xFFFFu : 7u);
        c.interleaved = c.IsMixed() && pick.RandomInt(2) == 1;
        if (!c.IsMixed()) c.mixedKinds = 0;
        const std::uint32_t packed = PackedDrawChoices(c);
        ASSERT_LE(packed, kMaxPackedDrawChoices);
        EXPECT_EQ(DrawChoicesFromPacked(packed), DrawChoicesFromFlags(DrawChoicesFlags(c)));
        EXPECT_EQ(DrawChoicesFromPacked(packed)->mixedKinds, c.mixedKinds);
        if (c.mixedKinds < 8) {
            EXPECT_EQ(packed, DrawChoicesFlags(c));
        }
    }
    EXPECT_FALSE(DrawChoicesFromPacked(kMaxPackedDrawChoices + 2));
}

// Restricting the solutions keeps the level's mix of cases: integer roots are rare enough
// that waiting for any question with integer solutions would leave mostly "no real root".
TEST(DrawChoices, RestrictedSolutionsKeepTheLevelsMixOfCases) {
    for (int kind = 0; kind < kKindCount; ++kind)
        for (int level = 1; level <= 3; ++level)
            for (Solutions sol : {Solutions::Integer, Solutions::Fraction})
                for (std::uint32_t seed = 1; seed <= 5; ++seed) {
                    DrawChoices c;
                    c.solutions = sol;
                    RandomSource rng(seed * 7919u);
                    const auto questions = MakeSheetKind(kSheetKinds[kind].name, c);
                    const Sheet sheet = BuildSheet(*questions, rng, SettingsFor(level, 40, c));
                    int usual = 0, drawn = 0;
                    for (const auto& r : sheet.results) usual += CaseOfResult(r) == 0;
                    // At least half as many as the level's own draw gives.
                    RandomSource own(seed * 7919u);
                    for (const auto& r : BuildSheet(*MakeKind(kSheetKinds[kind].name), own,
                                                    SettingsFor(level, 40, {}))
                                             .results)
                        drawn += CaseOfResult(r) == 0;
                    EXPECT_GE(2 * usual, drawn)
                        << kSheetKinds[kind].name << " level " << level << " seed " << seed;
                }
}
