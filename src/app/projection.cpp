// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/projection.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFormLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTimer>
#include <algorithm>
#include <iterator>
#include <memory>
#include <vector>

#include "app/classdialog.h"
#include "core/drawchoices.h"
#include "core/kinds.h"
#include "platform/mathpaint.h"

namespace equat {

namespace {

constexpr int kTimeCount = static_cast<int>(std::size(kProjectionTimes));

int TimeIndex(int seconds) {
    const auto* at = std::find(std::begin(kProjectionTimes), std::end(kProjectionTimes), seconds);
    return at == std::end(kProjectionTimes) ? -1
                                            : static_cast<int>(at - std::begin(kProjectionTimes));
}

// Time index (4 bits), count - 1 (5 bits), answers at the end, two versions, dark theme.
int RawBits(const ProjectionChoices& c) {
    return std::max(TimeIndex(c.seconds), 0) | (std::clamp(c.count, 1, 32) - 1) << 4 |
           int{c.answersAtEnd} << 9 | int{c.twoVersions} << 10 | int{c.dark} << 11;
}

QString TimeText(int seconds) {
    if (seconds == 0) return "Aucun (à la main)";
    if (seconds < 60) return QString("%1 s").arg(seconds);
    if (seconds % 60 == 0) return QString("%1 min").arg(seconds / 60);
    return QString("%1 min %2").arg(seconds / 60).arg(seconds % 60);
}

// What the screens are painted with.
struct Theme {
    QColor background, text, accent, dim;
};

Theme ThemeOf(bool dark) {
    if (dark)
        return {QColor(18, 18, 24), QColor(240, 240, 240), QColor(255, 210, 60),
                QColor(130, 130, 140)};
    return {Qt::white, QColor(20, 20, 20), QColor(0, 70, 170), QColor(150, 150, 150)};
}

// A result on one line, for the summary's rows.
MathBlock OneLine(const MathBlock& block) {
    MathBlock line{{{}}, false};
    for (const MathLine& l : block.lines) {
        if (!line.lines[0].empty()) line.lines[0].push_back({"    "});
        line.lines[0].insert(line.lines[0].end(), l.begin(), l.end());
    }
    return line;
}

// A question's result in its copy's key style and decimal sign.
MathBlock CopyResult(const ClassCopy& copy, const QuestionModel& q) {
    const SheetSettings& written = WrittenSettings(copy.sheet);
    return ResultBlock(q, written.keyStyle, written.decimalComma);
}

QFont Pixels(QFont font, double pixels) {
    font.setPixelSize(std::max(1, static_cast<int>(pixels)));
    return font;
}

}  // namespace

int ProjectionChoices::Packed() const {
    return RawBits(*this) ^ RawBits(ProjectionChoices{});
}

ProjectionChoices ProjectionChoices::FromPacked(int packed) {
    const int raw = (packed & kMaxPackedProjection) ^ RawBits(ProjectionChoices{});
    ProjectionChoices c;
    if ((raw & 15) < kTimeCount) c.seconds = kProjectionTimes[raw & 15];
    if (((raw >> 4) & 31) < kMaxProjectedQuestions) c.count = ((raw >> 4) & 31) + 1;
    c.answersAtEnd = (raw >> 9) & 1;
    c.twoVersions = (raw >> 10) & 1;
    c.dark = (raw >> 11) & 1;
    return c;
}

std::optional<ClassSet> DrawProjection(const std::string& kind, SheetSettings window,
                                       const ProjectionChoices& choices, RandomSource& stream,
                                       std::string* error) {
    window.count = std::clamp(choices.count, 1, kMaxProjectedQuestions);
    const int kindIndex = KindIndex(kind);
    if (auto why = DrawChoicesError(WithKind(window.draw, kindIndex), kindIndex, window.count)) {
        *error = std::move(*why);
        return std::nullopt;
    }
    window.exports.model = true;
    window.quiz = {};
    ClassSetRequest request;
    request.kind = kind;
    request.settings = window;
    request.copies = choices.twoVersions ? 2 : 1;
    return MakeClassSet(request, stream);
}

QScreen* ProjectionScreen(int chosen, QScreen* window) {
    const auto screens = QGuiApplication::screens();
    if (chosen >= 0 && chosen < screens.size()) return screens[chosen];
    for (QScreen* s : screens)
        if (s != window) return s;
    return window ? window : QGuiApplication::primaryScreen();
}

ProjectionDialog::ProjectionDialog(const ProjectionChoices& start, QScreen* window, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle("Projeter des questions flash");
    spQuestions = new QSpinBox(this);
    spQuestions->setRange(1, kMaxProjectedQuestions);
    spQuestions->setValue(start.count);
    spQuestions->setToolTip("Les questions projetées l'une après l'autre");
    cbTemps = new QComboBox(this);
    for (int s : kProjectionTimes) cbTemps->addItem(TimeText(s), s);
    cbTemps->setCurrentIndex(std::max(TimeIndex(start.seconds), 0));
    cbTemps->setToolTip("Le compte à rebours de chaque question ; à la fin, on passe à la suite");
    cbReponses = new QComboBox(this);
    cbReponses->addItems({"Après chaque question", "Toutes à la fin"});
    cbReponses->setCurrentIndex(start.answersAtEnd ? 1 : 0);
    cbReponses->setToolTip("Un écran de réponse après chaque question, ou seulement le bilan");
    ckbVersions = new QCheckBox("Deux versions côte à côte", this);
    ckbVersions->setChecked(start.twoVersions);
    ckbVersions->setToolTip(
        "Une moitié d'écran par version : deux voisins ont des questions différentes");
    cbTheme = new QComboBox(this);
    cbTheme->addItems({"Clair", "Sombre"});
    cbTheme->setCurrentIndex(start.dark ? 1 : 0);
    cbTheme->setToolTip("Sombre : plus lisible dans une salle peu éclairée");
    cbEcran = new QComboBox(this);
    const auto screens = QGuiApplication::screens();
    for (QScreen* s : screens)
        cbEcran->addItem(QString("%1 (%2 × %3)%4")
                             .arg(s->name())
                             .arg(s->geometry().width())
                             .arg(s->geometry().height())
                             .arg(s == window ? " : celui de la fenêtre" : ""));
    cbEcran->setCurrentIndex(
        static_cast<int>(screens.indexOf(ProjectionScreen(start.screen, window))));
    cbEcran->setToolTip("Le vidéoprojecteur quand deux écrans sont branchés");
    auto* form = new QFormLayout;
    form->addRow("&Questions :", spQuestions);
    form->addRow("&Temps par question :", cbTemps);
    form->addRow("&Réponses :", cbReponses);
    form->addRow("", ckbVersions);
    form->addRow("T&hème :", cbTheme);
    form->addRow("&Écran :", cbEcran);
    auto* go = new QPushButton("&Projeter", this);
    go->setToolTip("Plein écran ; Échap pour revenir à la fenêtre");
    auto* cancel = new QPushButton("Annuler", this);
    LayOutDialog(this, form, {go, cancel});
    go->setDefault(true);
    connect(go, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

ProjectionChoices ProjectionDialog::Choices() const {
    ProjectionChoices c;
    c.count = spQuestions->value();
    c.seconds = cbTemps->currentData().toInt();
    c.answersAtEnd = cbReponses->currentIndex() == 1;
    c.twoVersions = ckbVersions->isChecked();
    c.dark = cbTheme->currentIndex() == 1;
    c.screen = cbEcran->currentIndex();
    return c;
}

ProjectionWindow::ProjectionWindow(ClassSet set, const ProjectionChoices& choices, Clock clock,
                                   QWidget* parent)
    : QWidget(parent, Qt::Window),
      set_(std::move(set)),
      choices_(choices),
      clock_(std::move(clock)),
      timer_(new QTimer(this)) {
    if (!clock_) {
        auto started = std::make_shared<QElapsedTimer>();
        started->start();
        clock_ = [started] { return static_cast<std::int64_t>(started->elapsed()); };
    }
    setWindowTitle("Projection");
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::BlankCursor);
    timer_->setInterval(200);
    connect(timer_, &QTimer::timeout, this, &ProjectionWindow::Tick);
    timer_->start();
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &ProjectionWindow::ScreenRemoved);
}

void ProjectionWindow::ShowOn(QScreen* screen) {
    screen_ = screen ? screen : QGuiApplication::primaryScreen();
    setScreen(screen_);
    setGeometry(screen_->geometry());
    showFullScreen();
    raise();
    activateWindow();
}

int ProjectionWindow::count() const {
    return set_.copies.empty() || !set_.copies[0].sheet.model
               ? 0
               : static_cast<int>(set_.copies[0].sheet.model->questions.size());
}

int ProjectionWindow::remainingSeconds() const {
    if (page_ != Page::Question || choices_.seconds == 0) return -1;
    const std::int64_t left = paused_ ? left_ : std::max<std::int64_t>(deadline_ - clock_(), 0);
    return static_cast<int>((left + 999) / 1000);
}

void ProjectionWindow::Enter(Page page, int index) {
    page_ = page;
    index_ = std::clamp(index, 0, std::max(count() - 1, 0));
    paused_ = false;
    deadline_ = clock_() + std::int64_t{choices_.seconds} * 1000;
    update();
}

void ProjectionWindow::Next() {
    const bool last = index_ + 1 >= count();
    switch (page_) {
        case Page::Start:
            if (count() > 0) Enter(Page::Question, 0);
            break;
        case Page::Question:
            if (!choices_.answersAtEnd) {
                Enter(Page::Answer, index_);
            } else {
                Enter(last ? Page::Summary : Page::Question, index_ + (last ? 0 : 1));
            }
            break;
        case Page::Answer:
            Enter(last ? Page::Summary : Page::Question, index_ + (last ? 0 : 1));
            break;
        case Page::Summary:
            break;
    }
}

void ProjectionWindow::Previous() {
    const Page shown = choices_.answersAtEnd ? Page::Question : Page::Answer;
    switch (page_) {
        case Page::Start:
            break;
        case Page::Question:
            if (index_ == 0) {
                Enter(Page::Start, 0);
            } else {
                Enter(shown, index_ - 1);
            }
            break;
        case Page::Answer:
            Enter(Page::Question, index_);
            break;
        case Page::Summary:
            Enter(shown, count() - 1);
            break;
    }
}

void ProjectionWindow::TogglePause() {
    if (page_ != Page::Question) return;
    paused_ = !paused_;
    if (paused_) {
        left_ = std::max<std::int64_t>(deadline_ - clock_(), 0);
    } else {
        deadline_ = clock_() + left_;
    }
    update();
}

void ProjectionWindow::Tick() {
    if (page_ == Page::Question && choices_.seconds > 0 && !paused_ && clock_() >= deadline_) {
        Next();
        return;
    }
    if (page_ == Page::Question) update();
}

void ProjectionWindow::ScreenRemoved(QScreen* screen) {
    if (screen != screen_ && screen_) return;
    if (page_ == Page::Question && !paused_) TogglePause();
    if (isVisible()) ShowOn(QGuiApplication::primaryScreen());
}

void ProjectionWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Right:
        case Qt::Key_Down:
        case Qt::Key_Space:
        case Qt::Key_PageDown:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            Next();
            break;
        case Qt::Key_Left:
        case Qt::Key_Up:
        case Qt::Key_PageUp:
        case Qt::Key_Backspace:
            Previous();
            break;
        case Qt::Key_P:
        case Qt::Key_B:
        case Qt::Key_Pause:
        case Qt::Key_Period:
            TogglePause();
            break;
        case Qt::Key_Escape:
            close();
            break;
        default:
            QWidget::keyPressEvent(event);
    }
}

void ProjectionWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) Next();
    if (event->button() == Qt::RightButton) Previous();
}

void ProjectionWindow::closeEvent(QCloseEvent* event) {
    timer_->stop();
    emit Closed();
    event->accept();
}

const QuestionModel& ProjectionWindow::Question(std::size_t version, int index) const {
    return set_.copies.at(version).sheet.model->questions.at(static_cast<std::size_t>(index));
}

void ProjectionWindow::Text(QPainter& painter, const QRectF& box, const QString& text, int pixels,
                            int flags) {
    painter.setFont(Pixels(font(), pixels));
    painter.drawText(box, flags, text);
    drawn_ << text;
}

void ProjectionWindow::PaintHeader(QPainter& painter, const QRectF& bar) {
    const Theme theme = ThemeOf(choices_.dark);
    const int pixels = static_cast<int>(bar.height() * 0.5);
    const QRectF inner = bar.adjusted(bar.height() * 0.4, 0, -bar.height() * 0.4, 0);
    painter.setPen(theme.dim);
    const QString number = QString("Question %1 / %2").arg(index_ + 1).arg(count());
    Text(painter, inner, number, pixels, Qt::AlignLeft | Qt::AlignVCenter);
    if (paused_) {
        painter.setPen(theme.accent);
        Text(painter, inner, "❚❚ En pause", pixels, Qt::AlignCenter);
    } else if (page_ == Page::Answer) {
        painter.setPen(theme.accent);
        Text(painter, inner, "Réponse", pixels, Qt::AlignCenter);
    }
    const int left = remainingSeconds();
    if (left < 0) return;
    painter.setPen(paused_ ? theme.accent : left <= 5 ? QColor(220, 40, 40) : theme.text);
    Text(painter, inner, QString("%1:%2").arg(left / 60).arg(left % 60, 2, 10, QChar('0')),
         static_cast<int>(bar.height() * 0.8), Qt::AlignRight | Qt::AlignVCenter);
    // A bar that empties as the time runs, readable from afar without reading the digits.
    const double share = static_cast<double>(left) / choices_.seconds;
    painter.fillRect(
        QRectF(0, bar.bottom() - bar.height() * 0.08, width() * share, bar.height() * 0.08),
        left <= 5 ? QColor(220, 40, 40) : theme.accent);
}

