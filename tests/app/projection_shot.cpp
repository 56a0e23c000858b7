// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures of the projection for the documentation: a question, the same paused, two versions
// side by side and the summary, each taken from the whole screen with ImageMagick's import (run
// it under a display of its own: xvfb-run -s "-screen 0 1280x720x24").
// Usage: equat_projection_shot FOLDER
#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QThread>
#include <cstdio>

#include "app/projection.h"

namespace {

void Settle() {
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
}

bool Shoot(const QString& file) {
    Settle();
    return QProcess::execute("import", {"-window", "root", file}) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    std::int64_t now = 0;
    equat::SheetSettings settings;
    settings.level = 2;
    settings.keyStyle = equat::KeyStyle::Exact;
    equat::RandomSource stream(2026);
    equat::ProjectionChoices choices;
    std::string error;
    auto one = std::make_unique<equat::ProjectionWindow>(
        *equat::DrawProjection("2d", settings, choices, stream, &error), choices,
        [&] { return now; });
    one->ShowOn(nullptr);
    one->Next();
    now = 12000;
    bool ok = Shoot(folder.filePath("projection-question.png"));
    one->TogglePause();
    ok = ok && Shoot(folder.filePath("projection-paused.png"));
    one->Next();
    ok = ok && Shoot(folder.filePath("projection-answer.png"));
    for (int i = 0; i < 12; ++i) one->Next();
    ok = ok && Shoot(folder.filePath("projection-summary.png"));
    one.reset();
    choices.twoVersions = true;
    choices.dark = true;
    settings.keyStyle = equat::KeyStyle::Decimal;
    auto two = std::make_unique<equat::ProjectionWindow>(
        *equat::DrawProjection("syst", settings, choices, stream, &error), choices,
        [&] { return now; });
    two->ShowOn(nullptr);
    two->Next();
    ok = ok && Shoot(folder.filePath("projection-two-versions.png"));
    return ok ? 0 : 1;
}
