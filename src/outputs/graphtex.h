// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A question's graph as a TikZ picture, for the LaTeX key: the same data the painter draws.
#include <string>

#include "core/graph.h"

namespace equat {

// A tikzpicture about 8 cm wide and at most 5 cm high: grid, axes with their ticks, curves
// cut to the window, the axis of symmetry, points with their labels; on a number line the
// solutions, intervals with their brackets and holes. Needs \usepackage{tikz}.
std::string GraphTikz(const GraphModel& graph);

}  // namespace equat
