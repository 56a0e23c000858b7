// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QDialog>
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/classset.h"
#include "core/random.h"
#include "core/sheet.h"

class QCheckBox;
class QComboBox;
class QScreen;
class QSpinBox;
class QTimer;

namespace equat {

// The seconds a question may be given; 0: no timer.
inline constexpr int kProjectionTimes[] = {0, 10, 15, 20, 30, 45, 60, 90, 120, 180, 300};
inline constexpr int kMaxProjectedQuestions = 20;

// What the teacher chooses before projecting.
struct ProjectionChoices {
    int count = 5;
    int seconds = 30;           // one of kProjectionTimes
    bool answersAtEnd = false;  // else each answer after its question
    bool twoVersions = false;   // neighbours get different questions, side by side
    bool dark = false;
    int screen = -1;  // index among the screens; -1: another screen than the window's if any

    // The choices but the screen as one number kept by the settings store, 0 for the defaults
    // (so that a teacher who never changes them stores nothing); out-of-range parts read back
    // as their defaults.
    int Packed() const;
    static ProjectionChoices FromPacked(int packed);
    bool operator==(const ProjectionChoices&) const = default;
};
inline constexpr int kMaxPackedProjection = (1 << 12) - 1;

// The questions to project: one copy, or two drawn apart (no question in both), of the
// window's kind, level, draw choices, key style and comma, each with its code and model.
// nullopt with *error (French, Windows-1252) for draw choices that cannot be drawn.
std::optional<ClassSet> DrawProjection(const std::string& kind, SheetSettings window,
                                       const ProjectionChoices& choices, RandomSource& stream,
                                       std::string* error);

// The screen a projection goes to: the chosen one when it exists, else the first screen other
// than the window's (the projector beside the laptop), else the window's.
QScreen* ProjectionScreen(int chosen, QScreen* window);

// "Projeter…": the choices, kept by the window between openings.
class ProjectionDialog : public QDialog {
    Q_OBJECT
  public:
    ProjectionDialog(const ProjectionChoices& start, QScreen* window, QWidget* parent);
    ProjectionChoices Choices() const;

    QSpinBox* spQuestions;
    QComboBox* cbTemps;
    QComboBox* cbReponses;
    QCheckBox* ckbVersions;
    QComboBox* cbTheme;
    QComboBox* cbEcran;
};

// Questions one at a time in large type on a whole screen, with their number and a countdown;
// each answer after its question or all at the end; a summary of every question, its answer and
// the codes that print them again. Keys: next (right, down, space, page down, Enter), previous
// (left, up, page up, backspace), pause (P, B, the pause key), Escape to leave; a click goes
// on, a right click back. The clock is
// replaceable, so that tests run the timer without waiting.
class ProjectionWindow : public QWidget {
    Q_OBJECT
  public:
    using Clock = std::function<std::int64_t()>;  // milliseconds, never decreasing
    enum class Page { Start, Question, Answer, Summary };

    ProjectionWindow(ClassSet set, const ProjectionChoices& choices, Clock clock = {},
                     QWidget* parent = nullptr);

    // Full screen on this screen (the main screen when it is gone).
    void ShowOn(QScreen* screen);

    Page page() const { return page_; }
    int index() const { return index_; }  // the question shown, from 0
    int count() const;
    bool paused() const { return paused_; }
    // Whole seconds left on the question's clock, rounded up; -1 without a timer.
    int remainingSeconds() const;
    // The texts of the last painting, in the order drawn.
    const QStringList& drawnTexts() const { return drawn_; }
    const ClassSet& set() const { return set_; }

    void Next();
    void Previous();
    void TogglePause();
    // Moves on when the question's time is up; the timer calls it, tests too.
    void Tick();
    // A screen was unplugged: the projection returns to the main screen if it was on that one.
    void ScreenRemoved(QScreen* screen);

  signals:
    void Closed();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void Enter(Page page, int index);
    void Text(QPainter& painter, const QRectF& box, const QString& text, int pixels,
              int flags = Qt::AlignCenter);
    void PaintHeader(QPainter& painter, const QRectF& bar);
    void PaintQuestion(QPainter& painter, const QRectF& area, std::size_t version, bool answer);
    void PaintSummary(QPainter& painter, const QRectF& area);
    void PaintSummaryColumn(QPainter& painter, const QRectF& column, const ClassCopy& copy);
    void PaintStart(QPainter& painter, const QRectF& area);
    const QuestionModel& Question(std::size_t version, int index) const;

    ClassSet set_;
    ProjectionChoices choices_;
    Clock clock_;
    QTimer* timer_;
    QPointer<QScreen> screen_;
    Page page_ = Page::Start;
    int index_ = 0;
    bool paused_ = false;
    std::int64_t deadline_ = 0;  // on the clock, while running
    std::int64_t left_ = 0;      // while paused
    QStringList drawn_;
};

}  // namespace equat
