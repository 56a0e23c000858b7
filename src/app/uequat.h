// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QColor>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/classset.h"
#include "core/kinds.h"
#include "core/random.h"
#include "core/sheet.h"
#include "platform/anchorlayout.h"
#include "settings/qtcp1252.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QAction;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QSpinBox;
class QPushButton;
class QScrollArea;
class QSlider;
class QToolButton;

namespace equat {

class ClassSetDialog;
class ProjectionWindow;
struct ProjectionChoices;
class QuizDialog;
class FormStorage;
class Output;
class PaneSplitter;
class RichEdit;
class SpinField;
class StatusLight;

// Colours of the window's state.
inline const QColor kLightGreen{0, 128, 0};
inline const QColor kLightRed{255, 0, 0};
inline const QColor kFocusColour{255, 255, 232};

// The window title, stored only scrambled (RotateText with invert = true), and its key.
extern const std::string_view kScrambledTitle;
extern const std::string_view kTitleKey;
// The publisher's catalogue, opened by the link label.
extern const char* const kCatalogueUrl;

// The main window. Controls are public members named as the teacher's documentation names
// them (objectName is the same), so the settings store, the output handlers and the tests
// reach them directly; handlers are public slots so the settings store can fire them for
// restored values.
class TForm1 : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kClientWidth = 798;
    static constexpr int kClientHeight = 420;
    static constexpr int kMinOuterWidth = 640;
    static constexpr int kMinOuterHeight = 400;
    static constexpr int kNewTextMaxLength = 255;
    // The kinds at places 0 .. kKindButtonCount - 1 have a button; every kind is in the
    // "Exercices" menu.
    static constexpr int kKindButtonCount = 3;

    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Window-wide state.
    int level() const { return level_; }
    bool editMode() const { return editMode_; }
    // A generation or a preview is running: they let pending events run, and a click
    // meanwhile is refused rather than run inside them.
    bool busy() const { return busy_; }
    QColor statusLight() const;
    // Set by every generation, e.g. "Equat1d_N2_07_93"; the default name when saving.
    const QString& sheetBaseName() const { return sheetBaseName_; }
    // The settings file: the executable's path with ".ini" as extension, or the same name in
    // the user's configuration folder when the executable's folder cannot be written (set by
    // FormCreate).
    const QString& iniFileName() const;
    RandomSource& random() { return rng_; }
    // The save dialog's initial folder: kept with the settings, used and updated by the save.
    const QString& saveDialogInitialDir() const { return saveDialogInitialDir_; }
    void setSaveDialogInitialDir(const QString& dir) { saveDialogInitialDir_ = dir; }

    // What a generation reads from the window, texts in Windows-1252.
    SheetSettings ReadSheetSettings() const;
    // The design rectangle and anchors of a control (for tests and the output pieces).
    QRect DesignRect(const QWidget* control) const;

    // Places Panel3 in the middle of the client area, shows it and paints at once.
    void ShowPleaseWaitNotice();

    // Controls, in the order of the window's design table.
    QLabel* Label1;
    QSlider* trbNiveau;
    QLabel* Label4;
    QLineEdit* eTitre1;
    QLabel* Label2;
    SpinField* spMaxLigne;
    QLabel* Label5;
    QComboBox* Combo1;
    QPushButton* btnNouvTexte;
    QPushButton* btnEffaceTexte;
    QLabel* Label10;
    QLabel* Label3;
    SpinField* spinterligne;
    QCheckBox* CheckBox1;
    QLineEdit* eSepar;
    QCheckBox* ckbEdite;
    RichEdit* RxE1;
    RichEdit* RxE2;
    QLabel* Label9;
    QPushButton* btnEquat1d;
    QPushButton* btnSyst;
    QPushButton* btnEquat2d;
    QLabel* Label11;
    QComboBox* cbCorrige;
    QPushButton* btnSerie;
    QPushButton* btnChoixImp;
    QPushButton* btnApercu;
    QLabel* Label7;
    SpinField* spSujets;
    QLabel* Label8;
    SpinField* spCorriges;
    QPushButton* btnImprime;
    QPushButton* btnEnregistre;
    StatusLight* Shape1;
    QPlainTextEdit* Memo1;
    QScrollArea* ScrollBox1;
    QFrame* Panel3;
    QFrame* Panel4;
    QLabel* Label6;
    QMenu* PopupMenu1;
    FormStorage* FormStorage1;
    // The border between the two documents: nothing moves until it is dragged.
    PaneSplitter* Splitter1;

    // The menu bar above the design area; its items do what the buttons do.
    QMenuBar* MainMenu;
    // "Exercices": one item per kind, in the order of their places, drawing a pair as the
    // kind's button does.
    QMenu* mnuExercices;
    QAction* mnuOuvrir;  // a saved pair shown again
    QAction* mnuEnregistrer;
    QAction* mnuPdf;  // the pair on screen as two PDFs
    QAction* mnuExporter;
    QAction* mnuImprimer;
    QAction* mnuApercu;
    QAction* mnuSerie;
    QAction* mnuQuitter;
    QMenu* mnuCorrige;  // one checkable item per answer-key style, as cbCorrige
    QAction* mnuVirgule;
    QAction* mnuGraphes;
    QAction* mnuTirageHabituel;  // forgets the draw choices
    // In the menu bar's corner while draw choices are on; opens the draw dialog.
    QToolButton* btnTirageChoisi;
    QAction* mnuTirage;
    // The draw choices packed (PackedDrawChoices), kept by the store; never shown.
    QSpinBox* spTirage;
    QAction* mnuAdaptee;        // "Mise en page adaptée...": the layout's dialog
    QAction* mnuInterrogation;  // "Interrogation rapide...": the quiz dialog
    QAction* mnuProjeter;       // "Projeter...": questions flash on a whole screen
    // The projection's choices but the screen (ProjectionChoices::Packed), kept by the store.
    QSpinBox* spProjection;
    QAction* mnuManuel;
    QAction* mnuAPropos;
    // The design area: every control of the design table, kClientWidth x kClientHeight at
    // the design size, below the menu bar.
    QWidget* designArea() const { return client_; }

