// SPDX-License-Identifier: GPL-3.0-or-later
// Printing, saving, printer choice and preview of the two documents, and the clean-up of the
// preview's files when the window closes.
#include "app/output.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>

#include "app/widgets.h"
#include "core/fileio.h"
#include "core/savenames.h"
#include "outputs/formats.h"
#include "platform/pageimages.h"
#include "platform/printing.h"
#include "platform/richedit.h"

namespace equat {

namespace {

std::optional<QString> RunSaveDialog(QWidget* parent, const QString& folder,
                                     const QString& presetName) {
    const QString start = folder.isEmpty() ? presetName : QDir(folder).filePath(presetName);
    const QString name = QFileDialog::getSaveFileName(parent, QString(), start, QString(), nullptr,
                                                      QFileDialog::DontConfirmOverwrite);
    if (name.isEmpty()) return std::nullopt;
    return name;
}

bool RunPrinterDialog(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, true);
    dialog.setOption(QAbstractPrintDialog::PrintShowPageSize, true);
    return dialog.exec() == QDialog::Accepted;
}

// The exports the window offers: the rows of the table of formats with a filter.
std::optional<Output::ExportChoice> RunExportDialog(QWidget* parent, const QString& folder,
                                                    const QString& presetName) {
    QStringList filters;
    std::vector<std::string_view> names;
    for (const FormatInfo& f : Formats()) {
        if (f.exportFilter.empty()) continue;
        filters << QString::fromUtf8(f.exportFilter.data(), qsizetype(f.exportFilter.size()));
        names.push_back(f.name);
    }
    QString chosen = filters[0];
    const QString start = folder.isEmpty() ? presetName : QDir(folder).filePath(presetName);
    const QString name = QFileDialog::getSaveFileName(parent, QString::fromUtf8("Exporter"), start,
                                                      filters.join(";;"), &chosen);
    if (name.isEmpty()) return std::nullopt;
    return Output::ExportChoice{
        name, std::string(names[std::max<qsizetype>(0, filters.indexOf(chosen))])};
}

void RunErrorBox(QWidget* parent, const QString& message) {
    QMessageBox::critical(parent, parent ? parent->windowTitle() : QString(), message);
}

QString FileError(const QString& name, const QString& why) {
    return QString("%1 : %2").arg(QDir::toNativeSeparators(name), why);
}

}  // namespace

QString Output::WrittenName(const QString& name) {
    for (const char* written : {kPageFiles[0], kPageFiles[1], kProbeFile})
        if (name.compare(QLatin1String(written), Qt::CaseInsensitive) == 0) return written;
    return name;
}

std::string WholeRtf(RichEdit* area) {
    const KeptSelection kept{area};
    area->SelectAll();
    return area->SelectionRtf();
}

Output::Output(Parts parts)
    : parts_(std::move(parts)),
      saveDialog_(RunSaveDialog),
      exportDialog_(RunExportDialog),
      printerDialog_(RunPrinterDialog),
      errorBox_(RunErrorBox) {}

const PreviewContent& Output::preview() {
    // Built on first use: until then the preview box stays an ordinary hidden child.
    if (!previewBuilt_) preview_.Build(parts_.previewBox);
    previewBuilt_ = true;
    return preview_;
}

void Output::ShowError(const QString& message) {
    errorBox_(parts_.window, message.endsWith('.') ? message : message + '.');
}

void Output::Print() {
    if (parts_.subject->LineCount() == 0) return;
    const KeptSelection kept{parts_.subject, parts_.answerKey};
    QPrinter& printer = CurrentPrinter();
    const struct {
        RichEdit* document;
        int copies;
        const char* title;
    } jobs[] = {{parts_.subject, parts_.subjectCopies->value(), "Sujet"},
                {parts_.answerKey, parts_.answerKeyCopies->value(), "Corrigé"}};
    for (const auto& job : jobs) {
        for (int k = 0; k < job.copies; ++k) {
            QString error;
            if (!PrintDocument(job.document->Pages(), printer, QString::fromUtf8(job.title),
                               &error)) {
                ShowError(error);
                return;
            }
        }
    }
}

