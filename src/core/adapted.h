// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

namespace equat {

// The fonts an adapted copy can be set in, all packaged by Debian. The order is part of the
// sheet code: append, never reorder.
enum class AdaptedFont : std::uint8_t { Andika, OpenDyslexic, DejaVuSans };
struct AdaptedFontInfo {
    AdaptedFont font;
    std::string_view name;    // the batch tool's choice
    std::string_view family;  // the font's family name, as the RTF font table names it
    std::string_view label;   // the layout dialogs' item
};
inline constexpr AdaptedFontInfo kAdaptedFonts[] = {
    {AdaptedFont::Andika, "andika", "Andika", "Andika (lecture)"},
    {AdaptedFont::OpenDyslexic, "opendyslexic", "OpenDyslexic", "OpenDyslexic"},
    {AdaptedFont::DejaVuSans, "dejavu", "DejaVu Sans", "DejaVu Sans"},
};
inline constexpr int kAdaptedFontCount = static_cast<int>(std::size(kAdaptedFonts));
// Text sizes in points; the order is part of the sheet code.
inline constexpr int kAdaptedSizes[] = {14, 16, 18};

// A layout for pupils who need a larger, plainer, more spaced sheet: the same questions,
// numbers and results as the standard copy of the same code, in one plain font, larger,
// more spaced, an upright x and room to write after each question.
struct AdaptedLayout {
    bool on = false;
    AdaptedFont font = AdaptedFont::Andika;
    int size = 14;               // points: 14, 16 or 18
    bool doubleSpacing = false;  // lines 2 apart, else 1.5
    bool cream = false;          // a cream page in the PDF
    bool key = false;            // the answer key adapted too
    bool operator==(const AdaptedLayout&) const = default;
};

const AdaptedFontInfo& FontInfo(AdaptedFont font);
std::optional<AdaptedFont> AdaptedFontNamed(std::string_view name);

// The layout's bits among a sheet code's flags (kSheetCodeLayoutBits): none when it is
// off. LayoutOfFlags reads them back; nullopt for bits this program does not build.
std::uint32_t LayoutFlags(const AdaptedLayout& layout);
std::optional<AdaptedLayout> LayoutOfFlags(std::uint32_t flags);

// The space left to write after a question, in twips: three lines of the layout.
int WritingSpace(const AdaptedLayout& layout);

// The layout's text size and the standard one, in half-points.
inline constexpr int kStandardTextSize = 18;
inline int AdaptedTextSize(const AdaptedLayout& layout) {
    return layout.size * 2;
}

}  // namespace equat
