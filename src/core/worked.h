// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Worked solutions for the detailed answer keys. A kind turns a question into a list of
// steps held as exact values (so tests can check every line); one writer (keymarkup.h) turns
// the steps into markup.
#include <string>
#include <vector>

#include "core/equat1d.h"
#include "core/equat2d.h"
#include "core/exact.h"
#include "core/steps.h"
#include "core/syst.h"

namespace equat {

Steps FirstDegreeSteps(int level, const FirstDegreeQuestion& q);
Steps QuadraticSteps(int level, const QuadraticQuestion& q);

// The pieces the inequations share with the equations.
Step NoteStep(std::string text);
Step ConclusionStep(SolutionSet set);
// The lines of a first-degree solution up to "a x = b" (brackets expanded, terms moved across
// and added up), with a and b.
struct LinearReduction {
    Steps steps;
    Rational a, b;
};
LinearReduction FirstDegreeReduction(int level, const FirstDegreeQuestion& q);
// "0 x = b" (or the relation), in place of a reduced line that lost its left side.
void PushZeroCoefficientLine(Steps& steps, const Rational& b, Relation relation);
// The lines of a second-degree solution up to Δ: at level 3 the equation brought to
// a x² + b x + c = 0, then a, b and c, then Δ.
Steps QuadraticOpening(int level, const QuadraticQuestion& q);
// x0 = -b/(2a) for Δ = 0.
Rational DoubleRootStep(Steps& steps, std::int64_t a, std::int64_t b);
// √Δ, then x1 and x2 for Δ > 0, x1 taken with +√Δ when `plusFirst`; the roots as named.
SurdPair QuadraticRootSteps(Steps& steps, std::int64_t a, std::int64_t b, std::int64_t c,
                            bool plusFirst);
Steps SystemSteps(int level, const SystemQuestion& q);

}  // namespace equat
