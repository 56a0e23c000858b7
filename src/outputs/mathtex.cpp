// SPDX-License-Identifier: GPL-3.0-or-later
#include "outputs/mathtex.h"

#include <vector>

#include "core/cp1252.h"
#include "outputs/documents.h"
#include "rtf/tablegrid.h"
#include "rtf/writer.h"

namespace equat {

namespace {

// One sign of a paragraph with what its run says of it.
struct Sign {
    char32_t c;
    rtf::VAlign valign;
    bool bold;
};
using Signs = std::vector<Sign>;

Signs SignsOf(const rtf::Paragraph& p) {
    Signs signs;
    for (const auto& run : p.runs)
        for (std::size_t pos = 0; pos < run.text.size();)
            signs.push_back(
                {rtf::NextCodePoint(run.text, pos), run.format.valign, run.format.bold});
    return signs;
}

std::string Utf8(char32_t c) {
    std::string out;
    AppendUtf8(out, c);
    return out;
}

bool IsLetter(char32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
           (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7);
}
bool InWord(char32_t c) {
    return IsLetter(c) || c == '\'' || c == 0x2019;
}
bool IsSpace(char32_t c) {
    return c == ' ' || c == '\t' || c == 0xA0;
}

// The end of the word at `at`, or `at` when no French word starts there: two letters or more
// (a lone letter is an unknown, "ac" the product of the discriminant's formula).
std::size_t WordEnd(const Signs& s, std::size_t at) {
    if (at > 0 && InWord(s[at - 1].c)) return at;
    std::size_t end = at, letters = 0;
    std::string ascii;
    for (; end < s.size() && InWord(s[end].c); ++end) {
        letters += IsLetter(s[end].c);
        ascii += char(s[end].c);
    }
    return letters >= 2 && ascii != "ac" ? end : at;
}

// The end of the words from `at`: words with spaces or light punctuation between them, and
// the punctuation that ends the last.
std::size_t ProseEnd(const Signs& s, std::size_t at) {
    std::size_t end = WordEnd(s, at);
    for (;;) {
        std::size_t next = end;
        while (next < s.size() && (IsSpace(s[next].c) || s[next].c == ',' || s[next].c == ':'))
            ++next;
        const std::size_t word = next < s.size() ? WordEnd(s, next) : next;
        if (word == next) break;
        end = word;
    }
    while (end < s.size() && (s[end].c == '.' || s[end].c == ',')) ++end;
    return end;
}

// One sign in TeX; a root takes the digits (or the Δ) after it.
std::string TexOf(const Signs& s, std::size_t& k) {
    const auto digit = [&](std::size_t at) {
        return at < s.size() && s[at].c >= '0' && s[at].c <= '9';
    };
    const Sign& sign = s[k++];
    if (sign.c == 0x221A) {
        std::string root = "\\sqrt{";
        if (k < s.size() && s[k].c == 0x394) root += TexSign(s[k++].c);
        while (digit(k)) root += char(s[k++].c);
        return root + "}";
    }
    // A decimal comma, not a comma's space.
    if (sign.c == ',' && k >= 2 && digit(k - 2) && digit(k)) return "{,}";
    if (sign.bold && IsLetter(sign.c)) return "\\mathbb{" + Utf8(sign.c) + "}";
    const std::string_view tex = TexSign(sign.c);
    return tex.empty() ? Utf8(sign.c) : std::string(tex);
}

// Signs [from, to) as TeX: spaces kept single, a wide gap (a tab, four spaces) as \qquad,
// raised and lowered runs (from the baseline `base`) as powers and indices.
std::string MathTex(const Signs& s, std::size_t from, std::size_t to,
                    rtf::VAlign base = rtf::VAlign::Baseline) {
    while (from < to && IsSpace(s[from].c)) ++from;
    while (to > from && IsSpace(s[to - 1].c)) --to;
    std::string tex;
    for (std::size_t k = from; k < to;) {
        if (IsSpace(s[k].c)) {
            const std::size_t start = k;
            bool tab = false;
            for (; k < to && IsSpace(s[k].c); ++k) tab |= s[k].c == '\t';
            tex += tab || k - start >= 4 ? "\\qquad " : " ";
        } else if (s[k].valign != base) {
            const rtf::VAlign v = s[k].valign;
            std::size_t end = k;
            while (end < to && s[end].valign == v) ++end;
            if (!tex.empty() && tex.back() == ' ') tex.pop_back();
            tex += (v == rtf::VAlign::Super ? "^{" : "_{") + MathTex(s, k, end, v) + "}";
            k = end;
        } else {
            tex += TexOf(s, k);
        }
    }
    return tex;
}

std::string PlainText(const Signs& s, std::size_t from, std::size_t to) {
    std::string text;
    for (std::size_t k = from; k < to; ++k)
        text += IsSpace(s[k].c) ? std::string(" ") : Utf8(s[k].c);
    return text;
}

// A paragraph's signs from `from`: words as HTML text (inHtml) or \text{} (inside TeX), the
// rest as TeX, between \( and \) in HTML.
std::string LineTex(const Signs& s, std::size_t from, bool inHtml) {
    std::string out;
    std::size_t math = from;
    auto flushMath = [&](std::size_t to) {
        const std::string tex = MathTex(s, math, to);
        if (!tex.empty()) out += inHtml ? "\\(" + tex + "\\)" : tex;
    };
    for (std::size_t k = from; k < s.size();) {
        const std::size_t end = WordEnd(s, k) == k ? k : ProseEnd(s, k);
        if (end == k) {
            ++k;
            continue;
        }
        flushMath(k);
        const bool spaced = !out.empty();
        const std::string words = (spaced ? " " : "") + PlainText(s, k, end) +
                                  (end < s.size() && IsSpace(s[end].c) ? " " : "");
        out += inHtml ? words : "\\text{" + words + "}";
        k = math = end;
    }
    flushMath(s.size());
    return out;
}

// Where a paragraph's text starts, and the brace sign that opens it, if any.
std::size_t TextStart(const Signs& s) {
    std::size_t k = 0;
    while (k < s.size() && IsSpace(s[k].c)) ++k;
    return k;
}
bool IsBrace(const Signs& s, char32_t sign) {
    const std::size_t k = TextStart(s);
    return k < s.size() && s[k].c == sign;
}

// A table as HTML, each cell bordered and centred, its paragraphs' text and TeX as they
// would be outside it.
std::string TableHtml(const rtf::Document& doc, const rtf::TableGrid& grid) {
    std::string html = "<table style=\"border-collapse:collapse\">\n";
    for (const auto& row : grid.cells) {
        html += "<tr>";
        for (const auto& cell : row) {
            html += "<td style=\"border:1px solid black;padding:2px 6px;text-align:center\">";
            for (std::size_t k = cell.first; k < cell.last; ++k) {
                const Signs s = SignsOf(doc.paragraphs[k]);
                if (k > cell.first) html += "<br>";
                html += XmlEscaped(LineTex(s, TextStart(s), true));
            }
            html += "</td>";
        }
        html += "</tr>\n";
    }
    return html + "</table>\n";
}

}  // namespace

std::string_view TexSign(char32_t c) {
    switch (c) {
        case 0xD7:
            return "\\times ";
        case 0x2248:
            return "\\approx ";
        case 0x394:
            return "\\Delta ";
        case 0xB2:
            return "^{2}";
        case 0x2205:
            return "\\emptyset ";
        case 0x221E:  // as the LaTeX text has always written it
            return "\\infty";
        case 0x222A:
            return "\\cup ";
        case 0x2212:
            return "-";
        case 0x2260:
            return "\\neq ";
        case 0x2264:
            return "\\leq ";
        case 0x2265:
            return "\\geq ";
        case 0xB7:
            return "\\cdot ";
        case '{':
            return "\\{";
        case '}':
            return "\\}";
        case '\\':
            return "\\backslash ";
        case '%':
            return "\\%";
        case '#':
            return "\\#";
        case '$':
            return "\\$";
        case '&':
            return "\\&";
        case '_':
            return "\\_";
        case '^':
            return "\\hat{}";
        case '~':
            return "\\sim ";
        default:
            return {};
    }
}

std::string DocumentTexHtml(const rtf::Document& doc) {
    std::string html;
    std::string cases;  // the lines of an open brace
    for (std::size_t k = 0; k < doc.paragraphs.size(); ++k) {
        if (doc.paragraphs[k].cell) {
            const rtf::TableGrid grid = rtf::TableAt(doc.paragraphs, k);
            html += TableHtml(doc, grid);
            k = grid.end - 1;
            continue;
        }
        const Signs s = SignsOf(doc.paragraphs[k]);
        const bool opens = IsBrace(s, 0x23A7), middle = IsBrace(s, 0x23A8),
                   closes = IsBrace(s, 0x23A9);
        if (opens || middle || closes) {
            const std::string line = LineTex(s, TextStart(s) + 1, false);
            if (!line.empty()) cases += (cases.empty() ? "" : " \\\\ ") + line;
            if (closes) {
                html +=
                    "<p>" + XmlEscaped("\\(\\begin{cases}" + cases + "\\end{cases}\\)") + "</p>\n";
                cases.clear();
            }
            continue;
        }
        const std::string line = LineTex(s, TextStart(s), true);
        if (!line.empty()) html += "<p>" + XmlEscaped(line) + "</p>\n";
    }
    return html;
}

}  // namespace equat
