// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/classpdf.h"

#include <QAbstractTextDocumentLayout>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextDocument>
#include <QTextTable>
#include <algorithm>
#include <array>
#include <filesystem>
#include <functional>
#include <future>
#include <memory>
#include <numeric>
#include <optional>

#include "core/classset.h"
#include "core/fileio.h"
#include "platform/beside.h"
#include "platform/pages.h"
#include "platform/paginator.h"
#include "platform/pdfdevice.h"
#include "platform/quizpdf.h"
#include "rtf/sheetdocument.h"

namespace equat {

namespace {

namespace fs = std::filesystem;

// A PDF of ours on that page, named by its title.
std::unique_ptr<PdfDevice> NewPdf(const QPageLayout& layout, const std::string& title) {
    return std::make_unique<PdfDevice>(layout, kPrintDpi, QString::fromStdString(title),
                                       QStringLiteral("Equat"));
}

// How documents are laid on a device's pages.
using PaintDocuments =
    std::function<bool(const DocumentSources& rtfs, PageDevice& device, QString* why)>;
struct SetPainters {
    PaintDocuments subjects, keys;
};

// How many documents a second core reads before they are painted.
constexpr std::size_t kDocumentsAhead = 2;

// Subjects then keys read by worker, each a few documents before this thread paints it; a
// document read twice is read the second time here.
void ReadAhead(DocumentSources& subjects, DocumentSources& keys, Beside& worker) {
    struct Ahead {
        DocumentSources sources;
        Beside* worker;
        std::vector<std::future<rtf::Document>> documents;  // those asked for, in order
    };
    auto ahead = std::make_shared<Ahead>(Ahead{subjects, &worker, {}});
    ahead->sources.insert(ahead->sources.end(), keys.begin(), keys.end());
    const auto ask = [](const std::shared_ptr<Ahead>& a, std::size_t upTo) {
        while (a->documents.size() < std::min(upTo, a->sources.size())) {
            const std::size_t k = a->documents.size();
            a->documents.push_back(a->worker->Run([a, k] { return a->sources[k].Read(); }));
        }
    };
    for (std::size_t k = 0; k < ahead->sources.size(); ++k) {
        DocumentSource read(std::function<rtf::Document()>([ahead, ask, k] {
            ask(ahead, k + 1 + kDocumentsAhead);
            std::future<rtf::Document>& document = ahead->documents[k];
            return document.valid() ? document.get() : ahead->sources[k].Read();
        }));
        (k < subjects.size() ? subjects[k] : keys[k - subjects.size()]) = std::move(read);
    }
}

// Each document from a new page, in one job on the device; cream, when given, one entry per
// document: true for a cream page.
bool PaintCollatedOn(const DocumentSources& rtfs, PageDevice& device, QString* why,
                     const std::vector<bool>& cream) {
    QPainter painter;
    bool ok = painter.begin(&device.Device());
    if (!ok) *why = "Le travail n'a pas pu commencer";
    const QRectF page = PageRectTwips(device.Device());
    for (std::size_t k = 0; ok && k < rtfs.size(); ++k) {
        Paginator pages(rtfs[k].Read());
        if (k > 0 && !device.NewPage()) {
            *why = "Une nouvelle page n'a pas pu \u00eatre ajout\u00e9e";
            ok = false;
        }
        const bool creamPage = k < cream.size() && cream[k];
        ok = ok && pages.PaintPages(painter, device, page, nullptr, why,
                                    creamPage ? QColor(QRgb(kCreamPaper)) : QColor());
    }
    if (painter.isActive() && !painter.end() && ok) {
        *why = "Le travail n'a pas pu se terminer";
        ok = false;
    }
    return ok;
}

bool PaintCollated(const DocumentSources& rtfs, PageDevice& device, QString* why) {
    return PaintCollatedOn(rtfs, device, why, {});
}

// A set's keys are strips, laid beside their copies.
bool StripKeys(std::span<const ClassCopy> copies) {
    return !copies.empty() && StyleOf(WrittenSettings(copies.front().sheet).keyStyle).strip;
}

// Adapted copies that ask for it on cream pages, when the set is laid a copy per page.
void UseCream(std::span<const ClassCopy> copies, const std::vector<std::size_t>& keyOrder,
              int quizPerPage, SetPainters& painters) {
    if (quizPerPage > 0) return;
    std::vector<bool> subjects, keys;
    for (const auto& copy : copies) {
        const AdaptedLayout& layout = WrittenSettings(copy.sheet).layout;
        subjects.push_back(layout.on && layout.cream);
    }
    for (std::size_t k : keyOrder) {
        const AdaptedLayout& layout = WrittenSettings(copies[k].sheet).layout;
        keys.push_back(layout.on && layout.cream && layout.key);
    }
    const auto painter = [](std::vector<bool> cream) -> PaintDocuments {
        return [cream](const DocumentSources& rtfs, PageDevice& device, QString* why) {
            return PaintCollatedOn(rtfs, device, why, cream);
        };
    };
    const auto any = [](const std::vector<bool>& v) {
        return std::find(v.begin(), v.end(), true) != v.end();
    };
    if (any(subjects)) painters.subjects = painter(std::move(subjects));
    const bool strips = StripKeys(copies);
    if (any(keys) && !strips) painters.keys = painter(std::move(keys));
}

}  // namespace

DocumentSource SheetSubject(const Sheet& sheet) {
    if (!sheet.model) return DocumentSource(sheet.subject);
    return DocumentSource([&sheet] { return rtf::SubjectDocument(sheet); });
}

DocumentSource SheetKey(const Sheet& sheet) {
    if (!sheet.model) return DocumentSource(sheet.answerKey);
    return DocumentSource([&sheet] { return rtf::KeyDocument(sheet); });
}

static bool PdfOf(const PaintDocuments& paint, const DocumentSources& rtfs,
                  const std::string& title, std::string* pdf, std::string* error,
                  const QPageLayout& layout = DefaultPageLayout(), Beside* worker = nullptr) {
    QString why;
    const auto writer = NewPdf(layout, title);
    if (worker) writer->DeflateBeside(*worker);
    PagesOf<PdfDevice> pages(*writer);
    const bool ok = paint(rtfs, pages, &why) && writer->Finish(pdf, &why);
    if (!ok) *error = why.toStdString();
    return ok;
}

bool CollatedPdf(const DocumentSources& rtfs, const std::string& title, std::string* pdf,
                 std::string* error) {
    return PdfOf(PaintCollated, rtfs, title, pdf, error);
}

bool CollatedPdfOn(const QPageLayout& layout, const DocumentSources& rtfs, const std::string& title,
                   std::string* pdf, std::string* error) {
    return PdfOf(PaintCollated, rtfs, title, pdf, error, layout);
}

static SetPainters PaintersFor(std::span<const ClassCopy> copies, int quizPerPage,
                               const std::vector<std::size_t>& keyOrder) {
    const bool strips = StripKeys(copies);
    // A strip is laid out beside its copy: each result at its question's height.
    DocumentSources beside;
    if (strips)
        for (std::size_t k : keyOrder) beside.push_back(SheetSubject(copies[k].sheet));
    if (quizPerPage > 0)
        return {
            [quizPerPage](const DocumentSources& rtfs, PageDevice& device, QString* why) {
                return PaintQuizPages(rtfs, quizPerPage, device, why);
            },
            [quizPerPage, beside](const DocumentSources& rtfs, PageDevice& device, QString* why) {
                // Strips in their copies' cells; other keys one under another.
                if (!beside.empty()) return PaintQuizPages(rtfs, quizPerPage, device, why, beside);
                return PaintColumns(rtfs, 1, device, why);
            }};
    // Strips lie side by side, as many as the page has room for.
    if (strips)
        return {PaintCollated,
                [beside](const DocumentSources& rtfs, PageDevice& device, QString* why) {
                    return PaintColumns(rtfs, 0, device, why, beside);
                }};
    return {PaintCollated, PaintCollated};
}

bool PaintSet(const std::vector<ClassCopy>& copies, const std::vector<std::size_t>& keyOrder,
              int quizPerPage, bool keys, QPagedPaintDevice& device, QString* why) {
    const SetPainters painters = PaintersFor(copies, quizPerPage, keyOrder);
    DocumentSources rtfs;
    if (keys) {
        for (std::size_t k : keyOrder) rtfs.push_back(SheetKey(copies[k].sheet));
    } else {
        for (const auto& copy : copies) rtfs.push_back(SheetSubject(copy.sheet));
    }
    PagesOf<QPagedPaintDevice> job(device);
    return (keys ? painters.keys : painters.subjects)(rtfs, job, why);
}

// Parts of a grid laid out in a text document on a page of the given size (pixels of 1/96
// inch): some rows and some question columns, with the row labels.
class GridParts {
  public:
    GridParts(const AnswerGrid& grid, QSizeF page)
        : grid_(grid),
          page_(page),
          columns_(grid.cells.empty() ? 0 : grid.cells.front().size()),
          rows_(grid.rows.size()) {
        doc_.setDocumentMargin(0);
    }
    std::size_t columns() const { return columns_; }
    std::size_t rows() const { return rows_; }
    QTextDocument& doc() { return doc_; }

