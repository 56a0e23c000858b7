#include "cli/answergrid.h"

#include "core/cp1252.h"
#include "core/kinds.h"
#include "core/markup.h"
#include "rtf/reader.h"
#include "rtf/writer.h"

namespace equat {

namespace {

std::string Escaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '&')
            out += "&amp;";
        else
            out += c;
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
    for (int i = 1; i <= settings.count; ++i) results.push_back(ResultText(kind->AnswerBody(i)));
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
    std::string out;
    std::size_t spaces = 0;
    for (char c : text + '\n') {
        if (c == ' ') {
            ++spaces;
            continue;
        }
        if (spaces && !out.empty() && c != '\n') out += spaces >= 3 ? " ; " : " ";
        spaces = 0;
        if (c != '\n') out += c;
    }
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

std::string AnswerGridHtml(const AnswerGrid& grid) {
    std::string html = "<html><body style=\"font-family:Arial; font-size:9pt\"><p><b>" +
                       Escaped(grid.title) +
                       "</b></p><table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" "
                       "style=\"border-collapse:collapse\"><tr><th>Copie</th>";
    const std::size_t columns = grid.cells.empty() ? 0 : grid.cells.front().size();
    for (std::size_t q = 1; q <= columns; ++q) html += "<th>" + std::to_string(q) + "</th>";
    html += "</tr>";
    for (std::size_t r = 0; r < grid.rows.size(); ++r) {
        html += "<tr><td><b>" + Escaped(grid.rows[r]) + "</b></td>";
        for (const auto& cell : grid.cells[r]) html += "<td>" + Escaped(cell) + "</td>";
        html += "</tr>";
    }
    html += "</table></body></html>";
    return html;
}

}  // namespace equat
