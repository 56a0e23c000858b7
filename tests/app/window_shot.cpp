// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a picture of the window after a level-2 first-degree generation (docs/window.png)
// and, when asked, one of the class set dialog (docs/class-dialog.png).
// Usage: equat_window_shot OUTPUT.png [DIALOG.png]
#include <QApplication>
#include <QPixmap>
#include <QPushButton>
#include <QSlider>
#include <QThread>
#include <cstdio>

#include "app/classdialog.h"
#include "app/uequat.h"
#include "settings/formstorage.h"

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s OUTPUT.png [DIALOG.png]\n", argv[0]);
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
    if (argc == 3) {
        form.btnSerie->click();
        for (int i = 0; i < 20; ++i) {
            QApplication::processEvents();
            QThread::msleep(10);
        }
        if (!form.classDialog().grab().save(QString::fromLocal8Bit(argv[2]))) return 1;
    }
    return 0;
}
