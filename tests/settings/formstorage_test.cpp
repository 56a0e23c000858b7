// SPDX-License-Identifier: GPL-3.0-or-later
// The settings store through the real window and a real INI file on disk.
#include "settings/formstorage.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/qt_environment.h"
#include "app/uequat.h"
#include "app/widgets.h"
#include "core/sheet.h"
#include "settings/inifile.h"
#include "settings/settingsmodel.h"

using equat::FormStorage;
using equat::TForm1;

namespace {

class FakeDriveProbe : public equat::DriveTypeProbe {
  public:
    FakeDriveProbe(bool removable, std::vector<std::filesystem::path>* asked)
        : removable_(removable), asked_(asked) {}
    bool IsRemovable(const std::filesystem::path& file) const override {
        if (asked_) asked_->push_back(file);
        return removable_;
    }

  private:
    bool removable_;
    std::vector<std::filesystem::path>* asked_;
};

std::string ReadBytes(const QString& path) {
    std::ifstream in(QFile::encodeName(path).toStdString(), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteBytes(const QString& path, const std::string& bytes) {
    std::ofstream out(QFile::encodeName(path).toStdString(), std::ios::binary);
    out << bytes;
}

// An INI text from lines, each ended by CR LF.
std::string Ini(std::initializer_list<std::string> lines) {
    std::string s;
    for (const auto& l : lines) s += l + "\r\n";
    return s;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find("\r\n", pos);
        if (end == std::string::npos) {
            out.push_back(text.substr(pos));
            break;
        }
        out.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
    return out;
}

std::string KeyOf(const std::string& line) {
    return line.substr(0, line.find('='));
}

class FormStorageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        iniPath = dir.filePath("equat.ini");
    }
    void TearDown() override {
        form.reset();
        QApplication::processEvents();
    }

    // A new run of the program: the window is created, pointed at the file and shown.
    // The frame's rectangle as the file keeps it: the menu bar counts as the frame's.
    QRect DesignFrame() const {
        return form->frameGeometry().adjusted(0, 0, 0,
                                              form->designArea()->height() - form->height());
    }
    void Start(bool removable = false) {
        form.reset();
        form = std::make_unique<TForm1>();
        form->FormStorage1->SetIniFileName(iniPath);
        // The raw pointer: the hook also runs while the window is being destroyed.
        form->FormStorage1->SetErrorHandler([this, f = form.get()](const QString& m) {
            errors << m;
            noticeShownAtError << !f->Panel3->isHidden();
        });
        form->FormStorage1->SetDriveTypeProbe(
            std::make_unique<FakeDriveProbe>(removable, &probeAsked));
        form->show();
        QApplication::processEvents();
    }

    // The teacher closes the window, and the program ends.
    void CloseAndEnd() {
        EXPECT_TRUE(form->close());
        form.reset();
    }

    void Restart() {
        CloseAndEnd();
        Start();
    }

    std::string Value(const std::string& section, const std::string& key) {
        const auto doc = equat::IniDocument::Parse(ReadBytes(iniPath));
        return doc.ReadString(section, key, "<missing>");
    }
    std::string Value(const std::string& key) { return Value("TForm1", key); }

    QRect FrameOf(const equat::IniRect& r) {
        return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
    }

    QString ScreenSuffix() {
        const QRect g = QGuiApplication::primaryScreen()->geometry();
        return QString("(%1x%2)").arg(g.width()).arg(g.height());
    }
    int Ppi() { return qRound(QGuiApplication::primaryScreen()->logicalDotsPerInch()); }

    QTemporaryDir dir;
    QString iniPath;
    std::unique_ptr<TForm1> form;
    QStringList errors;
    QList<bool> noticeShownAtError;
    std::vector<std::filesystem::path> probeAsked;
};

// ---- The first run ---------------------------------------------------------------------------

TEST_F(FormStorageTest, NoFileGivesTheDesignValuesAndTheFirstCloseWritesBothSections) {
    Start();
    EXPECT_EQ(form->spMaxLigne->value(), 25);
    EXPECT_EQ(form->Combo1->count(), 3);
    EXPECT_EQ(form->Combo1->currentText(), "Calculer ");
    EXPECT_TRUE(form->CheckBox1->isChecked());
    EXPECT_EQ(form->level(), 1);
    const QRect frame = DesignFrame();  // the file keeps the rectangle without the menu bar
    CloseAndEnd();

    const std::string text = ReadBytes(iniPath);
    const auto lines = Lines(text);
    std::vector<std::string> keys;
    for (const auto& l : lines)
        if (!l.empty()) keys.push_back(KeyOf(l));
    const std::string s = ScreenSuffix().toStdString();
    const std::vector<std::string> expected = {
        "[TForm1]",
        "FormVersion",
        "Flags",
        "ShowCmd",
        "PixelsPerInch",
        "MinMaxPos" + s,
        "MinMaxPos",
        "NormPos" + s,
        "NormPos",
        "Visible",
        "spMaxLigne_Value",
        "spinterligne_Value",
        "eTitre1_Text",
        "eSepar_Text",
        "spCorriges_Value",
        "spSujets_Value",
        "SaveDialog1_InitialDir",
        "Combo1_Text",
        "CheckBox1_Checked",
        "trbNiveau_Position",
        "ckbEdite_Checked",
        "[TForm1.Combo1_Items]",
        "Count",
        "Item0",
        "Item1",
        "Item2",
    };
    EXPECT_EQ(keys, expected);
    EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1) << "lines end with CR LF";

