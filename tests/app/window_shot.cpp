// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a picture of the window after a level-2 first-degree generation (docs/window.png)
// and, when asked, one of the class set dialog (docs/class-dialog.png) and one of the screen
// with the message after the dialog saved a set (docs/class-saved.png, taken with ImageMagick's
// import from the whole screen, so run it under a display of its own).
// Usage: equat_window_shot OUTPUT.png [DIALOG.png [SAVED.png]]
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <cstdio>

#include "app/classdialog.h"
#include "app/uequat.h"
#include "settings/formstorage.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "usage: %s OUTPUT.png [DIALOG.png [SAVED.png]]\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    equat::TForm1 form;
    form.FormStorage1->SetIniFileName({});  // the design values, whatever an earlier run stored
    form.show();
    QApplication::setActiveWindow(&form);
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
    form.trbNiveau->setValue(2);
    form.btnEquat1d->click();
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
    if (!form.grab().save(QString::fromLocal8Bit(argv[1]))) return 1;
    if (argc >= 3) {
        form.btnSerie->click();
        form.classDialog().mNoms->setPlainText("Zoé Martin\nAdam Durand\nLéa Petit");
        for (int i = 0; i < 20; ++i) {
            QApplication::processEvents();
            QThread::msleep(10);
        }
        if (!form.classDialog().grab().save(QString::fromLocal8Bit(argv[2]))) return 1;
    }
    if (argc == 4) {
        QTemporaryDir dir;
        const QString folder = dir.filePath("Serie 4e B");
        QDir().mkpath(folder);
        form.classDialog().SetFolderDialog([&](QWidget*, const QString&) { return folder; });
        // The message is modal: the screen is taken once it stands, then it is closed.
        int status = 1;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget* box = QApplication::activeModalWidget();
            if (!box || box->objectName() != "FilesDone" || !box->isVisible()) return;
            poll.stop();
            QThread::msleep(300);
            QApplication::processEvents();
            status =
                QProcess::execute("import", {"-window", "root", QString::fromLocal8Bit(argv[3])});
            if (auto* dialog = qobject_cast<QDialog*>(box)) dialog->done(0);
        });
        poll.start(200);
        form.classDialog().SavePdf();
        if (status != 0) return 1;
    }
    return 0;
}
