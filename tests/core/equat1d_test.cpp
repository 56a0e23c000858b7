// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/equat1d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>
#include <string>

#include "core/markup.h"
#include "core/numbertext.h"
#include "core_test_helpers.h"

using namespace equat;

namespace {

const std::string X = MarkupToRtf("<times><i><te=26> x <te=18></i><arial>");

struct LinearValue {
    long long p, q;
};

LinearValue Value(int form, long long p1, long long p2, long long p3, long long p4) {
    switch (form) {
        case 1:
            return {p1 * p2 + p4, p1 * p3};
        case 2:
            return {p1 + p2 * p3, p2 * p4};
        case 3:
            return {p1 * p2, p1 * p3 + p4};
        case 4:
            return {p2 * p3, p1 + p2 * p4};
        case 5:
            return {p2, p1 + p2 * p4};
        default:
            return {p2, -1 + p2 * p4};
    }
}

const int kLeft[] = {1, 1, 1, 1, 2, 2, 3, 4, 5, 2};
const int kRight[] = {1, 2, 3, 4, 3, 4, 4, 1, 3, 6};

bool InBig(int v) {
    return (v >= -14 && v <= -2) || (v >= 2 && v <= 29);
}

// A written solution satisfies p x + q = r x + s within the two-decimal rounding.
void ExpectSolves(const std::string& solution, double p, double q, double r, double s) {
    char* end = nullptr;
    const double x = std::strtod(solution.c_str(), &end);
    ASSERT_EQ(*end, '\0') << solution;
    EXPECT_LE(std::fabs((p - r) * x + (q - s)), std::fabs(p - r) * 0.005 + 1e-9) << solution;
}

}  // namespace

TEST(LinearSideText, Forms) {
    struct Case {
        int p, q;
        std::string rtf;
    };
    const Case cases[] = {
        {5, -2, "5" + X + " - 2"},
        {7, -8, "7" + X + " - 8"},
        {1, 0, MarkupToRtf("<times><i><te=26>x <te=18></i><arial>")},
        {-1, 3, MarkupToRtf("<times><i><te=26>- x <te=18></i><arial>") + " + 3"},
        {0, 4, "4"},
        {0, -7, " - 7"},
        {0, 0, ""},
        {-12, 0, "-12" + X},
    };
    for (const auto& c : cases) EXPECT_EQ(LinearSideText(c.p, c.q), c.rtf) << c.p << "," << c.q;
}

TEST(BracketSideText, SixForms) {
    EXPECT_EQ(BracketSideText(1, 2, 3, -4, 5), "2 (3" + X + " - 4) + 5" + X);
    EXPECT_EQ(BracketSideText(2, 2, 3, -4, 5), "2" + X + " + 3 (-4" + X + " + 5)");
    EXPECT_EQ(BracketSideText(3, 2, 3, -4, 5), "2 (3" + X + " - 4) + 5");
    EXPECT_EQ(BracketSideText(4, 2, 3, -4, 5), "2 + 3 (-4" + X + " + 5)");
    EXPECT_EQ(BracketSideText(5, 2, 3, 1, 5), "2 + 3 (" + X + " + 5)");
    EXPECT_EQ(BracketSideText(6, -1, -3, 1, -5), "-1 - 3 (" + X + " - 5)");
}

TEST(Level3SolutionText, VerdictsAndQuotients) {
    // Pair 3: D = a*b + d - f*g = -45, N = f*h + e - a*c = 61.
    EXPECT_EQ(Level3SolutionText(3, {2, 3, 4, 5, 6, 7, 8, 9}), "-1.36");
    // D = 0 and N = 0: pair 0 with a*b + d = e*f + h and e*g = a*c.
    EXPECT_EQ(Level3SolutionText(0, {2, 3, 4, 5, 2, 3, 4, 5}),
              "? : Ind\xE9termin\xE9 (infinit\xE9 de solution)");
    EXPECT_EQ(Level3SolutionText(0, {2, 3, 4, 5, 2, 3, 5, 5}), "/ : Impossible (aucune solution)");
    // Pair 9: D = a + b*c - f, N = f*h - 1 - b*d.
    EXPECT_EQ(Level3SolutionText(9, {2, 3, 4, 5, -1, 6, 1, 7}), FormatFixed2((42.0 - 1 - 15) / 8));
    // Extreme slots keep 32-bit wrap-around semantics instead of overflowing.
    EXPECT_NO_FATAL_FAILURE(
        Level3SolutionText(0, {2147483647, 2147483647, -2147483647, 9, 1, 1, 1, 1}));
}

TEST(FirstDegree, Level1ExampleText) {
    FirstDegreeKind kind;
    kind.Begin(1);
    // The example of x0 = 3, a = 5, b = -2, c = 7, d = -8 written by hand.
    EXPECT_EQ(LinearSideText(5, -2) + "  =  " + LinearSideText(7, -8),
              "5" + X + " - 2  =  7" + X + " - 8");
}

