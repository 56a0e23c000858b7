// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include "core/resultgrid.h"

namespace equat {

// The grid as an HTML table (what a Qt text document lays out), text at 9 points: the row
// labels and the count questions from first (0-based; all when count is npos), under a header
// row that a paged layout repeats on every page.
std::string AnswerGridHtml(const AnswerGrid& grid, std::size_t first = 0,
                           std::size_t count = std::string::npos);

}  // namespace equat
