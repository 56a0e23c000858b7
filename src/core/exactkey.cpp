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

std::string ExactKeyMarkup(const Surd& x) {
    std::string s = ExactText(x, kRoot);
    if (!x.IsInteger()) {
        s += kApprox;
        s += FormatFixed2(x.ToDouble());
    }
    return s;
}

void AppendExactKeyRtf(std::string& out, const Surd& x) {
    // The exact text is digits, signs, brackets and spaces, which convert to themselves,
    // so only the two signs need converting, once.
    static const std::string root = MarkupToRtf(kRoot), approx = MarkupToRtf(kApprox);
    AppendExactText(out, x, root);
    if (!x.IsInteger()) {
        out += approx;
        out += FormatFixed2(x.ToDouble());
    }
}

}  // namespace equat
