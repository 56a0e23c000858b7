// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/pageimages.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPageLayout>
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

bool WritePngPages(Paginator& pages, const QString& path, const QPageLayout& layout, int dpi,
                   QStringList* written, QString* error) {
    const QRect paint = layout.paintRectPixels(dpi);
    const QFileInfo info(path);
    const QString suffix = info.suffix().isEmpty() ? QString() : "." + info.suffix();
    const QString stem = suffix.isEmpty() ? path : path.left(path.size() - suffix.size());
    // Cut where a PDF at printing resolution cuts, whatever the images' resolution.
    const QRect fine = layout.paintRectPixels(kPrintDpi);
    const QRectF pageTwips(0, 0, fine.width() * 1440 / kPrintDpi, fine.height() * 1440 / kPrintDpi);
    const int end = pages.TextLength();
    int position = 0;
    for (int page = 1;; ++page) {
        QImage image(paint.size(), QImage::Format_RGB32);
        const int dotsPerMeter = qRound(dpi / 0.0254);
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        image.fill(Qt::white);
        int next = end;
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setRenderHint(QPainter::TextAntialiasing);
            next = pages.FormatRange(painter, pageTwips, position, true);
        }
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "png");
        const QString name = QString("%1-%2%3").arg(stem).arg(page).arg(suffix);
        if (!writer.write(image)) {
            if (error) *error = writer.errorString();
            return false;
        }
        if (!SaveBytes(name, buffer.data(), error, false)) return false;
        if (written) written->push_back(name);
        if (next >= end || next == -1) break;
        position = next;
    }
    return true;
}

}  // namespace equat
