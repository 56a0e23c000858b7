// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <vector>

#include "cli/sheetoptions.h"
#include "core/classset.h"
#include "core/formats.h"
#include "core/random.h"

namespace equat {

// The PDF files of a collated class set, checked before anything is made: the subjects
// (".pdf" added to a name without extension), the keys beside them ("_Cor.pdf") and the
// grid. False with *error (French) for a name that ends in another extension or names
// only a folder.
bool CollatedNames(const SheetJob& job, std::vector<std::string>* names, std::string* error);

// "equat-sheet: " and the message (French under a French locale) on standard error; returns
// the exit status.
int Fail(const std::string& message, int status);

// Progress of a long run on standard error, when it is a terminal: "phase made/total".
void ShowProgress(const std::string& phase, int made, int total);

// A class set of equat-sheet (--collate, --roster): every copy from its own seed drawn from
// stream, its code on it. Collated, writes the PDFs (and the grid) and returns the exit
// status; otherwise puts the set into *set and the grid (when asked) into *grid for the
// caller to write with the RTF pairs as one set, and returns -1.
int RunClassSet(const SheetJob& job, RandomSource& stream, ClassSet* set, std::string* grid);

// The banks asked for (--moodle, --gift) of the whole output, added to *files.
bool AddBanks(const SheetJob& job, const OutputData& output, NamedFiles* files, std::string* error);

}  // namespace equat
