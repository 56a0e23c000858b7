// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Timing the command-line tools, ours and LibreOffice's, as a user runs them.
#include <sys/resource.h>

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace equat::bench {

// Wall time of one run in milliseconds; *ok when it ended normally with status 0.
inline double RunMs(const QString& program, const QStringList& args, const QString& cwd, bool* ok) {
    QProcess p;
    p.setWorkingDirectory(cwd);
    QElapsedTimer clock;
    clock.start();
    p.start(program, args);
    *ok = p.waitForFinished(180000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    return clock.nsecsElapsed() / 1e6;
}

// Processor time, user and system, of every child process ended and waited for so far, in
// milliseconds: the difference over some runs is their own time, start-up included.
inline double ChildrenCpuMs() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// soffice converting files of folder to PDF into folder/lo, with a private profile in
// folder/profile (made by a first, untimed run, as a user's installation already has one).
struct Soffice {
    QString program = QStandardPaths::findExecutable("soffice");
    QStringList args;

    bool Ready(const QString& folder, const QStringList& files) {
        if (program.isEmpty()) return false;
        QDir().mkpath(folder + "/lo");
        args = QStringList{"-env:UserInstallation=file://" + folder + "/profile",
                           "--headless",
                           "--convert-to",
                           "pdf",
                           "--outdir",
                           folder + "/lo"} +
               files;
        bool ok = false;
        RunMs(program, args, folder, &ok);
        return ok;
    }
    double Run(const QString& folder, bool* ok) const { return RunMs(program, args, folder, ok); }
};

}  // namespace equat::bench
