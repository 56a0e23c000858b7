// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

namespace equat {

// Decimal-text cleanup shared by every number the sheets show.
std::string CommaToPoint(std::string s);
std::string StripTrailingZeros(std::string s);  // only when the text holds a "."
std::string StripTrailingPoint(std::string s);
// The three steps in order, then "-0" becomes "0".
std::string CleanDecimalText(std::string s);

}  // namespace equat
