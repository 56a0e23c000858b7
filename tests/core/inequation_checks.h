// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Checks shared by the tests of the inequation kinds: a set's membership and worked lines
// checked at points in exact arithmetic.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "core/exact.h"
#include "core/steps.h"

namespace equat {

inline bool RelationHolds(const Surd& l, Relation r, const Surd& rhs) {
    switch (r) {
        case Relation::Lt:
            return l < rhs;
        case Relation::Le:
            return l <= rhs;
        case Relation::Gt:
            return l > rhs;
        case Relation::Ge:
            return l >= rhs;
        default:
            return l == rhs;
    }
}

// Whether x is in `set` (values, intervals, ∅, or ℝ with values taken out).
inline bool InSet(const SolutionSet& set, const Surd& x) {
    using Shape = SolutionSet::Shape;
    switch (set.shape) {
        case Shape::Empty:
            return false;
        case Shape::Reals:
            return std::find(set.excluded.begin(), set.excluded.end(), x) == set.excluded.end();
        case Shape::Values:
            return std::find(set.values.begin(), set.values.end(), x) != set.values.end();
        default:
            return std::any_of(set.intervals.begin(), set.intervals.end(), [&](const Interval& i) {
                const bool above = !i.low || (i.lowClosed ? x >= *i.low : x > *i.low);
                const bool below = !i.high || (i.highClosed ? x <= *i.high : x < *i.high);
                return above && below;
            });
    }
}

// Points that tell sets of these bounds apart: each bound, beside it on either side, and far
// away.
inline std::vector<Surd> PointsAround(const std::vector<Surd>& bounds) {
    std::vector<Surd> points{0, 1000, -1000};
    for (const Surd& b : bounds)
        for (const Rational& d : {Rational(0), Rational(1, 1000), Rational(-1, 1000), Rational(1)})
            points.push_back(b + Surd(d));
    return points;
}

// Every worked line of an inequation checked at `points` against the set it solves: each
// rewritten line holds exactly on the set, each computation's links are equal, each sign
// table's cells are the signs of its rows (rows of factors multiplied: no quotient here), and
// the conclusion is the set.
inline void ExpectStepsSolve(const Steps& steps, const SolutionSet& set,
                             const std::vector<Surd>& points) {
    const auto signOf = [](const Surd& v) {
        return v.Sign() > 0 ? Sign::Plus : v.Sign() < 0 ? Sign::Minus : Sign::Zero;
    };
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.back().kind, Step::Kind::Conclusion);
    for (const Step& s : steps) {
        if (s.kind == Step::Kind::Rewrite)
            for (const Surd& x : points)
                EXPECT_EQ(RelationHolds(Evaluate(s.lhs, x), s.relation, Evaluate(s.rhs, x)),
                          InSet(set, x))
                    << "line " << &s - steps.data() << " at " << ExactText(x);
        if (s.kind == Step::Kind::Value)
            for (const Calc& link : s.links) EXPECT_EQ(Evaluate(link), Evaluate(s.links[0]));
        if (s.kind == Step::Kind::Conclusion) EXPECT_EQ(s.set, set);
        if (s.kind != Step::Kind::Table) continue;
        const auto& v = s.table.values;
        for (const SignRow& row : s.table.rows) {
            ASSERT_EQ(row.cells.size(), 2 * v.size() + 1);
            for (std::size_t k = 0; k < row.cells.size(); ++k) {
                // A point of cell k: its value, or inside its interval.
                Surd x = v.empty() ? Surd(0) : k == 0 ? v[0] - Surd(1) : v[(k - 1) / 2];
                if (k % 2 == 0 && k > 0)
                    x = k / 2 < v.size() ? (v[k / 2 - 1] + v[k / 2]) / Surd(2) : x + Surd(1);
                Surd product = 1;
                for (const Side& f : row.factors) product = product * Evaluate(f, x);
                EXPECT_EQ(row.cells[k], signOf(product)) << "cell " << k;
            }
        }
    }
}

}  // namespace equat
