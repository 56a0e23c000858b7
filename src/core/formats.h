// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <string_view>

namespace equat {

// The suffixes of the files beside a subject file, said once: its answer key, and a class
// set's answer grid.
inline constexpr std::string_view kAnswerKeySuffix = "_Cor";
inline constexpr std::string_view kAnswerGridSuffix = "_Grille";

// The outputs a sheet or a class set is written to, one row each.
struct FormatInfo {
    std::string_view name;       // the batch tools' choice ("--to pdf")
    std::string_view extension;  // of every file it writes
    bool pair;                   // a subject file and its key beside it
    bool laidOut;                // needs the page layout (the Qt layers)
    bool fromRtf;                // a document read from RTF converts to it (equat-rtf)
};
inline constexpr FormatInfo kFormats[] = {
    {"rtf", ".rtf", true, false, true},   {"txt", ".txt", false, false, true},
    {"pdf", ".pdf", true, true, true},    {"png", ".png", false, true, true},
    {"grid", ".pdf", false, true, false},
};

// The row of a name; nullptr for an unknown one.
const FormatInfo* FindFormat(std::string_view name);
// The names of the rows that convert from RTF, "a, b, c or d".
std::string FormatNamesFromRtf();

// The file beside a subject file: the subject's name without its extension (stem), the
// suffix, then the extension.
std::string BesideName(std::string_view stem, std::string_view suffix, std::string_view extension);

}  // namespace equat
