// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <string_view>

#include "rtf/model.h"

namespace equat::rtf {

// RTF for a document, in Windows-1252 with \u for what the code page cannot hold. A Symbol-font
// character with a Unicode code point of its own is written as that code point in a text font,
// with the Symbol font's byte as the fallback of readers without \u (our reader puts it back in
// the Symbol font); other editors then draw it without that font. Symbol bytes without a
// code point stay bytes, and a character the font cannot draw is written in a text font.
std::string WriteRtf(const Document& doc);
// A generated document as the window saves one: read and written again by our writer, so
// that other editors show its Symbol-font signs.
std::string ResavedRtf(std::string_view generated);

// The text as the window holds it: paragraphs joined by eol, tabs kept, a line break
// inside a paragraph written as eol too. A table's row is one line: its cells between tabs,
// the paragraphs of one cell joined by a space.
std::string PlainTextUtf8(const Document& doc, std::string_view eol = "\n");

// The same in Windows-1252. A character the code page cannot hold becomes its Symbol-font
// byte when it stands in a Symbol font (as the document itself has it), '?' otherwise.
std::string PlainTextCp1252(const Document& doc, std::string_view eol = "\r\n");

// Lenient UTF-8 decoding step: the code point at pos (U+FFFD for a bad sequence), pos moved.
char32_t NextCodePoint(std::string_view utf8, std::size_t& pos);

}  // namespace equat::rtf
