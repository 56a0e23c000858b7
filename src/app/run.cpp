// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/run.h"

#include <QApplication>
#include <QEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app/uequat.h"

namespace equat {

namespace {

class FirstPaintWatcher : public QObject {
  public:
    explicit FirstPaintWatcher(std::function<void()> done) : done_(std::move(done)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (done_ && event->type() == QEvent::Paint) {
            auto done = std::move(done_);
            done_ = nullptr;
            done();
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    std::function<void()> done_;
};

}  // namespace

bool InstallToolkitTranslations(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QLocale(QLocale::French, QLocale::France), "qtbase", "_",
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

int RunEquat(int& argc, char** argv, const std::function<void()>& firstPainted) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Equat");
    QApplication::setOrganizationName("Equat");
    InstallToolkitTranslations(app);
    TForm1 form;
    QApplication::setWindowIcon(form.windowIcon());
    FirstPaintWatcher watcher(firstPainted);
    if (firstPainted) form.installEventFilter(&watcher);
    form.show();
    return QApplication::exec();
}

}  // namespace equat
