// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/markup.h"

#include <array>
#include <vector>

#include "core/numbertext.h"

namespace equat {

const std::string_view kRtfHeader =
    "{\\rtf1\\ansi\\ansicpg1252\\deftab720\\deff0\\deflang1036"
    "{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset0 Arial;}{\\f1\\froman\\fprq2\\fcharset0 Times New "
    "Roman;}{\\f2\\fmodern\\fprq1\\fcharset0 Courier New;}{\\f3\\froman\\fprq2\\fcharset2 "
    "Symbol;}{\\f4\\fswiss\\fcharset0 Arial;}}"
    "{\\colortbl ;\\red0\\green0\\blue0;\\red128\\green0\\blue0;\\red0\\green128\\blue0;"
    "\\red128\\green128\\blue0;\\red0\\green0\\blue128;\\red128\\green0\\blue128;"
    "\\red0\\green128\\blue128;\\red128\\green128\\blue128;\\red192\\green192\\blue192;"
    "\\red255\\green0\\blue0;\\red0\\green255\\blue0;\\red255\\green255\\blue0;"
    "\\red0\\green0\\blue255;\\red255\\green0\\blue255;\\red0\\green255\\blue255;"
    "\\red255\\green255\\blue255;}\\viewkind4\\uc1\\pard\\f0 ";

namespace {

struct Tag {
    std::string_view text;
    std::string_view rtf;
    MarkupTag meaning;
};

constexpr std::array<Tag, 18> kTags{{
    {"b", "\\b ", {TagKind::Bold, 1}},
    {"/b", "\\b0 ", {TagKind::Bold, 0}},
    {"i", "\\i ", {TagKind::Italic, 1}},
    {"/i", "\\i0 ", {TagKind::Italic, 0}},
    {"u", "\\ul ", {TagKind::Underline, 1}},
    {"/u", "\\ul0 ", {TagKind::Underline, 0}},
    {"s", "\\strike ", {TagKind::Strike, 1}},
    {"/s", "\\strike0 ", {TagKind::Strike, 0}},
    {"sup", "\\super ", {TagKind::Super, 0}},
    {"/sup", "\\nosupersub ", {TagKind::Baseline, 0}},
    {"sub", "\\sub ", {TagKind::Sub, 0}},
    {"/sub", "\\nosupersub ", {TagKind::Baseline, 0}},
    {"arial", "\\f0 ", {TagKind::Font, 0}},
    {"times", "\\f1 ", {TagKind::Font, 1}},
    {"courier", "\\f2 ", {TagKind::Font, 2}},
    {"symbol", "\\f3 ", {TagKind::Font, 3}},
    {"br", "\\par ", {TagKind::Break, 0}},
    {"tab", "\\tab ", {TagKind::Tab, 0}},
}};

// Names are Windows-1252 bytes ("\xE9" is é).
constexpr std::array<std::string_view, 17> kColourNames{
    "auto",   "noir", "marron",        "vert",       "olive", "bleu fonc\xE9",
    "violet", "cyan", "gris fonc\xE9", "gris clair", "rouge", "vert clair",
    "jaune",  "bleu", "fuchsia",       "bleu ciel",  "blanc"};

// A size tag's number: every "te=" goes, whatever follows.
std::string SizeText(std::string_view tag) {
    std::string size;
    for (std::size_t k = 0; k < tag.size();) {
        if (tag.compare(k, 3, "te=") == 0) {
            k += 3;
        } else {
            size += tag[k++];
        }
    }
    return size;
}

// The size of a size tag of one to four digits alone, the sizes the layout writes and the only
// ones a teacher's text keeps, read without SizeText's copy; -1 for any other tag.
int PlainSize(std::string_view tag) {
    if (!tag.starts_with("te=") || tag.size() < 4 || tag.size() > 7) return -1;
    int size = 0;
    for (const char c : tag.substr(3)) {
        if (c < '0' || c > '9') return -1;
        size = size * 10 + (c - '0');
    }
    return size;
}

// Each cell of a table row bordered by a single line.
constexpr std::string_view kCellBorders =
    "\\clvertalc\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10"
    "\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10\\cellx";

// The table tags' RTF; false for any other tag.
bool AppendTableTag(std::string& out, std::string_view tag) {
    if (tag == "cell") {
        out += "\\cell ";
    } else if (tag == "/row") {
        out += "\\row\\pard ";
    } else if (tag.starts_with("row=")) {
        const std::vector<int> edges = RowEdges(tag);
        if (edges.empty()) return true;  // vanishes
        AppendRowRtf(out, edges);
        out += "\\qc ";
    } else {
        return false;
    }
    return true;
}

void AppendTag(std::string& out, std::string_view tag) {
    if (AppendTableTag(out, tag)) return;
    for (const auto& t : kTags) {
        if (tag == t.text) {
            out += t.rtf;
            return;
        }
    }
    if (tag.starts_with("te=")) {
        // No check that a number remains.
        out += "\\fs";
        out += SizeText(tag);
        out += ' ';
        return;
    }
    const bool text = tag.starts_with("ce=");
    if (text || tag.starts_with("cf=")) {
        const int index = ColourIndex(std::string_view(tag).substr(3));
        if (index < 0) return;
        out += text ? "\\cf" : "\\highlight";
        out += DecimalText(index);
        out += ' ';
    }
}

// Whether a tag's text (lower case) is one AppendTag writes as it should: a size is a number.
bool IsOwnTag(std::string_view tag) {
    for (const auto& t : kTags)
        if (tag == t.text) return true;
    if (tag.starts_with("te=")) return PlainSize(tag) >= 0;
    return (tag.starts_with("ce=") || tag.starts_with("cf=")) && ColourIndex(tag.substr(3)) >= 0;
}

void AppendAsText(std::string& out, char c) {
    if (static_cast<unsigned char>(c) < 32) return;  // it would vanish, or a NUL end the text
    if (c == '\\' || c == '{' || c == '}') out += '\\';
    if (c == '<') {
        out += "\\'3c";  // a tag would start otherwise
    } else {
        out += c;
    }
}

}  // namespace

void AppendRowRtf(std::string& out, const std::vector<int>& edges) {
    out += "\\trowd\\trgaph70\\trleft0";
    for (int edge : edges) {
        out += kCellBorders;
        AppendDecimal(out, edge);
    }
    out += "\\pard\\intbl ";
}

std::string TextAsMarkup(std::string_view text) {
    std::string out;
    for (char c : text) AppendAsText(out, c);
    return out;
}

std::string TeacherMarkup(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto close = text[i] == '<' ? text.find('>', i + 1) : std::string_view::npos;
        if (close != std::string_view::npos) {
            std::string tag(text.substr(i + 1, close - i - 1));
            for (char& t : tag)
                if (t >= 'A' && t <= 'Z') t = static_cast<char>(t - 'A' + 'a');
            if (IsOwnTag(tag)) {
                out.append(text.substr(i, close - i + 1));
                i = close;
                continue;
            }
        }
        AppendAsText(out, text[i]);
    }
    return out;
}

