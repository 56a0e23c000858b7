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
#include <QTemporaryDir>

#include "app/filemessages.h"
#include "app/widgets.h"
#include "core/fileio.h"
#include "core/formats.h"
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

std::optional<QString> RunOpenDialog(QWidget* parent, const QString& folder) {
    const QString name = QFileDialog::getOpenFileName(
        parent, "Ouvrir un sujet et son corrigé", folder,
        "Sujets et corrigés (*.rtf *.RTF *.txt *.TXT);;Tous les fichiers (*)");
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
      errorBox_(RunErrorBox),
      openDialog_(RunOpenDialog),
      confirmBox_([](QWidget* parent, const QString& question) {
          return RunConfirmBox(parent, parent ? parent->windowTitle() : QString(), question);
      }),
      doneBox_([](QWidget* parent, const QString& message, const QString& folder) {
          RunDoneBox(parent, parent ? parent->windowTitle() : QString(), message, folder);
      }) {}

Output::~Output() = default;

const PreviewContent& Output::preview() {
    // Built on first use: until then the preview box stays an ordinary hidden child.
    if (!previewBuilt_) {
        preview_.Build(parts_.previewBox);
        parts_.previewBox->installEventFilter(this);
    }
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

bool Output::MayReplace(const std::vector<std::string>& paths) {
    const QString folder = QFileInfo(QFile::decodeName(paths.front().c_str())).absolutePath();
    const auto question = ReplaceQuestion(paths, folder);
    return !question || confirmBox_(parts_.window, *question);
}

void Output::Written(const std::vector<std::string>& paths, bool documents) {
    const QString folder = QFileInfo(QFile::decodeName(paths.front().c_str())).absolutePath();
    if (parts_.setSaveFolder) parts_.setSaveFolder(folder);
    // Files of the documents as they stand: no hand edit is lost any more.
    if (documents)
        for (RichEdit* area : {parts_.subject, parts_.answerKey})
            area->document()->setModified(false);
    doneBox_(parts_.window, WrittenMessage(paths, folder), folder);
}

bool Output::Save() {
    // The dialog opens in its initial folder, which the settings store keeps on the window.
    const auto chosen = saveDialog_(parts_.window, parts_.saveFolder(), parts_.baseName() + ".rtf");
    if (!chosen || chosen->isEmpty()) return false;
    const SaveNames names = SaveNamesFor(chosen->toStdString());
    // The dialog asked, at most, about the name typed; the key beside it may be another's.
    const std::vector<std::string> paths{names.subject, names.answerKey};
    if (!MayReplace(paths)) return false;
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
            return false;
        }
    }
    Written(paths, true);
    return true;
}

bool Output::SavePdf() {
    if (parts_.subject->LineCount() == 0) return false;
    const auto chosen = saveDialog_(parts_.window, parts_.saveFolder(), parts_.baseName() + ".pdf");
    return chosen && !chosen->isEmpty() && WriteFormat(Format(FormatId::Pdf), *chosen);
}

void Output::Export() {
    if (parts_.subject->LineCount() == 0) return;
    const auto chosen = exportDialog_(parts_.window, parts_.saveFolder(), parts_.baseName());
    if (!chosen || chosen->file.isEmpty()) return;
    const FormatInfo* found = FindFormat(chosen->format);
    if (!found) {
        ShowError(
            QString::fromUtf8("Format inconnu : %1").arg(QString::fromStdString(chosen->format)));
        return;
    }
    WriteFormat(*found, chosen->file);
}

bool Output::WriteFormat(const FormatInfo& format, QString file) {
    std::optional<ClassCopy> copy = parts_.copy ? parts_.copy() : std::nullopt;
    // Documents loaded or edited by hand convert to what is made from RTF; a bank or LaTeX needs
    // the questions as drawn.
    if (!copy && !format.fromRtf) {
        ShowError(
            "Les questions de ces documents ne sont pas connues : seule une feuille tirée "
            "depuis l'ouverture d'Equat s'exporte en banque de questions ou en LaTeX");
        return false;
    }
    if (!copy) copy.emplace();
    if (QFileInfo(file).suffix().isEmpty())
        file += QString::fromUtf8(format.extension.data(), qsizetype(format.extension.size()));
    const std::string path = QFile::encodeName(file).toStdString();
    const std::string stem =
        path.substr(0, path.size() - QFile::encodeName(QFileInfo(file).suffix()).size() - 1);
    const std::vector<std::string> names =
        format.pair ? FormatFiles(format, stem) : std::vector{path};
    if (!MayReplace(names)) return false;
    copy->sheet.subject = WholeRtf(parts_.subject);
    copy->sheet.answerKey = WholeRtf(parts_.answerKey);
    // The documents written are what the window holds, hand edits included: without their
    // settings they are read from those bytes, not made again from the model. The model stays
    // for the formats made from the drawn questions (LaTeX, like the banks).
    copy->sheet.settings.reset();
    NamedFiles files;
    std::string error;
    std::vector<FileContent> contents;
    if (MakeFormat(format, OutputData{std::span(&*copy, 1), {}}, names, &files, &error)) {
        for (const auto& [name, bytes] : files) contents.push_back({name, bytes});
        if (ReplaceFiles(contents, &error)) {
            Written(names, format.pair);
            return true;
        }
        error =
            FileError(QFile::decodeName(path.c_str()), QString::fromStdString(error)).toStdString();
    }
    ShowError(QString::fromStdString(error));
    return false;
}

