// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/graph.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string_view>

#include "core/kinds.h"
#include "core/sheet.h"

namespace equat {
namespace {

bool IsRound(double step) {
    const double mantissa = step / std::pow(10.0, std::floor(std::log10(step)));
    for (const double m : {1.0, 2.0, 5.0, 10.0})
        if (std::abs(mantissa - m) < 1e-9) return true;
    return false;
}

bool OnTick(double v, double step) {
    return std::abs(v / step - std::round(v / step)) < 1e-9;
}

// Round ticks, a bounded count of them, and room around what the window must show.
void ExpectReadableAxis(const GraphAxis& a, int maxTicks, double lo, double hi) {
    EXPECT_TRUE(IsRound(a.step)) << a.step;
    EXPECT_TRUE(OnTick(a.min, a.step) && OnTick(a.max, a.step)) << a.min << " " << a.max;
    EXPECT_LE((a.max - a.min) / a.step, maxTicks + 2.0);
    const double margin = (a.max - a.min) / 40;
    EXPECT_LE(a.min, lo - margin);
    EXPECT_GE(a.max, hi + margin);
}

TEST(Graph, RoundAxesShowTheirValuesWithMargin) {
    struct Case {
        double lo, hi;
        int ticks;
    };
    for (const Case& c : {Case{0, 0, 10}, Case{-3, 7, 10}, Case{0.01, 0.02, 6}, Case{-250, 3, 6},
                          Case{5, -5, 10}, Case{1e6, 1e6 + 3, 10}})
        ExpectReadableAxis(RoundAxis(c.lo, c.hi, c.ticks), c.ticks, std::min(c.lo, c.hi),
                           std::max(c.lo, c.hi));
}

// Over many drawn sheets: every question of the three kinds gets a graph of its shape,
// whose window shows the axes and every marked point, with the verdict's picture.
TEST(Graph, EveryDrawnQuestionGetsAReadableGraph) {
    for (std::string_view name : {"1d", "2d", "syst"})
        for (int level = 1; level <= 3; ++level)
            for (std::uint32_t seed = 1; seed <= 12; ++seed) {
                RandomSource rng(seed);
                SheetSettings s;
                s.level = level;
                s.count = kMaxQuestions;
                for (const QuestionModel& q : BuildSheetModel(*MakeKind(name), rng, s).questions) {
                    const auto g = QuestionGraph(q, seed % 2 == 0);
                    ASSERT_TRUE(g) << name;
                    const bool line = g->shape == GraphModel::Shape::NumberLine;
                    EXPECT_EQ(line, name == "1d");
                    // The x axis always in view; the y axis but beside a parabola far from it.
                    if (name != "2d") ExpectReadableAxis(g->x, 10, 0, 0);
                    if (!line) ExpectReadableAxis(g->y, 6, 0, 0);
                    for (const GraphPoint& p : g->points) {
                        ExpectReadableAxis(g->x, 10, p.x, p.x);
                        if (!line) ExpectReadableAxis(g->y, 6, p.y, p.y);
                        EXPECT_EQ(p.label.find(seed % 2 == 0 ? '.' : ','), std::string::npos);
                    }
                    const Verdict v = q.result.verdict;
                    if (name == "syst") {
                        EXPECT_EQ(g->curves.size(), v == Verdict::Indeterminate ? 1u : 2u);
                    }
                    EXPECT_EQ(g->caption.empty(), name == "2d" || v == Verdict::Values) << name;
                    if (name != "2d") {
                        EXPECT_EQ(g->points.empty(), v != Verdict::Values);
                    }
                }
            }
}

TEST(Graph, KindsWithoutAGraphGetNone) {
    QuestionModel q;
    q.kind = "later";
    q.statement.lines.resize(1);
    EXPECT_FALSE(QuestionGraph(q, false));
}

}  // namespace
}  // namespace equat