void ProjectionWindow::PaintQuestion(QPainter& painter, const QRectF& area, std::size_t version,
                                     bool answer) {
    const QuestionModel& q = Question(version, index_);
    const Theme theme = ThemeOf(choices_.dark);
    const double h = height();
    QFont math = Pixels(font(), h / 7);
    painter.setPen(theme.text);
    for (const MathLine& line : StatementBlock(q.statement).lines) drawn_ << LineText(line);
    if (!answer) {
        PaintStatement(painter, area, q.statement, math, Qt::AlignHCenter, h / 10);
        return;
    }
    const QRectF top(area.left(), area.top(), area.width(), area.height() * 0.45);
    PaintStatement(painter, top, q.statement, Pixels(font(), h / 10));
    const MathBlock result = CopyResult(set_.copies.at(version), q);
    for (const MathLine& line : result.lines) drawn_ << LineText(line);
    painter.setPen(theme.accent);
    PaintBlock(painter, QRectF(area.left(), top.bottom(), area.width(), area.height() * 0.55),
               result, Pixels(font(), h / 9));
}

void ProjectionWindow::PaintSummaryColumn(QPainter& painter, const QRectF& column,
                                          const ClassCopy& copy) {
    const Theme theme = ThemeOf(choices_.dark);
    const auto& questions = copy.sheet.model->questions;
    const int n = static_cast<int>(questions.size());
    const double row = column.height() / std::max(n, 1), w = column.width();
    const QFont font = Pixels(this->font(), std::min(row * 0.6, height() / 16.0));
    const auto place = [&](int i, double from, double share) {
        // A little room between rows, so that answers on several lines stay apart.
        return QRectF(column.left() + w * from, column.top() + row * (i + 0.05), w * share,
                      row * 0.9);
    };
    // One size for every statement and one for every answer, the largest at which all fit; the
    // answers on one line each, or their lines one under another when that is larger.
    std::vector<MathBlock> lines, rows;
    double statementPixels = font.pixelSize(), linesPixels = font.pixelSize();
    double rowsPixels = font.pixelSize();
    for (const QuestionModel& q : questions) {
        lines.push_back(CopyResult(copy, q));
        rows.push_back(OneLine(lines.back()));
        statementPixels =
            std::min(statementPixels, StatementPixelSize(place(0, 0.07, 0.36), q.statement, font));
        linesPixels =
            std::min(linesPixels, BlockPixelSize(place(0, 0.45, 0.55), lines.back(), font));
        rowsPixels = std::min(rowsPixels, BlockPixelSize(place(0, 0.45, 0.55), rows.back(), font));
    }
    const std::vector<MathBlock>& results = linesPixels > rowsPixels ? lines : rows;
    const double resultPixels = std::max(linesPixels, rowsPixels);
    for (int i = 0; i < n; ++i) {
        const Statement& statement = questions[static_cast<std::size_t>(i)].statement;
        painter.setPen(theme.dim);
        Text(painter, place(i, 0, 0.07), QString("%1.").arg(i + 1), font.pixelSize(),
             Qt::AlignLeft | Qt::AlignVCenter);
        painter.setPen(theme.text);
        for (const MathLine& line : StatementBlock(statement).lines) drawn_ << LineText(line);
        PaintStatement(painter, place(i, 0.07, 0.36), statement, Pixels(font, statementPixels),
                       Qt::AlignLeft);
        const MathBlock& result = results[static_cast<std::size_t>(i)];
        drawn_ << LineText(rows[static_cast<std::size_t>(i)].lines[0]);
        painter.setPen(theme.accent);
        PaintBlock(painter, place(i, 0.45, 0.55), result, Pixels(font, resultPixels),
                   Qt::AlignLeft);
    }
}

