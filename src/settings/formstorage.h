// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QObject>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "settings/drivetype.h"
#include "settings/settingsmodel.h"

class QWidget;

namespace equat {

// The window's settings store: restores the stored control values and the window's
// placement from the INI file when the window is first shown, and writes them back when it
// closes (or, failing that, when it is destroyed). The rules of the file and the list of
// stored values live in settingsmodel.h; this class copies values between the controls and
// the model by the kind of each control, and maps Qt's geometry and window state onto the
// placement entries.
//
// Controls are set through their ordinary setters, so a restored value that differs from
// the control's current one runs the window's change handlers as a user's change does.
class FormStorage : public QObject {
    Q_OBJECT
  public:
    // The window; the stored controls are its children named in kStoredSettings.
    explicit FormStorage(QWidget* form, QObject* parent = nullptr);
    ~FormStorage() override;

    // The INI file, set before the window is first shown: the restore fixes the file for
    // the rest of the run. Empty switches the store off (nothing read, nothing written).
    // readFallback is read instead while the file does not exist yet.
    const QString& IniFileName() const { return iniFileName_; }
    void SetIniFileName(const QString& path, const QString& readFallback = QString());

    // The save dialog's initial folder. The store keeps it itself unless the dialog's owner
    // binds its own getter and setter.
    QString SaveDialogInitialDir() const;
    void SetSaveDialogInitialDir(const QString& dir);
    void BindSaveDialogInitialDir(std::function<QString()> get,
                                  std::function<void(const QString&)> set);

    // Shows a failed write's message; an error box unless replaced (tests capture it).
    void SetErrorHandler(std::function<void(const QString& message)> handler);
    // Answers whether the executable lies on a removable drive.
    void SetDriveTypeProbe(std::unique_ptr<DriveTypeProbe> probe);
    // The executable whose drive decides the please-wait notice (the running program
    // unless set).
    void SetExecutablePath(const QString& path) { executablePath_ = path; }

    SettingsSession::State state() const;

    // Whether the close should show the please-wait notice before the save.
    bool ExecutableOnRemovableDrive() const;

    // The default INI file for an executable: beside it with ".ini" as extension, or, when
    // its folder cannot be written (a system-wide install), the same name in
    // userConfigDir.
    static QString DefaultIniFileName(const QString& executable, const QString& userConfigDir);
    // The INI file beside the executable, whether or not its folder can be written.
    static QString BesideIniFileName(const QString& executable);
    // userConfigDir's default: the user's configuration folder for this program.
    static QString UserConfigDir();

    // A folder as the file can hold it: Windows-1252 cannot hold every character of a
    // Linux path, so the nearest enclosing folder that it can hold stands in (empty when
    // none can).
    static std::string FolderForFile(const QString& dir);

  public slots:
    // Once, when the window is first shown: reads the file and applies it.
    void RestoreSettings();
    // When the close has been granted: writes the file; a failure shows the message and
    // leaves the retry to the destruction.
    void SaveSettings();
    // When the window is destroyed: writes the file with "Visible" = "1" unless a save
    // has already succeeded.
    void SaveAtDestruction();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QObject* Control(const StoredSetting& setting) const;
    StoredValues ReadControls() const;
    void ReadControl(const StoredSetting& setting, StoredValues& values) const;
    void ApplyControl(const StoredSetting& setting, const StoredValues& values);
    void ApplyValues(const StoredValues& current, const StoredValues& restored);
    WindowPlacement ReadPlacement() const;
    void ApplyPlacement(const WindowPlacement& placement);
    void ApplyState(WindowState state);
    ScreenMetrics Screen() const;
    void Save(bool destroying);
    void FitPendingFrame();

    QWidget* form_;
    QString iniFileName_;
    QString iniReadFallback_;
    QString initialDir_;
    std::function<QString()> getInitialDir_;
    std::function<void(const QString&)> setInitialDir_;
    std::function<void(const QString&)> showError_;
    std::unique_ptr<DriveTypeProbe> probe_;
    QString executablePath_;
    std::unique_ptr<SettingsSession> session_;
    // The restored outer size, applied once the window manager has told the frame's size
    // (it is unknown before the window is first mapped).
    std::optional<QSize> pendingFrameSize_;
};

}  // namespace equat
