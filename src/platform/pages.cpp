// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/pages.h"

#include <QFile>
#include <QPageLayout>
#include <QPaintDevice>
#include <algorithm>

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

std::size_t Largest(std::size_t most, const std::function<bool(std::size_t)>& fits,
                    std::size_t guess) {
    std::size_t lo = 1, hi = most;  // the answer is in [lo, hi]; fits(lo) holds, or lo is 1
    std::size_t n = std::clamp<std::size_t>(guess, 1, most);
    if (fits(n)) {
        for (std::size_t step = 1; (lo = n) < hi; step *= 2)
            if (!fits(n = std::min(hi, lo + step))) {
                hi = n - 1;
                break;
            }
    } else {
        for (std::size_t step = 1; (hi = n - 1) > 1; step *= 2)
            if (fits(n = hi > step ? hi - step + 1 : 1)) {
                lo = n;
                break;
            }
        if (hi < 1) return 1;
    }
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo + 1) / 2;
        fits(mid) ? lo = mid : hi = mid - 1;
    }
    return lo;
}

}  // namespace equat
