// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <span>
#include <string_view>

#include "core/formats.h"

namespace equat {

// Every output, one row each: the window's save and export, the class-set dialog,
// equat-sheet and equat-rtf read this table and call its writers.
std::span<const FormatInfo> Formats();

// The row of a name; nullptr for an unknown one. Format(name) for a name of the table.
const FormatInfo* FindFormat(std::string_view name);
const FormatInfo& Format(std::string_view name);

// Makes the format's files for the output into *files (see FormatWriter); a format this
// build cannot make is refused with *error.
bool MakeFormat(const FormatInfo& format, const OutputData& output,
                const std::vector<std::string>& names, NamedFiles* files, std::string* error);

}  // namespace equat
