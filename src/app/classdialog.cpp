// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/classdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <memory>

#include "core/formats.h"
#include "core/kinds.h"
#include "core/savenames.h"
#include "platform/classpdf.h"
#include "platform/pages.h"
#include "platform/paginator.h"
#include "platform/printing.h"
#include "platform/richedit.h"
#include "rtf/reader.h"
#include "rtf/writer.h"
#include "settings/qtcp1252.h"

namespace equat {

namespace {

constexpr int kMaxCopies = 40;
const char* const kTitle = "Série pour la classe";

struct KindItem {
    const char* kind;
    const char* caption;
};
constexpr KindItem kKinds[] = {{"1d", "Equat 1d"}, {"syst", "Syst"}, {"2d", "Equat 2d"}};

QString RunFolderDialog(QWidget* parent, const QString& start) {
    return QFileDialog::getExistingDirectory(parent, "Dossier de la série", start);
}

void RunErrorBox(QWidget* parent, const QString& message) {
    QMessageBox::critical(parent, kTitle, message);
}

// A file of the folder, as the file functions take it.
std::string InFolder(const QString& folder, const std::string& name) {
    return QFile::encodeName(QDir(folder).filePath(QString::fromStdString(name))).toStdString();
}

std::string RtfOf(RichEdit* area) {
    area->SelectAll();
    return area->SelectionRtf();
}

// A generated document as the window saves one: through our writer, so that other editors
// show its Symbol-font signs.
std::string SavedRtf(std::string_view generated) {
    return rtf::WriteRtf(rtf::ReadRtf(generated));
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

}  // namespace

ClassSetDialog::ClassSetDialog(Parts parts, QWidget* parent)
    : QDialog(parent),
      parts_(std::move(parts)),
      folderDialog_(RunFolderDialog),
      errorBox_(RunErrorBox) {
    setObjectName("ClassSetDialog");
    setWindowTitle(kTitle);
    Build();
}

void ClassSetDialog::Build() {
    cbType = new QComboBox(this);
    for (const KindItem& k : kKinds) cbType->addItem(k.caption, QString(k.kind));
    spCopies = new QSpinBox(this);
    spCopies->setRange(1, kMaxCopies);
    spCopies->setToolTip("Nombre de copies différentes, de 1 à 40");
    mNoms = new QPlainTextEdit(this);
    mNoms->setToolTip("Un nom par ligne : une copie par nom, le nom dans le titre");
    mNoms->setTabChangesFocus(true);
    ckbCodes = new QCheckBox("Code sur chaque copie", this);
    ckbCodes->setToolTip("Le code permet de refaire la copie plus tard");
    ckbCodes->setChecked(true);
    ckbGrille = new QCheckBox("Grille des réponses", this);
    ckbGrille->setToolTip("Une page avec les résultats de toutes les copies (PDF)");

    auto* form = new QFormLayout;
    form->addRow("Type", cbType);
    form->addRow("Copies", spCopies);
    form->addRow("ou noms, un par ligne", mNoms);
    form->addRow(ckbCodes);
    form->addRow(ckbGrille);

    btnImprimer = new QPushButton("Imprimer", this);
    btnPdf = new QPushButton("Enregistrer en PDF", this);
    btnRtf = new QPushButton("Enregistrer en RTF", this);
    btnFermer = new QPushButton("Fermer", this);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {btnImprimer, btnPdf, btnRtf, btnFermer}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    auto* all = new QVBoxLayout(this);
    all->addLayout(form);
    all->addLayout(buttons);

    connect(btnImprimer, &QPushButton::clicked, this, [this] { Print(); });
    connect(btnPdf, &QPushButton::clicked, this, [this] { SavePdf(); });
    connect(btnRtf, &QPushButton::clicked, this, [this] { SaveRtf(); });
    connect(btnFermer, &QPushButton::clicked, this, &QDialog::reject);
}

void ClassSetDialog::SetKind(const std::string& kind) {
    const int index = cbType->findData(QString::fromStdString(kind));
    if (index >= 0) cbType->setCurrentIndex(index);
}

void ClassSetDialog::ShowError(const QString& message) {
    errorBox_(this, message.endsWith('.') ? message : message + '.');
}

// One copy without names puts out the pair on screen as the teacher edited it.
bool ClassSetDialog::UsesPairOnScreen() const {
    return spCopies->value() == 1 && mNoms->toPlainText().trimmed().isEmpty() &&
           parts_.subject->LineCount() > 0;
}

bool ClassSetDialog::Step(QProgressDialog& progress, int value) {
    progress.setValue(value);
    if (progressHook_) progressHook_(progress, value);
    QCoreApplication::processEvents();
    return !progress.wasCanceled();
}

std::optional<ClassSet> ClassSetDialog::MakeSet(QProgressDialog& progress) {
    ClassSetRequest request;
    request.kind = cbType->currentData().toString().toStdString();
    request.settings = parts_.settings();
    request.copies = spCopies->value();
    request.showCodes = ckbCodes->isChecked();
    if (!mNoms->toPlainText().trimmed().isEmpty()) {
        std::string error;
        auto names = ParseRoster(mNoms->toPlainText().toStdString(), &error);
        if (!names) {
            ShowError(FromCp1252(error));
            return std::nullopt;
        }
        request.names = std::move(*names);
    }
    const int count = request.names.empty() ? request.copies : int(request.names.size());
    progress.setMaximum(count + 2);
    request.progress = [&](int made) { return Step(progress, made); };
    ClassSet set = MakeClassSet(request, *parts_.random);
    if (set.cancelled || !Step(progress, count)) return std::nullopt;
    return set;
}

std::optional<QString> ClassSetDialog::ChooseFolder() {
    const QString folder = folderDialog_(this, parts_.folder());
    if (folder.isEmpty()) return std::nullopt;
    return folder;
}

// "Serie_Equat1d_N2": the kind and level of the set.
std::string ClassSetDialog::SetBaseName() const {
    const auto kind = MakeKind(cbType->currentData().toString().toStdString());
    const std::string prefix = kind ? std::string(kind->BaseNamePrefix()) : "N";
    return "Serie_" + prefix + std::to_string(parts_.settings().level);
}

bool ClassSetDialog::PairPdfs(const QString& folder, NamedFiles* files) {
    const std::string base = InFolder(folder, parts_.baseName().toStdString());
    const struct {
        RichEdit* area;
        std::string name;
    } pair[] = {{parts_.subject, FormatFiles(Format("pdf"), base)[0]},
                {parts_.answerKey, FormatFiles(Format("pdf"), base)[1]}};
    for (const auto& p : pair) {
        QByteArray pdf;
        QString error;
        const QString title = QFileInfo(QString::fromStdString(p.name)).completeBaseName();
        if (!PdfBytes(p.area->Pages(), DefaultPageLayout(), kPrintDpi, title, &pdf, &error)) {
            ShowError(error);
            return false;
        }
        files->emplace_back(p.name, pdf.toStdString());
    }
    return true;
}

// The last chance to cancel; then every file is written, or none.
bool ClassSetDialog::Finish(QProgressDialog& progress, const NamedFiles& files) {
    if (!Step(progress, progress.maximum() - 1)) return false;
    std::vector<std::string> written;
    std::string error;
    if (!WriteAllFiles(files, &written, &error)) {
        ShowError(QString::fromStdString(error));
        return false;
    }
    progress.setValue(progress.maximum());
    return true;
}

bool ClassSetDialog::Print() {
    QPrinter& printer = CurrentPrinter();
    const int copies[] = {parts_.subjectCopies->value(), parts_.answerKeyCopies->value()};
    const char* const titles[] = {"Sujets", "Corrigés"};
    RichEdit* const onScreen[] = {parts_.subject, parts_.answerKey};
    const bool pairOnScreen = UsesPairOnScreen();
    std::vector<std::string> docs[2];
    auto progress = MakeProgress(this, "Préparation de l'impression...");
    if (!pairOnScreen) {
        auto set = MakeSet(*progress);
        if (!set) return false;
        for (const auto& copy : set->copies) docs[0].push_back(copy.sheet.subject);
        for (std::size_t k : set->keyOrder) docs[1].push_back(set->copies[k].sheet.answerKey);
    }
    if (!Step(*progress, progress->maximum() - 1)) return false;
    // As the window's own printing: each count is that many jobs, 0 none. The pair on screen
    // is printed as it stands, through its own page layout.
    for (int d = 0; d < 2; ++d) {
        const std::vector<std::string_view> views(docs[d].begin(), docs[d].end());
        const QString title = QString::fromUtf8(titles[d]);
        for (int k = 0; k < copies[d]; ++k) {
            QString error;
            const bool ok = pairOnScreen
                                ? PrintDocument(onScreen[d]->Pages(), printer, title, &error)
                                : PrintCollated(views, printer, title, &error);
            if (!ok) {
                ShowError(error);
                return false;
            }
        }
    }
    progress->setValue(progress->maximum());
    return true;
}

bool ClassSetDialog::SavePdf() {
    const auto folder = ChooseFolder();
    if (!folder) return false;
    auto progress = MakeProgress(this, "Préparation des PDF...");
    NamedFiles files;
    if (UsesPairOnScreen()) {
        if (!PairPdfs(*folder, &files)) return false;
    } else {
        auto set = MakeSet(*progress);
        if (!set) return false;
        const std::string base = InFolder(*folder, SetBaseName());
        const std::string grid =
            ckbGrille->isChecked() ? FormatFiles(Format("grid"), base)[0] : std::string();
        std::string error;
        if (!ClassPdfs(set->copies, set->keyOrder, base + ".pdf", grid, &files, &error)) {
            ShowError(QString::fromStdString(error));
            return false;
        }
    }
    return Finish(*progress, files);
}

// Each copy as its RTF pair, named after its code; the grid as PDF when asked.
bool ClassSetDialog::SaveRtf() {
    const auto folder = ChooseFolder();
    if (!folder) return false;
    auto progress = MakeProgress(this, "Préparation des fichiers RTF...");
    NamedFiles files;
    if (UsesPairOnScreen()) {
        const SaveNames names = SaveNamesFor(InFolder(*folder, parts_.baseName().toStdString()));
        files = {{names.subject, RtfOf(parts_.subject)},
                 {names.answerKey, RtfOf(parts_.answerKey)}};
        return Finish(*progress, files);
    }
    auto set = MakeSet(*progress);
    if (!set) return false;
    const std::string base = InFolder(*folder, SetBaseName());
    for (const auto& copy : set->copies) {
        const SaveNames names = SaveNamesFor(base + "_" + copy.codeText);
        files.emplace_back(names.subject, SavedRtf(copy.sheet.subject));
        files.emplace_back(names.answerKey, SavedRtf(copy.sheet.answerKey));
    }
    if (ckbGrille->isChecked()) {
        std::string pdf, error;
        if (!AnswerGridPdf(MakeAnswerGrid(set->copies, set->keyOrder), &pdf, &error)) {
            ShowError(QString::fromStdString(error));
            return false;
        }
        files.emplace_back(FormatFiles(Format("grid"), base)[0], std::move(pdf));
    }
    return Finish(*progress, files);
}

}  // namespace equat
