// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>

class QCoreApplication;

namespace equat {

// The interface is French whatever the desktop's language, so the toolkit's own texts
// (context menus, standard buttons, the file and print dialogs) come from Qt's French
// catalogue. Returns false, leaving those texts in English, when the catalogue is not
// installed.
bool InstallToolkitTranslations(QCoreApplication& app);

// Creates the application and the main window, shows it and runs the event loop until the
// window closes. firstPainted, when given, runs once the window has been painted for the first
// time (start-up measurements).
int RunEquat(int& argc, char** argv, const std::function<void()>& firstPainted = {});

}  // namespace equat
