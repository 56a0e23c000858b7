// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>

namespace equat {

// Decimal text of an integer: "-" for negatives, no "+", no leading zeros.
std::string DecimalText(std::int64_t v);
void AppendDecimal(std::string& out, std::int64_t v);

// A real with at most two decimals and "." as decimal point whatever the locale:
// rounded half away from zero on the value's 18 significant digits, then cleaned.
std::string FormatFixed2(double x);

// Every decimal point of text[from..] that stands between two digits becomes a decimal
// comma (0.59 gives 0,59); the texts of the sheets have no other such point.
void UseDecimalComma(std::string& text, std::size_t from = 0);

// n copies of "<tab>".
std::string TabTags(int n);

// Two's-complement 32-bit result of a computation done in 64 bits, so that sheet
// arithmetic keeps 32-bit semantics without signed overflow.
constexpr std::int32_t Wrap32(std::int64_t v) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(v)));
}

// Differences and products in 32-bit two's-complement arithmetic.
constexpr std::int32_t Sub32(std::int32_t a, std::int32_t b) {
    return Wrap32(std::int64_t{a} - b);
}
constexpr std::int32_t Mul32(std::int32_t a, std::int32_t b) {
    return Wrap32(std::int64_t{a} * b);
}

}  // namespace equat
