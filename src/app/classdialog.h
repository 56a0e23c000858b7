// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QDialog>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/classset.h"
#include "core/random.h"
#include "core/sheet.h"

class QCheckBox;
class QComboBox;
class QPlainTextEdit;
class QProgressDialog;
class QPushButton;
class QSpinBox;

namespace equat {

class RichEdit;

// "Série pour la classe": a different copy for every student (a number of copies, or one per
// name of a pasted list), printed as one job of subjects and one of keys, or saved as PDF or
// RTF into a folder. Everything is made in memory first: a cancelled run writes nothing, and
// a failed write removes what it had written. The folder dialog, the error box and each step
// of the progress go through replaceable functions, so that tests never block.
class ClassSetDialog : public QDialog {
    Q_OBJECT
  public:
    using FolderDialogFn = std::function<QString(QWidget* parent, const QString& start)>;
    using ErrorBoxFn = std::function<void(QWidget* parent, const QString& message)>;
    using ProgressFn = std::function<void(QProgressDialog& progress, int value)>;

    // What the dialog takes from the window.
    struct Parts {
        RichEdit* subject = nullptr;  // the pair on screen, put out as edited for one copy
        RichEdit* answerKey = nullptr;
        QSpinBox* subjectCopies = nullptr;  // jobs of subjects and of keys when printing
        QSpinBox* answerKeyCopies = nullptr;
        std::function<SheetSettings()> settings;
        std::function<QString()> baseName;  // of the pair on screen
        std::function<QString()> folder;    // where the folder dialog starts
        RandomSource* random = nullptr;
    };

    ClassSetDialog(Parts parts, QWidget* parent);

    void SetFolderDialog(FolderDialogFn fn) { folderDialog_ = std::move(fn); }
    void SetErrorBox(ErrorBoxFn fn) { errorBox_ = std::move(fn); }
    void SetProgressHook(ProgressFn fn) { progressHook_ = std::move(fn); }
    // The kind of the copies: "1d", "syst" or "2d".
    void SetKind(const std::string& kind);

    QComboBox* cbType;
    QSpinBox* spCopies;
    QPlainTextEdit* mNoms;
    QCheckBox* ckbCodes;
    QCheckBox* ckbGrille;
    QPushButton* btnImprimer;
    QPushButton* btnPdf;
    QPushButton* btnRtf;
    QPushButton* btnFermer;

    // The outputs; each returns true when it ran to its end.
    bool Print();
    bool SavePdf();
    bool SaveRtf();

  private:
    void Build();
    void ShowError(const QString& message);
    bool UsesPairOnScreen() const;
    std::optional<ClassSet> MakeSet(QProgressDialog& progress);
    std::optional<QString> ChooseFolder();
    bool Step(QProgressDialog& progress, int value);
    std::string SetBaseName() const;
    bool PairPdfs(const QString& folder, std::vector<std::pair<std::string, std::string>>* files);
    bool Finish(QProgressDialog& progress,
                const std::vector<std::pair<std::string, std::string>>& files);

    Parts parts_;
    FolderDialogFn folderDialog_;
    ErrorBoxFn errorBox_;
    ProgressFn progressHook_;
};

}  // namespace equat
