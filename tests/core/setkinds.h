// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the tests of the equation kinds whose key is a solution set share: the set a statement
// itself gives, read from its atoms, and the checks of a drawn question against it.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/keymarkup.h"
#include "core/kinds.h"
#include "core/markup.h"
#include "core/sheetrtf.h"
#include "rtf/reader.h"
#include "rtf/writer.h"

namespace equat {

// A side's value at x, read as a pupil reads the line: a term per sign, juxtaposed factors
// multiplied, "/" dividing by the next factor, a raised 2 squaring the bracket before it.
class SideReader {
  public:
    SideReader(const WrittenSide& side, const Surd& x) : s_(side), x_(x) {}
    Surd Value() { return Sum(); }

  private:
    Surd Factor() {
        const Atom& a = s_.at(k_++);
        if (a.kind == Atom::Kind::Unknown)
            return a.var == Var::X2 ? x_ * x_ : a.look == VarLook::Negated ? -x_ : x_;
        if (a.kind != Atom::Kind::Open) return a.value;
        Surd v = Sum();
        ++k_;  // the closing bracket
        if (k_ < s_.size() && s_[k_].kind == Atom::Kind::Squared) {
            ++k_;
            v = v * v;
        }
        return v;
    }
    Surd Sum() {
        Surd sum, product = 1;
        bool any = false;
        while (k_ < s_.size() && s_[k_].kind != Atom::Kind::Close) {
            const Atom& a = s_[k_];
            if (a.kind == Atom::Kind::Space) {
                ++k_;
            } else if (a.kind == Atom::Kind::SignedTerm || a.kind == Atom::Kind::SignedCoef) {
                if (any) sum = sum + product;
                product = a.value;
                any = true;
                ++k_;
            } else if (a.kind == Atom::Kind::Over) {
                ++k_;
                product = product / Factor();
            } else {
                product = product * Factor();
                any = true;
            }
        }
        return any ? sum + product : sum;
    }
    const WrittenSide& s_;
    std::size_t k_ = 0;
    Surd x_;
};

inline Surd Gap(const Statement& st, const Surd& x) {
    const auto& line = st.lines.at(0);
    return SideReader(line.left, x).Value() - SideReader(line.right, x).Value();
}

// The solutions of the statement: (left - right)(x), times (x - v) for a forbidden value v,
// is a polynomial of degree 2 at most, read at three points.
inline SolutionSet StatementSet(const Statement& st, std::optional<Rational> forbidden) {
    std::vector<Rational> xs, ys;
    for (int x : {0, 1, -1, 2, -2, 3}) {
        if (xs.size() == 3 || (forbidden && *forbidden == x)) continue;
        xs.push_back(x);
        const Surd g = Gap(st, x) * (forbidden ? Surd(Rational(x) - *forbidden) : Surd(1));
        ys.push_back(g.RationalPart());
    }
    const Rational d01 = (ys[1] - ys[0]) / (xs[1] - xs[0]), d12 = (ys[2] - ys[1]) / (xs[2] - xs[1]);
    const Rational a = (d12 - d01) / (xs[2] - xs[0]), b = d01 - a * (xs[0] + xs[1]);
    const Rational c = ys[0] - a * xs[0] * xs[0] - b * xs[0];
    SolutionSet set;
    std::vector<Surd> roots;
    if (a == 0 && b == 0 && c == 0) {
        set.shape = SolutionSet::Shape::Reals;
        if (forbidden) set.excluded = {*forbidden};
        return set;
    }
    if (a == 0 && b != 0) roots = {-c / b};
    const Rational delta = b * b - 4 * a * c;
    if (a != 0 && delta.Sign() >= 0) {
        const Surd root(0, 1, delta.num() * delta.den(), delta.den());
        roots = {(Surd(-b) - root) / Surd(2 * a), (Surd(-b) + root) / Surd(2 * a)};
    }
    std::erase_if(roots, [&](const Surd& r) { return forbidden && r == Surd(*forbidden); });
    std::ranges::sort(roots);
    roots.erase(std::unique(roots.begin(), roots.end()), roots.end());
    set.shape = roots.empty() ? SolutionSet::Shape::Empty : SolutionSet::Shape::Values;
    set.values = roots;
    return set;
}

// Every Rewrite line of a group true at the same points, every Value step's links equal, the
// conclusion the result's set.
inline void ExpectSteps(const Steps& steps, const SolutionSet& set, std::vector<Surd> points) {
    for (int x = -4; x <= 4; ++x) points.push_back(x);
    for (const Surd& x : points)
        for (int group = 0; group < 3; ++group) {
            std::optional<bool> truth;
            for (const Step& s : steps) {
                if (s.kind != Step::Kind::Rewrite || s.group != group) continue;
                const bool holds = Evaluate(s.lhs, x) == Evaluate(s.rhs, x);
                EXPECT_EQ(holds, truth.value_or(holds)) << s.label;
                truth = holds;
            }
        }
    for (const Step& s : steps) {
        if (s.kind == Step::Kind::Value)
            for (const Calc& link : s.links) EXPECT_EQ(Evaluate(link), Evaluate(s.links.back()));
    }
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.back().kind, Step::Kind::Conclusion);
    EXPECT_EQ(steps.back().set, set);
}

