// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The lines of a document, set in twips: what the pages cut and draw. Each word is shaped by
// Qt once for all the documents of a thread (glyphs, fallback fonts and advances as Qt gives
// them), and the lines are filled and drawn from those shapes: a class set shapes the few
// hundred words its copies share instead of every item of every copy again.
#include <QColor>
#include <QList>
#include <QPointF>
#include <QRawFont>
#include <QString>
#include <memory>
#include <vector>

#include "rtf/model.h"

class QImage;
class QPainter;

namespace equat::typeset {

// Glyphs of one font, as Qt shapes them, ready to draw.
struct Glyphs {
    QRawFont font;
    QList<quint32> indexes;
    QList<QPointF> positions;
};

// A word or a space of one style, shaped: its glyphs with the pen at 0 on the baseline.
struct Shape {
    std::vector<Glyphs> runs;
    double width = 0;
};

// How a run looks: its glyphs' font, the metrics its line takes, and what is drawn with it.
struct Style {
    double ascent = 0, descent = 0, leading = 0;
    double shift = 0;  // the baseline's shift: up for a superscript, down for a subscript
    QColor colour = Qt::black;
    QColor highlight;  // invalid: none
    bool underline = false, strike = false;
    double lineWidth = 0, underlinePosition = 0, strikePosition = 0;
};

// A piece of a line: a shape, a picture or a stretch of a tab, at x from the line's left.
struct Item {
    double x = 0;
    double width = 0;
    int style = 0;
    const Shape* shape = nullptr;         // none: a tab, or a picture
    const PngPicture* picture = nullptr;  // drawn width x picture height, on the baseline
    double height = 0;
    bool space = false;  // spaces only: where a justified line stretches
};

struct Line {
    int position = 0;    // of its first character in the document
    double top = 0;      // from the document's top
    double height = 0;   // of its text
    double advance = 0;  // from its top to the next line's
    double ascent = 0;
    std::vector<Item> items;
};

struct Table;

// A paragraph: its lines, or a table (whose cells hold paragraphs) standing for all of them.
struct Block {
    int position = 0;
    int length = 0;  // its characters, and one for its mark
    QString text;
    double top = 0, bottom = 0;  // of its lines; its space after is below bottom
    double spaceAfter = 0;
    std::vector<Line> lines;
    std::shared_ptr<Table> table;  // set on a table's first block: the table's whole extent
    bool inTable = false;
};

struct Cell {
    double left = 0, top = 0, width = 0, height = 0;
    std::vector<Block> blocks;
};

struct Table {
    double top = 0, height = 0, width = 0;
    std::vector<Cell> cells;
};

// A document laid out in twips for one width. Paragraph k never stands higher than
// alignTops[k] when given.
struct Layout {
    std::vector<Block> blocks;  // in document order; a table's cells' blocks are in it
    std::vector<Style> styles;
    double height = 0;
    double idealWidth = 0;
    // What the items' shapes belong to: the thread's words, kept while the layout is.
    std::vector<std::shared_ptr<const void>> words;
};

// A device of 1440 dots per inch: shaped on it, one unit is one twip.
QImage& TwipDevice();

// The UTF-16 units QString::fromStdString makes of utf8, without making them for ASCII.
qsizetype Utf16Size(const std::string& utf8);

// Makes the spaces that must not end a line non-breaking, one character for one: on either
// side of "=" or "\u2248", and after a sign standing alone (a value keeps its sign).
void GlueValues(QString& text);

Layout SetDocument(const rtf::Document& doc, double widthTwips, int defaultTabTwips,
                   const std::vector<double>& alignTops);

// Draws the lines [first, last) of blocks, the painter in twips with the document's top at
// documentTop; a table whose first block is among them is drawn whole.
void DrawLines(QPainter& painter, const Layout& layout, const std::vector<const Line*>& lines,
               const std::vector<const Table*>& tables, double documentTop);

}  // namespace equat::typeset
