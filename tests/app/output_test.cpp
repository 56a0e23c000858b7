// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/output.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QThread>
#include <algorithm>
#include <csignal>
#include <functional>
#include <map>
#include <memory>

#include "app/classdialog.h"
#include "app/layoutbox.h"
#include "app/uequat.h"
#include "app/widgets.h"
#include "core/choices.h"
#include "core/sheetcode.h"
#include "platform/answergrid.h"
#include "platform/classpdf.h"
#include "platform/pageimages.h"
#include "platform/pages.h"
#include "platform/paginator.h"
#include "platform/pngpages.h"
#include "platform/printing.h"
#include "platform/richedit.h"
#include "qt_environment.h"

using equat::Output;
using equat::TForm1;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

// The names in a folder, sorted and joined by commas.
std::string Entries(const QString& folder) {
    QStringList names =
        QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    names.sort(Qt::CaseSensitive);
    return names.join(',').toStdString();
}

// Every test runs in a fresh current directory with a window whose dialogs and error box
// answer from here.
class OutputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        oldCwd = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(dir.path()));
        form = std::make_unique<TForm1>();
        Output& out = output();
        out.SetErrorBox([this](QWidget*, const QString& m) { errors << m; });
        out.SetConfirmBox([this](QWidget*, const QString& q) {
            questions << q;
            return confirm;
        });
        out.SetDoneBox([this](QWidget*, const QString& m, const QString&) { done << m; });
        out.SetSaveDialog([this](QWidget*, const QString& folder,
                                 const QString& preset) -> std::optional<QString> {
            dialogFolder = folder;
            dialogPreset = preset;
            return answer;
        });
    }
    void TearDown() override {
        form.reset();
        QApplication::processEvents();
        QDir::setCurrent(oldCwd);
    }

    Output& output() { return form->output(); }

    void Generate(int count, int interline = 1, QPushButton* button = nullptr) {
        form->spMaxLigne->setValue(count);
        form->spinterligne->setValue(interline);
        (button ? button : form->btnEquat1d)->click();
        ASSERT_GT(form->RxE1->LineCount(), 0);
    }

    QTemporaryDir dir;
    QString oldCwd;
    std::unique_ptr<TForm1> form;
    QStringList errors, questions, done;
    bool confirm = true;
    std::optional<QString> answer;
    QString dialogFolder, dialogPreset;
};

// ---- Saving ---------------------------------------------------------------------------------

TEST_F(OutputTest, SaveWritesThePairUnderTheNamesTheTeacherChose) {
    struct Row {
        const char* typed;
        const char* subject;
        const char* key;
        bool plain;
    };
    const Row rows[] = {
        {"feuille", "feuille.rtf", "feuille_Cor.rtf", false},
        {"feuille.txt", "feuille.txt", "feuille_Cor.rtf", true},
        {"FEUILLE2.TxT", "FEUILLE2.TxT", "FEUILLE2_Cor.rtf", true},
        {"feuille.doc", "feuille.doc", "feuille_Cor.rtf", false},
        {"6e.A.rtf", "6e.A.rtf", "6e.A_Cor.rtf", false},
        {"sous.dossier/fiche", "sous.dossier/fiche.rtf", "sous.dossier/fiche_Cor.rtf", false},
    };
    QDir().mkdir("sous.dossier");
    Generate(4);
    form->setSaveDialogInitialDir(dir.path());
    for (const auto& r : rows) {
        SCOPED_TRACE(r.typed);
        QFile::remove(r.subject);
        QFile::remove(r.key);
        answer = dir.filePath(r.typed);
        form->btnEnregistre->click();
        EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
        EXPECT_EQ(dialogPreset, form->sheetBaseName() + ".rtf");
        EXPECT_EQ(dialogFolder, dir.path());
        const QByteArray subject = ReadAll(r.subject);
        const QByteArray key = ReadAll(r.key);
        ASSERT_FALSE(subject.isEmpty());
        EXPECT_EQ(subject.startsWith("{\\rtf1"), !r.plain);
        EXPECT_TRUE(key.startsWith("{\\rtf1"));
        if (r.plain) {
            form->RxE1->SelectAll();
            EXPECT_EQ(subject.toStdString(), form->RxE1->SelectionPlainText());
        }
        // The selection is put back (OutputsPutBackTheSelection...).
        EXPECT_EQ(form->RxE2->SelLength(), 0);
    }
    // Nothing but the files named above (no temporary files left behind).
    EXPECT_EQ(
        Entries(dir.path()),
        "6e.A.rtf,6e.A_Cor.rtf,FEUILLE2.TxT,FEUILLE2_Cor.rtf,feuille.doc,feuille.rtf,feuille.txt,"
        "feuille_Cor.rtf,sous.dossier");
}

