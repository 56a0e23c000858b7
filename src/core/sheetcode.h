// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/sheet.h"

namespace equat {

// What rebuilds one sheet, apart from its texts (title, instruction, separator).
struct SheetCode {
    int version = 1;          // how the copy is drawn, kept by later programs for its codes
    std::string kind = "1d";  // a name of kSheetKinds
    int level = 1;            // 1..3
    int count = 25;           // 1..40
    int interline = 1;        // 0..10
    KeyStyle keyStyle = KeyStyle::Decimal;
    std::uint32_t seed = 0;
    // Per-copy options beyond the first format, one bit each (kSheetCodeFlagBits of them);
    // a feature that adds one declares its bit here. Any bit set makes a long code.
    std::uint32_t flags = 0;

    bool operator==(const SheetCode&) const = default;
};

// The drawing version this program writes. A code records it, so that a later program that
// draws differently can still rebuild the copies made today.
inline constexpr int kSheetCodeVersion = 1;
inline constexpr int kSheetCodeFlagBits = 21;
// A long code keeps the low 23 bits of the seed (8 388 608 copies per choice of the other
// fields), so that the flags have room; a copy with a long code is drawn from that seed.
inline constexpr int kLongSheetCodeSeedBits = 23;
// Decimals written with a comma (SheetSettings::decimalComma).
inline constexpr std::uint32_t kSheetCodeDecimalComma = 1u << 0;
// The room of each feature among the flags: bits 1-11 what is drawn, bits 12-19 the adapted
// layout, bit 20 the quick quiz.
inline constexpr std::uint32_t kSheetCodeDrawBits = 0x7FFu << 1;
inline constexpr std::uint32_t kSheetCodeLayoutBits = 0xFFu << 12;
inline constexpr std::uint32_t kSheetCodeQuizBits = 1u << 20;
// The flags this program builds; a feature adds its bit here.
inline constexpr std::uint32_t kKnownSheetCodeFlags =
    kSheetCodeDecimalComma | kSheetCodeDrawBits | kSheetCodeLayoutBits | kSheetCodeQuizBits;

// Two formats, told apart by their length. The short one (11 characters, ten for the fields
// and a check) has no room left beyond three kinds, three styles and no flags; every code
// that fits it is still written in it, so documents stay as they were. The long one (14
// characters, thirteen and a check, shown in groups "XXXXX-XXXXX-XXXX") has room for 4
// versions, 8 kinds, 4 levels, 64 questions, 16 interlines, 8 styles and the flags.
inline constexpr std::size_t kSheetCodeLength = 11;
inline constexpr std::size_t kLongSheetCodeLength = 14;

// The characters of a code: digits and capitals without the look-alikes 0/O, 1/I and 5/S.
// 31 of them, a prime, so that the check character catches every single wrong character
// and every swap of two neighbours.
inline constexpr std::string_view kSheetCodeAlphabet = "23456789ABCDEFGHJKLMNPQRTUVWXYZ";

// The seed a copy of this code is drawn from: the whole seed when the fields fit the short
// format, else its low kLongSheetCodeSeedBits bits. WithCodeSeed sets it in the code.
std::uint32_t CodeSeed(const SheetCode& code);
SheetCode WithCodeSeed(SheetCode code);

// The code as shown: the short format when the fields fit it, else the long one in groups.
// Empty when a field is out of range or the kind is unknown.
std::string EncodeSheetCode(const SheetCode& code);

// The fields of a code typed by a teacher, in either format: letters in either case,
// spaces and hyphens ignored. nullopt with *error (French, Windows-1252) for a mistyped or
// unknown code.
std::optional<SheetCode> DecodeSheetCode(std::string_view text, std::string* error);
// The fields of a well-formed code of either format, whether or not this program can build
// it (a later version, an unknown kind, style or flag pass): what DecodeSheetCode checks.
std::optional<SheetCode> ReadSheetCode(std::string_view text, std::string* error);

// The settings that rebuild a copy: the texts of base, the fields of the code, the code
// itself shown on the documents. The layout is the code's, or base's when it has none.
SheetSettings SettingsForCode(const SheetCode& code, SheetSettings base);

// The copy a code stands for, rebuilt alone from its seed. keys, when given, receives the
// duplicate keys of its questions in order. Without showCode the documents do not show it.
Sheet BuildSheetFromCode(const SheetCode& code, const SheetSettings& base,
                         std::vector<std::string>* keys = nullptr, bool showCode = true);

}  // namespace equat
