// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/printing.h"

#include <QCoreApplication>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include "platform/classpdf.h"
#include "platform/pages.h"
#include "platform/paginator.h"

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

bool PaintPages(Paginator& pages, QPagedPaintDevice& device, const QRectF& pageTwips,
                std::vector<int>* starts, QString* error) {
    QPainter painter;
    if (!painter.begin(&device)) {
        if (error) *error = QString("Le travail d'impression n'a pas pu commencer");
        return false;
    }
    PagesOf<QPagedPaintDevice> job(device);
    bool ok = pages.PaintPages(painter, job, pageTwips, starts, error);
    if (!painter.end() && ok) {
        if (error) *error = QString("Le travail d'impression n'a pas pu se terminer");
        ok = false;
    }
    return ok;
}

bool RunPrintJob(QPrinter& printer, const QString& title,
                 const std::function<bool(QString* error)>& paint, QString* error) {
    if (!PrinterIsInstalled(printer)) {
        if (error) *error = QString("Aucune imprimante n'est installée");
        return false;
    }
    // The queue names the job after the printer's document name.
    printer.setDocName(title);
    if (!paint(error)) return false;
    if (printer.printerState() == QPrinter::Error) {
        if (error)
            *error = QString("L'imprimante %1 a refusé le travail").arg(printer.printerName());
        return false;
    }
    return true;
}

bool PrintDocument(Paginator& pages, QPrinter& printer, const QString& title, QString* error,
                   std::vector<int>* starts) {
    return RunPrintJob(
        printer, title,
        [&](QString* why) {
            return PaintPages(pages, printer, PageRectTwips(printer), starts, why);
        },
        error);
}

bool PrintSet(const std::vector<ClassCopy>& copies, const std::vector<std::size_t>& keyOrder,
              int quizPerPage, bool keys, QPrinter& printer, const QString& title, QString* error) {
    return RunPrintJob(
        printer, title,
        [&](QString* why) { return PaintSet(copies, keyOrder, quizPerPage, keys, printer, why); },
        error);
}

}  // namespace equat
