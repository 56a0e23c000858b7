// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/projection.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <memory>

#include "app/uequat.h"
#include "app/widgets.h"
#include "core/drawchoices.h"
#include "core/kinds.h"
#include "core/sheetcode.h"
#include "platform/mathpaint.h"
#include "platform/richedit.h"
#include "qt_environment.h"
#include "settings/formstorage.h"

namespace equat {
namespace {

using Page = ProjectionWindow::Page;

QStringList StatementTexts(const SheetModel& model) {
    QStringList texts;
    for (const QuestionModel& q : model.questions)
        for (const MathLine& line : StatementBlock(q.statement).lines) texts << LineText(line);
    return texts;
}

class ProjectionTest : public ::testing::Test {
  protected:
    void Open(const std::string& kind, const ProjectionChoices& choices,
              const SheetSettings& settings = {}) {
        RandomSource stream(seed++);
        std::string error;
        auto set = DrawProjection(kind, settings, choices, stream, &error);
        ASSERT_TRUE(set) << error;
        window =
            std::make_unique<ProjectionWindow>(std::move(*set), choices, [this] { return now; });
        window->ShowOn(nullptr);
    }
    // The texts drawn after a fresh painting.
    QStringList Drawn() {
        window->grab();
        return window->drawnTexts();
    }
    const QuestionModel& Shown(std::size_t version = 0) const {
        return window->set().copies[version].sheet.model->questions.at(
            static_cast<std::size_t>(window->index()));
    }

