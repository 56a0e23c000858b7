// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/product.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <numeric>

#include "core/equat1d.h"
#include "core/worked.h"

namespace equat {

namespace {

// One factor a x + b with b ≠ 0 in the level's ranges, its root an integer when `integer`.
void DrawFactor(RandomSource& rng, int level, bool integer, std::int32_t& a, std::int32_t& b) {
    if (level == 1) {
        a = 1;
        b = DrawNonZeroDiff(rng, 10, 10);
        return;
    }
    const int reach = level == 2 ? 7 : 10;
    do a = DrawNonZeroDiff(rng, reach, reach);
    while (level == 3 && (a == 1 || a == -1));
    if (integer) {
        b = -a * DrawNonZeroDiff(rng, 8, 8);
    } else {
        b = level == 2 ? DrawNonZeroDiff(rng, 16, 16) : DrawNonZeroDiff(rng, 21, 21);
    }
}

Rational FactorRoot(std::int32_t a, std::int32_t b) {
    return Rational(-b, a);
}

}  // namespace

Statement ProductStatement(const ProductQuestion& q) {
    const Atom open = AtomOf(Atom::Kind::Open), close = AtomOf(Atom::Kind::Close);
    WrittenSide left;
    if (q.form == 1) {
        left.push_back(UnknownAtom(Var::X, VarLook::Lead));
    } else {
        left.push_back(open);
        for (const Atom& atom : LinearSide(q.a, q.b)) left.push_back(atom);
        left.push_back(close);
    }
    left.push_back(open);
    for (const Atom& atom : LinearSide(q.c, q.d)) left.push_back(atom);
    left.push_back(close);
    return {{{left, {AtomOf(Atom::Kind::Number, 0)}, 1, 1}}};
}

QuestionResult ProductResult(const ProductQuestion& q) {
    const Rational r1 = FactorRoot(q.a, q.b), r2 = FactorRoot(q.c, q.d);
    if (r1 == r2) return SetResult(SetOf(SolutionSet::Shape::Values, {r1}), 2);
    return SetResult(SetOf(SolutionSet::Shape::Values, {std::min(r1, r2), std::max(r1, r2)}), 0);
}

Steps ProductSteps(const ProductQuestion& q) {
    Steps steps{NoteStep("Un produit est nul si et seulement si l'un de ses facteurs est nul :")};
    const std::array<std::array<std::int32_t, 2>, 2> factors{{{q.a, q.b}, {q.c, q.d}}};
    for (int g = 0; g < 2; ++g) {
        const auto [a, b] = factors[static_cast<std::size_t>(g)];
        Step written{Step::Kind::Rewrite, g + 1, {}, {}, {}, {}, false, {}};
        Add(written.lhs, a, Unknown::X);
        Add(written.lhs, b, Unknown::One);
        Reduce(steps, written, true, false);
        Solve(steps, std::string{kLabelUnknown, 'x'} + "= ", -b, a);
    }
    const QuestionResult result = ProductResult(q);
    if (result.set->values.size() == 1)
        steps.push_back(NoteStep("Les deux facteurs s'annulent pour la m\xEAme valeur."));
    steps.push_back(ConclusionStep(*result.set));
    return steps;
}

void ProductKind::DrawToward(RandomSource& rng, int i, int target, Solutions solutions) {
    auto& q = record(i);
    // Branch 0 draws one factor twice, or a multiple of it (case 2); the others two roots.
    do aleas_ = rng.RandomInt(10);
    while (target >= 0 && (aleas_ == 0) != (target == 2));
    const bool integer = solutions == Solutions::Integer;
    if (aleas_ == 0) {
        q.form = 0;
        DrawFactor(rng, level_, integer, q.a, q.b);
        const std::int32_t g = std::gcd(q.a, q.b);
        const std::int32_t m = DrawNonZeroDiff(rng, 4, 3);
        q.c = q.a / g * m;
        q.d = q.b / g * m;
        return;
    }
    q.form = rng.RandomInt(level_ == 1 ? 3 : 4) == 0 ? 1 : 0;
    do {
        if (q.form == 1) {
            q.a = 1;
            q.b = 0;
        } else {
            DrawFactor(rng, level_, integer, q.a, q.b);
        }
        DrawFactor(rng, level_, integer, q.c, q.d);
    } while (FactorRoot(q.a, q.b) == FactorRoot(q.c, q.d));
}

std::string ProductKind::DiagnosticEntry(int i) const {
    const auto& q = question(i);
    return DegreeDiagnosticEntry(i, q.a, q.b, q.c, q.d, "S = " + SetLogText(*Result(i).set),
                                 aleas_);
}

std::string ProductKind::DuplicateKey(int i) const {
    const auto& q = question(i);
    return DuplicateKeyOf(std::array{q.form, q.a, q.b, q.c, q.d});
}

QuestionModel ProductKind::Model(int i, bool steps) const {
    const auto& q = question(i);
    QuestionModel m{"product", level_, ProductStatement(q), Result(i), std::nullopt};
    m.coefficients = {q.a, q.b, q.c, q.d};
    if (steps) m.steps = ProductSteps(q);
    return m;
}

}  // namespace equat
