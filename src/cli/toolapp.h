// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace equat {

// Makes a Qt application without a display, once, unless there is one: a GUI application
// without widgets, all that laying out, painting and PDF need.
void EnsureApplication();

}  // namespace equat
