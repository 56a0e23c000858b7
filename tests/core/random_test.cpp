// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/random.h"

#include <gtest/gtest.h>

using namespace equat;

TEST(RandomSource, LinearCongruentialSteps) {
    RandomSource r(0);
    EXPECT_EQ(r.RandomInt(100), 0);  // seed 1: 1*100 >> 32
    EXPECT_EQ(r.seed(), 1u);
    EXPECT_EQ(r.RandomInt(100), 3);  // seed 134775814
    EXPECT_EQ(r.seed(), 134775814u);
    // The next seed wraps modulo 2^32.
    const std::uint32_t expected = 134775814u * 134775813u + 1u;
    r.RandomInt(7);
    EXPECT_EQ(r.seed(), expected);
    EXPECT_EQ(RandomSource(0xFFFFFFFFu).RandomInt(1), 0);
}

TEST(RandomSource, StaysInRange) {
    RandomSource r(12345);
    for (int n : {1, 2, 10, 20, 30, 40, 45, 100})
        for (int k = 0; k < 2000; ++k) {
            const int v = r.RandomInt(n);
            ASSERT_GE(v, 0);
            ASSERT_LT(v, n);
        }
}

TEST(RandomSource, SeedFromTimeOfDay) {
    EXPECT_EQ(RandomSource::SeedFromTimeOfDay(0, 0, 0, 0), 0u);
    EXPECT_EQ(RandomSource::SeedFromTimeOfDay(23, 59, 59, 999), 86399999u);
    EXPECT_EQ(RandomSource::SeedFromTimeOfDay(1, 2, 3, 4), 3723004u);
    RandomSource r;
    r.SeedRandomFromClock();
    EXPECT_LE(r.seed(), 86399999u);
}
