// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A question's graph as data, made from its model: what the key draws beside a solution.
// Pure and exact enough to test: every painter draws this and nothing else.
#include <optional>
#include <string>
#include <vector>

#include "core/picture.h"
#include "core/sheetmodel.h"

namespace equat {

// One axis of the window: from min to max, a tick and a grid line at every multiple of step
// (a round number: 1, 2 or 5 times a power of ten). min and max are multiples of step.
struct GraphAxis {
    double min = -5, max = 5, step = 1;
    bool operator==(const GraphAxis&) const = default;
};

// y = a x² + b x + c (a parabola, or a line when a is 0), or the vertical line x = c.
struct GraphCurve {
    double a = 0, b = 0, c = 0;
    bool vertical = false;
    bool operator==(const GraphCurve&) const = default;
};

// A point marked on the graph and its label (Windows-1252, may be empty), set above and to
// the right of it unless told otherwise: where no curve passes.
struct GraphPoint {
    double x = 0, y = 0;
    std::string label;
    bool labelLeft = false, labelBelow = false;
    bool operator==(const GraphPoint&) const = default;
};

// A part of a number line: an end that is none runs to infinity; a closed end is a bracket
// turned towards the part, an open one turned away.
struct GraphInterval {
    std::optional<double> from, to;
    bool closedFrom = true, closedTo = true;
    bool operator==(const GraphInterval&) const = default;
};

// A plane: curves in a window with a grid, an axis of symmetry, points marked and a band of
// x where the curve has the sign asked. A number line: the x axis alone, with solutions as
// dots, intervals and forbidden values as holes.
struct GraphModel {
    enum class Shape { Plane, NumberLine };
    Shape shape = Shape::Plane;
    GraphAxis x, y;
    std::vector<GraphCurve> curves;
    std::optional<double> symmetryAxis;
    std::vector<GraphPoint> points;  // on a number line: the solutions, y = 0
    std::vector<GraphInterval> intervals;
    std::vector<GraphPoint> holes;
    // A line under the graph when nothing can be drawn to say it ("Aucune solution").
    std::string caption;
    bool decimalComma = false;  // the ticks' decimals
    bool operator==(const GraphModel&) const = default;
};

// The first-degree, second-degree, system and sign-table questions' graphs; none for a kind that
// has no graph yet. Labels write decimals with a comma when decimalComma.
std::optional<GraphModel> QuestionGraph(const QuestionModel& question, bool decimalComma);

// The round step of at most `ticks` intervals over [lo, hi], and the axis over it with a margin
// of about a tenth on each side; lo < hi not needed (a single value gets a window around it).
GraphAxis RoundAxis(double lo, double hi, int ticks);

// What paints a graph as a picture (larger, thicker lines when adapted). The core draws
// nothing itself: the platform registers its painter at start; without one, documents made
// in the core (RTF) have no graphs.
using GraphPainter = PngPicture (*)(const GraphModel& graph, bool adapted);
void SetGraphPainter(GraphPainter painter);
// The picture of a question's graph; empty when it has none or no painter is registered.
PngPicture QuestionGraphPicture(const QuestionModel& question, bool decimalComma, bool adapted);

// An equation's sides as a polynomial: constant, x, x² and y coefficients, exact.
struct SidePolynomial {
    Rational c, x, x2, y;
};
// left - right of a written equation, read from its atoms as mathematics, apart from any
// renderer (a number before an unknown or a bracket is its coefficient): 0 on its solutions.
SidePolynomial EquationPolynomial(const WrittenEquation& line);

}  // namespace equat
