// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a multiple-choice question adds to the documents, as markup for the layout.
#include <string>

#include "core/sheet.h"

namespace equat {

// The choices' line, "A) x = 2     B) x = -2 ...", or a line each when they would not fit one;
// empty for a question without choices. Exact values when the key's style shows them, else
// two decimals.
std::string ChoicesMarkup(const QuestionModel& q, KeyStyle style);
// The key's lines after the choices: the right letter, then each wrong letter and its mistake
// ("B : signe oubli\xE9 en changeant de membre"); empty for a question without choices.
std::string ChoicesKeyMarkup(const QuestionModel& q);

// The right letter and a space before a strip key's results ("D  x = 3"); empty for a
// question without choices. Plain text: a letter and spaces.
std::string ChoiceLetterText(const QuestionModel& q);

}  // namespace equat
