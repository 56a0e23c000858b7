// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/drawchoices.h"

#include <bit>
#include <stdexcept>
#include <string>

#include "core/kinds.h"
#include "core/sheet.h"

namespace equat {

namespace {

// The draw bits of a sheet code, from bit 1: the cases (3), every case (1), the solutions
// (2), progressive (1), the first three kinds of a mix (3), interleaved (1); the next 13
// kinds of a mix from bit 37.
constexpr int kCasesShift = 1, kEveryCaseBit = 4, kSolutionsShift = 5, kProgressiveBit = 7,
              kMixedShift = 8, kInterleavedBit = 11, kMoreMixedShift = 37;

int KindsIn(const DrawChoices& c, int kind) {
    return c.IsMixed() ? std::popcount(c.mixedKinds) : (kind >= 0 ? 1 : 0);
}

// A kind that gives none of the picked cases: the first of them it never gives.
std::string NeverGivenError(int kind, unsigned picked) {
    for (const CaseInfo& c : kSheetKinds[kind].cases)
        if (!c.possible && ((picked >> c.bit) & 1u))
            return "Le type \xAB " + std::string(kSheetKinds[kind].caption) +
                   " \xBB ne donne jamais le cas \xAB " + std::string(c.label) +
                   " \xBB : choisissez un autre cas.";
    return {};
}

}  // namespace

bool DrawChoices::IsMixed() const {
    return std::popcount(mixedKinds) >= 2;
}

const std::array<CaseInfo, kCaseCount>& KindCases(int kind) {
    if (kind < 0 || kind >= kKindCount) throw std::out_of_range("KindCases: no such kind");
    return kSheetKinds[kind].cases;
}

unsigned KindPickedCases(const DrawChoices& choices, int kind) {
    unsigned picked = choices.PickedCases();
    for (const CaseInfo& c : KindCases(kind))
        if (!c.possible) picked &= ~(1u << c.bit);
    return picked;
}

int CaseOf(const QuestionResult& result) {
    if (result.caseBit) return *result.caseBit;
    switch (result.verdict) {
        case Verdict::NoSolution:
        case Verdict::NoRealRoot:
            return 1;
        case Verdict::EveryReal:
        case Verdict::Indeterminate:
            return 2;
        case Verdict::Values:
            break;
    }
    const auto& v = result.values;
    const bool twice = result.discriminant && v.size() == 2 && v[0].exact == v[1].exact;
    return twice ? 2 : 0;
}

bool SolutionsAre(const QuestionResult& result, Solutions solutions) {
    for (const auto& v : result.values) {
        if (!v.exact) continue;
        if (solutions == Solutions::Integer && !v.exact->IsInteger()) return false;
        if (solutions == Solutions::Fraction && !v.exact->IsRational()) return false;
    }
    return true;
}

std::optional<std::string> DrawChoicesError(const DrawChoices& c, int kind, int count) {
    if ((c.cases & ~kAllCases) != 0 || static_cast<int>(c.solutions) > 2 ||
        (c.mixedKinds >> kKindCount) != 0 || kind < 0 || kind >= kKindCount)
        return "Ces choix de tirage ne sont pas ceux d'Equat.";
    if (c.mixedKinds != 0 && !c.IsMixed())
        return "Une feuille m\xEAl\xE9"
               "e demande au moins deux types d'\xE9quations.";
    if (c.IsMixed() && (c.mixedKinds & (1u << kind)) == 0)
        return "Le type de la feuille doit faire partie du m\xE9lange.";
    const int kinds = KindsIn(c, kind);
    if (count < kinds)
        return "Une feuille m\xEAl\xE9"
               "e de " +
               std::to_string(kinds) + " types demande au moins " + std::to_string(kinds) +
               " questions.";
    for (int k = 0; k < kKindCount; ++k)
        if ((k == kind || ((c.mixedKinds >> k) & 1u)) && KindPickedCases(c, k) == 0)
            return NeverGivenError(k, c.PickedCases());
    // Every level of every kind draws every case it can give with every kind of solutions (see
    // the kinds' DrawToward), so only the room for each picked case can be missing.
    const int picked = std::popcount(c.PickedCases());
    if (c.everyCase && count / kinds < picked)
        return "Pour que chacun des " + std::to_string(picked) +
               " cas choisis paraisse au moins une fois, il faut au moins " +
               std::to_string(picked * kinds) + " questions ; la feuille en a " +
               std::to_string(count) + ".";
    return std::nullopt;
}

DrawChoices WithKind(DrawChoices c, int kind) {
    if (c.mixedKinds != 0 && kind >= 0 && kind < kKindCount) c.mixedKinds |= 1u << kind;
    if (!c.IsMixed()) {
        c.mixedKinds = 0;
        c.interleaved = false;
    }
    return c;
}

std::uint64_t DrawChoicesFlags(const DrawChoices& c) {
    std::uint64_t f = (c.cases & kAllCases) << kCasesShift;
    if (c.everyCase) f |= 1u << kEveryCaseBit;
    f |= static_cast<std::uint32_t>(c.solutions) << kSolutionsShift;
    if (c.progressive) f |= 1u << kProgressiveBit;
    if (c.IsMixed())
        f |= (c.mixedKinds & 7u) << kMixedShift | std::uint64_t{(c.mixedKinds >> 3) & 0x1FFFu}
                                                      << kMoreMixedShift;
    if (c.IsMixed() && c.interleaved) f |= 1u << kInterleavedBit;
    return f;
}

std::optional<DrawChoices> DrawChoicesFromFlags(std::uint64_t f) {
    DrawChoices c;
    c.cases = static_cast<unsigned>(f >> kCasesShift) & kAllCases;
    c.everyCase = ((f >> kEveryCaseBit) & 1u) != 0;
    const auto solutions = (f >> kSolutionsShift) & 3u;
    c.progressive = ((f >> kProgressiveBit) & 1u) != 0;
    c.mixedKinds = static_cast<unsigned>((f >> kMixedShift) & 7u) |
                   static_cast<unsigned>((f >> kMoreMixedShift) & 0x1FFFu) << 3;
    c.interleaved = ((f >> kInterleavedBit) & 1u) != 0;
    if (solutions > 2 || (c.mixedKinds != 0 && !c.IsMixed()) || (c.interleaved && !c.IsMixed()))
        return std::nullopt;
    c.solutions = static_cast<Solutions>(solutions);
    return c;
}

}  // namespace equat
