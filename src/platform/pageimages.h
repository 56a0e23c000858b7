// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QRect>
#include <QRectF>
#include <QString>
#include <vector>

#include "platform/pages.h"

class QPrinter;

namespace equat {

class Paginator;

// Page images: SVG files, whatever their name says. One page of the text from start,
// rendered into fileName with frameHmm (hundredths of a millimetre) as its size, the text
// laid out in pageTwips. Returns the first position that did not fit, or start itself when
// the file could not be written (then no file is left).
int RenderEMFPage(const QString& fileName, const QRect& frameHmm, const QRectF& pageTwips,
                  Paginator& pages, int start);

// At most two page images of the control's text, prefix + page index + ".EMF", with the
// page geometry of the printer. starts receives the first position of each page written.
void RichEditToEMF(Paginator& pages, const QString& prefix, const QPrinter& printer,
                   std::vector<int>* starts = nullptr);

}  // namespace equat
