// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <vector>

#include "core/formats.h"

namespace equat {

// The copies' questions as a question bank for a learning platform, one question per drawn
// question named by its own kind and level, one category per kind, level and copy (its
// code, and its pupil's name from a roster), in key order. The copies need their bodies
// (ExportNeeds). Texts are UTF-8, the mathematics TeX for the platform's MathJax filter;
// numbers in answers have a dot and an ASCII minus. Each question says how to type a
// decimal: with the sheet's separator.
//
// Moodle XML: every question "cloze" (embedded answers), with the same blanks for every
// question of a kind whatever its case, so that their number tells nothing: the
// discriminant, the number of roots as a choice and always two roots in increasing order
// (a double one twice, none as zeros); the verdict as a choice and x (and y), zeros when
// there is not one solution. A value that is not an integer is asked rounded to the
// hundredth, with a tolerance of 0.005. The general feedback is the worked solution.
bool WriteMoodle(const OutputData& output, const std::vector<std::string>& names, NamedFiles* files,
                 std::string* error);
// GIFT: the first degree, and the questions of a set kind whose set is one number (it has no
// question with several blanks).
bool WriteGift(const OutputData& output, const std::vector<std::string>& names, NamedFiles* files,
               std::string* error);

}  // namespace equat
