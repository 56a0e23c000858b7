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
