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

// Short codes, as earlier versions handed out, over every kind, level and style, the bounds
// of count and interline, and seeds from one stream (its ends included).
std::vector<SheetCode> SampleCodes(int n) {
    RandomSource rng(99);
    std::vector<SheetCode> codes;
    const char* kinds[] = {"1d", "2d", "syst"};
    for (int k = 0; k < n; ++k) {
        SheetCode c;
        c.format = SheetCodeFormat::Short;
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
    c.seed = 12345678;
    const std::string text = EncodeSheetCode(c);
    std::string clean;
    for (char ch : text)
        if (ch != '-') clean += ch;
    std::string lower;
    for (char ch : text) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    std::string error;
    const std::string spaced = " " + lower.substr(0, 7) + " " + lower.substr(7) + " ";
    ASSERT_TRUE(DecodeSheetCode(spaced, &error)) << error;
    EXPECT_EQ(*DecodeSheetCode(spaced, &error), c);

    const struct {
        std::string input;
        std::string says;
    } refused[] = {
        {"", "16 caract\xE8res en quatre groupes (ou 11, ou 14"},
        {clean.substr(0, 10), "en a 10"},
        {clean + "A", "en a 17"},
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

// A new code is checked, in four groups; a code read from an earlier format is written again
// as read while its fields fit it; a later program's flags read but do not build.
TEST(SheetCode, FormatsByWhereTheCodeComesFrom) {
    const auto in = [](SheetCode c, SheetCodeFormat format) {
        c.format = format;
        return c;
    };
    SheetCode comma;
    comma.kind = "syst";
    comma.seed = 0xFFFFFFFFu;
    comma.flags = kSheetCodeDecimalComma | kSheetCodeQuizBits;
    SheetCode later = comma;
    later.flags |= kSheetCodeMoreOptionBits;
    const struct {
        SheetCode code;
        std::string shape;
        bool ours;
    } cases[] = {
        {SheetCode{}, "XXXX-XXXX-XXXX-XXXX", true},
        {in(SheetCode{}, SheetCodeFormat::Short), "XXXXXXXXXXX", true},
        {in(SheetCode{}, SheetCodeFormat::Long), "XXXXX-XXXXX-XXXX", true},
        {in(comma, SheetCodeFormat::Short), "XXXX-XXXX-XXXX-XXXX", true},
        {comma, "XXXX-XXXX-XXXX-XXXX", true},
        {in(comma, SheetCodeFormat::Long), "XXXXX-XXXXX-XXXX", true},
        {later, "XXXX-XXXX-XXXX-XXXX", false},
    };
    for (const auto& c : cases) {
        const std::string text = EncodeSheetCode(c.code);
        std::string shape = text;
        for (char& ch : shape)
            if (ch != '-') ch = 'X';
        EXPECT_EQ(shape, c.shape) << text;
        std::string error;
        const auto back = ReadSheetCode(text, &error);
        ASSERT_TRUE(back) << error;
        EXPECT_EQ(EncodeSheetCode(*back), text);
        EXPECT_EQ(back->seed, CodeSeed(c.code));
        EXPECT_EQ(DecodeSheetCode(text, &error).has_value(), c.ours) << text << error;
    }
    // Today's copies keep 25 bits of their seed; each bit of the later room used costs one.
    EXPECT_EQ(CodeSeed(comma), (1u << kCheckedSheetCodeSeedBits) - 1);
    later.flags = comma.flags | (kSheetCodeMoreOptionBits & ~(kSheetCodeMoreOptionBits << 1));
    EXPECT_EQ(CodeSeed(later), (1u << (kCheckedSheetCodeSeedBits - 1)) - 1);
    EXPECT_EQ(EncodeSheetCode([] {
                  SheetCode c;
                  c.flags = std::uint64_t{1} << 50;
                  return c;
              }()),
              "");
}

namespace {

// A checked code with every field drawn at its smallest, its largest or between, and the
// later room of a random width.
SheetCode RandomCheckedCode(RandomSource& rng) {
    const auto pick = [&](int low, int high) {
        const int r = rng.RandomInt(3);
        return r == 0 ? low : r == 1 ? high : low + rng.RandomInt(high - low + 1);
    };
    SheetCode c;
    c.version = pick(0, 3);
    c.kind = kSheetKinds[static_cast<std::size_t>(pick(0, kKindCount - 1))].name;
    c.level = pick(1, 3);
    c.count = pick(1, kMaxQuestions);
    c.interline = pick(0, 10);
    c.keyStyle = static_cast<KeyStyle>(pick(0, kKeyStyleCount - 1));
    c.seed = static_cast<std::uint32_t>(pick(0, 65535)) << 16 |
             static_cast<std::uint32_t>(pick(0, 65535));
    const std::uint64_t layout = static_cast<std::uint64_t>(pick(0, 127)) * 2 + 1;
    c.flags = static_cast<std::uint64_t>(pick(0, 0xFFF)) & 0x8FFu;  // comma, draw but the mix
    c.flags |= static_cast<std::uint64_t>(pick(0, 1)) << 20;        // the quick quiz
    c.flags |= static_cast<std::uint64_t>(pick(0, 7)) << 8;         // the first kinds of a mix
    if (pick(0, 1)) c.flags |= layout << 12;
    const int width = pick(0, 29);
    for (int b = 21; b < 50; ++b)
        if (rng.RandomInt(29) < width) c.flags |= std::uint64_t{1} << b;
    return WithCodeSeed(c);
}

}  // namespace

// Every field round-trips at its extremes, and every change of one or two characters (a swap
// of any two among them) is refused by the checks: all of them for a few codes, a sample for
// the others.
TEST(SheetCode, CheckedCodesRoundTripAndRefuseTwoWrongCharacters) {
    RandomSource rng(16);
    std::string error;
    for (int n = 0; n < 400; ++n) {
        const SheetCode c = RandomCheckedCode(rng);
        const std::string text = EncodeSheetCode(c);
        ASSERT_EQ(text.size(), kCheckedSheetCodeLength + 3) << n;
        const auto back = ReadSheetCode(text, &error);
        ASSERT_TRUE(back) << text << ": " << error;
        ASSERT_EQ(*back, c) << text;
        std::string clean;
        for (char ch : text)
            if (ch != '-') clean += ch;
        const auto refused = [&](const std::string& typo) {
            if (typo == clean) return;
            error.clear();
            ASSERT_FALSE(ReadSheetCode(typo, &error)) << clean << " -> " << typo;
            ASSERT_NE(error.find("faute de frappe"), std::string::npos) << typo;
        };
        const std::size_t positions = clean.size(), symbols = kSheetCodeAlphabet.size();
        for (std::size_t i = 0; i < positions; ++i)
            for (std::size_t j = i + 1; j < positions; ++j) {
                std::string swapped = clean;
                std::swap(swapped[i], swapped[j]);
                refused(swapped);
                const std::size_t tries = n < 3 ? symbols * symbols : 2;
                for (std::size_t t = 0; t < tries; ++t) {
                    std::string typo = clean;
                    const std::size_t a = n < 3 ? t / symbols : rng.RandomInt(31);
                    const std::size_t b = n < 3 ? t % symbols : rng.RandomInt(31);
                    typo[i] = kSheetCodeAlphabet[a];
                    typo[j] = kSheetCodeAlphabet[b];
                    refused(typo);
                }
            }
    }
}
