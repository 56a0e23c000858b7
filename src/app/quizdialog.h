// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QDialog>
#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "app/classdialog.h"
#include "core/classset.h"
#include "core/quiz.h"
#include "core/random.h"
#include "core/sheet.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace equat {

// "Interrogation rapide": short copies several to a page, each with its own questions and
// code, the keys one under another in the same order; printed (subjects, then keys) or saved
// as a pair of PDF files. One draw serves every output until a choice changes, so that the
// printed copies are those saved; closed and opened again, the dialog keeps its draw and its
// choices. The file dialog and the message box go through replaceable functions, so that
// tests never block.
class QuizDialog : public QDialog {
    Q_OBJECT
  public:
    using SaveDialogFn = std::function<QString(QWidget* parent, const QString& start)>;
    using MessageBoxFn = std::function<void(QWidget* parent, const QString& message, bool error)>;

    struct Parts {
        QComboBox* keyStyles = nullptr;  // the window's list of answer-key styles, mirrored
        std::function<SheetSettings()> settings;
        std::function<QString()> folder;  // where the file dialog starts
        RandomSource* random = nullptr;
    };

    QuizDialog(Parts parts, QWidget* parent);

    void SetSaveDialog(SaveDialogFn fn) { saveDialog_ = std::move(fn); }
    void SetMessageBox(MessageBoxFn fn) { messageBox_ = std::move(fn); }
    // The choices start from the window's kind, level, key style and texts (see
    // WindowChoices); a draw made earlier is kept with its choices.
    void StartFrom(const std::string& kind, const SheetSettings& window);

    // What the choices ask for.
    QuizRequest Request() const;
    bool Print();
    bool SavePdf();

    QComboBox* cbType;
    QSpinBox* spNiveau;
    QCheckBox* ckbDeuxNiveaux;
    QSpinBox* spQuestions;
    QComboBox* cbParPage;
    QSpinBox* spCopies;
    QComboBox* cbCorrige;
    QLineEdit* eTitre;     // the copies' first line
    QLineEdit* eConsigne;  // their instruction
    QLabel* lblPages;      // the pages of copies, and whether they were drawn earlier
    QPushButton* btnImprimer;
    QPushButton* btnPdf;
    QPushButton* btnFermer;

    // The quiz drawn for the choices on screen, drawn now when there is none.
    const ClassSet& Drawn();

  private:
    void MakeControls();
    void LayOut();
    void Connect();
    void Forget();
    void ShowPages();
    void TakeWindowChoices();

    Parts parts_;
    WindowChoices window_;
    std::optional<ClassSet> drawn_;
    bool drawnEarlier_ = false;
    SaveDialogFn saveDialog_;
    MessageBoxFn messageBox_;
};

}  // namespace equat