// Either file of a pair (RTF or PDF) is replaced only once the teacher agreed; then the
// teacher is told what was written, and its folder is the next save's.
TEST_F(OutputTest, SavingAsksBeforeReplacingEitherFileAndSaysWhatItWrote) {
    Generate(3);
    QDir().mkdir("sub");
    answer = dir.filePath("sub/Devoir");
    const struct {
        const char* ext;
        bool (Output::*save)();
    } kinds[] = {{".rtf", &Output::Save}, {".pdf", &Output::SavePdf}};
    for (const auto& k : kinds) {
        const QString subject = QString("Devoir") + k.ext, key = QString("Devoir_Cor") + k.ext;
        for (const QString& existing : {key, subject}) {
            SCOPED_TRACE(existing.toStdString());
            for (const QString& name : {subject, key}) QFile::remove("sub/" + name);
            WriteAll("sub/" + existing, "not the pair's");
            questions.clear();
            done.clear();
            for (bool agree : {false, true}) {
                confirm = agree;
                EXPECT_EQ((output().*k.save)(), agree);
                EXPECT_EQ(ReadAll("sub/" + existing) == "not the pair's", !agree);
            }
            EXPECT_EQ(questions, QStringList(2, QString("Le fichier %1 existe déjà dans %2. Le "
                                                        "remplacer ?")
                                                    .arg(existing, dir.filePath("sub"))));
            EXPECT_EQ(done, QStringList{QString("2 fichiers enregistrés dans %1 :\n%2\n%3")
                                            .arg(dir.filePath("sub"), subject, key)});
            EXPECT_EQ(form->saveDialogInitialDir(), dir.filePath("sub"));
        }
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    EXPECT_TRUE(ReadAll("sub/Devoir_Cor.pdf").startsWith("%PDF"));
}

TEST_F(OutputTest, OutputsPutBackTheSelectionAndAGenerationShowsTheTop) {
    form->show();
    Generate(25);
    for (auto* area : {form->RxE1, form->RxE2}) {
        EXPECT_EQ(area->SelStart(), 0);
        EXPECT_EQ(area->verticalScrollBar()->value(), 0);
    }
    form->ckbEdite->setChecked(true);
    answer = QDir(dir.path()).filePath("kept.rtf");
    const std::function<void()> outputs[] = {[&] { output().Save(); }, [&] { output().Preview(); },
                                             [&] { output().Print(); }};
    for (const auto& put : outputs) {
        form->RxE1->SetSelStart(40);
        form->RxE1->SetSelLength(6);
        form->RxE2->SetSelStart(form->RxE2->TextLength());
        form->RxE1->verticalScrollBar()->setValue(17);
        put();
        EXPECT_EQ(form->RxE1->SelStart(), 40);
        EXPECT_EQ(form->RxE1->SelLength(), 6);
        EXPECT_EQ(form->RxE2->SelStart(), form->RxE2->TextLength());
        EXPECT_EQ(form->RxE2->SelLength(), 0);
        EXPECT_EQ(form->RxE1->verticalScrollBar()->value(), 17);
    }
    EXPECT_TRUE(QFile::exists(*answer));
}

TEST_F(OutputTest, SaveBeforeAnyGenerationPresetsTheBareExtension) {
    form->ckbEdite->click();
    form->RxE1->setPlainText("texte tapé");
    answer.reset();
    form->btnEnregistre->click();  // cancelled: nothing written
    EXPECT_EQ(dialogPreset, ".rtf");
    EXPECT_EQ(Entries(dir.path()), "");
    answer = dir.filePath(".rtf");
    form->btnEnregistre->click();
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(Entries(dir.path()), ".rtf,_Cor.rtf");
    EXPECT_TRUE(ReadAll(".rtf").contains("texte tap\\'e9"));
}

TEST_F(OutputTest, PlainTextKeepsTheSymbolBytesOfDeltaAndBraces) {
    // The systems' subject holds the brace pieces in the Symbol font.
    Generate(3, 1, form->btnSyst);
    answer = dir.filePath("syst.txt");
    form->btnEnregistre->click();
    ASSERT_TRUE(errors.isEmpty());
    const QByteArray text = ReadAll("syst.txt");
    EXPECT_FALSE(text.contains('?'));
    for (char piece : {'\xEC', '\xED', '\xEE'}) EXPECT_TRUE(text.contains(piece));
    // The answer key of the second degree holds the delta: saved as plain text it is the
    // Symbol font's "D", never a question mark.
    Generate(3, 1, form->btnEquat2d);
    form->RxE2->SelectAll();
    const std::string key = form->RxE2->SelectionPlainText();
    EXPECT_EQ(key.find('?'), std::string::npos);
}

TEST_F(OutputTest, AFileThatCannotBeWrittenIsReportedAndNothingIsHalfWritten) {
    Generate(3);
    // Root ignores permission bits, so unwritable places are made of what no one can write:
    // a folder path that runs through a regular file, and a directory standing where the
    // answer key should go (no file can be renamed over it).
    WriteAll("plainfile", "x");
    answer = dir.filePath("plainfile/feuille");
    form->btnEnregistre->click();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith(dir.filePath("plainfile/feuille.rtf") + " : "));
    EXPECT_TRUE(errors[0].endsWith(QString::fromUtf8(". Le corrigé n'a pas été enregistré.")));
    EXPECT_FALSE(errors[0].endsWith(".."));
    EXPECT_EQ(Entries(dir.path()), "plainfile");

    errors.clear();
    ASSERT_TRUE(QDir().mkpath("feuille_Cor.rtf/inside"));
    answer = dir.filePath("feuille");
    form->btnEnregistre->click();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith(dir.filePath("feuille_Cor.rtf") + " : "));
    EXPECT_TRUE(errors[0].contains(QString::fromUtf8("Le corrigé n'a pas été enregistré")));
    // The subject written before stays; the answer key's place is untouched.
    EXPECT_TRUE(ReadAll("feuille.rtf").startsWith("{\\rtf1"));
    EXPECT_EQ(Entries(dir.path()), "feuille.rtf,feuille_Cor.rtf,plainfile");
    EXPECT_EQ(Entries(dir.filePath("feuille_Cor.rtf")), "inside");
}

TEST_F(OutputTest, AWriteThatFailsHalfwayLeavesTheOldFileIntact) {
    Generate(20);
    WriteAll("feuille.rtf", "old subject");
    // A file-size limit makes the write itself fail after a few bytes, for root too.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    answer = dir.filePath("feuille");
    form->btnEnregistre->click();
    setrlimit(RLIMIT_FSIZE, &old);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(ReadAll("feuille.rtf"), "old subject");
    EXPECT_EQ(Entries(dir.path()), "feuille.rtf");
}

// ---- Preview --------------------------------------------------------------------------------

TEST_F(OutputTest, PreviewWritesAtMostTwoPagesAndFloatsCentred) {
    struct Row {
        int count, interline;
        bool secondPage;
    };
    for (const Row r : {Row{40, 10, true}, Row{1, 0, false}}) {
        SCOPED_TRACE(r.count);
        Generate(r.count, r.interline);
        EXPECT_FALSE(form->ScrollBox1->isVisible());  // hidden by the generation
        form->btnApercu->click();
        EXPECT_TRUE(errors.isEmpty());
        std::string expected = "TWFile.txt,Temp0.EMF";
        if (r.secondPage) expected += ",Temp1.EMF";
        // In a folder of the preview's own, never the teacher's.
        EXPECT_EQ(Entries(output().previewFolder()), expected);
        EXPECT_EQ(Entries(dir.path()), "");
        const auto& p = output().preview();
        EXPECT_FALSE(p.Image1->IsEmpty());
        EXPECT_EQ(p.Image2->IsEmpty(), !r.secondPage);
        EXPECT_TRUE(form->ScrollBox1->isVisible());
        EXPECT_TRUE(form->ScrollBox1->isWindow());
        EXPECT_EQ(form->ScrollBox1->size(), QSize(493, 497));
        EXPECT_EQ(form->ScrollBox1->verticalScrollBar()->value(), 0);
        EXPECT_EQ(p.Image1->geometry(), QRect(20, 20, 420, 594));
        EXPECT_EQ(p.pnlImage2->geometry(), QRect(5, 685, 460, 634));
    }
    // The first showing centred it; moved and shown again, it stays where it was put.
    const QRect screen = form->screen()->geometry();
    form->ScrollBox1->hide();
    form->ScrollBox1->move(screen.left() + 10, screen.top() + 20);
    form->btnApercu->click();
    EXPECT_EQ(form->ScrollBox1->pos(), QPoint(screen.left() + 10, screen.top() + 20));
}

