// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exactkey.h"

#include "core/numbertext.h"

namespace equat {

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

}  // namespace equat
