// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/exact.h"
#include "core/sheet.h"

namespace equat {

// One side p x² + q x + r.
WrittenSide QuadraticSide(std::int32_t p, std::int32_t q, std::int32_t r);
// b·b − 4·a·c with 32-bit wrap-around.
std::int32_t Discriminant(std::int32_t a, std::int32_t b, std::int32_t c);
// Root texts of a x² + b x + c = 0 (a ≠ 0): "/" without real roots, else at most two
// decimals. RootX1 takes +√Δ, RootX2 −√Δ.
std::string RootX1(std::int32_t a, std::int32_t b, std::int32_t c);
std::string RootX2(std::int32_t a, std::int32_t b, std::int32_t c);

// One second-degree question: a x² + b x + c = d x² + e x + f (d, e, f are 0 at levels
// 1 and 2; g and h are always 0 and only fill the duplicate key).
struct QuadraticQuestion {
    std::array<std::int32_t, 8> slots{};  // a..h
    std::int32_t r = 0, s = 0;            // level 1: the drawn roots
    std::string x1, x2;
};

// A question's equation brought to a x² + b x + c = 0, in 64 bits: what its exact result, its
// worked steps and its inequation read (the decimal key keeps its own 32-bit reckoning).
struct Trinomial {
    std::int64_t a, b, c;
    std::int64_t Delta() const { return b * b - 4 * a * c; }
};
Trinomial TrinomialOf(const QuadraticQuestion& q);

// The equation as the question asks it: "a x² + b x + c = 0 " at levels 1 and 2, both sides
// at level 3.
Statement QuadraticStatement(int level, const std::array<std::int32_t, 8>& slots);

// The roots of question q, exact, from its coefficients, x1 = (-b + √Δ)/(2a) first at every
// level (as the worked solution names them; the decimal key keeps the drawn order at level
// 1); nothing when there is no real root.
std::optional<SurdPair> QuadraticExactRoots(int level, const QuadraticQuestion& q);
// Its result: the discriminant and x1, x2, or the verdict without real roots.
QuestionResult QuadraticResult(int level, const QuadraticQuestion& q);

// One accepted draw of each level from the given stream, retries included. The level-1
// draw returns its choice draw (aleas), drawn again until its branch can give case `target`
// (-1: any); levels 2 and 3 have none.
int DrawQuadraticLevel1(RandomSource& rng, QuadraticQuestion& q, int target = -1);
void DrawQuadraticLevel2(RandomSource& rng, QuadraticQuestion& q);
void DrawQuadraticLevel3(RandomSource& rng, QuadraticQuestion& q);
// A double root is rare at levels 2 and 3 (one draw in a thousand, or in four thousand):
// the level's own draws with its constant solved from Δ = 0, kept when in the level's range.
void DrawQuadraticDoubleRoot(RandomSource& rng, QuadraticQuestion& q, int level);
// Rational roots are rare at levels 2 and 3 (integer ones in one draw in a hundred, or in
// three hundred): the level's leading coefficient, then k (d1 x − n1)(d2 x − n2) within its
// ranges; integer roots unless `fractions`, one root twice if `twice`.
void DrawQuadraticOnRoots(RandomSource& rng, QuadraticQuestion& q, int level, bool twice,
                          bool fractions);

// Second-degree equations in x.
class SecondDegreeKind final : public TabledKind<QuadraticQuestion> {
  public:
    std::string_view BaseNamePrefix() const override { return "Equat2d_N"; }
    void Draw(RandomSource& rng, int i) override { DrawToward(rng, i, -1, Solutions::Any); }
    void DrawToward(RandomSource& rng, int i, int target, Solutions solutions) override;
    std::string DiagnosticEntry(int i) const override;
    std::string DuplicateKey(int i) const override;
    QuestionModel Model(int i, bool steps) const override;
    QuestionResult Result(int i) const override { return QuadraticResult(level_, question(i)); }
};

}  // namespace equat
