// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace equat {

// RTF documents laid out as printing lays them out, on the page of the named printer or, with
// no name, on A4 (see DefaultPageLayout). A Qt application without a display is made on first
// use. Each returns false and sets *error on failure; files are replaced atomically.
bool RtfToPdf(std::string_view rtf, const std::string& path, const std::string& printer,
              const std::string& title, std::string* error);
bool RtfToPng(std::string_view rtf, const std::string& path, const std::string& printer,
              std::vector<std::string>* written, std::string* error);

}  // namespace equat
