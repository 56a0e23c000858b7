// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace equat {

// Unicode code point of a Windows-1252 byte. The five bytes the code page leaves
// undefined map to the C1 control of the same value, so every byte round-trips.
char32_t Cp1252ToUnicode(unsigned char byte);

// Windows-1252 byte of a code point, or nullopt when the code page cannot hold it.
std::optional<unsigned char> UnicodeToCp1252(char32_t cp);

std::string Cp1252ToUtf8(std::string_view bytes);

// nullopt when the text is not valid UTF-8 or holds a character outside Windows-1252.
std::optional<std::string> Utf8ToCp1252(std::string_view utf8);

// Decodes UTF-8 into code points; invalid sequences give nullopt.
std::optional<std::u32string> DecodeUtf8(std::string_view utf8);
void AppendUtf8(std::string& out, char32_t cp);
// The text with A-Z lowered, every other byte kept: file extensions and names compared
// without letter case.
std::string AsciiLower(std::string_view text);

}  // namespace equat
