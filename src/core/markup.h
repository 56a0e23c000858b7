// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <string_view>

namespace equat {

// The prologue every document starts with: code page 1252, French, the five fonts and
// the 17-entry colour table. It opens the document group; the final "}" closes it.
extern const std::string_view kRtfHeader;

// Translates the sheets' tag language into an RTF fragment. Ordinary characters (RTF
// syntax included) pass unchanged, control characters vanish, unknown tags vanish,
// and a NUL ends the text.
std::string MarkupToRtf(std::string_view markup);
// The same, appended to out.
void AppendMarkupRtf(std::string& out, std::string_view markup);

// Markup that shows the Windows-1252 text as typed: RTF's signs and "<" escaped, control
// characters dropped.
std::string TextAsMarkup(std::string_view text);
// A teacher's own text (title, instruction, separator) as markup: the markup's own tags act,
// every other sign shows as typed (braces, backslashes, a "<" that opens no tag), control
// characters dropped. Ordinary texts come back unchanged.
std::string TeacherMarkup(std::string_view text);

// Index 0..16 of a colour name of the colour table, or -1.
int ColourIndex(std::string_view name);

}  // namespace equat
