// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "core/cp1252.h"
#include "core/rotate.h"
#include "core/savenames.h"

using namespace equat;

TEST(Cp1252, RoundTripsEveryByte) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    const auto back = Utf8ToCp1252(Cp1252ToUtf8(all));
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, all);
}

TEST(Cp1252, Utf8Conversions) {
    EXPECT_EQ(Cp1252ToUtf8("Pr\xE9nom \x80"), "Pr\xC3\xA9nom \xE2\x82\xAC");
    EXPECT_EQ(Utf8ToCp1252("\xC2\xB0\xC5\x93"), std::string("\xB0\x9C"));  // ° œ
    EXPECT_FALSE(Utf8ToCp1252("\xE2\x88\x9A"));                            // √
    EXPECT_FALSE(Utf8ToCp1252("\xF0\x9F\x98\x80"));                        // emoji
    EXPECT_FALSE(Utf8ToCp1252("\xC3"));                                    // truncated
    EXPECT_FALSE(Utf8ToCp1252("\xC0\xAF"));                                // overlong
    EXPECT_FALSE(Utf8ToCp1252("\xED\xA0\x80"));                            // surrogate
}

TEST(Rotate, CharRotations) {
    EXPECT_EQ(RotateChar(0x81, 1), 0xC0);   // right by one
    EXPECT_EQ(RotateChar(0x81, -1), 0x03);  // left by one
    EXPECT_EQ(RotateChar(0x81, 8), 0x81);
    EXPECT_EQ(RotateChar(0x81, -9), 0x03);  // -9 mod 8 = -1
    EXPECT_EQ(RotateChar(0x12, 0), 0x12);
}

TEST(Rotate, ScrambleThenReveal) {
    const std::string title = "Equat - \xE9quations et syst\xE8mes";
    for (std::string key : {"", "k", "Zq", "\xFF\xFE"}) {
        const auto stored = RotateText(title, key, true);
        EXPECT_EQ(stored.size(), title.size());
        EXPECT_EQ(RevealText(stored, key), title) << key;
    }
    // Odd positions rotate left and even positions right under reveal.
    EXPECT_EQ(RevealText(std::string("\x01\x01", 2), std::string("\x01", 1)),
              std::string("\x04\x40", 2));  // amount (1+1) mod 8 = 2
}

TEST(SaveNames, ExtensionRules) {
    struct Case {
        const char* chosen;
        const char* subject;
        const char* key;
        bool plain;
    };
    const Case cases[] = {
        {"Equat1d_N2_07_53.rtf", "Equat1d_N2_07_53.rtf", "Equat1d_N2_07_53_Cor.rtf", false},
        {"feuille", "feuille.rtf", "feuille_Cor.rtf", false},
        {"feuille.txt", "feuille.txt", "feuille_Cor.rtf", true},
        {"feuille.TxT", "feuille.TxT", "feuille_Cor.rtf", true},
        {"feuille.doc", "feuille.doc", "feuille_Cor.rtf", false},
        {"6e.A.rtf", "6e.A.rtf", "6e.A_Cor.rtf", false},
        {".rtf", ".rtf", "_Cor.rtf", false},
        {"feuille.", "feuille.", "feuille_Cor.rtf", false},
        {"/tmp/v1.2/feuille", "/tmp/v1.2/feuille.rtf", "/tmp/v1.2/feuille_Cor.rtf", false},
        {"C:\\a.b\\f", "C:\\a.b\\f.rtf", "C:\\a.b\\f_Cor.rtf", false},
        {"f.txtx", "f.txtx", "f_Cor.rtf", false},
    };
    for (const auto& c : cases) {
        const auto n = SaveNamesFor(c.chosen);
        EXPECT_EQ(n.subject, c.subject) << c.chosen;
        EXPECT_EQ(n.answerKey, c.key) << c.chosen;
        EXPECT_EQ(IsPlainTextName(n.subject), c.plain) << c.chosen;
    }
}
