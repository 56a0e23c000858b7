// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Slow, obviously right two-decimal roundings for the tests to compare with.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace equat::test {

inline std::string HundredthsText(bool negative, long long hundredths) {
    if (hundredths == 0) return "0";
    std::string text = (negative ? "-" : "") + std::to_string(hundredths / 100);
    if (hundredths % 100 != 0) {
        text += "." + std::to_string(hundredths % 100 / 10);
        if (hundredths % 10 != 0) text += std::to_string(hundredths % 10);
    }
    return text;
}

// Two-decimal text of x rounded half away from zero on its 18 significant digits, from
// the C library's own decimal conversion.
inline std::string ReferenceFixed2(double x) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17e", std::fabs(x));
    std::string digits;
    const char* p = buf;
    for (; *p != 'e'; ++p)
        if (*p != '.') digits += *p;
    const int exponent = std::atoi(p + 1);
    // |x| = 0.digits × 10^(exponent + 1); keep exponent + 3 digits as hundredths.
    const int kept = exponent + 3;
    long long hundredths = 0;
    for (int k = 0; k < kept && k < 18; ++k) hundredths = hundredths * 10 + (digits[k] - '0');
    for (int k = 18; k < kept; ++k) hundredths *= 10;
    if (kept >= 0 && kept < 18 && digits[static_cast<std::size_t>(kept)] >= '5') ++hundredths;
    return HundredthsText(std::signbit(x), hundredths);
}

// The two-decimal text of n / d rounded half away from zero, in integers.
inline std::string ReferenceFixed2(long long n, long long d) {
    const long long an = n < 0 ? -n : n, ad = d < 0 ? -d : d;
    return HundredthsText((n < 0) != (d < 0), (200 * an + ad) / (2 * ad));
}

}  // namespace equat::test
