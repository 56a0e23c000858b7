// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/sheetcode.h"

#include <array>
#include <bit>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/choices.h"
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
// A kind past the eighth never fits it (`Fits`): its codes are written checked.
static_assert(kKeyStyleCount <= 8 && kMaxQuestions <= 64);

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

std::uint64_t Inverse(std::uint64_t a) {
    std::uint64_t inverse = 1;
    while (inverse * a % kBase != 1) ++inverse;
    return inverse;
}

// Weights 1..n by position, the check character last: the weighted sum is 0 modulo 31.
// A wrong character changes it by weight × difference, two swapped neighbours by the
// difference of their values; neither is a multiple of the prime 31.
int CheckDigit(const std::vector<int>& digits) {
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < digits.size(); ++i)
        sum += (i + 1) * static_cast<std::uint64_t>(digits[i]);
    return static_cast<int>((kBase - sum % kBase) % kBase * Inverse(digits.size() + 1) % kBase);
}

std::string Grouped(const std::string& text, std::size_t group) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); i += group)
        out += (i == 0 ? "" : "-") + text.substr(i, group);
    return out;
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
    return f.length == kLongSheetCodeLength ? Grouped(text, 5) : text;
}

// Checked codes. Fourteen characters hold a number below 31^14 (over 2^69), two checks
// follow. The number holds the fields, the later room and the seed:
//   start of the tier + (seed × room values of the tier + room - its first) × kFields + fields
// The tier is the bit width of the room used (RoomOf): the wider, the fewer seed bits
// (SeedBits), so that every field at its largest still fits and today's copies keep 25.
__extension__ typedef unsigned __int128 Wide;

// The radices of {version, kind, level - 1, count - 1, interline, key style, the plain flags,
// the first three kinds of a mix, the layout}: part of the format, never change them.
constexpr std::array<std::uint64_t, 9> kCheckedRadices{4, 16, 3, 40, 11, 8, 1024, 8, 129};
static_assert(kKindCount <= 16 && kKeyStyleCount <= 8 && kMaxQuestions <= 40);
constexpr std::uint64_t kMixBits = 7u << 8;
// The decimal comma, the draw bits but the mix, the quick quiz: 10 bits.
constexpr std::uint64_t kPlainBits =
    kSheetCodeDecimalComma | (kSheetCodeDrawBits & ~kMixBits) | kSheetCodeQuizBits;
constexpr std::uint64_t kFields = [] {
    std::uint64_t n = 1;
    for (auto r : kCheckedRadices) n *= r;
    return n;
}();

// The later room, one bit each, options and kinds of a mix in turn, so that the first of
// each cost the fewest seed bits: the flag bit of each room bit.
constexpr int kRoomBits = 29;
constexpr std::array<int, kRoomBits> kRoomFlag = [] {
    std::array<int, kRoomBits> at{};
    for (int i = 0; i < kRoomBits; ++i) at[i] = i < 26 ? (i % 2 ? 37 : 21) + i / 2 : 21 + i - 13;
    return at;
}();
constexpr std::uint64_t kCheckedFlags = kPlainBits | kMixBits | kSheetCodeLayoutBits |
                                        kSheetCodeMoreOptionBits | kSheetCodeMoreKindBits;

constexpr int SeedBits(int tier) {
    return tier < kCheckedSheetCodeSeedBits ? kCheckedSheetCodeSeedBits - tier : 0;
}
// The room values of a tier: those of its bit width.
constexpr Wide TierCount(int tier) {
    return tier == 0 ? 1 : Wide{1} << (tier - 1);
}
constexpr Wide TierStart(int tier) {
    Wide start = 0;
    for (int t = 0; t < tier; ++t) start += TierCount(t) * (Wide{1} << SeedBits(t)) * kFields;
    return start;
}
constexpr Wide kCheckedValues = [] {
    Wide n = 1;
    for (std::size_t i = 0; i + 2 < kCheckedSheetCodeLength; ++i) n *= kBase;
    return n;
}();
static_assert(TierStart(kRoomBits + 1) <= kCheckedValues);

