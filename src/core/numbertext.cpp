// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/numbertext.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "core/commune.h"

namespace equat {

void AppendDecimal(std::string& out, std::int64_t v) {
    char buf[24];
    auto res = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, res.ptr);
}

std::string DecimalText(std::int64_t v) {
    std::string s;
    AppendDecimal(s, v);
    return s;
}

namespace {

// Adds one to a string of decimal digits.
void IncrementDigits(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

// The cleaned text of a count of hundredths: "2.5", "3", "0.05", "0" (never "-0").
std::string HundredthsText(bool negative, std::uint64_t hundredths) {
    if (hundredths == 0) return "0";
    char buf[32];
    char* p = buf;
    if (negative) *p++ = '-';
    p = std::to_chars(p, buf + sizeof buf, hundredths / 100).ptr;
    const auto cents = static_cast<unsigned>(hundredths % 100);
    if (cents != 0) {
        *p++ = '.';
        *p++ = static_cast<char>('0' + cents / 10);
        if (cents % 10 != 0) *p++ = static_cast<char>('0' + cents % 10);
    }
    return std::string(buf, p);
}

}  // namespace

std::string FormatFixed2(double x) {
    const bool negative = std::signbit(x);
    // Below a million, a value more than 1e-6 hundredths away from a half-hundredth
    // rounds the same on its 18 digits as in plain double arithmetic (whose error here is
    // under 1e-8 hundredths), so only values at or next to a half need the digits.
    if (std::fabs(x) < 1e6) {
        const double scaled = std::fabs(x) * 100.0;
        const double whole = std::floor(scaled);
        const double fraction = scaled - whole;  // exact
        if (std::fabs(fraction - 0.5) > 1e-6)
            return HundredthsText(negative,
                                  static_cast<std::uint64_t>(whole) + (fraction > 0.5 ? 1 : 0));
    }
    if (std::isnan(x)) return "NAN";
    if (std::isinf(x)) return negative ? "-INF" : "INF";
    const double a = std::fabs(x);
    if (a < 1e15 && a == std::floor(a)) {
        // Whole numbers need no rounding; the sign of a negative zero is cleaned away.
        const auto whole = static_cast<std::int64_t>(a);
        return whole == 0 ? "0" : (negative ? "-" : "") + DecimalText(whole);
    }

    // 18 significant digits: d.ddddddddddddddddde±XX, locale-independent.
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific, 17);
    std::string sci(buf, res.ptr);
    const auto ePos = sci.find('e');
    std::string digits;
    for (std::size_t k = 0; k < ePos; ++k)
        if (sci[k] != '.') digits += sci[k];
    const int exponent = std::atoi(sci.c_str() + ePos + 1);

    // a = 0.d1d2...d18 × 10^(exponent+1); the value in hundredths keeps
    // exponent + 3 of those digits before the point.
    const int kept = exponent + 3;
    std::string hundredths;
    if (kept >= static_cast<int>(digits.size())) {
        hundredths = digits + std::string(static_cast<std::size_t>(kept) - digits.size(), '0');
    } else {
        hundredths = kept > 0 ? digits.substr(0, static_cast<std::size_t>(kept)) : "0";
        const char next = kept >= 0 ? digits[static_cast<std::size_t>(kept)] : '0';
        if (next >= '5') IncrementDigits(hundredths);  // half away from zero
    }
    while (hundredths.size() < 3) hundredths.insert(hundredths.begin(), '0');
    const auto split = hundredths.size() - 2;
    std::string text =
        (negative ? "-" : "") + hundredths.substr(0, split) + "." + hundredths.substr(split);
    // Leading zeros of the integer part cannot occur beyond a single "0".
    return CleanDecimalText(std::move(text));
}

void UseDecimalComma(std::string& text, std::size_t from) {
    const auto digit = [&](std::size_t k) { return text[k] >= '0' && text[k] <= '9'; };
    for (std::size_t k = text.find('.', from + 1); k != std::string::npos && k + 1 < text.size();
         k = text.find('.', k + 1))
        if (digit(k - 1) && digit(k + 1)) text[k] = ',';
}

std::string TabTags(int n) {
    std::string s;
    for (int k = 0; k < n; ++k) s += "<tab>";
    return s;
}

}  // namespace equat
