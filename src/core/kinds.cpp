// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/kinds.h"

#include <functional>
#include <utility>

#include "core/equat1d.h"
#include "core/equat2d.h"
#include "core/syst.h"

namespace equat {

namespace {

using Factory = std::unique_ptr<QuestionKind> (*)();

template <class Kind>
std::unique_ptr<QuestionKind> Make() {
    return std::make_unique<Kind>();
}

constexpr std::pair<std::string_view, Factory> kKinds[] = {
    {"1d", &Make<FirstDegreeKind>},
    {"2d", &Make<SecondDegreeKind>},
    {"syst", &Make<SystemKind>},
};

}  // namespace

std::unique_ptr<QuestionKind> MakeKind(std::string_view name) {
    for (const auto& [n, make] : kKinds)
        if (n == name) return make();
    return nullptr;
}

std::vector<std::string_view> KindNames() {
    std::vector<std::string_view> names;
    for (const auto& k : kKinds) names.push_back(k.first);
    return names;
}

}  // namespace equat
