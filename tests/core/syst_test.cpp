// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/syst.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/markup.h"
#include "core/numbertext.h"
#include "core/sheet.h"
#include "core_test_helpers.h"
#include "golden.h"
#include "reference_fixed2.h"

namespace equat {
namespace {

const std::string kX = "<times><i><te=26> x <te=18></i><arial>";
const std::string kY = "<times><i><te=26> y <te=18></i><arial>";
const std::string kTop = "     <te=24><symbol>\xEC <te=18><arial>";
const std::string kMid = "     <te=24><symbol>\xED <te=18><arial><br>";
const std::string kBot = "     <te=24><symbol>\xEE <te=18><arial>";
const std::string kIndeterminate = "  Syst\xE8me ind\xE9termin\xE9 (infinit\xE9 de solutions)";
const std::string kImpossible = "  Syst\xE8me impossible (aucune solution)";

std::string Brace(const std::string& eq1, const std::string& eq2) {
    return MarkupToRtf("<br>" + kTop + eq1 + "<br>" + kMid + kBot + eq2 + "<br>");
}

Sheet MakeSheet(int level, std::uint32_t seed, int count) {
    SystemKind kind;
    RandomSource rng(seed);
    SheetSettings settings;
    settings.level = level;
    settings.count = count;
    return BuildSheet(kind, rng, settings);
}

bool IsVerdict(const std::string& t) {
    return t == "?" || t == "/";
}

std::int64_t Det(const ReducedEquation& e1, const ReducedEquation& e2) {
    return std::int64_t{e1.a} * e2.b - std::int64_t{e1.b} * e2.a;
}

// The texts of a reduced system: numbers that satisfy both equations within the
// two-decimal rounding, or verdicts exactly when the determinant is 0, saying the right thing.
void ExpectSolves(const SystemQuestion& q, const ReducedEquation& e1, const ReducedEquation& e2) {
    const std::int64_t d = Det(e1, e2);
    ASSERT_EQ(d == 0, IsVerdict(q.x)) << q.x;
    ASSERT_EQ(d == 0, IsVerdict(q.y)) << q.y;
    if (d == 0) {
        const std::int64_t dx = std::int64_t{e1.c} * e2.b - std::int64_t{e1.b} * e2.c;
        const std::int64_t dy = std::int64_t{e1.a} * e2.c - std::int64_t{e1.c} * e2.a;
        EXPECT_EQ(q.x, dx == 0 ? "?" : "/");
        EXPECT_EQ(q.y, dy == 0 ? "?" : "/");
        return;
    }
    const double x = std::stod(q.x), y = std::stod(q.y);
    for (const auto& e : {e1, e2}) {
        const double tolerance = (std::abs(e.a) + std::abs(e.b)) * 0.005 + 1e-9;
        EXPECT_NEAR(e.a * x + e.b * y, e.c, tolerance) << q.x << " " << q.y;
    }
}

ReducedEquation Plain(const EquationSlots& s) {
    return {s[0], s[1], s[2]};
}

bool InRange(std::int32_t v, int lo, int hi) {
    return v >= lo && v <= hi;
}

TEST(Writers, PlainForm) {
    EXPECT_EQ(WriteSystemPlain(1, -1, -7, -1, 1, 0),
              Brace(kX + " - " + kY + "  = -7", "-" + kX + " + " + kY + "  = 0"));
    EXPECT_EQ(WriteSystemPlain(3, 12, 45, -2, -5, 8),
              Brace("3" + kX + " + 12" + kY + "  = 45", "-2" + kX + " - 5" + kY + "  = 8"));
    // The brace pieces are Symbol-font characters 236, 237 and 238, one per line.
    EXPECT_TRUE(
        WriteSystemPlain(1, 1, 1, 1, 1, 1).starts_with("\\par      \\fs24 \\f3 \xEC \\fs18 \\f0 "));
    EXPECT_NE(WriteSystemPlain(1, 1, 1, 1, 1, 1).find("\\f3 \xED \\fs18 \\f0 \\par "),
              std::string::npos);
}

TEST(Writers, TwoSidedAndBracketedForms) {
    const EquationSlots t1{2, 3, 0, -1, 1, -4, 0, 0}, t2{-5, -1, 1, 7, 12, 0, 0, 0};
    EXPECT_EQ(WriteSystemTwoSided(t1, t2),
              Brace("2" + kX + " + 3" + kY + "       = -" + kX + " + " + kY + "  - 4",
                    "-5" + kX + " - " + kY + " + 1  = 7" + kX + " + 12" + kY + "      "));
    const EquationSlots b1{2, 3, -1, 0, -3, 1, 2, 5}, b2{-1, -2, 1, -6, 4, 14, -14, 0};
    EXPECT_EQ(WriteSystemBracketed(b1, b2),
              Brace("2 (3" + kX + " - " + kY + ")       = -3 (" + kX + " + 2" + kY + ")  + 5",
                    "- (-2" + kX + " + " + kY + ") - 6  = 4 (14" + kX + " - 14" + kY + ")      "));
}

TEST(Solve, TextsOfEachCase) {
    struct Case {
        std::int32_t a1, b1, c1, a2, b2, c2;
        const char* x;
        const char* y;
    };
    const Case cases[] = {
        {3, 0, 7, 0, 1, -1, "2.33", "-1"},
        {2, 0, -1, 0, 1, 5, "-0.5", "5"},
        {1000, 0, -1, 0, 1, 0, "0", "0"},  // −0.001 rounds to 0, shown without sign
        {1, 1, 5, 1, -1, 1, "3", "2"},
        {1, 2, 3, 2, 4, 6, "?", "?"},
        {1, 2, 3, 2, 4, 7, "/", "/"},
        {2, 0, 3, 4, 0, 5, "?", "/"},  // y absent from both: the mixed texts
        // The determinant 65536² wraps to 0 in 32 bits.
        {65536, 0, 1, 0, 65536, 1, "/", "/"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SolveForX(c.a1, c.b1, c.c1, c.a2, c.b2, c.c2), c.x) << c.a1 << " " << c.c2;
        EXPECT_EQ(SolveForY(c.a1, c.b1, c.c1, c.a2, c.b2, c.c2), c.y) << c.a1 << " " << c.c2;
    }
}

// Quotients land on every half-hundredth (1/200, 3/200, ...) and next to them: those
// round away from zero, from the exact quotient.
TEST(Solve, QuotientTextsRoundTheExactValue) {
    for (std::int32_t n = -700; n <= 700; ++n) {
        for (std::int32_t d = -90; d <= 400; ++d) {
            if (d == 0) continue;
            // x = n / d, y = 0: a1 = d, b1 = 0, c1 = n; a2 = 0, b2 = 1, c2 = 0.
            ASSERT_EQ(SolveForX(d, 0, n, 0, 1, 0), equat::test::ReferenceFixed2(n, d))
                << n << "/" << d;
        }
    }
}

// Every sign and size case of the coefficient writers, with the markup written from them.
TEST(Writers, AgreeWithTheCoefficientWriters) {
    const std::int32_t values[] = {INT32_MIN, -14, -2, -1, 0, 1, 2, 29};
    auto two = [](const EquationSlots& s) {
        return LeadCoefText(s[0]) + kX + SignedCoefText(s[1]) + kY + ConstTermText(s[2]) + "  = " +
               LeadCoefText(s[3]) + kX + SignedCoefText(s[4]) + kY + " " + ConstTermText(s[5]);
    };
    auto bracket = [](const EquationSlots& s) {
        return LeadCoefText(s[0]) + " (" + LeadCoefText(s[1]) + kX + SignedCoefText(s[2]) + kY +
               ")" + ConstTermText(s[3]) + "  = " + LeadCoefText(s[4]) + " (" + LeadCoefText(s[5]) +
               kX + SignedCoefText(s[6]) + kY + ") " + ConstTermText(s[7]);
    };
    auto plain = [](const EquationSlots& s) {
        return LeadCoefText(s[0]) + kX + SignedCoefText(s[1]) + kY + "  = " + std::to_string(s[2]);
    };
    RandomSource rng(7);
    auto pick = [&] { return values[rng.RandomInt(static_cast<int>(std::size(values)))]; };
    for (int round = 0; round < 3000; ++round) {
        EquationSlots e1, e2;
        for (auto& v : e1) v = pick();
        for (auto& v : e2) v = pick();
        ASSERT_EQ(WriteSystemTwoSided(e1, e2), Brace(two(e1), two(e2)));
        ASSERT_EQ(WriteSystemBracketed(e1, e2), Brace(bracket(e1), bracket(e2)));
        ASSERT_EQ(WriteSystemPlain(e1[0], e1[1], e1[2], e2[0], e2[1], e2[2]),
                  Brace(plain(e1), plain(e2)));
    }
}

TEST(Solve, Reductions) {
    const auto t = ReduceTwoSided({2, 3, 1, 5, -1, 4, 0, 0});
    EXPECT_EQ(t.a, -3);
    EXPECT_EQ(t.b, 4);
    EXPECT_EQ(t.c, 3);
    const auto b = ReduceBracketed({2, 3, -1, 4, -3, 1, 2, 5});
    EXPECT_EQ(b.a, 9);
    EXPECT_EQ(b.b, 4);
    EXPECT_EQ(b.c, 1);
}

TEST(Bodies, SolutionLineAndVerdicts) {
    struct Case {
        int level;
        const char* x;
        const char* y;
        std::string after;
    };
    const Case cases[] = {
        {1, "3", "-2", ""},         {2, "2.33", "-0.5", ""},    {2, "?", "?", kIndeterminate},
        {2, "/", "/", kImpossible}, {3, "/", "/", kImpossible}, {3, "0.5", "1", ""},
    };
    for (const auto& c : cases) {
        SystemQuestion q;
        q.x = c.x;
        q.y = c.y;
        const std::string system = StatementRtf(SystemStatement(c.level, q));
        const std::string lead =
            system + (c.level == 3 ? "\\par \\tab \\tab " : "\\tab \\tab \\tab ");
        EXPECT_EQ(
            SystemAnswerBody(c.level, q),
            lead +
                MarkupToRtf(std::string("<cf=jaune>") + kX + " = " + c.x +
                            "<times><i><te=26>      y <te=18></i><arial> = " + c.y + " <cf=auto>") +
                c.after + "\\par ")
            << c.level << " " << c.x;
        EXPECT_EQ(SystemSubjectBody(c.level, q), system + "\\par ");
    }
}

TEST(Diagnostics, ThreeLinesOfTheFirstSixSlots) {
    SystemQuestion q;
    q.eq1 = {2, 3, -1, 0, -3, 1, 2, 5};
    q.eq2 = {-1, -2, 1, -6, 4, 14, -14, 0};
    q.x = "?";
    q.y = "/";
    EXPECT_EQ(SystemDiagnosticEntry(12, q, 7),
              "12\xB0/   t1=2  t2=3  t3=-1    t4=0    t5=-3    t6=1\r\n"
              "t7=-1    t8=-2    t9=1    t10=-6    t11=4    t12=14\r\n"
              "x =  ?  y =  /   aleas=7");
}

TEST(DrawLevel1, DrawnSolutionSolvesBothEquations) {
    int indeterminate = 0;
    for (std::uint32_t seed = 0; seed < 3000; ++seed) {
        RandomSource rng(seed * 2654435761u);
        SystemQuestion q;
        EXPECT_EQ(DrawSystemLevel1(rng, q), 0);
        EXPECT_TRUE(InRange(q.x0, -9, 19) && InRange(q.y0, -9, 19));
        // Proportional equations keep every point of a line, the drawn one among them.
        ExpectSolves(q, Plain(q.eq1), Plain(q.eq2));
        if (q.x == "?") {
            ++indeterminate;
        } else {
            EXPECT_EQ(q.x, std::to_string(q.x0));
            EXPECT_EQ(q.y, std::to_string(q.y0));
        }
        for (const auto* e : {&q.eq1, &q.eq2}) {
            const auto& s = *e;
            EXPECT_TRUE(InRange(s[0], -9, 19) && s[0] != 0) << s[0];
            EXPECT_TRUE(InRange(s[1], -9, 19) && s[1] != 0) << s[1];
            EXPECT_EQ(s[2], s[0] * q.x0 + s[1] * q.y0);
            for (std::size_t k = 3; k < 8; ++k) EXPECT_EQ(s[k], 0);
        }
    }
    EXPECT_GT(indeterminate, 5);
}

TEST(DrawLevel2, ChoiceDrawDecidesTheSystem) {
    int verdicts[2] = {0, 0};
    for (std::uint32_t seed = 0; seed < 6000; ++seed) {
        RandomSource rng(seed * 2654435761u);
        SystemQuestion q;
        const int aleas = DrawSystemLevel2(rng, q);
        ASSERT_TRUE(aleas >= 0 && aleas < 40);
        const auto& e1 = q.eq1;
        const auto& e2 = q.eq2;
        for (const auto* e : {&e1, &e2}) {
            const auto& s = *e;
            for (std::size_t k = 3; k < 8; ++k) EXPECT_EQ(s[k], 0);
            EXPECT_NE(s[0], 0);
            EXPECT_NE(s[1], 0);
        }
        ExpectSolves(q, Plain(e1), Plain(e2));
        if (aleas == 38 || aleas == 39) {
            const int k = e2[0] / e1[0];
            EXPECT_TRUE(k >= 2 && k <= 6);
            EXPECT_EQ(e2[0], k * e1[0]);
            EXPECT_EQ(e2[1], k * e1[1]);
            for (std::size_t j = 0; j < 3; ++j) EXPECT_TRUE(InRange(e1[j], -14, 29) && e1[j] != 0);
            if (aleas == 38) {
                EXPECT_EQ(e2[2], k * e1[2]);
                EXPECT_EQ(q.x, "?");
            } else {
                EXPECT_TRUE(InRange(k * e1[2] - e2[2], 1, 30));
                EXPECT_EQ(q.x, "/");
            }
            ++verdicts[aleas - 38];
            continue;
        }
        for (const auto* e : {&e1, &e2}) {
            EXPECT_TRUE(InRange((*e)[0], -14, 29) && InRange((*e)[1], -14, 29));
            if (aleas <= 20) {
                EXPECT_TRUE(InRange((*e)[2], -14, 29) && (*e)[2] != 0);
            } else {
                EXPECT_EQ((*e)[2], (*e)[0] * q.x0 + (*e)[1] * q.y0);
            }
        }
        if (aleas > 20 && Det(Plain(e1), Plain(e2)) != 0) {
            EXPECT_EQ(q.x, std::to_string(q.x0));
            EXPECT_EQ(q.y, std::to_string(q.y0));
        }
    }
    EXPECT_GT(verdicts[0], 50);
    EXPECT_GT(verdicts[1], 50);
}

TEST(DrawLevel3, FormsRangesAndNoMixedVerdict) {
    int forms[2] = {0, 0};
    for (std::uint32_t seed = 0; seed < 6000; ++seed) {
        RandomSource rng(seed * 2654435761u);
        SystemQuestion q;
        DrawSystemLevel3(rng, q);
        ASSERT_TRUE(q.form == 0 || q.form == 1);
        ++forms[q.form];
        for (const auto* e : {&q.eq1, &q.eq2}) {
            const auto& s = *e;
            if (q.form == 0) {
                for (std::size_t k : {0u, 1u, 3u, 4u}) EXPECT_TRUE(InRange(s[k], -14, 29) && s[k]);
                EXPECT_TRUE(InRange(s[2], -14, 14) && InRange(s[5], -14, 14));
                EXPECT_EQ(s[6], 0);
                EXPECT_EQ(s[7], 0);
            } else {
                for (auto v : s) EXPECT_TRUE(InRange(v, -14, 14));
                EXPECT_GT(std::abs(s[0]), 1);
                EXPECT_GT(std::abs(s[4]), 1);
                for (std::size_t k : {1u, 2u, 5u, 6u}) EXPECT_NE(s[k], 0);
            }
        }
        const auto reduce = q.form == 0 ? ReduceTwoSided : ReduceBracketed;
        ExpectSolves(q, reduce(q.eq1), reduce(q.eq2));
        EXPECT_EQ(IsVerdict(q.x), IsVerdict(q.y));
        if (IsVerdict(q.x)) {
            EXPECT_EQ(q.x, q.y);
        }
    }
    EXPECT_GT(forms[0], 2500);
    EXPECT_GT(forms[1], 2500);
}

TEST(DrawLevel3, MixedAttemptIsDiscardedWithoutTrace) {
    for (std::uint32_t seed = 0;; ++seed) {
        ASSERT_LT(seed, 2000000u);
        RandomSource probe(seed);
        SystemQuestion first;
        if (DrawSystemLevel3Attempt(probe, first)) continue;
        EXPECT_TRUE((first.x == "?" && first.y == "/") || (first.x == "/" && first.y == "?"));
        // The kept question is the next attempt, drawn afresh after the discarded one.
        SystemQuestion next;
        while (!DrawSystemLevel3Attempt(probe, next)) {
        }
        RandomSource rng(seed);
        SystemKind kind;
        kind.Begin(3);
        kind.Draw(rng, 1);
        const auto& kept = kind.question(1);
        EXPECT_EQ(kept.eq1, next.eq1);
        EXPECT_EQ(kept.eq2, next.eq2);
        EXPECT_EQ(kept.form, next.form);
        EXPECT_EQ(rng.seed(), probe.seed());
        EXPECT_EQ(kind.DiagnosticEntry(1).find("x =  " + first.x + "  y =  " + first.y),
                  std::string::npos);
        return;
    }
}

TEST(Kind, DuplicateKeyOfSixteenSlots) {
    SystemKind kind;
    kind.Begin(3);
    RandomSource rng(42);
    for (int i = 1; i <= 5; ++i) {
        kind.Draw(rng, i);
        const auto& q = kind.question(i);
        std::string key;
        for (auto v : q.eq1) key += std::to_string(v);
        for (auto v : q.eq2) key += std::to_string(v);
        EXPECT_EQ(kind.DuplicateKey(i), key);
    }
}

// Whole sheets against an independent implementation of the same rules: base name, both
// documents and the log, byte for byte (golden files named after the sheet), 40 questions,
// default settings.
TEST(Sheet, MatchesReferenceSheets) {
    struct Case {
        int level;
        std::uint32_t seed;
        const char* base;
    };
    const Case cases[] = {
        // Question 4 (2x + 2y = 20, -4x - 4y = -40) is indeterminate.
        {1, 2024u, "Syst_N1_51_28"},
        // Both verdicts of level 2 appear in this one.
        {2, 2u, "Syst_N2_06_69"},
        {3, 10u, "Syst_N3_31_32"},
    };
    for (const auto& c : cases) {
        const Sheet sheet = MakeSheet(c.level, c.seed, 40);
        EXPECT_EQ(sheet.baseName, c.base);
        ASSERT_EQ(sheet.log.size(), 40u);
        std::string log;
        for (const auto& e : sheet.log) log += e + "\r\n";
        const std::string base = c.base;
        EXPECT_TRUE(testing::MatchesGolden(base + ".rtf", sheet.subject));
        EXPECT_TRUE(testing::MatchesGolden(base + "_Cor.rtf", sheet.answerKey));
        EXPECT_TRUE(testing::MatchesGolden(base + ".log", log));
    }
    EXPECT_NE(MakeSheet(1, 2024, 40).answerKey.find(kIndeterminate), std::string::npos);
    const Sheet both = MakeSheet(2, 2, 40);
    EXPECT_NE(both.answerKey.find(kIndeterminate), std::string::npos);
    EXPECT_NE(both.answerKey.find(kImpossible), std::string::npos);
}

TEST(Sheet, DiagnosticEntriesOfEachLevel) {
    const std::vector<std::string> expected[] = {
        {"1\xB0/   t1=8  t2=5  t3=28    t4=0    t5=0    t6=0\r\nt7=-4    t8=9    t9=-60    "
         "t10=0    t11=0    t12=0\r\nx =  6  y =  -4   aleas=0",
         "2\xB0/   t1=9  t2=6  t3=-6    t4=0    t5=0    t6=0\r\nt7=8    t8=19    t9=-19    "
         "t10=0    t11=0    t12=0\r\nx =  0  y =  -1   aleas=0"},
        {"1\xB0/   t1=13  t2=9  t3=10    t4=0    t5=0    t6=0\r\nt7=-5    t8=13    t9=4    "
         "t10=0    t11=0    t12=0\r\nx =  0.44  y =  0.48   aleas=9",
         "2\xB0/   t1=3  t2=-5  t3=7    t4=0    t5=0    t6=0\r\nt7=3    t8=-4    t9=5    "
         "t10=0    t11=0    t12=0\r\nx =  -1  y =  -2   aleas=30"},
        {"1\xB0/   t1=5  t2=5  t3=-6    t4=10    t5=-7    t6=11\r\nt7=-4    t8=-6    t9=-6    "
         "t10=-5    t11=-8    t12=-3\r\nx =  -0.11  y =  0.38   aleas=0",
         "2\xB0/   t1=2  t2=-11  t3=-12    t4=-2    t5=-8    t6=4\r\nt7=-3    t8=8    t9=2    "
         "t10=6    t11=5    t12=-5\r\nx =  5.46  y =  1.12   aleas=0"},
    };
    for (int level = 1; level <= 3; ++level)
        EXPECT_EQ(MakeSheet(level, 5, 2).log, expected[level - 1]) << level;
}

TEST(Sheet, NumberingOfBothDocuments) {
    const Sheet sheet = MakeSheet(1, 3, 2);
    EXPECT_NE(sheet.subject.find("2\xB0/   \\par      \\fs24 \\f3 \xEC "), std::string::npos);
    EXPECT_NE(sheet.answerKey.find("2\xB0/ \\par      \\fs24 \\f3 \xEC "), std::string::npos);
}

}  // namespace
}  // namespace equat
