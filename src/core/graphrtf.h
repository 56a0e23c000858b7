// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include "core/picture.h"

namespace equat {

// {\pict\pngblip ...}: the picture as RTF, its PNG bytes in hexadecimal, shown at its size.
void AppendPictureRtf(std::string& out, const PngPicture& picture);

}  // namespace equat
