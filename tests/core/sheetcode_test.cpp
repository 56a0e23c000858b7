// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/sheetcode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/kinds.h"
#include "core/markup.h"
#include "core/random.h"

using namespace equat;

namespace {

// Codes over every kind, level and style, the bounds of count and interline, and seeds
// from one stream (its ends included).
std::vector<SheetCode> SampleCodes(int n) {
    RandomSource rng(99);
    std::vector<SheetCode> codes;
    const char* kinds[] = {"1d", "2d", "syst"};
    for (int k = 0; k < n; ++k) {
        SheetCode c;
        c.kind = kinds[k % 3];
        c.level = 1 + (k / 3) % 3;
        c.keyStyle = static_cast<KeyStyle>((k / 9) % 3);
        c.count = k % 5 == 0 ? 40 : k % 7 == 0 ? 1 : 1 + rng.RandomInt(40);
        c.interline = k % 4 == 0 ? 10 : rng.RandomInt(11);
        c.seed = k == 0   ? 0u
                 : k == 1 ? 0xFFFFFFFFu
                          : (static_cast<std::uint32_t>(rng.RandomInt(65536)) << 16) |
                                static_cast<std::uint32_t>(rng.RandomInt(65536));
        codes.push_back(c);
    }
    return codes;
}

}  // namespace

TEST(SheetCode, RoundTripsEveryField) {
    for (const auto& c : SampleCodes(2000)) {
        const std::string text = EncodeSheetCode(c);
        ASSERT_EQ(text.size(), kSheetCodeLength);
        for (char ch : text) ASSERT_NE(kSheetCodeAlphabet.find(ch), std::string_view::npos);
        std::string error;
        const auto back = DecodeSheetCode(text, &error);
        ASSERT_TRUE(back) << text << ": " << error;
        EXPECT_EQ(*back, c) << text;
    }
}

// Every single wrong character and every swap of two different neighbours is refused.
TEST(SheetCode, CheckCatchesEverySubstitutionAndAdjacentSwap) {
    for (const auto& c : SampleCodes(300)) {
        const std::string text = EncodeSheetCode(c);
        std::string error;
        for (std::size_t i = 0; i < text.size(); ++i) {
            for (char other : kSheetCodeAlphabet) {
                if (other == text[i]) continue;
                std::string typo = text;
                typo[i] = other;
                ASSERT_FALSE(DecodeSheetCode(typo, &error)) << text << " -> " << typo;
            }
            if (i + 1 < text.size() && text[i] != text[i + 1]) {
                std::string swapped = text;
                std::swap(swapped[i], swapped[i + 1]);
                ASSERT_FALSE(DecodeSheetCode(swapped, &error)) << text << " -> " << swapped;
            }
        }
    }
}

TEST(SheetCode, TypingIsForgivingAndRefusalsAreExplained) {
    SheetCode c;
    c.seed = 123456789;
    const std::string text = EncodeSheetCode(c);
    std::string lower;
    for (char ch : text) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    std::string error;
    const std::string spaced = " " + lower.substr(0, 5) + "-" + lower.substr(5) + " ";
    ASSERT_TRUE(DecodeSheetCode(spaced, &error)) << error;
    EXPECT_EQ(*DecodeSheetCode(spaced, &error), c);

    const struct {
        std::string input;
        std::string says;
    } refused[] = {
        {"", "11 caract\xE8res"},
        {text.substr(0, 10), "en a 10"},
        {text + "A", "en a 12"},
        {"0" + text.substr(1), "\xAB 0 \xBB"},
        {"O" + text.substr(1), "\xAB O \xBB"},
        {text.substr(0, 3) + "1" + text.substr(4), "\xAB 1 \xBB"},
        {text.substr(0, 3) + "\xE9" + text.substr(4), "ne peut pas figurer"},
    };
    for (const auto& r : refused) {
        error.clear();
        EXPECT_FALSE(DecodeSheetCode(r.input, &error)) << r.input;
        EXPECT_NE(error.find(r.says), std::string::npos) << r.input << ": " << error;
    }

    SheetCode later = c;
    later.version = kSheetCodeVersion + 1;
    EXPECT_FALSE(DecodeSheetCode(EncodeSheetCode(later), &error));
    EXPECT_NE(error.find("plus r\xE9\x63"), std::string::npos) << error;
    later.version = 0;
    EXPECT_FALSE(DecodeSheetCode(EncodeSheetCode(later), &error));

    SheetCode bad = c;
    bad.count = 41;
    EXPECT_EQ(EncodeSheetCode(bad), "");
    bad = c;
    bad.kind = "3d";
    EXPECT_EQ(EncodeSheetCode(bad), "");
}