TEST(FirstDegree, EveryLevelSolvesAndStaysInRange) {
    std::set<std::string> verdicts;
    for (int level = 1; level <= 3; ++level) {
        for (std::uint32_t seed = 1; seed <= 300; ++seed) {
            FirstDegreeKind kind;
            RandomSource rng(seed * 2654435761u);
            SheetSettings s;
            s.level = level;
            s.count = 40;
            const Sheet sheet = BuildSheet(kind, rng, s);
            ASSERT_GE(sheet.log.size(), 40u);
            std::set<std::string> keys;
            for (int i = 1; i <= 40; ++i) {
                const auto& q = kind.question(i);
                const auto& v = q.slots;
                EXPECT_TRUE(keys.insert(kind.DuplicateKey(i)).second);
                if (level == 1) {
                    for (int k = 0; k < 3; ++k) EXPECT_TRUE(v[k] >= -9 && v[k] <= 19);
                    EXPECT_TRUE(q.x0 >= -9 && q.x0 <= 19);
                    EXPECT_NE(v[0], v[2]);
                    EXPECT_EQ(v[0] * q.x0 + v[1], v[2] * q.x0 + v[3]);
                    EXPECT_EQ(q.solution, std::to_string(q.x0));
                    EXPECT_FALSE(v[0] == 1 && v[1] == 0 && v[2] == 0);
                } else if (level == 2) {
                    for (int k = 0; k < 3; ++k) EXPECT_TRUE(v[k] >= -14 && v[k] <= 29);
                    EXPECT_FALSE(v[0] == 0 && v[1] == 0);
                    EXPECT_FALSE(v[2] == 0 && v[3] == 0);
                    EXPECT_FALSE(v[0] == 0 && v[2] == 0);
                    if (q.solution[0] == '/') {
                        EXPECT_EQ(q.aleas, 38);
                        EXPECT_EQ(v[0], v[2]);
                        EXPECT_NE(v[1], v[3]);
                        verdicts.insert(q.solution);
                    } else if (q.solution[0] == '?') {
                        EXPECT_EQ(q.aleas, 39);
                        EXPECT_TRUE(v[0] == v[2] && v[1] == v[3]);
                        verdicts.insert(q.solution);
                    } else {
                        EXPECT_LT(q.aleas, 38);
                        ExpectSolves(q.solution, v[0], v[1], v[2], v[3]);
                    }
                    for (int k = 4; k < 8; ++k) EXPECT_EQ(v[k], 0);
                } else {
                    const int k = q.aleas;
                    for (int n = 0; n < 8; ++n) {
                        const bool set = (k == 8 && n == 2) || (k == 9 && (n == 4 || n == 6));
                        if (!set) {
                            EXPECT_TRUE(InBig(v[n])) << v[n];
                        }
                    }
                    if (k == 8) {
                        EXPECT_EQ(v[2], 1);
                    }
                    if (k == 9) {
                        EXPECT_TRUE(v[4] == -1 && v[6] == 1);
                    }
                    const LinearValue l = Value(kLeft[k], v[0], v[1], v[2], v[3]);
                    const LinearValue r = Value(kRight[k], v[4], v[5], v[6], v[7]);
                    if (l.p == r.p) {
                        EXPECT_EQ(q.solution[0], l.q == r.q ? '?' : '/');
                        verdicts.insert(q.solution);
                    } else {
                        ExpectSolves(q.solution, static_cast<double>(l.p), static_cast<double>(l.q),
                                     static_cast<double>(r.p), static_cast<double>(r.q));
                    }
                }
            }
        }
    }
    // Both levels' verdicts turned up among these seeds.
    EXPECT_EQ(verdicts.count("/ (impossible : aucune solution)"), 1u);
    EXPECT_EQ(verdicts.count("? (ind\xE9termin\xE9 : infinit\xE9 de solutions)"), 1u);
    EXPECT_EQ(verdicts.count("/ : Impossible (aucune solution)"), 1u);
}

TEST(FirstDegree, AnswerBodyHighlightsTheSolution) {
    for (int level = 1; level <= 3; ++level) {
        FirstDegreeKind kind;
        RandomSource rng(99);
        SheetSettings s;
        s.level = level;
        s.count = 3;
        BuildSheet(kind, rng, s);
        const std::string body = AnswerBody(kind, 2);
        const std::string tabs = level == 3 ? "\\tab \\tab " : "\\tab \\tab \\tab \\tab ";
        const std::string tail = tabs + "\\highlight12 " + X + " = " + kind.question(2).solution +
                                 " \\highlight0 \\par ";
        EXPECT_TRUE(body.ends_with(tail)) << body;
        EXPECT_TRUE(SubjectBody(kind, 2).ends_with("\\par "));
        EXPECT_EQ(body.find(tabs), SubjectBody(kind, 2).size() - 5);
    }
}
