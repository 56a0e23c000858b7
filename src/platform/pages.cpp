#include "platform/pages.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <QSvgGenerator>

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
    svg.setResolution(2540);  // one unit is a hundredth of a millimetre
    svg.setSize(frameHmm.size());
    svg.setViewBox(frameHmm);
    int next = start;
    {
        QPainter painter;
        if (!painter.begin(&svg)) return start;
        next = edit.FormatRange(painter, pageTwips, start, true);
        painter.end();
    }
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        file.write(buffer.data()) != buffer.size() || !file.commit()) {
        file.cancelWriting();
        return start;
    }
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

}  // namespace equat
