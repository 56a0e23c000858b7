// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <string>
#include <string_view>
#include <vector>

#include "core/fileio.h"
#include "platform/answergrid.h"

class QPrinter;

namespace equat {

// Class sets put out: the window's class dialog and equat-sheet share these. A Qt
// application must exist.

// Several RTF documents as one PDF laid out as printing lays out each (A4), every document
// starting on a new page. The bytes are made in memory; nothing is written.
bool CollatedPdf(const std::vector<std::string_view>& rtfs, const std::string& title,
                 std::string* pdf, std::string* error);

// Several RTF documents as one print job on the printer, every document starting on a new
// page, titled title on the queue. False with *error when there is no printer or it fails.
bool PrintCollated(const std::vector<std::string_view>& rtfs, QPrinter& printer,
                   const QString& title, QString* error);

// The grid on pages of A4 landscape at 9 points: as many pages as its questions and rows
// need, the row labels and the header repeated on each.
bool AnswerGridPdf(const AnswerGrid& grid, std::string* pdf, std::string* error);

// Replaces every file as one unit (ReplaceFiles): all are staged before any is replaced, so a
// failure leaves every old file as it was; false with *error then. The names written go to
// *written.
bool WriteAllFiles(const NamedFiles& files, std::vector<std::string>* written, std::string* error);

}  // namespace equat
