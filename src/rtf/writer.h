#pragma once
#include <string>
#include <string_view>

#include "rtf/model.h"

namespace equat::rtf {

// RTF for a document, in Windows-1252 with \u for what the code page cannot hold. Text in a
// Symbol font goes back to the font's own bytes, so other editors draw the same glyphs;
// a character that font cannot draw is written in a text font instead.
std::string WriteRtf(const Document& doc);

// The text as the window holds it: paragraphs joined by eol, tabs kept, a line break
// inside a paragraph written as eol too.
std::string PlainTextUtf8(const Document& doc, std::string_view eol = "\n");

// The same in Windows-1252. A character the code page cannot hold becomes its Symbol-font
// byte when it stands in a Symbol font (as the document itself has it), '?' otherwise.
std::string PlainTextCp1252(const Document& doc, std::string_view eol = "\r\n");

// Lenient UTF-8 decoding step: the code point at pos (U+FFFD for a bad sequence), pos moved.
char32_t NextCodePoint(std::string_view utf8, std::size_t& pos);

}  // namespace equat::rtf