void Output::Save() {
    // The dialog opens in its initial folder, which the settings store keeps on the window.
    const auto chosen = saveDialog_(parts_.window, parts_.saveFolder(), parts_.baseName() + ".rtf");
    if (!chosen || chosen->isEmpty()) return;
    const SaveNames names = SaveNamesFor(chosen->toStdString());
    const KeptSelection kept{parts_.subject, parts_.answerKey};
    const struct {
        RichEdit* document;
        QString name;
    } files[] = {{parts_.subject, QString::fromStdString(names.subject)},
                 {parts_.answerKey, QString::fromStdString(names.answerKey)}};
    for (const auto& file : files) {
        file.document->SelectAll();
        QString error;
        if (!file.document->SaveSelectionToFile(file.name, &error)) {
            // A subject already written stays; the teacher must know the pair is incomplete.
            ShowError(FileError(file.name, error) +
                      QString::fromUtf8(". Le corrig\u00e9 n'a pas \u00e9t\u00e9 enregistr\u00e9"));
            return;
        }
    }
}

void Output::Export() {
    std::optional<ClassCopy> copy = parts_.copy ? parts_.copy() : std::nullopt;
    if (!copy || parts_.subject->LineCount() == 0) return;
    const auto chosen = exportDialog_(parts_.window, parts_.saveFolder(), parts_.baseName());
    if (!chosen || chosen->file.isEmpty()) return;
    const FormatInfo* found = FindFormat(chosen->format);
    if (!found) {
        ShowError(
            QString::fromUtf8("Format inconnu : %1").arg(QString::fromStdString(chosen->format)));
        return;
    }
    const FormatInfo& format = *found;
    QString file = chosen->file;
    if (QFileInfo(file).suffix().isEmpty())
        file += QString::fromUtf8(format.extension.data(), qsizetype(format.extension.size()));
    const std::string path = QFile::encodeName(file).toStdString();
    const std::string stem =
        path.substr(0, path.size() - QFile::encodeName(QFileInfo(file).suffix()).size() - 1);
    copy->sheet.subject = WholeRtf(parts_.subject);
    copy->sheet.answerKey = WholeRtf(parts_.answerKey);
    NamedFiles files;
    std::string error;
    std::vector<FileContent> contents;
    const std::vector<std::string> names =
        format.pair ? FormatFiles(format, stem) : std::vector{path};
    if (MakeFormat(format, OutputData{std::span(&*copy, 1), {}}, names, &files, &error)) {
        for (const auto& [name, bytes] : files) contents.push_back({name, bytes});
        if (ReplaceFiles(contents, &error)) return;
        error =
            FileError(QFile::decodeName(path.c_str()), QString::fromStdString(error)).toStdString();
    }
    ShowError(QString::fromStdString(error));
}

void Output::ChoosePrinter() {
    // The dialog writes its answer into the printer only when confirmed.
    printerDialog_(parts_.window, CurrentPrinter());
}

bool Output::WriteProbe() {
    return ReplaceFile(kProbeFile, "", nullptr, {.sync = false});
}

void Output::Preview() {
    if (!WriteProbe()) return;
    const KeptSelection kept{parts_.subject, parts_.answerKey};
    for (const char* page : {"Temp0.emf", "Temp1.emf"}) QFile::remove(WrittenName(page));
    preview();
    preview_.Image1->Clear();
    preview_.Image2->Clear();
    QCoreApplication::processEvents();
    if (WriteProbe()) RichEditToEMF(parts_.subject->Pages(), "Temp", CurrentPrinter());
    QCoreApplication::processEvents();
    const struct {
        const char* name;
        PageImage* image;
    } pages[] = {{"Temp0.emf", preview_.Image1}, {"Temp1.emf", preview_.Image2}};
    for (const auto& page : pages) {
        const QString name = WrittenName(page.name);
        if (QFile::exists(name)) page.image->Load(name);
    }
    QScrollArea* box = parts_.previewBox;
    box->verticalScrollBar()->setValue(0);
    if (!floated_) {
        const QScreen* on = parts_.window ? parts_.window->screen() : nullptr;
        const QRect screen = (on ? on : QGuiApplication::primaryScreen())->geometry();
        box->move(screen.left() + (screen.width() - PreviewContent::kWidth) / 2,
                  screen.top() + (screen.height() - PreviewContent::kHeight) / 2);
        floated_ = true;
    }
    box->show();
    box->raise();
}

void Output::CloseCleanup() {
    parts_.previewBox->hide();
    for (const char* name : {"Temp0.emf", "Temp1.emf", "TWfile.txt"})
        QFile::remove(WrittenName(name));
}

}  // namespace equat
