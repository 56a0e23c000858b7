// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The answers the question banks ask of a question, whatever their format: the verdict as a
// choice among words, and the same value blanks for every question of a kind.
#include <cstddef>
#include <string_view>
#include <vector>

#include "core/sheetmodel.h"

namespace equat {

// The verdicts as choices (UTF-8), first degree and systems; VerdictChoice is the right one.
extern const std::vector<std::string_view> kOneDegreeChoices;
extern const std::vector<std::string_view> kSystemChoices;
std::size_t VerdictChoice(Verdict v);

// The second degree's distinct roots, in increasing order.
std::vector<Surd> Roots(const QuestionResult& r);
// Every question of a kind has the same blanks, whatever its case, so that their number
// tells nothing: the values they take under the rule each question states (the second
// degree's smaller and larger root, a double one twice, none as zeros; x, or x and y, zeros
// when there is not one solution).
std::vector<Surd> BlankValues(std::string_view kind, const QuestionResult& r);

}  // namespace equat
