// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <span>
#include <string_view>

#include "core/formats.h"

namespace equat {

// Every output, one row each: the window's export, the class-set dialog, equat-sheet and
// equat-rtf read this table and call its writers.
std::span<const FormatInfo> Formats();
const FormatInfo& Format(FormatId id);
// The row of a name; nullptr for an unknown one, which the caller refuses.
const FormatInfo* FindFormat(std::string_view name);

// Makes the format's files for the output into *files (see FormatWriter); a format this
// build cannot make is refused with *error.
bool MakeFormat(const FormatInfo& format, const OutputData& output,
                const std::vector<std::string>& names, NamedFiles* files, std::string* error);

}  // namespace equat
