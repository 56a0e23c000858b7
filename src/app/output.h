// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/preview.h"
#include "core/classset.h"
#include "core/formats.h"

class QPrinter;
class QTemporaryDir;
class QScrollArea;
class QSpinBox;
class QWidget;

namespace equat {

class RichEdit;

// Printing, saving, printer choice and preview of the window's two documents, and the
// clean-up of the preview's files. The window owns one and hands it what it puts out. The
// dialogs and the error box go through replaceable functions, so that tests (and
// anything without a person in front of it) can answer them.
// The whole text of a document area as RTF, its selection kept.
std::string WholeRtf(RichEdit* area);

class Output : public QObject {
    Q_OBJECT
  public:
    // Returns the chosen file name, or nothing when cancelled.
    using SaveDialogFn = std::function<std::optional<QString>(
        QWidget* parent, const QString& folder, const QString& presetName)>;
    // Edits the printer in place and returns true when confirmed.
    using PrinterDialogFn = std::function<bool(QWidget* parent, QPrinter& printer)>;
    using ErrorBoxFn = std::function<void(QWidget* parent, const QString& message)>;
    // Returns the file to open, or nothing when cancelled.
    using OpenDialogFn =
        std::function<std::optional<QString>(QWidget* parent, const QString& folder)>;
    // A yes-or-no question; true to go on.
    using ConfirmFn = std::function<bool(QWidget* parent, const QString& question)>;
    // What was written and where.
    using DoneBoxFn =
        std::function<void(QWidget* parent, const QString& message, const QString& folder)>;

    // The files of a preview, in a private temporary folder that lives while the preview
    // is shown (previewFolder(); empty when none).
    static constexpr const char* kPageFiles[2] = {"Temp0.EMF", "Temp1.EMF"};
    static constexpr const char* kProbeFile = "TWFile.txt";
    QString previewFolder() const;

    // What the output works on; all belong to the window.
    struct Parts {
        QWidget* window = nullptr;  // parent of the dialogs; its screen centres the preview
        RichEdit* subject = nullptr;
        RichEdit* answerKey = nullptr;
        QSpinBox* subjectCopies = nullptr;
        QSpinBox* answerKeyCopies = nullptr;
        QScrollArea* previewBox = nullptr;
        std::function<QString()> saveFolder;                // the save dialog's initial folder
        std::function<void(const QString&)> setSaveFolder;  // the folder of the last save
        std::function<QString()> baseName;  // the sheet base name of the last generation
        // The pair on screen as data (its results and questions), when there is one.
        std::function<std::optional<ClassCopy>()> copy;
    };

    // "Exporter...": the chosen file and the row of its format in the table of formats.
    struct ExportChoice {
        QString file;
        std::string format;
    };
    using ExportDialogFn = std::function<std::optional<ExportChoice>(
        QWidget* parent, const QString& folder, const QString& presetName)>;

    explicit Output(Parts parts);
    ~Output() override;

    void SetSaveDialog(SaveDialogFn fn) { saveDialog_ = std::move(fn); }
    void SetExportDialog(ExportDialogFn fn) { exportDialog_ = std::move(fn); }
    void SetPrinterDialog(PrinterDialogFn fn) { printerDialog_ = std::move(fn); }
    void SetErrorBox(ErrorBoxFn fn) { errorBox_ = std::move(fn); }
    void SetOpenDialog(OpenDialogFn fn) { openDialog_ = std::move(fn); }
    void SetConfirmBox(ConfirmFn fn) { confirmBox_ = std::move(fn); }
    void SetDoneBox(DoneBoxFn fn) { doneBox_ = std::move(fn); }
    // Asks the teacher through the confirm box; true to go on.
    bool Confirm(const QString& question) { return confirmBox_(parts_.window, question); }

    void Print();
    // The pair as RTF (the subject as text for a ".txt" name), after asking before
    // replacing either file; true when written.
    bool Save();
    // The pair on screen as two PDFs, NAME.pdf and NAME_Cor.pdf, as edited.
    bool SavePdf();
    // The pair on screen as a bank of questions, OpenDocument files or PDFs (the documents
    // as edited), written whole.
    void Export();
    // A saved pair to show again: the subject the teacher chose (or the subject of the
    // "_Cor" key chosen) and the key beside it, read whole; nothing when cancelled or when
    // the subject cannot be read (said). A missing key is said and left empty.
    struct OpenedPair {
        std::string subject, answerKey;  // file bytes: RTF, or Windows-1252 text
        QString baseName;                // the subject's name without folder and extension
        QString folder;
    };
    std::optional<OpenedPair> ChoosePair();
    void ChoosePrinter();
    void Preview();
    void CloseCleanup();

    // Writes the empty probe file in the folder; false when it cannot.
    static bool WriteProbe(const QString& folder);

    // The preview's content, filled on first use.
    const PreviewContent& preview();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ShowError(const QString& message);
    void ShowPreviewBox();
    // Asks before replacing what exists among `paths`; false when the teacher declines.
    bool MayReplace(const std::vector<std::string>& paths);
    // Tells what was written and remembers its folder; files of both documents (a pair)
    // mark them as saved.
    void Written(const std::vector<std::string>& paths, bool documents);
    // The files of a format for the chosen name, made from the pair on screen and written
    // whole.
    bool WriteFormat(const FormatInfo& format, QString file);

    Parts parts_;
    PreviewContent preview_;
    bool previewBuilt_ = false;
    bool floated_ = false;
    std::unique_ptr<QTemporaryDir> previewDir_;
    SaveDialogFn saveDialog_;
    ExportDialogFn exportDialog_;
    PrinterDialogFn printerDialog_;
    ErrorBoxFn errorBox_;
    OpenDialogFn openDialog_;
    ConfirmFn confirmBox_;
    DoneBoxFn doneBox_;
};

}  // namespace equat
