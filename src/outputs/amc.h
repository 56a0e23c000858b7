// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A source for the multiple-choice marking package of LaTeX (automultiplechoice): the copies'
// questions as its groups, for it to print, scan and mark.
#include <string>
#include <vector>

#include "core/formats.h"
#include "core/sheetmodel.h"

namespace equat {

// One answer offered to a single-answer question: its TeX text, and whether it is the right
// one.
struct AmcChoice {
    std::string text;
    bool right = false;
};

// The choices a question offers, in their order: the number of solutions (second degree) or
// the verdict (first degree, systems), the right one marked.
std::vector<AmcChoice> VerdictChoices(const QuestionModel& q);

// One group per question slot (\element), holding that question of every copy; each copy of
// the package's (\onecopy, as many as ours) takes one variant of each slot. A multiple-choice
// question offers its own choices in its copy's order; another asks its verdict as a
// single-answer question, then its values in digit boxes
// (\AMCnumericChoices, rounded to the hundredth, the same boxes whatever the case). Every
// question's identifier starts with its copy's code, so that an answer traces back to the
// copy it was drawn in. The copies need their model (ExportNeeds::model).
bool WriteAmc(const OutputData& output, const std::vector<std::string>& names, NamedFiles* files,
              std::string* error);

}  // namespace equat
