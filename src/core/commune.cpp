// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/commune.h"

#include <algorithm>

namespace equat {

std::string CommaToPoint(std::string s) {
    std::replace(s.begin(), s.end(), ',', '.');
    return s;
}

std::string StripTrailingZeros(std::string s) {
    if (s.find('.') == std::string::npos) return s;
    while (!s.empty() && s.back() == '0') s.pop_back();
    return s;
}

std::string StripTrailingPoint(std::string s) {
    if (!s.empty() && s.back() == '.') s.pop_back();
    return s;
}

std::string CleanDecimalText(std::string s) {
    s = StripTrailingPoint(StripTrailingZeros(CommaToPoint(std::move(s))));
    if (s == "-0") s = "0";
    return s;
}

}  // namespace equat
