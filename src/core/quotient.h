// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>

#include "core/exact.h"
#include "core/sheet.h"

namespace equat {

// One quotient equation: (n1 x + n0)/(d1 x + d0) = p/q (form 1, q = 1 written as p alone), or
// n0/x = p (form 0: n1 = 0, d1 = 1, d0 = 0, q = 1). Its model's coefficients are
// {n1, n0, d1, d0, p, q}.
struct QuotientQuestion {
    int form = 0;
    std::int32_t n1 = 0, n0 = 1, d1 = 1, d0 = 0, p = 1, q = 1;
};

// The value where the denominator is zero.
Rational ForbiddenValue(const QuotientQuestion& q);
Statement QuotientStatement(const QuotientQuestion& q);
// Cleared of its denominator, q (n1 x + n0) = p (d1 x + d0) reads A x = B: S = {B/A} (case 0);
// ∅ when B/A is the forbidden value or A = 0 ≠ B (case 1); ℝ \ {forbidden} when A = B = 0
// (case 2).
QuestionResult QuotientResult(const QuotientQuestion& q);
Steps QuotientSteps(const QuotientQuestion& q);

// Quotients equal to a number, the forbidden value first: a/x = k and (x + b)/(x + d) = k at
// level 1, larger and negative coefficients at level 2, a fraction on the right at level 3.
class QuotientKind final : public TabledKind<QuotientQuestion> {
  public:
    std::string_view BaseNamePrefix() const override { return "Quotient_N"; }
    void Draw(RandomSource& rng, int i) override { DrawToward(rng, i, -1, Solutions::Any); }
    void DrawToward(RandomSource& rng, int i, int target, Solutions solutions) override;
    std::string DiagnosticEntry(int i) const override;
    std::string DuplicateKey(int i) const override;
    QuestionModel Model(int i, bool steps) const override;
    QuestionResult Result(int i) const override { return QuotientResult(question(i)); }
};

}  // namespace equat
