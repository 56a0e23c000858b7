// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>

#include "core/exact.h"
#include "core/sheet.h"

namespace equat {

// One equation of a square: k x² + c = d (form 0) or k (x + b)² + c = d (form 1). Its model's
// coefficients are {form, k, b, c, d}.
struct SquareQuestion {
    int form = 0;
    std::int32_t k = 1, b = 0, c = 0, d = 0;
};

// What the square equals once isolated: (x + b)² = (d - c)/k.
Rational SquareValue(const SquareQuestion& q);
Statement SquareStatement(const SquareQuestion& q);
// S = {-b - √r ; -b + √r} (case 0), ∅ for a negative square (case 1), {-b} for a zero one
// (case 2).
QuestionResult SquareResult(const SquareQuestion& q);
Steps SquareSteps(const SquareQuestion& q);

// x² = a and (x + b)² = a: small positive coefficients at level 1, negative ones and a
// constant beside x² at level 2, k (x + b)² + c = d at level 3.
class SquareKind final : public TabledKind<SquareQuestion> {
  public:
    std::string_view BaseNamePrefix() const override { return "Carre_N"; }
    void Draw(RandomSource& rng, int i) override { DrawToward(rng, i, -1, Solutions::Any); }
    void DrawToward(RandomSource& rng, int i, int target, Solutions solutions) override;
    std::string DiagnosticEntry(int i) const override;
    std::string DuplicateKey(int i) const override;
    QuestionModel Model(int i, bool steps) const override;
    QuestionResult Result(int i) const override { return SquareResult(question(i)); }
};

}  // namespace equat