TEST_F(OutputTest, PreviewFirstShowingIsCentredOnTheScreen) {
    Generate(2);
    form->btnApercu->click();
    const QRect screen = form->screen()->geometry();
    EXPECT_EQ(form->ScrollBox1->frameGeometry().topLeft(),
              QPoint(screen.left() + (screen.width() - 493) / 2,
                     screen.top() + (screen.height() - 497) / 2));
}

TEST_F(OutputTest, PreviewWithoutATemporaryFolderSaysSo) {
    Generate(3);
    // A temporary "folder" that is a regular file: nothing can be made in it, even by root.
    WriteAll("plainfile", "x");
    const QByteArray old = qgetenv("TMPDIR");
    qputenv("TMPDIR", dir.filePath("plainfile").toLocal8Bit());
    form->btnApercu->click();
    old.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", old);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith(QString::fromUtf8("Aperçu impossible")));
    EXPECT_FALSE(form->ScrollBox1->isVisible());
}

// The preview takes the keys at once and shows white pages with an edge on a grey desk; its
// files go when it closes, whichever way; files of the same names in the current folder are
// someone else's.
TEST_F(OutputTest, PreviewTakesTheKeysAndItsFilesGoWhenItCloses) {
    Generate(30, 5);
    for (const char* other : {"Temp0.EMF", "TWFile.txt"}) WriteAll(other, "not ours");
    const std::function<void()> closings[] = {
        [&] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); },
        [&] { form->btnEquat1d->click(); },
        [&] { form->close(); },
    };
    for (const auto& close : closings) {
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        form->btnApercu->click();
        const QString folder = output().previewFolder();
        EXPECT_EQ(Entries(folder), "TWFile.txt,Temp0.EMF,Temp1.EMF");
        QApplication::processEvents();
        EXPECT_EQ(QApplication::activeWindow(), form->ScrollBox1);
        close();
        EXPECT_FALSE(form->ScrollBox1->isVisible());
        EXPECT_FALSE(QFileInfo::exists(folder));
        EXPECT_EQ(Entries(dir.path()), "TWFile.txt,Temp0.EMF");
    }
    const auto& p = output().preview();
    const QImage shot = p.content->grab().toImage();
    const QPoint panel = p.pnlImage1->pos() + QPoint(0, 40);
    const int desk = qGray(shot.pixel(panel - QPoint(2, 0))), edge = qGray(shot.pixel(panel));
    EXPECT_EQ(shot.pixel(panel + QPoint(10, 0)), qRgb(255, 255, 255));
    EXPECT_LT(edge, desk);
    EXPECT_LT(desk, 215);
}

TEST_F(OutputTest, PreviewPagesBreakWherePrintedPagesBreak) {
    Generate(40, 6);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("printed.pdf"));
    printer.setPageSize(QPageSize(QPageSize::A4));
    std::vector<int> printed, previewed;
    QString error;
    ASSERT_TRUE(equat::PaintPages(form->RxE1->Pages(), printer, equat::PageRectTwips(printer),
                                  &printed, &error))
        << error.toStdString();
    equat::RichEditToEMF(form->RxE1->Pages(), dir.filePath("Temp"), printer, &previewed);
    ASSERT_GE(printed.size(), 3u);
    ASSERT_EQ(previewed.size(), 2u);
    EXPECT_EQ(previewed[0], printed[0]);
    EXPECT_EQ(previewed[1], printed[1]);
}

TEST_F(OutputTest, PagesSetTabsEveryHalfInchOnAnyDevice) {
    // Two tabs then a mark: on paper the mark stands one inch from the left edge, in the
    // page images as in the laid-out PNG pages.
    form->RxE1->Clear();
    form->RxE1->LoadRtfDocument(
        "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0 Arial;}}\\f0\\fs24\\tab\\tab "
        "\\u9608?\\par}");
    QStringList pngs;
    QString error;
    ASSERT_TRUE(equat::WritePngPages(form->RxE1->Pages(), dir.filePath("tab.png"),
                                     equat::DefaultPageLayout(), 144, &pngs, &error))
        << error.toStdString();
    ASSERT_EQ(pngs.size(), 1);
    const QImage page(pngs[0]);
    int left = -1;
    for (int x = 0; x < page.width() && left < 0; ++x)
        for (int y = 0; y < 60 && left < 0; ++y)
            if (qGray(page.pixel(x, y)) < 128) left = x;
    EXPECT_NEAR(left, 144, 6);  // one inch at 144 dots per inch
}

// ---- Printing -------------------------------------------------------------------------------

// The print queue of the tests (started by scripts/start-cups.sh) and the folder where it
// puts the PDF of every job.
struct Queue {
    QString name, outDir;
};

std::optional<Queue> TestQueue() {
    Queue q{qEnvironmentVariable("EQUAT_TEST_PRINTER", "equat-pdf"),
            qEnvironmentVariable("EQUAT_TEST_PDF_DIR", "/var/spool/cups-pdf/equat-pdf")};
    QProcess lpstat;
    lpstat.start("lpstat", {"-p", q.name});
    if (!lpstat.waitForFinished(10000) || lpstat.exitCode() != 0) return std::nullopt;
    return q;
}

// An IPP request for ipptool, written into the test's folder.
QString IppTest(const QString& scratch, const char* name, const char* operation, const char* body) {
    const QString path = scratch + "/" + name;
    QFile f(path);
    if (!f.exists() && f.open(QIODevice::WriteOnly)) {
        f.write(QByteArray("{\nNAME \"") + name + "\"\nOPERATION " + operation +
                "\nGROUP operation-attributes-tag\n"
                "ATTR charset attributes-charset utf-8\n"
                "ATTR language attributes-natural-language en\n"
                "ATTR uri printer-uri $uri\nATTR name requesting-user-name $user\n" +
                body + "STATUS successful-ok\n}\n");
    }
    return path;
}

