// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include "core/exact.h"
#include "core/sheet.h"

namespace equat {

// Whether answer keys of this style give exact values.
constexpr bool ShowsExactValues(KeyStyle style) {
    return StyleOf(style).exactValues;
}

// The decimal written after an exact value: rounded half away from zero to two decimals,
// or to two significant digits for a small non-zero value (-0.0025), and whether that is
// the value itself (1/2 = 0.5) rather than an approximation.
struct DecimalValue {
    bool exact = false;
    std::string text;
};
DecimalValue DecimalOf(const Surd& x);

}  // namespace equat
