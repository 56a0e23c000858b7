// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A multiple-choice question's lines in the documents: its choices under its statement, and in
// the key the right letter and the mistake each wrong choice stands for.
#include <string>

#include "core/sheet.h"

namespace equat {

// The choices' line, "A) x = 2     B) x = -2 ...", its own paragraph; nothing for a question
// without choices. Exact values when the key's style shows them, else two decimals.
void AppendChoicesRtf(std::string& out, const QuestionModel& q, KeyStyle style);
// The key's lines: the choices' line, the right letter, then each wrong letter and its mistake
// ("B : signe oubli\xE9 en changeant de membre"); nothing for a question without choices.
void AppendChoicesKeyRtf(std::string& out, const QuestionModel& q, KeyStyle style);

// The right letter and a space before a strip key's results ("D  x = 3"); nothing for a
// question without choices.
void AppendChoiceLetter(std::string& out, const QuestionModel& q);

}  // namespace equat
