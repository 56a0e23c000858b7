// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>
#include <string>
#include <string_view>

#include "core/classset.h"
#include "core/random.h"
#include "core/sheet.h"

namespace equat {

// A quick quiz: short copies, several to a page in two columns, each with its own questions
// and code; the keys in the same order.
inline constexpr int kQuizMinQuestions = 2;
inline constexpr int kQuizMaxQuestions = 6;
inline constexpr int kQuizColumns = 2;
constexpr bool IsQuizPerPage(int perPage) {
    return perPage == 2 || perPage == 4 || perPage == 6;
}

// The title a quiz's copy starts from: a name field short enough for half a page.
inline constexpr std::string_view kDefaultQuizTitle = "Nom :                    Classe :";

struct QuizRequest {
    std::string kind = "1d";
    // Level, questions per copy (count), interline, key style and texts; quiz.on is set.
    SheetSettings settings;
    int copies = 4;
    // The left column at settings.level, the right one a level above.
    bool twoLevels = false;
    bool showCodes = true;
    std::function<bool(int made)> progress;
};

// The copies in the order of the pages: row after row, left then right; keyOrder the same.
// No question is on two copies of one level (see BuildClassSet).
ClassSet MakeQuiz(const QuizRequest& request, RandomSource& stream);

}  // namespace equat
