// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/signs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "core/kinds.h"

using namespace equat;

namespace {

std::string SetText(const SolutionSet& s) {
    using Shape = SolutionSet::Shape;
    std::string t;
    if (s.shape == Shape::Empty) return "{}";
    if (s.shape == Shape::Reals) {
        t = "R";
        for (const auto& v : s.excluded) t += " \\ " + ExactText(v);
        return t;
    }
    for (const auto& v : s.values) t += (t.empty() ? "{" : ";") + ExactText(v);
    if (s.shape == Shape::Values) return t + "}";
    for (const auto& i : s.intervals) {
        if (!t.empty()) t += " u ";
        t += std::string(i.lowClosed ? "[" : "]") + (i.low ? ExactText(*i.low) : "-inf") + ";" +
             (i.high ? ExactText(*i.high) : "+inf") + (i.highClosed ? "]" : "[");
    }
    return t;
}

std::string CellsText(const SignRow& row) {
    std::string t;
    for (Sign s : row.cells) t += "+-0|."[static_cast<int>(s)];
    return t;
}

TEST(Signs, FixedQuestionsGiveTheirSetAndTable) {
    using F = SignForm;
    using R = Relation;
    struct Case {
        SignsQuestion q;
        std::string set, values, last;
    };
    const Case cases[] = {
        {{F::Product, R::Gt, {{{1, -1}, {-1, 2}}}}, "]1;2[", "1 2", "-0+0-"},
        {{F::Product, R::Le, {{{2, 3}, {1, 5}}}}, "[-5;-3/2]", "-5 -3/2", "+0-0+"},
        {{F::Quotient, R::Le, {{{1, 3}, {1, -1}}}}, "[-3;1[", "-3 1", "+0-|+"},
        {{F::Quotient, R::Ge, {{{1, -1}, {1, 3}}}}, "]-inf;-3[ u [1;+inf[", "-3 1", "+|-0+"},
        {{F::Moved, R::Le, {{{1, 3}, {1, -1}}}, 2}, "]-inf;1[ u [5;+inf[", "1 5", "-|+0-"},
        {{F::Square, R::Lt, {{{1, -1}}}}, "{}", "1", "+0+"},
        {{F::Square, R::Le, {{{1, -1}}}}, "{1}", "1", "+0+"},
        {{F::Square, R::Gt, {{{2, 1}}}}, "R \\ -1/2", "-1/2", "+0+"},
        {{F::Square, R::Ge, {{{2, 1}}}}, "R", "-1/2", "+0+"},
        {{F::Triple, R::Gt, {{{1, 0}, {1, -1}, {1, 2}}}}, "]-2;0[ u ]1;+inf[", "-2 0 1", "-0+0-0+"},
    };
    for (const auto& c : cases) {
        const ReducedSigns r = ReduceSigns(c.q);
        const SignTable t = SignTableOf(r);
        std::string values;
        for (const auto& v : t.values) values += (values.empty() ? "" : " ") + ExactText(v);
        EXPECT_EQ(SetText(*SignsResult(c.q).set), c.set) << c.set;
        EXPECT_EQ(values, c.values) << c.set;
        EXPECT_EQ(CellsText(t.rows.back()), c.last) << c.set;
        EXPECT_EQ(t.rows.size(), r.factors.size() + 1) << c.set;
    }
}

// The statement's left side minus its right side at x, from the question as written (no
// reduction); none where a denominator is zero.
std::optional<Rational> Gap(const SignsQuestion& q, const Rational& x) {
    const auto at = [&](int k) { return Rational(q.factors[k].p) * x + q.factors[k].q; };
    switch (q.form) {
        case SignForm::Product:
            return at(0) * at(1);
        case SignForm::Square:
            return at(0) * at(0);
        case SignForm::Triple:
            return at(0) * at(1) * at(2);
        default:
            if (at(1) == 0) return std::nullopt;
            return at(0) / at(1) - q.k;
    }
}

bool Holds(Relation r, const Rational& g) {
    const int s = g.Sign();
    return r == Relation::Lt   ? s < 0
           : r == Relation::Le ? s <= 0
           : r == Relation::Gt ? s > 0
                               : s >= 0;
}

bool InSet(const SolutionSet& s, const Surd& x) {
    using Shape = SolutionSet::Shape;
    if (s.shape == Shape::Reals) return std::ranges::find(s.excluded, x) == s.excluded.end();
    if (s.shape == Shape::Values) return std::ranges::find(s.values, x) != s.values.end();
    for (const auto& i : s.intervals) {
        const bool above = !i.low || (i.lowClosed ? x >= *i.low : x > *i.low);
        const bool below = !i.high || (i.highClosed ? x <= *i.high : x < *i.high);
        if (above && below) return true;
    }
    return false;
}

// A row's value at x: the product of its numerators over the product of the others.
std::optional<Rational> RowValue(const SignRow& row, const Rational& x) {
    Rational top = 1, bottom = 1;
    for (std::size_t k = 0; k < row.factors.size(); ++k)
        (static_cast<int>(k) < row.numerators ? top : bottom) =
            (static_cast<int>(k) < row.numerators ? top : bottom) *
            Evaluate(row.factors[k], Surd(x)).RationalPart();
    if (bottom == 0) return std::nullopt;
    return top / bottom;
}

Sign SignOf(const std::optional<Rational>& v) {
    return !v              ? Sign::Forbidden
           : v->Sign() > 0 ? Sign::Plus
           : v->Sign() < 0 ? Sign::Minus
                           : Sign::Zero;
}

// Every cell of the table and the set checked against the statement itself, at a point inside
// each interval between the table's values and at each value.
void CheckQuestion(const SignsQuestion& q, const QuestionResult& result, const Steps& steps) {
    const SignTable& t =
        steps[static_cast<std::size_t>(
                  std::ranges::find_if(steps,
                                       [](const Step& s) { return s.kind == Step::Kind::Table; }) -
                  steps.begin())]
            .table;
    const SolutionSet& set = *result.set;
    ASSERT_EQ(steps.back().set, set);
    const std::size_t n = t.values.size();
    for (std::size_t j = 1; j < n; ++j) ASSERT_LT(t.values[j - 1], t.values[j]);
    for (std::size_t c = 0; c <= 2 * n; ++c) {
        const Rational x =
            c % 2 == 1 ? t.values[c / 2].RationalPart()
            : c == 0   ? t.values[0].RationalPart() - 1
            : c == 2 * n
                ? t.values[n - 1].RationalPart() + 1
                : (t.values[c / 2 - 1].RationalPart() + t.values[c / 2].RationalPart()) / 2;
        const auto gap = Gap(q, x);
        EXPECT_EQ(InSet(set, Surd(x)), gap && Holds(q.relation, *gap)) << ExactText(x);
        const SignRow& whole = t.rows.back();
        EXPECT_EQ(whole.cells[c], SignOf(gap)) << ExactText(x);
        if (gap) EXPECT_EQ(RowValue(whole, x), *gap);  // the same expression, not its sign only
        for (std::size_t r = 0; r + 1 < t.rows.size(); ++r) {
            const Sign s = SignOf(RowValue(t.rows[r], x));
            EXPECT_EQ(t.rows[r].cells[c], c % 2 == 1 && s != Sign::Zero ? Sign::Blank : s);
        }
    }
    // The set's bounds are the table's values, so the points above decide every real.
    std::vector<Surd> bounds;
    for (const auto& i : set.intervals)
        for (const auto& b : {i.low, i.high})
            if (b) bounds.push_back(*b);
    if (set.shape != SolutionSet::Shape::Intervals)
        bounds = set.shape == SolutionSet::Shape::Values ? set.values : set.excluded;
    ASSERT_EQ(result.values.size(), bounds.size());
    for (std::size_t k = 0; k < bounds.size(); ++k) {
        EXPECT_NE(std::ranges::find(t.values, bounds[k]), t.values.end());
        EXPECT_EQ(result.values[k].exact, bounds[k]);
        EXPECT_EQ(result.values[k].decimal, RoundedText(bounds[k]));
        EXPECT_EQ(result.values[k].name, bounds.size() == 1 ? "x" : "x" + std::to_string(k + 1));
    }
}

TEST(Signs, EverySeededSheetAgreesWithItsStatement) {
    for (int level = 1; level <= 3; ++level)
        for (std::uint32_t seed = 1; seed <= 60; ++seed) {
            SignsKind kind;
            kind.Begin(level);
            RandomSource rng(seed * 7919u);
            for (int i = 1; i <= kMaxQuestions; ++i) {
                kind.Draw(rng, i);
                const QuestionModel m = kind.Model(i, true);
                SCOPED_TRACE(kind.DiagnosticEntry(i));
                CheckQuestion(kind.question(i), m.result, *m.steps);
                const bool quotient = kind.question(i).form == SignForm::Quotient ||
                                      kind.question(i).form == SignForm::Moved;
                EXPECT_EQ(m.steps->front().label == "Valeur interdite : ", quotient);
                EXPECT_EQ(m.result.caseBit, CaseOf(m.result));
                if (HasFatalFailure()) return;
            }
        }
}

TEST(Signs, EveryCaseIsDrawnAtEveryLevel) {
    for (int level = 1; level <= 3; ++level)
        for (int c = 0; c < kCaseCount; ++c) {
            DrawChoices choices;
            choices.cases = 1u << c;
            choices.solutions = Solutions::Integer;
            ASSERT_FALSE(DrawChoicesError(choices, KindIndex("signs"), 10));
            SheetSettings s;
            s.level = level;
            s.count = 10;
            s.draw = choices;
            auto kind = MakeSheetKind("signs", choices);
            RandomSource rng(static_cast<std::uint32_t>(level * 10 + c));
            for (const auto& q : BuildSheetModel(*kind, rng, s).questions) {
                EXPECT_EQ(CaseOf(q.result), c);
                EXPECT_TRUE(SolutionsAre(q.result, Solutions::Integer));
            }
        }
}

}  // namespace
