// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <span>
#include <string>
#include <vector>

#include "core/classset.h"
#include "core/sheet.h"

namespace equat {

// The results of every copy of a set, for marking at a glance: a row per copy, a column
// per question. Texts are UTF-8.
struct AnswerGrid {
    std::string title;
    std::vector<std::string> rows;                // the copy's name, or its code
    std::vector<std::vector<std::string>> cells;  // cells[row][question - 1]
};

// A result in a few words, UTF-8: "x = 2.33", "Δ = 17 ; x1 = … ; x2 = …", "x = 3 ; y = -1";
// under a verdict its sign ("/", "?"). The exact and detailed styles give the exact value
// alone ("x = -7/3", "x1 = (1 + √5)/2"), the decimal style the decimal key's text.
std::string ResultCell(const QuestionResult& result, KeyStyle style);

// The grid of the copies, in the order given, from the results their sheets hold.
AnswerGrid MakeAnswerGrid(std::span<const ClassCopy> copies, const std::vector<std::size_t>& order);

}  // namespace equat
