// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <vector>

#include "core/formats.h"

namespace equat {

// The writers that lay the documents out as printing does (A4), built with the Qt layers
// only; a Qt application must exist. A class set's PDF pair holds every subject in the
// order drawn and every key in key order, each on new pages.
bool WritePdf(const OutputData& output, const std::vector<std::string>& names, NamedFiles* files,
              std::string* error);
// The answer grid of the copies in key order.
bool WriteGrid(const OutputData& output, const std::vector<std::string>& names, NamedFiles* files,
               std::string* error);

}  // namespace equat
