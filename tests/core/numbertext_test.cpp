// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/numbertext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <locale>

#include "core/commune.h"
#include "core_test_helpers.h"

using namespace equat;

TEST(FormatFixed2, RoundsHalfAwayFromZeroOnEighteenDigits) {
    struct Case {
        double x;
        const char* text;
    };
    const Case cases[] = {
        {3, "3"},
        {-2.5, "-2.5"},
        {1.0 / 3, "0.33"},
        {10, "10"},
        {100, "100"},
        {-0.001, "0"},
        {-0.0, "0"},
        {0.0, "0"},
        {0.125, "0.13"},
        {-0.375, "-0.38"},
        {2.675, "2.67"},  // the double lies just below 2.675
        {1.0 / 200, "0.01"},
        {-1.0 / 200, "-0.01"},
        {12.3456, "12.35"},
        {-7, "-7"},
        {-0.5, "-0.5"},
        {2.0 / 3, "0.67"},
        {1.0 / 8, "0.13"},
        {7.0 / 3, "2.33"},
        {-0.004999, "0"},
        {0.995, "0.99"},  // the double lies just below, as for 2.675
        {9.995, "9.99"},
        {99.999, "100"},
        {1e20, "100000000000000000000"},
        {123456789.126, "123456789.13"},
        {0.0001, "0"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatFixed2(c.x), c.text) << c.x;
}

TEST(FormatFixed2, IgnoresTheLocale) {
    try {
        std::locale::global(std::locale("fr_FR.UTF-8"));
    } catch (...) {
        GTEST_SKIP() << "no French locale here";
    }
    EXPECT_EQ(FormatFixed2(2.5), "2.5");
    std::locale::global(std::locale::classic());
}

TEST(FormatFixed2, NonFiniteValuesDoNotCrash) {
    EXPECT_EQ(FormatFixed2(std::numeric_limits<double>::infinity()), "INF");
    EXPECT_EQ(FormatFixed2(std::nan("")), "NAN");
}

TEST(CleanDecimalText, Steps) {
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {{"1,50", "1.5"}, {"100", "100"}, {"2.00", "2"},
                          {"-0.00", "0"},  {"-0", "0"},    {"0.10", "0.1"},
                          {"5.", "5"},     {"", ""},       {"-3.40", "-3.4"}};
    for (const auto& c : cases) EXPECT_EQ(CleanDecimalText(c.in), c.out) << c.in;
    EXPECT_EQ(StripTrailingZeros("1200"), "1200");
    EXPECT_EQ(StripTrailingZeros("12.00"), "12.");
    EXPECT_EQ(StripTrailingPoint("12."), "12");
    EXPECT_EQ(CommaToPoint("1,2,3"), "1.2.3");
}

TEST(CoefficientTexts, Table) {
    struct Case {
        std::int32_t v;
        const char* lead;
        const char* sign;
        const char* constant;
    };
    const Case cases[] = {
        {0, "0", " - 0", "     "},
        {1, "", " + ", " + 1"},
        {-1, "-", " - ", " - 1"},
        {5, "5", " + 5", " + 5"},
        {-12, "-12", " - 12", " - 12"},
        {std::numeric_limits<std::int32_t>::min(), "-2147483648", " - 2147483648", " - 2147483648"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LeadCoefText(c.v), c.lead) << c.v;
        EXPECT_EQ(SignedCoefText(c.v), c.sign) << c.v;
        EXPECT_EQ(ConstTermText(c.v), c.constant) << c.v;
    }
    EXPECT_EQ(TabTags(0), "");
    EXPECT_EQ(TabTags(-2), "");
    EXPECT_EQ(TabTags(3), "<tab><tab><tab>");
}

TEST(Wrap32, KeepsTwosComplement) {
    EXPECT_EQ(Wrap32(2147483648LL), -2147483647 - 1);
    EXPECT_EQ(Wrap32(-2147483649LL), 2147483647);
    EXPECT_EQ(Wrap32(-5), -5);
}

// The quick path for ordinary values must agree with the 18-digit rounding everywhere,
// ties and near-ties included.
TEST(FormatFixed2, QuickPathAgreesWithQuotients) {
    for (int n = -2000; n <= 2000; n += 7)
        for (int d = 1; d <= 400; d += 3) {
            const double x = static_cast<double>(n) / d;
            const std::string text = FormatFixed2(x);
            char* end = nullptr;
            const double back = std::strtod(text.c_str(), &end);
            ASSERT_EQ(*end, '\0') << text;
            ASSERT_LE(std::fabs(back - x), 0.005 + 1e-12) << n << "/" << d << " " << text;
            ASSERT_NE(text, "-0");
        }
    EXPECT_EQ(FormatFixed2(1.005), "1");       // 1.00499999999999989...
    EXPECT_EQ(FormatFixed2(-1.125), "-1.13");  // an exact tie
    EXPECT_EQ(FormatFixed2(0.285), "0.28");    // 0.284999999999999975575...
    EXPECT_EQ(FormatFixed2(1.0 / 3 * 3), "1");
}
