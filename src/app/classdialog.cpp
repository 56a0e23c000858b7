// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/classdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

#include "app/filemessages.h"
#include "app/layoutbox.h"
#include "app/output.h"
#include "app/widgets.h"
#include "core/choices.h"
#include "core/kinds.h"
#include "core/savenames.h"
#include "outputs/formats.h"
#include "platform/classpdf.h"
#include "platform/pages.h"
#include "platform/paginator.h"
#include "platform/printing.h"
#include "platform/richedit.h"
#include "settings/qtcp1252.h"

namespace equat {

namespace {

constexpr int kMaxCopies = 40;
// The first codes of a set, on their one line under "Nouveau tirage": two codes of 16
// characters fill it.
constexpr int kShownCodes = 2;
const char* const kTitle = "Série pour la classe";

QString RunFolderDialog(QWidget* parent, const QString& start) {
    return QFileDialog::getExistingDirectory(parent, "Dossier de la série", start);
}

void RunErrorBox(QWidget* parent, const QString& message) {
    QMessageBox::critical(parent, kTitle, message);
}

bool RunConfirm(QWidget* parent, const QString& question) {
    return RunConfirmBox(parent, kTitle, question);
}

void RunDone(QWidget* parent, const QString& message, const QString& folder) {
    RunDoneBox(parent, kTitle, message, folder);
}

// A file of the folder, as the file functions take it.
std::string InFolder(const QString& folder, const std::string& name) {
    return QFile::encodeName(QDir(folder).filePath(QString::fromStdString(name))).toStdString();
}

// A pupil's name as part of a file name: letters and digits kept, every run of anything
// else (spaces, slashes, dots, quotes) one "_", at most 40 characters.
std::string NamePart(const std::string& cp1252Name) {
    QString out;
    for (const QChar c : FromCp1252(cp1252Name)) {
        if (c.isLetterOrNumber() || c == '-')
            out += c;
        else if (!out.isEmpty() && !out.endsWith('_'))
            out += '_';
    }
    out = out.left(40);
    while (out.endsWith('_')) out.chop(1);
    return out.toStdString();
}

// Modal over the dialog, shown at once: even a short set gives the teacher a way out.
std::unique_ptr<QProgressDialog> MakeProgress(QWidget* parent, const QString& label) {
    auto progress = std::make_unique<QProgressDialog>(label, "Annuler", 0, 2, parent);
    progress->setObjectName("ClassSetProgress");
    progress->setWindowTitle(kTitle);
    progress->setWindowModality(Qt::WindowModal);
    progress->setMinimumDuration(0);
    progress->setAutoClose(false);
    progress->setAutoReset(false);
    return progress;
}

// Closes the output's progress box however the output ends.
class ProgressScope {
  public:
    explicit ProgressScope(std::unique_ptr<QProgressDialog>& progress) : progress_(progress) {}
    ~ProgressScope() { progress_.reset(); }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

