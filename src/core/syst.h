// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/exact.h"
#include "core/sheet.h"

namespace equat {

// The numbers written in one equation of a system, by written form:
//   plain       a x + b y = c                          s1..s3 = a, b, c
//   two-sided   a x + b y + c = d x + e y + f          s1..s6 = a..f
//   bracketed   k (a x + b y) + c = m (d x + e y) + f  s1..s8 = k, a, b, c, m, d, e, f
using EquationSlots = std::array<std::int32_t, 8>;

// A x + B y = C.
struct ReducedEquation {
    std::int32_t a = 0, b = 0, c = 0;
};
ReducedEquation ReduceTwoSided(const EquationSlots& s);
ReducedEquation ReduceBracketed(const EquationSlots& s);

// Each writer returns the whole system, three lines behind a Symbol-font brace, as RTF.
std::string WriteSystemPlain(std::int32_t a1, std::int32_t b1, std::int32_t c1, std::int32_t a2,
                             std::int32_t b2, std::int32_t c2);
std::string WriteSystemTwoSided(const EquationSlots& eq1, const EquationSlots& eq2);
std::string WriteSystemBracketed(const EquationSlots& eq1, const EquationSlots& eq2);

// Solution texts of a1 x + b1 y = c1, a2 x + b2 y = c2 by Cramer's rule in 32-bit
// arithmetic: a number with at most two decimals, or for a zero determinant "?" when the
// unknown's own determinant is 0 too, "/" otherwise.
std::string SolveForX(std::int32_t a1, std::int32_t b1, std::int32_t c1, std::int32_t a2,
                      std::int32_t b2, std::int32_t c2);
std::string SolveForY(std::int32_t a1, std::int32_t b1, std::int32_t c1, std::int32_t a2,
                      std::int32_t b2, std::int32_t c2);

struct SystemQuestion {
    EquationSlots eq1{}, eq2{};
    int form = 0;                 // level 3: 0 two-sided, 1 bracketed
    std::int32_t x0 = 0, y0 = 0;  // levels 1 and 2: the drawn solution
    std::string x, y;
    std::string written;  // the written system, RTF, shown by both documents
};

// The three-line diagnostic entry of question i.
std::string SystemDiagnosticEntry(int i, const SystemQuestion& q, int aleas);
// The bodies after the numbering, appended to a document; they need q.written set.
void AppendSystemSubjectBody(std::string& doc, const SystemQuestion& q);
void AppendSystemAnswerBody(std::string& doc, int level, const SystemQuestion& q,
                            KeyStyle style = KeyStyle::Decimal);

// The solution (x, y) of question q, exact, from its reduced coefficients; nothing when
// the determinant is 0 (the verdict stands).
struct ExactPoint {
    Rational x, y;
};
std::optional<ExactPoint> SystemExactSolution(int level, const SystemQuestion& q);
// Its result: x and y, or the verdict of a zero determinant.
QuestionResult SystemResult(int level, const SystemQuestion& q);

// One draw of each level from the given stream. Levels 1 and 2 return their choice draw
// (aleas, always 0 at level 1). At level 1 the texts are the drawn solution, or "?" for
// both when the two equations are proportional.
int DrawSystemLevel1(RandomSource& rng, SystemQuestion& q);
// Level 1 never draws an impossible system and seldom an indeterminate one: one in its own
// style, the second equation a multiple of the first, its right side shifted for none.
void DrawSystemLevel1Dependent(RandomSource& rng, SystemQuestion& q, bool infinite);
// The choice draw is drawn again until its branch can give case `target` (-1: any) with
// `solutions`: the level's own proportions among the branches kept.
int DrawSystemLevel2(RandomSource& rng, SystemQuestion& q, int target = -1,
                     Solutions solutions = Solutions::Any);
// One level-3 attempt; false when it must be discarded (one unknown "?", the other "/").
bool DrawSystemLevel3Attempt(RandomSource& rng, SystemQuestion& q);
// A zero determinant is rare at level 3 (one draw in three hundred, infinitely many
// solutions in sixteen thousand): two two-sided equations drawn as the level draws them, the
// second's x and y coefficients and constant solved so that it reduces to a multiple of the
// first (shifted for none). False after a thousand draws out of the level's ranges.
bool DrawSystemLevel3Dependent(RandomSource& rng, SystemQuestion& q, bool infinite);
// Integer solutions are rare at level 3 (one draw in forty, in two hundred and fifty for the
// bracketed form): a point drawn first, then each equation as the level draws it with its
// constant solved through the point.
void DrawSystemLevel3OnPoint(RandomSource& rng, SystemQuestion& q);
// Level-3 attempts until one is kept; the discarded ones leave nothing behind.
void DrawSystemLevel3(RandomSource& rng, SystemQuestion& q);

// Systems of two linear equations in x and y.
class SystemKind final : public TabledKind<SystemQuestion> {
  public:
    std::string_view BaseNamePrefix() const override { return "Syst_N"; }
    std::string_view AnswerNumbering() const override { return "\xB0/ "; }
    void Draw(RandomSource& rng, int i) override { DrawToward(rng, i, -1, Solutions::Any); }
    void DrawToward(RandomSource& rng, int i, int target, Solutions solutions) override;
    std::string DiagnosticEntry(int i) const override;
    std::string DuplicateKey(int i) const override;
    void AppendSubjectBody(std::string& doc, int i) const override;
    void AppendAnswerBody(std::string& doc, int i, KeyStyle style) const override;
    QuestionResult Result(int i) const override { return SystemResult(level_, question(i)); }
};

}  // namespace equat
