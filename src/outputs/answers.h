// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The answers the question banks ask of a question, whatever their format: the verdict as a
// choice among words, and the same value blanks for every question of a kind.
#include <cstddef>
#include <optional>
#include <string>
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
// A kind whose result is a set, by these rules too: under the same blanks for every question,
// an equation's solutions (none, one, two, every real) as a choice and its values in blanks;
// an inequation's set as a choice of shape (kInequationShapes), its bounds a and b in blanks
// and the bracket written beside each ("[", "]", none).
std::vector<Surd> BlankValues(std::string_view kind, const QuestionResult& r);

// Whether a kind's questions are inequations (their instruction says so).
bool IsInequationKind(std::string_view kind);
// The values a kind's blanks ask: its bounds a (and b), or its solutions.
std::size_t SetBlankCount(std::string_view kind);
// A set kind's shapes as choices (UTF-8): the equations' count of solutions, the
// inequations' shapes; the brackets' choices.
const std::vector<std::string_view>& SetShapeChoices(std::string_view kind);
extern const std::vector<std::string_view> kBracketChoices;
// The answer a set kind's blanks take: its shape, its values (zeros where unused, a single
// solution twice in two blanks) and, for an inequation, each bound's bracket (2: none).
struct SetAnswer {
    std::size_t shape = 0;
    std::vector<Surd> values;
    std::vector<std::size_t> brackets;
};
// None when the set has a shape the kind's blanks cannot say (it is then not graded).
std::optional<SetAnswer> SetAnswerOf(std::string_view kind, const SolutionSet& set);
// The sentence telling how to fill the blanks that a question does not use (UTF-8).
std::string_view SetBlankRule(std::string_view kind);

}  // namespace equat