// Sheets of every level drawn from many seeds: each question's set is the one its statement
// gives, its values as the conventions name them, its case its kind's, its steps true.
inline void ExpectKindSound(std::string_view name,
                            std::optional<Rational> (*forbidden)(const QuestionModel&)) {
    const auto kind = MakeKind(name);
    for (int level = 1; level <= 3; ++level)
        for (std::uint32_t seed = 1; seed <= 40; ++seed) {
            RandomSource rng(seed);
            kind->Begin(level);
            for (int i = 1; i <= kMaxQuestions; ++i) {
                kind->Draw(rng, i);
                const QuestionModel m = kind->Model(i, true);
                const auto v = forbidden(m);
                ASSERT_TRUE(m.result.set);
                const SolutionSet& set = *m.result.set;
                EXPECT_EQ(set, StatementSet(m.statement, v)) << name << level << " " << seed;
                if (v) {
                    EXPECT_THROW(Gap(m.statement, *v), std::domain_error);
                }
                std::vector<Surd> points = set.values;
                if (v) points.push_back(*v);
                for (const Surd& x : set.values) EXPECT_EQ(Gap(m.statement, x), Surd(0));
                ASSERT_EQ(m.result.values.size(), set.values.size());
                for (std::size_t k = 0; k < set.values.size(); ++k) {
                    const auto& r = m.result.values[k];
                    EXPECT_EQ(r.name, set.values.size() == 1 ? "x" : "x" + std::to_string(k + 1));
                    EXPECT_EQ(r.exact, set.values[k]);
                    EXPECT_EQ(r.decimal, RoundedText(set.values[k]));
                }
                const int expectedCase = set.shape == SolutionSet::Shape::Empty   ? 1
                                         : set.shape == SolutionSet::Shape::Reals ? 2
                                         : set.values.size() == 2                 ? 0
                                         : name == "quotient"                     ? 0
                                                                                  : 2;
                EXPECT_EQ(m.result.caseBit, expectedCase);
                ExpectSteps(*m.steps, set, points);
            }
        }
}

// Every case the kind gives, with every kind of solutions, drawn when asked at every level.
inline void ExpectCasesReachable(std::string_view name) {
    const int k = KindIndex(name);
    const auto kind = MakeKind(name);
    for (int level = 1; level <= 3; ++level)
        for (const CaseInfo& c : KindCases(k))
            for (Solutions solutions : {Solutions::Any, Solutions::Fraction, Solutions::Integer}) {
                if (!c.possible) continue;
                RandomSource rng(level * 100 + c.bit);
                kind->Begin(level);
                for (int i = 1; i <= 10; ++i) {
                    kind->DrawToward(rng, i, c.bit, solutions);
                    const QuestionResult r = kind->Result(i);
                    EXPECT_EQ(CaseOf(r), c.bit) << name << level;
                    EXPECT_TRUE(SolutionsAre(r, solutions)) << name << level;
                }
            }
}

// The statement as the subject writes it, each run of spaces one space, and the set as the
// exact key writes it.
inline std::string StatementText(const QuestionModel& m) {
    std::string rtf(kRtfHeader);
    AppendSubjectRtf(rtf, m);
    std::string text = rtf::PlainTextUtf8(rtf::ReadRtf(rtf + "}"), " ");
    std::string out;
    for (char ch : text)
        if (ch != ' ' || (!out.empty() && out.back() != ' ')) out += ch;
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

}  // namespace equat
