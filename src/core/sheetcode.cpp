// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/sheetcode.h"

#include <array>

#include "core/kinds.h"

namespace equat {

namespace {

constexpr std::uint64_t kBase = kSheetCodeAlphabet.size();  // 31
constexpr std::size_t kDataLength = kSheetCodeLength - 1;
// The order of kinds is part of the format: never reorder, only append.
constexpr std::array<std::string_view, 3> kKindOrder = {"1d", "2d", "syst"};
// The radices of the fields after the seed, most significant first after the version.
constexpr std::uint64_t kKinds = 3, kLevels = 3, kCounts = 40, kInterlines = 11, kStyles = 3;
// 16 versions × 11880 field combinations × 2^32 seeds fit in 31^10.
constexpr std::uint64_t kVersions = 16;
constexpr std::uint64_t kFieldValues =
    kVersions * kKinds * kLevels * kCounts * kInterlines * kStyles;

int KindIndex(std::string_view kind) {
    for (std::size_t k = 0; k < kKindOrder.size(); ++k)
        if (kKindOrder[k] == kind) return static_cast<int>(k);
    return -1;
}

int DigitOf(char c) {
    const auto p = kSheetCodeAlphabet.find(c);
    return p == std::string_view::npos ? -1 : static_cast<int>(p);
}

// Weights 1..11 by position, the check character last: the weighted sum is 0 modulo 31.
// A wrong character changes it by weight × difference, two swapped neighbours by the
// difference of their values; neither is a multiple of the prime 31.
int CheckDigit(const std::array<int, kDataLength>& digits) {
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < kDataLength; ++i)
        sum += (i + 1) * static_cast<std::uint64_t>(digits[i]);
    constexpr std::uint64_t kInverseOfEleven = 17;  // 11 × 17 = 187 = 6 × 31 + 1
    return static_cast<int>((kBase - sum % kBase) % kBase * kInverseOfEleven % kBase);
}

bool InRange(const SheetCode& c) {
    return c.version >= 0 && static_cast<std::uint64_t>(c.version) < kVersions &&
           KindIndex(c.kind) >= 0 && c.level >= 1 && c.level <= 3 && c.count >= 1 &&
           c.count <= 40 && c.interline >= 0 && c.interline <= 10 &&
           static_cast<int>(c.keyStyle) >= 0 && static_cast<std::uint64_t>(c.keyStyle) < kStyles;
}

}  // namespace

std::string EncodeSheetCode(const SheetCode& code) {
    if (!InRange(code)) return {};
    std::uint64_t fields = static_cast<std::uint64_t>(code.version);
    fields = fields * kKinds + static_cast<std::uint64_t>(KindIndex(code.kind));
    fields = fields * kLevels + static_cast<std::uint64_t>(code.level - 1);
    fields = fields * kCounts + static_cast<std::uint64_t>(code.count - 1);
    fields = fields * kInterlines + static_cast<std::uint64_t>(code.interline);
    fields = fields * kStyles + static_cast<std::uint64_t>(code.keyStyle);
    // The seed leads, so that the copies of one set differ from their first characters.
    std::uint64_t value = code.seed * kFieldValues + fields;
    std::array<int, kDataLength> digits{};
    for (std::size_t i = kDataLength; i-- > 0;) {
        digits[i] = static_cast<int>(value % kBase);
        value /= kBase;
    }
    std::string text;
    for (int d : digits) text += kSheetCodeAlphabet[static_cast<std::size_t>(d)];
    text += kSheetCodeAlphabet[static_cast<std::size_t>(CheckDigit(digits))];
    return text;
}

std::optional<SheetCode> DecodeSheetCode(std::string_view text, std::string* error) {
    std::string clean;
    for (char c : text) {
        if (c == ' ' || c == '-' || c == '\t') continue;
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (DigitOf(c) < 0) {
            *error = "Le caract\xE8re \xAB ";
            // A byte of a longer character cannot be shown alone.
            *error += static_cast<unsigned char>(c) < 0x80 ? std::string(1, c) : "?";
            *error +=
                " \xBB ne peut pas figurer dans un code (ni 0, ni 1, ni O, ni I, ni S) : "
                "v\xE9rifiez le code.";
            return std::nullopt;
        }
        clean += c;
    }
    if (clean.size() != kSheetCodeLength) {
        *error = "Un code a " + std::to_string(kSheetCodeLength) +
                 " caract\xE8res ; celui-ci en a " + std::to_string(clean.size()) +
                 " : v\xE9rifiez le code.";
        return std::nullopt;
    }
    std::array<int, kDataLength> digits{};
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < kDataLength; ++i) {
        digits[i] = DigitOf(clean[i]);
        value = value * kBase + static_cast<std::uint64_t>(digits[i]);
    }
    if (CheckDigit(digits) != DigitOf(clean.back())) {
        *error =
            "Ce code contient une faute de frappe : v\xE9rifiez-le caract\xE8re par caract\xE8re.";
        return std::nullopt;
    }
    SheetCode code;
    std::uint64_t fields = value % kFieldValues;
    if (value / kFieldValues > 0xFFFFFFFFu) {
        *error = "Ce code n'a pas \xE9t\xE9 fait par Equat : v\xE9rifiez le code.";
        return std::nullopt;
    }
    code.seed = static_cast<std::uint32_t>(value / kFieldValues);
    code.keyStyle = static_cast<KeyStyle>(fields % kStyles);
    fields /= kStyles;
    code.interline = static_cast<int>(fields % kInterlines);
    fields /= kInterlines;
    code.count = static_cast<int>(fields % kCounts) + 1;
    fields /= kCounts;
    code.level = static_cast<int>(fields % kLevels) + 1;
    fields /= kLevels;
    code.kind = kKindOrder[fields % kKinds];
    fields /= kKinds;
    if (fields != static_cast<std::uint64_t>(kSheetCodeVersion)) {
        *error = fields > static_cast<std::uint64_t>(kSheetCodeVersion)
                     ? "Ce code vient d'une version plus r\xE9"
                       "cente d'Equat : mettez le "
                       "programme \xE0 jour."
                     : "Ce code n'a pas \xE9t\xE9 fait par Equat : v\xE9rifiez le code.";
        return std::nullopt;
    }
    code.version = static_cast<int>(fields);
    return code;
}

SheetSettings SettingsForCode(const SheetCode& code, SheetSettings base) {
    base.level = code.level;
    base.count = code.count;
    base.interline = code.interline;
    base.keyStyle = code.keyStyle;
    base.code = EncodeSheetCode(code);
    return base;
}

Sheet BuildSheetFromCode(const SheetCode& code, const SheetSettings& base,
                         std::vector<std::string>* keys, bool showCode) {
    auto kind = MakeKind(code.kind);
    RandomSource rng(code.seed);
    SheetSettings settings = SettingsForCode(code, base);
    if (!showCode) settings.code.clear();
    Sheet sheet = BuildSheet(*kind, rng, settings);
    if (keys)
        for (int i = 1; i <= settings.count; ++i) keys->push_back(kind->DuplicateKey(i));
    return sheet;
}

}  // namespace equat
