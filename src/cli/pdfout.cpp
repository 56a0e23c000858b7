#include "cli/pdfout.h"

#include <QApplication>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

#include "platform/pages.h"
#include "platform/richedit.h"

namespace equat {

namespace {

void EnsureApplication() {
    if (QCoreApplication::instance()) return;
    // The tools never show a window.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "equat";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
}

bool PageLayoutFor(const std::string& printer, QPageLayout& layout, std::string* error) {
    if (printer.empty()) {
        layout = DefaultPageLayout();
        return true;
    }
    const QString name = QString::fromStdString(printer);
    if (QPrinterInfo::printerInfo(name).isNull()) {
        *error = "no printer named " + printer;
        return false;
    }
    QPrinter p(QPrinter::HighResolution);
    p.setPrinterName(name);
    layout = p.pageLayout();
    return true;
}

// One control for every document of the run: making a rich-text control costs more than
// clearing one.
RichEdit& Load(std::string_view rtf) {
    EnsureApplication();
    static RichEdit edit;
    edit.Clear();
    edit.LoadRtfDocument(rtf);
    return edit;
}

}  // namespace

bool RtfToPdf(std::string_view rtf, const std::string& path, const std::string& printer,
              const std::string& title, std::string* error) {
    EnsureApplication();
    QPageLayout layout;
    if (!PageLayoutFor(printer, layout, error)) return false;
    RichEdit& edit = Load(rtf);
    QString why;
    if (!WritePdf(edit, QString::fromStdString(path), layout, kPrintDpi,
                  QString::fromStdString(title), &why)) {
        *error = "cannot write " + path + ": " + why.toStdString();
        return false;
    }
    return true;
}

bool RtfToPdfBytes(std::string_view rtf, const std::string& printer, const std::string& title,
                   std::string* bytes, std::string* error) {
    EnsureApplication();
    QPageLayout layout;
    if (!PageLayoutFor(printer, layout, error)) return false;
    QByteArray pdf;
    QString why;
    if (!PdfBytes(Load(rtf), layout, kPrintDpi, QString::fromStdString(title), &pdf, &why)) {
        *error = "cannot lay out " + title + ": " + why.toStdString();
        return false;
    }
    bytes->assign(pdf.constData(), static_cast<std::size_t>(pdf.size()));
    return true;
}

bool RtfToPng(std::string_view rtf, const std::string& path, const std::string& printer,
              std::vector<std::string>* written, std::string* error) {
    EnsureApplication();
    QPageLayout layout;
    if (!PageLayoutFor(printer, layout, error)) return false;
    RichEdit& edit = Load(rtf);
    QString why;
    QStringList names;
    const bool ok = WritePngPages(edit, QString::fromStdString(path), layout, 150, &names, &why);
    for (const QString& n : names) written->push_back(n.toStdString());
    if (!ok) *error = "cannot write " + path + ": " + why.toStdString();
    return ok;
}

}  // namespace equat