    const std::string norm = std::to_string(frame.left()) + "," + std::to_string(frame.top()) +
                             "," + std::to_string(frame.left() + frame.width()) + "," +
                             std::to_string(frame.top() + frame.height());
    struct Row {
        std::string key, value;
    };
    const Row rows[] = {
        {"FormVersion", "0"},
        {"Flags", "0"},
        {"ShowCmd", "1"},
        {"PixelsPerInch", std::to_string(Ppi())},
        {"NormPos" + s, norm},
        {"NormPos", norm},
        {"Visible", "0"},
        {"spMaxLigne_Value", "25"},
        {"spinterligne_Value", "1"},
        {"eTitre1_Text", std::string(equat::kDefaultTitle)},
        {"eSepar_Text", std::string(123, '-')},
        {"spCorriges_Value", "1"},
        {"spSujets_Value", "1"},
        {"SaveDialog1_InitialDir", ""},
        {"Combo1_Text", "Calculer"},
        {"CheckBox1_Checked", "True"},
        {"trbNiveau_Position", "1"},
        {"ckbEdite_Checked", "False"},
    };
    for (const auto& r : rows) EXPECT_EQ(Value(r.key), r.value) << r.key;
    EXPECT_EQ(Value("TForm1.Combo1_Items", "Count"), "3");
    EXPECT_EQ(Value("TForm1.Combo1_Items", "Item1"),
              "R\xE9soudre les \xE9quations suivantes (\xE9ventuellement \xE0 0,01 pr\xE8s)");
    EXPECT_TRUE(errors.isEmpty());
}

// ---- Stored values -------------------------------------------------------------------------

