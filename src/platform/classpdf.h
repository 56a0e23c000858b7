// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/fileio.h"
#include "platform/answergrid.h"
#include "platform/paginator.h"

class QPageLayout;
class QPagedPaintDevice;

namespace equat {
// The cream of adapted copies' PDF pages, pale enough for every colour of the documents.
inline constexpr unsigned kCreamPaper = 0xFFF8E7;
}  // namespace equat

namespace equat {

// Class sets put out: the window's class dialog and equat-sheet share these. A Qt
// application must exist.

// A sheet's subject and key to lay out: made from its model when it carries one (the sheet
// must outlive the source), else read from its RTF.
DocumentSource SheetSubject(const Sheet& sheet);
DocumentSource SheetKey(const Sheet& sheet);

// Several documents as one PDF laid out as printing lays out each (A4, or the given
// page layout: a printer's), every document starting on a new page. The bytes are made in
// memory; nothing is written. Every PDF of documents is made here.
bool CollatedPdf(const DocumentSources& rtfs, const std::string& title, std::string* pdf,
                 std::string* error);
bool CollatedPdfOn(const QPageLayout& layout, const DocumentSources& rtfs, const std::string& title,
                   std::string* pdf, std::string* error);

// The grid on pages of A4 landscape at 9 points: as many pages as its questions and rows
// need, the row labels and the header repeated on each.
bool AnswerGridPdf(const AnswerGrid& grid, std::string* pdf, std::string* error);

// The subjects into subjectName, the keys in keyOrder into keyName, made into *files; the
// caller names both. False with *error when one cannot be made; nothing is written. Each copy
// starts a page, but strip keys lie side by side; with quizPerPage (2, 4 or 6) the copies of a
// quick quiz go so many to a page (PaintQuizPages) and their keys one under another.
bool ClassPdfs(std::span<const ClassCopy> copies, const std::vector<std::size_t>& keyOrder,
               const std::string& subjectName, const std::string& keyName, NamedFiles* files,
               std::string* error, int quizPerPage = 0);

// The subjects, or the keys in keyOrder, of a set laid out as ClassPdfs lays them out, on
// the device's pages in one job (printing: PrintSet).
bool PaintSet(const std::vector<ClassCopy>& copies, const std::vector<std::size_t>& keyOrder,
              int quizPerPage, bool keys, QPagedPaintDevice& device, QString* why);

}  // namespace equat
