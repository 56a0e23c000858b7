// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/adapted.h"

#include <algorithm>

#include "core/markup.h"
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

// The x and y of the standard documents, in Times at 13 points beside 9-point Arial.
constexpr int kStandardUnknownSize = 26;

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

std::string AdaptedRtfHeader(const AdaptedLayout& layout) {
    const std::string family(FontInfo(layout.font).family);
    std::string header(kRtfHeader);
    // Arial (twice) and Times New Roman become the layout's font; Courier and Symbol stay.
    const auto replace = [&](std::string_view from, std::string_view to) {
        for (auto at = header.find(from); at != std::string::npos;
             at = header.find(from, at + to.size()))
            header.replace(at, from.size(), to);
    };
    replace("\\froman\\fprq2\\fcharset0 Times New Roman;", "\\fswiss\\fprq2\\fcharset0 Arial;");
    replace(" Arial;", " " + family + ";");
    header += layout.doubleSpacing ? "\\sl480\\slmult1 " : "\\sl360\\slmult1 ";
    return header;
}

void AdaptRtf(std::string& rtf, std::size_t from, const AdaptedLayout& layout) {
    const int text = AdaptedTextSize(layout);
    std::string out;
    out.reserve((rtf.size() - from) * 9 / 8);
    std::size_t k = from;
    while (k < rtf.size()) {
        const std::size_t run = rtf.find('\\', k);
        out.append(rtf, k, (run == std::string::npos ? rtf.size() : run) - k);
        if (run == std::string::npos) break;
        k = run + 1;
        std::size_t letters = k;
        while (letters < rtf.size() && rtf[letters] >= 'a' && rtf[letters] <= 'z') ++letters;
        if (letters == k) {  // a control symbol: \\ \{ \} or \'hh, copied as it is
            const std::size_t len = k < rtf.size() && rtf[k] == '\'' ? 3 : 1;
            out.append(rtf, run, std::min(len + 1, rtf.size() - run));
            k = run + 1 + len;
            continue;
        }
        const std::string_view word(rtf.data() + k, letters - k);
        std::size_t end = letters;
        if (end < rtf.size() && rtf[end] == '-') ++end;
        while (end < rtf.size() && rtf[end] >= '0' && rtf[end] <= '9') ++end;
        const std::string_view param(rtf.data() + letters, end - letters);
        const bool space = end < rtf.size() && rtf[end] == ' ';
        k = end + (space ? 1 : 0);
        if (word == "i") continue;  // no italics: an upright x
        if (word == "fs" && !param.empty() && param.front() != '-' && param.size() < 5) {
            const int size = std::stoi(std::string(param));
            const int scaled = size == kStandardUnknownSize
                                   ? text
                                   : (size * text + kStandardTextSize / 2) / kStandardTextSize;
            out += "\\fs";
            AppendDecimal(out, scaled);
            if (space) out += ' ';
            continue;
        }
        out.append(rtf, run, k - run);
    }
    rtf.resize(from);
    rtf += out;
}

int WritingSpace(const AdaptedLayout& layout) {
    // Twenty twips a point; a line is the text's size times the spacing.
    return 3 * layout.size * 20 * (layout.doubleSpacing ? 4 : 3) / 2;
}

}  // namespace equat
