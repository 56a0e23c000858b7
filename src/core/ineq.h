// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "core/equat1d.h"
#include "core/exact.h"
#include "core/sheet.h"
#include "core/steps.h"

namespace equat {

// Whether lhs `relation` rhs holds (the values compared under Surd's rule).
bool Holds(const Surd& lhs, Relation relation, const Surd& rhs);
// The relation once both sides are multiplied by a negative number: < becomes >.
Relation Turned(Relation relation);
// The solutions of a x `relation` b: a half-line, or ∅ or ℝ when a = 0.
SolutionSet FirstDegreeInequationSet(const Rational& a, Relation relation, const Rational& b);

// The result of an inequation from its set (SetResult), its case from the set's shape:
// 0 intervals, 1 ∅, 2 ℝ, ℝ minus values or a single value.
QuestionResult InequationSetResult(SolutionSet set);

// One first-degree inequation: the sides of a first-degree equation (its record as that kind
// holds it; level 1 draws its own, small and positive) and the relation between them.
struct InequationQuestion {
    FirstDegreeQuestion sides;
    Relation relation = Relation::Lt;
};

// The inequation as the question asks it.
Statement InequationStatement(int level, const InequationQuestion& q);
// Its result: the half-line and its bound "x" (case 0), ∅ (case 1) or ℝ (case 2).
QuestionResult InequationResult(int level, const InequationQuestion& q);
// Its worked solution: the terms collected, the division by x's coefficient (the sense turned
// for a negative one), then the set.
Steps InequationSteps(int level, const InequationQuestion& q);

// First-degree inequations in x. Their coefficients are the first degree's: {p, q, r, s} of
// p x + q < r x + s (any relation), with four more at level 3.
class InequationKind final : public TabledKind<InequationQuestion> {
  public:
    std::string_view BaseNamePrefix() const override { return "Ineq_N"; }
    void Begin(int level) override;
    void Draw(RandomSource& rng, int i) override { DrawToward(rng, i, -1, Solutions::Any); }
    void DrawToward(RandomSource& rng, int i, int target, Solutions solutions) override;
    std::string DiagnosticEntry(int i) const override;
    std::string DuplicateKey(int i) const override;
    QuestionModel Model(int i, bool steps) const override;
    QuestionResult Result(int i) const override { return InequationResult(level_, question(i)); }

  private:
    FirstDegreeKind equations_;  // draws the sides at levels 2 and 3
};

// A relation drawn until `fits` accepts it (some relation always does).
template <class Fits>
Relation DrawRelation(RandomSource& rng, Fits fits) {
    for (;;) {
        const auto r = static_cast<Relation>(1 + rng.RandomInt(4));
        if (fits(r)) return r;
    }
}

// The short text of a relation for logs and keys: "<", "<=", ">", ">=".
std::string_view RelationText(Relation relation);

// The diagnostic entry of an inequation drawn from an equation's slots a..d: the relation and
// the set of its result.
std::string InequationDiagnosticEntry(int i, const std::array<std::int32_t, 8>& slots,
                                      Relation relation, const QuestionResult& result, int aleas);

}  // namespace equat