    // Lays the part out on the page's width; a search's last try is often the page itself.
    void Lay(std::size_t row, std::size_t nRows, std::size_t column, std::size_t nColumns) {
        const std::array part{row, nRows, column, nColumns};
        if (part == laid_) return;
        std::vector<std::size_t> rows;
        for (std::size_t r = row; r < row + nRows && r < rows_; ++r) rows.push_back(r);
        SetPart(rows, column, nColumns, page_.width());
        laid_ = part;
    }
    // The most question columns from column that fit the width. A table's natural width is
    // its title's or the sum of its columns', each as wide as its widest cell: the rows that
    // hold those cells are as wide as every row, so only the first try lays out every row.
    std::size_t ColumnsThatFit(std::size_t column) {
        const std::size_t most = std::max<std::size_t>(columns_ - column, 1);
        std::vector<std::size_t> every(rows_);
        std::iota(every.begin(), every.end(), std::size_t{0});
        if (Natural(every, column, most)) return most;
        const auto fits = [&](std::size_t n) {
            return Natural(widest_.empty() ? every : WidestRows(n), column, n);
        };
        // Columns take about the same width: the first guess is in proportion.
        return Largest(most, fits, static_cast<std::size_t>(most * page_.width() / natural_));
    }
    // The most rows from row that fit the height, with those columns.
    std::size_t RowsThatFit(std::size_t row, std::size_t column, std::size_t nColumns) {
        const bool measured = rowTops_.size() == rows_ + 2;
        const auto fits = [&](std::size_t n) {
            Lay(row, n, column, nColumns);
            const double height = doc_.size().height();
            if (measured) offset_ = height - Estimate(row, n);
            return height <= page_.height();
        };
        if (measured && !offset_) fits(1);  // what the whole table's measures miss, once
        // A guess one too many ends the search on the page itself, laid out.
        return lastRows_ = Largest(std::max<std::size_t>(rows_ - row, 1), fits,
                                   measured ? Guess(row) + 1 : lastRows_);
    }