// The bits of flags under mask, packed from bit 0; Scatter puts them back.
std::uint64_t Gather(std::uint64_t flags, std::uint64_t mask) {
    std::uint64_t v = 0;
    for (int b = 0, k = 0; b < 64; ++b)
        if ((mask >> b) & 1u) v |= ((flags >> b) & 1u) << k++;
    return v;
}
std::uint64_t Scatter(std::uint64_t v, std::uint64_t mask) {
    std::uint64_t flags = 0;
    for (int b = 0, k = 0; b < 64; ++b)
        if ((mask >> b) & 1u) flags |= ((v >> k++) & 1u) << b;
    return flags;
}

std::uint64_t RoomOf(std::uint64_t flags) {
    std::uint64_t room = 0;
    for (int i = 0; i < kRoomBits; ++i) room |= ((flags >> kRoomFlag[i]) & 1u) << i;
    return room;
}

int TierOf(const SheetCode& c) {
    return std::bit_width(RoomOf(c.flags));
}

// The fields of a code as a number below kFields; nullopt when one does not fit.
std::optional<std::uint64_t> CheckedFields(const SheetCode& c) {
    // A layout is off (0) or on (its lowest bit) with its 7 choices: 129 values.
    const std::uint64_t layout = Gather(c.flags, kSheetCodeLayoutBits);
    if ((c.flags & ~kCheckedFlags) != 0 || (layout != 0 && layout % 2 == 0)) return std::nullopt;
    const auto v = FieldValues(c);
    const std::array<std::uint64_t, 9> values{v[0],
                                              v[1],
                                              v[2],
                                              v[3],
                                              v[4],
                                              v[5],
                                              Gather(c.flags, kPlainBits),
                                              Gather(c.flags, kMixBits),
                                              (layout + 1) / 2};
    std::uint64_t fields = 0;
    for (std::size_t k = 0; k < values.size(); ++k) {
        if (values[k] >= kCheckedRadices[k]) return std::nullopt;
        fields = fields * kCheckedRadices[k] + values[k];
    }
    return fields;
}

// Two checks, weights w = 1..16 by position: the sums of w × digit and of w² × digit are 0
// modulo 31. Any one or two wrong characters change them by w_a e_a + w_b e_b and
// w_a² e_a + w_b² e_b, both 0 only when e_a = e_b = 0 (the determinant w_a w_b (w_b - w_a)
// is not a multiple of 31); a swap is two wrong characters.
std::array<std::uint64_t, 2> CheckSums(const std::vector<int>& digits) {
    std::array<std::uint64_t, 2> sums{};
    for (std::size_t i = 0; i < digits.size(); ++i) {
        const std::uint64_t w = i + 1, d = static_cast<std::uint64_t>(digits[i]);
        sums[0] = (sums[0] + w * d) % kBase;
        sums[1] = (sums[1] + w * w % kBase * d) % kBase;
    }
    return sums;
}

// The two check digits that bring the sums of the fourteen before them to 0.
void AppendCheckPair(std::vector<int>& digits) {
    const auto sums = CheckSums(digits);
    const std::uint64_t r1 = (kBase - sums[0]) % kBase, r2 = (kBase - sums[1]) % kBase;
    const std::uint64_t a = digits.size() + 1, b = a + 1;
    const std::uint64_t inverse = Inverse(a * b % kBase * (b - a) % kBase);
    const std::uint64_t x = (r1 * b % kBase * b + (kBase - b) * r2) % kBase * inverse % kBase;
    const std::uint64_t y = (a * r2 + (kBase - a * a % kBase) * r1) % kBase * inverse % kBase;
    digits.push_back(static_cast<int>(x));
    digits.push_back(static_cast<int>(y));
}