  private:
    std::unique_ptr<QProgressDialog>& progress_;
};

int NameCount(const QPlainTextEdit* names) {
    int n = 0;
    for (const QString& line : names->toPlainText().split('\n'))
        if (!line.trimmed().isEmpty()) ++n;
    return n;
}

}  // namespace

QString KindHint(const KindInfo& kind) {
    return "Une feuille et son corrigé : " + FromCp1252(kind.help.fr) +
           ", au niveau et avec les réglages choisis";
}

void AddKindItems(QComboBox* box) {
    for (const KindInfo* k : KindsInWindowOrder()) {
        box->addItem(FromCp1252(k->caption), QString::fromUtf8(k->name.data(), k->name.size()));
        box->setItemData(box->count() - 1, KindHint(*k), Qt::ToolTipRole);
    }
    box->setMaxVisibleItems(std::max(box->maxVisibleItems(), box->count()));
}

void LayOutDialog(QDialog* dialog, QFormLayout* form, std::initializer_list<QPushButton*> buttons) {
    auto* row = new QHBoxLayout;
    for (QPushButton* b : buttons) {
        b->setAutoDefault(false);
        row->addWidget(b);
    }
    auto* all = new QVBoxLayout(dialog);
    all->addLayout(form);
    all->addLayout(row);
}

void WindowChoices::Open(const std::string& kind, const SheetSettings& now) {
    if (opened_) before_ = now_;
    opened_ = true;
    beforeKind_ = kind_;
    kind_ = kind;
    now_ = now;
}

void WindowChoices::ShowShape(QComboBox* kinds, QSpinBox* level, QComboBox* keyStyles) const {
    const int index = kinds->findData(QString::fromStdString(kind_));
    if (KindChanged() && index >= 0) kinds->setCurrentIndex(index);
    if (Changed(&SheetSettings::level)) level->setValue(now_.level);
    if (Changed(&SheetSettings::keyStyle))
        keyStyles->setCurrentIndex(static_cast<int>(now_.keyStyle));
}

ClassSetDialog::ClassSetDialog(Parts parts, QWidget* parent)
    : QDialog(parent),
      parts_(std::move(parts)),
      folderDialog_(RunFolderDialog),
      errorBox_(RunErrorBox),
      confirmBox_(RunConfirm),
      doneBox_(RunDone) {
    setObjectName("ClassSetDialog");
    setWindowTitle(kTitle);
    Build();
}

ClassSetDialog::~ClassSetDialog() = default;

void ClassSetDialog::Build() {
    MakeControls();
    LayOut();
    Connect();
    Forget();
}

void ClassSetDialog::MakeControls() {
    cbType = new QComboBox(this);
    AddKindItems(cbType);
    spNiveau = new QSpinBox(this);
    spNiveau->setRange(1, 3);
    spQuestions = new QSpinBox(this);
    spQuestions->setRange(1, kMaxQuestions);
    spQuestions->setToolTip(
        QString("Nombre de questions de chaque copie, de 1 à %1").arg(kMaxQuestions));
    cbCorrige = KeyStyleList(parts_.keyStyles, this);
    cbCorrige->setToolTip(parts_.keyStyles ? parts_.keyStyles->toolTip() : QString());
    eTitre = new QLineEdit(this);
    eTitre->setMaxLength(kMaxTitleLength);
    eTitre->setValidator(new Cp1252Validator(eTitre));
    eTitre->setToolTip("Ligne 1 du titre ; avec des noms, chaque nom remplace « Nom : »");
    spCopies = new QSpinBox(this);
    spCopies->setRange(1, kMaxCopies);
    spCopies->setToolTip(QString("Nombre de copies différentes, de 1 à %1").arg(kMaxCopies));
    mNoms = new QPlainTextEdit(this);
    mNoms->setToolTip(
        QString("Un nom par ligne, %1 au plus : une copie par nom, le nom dans le titre ; "
                "« Nom;niveau;A » donne à la copie son niveau (1 à 3) et la mise en page "
                "adaptée, l'un ou l'autre facultatif")
            .arg(kMaxCopies));
    mNoms->setTabChangesFocus(true);
    lblCopies = new QLabel(this);
    ckbCodes = new QCheckBox("Code sur chaque copie", this);
    ckbCodes->setToolTip("Le code permet de refaire la copie plus tard");
    ckbCodes->setChecked(true);
    ckbGrille = new QCheckBox("Grille des réponses", this);
    ckbGrille->setToolTip("Les résultats de toutes les copies, en PDF");
    MakeChoiceControls();
    MakeOutputControls();
}

// What the set is drawn and written with: the printer, the draw and its codes, the outputs.
void ClassSetDialog::MakeOutputControls() {
    ckbGraphes = new QCheckBox(kGraphsCaption, this);
    ckbGraphes->setToolTip(kGraphsHint);
    gbAdaptee = new AdaptedLayoutBox(this, true);
    lblImprimante = new QLabel(this);
    btnImprimante = new QPushButton("Choisir...", this);
    btnImprimante->setToolTip("L'imprimante des sujets et des corrigés, celle de la fenêtre");
    // Never wrapped: a wrapped line the layout did not plan for is clipped, and a code would
    // be cut at its hyphens.
    lblTirage = new QLabel(this);
    lblTirage->setToolTip(
        "Les sorties reprennent ce tirage jusqu'à un nouveau tirage ou un choix changé ; "
        "il reste quand la fenêtre se ferme, jusqu'à ce qu'Equat soit quitté");
    lblCodes = new QLabel(this);
    lblCodes->setTextInteractionFlags(Qt::TextSelectableByMouse);
    btnTirage = new QPushButton("Nouveau tirage", this);
    btnTirage->setToolTip("Tirer d'autres copies ; sinon les sorties reprennent le même tirage");
    btnImprimer = new QPushButton("Imprimer", this);
    btnPdf = new QPushButton("Enregistrer en PDF", this);
    btnRtf = new QPushButton("Enregistrer en RTF", this);
    btnMoodle = new QPushButton("Exporter pour Moodle", this);
    btnMoodle->setToolTip(
        "Les questions de toutes les copies en banque de questions XML Moodle, une catégorie "
        "par copie, la solution rédigée en feedback");
    btnAmc = new QPushButton("Exporter pour AMC", this);
    btnAmc->setToolTip(
        "Source LaTeX pour auto-multiple-choice, le code de chaque copie dans ses questions");
    btnFermer = new QPushButton("Fermer", this);
}

void ClassSetDialog::MakeChoiceControls() {
    ckbQcm = new QCheckBox("QCM", this);
    ckbQcm->setToolTip(
        "Chaque question suivie de quatre choix A à D : la bonne réponse et trois erreurs "
        "d'élèves ; le corrigé donne la bonne lettre et l'erreur de chaque mauvaise réponse");
    ckbAutomatismes = new QCheckBox("Automatismes", this);
    ckbAutomatismes->setToolTip(
        QString("Un QCM de %1 questions de tous les types tour à tour, solutions entières")
            .arg(kAutomatismesCount));
}

void ClassSetDialog::LayOut() {
    auto* form = new QFormLayout;
    form->addRow("Type", cbType);
    form->addRow("Niveau", spNiveau);
    form->addRow("Questions", spQuestions);
    form->addRow("Corrigé", cbCorrige);
    form->addRow("Titre", eTitre);
    form->addRow("Copies", spCopies);
    form->addRow("ou noms, un par ligne", mNoms);
    form->addRow(lblCopies);
    form->addRow(ckbCodes);
    form->addRow(ckbGrille);
    auto* qcm = new QHBoxLayout;
    qcm->addWidget(ckbQcm);
    qcm->addWidget(ckbAutomatismes, 1);
    form->addRow(qcm);
    form->addRow(ckbGraphes);
    form->addRow(gbAdaptee);
    auto* printer = new QHBoxLayout;
    printer->addWidget(lblImprimante, 1);
    printer->addWidget(btnImprimante);
    form->addRow("Imprimante", printer);
    auto* draw = new QHBoxLayout;
    draw->addWidget(lblTirage, 1);
    draw->addWidget(btnTirage);
    form->addRow(draw);
    form->addRow(lblCodes);

    btnTirage->setAutoDefault(false);
    btnImprimante->setAutoDefault(false);
    LayOutDialog(this, form, {btnImprimer, btnPdf, btnRtf, btnMoodle, btnAmc, btnFermer});
}

void ClassSetDialog::Connect() {
    // A change of what the set is made of forgets the set drawn; the grid is no part of it.
    connect(cbType, &QComboBox::currentIndexChanged, this, &ClassSetDialog::Forget);
    connect(cbCorrige, &QComboBox::currentIndexChanged, this, &ClassSetDialog::Forget);
    for (QSpinBox* s : {spNiveau, spQuestions, spCopies})
        connect(s, &QSpinBox::valueChanged, this, &ClassSetDialog::Forget);
    connect(eTitre, &QLineEdit::textChanged, this, &ClassSetDialog::Forget);
    connect(mNoms, &QPlainTextEdit::textChanged, this, &ClassSetDialog::Forget);
    connect(ckbCodes, &QCheckBox::toggled, this, &ClassSetDialog::Forget);
    connect(ckbQcm, &QCheckBox::toggled, this, &ClassSetDialog::Forget);
    // The preset fixes the kinds and the count, and asks for the choices.
    connect(ckbAutomatismes, &QCheckBox::toggled, this, [this](bool on) {
        for (QWidget* w : {static_cast<QWidget*>(cbType), static_cast<QWidget*>(spQuestions),
                           static_cast<QWidget*>(ckbQcm)})
            w->setEnabled(!on);
        Forget();
    });
    connect(ckbGraphes, &QCheckBox::toggled, this, &ClassSetDialog::Forget);
    connect(gbAdaptee, &AdaptedLayoutBox::Changed, this, &ClassSetDialog::Forget);
    connect(btnTirage, &QPushButton::clicked, this, [this] { Draw(); });
    connect(btnImprimante, &QPushButton::clicked, this, [this] {
        if (parts_.choosePrinter) parts_.choosePrinter();
        ShowPrinter();
    });
    connect(btnImprimer, &QPushButton::clicked, this, [this] { Print(); });
    connect(btnPdf, &QPushButton::clicked, this, [this] { SavePdf(); });
    connect(btnRtf, &QPushButton::clicked, this, [this] { SaveRtf(); });
    connect(btnMoodle, &QPushButton::clicked, this, [this] { ExportBank(FormatId::Moodle); });
    connect(btnAmc, &QPushButton::clicked, this, [this] { ExportBank(FormatId::Amc); });
    connect(btnFermer, &QPushButton::clicked, this, &QDialog::reject);
}

void ClassSetDialog::StartFrom(const std::string& kind, const SheetSettings& window) {
    window_.Open(kind, window);
    // What was printed from a set is what a later save or grid holds.
    drawnEarlier_ = set_.has_value();
    if (!set_) TakeWindowChoices();
    ShowCopies();
    ShowPrinter();
    // Never a button: one key press must not print a set.
    cbType->setFocus(Qt::OtherFocusReason);
}

void ClassSetDialog::TakeWindowChoices() {
    const SheetSettings& w = window_.now();
    window_.ShowShape(cbType, spNiveau, cbCorrige);
    if (window_.Changed(&SheetSettings::count)) spQuestions->setValue(w.count);
    if (window_.Changed(&SheetSettings::title)) ShowSetting(eTitre, w.title);
    if (window_.Changed(&SheetSettings::layout)) gbAdaptee->SetLayout(w.layout);
    if (window_.Changed(&SheetSettings::graphs)) ckbGraphes->setChecked(w.graphs);
}

SheetSettings ClassSetDialog::Settings() const {
    SheetSettings s = parts_.settings();
    s.level = spNiveau->value();
    s.count = spQuestions->value();
    s.keyStyle = ChosenKeyStyle(cbCorrige);
    s.title = ToCp1252(eTitre->text());
    s.layout = gbAdaptee->Layout();
    if (ckbQcm->isChecked()) s.choiceCount = kDefaultChoices;
    if (ckbAutomatismes->isChecked()) UseAutomatismes(s);
    s.graphs = ckbGraphes->isChecked();
    return s;
}

void ClassSetDialog::Forget() {
    set_.reset();
    ShowCopies();
}

void ClassSetDialog::ShowCopies() {
    const int names = NameCount(mNoms);
    spCopies->setEnabled(names == 0);
    lblCopies->setText(names == 0   ? QString()
                       : names == 1 ? QString("Une copie : le nombre suit les noms")
                                    : QString("%1 copies : le nombre suit les noms").arg(names));
    lblCodes->setVisible(set_.has_value());
    if (!set_) {
        lblTirage->setText("Pas encore tiré : la première sortie tire la série");
        return;
    }
    const int n = int(set_->copies.size());
    const QString copies = n == 1 ? QString("une copie") : QString("%1 copies").arg(n);
    lblTirage->setText(drawnEarlier_ ? "Série tirée plus tôt, reprise par les sorties : " + copies
                                     : "Tirage de " + copies + " :");
    QStringList codes, all;
    for (const ClassCopy& copy : set_->copies) {
        const QString code = QString::fromStdString(copy.codeText);
        if (codes.size() < kShownCodes) codes << code;
        all << (copy.name.empty() ? code : code + "  " + FromCp1252(copy.name));
    }
    if (n > kShownCodes) codes << "…";
    lblCodes->setText(codes.join(", "));
    lblCodes->setToolTip(all.join('\n'));
}

void ClassSetDialog::ShowPrinter() {
    const QString name = CurrentPrinter().printerName();
    lblImprimante->setText(name.isEmpty() ? QString("celle par défaut") : name);
}

void ClassSetDialog::ShowError(const QString& message) {
    // Never under a progress box: its modality would leave the message unanswerable.
    progress_.reset();
    errorBox_(this, message.endsWith('.') ? message : message + '.');
}

// One copy without names, code or grid, of the window's own choices, puts out the pair on
// screen as the teacher edited it.
bool ClassSetDialog::UsesPairOnScreen() const {
    const SheetSettings s = Settings();
    const SheetSettings& w = window_.now();
    return !set_ && spCopies->value() == 1 && NameCount(mNoms) == 0 && !ckbCodes->isChecked() &&
           !ckbGrille->isChecked() && s.level == w.level && s.count == w.count &&
           s.keyStyle == w.keyStyle && s.title == w.title && s.layout == w.layout &&
           s.choiceCount == w.choiceCount && s.graphs == w.graphs && s.draw == w.draw &&
           parts_.subject->LineCount() > 0;
}

bool ClassSetDialog::Step(int value) {
    if (!progress_) return true;
    progress_->setValue(value);
    if (progressHook_) progressHook_(*progress_, value);
    QCoreApplication::processEvents();
    return progress_ && !progress_->wasCanceled();
}

// Every input checked, with a clear message for the first refused.
std::optional<ClassSetRequest> ClassSetDialog::Request() {
    ClassSetRequest request;
    request.kind = cbType->currentData().toString().toStdString();
    request.settings = Settings();
    // The bank needs each question as data: cheap beside drawing, so every set has it.
    request.settings.exports.bodies = true;
    request.settings.exports.model = true;  // its PDFs and ODT made from the model
    request.copies = spCopies->value();
    request.showCodes = ckbCodes->isChecked();
    const int kind = KindIndex(request.kind);
    request.settings.draw = WithKind(request.settings.draw, kind);
    if (const auto why = DrawChoicesError(request.settings.draw, kind, request.settings.count)) {
        ShowError(FromCp1252(*why));
        return std::nullopt;
    }
    if (NameCount(mNoms) > 0) {
        std::string error;
        auto names = ParseRosterEntries(mNoms->toPlainText().toStdString(), &error);
        if (!names) {
            ShowError(FromCp1252(error));
            return std::nullopt;
        }
        if (names->size() > std::size_t(kMaxCopies)) {
            ShowError(
                QString("Au plus %1 noms : la liste en a %2").arg(kMaxCopies).arg(names->size()));
            return std::nullopt;
        }
        for (auto& entry : *names) {
            request.names.push_back(std::move(entry.name));
            request.choices.push_back(entry.choice);
        }
    }
    return request;
}

bool ClassSetDialog::Draw() {
    auto request = Request();
    if (!request) return false;
    set_.reset();
    const bool own = !progress_;
    if (own) progress_ = MakeProgress(this, "Tirage de la série...");
    const int count = request->names.empty() ? request->copies : int(request->names.size());
    progress_->setMaximum(count + 2);
    request->progress = [&](int made) { return Step(made); };
    ClassSet made = MakeClassSet(*request, *parts_.random);
    const bool drawn = !made.cancelled && Step(count);
    if (drawn) set_ = std::move(made);
    drawnEarlier_ = false;
    if (own) progress_.reset();
    ShowCopies();
    return drawn;
}

// The set drawn, or a new one drawn now under the output's progress box.
bool ClassSetDialog::EnsureSet() {
    if (set_) {
        progress_->setMaximum(2);
        return true;
    }
    return Draw();
}

// The folder an output goes to, once its set can be drawn (needsSet) and the teacher chose one;
// its progress box is shown then.
std::optional<QString> ClassSetDialog::StartSave(bool needsSet, const QString& label) {
    if (needsSet && !set_ && !Request()) return std::nullopt;
    const QString folder = folderDialog_(this, parts_.folder());
    if (folder.isEmpty()) return std::nullopt;
    progress_ = MakeProgress(this, label);
    return folder;
}

// "Serie_Equat1d_N2": the kind and level of the set.
std::string ClassSetDialog::SetBaseName() const {
    const auto kind = MakeKind(cbType->currentData().toString().toStdString());
    const std::string prefix = kind ? std::string(kind->BaseNamePrefix()) : "N";
    return "Serie_" + prefix + std::to_string(spNiveau->value());
}

// The format's files of the output, or false with the error shown.
bool ClassSetDialog::Make(FormatId format, const OutputData& output,
                          const std::vector<std::string>& names, NamedFiles* files) {
    std::string error;
    if (MakeFormat(Format(format), output, names, files, &error)) return true;
    ShowError(QString::fromStdString(error));
    return false;
}

// The set's answer grid beside its documents when asked, or false with the error shown.
bool ClassSetDialog::MakeGrid(const std::string& base, NamedFiles* files) {
    return !ckbGrille->isChecked() || Make(FormatId::Grid, OutputData{set_->copies, set_->keyOrder},
                                           FormatFiles(Format(FormatId::Grid), base), files);
}

// The pair on screen as edited, as a copy of its own.
ClassCopy ClassSetDialog::PairOnScreen() const {
    ClassCopy copy;
    copy.sheet.subject = WholeRtf(parts_.subject);
    copy.sheet.answerKey = WholeRtf(parts_.answerKey);
    return copy;
}

// The last chance to cancel; then, once the teacher agreed to replace what exists, every
// file is written, or none, and the teacher is told what and where.
bool ClassSetDialog::Finish(const QString& folder, const NamedFiles& files) {
    const bool going = Step(progress_->maximum() - 1);
    progress_.reset();
    if (!going) return false;
    std::vector<std::string> paths;
    for (const auto& file : files) paths.push_back(file.first);
    if (const auto question = ReplaceQuestion(paths, folder);
        question && !confirmBox_(this, *question))
        return false;
    std::vector<std::string> written;
    std::string error;
    if (!WriteAllFiles(files, &written, &error)) {
        ShowError(QString::fromStdString(error));
        return false;
    }
    doneBox_(this, WrittenMessage(written, folder), folder);
    return true;
}

bool ClassSetDialog::Print() {
    const bool pairOnScreen = UsesPairOnScreen();
    if (!pairOnScreen && !set_ && !Request()) return false;
    QPrinter& printer = CurrentPrinter();
    const int copies[] = {parts_.subjectCopies->value(), parts_.answerKeyCopies->value()};
    const char* const titles[] = {"Sujets", "Corrigés"};
    RichEdit* const onScreen[] = {parts_.subject, parts_.answerKey};
    if (!pairOnScreen) {
        progress_ = MakeProgress(this, "Préparation de l'impression...");
        const ProgressScope closing(progress_);
        if (!EnsureSet()) return false;
        const bool going = Step(progress_->maximum() - 1);
        progress_.reset();
        if (!going) return false;
    }
    // More than one sheet leaves at one click only when the teacher says so.
    const int sheets = pairOnScreen ? 1 : int(set_->copies.size());
    const int documents = sheets * (copies[0] + copies[1]);
    if (sheets > 1 && documents > 0) {
        const QString queue =
            printer.printerName().isEmpty() ? QString("l'imprimante") : printer.printerName();
        const QString question =
            QString(
                "Imprimer %1 copies sur %2 ?\n%3 sujets et %4 corrigés, chacun sur ses "
                "propres pages : au moins %5 pages.")
                .arg(sheets)
                .arg(queue)
                .arg(sheets * copies[0])
                .arg(sheets * copies[1])
                .arg(documents);
        if (!confirmBox_(this, question)) return false;
    }
    // As the window's own printing: each count is that many jobs, 0 none. The pair on screen
    // is printed as it stands, through its own page layout.
    for (int d = 0; d < 2; ++d) {
        const QString title = QString::fromUtf8(titles[d]);
        for (int k = 0; k < copies[d]; ++k) {
            QString error;
            const bool ok =
                pairOnScreen
                    ? PrintDocument(onScreen[d]->Pages(), printer, title, &error)
                    : PrintSet(set_->copies, set_->keyOrder, 0, d == 1, printer, title, &error);
            if (!ok) {
                ShowError(error);
                return false;
            }
        }
    }
    return true;
}

bool ClassSetDialog::SavePdf() {
    const bool pairOnScreen = UsesPairOnScreen();
    const auto folder = StartSave(!pairOnScreen, "Préparation des PDF...");
    if (!folder) return false;
    const ProgressScope closing(progress_);
    NamedFiles files;
    const FormatInfo& pdf = Format(FormatId::Pdf);
    if (pairOnScreen) {
        const ClassCopy copy = PairOnScreen();
        const std::string base = InFolder(*folder, parts_.baseName().toStdString());
        if (!Make(FormatId::Pdf, OutputData{std::span(&copy, 1), {}}, FormatFiles(pdf, base),
                  &files))
            return false;
    } else {
        if (!EnsureSet()) return false;
        const std::string base = InFolder(*folder, SetBaseName());
        if (!Make(FormatId::Pdf, OutputData{set_->copies, set_->keyOrder}, FormatFiles(pdf, base),
                  &files) ||
            !MakeGrid(base, &files))
            return false;
    }
    return Finish(*folder, files);
}

// Each copy as its RTF pair, named after its pupil and its code; the grid as PDF when asked.
bool ClassSetDialog::SaveRtf() {
    const bool pairOnScreen = UsesPairOnScreen();
    const auto folder = StartSave(!pairOnScreen, "Préparation des fichiers RTF...");
    if (!folder) return false;
    const ProgressScope closing(progress_);
    NamedFiles files;
    if (pairOnScreen) {
        const SaveNames names = SaveNamesFor(InFolder(*folder, parts_.baseName().toStdString()));
        const ClassCopy copy = PairOnScreen();
        // The areas' RTF is our writer's already.
        if (!Make(FormatId::Rtf, OutputData{std::span(&copy, 1), {}, true},
                  {names.subject, names.answerKey}, &files))
            return false;
        return Finish(*folder, files);
    }
    if (!EnsureSet()) return false;
    const std::string base = InFolder(*folder, SetBaseName());
    for (const auto& copy : set_->copies) {
        const std::string pupil = NamePart(copy.name);
        const SaveNames names =
            SaveNamesFor(base + "_" + (pupil.empty() ? "" : pupil + "_") + copy.codeText);
        if (!Make(FormatId::Rtf, OutputData{std::span(&copy, 1), {}},
                  {names.subject, names.answerKey}, &files))
            return false;
    }
    if (!MakeGrid(base, &files)) return false;
    return Finish(*folder, files);
}

// Every copy of the set drawn (or drawn now), whatever the pair on screen: a bank is of a set.
bool ClassSetDialog::ExportBank(FormatId id) {
    const auto folder = StartSave(true, "Préparation de la banque de questions...");
    if (!folder) return false;
    const ProgressScope closing(progress_);
    if (!EnsureSet()) return false;
    NamedFiles files;
    if (!Make(id, OutputData{set_->copies, set_->keyOrder},
              FormatFiles(Format(id), InFolder(*folder, SetBaseName())), &files))
        return false;
    return Finish(*folder, files);
}

}  // namespace equat