std::optional<Output::OpenedPair> Output::ChoosePair() {
    const auto chosen = openDialog_(parts_.window, parts_.saveFolder());
    if (!chosen || chosen->isEmpty()) return std::nullopt;
    // The key chosen stands for its pair: its subject is the RTF file of the name before "_Cor".
    QString subject = *chosen;
    const QFileInfo info(subject);
    const QString keySuffix = QString::fromUtf8(kAnswerKeySuffix.data(), kAnswerKeySuffix.size());
    if (info.completeBaseName().endsWith(keySuffix, Qt::CaseInsensitive))
        subject = info.dir().filePath(info.completeBaseName().chopped(keySuffix.size()) + ".rtf");
    constexpr std::size_t kMaxDocument = 8 << 20;  // far above any sheet; refuses a wrong file
    OpenedPair pair;
    std::string error;
    if (!ReadSmallFile(QFile::encodeName(subject).toStdString(), kMaxDocument, pair.subject,
                       &error)) {
        ShowError(QString::fromStdString(error));
        return std::nullopt;
    }
    const std::string key = SaveNamesFor(QFile::encodeName(subject).toStdString()).answerKey;
    if (!ReadSmallFile(key, kMaxDocument, pair.answerKey, &error)) {
        pair.answerKey.clear();
        ShowError(QString::fromStdString(error) + ". Le sujet est ouvert sans son corrigé");
    }
    pair.baseName = QFileInfo(subject).completeBaseName();
    pair.folder = QFileInfo(subject).absolutePath();
    return pair;
}

void Output::ChoosePrinter() {
    // The dialog writes its answer into the printer only when confirmed.
    printerDialog_(parts_.window, CurrentPrinter());
}

bool Output::WriteProbe(const QString& folder) {
    return ReplaceFile(QFile::encodeName(QDir(folder).filePath(kProbeFile)).toStdString(), "",
                       nullptr, {.sync = false});
}

QString Output::previewFolder() const {
    return previewDir_ ? previewDir_->path() : QString();
}

bool Output::eventFilter(QObject* watched, QEvent* event) {
    // The pages are in memory once shown: their files go as soon as the preview closes.
    if (watched == parts_.previewBox && event->type() == QEvent::Hide) previewDir_.reset();
    return QObject::eventFilter(watched, event);
}

void Output::Preview() {
    // A folder of its own, never the teacher's: the files of a preview go with it.
    auto folder = std::make_unique<QTemporaryDir>();
    if (!folder->isValid() || !WriteProbe(folder->path())) {
        ShowError(QString::fromUtf8("Aper\u00e7u impossible : le dossier temporaire %1 ne peut pas "
                                    "\u00eatre \u00e9crit")
                      .arg(QDir::toNativeSeparators(QDir::tempPath())));
        return;
    }
    const KeptSelection kept{parts_.subject, parts_.answerKey};
    preview();
    preview_.Image1->Clear();
    preview_.Image2->Clear();
    previewDir_ = std::move(folder);
    const QDir dir(previewDir_->path());
    QCoreApplication::processEvents();
    RichEditToEMF(parts_.subject->Pages(), dir.filePath("Temp"), CurrentPrinter());
    QCoreApplication::processEvents();
    if (!previewDir_) return;  // closed meanwhile
    for (int i = 0; i < 2; ++i) {
        const QString name = dir.filePath(kPageFiles[i]);
        if (QFile::exists(name)) (i == 0 ? preview_.Image1 : preview_.Image2)->Load(name);
    }
    ShowPreviewBox();
}

void Output::ShowPreviewBox() {
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
    // The keys work at once: Escape closes, the arrows scroll.
    box->activateWindow();
    box->setFocus(Qt::ActiveWindowFocusReason);
}

void Output::CloseCleanup() {
    parts_.previewBox->hide();
    previewDir_.reset();
}

}  // namespace equat