// The answer's rows, without the column names.
QStringList Ipp(const Queue& q, const QString& test, const QStringList& defines = {}) {
    QProcess ipp;
    ipp.start("ipptool", QStringList{"-c"} + defines +
                             QStringList{"ipp://localhost/printers/" + q.name, test});
    if (!ipp.waitForFinished(10000)) return {};
    QStringList lines = QString::fromUtf8(ipp.readAllStandardOutput()).split('\n');
    if (!lines.isEmpty()) lines.removeFirst();
    return lines;
}

// Finished jobs of the queue, id to title. The job list leaves the titles out, so each job
// is asked for its own.
std::map<int, QString> CompletedJobs(const Queue& q, const QString& scratch) {
    const QString list = IppTest(scratch, "jobs.test", "Get-Jobs",
                                 "ATTR keyword which-jobs completed\n"
                                 "ATTR keyword requested-attributes job-id\n"
                                 "DISPLAY job-id\n");
    const QString one = IppTest(scratch, "job.test", "Get-Job-Attributes",
                                "ATTR integer job-id $job\n"
                                "ATTR keyword requested-attributes job-id,job-name\n"
                                "DISPLAY job-id\nDISPLAY job-name\n");
    std::map<int, QString> jobs;
    for (const QString& line : Ipp(q, list)) {
        bool ok = false;
        const int id = line.trimmed().toInt(&ok);
        if (ok) jobs[id] = QString();
    }
    (void)one;  // written here, asked by JobTitle
    return jobs;
}

// The title of one job.
QString JobTitle(const Queue& q, const QString& scratch, int id) {
    const QString one = scratch + "/job.test";
    const QStringList answer = Ipp(q, one, {"-d", QString("job=%1").arg(id)});
    return answer.isEmpty() ? QString() : answer.first().section(',', 1);
}

QString PdfText(const QString& path) {
    QProcess p;
    p.start("pdftotext", {path, "-"});
    if (!p.waitForFinished(20000)) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Text to compare with what pdftotext reads: without spaces, which it places by their
// positions, nor hyphens, of which it drops one in a long run.
QString Squeezed(QString s) {
    return s.remove(QRegularExpression("[\\s-]+"));
}

class PrintingTest : public OutputTest {
  protected:
    void SetUp() override {
        OutputTest::SetUp();
        queue = TestQueue();
        if (!queue) {
            GTEST_SKIP() << "\n*** NO PRINT QUEUE: the print service could not start here "
                            "(scripts/start-cups.sh); real printing is NOT tested. ***\n";
        }
        // Chosen in the printer dialog, as a teacher would.
        output().SetPrinterDialog([this](QWidget*, QPrinter& p) {
            p.setPrinterName(queue->name);
            p.setCopyCount(1);
            return true;
        });
        form->btnChoixImp->click();
        ASSERT_EQ(equat::CurrentPrinter().printerName(), queue->name);
    }

    // Waits for every job above `after` to finish, at most a minute, and returns them.
    std::map<int, QString> JobsAfter(int after, std::size_t expected) {
        std::map<int, QString> mine;
        QElapsedTimer clock;
        clock.start();
        do {
            mine.clear();
            for (const auto& [id, title] : CompletedJobs(*queue, dir.path()))
                if (id > after) mine[id] = title;
            if (mine.size() >= expected) break;
            QThread::msleep(200);
        } while (clock.elapsed() < 60000);
        for (auto& [id, title] : mine) title = JobTitle(*queue, dir.path(), id);
        return mine;
    }

    int LastJob() {
        const auto jobs = CompletedJobs(*queue, dir.path());
        return jobs.empty() ? 0 : jobs.rbegin()->first;
    }

    QString PdfOfJob(int id) {
        QElapsedTimer clock;
        clock.start();
        do {
            const QStringList found =
                QDir(queue->outDir).entryList({QString("*-job_%1.pdf").arg(id)}, QDir::Files);
            if (!found.isEmpty()) return QDir(queue->outDir).filePath(found.first());
            QThread::msleep(200);
        } while (clock.elapsed() < 20000);
        return {};
    }

    std::optional<Queue> queue;
};

TEST_F(PrintingTest, CopiesBecomeJobsTitledAfterTheirDocument) {
    struct Row {
        int sujets, corriges;
        std::vector<const char*> titles;
    };
    const Row rows[] = {{2, 0, {"Sujet", "Sujet"}},
                        {0, 3, {"Corrigé", "Corrigé", "Corrigé"}},
                        {1, 1, {"Sujet", "Corrigé"}}};
    Generate(40, 4);
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.sujets << " " << r.corriges);
        const int before = LastJob();
        form->spSujets->setValue(r.sujets);
        form->spCorriges->setValue(r.corriges);
        form->btnImprime->click();
        ASSERT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
        const auto jobs = JobsAfter(before, r.titles.size());
        ASSERT_EQ(jobs.size(), r.titles.size());
        auto it = jobs.begin();
        for (const char* title : r.titles) EXPECT_EQ(it++->second, QString::fromUtf8(title));
    }
    // The paper holds the documents' text, cut into the pages printing computed.
    const int before = LastJob();
    form->spSujets->setValue(1);
    form->spCorriges->setValue(1);
    form->btnImprime->click();
    const auto jobs = JobsAfter(before, 2);
    ASSERT_EQ(jobs.size(), 2u);
    const equat::RichEdit* docs[] = {form->RxE1, form->RxE2};
    int k = 0;
    for (const auto& [id, title] : jobs) {
        const QString pdf = PdfOfJob(id);
        ASSERT_FALSE(pdf.isEmpty()) << "no PDF for job " << id;
        const QString printed = Squeezed(PdfText(pdf));
        int missing = 0;
        for (const QString& line : docs[k]->Text().split('\n')) {
            const QString want = Squeezed(line);
            if (!want.isEmpty() && !printed.contains(want)) {
                ++missing;
                ADD_FAILURE() << "job " << id << " lacks: " << line.toStdString();
                if (missing > 3) break;
            }
        }
        ++k;
    }
}

TEST_F(PrintingTest, NothingIsPrintedWithoutASubjectLine) {
    Generate(2);
    form->ckbEdite->click();
    form->RxE1->clear();
    const int before = LastJob();
    form->spSujets->setValue(1);
    form->spCorriges->setValue(3);
    form->btnImprime->click();
    EXPECT_TRUE(errors.isEmpty());
    QThread::msleep(1500);
    EXPECT_TRUE(JobsAfter(before, 0).empty());
}

