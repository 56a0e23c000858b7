// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A PDF written by us, drawn with a QPainter like any paint device: compact text (one TJ
// array a run of glyphs), fonts subset, streams deflated fast, pages written as they end.
#include <QColor>
#include <QList>
#include <QPageLayout>
#include <QPaintDevice>
#include <QPointF>
#include <QRawFont>
#include <QString>
#include <QTransform>
#include <memory>
#include <string>

namespace equat {

class Beside;

// A PDF written by us: pages of a QPageLayout at a resolution, drawn with a QPainter.
// Coordinates are QPdfWriter's: device pixels at `resolution` dots per inch from the top left
// of the page's paint rectangle, y down; a page's media box is the full page.
class PdfDevice : public QPaintDevice {
  public:
    PdfDevice(const QPageLayout& layout, int resolution, QString title, QString creator);
    ~PdfDevice() override;
    PdfDevice(const PdfDevice&) = delete;
    PdfDevice& operator=(const PdfDevice&) = delete;

    bool newPage();  // as QPdfWriter::newPage: a new page after the current one
    QPageLayout pageLayout() const;
    int resolution() const;

    // Glyphs drawn straight, skipping QPainter's text machinery: the glyph ids of font at
    // positions (their baseline origins, in the painter's logical coordinates), under the
    // painter's world transform (pass painter.combinedTransform()), in colour. The clip is
    // the one the painter last drew under.
    void DrawGlyphs(const QTransform& transform, const QRawFont& font, const QList<quint32>& glyphs,
                    const QList<QPointF>& positions, const QColor& colour);

    // Pages deflated by worker from now on, while this thread draws the next ones; the file is
    // the same. The worker must outlive the device's Finish.
    void DeflateBeside(Beside& worker);

    // The finished file once the painter has ended; false with *why before, or on failure.
    bool Finish(std::string* pdf, QString* why);

    QPaintEngine* paintEngine() const override;

    struct Doc;

  protected:
    int metric(PaintDeviceMetric metric) const override;

  private:
    std::unique_ptr<Doc> doc_;
    std::unique_ptr<QPaintEngine> engine_;
};

}  // namespace equat
