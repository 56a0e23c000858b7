// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/answergrid.h"

#include <gtest/gtest.h>

#include <regex>

#include "platform/pages.h"

using namespace equat;

// Every question of every kind and level gives its results alone, on one line.
TEST(AnswerGrid, ResultsOfEveryKind) {
    const struct {
        const char* kind;
        std::regex result;
    } kinds[] = {
        {"1d", std::regex(R"(x = (-?[0-9.]+|\?|/))")},
        {"2d", std::regex(R"(\xCE\x94 = -?[0-9.]+ ; x1 = \S+ ; x2 = \S+)")},
        {"syst", std::regex(R"(x = \S+ ; y = \S+)")},
    };
    for (const auto& k : kinds) {
        for (int level = 1; level <= 3; ++level) {
            SheetCode shape;
            shape.kind = k.kind;
            shape.level = level;
            shape.count = 40;
            RandomSource stream(static_cast<std::uint32_t>(level));
            int repeats = 0;
            const auto set =
                BuildClassSet(shape, SheetSettings{}, stream, 2, {"B<i>", "A"}, &repeats);
            const AnswerGrid grid = MakeAnswerGrid(set, OrderByName(set));
            ASSERT_EQ(grid.rows, (std::vector<std::string>{"A", "B<i>"}));
            for (const auto& row : grid.cells) {
                ASSERT_EQ(row.size(), 40u);
                for (const auto& cell : row)
                    EXPECT_TRUE(std::regex_match(cell, k.result))
                        << k.kind << level << ": " << cell;
            }
            const std::string html = AnswerGridHtml(grid);
            EXPECT_NE(html.find("B&lt;i&gt;"), std::string::npos);
            EXPECT_NE(html.find("<th>40</th>"), std::string::npos);
        }
    }
}

// The grid's pages take the most rows and questions that fit, searched from a guess: whatever
// the guess, the same answer as trying every count, and each count tried at most once.
TEST(AnswerGrid, TheMostThatFitWhateverTheGuess) {
    for (std::size_t most = 1; most <= 40; ++most)
        for (std::size_t fit = 0; fit <= most + 1; ++fit)
            for (std::size_t guess = 0; guess <= most + 2; ++guess) {
                std::vector<int> tried(most + 2, 0);
                const std::size_t n = Largest(
                    most,
                    [&](std::size_t k) {
                        EXPECT_TRUE(k >= 1 && k <= most) << k;
                        ++tried[std::min(k, most + 1)];
                        return k <= fit;
                    },
                    guess);
                ASSERT_EQ(n, std::clamp<std::size_t>(fit, 1, most))
                    << "most " << most << " fit " << fit << " guess " << guess;
                EXPECT_LE(*std::max_element(tried.begin(), tried.end()), 1);
            }
}
