// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QByteArray>
#include <QPageLayout>
#include <QRect>
#include <QRectF>
#include <QString>
#include <functional>

class QPaintDevice;

namespace equat {

// Page geometry shared by printing and page images, and the writing of their files.

// The page rectangle of a device in twips: its printable area in device pixels
// × 1440 / pixels per inch, truncated.
QRectF PageRectTwips(const QPaintDevice& device);

// The page rectangle of the preview in hundredths of a millimetre: the printable area in
// whole millimetres × 100.
QRect PageFrameHmm(const QPaintDevice& device);

// The pages of one job: a printer's, or those of a PDF of ours.
class PageDevice {
  public:
    virtual ~PageDevice() = default;
    virtual QPaintDevice& Device() = 0;
    virtual bool NewPage() = 0;
    virtual QPageLayout PageLayout() const = 0;
};

// The pages of a device that has newPage() and pageLayout(), as printers and our PDFs have.
template <class D>
class PagesOf final : public PageDevice {
  public:
    explicit PagesOf(D& device) : device_(device) {}
    QPaintDevice& Device() override { return device_; }
    bool NewPage() override { return device_.newPage(); }
    QPageLayout PageLayout() const override { return device_.pageLayout(); }

  private:
    D& device_;
};

// The resolution of printers in high-resolution mode, and of our PDF files.
constexpr int kPrintDpi = 1200;

// The page of a document put out without a printer: A4 portrait with margins of 10 mm.
QPageLayout DefaultPageLayout();

// Replaces a file with the bytes through ReplaceFile; false with *error on failure.
// With sync, the data is on the disk before the old file goes (slower); without, only the
// replacement is atomic, which suits files made again at will (page images, tool output).
bool SaveBytes(const QString& path, const QByteArray& bytes, QString* error, bool sync = true);

// The largest n in 1..most for which fits(n) holds (fits falls from true to false as n grows);
// 1 when none does. Searched outwards from a guess, in steps that double, then halved: a page
// of a grid mostly takes as many rows as the last, and each try lays a table out.
std::size_t Largest(std::size_t most, const std::function<bool(std::size_t)>& fits,
                    std::size_t guess);

}  // namespace equat