std::string EncodeChecked(const SheetCode& code) {
    const auto fields = CheckedFields(code);
    if (!fields) return {};
    const std::uint64_t room = RoomOf(code.flags);
    const int tier = std::bit_width(room);
    const std::uint64_t seed = code.seed & ((std::uint64_t{1} << SeedBits(tier)) - 1);
    const Wide low = tier == 0 ? 0 : Wide{1} << (tier - 1);
    Wide value =
        TierStart(tier) + (Wide{seed} * TierCount(tier) + (room - low)) * kFields + *fields;
    std::vector<int> digits(kCheckedSheetCodeLength - 2);
    for (std::size_t i = digits.size(); i-- > 0;) {
        digits[i] = static_cast<int>(value % kBase);
        value /= kBase;
    }
    AppendCheckPair(digits);
    std::string text;
    for (int d : digits) text += kSheetCodeAlphabet[static_cast<std::size_t>(d)];
    return Grouped(text, 4);
}

// The earlier format a code read from one is written in again; nullptr for the checked one,
// which also takes a code whose fields no longer fit its own.
const Format* EarlierFormat(const SheetCode& code) {
    const Format* f = code.format == SheetCodeFormat::Short  ? &kShort
                      : code.format == SheetCodeFormat::Long ? &kLong
                                                             : nullptr;
    return f && Fits(code, *f) ? f : nullptr;
}

}  // namespace

std::uint32_t CodeSeed(const SheetCode& code) {
    const Format* earlier = EarlierFormat(code);
    if (earlier) return static_cast<std::uint32_t>(code.seed % SeedRadix(*earlier));
    const int bits = SeedBits(TierOf(code));
    return static_cast<std::uint32_t>(code.seed & ((std::uint64_t{1} << bits) - 1));
}

SheetCode WithCodeSeed(SheetCode code) {
    code.seed = CodeSeed(code);
    return code;
}

std::string EncodeSheetCode(const SheetCode& code) {
    if (!InRange(code)) return {};
    const Format* earlier = EarlierFormat(code);
    return earlier ? Encode(code, *earlier) : EncodeChecked(code);
}

namespace {

const std::string kNotOurs = "Ce code n'a pas \xE9t\xE9 fait par Equat : v\xE9rifiez le code.";
const std::string kTypo =
    "Ce code contient une faute de frappe : v\xE9rifiez-le caract\xE8re par caract\xE8re.";

constexpr std::uint64_t kAllDrawBits = kSheetCodeDrawBits | kSheetCodeMoreKindBits;

// The flags this program builds, with the kinds of a mix beyond the first three it has.
std::uint64_t KnownFlags() {
    DrawChoices all;
    all.mixedKinds = (1u << kKindCount) - 1;
    return kKnownSheetCodeFlags | (DrawChoicesFlags(all) & kSheetCodeMoreKindBits);
}

std::uint32_t LayoutBits(const SheetCode& code) {
    return static_cast<std::uint32_t>(code.flags & kSheetCodeLayoutBits);
}

// A code of the first six fields {version, kind, level - 1, count - 1, interline, style}.
SheetCode CodeOfFields(const std::uint64_t* v) {
    SheetCode code;
    code.version = static_cast<int>(v[0]);
    code.kind = v[1] < static_cast<std::uint64_t>(kKindCount) ? kSheetKinds[v[1]].name : "";
    code.level = static_cast<int>(v[2]) + 1;
    code.count = static_cast<int>(v[3]) + 1;
    code.interline = static_cast<int>(v[4]);
    code.keyStyle = static_cast<KeyStyle>(v[5]);
    return code;
}

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
        *error = kTypo;
        return std::nullopt;
    }
    if (tooLarge || value / Combinations(f) >= SeedRadix(f)) {
        *error = kNotOurs;
        return std::nullopt;
    }
    auto fields = static_cast<std::uint64_t>(value % Combinations(f));
    std::array<std::uint64_t, 7> v{};
    for (std::size_t k = v.size(); k-- > 0;) {
        v[k] = fields % f.radices[k];
        fields /= f.radices[k];
    }
    SheetCode code = CodeOfFields(v.data());
    code.seed = static_cast<std::uint32_t>(value / Combinations(f));
    code.flags = v[6];
    code.format = f.length == kLongSheetCodeLength ? SheetCodeFormat::Long : SheetCodeFormat::Short;
    return code;
}

