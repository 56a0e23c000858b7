// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/choices.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "core/kinds.h"
#include "core/sheetcode.h"

using namespace equat;

namespace {

using C = std::vector<std::int64_t>;
using R = Rational;

// Whether a choice answers the question, by substitution into its reduced equation.
bool Solves(std::string_view kind, const C& c, const ChoiceValue& v) {
    if (kind == "1d") {
        if (c[0] == c[2])
            return v.verdict == (c[1] == c[3] ? Verdict::EveryReal : Verdict::NoSolution);
        return v.verdict == Verdict::Values && v.values.size() == 1 &&
               Surd(c[0]) * v.values[0] + Surd(c[1]) == Surd(c[2]) * v.values[0] + Surd(c[3]);
    }
    if (kind == "2d") {
        const std::int64_t delta = c[1] * c[1] - 4 * c[0] * c[2];
        if (delta < 0) return v.verdict == Verdict::NoRealRoot;
        if (v.verdict != Verdict::Values || v.values.size() != (delta == 0 ? 1u : 2u)) return false;
        for (const Surd& x : v.values)
            if (Surd(c[0]) * x * x + Surd(c[1]) * x + Surd(c[2]) != Surd(0)) return false;
        return v.values.size() == 1 || v.values[0] != v.values[1];
    }
    const bool parallel = c[0] * c[4] == c[1] * c[3];
    if (parallel) {
        const bool same = c[0] * c[5] == c[2] * c[3] && c[1] * c[5] == c[2] * c[4];
        return v.verdict == (same ? Verdict::Indeterminate : Verdict::NoSolution);
    }
    if (v.verdict != Verdict::Values || v.values.size() != 2) return false;
    const Surd x = v.values[0], y = v.values[1];
    return Surd(c[0]) * x + Surd(c[1]) * y == Surd(c[2]) &&
           Surd(c[3]) * x + Surd(c[4]) * y == Surd(c[5]);
}

ChoiceValue Values(std::vector<Surd> v) {
    return {Verdict::Values, std::move(v)};
}
ChoiceValue Roots(R p, std::int64_t delta, R divisor) {  // (p ± √delta) / divisor
    if (delta < 0) return {Verdict::NoRealRoot, {}};
    if (delta == 0) return Values({Surd(p / divisor)});
    const Surd r(0, 1, delta, 1);
    std::vector<Surd> v{(Surd(p) - r) / Surd(divisor), (Surd(p) + r) / Surd(divisor)};
    if (divisor.Sign() < 0) std::swap(v[0], v[1]);
    return Values(v);
}

// A first-degree side p x + q read from its written atoms; without `whole`, each bracket's
// factor multiplies its first term only.
std::pair<R, R> SideOf(const WrittenSide& side, bool whole) {
    R p, q, factor = 1;
    std::optional<R> number;
    int inside = -1;  // the bracket's terms so far; -1 outside
    const auto add = [&](R value, bool x) {
        if (inside >= 0 && (whole || inside++ == 0)) value = value * factor;
        (x ? p : q) = (x ? p : q) + value;
    };
    for (const Atom& a : side) {
        if (a.kind == Atom::Kind::Unknown) {
            add(number.value_or(a.look == VarLook::Negated ? -1 : 1), true);
            number.reset();
            continue;
        }
        if (number && a.kind != Atom::Kind::Space && a.kind != Atom::Kind::Open)
            add(*number, false);
        if (a.kind != Atom::Kind::Space && a.kind != Atom::Kind::Open) number.reset();
        if (a.kind == Atom::Kind::Number || a.kind == Atom::Kind::SignedTerm) number = R(a.value);
        if (a.kind == Atom::Kind::Open) factor = number.value_or(1), number.reset(), inside = 0;
        if (a.kind == Atom::Kind::Close) inside = -1;
    }
    if (number) add(*number, false);
    return {p, q};
}

// The coefficients of a first-degree question, read again from its statement.
C FromStatement(const QuestionModel& q) {
    C c;
    for (bool whole : {true, false}) {
        for (const WrittenSide* side : {&q.statement.lines[0].left, &q.statement.lines[0].right}) {
            const auto [p, k] = SideOf(*side, whole);
            c.insert(c.end(), {p.num(), k.num()});
        }
    }
    if (q.level != 3) c.resize(4);
    return c;
}

// Each mistake, by its name, written again from what the pupil does.
using Redo = std::function<ChoiceValue(const C&)>;
const std::map<std::string, Redo>& Reference() {
    static const std::map<std::string, Redo> m = {
        // p x + q = r x + s
        {"parenth\xE8se d\xE9velopp\xE9"
         "e sur son premier terme seulement",
         [](const C& c) { return Values({R(c[7] - c[5]) / R(c[4] - c[6])}); }},
        {"signe oubli\xE9 en changeant de membre",
         [](const C& c) { return Values({R(c[3] + c[1]) / R(c[0] - c[2])}); }},
        {"division par l'oppos\xE9 du coefficient",
         [](const C& c) { return Values({R(c[3] - c[1]) / -R(c[0] - c[2])}); }},
        {"division par le coefficient oubli\xE9"
         "e",
         [](const C& c) { return Values({R(c[3] - c[1])}); }},
        {"signe du terme en x oubli\xE9 en changeant de membre",
         [](const C& c) { return Values({R(c[3] - c[1]) / R(c[0] + c[2])}); }},
        {"quotient renvers\xE9",
         [](const C& c) { return Values({R(c[0] - c[2]) / R(c[3] - c[1])}); }},
        {"\xAB 0 = k \xBB pris pour \xAB 0 = 0 \xBB",
         [](const C&) {
             return ChoiceValue{Verdict::EveryReal, {}};
         }},
        {"\xAB 0 = 0 \xBB pris pour une impossibilit\xE9",
         [](const C&) {
             return ChoiceValue{Verdict::NoSolution, {}};
         }},
        {"x \xE9limin\xE9s, x = 0 conclu", [](const C&) { return Values({Surd(0)}); }},
        {"\xAB 0 x = k \xBB lu comme \xAB x = k \xBB",
         [](const C& c) { return Values({R(c[3] - c[1])}); }},
        {"\xAB 0/0 \xBB pris pour 1", [](const C&) { return Values({Surd(1)}); }},
        // a x² + b x + c = 0
        {"-b/(2a) avec le mauvais signe",
         [](const C& c) { return Roots(c[1], c[1] * c[1] - 4 * c[0] * c[2], 2 * c[0]); }},
        {"discriminant calcul\xE9 avec b au lieu de b\xB2",
         [](const C& c) { return Roots(-c[1], c[1] - 4 * c[0] * c[2], 2 * c[0]); }},
        {"division par a au lieu de 2a",
         [](const C& c) { return Roots(-c[1], c[1] * c[1] - 4 * c[0] * c[2], c[0]); }},
        {"discriminant calcul\xE9 avec + 4ac",
         [](const C& c) { return Roots(-c[1], c[1] * c[1] + 4 * c[0] * c[2], 2 * c[0]); }},
        {"discriminant n\xE9gatif pris pour nul",
         [](const C& c) { return Roots(-c[1], 0, 2 * c[0]); }},
        {"signe du discriminant n\xE9gatif ignor\xE9",
         [](const C& c) { return Roots(-c[1], 4 * c[0] * c[2] - c[1] * c[1], 2 * c[0]); }},
        {"x\xB2 trait\xE9 comme x", [](const C& c) { return Values({R(-c[2]) / R(c[0] + c[1])}); }},
    };
    return m;
}

// A system's mistakes, from its solution (x ; y) or, without one, from its equations.
ChoiceValue RedoSystem(std::string_view name, const C& c, const std::vector<Surd>& right) {
    const std::string n(name);
    if (n ==
        "x et y \xE9"
        "chang\xE9s")
        return Values({right[1], right[0]});
    if (n == "seconds membres pris avec le mauvais signe") return Values({-right[0], -right[1]});
    if (n == "signe oubli\xE9 en reportant x")
        return Values({right[0], (Surd(c[2]) + Surd(c[0]) * right[0]) / Surd(c[1])});
    if (n == "signe oubli\xE9 en reportant y")
        return Values({(Surd(c[2]) + Surd(c[1]) * right[1]) / Surd(c[0]), right[1]});
    if (n == "impossible pris pour ind\xE9termin\xE9") return {Verdict::Indeterminate, {}};
    if (n == "ind\xE9termin\xE9 pris pour impossible") return {Verdict::NoSolution, {}};
    return Values({Surd(0), Surd(0)});  // elimination ending in x = 0 and y = 0
}

// The point of one equation a wrong choice stands for lies on it and off the other.
bool OnOneEquationOnly(const C& c, const ChoiceValue& v) {
    const auto on = [&](std::size_t k) {
        return Surd(c[k]) * v.values[0] + Surd(c[k + 1]) * v.values[1] == Surd(c[k + 2]);
    };
    return v.values.size() == 2 && on(0) != on(3);
}

}  // namespace

