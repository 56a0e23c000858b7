// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/quizdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "app/classdialog.h"
#include "app/widgets.h"
#include "outputs/formats.h"
#include "platform/classpdf.h"
#include "platform/printing.h"
#include "settings/qtcp1252.h"

namespace equat {

namespace {

const char* const kTitle = "Interrogation rapide";
constexpr int kMaxCopies = 200;

QString RunSaveDialog(QWidget* parent, const QString& start) {
    return QFileDialog::getSaveFileName(parent, kTitle, QDir(start).filePath("Interrogation.pdf"),
                                        "Documents PDF (*.pdf)");
}

void RunMessageBox(QWidget* parent, const QString& message, bool error) {
    if (error) {
        QMessageBox::critical(parent, kTitle, message);
    } else {
        QMessageBox::information(parent, kTitle, message);
    }
}

}  // namespace

QuizDialog::QuizDialog(Parts parts, QWidget* parent)
    : QDialog(parent),
      parts_(std::move(parts)),
      saveDialog_(RunSaveDialog),
      messageBox_(RunMessageBox) {
    setObjectName("QuizDialog");
    setWindowTitle(kTitle);
    MakeControls();
    LayOut();
    Connect();
    Forget();
}

void QuizDialog::MakeControls() {
    cbType = new QComboBox(this);
    AddKindItems(cbType);
    cbType->setToolTip("Type des équations");
    spNiveau = new QSpinBox(this);
    spNiveau->setRange(1, 3);
    spNiveau->setToolTip("Niveau des copies (de la colonne de gauche avec deux niveaux)");
    ckbDeuxNiveaux = new QCheckBox("Deux niveaux", this);
    ckbDeuxNiveaux->setToolTip(
        "Colonne de gauche au niveau choisi, colonne de droite au niveau au-dessus ; chaque "
        "copie et chaque corrigé porte son niveau après la consigne");
    spQuestions = new QSpinBox(this);
    spQuestions->setRange(kQuizMinQuestions, kQuizMaxQuestions);
    spQuestions->setValue(4);
    spQuestions->setToolTip(QString("Nombre de questions de chaque copie, de %1 à %2")
                                .arg(kQuizMinQuestions)
                                .arg(kQuizMaxQuestions));
    cbParPage = new QComboBox(this);
    for (int n : {2, 4, 6}) cbParPage->addItem(QString::number(n), n);
    cbParPage->setCurrentIndex(1);
    cbParPage->setToolTip("Copies par page A4, sur deux colonnes, avec des traits de coupe");
    spCopies = new QSpinBox(this);
    spCopies->setRange(1, kMaxCopies);
    spCopies->setValue(8);
    spCopies->setToolTip(QString("Nombre de copies différentes, de 1 à %1").arg(kMaxCopies));
    cbCorrige = KeyStyleList(parts_.keyStyles, this);
    cbCorrige->setToolTip("Style des corrigés, l'un sous l'autre dans l'ordre des copies");
    eTitre = new QLineEdit(FromCp1252(std::string(kDefaultQuizTitle)), this);
    eTitre->setMaxLength(kMaxTitleLength);
    eTitre->setValidator(new Cp1252Validator(eTitre));
    eTitre->setToolTip("Première ligne de chaque copie, soulignée, avant son code");
    // As long as the window's, whose text it starts from.
    eConsigne = new QLineEdit(FromCp1252(std::string(kDefaultInstruction)), this);
    eConsigne->setValidator(new Cp1252Validator(eConsigne));
    eConsigne->setToolTip("Consigne en gras sous le titre de chaque copie et de chaque corrigé");
    lblPages = new QLabel(this);
    lblPages->setToolTip(
        "Les sorties reprennent le même tirage jusqu'à un choix changé ; il reste quand la "
        "fenêtre se ferme, jusqu'à ce qu'Equat soit quitté");
    btnImprimer = new QPushButton("Imprimer", this);
    btnImprimer->setToolTip("Imprimer les copies, puis les corrigés");
    btnPdf = new QPushButton("Enregistrer en PDF", this);
    btnPdf->setToolTip("Les copies dans un PDF, les corrigés à côté (_Cor.pdf)");
    btnFermer = new QPushButton("Fermer", this);
}

void QuizDialog::LayOut() {
    auto* form = new QFormLayout;
    form->addRow("Type", cbType);
    form->addRow("Niveau", spNiveau);
    form->addRow(ckbDeuxNiveaux);
    form->addRow("Questions par copie", spQuestions);
    form->addRow("Copies par page", cbParPage);
    form->addRow("Copies", spCopies);
    form->addRow("Corrigé", cbCorrige);
    form->addRow("Titre", eTitre);
    form->addRow("Consigne", eConsigne);
    form->addRow(lblPages);
    LayOutDialog(this, form, {btnImprimer, btnPdf, btnFermer});
}

void QuizDialog::Connect() {
    // Every choice changes what is drawn.
    for (QSpinBox* s : {spNiveau, spCopies, spQuestions})
        connect(s, &QSpinBox::valueChanged, this, &QuizDialog::Forget);
    for (QComboBox* c : {cbParPage, cbType, cbCorrige})
        connect(c, &QComboBox::currentIndexChanged, this, &QuizDialog::Forget);
    for (QLineEdit* e : {eTitre, eConsigne})
        connect(e, &QLineEdit::textChanged, this, &QuizDialog::Forget);
    connect(ckbDeuxNiveaux, &QCheckBox::toggled, this, &QuizDialog::Forget);
    connect(btnImprimer, &QPushButton::clicked, this, [this] { Print(); });
    connect(btnPdf, &QPushButton::clicked, this, [this] { SavePdf(); });
    connect(btnFermer, &QPushButton::clicked, this, &QDialog::reject);
}

void QuizDialog::StartFrom(const std::string& kind, const SheetSettings& window) {
    window_.Open(kind, window);
    drawnEarlier_ = drawn_.has_value();
    if (!drawn_) TakeWindowChoices();
    ShowPages();
    cbType->setFocus(Qt::OtherFocusReason);
}

void QuizDialog::TakeWindowChoices() {
    const SheetSettings& w = window_.now();
    window_.ShowShape(cbType, spNiveau, cbCorrige);
    // The window's title is a page wide; a title of the teacher's own is kept.
    if (window_.Changed(&SheetSettings::title))
        ShowSetting(eTitre, w.title == kDefaultTitle ? std::string(kDefaultQuizTitle) : w.title);
    if (window_.Changed(&SheetSettings::instruction)) ShowSetting(eConsigne, w.instruction);
}

void QuizDialog::Forget() {
    drawn_.reset();
    ShowPages();
}

void QuizDialog::ShowPages() {
    // The right column is a level above: none above the last.
    ckbDeuxNiveaux->setEnabled(spNiveau->value() < 3);
    if (spNiveau->value() == 3) ckbDeuxNiveaux->setChecked(false);
    const int perPage = cbParPage->currentData().toInt();
    const int pages = (spCopies->value() + perPage - 1) / perPage;
    QString text =
        pages == 1 ? QString("Une page de copies") : QString("%1 pages de copies").arg(pages);
    if (drawn_ && drawnEarlier_) text += ", tirées plus tôt et reprises par les sorties";
    lblPages->setText(text);
}

QuizRequest QuizDialog::Request() const {
    QuizRequest request;
    request.kind = cbType->currentData().toString().toStdString();
    request.settings = parts_.settings ? parts_.settings() : window_.now();
    request.settings.level = spNiveau->value();
    request.settings.count = spQuestions->value();
    request.settings.exports.model = true;  // its PDF made from the model
    request.settings.keyStyle = ChosenKeyStyle(cbCorrige);
    request.settings.title = ToCp1252(eTitre->text());
    request.settings.instruction = ToCp1252(eConsigne->text());
    request.copies = spCopies->value();
    request.twoLevels = ckbDeuxNiveaux->isEnabled() && ckbDeuxNiveaux->isChecked();
    return request;
}

const ClassSet& QuizDialog::Drawn() {
    if (!drawn_) drawn_ = MakeQuiz(Request(), *parts_.random);
    return *drawn_;
}

bool QuizDialog::Print() {
    const ClassSet& quiz = Drawn();
    QPrinter& printer = CurrentPrinter();
    for (const bool keys : {false, true}) {
        QString error;
        if (!PrintSet(quiz.copies, quiz.keyOrder, cbParPage->currentData().toInt(), keys, printer,
                      keys ? QString("Corrigés") : QString(kTitle), &error)) {
            messageBox_(this, error + '.', true);
            return false;
        }
    }
    return true;
}

bool QuizDialog::SavePdf() {
    const QString path = saveDialog_(this, parts_.folder ? parts_.folder() : QString());
    if (path.isEmpty()) return false;
    const ClassSet& quiz = Drawn();
    // The pdf row of the table of formats: the copies' file, the keys beside it.
    std::string stem = QFile::encodeName(path).toStdString();
    if (path.endsWith(".pdf", Qt::CaseInsensitive)) stem.resize(stem.size() - 4);
    const FormatInfo& pdf = Format(FormatId::Pdf);
    OutputData output{quiz.copies, quiz.keyOrder};
    output.quizPerPage = cbParPage->currentData().toInt();
    NamedFiles files;
    std::vector<std::string> written;
    std::string error;
    if (!MakeFormat(pdf, output, FormatFiles(pdf, stem), &files, &error) ||
        !WriteAllFiles(files, &written, &error)) {
        messageBox_(this, QString::fromStdString(error) + '.', true);
        return false;
    }
    QStringList names;
    for (const auto& name : written)
        names << QDir::toNativeSeparators(QFile::decodeName(name.c_str()));
    messageBox_(this, QString("Fichiers enregistrés :\n%1").arg(names.join('\n')), false);
    return true;
}

}  // namespace equat
