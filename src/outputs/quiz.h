// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <vector>

#include "core/formats.h"

namespace equat {

// The copies' questions as a question bank for a learning platform, one question per drawn
// question, one category per kind, level and copy, in key order. The copies need their
// bodies (ExportNeeds). Texts are UTF-8 with real signs; numbers in answers have a dot and
// an ASCII minus.
//
// Moodle XML: first degree with one solution "numerical"; the rest "cloze" (embedded
// answers): the discriminant, the number of roots as a choice and the roots in increasing
// order; x and y; a verdict as a choice. A value that is not an integer is asked rounded
// to the hundredth, with a tolerance of 0.005. The general feedback is the worked
// solution.
bool WriteMoodle(const OutputData& output, const std::vector<std::string>& names, NamedFiles* files,
                 std::string* error);
// GIFT, first degree only (it has no question with several blanks).
bool WriteGift(const OutputData& output, const std::vector<std::string>& names, NamedFiles* files,
               std::string* error);

}  // namespace equat
