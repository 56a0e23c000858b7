// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace equat {

// A zip archive of these parts (name, bytes), made in memory: the first part stored, as a
// package's media type must be, the others deflated; every time stamp fixed, so that one
// document always gives the same bytes. False, with a French reason, if a part cannot be
// held (over 4 GB) or zlib fails.
bool ZipArchive(const std::vector<std::pair<std::string, std::string>>& parts, std::string* bytes,
                std::string* error);

}  // namespace equat
