// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/classset.h"
#include "core/fileio.h"

namespace equat {

// The suffixes of the files beside a subject file, said once: its answer key, and a class
// set's answer grid.
inline constexpr std::string_view kAnswerKeySuffix = "_Cor";
inline constexpr std::string_view kAnswerGridSuffix = "_Grille";

// What an output is made from: one copy (a sheet, or the window's pair as edited) or a class
// set. A copy's documents are its sheet's subject and answer key (RTF); its kind and level
// are its code's; its code text is empty for a sheet made without one.
struct OutputData {
    std::span<const ClassCopy> copies;
    std::vector<std::size_t> keyOrder;  // the keys' (and a bank's) order; empty: as drawn
    bool raw = false;                   // RTF as the generators make it, not resaved
    int quizPerPage = 0;                // a quick quiz's copies to a PDF page (2, 4, 6); 0: one
    // The positions of the copies in key order (keyOrder without what is out of range, or
    // every copy as drawn), and the copies themselves.
    std::vector<std::size_t> KeyOrder() const;
    std::vector<const ClassCopy*> InKeyOrder() const;
};

// Makes the files of a format in memory, nothing on disk: names are the files to make
// (FormatFiles' or the teacher's choice; a pair's key only when two are given). False with
// *error (French, UTF-8) when one cannot be made.
using FormatWriter = bool (*)(const OutputData& output, const std::vector<std::string>& names,
                              NamedFiles* files, std::string* error);

// The formats, one per row of the table and in its order: the program names the row it
// means, a name read from outside goes through FindFormat.
enum class FormatId { Rtf, Txt, Pdf, Png, Grid, Moodle, Gift, Odt, Latex, Amc };

// One output a sheet or a class set is written to. The table (outputs/formats.h) has one
// row per format.
struct FormatInfo {
    FormatId id;
    std::string_view name;       // the batch tools' choice ("--to pdf")
    std::string_view extension;  // of every file it writes
    std::string_view suffix;     // after the stem of its (first) file
    bool pair;                   // a subject file and its key beside it
    bool laidOut;                // needs the page layout (the Qt layers)
    bool fromRtf;                // a document read from RTF converts to it (equat-rtf)
    // The window's "Exporter..." offers it under this file-dialog filter (French, UTF-8);
    // empty: not offered there.
    std::string_view exportFilter;
    FormatWriter write;  // nullptr: this build cannot make it
    ToolHelp help{};     // what equat-rtf's help and manual page say of it (when fromRtf)
};

// The file beside a subject file: the subject's name without its extension (stem), the
// suffix, then the extension.
std::string BesideName(std::string_view stem, std::string_view suffix, std::string_view extension);
// The files a format writes for a stem: "stem.pdf" and "stem_Cor.pdf" for a pair, else one.
std::vector<std::string> FormatFiles(const FormatInfo& format, std::string_view stem);

}  // namespace equat
