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
Steps SystemSteps(int level, const SystemQuestion& q);

}  // namespace equat
