// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/formstorage.h"

#include <unistd.h>

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStandardPaths>
#include <QWidget>
#include <exception>
#include <variant>

#include "core/cp1252.h"
#include "settings/qtcp1252.h"

namespace equat {

namespace fs = std::filesystem;

namespace {

fs::path PathOf(const QString& path) {
    return fs::path(QFile::encodeName(path).toStdString());
}

QString QStringOf(const fs::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

// The frame around the client area; empty until the window manager has framed the window.
QMargins FrameMargins(const QWidget* w) {
    const QRect f = w->frameGeometry();
    const QRect g = w->geometry();
    return {g.left() - f.left(), g.top() - f.top(), f.right() - g.right(), f.bottom() - g.bottom()};
}

// A menu bar above the design area counts as the frame's: the file keeps the rectangle the
// window had before it had menus, and a file written by an earlier version restores the same
// design area.
QMargins MenuMargins(const QWidget* w) {
    const auto* bar = w->findChild<QMenuBar*>(QString(), Qt::FindDirectChildrenOnly);
    if (!bar || bar->isHidden()) return {};
    const int h = bar->heightForWidth(w->width());
    return {0, 0, 0, h > 0 ? h : bar->sizeHint().height()};
}

QSize Shrunk(QSize size, const QMargins& m) {
    return {size.width() - m.left() - m.right(), size.height() - m.top() - m.bottom()};
}

bool IsNormalState(const QWidget* w) {
    return !(w->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
}

template <class... F>
struct Overload : F... {
    using F::operator()...;
};

// Values by the kind of control: spin fields and track bars hold integers, check boxes
// booleans, line edits and combo boxes texts (a fixed list its index), a combo box's list the
// items.
int IntOf(const QObject* w) {
    if (const auto* spin = qobject_cast<const QSpinBox*>(w)) return spin->value();
    if (const auto* slider = qobject_cast<const QAbstractSlider*>(w)) return slider->value();
    if (const auto* combo = qobject_cast<const QComboBox*>(w)) return combo->currentIndex();
    return 0;
}

void SetInt(QObject* w, int value) {
    if (auto* spin = qobject_cast<QSpinBox*>(w)) spin->setValue(value);
    if (auto* slider = qobject_cast<QAbstractSlider*>(w)) slider->setValue(value);
    if (auto* combo = qobject_cast<QComboBox*>(w)) combo->setCurrentIndex(value);
}

bool CheckedOf(const QObject* w) {
    if (const auto* item = qobject_cast<const QAction*>(w)) return item->isChecked();
    const auto* button = qobject_cast<const QAbstractButton*>(w);
    return button && button->isChecked();
}

void SetChecked(QObject* w, bool checked) {
    if (auto* button = qobject_cast<QAbstractButton*>(w)) button->setChecked(checked);
    if (auto* item = qobject_cast<QAction*>(w)) item->setChecked(checked);
}

QString TextOf(const QObject* w) {
    if (const auto* line = qobject_cast<const QLineEdit*>(w)) return line->text();
    if (const auto* combo = qobject_cast<const QComboBox*>(w)) return combo->currentText();
    return {};
}

void SetText(QObject* w, const QString& text) {
    if (auto* line = qobject_cast<QLineEdit*>(w)) {
        line->setText(text);
        line->setCursorPosition(0);  // the beginning of a long title is what tells it apart
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        combo->setEditText(text);
    }
}

std::vector<std::string> ItemsOf(const QObject* w) {
    std::vector<std::string> items;
    if (const auto* combo = qobject_cast<const QComboBox*>(w))
        for (int i = 0; i < combo->count(); ++i) items.push_back(ToCp1252(combo->itemText(i)));
    return items;
}

// Replacing the list must leave the text restored just before, and is no change of that text.
void SetItems(QObject* w, const std::vector<std::string>& items) {
    auto* combo = qobject_cast<QComboBox*>(w);
    if (!combo) return;
    const QString text = combo->currentText();
    const QSignalBlocker block(combo);
    QStringList list;
    for (const auto& item : items) list << FromCp1252(item);
    combo->clear();
    combo->addItems(list);
    combo->setCurrentIndex(-1);
    combo->setEditText(text);
}

}  // namespace

FormStorage::FormStorage(QWidget* form, QObject* parent)
    : QObject(parent),
      form_(form),
      probe_(std::make_unique<SysfsDriveTypeProbe>()),
      executablePath_(QCoreApplication::applicationFilePath()) {
    setObjectName("FormStorage1");
    showError_ = [this](const QString& message) {
        QWidget* form = form_;
        // At destruction the window is already hidden: the box stands on its own then.
        QMessageBox::critical(form && form->isVisible() ? form : nullptr,
                              form ? form->windowTitle() : QString(), message);
    };
    // A longer typed text would come back cut, since a value is read up to this length.
    for (const StoredSetting& s : kStoredSettings) {
        auto* combo = qobject_cast<QComboBox*>(Control(s));
        if (combo && combo->lineEdit() && s.maxLength == std::string::npos)
            combo->lineEdit()->setMaxLength(static_cast<int>(kIniMaxValueLength));
    }
    if (form_) form_->installEventFilter(this);
}

FormStorage::~FormStorage() = default;

void FormStorage::SetIniFileName(const QString& path, const QString& readFallback) {
    iniFileName_ = path;
    iniReadFallback_ = readFallback;
}

QString FormStorage::SaveDialogInitialDir() const {
    return getInitialDir_ ? getInitialDir_() : initialDir_;
}

void FormStorage::SetSaveDialogInitialDir(const QString& dir) {
    if (setInitialDir_)
        setInitialDir_(dir);
    else
        initialDir_ = dir;
}

void FormStorage::BindSaveDialogInitialDir(std::function<QString()> get,
                                           std::function<void(const QString&)> set) {
    getInitialDir_ = std::move(get);
    setInitialDir_ = std::move(set);
}

void FormStorage::SetErrorHandler(std::function<void(const QString&)> handler) {
    showError_ = std::move(handler);
}

void FormStorage::SetDriveTypeProbe(std::unique_ptr<DriveTypeProbe> probe) {
    probe_ = std::move(probe);
}

SettingsSession::State FormStorage::state() const {
    return session_ ? session_->state() : SettingsSession::State::kNotRestored;
}

bool FormStorage::ExecutableOnRemovableDrive() const {
    return probe_ && !executablePath_.isEmpty() && probe_->IsRemovable(PathOf(executablePath_));
}

QString FormStorage::DefaultIniFileName(const QString& executable, const QString& userConfigDir) {
    const QFileInfo exe(executable);
    // access() also answers for read-only mounts, which permission bits do not show.
    const bool writable = ::access(QFile::encodeName(exe.absolutePath()).constData(), W_OK) == 0;
    return QStringOf(ChooseIniPath(PathOf(exe.absoluteFilePath()), writable,
                                   userConfigDir.isEmpty() ? fs::path() : PathOf(userConfigDir)));
}

QString FormStorage::BesideIniFileName(const QString& executable) {
    return QStringOf(IniPathBesideExecutable(PathOf(QFileInfo(executable).absoluteFilePath())));
}

QString FormStorage::UserConfigDir() {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return base.isEmpty() ? QString() : base + "/equat";
}

std::string FormStorage::FolderForFile(const QString& dir) {
    if (dir.isEmpty()) return {};
    QString d = QDir::fromNativeSeparators(dir);
    for (;;) {
        if (auto bytes = Utf8ToCp1252(d.toStdString())) return *bytes;
        const QString parent = QFileInfo(d).path();
        if (parent == d || parent == ".") return {};
        d = parent;
    }
}

// ---- Reading and applying ------------------------------------------------------------------

QObject* FormStorage::Control(const StoredSetting& setting) const {
    if (!form_ || setting.control.empty()) return nullptr;
    return form_->findChild<QObject*>(QString::fromLatin1(
        setting.control.data(), static_cast<qsizetype>(setting.control.size())));
}

StoredValues FormStorage::ReadControls() const {
    StoredValues v;
    for (const StoredSetting& s : kStoredSettings) ReadControl(s, v);
    return v;
}

void FormStorage::ReadControl(const StoredSetting& s, StoredValues& v) const {
    QObject* w = Control(s);
    if (!w && !s.control.empty()) return;  // no such control: the design value stands
    std::visit(Overload{
                   [&](int StoredValues::*f) { v.*f = IntOf(w); },
                   [&](bool StoredValues::*f) { v.*f = CheckedOf(w); },
                   [&](std::string StoredValues::*f) {
                       v.*f = w ? ToCp1252(TextOf(w)) : FolderForFile(SaveDialogInitialDir());
                   },
                   [&](std::vector<std::string> StoredValues::*f) { v.*f = ItemsOf(w); },
               },
               s.field);
}

void FormStorage::ApplyControl(const StoredSetting& s, const StoredValues& v) {
    QObject* w = Control(s);
    if (!w && !s.control.empty()) return;
    std::visit(Overload{
                   [&](int StoredValues::*f) { SetInt(w, v.*f); },
                   [&](bool StoredValues::*f) { SetChecked(w, v.*f); },
                   [&](std::string StoredValues::*f) {
                       if (w)
                           SetText(w, FromCp1252(v.*f));
                       else
                           SetSaveDialogInitialDir(FromCp1252(v.*f));
                   },
                   [&](std::vector<std::string> StoredValues::*f) { SetItems(w, v.*f); },
               },
               s.field);
}

void FormStorage::ApplyValues(const StoredValues& current, const StoredValues& v) {
    // Only what differs is set: an equal value must not run a handler.
    for (const StoredSetting* s : DifferingProps(current, v)) {
        try {
            ApplyControl(*s, v);
        } catch (const std::exception&) {
            // One entry that cannot be applied does not stop the others.
        }
    }
}

WindowPlacement FormStorage::ReadPlacement() const {
    const QWidget* f = form_;
    WindowPlacement p;
    p.flags = 0;  // Qt has no placement flags
    const Qt::WindowStates s = f->windowState();
    p.showCmd = (s & Qt::WindowMinimized) ? 2 : (s & Qt::WindowMaximized) ? 3 : 1;
    // No icon position exists; -1 is the platform's own "none".
    p.minPosition = {-1, -1};
    p.maxPosition = {-1, -1};
    if (s & Qt::WindowMaximized) {
        const QPoint at = f->frameGeometry().topLeft();
        p.maxPosition = {at.x(), at.y()};
    }
    QRect normal = f->normalGeometry();
    if (normal.isNull()) normal = f->geometry();
    const QRect frame = normal.marginsAdded(FrameMargins(f) - MenuMargins(f));
    p.normalRect = {frame.left(), frame.top(), frame.left() + frame.width(),
                    frame.top() + frame.height()};
    return p;
}

void FormStorage::ApplyPlacement(const WindowPlacement& p) {
    QWidget* f = form_;
    const IniRect& r = p.normalRect;
    QSize frameSize(r.right - r.left, r.bottom - r.top);
    const QPoint topLeft(r.left, r.top);

    // A damaged file must not ask for a window larger than the desktop, nor put it where no
    // screen shows its top edge (a screen since unplugged): the centred place stays then.
    QScreen* target = QGuiApplication::screenAt(topLeft);
    if (!target) target = f->screen();
    const QMargins menu = MenuMargins(f);
    if (target)
        frameSize = frameSize.boundedTo(Shrunk(target->availableVirtualGeometry().size(), menu)
                                            .expandedTo(Shrunk(f->frameGeometry().size(), menu)));
    bool reachable = false;
    const QRect topEdge(topLeft, QSize(frameSize.width(), std::min(frameSize.height(), 16)));
    for (const QScreen* s : QGuiApplication::screens())
        reachable = reachable || s->availableGeometry().intersects(topEdge);

    const QMargins m = FrameMargins(f);
    f->resize(Shrunk(frameSize, m - MenuMargins(f)));
    if (reachable) {
        f->move(topLeft);  // a window's position is its frame's
    } else if (target) {
        QRect centred(QPoint(0, 0), frameSize);
        centred.moveCenter(target->availableGeometry().center());
        f->move(centred.topLeft());
    }
    if (m.isNull()) pendingFrameSize_ = frameSize;
}

void FormStorage::ApplyState(WindowState state) {
    QWidget* f = form_;
    const Qt::WindowStates others =
        f->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen);
    switch (state) {
        case WindowState::kNormal:
            f->setWindowState(others);
            break;
        case WindowState::kMaximized:
            f->setWindowState(others | Qt::WindowMaximized);
            break;
        case WindowState::kMinimized:
            // The program has this one window: minimizing it minimizes the program, and the
            // window comes back in the normal state.
            f->setWindowState(others | Qt::WindowMinimized);
            break;
    }
}

void FormStorage::FitPendingFrame() {
    QWidget* f = form_;
    if (!pendingFrameSize_ || !IsNormalState(f)) return;
    const QMargins m = FrameMargins(f);
    if (m.isNull()) return;
    const QSize frame = *pendingFrameSize_;
    pendingFrameSize_.reset();
    // Still the size the restore gave (the teacher has not resized it meanwhile).
    if (f->size() == Shrunk(frame, -MenuMargins(f))) f->resize(Shrunk(frame, m - MenuMargins(f)));
}

bool FormStorage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == form_ && pendingFrameSize_) {
        switch (event->type()) {
            case QEvent::Move:
            case QEvent::Resize:
            case QEvent::WindowStateChange:
                FitPendingFrame();
                break;
            default:
                break;
        }
    }
    return QObject::eventFilter(watched, event);
}

