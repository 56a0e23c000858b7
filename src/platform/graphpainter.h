// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one painter of a question's graph: on screen, in a PDF, and as PNG bytes for the
// documents that embed a picture.
#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <string>

#include "core/graph.h"

class QPainter;

namespace equat {

// Colours that stay apart in grey: the first curve black, the second a mid blue, the axes
// and marks between, the grid light.
inline const QColor kGraphCurve{0, 0, 0};
inline const QColor kGraphSecondCurve{40, 90, 190};
inline const QColor kGraphMark{170, 0, 0};
inline const QColor kGraphAxis{120, 120, 120};
inline const QColor kGraphGrid{210, 210, 210};

// The graph's size in points: at most a fifth of a page high; larger in the adapted layout.
QSizeF GraphSize(const GraphModel& graph, bool adapted);
// The window's rectangle inside a graph painted in rect, and where a point of the window
// lies in it (a number line's points on its line).
QRectF GraphPlotArea(const GraphModel& graph, const QRectF& rect, bool adapted);
QPointF GraphToPlot(const GraphModel& graph, const QRectF& plot, double x, double y);

// Paints the graph in rect (points or pixels: everything scales with rect's height).
void PaintGraph(QPainter& painter, const GraphModel& graph, const QRectF& rect, bool adapted);
// The graph as an image of its size at dotsPerPoint pixels a point, on white.
QImage GraphImage(const GraphModel& graph, bool adapted, double dotsPerPoint);
// The same image as PNG bytes (at 200 dots an inch).
std::string GraphPng(const GraphModel& graph, bool adapted);
// The picture the documents embed: that PNG at the graph's size.
PngPicture GraphPicture(const GraphModel& graph, bool adapted);
// Makes this painter the one the core's documents ask for their graphs (SetGraphPainter).
void RegisterGraphPainter();

}  // namespace equat