TEST_F(FormStorageTest, StoredValuesAreAppliedWithTheirRules) {
    struct Row {
        const char* name;
        std::string entries;  // lines of section TForm1 (and more sections after)
        std::function<void(TForm1&)> check;
    };
    const Row rows[] = {
        {"integer above its range", "spMaxLigne_Value=99",
         [](TForm1& f) { EXPECT_EQ(f.spMaxLigne->value(), 40); }},
        {"integer not a number", "spMaxLigne_Value=vingt",
         [](TForm1& f) { EXPECT_EQ(f.spMaxLigne->value(), 1); }},
        {"integer with blanks and quotes", "spinterligne_Value=\" 7 \"",
         [](TForm1& f) { EXPECT_EQ(f.spinterligne->value(), 7); }},
        {"copies clamped", "spSujets_Value=-5\r\nspCorriges_Value=5000",
         [](TForm1& f) {
             EXPECT_EQ(f.spSujets->value(), 0);
             EXPECT_EQ(f.spCorriges->value(), 1000);
         }},
        {"level below its range", "trbNiveau_Position=0",
         [](TForm1& f) {
             EXPECT_EQ(f.trbNiveau->value(), 1);
             EXPECT_EQ(f.level(), 1);
         }},
        {"level through its handler", "trbNiveau_Position=2",
         [](TForm1& f) {
             EXPECT_EQ(f.level(), 2);
             EXPECT_EQ(f.trbNiveau->toolTip(), "Niveau 2");
         }},
        {"false in small letters", "CheckBox1_Checked=false",
         [](TForm1& f) {
             EXPECT_FALSE(f.CheckBox1->isChecked());
             EXPECT_FALSE(f.eSepar->isEnabled()) << "the click handler ran";
         }},
        {"0 is no boolean", "CheckBox1_Checked=0",
         [](TForm1& f) {
             EXPECT_TRUE(f.CheckBox1->isChecked());
             EXPECT_TRUE(f.eSepar->isEnabled());
         }},
        {"edit mode through its handler", "ckbEdite_Checked=TRUE",
         [](TForm1& f) { EXPECT_TRUE(f.editMode()); }},
        {"answer key style", "cbCorrige_ItemIndex=1",
         [](TForm1& f) {
             EXPECT_EQ(f.cbCorrige->currentText(), "Exact");
             EXPECT_EQ(f.ReadSheetSettings().keyStyle, equat::KeyStyle::Exact);
         }},
        {"the panes' border", "Splitter1_Position=700",
         [](TForm1& f) { EXPECT_EQ(f.Splitter1->value(), 700); }},
        {"decimal comma, a menu item", "mnuVirgule_Checked=True",
         [](TForm1& f) { EXPECT_TRUE(f.ReadSheetSettings().decimalComma); }},
        {"graphs of the key, a menu item", "mnuGraphes_Checked=True",
         [](TForm1& f) { EXPECT_TRUE(f.ReadSheetSettings().graphs); }},
        {"answer key style out of its range", "cbCorrige_ItemIndex=7",
         [](TForm1& f) { EXPECT_EQ(f.cbCorrige->currentIndex(), equat::kKeyStyleCount - 1); }},
        {"present but empty title",
         "eTitre1_Text=", [](TForm1& f) { EXPECT_EQ(f.eTitre1->text(), ""); }},
        {"separator trimmed, counter follows", "eSepar_Text=  ==**==  ",
         [](TForm1& f) {
             EXPECT_EQ(f.eSepar->text(), "==**==");
             EXPECT_EQ(f.Label10->text(), "(6)");
         }},
        {"accented title", "eTitre1_Text=\xC9l\xE8ve : \x80",
         [](TForm1& f) { EXPECT_EQ(f.eTitre1->text(), "Élève : €"); }},
        {"title cut to its field", "eTitre1_Text=" + std::string(300, 'x'),
         [](TForm1& f) { EXPECT_EQ(f.eTitre1->text(), QString(equat::kMaxTitleLength, 'x')); }},
        {"instruction list replaced, text kept",
         "Combo1_Text=Calculer\r\n[TForm1.Combo1_Items]\r\nCount=2\r\nItem0=Un\r\nItem1= Deux ",
         [](TForm1& f) {
             ASSERT_EQ(f.Combo1->count(), 2);
             EXPECT_EQ(f.Combo1->itemText(0), "Un");
             EXPECT_EQ(f.Combo1->itemText(1), "Deux");
             EXPECT_EQ(f.Combo1->currentText(), "Calculer");
         }},
        {"count of zero keeps the list", "[TForm1.Combo1_Items]\r\nCount=0\r\nItem0=Un",
         [](TForm1& f) { EXPECT_EQ(f.Combo1->count(), 3); }},
        {"save folder loses its trailing delimiter", "SaveDialog1_InitialDir=/srv/feuilles/",
         [](TForm1& f) { EXPECT_EQ(f.saveDialogInitialDir(), "/srv/feuilles"); }},
        {"version below 0 blocks everything",
         "FormVersion=-1\r\nspMaxLigne_Value=5\r\ntrbNiveau_Position=3\r\nShowCmd=3",
         [](TForm1& f) {
             EXPECT_EQ(f.spMaxLigne->value(), 25);
             EXPECT_EQ(f.level(), 1);
             EXPECT_FALSE(f.isMaximized());
         }},
        {"unknown text for a key of another kind", "Flags=x\r\nShowCmd=zz\r\nspSujets_Value=3",
         [](TForm1& f) {
             EXPECT_EQ(f.spSujets->value(), 3);
             EXPECT_FALSE(f.isMaximized());
         }},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        WriteBytes(iniPath, "[TForm1]\r\n" + r.entries + "\r\n");
        Start();
        r.check(*form);
        form.reset();
    }
}