ScreenMetrics FormStorage::Screen() const {
    ScreenMetrics m;
    // The primary screen, so that the key's suffix does not change with the screen that
    // the window happens to stand on.
    if (const QScreen* s = QGuiApplication::primaryScreen()) {
        m.width = s->geometry().width();
        m.height = s->geometry().height();
        m.pixelsPerInch = qRound(s->logicalDotsPerInch());
    }
    return m;
}

void FormStorage::RestoreSettings() {
    if (session_ || iniFileName_.isEmpty()) return;  // once per run
    session_ = std::make_unique<SettingsSession>(IniFile(
        PathOf(iniFileName_), iniReadFallback_.isEmpty() ? fs::path() : PathOf(iniReadFallback_)));
    const StoredValues current = ReadControls();
    const RestoreResult result = session_->Restore(current, ReadPlacement(), Screen());
    if (result.blocked) return;
    if (result.placement) ApplyPlacement(*result.placement);
    if (result.state) ApplyState(*result.state);
    ApplyValues(current, result.values);
}

// ---- Saving --------------------------------------------------------------------------------

void FormStorage::Save(bool destroying) {
    if (!session_) return;  // never restored: nothing is written
    SaveInput in;
    in.values = ReadControls();
    in.placement = ReadPlacement();
    in.screen = Screen();
    in.applicationMinimized = form_->isMinimized();
    in.destroying = destroying;
    const IniStatus status = session_->Save(in);
    if (!status && showError_)
        showError_(QString::fromStdString(IniWriteErrorMessage(session_->file().path())));
}

void FormStorage::SaveSettings() {
    Save(false);
}

void FormStorage::SaveAtDestruction() {
    Save(true);
}

}  // namespace equat
