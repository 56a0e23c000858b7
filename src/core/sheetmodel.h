// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A generated sheet as data: its frame and its questions, each with its statement as
// mathematics, its result and its worked steps. The kinds make it; each output renders it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/exact.h"
#include "core/picture.h"
#include "core/steps.h"

namespace equat {

// What a key concludes about a question: values, or a verdict that is its own reason.
enum class Verdict {
    Values,
    NoSolution,     // first degree "0 x = k", or an impossible system
    NoRealRoot,     // second degree, negative discriminant
    EveryReal,      // first degree "0 x = 0"
    Indeterminate,  // a system of two proportional equations
};

// One unknown of a result: its name, its exact value (none under a verdict) and the text
// the decimal key writes for it ("2.33", "/", "?").
struct ResultValue {
    std::string name;  // "x", "x1", "x2", "y"
    std::optional<Surd> exact;
    std::string decimal;
    bool operator==(const ResultValue&) const = default;
};

// The result of one question as data, whatever the key style: what every output that
// shows results (the keys' highlighted values, the answer grid) is built from.
struct QuestionResult {
    Verdict verdict = Verdict::Values;
    std::vector<ResultValue> values;
    std::optional<std::int64_t> discriminant;  // second degree: the Δ the key writes
    // The solution set, for the kinds whose key writes one (S = ]-∞ ; 3], S = ℝ \ {2}...);
    // none for the kinds whose values say it all.
    std::optional<SolutionSet> set = {};
    // The case of the question (a bit of its kind's cases) when its kind says it; none: read
    // from the verdict (CaseOf).
    std::optional<int> caseBit = {};
    bool operator==(const QuestionResult&) const = default;
};

// The unknowns a statement writes.
enum class Var : std::uint8_t { X, X2, Y };
// How an unknown is set beside its coefficient: after a number (" x "), first on its side
// for a coefficient 1 ("x "), or for -1 with the minus set as the unknown is ("- x ").
enum class VarLook : std::uint8_t { Spaced, Lead, Negated };

// One written piece of a side. Numbers keep the role that decides how they are written,
// and the room between pieces is kept, so that every output writes the same line.
struct Atom {
    enum class Kind : std::uint8_t {
        Number,      // value as it is: "-3"
        LeadCoef,    // a coefficient first before its unknown: "" for 1, "-" for -1, else value
        SignedCoef,  // a coefficient after a term: " + ", " - ", " + 3", " - 3"
        SignedTerm,  // a number after a term: " + 4", " - 4" (0 gives " - 0")
        RoomTerm,    // the same, a zero left as blank room of five spaces
        Unknown,     // var, in its look
        Open,        // "("
        Close,       // ")"
        Space,       // value spaces
        Over,        // "/" between a numerator and its denominator
        Squared,     // a raised 2 after a bracket
    };
    Kind kind = Kind::Number;
    std::int32_t value = 0;
    Var var = Var::X;
    VarLook look = VarLook::Spaced;
};
using WrittenSide = std::vector<Atom>;
inline Atom AtomOf(Atom::Kind kind, std::int32_t value = 0) {
    return {kind, value, Var::X, VarLook::Spaced};
}
inline Atom UnknownAtom(Var var, VarLook look = VarLook::Spaced) {
    return {Atom::Kind::Unknown, 0, var, look};
}

// left = right (or < ≤ > ≥), with `pad` spaces each side of the sign.
struct WrittenEquation {
    WrittenSide left, right;
    int padBefore = 1, padAfter = 1;
    Relation relation = Relation::Eq;
};

// What a question asks: one equation, or a system of two under a brace. Shapes to come
// (an interval, a sign table) get fields of their own beside these lines.
struct Statement {
    std::vector<WrittenEquation> lines;
};

// An answer a multiple-choice question offers: values (sorted) or a verdict.
struct ChoiceValue {
    Verdict verdict = Verdict::Values;
    std::vector<Surd> values;
    bool operator==(const ChoiceValue&) const = default;
};
// One choice: its value and, for a wrong one, the mistake it stands for (empty for the right
// one; French, Windows-1252).
struct Choice {
    ChoiceValue value;
    std::string_view mistake;
};

// One question of a sheet: its kind (a name of kSheetKinds), its level, what it asks, its
// result, and its worked steps when a detailed key or the exports need them.
struct QuestionModel {
    std::string_view kind;
    int level = 1;
    Statement statement;
    QuestionResult result;
    std::optional<Steps> steps;
    // The equation reduced, whatever its written form: first degree {p, q, r, s} of
    // p x + q = r x + s (with brackets, four more: the same with each bracket's factor on its
    // first term only); second degree {a, b, c} of a x² + b x + c = 0; a system {a1, b1, c1,
    // a2, b2, c2} of a x + b y = c. What a pupil's mistakes are computed from.
    std::vector<std::int64_t> coefficients = {};
    // A multiple-choice question's choices in the order shown; empty for a question to solve.
    std::vector<Choice> choices = {};
    // Its graph as the key shows it, painted once for every writer; empty without graphs.
    PngPicture graph = {};
};

}  // namespace equat