// The seed, the fields and the room of a clean checked code, its checks verified.
std::optional<SheetCode> DecodeChecked(const std::string& clean, std::string* error) {
    std::vector<int> digits;
    Wide value = 0;
    for (char c : clean) digits.push_back(DigitOf(c));
    for (std::size_t i = 0; i + 2 < digits.size(); ++i)
        value = value * kBase + static_cast<std::uint64_t>(digits[i]);
    if (CheckSums(digits) != std::array<std::uint64_t, 2>{0, 0}) {
        *error = kTypo;
        return std::nullopt;
    }
    int tier = 0;
    while (tier <= kRoomBits && value >= TierStart(tier + 1)) ++tier;
    if (tier > kRoomBits) {
        *error = kNotOurs;
        return std::nullopt;
    }
    value -= TierStart(tier);
    const Wide perSeed = TierCount(tier) * kFields;
    const auto room = static_cast<std::uint64_t>(value % perSeed / kFields) +
                      (tier == 0 ? 0 : std::uint64_t{1} << (tier - 1));
    auto fields = static_cast<std::uint64_t>(value % kFields);
    std::array<std::uint64_t, 9> v{};
    for (std::size_t k = v.size(); k-- > 0;) {
        v[k] = fields % kCheckedRadices[k];
        fields /= kCheckedRadices[k];
    }
    SheetCode code = CodeOfFields(v.data());
    code.seed = static_cast<std::uint32_t>(value / perSeed);
    code.flags = Scatter(v[6], kPlainBits) | Scatter(v[7], kMixBits) |
                 Scatter(v[8] == 0 ? 0 : 2 * v[8] - 1, kSheetCodeLayoutBits);
    for (int i = 0; i < kRoomBits; ++i) code.flags |= ((room >> i) & 1u) << kRoomFlag[i];
    return code;
}

}  // namespace

std::optional<SheetCode> ReadSheetCode(std::string_view text, std::string* error) {
    const auto clean = CleanCode(text, error);
    if (!clean) return std::nullopt;
    if (clean->size() == kCheckedSheetCodeLength) return DecodeChecked(*clean, error);
    if (clean->size() != kSheetCodeLength && clean->size() != kLongSheetCodeLength) {
        *error = "Un code a " + std::to_string(kCheckedSheetCodeLength) +
                 " caract\xE8res en quatre groupes (ou " + std::to_string(kSheetCodeLength) +
                 ", ou " + std::to_string(kLongSheetCodeLength) +
                 " en trois groupes, s'il est plus ancien) ; celui-ci en a " +
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
        static_cast<int>(code->keyStyle) >= kKeyStyleCount || (code->flags & ~KnownFlags()) != 0 ||
        !LayoutOfFlags(LayoutBits(*code))) {
        *error =
            "Ce code vient d'une version plus r\xE9"
            "cente d'Equat : mettez le programme \xE0 jour.";
        return std::nullopt;
    }
    const auto draw = DrawChoicesFromFlags(code->flags & kAllDrawBits);
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
    base.draw = DrawChoicesFromFlags(code.flags & kAllDrawBits).value_or(DrawChoices{});
    // A code without a layout rebuilds its mathematics in the layout asked for.
    if (code.flags & kSheetCodeLayoutBits)
        base.layout = LayoutOfFlags(LayoutBits(code)).value_or(base.layout);
    base.quiz.on = (code.flags & kSheetCodeQuizBits) != 0;
    base.choiceCount = ChoiceCountOfFlags(code.flags);
    // A code without graphs rebuilds its key with them when asked, as with a layout.
    if (code.flags & kSheetCodeGraphBit) base.graphs = true;
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
