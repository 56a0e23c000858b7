// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/graphpainter.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>
#include <cmath>
#include <string_view>

#include "core/kinds.h"
#include "core/sheet.h"
#include "platform/rtfqt.h"
#include "rtf/sheetdocument.h"

namespace equat {
namespace {

constexpr double kDotsPerPoint = 3;

// Text needs the application's fonts.
void App() {
    static int argc = 1;
    static char name[] = "graphpainter_test";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    (void)app;
}

bool Near(QRgb pixel, const QColor& colour) {
    return std::abs(qRed(pixel) - colour.red()) < 50 &&
           std::abs(qGreen(pixel) - colour.green()) < 50 &&
           std::abs(qBlue(pixel) - colour.blue()) < 50;
}

// Whether a pixel of the colour lies within radius pixels of the point (x, y) of the window.
bool Drawn(const QImage& image, const GraphModel& g, double x, double y, const QColor& colour,
           double radius) {
    const QRectF rect(QPointF(0, 0), GraphSize(g, false) * kDotsPerPoint);
    const QPointF at = GraphToPlot(g, GraphPlotArea(g, rect, false), x, y);
    for (int dy = -static_cast<int>(radius); dy <= radius; ++dy)
        for (int dx = -static_cast<int>(radius); dx <= radius; ++dx) {
            const int px = static_cast<int>(std::lround(at.x())) + dx,
                      py = static_cast<int>(std::lround(at.y())) + dy;
            if (dx * dx + dy * dy <= radius * radius && image.valid(px, py) &&
                Near(image.pixel(px, py), colour))
                return true;
        }
    return false;
}

// The pictures say what the keys say: over many drawn sheets, the parabola passes through the
// stated roots and vertex, both lines through the stated intersection, and the number line's
// dot sits on the stated solution.
TEST(GraphPainter, CurvesPassThroughTheStatedPoints) {
    App();
    const double r = 1.2 * kDotsPerPoint;  // the curve's half width and a pixel's rounding
    for (std::string_view name : {"1d", "2d", "syst"})
        for (int level = 1; level <= 3; ++level)
            for (std::uint32_t seed = 1; seed <= 3; ++seed) {
                RandomSource rng(seed);
                SheetSettings s;
                s.level = level;
                s.count = 12;
                for (const QuestionModel& q : BuildSheetModel(*MakeKind(name), rng, s).questions) {
                    const auto g = QuestionGraph(q, false);
                    ASSERT_TRUE(g);
                    const QImage image = GraphImage(*g, false, kDotsPerPoint);
                    if (q.result.verdict != Verdict::Values) continue;
                    const auto& v = q.result.values;
                    const auto at = [&](std::size_t i) { return v.at(i).exact->ToDouble(); };
                    if (name == "syst") {
                        // Each line alone: where they cross, the one drawn last hides the other.
                        GraphModel first = *g;
                        first.curves.resize(1);
                        EXPECT_TRUE(Drawn(GraphImage(first, false, kDotsPerPoint), first, at(0),
                                          at(1), kGraphCurve, r))
                            << seed;
                        EXPECT_TRUE(Drawn(image, *g, at(0), at(1), kGraphSecondCurve, r)) << seed;
                        continue;
                    }
                    for (std::size_t i = 0; i < v.size(); ++i)
                        EXPECT_TRUE(Drawn(image, *g, at(i), 0, kGraphCurve, r)) << name << seed;
                    if (g->symmetryAxis) {
                        EXPECT_TRUE(
                            Drawn(image, *g, g->points[0].x, g->points[0].y, kGraphCurve, r));
                    }
                }
            }
}

// The check sees a wrong curve: y = x² - 1 passes through (1, 0), not through (0, 0).
TEST(GraphPainter, AnOffCurvePointIsSeenAsSuch) {
    App();
    GraphModel g;
    g.curves.push_back({1, 0, -1, false});
    g.x = RoundAxis(-2, 2, 10);
    g.y = RoundAxis(-1, 3, 6);
    const QImage image = GraphImage(g, false, kDotsPerPoint);
    EXPECT_TRUE(Drawn(image, g, 1, 0, kGraphCurve, kDotsPerPoint));
    EXPECT_TRUE(Drawn(image, g, 0, -1, kGraphCurve, kDotsPerPoint));
    EXPECT_FALSE(Drawn(image, g, 0, 0, kGraphCurve, 2 * kDotsPerPoint));
    EXPECT_FALSE(Drawn(image, g, 1, 1, kGraphCurve, 2 * kDotsPerPoint));
}

TEST(GraphPainter, PngIsAPictureOfTheGraphsSize) {
    App();
    GraphModel g;
    g.shape = GraphModel::Shape::NumberLine;
    g.x = RoundAxis(-3, 3, 10);
    g.intervals.push_back({-1.0, std::nullopt, false, true});
    GraphModel plane;
    plane.caption = "Droites parall\xE8les";
    // At most a fifth of an A4 page high, caption and adapted layout included.
    for (const GraphModel* m : {&g, &plane})
        for (const bool adapted : {false, true}) {
            const std::string png = GraphPng(*m, adapted);
            const QImage back = QImage::fromData(QByteArray::fromStdString(png), "PNG");
            ASSERT_FALSE(back.isNull());
            EXPECT_NEAR(back.height(), GraphSize(*m, adapted).height() * 200 / 72, 1);
            EXPECT_LE(GraphSize(*m, adapted).height(), 842.0 / 5);
        }
}

// The key made from the model holds each graph as a picture; shown on screen and taken back
// (the window's save of its pair) it is the same picture, byte for byte.
TEST(GraphPainter, KeyPicturesSurviveTheScreenAndBack) {
    App();
    RegisterGraphPainter();
    SheetSettings s;
    s.count = 5;
    s.graphs = true;
    s.exports.model = true;
    RandomSource rng(11);
    const Sheet sheet = BuildSheet(*MakeKind("syst"), rng, s);
    const rtf::Document key = rtf::KeyDocument(sheet);
    QTextDocument doc;
    QTextCursor cursor(&doc);
    InsertDocument(cursor, key);
    const rtf::Document back = DocumentFromRange(doc, 0, doc.characterCount());
    std::vector<PngPicture> shown, taken;
    for (const auto* d : {&key, &back})
        for (const rtf::Paragraph& p : d->paragraphs)
            for (const rtf::Run& r : p.runs)
                if (r.picture) (d == &key ? shown : taken).push_back(*r.picture);
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(taken, shown);
    EXPECT_FALSE(QImage::fromData(QByteArray::fromStdString(shown[0].png), "PNG").isNull());
    SetGraphPainter(nullptr);
}

}  // namespace
}  // namespace equat
