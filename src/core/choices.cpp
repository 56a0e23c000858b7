// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/choices.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "core/kinds.h"
#include "core/sheet.h"
#include "core/sheetcode.h"

namespace equat {

namespace {

using Coefficients = std::span<const std::int64_t>;
using Given = std::optional<ChoiceValue>;

ChoiceValue VerdictChoice(Verdict v) {
    return {v, {}};
}

// Roots in increasing order, a double one once.
ChoiceValue Roots(std::vector<Surd> roots) {
    std::sort(roots.begin(), roots.end(),
              [](const Surd& l, const Surd& r) { return l.ToDouble() < r.ToDouble(); });
    roots.erase(std::unique(roots.begin(), roots.end()), roots.end());
    return {Verdict::Values, std::move(roots)};
}

ChoiceValue One(const Surd& x) {
    return {Verdict::Values, {x}};
}

// First degree: p x + q = r x + s, solved as (s - q) / (p - r). The mistakes of a pupil
// who has one solution to find, then of one whose x vanish.
Given FirstTermOnly(Coefficients c) {  // the brackets' factors on their first terms only
    if (c.size() < 8 || c[4] == c[6]) return std::nullopt;
    return One(Rational(c[7] - c[5], c[4] - c[6]));
}
Given ConstantSign(Coefficients c) {  // q moved to the right as + q
    if (c[0] == c[2]) return std::nullopt;
    return One(Rational(c[3] + c[1], c[0] - c[2]));
}
Given OppositeDivisor(Coefficients c) {
    if (c[0] == c[2]) return std::nullopt;
    return One(Rational(c[3] - c[1], c[2] - c[0]));
}
Given NoDivision(Coefficients c) {
    if (c[0] == c[2]) return std::nullopt;
    return One(Rational(c[3] - c[1]));
}
Given UnknownSign(Coefficients c) {  // r x moved to the left as + r x
    if (c[0] == c[2] || c[0] + c[2] == 0) return std::nullopt;
    return One(Rational(c[3] - c[1], c[0] + c[2]));
}
Given Inverted(Coefficients c) {
    if (c[0] == c[2] || c[3] == c[1]) return std::nullopt;
    return One(Rational(c[0] - c[2], c[3] - c[1]));
}
Given NoneAsEvery(Coefficients c) {
    if (c[0] != c[2] || c[3] == c[1]) return std::nullopt;
    return VerdictChoice(Verdict::EveryReal);
}
Given EveryAsNone(Coefficients c) {
    if (c[0] != c[2] || c[3] != c[1]) return std::nullopt;
    return VerdictChoice(Verdict::NoSolution);
}
Given VanishedAsZero(Coefficients c) {
    if (c[0] != c[2]) return std::nullopt;
    return One(0);
}
Given ZeroTimesXAsX(Coefficients c) {  // 0 x = k read as x = k
    if (c[0] != c[2] || c[3] == c[1]) return std::nullopt;
    return One(Rational(c[3] - c[1]));
}
Given ZeroOverZero(Coefficients c) {
    if (c[0] != c[2] || c[3] != c[1]) return std::nullopt;
    return One(1);
}

constexpr Mistake kFirstDegree[] = {
    {"parenth\xE8se d\xE9velopp\xE9"
     "e sur son premier terme seulement",
     FirstTermOnly},
    {"signe oubli\xE9 en changeant de membre", ConstantSign},
    {"division par l'oppos\xE9 du coefficient", OppositeDivisor},
    {"division par le coefficient oubli\xE9"
     "e",
     NoDivision},
    {"signe du terme en x oubli\xE9 en changeant de membre", UnknownSign},
    {"quotient renvers\xE9", Inverted},
    {"\xAB 0 = k \xBB pris pour \xAB 0 = 0 \xBB", NoneAsEvery},
    {"\xAB 0 = 0 \xBB pris pour une impossibilit\xE9", EveryAsNone},
    {"x \xE9limin\xE9s, x = 0 conclu", VanishedAsZero},
    {"\xAB 0 x = k \xBB lu comme \xAB x = k \xBB", ZeroTimesXAsX},
    {"\xAB 0/0 \xBB pris pour 1", ZeroOverZero},
};

// Second degree: a x² + b x + c = 0, roots (minus ± √delta) / divisor.
ChoiceValue Solved(std::int64_t minus, std::int64_t delta, std::int64_t divisor) {
    if (delta < 0) return VerdictChoice(Verdict::NoRealRoot);
    return Roots({Surd(minus, 1, delta, divisor), Surd(minus, -1, delta, divisor)});
}
std::int64_t Delta(Coefficients c) {
    return c[1] * c[1] - 4 * c[0] * c[2];
}
Given RootSign(Coefficients c) {
    if (Delta(c) < 0) return std::nullopt;
    return Solved(c[1], Delta(c), 2 * c[0]);
}
Given DeltaWithB(Coefficients c) {
    return Solved(-c[1], c[1] - 4 * c[0] * c[2], 2 * c[0]);
}
Given DivideByA(Coefficients c) {
    if (Delta(c) < 0) return std::nullopt;
    return Solved(-c[1], Delta(c), c[0]);
}
Given DeltaPlus(Coefficients c) {
    return Solved(-c[1], c[1] * c[1] + 4 * c[0] * c[2], 2 * c[0]);
}
Given NegativeAsZero(Coefficients c) {
    if (Delta(c) >= 0) return std::nullopt;
    return One(Rational(-c[1], 2 * c[0]));
}
Given NegativeIgnored(Coefficients c) {
    if (Delta(c) >= 0) return std::nullopt;
    return Solved(-c[1], -Delta(c), 2 * c[0]);
}
Given SquareAsX(Coefficients c) {
    if (c[0] + c[1] == 0) return std::nullopt;
    return One(Rational(-c[2], c[0] + c[1]));
}

constexpr Mistake kSecondDegree[] = {
    {"-b/(2a) avec le mauvais signe", RootSign},
    {"discriminant calcul\xE9 avec b au lieu de b\xB2", DeltaWithB},
    {"division par a au lieu de 2a", DivideByA},
    {"discriminant calcul\xE9 avec + 4ac", DeltaPlus},
    {"discriminant n\xE9gatif pris pour nul", NegativeAsZero},
    {"signe du discriminant n\xE9gatif ignor\xE9", NegativeIgnored},
    {"x\xB2 trait\xE9 comme x", SquareAsX},
};

// Systems: a1 x + b1 y = c1, a2 x + b2 y = c2.
std::int64_t Det(Coefficients c) {
    return c[0] * c[4] - c[3] * c[1];
}
Rational SolvedX(Coefficients c) {
    return Rational(c[2] * c[4] - c[1] * c[5], Det(c));
}
Rational SolvedY(Coefficients c) {
    return Rational(c[0] * c[5] - c[2] * c[3], Det(c));
}
ChoiceValue Pair(const Rational& x, const Rational& y) {
    return {Verdict::Values, {Surd(x), Surd(y)}};
}
bool Proportional(Coefficients c) {
    return Det(c) == 0 && c[0] * c[5] == c[2] * c[3] && c[1] * c[5] == c[2] * c[4];
}
Given Swapped(Coefficients c) {
    if (Det(c) == 0) return std::nullopt;
    return Pair(SolvedY(c), SolvedX(c));
}
Given ConstantsSign(Coefficients c) {
    if (Det(c) == 0) return std::nullopt;
    return Pair(-SolvedX(c), -SolvedY(c));
}
Given BackSubstitutedX(Coefficients c) {  // y from the first equation with - a1 x as + a1 x
    if (Det(c) == 0 || c[1] == 0) return std::nullopt;
    return Pair(SolvedX(c), (Rational(c[2]) + Rational(c[0]) * SolvedX(c)) / c[1]);
}
Given BackSubstitutedY(Coefficients c) {
    if (Det(c) == 0 || c[0] == 0) return std::nullopt;
    return Pair((Rational(c[2]) + Rational(c[1]) * SolvedY(c)) / c[0], SolvedY(c));
}
Given ImpossibleAsInfinite(Coefficients c) {
    if (Det(c) != 0 || Proportional(c)) return std::nullopt;
    return VerdictChoice(Verdict::Indeterminate);
}
Given InfiniteAsImpossible(Coefficients c) {
    if (!Proportional(c)) return std::nullopt;
    return VerdictChoice(Verdict::NoSolution);
}
Given EliminatedAsZero(Coefficients c) {
    if (Det(c) != 0) return std::nullopt;
    return Pair(0, 0);
}
// A point of one equation a x + b y = k: on an axis when k is not zero, else (-b ; a).
Given PointOf(std::int64_t a, std::int64_t b, std::int64_t k) {
    if (a == 0 && b == 0) return std::nullopt;
    if (k == 0) return Pair(-b, a);
    return a != 0 ? Pair(Rational(k, a), 0) : Pair(0, Rational(k, b));
}
Given OneEquationOnly(Coefficients c) {  // the equation with a constant, the first if both
    if (Det(c) != 0 || Proportional(c)) return std::nullopt;
    return c[2] != 0 ? PointOf(c[0], c[1], c[2]) : PointOf(c[3], c[4], c[5]);
}
Given OnePointForAll(Coefficients c) {
    if (!Proportional(c)) return std::nullopt;
    return c[0] != 0 || c[1] != 0 ? PointOf(c[0], c[1], c[2]) : PointOf(c[3], c[4], c[5]);
}

constexpr Mistake kSystem[] = {
    {"x et y \xE9"
     "chang\xE9s",
     Swapped},
    {"seconds membres pris avec le mauvais signe", ConstantsSign},
    {"signe oubli\xE9 en reportant x", BackSubstitutedX},
    {"signe oubli\xE9 en reportant y", BackSubstitutedY},
    {"impossible pris pour ind\xE9termin\xE9", ImpossibleAsInfinite},
    {"ind\xE9termin\xE9 pris pour impossible", InfiniteAsImpossible},
    {"\xE9limination conclue par x = 0 et y = 0", EliminatedAsZero},
    {"solution d'une seule des deux \xE9quations", OneEquationOnly},
    {"une seule solution donn\xE9"
     "e pour une infinit\xE9",
     OnePointForAll},
};

// Two choices a pupil could not tell apart: equal values, or equal as either text shows them.
bool Alike(const ChoiceValue& l, const ChoiceValue& r, std::string_view kind) {
    return l == r || ChoiceText(l, kind, true) == ChoiceText(r, kind, true) ||
           ChoiceText(l, kind, false) == ChoiceText(r, kind, false);
}

}  // namespace

std::span<const Mistake> MistakesOf(std::string_view kind) {
    if (kind == "2d") return kSecondDegree;
    if (kind == "syst") return kSystem;
    if (kind == "1d") return kFirstDegree;
    return {};
}

ChoiceValue RightChoice(const QuestionModel& q) {
    if (q.result.verdict != Verdict::Values) return VerdictChoice(q.result.verdict);
    std::vector<Surd> values = ExactValuesOf(q.result);
    return q.kind == "2d" ? Roots(std::move(values)) : ChoiceValue{Verdict::Values, values};
}

std::optional<std::vector<Choice>> ChoicesOf(const QuestionModel& q, int count) {
    if (q.result.set) return std::vector<Choice>{};
    std::vector<Choice> choices{{RightChoice(q), {}}};
    for (const Mistake& m : MistakesOf(q.kind)) {
        if (static_cast<int>(choices.size()) >= count) break;
        Given value;
        try {
            value = m.gives(q.coefficients);
        } catch (const std::exception&) {
            continue;  // beyond exact arithmetic's bounds: a mistake no pupil makes here
        }
        if (!value) continue;
        const bool alike = std::any_of(choices.begin(), choices.end(), [&](const Choice& c) {
            return Alike(c.value, *value, q.kind);
        });
        if (!alike) choices.push_back({std::move(*value), m.name});
    }
    if (static_cast<int>(choices.size()) < count) return std::nullopt;
    return choices;
}

std::vector<Choice> ShuffledChoices(std::vector<Choice> choices, RandomSource& rng) {
    for (std::size_t k = choices.size(); k > 1; --k)
        std::swap(choices[k - 1],
                  choices[static_cast<std::size_t>(rng.RandomInt(static_cast<int>(k)))]);
    return choices;
}

std::string ChoiceText(const ChoiceValue& value, std::string_view kind, bool exact,
                       std::string_view root) {
    if (value.verdict != Verdict::Values) return std::string(VerdictWords(value.verdict));
    std::string text;
    for (std::size_t k = 0; k < value.values.size(); ++k) {
        if (k) text += kind == "syst" ? " ; " : " ou ";
        text += kind == "syst" && k == 1 ? "y = " : "x = ";
        if (exact) {
            AppendExactText(text, value.values[k], root);
        } else {
            text += RoundedText(value.values[k]);
        }
    }
    return text;
}

std::size_t RightChoiceIndex(const std::vector<Choice>& choices) {
    const auto right = std::find_if(choices.begin(), choices.end(),
                                    [](const Choice& c) { return c.mistake.empty(); });
    return static_cast<std::size_t>(right - choices.begin());
}

void UseAutomatismes(SheetSettings& settings) {
    settings.count = kAutomatismesCount;
    settings.draw = {};
    // The kinds it has always mixed: later kinds have no choices and would change its codes.
    settings.draw.mixedKinds = 7u;
    settings.draw.interleaved = true;
    settings.draw.solutions = Solutions::Integer;
    if (settings.choiceCount == 0) settings.choiceCount = kDefaultChoices;
}

std::uint64_t ChoiceFlags(int count) {
    if (count == 0) return 0;
    return count == kDefaultChoices ? kSheetCodeChoicesOn : kSheetCodeChoiceBits;
}

int ChoiceCountOfFlags(std::uint64_t flags) {
    if (!(flags & kSheetCodeChoicesOn)) return 0;
    return (flags & kSheetCodeChoiceBits) == kSheetCodeChoiceBits ? 3 : kDefaultChoices;
}

}  // namespace equat
