// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/quotient.h"

#include <array>
#include <numeric>

#include "core/equat1d.h"
#include "core/worked.h"

namespace equat {

namespace {

// The right side p/q as the level draws it: a positive integer at level 1, any integer at
// level 2, a fraction at level 3.
void DrawRight(RandomSource& rng, int level, QuotientQuestion& q) {
    q.q = 1;
    if (level == 1) {
        q.p = 1 + rng.RandomInt(6);
    } else if (level == 2) {
        q.p = DrawDiff(rng, 10, 10);
    } else {
        q.q = 2 + rng.RandomInt(4);
        do q.p = DrawNonZeroDiff(rng, 10, 10);
        while (std::gcd(q.p, q.q) != 1);
    }
}

// The numerator and the denominator as the level draws them.
void DrawShape(RandomSource& rng, int level, int form, QuotientQuestion& q) {
    q.form = form;
    if (form == 0) {
        q.n1 = 0;
        q.d1 = 1;
        q.d0 = 0;
        q.n0 = level == 1 ? 1 + rng.RandomInt(20) : DrawNonZeroDiff(rng, 31, 31);
    } else if (level == 1) {
        q.n1 = q.d1 = 1;
        q.n0 = DrawNonZeroDiff(rng, 10, 10);
        q.d0 = DrawNonZeroDiff(rng, 10, 10);
    } else {
        q.n1 = DrawNonZeroDiff(rng, 7, 7);
        q.d1 = DrawNonZeroDiff(rng, 7, 7);
        q.n0 = DrawNonZeroDiff(rng, 13, 13);
        q.d0 = DrawNonZeroDiff(rng, 13, 13);
    }
}

// The numerator mN times, the denominator mD times the same factor: the forbidden value is the
// numerator's root.
void Proportional(QuotientQuestion& q, std::int32_t mN, std::int32_t mD) {
    const std::int32_t g = std::gcd(q.d1, q.d0), u = q.d1 / g, v = q.d0 / g;
    q.n1 = u * mN;
    q.n0 = v * mN;
    q.d1 = u * mD;
    q.d0 = v * mD;
}

// No solution: the candidate is the forbidden value (`proportional`), or 0 x = c ≠ 0.
void DrawNone(RandomSource& rng, int level, bool proportional, QuotientQuestion& q) {
    if (q.form == 0) {
        q.p = 0;
        q.q = 1;
        return;
    }
    if (proportional) {
        Proportional(q, level == 1 ? 1 : DrawNonZeroDiff(rng, 4, 4), 1);
        do DrawRight(rng, level, q);
        while (Rational(q.p, q.q) == Rational(q.n1, q.d1));
        return;
    }
    do DrawRight(rng, level, q);
    while (q.p == 0);
    if (level == 1) q.p = 1;
    const std::int32_t t = level == 1 ? 1 : DrawNonZeroDiff(rng, 3, 3);
    q.n1 = q.p * t;
    q.d1 = q.q * t;
    while (std::int64_t{q.q} * q.n0 == std::int64_t{q.p} * q.d0)
        q.n0 = DrawNonZeroDiff(rng, 13, 13);
}

// Every real but the forbidden value: the numerator is the right side times the denominator.
void DrawEvery(RandomSource& rng, int level, QuotientQuestion& q) {
    const std::int32_t mD = level == 1   ? 1
                            : level == 2 ? (rng.RandomInt(2) ? 1 : -1)
                                         : DrawNonZeroDiff(rng, 5, 4);
    const std::int32_t mN = level == 1 ? 1 + rng.RandomInt(5) : DrawNonZeroDiff(rng, 5, 4);
    Proportional(q, mN, mD);
    const Rational k(mN, mD);
    q.p = static_cast<std::int32_t>(k.num());
    q.q = static_cast<std::int32_t>(k.den());
}

int CaseOfBranch(int aleas) {
    return aleas == 0 ? 1 : aleas == 1 ? 2 : 0;
}

// A x = B once the denominator is cleared.
std::array<std::int64_t, 2> Cleared(const QuotientQuestion& q) {
    return {std::int64_t{q.q} * q.n1 - std::int64_t{q.p} * q.d1,
            std::int64_t{q.p} * q.d0 - std::int64_t{q.q} * q.n0};
}

}  // namespace

Rational ForbiddenValue(const QuotientQuestion& q) {
    return Rational(-q.d0, q.d1);
}

Statement QuotientStatement(const QuotientQuestion& q) {
    const Atom open = AtomOf(Atom::Kind::Open), close = AtomOf(Atom::Kind::Close),
               over = AtomOf(Atom::Kind::Over);
    WrittenSide left;
    if (q.form == 0) {
        left = {AtomOf(Atom::Kind::Number, q.n0), over, UnknownAtom(Var::X, VarLook::Lead)};
    } else {
        left.push_back(open);
        for (const Atom& atom : LinearSide(q.n1, q.n0)) left.push_back(atom);
        left.insert(left.end(), {close, over, open});
        for (const Atom& atom : LinearSide(q.d1, q.d0)) left.push_back(atom);
        left.push_back(close);
    }
    WrittenSide right{AtomOf(Atom::Kind::Number, q.p)};
    if (q.q != 1) right.insert(right.end(), {over, AtomOf(Atom::Kind::Number, q.q)});
    return {{{left, right, 1, 1}}};
}

QuestionResult QuotientResult(const QuotientQuestion& q) {
    const auto [a, b] = Cleared(q);
    const Rational v = ForbiddenValue(q);
    if (a == 0 && b == 0) {
        SolutionSet set = SetOf(SolutionSet::Shape::Reals);
        set.excluded = {v};
        return SetResult(set, 2);
    }
    if (a == 0 || Rational(b, a) == v) return SetResult(SetOf(SolutionSet::Shape::Empty), 1);
    return SetResult(SetOf(SolutionSet::Shape::Values, {Rational(b, a)}), 0);
}

Steps QuotientSteps(const QuotientQuestion& q) {
    Steps steps;
    const std::string x{kLabelUnknown, 'x'};
    const Rational v = ForbiddenValue(q);
    Step forbidden{Step::Kind::Rewrite, 1, "Valeur interdite : ", {}, {}, {}, false, {}};
    Add(forbidden.lhs, q.d1, Unknown::X);
    Add(forbidden.lhs, q.d0, Unknown::One);
    Reduce(steps, forbidden, true, false);
    Solve(steps, x + "= ", -q.d0, q.d1);
    Step cleared{Step::Kind::Rewrite,
                 2,
                 "Pour " + x + "diff\xE9rent de " + ExactText(v) + " : ",
                 {},
                 {},
                 {},
                 false,
                 {}};
    Add(cleared.lhs, std::int64_t{q.q} * q.n1, Unknown::X);
    Add(cleared.lhs, std::int64_t{q.q} * q.n0, Unknown::One);
    Add(cleared.rhs, std::int64_t{q.p} * q.d1, Unknown::X);
    Add(cleared.rhs, std::int64_t{q.p} * q.d0, Unknown::One);
    Reduce(steps, cleared, true, false);
    const auto [a, b] = Cleared(q);
    if (a == 0) {
        PushDegenerate(steps, steps.back());
        steps.push_back(
            NoteStep(b == 0 ? "Tout nombre diff\xE9rent de " + ExactText(v) + " est solution."
                            : "Aucun nombre ne v\xE9rifie cette \xE9galit\xE9."));
    } else {
        Solve(steps, x + "= ", b, a);
        const Rational x0(b, a);
        steps.push_back(NoteStep(x0 == v ? ExactText(x0) +
                                               " est la valeur interdite : ce n'est pas une "
                                               "solution."
                                         : ExactText(x0) + " n'est pas la valeur interdite."));
    }
    steps.push_back(ConclusionStep(*QuotientResult(q).set));
    return steps;
}

void QuotientKind::DrawToward(RandomSource& rng, int i, int target, Solutions solutions) {
    auto& q = record(i);
    do aleas_ = rng.RandomInt(10);
    while (target >= 0 && CaseOfBranch(aleas_) != target);
    const int form = level_ == 3 ? 1 : rng.RandomInt(level_ == 1 ? 2 : 4) == 0 ? 0 : 1;
    if (CaseOfBranch(aleas_) == 1) {
        DrawShape(rng, level_, form, q);
        DrawNone(rng, level_, rng.RandomInt(2) == 0, q);
        return;
    }
    if (CaseOfBranch(aleas_) == 2) {
        DrawShape(rng, level_, 1, q);
        DrawEvery(rng, level_, q);
        return;
    }
    // Level 1 keeps to integer solutions.
    const bool integer = solutions == Solutions::Integer || level_ == 1;
    for (;;) {
        DrawShape(rng, level_, form, q);
        DrawRight(rng, level_, q);
        const QuestionResult r = QuotientResult(q);
        if (*r.caseBit == 0 && (!integer || r.values[0].exact->IsInteger())) return;
    }
}

std::string QuotientKind::DiagnosticEntry(int i) const {
    const auto& q = question(i);
    return DegreeDiagnosticEntry(
        i, q.n1, q.n0, q.d1, q.d0,
        "(= " + ExactText(Rational(q.p, q.q)) + ") S = " + SetLogText(*Result(i).set), aleas_);
}

std::string QuotientKind::DuplicateKey(int i) const {
    const auto& q = question(i);
    return DuplicateKeyOf(std::array{q.form, q.n1, q.n0, q.d1, q.d0, q.p, q.q});
}

QuestionModel QuotientKind::Model(int i, bool steps) const {
    const auto& q = question(i);
    QuestionModel m{"quotient", level_, QuotientStatement(q), Result(i), std::nullopt};
    m.coefficients = {q.n1, q.n0, q.d1, q.d0, q.p, q.q};
    if (steps) m.steps = QuotientSteps(q);
    return m;
}

}  // namespace equat
