// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <optional>

namespace equat::rtf {

// Unicode character that the Symbol font draws for a byte. Bytes the font leaves empty
// map to U+F000 + byte, the private range that fonts of this kind use, so they round-trip.
char32_t SymbolToUnicode(unsigned char byte);

// Byte of the Symbol font that draws a character (U+F020..U+F0FF included), if any.
std::optional<unsigned char> UnicodeToSymbol(char32_t cp);

}  // namespace equat::rtf
