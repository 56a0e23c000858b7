// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>

#include "core/equat2d.h"
#include "core/sheet.h"
#include "core/steps.h"

namespace equat {

// The solutions of a x² + b x + c `relation` 0 (a ≠ 0), from Δ and the sign of a: between or
// outside the roots, ∅, ℝ, ℝ \ {x0} or {x0}.
SolutionSet TrinomialInequationSet(std::int64_t a, std::int64_t b, std::int64_t c,
                                   Relation relation);

// One second-degree inequation: a trinomial drawn as the second degree draws its equations,
// and the relation that replaces its "=".
struct QuadraticInequationQuestion {
    QuadraticQuestion trinomial;
    Relation relation = Relation::Lt;
};

Statement QuadraticInequationStatement(int level, const QuadraticInequationQuestion& q);
// Its result: the set, its finite bounds ("x1", "x2", or "x" for a double root) and Δ.
QuestionResult QuadraticInequationResult(int level, const QuadraticInequationQuestion& q);
// Its worked solution: Δ, the roots, the sign of the trinomial said and shown in a sign
// table, then the set.
Steps QuadraticInequationSteps(int level, const QuadraticInequationQuestion& q);

// Second-degree inequations in x. Their coefficients are the second degree's: {a, b, c} of
// a x² + b x + c < 0 (any relation), both sides brought to the left.
class QuadraticInequationKind final : public TabledKind<QuadraticInequationQuestion> {
  public:
    std::string_view BaseNamePrefix() const override { return "Ineq2d_N"; }
    void Begin(int level) override;
    void Draw(RandomSource& rng, int i) override { DrawToward(rng, i, -1, Solutions::Any); }
    void DrawToward(RandomSource& rng, int i, int target, Solutions solutions) override;
    std::string DiagnosticEntry(int i) const override;
    std::string DuplicateKey(int i) const override;
    QuestionModel Model(int i, bool steps) const override;
    QuestionResult Result(int i) const override {
        return QuadraticInequationResult(level_, question(i));
    }

  private:
    SecondDegreeKind trinomials_;  // draws the trinomials
};

}  // namespace equat
