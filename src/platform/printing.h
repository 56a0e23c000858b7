// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QRectF>
#include <QString>
#include <cstddef>
#include <functional>
#include <vector>

#include "platform/pages.h"

class QPagedPaintDevice;
class QPrinter;

namespace equat {

class Paginator;
struct ClassCopy;

// The program's current printer: the one the printer dialog last confirmed, else the
// system's default printer (a PDF device of A4 size when none is installed). High resolution,
// the whole printable area, no margins of our own.
QPrinter& CurrentPrinter();

// True when the printer is a real print queue that can take a job.
bool PrinterIsInstalled(const QPrinter& printer);

// One job of the whole document on the device, in pages of pageTwips (see
// Paginator::PaintPages). The painting is done when this returns; false with *error when
// the device would not start or a page could not be added.
bool PaintPages(Paginator& pages, QPagedPaintDevice& device, const QRectF& pageTwips,
                std::vector<int>* starts, QString* error);

// One print job on the printer, titled title (the job's name on the print queue): paint
// draws its pages on the printer. False with *error when there is no printer, the painting
// fails or the queue refuses the job.
bool RunPrintJob(QPrinter& printer, const QString& title,
                 const std::function<bool(QString* error)>& paint, QString* error);

// One print job of the control's whole text on the printer, titled title (the job's name
// on the print queue). The page rectangle is the printer's printable area. False with
// *error when there is no printer or the job fails.
bool PrintDocument(Paginator& pages, QPrinter& printer, const QString& title, QString* error,
                   std::vector<int>* starts = nullptr);

// The subjects, or the keys in keyOrder, of a set laid out as ClassPdfs lays them out, as one
// print job.
bool PrintSet(const std::vector<ClassCopy>& copies, const std::vector<std::size_t>& keyOrder,
              int quizPerPage, bool keys, QPrinter& printer, const QString& title, QString* error);

}  // namespace equat
