// SPDX-License-Identifier: GPL-3.0-or-later
// Shows generated answer keys of every kind in RichEdits and saves the window as a PNG:
// richedit_screenshot OUTPUT.png [SEED]
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>

#include "core/kinds.h"
#include "platform/richedit.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: richedit_screenshot OUTPUT.png [SEED]\n");
        return 2;
    }
    const std::uint32_t seed = argc > 2 ? static_cast<std::uint32_t>(std::atol(argv[2])) : 2024;
    QWidget window;
    auto* row = new QHBoxLayout(&window);
    for (std::string_view kind : equat::KindNames()) {
        auto generator = equat::MakeKind(kind);
        equat::RandomSource rng(seed);
        equat::SheetSettings settings;
        settings.level = 2;
        settings.count = 6;
        const equat::Sheet sheet = equat::BuildSheet(*generator, rng, settings);
        auto* column = new QVBoxLayout;
        column->addWidget(new QLabel(QString::fromStdString(sheet.baseName) + " (corrigé)"));
        auto* edit = new equat::RichEdit;
        edit->Clear();
        edit->LoadRtfDocument(sheet.answerKey);
        edit->SetSelStart(0);
        edit->setLineWrapMode(QTextEdit::NoWrap);
        column->addWidget(edit);
        row->addLayout(column);
    }
    window.resize(1620, 720);
    window.show();
    int status = 1;
    QTimer::singleShot(500, [&] {
        status = window.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
        app.quit();
    });
    app.exec();
    return status;
}