TEST_F(FormStorageTest, EqualRestoredValuesRunNoHandler) {
    WriteBytes(iniPath, Ini({"[TForm1]", "spMaxLigne_Value=25", "trbNiveau_Position=1",
                             "CheckBox1_Checked=True", "eTitre1_Text=Titre"}));
    form = std::make_unique<TForm1>();
    form->FormStorage1->SetIniFileName(iniPath);
    int levelChanges = 0, separToggles = 0, titleChanges = 0;
    QObject::connect(form->trbNiveau, &QSlider::valueChanged, [&] { ++levelChanges; });
    QObject::connect(form->CheckBox1, &QCheckBox::toggled, [&] { ++separToggles; });
    QObject::connect(form->eTitre1, &QLineEdit::textChanged, [&] { ++titleChanges; });
    form->show();
    EXPECT_EQ(levelChanges, 0);
    EXPECT_EQ(separToggles, 0);
    EXPECT_EQ(titleChanges, 1);
    EXPECT_EQ(form->eTitre1->cursorPosition(), 0);
}

// ---- Across restarts -----------------------------------------------------------------------

TEST_F(FormStorageTest, ChangedSettingsComeBackAfterARestart) {
    Start();
    form->spMaxLigne->setValue(12);
    form->spinterligne->setValue(0);
    form->trbNiveau->setValue(3);
    form->ckbEdite->setChecked(true);
    form->CheckBox1->setChecked(false);
    form->spSujets->setValue(30);
    form->eTitre1->setText("\"Classe de 3e B\"");  // quoted on both ends: keeps its quotes
    form->eSepar->setText("'*'");
    form->Combo1->addItem("  Calculer les expressions suivantes :  ");
    form->Combo1->setEditText("Simplifier");
    form->setSaveDialogInitialDir("/srv/données");
    Restart();

    EXPECT_EQ(form->spMaxLigne->value(), 12);
    EXPECT_EQ(form->spinterligne->value(), 0);
    EXPECT_EQ(form->level(), 3);
    EXPECT_EQ(form->trbNiveau->toolTip(), "Niveau 3");
    EXPECT_TRUE(form->editMode());
    EXPECT_FALSE(form->eSepar->isEnabled());
    EXPECT_EQ(form->spSujets->value(), 30);
    EXPECT_EQ(form->eTitre1->text(), "\"Classe de 3e B\"");
    EXPECT_EQ(form->eSepar->text(), "'*'");
    ASSERT_EQ(form->Combo1->count(), 4);
    EXPECT_EQ(form->Combo1->itemText(3), "  Calculer les expressions suivantes :  ")
        << "list items are kept untrimmed";
    EXPECT_EQ(form->Combo1->currentText(), "Simplifier");
    EXPECT_EQ(form->saveDialogInitialDir(), "/srv/données");
    EXPECT_EQ(Value("eTitre1_Text"), "\"Classe de 3e B\"");
    EXPECT_NE(ReadBytes(iniPath).find("eTitre1_Text=\"\"Classe de 3e B\"\"\r\n"),
              std::string::npos);
}

TEST_F(FormStorageTest, AnEmptiedInstructionListBringsBackTheDesignItems) {
    Start();
    while (form->Combo1->count() > 0) form->Combo1->removeItem(0);
    Restart();
    EXPECT_EQ(Value("TForm1.Combo1_Items", "Count"), "<missing>");
    ASSERT_EQ(form->Combo1->count(), 3);
    EXPECT_EQ(form->Combo1->itemText(0), "Résoudre les équations suivantes :");
}

TEST_F(FormStorageTest, BlockedRestoreStillRewritesVersionZero) {
    WriteBytes(iniPath, Ini({"[TForm1]", "FormVersion=-1", "spMaxLigne_Value=5"}));
    Start();
    CloseAndEnd();
    EXPECT_EQ(Value("FormVersion"), "0");
    EXPECT_EQ(Value("spMaxLigne_Value"), "25");
}

TEST_F(FormStorageTest, UnknownSectionsAndKeysSurviveASave) {
    WriteBytes(iniPath, Ini({"; notes of the teacher", "[Autre]", "Cle=valeur \"gard\xE9\"",
                             "[TForm1]", "Perso=42", "spMaxLigne_Value=30", "", "[Fin]", "x=1"}));
    Start();
    CloseAndEnd();
    const std::string text = ReadBytes(iniPath);
    for (const char* kept : {"; notes of the teacher\r\n[Autre]\r\nCle=valeur \"gard\xE9\"\r\n",
                             "[TForm1]\r\nPerso=42\r\nspMaxLigne_Value=30\r\n", "[Fin]\r\nx=1\r\n"})
        EXPECT_NE(text.find(kept), std::string::npos) << kept;
}

