#pragma once
#include <functional>

namespace equat {

// Creates the application and the main window, shows it and runs the event loop until the
// window closes. firstPainted, when given, runs once the window has been painted for the first
// time (start-up measurements).
int RunEquat(int& argc, char** argv, const std::function<void()>& firstPainted = {});

}  // namespace equat
