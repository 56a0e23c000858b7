// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/quiz.h"

#include <algorithm>
#include <numeric>

namespace equat {

ClassSet MakeQuiz(const QuizRequest& request, RandomSource& stream) {
    const int total = std::max(request.copies, 0);
    const int columns = request.twoLevels ? kQuizColumns : 1;
    ClassSet quiz;
    std::vector<ClassSet> parts;
    for (int c = 0; c < columns; ++c) {
        ClassSetRequest part;
        part.kind = request.kind;
        part.settings = request.settings;
        part.settings.quiz.on = true;
        part.settings.quiz.showLevel = request.twoLevels;
        part.settings.count = std::clamp(part.settings.count, kQuizMinQuestions, kQuizMaxQuestions);
        part.settings.level = std::min(part.settings.level + c, 3);
        // Copies k with k % columns == c.
        part.copies = (total + columns - 1 - c) / columns;
        part.showCodes = request.showCodes;
        const int before = c == 0 ? 0 : static_cast<int>(parts.front().copies.size());
        if (request.progress)
            part.progress = [&, before](int made) { return request.progress(before + made); };
        parts.push_back(MakeClassSet(part, stream));
        quiz.repeats += parts.back().repeats;
        if (parts.back().cancelled) {
            quiz.cancelled = true;
            return quiz;
        }
    }
    for (int k = 0; k < total; ++k)
        quiz.copies.push_back(std::move(parts[static_cast<std::size_t>(k % columns)]
                                            .copies[static_cast<std::size_t>(k / columns)]));
    quiz.keyOrder.resize(quiz.copies.size());
    std::iota(quiz.keyOrder.begin(), quiz.keyOrder.end(), std::size_t{0});
    return quiz;
}

}  // namespace equat
