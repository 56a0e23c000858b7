// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QTextCharFormat>

#include "rtf/model.h"

class QTextCursor;
class QTextDocument;

namespace equat {

// Puts metric-compatible stand-ins behind the documents' fonts (Arial, Times New Roman,
// Courier New) and a Unicode font behind Symbol, for machines without them. Idempotent.
void InstallFontFallbacks();

// The font that the rich-text control and the pages start from: Courier New 11 pixels high.
// Installs the font fallbacks first.
QFont DocumentFont();

// Qt character format of a run; the RTF font (name, charset, family, pitch) travels in
// properties so that writing the text back gives the same font table entry. Qt is given the
// family the font is drawn with: the font itself where installed, else its first installed
// stand-in.
QTextCharFormat ToQtFormat(const rtf::CharFormat& format, const std::vector<rtf::Font>& fonts);

// Replaces the cursor's selection with the document and leaves the cursor after it. The
// caller brackets it in an edit block when it should count as one change.
void InsertDocument(QTextCursor& cursor, const rtf::Document& doc);

// The model of the characters [start, end) of a Qt document; a paragraph mark inside the
// range ends a paragraph.
rtf::Document DocumentFromRange(const QTextDocument& doc, int start, int end);

}  // namespace equat