TEST_F(PrintingTest, PaperPagesMatchThePreviewsPageBreaks) {
    Generate(40, 10);
    std::vector<int> printed, previewed;
    QString error;
    const int before = LastJob();
    ASSERT_TRUE(equat::PrintDocument(form->RxE1->Pages(), equat::CurrentPrinter(), "Sujet", &error,
                                     &printed))
        << error.toStdString();
    equat::RichEditToEMF(form->RxE1->Pages(), dir.filePath("Temp"), equat::CurrentPrinter(),
                         &previewed);
    ASSERT_GE(printed.size(), 3u);
    ASSERT_EQ(previewed.size(), 2u);
    EXPECT_EQ(previewed[1], printed[1]);
    const auto jobs = JobsAfter(before, 1);
    ASSERT_EQ(jobs.size(), 1u);
    const QString pdf = PdfOfJob(jobs.begin()->first);
    ASSERT_FALSE(pdf.isEmpty());
    // The second paper page starts with the text at the preview's second page start.
    QProcess p;
    p.start("pdftotext", {"-f", "2", "-l", "2", pdf, "-"});
    ASSERT_TRUE(p.waitForFinished(20000));
    const QString page2 = Squeezed(QString::fromUtf8(p.readAllStandardOutput()));
    // The first words of the second page, and the last of the first.
    auto firstWords = [](const QStringList& lines) {
        for (const QString& l : lines)
            if (!Squeezed(l).isEmpty()) return Squeezed(l);
        return QString();
    };
    const QString text = form->RxE1->Text();
    QStringList page1 = text.left(previewed[1]).split('\n');
    std::reverse(page1.begin(), page1.end());
    const QString first = firstWords(text.mid(previewed[1]).split('\n'));
    const QString last = firstWords(page1);
    ASSERT_FALSE(first.isEmpty());
    ASSERT_FALSE(last.isEmpty());
    EXPECT_TRUE(page2.startsWith(first)) << page2.left(80).toStdString();
    EXPECT_FALSE(page2.contains(last)) << last.toStdString();
}

// ---- Class sets --------------------------------------------------------------------------

class ClassSetTest : public OutputTest {
  protected:
    void SetUp() override {
        OutputTest::SetUp();
        out = QDir(dir.path()).filePath("serie");
        ASSERT_TRUE(QDir().mkpath(out));
        dialog().SetFolderDialog([this](QWidget*, const QString&) {
            ++folderAsked;
            return out;
        });
        dialog().SetErrorBox([this](QWidget* parent, const QString& m) {
            errors << m;
            // No progress box may stand over a message.
            for (auto* p : parent->findChildren<QProgressDialog*>()) EXPECT_FALSE(p->isVisible());
        });
        dialog().SetConfirmBox([this](QWidget*, const QString& q) {
            questions << q;
            return confirm;
        });
        dialog().SetDoneBox([this](QWidget*, const QString& m, const QString& folder) {
            done << m;
            EXPECT_EQ(folder, out);
        });
    }
    equat::ClassSetDialog& dialog() { return form->classDialog(); }
    // The dialog as the window opens it.
    void Start() { dialog().StartFrom("1d", form->ReadSheetSettings()); }
    QStringList Written() const { return QDir(out).entryList(QDir::Files, QDir::Name); }

    QString out;
    int folderAsked = 0;
    QStringList questions, done;
    bool confirm = true;
};

TEST_F(ClassSetTest, SavesEveryOutputOfTheSetAndNothingWhenCancelled) {
    struct Row {
        const char* what;
        int copies;
        const char* names;
        bool grid;
        int cancelAt;  // the progress value at which the teacher cancels; 0: never
        bool pdf;
        QStringList expected;
    };
    const Row rows[] = {
        {"three copies as PDF with the grid",
         3,
         "",
         true,
         0,
         true,
         {"Serie_Equat1d_N2.pdf", "Serie_Equat1d_N2_Cor.pdf", "Serie_Equat1d_N2_Grille.pdf"}},
        {"cancelled halfway", 4, "", true, 2, true, {}},
        {"cancelled at the last moment", 4, "", false, 5, true, {}},
        {"a list of names as RTF", 1, "Zoé Martin\n\nAdam\n", false, 0, false, {}},
        {"cancelled RTF", 1, "Zoé\nAdam\nLéa\n", false, 2, false, {}},
    };
    form->trbNiveau->setValue(2);
    Start();
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        for (const QString& f : Written()) QFile::remove(QDir(out).filePath(f));
        dialog().spCopies->setValue(r.copies);
        dialog().mNoms->setPlainText(QString::fromUtf8(r.names));
        dialog().ckbGrille->setChecked(r.grid);
        dialog().SetProgressHook([&](QProgressDialog& p, int value) {
            if (value == r.cancelAt) p.cancel();
        });
        const bool done = r.pdf ? dialog().SavePdf() : dialog().SaveRtf();
        EXPECT_EQ(done, r.cancelAt == 0);
        EXPECT_TRUE(dialog().findChildren<QProgressDialog*>().isEmpty())
            << "the progress box stays";
        EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
        const QStringList files = Written();
        if (r.cancelAt != 0) {
            EXPECT_TRUE(files.isEmpty()) << files.join(' ').toStdString();
        } else if (r.pdf) {
            EXPECT_EQ(files, r.expected);
            for (const QString& f : files) {
                QFile pdf(QDir(out).filePath(f));
                ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
                EXPECT_TRUE(pdf.read(5) == "%PDF-") << f.toStdString();
            }
            const QString codes = PdfText(QDir(out).filePath(r.expected[0]));
            EXPECT_EQ(codes.count(QRegularExpression("Code\\s*:")), 3);
        } else {
            ASSERT_EQ(files.size(), 4);  // two pairs, named after their codes
            EXPECT_TRUE(files[1].endsWith("_Cor.rtf"));
            QFile rtf(QDir(out).filePath(files[0]));
            ASSERT_TRUE(rtf.open(QIODevice::ReadOnly));
            const QByteArray bytes = rtf.readAll();
            EXPECT_TRUE(bytes.contains("Adam") || bytes.contains("Martin"));
        }
    }
}

