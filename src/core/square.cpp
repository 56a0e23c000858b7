// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/square.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <numeric>

#include "core/numbertext.h"
#include "core/worked.h"

namespace equat {

namespace {

// How a drawn square comes out: negative, zero, or with roots irrational, fractions or integers.
enum class Branch { Negative, Zero, Irrational, Fraction, Integer };

Branch BranchOf(int aleas) {
    if (aleas < 2) return Branch::Negative;
    if (aleas == 2) return Branch::Zero;
    if (aleas < 6) return Branch::Irrational;
    return aleas < 10 ? Branch::Fraction : Branch::Integer;
}

bool Fits(Branch branch, int target, Solutions solutions) {
    const int c = branch == Branch::Negative ? 1 : branch == Branch::Zero ? 2 : 0;
    if (target >= 0 && c != target) return false;
    if (branch == Branch::Irrational) return solutions == Solutions::Any;
    return branch != Branch::Fraction || solutions != Solutions::Integer;
}

// The level's shape: which form, k, b and c; d is set from the square's value.
void DrawShape(RandomSource& rng, int level, Branch branch, SquareQuestion& q) {
    q.c = 0;
    q.b = 0;
    if (level == 1) {
        q.form = branch == Branch::Fraction ? 0 : rng.RandomInt(2);
        q.k = q.form == 0 ? 1 + rng.RandomInt(5) : 1;
        if (q.form == 1) q.b = DrawNonZeroDiff(rng, 10, 10);
        // A zero square is one of a few dozen questions else: a sheet of them needs more.
        if (q.form == 1 && branch == Branch::Zero) q.k = 1 + rng.RandomInt(5);
    } else if (level == 2) {
        q.form = rng.RandomInt(2);
        if (q.form == 0) {
            q.k = DrawNonZeroDiff(rng, 10, 10);
            q.c = DrawDiff(rng, 15, 15);
        } else {
            q.k = rng.RandomInt(2) == 0 ? 1 : -1;
            q.b = DrawNonZeroDiff(rng, 13, 13);
        }
    } else {
        q.form = 1;
        q.k = (2 + rng.RandomInt(5)) * (rng.RandomInt(3) == 0 ? -1 : 1);
        q.b = DrawNonZeroDiff(rng, 10, 10);
        q.c = DrawDiff(rng, 15, 15);
    }
}

Surd RootOfValue(const Rational& r) {
    return Surd(0, 1, r.num() * r.den(), r.den());
}

// d from the square's value r: (d - c)/k = r.
void DrawValue(RandomSource& rng, int level, Branch branch, SquareQuestion& q) {
    const std::int32_t sign = q.k < 0 ? -1 : 1;
    std::int32_t r = 0;
    switch (branch) {
        case Branch::Negative:
            r = -(1 + rng.RandomInt(level == 1 ? 9 : 15));
            break;
        case Branch::Zero:
            break;
        case Branch::Irrational:
            do r = 2 + rng.RandomInt(level == 1 ? 11 : 19);
            while (RootOfValue(r).IsRational());
            break;
        case Branch::Integer: {
            const std::int32_t s = 1 + rng.RandomInt(std::max(3, 10 / std::abs(q.k)));
            r = s * s;
            break;
        }
        case Branch::Fraction: {
            // (d - c)/k = p²/n² with k = ±m n².
            const std::int32_t n = 2 + rng.RandomInt(2), m = level == 2 ? 1 + rng.RandomInt(2) : 1;
            std::int32_t p;
            do p = 1 + rng.RandomInt(7);
            while (std::gcd(p, n) != 1);
            q.k = sign * m * n * n;
            q.d = q.c + sign * m * p * p;
            return;
        }
    }
    q.d = q.c + q.k * r;
}

std::string Signed(std::int64_t v) {
    return v < 0 ? "- " + DecimalText(-v) : "+ " + DecimalText(v);
}

// What is squared, as a label writes it: "x", "x + 3".
std::string BaseLabel(const SquareQuestion& q) {
    std::string s{kLabelUnknown, 'x'};
    return q.form == 0 ? s : s + Signed(q.b);
}

// The square's value isolated, from k (x + b)² + c = d.
void Isolate(Steps& steps, const SquareQuestion& q, const Rational& r) {
    if (q.form == 0) {
        Step written;
        Add(written.lhs, q.k, Unknown::X2);
        Add(written.lhs, q.c, Unknown::One);
        Add(written.rhs, q.d, Unknown::One);
        Reduce(steps, written, false, false);
        if (q.k == 1) return;
        Step isolated;
        Add(isolated.lhs, 1, Unknown::X2);
        if (r.Sign() != 0) isolated.rhs.push_back({r, Unknown::One});
        steps.push_back(isolated);
        return;
    }
    const std::string square = "(" + BaseLabel(q) + ")\xB2 = ";
    const std::string lead = q.k == 1 ? "" : q.k == -1 ? "-" : DecimalText(q.k) + " ";
    if (q.c != 0) steps.push_back(NoteStep(lead + square + DecimalText(q.d - q.c)));
    if (q.k != 1) steps.push_back(NoteStep(square + ExactText(r)));
}

// x = -b - √r and x = -b + √r, the root written as the radicand is.
void Roots(Steps& steps, const SquareQuestion& q, const Rational& r, const Surd& x1,
           const Surd& x2) {
    // √(49/9) is written 7/3 at once; √8 stays √8 before its simpler form.
    const Calc root = r.IsInteger() ? RootOf(r.num()) : Num(RootOfValue(r));
    const std::string rootText =
        kLabelRoot + (r.IsInteger() ? DecimalText(r.num()) : "(" + ExactText(r) + ")");
    const std::string base = BaseLabel(q) + (q.form == 0 ? "= " : " = ");
    steps.push_back(NoteStep(base + "-" + rootText + " ou " + base + rootText));
    const Calc lower = q.b == 0 ? NegOf(root) : DiffOf(Num(-q.b), root);
    const Calc upper = q.b == 0 ? root : SumOf(Num(-q.b), root);
    steps.push_back(ValueStep(std::string{kLabelIndexed, '1'} + " = ", {lower, Num(x1)}));
    steps.push_back(ValueStep(std::string{kLabelIndexed, '2'} + " = ", {upper, Num(x2)}));
}

}  // namespace

Rational SquareValue(const SquareQuestion& q) {
    return Rational(std::int64_t{q.d} - q.c, q.k);
}

Statement SquareStatement(const SquareQuestion& q) {
    WrittenSide left;
    if (q.form == 0) {
        left = {AtomOf(Atom::Kind::LeadCoef, q.k), UnknownAtom(Var::X2)};
    } else {
        if (q.k != 1) left.push_back(AtomOf(Atom::Kind::LeadCoef, q.k));
        if (q.k != 1 && q.k != -1) left.push_back(AtomOf(Atom::Kind::Space, 1));
        left.insert(left.end(), {AtomOf(Atom::Kind::Open), UnknownAtom(Var::X, VarLook::Lead),
                                 AtomOf(Atom::Kind::SignedTerm, q.b), AtomOf(Atom::Kind::Close),
                                 AtomOf(Atom::Kind::Squared)});
    }
    if (q.c != 0) left.push_back(AtomOf(Atom::Kind::SignedTerm, q.c));
    return {{{left, {AtomOf(Atom::Kind::Number, q.d)}, 1, 1}}};
}

QuestionResult SquareResult(const SquareQuestion& q) {
    const Rational r = SquareValue(q);
    if (r.Sign() < 0) return SetResult(SetOf(SolutionSet::Shape::Empty), 1);
    if (r.Sign() == 0) return SetResult(SetOf(SolutionSet::Shape::Values, {Surd(-q.b)}), 2);
    const Surd root = RootOfValue(r);
    return SetResult(SetOf(SolutionSet::Shape::Values, {-q.b - root, -q.b + root}), 0);
}

Steps SquareSteps(const SquareQuestion& q) {
    Steps steps;
    const Rational r = SquareValue(q);
    Isolate(steps, q, r);
    const QuestionResult result = SquareResult(q);
    if (r.Sign() < 0) {
        steps.push_back(NoteStep("Un carr\xE9 est positif ou nul : il ne peut pas valoir " +
                                 ExactText(r) + "."));
    } else if (r.Sign() == 0) {
        steps.push_back(
            NoteStep("Un carr\xE9 est nul si et seulement si le nombre \xE9lev\xE9 "
                     "au carr\xE9 est nul."));
        Step zero{Step::Kind::Rewrite, 1, {}, {{1, Unknown::X}}, {}, {}, false, {}};
        Add(zero.lhs, q.b, Unknown::One);
        steps.push_back(zero);
        if (q.b != 0)
            steps.push_back({Step::Kind::Rewrite,
                             1,
                             {},
                             {{1, Unknown::X}},
                             {{-q.b, Unknown::One}},
                             {},
                             false,
                             {}});
    } else {
        Roots(steps, q, r, *result.values[0].exact, *result.values[1].exact);
    }
    steps.push_back(ConclusionStep(*result.set));
    return steps;
}

void SquareKind::DrawToward(RandomSource& rng, int i, int target, Solutions solutions) {
    auto& q = record(i);
    do aleas_ = rng.RandomInt(20);
    while (!Fits(BranchOf(aleas_), target, solutions));
    const Branch branch = BranchOf(aleas_);
    DrawShape(rng, level_, branch, q);
    DrawValue(rng, level_, branch, q);
}

std::string SquareKind::DiagnosticEntry(int i) const {
    const auto& q = question(i);
    return DegreeDiagnosticEntry(i, q.k, q.b, q.c, q.d, "S = " + SetLogText(*Result(i).set),
                                 aleas_);
}

std::string SquareKind::DuplicateKey(int i) const {
    const auto& q = question(i);
    return DuplicateKeyOf(std::array{q.form, q.k, q.b, q.c, q.d});
}

QuestionModel SquareKind::Model(int i, bool steps) const {
    const auto& q = question(i);
    QuestionModel m{"square", level_, SquareStatement(q), Result(i), std::nullopt};
    m.coefficients = {q.form, q.k, q.b, q.c, q.d};
    if (steps) m.steps = SquareSteps(q);
    return m;
}

}  // namespace equat
