// SPDX-License-Identifier: GPL-3.0-or-later
#include "outputs/answers.h"

#include <algorithm>

#include "core/sheet.h"

namespace equat {

const std::vector<std::string_view> kOneDegreeChoices = {"une seule solution", "aucune solution",
                                                         "tout nombre r\xC3\xA9\x65l est solution"};
const std::vector<std::string_view> kSystemChoices = {"une seule solution", "aucune solution",
                                                      "une infinit\xC3\xA9 de solutions"};

std::size_t VerdictChoice(Verdict v) {
    return v == Verdict::NoSolution ? 1 : v == Verdict::Values ? 0 : 2;
}

std::vector<Surd> Roots(const QuestionResult& r) {
    std::vector<Surd> roots = ExactValuesOf(r);
    std::sort(roots.begin(), roots.end());
    roots.erase(std::unique(roots.begin(), roots.end()), roots.end());
    return roots;
}

std::vector<Surd> BlankValues(std::string_view kind, const QuestionResult& r) {
    if (kind == "2d") {
        const std::vector<Surd> roots = Roots(r);
        if (roots.empty()) return {Surd(0), Surd(0)};
        return {roots.front(), roots.back()};
    }
    const std::size_t count = kind == "syst" ? 2 : 1;
    std::vector<Surd> values = ExactValuesOf(r);
    if (r.verdict != Verdict::Values || values.size() != count) values.assign(count, Surd(0));
    return values;
}

}  // namespace equat
