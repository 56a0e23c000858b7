// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/pdfout.h"

#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextDocument>
#include <memory>

#include "cli/toolapp.h"
#include "cli/tr.h"
#include "core/fileio.h"
#include "platform/classpdf.h"
#include "platform/pages.h"
#include "platform/paginator.h"
#include "platform/pngpages.h"

namespace equat {

namespace {

bool PageLayoutFor(const std::string& printer, QPageLayout& layout, std::string* error) {
    if (printer.empty()) {
        layout = DefaultPageLayout();
        return true;
    }
    const QString name = QString::fromStdString(printer);
    if (QPrinterInfo::printerInfo(name).isNull()) {
        *error = Tr("no printer named %1", {printer});
        return false;
    }
    QPrinter p(QPrinter::HighResolution);
    p.setPrinterName(name);
    layout = p.pageLayout();
    return true;
}

// The document and its page layout, without a rich-text control.
struct Loaded {
    std::unique_ptr<Paginator> pages;
};

Loaded Load(std::string_view rtf) {
    EnsureApplication();
    Loaded l;
    l.pages = std::make_unique<Paginator>(DocumentSource(rtf).Read());
    return l;
}

// The PDF in memory.
bool RtfToPdfBytes(std::string_view rtf, const std::string& printer, const std::string& title,
                   std::string* bytes, std::string* error) {
    EnsureApplication();
    QPageLayout layout;
    if (!PageLayoutFor(printer, layout, error)) return false;
    std::string why;
    if (CollatedPdfOn(layout, {rtf}, title, bytes, &why)) return true;
    *error = Tr("cannot lay out %1: %2", {title, why});
    return false;
}

}  // namespace

bool RtfToPdf(std::string_view rtf, const std::string& path, const std::string& printer,
              const std::string& title, std::string* error) {
    std::string bytes, why;
    if (!RtfToPdfBytes(rtf, printer, title, &bytes, error)) return false;
    if (ReplaceFile(path, bytes, &why, {.sync = false})) return true;
    *error = CoreText("cannot write " + path + ": " + why);
    return false;
}

bool RtfToPng(std::string_view rtf, const std::string& path, const std::string& printer,
              std::vector<std::string>* written, std::string* error) {
    EnsureApplication();
    QPageLayout layout;
    if (!PageLayoutFor(printer, layout, error)) return false;
    const Loaded loaded = Load(rtf);
    QString why;
    QStringList names;
    const bool ok =
        WritePngPages(*loaded.pages, QString::fromStdString(path), layout, 150, &names, &why);
    for (const QString& n : names) written->push_back(n.toStdString());
    if (!ok) *error = CoreText("cannot write " + path + ": " + why.toStdString());
    return ok;
}

}  // namespace equat
