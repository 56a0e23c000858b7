// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/sheetcode.h"

#include <array>
#include <cstdint>
#include <vector>

#include "core/kinds.h"

namespace equat {

namespace {

constexpr std::uint64_t kBase = kSheetCodeAlphabet.size();  // 31

// One field of a code: its value and its radix, most significant first after the seed.
struct Field {
    std::uint64_t value, radix;
};

// A format: its length and the radices of {version, kind, level - 1, count - 1, interline,
// key style, flags}. The radices are part of the format: never change them.
struct Format {
    std::size_t length;
    std::array<std::uint64_t, 7> radices;
};
// 16 versions × 11880 field combinations × 2^32 seeds fit in 31^10.
constexpr Format kShort{kSheetCodeLength, {16, 3, 3, 40, 11, 3, 1}};
// 2^41 field combinations × 2^23 seeds: every 64-bit value, which 31^13 holds.
constexpr Format kLong{kLongSheetCodeLength, {4, 8, 4, 64, 16, 8, 1u << kSheetCodeFlagBits}};
static_assert(kKindCount <= 8 && kKeyStyleCount <= 8 && kMaxQuestions <= 64);

constexpr std::uint64_t Combinations(const Format& f) {
    std::uint64_t n = 1;
    for (auto r : f.radices) n *= r;
    return n;
}
static_assert(Combinations(kLong) == std::uint64_t{1} << (64 - kLongSheetCodeSeedBits));

// The seeds a format holds.
constexpr std::uint64_t SeedRadix(const Format& f) {
    return f.length == kSheetCodeLength ? std::uint64_t{1} << 32
                                        : std::uint64_t{1} << kLongSheetCodeSeedBits;
}

std::array<std::uint64_t, 7> FieldValues(const SheetCode& c) {
    return {static_cast<std::uint64_t>(c.version),
            static_cast<std::uint64_t>(KindIndex(c.kind)),
            static_cast<std::uint64_t>(c.level - 1),
            static_cast<std::uint64_t>(c.count - 1),
            static_cast<std::uint64_t>(c.interline),
            static_cast<std::uint64_t>(c.keyStyle),
            c.flags};
}

bool InRange(const SheetCode& c) {
    return c.version >= 0 && KindIndex(c.kind) >= 0 && c.level >= 1 && c.level <= 3 &&
           c.count >= 1 && c.count <= kMaxQuestions && c.interline >= 0 && c.interline <= 10 &&
           static_cast<int>(c.keyStyle) >= 0 && static_cast<int>(c.keyStyle) < kKeyStyleCount;
}

bool Fits(const SheetCode& c, const Format& f) {
    const auto values = FieldValues(c);
    for (std::size_t k = 0; k < values.size(); ++k)
        if (values[k] >= f.radices[k]) return false;
    return true;
}

int DigitOf(char c) {
    const auto p = kSheetCodeAlphabet.find(c);
    return p == std::string_view::npos ? -1 : static_cast<int>(p);
}

// Weights 1..n by position, the check character last: the weighted sum is 0 modulo 31.
// A wrong character changes it by weight × difference, two swapped neighbours by the
// difference of their values; neither is a multiple of the prime 31.
int CheckDigit(const std::vector<int>& digits) {
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < digits.size(); ++i)
        sum += (i + 1) * static_cast<std::uint64_t>(digits[i]);
    const std::uint64_t weight = digits.size() + 1;
    std::uint64_t inverse = 1;
    while (inverse * weight % kBase != 1) ++inverse;
    return static_cast<int>((kBase - sum % kBase) % kBase * inverse % kBase);
}

std::string Encode(const SheetCode& code, const Format& f) {
    const auto values = FieldValues(code);
    std::uint64_t fields = 0;
    for (std::size_t k = 0; k < values.size(); ++k) fields = fields * f.radices[k] + values[k];
    // The seed leads, so that the copies of one set differ from their first characters.
    std::uint64_t value = code.seed % SeedRadix(f) * Combinations(f) + fields;
    std::vector<int> digits(f.length - 1);
    for (std::size_t i = digits.size(); i-- > 0;) {
        digits[i] = static_cast<int>(value % kBase);
        value /= kBase;
    }
    std::string text;
    for (int d : digits) text += kSheetCodeAlphabet[static_cast<std::size_t>(d)];
    text += kSheetCodeAlphabet[static_cast<std::size_t>(CheckDigit(digits))];
    if (f.length == kLongSheetCodeLength)
        text = text.substr(0, 5) + "-" + text.substr(5, 5) + "-" + text.substr(10);
    return text;
}

}  // namespace

std::uint32_t CodeSeed(const SheetCode& code) {
    return Fits(code, kShort) ? code.seed
                              : static_cast<std::uint32_t>(code.seed % SeedRadix(kLong));
}

SheetCode WithCodeSeed(SheetCode code) {
    code.seed = CodeSeed(code);
    return code;
}

std::string EncodeSheetCode(const SheetCode& code) {
    if (!InRange(code)) return {};
    if (Fits(code, kShort)) return Encode(code, kShort);
    return Fits(code, kLong) ? Encode(code, kLong) : std::string{};
}

