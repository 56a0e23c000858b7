// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/random.h"
#include "core/sheet.h"
#include "core/sheetcode.h"

namespace equat {

// One student's copy of a class set: the code that rebuilds it, the student's name
// (Windows-1252, empty without a roster) and both documents. The settings it was made with
// (SettingsForCode) are its sheet's (Sheet::settings): what lays it out is read there, never
// decoded from the code again.
struct ClassCopy {
    SheetCode code;
    std::string codeText;
    std::string name;
    Sheet sheet;
};

// A sheet drawn without a code (the window's, equat-sheet's own) as a copy: its code holds only
// what the outputs read from a copy's code (kind, level, decimal comma, graphs), from the
// sheet's settings; it has no seed and is never shown.
ClassCopy UncodedCopy(std::string_view kind, Sheet sheet);

inline constexpr std::size_t kMaxRosterName = 60;
// More than any class has (a grid of every copy still fits its page).
inline constexpr std::size_t kMaxRosterNames = 200;
// A class list is a few kilobytes: a larger file is not one.
inline constexpr std::size_t kMaxRosterBytes = 64 * 1024;

// The seed of the next copy, drawn from the set's stream (two draws of 16 bits).
std::uint32_t DrawCopySeed(RandomSource& setStream);

// A name as typed (UTF-8) as the documents hold it (Windows-1252): spaces around it
// dropped, a tab inside it a space. nullopt with *why (French, Windows-1252) for a control
// character, a name too long, or a character Windows-1252 cannot hold.
std::optional<std::string> CheckedName(std::string_view utf8, std::string* why);

// The text of a roster file as UTF-8: UTF-16 with its byte-order mark, UTF-8 (its mark
// dropped), or else Windows-1252, which spreadsheets export.
std::string RosterText(std::string_view bytes);

// The names of a roster file's bytes (see RosterText): one a line (LF, CR LF or CR), blank
// lines skipped, each a CheckedName. nullopt with *error (French, Windows-1252, the line
// number in it) for a refused name, more than kMaxRosterNames names, or none.
std::optional<std::vector<std::string>> ParseRoster(std::string_view bytes, std::string* error);

// What a roster line asks for one pupil besides the name ("Nom ; niveau ; adapté").
struct CopyChoice {
    int level = 0;         // 1..3; 0: the set's
    bool adapted = false;  // in the set's adapted layout, whether or not the set is adapted
    bool operator==(const CopyChoice&) const = default;
};

struct RosterEntry {
    std::string name;
    CopyChoice choice;
    bool operator==(const RosterEntry&) const = default;
};

// The lines of a roster as ParseRoster reads them, each with its columns: "Nom ; niveau ;
// adapté", the level 1 to 3 or empty, the third column "A" (either case) or empty, further
// columns empty; apart by ";", or by "," in a line without ";", fields in double quotes as a
// spreadsheet exports them. A line without quotes whose columns are not those is a name as it
// stands (a name may hold ";" or ","), as rosters of one name a line always were; a line
// with quotes that cannot be read so is refused with the reason.
std::optional<std::vector<RosterEntry>> ParseRosterEntries(std::string_view bytes,
                                                           std::string* error);

// copies copies of the shape's kind, level, count, interline and key style, each from its
// own seed drawn from setStream, with its code shown, and with the names in the titles when
// names is not empty (one copy per name, copies ignored). No question appears twice in the
// set: a copy that repeats a question of an earlier copy is dropped and a new seed drawn,
// so every code still rebuilds its copy alone. When a level has too few questions for so
// many copies, a copy is the attempt with the fewest repeats; *repeats receives how many
// questions of the set repeat an earlier copy's (0 when all differ).
// With progress, it is called after each copy; returning false stops: the set is empty.
// Without showCodes, the documents do not show the codes (the copies still have them).
// choices, when given, has one entry per name: that copy's level and layout.
std::vector<ClassCopy> BuildClassSet(const SheetCode& shape, const SheetSettings& base,
                                     RandomSource& setStream, int copies,
                                     const std::vector<std::string>& names, int* repeats,
                                     const std::function<bool(int)>& progress = {},
                                     bool showCodes = true,
                                     const std::vector<CopyChoice>& choices = {});

// What a class set is made of: the kind and the settings of its copies (texts, level,
// count, interline, key style), the number of copies or the names (one copy per name).
struct ClassSetRequest {
    std::string kind = "1d";
    SheetSettings settings;
    int copies = 1;
    std::vector<std::string> names;
    std::vector<CopyChoice> choices;  // empty, or one per name
    bool showCodes = true;            // each copy's code on its documents
    // Called after each copy with the number made; returning false stops the set.
    std::function<bool(int made)> progress;
};

struct ClassSet {
    std::vector<ClassCopy> copies;      // in the order drawn
    std::vector<std::size_t> keyOrder;  // by name with a roster, else the order drawn
    int repeats = 0;                    // see BuildClassSet
    bool cancelled = false;             // the progress stopped it: copies is empty then
};

// The set of a request, every copy from its own seed drawn from stream (see BuildClassSet).
ClassSet MakeClassSet(const ClassSetRequest& request, RandomSource& stream);

// Indices of the copies in the order of their names, letter case and accents aside (the
// set's order among equal names).
std::vector<std::size_t> OrderByName(const std::vector<ClassCopy>& copies);

}  // namespace equat