TEST_F(FormStorageTest, FolderTheCodePageCannotHoldStoresItsNearestParent) {
    struct Row {
        QString dir;
        std::string stored;
    };
    const Row rows[] = {
        {"", ""},
        {"/home/élève/Feuilles", "/home/\xE9l\xE8ve/Feuilles"},
        {"/home/prof/Документы/3e", "/home/prof"},
        {"/Документы", "/"},
        {"relatif/Документы", "relatif"},
        {"Документы", ""},
    };
    for (const auto& r : rows)
        EXPECT_EQ(FormStorage::FolderForFile(r.dir), r.stored) << r.dir.toStdString();
}

// ---- Placement -----------------------------------------------------------------------------

TEST_F(FormStorageTest, PositionSizeAndStateComeBack) {
    Start();
    form->setGeometry(form->geometry().translated(20, 21).adjusted(0, 0, -40, -30));
    const QRect frame = form->frameGeometry();
    Restart();
    EXPECT_EQ(form->frameGeometry(), frame);
    EXPECT_FALSE(form->isMaximized());

    form->showMaximized();
    QApplication::processEvents();
    Restart();
    EXPECT_TRUE(form->isMaximized());
    EXPECT_EQ(Value("ShowCmd"), "3");
    form->showNormal();
    QApplication::processEvents();
    EXPECT_EQ(form->frameGeometry().size(), frame.size()) << "the normal rectangle is kept";

    form->showMinimized();
    QApplication::processEvents();
    Restart();
    EXPECT_EQ(Value("ShowCmd"), "2");
    EXPECT_TRUE(form->isMinimized());
    EXPECT_FALSE(form->isMaximized());
}

