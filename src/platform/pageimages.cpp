// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/pageimages.h"

#include <QBuffer>
#include <QPainter>
#include <QPrinter>
#include <QSvgGenerator>

#include "platform/paginator.h"

namespace equat {

int RenderEMFPage(const QString& fileName, const QRect& frameHmm, const QRectF& pageTwips,
                  Paginator& pages, int start) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    // One unit per twip, the unit of the page layout, so that the text is written in the
    // sizes and at the places the layout gave it; the frame says the page's real size.
    svg.setResolution(1440);
    const QSize frameTwips(frameHmm.width() * 1440 / 2540, frameHmm.height() * 1440 / 2540);
    svg.setSize(frameTwips);
    svg.setViewBox(QRect(QPoint(0, 0), frameTwips));
    int next = start;
    {
        QPainter painter;
        if (!painter.begin(&svg)) return start;
        next = pages.FormatRange(painter, pageTwips, start, true);
        painter.end();
    }
    if (!SaveBytes(fileName, buffer.data(), nullptr, false)) return start;
    return next;
}

void RichEditToEMF(Paginator& pages, const QString& prefix, const QPrinter& printer,
                   std::vector<int>* starts) {
    const int length = pages.TextLength();
    const QRect frame = PageFrameHmm(printer);
    // Laid out in the printer's own page rectangle, so that the preview cuts the pages where
    // the paper does (whole millimetres could hold one line more).
    const QRectF page = PageRectTwips(printer);
    int position = 0;
    for (int index = 0; position < length && index < 2; ++index) {
        const QString name = QString("%1%2.EMF").arg(prefix).arg(index);
        const int next = RenderEMFPage(name, frame, page, pages, position);
        if (next == position) break;  // not written: this page and the next are missing
        if (starts) starts->push_back(position);
        position = next;
        if (position == 0) break;
    }
}

}  // namespace equat