TEST_F(ClassSetTest, OneCopyIsThePairOnScreenAsEdited) {
    Generate(5);
    form->ckbEdite->setChecked(true);
    QTextCursor(form->RxE1->document()).insertText("Devoir maison ");
    Start();
    dialog().spCopies->setValue(1);
    dialog().ckbCodes->setChecked(false);
    ASSERT_TRUE(dialog().SavePdf());
    const QString base = form->sheetBaseName();
    EXPECT_EQ(Written(), (QStringList{base + ".pdf", base + "_Cor.pdf"}));
    EXPECT_TRUE(PdfText(QDir(out).filePath(base + ".pdf")).contains("Devoir maison"));
    // With its code or its grid ticked, one copy is a copy of the set: both are kept.
    for (const QString& f : Written()) QFile::remove(QDir(out).filePath(f));
    dialog().ckbCodes->setChecked(true);
    dialog().ckbGrille->setChecked(true);
    ASSERT_TRUE(dialog().SavePdf());
    EXPECT_EQ(Written(), (QStringList{"Serie_Equat1d_N1.pdf", "Serie_Equat1d_N1_Cor.pdf",
                                      "Serie_Equat1d_N1_Grille.pdf"}));
    EXPECT_EQ(PdfText(QDir(out).filePath(Written()[0])).count(QRegularExpression("Code\\s*:")), 1);
}

TEST_F(ClassSetTest, StartsFromTheWindowsChoicesWithTheFocusOnTheFirst) {
    form->trbNiveau->setValue(3);
    form->spMaxLigne->setValue(7);
    form->cbCorrige->setCurrentIndex(2);
    form->eTitre1->setText("Devoir 4");
    Start();
    EXPECT_EQ(dialog().spNiveau->value(), 3);
    EXPECT_EQ(dialog().spQuestions->value(), 7);
    EXPECT_EQ(dialog().cbCorrige->currentText(), form->cbCorrige->currentText());
    EXPECT_EQ(dialog().eTitre->text(), "Devoir 4");
    EXPECT_EQ(dialog().focusWidget(), dialog().cbType);
    // Changed in the dialog, the copies follow the dialog.
    dialog().spQuestions->setValue(3);
    dialog().cbCorrige->setCurrentIndex(0);
    ASSERT_TRUE(dialog().Draw());
    const auto& copy = dialog().set()->copies.front();
    EXPECT_EQ(copy.code.level, 3);
    EXPECT_EQ(copy.code.count, 3);
    EXPECT_NE(copy.sheet.subject.find("Devoir 4"), std::string::npos);
    // The count follows the names, and says so.
    dialog().mNoms->setPlainText("Zoé\nAdam\n\nLéa");
    EXPECT_FALSE(dialog().spCopies->isEnabled());
    EXPECT_EQ(dialog().lblCopies->text(), "3 copies : le nombre suit les noms");
}

TEST_F(ClassSetTest, InputsAreCheckedBeforeTheFolderIsAsked) {
    Start();
    QString tooLong(70, QChar('a'));
    QStringList many;
    for (int k = 0; k < 41; ++k) many << QString("Élève %1").arg(k);
    for (const QString& names : {tooLong, many.join('\n')}) {
        errors.clear();
        dialog().mNoms->setPlainText(names);
        EXPECT_FALSE(dialog().SavePdf());
        EXPECT_FALSE(dialog().SaveRtf());
        EXPECT_FALSE(dialog().Print());
        EXPECT_EQ(errors.size(), 3);
    }
    EXPECT_TRUE(errors.last().contains("Au plus 40 noms")) << errors.last().toStdString();
    EXPECT_EQ(folderAsked, 0);
    EXPECT_TRUE(Written().isEmpty());
}

TEST_F(ClassSetTest, OneDrawServesEveryOutputUntilANewDraw) {
    Start();
    dialog().spCopies->setValue(3);
    ASSERT_TRUE(dialog().SavePdf());
    ASSERT_TRUE(dialog().set());
    QStringList codes;
    for (const auto& c : dialog().set()->copies) codes << QString::fromStdString(c.codeText);
    EXPECT_TRUE(dialog().lblCodes->text().contains(codes[0]));
    ASSERT_TRUE(dialog().SaveRtf());
    for (const QString& code : codes)
        EXPECT_EQ(Written().filter(code).size(), 2) << code.toStdString();
    EXPECT_TRUE(PdfText(QDir(out).filePath("Serie_Equat1d_N1.pdf")).contains(codes[2]));
    dialog().btnTirage->click();
    EXPECT_NE(QString::fromStdString(dialog().set()->copies[0].codeText), codes[0]);
    // A choice changed forgets the draw.
    dialog().spCopies->setValue(2);
    EXPECT_FALSE(dialog().set());
}

// "QCM" and "Automatismes": each copy has its choices and its code carries them; the preset
// gives 12 questions of every kind and fixes the count and the kinds.
TEST_F(ClassSetTest, MultipleChoiceCopiesKeepTheirChoicesInTheirCodes) {
    Start();
    dialog().spCopies->setValue(2);
    for (QCheckBox* box : {dialog().ckbQcm, dialog().ckbAutomatismes}) {
        box->setChecked(true);
        ASSERT_TRUE(dialog().Draw());
        const int count = box == dialog().ckbQcm ? dialog().spQuestions->value() : 12;
        for (const auto& copy : dialog().set()->copies) {
            ASSERT_EQ(copy.sheet.results.size(), std::size_t(count));
            std::string error;
            const auto code = equat::DecodeSheetCode(copy.codeText, &error);
            ASSERT_TRUE(code) << error;
            EXPECT_EQ(equat::ChoiceCountOfFlags(code->flags), equat::kDefaultChoices);
            EXPECT_NE(copy.sheet.answerKey.find("ponse : "), std::string::npos);
        }
    }
    EXPECT_FALSE(dialog().spQuestions->isEnabled());
    EXPECT_FALSE(dialog().ckbQcm->isEnabled());
}

