// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/uequat.h"

#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFrame>
#include <QIcon>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSlider>
#include <QSpinBox>
#include <QTextDocument>
#include <QToolButton>
#include <QToolTip>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <memory>
#include <type_traits>
#include <variant>

#include "app/classdialog.h"
#include "app/drawdialog.h"
#include "app/layoutbox.h"
#include "app/output.h"
#include "app/projection.h"
#include "app/quizdialog.h"
#include "app/widgets.h"
#include "core/cp1252.h"
#include "core/drawchoices.h"
#include "core/kinds.h"
#include "core/rotate.h"
#include "core/sheetcode.h"
#include "platform/anchorlayout.h"
#include "platform/graphpainter.h"
#include "platform/richedit.h"
#include "rtf/sheetdocument.h"
#include "settings/formstorage.h"
#include "settings/settingsmodel.h"

static void InitAppResources() {
    Q_INIT_RESOURCE(equat);
}

namespace equat {

// "Equat - Feuilles d'équations et de systèmes", scrambled with the key below.
const std::string_view kScrambledTitle =
    "\x51\x2E\x5D\x2C\x1D\x04\x4B\x04\x91\xAC\x5D\x2D\x1B\x8D\x59\x6E\x08\x8C\xC9\x3D\x5C\xAE"
    "\x58\x8E\x5A\xED\x9B\x6E\x08\xAC\x1D\x04\x19\xAC\x08\x6E\x5E\x6E\x1D\x1D\x5B\xAC\xDC";
const std::string_view kTitleKey = "Mx";
const char* const kCatalogueUrl = "https://www.editions-valdorienne.fr/catalogue/mathematiques";

namespace {

const QColor kWhite{255, 255, 255};
const QColor kSpinBackground{240, 255, 255};
const QColor kMaroon{128, 0, 0};
const QColor kOrange{255, 128, 0};
const QColor kLinkBlue{0, 0, 255};

const QStringList kWindowFonts{"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans", "Arial",
                               "DejaVu Sans"};
const QStringList kArialFonts{"Arial", "Liberation Sans", "DejaVu Sans"};

QFont PixelFont(const QStringList& families, int pixels) {
    QFont f;
    f.setFamilies(families);
    f.setPixelSize(pixels);
    return f;
}

void SetColour(QWidget* w, QPalette::ColorRole role, const QColor& colour) {
    QPalette p = w->palette();
    p.setColor(role, colour);
    w->setPalette(p);
}

// Shows the busy cursor for as long as it lives, whatever way the scope is left.
class BusyCursor {
  public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

class Flag {
  public:
    explicit Flag(bool& f) : f_(f) { f_ = true; }
    ~Flag() { f_ = false; }
    Flag(const Flag&) = delete;
    Flag& operator=(const Flag&) = delete;

  private:
    bool& f_;
};

}  // namespace

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
    InitAppResources();
    RegisterGraphPainter();  // the keys' graphs, on screen and in every output
    setObjectName("Form1");
    setWindowIcon(QIcon(":/equat/equat-32.png"));
    setFont(PixelFont(kWindowFonts, 11));
    // The button-face colour as background, without changing the roles that the children
    // inherit (they would then draw their own colours from the button roles).
    SetColour(this, QPalette::Window, palette().color(QPalette::Button));
    setAutoFillBackground(true);
    setMouseTracking(true);
    setMinimumSize(kMinOuterWidth, kMinOuterHeight);