    // Printing, saving and preview of the two documents.
    Output& output() { return *output_; }
    // The class set dialog, opened by btnSerie.
    ClassSetDialog& classDialog() { return *classDialog_; }
    // Sets the adapted layout of the generations (off: the standard one) and redoes the pair
    // on screen, if any, from the same draws in the new layout.
    void SetAdaptedLayout(const AdaptedLayout& layout);
    QuizDialog& quizDialog() { return *quizDialog_; }
    // Draws questions of the window's choices and projects them full screen (the projection
    // open before is closed); the window keeps its pair and its state. nullptr, said in a box,
    // when the draw choices cannot be drawn.
    ProjectionWindow* Project(const ProjectionChoices& choices);

  public slots:
    void FormCreate();
    void FormActivate();
    // Returns through canClose whether the window may close.
    void FormCloseQuery(bool& canClose);

    void trbNiveauChange();
    void spmaxvaleurChange();
    void CheckBox1Click();
    void ckbEditeClick();
    void RxE1Change();
    void eTitre1Enter(QWidget* field);
    void eTitre1Exit(QWidget* field);
    void Combo1Enter();
    void Combo1Exit();
    void btnNouvTexteClick();
    void btnEffaceTexteClick();
    void Label9MouseMove();
    void FormMouseMove();
    void Label9Click();

    // Caret collapse: outside edit mode, the area's caret goes to the end of its text.
    void RxE1MouseDown();
    void RxE1MouseUp();
    void RxE1DragOver(bool* accept);
    void RxE1DragDrop();
    void RxE1EndDrag();
    void RxE2MouseDown();
    void RxE2MouseUp();
    void RxE2DragOver(bool* accept);
    void RxE2EndDrag();

    // Output handlers: the window's Output puts the documents out.
    void btnImprimeClick();
    void btnEnregistreClick();
    void btnChoixImpClick();
    void btnApercuClick();
    void btnSerieClick();

  signals:
    // The settings store restores here: the first showing, before the first activation.
    void RestoreRequested();
    // Raised by FormCloseQuery after its own clean-up, before the close is granted.
    void CloseQueried();
    // The settings store saves here: the close has been granted.
    void SaveRequested();
    // Each generation that ran to its end (also one ended by an error).
    void GenerationFinished();

  protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildControls();
    void BuildMenus();
    void BuildSheetMenu(QMenu* sheet);
    void BuildKindMenu();
    void BuildDrawIndicator(QMenu* sheet);
    void BuildProjectionItem(QMenu* sheet);
    // The draw choices kept by spTirage (PackedDrawChoices); the kinds' own draw if unreadable.
    DrawChoices StoredDrawChoices() const;
    void ShowDrawChoices();
    void UpdateTitle();
    void WireMenus();
    void FinishControls();
    void Wire();
    void SetStatusLight(const QColor& colour);
    void CollapseCaret(RichEdit* area);
    // A new pair from the window's stream.
    void Generate(std::string_view kindName);
    // The pair of these settings, from the window's stream or, with redoSeed, drawn again
    // from that seed; false when nothing was made (no such kind, hand edits kept, an error).
    bool MakePair(std::string_view kindName, SheetSettings settings,
                  std::optional<std::uint32_t> redoSeed);
    void ShowSheet(const Sheet& sheet);
    // The pair on screen made again from the same draws in the key's style, the comma and
    // the layout the window now says: what is shown is what prints. False without such a
    // pair or when the teacher keeps hand edits.
    bool RedoPair();
    void KeyStyleChange();
    // True when nothing was typed by hand since the documents were made, opened or saved,
    // or when the teacher agrees to lose it.
    bool MayDiscardHandEdits();
    void OpenPair();
    void ChooseAdaptedLayout();
    void ShowRejectedInput(QLineEdit* field);
    void ShowHandlerError(const QString& message);
    void UpdateMinimumSize();
    void ShowManual();
    void ApplySplit();
    void ShowAbout();

    QWidget* client_ = nullptr;
    AnchorLayout* layout_ = nullptr;
    std::unique_ptr<Output> output_;
    RandomSource rng_;
    int level_ = 1;
    bool editMode_ = false;
    bool busy_ = false;
    bool shownOnce_ = false;
    bool activatedOnce_ = false;
    bool lostToOwnWindow_ = false;
    QString sheetBaseName_;
    std::string lastKind_{kSheetKinds[0].name};
    // The last generation as data, for the exports (its documents are the areas') and for
    // making the pair again (its sheet's settings are what the pair was made with).
    std::optional<ClassCopy> lastCopy_;
    std::optional<std::uint32_t> pairSeed_;  // the stream's seed before the pair on screen
    AdaptedLayout adapted_;
    ClassSetDialog* classDialog_ = nullptr;
    QuizDialog* quizDialog_ = nullptr;
    QPointer<ProjectionWindow> projection_;
    int projectionScreen_ = -1;  // the screen chosen last, for this run only
    QString saveDialogInitialDir_;
};

}  // namespace equat
