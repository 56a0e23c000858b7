// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <string_view>

namespace equat {

// The title (markup) with the name (Windows-1252 text, shown as typed whatever its signs:
// TextAsMarkup) in place of "Nom :" (the spaces after it shortened to keep what follows in
// place), or before the title when it has no "Nom :". After a full name (two words or more) the
// title's "Prénom :" and its spaces go.
std::string TitleWithName(std::string_view title, std::string_view name);

}  // namespace equat
