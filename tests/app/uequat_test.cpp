// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/uequat.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateTime>
#include <QDesktopServices>
#include <QDialog>
#include <QFileInfo>
#include <QFrame>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <QUrl>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>

#include "app/classdialog.h"
#include "app/output.h"
#include "app/quizdialog.h"
#include "app/widgets.h"
#include "core/drawchoices.h"
#include "core/kinds.h"
#include "core/rotate.h"
#include "platform/richedit.h"
#include "qt_environment.h"
#include "settings/formstorage.h"

using equat::TForm1;

namespace {

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        form = std::make_unique<TForm1>();
        // Each test starts from no settings file and leaves none beside the test program.
        ASSERT_TRUE(iniDir.isValid());
        form->FormStorage1->SetIniFileName(iniDir.filePath("test_uequat.ini"));
        form->output().SetConfirmBox([this](QWidget*, const QString& q) {
            questions << q;
            return confirm;
        });
    }
    void TearDown() override {
        form.reset();
        QApplication::processEvents();
    }

    void ShowAndActivate() {
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    // Generates a sheet with the first-degree kind, which is always available.
    void Generate(int count = 5) {
        form->spMaxLigne->setValue(count);
        form->btnEquat1d->click();
    }

    void SendMouseMove(QWidget* target, QPoint pos) {
        QMouseEvent move(QEvent::MouseMove, QPointF(pos), target->mapToGlobal(QPointF(pos)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(target, &move);
    }

    QTemporaryDir iniDir;
    std::unique_ptr<TForm1> form;
    QStringList questions;
    bool confirm = true;
};

QString CaptionOf(QWidget* w) {
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
    if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
    if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentText();
    return {};
}

// Types text as key presses, one per character, as a keyboard layout would deliver it.
void TypeText(QWidget* target, const QString& text) {
    for (char32_t cp : text.toUcs4()) {
        const QString ch = QString::fromUcs4(&cp, 1);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, ch);
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, ch);
        QApplication::sendEvent(target, &release);
    }
}

long ResidentKiB() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * 4;
}

// ---- Design ---------------------------------------------------------------------------------

struct ControlRow {
    const char* name;
    int x, y, w, h;  // w, h of 0: sized by its caption
    const char* caption;
    const char* hint;
};

const std::string kHyphens(123, '-');
const char* const kStyleHint =
    "Style du corrigé : décimales, valeurs exactes, solution détaillée ou résultats seuls";

TEST_F(WindowTest, ControlsStandWhereTheDesignPutsThem) {
    const QString title = "Nom :" + QString(23, ' ') + "Prénom :" + QString(29, ' ') + "Classe :";
    ASSERT_EQ(title.size(), 73);
    const ControlRow rows[] = {
        {"Label1", 4, 8, 0, 0, "Niveau", ""},
        {"trbNiveau", 40, 2, 80, 29, "", "Niveau 1"},
        {"Label4", 125, 8, 0, 0, "Titre1", ""},
        {"eTitre1", 157, 4, 638, 21, nullptr, "Ligne 1 du titre, modifiable et enregistrée "},
        {"Label2", 4, 35, 0, 0, "Max quest", ""},
        {"spMaxLigne", 59, 30, 41, 22, "", "Nombre maximal de questions posées"},
        {"Label5", 125, 35, 0, 0, "Titre2", ""},
        {"Combo1", 157, 31, 580, 21, "Calculer ", ""},
        {"btnNouvTexte", 741, 29, 25, 25, "A", "Ajouter un nouveau texte"},
        {"btnEffaceTexte", 770, 29, 24, 25, "E", "Effacer le texte sélectionné"},
        {"Label10", 100, 49, 26, 12, "(123)", ""},
        {"Label3", 4, 63, 0, 0, "Interligne", ""},
        {"spinterligne", 59, 58, 41, 22, "", "Espacement entre les lignes"},
        {"CheckBox1", 106, 61, 50, 17, "Separ", ""},
        {"eSepar", 157, 59, 559, 21, kHyphens.c_str(), "Ligne 2, idem"},
        {"ckbEdite", 728, 59, 59, 17, "Edite", "Possibilité d'écrire, modifier sujet/corrigé"},
        {"RxE1", 4, 86, 788, 132, "", "Sujet"},
        {"RxE2", 4, 224, 790, 141, "", "Corrigé"},
        {"Label9", 1, 369, 793, 20,
         "Consultez les ouvrages de mathématiques des Editions VALDORIENNE", "Nouvelles versions"},
        {"btnEquat1d", 8, 392, 66, 25, "Equat 1d", "Equations du 1er degré"},
        {"btnSyst", 91, 392, 66, 25, "Syst", "Systèmes d'équations du 1er degré"},
        {"btnEquat2d", 173, 392, 66, 25, "Equat 2d", "Equation du 2ème degré"},
        {"Label11", 246, 398, 0, 0, "Corrigé", ""},
        {"cbCorrige", 290, 393, 74, 22, "Décimal", kStyleHint},
        {"btnSerie", 370, 392, 38, 25, "Série",
         "Série pour la classe : une copie différente par élève"},
        {"btnChoixImp", 413, 392, 28, 25, "CI", "Choix de l'imprimante"},
        {"btnApercu", 448, 392, 28, 25, "A", "Aperçu avant impression"},
        {"Label7", 480, 398, 0, 0, "Sujets", ""},
        {"spSujets", 513, 393, 44, 22, "", ""},
        {"Label8", 561, 398, 0, 0, "Corrigés", ""},
        {"spCorriges", 603, 393, 44, 22, "", ""},
        {"btnImprime", 656, 392, 54, 25, "Imprimer", "Imprimer sujets et/ou corrigés"},
        {"btnEnregistre", 714, 392, 59, 25, "Enregistrer",
         "Enregistrer sujets et/ou corrigés dans un fichier RTF"},
        {"Shape1", 778, 393, 13, 22, "", ""},
        {"Memo1", 504, 112, 281, 225, "", ""},
        {"ScrollBox1", 784, 98, 493, 497, "", ""},
        {"Panel3", -411, 128, 505, 217, "", ""},
    };
    // The menu bar stands above the design area, which keeps its size and places.
    QWidget* area = form->designArea();
    ASSERT_EQ(area->size(), QSize(798, 420));
    EXPECT_EQ(area->pos(), QPoint(0, form->MainMenu->height()));
    EXPECT_EQ(form->size(), QSize(798, 420 + form->MainMenu->height()));
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        auto* w = form->findChild<QWidget*>(r.name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->pos(), QPoint(r.x, r.y));
        if (r.w) {
            EXPECT_EQ(w->size(), QSize(r.w, r.h));
        }
        EXPECT_EQ(CaptionOf(w), r.caption ? QString(r.caption) : title);
        EXPECT_EQ(w->toolTip(), QString(r.hint));
    }
}

