// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Worked solutions for the detailed answer keys. A kind turns a question into a list of
// steps held as exact values (so tests can check every line); one writer (keymarkup.h) turns
// the steps into markup.
#include <cstdint>
#include <string>
#include <vector>

#include "core/equat1d.h"
#include "core/equat2d.h"
#include "core/exact.h"
#include "core/steps.h"
#include "core/syst.h"

namespace equat {

// The pieces every kind's worked solution is made of.
// `coef` times `u` appended to `side`, unless `coef` is 0.
void Add(Side& side, std::int64_t coef, Unknown u);
// From a written equation (lhs = rhs) to "unknowns = number", each line kept when it says
// something new; the written line dropped unless `showWritten`; `allLeft`: everything moved
// to the left (a quadratic).
void Reduce(Steps& steps, Step written, bool showWritten, bool allLeft);
Step ValueStep(std::string label, std::vector<Calc> links);
SolutionSet SetOf(SolutionSet::Shape shape, std::vector<Surd> values = {});
// "x = n/d = value" under `label`, "x = value" for d = -1, nothing for d = 1 (the reduced line
// already reads x = value).
void Solve(Steps& steps, std::string label, const Rational& n, const Rational& d);
// The reduced line `reduced` whose unknown has gone, written "0 x = b" in place of the last line
// when that one has lost its unknown.
void PushDegenerate(Steps& steps, Step reduced);

Steps FirstDegreeSteps(int level, const FirstDegreeQuestion& q);
Steps QuadraticSteps(int level, const QuadraticQuestion& q);

// The pieces the inequations share with the equations.
Step NoteStep(std::string text);
Step ConclusionStep(SolutionSet set);
// The lines of a first-degree solution up to "a x = b" (brackets expanded, terms moved across
// and added up), with a and b.
struct LinearReduction {
    Steps steps;
    Step reduced;  // a x = b
    Rational a, b;
};
LinearReduction FirstDegreeReduction(int level, const FirstDegreeQuestion& q);
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
