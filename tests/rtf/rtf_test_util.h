// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/kinds.h"
#include "core/random.h"
#include "core/sheet.h"
#include "rtf/model.h"

namespace equat::rtf::test {

inline std::string ReadDataFile(const std::string& name) {
    std::ifstream in(std::string(EQUAT_TEST_DATA) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Generated {
    std::string name;  // kind, level, subject or key, style: "1d_N2_Cor", "2d_N1_Cor_exact"
    std::string rtf;
    KeyStyle style = KeyStyle::Decimal;
};

// Both documents of a full sheet for every kind and level the core offers. A style other
// than the decimal one names its documents with suffix.
inline std::vector<Generated> GeneratedDocuments(int count = 40, std::uint32_t seed = 4242,
                                                 KeyStyle style = KeyStyle::Decimal,
                                                 const std::string& suffix = "") {
    std::vector<Generated> docs;
    for (std::string_view kindName : KindNames()) {
        for (int level = 1; level <= 3; ++level) {
            auto kind = MakeKind(kindName);
            RandomSource rng(seed + static_cast<std::uint32_t>(level));
            SheetSettings settings;
            settings.level = level;
            settings.count = count;
            settings.keyStyle = style;
            Sheet sheet = BuildSheet(*kind, rng, settings);
            const std::string base = std::string(kindName) + "_N" + std::to_string(level);
            docs.push_back({base + suffix, std::move(sheet.subject), style});
            docs.push_back({base + "_Cor" + suffix, std::move(sheet.answerKey), style});
        }
    }
    return docs;
}

// A paragraph, a table of 3 rows of 5 cells reading "r0c0" ... "r2c4" (columns 900 twips
// wide, the first 1400), and a paragraph after it.
// A solution set of every shape the keys write: a half-line closed at 3/2, a bounded interval, a
// union, the empty set, the reals less 2, then the given values.
inline std::vector<SolutionSet> SampleSets(std::vector<Surd> values) {
    using Shape = SolutionSet::Shape;
    const Surd half(Rational(3, 2)), low(Rational(-1, 2));
    return {
        {.shape = Shape::Intervals, .intervals = {{std::nullopt, half, false, true}}},
        {.shape = Shape::Intervals, .intervals = {{low, Surd(4), true, false}}},
        {.shape = Shape::Intervals,
         .intervals = {{std::nullopt, Surd(-3), false, false},
                       {Surd(1), std::nullopt, true, false}}},
        {.shape = Shape::Empty},
        {.shape = Shape::Reals, .excluded = {Surd(2)}},
        {.shape = Shape::Values, .values = std::move(values)},
    };
}

inline Document TableDocument() {
    Document d;
    d.fonts = {{"Arial", 0, FontFamily::Swiss, 0}};
    d.defaultFont = 0;
    CharFormat f;
    f.font = 0;
    const auto paragraph = [&](const std::string& text) -> Paragraph& {
        Paragraph& p = d.paragraphs.emplace_back();
        p.runs.push_back(Run{f, text});
        p.mark = f;
        return p;
    };
    d.paragraphs.clear();
    paragraph("avant");
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 5; ++c) {
            Paragraph& p = paragraph("r" + std::to_string(r) + "c" + std::to_string(c));
            p.align = Align::Center;
            p.cell = CellPlace{0, r, c, 1400 + 900 * c};
        }
    paragraph("apr\xC3\xA8s");
    return d;
}

// The first text of TableDocument that a reading of it (UTF-8) lacks, or holds before the one
// before it; empty when every paragraph and cell is there in order.
inline std::string FirstOutOfOrder(const std::string& text) {
    std::vector<std::string> expected{"avant"};
    for (int k = 0; k < 15; ++k)
        expected.push_back("r" + std::to_string(k / 5) + "c" + std::to_string(k % 5));
    expected.push_back("apr\xC3\xA8s");
    std::size_t at = 0;
    for (const std::string& piece : expected) {
        at = text.find(piece, at);
        if (at == std::string::npos) return piece;
    }
    return {};
}

}  // namespace equat::rtf::test