// Closed and opened again, the dialog keeps its set and every choice it was drawn with, and
// says so; without a set, an opening takes only what the window changed since the last one.
TEST_F(ClassSetTest, AReopenedDialogKeepsItsSetAndChoices) {
    Start();
    dialog().spCopies->setValue(5);
    dialog().ckbGrille->setChecked(true);
    dialog().gbAdaptee->ckbToutes->setChecked(true);  // long codes, with hyphens
    dialog().show();
    ASSERT_TRUE(dialog().Draw());
    QApplication::processEvents();
    const QString first = QString::fromStdString(dialog().set()->copies[0].codeText);
    EXPECT_TRUE(dialog().lblCodes->text().startsWith(first + ", "));
    // Every code whole on one line, nothing clipped.
    for (const QLabel* label : {dialog().lblTirage, dialog().lblCodes}) {
        EXPECT_GE(label->width(), label->sizeHint().width());
        EXPECT_GE(label->height(), label->sizeHint().height());
    }
    dialog().btnFermer->click();
    form->trbNiveau->setValue(3);
    Start();
    ASSERT_TRUE(dialog().set());
    EXPECT_EQ(QString::fromStdString(dialog().set()->copies[0].codeText), first);
    EXPECT_TRUE(dialog().lblTirage->text().startsWith("Série tirée plus tôt"));
    EXPECT_EQ(dialog().spNiveau->value(), 1);
    EXPECT_TRUE(dialog().ckbGrille->isChecked());
    EXPECT_TRUE(dialog().gbAdaptee->ckbToutes->isChecked());
    ASSERT_TRUE(dialog().SavePdf());
    EXPECT_TRUE(PdfText(QDir(out).filePath("Serie_Equat1d_N1_Grille.pdf")).contains(first));
    dialog().btnTirage->click();
    EXPECT_EQ(dialog().lblTirage->text(), "Tirage de 5 copies :");
    dialog().spQuestions->setValue(3);
    form->trbNiveau->setValue(2);
    Start();
    EXPECT_EQ(dialog().spNiveau->value(), 2);
    EXPECT_EQ(dialog().spQuestions->value(), 3);
    EXPECT_TRUE(dialog().ckbGrille->isChecked());
    // The printer is the window's, chosen from the dialog too.
    int asked = 0;
    output().SetPrinterDialog([&](QWidget*, QPrinter&) { return ++asked == 0; });
    dialog().btnImprimante->click();
    EXPECT_EQ(asked, 1);
}

TEST_F(ClassSetTest, SaysWhatWasWrittenAndAsksBeforeReplacing) {
    Start();
    dialog().spCopies->setValue(2);
    ASSERT_TRUE(dialog().SavePdf());
    ASSERT_EQ(done.size(), 1);
    EXPECT_TRUE(done[0].startsWith("2 fichiers enregistrés dans " + QDir::toNativeSeparators(out)));
    EXPECT_TRUE(done[0].contains("Serie_Equat1d_N1_Cor.pdf"));
    EXPECT_TRUE(questions.isEmpty());
    const QByteArray first = ReadAll(QDir(out).filePath("Serie_Equat1d_N1.pdf"));
    dialog().btnTirage->click();
    confirm = false;
    EXPECT_FALSE(dialog().SavePdf());
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].startsWith("2 fichiers existent déjà")) << questions[0].toStdString();
    EXPECT_EQ(ReadAll(QDir(out).filePath("Serie_Equat1d_N1.pdf")), first);
    EXPECT_EQ(done.size(), 1);
    confirm = true;
    EXPECT_TRUE(dialog().SavePdf());
    EXPECT_NE(ReadAll(QDir(out).filePath("Serie_Equat1d_N1.pdf")), first);
}

TEST_F(ClassSetTest, RtfPairsAreNamedAfterThePupil) {
    Start();
    dialog().mNoms->setPlainText("Zoé {x} \\par \\b O'Brien\n../Adam");
    ASSERT_TRUE(dialog().SaveRtf());
    const QStringList files = Written();
    ASSERT_EQ(files.size(), 4);
    const auto& copies = dialog().set()->copies;
    for (const auto& copy : copies) {
        const QString pupil = copy.name.front() == 'Z' ? "Zoé_x_par_b_O_Brien" : "Adam";
        const QString base =
            "Serie_Equat1d_N1_" + pupil + "_" + QString::fromStdString(copy.codeText);
        EXPECT_TRUE(files.contains(base + ".rtf")) << files.join(' ').toStdString();
        EXPECT_TRUE(files.contains(base + "_Cor.rtf"));
    }
}

TEST_F(PrintingTest, AClassSetOfThirtyFiveIsOneJobOfSubjects) {
    equat::ClassSetDialog& dialog = form->classDialog();
    dialog.SetErrorBox([this](QWidget*, const QString& m) { errors << m; });
    QStringList questions;
    dialog.SetConfirmBox([&](QWidget*, const QString& q) {
        questions << q;
        return true;
    });
    form->spMaxLigne->setValue(4);
    form->spSujets->setValue(1);
    form->spCorriges->setValue(0);
    dialog.StartFrom("1d", form->ReadSheetSettings());
    dialog.spCopies->setValue(35);
    const int before = LastJob();
    ASSERT_TRUE(dialog.Print());
    // Asked first, with the count of sheets and the printer.
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(
        questions[0].startsWith("Imprimer 35 copies sur " + equat::CurrentPrinter().printerName()));
    ASSERT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    const auto jobs = JobsAfter(before, 1);
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs.begin()->second, "Sujets");
    const QString pdf = PdfOfJob(jobs.begin()->first);
    ASSERT_FALSE(pdf.isEmpty());
    EXPECT_EQ(PdfText(pdf).count(QRegularExpression("Code\\s*:")), 35);
}

// A grid too wide and too long for a page: every cell at 9 points, each row whole on one page
// of every group of questions, the header and the row labels on every page.
TEST_F(OutputTest, AnswerGridRunsOverPagesAtNinePoints) {
    equat::AnswerGrid grid{"Grille", {}, {}};
    for (int r = 0; r < 30; ++r) {
        grid.rows.push_back("Copie n" + std::to_string(r));
        grid.cells.emplace_back(24, "\xCE\x94 = 12345 ; x1 = -10 ; x2 = 7");
    }
    std::string pdf, error;
    ASSERT_TRUE(equat::AnswerGridPdf(grid, &pdf, &error)) << error;
    const QString path = dir.filePath("grille.pdf");
    WriteAll(path, QByteArray::fromStdString(pdf));
    QProcess p;
    p.start("pdftotext", {"-bbox", path, "-"});
    ASSERT_TRUE(p.waitForFinished(20000));
    const QString boxes = QString::fromUtf8(p.readAllStandardOutput());
    const QStringList pages = boxes.split("<page ").mid(1);
    ASSERT_GE(pages.size(), 4);  // two groups of questions, two pages of rows each
    QRegularExpression word(R"re(yMin="([0-9.]+)" xMax="[0-9.]+" yMax="([0-9.]+)">([^<]*)<)re");
    std::map<QString, int> labels;
    for (const QString& page : pages) {
        EXPECT_TRUE(page.contains(">Copie<"));
        int cells = 0;
        for (auto m = word.globalMatch(page); m.hasNext();) {
            const auto w = m.next();
            EXPECT_GE(w.captured(2).toDouble() - w.captured(1).toDouble(), 8.5)
                << w.captured(3).toStdString();
            if (w.captured(3).startsWith("n") && w.captured(3).size() <= 3) ++labels[w.captured(3)];
            cells += w.captured(3) == "12345";
        }
        // Whole rows only: as many Δ as x1 and x2 lines.
        EXPECT_EQ(page.count(">x1<"), cells);
        EXPECT_EQ(page.count(">x2<"), cells);
    }
    // Each row label once per group of questions, and the questions in more than one group.
    ASSERT_EQ(labels.size(), 30u);
    const int groups = labels.begin()->second;
    EXPECT_GE(groups, 2);
    for (const auto& [label, n] : labels) EXPECT_EQ(n, groups) << label.toStdString();
}

