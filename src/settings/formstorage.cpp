#include "settings/formstorage.h"

#include <unistd.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QStandardPaths>
#include <QWidget>
#include <exception>

#include "core/cp1252.h"
#include "platform/qtcp1252.h"

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

QSize Shrunk(QSize size, const QMargins& m) {
    return {size.width() - m.left() - m.right(), size.height() - m.top() - m.bottom()};
}

bool IsNormalState(const QWidget* w) {
    return !(w->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
}

}  // namespace

FormStorage::FormStorage(const Controls& controls, QObject* parent)
    : QObject(parent),
      c_(controls),
      probe_(std::make_unique<SysfsDriveTypeProbe>()),
      executablePath_(QCoreApplication::applicationFilePath()) {
    setObjectName("FormStorage1");
    showError_ = [this](const QString& message) {
        QWidget* form = c_.form;
        // At destruction the window is already hidden: the box stands on its own then.
        QMessageBox::critical(form && form->isVisible() ? form : nullptr,
                              form ? form->windowTitle() : QString(), message);
    };
    // A longer typed instruction would come back cut, since a value is read up to this length.
    if (c_.Combo1 && c_.Combo1->lineEdit())
        c_.Combo1->lineEdit()->setMaxLength(static_cast<int>(kIniMaxValueLength));
    if (c_.form) c_.form->installEventFilter(this);
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

StoredValues FormStorage::ReadControls() const {
    StoredValues v;
    v.spMaxLigne = c_.spMaxLigne->value();
    v.spinterligne = c_.spinterligne->value();
    v.eTitre1 = ToCp1252(c_.eTitre1->text());
    v.eSepar = ToCp1252(c_.eSepar->text());
    v.spCorriges = c_.spCorriges->value();
    v.spSujets = c_.spSujets->value();
    v.saveDialogInitialDir = FolderForFile(SaveDialogInitialDir());
    v.combo1Text = ToCp1252(c_.Combo1->currentText());
    v.combo1Items.clear();
    for (int i = 0; i < c_.Combo1->count(); ++i)
        v.combo1Items.push_back(ToCp1252(c_.Combo1->itemText(i)));
    v.checkBox1Checked = c_.CheckBox1->isChecked();
    v.trbNiveauPosition = c_.trbNiveau->value();
    v.ckbEditeChecked = c_.ckbEdite->isChecked();
    return v;
}

void FormStorage::ApplyValues(const StoredValues& current, const StoredValues& v) {
    auto setLine = [](QLineEdit* e, const std::string& text) {
        e->setText(FromCp1252(text));
        e->setCursorPosition(0);  // the beginning of a long title is what tells it apart
    };
    // Only what differs is set: an equal value must not run a handler.
    for (StoredProp prop : DifferingProps(current, v)) {
        try {
            switch (prop) {
                case StoredProp::kSpMaxLigne:
                    c_.spMaxLigne->setValue(v.spMaxLigne);
                    break;
                case StoredProp::kSpinterligne:
                    c_.spinterligne->setValue(v.spinterligne);
                    break;
                case StoredProp::kETitre1:
                    setLine(c_.eTitre1, v.eTitre1);
                    break;
                case StoredProp::kESepar:
                    setLine(c_.eSepar, v.eSepar);
                    break;
                case StoredProp::kSpCorriges:
                    c_.spCorriges->setValue(v.spCorriges);
                    break;
                case StoredProp::kSpSujets:
                    c_.spSujets->setValue(v.spSujets);
                    break;
                case StoredProp::kSaveDialogInitialDir:
                    SetSaveDialogInitialDir(FromCp1252(v.saveDialogInitialDir));
                    break;
                case StoredProp::kCombo1Text:
                    c_.Combo1->setEditText(FromCp1252(v.combo1Text));
                    break;
                case StoredProp::kCombo1Items: {
                    // Replacing the list must leave the text restored just before, and is
                    // no change of that text.
                    const QString text = c_.Combo1->currentText();
                    const QSignalBlocker block(c_.Combo1);
                    QStringList items;
                    for (const auto& item : v.combo1Items) items << FromCp1252(item);
                    c_.Combo1->clear();
                    c_.Combo1->addItems(items);
                    c_.Combo1->setCurrentIndex(-1);
                    c_.Combo1->setEditText(text);
                    break;
                }
                case StoredProp::kCheckBox1:
                    c_.CheckBox1->setChecked(v.checkBox1Checked);
                    break;
                case StoredProp::kTrbNiveau:
                    c_.trbNiveau->setValue(v.trbNiveauPosition);
                    break;
                case StoredProp::kCkbEdite:
                    c_.ckbEdite->setChecked(v.ckbEditeChecked);
                    break;
            }
        } catch (const std::exception&) {
            // One entry that cannot be applied does not stop the others.
        }
    }
}

WindowPlacement FormStorage::ReadPlacement() const {
    const QWidget* f = c_.form;
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
    const QRect frame = normal.marginsAdded(FrameMargins(f));
    p.normalRect = {frame.left(), frame.top(), frame.left() + frame.width(),
                    frame.top() + frame.height()};
    return p;
}

void FormStorage::ApplyPlacement(const WindowPlacement& p) {
    QWidget* f = c_.form;
    const IniRect& r = p.normalRect;
    QSize frameSize(r.right - r.left, r.bottom - r.top);
    const QPoint topLeft(r.left, r.top);

    // A damaged file must not ask for a window larger than the desktop, nor put it where no
    // screen shows its top edge (a screen since unplugged): the centred place stays then.
    QScreen* target = QGuiApplication::screenAt(topLeft);
    if (!target) target = f->screen();
    if (target)
        frameSize = frameSize.boundedTo(
            target->availableVirtualGeometry().size().expandedTo(f->frameGeometry().size()));
    bool reachable = false;
    const QRect topEdge(topLeft, QSize(frameSize.width(), std::min(frameSize.height(), 16)));
    for (const QScreen* s : QGuiApplication::screens())
        reachable = reachable || s->availableGeometry().intersects(topEdge);

    const QMargins m = FrameMargins(f);
    f->resize(Shrunk(frameSize, m));
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
    QWidget* f = c_.form;
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
    QWidget* f = c_.form;
    if (!pendingFrameSize_ || !IsNormalState(f)) return;
    const QMargins m = FrameMargins(f);
    if (m.isNull()) return;
    const QSize frame = *pendingFrameSize_;
    pendingFrameSize_.reset();
    // Still the size the restore gave (the teacher has not resized it meanwhile).
    if (f->size() == frame) f->resize(Shrunk(frame, m));
}

bool FormStorage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == c_.form && pendingFrameSize_) {
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
    in.applicationMinimized = c_.form->isMinimized();
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
