// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ineq.h"

#include <gtest/gtest.h>

#include <string>

#include "core/drawchoices.h"
#include "core/keymarkup.h"
#include "inequation_checks.h"

using namespace equat;

namespace {

// p x + q `relation` r x + s, as its coefficients say.
bool Satisfies(const std::vector<std::int64_t>& c, Relation relation, const Surd& x) {
    return RelationHolds(Surd(c[0]) * x + Surd(c[1]), relation, Surd(c[2]) * x + Surd(c[3]));
}

InequationQuestion Question(std::int32_t p, std::int32_t q, std::int32_t r, std::int32_t s,
                            Relation relation) {
    InequationQuestion iq;
    iq.sides.slots = {p, q, r, s, 0, 0, 0, 0};
    iq.relation = relation;
    return iq;
}

}  // namespace

// A few questions a teacher reads: the set the key writes, and the worked line that says
// whether dividing turns the sign.
TEST(Inequation, FixedQuestionsGiveTheirSets) {
    struct Row {
        InequationQuestion q;
        std::string set, worked;
    };
    const Row rows[] = {
        {Question(-3, 5, 1, -7, Relation::Le), "S = [3 ; +<symbol>\xA5<arial>[",
         "On divise par -4 \\'3c 0 : le sens change."},
        {Question(2, 1, 0, 6, Relation::Gt), "S = ]5/2 ; +<symbol>\xA5<arial>[",
         "On divise par 2 > 0 : le sens ne change pas."},
        {Question(4, 0, 3, 2, Relation::Lt), "S = ]-<symbol>\xA5<arial> ; 2[", " \\'3c 2<br>"},
        {Question(2, 3, 2, 0, Relation::Lt), "S = <symbol>\xC6<arial>", "Aucun nombre"},
        {Question(2, 3, 2, 3, Relation::Ge), "S = <b>R</b>", "Tout nombre r\xE9\x65l"},
    };
    for (const Row& row : rows) {
        const QuestionResult r = InequationResult(2, row.q);
        ASSERT_TRUE(r.set);
        EXPECT_EQ(SolutionSetMarkup(*r.set), row.set);
        const std::string worked = WorkedStepsMarkup(InequationSteps(2, row.q));
        EXPECT_NE(worked.find(row.worked), std::string::npos) << worked;
    }
}

// Every level, case and kind of solutions over many seeds: the set is exactly the x that
// satisfy the inequation, checked at and around its bounds, its case is the one asked, its
// bounds are its values, and every worked line holds exactly on the set.
TEST(Inequation, SetsAndStepsHoldOverManySeeds) {
    for (int level = 1; level <= 3; ++level)
        for (int target = -1; target < kCaseCount; ++target)
            for (const auto& sol : kSolutions)
                for (std::uint32_t seed = 1; seed <= 40; ++seed) {
                    InequationKind kind;
                    kind.Begin(level);
                    RandomSource rng(seed * 7u + static_cast<std::uint32_t>(level));
                    kind.DrawToward(rng, 1, target, sol.value);
                    const QuestionModel m = kind.Model(1, true);
                    SCOPED_TRACE(kind.DiagnosticEntry(1));
                    const QuestionResult& r = m.result;
                    ASSERT_TRUE(r.set && r.caseBit && m.steps);
                    if (target == 1 || target == 2) {
                        EXPECT_EQ(*r.caseBit, target);
                    }
                    const std::vector<Surd> bounds = ExactValuesOf(r);
                    EXPECT_EQ(bounds.size(), *r.caseBit == 0 ? 1u : 0u);
                    const Relation rel = m.statement.lines[0].relation;
                    for (const Surd& x : PointsAround(bounds))
                        EXPECT_EQ(InSet(*r.set, x), Satisfies(m.coefficients, rel, x))
                            << ExactText(x);
                    ExpectStepsSolve(*m.steps, *r.set, PointsAround(bounds));
                }
}