// Each group takes the most questions whose whole table, every row at its natural width,
// fits the page's width, wherever each question's widest cell stands.
TEST_F(OutputTest, AnswerGridGroupsAsManyQuestionsAsTheWholeTableFits) {
    equat::AnswerGrid grid{"Grille", {}, {}};
    for (int r = 0; r < 40; ++r) {
        grid.rows.push_back("Copie " + std::to_string(r));
        grid.cells.emplace_back(30, "x = 1");
    }
    for (int q = 0; q < 30; ++q)
        grid.cells[static_cast<std::size_t>(q * 7 % 40)][static_cast<std::size_t>(q)] =
            "x = -" + std::string(static_cast<std::size_t>(q % 5 + 1), '8') + ".25 ; y = 2";
    QPageLayout layout = equat::DefaultPageLayout();
    layout.setOrientation(QPageLayout::Landscape);
    const double width = layout.paintRectPixels(equat::kPrintDpi).width() * 96.0 / equat::kPrintDpi;
    QStringList expected;  // the groups' titles, found by laying out every row
    for (std::size_t first = 0; first < 30;) {
        std::size_t n = 30 - first;
        for (QTextDocument doc; n > 1; --n) {
            doc.setDocumentMargin(0);
            doc.setHtml(QString::fromStdString(equat::AnswerGridHtml(grid, first, n)));
            if (doc.idealWidth() <= width) break;
        }
        expected << QString("(questions %1 \u00e0 %2)").arg(first + 1).arg(first + n);
        first += n;
    }
    std::string pdf, error;
    ASSERT_TRUE(equat::AnswerGridPdf(grid, &pdf, &error)) << error;
    const QString path = dir.filePath("grille.pdf");
    WriteAll(path, QByteArray::fromStdString(pdf));
    const QString text = PdfText(path);
    ASSERT_GE(expected.size(), 2);
    for (const QString& title : expected) EXPECT_TRUE(text.contains(title)) << title.toStdString();
}

TEST(OutputNoPrinter, PrintingOnSomethingThatIsNoQueueIsAnError) {
    TForm1 form;
    form.spMaxLigne->setValue(2);
    form.btnEquat1d->click();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    QString error;
    EXPECT_FALSE(equat::PrintDocument(form.RxE1->Pages(), printer, "Sujet", &error));
    EXPECT_EQ(error, "Aucune imprimante n'est installée");
    // Cancelling the printer dialog changes nothing, even if it touched the settings.
    const QString before = equat::CurrentPrinter().printerName();
    const int copies = equat::CurrentPrinter().copyCount();
    form.output().SetPrinterDialog([](QWidget*, QPrinter&) { return false; });
    form.btnChoixImp->click();
    EXPECT_EQ(equat::CurrentPrinter().printerName(), before);
    EXPECT_EQ(equat::CurrentPrinter().copyCount(), copies);
}

}  // namespace

// "Exporter...": each format of the window's list writes its files, the documents as edited.
TEST_F(OutputTest, ExportWritesTheChosenFormatOfThePairOnScreen) {
    Generate(5);
    form->ckbEdite->setChecked(true);
    QTextCursor(form->RxE1->document()).insertText("Devoir maison ");
    const struct {
        const char* format;
        const char* file;
        QStringList written;
        QByteArray inside;
    } rows[] = {{"moodle", "banque", {"banque.xml"}, "<question type=\"cloze\">"},
                {"gift", "q.txt", {"q.txt"}, "$CATEGORY: $course$/top/Equat/"},
                {"odt", "s.odt", {"s.odt", "s_Cor.odt"}, "mimetypeapplication/vnd.oasis"},
                {"latex", "s.tex", {"s.tex", "s_Cor.tex"}, "\\begin{document}"}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.format);
        output().SetExportDialog([&](QWidget*, const QString&, const QString&) {
            return std::optional<Output::ExportChoice>({QString::fromUtf8(r.file), r.format});
        });
        output().Export();
        EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
        for (const QString& f : r.written) EXPECT_TRUE(QFile::exists(f)) << f.toStdString();
        EXPECT_TRUE(ReadAll(r.written[0]).contains(r.inside));
    }
    // A name the table lacks is refused, never written in another format.
    output().SetExportDialog([](QWidget*, const QString&, const QString&) {
        return std::optional<Output::ExportChoice>({QString("x.docx"), "docx"});
    });
    output().Export();
    EXPECT_TRUE(errors.join('\n').contains("Format inconnu"));
    EXPECT_FALSE(QFile::exists("x.docx"));
    // The document as edited, not as generated.
    QProcess unzip;
    unzip.start("unzip", {"-p", "s.odt", "content.xml"});
    ASSERT_TRUE(unzip.waitForFinished());
    EXPECT_TRUE(unzip.readAllStandardOutput().contains("Devoir maison"));
}

TEST_F(ClassSetTest, ExportsTheSetForMoodleWithACategoryPerCopyAndForAmc) {
    Start();
    dialog().spCopies->setValue(3);
    ASSERT_TRUE(dialog().ExportBank(equat::FormatId::Moodle));
    ASSERT_EQ(Written(), QStringList{"Serie_Equat1d_N1.xml"});
    const QByteArray bank = ReadAll(QDir(out).filePath("Serie_Equat1d_N1.xml"));
    EXPECT_EQ(bank.count("<question type=\"category\">"), 3);
    for (const auto& copy : dialog().set()->copies)
        EXPECT_TRUE(bank.contains(("/" + copy.codeText + "</text>").c_str()));
    // The same set for AMC: as many copies, each copy's questions named by its code.
    ASSERT_TRUE(dialog().ExportBank(equat::FormatId::Amc));
    const QByteArray amc = ReadAll(QDir(out).filePath("Serie_Equat1d_N1.tex"));
    EXPECT_TRUE(amc.contains("\\onecopy{3}"));
    for (const auto& copy : dialog().set()->copies)
        EXPECT_TRUE(amc.contains(("{" + copy.codeText + "-q1-v}").c_str()));
}
