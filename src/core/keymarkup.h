// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The answer keys' exact values and worked steps in the keys' markup and RTF.
#include <string>
#include <string_view>

#include "core/exact.h"
#include "core/steps.h"

namespace equat {

// The Symbol font's radical sign, set in the keys' Arial after it.
inline constexpr std::string_view kRootMarkup = "<symbol>\xD6<arial>";

// The markup of one exact value in an answer key, set in the key's Arial: the exact text
// with the Symbol font's radical sign, and for a non-integer value " = " or " \xBB " (the
// Symbol font's almost-equal sign) followed by its decimal.
std::string ExactKeyMarkup(const Surd& x);
// The same, converted to RTF and appended.
void AppendExactKeyRtf(std::string& out, const Surd& x);

// A relation's sign between spaces, as markup: " = ", " < ", the Symbol font's " ≤ "...
std::string_view RelationMarkup(Relation relation);
// A solution set as the keys write it, "S = ]-<symbol>\xA5<arial> ; 3]": each value exact (with
// the radical sign) or, when not `exact`, rounded to two decimals.
std::string SolutionSetMarkup(const SolutionSet& set, bool exact = true);
// A sign table as a table of the markup (<row=...>, <cell>, </row>), in the keys' fonts: a row
// for x and the values between -∞ and +∞, each factor's row and the whole expression's
// (a quotient over "/"), a cell per interval and per value. It starts a paragraph and its last
// row ends one.
std::string SignTableMarkup(const SignTable& table);

// The steps as markup in the keys' fonts, one indented line each.
std::string WorkedStepsMarkup(const Steps& steps);
// The same, converted to RTF and appended.
void AppendWorkedStepsRtf(std::string& out, const Steps& steps);

}  // namespace equat
