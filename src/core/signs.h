// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Product and quotient inequations, solved with a sign table: (ax + b)(cx + d) R 0,
// (ax + b)/(cx + d) R 0, (ax + b)² R 0, x(x - 1)(x + 2) R 0 and (ax + b)/(cx + d) R k.
#include <array>
#include <cstdint>
#include <string>

#include "core/sheet.h"
#include "core/steps.h"

namespace equat {

// One first-degree factor p x + q (p ≠ 0), written "(q + p x)" when `constantFirst`, and
// bare ("x") when it is x alone in a product of three.
struct SignFactor {
    std::int32_t p = 1, q = 0;
    bool constantFirst = false;
    bool operator==(const SignFactor&) const = default;
};

// How the inequation is written.
enum class SignForm : std::uint8_t {
    Product,   // (f1)(f2) R 0
    Quotient,  // (f1)/(f2) R 0
    Square,    // (f1)² R 0: the product of f1 by itself
    Moved,     // (f1)/(f2) R k, k ≠ 0: (f1 - k f2)/(f2) R 0 once k is moved
    Triple,    // f1 (f2)(f3) R 0
};

struct SignsQuestion {
    SignForm form = SignForm::Product;
    Relation relation = Relation::Lt;
    std::array<SignFactor, 3> factors{};
    std::int32_t k = 0;  // Moved: the right side
};

// The inequation compared with 0: its factors, the first `numerators` of them over the
// others, a quotient when numerators < factors.size().
struct ReducedSigns {
    std::vector<SignFactor> factors;
    int numerators = 1;
    Relation relation = Relation::Lt;
};
ReducedSigns ReduceSigns(const SignsQuestion& q);

// The table of a reduced inequation: every root once, increasing; a row per factor, then the
// whole expression's (Zero under a numerator's root, Forbidden under a denominator's).
SignTable SignTableOf(const ReducedSigns& r);
// The set its last row gives: the cells of the relation's sign, a root of a numerator only
// with ≤ or ≥, a forbidden value never.
SolutionSet SignSolutionSet(const SignTable& table, Relation relation);

// The question's result: the set, its finite bounds ("x", or "x1", "x2"...), its case (0 the
// set has a bounded part, 1 it is empty, 2 it reaches both infinities).
QuestionResult SignsResult(const SignsQuestion& q);
Statement SignsStatement(const SignsQuestion& q);
Steps SignsSteps(const SignsQuestion& q);

// Product and quotient inequations. Model's coefficients: {relation (Relation's value),
// numerators, p1, q1, p2, q2[, p3, q3]}, the factors p x + q of the reduced inequation.
class SignsKind final : public TabledKind<SignsQuestion> {
  public:
    std::string_view BaseNamePrefix() const override { return "Signes_N"; }
    void Draw(RandomSource& rng, int i) override { DrawToward(rng, i, -1, Solutions::Any); }
    void DrawToward(RandomSource& rng, int i, int target, Solutions solutions) override;
    std::string DiagnosticEntry(int i) const override;
    std::string DuplicateKey(int i) const override;
    QuestionModel Model(int i, bool steps) const override;
    QuestionResult Result(int i) const override { return SignsResult(question(i)); }
};

}  // namespace equat
