// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include "core/exact.h"
#include "core/sheet.h"

namespace equat {

// Whether answer keys of this style give exact values (the detailed style builds on them).
constexpr bool ShowsExactValues(KeyStyle style) {
    return style != KeyStyle::Decimal;
}

// The markup of one exact value in an answer key, set in the key's Arial: the exact text
// with the Symbol font's radical sign, and for a non-integer value " ≈ " (the Symbol
// font's sign) followed by the two-decimal text of the same value.
std::string ExactKeyMarkup(const Surd& x);
// The same, converted to RTF and appended.
void AppendExactKeyRtf(std::string& out, const Surd& x);

}  // namespace equat