  private:
    // The part of those rows (indexes in the grid) laid out at a width, -1 for unbounded.
    void SetPart(const std::vector<std::size_t>& rows, std::size_t column, std::size_t nColumns,
                 double width) {
        laid_.reset();
        AnswerGrid cut{grid_.title, {}, {}};
        for (std::size_t r : rows) {
            cut.rows.push_back(grid_.rows[r]);
            cut.cells.push_back(grid_.cells[r]);
        }
        if (cut.cells.empty()) cut.cells.emplace_back(columns_);
        doc_.clear();  // else a new width lays the last part out again, for nothing
        doc_.setTextWidth(width);
        doc_.setHtml(QString::fromStdString(AnswerGridHtml(cut, column, nColumns)));
    }
    // Whether those rows fit the page's width at their natural width (natural_), laid out
    // unbounded; with every row, the rows' measures too.
    bool Natural(const std::vector<std::size_t>& rows, std::size_t column, std::size_t nColumns) {
        SetPart(rows, column, nColumns, -1);
        natural_ = doc_.idealWidth();
        if (rows.size() == rows_) Measure();
        return natural_ <= page_.width();
    }
    // Of the whole table laid out at its natural width: where each row starts and where the
    // document ends, what a page of some rows should measure; the row of each column's
    // widest cell.
    void Measure() {
        rowTops_.clear();
        offset_.reset();
        widest_.clear();
        const auto frames = doc_.rootFrame()->childFrames();
        auto* table = frames.isEmpty() ? nullptr : qobject_cast<QTextTable*>(frames.front());
        if (!table || static_cast<std::size_t>(table->rows()) != rows_ + 1) return;
        std::vector<double> widths(static_cast<std::size_t>(table->columns()), -1);
        widest_.assign(widths.size(), 0);
        for (int r = 0; r < table->rows(); ++r) {
            const QTextBlock first = table->cellAt(r, 0).firstCursorPosition().block();
            rowTops_.push_back(doc_.documentLayout()->blockBoundingRect(first).top());
            for (int c = 0; r > 0 && c < table->columns(); ++c) {
                const double width = CellWidth(table->cellAt(r, c));
                if (width <= widths[static_cast<std::size_t>(c)]) continue;
                widths[static_cast<std::size_t>(c)] = width;
                widest_[static_cast<std::size_t>(c)] = static_cast<std::size_t>(r - 1);
            }
        }
        rowTops_.push_back(doc_.size().height());
    }
    static double CellWidth(const QTextTableCell& cell) {
        double width = 0;
        for (auto it = cell.begin(); !it.atEnd(); ++it)
            if (it.currentBlock().isValid())
                width = std::max(width, it.currentBlock().layout()->maximumWidth());
        return width;
    }
    // The rows of the widest cells of the labels and the first n question columns.
    std::vector<std::size_t> WidestRows(std::size_t n) const {
        std::vector<std::size_t> rows(widest_.begin(),
                                      widest_.begin() + std::min(n + 1, widest_.size()));
        std::sort(rows.begin(), rows.end());
        rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
        return rows;
    }
    // The height of the part of n rows from row by the whole table's measures: the title and
    // the header, then its rows down to the next one's top or the end.
    double Estimate(std::size_t row, std::size_t n) const {
        return rowTops_[1] + rowTops_[std::min(row + n, rows_) + 1] - rowTops_[row + 1];
    }
    // The most rows from row (at least one) that the estimate puts on a page.
    std::size_t Guess(std::size_t row) const {
        std::size_t n = 1;
        while (row + n < rows_ && Estimate(row, n + 1) + offset_.value_or(0) <= page_.height()) ++n;
        return n;
    }

