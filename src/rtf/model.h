// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/picture.h"

namespace equat::rtf {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

enum class FontFamily : std::uint8_t { Nil, Roman, Swiss, Modern, Script, Decor, Tech, Bidi };

// How the bytes of a font's text become characters.
enum class FontEncoding : std::uint8_t {
    Text,    // the document's code page (Windows-1252)
    Symbol,  // the Symbol font's own table, read into real Unicode (Greek, brace pieces, ...)
    Pi,      // other picture fonts: byte b kept as U+F000 + b so the font still draws it
};

struct Font {
    std::string name;  // UTF-8
    int charset = 0;
    FontFamily family = FontFamily::Nil;
    int pitch = 0;
    bool operator==(const Font&) const = default;
};

FontEncoding EncodingOf(const Font& font);

enum class VAlign : std::uint8_t { Baseline, Super, Sub };

struct CharFormat {
    int font = -1;  // index into Document::fonts; -1: the document's default font
    int size = 24;  // half-points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    VAlign valign = VAlign::Baseline;
    std::optional<Rgb> colour;     // none: automatic
    std::optional<Rgb> highlight;  // none: no highlight
    bool operator==(const CharFormat&) const = default;
};

// Text is UTF-8; a tab is '\t', a line break inside a paragraph is U+2028. A run with a
// picture shows it after its text.
struct Run {
    CharFormat format;
    std::string text;
    std::optional<PngPicture> picture{};
    bool operator==(const Run&) const = default;
};

enum class Align : std::uint8_t { Left, Center, Right, Justify };

// Where a paragraph stands in a table (\trowd ... \cell ... \row): the document's tables are
// numbered in order, a table's rows from 0, a row's cells from 0; a cell may hold several
// paragraphs, in order. Every cell of a table is drawn with a single border. A reader that
// knows no tables sees the cells' paragraphs in reading order.
struct CellPlace {
    int table = 0;
    int row = 0;
    int column = 0;
    int right = 0;  // the cell's right edge, twips from the row's left (\cellxN)
    bool operator==(const CellPlace&) const = default;
};

// What a paragraph mark carries besides its character format.
struct ParaFormat {
    Align align = Align::Left;
    // \slN with \slmult1: 240 a single line, 360 one and a half, 480 double; 0 single.
    int lineSpacing = 0;
    int spaceAfter = 0;               // \saN, twips
    std::optional<CellPlace> cell{};  // a table's paragraph: where it stands
    bool operator==(const ParaFormat&) const = default;
};

struct Paragraph {
    std::vector<Run> runs;
    Align align = Align::Left;
    int lineSpacing = 0;  // see ParaFormat
    int spaceAfter = 0;
    CharFormat mark;  // of the paragraph mark: sets the height of an empty paragraph
    std::optional<CellPlace> cell{};  // none: outside any table
    bool operator==(const Paragraph&) const = default;
};

// A document always has at least one paragraph; text that ends with a paragraph mark has an
// empty last paragraph, as in an editor.
struct Document {
    std::vector<Font> fonts;
    int defaultFont = -1;  // index into fonts, -1 when the table is empty
    int defaultTab = 720;  // twips
    int language = 0;      // \deflang, 0 when not given
    std::vector<Paragraph> paragraphs{1};
    bool operator==(const Document&) const = default;
};

}  // namespace equat::rtf
