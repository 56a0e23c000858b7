// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <iterator>
#include <memory>
#include <string_view>
#include <vector>

#include "core/sheet.h"

namespace equat {

std::unique_ptr<QuestionKind> MakeFirstDegreeKind();
std::unique_ptr<QuestionKind> MakeSecondDegreeKind();
std::unique_ptr<QuestionKind> MakeSystemKind();
std::unique_ptr<QuestionKind> MakeSquareKind();
std::unique_ptr<QuestionKind> MakeProductKind();
std::unique_ptr<QuestionKind> MakeQuotientKind();
std::unique_ptr<QuestionKind> MakeInequationKind();
std::unique_ptr<QuestionKind> MakeQuadraticInequationKind();
std::unique_ptr<QuestionKind> MakeSignsKind();

// The sheet kinds, declared once. The order is the sheet code's: never reorder, only
// append. Texts are Windows-1252.
struct KindInfo {
    std::string_view name;     // the short name of the batch tool and of the class sets
    std::string_view caption;  // the window's button and the dialogs' list item
    std::string_view title;    // what a teacher reads it filed under (a bank's category)
    int place;                 // left to right among the window's buttons; the dialogs' order
    // Its cases in the order the teacher reads them: the words follow the kind's own
    // vocabulary, the bits their meaning, shared by the kinds, so that one choice of cases
    // serves every kind of a mixed sheet.
    std::array<CaseInfo, kCaseCount> cases;
    std::unique_ptr<QuestionKind> (*make)();
    ToolHelp help{};  // what the batch tool's help and manual pages say it is
};
inline constexpr KindInfo kSheetKinds[] = {
    {"1d",
     "Equat 1d",
     "1er degr\xE9",
     0,
     {{{0, "one", "Une solution"},
       {1, "none", "Aucune solution"},
       {2, "all",
        "Tout r\xE9"
        "el est solution"}}},
     &MakeFirstDegreeKind,
     {"first-degree equations", "\xE9quations du premier degr\xE9"}},
    {"2d",
     "Equat 2d",
     "2nd degr\xE9",
     2,
     {{{0, "two", "Deux racines"},
       {2, "double", "Une racine double"},
       {1, "none",
        "Aucune racine r\xE9"
        "elle"}}},
     &MakeSecondDegreeKind,
     {"second-degree equations", "\xE9quations du second degr\xE9"}},
    {"syst",
     "Syst",
     "Syst\xE8mes",
     1,
     {{{0, "one", "Une solution"},
       {1, "none", "Aucune solution"},
       {2, "infinite", "Une infinit\xE9 de solutions"}}},
     &MakeSystemKind,
     {"systems of two linear equations",
      "syst\xE8mes de deux \xE9quations lin\xE9"
      "aires"}},
    {"square",
     "Carr\xE9s",
     "\xC9quations carr\xE9"
     "es",
     3,
     {{{0, "two", "Deux solutions"},
       {1, "none", "Aucune solution (carr\xE9 n\xE9gatif)"},
       {2, "one", "Une seule solution (carr\xE9 nul)"}}},
     &MakeSquareKind,
     {"square equations: x^2 = a, (x + b)^2 = a",
      "\xE9quations carr\xE9"
      "es : x\xB2 = a, (x + b)\xB2 = a"}},
    {"product",
     "Produits",
     "Produits nuls",
     4,
     {{{0, "two", "Deux solutions"},
       {1, "none", "Aucune solution", false},
       {2, "double", "Une seule solution (facteurs proportionnels)"}}},
     &MakeProductKind,
     {"products equal to zero: (ax + b)(cx + d) = 0", "produits nuls : (ax + b)(cx + d) = 0"}},
    {"quotient",
     "Quotients",
     "\xC9quations quotients",
     5,
     {{{0, "one", "Une solution"},
       {1, "none", "Aucune solution"},
       {2, "all",
        "Tout r\xE9"
        "el sauf la valeur interdite"}}},
     &MakeQuotientKind,
     {"quotients equal to a number, with the forbidden value: (ax + b)/(cx + d) = k",
      "quotients \xE9gaux \xE0 un nombre, avec la valeur interdite : (ax + b)/(cx + d) = k"}},
    {"ineq",
     "In\xE9quations",
     "In\xE9quations du 1er degr\xE9",
     6,
     {{{0, "half-line", "Une demi-droite"},
       {1, "none", "Aucune solution"},
       {2, "all",
        "Tout r\xE9"
        "el est solution"}}},
     &MakeInequationKind,
     {"first-degree inequations", "in\xE9quations du premier degr\xE9"}},
    {"signs",
     "Signes",
     "In\xE9quations produits et quotients",
     7,
     {{{0, "bounded", "Un intervalle born\xE9"},
       {1, "none", "Aucune solution"},
       {2, "unbounded", "Deux intervalles non born\xE9s"}}},
     &MakeSignsKind,
     {"product and quotient inequations, with a sign table",
      "in\xE9quations produits et quotients, par un tableau de signes"}},
    {"ineq2",
     "In\xE9q. 2nd degr\xE9",
     "In\xE9quations du 2nd degr\xE9",
     8,
     {{{0, "two", "Deux racines (entre ou hors des racines)"},
       {1, "none", "Aucune solution"},
       {2, "special",
        "Tout r\xE9"
        "el, tous sauf un, ou un seul"}}},
     &MakeQuadraticInequationKind,
     {"second-degree inequations", "in\xE9quations du second degr\xE9"}},
};
inline constexpr int kKindCount = static_cast<int>(std::size(kSheetKinds));

// The kinds in the order of the window's buttons, as the dialogs list them.
std::vector<const KindInfo*> KindsInWindowOrder();

// The kind of a short name; nullptr for an unknown one.
std::unique_ptr<QuestionKind> MakeKind(std::string_view name);
// The questions of a sheet of kind `name` drawn under `choices`: the kind itself when they
// are the default, else its questions spread over the choices' kinds and levels, each drawn
// again until it is of a picked case with solutions of the asked kind. Check the choices
// with DrawChoicesError first.
std::unique_ptr<QuestionKind> MakeSheetKind(std::string_view name, const DrawChoices& choices);
std::vector<std::string_view> KindNames();
// The position of a kind in kSheetKinds, -1 for an unknown name.
int KindIndex(std::string_view name);

}  // namespace equat