// Every kind, level and case, three and four choices, many seeds: the count asked, one right
// choice (substituted back), the others wrong and each what its named mistake gives, all
// distinct as values and as shown.
TEST(Choices, EachWrongChoiceIsItsNamedMistake) {
    for (int kind = 0; kind < kKindCount; ++kind) {
        const std::string_view name = kSheetKinds[kind].name;
        if (MistakesOf(name).empty()) {
            // No mistakes to offer: its questions stay questions to solve.
            SheetSettings s;
            s.choiceCount = kDefaultChoices;
            s.exports.model = true;
            RandomSource rng(7);
            const Sheet sheet = BuildSheet(*MakeKind(name), rng, s);
            for (const QuestionModel& q : sheet.model->questions) EXPECT_TRUE(q.choices.empty());
            continue;
        }
        for (int level = 1; level <= 3; ++level) {
            for (unsigned cases : {0u, 1u, 2u, 4u}) {
                for (std::uint32_t seed = 1; seed <= 12; ++seed) {
                    SheetSettings s;
                    s.level = level;
                    s.count = 8;
                    s.draw.cases = cases;
                    s.choiceCount = 3 + static_cast<int>(seed % 2);
                    s.exports.model = true;
                    if (DrawChoicesError(s.draw, kind, s.count)) continue;
                    RandomSource rng(seed * 7919u + static_cast<std::uint32_t>(level));
                    const Sheet sheet = BuildSheet(*MakeSheetKind(name, s.draw), rng, s);
                    for (const QuestionModel& q : sheet.model->questions) {
                        SCOPED_TRACE(std::string(name) + " level " + std::to_string(level) +
                                     " seed " + std::to_string(seed));
                        const C& c = q.coefficients;
                        if (q.result.set) {  // no mistakes written: a question to solve
                            EXPECT_TRUE(q.choices.empty());
                            continue;
                        }
                        ASSERT_EQ(static_cast<int>(q.choices.size()), s.choiceCount);
                        EXPECT_TRUE(Solves(q.kind, c, RightChoice(q)));  // coefficients agree
                        if (q.kind == "1d") {
                            EXPECT_EQ(c, FromStatement(q));
                        }
                        int right = 0;
                        std::set<std::string> shown[2];
                        for (const Choice& ch : q.choices) {
                            for (bool exact : {false, true})
                                EXPECT_TRUE(shown[exact]
                                                .insert(ChoiceText(ch.value, q.kind, exact))
                                                .second);
                            if (ch.mistake.empty()) {
                                ++right;
                                EXPECT_TRUE(Solves(q.kind, c, ch.value));
                                continue;
                            }
                            EXPECT_FALSE(Solves(q.kind, c, ch.value)) << ch.mistake;
                            const std::string mistake(ch.mistake);
                            if (q.kind == "syst" && mistake.find("seul") != std::string::npos) {
                                if (mistake.find("infinit") != std::string::npos)
                                    EXPECT_TRUE(Surd(c[0]) * ch.value.values[0] +
                                                    Surd(c[1]) * ch.value.values[1] ==
                                                Surd(c[2]));
                                else
                                    EXPECT_TRUE(OnOneEquationOnly(c, ch.value));
                            } else if (q.kind == "syst") {
                                EXPECT_EQ(ch.value, RedoSystem(mistake, c, RightChoice(q).values))
                                    << mistake;
                            } else {
                                ASSERT_TRUE(Reference().count(mistake)) << mistake;
                                EXPECT_EQ(ch.value, Reference().at(mistake)(c)) << mistake;
                            }
                        }
                        EXPECT_EQ(right, 1);
                    }
                }
            }
        }
    }
}

// Off, nothing of the stream changes; on, the code carries the count and rebuilds the copy.
TEST(Choices, CodeRebuildsTheChoices) {
    for (int count : {3, 4}) {
        SheetCode code;
        code.kind = "2d";
        code.count = 6;
        code.seed = 12345;
        code.flags = ChoiceFlags(count);
        std::string error;
        const auto back = DecodeSheetCode(EncodeSheetCode(code), &error);
        ASSERT_TRUE(back) << error;
        EXPECT_EQ(ChoiceCountOfFlags(back->flags), count);
        const Sheet a = BuildSheetFromCode(*back, SheetSettings{});
        const Sheet b = BuildSheetFromCode(code, SheetSettings{});
        EXPECT_EQ(a.subject, b.subject);
        EXPECT_NE(a.answerKey.find("R\xE9ponse"), std::string::npos);
    }
    EXPECT_EQ(ChoiceCountOfFlags(0), 0);
}
