// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exactkey.h"

#include "core/markup.h"
#include "core/numbertext.h"

namespace equat {

namespace {

// Symbol-font characters 0xD6 (radical sign) and 0xBB (almost equal to).
constexpr std::string_view kRoot = "<symbol>\xD6<arial>";
constexpr std::string_view kApprox = " <symbol>\xBB<arial> ";

}  // namespace

DecimalValue DecimalOf(const Surd& x) {
    int decimals = 2;
    // A small non-zero value gets two significant digits rather than read 0.
    if (x.Sign() != 0 && RoundedText(x, 2) == "0") {
        const Surd size = x.Sign() < 0 ? -x : x;
        Rational scaled = 100;
        while (decimals < 15 && size * Surd(scaled) < Surd(10)) {
            scaled = scaled * 10;
            ++decimals;
        }
    }
    return {HasAtMostDecimals(x, decimals), RoundedText(x, decimals)};
}

std::string ExactKeyMarkup(const Surd& x) {
    std::string s = ExactText(x, kRoot);
    if (!x.IsInteger()) {
        const DecimalValue v = DecimalOf(x);
        s += v.exact ? " = " : kApprox;
        s += v.text;
    }
    return s;
}

void AppendExactKeyRtf(std::string& out, const Surd& x) {
    // The exact text is digits, signs, brackets and spaces, which convert to themselves,
    // so only the two signs need converting, once.
    static const std::string root = MarkupToRtf(kRoot), approx = MarkupToRtf(kApprox);
    AppendExactText(out, x, root);
    if (!x.IsInteger()) {
        const DecimalValue v = DecimalOf(x);
        out += v.exact ? " = " : approx;
        out += v.text;
    }
}

}  // namespace equat
