// SPDX-License-Identifier: GPL-3.0-or-later
// Worked solutions are checked as a teacher checks a pupil's working: every line must be
// true, every rewriting must say the same as the line before, and no line may carry
// sign or coefficient clutter. Thousands of sheets per kind and level.
#include "core/worked.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>

#include "core/keymarkup.h"
#include "core_test_helpers.h"

namespace equat {

void PrintTo(const Surd& x, std::ostream* os) {
    *os << ExactText(x);
}

namespace {

constexpr std::uint32_t kSheets = 600;  // per kind and level, 40 questions each

// Where a line is evaluated to compare it with the one before: three points that fix a
// quadratic in x and a linear form in x and y.
const Rational kPoints[3][2] = {{0, 0}, {1, 0}, {2, 1}};

struct Point {
    Surd x;
    Rational y;
};

Surd Gap(const Step& s, const Surd& x, const Rational& y) {
    return Evaluate(s.lhs, x, y) - Evaluate(s.rhs, x, y);
}

// lhs − rhs of `line` is a non-zero multiple of that of `before`.
bool Equivalent(const Step& line, const Step& before) {
    Surd f[3], g[3];
    bool fZero = true, gZero = true;
    for (int k = 0; k < 3; ++k) {
        f[k] = Gap(line, kPoints[k][0], kPoints[k][1]);
        g[k] = Gap(before, kPoints[k][0], kPoints[k][1]);
        fZero = fZero && f[k] == 0;
        gZero = gZero && g[k] == 0;
    }
    if (fZero != gZero) return false;
    for (int j = 0; j < 3; ++j)
        for (int k = 0; k < 3; ++k)
            if (f[j] * g[k] != f[k] * g[j]) return false;
    return true;
}

// The clutter a teacher would strike out. `zeroX` allows "0 x" on a verdict line.
std::string Clutter(const Step& step) {
    std::string text;
    bool inTag = false, space = false;
    for (char c : WorkedStepsMarkup({step})) {
        if (c == '<' || c == '>') {
            inTag = c == '<';
            continue;
        }
        if (inTag) continue;
        if (c == ' ' && space) continue;
        space = c == ' ';
        text += c;
    }
    const auto after = [&](std::size_t at, std::size_t n) {
        return at + n < text.size() ? text[at + n] : '\0';
    };
    const auto before = [&](std::size_t at) { return at == 0 ? ' ' : text[at - 1]; };
    // A negative value after a sign or a times stands in brackets: -(-6), 8 × (-6).
    for (std::string_view bad : {"+ -", "- -", "x^1", "--", "\xD7 -"})
        if (text.find(bad) != std::string::npos) return text;
    // A check puts the value in the place of x, not of 1 x; there "+ 0" is the value 0 put
    // in the place of y. (A determinant's "1 × 6" is its formula's product.)
    if (step.kind == Step::Kind::Check) {
        for (std::string_view bad : {": 1 \xD7", "- 1 \xD7", "+ 1 \xD7"})
            if (text.find(bad) != std::string::npos) return text;
        return {};
    }
    for (std::size_t at = text.find("+ 0"); at != std::string::npos; at = text.find("+ 0", at + 1))
        if (!std::isdigit(static_cast<unsigned char>(after(at, 3))) && after(at, 3) != '/')
            return text;
    for (std::string_view bad : {"1 x", "1 y", "0 x", "0 y"}) {
        if (bad[0] == '0' && step.degenerate) continue;
        for (std::size_t at = text.find(bad); at != std::string::npos;
             at = text.find(bad, at + 1)) {
            const char b = before(at);
            if (!std::isdigit(static_cast<unsigned char>(b)) && b != '/' && b != '.') return text;
        }
    }
    return {};
}

// The question as an equation, built from its numbers apart from the step builders, and
// its solutions (none when it has no single one).
struct Question {
    Step equation[2];  // systems have two; the others use the first
    std::vector<Point> solutions;
    bool all = false;  // every number (every couple) is a solution
};

Side Sd(std::initializer_list<std::pair<std::int64_t, Unknown>> terms) {
    Side s;
    for (auto [c, u] : terms) s.push_back({c, u});
    return s;
}

Question FirstDegree(int level, const FirstDegreeQuestion& q) {
    const auto& s = q.slots;
    std::int64_t a = s[0], b = s[1], c = s[2], d = s[3], e = s[4], f = s[5], g = s[6], h = s[7];
    // D x = N for each pair of level-3 forms.
    const std::int64_t dn[10][2] = {
        {a * b + d - e * f - h, e * g - a * c}, {a * b + d - e - f * g, f * h - a * c},
        {a * b + d - e * f, e * g + h - a * c}, {a * b + d - f * g, f * h + e - a * c},
        {a + b * c - e * f, e * g + h - b * d}, {a + b * c - f * g, f * h + e - b * d},
        {a * b - f * g, f * h + e - a * c - d}, {b * c - e * f - h, e * g - a - b * d},
        {b - e * f, e * g + h - a - b * d},     {a + b * c - f, f * h - 1 - b * d}};
    std::int64_t dd = a - c, nn = d - b;
    if (level == 3) {
        dd = dn[q.aleas][0];
        nn = dn[q.aleas][1];
    }
    Question out;
    out.equation[0].lhs = Sd({{dd, Unknown::X}});
    out.equation[0].rhs = Sd({{nn, Unknown::One}});
    if (dd != 0) out.solutions.push_back({Rational(nn, dd), 0});
    out.all = dd == 0 && nn == 0;
    return out;
}

// The roots in the order of the key's result line (x1, then x2), so that the working ends on
// the key's x2.
Question SecondDegree(int level, const QuadraticQuestion& q) {
    const auto& s = q.slots;
    Question out;
    out.equation[0].lhs = Sd({{s[0], Unknown::X2}, {s[1], Unknown::X}, {s[2], Unknown::One}});
    out.equation[0].rhs = Sd({{s[3], Unknown::X2}, {s[4], Unknown::X}, {s[5], Unknown::One}});
    const std::int64_t a = s[0] - s[3], b = s[1] - s[4], c = s[2] - s[5];
    if (b * b - 4 * a * c >= 0) {
        const SurdPair roots = *QuadraticExactRoots(level, q);
        out.solutions = {{roots.first, 0}, {roots.second, 0}};
    }
    return out;
}

Question Syst(int level, const SystemQuestion& q) {
    ReducedEquation r[2];
    for (int k = 0; k < 2; ++k) {
        const EquationSlots& s = k == 0 ? q.eq1 : q.eq2;
        r[k] = level < 3 ? ReducedEquation{s[0], s[1], s[2]}
                         : (q.form == 0 ? ReduceTwoSided(s) : ReduceBracketed(s));
    }
    Question out;
    for (int k = 0; k < 2; ++k) {
        out.equation[k].lhs = Sd({{r[k].a, Unknown::X}, {r[k].b, Unknown::Y}});
        out.equation[k].rhs = Sd({{r[k].c, Unknown::One}});
    }
    const std::int64_t d = std::int64_t{r[0].a} * r[1].b - std::int64_t{r[1].a} * r[0].b;
    if (d != 0)
        out.solutions.push_back(
            {Rational(std::int64_t{r[0].c} * r[1].b - std::int64_t{r[0].b} * r[1].c, d),
             Rational(std::int64_t{r[0].a} * r[1].c - std::int64_t{r[1].a} * r[0].c, d)});
    // Determinant 0: solutions exist when the augmented matrix has no larger rank: every
    // 2 × 2 minor is 0, and no row reads 0 = c with c not 0.
    const auto minor = [&](std::int64_t p0, std::int64_t q0, std::int64_t p1, std::int64_t q1) {
        return p0 * q1 - p1 * q0;
    };
    const auto absurd = [](const ReducedEquation& e) { return e.a == 0 && e.b == 0 && e.c != 0; };
    out.all = d == 0 && minor(r[0].a, r[0].c, r[1].a, r[1].c) == 0 &&
              minor(r[0].b, r[0].c, r[1].b, r[1].c) == 0 && !absurd(r[0]) && !absurd(r[1]);
    return out;
}

// One term of a check's left side: the coefficient and the value put in place of the
// unknown, as written (v, -v or a × v).
std::pair<Rational, Surd> CheckTerm(const Calc& c) {
    if (c.op == Calc::Op::Number) return {1, c.value};
    if (c.op == Calc::Op::Neg && c.args[0].op == Calc::Op::Number) return {-1, c.args[0].value};
    if (c.op == Calc::Op::Prod && c.args.size() == 2 && c.args[0].value.IsRational() &&
        c.args[1].op == Calc::Op::Number)
        return {c.args[0].value.RationalPart(), c.args[1].value};
    ADD_FAILURE() << "not a coefficient times a value";
    return {0, 0};
}

// A check is the equation it names with the solution put in place of each unknown, term
// by term, equal to its right side.
void CheckCheck(const Step& step, const Question& question) {
    ASSERT_EQ(step.links.size(), 2u);
    ASSERT_EQ(question.solutions.size(), 1u);
    const Step& eq = question.equation[step.label.find("(2)") != std::string::npos ? 1 : 0];
    const Point& p = question.solutions[0];
    std::vector<Calc> terms{step.links[0]};
    if (step.links[0].op == Calc::Op::Sum) terms = step.links[0].args;
    std::size_t k = 0;
    for (const Term& t : eq.lhs) {
        if (t.coef == 0) continue;
        ASSERT_LT(k, terms.size()) << "a term left out";
        const auto [coef, value] = CheckTerm(terms[k++]);
        EXPECT_EQ(coef, t.coef);
        EXPECT_EQ(value, t.u == Unknown::X ? p.x : Surd(p.y)) << "not the solution put in";
    }
    EXPECT_EQ(k, terms.size());
    EXPECT_EQ(Evaluate(step.links[0]), Evaluate(eq.lhs, p.x, p.y));
    EXPECT_EQ(Evaluate(step.links[1]), Evaluate(eq.rhs, p.x, p.y));
}

// The solution set a working ends with, against the solver's.
void CheckConclusion(const Steps& steps, const Question& question) {
    ASSERT_EQ(steps.back().kind, Step::Kind::Conclusion) << "no solution set at the end";
    const SolutionSet& set = steps.back().set;
    using Shape = SolutionSet::Shape;
    const std::string text = WorkedStepsMarkup({steps.back()});
    EXPECT_NE(text.find("S "), std::string::npos) << text;
    if (question.all) {
        const bool system = !question.equation[1].lhs.empty();
        EXPECT_TRUE(system ? set.shape == Shape::Line || set.shape == Shape::Couples
                           : set.shape == Shape::Reals)
            << text;
        // Two couples of the line satisfy both equations.
        if (set.shape == Shape::Line) {
            for (int x = 0; x < 2; ++x) {
                const bool forY = set.lhs[0].u == Unknown::Y;
                const Surd other = Evaluate(set.rhs, x);
                const Surd px = forY ? Surd(x) : other;
                const Rational py = forY ? other.RationalPart() : Rational(x);
                for (const Step& eq : question.equation) EXPECT_EQ(Gap(eq, px, py), 0) << text;
            }
        }
        return;
    }
    if (question.solutions.empty()) {
        EXPECT_EQ(set.shape, Shape::Empty) << text;
        return;
    }
    if (!question.equation[1].lhs.empty()) {
        ASSERT_EQ(set.shape, Shape::Couple) << text;
        EXPECT_EQ(set.values[0], question.solutions[0].x);
        EXPECT_EQ(set.values[1], Surd(question.solutions[0].y));
        return;
    }
    ASSERT_EQ(set.shape, Shape::Values) << text;
    std::vector<Surd> expected;
    for (const Point& p : question.solutions)
        if (std::find(expected.begin(), expected.end(), p.x) == expected.end())
            expected.push_back(p.x);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(set.values, expected) << text;
}

// Every line of one question's working, against the question itself.
void CheckSteps(const Steps& steps, const Question& question, const std::string& where) {
    const Step* last[4] = {&question.equation[0], &question.equation[0], &question.equation[1],
                           nullptr};
    for (const Step& step : steps) {
        SCOPED_TRACE(where + " line: " + WorkedStepsMarkup({step}));
        EXPECT_EQ(Clutter(step), "");
        if (step.kind == Step::Kind::Value) {
            for (const Calc& link : step.links) EXPECT_EQ(Evaluate(link), Evaluate(step.links[0]));
            continue;
        }
        if (step.kind == Step::Kind::Check) {
            CheckCheck(step, question);
            continue;
        }
        if (step.kind == Step::Kind::Note || step.kind == Step::Kind::Conclusion) continue;
        for (const Point& p : question.solutions) {
            EXPECT_EQ(Gap(step, p.x, p.y), 0) << "false at the solution";
        }
        const Step*& previous = last[step.group];
        if (step.kind == Step::Kind::Rewrite && previous != nullptr) {
            EXPECT_TRUE(Equivalent(step, *previous)) << "not the line before, rewritten";
        }
        previous = &step;
    }
}

// The last value the working finds, against the last solution.
void CheckEnd(const Steps& steps, const Question& question) {
    const Step& last = steps[steps.size() - 2];
    if (question.solutions.empty() || last.kind != Step::Kind::Value) return;
    EXPECT_EQ(Evaluate(last.links.back()), question.solutions.back().x);
}

template <class Kind, class Q>
void CheckKind(int level, const std::function<Steps(int, const Q&)>& build,
               const std::function<Question(int, const Q&)>& reference, bool checkEnd) {
    Kind kind;
    for (std::uint32_t seed = 1; seed <= kSheets; ++seed) {
        RandomSource rng(seed * 2654435761u);
        kind.Begin(level);
        for (int i = 1; i <= kMaxQuestions; ++i) {
            kind.Draw(rng, i);
            const Q& q = kind.question(i);
            const std::string where = "level " + std::to_string(level) + " seed " +
                                      std::to_string(seed) + " #" + std::to_string(i);
            try {
                const Steps steps = build(level, q);
                const Question question = reference(level, q);
                ASSERT_FALSE(steps.empty()) << where;
                CheckSteps(steps, question, where);
                if (checkEnd) CheckEnd(steps, question);
                SCOPED_TRACE(where);
                CheckConclusion(steps, question);
            } catch (const std::exception& e) {
                FAIL() << where << ": " << e.what();
            }
            if (testing::Test::HasFailure()) return;
        }
    }
}

class WorkedSteps : public testing::TestWithParam<int> {};

TEST_P(WorkedSteps, FirstDegreeLinesAreTrueAndClean) {
    CheckKind<FirstDegreeKind, FirstDegreeQuestion>(GetParam(), FirstDegreeSteps, FirstDegree,
                                                    true);
}

TEST_P(WorkedSteps, SecondDegreeLinesAreTrueAndClean) {
    CheckKind<SecondDegreeKind, QuadraticQuestion>(GetParam(), QuadraticSteps, SecondDegree, true);
}

TEST_P(WorkedSteps, SystemLinesAreTrueAndClean) {
    CheckKind<SystemKind, SystemQuestion>(GetParam(), SystemSteps, Syst, false);
}

INSTANTIATE_TEST_SUITE_P(Levels, WorkedSteps, testing::Values(1, 2, 3));

// The detailed key is the exact key with the working between the question and its
// highlighted result.
template <class Kind>
void CheckDetailedBody(int level, const std::function<std::string(const Kind&, int)>& worked,
                       const std::function<std::size_t(const Kind&, int)>& questionSize) {
    Kind kind;
    for (std::uint32_t seed = 1; seed <= 50; ++seed) {
        RandomSource rng(seed);
        kind.Begin(level);
        for (int i = 1; i <= kMaxQuestions; ++i) {
            kind.Draw(rng, i);
            const std::string exact = AnswerBody(kind, i, KeyStyle::Exact);
            const std::size_t at = questionSize(kind, i);
            ASSERT_EQ(AnswerBody(kind, i, KeyStyle::Detailed),
                      exact.substr(0, at) + worked(kind, i) + exact.substr(at))
                << "level " << level << " seed " << seed << " #" << i;
        }
    }
}

TEST(WorkedSteps, DetailedKeyIsTheExactKeyUnderTheWorking) {
    for (int level = 1; level <= 3; ++level) {
        const auto par = [](const Steps& steps) {
            std::string s(kPar);
            AppendWorkedStepsRtf(s, steps);
            return s;
        };
        CheckDetailedBody<FirstDegreeKind>(
            level,
            [&](const auto& k, int i) { return par(FirstDegreeSteps(level, k.question(i))); },
            [&](const auto& k, int i) {
                return StatementRtf(FirstDegreeStatement(level, k.question(i))).size();
            });
        CheckDetailedBody<SecondDegreeKind>(
            level, [&](const auto& k, int i) { return par(QuadraticSteps(level, k.question(i))); },
            [&](const auto& k, int i) {
                return StatementRtf(QuadraticStatement(level, k.question(i).slots)).size();
            });
        CheckDetailedBody<SystemKind>(
            level,
            [&](const auto& k, int i) {
                std::string s;
                AppendWorkedStepsRtf(s, SystemSteps(level, k.question(i)));
                return s;
            },
            [&](const auto& k, int i) {
                return StatementRtf(SystemStatement(level, k.question(i))).size() +
                       (level == 3 ? kPar.size() : 0);
            });
    }
}

// The verdicts and the shapes a teacher expects, one question of each.
TEST(WorkedSteps, ReadsLikeACorrection) {
    FirstDegreeQuestion impossible;
    impossible.slots = {3, 2, 3, 5, 0, 0, 0, 0};
    const Steps v = FirstDegreeSteps(2, impossible);
    EXPECT_TRUE(v[v.size() - 2].kind == Step::Kind::Note && v[v.size() - 3].degenerate);

    QuadraticQuestion q;
    q.slots = {1, 0, -180, 0, 0, 0, 0, 0};  // x² = 180: √720 = 12√5
    const std::string text = WorkedStepsMarkup(QuadraticSteps(2, q));
    EXPECT_NE(text.find("<symbol>\xD6<arial>720 = 12<symbol>\xD6<arial>5"), std::string::npos)
        << text;

    SystemQuestion s;
    s.eq1 = {2, 3, 4, 0, 0, 0, 0, 0};
    s.eq2 = {4, 6, 9, 0, 0, 0, 0, 0};
    const Steps p = SystemSteps(2, s);
    EXPECT_NE(p[p.size() - 2].label.find("aucune solution"), std::string::npos);
    s.eq1 = {0, 0, 5, 0, 0, 0, 0, 0};  // 0 = 5 beside 0 = 0: no solution
    s.eq2 = {0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(SystemSteps(2, s).back().set.shape, SolutionSet::Shape::Empty);
    EXPECT_NE(SystemSteps(2, s).end()[-2].label.find("aucune solution"), std::string::npos);

    // -x + 8y = 126 at x = -6: the value in brackets after the sign.
    s.eq1 = {-1, 8, 126, 0, 0, 0, 0, 0};
    s.eq2 = {1, 1, 9, 0, 0, 0, 0, 0};
    const std::string checks = WorkedStepsMarkup(SystemSteps(2, s));
    EXPECT_NE(checks.find("Dans (1) : -(-6) + 8 \xD7 15 = 126"), std::string::npos) << checks;
    EXPECT_NE(checks.find("S = \\{(-6 ; 15)\\}"), std::string::npos) << checks;
}

}  // namespace
}  // namespace equat
