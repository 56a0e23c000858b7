// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

namespace equat {

// A picture the documents embed: PNG bytes, the size it is shown at and its pixels.
struct PngPicture {
    std::string png;
    int width = 0, height = 0;  // twips
    int pixelWidth = 0, pixelHeight = 0;
    bool operator==(const PngPicture&) const = default;
};

}  // namespace equat
