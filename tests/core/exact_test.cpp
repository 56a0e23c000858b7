// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exact.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/random.h"

namespace equat {
namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();

TEST(Rational, LowestTermsAndTexts) {
    struct Case {
        std::int64_t n, d;
        std::int64_t num, den;
        const char* text;
    };
    const Case cases[] = {
        {0, 5, 0, 1, "0"},       {6, 3, 2, 1, "2"},           {-14, 6, -7, 3, "-7/3"},
        {14, -6, -7, 3, "-7/3"}, {-19, -62, 19, 62, "19/62"}, {kMax, kMax, 1, 1, "1"},
    };
    for (const auto& c : cases) {
        const Rational r(c.n, c.d);
        EXPECT_EQ(r.num(), c.num) << c.text;
        EXPECT_EQ(r.den(), c.den) << c.text;
        EXPECT_EQ(ExactText(r), c.text);
    }
    EXPECT_THROW(Rational(1, 0), std::domain_error);
    EXPECT_THROW(Rational(1) / Rational(0), std::domain_error);
}

TEST(Surd, SimplifiedFormsAndTexts) {
    struct Case {
        std::int64_t a, b, r, d;
        std::int64_t ea, eb, ec, ed;
        const char* text;
    };
    const Case cases[] = {
        {3, -4, 20, 8, 3, -8, 5, 8, "(3 - 8sqrt5)/8"},  // √20 = 2√5
        {6, -2, 20, 8, 3, -2, 5, 4, "(3 - 2sqrt5)/4"},
        {2, 2, 8, 2, 1, 2, 2, 1, "1 + 2sqrt2"},
        {4, 2, 2, 4, 2, 1, 2, 2, "(2 + sqrt2)/2"},
        {0, -1, 12, 4, 0, -1, 3, 2, "-sqrt3/2"},
        {0, 3, 7, 1, 0, 3, 7, 1, "3sqrt7"},
        {-2, 1, 2, -1, 2, -1, 2, 1, "2 - sqrt2"},  // minus of d moved up
        {-1, 1, 49, 2, 3, 0, 1, 1, "3"},           // perfect square: rational
        {-1, 1, 0, 2, -1, 0, 1, 2, "-1/2"},        // double root
        {1, 0, 18, 1, 1, 0, 1, 1, "1"},
    };
    for (const auto& c : cases) {
        const Surd s(c.a, c.b, c.r, c.d);
        EXPECT_EQ(s.a(), c.ea) << c.text;
        EXPECT_EQ(s.b(), c.eb) << c.text;
        EXPECT_EQ(s.c(), c.ec) << c.text;
        EXPECT_EQ(s.d(), c.ed) << c.text;
        EXPECT_EQ(ExactText(s), c.text);
    }
    // √r = b√c with c square-free, for every small r and a few with large prime factors.
    std::vector<std::int64_t> radicands{1009 * 1009 * 3, 97 * 89, 4 * 999983,
                                        3 * 5 * 1000003LL * 1000003LL};
    for (std::int64_t r = 0; r <= 30000; ++r) radicands.push_back(r);
    for (const std::int64_t r : radicands) {
        const Surd s(0, 1, r, 1);
        ASSERT_EQ(s.IsRational() ? s.a() * s.a() : s.b() * s.b() * s.c(), r) << r;
        for (std::int64_t p = 2; p * p <= s.c() && p < 2000; ++p) ASSERT_NE(s.c() % (p * p), 0);
    }
    EXPECT_THROW(Surd(1, 1, -3, 2), std::domain_error);
    EXPECT_THROW(Surd(1, 1, 3, 0), std::domain_error);
    EXPECT_THROW(Surd(0, 1, 2, 1) + Surd(0, 1, 3, 1), std::domain_error);
}

// Field identities and order over many small random values, against doubles.
TEST(Exact, ArithmeticAgreesWithDoubles) {
    RandomSource rng(7);
    auto small = [&](int n) { return std::int64_t{DrawDiff(rng, 2 * n + 1, n + 1)} + 1; };
    for (int k = 0; k < 20000; ++k) {
        const std::int64_t c = 2 + rng.RandomInt(3) * 3;  // 2, 5 or 8 (= 2√2)
        const Surd x(small(40), small(9), c, small(30) | 1), y(small(40), small(9), c, 7);
        const Rational p(small(200), small(50) | 1), q(small(200), 9);
        if (y.Sign() == 0 || q.Sign() == 0) continue;
        EXPECT_NEAR((x + y).ToDouble(), x.ToDouble() + y.ToDouble(), 1e-9);
        EXPECT_NEAR((x - y).ToDouble(), x.ToDouble() - y.ToDouble(), 1e-9);
        EXPECT_NEAR((x * y).ToDouble(), x.ToDouble() * y.ToDouble(), 1e-9);
        EXPECT_EQ((x * y) / y, x);
        EXPECT_EQ((x - y) + y, x);
        EXPECT_EQ(x.Sign(), (x.ToDouble() > 0) - (x.ToDouble() < 0));
        EXPECT_EQ(x < y, x.ToDouble() < y.ToDouble());
        EXPECT_EQ((p * q) / q, p);
        EXPECT_EQ(p - q + q, p);
        EXPECT_EQ(std::gcd(p.num(), p.den()), 1);
        EXPECT_EQ(p < q, p.ToDouble() < q.ToDouble());
        EXPECT_NEAR((p + q).ToDouble(), p.ToDouble() + q.ToDouble(), 1e-12);
    }
}

TEST(Exact, OverflowIsReportedNotWrapped) {
    const Rational big(kMax);
    EXPECT_THROW(big + Rational(1), std::overflow_error);
    EXPECT_THROW(-big - Rational(1), std::overflow_error);
    EXPECT_THROW(big * Rational(2), std::overflow_error);
    EXPECT_THROW(Rational(1, kMax) + Rational(1, kMax - 1), std::overflow_error);
    EXPECT_THROW(Rational(std::numeric_limits<std::int64_t>::min()), std::overflow_error);
    EXPECT_THROW(Surd(0, kMax, 8, 1), std::overflow_error);  // 2·kMax √2
    EXPECT_EQ(big * Rational(1, kMax), Rational(1));         // cancels before multiplying
}

TEST(Exact, QuadraticRootsSolveTheirEquation) {
    for (std::int64_t a = -30; a <= 30; ++a)
        for (std::int64_t b = -30; b <= 30; b += 3)
            for (std::int64_t c = -30; c <= 30; c += 7) {
                if (a == 0 || b * b - 4 * a * c < 0) continue;
                const auto [x1, x2] = QuadraticRoots(a, b, c);
                for (const Surd& x : {x1, x2})
                    EXPECT_EQ(Surd(a) * x * x + Surd(b) * x + Surd(c), Surd());
                EXPECT_NEAR(x1.ToDouble(), (-b + std::sqrt(b * b - 4.0 * a * c)) / (2.0 * a), 1e-9);
            }
}

}  // namespace
}  // namespace equat
