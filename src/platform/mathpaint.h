// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A question's statement and result painted straight from the sheet's model, for screens
// that show mathematics in large type (no document in between).
#include <QFont>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <string_view>
#include <vector>

#include "core/sheet.h"
#include "core/sheetmodel.h"

class QPainter;

namespace equat {

// A piece of a line in one look: unknowns in italics, x²'s 2 raised, x1's 1 lowered.
struct MathRun {
    enum class Shift { None, Up, Down };
    QString text;
    bool italic = false;
    Shift shift = Shift::None;
};
using MathLine = std::vector<MathRun>;

// Lines painted one under the other; a system's under a brace.
struct MathBlock {
    std::vector<MathLine> lines;
    bool brace = false;
};

// The statement's lines written as the documents write them, sign for sign and space for space.
// With splitAtSign, each equation takes two lines: its left side, then "=" and its right side
// indented, for a screen too narrow for the whole line.
MathBlock StatementBlock(const Statement& statement, bool splitAtSign = false);

// The result of a question as its key gives it in this style: exact values when the style
// shows them, else the decimal key's texts (with a comma when asked); a verdict in words;
// the second degree's discriminant first. One value a line.
MathBlock ResultBlock(const QuestionModel& question, KeyStyle style, bool decimalComma);

// The text of a line (for the summary's plain lines, tests and accessibility).
QString LineText(const MathLine& line);

// The key's markup of a value as plain text: tags dropped, Symbol-font signs as Unicode.
QString KeyMarkupText(std::string_view markup);

// The block's size in this font.
QSizeF BlockSize(const MathBlock& block, const QFont& font);

// The largest pixel size, at most the font's, at which the block fits the box.
double BlockPixelSize(const QRectF& box, const MathBlock& block, const QFont& font);

// Paints the block in box in the painter's pen, at the font's size or smaller when it does not
// fit, aligned by align (horizontally; always centred vertically). Returns the pixel size used.
double PaintBlock(QPainter& painter, const QRectF& box, const MathBlock& block, QFont font,
                  Qt::Alignment align = Qt::AlignHCenter);

// The statement in box, whole on its lines, or split at its signs when the whole lines would be
// smaller than `least` pixels and the split ones are larger.
double PaintStatement(QPainter& painter, const QRectF& box, const Statement& statement,
                      const QFont& font, Qt::Alignment align = Qt::AlignHCenter, double least = 0);

// The pixel size PaintStatement uses.
double StatementPixelSize(const QRectF& box, const Statement& statement, const QFont& font,
                          double least = 0);

}  // namespace equat
