// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstddef>
#include <vector>

#include "rtf/model.h"

namespace equat::rtf {

// As many cells as a row of RTF holds.
inline constexpr int kMaxTableColumns = 63;

// The paragraphs [begin, end) of one table laid on a rectangular grid, for the formats that
// need one: a new row wherever the row changes, columns as placed (bounded, never back
// within a row: such a paragraph joins the cell before), each column's right edge the widest
// of its cells'.
struct TableGrid {
    struct Range {
        std::size_t first = 0, last = 0;  // paragraphs [first, last); empty for an empty cell
    };
    std::size_t begin = 0, end = 0;
    std::vector<std::vector<Range>> cells;  // by row, then column: every row as wide
    std::vector<int> rights;                // each column's right edge, twips

    // Each column's width in twips; a column whose edge is not right of the one before
    // gets an inch, so that a bad edge never hides a cell.
    std::vector<int> Widths() const;
};

// The table whose first paragraph is paragraphs[begin] (which must have a cell place).
TableGrid TableAt(const std::vector<Paragraph>& paragraphs, std::size_t begin);

}  // namespace equat::rtf