TEST_F(FormStorageTest, PlacementEntriesFollowTheScreenRules) {
    Start();
    const QRect centred = DesignFrame();
    form.reset();
    const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
    const std::string suffix = ScreenSuffix().toStdString();
    const std::string ppi = std::to_string(Ppi());
    struct Row {
        const char* name;
        std::vector<std::string> lines;
        QRect frame;  // expected frame geometry
        bool maximized;
    };
    const Row rows[] = {
        {"screen's own key first",
         {"PixelsPerInch=" + ppi, "NormPos" + suffix + "=10,20,710,520", "NormPos=30,40,730,540"},
         QRect(10, 20, 700, 500),
         false},
        {"another screen size: the plain key",
         {"PixelsPerInch=" + ppi, "NormPos(1x1)=1,1,2,2", "NormPos=30,40,730,540"},
         QRect(30, 40, 700, 500),
         false},
        {"another pixels per inch: only the state",
         {"PixelsPerInch=" + std::to_string(Ppi() + 24), "NormPos=30,40,730,540", "ShowCmd=3"},
         centred,
         true},
        {"left not below right: nothing moves", {"NormPos=500,40,400,540"}, centred, false},
        {"no placement values: the centred place",
         {"PixelsPerInch=" + ppi, "ShowCmd=1"},
         centred,
         false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        std::string text = "[TForm1]\r\n";
        for (const auto& l : r.lines) text += l + "\r\n";
        WriteBytes(iniPath, text);
        Start();
        EXPECT_EQ(form->isMaximized(), r.maximized);
        if (r.maximized) form->showNormal();
        QApplication::processEvents();
        EXPECT_EQ(DesignFrame(), r.frame);
        form.reset();
    }
    // Hostile rectangles: never larger than the screen, never out of every screen's sight.
    for (const char* norm : {"NormPos=0,0,1000000,1000000", "NormPos=90000,90000,90800,90400",
                             "NormPos=-2000000,0,100,100"}) {
        SCOPED_TRACE(norm);
        WriteBytes(iniPath, Ini({"[TForm1]", "PixelsPerInch=" + ppi, norm}));
        Start();
        // The design window itself may be larger than a small screen.
        const QRect f = form->frameGeometry();
        EXPECT_LE(f.width(), std::max(avail.width(), centred.width()));
        EXPECT_LE(f.height(), std::max(avail.height(), centred.height()));
        EXPECT_TRUE(avail.intersects(f));
        form.reset();
    }
}

// ---- Failures and the close ----------------------------------------------------------------

TEST_F(FormStorageTest, AnUnwritableFileShowsTheMessageAndStillCloses) {
    // Root ignores permission bits: a folder in the file's place, or a regular file in its
    // folder's place, fails for everyone.
    struct Row {
        const char* name;
        std::function<QString()> makePath;
    };
    const Row rows[] = {
        {"a folder where the file should be",
         [&] {
             QDir(dir.path()).mkpath("blocked.ini");
             return dir.filePath("blocked.ini");
         }},
        {"a file where its folder should be",
         [&] {
             WriteBytes(dir.filePath("plain"), "x");
             return dir.filePath("plain/equat.ini");
         }},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        iniPath = r.makePath();
        errors.clear();
        Start();
        form->spMaxLigne->setValue(7);
        EXPECT_TRUE(form->close());
        EXPECT_FALSE(form->isVisible());
        const QString message = "Impossible d'écrire dans " + iniPath + ".";
        ASSERT_EQ(errors, QStringList{message});
        form.reset();  // the destruction tries once more
        EXPECT_EQ(errors, QStringList({message, message}));
    }
}

TEST_F(FormStorageTest, FailedCloseSaveIsRetriedAtDestruction) {
    QDir(dir.path()).mkpath("equat.ini");
    Start();
    form->spMaxLigne->setValue(9);
    EXPECT_TRUE(form->close());
    EXPECT_EQ(errors.size(), 1);
    QDir(iniPath).removeRecursively();  // the obstacle goes before the program ends
    form.reset();
    EXPECT_EQ(errors.size(), 1);
    EXPECT_EQ(Value("Visible"), "1");
    EXPECT_EQ(Value("spMaxLigne_Value"), "9");
}

TEST_F(FormStorageTest, SavesOncePerRunAndOnlyAfterARestore) {
    // Never shown: nothing restored, nothing written.
    form = std::make_unique<TForm1>();
    form->FormStorage1->SetIniFileName(iniPath);
    form.reset();
    EXPECT_FALSE(QFile::exists(iniPath));

    // Shown and ended without a close: the destruction writes, with "Visible" = "1".
    Start();
    form.reset();
    EXPECT_EQ(Value("Visible"), "1");

    // After a successful close save, the destruction writes nothing more.
    Start();
    EXPECT_TRUE(form->close());
    EXPECT_EQ(Value("Visible"), "0");
    QFile::remove(iniPath);
    form.reset();
    EXPECT_FALSE(QFile::exists(iniPath));
}

TEST_F(FormStorageTest, PleaseWaitNoticeOnlyFromARemovableDrive) {
    // The save fails on purpose so that the error hook sees the screen as the save left it.
    QDir(dir.path()).mkpath("equat.ini");
    for (bool removable : {true, false}) {
        SCOPED_TRACE(removable);
        errors.clear();
        noticeShownAtError.clear();
        probeAsked.clear();
        Start(removable);
        form->FormStorage1->SetExecutablePath("/media/cle/equat");
        EXPECT_TRUE(form->close());
        ASSERT_EQ(noticeShownAtError.size(), 1);
        EXPECT_EQ(noticeShownAtError[0], removable);
        EXPECT_EQ(probeAsked, std::vector<std::filesystem::path>{"/media/cle/equat"});
        if (removable) {
            const QRect client = form->designArea()->rect();
            EXPECT_EQ(form->Panel3->geometry().center(), client.center());
        }
        form.reset();
    }
}

// ---- The file's place ----------------------------------------------------------------------

TEST_F(FormStorageTest, TheFileLivesBesideTheProgramOrInTheUsersFolder) {
    TForm1 fresh;
    EXPECT_EQ(fresh.iniFileName(),
              QCoreApplication::applicationDirPath() + "/settings_formstorage_test.ini");
    EXPECT_EQ(fresh.Combo1->lineEdit()->maxLength(), int(equat::kIniMaxValueLength));
    fresh.FormStorage1->SetIniFileName({});  // the test leaves no file beside itself

    struct Row {
        QString executable;
        QString expected;
    };
    const QString d = dir.path();
    const Row rows[] = {
        {d + "/equat", d + "/equat.ini"},
        {d + "/equat.bin", d + "/equat.ini"},
        {d + "/v1.2/equat", d + "/v1.2/equat.ini"},
        {d + "/absent/equat", "/home/prof/.config/equat/equat.ini"},
    };
    QDir(d).mkpath("v1.2");
    for (const auto& r : rows)
        EXPECT_EQ(FormStorage::DefaultIniFileName(r.executable, "/home/prof/.config/equat"),
                  r.expected)
            << r.executable.toStdString();
}

}  // namespace
