#include "platform/pages.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSvgGenerator>
#include <cerrno>
#include <filesystem>

#include "core/fileio.h"
#include "platform/richedit.h"

namespace equat {

namespace {

QPrinter* g_printer = nullptr;

void DeleteCurrentPrinter() {
    delete g_printer;
    g_printer = nullptr;
}

}  // namespace

QPrinter& CurrentPrinter() {
    if (!g_printer) {
        g_printer = new QPrinter(QPrinter::HighResolution);
        g_printer->setFullPage(false);
        if (g_printer->outputFormat() != QPrinter::NativeFormat)
            g_printer->setPageSize(QPageSize(QPageSize::A4));
        // The printer must go before the application's print support does.
        qAddPostRoutine(DeleteCurrentPrinter);
    }
    return *g_printer;
}

bool PrinterIsInstalled(const QPrinter& printer) {
    return printer.outputFormat() == QPrinter::NativeFormat && !printer.printerName().isEmpty() &&
           printer.isValid() && !QPrinterInfo::printerInfo(printer.printerName()).isNull();
}

QRectF PageRectTwips(const QPaintDevice& device) {
    const int w = device.width() * 1440 / device.logicalDpiX();
    const int h = device.height() * 1440 / device.logicalDpiY();
    return QRectF(0, 0, w, h);
}

QRect PageFrameHmm(const QPaintDevice& device) {
    return QRect(0, 0, device.widthMM() * 100, device.heightMM() * 100);
}

bool PaintPages(RichEdit& edit, QPagedPaintDevice& device, const QRectF& pageTwips,
                std::vector<int>* starts, QString* error) {
    QPainter painter;
    if (!painter.begin(&device)) {
        if (error) *error = QString("Le travail d'impression n'a pas pu commencer");
        return false;
    }
    const int end = edit.TextLength();
    int position = 0;
    bool ok = true;
    for (;;) {
        if (starts) starts->push_back(position);
        const int next = edit.FormatRange(painter, pageTwips, position, true);
        if (next >= end || next == -1) break;
        if (!device.newPage()) {
            if (error) *error = QString("Une nouvelle page n'a pas pu être ajoutée");
            ok = false;
            break;
        }
        position = next;
    }
    if (!painter.end() && ok) {
        if (error) *error = QString("Le travail d'impression n'a pas pu se terminer");
        ok = false;
    }
    return ok;
}

bool PrintDocument(RichEdit& edit, QPrinter& printer, const QString& title, QString* error,
                   std::vector<int>* starts) {
    if (!PrinterIsInstalled(printer)) {
        if (error) *error = QString("Aucune imprimante n'est installée");
        return false;
    }
    // The queue names the job after the printer's document name.
    printer.setDocName(title);
    if (!PaintPages(edit, printer, PageRectTwips(printer), starts, error)) return false;
    if (printer.printerState() == QPrinter::Error) {
        if (error)
            *error = QString("L'imprimante %1 a refusé le travail").arg(printer.printerName());
        return false;
    }
    return true;
}

int RenderEMFPage(const QString& fileName, const QRect& frameHmm, const QRectF& pageTwips,
                  RichEdit& edit, int start) {
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
        next = edit.FormatRange(painter, pageTwips, start, true);
        painter.end();
    }
    if (!SaveBytes(fileName, buffer.data(), nullptr, false)) return start;
    return next;
}

void RichEditToEMF(RichEdit& edit, const QString& prefix, const QPrinter& printer,
                   std::vector<int>* starts) {
    const int length = edit.TextLength();
    const QRect frame = PageFrameHmm(printer);
    // Laid out in the printer's own page rectangle, so that the preview cuts the pages where
    // the paper does (whole millimetres could hold one line more).
    const QRectF page = PageRectTwips(printer);
    int position = 0;
    for (int index = 0; position < length && index < 2; ++index) {
        const QString name = QString("%1%2.EMF").arg(prefix).arg(index);
        const int next = RenderEMFPage(name, frame, page, edit, position);
        if (next == position) break;  // not written: this page and the next are missing
        if (starts) starts->push_back(position);
        position = next;
        if (position == 0) break;
    }
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

bool PdfBytes(RichEdit& edit, const QPageLayout& layout, int dpi, const QString& title,
              QByteArray* bytes, QString* error) {
    QBuffer buffer(bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setResolution(dpi);
    pdf.setPageLayout(layout);
    pdf.setTitle(title);
    pdf.setCreator("Equat");
    return PaintPages(edit, pdf, PageRectTwips(pdf), nullptr, error);
}

bool WritePdf(RichEdit& edit, const QString& path, const QPageLayout& layout, int dpi,
              const QString& title, QString* error) {
    QByteArray bytes;
    return PdfBytes(edit, layout, dpi, title, &bytes, error) &&
           SaveBytes(path, bytes, error, false);
}

bool WritePngPages(RichEdit& edit, const QString& path, const QPageLayout& layout, int dpi,
                   QStringList* written, QString* error) {
    const QRect paint = layout.paintRectPixels(dpi);
    const QFileInfo info(path);
    const QString suffix = info.suffix().isEmpty() ? QString() : "." + info.suffix();
    const QString stem = suffix.isEmpty() ? path : path.left(path.size() - suffix.size());
    // Cut where a PDF at printing resolution cuts, whatever the images' resolution.
    const QRect fine = layout.paintRectPixels(kPrintDpi);
    const QRectF pageTwips(0, 0, fine.width() * 1440 / kPrintDpi, fine.height() * 1440 / kPrintDpi);
    const int end = edit.TextLength();
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
            next = edit.FormatRange(painter, pageTwips, position, true);
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
