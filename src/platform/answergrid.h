// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "core/classset.h"

namespace equat {

// The results of every copy of a set, for marking at a glance: a row per copy, a column
// per question. Texts are UTF-8.
struct AnswerGrid {
    std::string title;
    std::vector<std::string> rows;                // the copy's name, or its code
    std::vector<std::vector<std::string>> cells;  // cells[row][question - 1]
};

// What an answer body puts after its last tab, on its last line, as plain text: the
// results of the question ("x = 6", "x = 6 ; y = -4"). Runs of three spaces or more, which
// the keys put between results, become " ; "; explanations (in brackets, or without "=")
// are left out.
std::string ResultText(std::string_view answerBodyRtf);

// The grid of the copies, in the order given.
AnswerGrid MakeAnswerGrid(const std::vector<ClassCopy>& copies,
                          const std::vector<std::size_t>& order);

// The grid as an HTML table (what a Qt text document lays out), text at 9 points: the row
// labels and the count questions from first (0-based; all when count is npos), under a header
// row that a paged layout repeats on every page.
std::string AnswerGridHtml(const AnswerGrid& grid, std::size_t first = 0,
                           std::size_t count = std::string::npos);

}  // namespace equat
