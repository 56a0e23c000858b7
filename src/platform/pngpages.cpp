// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/pngpages.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPageLayout>
#include <QPainter>

#include "platform/pages.h"
#include "platform/paginator.h"

namespace equat {

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
