// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/graph.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string_view>

#include "core/kinds.h"
#include "core/sheet.h"
#include "core/sheetcode.h"

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

namespace equat {
namespace {

// A painter that stands for the platform's: a picture of a few bytes, its size and the
// graph's shape in its pixel width.
PngPicture FakePicture(const GraphModel& graph, bool adapted) {
    const int shape = graph.shape == GraphModel::Shape::Plane ? 1 : 2;
    return {"\x89PNG", adapted ? 200 : 100, 50, shape, 1};
}

int Count(const std::string& text, std::string_view what) {
    int n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// The option puts one picture under each solution of the key, never in the subject or a
// strip, and it goes with the copy's code; off, a sheet is what it was.
TEST(Graph, KeysCarryOnePicturePerQuestionWhenAsked) {
    SetGraphPainter(&FakePicture);
    for (std::string_view name : {"1d", "2d", "syst"})
        for (const KeyStyle style : {KeyStyle::Decimal, KeyStyle::Detailed, KeyStyle::Strip})
            for (const bool adapted : {false, true}) {
                SheetSettings s;
                s.count = 7;
                s.keyStyle = style;
                s.layout.on = adapted;
                s.layout.key = adapted;
                RandomSource plain(3), with(3);
                const Sheet before = BuildSheet(*MakeKind(name), plain, s);
                s.graphs = true;
                const Sheet after = BuildSheet(*MakeKind(name), with, s);
                EXPECT_EQ(after.subject, before.subject);
                const int pictures = style == KeyStyle::Strip ? 0 : s.count;
                EXPECT_EQ(Count(after.answerKey, "{\\pict\\pngblip"), pictures) << name;
                const std::string size = adapted ? "\\picwgoal200\\pichgoal50" : "\\picwgoal100";
                EXPECT_EQ(Count(after.answerKey, size), pictures);
                EXPECT_EQ(Count(after.answerKey, "\n89504e47}"), pictures);
                EXPECT_EQ(Count(before.answerKey, "\\pict"), 0);
            }
    SetGraphPainter(nullptr);
    SheetCode code;
    code.flags = kSheetCodeGraphBit;
    std::string error;
    const auto back = DecodeSheetCode(EncodeSheetCode(code), &error);
    ASSERT_TRUE(back) << error;
    EXPECT_TRUE(SettingsForCode(*back, {}).graphs);
    EXPECT_FALSE(SettingsForCode(SheetCode{}, {}).graphs);
}

}  // namespace
}  // namespace equat
