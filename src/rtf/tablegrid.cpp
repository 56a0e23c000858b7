// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtf/tablegrid.h"

#include <algorithm>

namespace equat::rtf {

std::vector<int> TableGrid::Widths() const {
    std::vector<int> widths;
    int left = 0;
    for (int right : rights) {
        widths.push_back(right > left ? right - left : 1440);
        left += widths.back();
    }
    return widths;
}

TableGrid TableAt(const std::vector<Paragraph>& paragraphs, std::size_t begin) {
    TableGrid g;
    g.begin = g.end = begin;
    const int table = paragraphs[begin].cell->table;
    int column = -1;
    for (; g.end < paragraphs.size(); ++g.end) {
        const auto& cell = paragraphs[g.end].cell;
        if (!cell || cell->table != table) break;
        if (g.end == begin || cell->row != paragraphs[g.end - 1].cell->row) {
            g.cells.emplace_back();
            column = -1;
        }
        auto& row = g.cells.back();
        const int at = std::max(std::clamp(cell->column, 0, kMaxTableColumns - 1), column);
        if (at != column) {
            row.resize(static_cast<std::size_t>(at), {g.end, g.end});
            row.push_back({g.end, g.end});
            column = at;
        }
        row.back().last = g.end + 1;
        g.rights.resize(std::max(g.rights.size(), row.size()), 0);
        g.rights[row.size() - 1] = std::max(g.rights[row.size() - 1], cell->right);
    }
    for (auto& row : g.cells) row.resize(g.rights.size(), {g.end, g.end});
    return g;
}

}  // namespace equat::rtf