void ProjectionWindow::PaintSummary(QPainter& painter, const QRectF& area) {
    const Theme theme = ThemeOf(choices_.dark);
    const double h = height();
    painter.setPen(theme.text);
    Text(painter, QRectF(area.left(), area.top(), area.width(), h * 0.09), "Les réponses",
         static_cast<int>(h * 0.06));
    // The codes print the same questions again ("equat-sheet --code").
    QStringList codes;
    for (std::size_t v = 0; v < set_.copies.size(); ++v)
        codes << (set_.copies.size() > 1 ? QString(QChar('A' + static_cast<int>(v))) + " : " : "") +
                     QString::fromStdString(set_.copies[v].codeText);
    painter.setPen(theme.dim);
    Text(painter, QRectF(area.left(), area.top() + h * 0.09, area.width(), h * 0.06),
         "Code : " + codes.join("     "), static_cast<int>(h * 0.035));
    const QRectF rows = area.adjusted(0, h * 0.17, 0, 0);
    const double w = rows.width() / static_cast<double>(set_.copies.size());
    for (std::size_t v = 0; v < set_.copies.size(); ++v)
        PaintSummaryColumn(painter,
                           QRectF(rows.left() + w * static_cast<double>(v), rows.top(),
                                  w - rows.width() * 0.02, rows.height()),
                           set_.copies[v]);
}

