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
// (Windows-1252, empty without a roster) and both documents.
struct ClassCopy {
    SheetCode code;
    std::string codeText;
    std::string name;
    Sheet sheet;
};

inline constexpr std::size_t kMaxRosterName = 60;

// The seed of the next copy, drawn from the set's stream (two draws of 16 bits).
std::uint32_t DrawCopySeed(RandomSource& setStream);

// The title with the name in place of "Nom :" (the spaces after it shortened to keep what
// follows in place), or before the title when it has no "Nom :".
std::string TitleWithName(std::string_view title, std::string_view name);

// The names of a roster file: UTF-8, one a line, blank lines skipped, spaces around a name
// dropped. nullopt with *error (French, Windows-1252) for a name Windows-1252 cannot
// hold, a name too long, or a roster without names.
std::optional<std::vector<std::string>> ParseRoster(std::string_view utf8, std::string* error);

// copies copies of the shape's kind, level, count, interline and key style, each from its
// own seed drawn from setStream, with its code shown, and with the names in the titles when
// names is not empty (one copy per name, copies ignored). No question appears twice in the
// set: a copy that repeats a question of an earlier copy is dropped and a new seed drawn,
// so every code still rebuilds its copy alone. When a level has too few questions for so
// many copies, a copy is the attempt with the fewest repeats; *repeats receives how many
// questions of the set repeat an earlier copy's (0 when all differ).
// With progress, it is called after each copy; returning false stops: the set is empty.
// Without showCodes, the documents do not show the codes (the copies still have them).
std::vector<ClassCopy> BuildClassSet(const SheetCode& shape, const SheetSettings& base,
                                     RandomSource& setStream, int copies,
                                     const std::vector<std::string>& names, int* repeats,
                                     const std::function<bool(int)>& progress = {},
                                     bool showCodes = true);

// What a class set is made of: the kind and the settings of its copies (texts, level,
// count, interline, key style), the number of copies or the names (one copy per name).
struct ClassSetRequest {
    std::string kind = "1d";
    SheetSettings settings;
    int copies = 1;
    std::vector<std::string> names;
    bool showCodes = true;  // each copy's code on its documents
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
