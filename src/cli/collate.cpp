// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/collate.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>
#include <algorithm>
#include <filesystem>

#include "cli/pdfout.h"
#include "core/fileio.h"
#include "platform/pages.h"
#include "platform/paginator.h"

namespace equat {

namespace {

namespace fs = std::filesystem;

std::string Bytes(const QBuffer& buffer) {
    return std::string(buffer.data().constData(), static_cast<std::size_t>(buffer.data().size()));
}

void SetUp(QPdfWriter& pdf, const QPageLayout& layout, const std::string& title) {
    pdf.setResolution(kPrintDpi);
    pdf.setPageLayout(layout);
    pdf.setTitle(QString::fromStdString(title));
    pdf.setCreator("Equat");
}

}  // namespace

bool CollatedPdf(const std::vector<std::string_view>& rtfs, const std::string& title,
                 std::string* pdf, std::string* error) {
    EnsureApplication();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QString why;
    bool ok = true;
    {
        QPdfWriter writer(&buffer);
        SetUp(writer, DefaultPageLayout(), title);
        QPainter painter;
        ok = painter.begin(&writer);
        if (!ok) why = "le PDF n'a pas pu commencer";
        const QRectF page = PageRectTwips(writer);
        for (std::size_t k = 0; ok && k < rtfs.size(); ++k) {
            int tab = 720;
            const auto document = LoadRtfDocument(rtfs[k], &tab);
            Paginator pages(*document, tab);
            if (k > 0 && !writer.newPage()) {
                why = "une nouvelle page n'a pas pu \xC3\xAAtre ajout\xC3\xA9\x65";
                ok = false;
            }
            ok = ok && pages.PaintPages(painter, writer, page, nullptr, &why);
        }
        if (painter.isActive()) painter.end();
    }
    if (!ok) *error = why.toStdString();
    if (ok) *pdf = Bytes(buffer);
    return ok;
}

bool AnswerGridPdf(const AnswerGrid& grid, std::string* pdf, std::string* error) {
    EnsureApplication();
    QTextDocument doc;
    doc.setDocumentMargin(0);
    doc.setHtml(QString::fromStdString(AnswerGridHtml(grid)));
    doc.setTextWidth(doc.idealWidth());
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        QPageLayout layout = DefaultPageLayout();
        layout.setOrientation(QPageLayout::Landscape);
        SetUp(writer, layout, grid.title);
        QPainter painter;
        if (!painter.begin(&writer)) {
            *error = "le PDF n'a pas pu commencer";
            return false;
        }
        // Laid out in pixels of 1/96 inch: drawn at its size, or smaller to fit the page.
        const QSizeF size = doc.size();
        const QRect page = writer.pageLayout().paintRectPixels(writer.resolution());
        const double natural = writer.resolution() / 96.0;
        const double scale =
            std::min({natural, page.width() / size.width(), page.height() / size.height()});
        painter.scale(scale, scale);
        doc.drawContents(&painter);
        painter.end();
    }
    *pdf = Bytes(buffer);
    return true;
}

bool WriteClassPdfs(const std::vector<ClassCopy>& copies, const std::vector<std::size_t>& keyOrder,
                    const std::string& path, const std::string& answers,
                    std::vector<std::string>* written, std::string* error) {
    fs::path subjectPath(path);
    if (!subjectPath.has_extension()) subjectPath += ".pdf";
    fs::path keyPath = subjectPath;
    keyPath.replace_extension();
    keyPath += "_Cor.pdf";

    std::vector<std::string_view> subjects, keys;
    for (const auto& copy : copies) subjects.push_back(copy.sheet.subject);
    for (std::size_t k : keyOrder) keys.push_back(copies[k].sheet.answerKey);
    std::vector<std::pair<std::string, std::string>> files(2);
    files[0].first = subjectPath.string();
    files[1].first = keyPath.string();
    bool ok = CollatedPdf(subjects, subjectPath.stem().string(), &files[0].second, error) &&
              CollatedPdf(keys, keyPath.stem().string(), &files[1].second, error);
    if (ok && !answers.empty()) {
        files.emplace_back(answers, std::string());
        ok = AnswerGridPdf(MakeAnswerGrid(copies, keyOrder), &files.back().second, error);
    }
    if (!ok) return false;
    // The set's files go in together: a failure leaves every old file as it was.
    std::vector<FileContent> contents;
    for (const auto& [name, bytes] : files) contents.push_back({name, bytes});
    if (!ReplaceFiles(contents, error)) return false;
    for (const auto& file : files) written->push_back(file.first);
    return true;
}

}  // namespace equat
