#pragma once
#include <QRect>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <vector>

class QPageLayout;
class QPagedPaintDevice;
class QPaintDevice;
class QPrinter;

namespace equat {

class RichEdit;

// The program's current printer: the one the printer dialog last confirmed, else the
// system's default printer (a PDF device of A4 size when none is installed). High resolution,
// the whole printable area, no margins of our own.
QPrinter& CurrentPrinter();

// True when the printer is a real print queue that can take a job.
bool PrinterIsInstalled(const QPrinter& printer);

// The page rectangle of a device in twips: its printable area in device pixels
// × 1440 / pixels per inch, truncated.
QRectF PageRectTwips(const QPaintDevice& device);

// The page rectangle of the preview in hundredths of a millimetre: the printable area in
// whole millimetres × 100.
QRect PageFrameHmm(const QPaintDevice& device);

// Cuts the whole text of the control into pages of pageTwips and paints them on the device,
// from position 0 to the text length, a new page whenever the text goes on. starts receives
// the first position of every page. The painting is done when this returns; false with
// *error when the device would not start or a page could not be added.
bool PaintPages(RichEdit& edit, QPagedPaintDevice& device, const QRectF& pageTwips,
                std::vector<int>* starts, QString* error);

// One print job of the control's whole text on the printer, titled title (the job's name
// on the print queue). The page rectangle is the printer's printable area. False with
// *error when there is no printer or the job fails.
bool PrintDocument(RichEdit& edit, QPrinter& printer, const QString& title, QString* error,
                   std::vector<int>* starts = nullptr);

// Page images: SVG files, whatever their name says. One page of the text from start,
// rendered into fileName with frameHmm (hundredths of a millimetre) as its size, the text
// laid out in pageTwips. Returns the first position that did not fit, or start itself when
// the file could not be written (then no file is left).
int RenderEMFPage(const QString& fileName, const QRect& frameHmm, const QRectF& pageTwips,
                  RichEdit& edit, int start);

// At most two page images of the control's text, prefix + page index + ".EMF", with the
// page geometry of the printer. starts receives the first position of each page written.
void RichEditToEMF(RichEdit& edit, const QString& prefix, const QPrinter& printer,
                   std::vector<int>* starts = nullptr);

// The resolution of printers in high-resolution mode, and of our PDF files.
constexpr int kPrintDpi = 1200;

// The page of a document put out without a printer: A4 portrait with margins of 10 mm.
QPageLayout DefaultPageLayout();

// The whole text as a PDF, laid out as printing lays it out on a printer of that page layout
// and resolution; the file is replaced atomically (not synced). False with *error on failure.
bool WritePdf(RichEdit& edit, const QString& path, const QPageLayout& layout, int dpi,
              const QString& title, QString* error);
// The same PDF in memory, for files that are replaced together.
bool PdfBytes(RichEdit& edit, const QPageLayout& layout, int dpi, const QString& title,
              QByteArray* bytes, QString* error);

// The whole text as one PNG image per page at dpi, in the page cuts of printing: path with
// "-1", "-2", ... inserted before its extension. written receives the names.
bool WritePngPages(RichEdit& edit, const QString& path, const QPageLayout& layout, int dpi,
                   QStringList* written, QString* error);

// Replaces a file with the bytes through ReplaceFile; false with *error on failure.
// With sync, the data is on the disk before the old file goes (slower); without, only the
// replacement is atomic, which suits files made again at will (page images, tool output).
bool SaveBytes(const QString& path, const QByteArray& bytes, QString* error, bool sync = true);

}  // namespace equat
