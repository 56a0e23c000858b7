// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/kinds.h"

#include <algorithm>

#include "core/equat1d.h"
#include "core/equat2d.h"
#include "core/ineq.h"
#include "core/ineq2.h"
#include "core/product.h"
#include "core/quotient.h"
#include "core/signs.h"
#include "core/square.h"
#include "core/syst.h"

namespace equat {

std::unique_ptr<QuestionKind> MakeFirstDegreeKind() {
    return std::make_unique<FirstDegreeKind>();
}
std::unique_ptr<QuestionKind> MakeSecondDegreeKind() {
    return std::make_unique<SecondDegreeKind>();
}
std::unique_ptr<QuestionKind> MakeSystemKind() {
    return std::make_unique<SystemKind>();
}
std::unique_ptr<QuestionKind> MakeSquareKind() {
    return std::make_unique<SquareKind>();
}
std::unique_ptr<QuestionKind> MakeProductKind() {
    return std::make_unique<ProductKind>();
}
std::unique_ptr<QuestionKind> MakeQuotientKind() {
    return std::make_unique<QuotientKind>();
}
std::unique_ptr<QuestionKind> MakeInequationKind() {
    return std::make_unique<InequationKind>();
}
std::unique_ptr<QuestionKind> MakeQuadraticInequationKind() {
    return std::make_unique<QuadraticInequationKind>();
}
std::unique_ptr<QuestionKind> MakeSignsKind() {
    return std::make_unique<SignsKind>();
}

int KindIndex(std::string_view name) {
    for (int k = 0; k < kKindCount; ++k)
        if (kSheetKinds[k].name == name) return k;
    return -1;
}

std::unique_ptr<QuestionKind> MakeKind(std::string_view name) {
    const int k = KindIndex(name);
    return k < 0 ? nullptr : kSheetKinds[k].make();
}

std::vector<const KindInfo*> KindsInWindowOrder() {
    std::vector<const KindInfo*> kinds;
    for (const auto& k : kSheetKinds) kinds.push_back(&k);
    std::ranges::sort(kinds, {}, &KindInfo::place);
    return kinds;
}

std::vector<std::string_view> KindNames() {
    std::vector<std::string_view> names;
    for (const auto& k : kSheetKinds) names.push_back(k.name);
    return names;
}

}  // namespace equat
