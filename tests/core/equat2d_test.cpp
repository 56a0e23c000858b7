// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/equat2d.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
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
const std::string kSq = "<times><i><te=26> x</i><te=22><arial><sup> 2</sup><><te=18> ";

std::string JoinLog(const std::vector<std::string>& log) {
    std::string s;
    for (const auto& e : log) s += e + "\r\n";
    return s;
}

Sheet MakeSheet(int level, std::uint32_t seed, int count) {
    SecondDegreeKind kind;
    RandomSource rng(seed);
    SheetSettings settings;
    settings.level = level;
    settings.count = count;
    return BuildSheet(kind, rng, settings);
}

TEST(WriteQuadratic, WritesEachShapeOfSide) {
    struct Case {
        std::int32_t p, q, r;
        std::string markup;
    };
    const Case cases[] = {
        {1, -5, 6, kSq + " - 5" + kX + " + 6"},
        {2, 0, -3, "2" + kSq + " - 3"},
        {-1, 3, 0, "-" + kSq + " + 3" + kX + "     "},
        {1, 1, 0, kSq + " + " + kX + "     "},
        {-7, -1, 1, "-7" + kSq + " - " + kX + " + 1"},
        {0, 1, -3, kX + " - 3"},
        {0, -1, 0, "-" + kX + "     "},
        {0, 12, -1, "12" + kX + " - 1"},
        {0, 0, 0, "0"},
        {0, 0, -37, "-37"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WriteQuadratic(c.p, c.q, c.r), MarkupToRtf(c.markup))
            << c.p << " " << c.q << " " << c.r;
    EXPECT_EQ(WriteQuadratic(1, -5, 6),
              "\\f1 \\i \\fs26  x\\i0 \\fs22 \\f0 \\super  2\\nosupersub \\fs18   - 5"
              "\\f1 \\i \\fs26  x \\fs18 \\i0 \\f0  + 6");
}

// Every side shape and sign case, with the markup written from the shared coefficient
// writers.
TEST(WriteQuadratic, AgreesWithTheCoefficientWritersOnAGrid) {
    const std::int32_t values[] = {INT32_MIN, -100, -99, -44, -3, -2,  -1,       0,
                                   1,         2,    3,   29,  99, 100, INT32_MAX};
    for (auto p : values) {
        for (auto q : values) {
            for (auto r : values) {
                std::string m;
                if (p != 0 && q != 0) {
                    m = LeadCoefText(p) + kSq + SignedCoefText(q) + kX + ConstTermText(r);
                } else if (p != 0) {
                    m = LeadCoefText(p) + kSq + ConstTermText(r);
                } else if (q != 0) {
                    m = LeadCoefText(q) + kX + ConstTermText(r);
                } else {
                    m = std::to_string(r);
                }
                ASSERT_EQ(WriteQuadratic(p, q, r), MarkupToRtf(m)) << p << " " << q << " " << r;
            }
        }
    }
}

TEST(Roots, DiscriminantAndBothRoots) {
    struct Case {
        std::int32_t a, b, c, delta;
        const char* x1;
        const char* x2;
    };
    const Case cases[] = {
        {1, -5, 6, 1, "3", "2"},        {2, -3, -5, 49, "2.5", "-1"},
        {1, 1, -1, 5, "0.62", "-1.62"}, {1, 0, -3, 12, "1.73", "-1.73"},
        {-2, 1, 3, 25, "-1", "1.5"},  // a < 0: the first root is the smaller
        {-1, 3, 0, 9, "0", "3"},      // first root is −0 in floating point
        {1, 2, 1, 0, "-1", "-1"},       {4, 4, 1, 0, "-0.5", "-0.5"},
        {1, 0, 1, -4, "/", "/"},        {3, 1, 5, -59, "/", "/"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Discriminant(c.a, c.b, c.c), c.delta) << c.a << " " << c.b << " " << c.c;
        EXPECT_EQ(RootX1(c.a, c.b, c.c), c.x1) << c.a << " " << c.b << " " << c.c;
        EXPECT_EQ(RootX2(c.a, c.b, c.c), c.x2) << c.a << " " << c.b << " " << c.c;
    }
}

TEST(Roots, DiscriminantWrapsLikeA32BitInteger) {
    EXPECT_EQ(Discriminant(0, 65536, 0), 0);
    EXPECT_EQ(Discriminant(1, 46341, 0), static_cast<std::int32_t>(2147488281ll - 4294967296ll));
    EXPECT_EQ(Discriminant(INT32_MAX, INT32_MIN, INT32_MAX), -4);
    EXPECT_EQ(RootX1(1, 46341, 0), "/");  // the wrapped discriminant is negative
}

// A rational root rounds from its exact value (half away from zero); an irrational one
// cannot tie, and its double's 18 digits round the same.
TEST(Roots, TextsRoundTheExactValue) {
    for (std::int32_t a = -88; a <= 88; a += 3) {
        if (a == 0) continue;
        for (std::int32_t b = -28; b <= 28; ++b) {
            for (std::int32_t c = -88; c <= 28; c += 4) {
                const std::int32_t d = Discriminant(a, b, c);
                if (d < 0) continue;
                const double sq = std::sqrt(static_cast<double>(d));
                const auto root = static_cast<std::int32_t>(sq);
                if (root * root == d) {
                    ASSERT_EQ(RootX1(a, b, c), equat::test::ReferenceFixed2(root - b, 2 * a));
                    ASSERT_EQ(RootX2(a, b, c), equat::test::ReferenceFixed2(-b - root, 2 * a));
                    continue;
                }
                ASSERT_EQ(RootX1(a, b, c), equat::test::ReferenceFixed2((sq - b) / (2.0 * a)))
                    << a << " " << b << " " << c;
                ASSERT_EQ(RootX2(a, b, c), equat::test::ReferenceFixed2((-b - sq) / (2.0 * a)))
                    << a << " " << b << " " << c;
            }
        }
    }
}

// Root text within the two-decimal rounding of a true root of A x² + B x + C.
void ExpectRoot(const std::string& text, long double a, long double b, long double c, int sign) {
    const long double d = b * b - 4 * a * c;
    ASSERT_GE(d, 0) << text;
    const long double exact = (-b + sign * std::sqrt(d)) / (2 * a);
    EXPECT_NEAR(std::stold(text), exact, 0.005 + 1e-9) << a << " " << b << " " << c;
    EXPECT_NE(text, "-0");
}

void ExpectRootsOf(const QuadraticQuestion& q, std::int32_t a, std::int32_t b, std::int32_t c) {
    if (q.x1 == "/") {
        EXPECT_EQ(q.x2, "/");
        EXPECT_LT(static_cast<long long>(b) * b - 4ll * a * c, 0);
        return;
    }
    ExpectRoot(q.x1, a, b, c, +1);
    ExpectRoot(q.x2, a, b, c, -1);
}

TEST(DrawLevel1, CasesRangesAndRoots) {
    std::set<int> aleasSeen;
    for (std::uint32_t seed = 0; seed < 4000; ++seed) {
        RandomSource rng(seed * 2654435761u);
        QuadraticQuestion q;
        const int aleas = DrawQuadraticLevel1(rng, q);
        aleasSeen.insert(aleas);
        const auto& s = q.slots;
        ASSERT_GE(aleas, 0);
        ASSERT_LT(aleas, 20);
        EXPECT_NE(s[0], 0);
        EXPECT_NE(s[1], 0);
        EXPECT_NE(s[2], 0);
        for (int k = 3; k < 8; ++k) EXPECT_EQ(s[static_cast<std::size_t>(k)], 0);
        if (aleas == 0) {
            for (int k = 0; k < 3; ++k) {
                EXPECT_GE(s[static_cast<std::size_t>(k)], -9);
                EXPECT_LE(s[static_cast<std::size_t>(k)], 19);
            }
            EXPECT_LT(Discriminant(s[0], s[1], s[2]), 0);
            EXPECT_EQ(q.x1, "/");
            EXPECT_EQ(q.x2, "/");
            continue;
        }
        EXPECT_TRUE(s[0] >= -9 && s[0] <= 19) << s[0];
        EXPECT_GE(q.r, -9);
        EXPECT_LE(q.r, 19);
        EXPECT_GE(q.s, -9);
        EXPECT_LE(q.s, 19);
        EXPECT_NE(q.r, 0);
        EXPECT_NE(q.s, 0);
        if (aleas == 1) {
            EXPECT_EQ(q.r, q.s);
        }
        // The drawn roots, in the order drawn, solve the written equation.
        EXPECT_EQ(q.x1, std::to_string(q.r));
        EXPECT_EQ(q.x2, std::to_string(q.s));
        EXPECT_EQ(s[1], -s[0] * (q.r + q.s));
        EXPECT_EQ(s[2], s[0] * q.r * q.s);
    }
    EXPECT_EQ(aleasSeen.size(), 20u);
}

TEST(DrawLevel2, RangesRuleAndRoots) {
    for (std::uint32_t seed = 0; seed < 4000; ++seed) {
        RandomSource rng(seed * 2654435761u);
        QuadraticQuestion q;
        DrawQuadraticLevel2(rng, q);
        const auto& s = q.slots;
        EXPECT_TRUE(s[0] >= -14 && s[0] <= 44 && s[0] != 0) << s[0];
        EXPECT_TRUE(s[1] >= -14 && s[1] <= 29) << s[1];
        EXPECT_TRUE(s[2] >= -44 && s[2] <= 14) << s[2];
        EXPECT_FALSE(s[1] == 0 && s[2] == 0);
        for (int k = 3; k < 8; ++k) EXPECT_EQ(s[static_cast<std::size_t>(k)], 0);
        ExpectRootsOf(q, s[0], s[1], s[2]);
    }
}

TEST(DrawLevel3, RangesRuleAndRoots) {
    for (std::uint32_t seed = 0; seed < 4000; ++seed) {
        RandomSource rng(seed * 2654435761u);
        QuadraticQuestion q;
        DrawQuadraticLevel3(rng, q);
        const auto& s = q.slots;
        EXPECT_TRUE(s[0] >= -14 && s[0] <= 44) << s[0];
        EXPECT_TRUE(s[1] >= -14 && s[1] <= 14) << s[1];
        EXPECT_TRUE(s[2] >= -44 && s[2] <= 14) << s[2];
        EXPECT_TRUE(s[3] >= -44 && s[3] <= 14) << s[3];
        EXPECT_TRUE(s[4] >= -14 && s[4] <= 14) << s[4];
        EXPECT_TRUE(s[5] >= -14 && s[5] <= 44) << s[5];
        EXPECT_EQ(s[6], 0);
        EXPECT_EQ(s[7], 0);
        EXPECT_NE(s[0], s[3]);
        EXPECT_FALSE(s[1] == s[4] && s[2] == s[5]);
        ExpectRootsOf(q, s[0] - s[3], s[1] - s[4], s[2] - s[5]);
    }
}

TEST(Bodies, LevelThreeExample) {
    QuadraticQuestion q;
    q.slots = {2, 1, -3, 1, 1, 0, 0, 0};
    q.x1 = RootX1(1, 0, -3);
    q.x2 = RootX2(1, 0, -3);
    const std::string equation = WriteQuadratic(2, 1, -3) + "  =  " + WriteQuadratic(1, 1, 0);
    EXPECT_EQ(QuadraticEquationText(3, q.slots), equation);
    EXPECT_EQ(QuadraticSubjectBody(3, q), equation + "\\par ");
    EXPECT_EQ(QuadraticAnswerBody(3, q),
              equation + MarkupToRtf("<tab><tab>") +
                  MarkupToRtf("<symbol><te=20> D <te=18><arial>= 12     ") +
                  MarkupToRtf("<cf=jaune><times><i><te=26> x<arial><te=18></i><sub>1</sub> "
                              "<te=18> = 1.73 <cf=auto>    <cf=jaune><times><i><te=26> "
                              "x<arial><te=18></i><sub>2<te=18></sub> = -1.73 <cf=auto><br>"));
}

TEST(Bodies, LevelOneExampleKeepsDrawnRoots) {
    QuadraticQuestion q;
    q.slots = {1, -5, 6, 0, 0, 0, 0, 0};
    q.x1 = "2";
    q.x2 = "3";
    const std::string equation = QuadraticEquationText(1, q.slots);
    EXPECT_EQ(equation, MarkupToRtf(kSq + " - 5" + kX + " + 6 = 0 "));
    const std::string body = QuadraticAnswerBody(1, q);
    EXPECT_EQ(body.substr(0, equation.size() + 15), equation + "\\tab \\tab \\tab ");
    EXPECT_NE(body.find("\\f3 \\fs20  D \\fs18 \\f0 = 1     "), std::string::npos);
    EXPECT_NE(body.find("\\sub 1\\nosupersub  \\fs18  = 2 \\highlight0 "), std::string::npos);
    EXPECT_NE(body.find("\\nosupersub  = 3 \\highlight0 \\par "), std::string::npos);
    EXPECT_TRUE(body.ends_with("\\highlight0 \\par "));
}

// Whole sheets against an independent implementation of the same rules: base name, both
// documents and the log, byte for byte (golden files named after the sheet), 40 questions,
// default settings.
TEST(Sheet, MatchesReferenceSheets) {
    struct Case {
        int level;
        std::uint32_t seed;
        const char* base;
        std::size_t entries;
    };
    const Case cases[] = {
        {1, 31u, "Equat2d_N1_97_75", 42},
        {2, 107u, "Equat2d_N2_35_80", 41},
        {3, 777u, "Equat2d_N3_38_68", 40},
    };
    for (const auto& c : cases) {
        const Sheet sheet = MakeSheet(c.level, c.seed, 40);
        EXPECT_EQ(sheet.baseName, c.base);
        EXPECT_EQ(sheet.log.size(), c.entries) << c.base;
        const std::string base = c.base;
        EXPECT_TRUE(testing::MatchesGolden(base + ".rtf", sheet.subject));
        EXPECT_TRUE(testing::MatchesGolden(base + "_Cor.rtf", sheet.answerKey));
        EXPECT_TRUE(testing::MatchesGolden(base + ".log", JoinLog(sheet.log)));
    }
}

TEST(Sheet, DiagnosticEntriesOfEachLevel) {
    const std::vector<std::string> expected[] = {
        {"1\xB0/   a=8  b=-16  c=-192  d=0\r\nx =  6   aleas=12",
         "2\xB0/   a=7  b=-210  c=1568  d=0\r\nx =  14   aleas=8"},
        {"1\xB0/   a=17  b=-6  c=-1  d=0\r\nx =  0.48   aleas=0",
         "2\xB0/   a=18  b=-5  c=-29  d=0\r\nx =  1.42   aleas=0"},
        {"1\xB0/   a=21  b=0  c=-37  d=-22\r\nx =  1.15   aleas=0",
         "2\xB0/   a=22  b=-3  c=-16  d=-3\r\nx =  1.63   aleas=0"},
    };
    for (int level = 1; level <= 3; ++level)
        EXPECT_EQ(MakeSheet(level, 5, 2).log, expected[level - 1]) << level;
}

TEST(Sheet, DuplicateIsDrawnAgainUnderTheSameNumber) {
    // Level 1 repeats itself often enough to find a sheet with a rejected draw quickly.
    for (std::uint32_t seed = 0;; ++seed) {
        ASSERT_LT(seed, 1000u);
        const Sheet sheet = MakeSheet(1, seed, 40);
        if (sheet.log.size() == 40) continue;
        // Entries are numbered 1..40 in order, the redrawn number repeated.
        int expected = 1;
        for (const auto& entry : sheet.log) {
            const int number = std::stoi(entry);
            EXPECT_TRUE(number == expected || number == expected - 1) << entry;
            expected = number + 1;
        }
        EXPECT_EQ(expected, 41);
        // The documents hold 40 distinct equations.
        std::set<std::string> equations;
        const std::string mark = "\xB0/   ";
        for (std::size_t p = sheet.subject.find(mark); p != std::string::npos;
             p = sheet.subject.find(mark, p + 1))
            equations.insert(sheet.subject.substr(p, sheet.subject.find("\\par ", p) - p));
        EXPECT_EQ(equations.size(), 40u);
        return;
    }
}

TEST(Sheet, AnswerNumberingAndTabs) {
    const Sheet sheet = MakeSheet(3, 9, 3);
    EXPECT_NE(sheet.answerKey.find("3\xB0/   "), std::string::npos);
    EXPECT_EQ(sheet.answerKey.find("\\tab \\tab \\tab "), std::string::npos);
    const Sheet level2 = MakeSheet(2, 9, 3);
    EXPECT_NE(level2.answerKey.find(" = 0 \\tab \\tab \\tab \\f3 "), std::string::npos);
}

}  // namespace
}  // namespace equat