void ProjectionWindow::PaintStart(QPainter& painter, const QRectF& area) {
    const Theme theme = ThemeOf(choices_.dark);
    const double h = height();
    painter.setPen(theme.text);
    Text(painter, area.adjusted(0, 0, 0, -h * 0.4), "Questions flash", static_cast<int>(h * 0.1));
    const QString time =
        choices_.seconds ? TimeText(choices_.seconds) + " par question" : "sans minuteur";
    painter.setPen(theme.dim);
    Text(painter, area.adjusted(0, h * 0.2, 0, -h * 0.2),
         QString("%1 question%2, %3").arg(count()).arg(count() > 1 ? "s" : "").arg(time),
         static_cast<int>(h * 0.05));
    Text(painter, area.adjusted(0, h * 0.4, 0, 0),
         "Espace ou → : commencer     P : pause     Échap : quitter", static_cast<int>(h * 0.035));
}

void ProjectionWindow::paintEvent(QPaintEvent*) {
    drawn_.clear();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const Theme theme = ThemeOf(choices_.dark);
    painter.fillRect(rect(), theme.background);
    const double h = height(), margin = h * 0.04;
    const QRectF bar(0, 0, width(), h * 0.12);
    const QRectF area = QRectF(rect()).adjusted(margin, bar.height() + margin, -margin, -margin);
    if (page_ == Page::Start) return PaintStart(painter, area);
    if (page_ == Page::Summary)
        return PaintSummary(painter, QRectF(rect()).adjusted(margin, margin, -margin, -margin));
    PaintHeader(painter, bar);
    const auto versions = static_cast<double>(set_.copies.size());
    const double w = area.width() / versions;
    for (std::size_t v = 0; v < set_.copies.size(); ++v) {
        const QRectF half(area.left() + w * static_cast<double>(v), area.top(), w, area.height());
        if (versions > 1) {
            painter.setPen(theme.dim);
            Text(painter, QRectF(half.left(), half.top(), half.width(), h * 0.06),
                 QString(QChar('A' + static_cast<int>(v))), static_cast<int>(h * 0.05));
            if (v > 0)
                painter.drawLine(QPointF(half.left(), half.top()),
                                 QPointF(half.left(), half.bottom()));
        }
        PaintQuestion(painter, half.adjusted(w * 0.03, versions > 1 ? h * 0.06 : 0, -w * 0.03, 0),
                      v, page_ == Page::Answer);
    }
}

}  // namespace equat