// A copy rebuilt from its code is the sheet of its seed, with the code at the end of the
// first line of both documents; without a code the documents are those of the frame.
TEST(SheetCode, RebuildsTheSheetOfItsSeedWithTheCodeShown) {
    SheetCode c;
    c.kind = "syst";
    c.level = 3;
    c.count = 12;
    c.interline = 2;
    c.seed = 4242;
    SheetSettings base;
    base.title = "Titre";
    std::vector<std::string> keys;
    const Sheet copy = BuildSheetFromCode(c, base, &keys);
    EXPECT_EQ(keys.size(), 12u);

    SheetSettings plain = base;
    plain.level = 3;
    plain.count = 12;
    plain.interline = 2;
    RandomSource rng(4242);
    const Sheet frame = BuildSheet(*MakeKind("syst"), rng, plain);
    for (const auto& [withCode, without] :
         {std::pair{copy.subject, frame.subject}, std::pair{copy.answerKey, frame.answerKey}}) {
        const auto at = withCode.find("   Code : ");
        ASSERT_NE(at, std::string::npos);
        const auto end = withCode.find("\\par", at);
        std::string stripped = withCode;
        stripped.erase(at, end - at);
        EXPECT_EQ(stripped, without);
        EXPECT_LT(at, withCode.find("\\par ", kRtfHeader.size())) << "the code ends the first line";
    }
}

// A code that needs more than the short format gets the long one, in three groups; both
// round-trip, are told apart by their length, and the check catches every single error.
TEST(SheetCode, LongFormatWhenAFieldNeedsIt) {
    SheetCode flagged;
    flagged.kind = "syst";
    flagged.seed = 0xFFFFFFFFu;
    flagged.flags = kSheetCodeDecimalComma | kSheetCodeQuizBits;
    SheetCode comma;
    comma.flags = kSheetCodeDecimalComma;
    const struct {
        SheetCode code;
        std::size_t length;
    } cases[] = {
        {SheetCode{}, kSheetCodeLength},
        {flagged, kLongSheetCodeLength},
        {comma, kLongSheetCodeLength},
    };
    for (const auto& c : cases) {
        const std::string text = EncodeSheetCode(c.code);
        std::string clean;
        for (char ch : text)
            if (ch != '-') clean += ch;
        ASSERT_EQ(clean.size(), c.length) << text;
        if (c.length == kLongSheetCodeLength) {
            EXPECT_EQ(text.substr(5, 1) + text.substr(11, 1), "--");
        }
        std::string error;
        const auto back = ReadSheetCode(text, &error);
        ASSERT_TRUE(back) << error;
        EXPECT_EQ(*back, WithCodeSeed(c.code));
        // A flag this program does not know is a later program's.
        EXPECT_EQ(DecodeSheetCode(text, &error).has_value(),
                  (c.code.flags & ~kKnownSheetCodeFlags) == 0)
            << error;
        EXPECT_EQ(SettingsForCode(c.code, {}).decimalComma,
                  (c.code.flags & kSheetCodeDecimalComma) != 0);
        for (std::size_t i = 0; i < clean.size(); ++i) {
            std::string typo = clean;
            typo[i] = typo[i] == 'Z' ? 'Y' : 'Z';
            EXPECT_FALSE(DecodeSheetCode(typo, &error)) << typo;
            EXPECT_NE(error.find("faute de frappe"), std::string::npos) << typo << ": " << error;
        }
    }
    std::string error;
    // Thirteen Z stand for more than 64 bits: with its right check, still no code of ours.
    int passedCheck = 0;
    for (char last : kSheetCodeAlphabet) {
        error.clear();
        EXPECT_FALSE(ReadSheetCode("ZZZZZZZZZZZZZ" + std::string(1, last), &error));
        passedCheck += error.find("faute de frappe") == std::string::npos;
    }
    EXPECT_EQ(passedCheck, 1);
    EXPECT_EQ(EncodeSheetCode([] {
                  SheetCode c;
                  c.flags = 1u << kSheetCodeFlagBits;
                  return c;
              }()),
              "");
}
