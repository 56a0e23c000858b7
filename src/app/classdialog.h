// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QDialog>
#include <QString>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/classset.h"
#include "core/formats.h"
#include "core/random.h"
#include "core/sheet.h"

class QCheckBox;
class QFormLayout;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressDialog;
class QPushButton;
class QSpinBox;

namespace equat {

class AdaptedLayoutBox;
struct KindInfo;
enum class FormatId;
class RichEdit;

// What a kind's item says as its hint, in the window's menu and in the dialogs' lists.
QString KindHint(const KindInfo& kind);
// The kinds a dialog offers, in the order of the window's buttons, each with its short name
// and its hint.
void AddKindItems(QComboBox* box);

// A dialog's choices above its row of buttons, none of which Enter presses by itself.
void LayOutDialog(QDialog* dialog, QFormLayout* form, std::initializer_list<QPushButton*> buttons);

// What a dialog's opening takes from the window: every choice at the first opening, later only
// those the window changed since the last one, so that the teacher's own choices in the dialog
// stay for the window's life.
class WindowChoices {
  public:
    void Open(const std::string& kind, const SheetSettings& now);
    const SheetSettings& now() const { return now_; }
    const std::string& kind() const { return kind_; }
    bool KindChanged() const { return !before_ || kind_ != beforeKind_; }
    template <class T>
    bool Changed(T SheetSettings::*field) const {
        return !before_ || now_.*field != (*before_).*field;
    }
    // The kind, level and key style among the window's changes, shown in a dialog's lists.
    void ShowShape(QComboBox* kinds, QSpinBox* level, QComboBox* keyStyles) const;

  private:
    bool opened_ = false;
    std::string kind_, beforeKind_;
    SheetSettings now_;
    std::optional<SheetSettings> before_;
};

// "Série pour la classe": a different copy for every student (a number of copies, or one per
// name of a pasted list), printed as one job of subjects and one of keys, or saved as PDF or
// RTF into a folder. The set is drawn once and every output uses it until the teacher asks
// for a new draw or changes a choice; closed and opened again, the dialog keeps the set and its
// choices (the window's life long, never stored) and says that the set was drawn earlier.
// Every input is checked before anything is asked or
// made; everything is made in memory first: a cancelled run writes nothing, and a failed
// write removes what it had written. The folder dialog, the boxes and each step of the
// progress go through replaceable functions, so that tests never block.
class ClassSetDialog : public QDialog {
    Q_OBJECT
  public:
    using FolderDialogFn = std::function<QString(QWidget* parent, const QString& start)>;
    using ErrorBoxFn = std::function<void(QWidget* parent, const QString& message)>;
    using ProgressFn = std::function<void(QProgressDialog& progress, int value)>;
    // A yes-or-no question; true to go on.
    using ConfirmFn = std::function<bool(QWidget* parent, const QString& question)>;
    // What was written and where; the real box offers to open the folder.
    using DoneBoxFn =
        std::function<void(QWidget* parent, const QString& message, const QString& folder)>;

    // What the dialog takes from the window.
    struct Parts {
        RichEdit* subject = nullptr;  // the pair on screen, put out as edited for one copy
        RichEdit* answerKey = nullptr;
        QSpinBox* subjectCopies = nullptr;  // jobs of subjects and of keys when printing
        QSpinBox* answerKeyCopies = nullptr;
        QComboBox* keyStyles = nullptr;  // the window's list of answer-key styles, mirrored
        std::function<SheetSettings()> settings;
        std::function<QString()> baseName;    // of the pair on screen
        std::function<QString()> folder;      // where the folder dialog starts
        std::function<void()> choosePrinter;  // the window's printer dialog
        RandomSource* random = nullptr;
    };

    ClassSetDialog(Parts parts, QWidget* parent);
    ~ClassSetDialog() override;

