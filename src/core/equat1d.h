// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/exact.h"
#include "core/sheet.h"

namespace equat {

// One side p x + q of a level-1 or level-2 equation.
WrittenSide LinearSide(std::int32_t p, std::int32_t q);
// One side of a level-3 equation in bracketed form 1..6.
WrittenSide BracketSide(int form, std::int32_t p1, std::int32_t p2, std::int32_t p3,
                        std::int32_t p4);
// The key's words for an equation without a single solution, as each level has them.
std::string_view FirstDegreeVerdictText(int level, Verdict verdict);
// Solution text of a level-3 equation of form pair k (0..9) with slots a..h.
std::string Level3SolutionText(int k, const std::array<std::int32_t, 8>& slots);
// The left and right bracketed forms (1..6) of level-3 pair k (0..9).
struct FormPair {
    int left, right;
};
FormPair Level3Forms(int k);

// One first-degree question.
struct FirstDegreeQuestion {
    std::array<std::int32_t, 8> slots{};  // a..h
    std::int32_t x0 = 0;
    int aleas = 0;  // the choice draw that made this question
    std::string solution;
};

// The equation reduced: {p, q, r, s} of p x + q = r x + s; at level 3, four more: the same
// with each bracket's factor multiplied into its first term only.
std::vector<std::int64_t> FirstDegreeCoefficients(int level, const FirstDegreeQuestion& q);
// The solution of question q drawn at `level`, exact, from its coefficients; nothing when
// the equation has no solution or infinitely many (its verdict text stands).
std::optional<Rational> FirstDegreeExactSolution(int level, const FirstDegreeQuestion& q);
// Its result: x, or the verdict of an equation without a single solution.
QuestionResult FirstDegreeResult(int level, const FirstDegreeQuestion& q);
// The equation as the question asks it.
Statement FirstDegreeStatement(int level, const FirstDegreeQuestion& q);

// First-degree equations in x.
class FirstDegreeKind final : public TabledKind<FirstDegreeQuestion> {
  public:
    std::string_view BaseNamePrefix() const override { return "Equat1d_N"; }
    void Draw(RandomSource& rng, int i) override { DrawToward(rng, i, -1, Solutions::Any); }
    void DrawToward(RandomSource& rng, int i, int target, Solutions solutions) override;
    std::string DiagnosticEntry(int i) const override;
    std::string DuplicateKey(int i) const override;
    QuestionModel Model(int i, bool steps) const override;
    QuestionResult Result(int i) const override { return FirstDegreeResult(level_, question(i)); }

  private:
    void DrawLevel1(RandomSource& rng, FirstDegreeQuestion& q);
    // Level 1 never draws a verdict: one in its own style, a x + b = a x + d.
    void DrawLevel1Verdict(RandomSource& rng, FirstDegreeQuestion& q, bool every);
    // The choice draw is drawn again until its branch can give case `target` (-1: any) with
    // `solutions`: the level's own proportions among the branches kept.
    void DrawLevel2(RandomSource& rng, FirstDegreeQuestion& q, int target = -1,
                    Solutions solutions = Solutions::Any);
    void DrawLevel3(RandomSource& rng, FirstDegreeQuestion& q, bool integer);
    // A verdict at level 3 is rare (one in four hundred, every real one in a hundred
    // thousand): pair 0 with its right side solved to the left's coefficient of x.
    void DrawLevel3Verdict(RandomSource& rng, FirstDegreeQuestion& q, bool every);
};

}  // namespace equat
