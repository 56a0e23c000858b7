// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/resultgrid.h"

#include <gtest/gtest.h>

#include <cctype>

#include "core/equat1d.h"
#include "core/equat2d.h"
#include "core/exact.h"
#include "core/numbertext.h"
#include "core/syst.h"

using namespace equat;

namespace {

std::vector<std::string> Pieces(const std::string& cell) {
    std::vector<std::string> out;
    for (std::size_t at = 0;;) {
        const auto end = cell.find(" ; ", at);
        out.push_back(cell.substr(at, end - at));
        if (end == std::string::npos) return out;
        at = end + 3;
    }
}

// Every cell of class sets of the kind, in both the decimal and the exact style, against
// the kind's exact solver run on the copy drawn again from its code: the exact value in the
// exact style, its two-decimal text in the decimal style, a verdict sign where it has none.
template <class Kind, class Solve>
void CheckGrid(const std::string& name, const std::vector<std::string>& unknowns, Solve solve) {
    for (int level = 1; level <= 3; ++level) {
        for (KeyStyle style : {KeyStyle::Decimal, KeyStyle::Exact}) {
            ClassSetRequest request;
            request.kind = name;
            request.settings.level = level;
            request.settings.count = kMaxQuestions;
            request.settings.keyStyle = style;
            request.copies = 20;
            RandomSource stream(static_cast<std::uint32_t>(level * 10 + static_cast<int>(style)));
            const ClassSet set = MakeClassSet(request, stream);
            const AnswerGrid grid = MakeAnswerGrid(set.copies, set.keyOrder);
            ASSERT_EQ(grid.cells.size(), set.copies.size());
            for (std::size_t r = 0; r < grid.cells.size(); ++r) {
                const ClassCopy& copy = set.copies[set.keyOrder[r]];
                Kind kind;
                RandomSource rng(copy.code.seed);
                BuildSheet(kind, rng, SettingsForCode(copy.code, SheetSettings{}));
                ASSERT_EQ(grid.cells[r].size(), static_cast<std::size_t>(kMaxQuestions));
                for (int i = 1; i <= kMaxQuestions; ++i) {
                    const std::vector<std::optional<Surd>> exact = solve(level, kind.question(i));
                    auto pieces = Pieces(grid.cells[r][static_cast<std::size_t>(i - 1)]);
                    if (pieces.size() == unknowns.size() + 1) pieces.erase(pieces.begin());  // Δ
                    ASSERT_EQ(pieces.size(), unknowns.size());
                    std::vector<std::string> expected;
                    for (const auto& x : exact)
                        expected.push_back(!x ? "/"
                                           : style == KeyStyle::Exact
                                               ? ExactText(*x, "\xE2\x88\x9A")
                                               : RoundedText(*x));
                    // The decimal key keeps the drawn order of the roots; the exact one
                    // names the + root x1.
                    if (style == KeyStyle::Decimal && expected.size() == 2 &&
                        pieces[0] == unknowns[0] + " = " + expected[1])
                        std::swap(expected[0], expected[1]);
                    for (std::size_t u = 0; u < unknowns.size(); ++u) {
                        const std::string shown = unknowns[u] + " = " + expected[u];
                        if (exact[u] || pieces[u] != unknowns[u] + " = ?") {
                            EXPECT_EQ(pieces[u], shown) << name << level << " #" << i;
                        }
                    }
                }
            }
        }
    }
}

}  // namespace

TEST(ResultGrid, CellsAreTheSolversExactResults) {
    CheckGrid<FirstDegreeKind>("1d", {"x"}, [](int level, const FirstDegreeQuestion& q) {
        const auto x = FirstDegreeExactSolution(level, q);
        return std::vector<std::optional<Surd>>{x ? std::optional<Surd>(*x) : std::nullopt};
    });
    CheckGrid<SecondDegreeKind>("2d", {"x1", "x2"}, [](int level, const QuadraticQuestion& q) {
        const auto x = QuadraticExactRoots(level, q);
        if (!x) return std::vector<std::optional<Surd>>{std::nullopt, std::nullopt};
        return std::vector<std::optional<Surd>>{x->first, x->second};
    });
    CheckGrid<SystemKind>("syst", {"x", "y"}, [](int level, const SystemQuestion& q) {
        const auto p = SystemExactSolution(level, q);
        if (!p) return std::vector<std::optional<Surd>>{std::nullopt, std::nullopt};
        return std::vector<std::optional<Surd>>{Surd(p->x), Surd(p->y)};
    });
}

// A set with decimal commas shows them in its grid too.
TEST(ResultGrid, DecimalsAsTheCopiesWriteThem) {
    ClassSetRequest request;
    request.kind = "syst";
    request.settings.level = 2;
    request.settings.count = kMaxQuestions;
    request.settings.decimalComma = true;
    request.copies = 5;
    RandomSource stream(7);
    const ClassSet set = MakeClassSet(request, stream);
    int commas = 0;
    for (const auto& row : MakeAnswerGrid(set.copies, set.keyOrder).cells) {
        for (const auto& cell : row) {
            for (std::size_t k = 1; k + 1 < cell.size(); ++k) {
                const bool between = std::isdigit(static_cast<unsigned char>(cell[k - 1])) &&
                                     std::isdigit(static_cast<unsigned char>(cell[k + 1]));
                EXPECT_FALSE(between && cell[k] == '.') << cell;
                commas += between && cell[k] == ',';
            }
        }
    }
    EXPECT_GT(commas, 0);
}
