// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ineq2.h"

#include <gtest/gtest.h>

#include <string>

#include "core/drawchoices.h"
#include "core/keymarkup.h"
#include "inequation_checks.h"

using namespace equat;

namespace {

// a x² + b x + c `relation` 0, as its coefficients say.
bool Satisfies(const std::vector<std::int64_t>& c, Relation relation, const Surd& x) {
    return RelationHolds(Surd(c[0]) * x * x + Surd(c[1]) * x + Surd(c[2]), relation, 0);
}

QuadraticInequationQuestion Question(std::int32_t a, std::int32_t b, std::int32_t c,
                                     Relation relation) {
    QuadraticInequationQuestion q;
    q.trinomial.slots = {a, b, c, 0, 0, 0, 0, 0};
    q.relation = relation;
    return q;
}

}  // namespace

// One question of each shape a set takes: between or outside the roots, ∅, ℝ, ℝ \ {x0},
// {x0}.
TEST(QuadraticInequation, FixedQuestionsGiveTheirSets) {
    const std::string inf = "<symbol>\xA5<arial>";
    const struct {
        QuadraticInequationQuestion q;
        std::string set;
    } rows[] = {
        {Question(2, -1, -3, Relation::Lt), "S = ]-1 ; 3/2["},
        {Question(-1, 0, 2, Relation::Le),
         "S = ]-" + inf +
             " ; -<symbol>\xD6<arial>2] <symbol>\xC8<arial> [<symbol>\xD6<arial>2 ; +" + inf + "["},
        {Question(1, 0, 1, Relation::Lt), "S = <symbol>\xC6<arial>"},
        {Question(-1, 1, -1, Relation::Le), "S = <b>R</b>"},
        {Question(1, -2, 1, Relation::Gt), "S = <b>R</b> \\\\ \\{1\\}"},
        {Question(-1, 2, -1, Relation::Ge), "S = \\{1\\}"},
    };
    for (const auto& row : rows) {
        const QuestionResult r = QuadraticInequationResult(2, row.q);
        ASSERT_TRUE(r.set);
        EXPECT_EQ(SolutionSetMarkup(*r.set), row.set);
    }
}

// Every level, case and kind of solutions over many seeds: the set is exactly the x that
// satisfy the inequation, checked at and around its bounds, its case is the one asked and
// agrees with Δ, and every worked line (Δ, the roots, the sign table) is exactly true.
TEST(QuadraticInequation, SetsAndStepsHoldOverManySeeds) {
    for (int level = 1; level <= 3; ++level)
        for (int target = -1; target < kCaseCount; ++target)
            for (const auto& sol : kSolutions)
                for (std::uint32_t seed = 1; seed <= 40; ++seed) {
                    QuadraticInequationKind kind;
                    kind.Begin(level);
                    RandomSource rng(seed * 11u + static_cast<std::uint32_t>(level));
                    kind.DrawToward(rng, 1, target, sol.value);
                    const QuestionModel m = kind.Model(1, true);
                    SCOPED_TRACE(kind.DiagnosticEntry(1));
                    const QuestionResult& r = m.result;
                    ASSERT_TRUE(r.set && r.caseBit && m.steps && r.discriminant);
                    const auto& c = m.coefficients;
                    EXPECT_EQ(*r.discriminant, c[1] * c[1] - 4 * c[0] * c[2]);
                    if (*r.discriminant > 0) {
                        EXPECT_EQ(*r.caseBit, 0);
                    } else if (target == 1 || target == 2) {
                        EXPECT_EQ(*r.caseBit, target);
                    }
                    std::vector<Surd> bounds = ExactValuesOf(r);
                    // A single point, or the one taken out of R, is the set's one bound.
                    const bool point =
                        r.set->shape == SolutionSet::Shape::Values || !r.set->excluded.empty();
                    EXPECT_EQ(bounds.size(), *r.discriminant > 0 ? 2u : point ? 1u : 0u);
                    const Relation rel = m.statement.lines[0].relation;
                    for (const Surd& x : PointsAround(bounds))
                        EXPECT_EQ(InSet(*r.set, x), Satisfies(c, rel, x)) << ExactText(x);
                    ExpectStepsSolve(*m.steps, *r.set, PointsAround(bounds));
                }
}
