// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/resultgrid.h"

#include <algorithm>

#include "core/cp1252.h"
#include "core/exactkey.h"
#include "core/keymarkup.h"
#include "core/numbertext.h"

namespace equat {

std::string ResultCell(const QuestionResult& result, KeyStyle style) {
    std::string cell;
    // An inequation's Δ is worked in its key; the grid shows what is asked, the set.
    if (result.set) return SolutionSetText(*result.set, ShowsExactValues(style));
    if (result.discriminant) {
        cell = "\xCE\x94 = ";  // Δ
        AppendDecimal(cell, *result.discriminant);
    }
    for (const auto& v : result.values) {
        if (!cell.empty()) cell += " ; ";
        cell += v.name;
        cell += " = ";
        if (v.exact && ShowsExactValues(style)) {
            AppendExactText(cell, *v.exact, "\xE2\x88\x9A");  // √
        } else {
            cell += Cp1252ToUtf8(v.decimal);
        }
    }
    return cell;
}

AnswerGrid MakeAnswerGrid(std::span<const ClassCopy> copies,
                          const std::vector<std::size_t>& order) {
    AnswerGrid grid;
    if (copies.empty()) return grid;
    const Sheet& first = copies.front().sheet;
    // A set of several levels names the level on each row, not in its title.
    const bool mixed = std::any_of(copies.begin(), copies.end(), [&](const ClassCopy& c) {
        return c.code.level != copies.front().code.level;
    });
    const auto kindEnd = first.baseName.find('_');
    grid.title = "Grille des r\xC3\xA9ponses - " +
                 first.baseName.substr(0, mixed ? kindEnd : first.baseName.find('_', kindEnd + 1)) +
                 " - " + std::to_string(copies.size()) + " copies";
    for (std::size_t k : order) {
        const ClassCopy& copy = copies[k];
        grid.rows.push_back(copy.name.empty() ? copy.codeText : Cp1252ToUtf8(copy.name));
        if (mixed) grid.rows.back() += " (niveau " + std::to_string(copy.code.level) + ")";
        std::vector<std::string> cells;
        for (const auto& result : copy.sheet.results) {
            cells.push_back(ResultCell(result, copy.code.keyStyle));
            // The grid writes the decimals as the copy does.
            if (copy.code.flags & kSheetCodeDecimalComma) UseDecimalComma(cells.back());
        }
        grid.cells.push_back(std::move(cells));
    }
    return grid;
}

}  // namespace equat
