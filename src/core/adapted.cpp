// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/adapted.h"

#include <algorithm>

#include "core/numbertext.h"
#include "core/sheetcode.h"

namespace equat {

namespace {

// The layout's bits, from the lowest of kSheetCodeLayoutBits: on, font (2), size (2),
// double spacing, cream page, key adapted.
constexpr int kShift = 12;
constexpr std::uint32_t kOn = 1u << kShift;
constexpr int kFontShift = kShift + 1;
constexpr int kSizeShift = kShift + 3;
constexpr std::uint32_t kDouble = 1u << (kShift + 5);
constexpr std::uint32_t kCream = 1u << (kShift + 6);
constexpr std::uint32_t kKey = 1u << (kShift + 7);
static_assert(((0xFFu << kShift) & ~kSheetCodeLayoutBits) == 0);

int SizeIndex(int size) {
    for (int k = 0; k < static_cast<int>(std::size(kAdaptedSizes)); ++k)
        if (kAdaptedSizes[k] == size) return k;
    return 0;
}

}  // namespace

const AdaptedFontInfo& FontInfo(AdaptedFont font) {
    for (const auto& f : kAdaptedFonts)
        if (f.font == font) return f;
    return kAdaptedFonts[0];
}

std::optional<AdaptedFont> AdaptedFontNamed(std::string_view name) {
    for (const auto& f : kAdaptedFonts)
        if (f.name == name) return f.font;
    return std::nullopt;
}

std::uint32_t LayoutFlags(const AdaptedLayout& layout) {
    if (!layout.on) return 0;
    std::uint32_t flags = kOn;
    flags |= static_cast<std::uint32_t>(layout.font) << kFontShift;
    flags |= static_cast<std::uint32_t>(SizeIndex(layout.size)) << kSizeShift;
    if (layout.doubleSpacing) flags |= kDouble;
    if (layout.cream) flags |= kCream;
    if (layout.key) flags |= kKey;
    return flags;
}

std::optional<AdaptedLayout> LayoutOfFlags(std::uint32_t flags) {
    flags &= kSheetCodeLayoutBits;
    AdaptedLayout layout;
    if (flags == 0) return layout;
    const auto font = static_cast<int>((flags >> kFontShift) & 3);
    const auto size = static_cast<int>((flags >> kSizeShift) & 3);
    if (!(flags & kOn) || font >= kAdaptedFontCount ||
        size >= static_cast<int>(std::size(kAdaptedSizes)))
        return std::nullopt;
    layout.on = true;
    layout.font = static_cast<AdaptedFont>(font);
    layout.size = kAdaptedSizes[size];
    layout.doubleSpacing = (flags & kDouble) != 0;
    layout.cream = (flags & kCream) != 0;
    layout.key = (flags & kKey) != 0;
    return layout;
}

int WritingSpace(const AdaptedLayout& layout) {
    // Twenty twips a point; a line is the text's size times the spacing.
    return 3 * layout.size * 20 * (layout.doubleSpacing ? 4 : 3) / 2;
}

}  // namespace equat
