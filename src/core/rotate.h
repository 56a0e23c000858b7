// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <string_view>

namespace equat {

// Bit rotation within 8 bits: n < 0 rotates left, n > 0 right, by |n| mod 8.
unsigned char RotateChar(unsigned char c, int n);

// Rotates each character by an amount taken from the key; invert = true scrambles,
// invert = false restores.
std::string RotateText(std::string_view text, std::string_view key, bool invert);
std::string RevealText(std::string_view text, std::string_view key);

}  // namespace equat
