// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/graphrtf.h"

#include "core/numbertext.h"

namespace equat {

void AppendPictureRtf(std::string& out, const PngPicture& picture) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += "{\\pict\\pngblip\\picw";
    AppendDecimal(out, picture.pixelWidth);
    out += "\\pich";
    AppendDecimal(out, picture.pixelHeight);
    out += "\\picwgoal";
    AppendDecimal(out, picture.width);
    out += "\\pichgoal";
    AppendDecimal(out, picture.height);
    out += '\n';
    out.reserve(out.size() + picture.png.size() * 2 + picture.png.size() / 64 + 2);
    for (std::size_t k = 0; k < picture.png.size(); ++k) {
        const auto b = static_cast<unsigned char>(picture.png[k]);
        out += kHex[b >> 4];
        out += kHex[b & 15];
        if (k % 64 == 63) out += '\n';  // lines of 128 digits, as word processors write them
    }
    out += '}';
}

}  // namespace equat