    void SetFolderDialog(FolderDialogFn fn) { folderDialog_ = std::move(fn); }
    void SetErrorBox(ErrorBoxFn fn) { errorBox_ = std::move(fn); }
    void SetProgressHook(ProgressFn fn) { progressHook_ = std::move(fn); }
    void SetConfirmBox(ConfirmFn fn) { confirmBox_ = std::move(fn); }
    void SetDoneBox(DoneBoxFn fn) { doneBox_ = std::move(fn); }
    // The choices start from the window's: the kind of the copies ("1d", "syst" or "2d"),
    // level, number of questions, key style, title and adapted layout (see WindowChoices); a
    // set drawn earlier is kept with every choice it was drawn with. The focus goes to the
    // first choice.
    void StartFrom(const std::string& kind, const SheetSettings& window);

    QComboBox* cbType;
    QSpinBox* spNiveau;
    QSpinBox* spQuestions;
    QComboBox* cbCorrige;
    QLineEdit* eTitre;
    QSpinBox* spCopies;
    QPlainTextEdit* mNoms;
    QLabel* lblCopies;  // says when the count follows the names
    QCheckBox* ckbCodes;
    QCheckBox* ckbGrille;
    QCheckBox* ckbQcm;           // each question as multiple choice
    QCheckBox* ckbAutomatismes;  // 12 questions of every kind, whole numbers, multiple choice
    QCheckBox* ckbGraphes;
    AdaptedLayoutBox* gbAdaptee;  // for every copy, or for the names marked A
    QLabel* lblImprimante;        // the printer a print goes to
    QPushButton* btnImprimante;
    QLabel* lblTirage;  // the set drawn (now or earlier), or that none is drawn yet
    QLabel* lblCodes;   // its first codes, each whole
    QPushButton* btnTirage;
    QPushButton* btnImprimer;
    QPushButton* btnPdf;
    QPushButton* btnRtf;
    QPushButton* btnMoodle;
    QPushButton* btnAmc;
    QPushButton* btnFermer;

    // The outputs; each returns true when it ran to its end.
    bool Print();
    bool SavePdf();
    bool SaveRtf();
    // The questions of every copy as a bank of the format (Moodle XML, a category per copy;
    // the multiple-choice package's source).
    bool ExportBank(FormatId id);
    // Draws a new set of the current choices ("Nouveau tirage"); false when an input is
    // refused or the draw is cancelled.
    bool Draw();
    // The set every output uses, if drawn.
    const std::optional<ClassSet>& set() const { return set_; }
    // What a generation of the dialog's choices reads.
    SheetSettings Settings() const;

  private:
    void Build();
    void MakeControls();
    void MakeOutputControls();
    void MakeChoiceControls();  // QCM and the automatismes preset
    void LayOut();
    void Connect();
    void ShowError(const QString& message);
    void Forget();
    void ShowCopies();
    void ShowPrinter();
    void TakeWindowChoices();
    bool UsesPairOnScreen() const;
    std::optional<ClassSetRequest> Request();
    bool EnsureSet();
    std::optional<QString> StartSave(bool needsSet, const QString& label);
    bool Step(int value);
    std::string SetBaseName() const;
    bool Make(FormatId format, const OutputData& output, const std::vector<std::string>& names,
              NamedFiles* files);
    bool MakeGrid(const std::string& base, NamedFiles* files);
    ClassCopy PairOnScreen() const;
    bool Finish(const QString& folder,
                const std::vector<std::pair<std::string, std::string>>& files);

    Parts parts_;
    FolderDialogFn folderDialog_;
    ErrorBoxFn errorBox_;
    ProgressFn progressHook_;
    ConfirmFn confirmBox_;
    DoneBoxFn doneBox_;
    std::optional<ClassSet> set_;
    bool drawnEarlier_ = false;  // the set was drawn before this opening
    WindowChoices window_;
    std::unique_ptr<QProgressDialog> progress_;  // while an output is being made
};

}  // namespace equat
