// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Multiple-choice questions: the right answer among wrong ones, each wrong one the result of a
// mistake a pupil makes on that question, named so that the key can say which.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/random.h"
#include "core/sheet.h"
#include "core/sheetmodel.h"

namespace equat {

// The choices a question may offer: three or four. Each wrong choice must stand for a real
// mistake, and a question without a single solution has three natural ones (the other
// verdict, a value read from the last line, zero); a fifth would be a made-up distractor.
inline constexpr int kMinChoices = 3;
inline constexpr int kMaxChoices = 4;
inline constexpr int kDefaultChoices = 4;

// A pupil's mistake: its words for the key (French, Windows-1252) and what it gives from the
// question's coefficients (QuestionModel::coefficients), nothing when it does not apply.
struct Mistake {
    std::string_view name;
    std::optional<ChoiceValue> (*gives)(std::span<const std::int64_t> coefficients);
};
// The mistakes of a kind (a name of kSheetKinds), the likeliest first; none for a kind that has
// no table of them, whose questions stay questions to solve.
std::span<const Mistake> MistakesOf(std::string_view kind);

// The right answer of a question as a choice.
ChoiceValue RightChoice(const QuestionModel& q);

// The question's `count` choices, the right one first then the first mistakes of its kind
// that give a value different, as a value and as each text a choice is shown in, from the
// right one and from the ones before; nullopt when its mistakes do not give enough. A question
// whose answer is a solution set (an inequation) has no mistakes written for it yet: none,
// it stays a question to solve.
std::optional<std::vector<Choice>> ChoicesOf(const QuestionModel& q, int count);
// The same, in an order drawn from rng.
std::vector<Choice> ShuffledChoices(std::vector<Choice> choices, RandomSource& rng);

// A choice as written (Windows-1252): "x = 5/3", "x = -1 ou x = 2", "x = 2 ; y = -1" or a
// verdict in words; exact values (with `root` for the radical sign), else rounded to two
// decimals with a point.
std::string ChoiceText(const ChoiceValue& value, std::string_view kind, bool exact,
                       std::string_view root = "sqrt");
// The letter of choice k: A, B, C, D.
inline char ChoiceLetter(std::size_t k) {
    return static_cast<char>('A' + k);
}
// The right choice's position among choices.
std::size_t RightChoiceIndex(const std::vector<Choice>& choices);

// The "automatismes" sheet: twelve questions of the three equation kinds (the first three of the
// table) in turn with whole-number solutions, as multiple choice (four choices unless a count
// is given). Its kind is the first of the table.
inline constexpr int kAutomatismesCount = 12;
void UseAutomatismes(SheetSettings& settings);

// The sheet code's bits of a choice count (0: off) and back.
std::uint64_t ChoiceFlags(int count);
int ChoiceCountOfFlags(std::uint64_t flags);

}  // namespace equat
