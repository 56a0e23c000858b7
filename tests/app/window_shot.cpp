// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a picture of the window after a level-2 first-degree generation (docs/window.png).
// Usage: equat_window_shot OUTPUT.png
#include <QApplication>
#include <QPixmap>
#include <QPushButton>
#include <QSlider>
#include <QThread>
#include <cstdio>

#include "app/uequat.h"
#include "settings/formstorage.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
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
    return form.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
