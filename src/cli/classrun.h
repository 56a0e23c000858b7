// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <vector>

#include "cli/sheetoptions.h"
#include "core/random.h"

namespace equat {

// A class set of equat-sheet (--collate, --roster): every copy from its own seed drawn from
// stream, its code on it. Collated, writes the PDFs (and the grid) and returns the exit
// status; otherwise writes the grid when asked, puts the copies into *sheets for the
// caller to write as RTF pairs, and returns -1.
int RunClassSet(const SheetJob& job, RandomSource& stream, std::vector<Sheet>* sheets);

}  // namespace equat