    BuildControls();
    BuildMenus();
    output_ = std::make_unique<Output>(
        Output::Parts{this, RxE1, RxE2, spSujets, spCorriges, ScrollBox1,
                      [this] { return saveDialogInitialDir_; },
                      [this](const QString& dir) { saveDialogInitialDir_ = dir; },
                      [this] { return sheetBaseName_; }, [this] { return lastCopy_; }});
    classDialog_ = new ClassSetDialog(
        ClassSetDialog::Parts{
            RxE1, RxE2, spSujets, spCorriges, cbCorrige, [this] { return ReadSheetSettings(); },
            [this] { return sheetBaseName_; }, [this] { return saveDialogInitialDir_; },
            [this] { output_->ChoosePrinter(); }, &rng_},
        this);
    quizDialog_ =
        new QuizDialog(QuizDialog::Parts{cbCorrige, [this] { return ReadSheetSettings(); },
                                         [this] { return saveDialogInitialDir_; }, &rng_},
                       this);
    Wire();
    FormCreate();
}

TForm1::~TForm1() {
    // The controls still exist here; their values go to the file if no save has succeeded.
    FormStorage1->SaveAtDestruction();
}

const QString& TForm1::iniFileName() const {
    return FormStorage1->IniFileName();
}

namespace {

// ---- The window's design ------------------------------------------------------------------

// Each row names the member that holds the control; the member's type is the control's kind.
using ControlMember =
    std::variant<QLabel * TForm1::*, QSlider * TForm1::*, QLineEdit * TForm1::*,
                 SpinField * TForm1::*, QComboBox * TForm1::*, QPushButton * TForm1::*,
                 QCheckBox * TForm1::*, RichEdit * TForm1::*, StatusLight * TForm1::*,
                 QPlainTextEdit * TForm1::*, QScrollArea * TForm1::*, QFrame * TForm1::*>;

// Where a control differs from the window's defaults.
struct Look {
    int fontPixels = 0;  // 0: the window's font
    bool arial = false;
    QColor text = {};        // invalid: the default
    QColor background = {};  // invalid: none of its own
    bool centred = false;
    bool hidden = false;
    bool disabled = false;
};

struct ControlRow {
    ControlMember member;
    const char* name;
    QRect rect;  // width 0: a label sized to its caption
    unsigned anchors;
    QString caption;
    QString hint;
    int low = 0, high = 0, value = 0;  // spin fields, the track bar and lists; edits: length
    Look look = {};
    QStringList items = {};  // a combo box with items is a fixed list, value its default index
};

// The answer key's list: the styles' labels in their order.
QStringList KeyStyleItems() {
    QStringList items;
    for (const auto& k : kKeyStyles) items << FromCp1252(k.label);
    return items;
}

// The caption of the kind at a place among the buttons, left to right.
QString KindCaption(int place) {
    return FromCp1252(KindsInWindowOrder().at(static_cast<std::size_t>(place))->caption);
}

// The buttons' captions, left to right: "a, b ou c".
QString KindCaptions() {
    QString captions;
    const int buttons = std::min(TForm1::kKindButtonCount, kKindCount);
    for (int k = 0; k < buttons; ++k) {
        if (k > 0) captions += k + 1 == buttons ? " ou " : ", ";
        captions += KindCaption(k);
    }
    return captions;
}

// A kind's item in "Exercices": its caption, and its French name when the caption is not it.
QString KindItemText(const KindInfo& kind) {
    const QString caption = FromCp1252(kind.caption), title = FromCp1252(kind.title);
    return caption == title ? caption : caption + " (" + title + ")";
}

// Its hint: the styles as the hint names them, "Style du corrigé : a, b ou c".
QString KeyStyleHint() {
    QString hint = "Style du corrigé : ";
    for (int k = 0; k < kKeyStyleCount; ++k) {
        if (k > 0) hint += k + 1 == kKeyStyleCount ? " ou " : ", ";
        hint += FromCp1252(kKeyStyles[k].hint);
    }
    return hint;
}

constexpr unsigned kLT = akLeft | akTop;
constexpr unsigned kLTR = akLeft | akTop | akRight;
constexpr unsigned kTR = akTop | akRight;
constexpr unsigned kRB = akRight | akBottom;
constexpr unsigned kLB = akLeft | akBottom;

// In the order of creation, which is also the order of the keyboard focus.
const ControlRow kDesign[] = {
    {&TForm1::Label1, "Label1", {4, 8, 0, 0}, kLT, "Niveau", ""},
    {&TForm1::trbNiveau, "trbNiveau", {40, 2, 80, 29}, kLT, "", "Niveau 1", 1, 3, 1},
    {&TForm1::Label4, "Label4", {125, 8, 0, 0}, kLT, "Titre1", ""},
    {&TForm1::eTitre1,
     "eTitre1",
     {157, 4, 638, 21},
     kLTR,
     FromCp1252(kDefaultTitle),
     "Ligne 1 du titre, modifiable et enregistrée ",
     0,
     0,
     kMaxTitleLength},
    {&TForm1::Label2, "Label2", {4, 35, 0, 0}, kLT, "Max quest", ""},
    {&TForm1::spMaxLigne,
     "spMaxLigne",
     {59, 30, 41, 22},
     kLT,
     "",
     "Nombre maximal de questions posées",
     1,
     kMaxQuestions,
     25},
    {&TForm1::Label5, "Label5", {125, 35, 0, 0}, kLT, "Titre2", ""},
    {&TForm1::Combo1, "Combo1", {157, 31, 580, 21}, kLTR, FromCp1252(kDefaultInstruction), ""},
    {&TForm1::btnNouvTexte,
     "btnNouvTexte",
     {741, 29, 25, 25},
     kTR,
     "A",
     "Ajouter un nouveau texte"},
    {&TForm1::btnEffaceTexte,
     "btnEffaceTexte",
     {770, 29, 24, 25},
     kTR,
     "E",
     "Effacer le texte sélectionné"},
    {&TForm1::Label10,
     "Label10",
     {100, 49, 26, 12},
     kLT,
     "(123)",
     "",
     0,
     0,
     0,
     {.fontPixels = 9, .arial = true, .text = kMaroon, .centred = true}},
    {&TForm1::Label3, "Label3", {4, 63, 0, 0}, kLT, "Interligne", ""},
    {&TForm1::spinterligne,
     "spinterligne",
     {59, 58, 41, 22},
     kLT,
     "",
     "Espacement entre les lignes",
     0,
     10,
     1},
    {&TForm1::CheckBox1, "CheckBox1", {106, 61, 50, 17}, kLT, "Separ", "", 0, 0, 1},
    {&TForm1::eSepar,
     "eSepar",
     {157, 59, 559, 21},
     kLTR,
     QString(123, '-'),
     "Ligne 2, idem",
     0,
     0,
     kMaxSeparatorLength},
    {&TForm1::ckbEdite,
     "ckbEdite",
     {728, 59, 59, 17},
     kTR,
     "Edite",
     "Possibilité d'écrire, modifier sujet/corrigé"},
    {&TForm1::RxE1, "RxE1", {4, 86, 788, 132}, kLTR | akBottom, "", "Sujet"},
    {&TForm1::RxE2, "RxE2", {4, 224, 790, 141}, akLeft | kRB, "", "Corrigé"},
    {&TForm1::Label9,
     "Label9",
     {1, 369, 793, 20},
     akLeft | kRB,
     "Consultez les ouvrages de mathématiques des Editions VALDORIENNE",
     "Nouvelles versions",
     0,
     0,
     0,
     {.fontPixels = 16, .text = kLinkBlue, .background = kOrange, .centred = true}},
    {&TForm1::btnEquat1d,
     "btnEquat1d",
     {8, 392, 66, 25},
     kLB,
     KindCaption(0),
     "Equations du 1er degré"},
    {&TForm1::btnSyst,
     "btnSyst",
     {91, 392, 66, 25},
     kLB,
     KindCaption(1),
     "Systèmes d'équations du 1er degré"},
    {&TForm1::btnEquat2d,
     "btnEquat2d",
     {173, 392, 66, 25},
     kLB,
     KindCaption(2),
     "Equation du 2ème degré"},
    {&TForm1::Label11, "Label11", {246, 398, 0, 0}, kLB, "Corrigé", ""},
    {&TForm1::cbCorrige,
     "cbCorrige",
     {290, 393, 74, 22},
     kLB,
     "",
     KeyStyleHint(),
     0,
     0,
     0,
     {},
     KeyStyleItems()},
    {&TForm1::btnSerie,
     "btnSerie",
     {370, 392, 38, 25},
     kLB,
     "Série",
     "Série pour la classe : une copie différente par élève"},
    {&TForm1::btnChoixImp, "btnChoixImp", {413, 392, 28, 25}, kRB, "CI", "Choix de l'imprimante"},
    {&TForm1::btnApercu,
     "btnApercu",
     {448, 392, 28, 25},
     kRB,
     "A",
     "Aperçu avant impression",
     0,
     0,
     0,
     {.disabled = true}},
    {&TForm1::Label7, "Label7", {480, 398, 0, 0}, kRB, "Sujets", ""},
    {&TForm1::spSujets, "spSujets", {513, 393, 44, 22}, kRB, "", "", 0, 1000, 1},
    {&TForm1::Label8, "Label8", {561, 398, 0, 0}, kRB, "Corrigés", ""},
    {&TForm1::spCorriges, "spCorriges", {603, 393, 44, 22}, kRB, "", "", 0, 1000, 1},
    {&TForm1::btnImprime,
     "btnImprime",
     {656, 392, 54, 25},
     kRB,
     "Imprimer",
     "Imprimer sujets et/ou corrigés",
     0,
     0,
     0,
     {.disabled = true}},
    {&TForm1::btnEnregistre,
     "btnEnregistre",
     {714, 392, 59, 25},
     kRB,
     "Enregistrer",
     "Enregistrer sujets et/ou corrigés dans un fichier RTF",
     0,
     0,
     0,
     {.disabled = true}},
    {&TForm1::Shape1, "Shape1", {778, 393, 13, 22}, kRB, "", ""},
    {&TForm1::Memo1,
     "Memo1",
     {504, 112, 281, 225},
     kLT,
     "Memo1",
     "",
     0,
     0,
     0,
     {.fontPixels = 13, .hidden = true}},
    {&TForm1::ScrollBox1,
     "ScrollBox1",
     {784, 98, 493, 497},
     kLT,
     "",
     "",
     0,
     0,
     0,
     {.hidden = true}},
    {&TForm1::Panel3,
     "Panel3",
     {-411, 128, 505, 217},
     kLT,
     "",
     "",
     0,
     0,
     0,
     {.background = QColor(255, 0, 0), .hidden = true}},
};

// A new control of the row's kind with what that kind always has in this window.
template <class T>
T* MakeControl(const ControlRow& row, QWidget* parent, QMenu* popupMenu) {
    if constexpr (std::is_same_v<T, SpinField>) {
        auto* s = new SpinField(row.low, row.high, row.value, parent);
        s->setPopupMenu(popupMenu);
        SetColour(s, QPalette::Base, kSpinBackground);
        return s;
    } else if constexpr (std::is_same_v<T, QSlider>) {
        auto* t = new QSlider(Qt::Horizontal, parent);
        t->setRange(row.low, row.high);
        t->setValue(row.value);
        t->setPageStep(1);
        t->setTickInterval(1);
        t->setTickPosition(QSlider::TicksBelow);
        return t;
    } else if constexpr (std::is_same_v<T, QLineEdit>) {
        auto* e = new QLineEdit(parent);
        e->setMaxLength(row.value);
        e->setText(row.caption);
        e->setCursorPosition(0);
        e->setValidator(new Cp1252Validator(e));
        SetColour(e, QPalette::Base, kWhite);
        return e;
    } else if constexpr (std::is_same_v<T, QComboBox>) {
        auto* c = new QComboBox(parent);
        if (!row.items.isEmpty()) {
            c->addItems(row.items);
            c->setCurrentIndex(row.value);
            return c;
        }
        c->setEditable(true);
        // Enter must not add the typed text to the teacher's list; "A" does that.
        c->setInsertPolicy(QComboBox::NoInsert);
        c->setValidator(new Cp1252Validator(c));
        for (std::string_view item : kDefaultInstructionItems) c->addItem(FromCp1252(item));
        c->setCurrentIndex(-1);
        c->setEditText(row.caption);
        SetColour(c, QPalette::Base, kWhite);
        return c;
    } else if constexpr (std::is_same_v<T, QPushButton>) {
        auto* b = new QPushButton(row.caption, parent);
        b->setAutoDefault(false);
        return b;
    } else if constexpr (std::is_same_v<T, QCheckBox>) {
        auto* c = new QCheckBox(row.caption, parent);
        c->setChecked(row.value != 0);
        return c;
    } else if constexpr (std::is_same_v<T, QLabel> || std::is_same_v<T, QPlainTextEdit>) {
        return new T(row.caption, parent);
    } else {
        return new T(parent);
    }
}

void ApplyLook(QWidget* w, const Look& look) {
    if (look.fontPixels)
        w->setFont(PixelFont(look.arial ? kArialFonts : kWindowFonts, look.fontPixels));
    if (look.text.isValid()) SetColour(w, QPalette::WindowText, look.text);
    if (look.background.isValid()) {
        w->setAutoFillBackground(true);
        SetColour(w, QPalette::Window, look.background);
    }
    if (auto* label = qobject_cast<QLabel*>(w); label && look.centred)
        label->setAlignment(Qt::AlignCenter);
    if (look.hidden) w->setVisible(false);
    if (look.disabled) w->setEnabled(false);
}

}  // namespace

void TForm1::BuildControls() {
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName("PopupMenu1");
    client_ = new QWidget(this);
    client_->setObjectName("DesignArea");
    client_->setMouseTracking(true);
    client_->installEventFilter(this);
    layout_ = new AnchorLayout(client_, QSize(kClientWidth, kClientHeight));
    for (const ControlRow& row : kDesign) {
        QWidget* w = std::visit(
            [&](auto member) -> QWidget* {
                using T = std::remove_pointer_t<std::remove_reference_t<decltype(this->*member)>>;
                T* control = MakeControl<T>(row, client_, PopupMenu1);
                this->*member = control;
                return control;
            },
            row.member);
        w->setObjectName(row.name);
        if (!row.hint.isEmpty()) w->setToolTip(row.hint);
        ApplyLook(w, row.look);
        QRect rect = row.rect;
        if (rect.width() == 0) {
            w->adjustSize();
            rect.setSize(w->size());
        }
        layout_->Add(w, rect, row.anchors);
    }
    FinishControls();
    FormStorage1 = new FormStorage(this, this);
    FormStorage1->BindSaveDialogInitialDir(
        [this] { return saveDialogInitialDir_; },
        [this](const QString& dir) { saveDialogInitialDir_ = dir; });
}

// What the table does not say: mouse tracking, scroll bars and the notice's inner panel.
void TForm1::FinishControls() {
    // A scroll bar that comes and goes would lay each new document out twice, once per width.
    for (auto* area : {RxE1, RxE2}) area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RxE2->setMouseTracking(true);
    RxE2->viewport()->setMouseTracking(true);
    Splitter1 = new PaneSplitter(client_);
    Splitter1->setObjectName("Splitter1");
    Splitter1->setToolTip("Glisser pour partager la hauteur entre le sujet et le corrigé");
    layout_->Add(Splitter1, {4, 218, 790, 6}, akLeft | akRight | akBottom);
    Splitter1->shareAt = [this](int y) {
        const QRect top = layout_->Placed(RxE1);
        const int total = top.height() + layout_->Placed(RxE2).height();
        return std::clamp((y - top.top()) * 1000 / std::max(total, 1), 1, 999);
    };
    layout_->SetAfterLayout([this] { ApplySplit(); });
    connect(Splitter1, &QAbstractSlider::valueChanged, this, &TForm1::ApplySplit);
    Label9->setCursor(Qt::PointingHandCursor);
    Label9->setMouseTracking(true);

    Panel4 = new QFrame(Panel3);
    Panel4->setObjectName("Panel4");
    Panel4->setAutoFillBackground(true);
    SetColour(Panel4, QPalette::Window, kWhite);
    Panel4->setGeometry(16, 16, 473, 185);
    Label6 = new QLabel(
        "Veuillez patienter, svp, pendant la sauvegarde\n        des paramètres de "
        "configuration...",
        Panel4);
    Label6->setObjectName("Label6");
    Label6->setFont(PixelFont(kArialFonts, 19));
    Label6->move(40, 72);
    Label6->adjustSize();
}

namespace {

QAction* MenuItem(QMenu* menu, const char* name, const QString& text,
                  const QKeySequence& keys = {}) {
    QAction* a = menu->addAction(text);
    a->setObjectName(name);
    a->setShortcut(keys);
    return a;
}

}  // namespace

// Above the design area, which keeps its size: the window grows by the bar's height.
void TForm1::BuildMenus() {
    MainMenu = new QMenuBar(this);
    MainMenu->setObjectName("MainMenu");
    QMenu* file = MainMenu->addMenu("&Fichier");
    mnuOuvrir = MenuItem(file, "mnuOuvrir", "&Ouvrir...", QKeySequence::Open);
    mnuOuvrir->setToolTip(
        "Un sujet enregistré et son corrigé (NOM_Cor.rtf), pour les revoir ou les imprimer");
    mnuEnregistrer = MenuItem(file, "mnuEnregistrer", "&Enregistrer...", QKeySequence::Save);
    mnuPdf = MenuItem(file, "mnuPdf", "Enregistrer en P&DF...");
    mnuPdf->setToolTip("Le sujet et le corrigé affichés, tels quels, en NOM.pdf et NOM_Cor.pdf");
    mnuExporter = MenuItem(file, "mnuExporter", "E&xporter...");
    mnuExporter->setToolTip(
        "Le sujet affiché en banque de questions Moodle ou GIFT, en texte OpenDocument ou en "
        "LaTeX");
    mnuImprimer = MenuItem(file, "mnuImprimer", "&Imprimer", QKeySequence::Print);
    mnuApercu = MenuItem(file, "mnuApercu", "&Aperçu");
    file->addSeparator();
    mnuSerie = MenuItem(file, "mnuSerie", "&Série pour la classe...");
    file->addSeparator();
    mnuQuitter = MenuItem(file, "mnuQuitter", "&Quitter", QKeySequence(Qt::CTRL | Qt::Key_Q));

    BuildKindMenu();
    QMenu* sheet = MainMenu->addMenu("F&euille");
    BuildSheetMenu(sheet);
    BuildDrawIndicator(sheet);

    QMenu* help = MainMenu->addMenu("&Aide");
    mnuManuel = MenuItem(help, "mnuManuel", "&Manuel", QKeySequence::HelpContents);
    mnuAPropos = MenuItem(help, "mnuAPropos", "À &propos");

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->setMenuBar(MainMenu);
    outer->addWidget(client_);
    const int bar = MainMenu->heightForWidth(kClientWidth);
    resize(kClientWidth, kClientHeight + (bar > 0 ? bar : MainMenu->sizeHint().height()));
    outer->activate();  // the controls stand in place before the first showing
    for (auto* a : {mnuEnregistrer, mnuPdf, mnuExporter, mnuImprimer, mnuApercu})
        a->setEnabled(false);

    // Escape closes the preview, as a desktop user expects of a window of pages.
    auto* closePreview = new QShortcut(QKeySequence(Qt::Key_Escape), ScrollBox1);
    connect(closePreview, &QShortcut::activated, ScrollBox1, &QWidget::hide);
}

// "Exercices": every kind, the buttons' too, with Ctrl+1 ... Ctrl+9 in the order of places.
// An item draws through Generate, as a button does, so the settings, the draw choices and the
// redraw on a change of the key's style or of the comma are the same.
void TForm1::BuildKindMenu() {
    mnuExercices = MainMenu->addMenu("E&xercices");
    mnuExercices->setObjectName("mnuExercices");
    mnuExercices->setToolTipsVisible(true);
    int shortcut = 0;
    for (const KindInfo* kind : KindsInWindowOrder()) {
        QAction* item = mnuExercices->addAction(KindItemText(*kind));
        item->setObjectName(QString("mnuExercice_") + QString::fromLatin1(kind->name));
        if (++shortcut <= 9)
            item->setShortcut(
                QKeyCombination(Qt::ControlModifier, static_cast<Qt::Key>(Qt::Key_0 + shortcut)));
        const QString hint = KindHint(*kind);
        item->setToolTip(hint);
        item->setStatusTip(hint);
        connect(item, &QAction::triggered, this, [this, kind] { Generate(kind->name); });
    }
}

// "Feuille": what is drawn, the key's style, the decimal comma, the adapted layout, the quiz.
void TForm1::BuildSheetMenu(QMenu* sheet) {
    mnuTirage = MenuItem(sheet, "mnuTirage", "&Tirage...");
    mnuTirage->setToolTip("Les cas, les solutions, une feuille progressive ou mêlée");
    spTirage = new QSpinBox(this);
    spTirage->setObjectName("spTirage");
    spTirage->setRange(0, static_cast<int>(kMaxPackedDrawChoices));
    spTirage->hide();
    connect(mnuTirage, &QAction::triggered, this, [this] {
        DrawDialog dialog(StoredDrawChoices(), this);
        if (dialog.exec() == QDialog::Accepted)
            spTirage->setValue(static_cast<int>(PackedDrawChoices(dialog.Choices())));
    });
    mnuCorrige = sheet->addMenu("&Corrigé");
    mnuCorrige->setObjectName("mnuCorrige");
    auto* styles = new QActionGroup(mnuCorrige);
    for (int i = 0; i < cbCorrige->count(); ++i) {
        QAction* a = mnuCorrige->addAction(cbCorrige->itemText(i));
        a->setCheckable(true);
        a->setChecked(i == cbCorrige->currentIndex());
        styles->addAction(a);
        connect(a, &QAction::triggered, cbCorrige, [this, i] { cbCorrige->setCurrentIndex(i); });
    }
    connect(cbCorrige, &QComboBox::currentIndexChanged, mnuCorrige, [this](int i) {
        const auto items = mnuCorrige->actions();
        if (i >= 0 && i < items.size()) items[i]->setChecked(true);
    });
    mnuVirgule = MenuItem(sheet, "mnuVirgule", "&Virgule décimale");
    mnuVirgule->setCheckable(true);
    mnuVirgule->setToolTip("Les décimaux écrits avec une virgule (0,59)");
    mnuGraphes = MenuItem(sheet, "mnuGraphes", kGraphsCaption);
    mnuGraphes->setCheckable(true);
    mnuGraphes->setToolTip(kGraphsHint);
    mnuAdaptee = MenuItem(sheet, "mnuAdaptee", "Mise en page &adaptée...");
    mnuAdaptee->setCheckable(true);
    mnuAdaptee->setToolTip(
        "La feuille à l'écran en plus grand, plus espacée, une police simple : les mêmes "
        "questions et résultats");
    sheet->addSeparator();
    mnuInterrogation = MenuItem(sheet, "mnuInterrogation", "&Interrogation rapide...");
    mnuInterrogation->setToolTip(
        "Des copies courtes, plusieurs par page avec des traits de coupe, et leurs corrigés");
    connect(mnuInterrogation, &QAction::triggered, this, [this] {
        quizDialog_->StartFrom(lastKind_, ReadSheetSettings());
        quizDialog_->open();
    });
    BuildProjectionItem(sheet);
}

// "Projeter...": its dialog starts from the choices kept, the screen from this run's.
void TForm1::BuildProjectionItem(QMenu* sheet) {
    mnuProjeter = MenuItem(sheet, "mnuProjeter", "&Projeter...", QKeySequence(Qt::Key_F5));
    const QString hint =
        "Des questions flash en plein écran pour la classe : une à la fois, un compte à rebours, "
        "puis les réponses";
    mnuProjeter->setToolTip(hint);
    mnuProjeter->setStatusTip(hint);
    spProjection = new QSpinBox(this);
    spProjection->setObjectName("spProjection");
    spProjection->setRange(0, kMaxPackedProjection);
    spProjection->hide();
    connect(mnuProjeter, &QAction::triggered, this, [this] {
        ProjectionChoices start = ProjectionChoices::FromPacked(spProjection->value());
        start.screen = projectionScreen_;
        ProjectionDialog dialog(start, screen(), this);
        if (dialog.exec() == QDialog::Accepted) Project(dialog.Choices());
    });
}

// The window's state stays as it is: only its stream moves on, as a class set's draw moves it.
ProjectionWindow* TForm1::Project(const ProjectionChoices& choices) {
    spProjection->setValue(choices.Packed());
    projectionScreen_ = choices.screen;
    const SheetSettings settings = ReadSheetSettings();
    std::string why;
    auto set = DrawProjection(lastKind_, settings, choices, rng_, &why);
    if (!set) {
        QMessageBox::warning(this, "Projection", FromCp1252(why));
        return nullptr;
    }
    if (projection_) projection_->close();
    auto* shown = new ProjectionWindow(std::move(*set), choices, {}, this);
    shown->setAttribute(Qt::WA_DeleteOnClose);
    // Back to the window as it was, ready for the keyboard.
    connect(shown, &ProjectionWindow::Closed, this, [this] {
        raise();
        activateWindow();
    });
    shown->ShowOn(ProjectionScreen(choices.screen, screen()));
    projection_ = shown;
    return shown;
}

namespace {

// The draw choices in a few words, for the menu bar.
QString DrawSummary(const DrawChoices& choices) {
    QStringList parts;
    if (choices.cases != 0) parts << "cas choisis";
    if (choices.everyCase) parts << "chaque cas";
    for (const auto& s : kSolutions)
        if (s.value == choices.solutions && s.value != Solutions::Any)
            parts << FromCp1252(s.label).toLower();
    if (choices.progressive) parts << "progressive";
    if (choices.IsMixed()) parts << "mêlée";
    return parts.isEmpty() ? QString("choisi") : parts.join(", ");
}

}  // namespace

// Draw choices stay from one session to the next: while they are not the kinds' own draw,
// the menu bar and the title say so, and "Tirage habituel" forgets them.
void TForm1::BuildDrawIndicator(QMenu* sheet) {
    mnuTirageHabituel = MenuItem(sheet, "mnuTirageHabituel", "Tirage &habituel");
    mnuTirageHabituel->setToolTip(
        "Oublier les choix de tirage : chaque bouton tire sa feuille comme d'habitude");
    sheet->insertAction(mnuCorrige->menuAction(), mnuTirageHabituel);
    connect(mnuTirageHabituel, &QAction::triggered, spTirage, [this] { spTirage->setValue(0); });
    btnTirageChoisi = new QToolButton(MainMenu);
    btnTirageChoisi->setObjectName("btnTirageChoisi");
    btnTirageChoisi->setAutoRaise(true);
    btnTirageChoisi->setToolTip(
        "Des choix de tirage sont en place et gardés d'une séance à l'autre : cliquer pour "
        "les voir. « Feuille > Tirage habituel » les oublie.");
    // No taller than the bar, so that showing it moves nothing below.
    btnTirageChoisi->setMaximumHeight(MainMenu->sizeHint().height());
    btnTirageChoisi->hide();
    MainMenu->setCornerWidget(btnTirageChoisi, Qt::TopRightCorner);
    connect(btnTirageChoisi, &QToolButton::clicked, mnuTirage, &QAction::trigger);
    connect(spTirage, &QSpinBox::valueChanged, this, &TForm1::ShowDrawChoices);
    connect(spTirage, &QSpinBox::valueChanged, this, &TForm1::spmaxvaleurChange);
    ShowDrawChoices();
}

DrawChoices TForm1::StoredDrawChoices() const {
    return DrawChoicesFromPacked(static_cast<std::uint32_t>(spTirage->value()))
        .value_or(DrawChoices{});
}

void TForm1::ShowDrawChoices() {
    const DrawChoices choices = StoredDrawChoices();
    // The bar lays its corner out again only as it shows it: hidden first, then shown.
    btnTirageChoisi->hide();
    btnTirageChoisi->setText("Tirage : " + DrawSummary(choices));
    btnTirageChoisi->setVisible(!choices.IsDefault());
    mnuTirageHabituel->setEnabled(!choices.IsDefault());
    if (activatedOnce_) UpdateTitle();  // before, the first activation sets the title
}

// The panes where the anchors put them, the border between them moved to the dragged share.
void TForm1::ApplySplit() {
    constexpr int kMinPane = 40;
    const int share = Splitter1->value();
    if (share == 0 && RxE1->geometry() == layout_->Placed(RxE1)) return;
    QRect top = layout_->Placed(RxE1), gap = layout_->Placed(Splitter1),
          bottom = layout_->Placed(RxE2);
    if (share > 0) {
        const int total = top.height() + bottom.height();
        top.setHeight(
            std::clamp(total * share / 1000, kMinPane, std::max(kMinPane, total - kMinPane)));
        gap.moveTop(top.bottom() + 1);
        bottom.setTop(gap.bottom() + 1);
    }
    RxE1->setGeometry(top);
    Splitter1->setGeometry(gap);
    RxE2->setGeometry(bottom);
}

void TForm1::ShowManual() {
    QMessageBox box(QMessageBox::Information, "Manuel", QString(), QMessageBox::Ok, this);
    box.setObjectName("Manuel");
    box.setText(
        "Choisir le niveau, le nombre de questions, les titres et le style du corrigé, puis "
        "cliquer sur " +
        KindCaptions() +
        " (ou choisir dans le menu Exercices, Ctrl+1 à Ctrl+9) : le sujet s'affiche en haut, "
        "le corrigé en bas.\n\nEnregistrer (Ctrl+S) écrit le sujet et son corrigé en RTF, "
        "Fichier > Enregistrer en PDF les écrit en PDF ; Ouvrir (Ctrl+O) les montre à nouveau ; "
        "Imprimer (Ctrl+P) imprime les nombres de sujets et de corrigés demandés ; Aperçu "
        "montre les deux premières pages (Échap le ferme).\n\nSérie pour la classe : une copie "
        "différente par élève, avec son code et une grille des réponses.\n\nFeuille > "
        "Projeter (F5) : des questions flash en plein écran, une à la fois, avec un compte à "
        "rebours (Espace : suite, P : pause, Échap : retour).\n\nLe manuel "
        "complet : man equat.");
    box.exec();
}

void TForm1::ShowAbout() {
    QMessageBox::about(this, "À propos",
                       FromCp1252(RevealText(kScrambledTitle, kTitleKey)) +
                           "\n\nFeuilles d'équations et de systèmes, avec leurs corrigés.\n"
                           "Logiciel libre sous licence GPL version 3 ou ultérieure.");
}

void TForm1::WireMenus() {
    connect(mnuEnregistrer, &QAction::triggered, btnEnregistre, &QPushButton::click);
    connect(mnuPdf, &QAction::triggered, this, [this] { output_->SavePdf(); });
    connect(mnuExporter, &QAction::triggered, this, [this] { output_->Export(); });
    connect(mnuImprimer, &QAction::triggered, btnImprime, &QPushButton::click);
    connect(mnuApercu, &QAction::triggered, btnApercu, &QPushButton::click);
    connect(mnuSerie, &QAction::triggered, btnSerie, &QPushButton::click);
    connect(mnuQuitter, &QAction::triggered, this, &QWidget::close);
    connect(mnuVirgule, &QAction::toggled, this, &TForm1::KeyStyleChange);
    connect(mnuGraphes, &QAction::toggled, this, &TForm1::KeyStyleChange);
    connect(mnuOuvrir, &QAction::triggered, this, &TForm1::OpenPair);
    connect(mnuAdaptee, &QAction::triggered, this, &TForm1::ChooseAdaptedLayout);
    connect(mnuManuel, &QAction::triggered, this, &TForm1::ShowManual);
    connect(mnuAPropos, &QAction::triggered, this, &TForm1::ShowAbout);
}

void TForm1::Wire() {
    WireMenus();
    connect(trbNiveau, &QSlider::valueChanged, this, &TForm1::trbNiveauChange);
    for (auto* s : {spMaxLigne, spinterligne})
        connect(s, &QSpinBox::valueChanged, this, &TForm1::spmaxvaleurChange);
    for (auto* e : {eTitre1, eSepar}) {
        connect(e, &QLineEdit::textChanged, this, &TForm1::spmaxvaleurChange);
        connect(e, &QLineEdit::inputRejected, this, [this, e] { ShowRejectedInput(e); });
        e->installEventFilter(this);
    }
    connect(Combo1, &QComboBox::editTextChanged, this, &TForm1::spmaxvaleurChange);
    connect(cbCorrige, &QComboBox::currentIndexChanged, this, &TForm1::KeyStyleChange);
    connect(Combo1->lineEdit(), &QLineEdit::inputRejected, this,
            [this] { ShowRejectedInput(Combo1->lineEdit()); });
    Combo1->installEventFilter(this);

    // toggled, not clicked: a value set by the settings store runs the handler as a click does.
    connect(CheckBox1, &QCheckBox::toggled, this, &TForm1::CheckBox1Click);
    connect(ckbEdite, &QCheckBox::toggled, this, &TForm1::ckbEditeClick);
    connect(btnNouvTexte, &QPushButton::clicked, this, &TForm1::btnNouvTexteClick);
    connect(btnEffaceTexte, &QPushButton::clicked, this, &TForm1::btnEffaceTexteClick);

    connect(RxE1, &RichEdit::Changed, this, &TForm1::RxE1Change);
    connect(RxE1, &RichEdit::MouseDown, this, &TForm1::RxE1MouseDown);
    connect(RxE1, &RichEdit::MouseUp, this, &TForm1::RxE1MouseUp);
    connect(RxE1, &RichEdit::DragOver, this, &TForm1::RxE1DragOver);
    connect(RxE1, &RichEdit::DragDrop, this, &TForm1::RxE1DragDrop);
    connect(RxE1, &RichEdit::EndDrag, this, &TForm1::RxE1EndDrag);
    connect(RxE2, &RichEdit::MouseDown, this, &TForm1::RxE2MouseDown);
    connect(RxE2, &RichEdit::MouseUp, this, &TForm1::RxE2MouseUp);
    connect(RxE2, &RichEdit::DragOver, this, &TForm1::RxE2DragOver);
    connect(RxE2, &RichEdit::EndDrag, this, &TForm1::RxE2EndDrag);
    connect(RxE2, &RichEdit::MouseMoved, this, &TForm1::FormMouseMove);

    Label9->installEventFilter(this);

    // The kinds' buttons, left to right, draw the kinds in their places' order.
    // Kinds at later places are drawn from the "Exercices" menu only.
    QPushButton* const kindButtons[] = {btnEquat1d, btnSyst, btnEquat2d};
    static_assert(std::size(kindButtons) == kKindButtonCount && kKindCount >= kKindButtonCount,
                  "one button per place below kKindButtonCount");
    for (const KindInfo* kind : KindsInWindowOrder())
        if (kind->place >= 0 && kind->place < kKindButtonCount)
            connect(kindButtons[kind->place], &QPushButton::clicked, this,
                    [this, kind] { Generate(kind->name); });
    connect(btnChoixImp, &QPushButton::clicked, this, &TForm1::btnChoixImpClick);
    connect(btnApercu, &QPushButton::clicked, this, &TForm1::btnApercuClick);
    connect(btnImprime, &QPushButton::clicked, this, &TForm1::btnImprimeClick);
    connect(btnEnregistre, &QPushButton::clicked, this, &TForm1::btnEnregistreClick);
    connect(btnSerie, &QPushButton::clicked, this, &TForm1::btnSerieClick);

    connect(this, &TForm1::RestoreRequested, FormStorage1, &FormStorage::RestoreSettings);
    connect(this, &TForm1::CloseQueried, this, [this] {
        if (FormStorage1->ExecutableOnRemovableDrive()) ShowPleaseWaitNotice();
    });
    connect(this, &TForm1::SaveRequested, FormStorage1, &FormStorage::SaveSettings);
}

QRect TForm1::DesignRect(const QWidget* control) const {
    return layout_->DesignRect(control);
}

QColor TForm1::statusLight() const {
    return Shape1->color();
}

void TForm1::SetStatusLight(const QColor& colour) {
    Shape1->setColor(colour);
}

SheetSettings TForm1::ReadSheetSettings() const {
    SheetSettings s;
    s.level = level_;
    s.count = spMaxLigne->value();
    s.interline = spinterligne->value();
    s.title = ToCp1252(eTitre1->text());
    s.instruction = ToCp1252(Combo1->currentText());
    s.separatorOn = CheckBox1->isChecked();
    s.separator = ToCp1252(eSepar->text());
    s.keyStyle = ChosenKeyStyle(cbCorrige);  // the list's order is the order of the styles
    s.decimalComma = mnuVirgule->isChecked();
    s.graphs = mnuGraphes->isChecked();
    s.layout = adapted_;
    s.draw = StoredDrawChoices();
    return s;
}

// ---- Window events -------------------------------------------------------------------------

bool TForm1::event(QEvent* event) {
    if (event->type() == QEvent::WindowDeactivate) {
        // Activation handling differs for a return from another window of the program (a
        // dialog, the floating preview) and from another program.
        QWidget* now = QApplication::activeWindow();
        lostToOwnWindow_ = now != nullptr && now != this && now->isVisible();
    }
    return QWidget::event(event);
}

void TForm1::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        if (!activatedOnce_ || lostToOwnWindow_) FormActivate();
        activatedOnce_ = true;
        lostToOwnWindow_ = false;
    }
    QWidget::changeEvent(event);
}