int ColourIndex(std::string_view name) {
    if (name == "automatique") return 0;
    for (std::size_t k = 0; k < kColourNames.size(); ++k)
        if (name == kColourNames[k]) return static_cast<int>(k);
    return -1;
}

std::vector<int> RowEdges(std::string_view tag) {
    if (!tag.starts_with("row=")) return {};
    std::vector<int> edges;
    int right = 0;
    for (std::string_view rest = tag.substr(4);;) {
        const auto comma = rest.find(',');
        const std::string_view width = rest.substr(0, comma);
        if (width.empty() || width.size() > 5 ||
            width.find_first_not_of("0123456789") != std::string_view::npos)
            return {};
        const int twips = std::stoi(std::string(width));
        right += twips;
        if (twips == 0 || right > kMaxRowTwips || static_cast<int>(edges.size()) == kMaxRowCells)
            return {};
        edges.push_back(right);
        if (comma == std::string_view::npos) return edges;
        rest.remove_prefix(comma + 1);
    }
}

MarkupTag ReadTag(std::string_view tag) {
    if (const int size = PlainSize(tag); size >= 0) return {TagKind::Size, size};
    for (const auto& t : kTags)
        if (tag.size() == t.text.size() && tag[0] == t.text[0] && tag == t.text) return t.meaning;
    if (tag == "cell") return {TagKind::Cell, 0};
    if (tag == "/row") return {TagKind::RowEnd, 0};
    if (tag.starts_with("row=")) {
        const std::size_t cells = RowEdges(tag).size();
        return cells == 0 ? MarkupTag{} : MarkupTag{TagKind::Row, static_cast<int>(cells)};
    }
    if (tag.starts_with("te=")) {
        const std::string size = SizeText(tag);
        if (size.empty()) return {TagKind::Size, -1};
        if (size.size() > 4 || size.find_first_not_of("0123456789") != std::string::npos) return {};
        return {TagKind::Size, std::stoi(size)};
    }
    const bool text = tag.starts_with("ce=");
    if (text || tag.starts_with("cf=")) {
        const int index = ColourIndex(tag.substr(3));
        if (index >= 0) return {text ? TagKind::Colour : TagKind::Highlight, index};
    }
    return {};
}

void AppendMarkupRtf(std::string& out, std::string_view markup) {
    ForEachMarkup(
        markup, [&](std::string_view text) { out += text; },
        [&](std::string_view tag) { AppendTag(out, tag); });
}

std::string MarkupToRtf(std::string_view markup) {
    std::string out;
    out.reserve(markup.size() + markup.size() / 2);
    AppendMarkupRtf(out, markup);
    return out;
}

}  // namespace equat
