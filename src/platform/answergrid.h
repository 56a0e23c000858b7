// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include "core/resultgrid.h"

namespace equat {

// The grid as an HTML table (what a Qt text document lays out).
std::string AnswerGridHtml(const AnswerGrid& grid);

}  // namespace equat