TEST_F(WindowTest, StartsWithTheDesignValues) {
    EXPECT_EQ(form->level(), 1);
    EXPECT_FALSE(form->editMode());
    EXPECT_EQ(form->statusLight(), QColor(0, 128, 0));

    struct Spin {
        equat::SpinField* field;
        int min, max, value;
    };
    for (const auto& s : {Spin{form->spMaxLigne, 1, 40, 25}, Spin{form->spinterligne, 0, 10, 1},
                          Spin{form->spSujets, 0, 1000, 1}, Spin{form->spCorriges, 0, 1000, 1}}) {
        SCOPED_TRACE(s.field->objectName().toStdString());
        EXPECT_EQ(s.field->minimum(), s.min);
        EXPECT_EQ(s.field->maximum(), s.max);
        EXPECT_EQ(s.field->value(), s.value);
        EXPECT_EQ(s.field->palette().color(QPalette::Base), QColor(240, 255, 255));
    }
    EXPECT_EQ(form->trbNiveau->minimum(), 1);
    EXPECT_EQ(form->trbNiveau->maximum(), 3);
    EXPECT_EQ(form->trbNiveau->tickPosition(), QSlider::TicksBelow);
    EXPECT_EQ(form->eTitre1->maxLength(), 160);
    EXPECT_EQ(form->eSepar->maxLength(), 200);
    EXPECT_EQ(form->eSepar->text(), QString(123, '-'));
    EXPECT_EQ(form->eTitre1->palette().color(QPalette::Base), QColor(255, 255, 255));
    const QStringList items{"Résoudre les équations suivantes :",
                            "Résoudre les équations suivantes (éventuellement à 0,01 près)",
                            "Résoudre les systèmes suivants :"};
    ASSERT_EQ(form->Combo1->count(), items.size());
    for (int i = 0; i < items.size(); ++i) EXPECT_EQ(form->Combo1->itemText(i), items[i]);
    EXPECT_TRUE(form->CheckBox1->isChecked());
    EXPECT_TRUE(form->eSepar->isEnabled());
    EXPECT_FALSE(form->ckbEdite->isChecked());
    for (auto* b : {form->btnImprime, form->btnEnregistre, form->btnApercu}) {
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
    }
    for (auto* rx : {form->RxE1, form->RxE2}) {
        EXPECT_EQ(rx->Text(), "     ");
        EXPECT_TRUE(rx->isReadOnly());
    }
    EXPECT_EQ(form->Label10->palette().color(QPalette::WindowText), QColor(128, 0, 0));
    EXPECT_EQ(form->Label10->font().pixelSize(), 9);
    EXPECT_EQ(form->Label9->palette().color(QPalette::Window), QColor(255, 128, 0));
    EXPECT_EQ(form->Label9->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(form->Label9->font().pixelSize(), 16);
    EXPECT_EQ(form->Label9->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(form->Memo1->toPlainText(), "Memo1");
    EXPECT_EQ(form->Memo1->font().pixelSize(), 13);
    EXPECT_TRUE(form->PopupMenu1->actions().isEmpty());
    EXPECT_FALSE(form->windowIcon().pixmap(32, 32).isNull());

    ShowAndActivate();
    EXPECT_FALSE(form->Memo1->isVisible());
    EXPECT_FALSE(form->ScrollBox1->isVisible());
    EXPECT_FALSE(form->Panel3->isVisible());
    EXPECT_EQ(form->minimumSize() + (form->frameGeometry().size() - form->size()), QSize(640, 400));
    const QPoint centre = form->screen()->availableGeometry().center();
    EXPECT_LE((form->frameGeometry().center() - centre).manhattanLength(), 2);
}

TEST_F(WindowTest, ResizingKeepsTheAnchoredDistances) {
    ShowAndActivate();
    struct Expect {
        const char* name;
        QRect at1000x600;
    };
    const Expect rows[] = {
        {"eTitre1", {157, 4, 840, 21}},      {"Combo1", {157, 31, 782, 21}},
        {"btnNouvTexte", {943, 29, 25, 25}}, {"btnEffaceTexte", {972, 29, 24, 25}},
        {"eSepar", {157, 59, 761, 21}},      {"ckbEdite", {930, 59, 59, 17}},
        {"RxE1", {4, 86, 990, 312}},         {"RxE2", {4, 404, 992, 141}},
        {"Label9", {1, 549, 995, 20}},       {"btnEquat1d", {8, 572, 66, 25}},
        {"btnEquat2d", {173, 572, 66, 25}},  {"btnChoixImp", {615, 572, 28, 25}},
        {"spSujets", {715, 573, 44, 22}},    {"btnEnregistre", {916, 572, 59, 25}},
        {"Shape1", {980, 573, 13, 22}},      {"Label10", {100, 49, 26, 12}},
        {"spMaxLigne", {59, 30, 41, 22}},    {"Memo1", {504, 112, 281, 225}},
    };
    const int bar = form->height() - form->designArea()->height();
    form->resize(1000, 600 + bar);
    for (const auto& r : rows) {
        auto* w = form->findChild<QWidget*>(r.name);
        EXPECT_EQ(w->geometry(), r.at1000x600) << r.name;
    }
    // Back to the design size: every control returns to its design place.
    form->resize(798, 420 + bar);
    for (auto* w : form->designArea()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!form->DesignRect(w).isNull()) {
            EXPECT_EQ(w->geometry(), form->DesignRect(w)) << w->objectName().toStdString();
        }
    }
    // Never smaller than the minimum; the link label stays above the bottom row.
    form->resize(100, 100);
    EXPECT_EQ(form->frameGeometry().size(), QSize(640, 400));
    const int dw = form->width() - 798, dh = form->designArea()->height() - 420;
    EXPECT_EQ(form->Label9->geometry(), QRect(1, 369 + dh, 793 + dw, 20));
    EXPECT_LT(form->Label9->geometry().bottom(), form->btnEquat1d->geometry().top());
    EXPECT_EQ(form->RxE1->height(), 132 + dh);
}

// ---- Handlers ------------------------------------------------------------------------------

TEST_F(WindowTest, LevelTrackBarSetsLevelHintAndRedLight) {
    for (int position : {3, 1, 2}) {
        form->FormActivate();
        form->trbNiveau->setValue(position);
        EXPECT_EQ(form->level(), position);
        EXPECT_EQ(form->trbNiveau->toolTip(), QString("Niveau %1").arg(position));
        EXPECT_EQ(form->statusLight(), QColor(255, 0, 0));
    }
    EXPECT_EQ(form->ReadSheetSettings().level, 2);
}

TEST_F(WindowTest, StatusLightFollowsSettingsGenerationsAndActivations) {
    ShowAndActivate();
    const QColor green(0, 128, 0), red(255, 0, 0);
    struct Step {
        const char* what;
        std::function<void()> act;
        QColor expected;
    };
    QDialog other(form.get());
    const Step steps[] = {
        {"first activation", [] {}, green},
        {"level change", [&] { form->trbNiveau->setValue(2); }, red},
        {"reactivation from another window of the program",
         [&] {
             other.show();
             QApplication::setActiveWindow(&other);
             other.hide();
             QApplication::setActiveWindow(form.get());
         },
         green},
        {"count change", [&] { form->spMaxLigne->setValue(7); }, red},
        {"generation", [&] { form->btnEquat1d->click(); }, green},
        {"interline change", [&] { form->spinterligne->setValue(3); }, red},
        {"generation again", [&] { form->btnEquat1d->click(); }, green},
        {"answer key style change redoes the pair", [&] { form->cbCorrige->setCurrentIndex(2); },
         green},
        {"style change after a count change",
         [&] {
             form->spMaxLigne->setValue(6);
             form->cbCorrige->setCurrentIndex(1);
         },
         red},
        {"generation in that style", [&] { form->btnEquat1d->click(); }, green},
        {"title change while the subject is a single space",
         [&] {
             form->RxE1->setPlainText(" ");
             form->eTitre1->setText("Contrôle");
         },
         green},
        {"instruction change, single space", [&] { form->Combo1->setEditText("Autre"); }, green},
        {"separator change, subject not a single space",
         [&] {
             form->RxE1->setPlainText("  ");
             form->eSepar->setText("===");
         },
         red},
        {"activation", [&] { form->FormActivate(); }, green},
        {"Separ click, even on a single space",
         [&] {
             form->RxE1->setPlainText(" ");
             form->CheckBox1->click();
         },
         red},
        {"return from another program is no reactivation",
         [&] {
             QApplication::setActiveWindow(nullptr);
             QApplication::setActiveWindow(form.get());
         },
         red},
    };
    for (const auto& s : steps) {
        s.act();
        EXPECT_EQ(form->statusLight(), s.expected) << s.what;
    }
}

TEST_F(WindowTest, ActivationRevealsTheTitleAndSeedsFromTheClock) {
    EXPECT_EQ(equat::RevealText(equat::kScrambledTitle, equat::kTitleKey).size(),
              equat::kScrambledTitle.size());
    ASSERT_EQ(equat::kTitleKey.size(), 2u);
    form->random().setSeed(123456789);  // above any time-of-day seed
    ShowAndActivate();
    EXPECT_EQ(form->windowTitle(), "Equat - Feuilles d'équations et de systèmes");
    const auto now = QTime::currentTime().addSecs(-QDateTime::currentDateTime().offsetFromUtc());
    const auto seed = static_cast<long>(form->random().seed());
    EXPECT_LT(seed, 86'400'000);
    EXPECT_LE(std::abs(seed - now.msecsSinceStartOfDay()) % 86'400'000, 5000);
}

TEST_F(WindowTest, SeparatorCounterShowsTheSeparatorLength) {
    ShowAndActivate();
    struct Row {
        QString text;
        QString caption;
    };
    for (const auto& r : {Row{"", "(0)"}, Row{QString(200, 'x'), "(200)"}, Row{"abc", "(3)"}}) {
        form->eSepar->setText(r.text);
        EXPECT_EQ(form->Label10->text(), r.caption);
    }
    // Any of the five wired fields refreshes it.
    form->eSepar->blockSignals(true);
    form->eSepar->setText("12345");
    form->eSepar->blockSignals(false);
    form->spinterligne->setValue(4);
    EXPECT_EQ(form->Label10->text(), "(5)");
    // Typing stops at 200 characters.
    form->eSepar->clear();
    QTest::keyClicks(form->eSepar, QString(205, '-'));
    EXPECT_EQ(form->eSepar->text().size(), 200);
    EXPECT_EQ(form->Label10->text(), "(200)");
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_TRUE(QToolTip::text().startsWith("Longueur maximale atteinte : 200"));
}

TEST_F(WindowTest, SeparCheckBoxEnablesTheSeparatorField) {
    form->CheckBox1->click();
    EXPECT_FALSE(form->eSepar->isEnabled());
    EXPECT_EQ(form->eSepar->text(), QString(123, '-'));
    EXPECT_EQ(form->statusLight(), QColor(255, 0, 0));
    EXPECT_FALSE(form->ReadSheetSettings().separatorOn);
    form->FormActivate();
    form->CheckBox1->click();
    EXPECT_TRUE(form->eSepar->isEnabled());
    EXPECT_EQ(form->statusLight(), QColor(255, 0, 0));
}

TEST_F(WindowTest, EditModeMakesBothAreasWritableWithTabs) {
    for (bool on : {true, false}) {
        form->ckbEdite->setChecked(on);
        EXPECT_EQ(form->editMode(), on);
        for (auto* rx : {form->RxE1, form->RxE2}) {
            EXPECT_EQ(rx->isReadOnly(), !on);
            EXPECT_EQ(rx->tabChangesFocus(), !on);
        }
    }
}

TEST_F(WindowTest, OutputButtonsFollowTheSubjectText) {
    ShowAndActivate();
    Generate();
    for (auto* b : {form->btnImprime, form->btnEnregistre, form->btnApercu}) {
        EXPECT_TRUE(b->isEnabled());
    }
    form->ckbEdite->setChecked(true);
    form->RxE1->setFocus();
    QTest::keyClick(form->RxE1, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(form->RxE1, Qt::Key_Delete);
    EXPECT_EQ(form->RxE1->Text(), "");
    for (auto* b : {form->btnImprime, form->btnEnregistre, form->btnApercu}) {
        EXPECT_FALSE(b->isEnabled());
    }
    QTest::keyClicks(form->RxE1, "x");
    EXPECT_TRUE(form->btnEnregistre->isEnabled());
}

TEST_F(WindowTest, TextFieldsTakeTheFocusColour) {
    ShowAndActivate();
    const QColor focus(255, 255, 232), white(255, 255, 255);
    for (QWidget* field :
         {static_cast<QWidget*>(form->eTitre1), static_cast<QWidget*>(form->eSepar),
          static_cast<QWidget*>(form->Combo1)}) {
        SCOPED_TRACE(field->objectName().toStdString());
        field->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        EXPECT_EQ(field->palette().color(QPalette::Base), focus);
        form->spSujets->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        EXPECT_EQ(field->palette().color(QPalette::Base), white);
    }
}

// Answers the next modal input box; records what it showed.
struct InputBoxDriver {
    QString title, label;
    int maxLength = -1;
    void Answer(const QString& text, bool accept) {
        QTimer::singleShot(0, [=, this] {
            auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            title = box->windowTitle();
            label = box->labelText();
            auto* field = box->findChild<QLineEdit*>();
            ASSERT_NE(field, nullptr);
            maxLength = field->maxLength();
            EXPECT_TRUE(field->text().isEmpty());
            field->setText(text);
            accept ? box->accept() : box->reject();
        });
    }
};

TEST_F(WindowTest, NewTextAppendsToTheInstructionList) {
    ShowAndActivate();
    struct Row {
        QString text;
        bool accept;
        int countAfter;
        QString shownAfter;
    };
    const Row rows[] = {
        {"Développer :", true, 4, "Développer :"},
        {"Annulé", false, 4, "Développer :"},
        {"", true, 4, "Développer :"},
        {"Développer :", true, 5, "Développer :"},  // duplicates are allowed
    };
    for (const auto& r : rows) {
        InputBoxDriver driver;
        driver.Answer(r.text, r.accept);
        form->btnNouvTexte->click();
        EXPECT_EQ(driver.title, "Nouveau texte");
        EXPECT_EQ(driver.label, "Entrez votre texte");
        EXPECT_EQ(driver.maxLength, 255);
        EXPECT_EQ(form->Combo1->count(), r.countAfter) << r.text.toStdString();
        EXPECT_EQ(form->Combo1->currentText(), r.shownAfter);
    }
    EXPECT_EQ(form->Combo1->itemText(3), form->Combo1->itemText(4));
}

TEST_F(WindowTest, EraseRemovesOnlyTheSelectedEntry) {
    form->btnEffaceTexte->click();  // the design text is no entry of the list
    EXPECT_EQ(form->Combo1->count(), 3);
    form->Combo1->setCurrentIndex(1);
    const QString selected = form->Combo1->itemText(1);
    form->btnEffaceTexte->click();
    ASSERT_EQ(form->Combo1->count(), 2);
    EXPECT_NE(form->Combo1->itemText(1), selected);
    EXPECT_EQ(form->Combo1->currentText(), selected);
    form->btnEffaceTexte->click();  // nothing is selected any more
    EXPECT_EQ(form->Combo1->count(), 2);
    // A typed text unselects the entry it started from.
    form->Combo1->setCurrentIndex(0);
    form->Combo1->setEditText("Calculer");
    form->btnEffaceTexte->click();
    EXPECT_EQ(form->Combo1->count(), 2);
}

TEST_F(WindowTest, LinkLabelTurnsBoldUntilTheBackgroundOrTheAnswerKey) {
    ShowAndActivate();
    auto bold = [&] { return form->Label9->font().bold(); };
    struct Step {
        const char* what;
        std::function<void()> act;
        bool bold;
    };
    const QPoint background(300, 367);  // between the answer key and the link label
    ASSERT_EQ(form->designArea()->childAt(background), nullptr);
    const Step steps[] = {
        {"over the label",
         [&] {
             SendMouseMove(form->Label9, {10, 10});
         },
         true},
        {"over a bottom button",
         [&] {
             SendMouseMove(form->btnEquat1d, {5, 5});
         },
         true},
        {"over a label",
         [&] {
             SendMouseMove(form->Label7, {2, 2});
         },
         true},
        {"over the subject",
         [&] {
             SendMouseMove(form->RxE1->viewport(), {5, 5});
         },
         true},
        {"over the background", [&] { SendMouseMove(form->designArea(), background); }, false},
        {"over the label again",
         [&] {
             SendMouseMove(form->Label9, {3, 3});
         },
         true},
        {"over the answer key", [&] { emit form->RxE2->MouseMoved(); }, false},
    };
    for (const auto& s : steps) {
        s.act();
        EXPECT_EQ(bold(), s.bold) << s.what;
    }
}

class UrlCatcher : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> urls;
  public slots:
    void open(const QUrl& url) { urls << url; }
};

TEST_F(WindowTest, LinkLabelOpensTheCatalogue) {
    ShowAndActivate();
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("https", &catcher, "open");
    QTest::mouseClick(form->Label9, Qt::LeftButton);
    QDesktopServices::unsetUrlHandler("https");
    ASSERT_EQ(catcher.urls.size(), 1);
    EXPECT_EQ(catcher.urls[0], QUrl(equat::kCatalogueUrl));
}

TEST_F(WindowTest, CaretCollapsesOutsideEditMode) {
    Generate();
    using equat::RichEdit;
    struct Row {
        const char* handler;
        RichEdit* area;
        std::function<void()> fire;
    };
    bool accept = true;
    auto* r1 = form->RxE1;
    auto* r2 = form->RxE2;
    const Row rows[] = {
        {"RxE1MouseDown", r1, [&] { emit r1->MouseDown(); }},
        {"RxE1MouseUp", r1, [&] { emit r1->MouseUp(); }},
        {"RxE1DragOver", r1, [&] { emit r1->DragOver(&accept); }},
        {"RxE1DragDrop", r1, [&] { emit r1->DragDrop(); }},
        {"RxE1EndDrag", r1, [&] { emit r1->EndDrag(); }},
        {"RxE2MouseDown", r2, [&] { emit r2->MouseDown(); }},
        {"RxE2MouseUp", r2, [&] { emit r2->MouseUp(); }},
        {"RxE2DragOver", r2, [&] { emit r2->DragOver(&accept); }},
        {"RxE2EndDrag", r2, [&] { emit r2->EndDrag(); }},
    };
    for (bool edit : {false, true}) {
        form->ckbEdite->setChecked(edit);
        for (const auto& r : rows) {
            SCOPED_TRACE(std::string(r.handler) + (edit ? " in edit mode" : ""));
            RichEdit* other = r.area == r1 ? r2 : r1;
            for (auto* a : {r1, r2}) {
                a->SetSelStart(3);
                a->SetSelLength(4);
            }
            accept = true;
            r.fire();
            if (edit) {
                EXPECT_EQ(r.area->SelStart(), 3);
                EXPECT_EQ(r.area->SelLength(), 4);
                EXPECT_TRUE(accept);
            } else {
                EXPECT_EQ(r.area->SelStart(), r.area->TextLength());
                EXPECT_EQ(r.area->SelLength(), 0);
                if (std::string(r.handler).find("DragOver") != std::string::npos) {
                    EXPECT_FALSE(accept);
                }
            }
            EXPECT_EQ(other->SelLength(), 4);  // each area collapses only itself
        }
    }
}

TEST_F(WindowTest, ClicksAndDragsInTheDocumentsOutsideEditMode) {
    ShowAndActivate();
    Generate(25);
    for (bool edit : {false, true}) {
        form->ckbEdite->setChecked(edit);
        for (auto* area : {form->RxE1, form->RxE2}) {
            SCOPED_TRACE(area->objectName().toStdString() + (edit ? " in edit mode" : ""));
            QWidget* view = area->viewport();
            area->verticalScrollBar()->setValue(0);
            QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(30, 8));
            EXPECT_EQ(area->SelLength(), 0);
            if (edit) {
                EXPECT_LT(area->SelStart(), 20);  // where clicked, on the first line
            } else {
                EXPECT_EQ(area->SelStart(), area->TextLength());
            }
            EXPECT_EQ(area->verticalScrollBar()->value(), 0);  // the view does not jump
            // A drag across the first line selects text only in edit mode.
            QTest::mousePress(view, Qt::LeftButton, {}, QPoint(10, 8));
            QMouseEvent drag(QEvent::MouseMove, QPointF(200, 8), view->mapToGlobal(QPointF(200, 8)),
                             Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(view, &drag);
            QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(200, 8));
            EXPECT_EQ(area->SelLength() > 0, edit);
        }
    }
}

