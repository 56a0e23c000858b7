// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/sheet.h"

namespace equat {

// How a code is written. A new copy gets a checked code; a code read from an earlier format
// is written again in it, so that a copy rebuilt from it shows the code it was handed out with.
enum class SheetCodeFormat { Checked, Short, Long };

// What rebuilds one sheet, apart from its texts (title, instruction, separator).
struct SheetCode {
    int version = 1;          // how the copy is drawn, kept by later programs for its codes
    std::string kind = "1d";  // a name of kSheetKinds
    int level = 1;            // 1..3
    int count = 25;           // 1..40
    int interline = 1;        // 0..10
    KeyStyle keyStyle = KeyStyle::Decimal;
    std::uint32_t seed = 0;
    // Per-copy options beyond the first format, one bit each; a feature that adds one
    // declares its bit here.
    std::uint64_t flags = 0;
    SheetCodeFormat format = SheetCodeFormat::Checked;

    bool operator==(const SheetCode&) const = default;
};

// The drawing version this program writes. A code records it, so that a later program that
// draws differently can still rebuild the copies made today.
inline constexpr int kSheetCodeVersion = 1;
// The flags a long code holds.
inline constexpr int kSheetCodeFlagBits = 21;
// A long code keeps the low 23 bits of the seed (8 388 608 copies per choice of the other
// fields), so that the flags have room; a copy with a long code is drawn from that seed.
inline constexpr int kLongSheetCodeSeedBits = 23;
// Decimals written with a comma (SheetSettings::decimalComma).
inline constexpr std::uint64_t kSheetCodeDecimalComma = 1u << 0;
// The room of each feature among the flags: bits 1-11 what is drawn (bits 8-10 the first
// three kinds of a mixed sheet), bits 12-19 the adapted layout, bit 20 the quick quiz.
inline constexpr std::uint64_t kSheetCodeDrawBits = 0x7FFu << 1;
inline constexpr std::uint64_t kSheetCodeLayoutBits = 0xFFu << 12;
inline constexpr std::uint64_t kSheetCodeQuizBits = 1u << 20;
// Room that only checked codes have: 16 per-copy options for later features (bits 21-36),
// and kinds 4 to 16 of a mixed sheet (bits 37-49, DrawChoicesFlags).
inline constexpr std::uint64_t kSheetCodeMoreOptionBits = std::uint64_t{0xFFFF} << 21;
inline constexpr std::uint64_t kSheetCodeMoreKindBits = std::uint64_t{0x1FFF} << 37;
// Multiple choice (SheetSettings::choiceCount), the first of the later room: bit 21 on, with
// four choices; bit 22 three choices instead. Four, the usual count, costs one seed bit.
inline constexpr std::uint64_t kSheetCodeChoicesOn = std::uint64_t{1} << 21;
inline constexpr std::uint64_t kSheetCodeChoiceBits = std::uint64_t{3} << 21;
// A graph under each solution of the key (SheetSettings::graphs).
inline constexpr std::uint64_t kSheetCodeGraphBit = std::uint64_t{1} << 23;
// The flags this program builds; a feature adds its bit here.
inline constexpr std::uint64_t kKnownSheetCodeFlags = kSheetCodeDecimalComma | kSheetCodeDrawBits |
                                                      kSheetCodeLayoutBits | kSheetCodeQuizBits |
                                                      kSheetCodeChoiceBits | kSheetCodeGraphBit;

// Three formats, told apart by their length. The checked one (16 characters,
// "XXXX-XXXX-XXXX-XXXX": fourteen for the fields and two checks) is written for every new
// copy: 16 kinds and any mix of them, 8 styles, the flags and 16 more options; its checks
// refuse any one or two wrong characters. The earlier ones are read, and written only again
// as read: the short one (11 characters, ten for the fields and one check, which lets some
// two-character changes through; three kinds, three styles, no flags) and the long one (14
// characters, "XXXXX-XXXXX-XXXX").
inline constexpr std::size_t kSheetCodeLength = 11;
inline constexpr std::size_t kLongSheetCodeLength = 14;
inline constexpr std::size_t kCheckedSheetCodeLength = 16;
// The seed bits of a checked code whose later room (kSheetCodeMoreOptionBits,
// kSheetCodeMoreKindBits) is unused; each bit of that room used costs one (see DESIGN.md).
inline constexpr int kCheckedSheetCodeSeedBits = 25;

// The characters of a code: digits and capitals without the look-alikes 0/O, 1/I and 5/S.
// 31 of them, a prime: the checks are weighted sums modulo 31, which catch what they promise.
inline constexpr std::string_view kSheetCodeAlphabet = "23456789ABCDEFGHJKLMNPQRTUVWXYZ";

// The seed a copy of this code is drawn from: the low bits its format keeps (a short code
// keeps all 32). WithCodeSeed sets it in the code.
std::uint32_t CodeSeed(const SheetCode& code);
SheetCode WithCodeSeed(SheetCode code);

// The code as shown: in its format when its fields fit it, else in the checked one, in
// groups. Empty when a field is out of range, the kind is unknown or the flags hold a layout
// no program writes.
std::string EncodeSheetCode(const SheetCode& code);

// The fields of a code typed by a teacher, in any format: letters in either case,
// spaces and hyphens ignored. nullopt with *error (French, Windows-1252) for a mistyped or
// unknown code.
std::optional<SheetCode> DecodeSheetCode(std::string_view text, std::string* error);
// The fields of a well-formed code of any format, whether or not this program can build
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