void TForm1::showEvent(QShowEvent* event) {
    if (!shownOnce_) {
        shownOnce_ = true;
        if (QScreen* s = screen()) {
            QRect r(QPoint(0, 0), frameGeometry().size());
            r.moveCenter(s->availableGeometry().center());
            move(r.topLeft());
        }
        // The stored placement, if any, wins over the centring.
        emit RestoreRequested();
    }
    QWidget::showEvent(event);
    UpdateMinimumSize();
}

void TForm1::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    UpdateMinimumSize();  // the frame is known only once the window manager has framed us
}

void TForm1::UpdateMinimumSize() {
    const QSize frame = frameGeometry().size() - geometry().size();
    const QSize min(kMinOuterWidth - frame.width(), kMinOuterHeight - frame.height());
    if (min != minimumSize()) setMinimumSize(min);
}

void TForm1::closeEvent(QCloseEvent* event) {
    bool canClose = true;
    FormCloseQuery(canClose);
    if (!canClose) {
        event->ignore();
        return;
    }
    emit SaveRequested();
    event->accept();
}

void TForm1::mouseMoveEvent(QMouseEvent* event) {
    // Moves that a child ignored arrive here too; only the bare background counts.
    const QWidget* under = childAt(event->position().toPoint());
    if (under == nullptr || under == client_) FormMouseMove();
    QWidget::mouseMoveEvent(event);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (watched == client_ && type == QEvent::MouseMove) {
        if (!client_->childAt(static_cast<QMouseEvent*>(event)->position().toPoint()))
            FormMouseMove();
    } else if (watched == Label9) {
        if (type == QEvent::MouseMove) {
            Label9MouseMove();
        } else if (type == QEvent::MouseButtonRelease) {
            auto* me = static_cast<QMouseEvent*>(event);
            if (me->button() == Qt::LeftButton && Label9->rect().contains(me->position().toPoint()))
                Label9Click();
        }
    } else if (type == QEvent::FocusIn || type == QEvent::FocusOut) {
        // A context menu or a drop-down list takes the focus only for a moment.
        if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
            const bool in = type == QEvent::FocusIn;
            if (watched == Combo1) {
                in ? Combo1Enter() : Combo1Exit();
            } else if (watched == eTitre1 || watched == eSepar) {
                auto* field = static_cast<QWidget*>(watched);
                in ? eTitre1Enter(field) : eTitre1Exit(field);
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

// ---- Handlers ------------------------------------------------------------------------------

void TForm1::FormCreate() {
    const QString exe = QCoreApplication::applicationFilePath();
    FormStorage1->SetIniFileName(FormStorage::DefaultIniFileName(exe, FormStorage::UserConfigDir()),
                                 FormStorage::BesideIniFileName(exe));
}

void TForm1::FormActivate() {
    rng_.SeedRandomFromClock();
    UpdateTitle();
    SetStatusLight(kLightGreen);
}

// The kind of the pair on screen is said when no button shows it.
void TForm1::UpdateTitle() {
    QString title = FromCp1252(RevealText(kScrambledTitle, kTitleKey));
    const int kind = KindIndex(lastKind_);
    if (lastCopy_ && kind >= 0 && kSheetKinds[kind].place >= kKindButtonCount)
        title += " - " + FromCp1252(kSheetKinds[kind].caption);
    setWindowTitle(spTirage->value() != 0 ? title + " - tirage choisi" : title);
}

void TForm1::FormCloseQuery(bool& canClose) {
    // Closing would lose what was typed by hand: the teacher may stay.
    canClose = MayDiscardHandEdits();
    if (!canClose) return;
    ScrollBox1->hide();
    output_->CloseCleanup();
    emit CloseQueried();
    canClose = true;
}

void TForm1::ShowPleaseWaitNotice() {
    Panel3->move((client_->width() - Panel3->width()) / 2,
                 (client_->height() - Panel3->height()) / 2);
    Panel3->show();
    Panel3->raise();
    Panel3->repaint();
    repaint();
}

void TForm1::trbNiveauChange() {
    level_ = trbNiveau->value();
    trbNiveau->setToolTip(QString("Niveau %1").arg(level_));
    SetStatusLight(kLightRed);
}

void TForm1::spmaxvaleurChange() {
    // Cheap length test first: the subject can be a long document.
    const bool singleSpace = RxE1->document()->characterCount() == 2 && RxE1->Text() == " ";
    if (!singleSpace) SetStatusLight(kLightRed);
    Label10->setText(QString("(%1)").arg(eSepar->text().size()));
}

void TForm1::CheckBox1Click() {
    eSepar->setEnabled(CheckBox1->isChecked());
    SetStatusLight(kLightRed);
}

void TForm1::ckbEditeClick() {
    editMode_ = ckbEdite->isChecked();
    for (auto* area : {RxE1, RxE2}) {
        area->SetReadOnly(!editMode_);
        area->SetWantTabs(editMode_);
    }
    repaint();
    QCoreApplication::processEvents();
}

void TForm1::RxE1Change() {
    const bool hasText = !RxE1->document()->isEmpty();
    for (auto* b : {btnImprime, btnEnregistre, btnApercu}) b->setEnabled(hasText);
    for (auto* a : {mnuImprimer, mnuEnregistrer, mnuPdf, mnuExporter, mnuApercu})
        a->setEnabled(hasText);
    repaint();
    QCoreApplication::processEvents();
}

void TForm1::eTitre1Enter(QWidget* field) {
    SetColour(field, QPalette::Base, kFocusColour);
}
void TForm1::eTitre1Exit(QWidget* field) {
    SetColour(field, QPalette::Base, kWhite);
}
void TForm1::Combo1Enter() {
    SetColour(Combo1, QPalette::Base, kFocusColour);
}
void TForm1::Combo1Exit() {
    SetColour(Combo1, QPalette::Base, kWhite);
}

void TForm1::btnNouvTexteClick() {
    QInputDialog box(this);
    box.setObjectName("NouveauTexte");
    box.setInputMode(QInputDialog::TextInput);
    box.setWindowTitle("Nouveau texte");
    box.setLabelText("Entrez votre texte");
    box.setTextValue(QString());
    if (auto* field = box.findChild<QLineEdit*>()) {
        field->setMaxLength(kNewTextMaxLength);
        field->setValidator(new Cp1252Validator(field));
        connect(field, &QLineEdit::inputRejected, &box,
                [this, field] { ShowRejectedInput(field); });
    }
    if (box.exec() != QDialog::Accepted) return;
    const QString text = box.textValue().left(kNewTextMaxLength);
    if (text.isEmpty() || !Cp1252Validator::IsRepresentable(text)) return;
    Combo1->addItem(text);
    Combo1->setCurrentIndex(Combo1->count() - 1);
}

void TForm1::btnEffaceTexteClick() {
    // An entry counts as selected only while the edit text is still that entry's text.
    const int index = Combo1->currentIndex();
    if (index < 0 || Combo1->itemText(index) != Combo1->currentText()) return;
    // The list loses the entry; the text shown stays as it was.
    const QString text = Combo1->currentText();
    const QSignalBlocker block(Combo1);
    Combo1->removeItem(index);
    Combo1->setCurrentIndex(-1);
    Combo1->setEditText(text);
}

void TForm1::Label9MouseMove() {
    QFont f = Label9->font();
    if (f.bold()) return;
    f.setBold(true);
    Label9->setFont(f);
}

void TForm1::FormMouseMove() {
    QFont f = Label9->font();
    if (!f.bold()) return;
    f.setBold(false);
    Label9->setFont(f);
}

void TForm1::Label9Click() {
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(kCatalogueUrl)));
}

void TForm1::CollapseCaret(RichEdit* area) {
    if (editMode_) return;
    // The caret goes to the end, the view stays where the teacher was reading.
    const int top = area->verticalScrollBar()->value();
    area->SetSelStart(area->TextLength());
    area->SetSelLength(0);
    area->verticalScrollBar()->setValue(top);
}

void TForm1::RxE1MouseDown() {
    CollapseCaret(RxE1);
}
void TForm1::RxE1MouseUp() {
    CollapseCaret(RxE1);
}
void TForm1::RxE1DragDrop() {
    CollapseCaret(RxE1);
}
void TForm1::RxE1EndDrag() {
    CollapseCaret(RxE1);
}
void TForm1::RxE2MouseDown() {
    CollapseCaret(RxE2);
}
void TForm1::RxE2MouseUp() {
    CollapseCaret(RxE2);
}
void TForm1::RxE2EndDrag() {
    CollapseCaret(RxE2);
}

void TForm1::RxE1DragOver(bool* accept) {
    if (editMode_) return;
    if (accept) *accept = false;
    CollapseCaret(RxE1);
}

void TForm1::RxE2DragOver(bool* accept) {
    if (editMode_) return;
    if (accept) *accept = false;
    CollapseCaret(RxE2);
}

void TForm1::ShowRejectedInput(QLineEdit* field) {
    QApplication::beep();
    const QString why =
        field->text().size() >= field->maxLength()
            ? QString("Longueur maximale atteinte : %1 caractères.").arg(field->maxLength())
            : QString(
                  "Caractère refusé : il ne peut figurer ni dans les feuilles ni dans "
                  "le fichier de configuration.");
    QToolTip::showText(field->mapToGlobal(QPoint(0, field->height())), why, field);
}

void TForm1::ShowHandlerError(const QString& message) {
    QMessageBox::critical(this, windowTitle(), message.endsWith('.') ? message : message + ".");
}

// ---- Output ------------------------------------------------------------------------------

void TForm1::btnImprimeClick() {
    output_->Print();
}
void TForm1::btnEnregistreClick() {
    output_->Save();
}
void TForm1::btnSerieClick() {
    classDialog_->StartFrom(lastKind_, ReadSheetSettings());
    classDialog_->open();
}
void TForm1::btnChoixImpClick() {
    output_->ChoosePrinter();
}
void TForm1::btnApercuClick() {
    // The preview lets pending events run; a click meanwhile is not run inside it.
    if (busy_) return;
    const Flag running(busy_);
    output_->Preview();
}

// ---- Generation ----------------------------------------------------------------------------

void TForm1::ChooseAdaptedLayout() {
    AdaptedLayoutDialog dialog(this);
    dialog.box->SetLayout(adapted_);
    if (dialog.exec() == QDialog::Accepted) SetAdaptedLayout(dialog.box->Layout());
    mnuAdaptee->setChecked(adapted_.on);
}

void TForm1::SetAdaptedLayout(const AdaptedLayout& layout) {
    mnuAdaptee->setChecked(layout.on);
    if (layout == adapted_) return;
    adapted_ = layout;
    KeyStyleChange();
}

bool TForm1::MayDiscardHandEdits() {
    if (!RxE1->document()->isModified() && !RxE2->document()->isModified()) return true;
    return output_->Confirm("Les modifications faites à la main seront perdues. Continuer ?");
}

void TForm1::KeyStyleChange() {
    // Without a pair to redo, or with the teacher's edits kept, the light says the documents
    // are from the old settings.
    if (!RedoPair()) spmaxvaleurChange();
}

bool TForm1::RedoPair() {
    if (busy_ || !lastCopy_ || !pairSeed_) return false;
    SheetSettings settings = WrittenSettings(lastCopy_->sheet);
    const SheetSettings now = ReadSheetSettings();
    settings.keyStyle = now.keyStyle;
    settings.decimalComma = now.decimalComma;
    settings.graphs = now.graphs;
    settings.layout = adapted_;
    return MakePair(lastKind_, settings, pairSeed_);
}

void TForm1::Generate(std::string_view kindName) {
    // Loading a document lets pending events run, so a click may arrive in the middle of a
    // generation; it is refused rather than run inside this one.
    if (busy_) return;
    SheetSettings settings = ReadSheetSettings();
    // The kind of the button joins the mix.
    const int kindIndex = KindIndex(kindName);
    settings.draw = WithKind(settings.draw, kindIndex);
    if (const auto why = DrawChoicesError(settings.draw, kindIndex, settings.count)) {
        QMessageBox::warning(this, "Tirage", FromCp1252(*why));
        return;
    }
    MakePair(kindName, settings, std::nullopt);
}

bool TForm1::MakePair(std::string_view kindName, SheetSettings settings,
                      std::optional<std::uint32_t> redoSeed) {
    std::unique_ptr<QuestionKind> kind = MakeSheetKind(kindName, settings.draw);
    if (!kind || !MayDiscardHandEdits()) return false;
    lastKind_ = std::string(kindName);
    QString error;
    {
        const Flag running(busy_);
        ScrollBox1->hide();
        // A redo changes how the pair is written, not what the light says of the settings.
        if (!redoSeed) SetStatusLight(kLightGreen);
        const BusyCursor busy;
        try {
            RxE1->Clear();
            RxE2->Clear();
            settings.exports.bodies = true;
            settings.exports.model = true;  // the documents on screen are made from it
            // The same draws again leave the window's stream where the first ones did.
            RandomSource redo(redoSeed.value_or(0));
            if (!redoSeed) pairSeed_ = rng_.seed();
            lastCopy_.reset();
            const Sheet& sheet =
                lastCopy_
                    .emplace(
                        UncodedCopy(lastKind_, BuildSheet(*kind, redoSeed ? redo : rng_, settings)))
                    .sheet;
            sheetBaseName_ = FromCp1252(sheet.baseName);
            ShowSheet(sheet);
        } catch (const std::exception& e) {
            error = QString::fromLocal8Bit(e.what());
        }
    }
    if (activatedOnce_) UpdateTitle();
    if (!error.isEmpty()) ShowHandlerError(error);
    emit GenerationFinished();
    return error.isEmpty();
}

void TForm1::ShowSheet(const Sheet& sheet) {
    QString log;
    for (const auto& entry : sheet.log) {
        log += FromCp1252(entry).replace("\r\n", "\n");
        log += '\n';
    }
    log.chop(1);
    Memo1->setPlainText(log);
    // Made from the sheet's model: the RTF reader is for what a teacher opens.
    RxE1->LoadDocument(rtf::SubjectDocument(sheet));
    RxE2->LoadDocument(rtf::KeyDocument(sheet));
    // The title first, not the last questions where the load left the caret.
    for (RichEdit* area : {RxE1, RxE2}) {
        ShowTop(area);
        area->document()->setModified(false);
    }
}

void TForm1::OpenPair() {
    if (busy_) return;
    const auto pair = output_->ChoosePair();
    if (!pair || !MayDiscardHandEdits()) return;
    const Flag running(busy_);
    ScrollBox1->hide();
    const struct {
        RichEdit* area;
        const std::string& bytes;
    } documents[] = {{RxE1, pair->subject}, {RxE2, pair->answerKey}};
    for (const auto& d : documents) {
        d.area->Clear();
        if (d.bytes.starts_with("{\\rtf"))
            d.area->LoadRtfDocument(d.bytes);
        else
            d.area->setPlainText(FromCp1252(d.bytes));  // a subject saved as text
        ShowTop(d.area);
        d.area->document()->setModified(false);
    }
    sheetBaseName_ = pair->baseName;
    saveDialogInitialDir_ = pair->folder;
    // Documents of no generation of this session: no draw to redo, no questions as data.
    pairSeed_.reset();
    lastCopy_.reset();
    if (activatedOnce_) UpdateTitle();
}

}  // namespace equat