    std::int64_t now = 0;
    std::uint32_t seed = 7;
    std::unique_ptr<ProjectionWindow> window;
};

// Keys and the clock drive the pages one step at a time; the window shows what it says.
TEST_F(ProjectionTest, KeysAndTheClockDriveThePages) {
    ProjectionChoices choices;
    choices.count = 2;
    choices.seconds = 10;
    Open("1d", choices);
    const struct Step {
        int key;      // 0: no key
        int advance;  // milliseconds of the fake clock, then a tick
        Page page;
        int index;
        bool paused;
        int remaining;
    } steps[] = {
        {0, 0, Page::Start, 0, false, -1},
        {Qt::Key_Space, 0, Page::Question, 0, false, 10},
        {0, 3500, Page::Question, 0, false, 7},
        {Qt::Key_P, 20000, Page::Question, 0, true, 7},  // the paused clock stands still
        {Qt::Key_P, 6000, Page::Question, 0, false, 1},
        {0, 1000, Page::Answer, 0, false, -1},  // time is up: the answer
        {Qt::Key_Right, 0, Page::Question, 1, false, 10},
        {Qt::Key_Left, 0, Page::Answer, 0, false, -1},
        {Qt::Key_PageUp, 0, Page::Question, 0, false, 10},
        {Qt::Key_PageDown, 0, Page::Answer, 0, false, -1},
        {Qt::Key_Return, 0, Page::Question, 1, false, 10},
        {0, 10000, Page::Answer, 1, false, -1},
        {Qt::Key_Right, 0, Page::Summary, 1, false, -1},
        {Qt::Key_Right, 0, Page::Summary, 1, false, -1},
        {Qt::Key_Left, 0, Page::Answer, 1, false, -1},
        {-1, 0, Page::Question, 1, false, 10},  // a right click goes back
    };
    for (const Step& s : steps) {
        if (s.key > 0) QTest::keyClick(window.get(), static_cast<Qt::Key>(s.key));
        if (s.key < 0) QTest::mouseClick(window.get(), Qt::RightButton);
        if (s.advance) {
            now += s.advance;
            window->Tick();
        }
        const int step = static_cast<int>(&s - steps);
        ASSERT_EQ(window->page(), s.page) << "step " << step;
        EXPECT_EQ(window->index(), s.index) << "step " << step;
        EXPECT_EQ(window->paused(), s.paused) << "step " << step;
        EXPECT_EQ(window->remainingSeconds(), s.remaining) << "step " << step;
        if (s.page == Page::Start || s.page == Page::Summary) continue;
        const QStringList drawn = Drawn();
        EXPECT_TRUE(drawn.contains(LineText(StatementBlock(Shown().statement).lines[0])));
        EXPECT_EQ(drawn.contains("\u275A\u275A En pause"), s.paused);
        const QString answer = LineText(ResultBlock(Shown(), {}, false).lines[0]);
        EXPECT_EQ(drawn.contains(answer), s.page == Page::Answer) << "step " << step;
        if (s.remaining > 0) {
            EXPECT_TRUE(drawn.contains(QString("0:%1").arg(s.remaining, 2, 10, QChar('0'))));
        }
    }
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}

// Two versions of a mixed sheet, answers at the end: the halves differ, the summary gives both
// codes, and each code rebuilds the questions that were projected.
TEST_F(ProjectionTest, TheSummarysCodesRebuildWhatWasProjected) {
    ProjectionChoices choices;
    choices.count = 6;
    choices.answersAtEnd = true;
    choices.twoVersions = true;
    choices.seconds = 0;
    SheetSettings settings;
    settings.level = 2;
    settings.keyStyle = KeyStyle::Exact;
    settings.draw.mixedKinds = (1u << KindIndex("1d")) | (1u << KindIndex("syst"));
    Open("2d", choices, settings);
    ASSERT_EQ(window->set().copies.size(), 2u);
    QStringList seen;
    for (const ClassCopy& copy : window->set().copies) {
        const QStringList projected = StatementTexts(*copy.sheet.model);
        for (const QString& text : projected)
            EXPECT_FALSE(seen.contains(text)) << text.toStdString();
        seen += projected;
        std::string error;
        const auto code = DecodeSheetCode(copy.codeText, &error);
        ASSERT_TRUE(code) << error;
        SheetSettings base;
        base.exports.model = true;
        EXPECT_EQ(StatementTexts(*BuildSheetFromCode(*code, base).model), projected);
    }
    for (int i = 0; i < choices.count; ++i) {
        QTest::keyClick(window.get(), Qt::Key_Space);
        EXPECT_EQ(window->remainingSeconds(), -1);
        const QStringList drawn = Drawn();
        EXPECT_TRUE(drawn.contains(LineText(StatementBlock(Shown(1).statement).lines[0])));
    }
    QTest::keyClick(window.get(), Qt::Key_Space);
    ASSERT_EQ(window->page(), Page::Summary);
    const QStringList drawn = Drawn();
    const QString codes = "Code : A : " + QString::fromStdString(window->set().copies[0].codeText) +
                          "     B : " + QString::fromStdString(window->set().copies[1].codeText);
    EXPECT_TRUE(drawn.contains(codes)) << drawn.join("|").toStdString();
    // Every answer is there, its lines on one.
    for (const ClassCopy& copy : window->set().copies)
        for (const QuestionModel& q : copy.sheet.model->questions) {
            const QString first = LineText(ResultBlock(q, KeyStyle::Exact, false).lines[0]);
            EXPECT_TRUE(std::any_of(drawn.begin(), drawn.end(), [&](const QString& t) {
                return t.startsWith(first);
            })) << first.toStdString();
        }
}

// A screen unplugged under a running question: the projection stops its clock and stays shown.
TEST_F(ProjectionTest, AScreenUnpluggedPausesOnTheMainScreen) {
    Open("syst", {});
    QTest::keyClick(window.get(), Qt::Key_Right);
    window->ScreenRemoved(window->screen());
    EXPECT_TRUE(window->paused());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->screen(), QGuiApplication::primaryScreen());
}

// Every stored number reads back as choices the dialog shows and gives back unchanged.
TEST(ProjectionChoices, PackedRoundTripsThroughTheDialog) {
    EXPECT_EQ(ProjectionChoices{}.Packed(), 0);
    for (int packed = 0; packed <= kMaxPackedProjection; ++packed) {
        const ProjectionChoices c = ProjectionChoices::FromPacked(packed);
        EXPECT_GE(c.count, 1);
        EXPECT_LE(c.count, kMaxProjectedQuestions);
        EXPECT_EQ(ProjectionChoices::FromPacked(c.Packed()), c) << packed;
        if (packed % 97 != 0) continue;
        ProjectionChoices shown = ProjectionDialog(c, nullptr, nullptr).Choices();
        shown.screen = -1;
        EXPECT_EQ(shown, c) << packed;
    }
}

void ProjectAndClose(TForm1& form, const QTemporaryDir& dir, const ProjectionChoices& choices) {
    form.FormStorage1->SetIniFileName(dir.filePath("p.ini"));
    form.show();
    form.spMaxLigne->setValue(3);
    form.btnSyst->click();
    const QString subject = form.RxE1->toPlainText();
    EXPECT_EQ(form.mnuProjeter->shortcut(), QKeySequence(Qt::Key_F5));
    QPointer<ProjectionWindow> shown = form.Project(choices);
    ASSERT_TRUE(shown);
    EXPECT_EQ(form.spProjection->value(), choices.Packed());
    EXPECT_EQ(shown->set().copies[0].code.kind, "syst");
    EXPECT_EQ(shown->count(), 5);
    shown->close();
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(shown);
    EXPECT_EQ(form.RxE1->toPlainText(), subject);
    form.FormStorage1->SaveSettings();
}

// The menu item projects the window's choices; closing gives the window back as it was, and the
// choices are kept for the settings file.
TEST(ProjectionMenu, ProjectsAndGivesTheWindowBack) {
    QTemporaryDir dir;
    ProjectionChoices choices;
    choices.dark = true;
    {
        TForm1 form;
        ProjectAndClose(form, dir, choices);
    }
    TForm1 again;
    again.FormStorage1->SetIniFileName(dir.filePath("p.ini"));
    again.FormStorage1->RestoreSettings();
    EXPECT_EQ(again.spProjection->value(), choices.Packed());
}

}  // namespace
}  // namespace equat