TEST_F(WindowTest, SpinFieldsTakeTypedNumbersAndTheirArrows) {
    ShowAndActivate();
    struct Row {
        equat::SpinField* spin;
        const char* typed;
        int value;  // a digit that would leave the range is refused
    };
    const Row rows[] = {{form->spMaxLigne, "12", 12},   {form->spMaxLigne, "99", 9},
                        {form->spinterligne, "10", 10}, {form->spinterligne, "12", 1},
                        {form->spSujets, "30", 30},     {form->spCorriges, "1000", 1000}};
    for (const auto& r : rows) {
        auto* spin = r.spin;
        SCOPED_TRACE(spin->objectName().toStdString() + " " + r.typed);
        spin->setFocus();
        spin->selectAll();
        QTest::keyClicks(spin, r.typed);
        EXPECT_EQ(spin->value(), r.value);
        const int before = spin->value();
        QTest::keyClick(spin, Qt::Key_Down);
        EXPECT_EQ(spin->value(), before - 1);
        QTest::keyClick(spin, Qt::Key_PageUp);
        QTest::keyClick(spin, Qt::Key_PageDown);
        EXPECT_EQ(spin->value(), before - 1);
        QWheelEvent wheel(QPointF(5, 5), spin->mapToGlobal(QPointF(5, 5)), {}, {0, 120},
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(spin, &wheel);
        EXPECT_EQ(spin->value(), before - 1);

        int shown = 0;
        auto c = QObject::connect(form->PopupMenu1, &QMenu::aboutToShow, [&] { ++shown; });
        QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(5, 5),
                               spin->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(spin, &menu);
        form->PopupMenu1->hide();
        QObject::disconnect(c);
        EXPECT_EQ(shown, 1);
        QApplication::processEvents();
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    }
}

TEST_F(WindowTest, TextFieldsRefuseWhatWindows1252CannotHold) {
    ShowAndActivate();
    struct Row {
        QString typed;
        bool kept;
    };
    const Row rows[] = {
        {"é€œ°", true},
        {"Ω", false},
        {"x😀", false},
        {"中", false},
    };
    for (QLineEdit* field : {form->eTitre1, form->eSepar, form->Combo1->lineEdit()}) {
        for (const auto& r : rows) {
            SCOPED_TRACE(field->objectName().toStdString() + " " + r.typed.toStdString());
            field->setFocus();
            field->clear();
            QToolTip::hideText();
            TypeText(field, r.typed);
            const bool kept = field->text() == r.typed;
            EXPECT_EQ(kept, r.kept);
            if (!r.kept) {
                EXPECT_TRUE(QToolTip::isVisible());
                EXPECT_TRUE(QToolTip::text().startsWith("Caractère refusé"));
            }
        }
        // A paste holding one such character is refused as a whole.
        field->setText("avant");
        QApplication::clipboard()->setText("pi = π");
        field->selectAll();
        field->paste();
        EXPECT_EQ(field->text(), "avant");
    }
    // Accepted text reaches the sheet settings intact.
    form->eTitre1->setText("Œuvre € °");
    EXPECT_EQ(form->ReadSheetSettings().title,
              "\x8C"
              "uvre \x80 \xB0");
}

TEST_F(WindowTest, CloseRunsItsHooksInOrder) {
    ShowAndActivate();
    QStringList order;
    QObject::connect(form.get(), &TForm1::CloseQueried, [&] {
        order << "query";
        EXPECT_FALSE(form->ScrollBox1->isVisible());
    });
    QObject::connect(form.get(), &TForm1::SaveRequested, [&] { order << "save"; });
    form->ScrollBox1->show();
    EXPECT_TRUE(form->close());
    EXPECT_EQ(order, QStringList({"query", "save"}));
}

TEST_F(WindowTest, RestoreComesBeforeTheFirstActivation) {
    int restored = 0;
    QObject::connect(form.get(), &TForm1::RestoreRequested, [&] {
        ++restored;
        EXPECT_TRUE(form->windowTitle().isEmpty());
    });
    ShowAndActivate();
    form->hide();
    form->show();
    EXPECT_EQ(restored, 1);
}

TEST_F(WindowTest, PleaseWaitNoticeIsCentred) {
    form->ShowPleaseWaitNotice();
    EXPECT_FALSE(form->Panel3->isHidden());
    EXPECT_EQ(form->Panel3->geometry(), QRect(146, 101, 505, 217));
    EXPECT_EQ(form->Label6->text(),
              "Veuillez patienter, svp, pendant la sauvegarde\n        des paramètres de "
              "configuration...");
}

// ---- Generation ----------------------------------------------------------------------------

TEST_F(WindowTest, EachGeneratorButtonBuildsItsSheet) {
    ShowAndActivate();
    struct Row {
        QPushButton* button;
        const char* kind;
        QString prefix;
        int linesPerEntry;
    };
    const Row rows[] = {{form->btnEquat1d, "1d", "Equat1d_N2_", 2},
                        {form->btnEquat2d, "2d", "Equat2d_N2_", 2},
                        {form->btnSyst, "syst", "Syst_N2_", 3}};
    form->trbNiveau->setValue(2);
    form->spMaxLigne->setValue(6);
    for (const auto& r : rows) {
        SCOPED_TRACE(r.kind);
        const bool available = equat::MakeKind(r.kind) != nullptr;
        form->ScrollBox1->show();
        form->trbNiveau->setValue(1);
        form->trbNiveau->setValue(2);
        const QString before = form->RxE1->Text();
        int changes = 0;
        bool busy = false;
        auto c = QObject::connect(form->RxE1, &equat::RichEdit::Changed, [&] {
            ++changes;
            busy = QApplication::overrideCursor() &&
                   QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        });
        r.button->click();
        QObject::disconnect(c);
        if (!available) {  // a kind not built yet: the button does nothing
            EXPECT_EQ(form->RxE1->Text(), before);
            EXPECT_EQ(form->statusLight(), QColor(255, 0, 0));
            continue;
        }
        EXPECT_TRUE(form->sheetBaseName().startsWith(r.prefix));
        EXPECT_EQ(form->sheetBaseName().size(), r.prefix.size() + 5);
        EXPECT_TRUE(form->RxE1->Text().contains(form->sheetBaseName()));
        EXPECT_TRUE(form->RxE2->Text().contains("Corrigé"));
        EXPECT_FALSE(form->ScrollBox1->isVisible());
        EXPECT_EQ(form->statusLight(), QColor(0, 128, 0));
        EXPECT_GE(changes, 2);  // cleared, then loaded
        EXPECT_TRUE(busy);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        // Every attempt's entry, the last question's attempt last.
        const QStringList lines = form->Memo1->toPlainText().split('\n');
        EXPECT_GE(lines.size(), 6 * r.linesPerEntry);
        EXPECT_EQ(lines.size() % r.linesPerEntry, 0);
        EXPECT_TRUE(lines.first().startsWith("1°/ "));
        EXPECT_TRUE(lines[lines.size() - r.linesPerEntry].startsWith("6°/ "));
    }
}

// "Exercices" lists every kind in the order of places, with Ctrl+1 ... and a hint; an item
// draws what its kind's button draws from the same stream, a kind without a button draws a
// key of solution sets and is named in the title; the dialogs list every kind too.
TEST_F(WindowTest, ExercicesMenuAndDialogsListEveryKind) {
    ShowAndActivate();
    const auto kinds = equat::KindsInWindowOrder();
    const auto items = form->mnuExercices->actions();
    ASSERT_EQ(items.size(), equat::kKindCount);
    QPushButton* const buttons[] = {form->btnEquat1d, form->btnSyst, form->btnEquat2d};
    for (int i = 0; i < equat::kKindCount; ++i) {
        const equat::KindInfo& kind = *kinds[static_cast<std::size_t>(i)];
        SCOPED_TRACE(std::string(kind.name));
        const QString caption = equat::FromCp1252(kind.caption);
        EXPECT_TRUE(items[i]->text().startsWith(caption));
        EXPECT_TRUE(items[i]->toolTip().contains(equat::FromCp1252(kind.help.fr)));
        if (i < 9) {
            EXPECT_EQ(items[i]->shortcut(), QKeySequence(QString("Ctrl+%1").arg(i + 1)));
        }
        form->random().setSeed(77);
        items[i]->trigger();
        const QString key = form->RxE2->Text();
        EXPECT_TRUE(key.contains("Corrigé"));
        if (kind.place < TForm1::kKindButtonCount) {
            form->random().setSeed(77);
            buttons[kind.place]->click();
            EXPECT_EQ(form->RxE2->Text(), key);
            EXPECT_FALSE(form->windowTitle().contains(" - " + caption));
        } else {
            EXPECT_TRUE(key.contains("S = "));
            EXPECT_TRUE(form->windowTitle().endsWith(" - " + caption));
        }
    }
    EXPECT_EQ(form->classDialog().cbType->count(), equat::kKindCount);
    EXPECT_EQ(form->quizDialog().cbType->count(), equat::kKindCount);
    QTimer::singleShot(0, [] {
        auto* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        // The cases, every case, progressive, then one box per kind, all within the screen.
        EXPECT_EQ(dialog->findChildren<QCheckBox*>().size(), 3 + 2 + equat::kKindCount);
        EXPECT_LE(dialog->sizeHint().height(), 600);
        static_cast<QDialog*>(dialog)->reject();
    });
    form->mnuTirage->trigger();
}

TEST_F(WindowTest, TheChosenStyleMakesTheAnswerKey) {
    ASSERT_EQ(form->cbCorrige->count(), equat::kKeyStyleCount);
    EXPECT_FALSE(form->cbCorrige->isEditable());
    form->trbNiveau->setValue(3);
    QStringList keys;
    for (int style = 0; style < 3; ++style) {
        form->cbCorrige->setCurrentIndex(style);
        EXPECT_EQ(form->ReadSheetSettings().keyStyle, static_cast<equat::KeyStyle>(style));
        form->random().setSeed(4242);
        Generate(10);
        keys << form->RxE2->Text();
    }
    // The same questions each time; Exact adds "≈ decimal" to a fraction, Detailed the steps.
    EXPECT_FALSE(keys[0].contains(QChar(0x2248)));
    EXPECT_TRUE(keys[1].contains(QChar(0x2248)));
    EXPECT_GT(keys[2].size(), keys[1].size());
}

// "Feuille > Interrogation rapide..." opens the quiz dialog on the window's choices; saved,
// eight copies four to a page make two pages of copies and their keys beside them. The
// answer strip is the list's fourth style.
TEST_F(WindowTest, InterrogationRapideSavesAQuizAsPdf) {
    EXPECT_EQ(form->cbCorrige->itemText(3), "Résultats seuls");
    form->btnEquat2d->click();
    form->mnuInterrogation->trigger();
    auto& dialog = form->quizDialog();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.cbType->currentText(), "Equat 2d");
    EXPECT_EQ(dialog.cbCorrige->count(), form->cbCorrige->count());
    dialog.spNiveau->setValue(3);
    EXPECT_FALSE(dialog.ckbDeuxNiveaux->isEnabled());
    dialog.spNiveau->setValue(1);
    dialog.ckbDeuxNiveaux->setChecked(true);
    const equat::QuizRequest request = dialog.Request();
    EXPECT_TRUE(request.twoLevels);
    EXPECT_EQ(request.settings.title, equat::kDefaultQuizTitle);
    EXPECT_EQ(dialog.lblPages->text(), "2 pages de copies");
    dialog.eTitre->setText("Interro flash");
    dialog.eConsigne->setText("Résoudre");
    QTemporaryDir out;
    const QString path = out.filePath("flash.pdf");
    QString told;
    dialog.SetSaveDialog([&](QWidget*, const QString&) { return path; });
    dialog.SetMessageBox([&](QWidget*, const QString& message, bool) { told = message; });
    ASSERT_TRUE(dialog.SavePdf()) << told.toStdString();
    EXPECT_TRUE(QFileInfo::exists(path));
    EXPECT_TRUE(QFileInfo::exists(out.filePath("flash_Cor.pdf")));
    EXPECT_TRUE(told.contains("flash_Cor.pdf"));
    // The copies carry the dialog's texts and, with two levels, each its column's level.
    for (std::size_t k = 0; k < 2; ++k)
        for (const std::string& text : {std::string("Interro flash"), std::string("R\xE9soudre"),
                                        "(niveau " + std::to_string(k + 1) + ")"})
            EXPECT_NE(dialog.Drawn().copies[k].sheet.subject.find(text), std::string::npos) << text;
    // What was saved is what prints next, the dialog closed and opened again too: one draw
    // until a choice changes.
    const std::string saved = dialog.Drawn().copies[0].codeText;
    dialog.btnFermer->click();
    form->mnuInterrogation->trigger();
    EXPECT_EQ(dialog.Drawn().copies[0].codeText, saved);
    EXPECT_TRUE(dialog.lblPages->text().endsWith("reprises par les sorties"));
    EXPECT_EQ(dialog.eTitre->text(), "Interro flash");
    dialog.spQuestions->setValue(dialog.spQuestions->value() + 1);
    EXPECT_NE(dialog.Drawn().copies[0].codeText, saved);
    dialog.btnFermer->click();
}

