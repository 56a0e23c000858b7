#include "platform/pages.h"

#include <sys/stat.h>

#include <QPageLayout>
#include <QPaintDevice>
#include <QSaveFile>
#include <QTemporaryFile>
#include <cerrno>
#include <filesystem>

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
    if (!sync) {
        // Written beside the target and renamed over it, without waiting for the disk.
        QTemporaryFile temp(path + ".XXXXXX");
        temp.setAutoRemove(true);
        bool ok = temp.open();
        if (ok) {
            // The permissions of a new file, not the private ones of a temporary file.
            const mode_t mask = ::umask(0);
            ::umask(mask);
            ::fchmod(temp.handle(), 0666 & ~mask);
            errno = 0;
            ok = temp.write(bytes) == bytes.size() && temp.flush();
            if (!ok && error) *error = errno != 0 ? qt_error_string(errno) : temp.errorString();
            temp.close();
        } else if (error) {
            *error = temp.errorString();
        }
        if (ok) {
            std::error_code ec;
            std::filesystem::rename(temp.fileName().toStdString(), path.toStdString(), ec);
            ok = !ec;
            if (ok) temp.setAutoRemove(false);
            if (!ok && error) *error = QString::fromStdString(ec.message());
        }
        return ok;
    }
    // Unbuffered, so that a short write shows in write's count (a buffered QSaveFile can
    // commit a truncated file).
    QSaveFile file(path);
    bool ok = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    if (ok) {
        errno = 0;
        ok = file.write(bytes) == bytes.size();
        if (!ok && error) *error = errno != 0 ? qt_error_string(errno) : file.errorString();
        if (ok) ok = file.commit();
    }
    if (!ok) {
        if (error && error->isEmpty()) *error = file.errorString();
        file.cancelWriting();
    }
    return ok;
}

QPageLayout DefaultPageLayout() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                       QPageLayout::Millimeter);
}

}  // namespace equat
