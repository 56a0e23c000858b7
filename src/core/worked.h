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
Step NoteStep(std::string text);
Step ConclusionStep(SolutionSet set);
SolutionSet SetOf(SolutionSet::Shape shape, std::vector<Surd> values = {});
// "x = n/d = value" under `label`, "x = value" for d = -1, nothing for d = 1 (the reduced line
// already reads x = value).
void Solve(Steps& steps, std::string label, const Rational& n, const Rational& d);
// The reduced line `reduced` whose unknown has gone, written "0 x = b" in place of the last line
// when that one has lost its unknown.
void PushDegenerate(Steps& steps, Step reduced);

Steps FirstDegreeSteps(int level, const FirstDegreeQuestion& q);
Steps QuadraticSteps(int level, const QuadraticQuestion& q);
Steps SystemSteps(int level, const SystemQuestion& q);

}  // namespace equat