TEST_F(WindowTest, SerieOpensTheClassSetDialogOnTheLastKind) {
    form->btnEquat2d->click();
    form->btnSerie->click();
    auto& dialog = form->classDialog();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.windowTitle(), "Série pour la classe");
    EXPECT_EQ(dialog.cbType->currentText(), "Equat 2d");
    EXPECT_EQ(dialog.spCopies->maximum(), 40);
    dialog.btnFermer->click();
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(WindowTest, MenuItemsDoWhatTheButtonsDo) {
    ShowAndActivate();
    EXPECT_FALSE(form->mnuEnregistrer->isEnabled());
    Generate(3);
    EXPECT_TRUE(form->mnuEnregistrer->isEnabled());
    EXPECT_EQ(form->mnuEnregistrer->shortcut(), QKeySequence(QKeySequence::Save));
    EXPECT_EQ(form->mnuImprimer->shortcut(), QKeySequence(QKeySequence::Print));
    int saves = 0;
    QObject::connect(form->btnEnregistre, &QPushButton::clicked, [&] { ++saves; });
    form->output().SetSaveDialog(
        [](QWidget*, const QString&, const QString&) { return std::optional<QString>(); });
    QTest::keyClick(form->RxE1, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(saves, 1);
    // The key styles mirror the list both ways.
    const auto styles = form->mnuCorrige->actions();
    ASSERT_EQ(styles.size(), form->cbCorrige->count());
    styles[2]->trigger();
    EXPECT_EQ(form->cbCorrige->currentIndex(), 2);
    form->cbCorrige->setCurrentIndex(1);
    EXPECT_TRUE(styles[1]->isChecked());
    EXPECT_FALSE(form->ReadSheetSettings().decimalComma);
    form->mnuVirgule->setChecked(true);
    EXPECT_TRUE(form->ReadSheetSettings().decimalComma);
    // The graphs make the pair on screen again, a picture under each solution.
    Generate(4);
    form->mnuGraphes->setChecked(true);
    EXPECT_EQ(form->RxE2->toPlainText().count(QChar::ObjectReplacementCharacter), 4);
    form->mnuGraphes->setChecked(false);
    EXPECT_EQ(form->RxE2->toPlainText().count(QChar::ObjectReplacementCharacter), 0);
    // Escape closes the preview.
    form->output().Preview();
    ASSERT_TRUE(form->ScrollBox1->isVisible());
    QApplication::setActiveWindow(form->ScrollBox1);
    QTest::keyClick(form->ScrollBox1, Qt::Key_Escape);
    EXPECT_FALSE(form->ScrollBox1->isVisible());
    form->output().CloseCleanup();
}

TEST_F(WindowTest, TheBorderBetweenThePanesIsDraggedAndKeepsItsShare) {
    ShowAndActivate();
    const QRect subject = form->RxE1->geometry(), key = form->RxE2->geometry();
    EXPECT_EQ(form->Splitter1->value(), 0);
    EXPECT_EQ(form->Splitter1->geometry(), QRect(4, 218, 790, 6));
    // Dragged down by 60 pixels.
    const QPoint from = form->Splitter1->rect().center();
    QTest::mousePress(form->Splitter1, Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(from + QPoint(0, 60)),
                     form->Splitter1->mapToGlobal(QPointF(from + QPoint(0, 60))), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form->Splitter1, &move);
    EXPECT_NEAR(form->RxE1->height(), subject.height() + 60, 2);
    EXPECT_EQ(form->RxE2->geometry().bottom(), key.bottom());
    EXPECT_EQ(form->RxE2->y(), form->RxE1->geometry().bottom() + 7);
    // A taller window keeps the share; back at its design value, nothing has moved.
    const double share = form->RxE1->height() / double(form->RxE1->height() + form->RxE2->height());
    const int bar = form->height() - form->designArea()->height();
    form->resize(798, 700 + bar);
    EXPECT_NEAR(form->RxE1->height() / double(form->RxE1->height() + form->RxE2->height()), share,
                0.01);
    form->resize(798, 420 + bar);
    form->Splitter1->setValue(0);
    EXPECT_EQ(form->RxE1->geometry(), subject);
    EXPECT_EQ(form->RxE2->geometry(), key);
}

TEST_F(WindowTest, AClickDuringAGenerationIsRefused) {
    ShowAndActivate();
    int clicks = 0, finished = 0, posted = 0;
    QObject::connect(form->btnEquat1d, &QPushButton::clicked, [&] { ++clicks; });
    QObject::connect(form.get(), &TForm1::GenerationFinished, [&] { ++finished; });
    // The first change of the subject (its clearing) posts a second click on the same button;
    // the event pumping of the generation delivers it while the first still runs.
    auto c = QObject::connect(form->RxE1, &equat::RichEdit::Changed, [&] {
        if (posted++) return;
        EXPECT_TRUE(form->busy());
        const QPointF at(10, 10);
        QApplication::postEvent(
            form->btnEquat1d,
            new QMouseEvent(QEvent::MouseButtonPress, at, form->btnEquat1d->mapToGlobal(at),
                            Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
        QApplication::postEvent(
            form->btnEquat1d,
            new QMouseEvent(QEvent::MouseButtonRelease, at, form->btnEquat1d->mapToGlobal(at),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
    });
    Generate(8);
    QObject::disconnect(c);
    EXPECT_EQ(clicks, 2);    // the posted click did arrive during the generation
    EXPECT_EQ(finished, 1);  // and ran no generation of its own
    EXPECT_FALSE(form->busy());
    EXPECT_EQ(form->Memo1->toPlainText().split('\n').size() % 2, 0);
    Generate(8);  // once it is over, the button works again
    EXPECT_EQ(finished, 2);
}

// Draw choices other than the kinds' own are said in the menu bar and the title, with a way
// back; nothing of the design area moves.
TEST_F(WindowTest, DrawChoicesInPlaceAreShownWithAWayBack) {
    ShowAndActivate();
    const QString title = form->windowTitle();
    QWidget* corner = form->MainMenu->cornerWidget();
    const QRect area = form->designArea()->geometry();
    struct Row {
        equat::DrawChoices choices;
        const char* text;
    };
    for (const Row& r : {Row{{.cases = 1}, "Tirage : cas choisis"},
                         Row{{.solutions = equat::Solutions::Integer, .progressive = true},
                             "Tirage : entiers seulement, progressive"}}) {
        form->spTirage->setValue(static_cast<int>(equat::DrawChoicesFlags(r.choices)));
        EXPECT_TRUE(corner->isVisible());
        EXPECT_EQ(form->btnTirageChoisi->text(), r.text);
        EXPECT_GE(corner->width(), corner->sizeHint().width());  // the whole text shows
        EXPECT_EQ(form->windowTitle(), title + " - tirage choisi");
        EXPECT_EQ(form->designArea()->geometry(), area);
    }
    form->mnuTirageHabituel->trigger();
    EXPECT_EQ(form->spTirage->value(), 0);
    EXPECT_FALSE(corner->isVisible());
    EXPECT_EQ(form->windowTitle(), title);
}

// Whatever replaces or closes documents changed by hand asks first; declined, they stay.
TEST_F(WindowTest, HandEditsAreNotLostWithoutAQuestion) {
    ShowAndActivate();
    QTemporaryDir out;
    const auto saved = std::optional(out.filePath("devoir.rtf"));
    form->output().SetSaveDialog([&](QWidget*, const QString&, const QString&) { return saved; });
    form->output().SetOpenDialog([&](QWidget*, const QString&) { return saved; });
    form->output().SetDoneBox([](QWidget*, const QString&, const QString&) {});
    Generate(3);
    ASSERT_TRUE(form->output().Save());
    form->btnEquat1d->click();  // what a generation loads is no hand edit
    EXPECT_TRUE(questions.isEmpty());
    const std::function<void()> replacing[] = {
        [&] { form->btnEquat2d->click(); }, [&] { form->mnuVirgule->toggle(); },
        [&] { form->mnuOuvrir->trigger(); }, [&] { form->close(); }};
    for (const auto& act : replacing) {
        form->ckbEdite->setChecked(true);
        QTest::keyClicks(form->RxE2, "ZZZ");
        for (bool agree : {false, true}) {
            questions.clear();
            confirm = agree;
            act();
            EXPECT_EQ(
                questions,
                QStringList{"Les modifications faites à la main seront perdues. Continuer ?"});
            EXPECT_EQ(form->RxE2->Text().contains("ZZZ"), !agree || !form->isVisible());
        }
    }
    EXPECT_FALSE(form->isVisible());
}

// A change of the key's style or of the comma redoes the pair on screen from the same draws:
// the documents are those a generation in the new style would make, and the stream is where
// the first generation left it.
TEST_F(WindowTest, TheKeyOnScreenFollowsItsStyleAndTheComma) {
    form->trbNiveau->setValue(3);
    struct Row {
        int style;
        bool comma;
    };
    for (std::uint32_t seed : {7u, 4242u, 99991u}) {
        for (const Row r : {Row{1, false}, Row{2, true}, Row{3, true}, Row{0, false}}) {
            SCOPED_TRACE(testing::Message() << seed << " style " << r.style << " " << r.comma);
            form->random().setSeed(seed);
            Generate(8);
            const std::uint32_t after = form->random().seed();
            form->cbCorrige->setCurrentIndex(r.style);
            form->mnuVirgule->setChecked(r.comma);
            const QString subject = form->RxE1->Text(), key = form->RxE2->Text();
            EXPECT_EQ(form->random().seed(), after);
            form->random().setSeed(seed);
            Generate(8);
            EXPECT_EQ(form->RxE1->Text(), subject);
            EXPECT_EQ(form->RxE2->Text(), key);
        }
    }
}

// "Fichier > Ouvrir..." shows a saved pair again, the key found by its "_Cor" name whichever
// of the two is chosen.
TEST_F(WindowTest, OpenShowsASavedPairAgain) {
    QTemporaryDir out;
    QStringList errors;
    auto& output = form->output();
    output.SetErrorBox([&](QWidget*, const QString& m) { errors << m; });
    output.SetDoneBox([](QWidget*, const QString&, const QString&) {});
    output.SetSaveDialog([&](QWidget*, const QString&, const QString&) {
        return std::optional(out.filePath("devoir.rtf"));
    });
    Generate(4);
    ASSERT_TRUE(output.Save());
    const QString subject = form->RxE1->Text(), key = form->RxE2->Text();
    QFile::copy(out.filePath("devoir.rtf"), out.filePath("seul.rtf"));
    struct Row {
        const char* chosen;
        QString key;
        qsizetype errors;  // a missing key is said
    };
    for (const Row& r :
         {Row{"devoir.rtf", key, 0}, Row{"devoir_Cor.rtf", key, 0}, Row{"seul.rtf", "", 1}}) {
        SCOPED_TRACE(r.chosen);
        form->btnEquat2d->click();
        errors.clear();
        output.SetOpenDialog(
            [&](QWidget*, const QString&) { return std::optional(out.filePath(r.chosen)); });
        form->mnuOuvrir->trigger();
        EXPECT_EQ(form->RxE1->Text(), subject);
        EXPECT_EQ(form->RxE2->Text(), r.key);
        EXPECT_EQ(errors.size(), r.errors);
        // Documents of no generation: a style change has nothing to redo.
        form->cbCorrige->setCurrentIndex((form->cbCorrige->currentIndex() + 1) % 3);
        EXPECT_EQ(form->RxE2->Text(), r.key);
    }
    EXPECT_EQ(form->sheetBaseName(), "seul");
    EXPECT_EQ(form->saveDialogInitialDir(), out.path());
}

TEST_F(WindowTest, TwoHundredGenerationsReplaceEverythingWithoutGrowth) {
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "AddressSanitizer keeps freed memory in quarantine: resident size says nothing";
#endif
    ShowAndActivate();
    form->spMaxLigne->setValue(40);
    auto generateAndCheck = [&](int round) {
        form->btnEquat1d->click();
        const QString base = form->sheetBaseName();
        const QString subject = form->RxE1->Text();
        ASSERT_EQ(subject.count(base), 1) << round;
        ASSERT_EQ(subject.count("°/"), 40) << round;
        ASSERT_EQ(form->RxE2->Text().count("°/"), 40) << round;
        const QStringList memo = form->Memo1->toPlainText().split('\n');
        ASSERT_TRUE(memo.first().startsWith("1°/")) << round;
        ASSERT_GE(memo.size(), 80) << round;
        ASSERT_EQ(memo.filter(QRegularExpression("^1°/")).size(), 1) << round;
    };
    for (int i = 0; i < 20; ++i) generateAndCheck(i);
    const long before = ResidentKiB();
    for (int i = 0; i < 200; ++i) generateAndCheck(i);
    const long growth = ResidentKiB() - before;
    EXPECT_LT(growth, 4096) << "resident memory grew by " << growth << " KiB";
    std::printf("resident growth over 200 generations: %ld KiB\n", growth);
}

// The adapted layout redoes the pair on screen from the same draws: the same text, in the
// layout's font; the next pair comes from the stream as it would have.
TEST_F(WindowTest, AdaptedLayoutRedoesThePairOnScreen) {
    ShowAndActivate();
    form->btnEquat2d->click();
    const QString subject = form->RxE1->toPlainText(), key = form->RxE2->toPlainText();
    const std::uint32_t after = form->random().seed();
    equat::AdaptedLayout layout;
    layout.on = true;
    layout.font = equat::AdaptedFont::DejaVuSans;
    form->SetAdaptedLayout(layout);
    EXPECT_TRUE(form->mnuAdaptee->isChecked());
    EXPECT_EQ(form->RxE1->toPlainText(), subject);
    EXPECT_EQ(form->RxE2->toPlainText(), key);
    EXPECT_EQ(form->random().seed(), after);
    EXPECT_EQ(
        QTextCursor(form->RxE1->document()).charFormat().fontFamilies().toStringList().value(0),
        "DejaVu Sans");
    form->SetAdaptedLayout(equat::AdaptedLayout{});
    EXPECT_FALSE(form->mnuAdaptee->isChecked());
    EXPECT_EQ(form->RxE1->toPlainText(), subject);
}

}  // namespace

#include "uequat_test.moc"

// "Feuille > Tirage...": the dialog's choices draw the next sheet and survive a restart;
// docs/tirage.png and docs/tirage-dialog.png are taken when EQUAT_SCREENSHOTS names a folder.
TEST_F(WindowTest, DrawDialogChoicesDrawTheSheetAndAreKept) {
    auto* tirage = form->findChild<QAction*>("mnuTirage");
    ASSERT_NE(tirage, nullptr);
    const QString shots = qEnvironmentVariable("EQUAT_SCREENSHOTS");
    QTimer::singleShot(0, [&] {
        auto* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        // Only the double root: the second and third cases unticked.
        auto boxes = dialog->findChildren<QCheckBox*>();
        ASSERT_GE(boxes.size(), 3);
        boxes[0]->setChecked(false);
        boxes[1]->setChecked(false);
        if (!shots.isEmpty()) dialog->grab().save(shots + "/tirage-dialog.png");
        static_cast<QDialog*>(dialog)->accept();
    });
    tirage->trigger();
    form->show();
    form->btnEquat2d->click();
    const QString key = form->RxE2->Text();
    EXPECT_EQ(key.count(QString::fromUtf8("\xCE\x94 = 0 ")), form->spMaxLigne->value());
    if (!shots.isEmpty()) form->grab().save(shots + "/tirage.png");
    form->FormStorage1->SaveSettings();
    const int stored = form->findChild<QSpinBox*>("spTirage")->value();
    EXPECT_NE(stored, 0);
    auto again = std::make_unique<TForm1>();
    again->FormStorage1->SetIniFileName(iniDir.filePath("test_uequat.ini"));
    again->FormStorage1->RestoreSettings();
    EXPECT_EQ(again->findChild<QSpinBox*>("spTirage")->value(), stored);
    EXPECT_TRUE(again->btnTirageChoisi->isVisibleTo(again.get()));  // said after a restart
}
