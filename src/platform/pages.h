// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QByteArray>
#include <QRect>
#include <QRectF>
#include <QString>

class QPageLayout;
class QPaintDevice;

namespace equat {

// Page geometry shared by printing and page images, and the writing of their files.

// The page rectangle of a device in twips: its printable area in device pixels
// × 1440 / pixels per inch, truncated.
QRectF PageRectTwips(const QPaintDevice& device);

// The page rectangle of the preview in hundredths of a millimetre: the printable area in
// whole millimetres × 100.
QRect PageFrameHmm(const QPaintDevice& device);

// The resolution of printers in high-resolution mode, and of our PDF files.
constexpr int kPrintDpi = 1200;

// The page of a document put out without a printer: A4 portrait with margins of 10 mm.
QPageLayout DefaultPageLayout();

// Replaces a file with the bytes through ReplaceFile; false with *error on failure.
// With sync, the data is on the disk before the old file goes (slower); without, only the
// replacement is atomic, which suits files made again at will (page images, tool output).
bool SaveBytes(const QString& path, const QByteArray& bytes, QString* error, bool sync = true);

}  // namespace equat
