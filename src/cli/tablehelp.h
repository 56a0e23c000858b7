// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "cli/tr.h"
#include "core/sheet.h"

namespace equat {

// A row of a table as the tools' help and the manual pages list it: its name and what it is
// (UTF-8, in the language asked; empty: the name alone). Every list of kinds, key styles or
// formats the tools show is made from these, so that a new row shows everywhere at once.
struct ListedChoice {
    std::string name;
    std::string help;
};

// A row's help in English, or in French (as UTF-8).
std::string HelpText(const ToolHelp& help, bool french);

// The kinds by name, in the tables' order.
std::vector<ListedChoice> KindChoices(bool french);
// The answer-key styles by name.
std::vector<ListedChoice> KeyStyleChoices(bool french);
// Each kind's case words ("one,none,all"), the kind's name as their help.
std::vector<ListedChoice> CaseChoices();
// The formats equat-rtf writes; with laidOutOnly, those laid out on pages alone.
std::vector<ListedChoice> RtfFormatChoices(bool french, bool laidOutOnly = false);

// The adapted layout's fonts and text sizes; with marked, the default's help says so.
std::vector<ListedChoice> FontChoices(bool french, bool marked);
std::vector<ListedChoice> SizeChoices(bool french, bool marked);

// The names joined by separator: "1d,2d,syst".
std::string Names(const std::vector<ListedChoice>& choices, std::string_view separator);
// "a (x), b (y) or c (z)", "ou" in French.
std::string Listed(const std::vector<ListedChoice>& choices, bool french);
// text with each %1..%9 replaced by its list, the lines that get one wrapped at the help's
// width: an option's under the options' descriptions, another line indented a little.
std::string FillLists(std::string_view text, const std::vector<std::string>& lists);

// What the manual pages list from the tables, as CMake set() commands of roff text: the
// build configures the pages with them (cmake/ManPage.cmake).
std::string ManPageLists(bool french);

// equat-rtf's --help.
Text RtfUsage();

}  // namespace equat
