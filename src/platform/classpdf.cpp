// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/classpdf.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QTextDocument>
#include <algorithm>
#include <filesystem>
#include <memory>

#include "core/fileio.h"
#include "core/formats.h"
#include "platform/pages.h"
#include "platform/paginator.h"
#include "platform/printing.h"

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

// Each document from a new page, in one job on the device.
bool PaintCollated(const std::vector<std::string_view>& rtfs, QPagedPaintDevice& device,
                   QString* why) {
    QPainter painter;
    bool ok = painter.begin(&device);
    if (!ok) *why = "Le travail n'a pas pu commencer";
    const QRectF page = PageRectTwips(device);
    for (std::size_t k = 0; ok && k < rtfs.size(); ++k) {
        int tab = 720;
        auto document = LoadRtfDocument(rtfs[k], &tab);
        Paginator pages(std::move(document), tab);
        if (k > 0 && !device.newPage()) {
            *why = "Une nouvelle page n'a pas pu \u00eatre ajout\u00e9e";
            ok = false;
        }
        ok = ok && pages.PaintPages(painter, device, page, nullptr, why);
    }
    if (painter.isActive() && !painter.end() && ok) {
        *why = "Le travail n'a pas pu se terminer";
        ok = false;
    }
    return ok;
}

}  // namespace

bool CollatedPdf(const std::vector<std::string_view>& rtfs, const std::string& title,
                 std::string* pdf, std::string* error) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QString why;
    bool ok = true;
    {
        QPdfWriter writer(&buffer);
        SetUp(writer, DefaultPageLayout(), title);
        ok = PaintCollated(rtfs, writer, &why);
    }
    if (!ok) *error = why.toStdString();
    if (ok) *pdf = Bytes(buffer);
    return ok;
}

bool PrintCollated(const std::vector<std::string_view>& rtfs, QPrinter& printer,
                   const QString& title, QString* error) {
    return RunPrintJob(
        printer, title, [&](QString* why) { return PaintCollated(rtfs, printer, why); }, error);
}

bool AnswerGridPdf(const AnswerGrid& grid, std::string* pdf, std::string* error) {
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

bool ClassPdfs(const std::vector<ClassCopy>& copies, const std::vector<std::size_t>& keyOrder,
               const std::string& path, const std::string& answers, NamedFiles* files,
               std::string* error) {
    fs::path subjectPath(path);
    if (!subjectPath.has_extension()) subjectPath += ".pdf";
    fs::path keyPath = subjectPath;
    keyPath.replace_extension();
    keyPath += BesideName("", kAnswerKeySuffix, ".pdf");

    std::vector<std::string_view> subjects, keys;
    for (const auto& copy : copies) subjects.push_back(copy.sheet.subject);
    for (std::size_t k : keyOrder) keys.push_back(copies[k].sheet.answerKey);
    NamedFiles made(2);
    made[0].first = subjectPath.string();
    made[1].first = keyPath.string();
    // The subjects on a second core while this thread makes the keys.
    std::string subjectError;
    bool subjectsMade = false, keysMade = false;
    RunBeside(
        [&] {
            subjectsMade =
                CollatedPdf(subjects, subjectPath.stem().string(), &made[0].second, &subjectError);
        },
        [&] { keysMade = CollatedPdf(keys, keyPath.stem().string(), &made[1].second, error); });
    bool ok = subjectsMade && keysMade;
    if (!subjectsMade) *error = subjectError;
    if (ok && !answers.empty()) {
        made.emplace_back(answers, std::string());
        ok = AnswerGridPdf(MakeAnswerGrid(copies, keyOrder), &made.back().second, error);
    }
    if (ok) files->insert(files->end(), made.begin(), made.end());
    return ok;
}

bool WriteAllFiles(const NamedFiles& files, std::vector<std::string>* written, std::string* error) {
    std::vector<FileContent> contents;
    for (const auto& [name, bytes] : files) contents.push_back({name, bytes});
    if (!ReplaceFiles(contents, error)) return false;
    for (const auto& file : files) written->push_back(file.first);
    return true;
}

bool WriteClassPdfs(const std::vector<ClassCopy>& copies, const std::vector<std::size_t>& keyOrder,
                    const std::string& path, const std::string& answers,
                    std::vector<std::string>* written, std::string* error) {
    NamedFiles files;
    return ClassPdfs(copies, keyOrder, path, answers, &files, error) &&
           WriteAllFiles(files, written, error);
}

}  // namespace equat
