// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/answergrid.h"

#include <algorithm>

#include "core/cp1252.h"
#include "core/kinds.h"
#include "core/markup.h"
#include "rtf/reader.h"
#include "rtf/writer.h"

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

// The results of a copy's questions, from its answer bodies (drawn again from its code).
std::vector<std::string> CopyResults(const SheetCode& code) {
    auto kind = MakeKind(code.kind);
    RandomSource rng(code.seed);
    const SheetSettings settings = SettingsForCode(code, SheetSettings{});
    BuildSheet(*kind, rng, settings);
    std::vector<std::string> results;
    for (int i = 1; i <= settings.count; ++i) {
        std::string body;
        kind->AppendAnswerBody(body, i);
        results.push_back(ResultText(body));
    }
    return results;
}

}  // namespace

std::string ResultText(std::string_view answerBodyRtf) {
    std::string rtf(kRtfHeader);
    rtf += answerBodyRtf;
    rtf += '}';
    std::string text = rtf::PlainTextUtf8(rtf::ReadRtf(rtf));
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    text = text.substr(text.find_last_of('\n') + 1);  // npos + 1 is 0
    text = text.substr(text.find_last_of('\t') + 1);
    // Words in brackets and pieces without "=" explain a result; the grid has no room.
    std::string out, piece;
    std::size_t spaces = 0;
    int depth = 0;
    auto endPiece = [&] {
        while (!piece.empty() && piece.back() == ' ') piece.pop_back();
        if (piece.find('=') != std::string::npos) out += (out.empty() ? "" : " ; ") + piece;
        piece.clear();
    };
    for (char c : text) {
        depth += (c == '(') - (c == ')');
        if (depth > 0 || c == ')') continue;
        if (c == ' ') {
            ++spaces;
            continue;
        }
        if (spaces >= 3) endPiece();
        if (spaces > 0 && spaces < 3 && !piece.empty()) piece += ' ';
        spaces = 0;
        piece += c;
    }
    endPiece();
    return out;
}

AnswerGrid MakeAnswerGrid(const std::vector<ClassCopy>& copies,
                          const std::vector<std::size_t>& order) {
    AnswerGrid grid;
    if (copies.empty()) return grid;
    const Sheet& first = copies.front().sheet;
    grid.title = "Grille des r\xC3\xA9ponses - " +
                 first.baseName.substr(0, first.baseName.find('_', first.baseName.find('_') + 1)) +
                 " - " + std::to_string(copies.size()) + " copies";
    for (std::size_t k : order) {
        const ClassCopy& copy = copies[k];
        grid.rows.push_back(copy.name.empty() ? copy.codeText : Cp1252ToUtf8(copy.name));
        grid.cells.push_back(CopyResults(copy.code));
    }
    return grid;
}

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
