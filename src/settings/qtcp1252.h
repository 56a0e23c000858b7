// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <string>
#include <string_view>

namespace equat {

// Windows-1252 <-> QString at the edge of the widgets. Characters the code page lacks become
// '?': the text fields refuse them, so this only guards text set by other means.
std::string ToCp1252(const QString& text);
QString FromCp1252(std::string_view bytes);

}  // namespace equat
