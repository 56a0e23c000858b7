// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace equat {

struct QuestionResult;

// What a sheet asks, beyond its kind and level. The default is the kinds' own draw.
enum class Solutions : std::uint8_t { Any, Fraction, Integer };

// The cases of every kind, by meaning: the usual one (one solution, two roots), none (no
// solution, no real root) and the special one (every real, a double root, infinitely many).
inline constexpr int kCaseCount = 3;
inline constexpr unsigned kAllCases = (1u << kCaseCount) - 1;

struct DrawChoices {
    unsigned cases = 0;  // bits 1 << case; 0: whatever the kind draws
    bool everyCase = false;
    Solutions solutions = Solutions::Any;
    bool progressive = false;  // levels 1, 2, 3 by thirds
    unsigned mixedKinds = 0;   // bits 1 << index in kSheetKinds; two or more: a mixed sheet
    bool interleaved = false;  // mixed: kinds taken in turn rather than in blocks
    bool operator==(const DrawChoices&) const = default;
    bool IsDefault() const { return *this == DrawChoices{}; }
    // The cases a question may be of.
    unsigned PickedCases() const { return cases == 0 ? kAllCases : cases; }
    bool IsMixed() const;
};

// The batch tool's words and the window's labels (Windows-1252) of one case of one kind.
struct CaseInfo {
    int bit;
    std::string_view word;
    std::string_view label;
    // False for a case the kind can never give (a product of first-degree factors is always
    // zero somewhere): refused alone, left out of the cases a question of it may be of.
    bool possible = true;
};
// The cases of kind k (index in kSheetKinds), in the order the teacher reads them.
const std::array<CaseInfo, kCaseCount>& KindCases(int kind);

struct SolutionsInfo {
    Solutions value;
    std::string_view word;
    std::string_view label;
};
inline constexpr SolutionsInfo kSolutions[] = {
    {Solutions::Any, "any", "Quelconques (radicaux compris)"},
    {Solutions::Fraction, "fraction", "Entiers ou fractions"},
    {Solutions::Integer, "integer", "Entiers seulement"},
};

// The picked cases a question of kind k may be of: those of `choices` the kind can give.
unsigned KindPickedCases(const DrawChoices& choices, int kind);

// The case of a question from its result, and whether its values are of the asked kind.
int CaseOf(const QuestionResult& result);
bool SolutionsAre(const QuestionResult& result, Solutions solutions);

// What the sheet may be refused for, before anything is drawn: nullopt when the choices can
// be drawn for a sheet of `count` questions of kind `kind` (the first of a mixed sheet), else
// the reason, French, Windows-1252.
std::optional<std::string> DrawChoicesError(const DrawChoices& choices, int kind, int count);

// The choices for a sheet of kind `kind` drawn from a window's stored choices: a mix takes
// the kind in, a "mix" of one kind is none.
DrawChoices WithKind(DrawChoices choices, int kind);

// The choices in the sheet code's draw bits (kSheetCodeDrawBits, and kSheetCodeMoreKindBits
// for the kinds of a mix beyond the first three) and back; nullopt for bits this program does
// not write.
std::uint64_t DrawChoicesFlags(const DrawChoices& choices);
std::optional<DrawChoices> DrawChoicesFromFlags(std::uint64_t flags);

}  // namespace equat
