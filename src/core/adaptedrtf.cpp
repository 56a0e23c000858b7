// SPDX-License-Identifier: GPL-3.0-or-later
// The adapted layout as RTF: the prologue with the layout's font and spacing, and the bodies'
// sizes scaled.
#include "core/adaptedrtf.h"

#include <algorithm>

#include "core/markup.h"
#include "core/numbertext.h"

namespace equat {

namespace {

// The x and y of the standard documents, in Times at 13 points beside 9-point Arial.
constexpr int kStandardUnknownSize = 26;

// The layout's line spacing, which a paragraph's reset (\pard) takes away.
std::string_view LineSpacingRtf(const AdaptedLayout& layout) {
    return layout.doubleSpacing ? "\\sl480\\slmult1 " : "\\sl360\\slmult1 ";
}

}  // namespace

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
    header += LineSpacingRtf(layout);
    return header;
}

int AdaptedSize(int size, const AdaptedLayout& layout) {
    const int text = AdaptedTextSize(layout);
    return size == kStandardUnknownSize ? text
                                        : (size * text + kStandardTextSize / 2) / kStandardTextSize;
}

void AdaptRtf(std::string& rtf, std::size_t from, const AdaptedLayout& layout) {
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
        if (word == "pard") {       // a table's paragraphs and the one after it keep the spacing
            out.append(rtf, run, k - run);
            if (!space) out += ' ';
            out += LineSpacingRtf(layout);
            continue;
        }
        if (word == "fs" && !param.empty() && param.front() != '-' && param.size() < 5) {
            out += "\\fs";
            AppendDecimal(out, AdaptedSize(std::stoi(std::string(param)), layout));
            if (space) out += ' ';
            continue;
        }
        out.append(rtf, run, k - run);
    }
    rtf.resize(from);
    rtf += out;
}

}  // namespace equat
