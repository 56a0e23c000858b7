// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/keymarkup.h"

#include "core/exactkey.h"
#include "core/markup.h"

namespace equat {

namespace {

// The Symbol font's almost-equal sign.
constexpr std::string_view kApprox = " <symbol>\xBB<arial> ";

// One writer for the markup and the RTF: the signs come in the one or the other. The exact
// text is digits, signs, brackets and spaces, which convert to themselves.
void AppendExactKey(std::string& out, const Surd& x, std::string_view root,
                    std::string_view approx) {
    AppendExactText(out, x, root);
    if (!x.IsInteger()) {
        const DecimalValue v = DecimalOf(x);
        out += v.exact ? " = " : approx;
        out += v.text;
    }
}

}  // namespace

std::string ExactKeyMarkup(const Surd& x) {
    std::string s;
    AppendExactKey(s, x, kRootMarkup, kApprox);
    return s;
}

void AppendExactKeyRtf(std::string& out, const Surd& x) {
    static const std::string root = MarkupToRtf(kRootMarkup), approx = MarkupToRtf(kApprox);
    AppendExactKey(out, x, root, approx);
}

}  // namespace equat