namespace {

const std::string kNotOurs = "Ce code n'a pas \xE9t\xE9 fait par Equat : v\xE9rifiez le code.";

// The code's characters in capitals, without spaces and hyphens; nullopt with *error for a
// character no code holds.
std::optional<std::string> CleanCode(std::string_view text, std::string* error) {
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
    return clean;
}

// The seed and the fields of a clean code of format f, its check verified.
std::optional<SheetCode> DecodeFields(const std::string& clean, const Format& f,
                                      std::string* error) {
    std::vector<int> digits;
    std::uint64_t value = 0;
    bool tooLarge = false;  // 31^13 exceeds 2^64: a long code can be out of range
    for (std::size_t i = 0; i + 1 < clean.size(); ++i) {
        digits.push_back(DigitOf(clean[i]));
        const auto d = static_cast<std::uint64_t>(digits.back());
        tooLarge |= value > (UINT64_MAX - d) / kBase;
        value = value * kBase + d;
    }
    if (CheckDigit(digits) != DigitOf(clean.back())) {
        *error =
            "Ce code contient une faute de frappe : v\xE9rifiez-le caract\xE8re par caract\xE8re.";
        return std::nullopt;
    }
    if (tooLarge || value / Combinations(f) >= SeedRadix(f)) {
        *error = kNotOurs;
        return std::nullopt;
    }
    SheetCode code;
    code.seed = static_cast<std::uint32_t>(value / Combinations(f));
    auto fields = static_cast<std::uint64_t>(value % Combinations(f));
    std::array<std::uint64_t, 7> v{};
    for (std::size_t k = v.size(); k-- > 0;) {
        v[k] = fields % f.radices[k];
        fields /= f.radices[k];
    }
    code.version = static_cast<int>(v[0]);
    code.kind = v[1] < static_cast<std::uint64_t>(kKindCount) ? kSheetKinds[v[1]].name : "";
    code.level = static_cast<int>(v[2]) + 1;
    code.count = static_cast<int>(v[3]) + 1;
    code.interline = static_cast<int>(v[4]);
    code.keyStyle = static_cast<KeyStyle>(v[5]);
    code.flags = static_cast<std::uint32_t>(v[6]);
    return code;
}

}  // namespace

std::optional<SheetCode> ReadSheetCode(std::string_view text, std::string* error) {
    const auto clean = CleanCode(text, error);
    if (!clean) return std::nullopt;
    if (clean->size() != kSheetCodeLength && clean->size() != kLongSheetCodeLength) {
        *error = "Un code a " + std::to_string(kSheetCodeLength) + " caract\xE8res (ou " +
                 std::to_string(kLongSheetCodeLength) + " en trois groupes) ; celui-ci en a " +
                 std::to_string(clean->size()) + " : v\xE9rifiez le code.";
        return std::nullopt;
    }
    return DecodeFields(*clean, clean->size() == kSheetCodeLength ? kShort : kLong, error);
}

std::optional<SheetCode> DecodeSheetCode(std::string_view text, std::string* error) {
    auto code = ReadSheetCode(text, error);
    if (!code) return std::nullopt;
    // A kind, a style or a flag this program does not know comes from a later one.
    if (code->version > kSheetCodeVersion || code->kind.empty() ||
        static_cast<int>(code->keyStyle) >= kKeyStyleCount ||
        (code->flags & ~kKnownSheetCodeFlags) != 0 || !LayoutOfFlags(code->flags)) {
        *error =
            "Ce code vient d'une version plus r\xE9"
            "cente d'Equat : mettez le programme \xE0 jour.";
        return std::nullopt;
    }
    const auto draw = DrawChoicesFromFlags(code->flags & kSheetCodeDrawBits);
    if (code->version < kSheetCodeVersion || !InRange(*code) || !draw ||
        DrawChoicesError(*draw, KindIndex(code->kind), code->count)) {
        *error = kNotOurs;
        return std::nullopt;
    }
    return code;
}

SheetSettings SettingsForCode(const SheetCode& code, SheetSettings base) {
    base.level = code.level;
    base.count = code.count;
    base.interline = code.interline;
    base.keyStyle = code.keyStyle;
    base.decimalComma = (code.flags & kSheetCodeDecimalComma) != 0;
    base.draw = DrawChoicesFromFlags(code.flags & kSheetCodeDrawBits).value_or(DrawChoices{});
    // A code without a layout rebuilds its mathematics in the layout asked for.
    if (code.flags & kSheetCodeLayoutBits)
        base.layout = LayoutOfFlags(code.flags).value_or(base.layout);
    base.quiz.on = (code.flags & kSheetCodeQuizBits) != 0;
    base.code = EncodeSheetCode(code);
    return base;
}

Sheet BuildSheetFromCode(const SheetCode& code, const SheetSettings& base,
                         std::vector<std::string>* keys, bool showCode) {
    SheetSettings settings = SettingsForCode(code, base);
    auto kind = MakeSheetKind(code.kind, settings.draw);
    RandomSource rng(CodeSeed(code));
    if (!showCode) settings.code.clear();
    Sheet sheet = BuildSheet(*kind, rng, settings);
    if (keys)
        for (int i = 1; i <= settings.count; ++i) keys->push_back(kind->DuplicateKey(i));
    return sheet;
}

}  // namespace equat
