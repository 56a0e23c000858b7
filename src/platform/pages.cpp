// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/pages.h"

#include <QFile>
#include <QPageLayout>
#include <QPaintDevice>

#include "core/fileio.h"

namespace equat {

QRectF PageRectTwips(const QPaintDevice& device) {
    const int w = device.width() * 1440 / device.logicalDpiX();
    const int h = device.height() * 1440 / device.logicalDpiY();
    return QRectF(0, 0, w, h);
}

QRect PageFrameHmm(const QPaintDevice& device) {
    return QRect(0, 0, device.widthMM() * 100, device.heightMM() * 100);
}

bool SaveBytes(const QString& path, const QByteArray& bytes, QString* error, bool sync) {
    std::string why;
    if (ReplaceFile(QFile::encodeName(path).toStdString(),
                    std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                    &why, {.sync = sync}))
        return true;
    if (error) *error = QString::fromStdString(why);
    return false;
}

QPageLayout DefaultPageLayout() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                       QPageLayout::Millimeter);
}

}  // namespace equat