    const AnswerGrid& grid_;
    QSizeF page_;
    std::size_t columns_, rows_;
    QTextDocument doc_;
    double natural_ = 0;
    std::size_t lastRows_ = 1;  // the rows the last page took
    std::vector<double> rowTops_;
    std::optional<double> offset_;     // what the estimate missed by on the last page laid out
    std::vector<std::size_t> widest_;  // for the labels, then each question column
    std::optional<std::array<std::size_t, 4>> laid_;  // the part in doc_ on the page's width
};

// A4 landscape, text at its size (9 points): the questions that fit the width of a page go
// together with the row labels, and the rows that fit its height; every page has the header
// row, and no copy's row is cut between two pages.
bool AnswerGridPdf(const AnswerGrid& grid, std::string* pdf, std::string* error) {
    QPageLayout layout = DefaultPageLayout();
    layout.setOrientation(QPageLayout::Landscape);
    const auto writer = NewPdf(layout, grid.title);
    QPainter painter;
    if (!painter.begin(writer.get())) {
        *error = "le PDF n'a pas pu commencer";
        return false;
    }
    // Laid out in pixels of 1/96 inch, drawn at their size.
    const double scale = writer->resolution() / 96.0;
    const QRect paint = writer->pageLayout().paintRectPixels(writer->resolution());
    GridParts parts(grid, QSizeF(paint.width() / scale, paint.height() / scale));
    bool firstPage = true;
    std::size_t column = 0;
    do {
        const std::size_t nColumns = parts.ColumnsThatFit(column);
        std::size_t row = 0;
        do {
            const std::size_t nRows = parts.RowsThatFit(row, column, nColumns);
            parts.Lay(row, nRows, column, nColumns);
            if (!firstPage && !writer->newPage()) {
                *error = "une page du PDF n'a pas pu \u00eatre ajout\u00e9e";
                return false;
            }
            firstPage = false;
            painter.save();
            painter.scale(scale, scale);
            parts.doc().drawContents(&painter);
            painter.restore();
            row += nRows;
        } while (row < parts.rows());
        column += nColumns;
    } while (column < parts.columns());
    painter.end();
    QString why;
    if (writer->Finish(pdf, &why)) return true;
    *error = why.toStdString();
    return false;
}

bool ClassPdfs(std::span<const ClassCopy> copies, const std::vector<std::size_t>& keyOrder,
               const std::string& subjectName, const std::string& keyName, NamedFiles* files,
               std::string* error, int quizPerPage) {
    SetPainters painters = PaintersFor(copies, quizPerPage, keyOrder);
    UseCream(copies, keyOrder, quizPerPage, painters);
    const fs::path subjectPath(subjectName), keyPath(keyName);

    DocumentSources subjects, keys;
    for (const auto& copy : copies) subjects.push_back(SheetSubject(copy.sheet));
    for (std::size_t k : keyOrder) keys.push_back(SheetKey(copies[k].sheet));
    // One thread lays out and paints the subjects, then the keys: they share the fonts it
    // loads and the words it shapes. A set's documents are read ahead and its pages deflated
    // on a second core meanwhile; a single pair needs no second thread.
    std::optional<Beside> worker;
    if (copies.size() > 1) {
        worker.emplace();
        ReadAhead(subjects, keys, *worker);
    }
    Beside* const beside = worker ? &*worker : nullptr;
    NamedFiles made(2);
    made[0].first = subjectPath.string();
    made[1].first = keyPath.string();
    if (!PdfOf(painters.subjects, subjects, subjectPath.stem().string(), &made[0].second, error,
               DefaultPageLayout(), beside) ||
        !PdfOf(painters.keys, keys, keyPath.stem().string(), &made[1].second, error,
               DefaultPageLayout(), beside))
        return false;
    files->insert(files->end(), made.begin(), made.end());
    return true;
}

}  // namespace equat
