// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/toolapp.h"

#include <QGuiApplication>
#include <cstdio>

#include "platform/graphpainter.h"

namespace equat {

namespace {

QtMessageHandler gQtMessages = nullptr;

// Without a session (a batch job, a service) the variable is not set and Qt's fallback
// works: its warning would only clutter every run.
void QuietMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtWarningMsg && text.startsWith("QStandardPaths: XDG_RUNTIME_DIR")) return;
    if (gQtMessages) {
        gQtMessages(type, context, text);
    } else {
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
    }
}

}  // namespace

void EnsureApplication() {
    if (QCoreApplication::instance()) return;
    gQtMessages = qInstallMessageHandler(QuietMessages);
    // The tools never show a window: the lightest platform that still has the fonts (the
    // same font database as the others), and no GLib loop, which they never run.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "minimal:enable_fonts");
    if (qEnvironmentVariableIsEmpty("QT_NO_GLIB")) qputenv("QT_NO_GLIB", "1");
    static int argc = 1;
    static char name[] = "equat";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    RegisterGraphPainter();
}

}  // namespace equat
