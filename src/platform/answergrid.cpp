// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/answergrid.h"

#include <algorithm>

namespace equat {

namespace {

// HTML text; with keepTogether, one line per result ("x = 6 ; y = 2" on two lines).
std::string Escaped(std::string_view text, bool keepTogether = false) {
    std::string out;
    for (std::size_t k = 0; k < text.size(); ++k) {
        const char c = text[k];
        if (keepTogether && text.substr(k, 3) == " ; ") {
            out += "<br>";
            k += 2;
        } else if (c == ' ' && keepTogether) {
            out += "&nbsp;";
        } else if (c == '<') {
            out += "&lt;";
        } else if (c == '>') {
            out += "&gt;";
        } else if (c == '&') {
            out += "&amp;";
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

std::string AnswerGridHtml(const AnswerGrid& grid, std::size_t first, std::size_t count) {
    const std::size_t columns = grid.cells.empty() ? 0 : grid.cells.front().size();
    first = std::min(first, columns);
    const std::size_t last = count >= columns - first ? columns : first + count;
    std::string title = Escaped(grid.title);
    if (first > 0 || last < columns)
        title +=
            " (questions " + std::to_string(first + 1) + " \xC3\xA0 " + std::to_string(last) + ")";
    std::string html = "<html><body style=\"font-family:Arial; font-size:9pt\"><p><b>" + title +
                       "</b></p><table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" "
                       "style=\"border-collapse:collapse\"><thead><tr><th>Copie</th>";
    for (std::size_t q = first + 1; q <= last; ++q) html += "<th>" + std::to_string(q) + "</th>";
    html += "</tr></thead>";
    for (std::size_t r = 0; r < grid.rows.size(); ++r) {
        html += "<tr><td style=\"white-space:pre\"><b>" + Escaped(grid.rows[r], true) + "</b></td>";
        for (std::size_t q = first; q < last && q < grid.cells[r].size(); ++q)
            html += "<td>" + Escaped(grid.cells[r][q], true) + "</td>";
        html += "</tr>";
    }
    html += "</table></body></html>";
    return html;
}

}  // namespace equat
