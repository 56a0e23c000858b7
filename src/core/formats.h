// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace equat {

// The suffixes of the files beside a subject file, said once: its answer key, and a class
// set's answer grid.
inline constexpr std::string_view kAnswerKeySuffix = "_Cor";
inline constexpr std::string_view kAnswerGridSuffix = "_Grille";

// The outputs a sheet or a class set is written to, one row each.
struct FormatInfo {
    std::string_view name;       // the batch tools' choice ("--to pdf")
    std::string_view extension;  // of every file it writes
    std::string_view suffix;     // after the stem of its (first) file
    bool pair;                   // a subject file and its key beside it
    bool laidOut;                // needs the page layout (the Qt layers)
    bool fromRtf;                // a document read from RTF converts to it (equat-rtf)
};
// clang-format off
inline constexpr FormatInfo kFormats[] = {
    //  name    ext     suffix             pair   laidOut fromRtf
    {"rtf",  ".rtf", "",                true,  false,  true},
    {"txt",  ".txt", "",                false, false,  true},
    {"pdf",  ".pdf", "",                true,  true,   true},
    {"png",  ".png", "",                false, true,   true},
    {"grid", ".pdf", kAnswerGridSuffix, false, true,   false},
};
// clang-format on

// The row of a name; nullptr for an unknown one. Format(name) for a name of the table.
const FormatInfo* FindFormat(std::string_view name);
const FormatInfo& Format(std::string_view name);

// The file beside a subject file: the subject's name without its extension (stem), the
// suffix, then the extension.
std::string BesideName(std::string_view stem, std::string_view suffix, std::string_view extension);
// The files a format writes for a stem: "stem.pdf" and "stem_Cor.pdf" for a pair, else one.
std::vector<std::string> FormatFiles(const FormatInfo& format, std::string_view stem);

}  // namespace equat
