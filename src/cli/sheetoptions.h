// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/tr.h"
#include "core/sheet.h"
#include "core/sheetcode.h"

namespace equat {

// What one run of equat-sheet is asked to do, validated.
struct SheetJob {
    std::string kind = "1d";
    SheetSettings settings;
    std::optional<std::uint32_t> seed;
    int sheets = 1;
    std::string output;  // empty: the base name in the current folder
    std::string log;
    bool pdf = false;  // also write both documents as PDF beside the RTF pair
    // A class set: every copy from its own seed, its code on it, no question twice.
    std::optional<SheetCode> code;  // --code: the one copy it stands for
    std::string collate;            // all subjects into this PDF, all keys beside it
    std::string roster;             // one copy per name of this file
    std::string answers;            // the grid of every copy's results, as PDF
    std::string name;               // --name with --code: the student's, in the title
    bool raw = false;               // RTF as the generators make it, not through our writer
    bool standard = false;          // --standard: a code's copy without its adapted layout
    // A quick quiz (--quiz): questions per copy, copies per page, two levels side by side.
    int quiz = 0;
    int perPage = 4;
    bool twoLevels = false;
    bool ClassSet() const { return !collate.empty() || !roster.empty(); }
    // Exports: the questions as a bank (Moodle XML, GIFT), the documents as OpenDocument.
    std::string moodle;
    std::string gift;
    bool odt = false;
    // LaTeX documents (beside each pair, or of the whole set with --collate); a source for the
    // multiple-choice marking package.
    bool latex = false;
    std::string amc;
    bool help = false;
    bool version = false;
    std::string cases;  // --cases as typed: words of the sheet's kinds
};

// Parses the command line (UTF-8 texts). On a bad option or value returns nullopt and
// sets *error to a one-line message.
std::optional<SheetJob> ParseSheetArgs(const std::vector<std::string>& args, std::string* error);

// The help of equat-sheet, in the tools' language.
Text SheetUsage();

// A text from the command line fit to show in a message: control characters as \xNN, at
// most max bytes then "...".
std::string Shown(std::string_view text, std::size_t max = 40);

}  // namespace equat
