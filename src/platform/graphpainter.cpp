// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/graphpainter.h"

#include <QBuffer>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "core/cp1252.h"

namespace equat {

namespace {

constexpr double kWidth = 230, kPlaneHeight = 128, kLineHeight = 46;  // points
constexpr double kAdaptedScale = 1.2;
constexpr double kCaptionRoom = 11;

QString Text(const std::string& cp1252) {
    return QString::fromStdString(Cp1252ToUtf8(cp1252));
}

QString TickText(double v, const GraphModel& g) {
    QString s = QString::number(std::abs(v) < 1e-9 ? 0.0 : v, 'g', 6);
    if (g.decimalComma) s.replace('.', ',');
    return s.replace('-', QChar(0x2212));
}

// Points of the graph's own size to the painted rectangle's units.
double Unit(const GraphModel& g, const QRectF& rect, bool adapted) {
    return rect.height() / GraphSize(g, adapted).height();
}

struct Look {
    double unit;  // rect units a point
    bool adapted;
    double Pen(double standard) const { return unit * standard * (adapted ? 1.8 : 1.0); }
    QFont Font() const {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(std::max(1, static_cast<int>(std::lround(unit * (adapted ? 7.5 : 6.5)))));
        return f;
    }
};

QPen PenOf(const QColor& colour, double width, Qt::PenStyle style = Qt::SolidLine) {
    QPen pen(colour, width, style, Qt::FlatCap, Qt::RoundJoin);
    return pen;
}

template <typename Each>
void ForEachTick(const GraphAxis& a, Each each) {
    if (a.step <= 0) return;
    const long long first = std::llround(a.min / a.step), last = std::llround(a.max / a.step);
    for (long long i = first; i <= last && i - first < 200; ++i)
        each(static_cast<double>(i) * a.step);
}

void PaintGrid(QPainter& p, const GraphModel& g, const QRectF& plot, const Look& look) {
    p.setPen(PenOf(kGraphGrid, look.Pen(0.4)));
    ForEachTick(g.x, [&](double x) {
        const double px = GraphToPlot(g, plot, x, 0).x();
        p.drawLine(QPointF(px, plot.top()), QPointF(px, plot.bottom()));
    });
    ForEachTick(g.y, [&](double y) {
        const double py = GraphToPlot(g, plot, 0, y).y();
        p.drawLine(QPointF(plot.left(), py), QPointF(plot.right(), py));
    });
    p.setFont(look.Font());
    p.setPen(kGraphAxis);
    const double pitch = GraphToPlot(g, plot, g.x.step, 0).x() - GraphToPlot(g, plot, 0, 0).x();
    const long long every = pitch < look.unit * 14 ? 2 : 1;
    ForEachTick(g.x, [&](double x) {
        if (std::llround(x / g.x.step) % every != 0) return;
        const QPointF at(GraphToPlot(g, plot, x, 0).x(), plot.bottom() + look.unit * 1.5);
        p.drawText(QRectF(at.x() - look.unit * 15, at.y(), look.unit * 30, look.unit * 9),
                   Qt::AlignHCenter | Qt::AlignTop, TickText(x, g));
    });
    ForEachTick(g.y, [&](double y) {
        const double py = GraphToPlot(g, plot, 0, y).y();
        p.drawText(QRectF(plot.left() - look.unit * 21, py - look.unit * 5, look.unit * 19,
                          look.unit * 10),
                   Qt::AlignRight | Qt::AlignVCenter, TickText(y, g));
    });
}

void PaintAxes(QPainter& p, const GraphModel& g, const QRectF& plot, const Look& look) {
    p.setPen(PenOf(kGraphAxis, look.Pen(0.8)));
    const QPointF o = GraphToPlot(g, plot, 0, 0);
    const bool xIn = g.y.min <= 0 && 0 <= g.y.max, yIn = g.x.min <= 0 && 0 <= g.x.max;
    if (xIn) p.drawLine(QPointF(plot.left(), o.y()), QPointF(plot.right(), o.y()));
    if (yIn) p.drawLine(QPointF(o.x(), plot.top()), QPointF(o.x(), plot.bottom()));
    p.setFont(look.Font());
    const double u = look.unit;
    if (xIn) p.drawText(QPointF(plot.right() - u * 6, o.y() - u * 2.5), QStringLiteral("x"));
    if (yIn) p.drawText(QPointF(o.x() + u * 2.5, plot.top() + u * 6), QStringLiteral("y"));
}

void PaintCurve(QPainter& p, const GraphModel& g, const QRectF& plot, const GraphCurve& c) {
    if (c.vertical) {
        const double px = GraphToPlot(g, plot, c.c, 0).x();
        p.drawLine(QPointF(px, plot.top()), QPointF(px, plot.bottom()));
        return;
    }
    QPainterPath path;
    constexpr int kSamples = 400;
    for (int i = 0; i <= kSamples; ++i) {
        const double x = g.x.min + (g.x.max - g.x.min) * i / kSamples;
        // Far outside the window a value is clamped: the clip hides it, Qt stays in range.
        const double y =
            std::clamp(c.a * x * x + c.b * x + c.c, g.y.min - 1e4 * (g.y.max - g.y.min),
                       g.y.max + 1e4 * (g.y.max - g.y.min));
        const QPointF at = GraphToPlot(g, plot, x, y);
        if (i == 0) {
            path.moveTo(at);
        } else {
            path.lineTo(at);
        }
    }
    p.drawPath(path);
}

void PaintPlaneCurves(QPainter& p, const GraphModel& g, const QRectF& plot, const Look& look) {
    p.save();
    p.setClipRect(plot);
    for (const GraphInterval& band : g.intervals) {
        const double from = band.from.value_or(g.x.min), to = band.to.value_or(g.x.max);
        const QPointF a = GraphToPlot(g, plot, from, g.y.max),
                      b = GraphToPlot(g, plot, to, g.y.min);
        p.fillRect(QRectF(a, b), QBrush(kGraphGrid, Qt::BDiagPattern));
    }
    if (g.symmetryAxis) {
        p.setPen(PenOf(kGraphAxis, look.Pen(0.8), Qt::DashLine));
        const double px = GraphToPlot(g, plot, *g.symmetryAxis, 0).x();
        p.drawLine(QPointF(px, plot.top()), QPointF(px, plot.bottom()));
    }
    for (std::size_t i = 0; i < g.curves.size(); ++i) {
        p.setPen(PenOf(i == 0 ? kGraphCurve : kGraphSecondCurve, look.Pen(1.5)));
        PaintCurve(p, g, plot, g.curves[i]);
    }
    p.restore();
}

// A point's mark (hollow on a plane, so the curve shows through) and its label on its side,
// kept inside rect.
void PaintMark(QPainter& p, const GraphPoint& point, const QPointF& at, const QRectF& rect,
               const Look& look, const QBrush& fill) {
    const QString label = Text(point.label);
    const double r = look.unit * (look.adapted ? 3.0 : 2.2);
    p.setPen(PenOf(kGraphMark, look.Pen(0.9)));
    p.setBrush(fill);
    p.drawEllipse(at, r, r);
    p.setBrush(Qt::NoBrush);
    if (label.isEmpty()) return;
    p.setFont(look.Font());
    const QFontMetricsF m(p.font());
    QRectF box(0, 0, m.horizontalAdvance(label) + 2, m.height());
    const auto place = [&](bool left, bool below) {
        box.moveLeft(left ? at.x() - r - box.width() : at.x() + r);
        box.moveTop(below ? at.y() + r : at.y() - r - box.height());
    };
    bool left = point.labelLeft, below = point.labelBelow;
    place(left, below);
    if (box.left() < rect.left() || box.right() > rect.right()) place(left = !left, below);
    if (box.top() < rect.top() || box.bottom() > rect.bottom()) place(left, !below);
    p.fillRect(box, QColor(255, 255, 255, 200));
    p.drawText(box, Qt::AlignCenter, label);
}

// An interval's end: a bracket turned towards the part when closed, away when open.
void PaintBracket(QPainter& p, double px, double py, bool right, bool closed, const Look& look) {
    const double h = look.unit * 5, w = look.unit * 2.5;
    const double dir = (right == closed) ? -1 : 1;  // where the bracket's arms point
    QPainterPath b;
    b.moveTo(px + dir * w, py - h);
    b.lineTo(px, py - h);
    b.lineTo(px, py + h);
    b.lineTo(px + dir * w, py + h);
    p.drawPath(b);
}

void PaintNumberLine(QPainter& p, const GraphModel& g, const QRectF& rect, const QRectF& plot,
                     const Look& look) {
    const double y = plot.center().y(), u = look.unit;
    p.setPen(PenOf(kGraphAxis, look.Pen(0.8)));
    p.drawLine(QPointF(plot.left(), y), QPointF(plot.right() + u * 6, y));
    p.drawLine(QPointF(plot.right() + u * 6, y), QPointF(plot.right() + u * 3, y - u * 2));
    p.drawLine(QPointF(plot.right() + u * 6, y), QPointF(plot.right() + u * 3, y + u * 2));
    p.setFont(look.Font());
    ForEachTick(g.x, [&](double x) {
        const double px = GraphToPlot(g, plot, x, 0).x();
        p.drawLine(QPointF(px, y - u * 2), QPointF(px, y + u * 2));
        p.drawText(QRectF(px - u * 15, y + u * 3, u * 30, u * 9), Qt::AlignHCenter | Qt::AlignTop,
                   TickText(x, g));
    });
    for (const GraphInterval& part : g.intervals) {
        const double from = GraphToPlot(g, plot, part.from.value_or(g.x.min), 0).x();
        const double to = part.to ? GraphToPlot(g, plot, *part.to, 0).x() : plot.right() + u * 6;
        p.setPen(PenOf(kGraphCurve, look.Pen(2.2)));
        p.drawLine(QPointF(from, y), QPointF(to, y));
        if (part.from) PaintBracket(p, from, y, false, part.closedFrom, look);
        if (part.to) PaintBracket(p, to, y, true, part.closedTo, look);
    }
    for (const GraphPoint& hole : g.holes)
        PaintMark(p, hole, GraphToPlot(g, plot, hole.x, 0), rect, look, QBrush(Qt::white));
    for (const GraphPoint& dot : g.points)
        PaintMark(p, dot, GraphToPlot(g, plot, dot.x, 0), rect, look, QBrush(kGraphCurve));
}

}  // namespace

QSizeF GraphSize(const GraphModel& graph, bool adapted) {
    const double k = adapted ? kAdaptedScale : 1.0;
    const double h = graph.shape == GraphModel::Shape::Plane ? kPlaneHeight : kLineHeight;
    return {kWidth * k, (h + (graph.caption.empty() ? 0 : kCaptionRoom)) * k};
}

QRectF GraphPlotArea(const GraphModel& graph, const QRectF& rect, bool adapted) {
    const double u = Unit(graph, rect, adapted);
    const double caption = graph.caption.empty() ? 0 : kCaptionRoom * u;
    if (graph.shape == GraphModel::Shape::NumberLine)
        return QRectF(rect.left() + u * 12, rect.top() + u * 14, rect.width() - u * 26,
                      rect.height() - caption - u * 28);
    return QRectF(rect.left() + u * 24, rect.top() + u * 6, rect.width() - u * 32,
                  rect.height() - caption - u * 18);
}

QPointF GraphToPlot(const GraphModel& graph, const QRectF& plot, double x, double y) {
    const double fx = (x - graph.x.min) / (graph.x.max - graph.x.min);
    if (graph.shape == GraphModel::Shape::NumberLine)
        return {plot.left() + fx * plot.width(), plot.center().y()};
    const double fy = (y - graph.y.min) / (graph.y.max - graph.y.min);
    return {plot.left() + fx * plot.width(), plot.bottom() - fy * plot.height()};
}

void PaintGraph(QPainter& painter, const GraphModel& graph, const QRectF& rect, bool adapted) {
    if (!(graph.x.max > graph.x.min) ||
        (graph.shape == GraphModel::Shape::Plane && !(graph.y.max > graph.y.min)))
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const Look look{Unit(graph, rect, adapted), adapted};
    const QRectF plot = GraphPlotArea(graph, rect, adapted);
    if (graph.shape == GraphModel::Shape::Plane) {
        PaintGrid(painter, graph, plot, look);
        PaintAxes(painter, graph, plot, look);
        // Labels under the curves: a label never hides where a curve passes.
        for (const GraphPoint& m : graph.points)
            PaintMark(painter, m, GraphToPlot(graph, plot, m.x, m.y), rect, look, Qt::NoBrush);
        PaintPlaneCurves(painter, graph, plot, look);
    } else {
        PaintNumberLine(painter, graph, rect, plot, look);
    }
    if (!graph.caption.empty()) {
        painter.setPen(kGraphCurve);
        painter.setFont(look.Font());
        painter.drawText(QRectF(rect.left(), rect.bottom() - kCaptionRoom * look.unit, rect.width(),
                                kCaptionRoom * look.unit),
                         Qt::AlignCenter, Text(graph.caption));
    }
    painter.restore();
}

QImage GraphImage(const GraphModel& graph, bool adapted, double dotsPerPoint) {
    const QSizeF size = GraphSize(graph, adapted) * dotsPerPoint;
    QImage image(size.toSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDotsPerMeterX(static_cast<int>(std::lround(dotsPerPoint * 72 / 0.0254)));
    image.setDotsPerMeterY(image.dotsPerMeterX());
    QPainter painter(&image);
    PaintGraph(painter, graph, QRectF(QPointF(0, 0), size), adapted);
    return image;
}

namespace {
constexpr double kPngDotsPerPoint = 200.0 / 72;
}  // namespace

std::string GraphPng(const GraphModel& graph, bool adapted) {
    const QImage image = GraphImage(graph, adapted, kPngDotsPerPoint);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

PngPicture GraphPicture(const GraphModel& graph, bool adapted) {
    const QSizeF size = GraphSize(graph, adapted);
    const QSize pixels = (size * kPngDotsPerPoint).toSize();
    return {GraphPng(graph, adapted), static_cast<int>(std::lround(size.width() * 20)),
            static_cast<int>(std::lround(size.height() * 20)), pixels.width(), pixels.height()};
}

void RegisterGraphPainter() {
    SetGraphPainter(&GraphPicture);
}

}  // namespace equat
