// SPDX-License-Identifier: GPL-3.0-or-later
// Answer keys read the way a student checks them: the values printed after the tab gap
// must satisfy the equation, and a verdict must stand exactly where the equation or
// system has no single solution. Thousands of whole sheets per kind and level.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numeric>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/equat1d.h"
#include "core/equat2d.h"
#include "core/exactkey.h"
#include "core/keymarkup.h"
#include "core/markup.h"
#include "core/numbertext.h"
#include "core/sheet.h"
#include "core/syst.h"
#include "core_test_helpers.h"

namespace equat {
namespace {

constexpr std::uint32_t kSheets = 1500;  // per level, 40 questions each

// The text a reader sees in an RTF piece: control words, their delimiting space and
// braces dropped.
std::string PlainText(std::string_view rtf) {
    std::string out;
    for (std::size_t k = 0; k < rtf.size(); ++k) {
        const char c = rtf[k];
        if (c == '{' || c == '}') continue;
        if (c != '\\') {
            out += c;
            continue;
        }
        ++k;
        while (k < rtf.size() &&
               (std::isalpha(static_cast<unsigned char>(rtf[k])) ||
                std::isdigit(static_cast<unsigned char>(rtf[k])) || rtf[k] == '-'))
            ++k;
        if (k < rtf.size() && rtf[k] != ' ') --k;
    }
    return out;
}

// The answer parts of question i: what follows the last tab of its paragraph, as text.
struct KeyLine {
    std::vector<std::string> values;  // the word after each "= "
    std::string text;
    std::string statement;  // the question as the subject shows it, as text
};

// Splits a generated answer key into its questions (each starts with the separator line).
std::vector<KeyLine> ReadKey(const Sheet& sheet) {
    const std::string separator = MarkupToRtf(SheetSettings{}.separator + "<br>");
    std::vector<KeyLine> lines(1);
    std::size_t at = sheet.answerKey.find(separator);
    while (at != std::string::npos) {
        const std::size_t begin = at + separator.size();
        at = sheet.answerKey.find(separator, begin);
        const std::string_view question =
            std::string_view(sheet.answerKey)
                .substr(begin, at == std::string::npos ? at : at - begin);
        KeyLine line;
        line.text = PlainText(question.substr(question.rfind("\\tab ") + 5));
        for (auto eq = line.text.find("= "); eq != std::string::npos;
             eq = line.text.find("= ", eq + 1)) {
            const auto start = line.text.find_first_not_of(' ', eq + 1);
            line.values.push_back(line.text.substr(start, line.text.find(' ', start) - start));
        }
        lines.push_back(line);
    }
    return lines;
}

double Number(const std::string& text) {
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    EXPECT_TRUE(!text.empty() && *end == '\0') << "not a number: " << text;
    return v;
}

bool Has(const std::string& text, std::string_view what) {
    return text.find(what) != std::string::npos;
}

// Every question of thousands of sheets per level, with its line in the decimal key and in
// the exact key of the same draws (whose subject must not change).
template <class Kind, class Check>
void ForEachQuestion(Check check) {
    for (int level = 1; level <= 3; ++level) {
        for (std::uint32_t seed = 0; seed < kSheets; ++seed) {
            Kind kind;
            SheetSettings settings;
            settings.level = level;
            settings.count = kMaxQuestions;
            RandomSource exactRng(seed * 2654435761u + static_cast<std::uint32_t>(level));
            RandomSource rng = exactRng;
            settings.keyStyle = KeyStyle::Exact;
            const Sheet exactSheet = BuildSheet(kind, exactRng, settings);
            settings.keyStyle = KeyStyle::Decimal;
            const Sheet sheet = BuildSheet(kind, rng, settings);
            ASSERT_EQ(sheet.subject, exactSheet.subject);
            auto lines = ReadKey(sheet);
            const auto exactLines = ReadKey(exactSheet);
            ASSERT_EQ(lines.size(), kMaxQuestions + 1u);
            ASSERT_EQ(exactLines.size(), kMaxQuestions + 1u);
            for (std::size_t i = 1; i <= kMaxQuestions; ++i) {
                lines[i].statement = PlainText(SubjectBody(kind, static_cast<int>(i)));
                check(level, kind.question(static_cast<int>(i)), lines[i], exactLines[i]);
            }
            if (::testing::Test::HasFailure()) return;
        }
    }
}

// A decimal text as a rational, and how many decimals it has.
Rational DecimalValue(const std::string& text, int& decimals) {
    const auto point = text.find('.');
    decimals = point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
    std::string digits = text;
    if (point != std::string::npos) digits.erase(point, 1);
    std::int64_t scale = 1;
    for (int k = 0; k < decimals; ++k) scale *= 10;
    return {std::stoll(digits), scale};
}

// `text` is x rounded half away from zero to its own number of decimals: within half a
// unit of its last place, a tie going to the larger size; returns that rational.
Rational ExpectRoundingOf(const Surd& x, const std::string& text, int& decimals) {
    const Rational t = DecimalValue(text, decimals);
    std::int64_t scale = 1;
    for (int k = 0; k < decimals; ++k) scale *= 10;
    const Surd half(Rational(1, 2 * scale));
    const Surd size = x.Sign() < 0 ? -x : x, shown = t.Sign() < 0 ? -t : t;
    EXPECT_TRUE(t.Sign() == 0 || t.Sign() == x.Sign()) << text;
    EXPECT_TRUE(shown - half <= size && size < shown + half) << text << " for " << ExactText(x);
    return t;
}

// An exact value of a key: in lowest terms, and shown in the exact key as the exact text,
// then for a non-integer " = " and its decimal when it has at most two decimals, else
// " ≈ " and its rounding, to two decimals (as the decimal key) or, for a small non-zero
// value, to two significant digits.
void ExpectExactShown(const Surd& x, const std::string& decimal, const std::string& exactLine,
                      std::size_t& at) {
    EXPECT_GT(x.d(), 0);
    EXPECT_EQ(std::gcd(std::gcd(x.a(), x.b()), x.d()), 1);
    for (std::int64_t p = 2; p * p <= x.c(); ++p) EXPECT_NE(x.c() % (p * p), 0) << x.c();
    EXPECT_EQ(x.IsRational(), x.c() == 1);
    std::string shown = ExactText(x, "\xD6");
    int decimals = 0;
    const Rational rounded = ExpectRoundingOf(x, decimal, decimals);
    EXPECT_LE(decimals, 2) << decimal;
    if (x.IsInteger()) {
        EXPECT_EQ(shown, decimal);
    }
    std::string rtf;
    AppendExactKeyRtf(rtf, x);
    EXPECT_EQ(rtf, MarkupToRtf(ExactKeyMarkup(x)));
    at = exactLine.find("= " + shown + " ", at);
    ASSERT_NE(at, std::string::npos) << shown << " in " << exactLine;
    if (x.IsInteger()) return;
    const std::size_t sign = at + 2 + shown.size() + 1, value = sign + 2;
    ASSERT_LT(value, exactLine.size()) << exactLine;
    const std::string written = exactLine.substr(value, exactLine.find(' ', value) - value);
    const Rational v = ExpectRoundingOf(x, written, decimals);
    EXPECT_EQ(exactLine[sign] == '=', Surd(v) == x) << exactLine;
    EXPECT_TRUE(exactLine[sign] == '=' || exactLine[sign] == '\xBB') << exactLine;
    if (decimals > 2) {
        // More digits only where two decimals would read 0, and then two significant ones
        // at most.
        EXPECT_EQ(decimal, "0") << exactLine;
        const std::string digits = written.substr(written.find_first_not_of("-0."));
        EXPECT_LE(digits.size(), 2u) << exactLine;  // a trailing zero is left out
    } else {
        EXPECT_EQ(v, rounded) << exactLine;
    }
}

struct Affine {
    std::int64_t p, q;  // p x + q
};

// A side of a first-degree equation read as the student reads it: integers, x, brackets,
// + and -, a factor written before a bracket or x multiplying it. Nothing when the text is
// not such a side, or is not first degree.
class SideReader {
  public:
    explicit SideReader(std::string_view text) : s_(text) {}
    std::optional<Affine> Read() {
        const auto side = Sum();
        Skip();
        return k_ == s_.size() ? side : std::nullopt;
    }

  private:
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
    void Skip() {
        while (k_ < s_.size() && s_[k_] == ' ') ++k_;
    }
    bool At(char c) {
        Skip();
        return k_ < s_.size() && s_[k_] == c;
    }
    std::optional<Affine> Sum() {
        auto side = Product();
        while (side && (At('+') || At('-'))) {
            const std::int64_t sign = s_[k_++] == '+' ? 1 : -1;
            const auto term = Product();
            if (!term) return std::nullopt;
            side = Affine{side->p + sign * term->p, side->q + sign * term->q};
        }
        return side;
    }
    std::optional<Affine> Product() {
        auto product = Factor();
        while (product && (At('(') || At('x') || (k_ < s_.size() && IsDigit(s_[k_])))) {
            const auto f = Factor();
            if (!f || (product->p != 0 && f->p != 0)) return std::nullopt;
            product = Affine{product->p * f->q + product->q * f->p, product->q * f->q};
        }
        return product;
    }
    std::optional<Affine> Factor() {
        if (At('-')) {
            ++k_;
            const auto f = Factor();
            return f ? std::optional(Affine{-f->p, -f->q}) : std::nullopt;
        }
        if (At('x')) return ++k_, Affine{1, 0};
        if (At('(')) {
            ++k_;
            const auto inner = Sum();
            if (!inner || !At(')')) return std::nullopt;
            return ++k_, inner;
        }
        std::int64_t n = 0;
        const std::size_t start = k_;
        for (; k_ < s_.size() && IsDigit(s_[k_]); ++k_) n = n * 10 + (s_[k_] - '0');
        return k_ > start ? std::optional(Affine{0, n}) : std::nullopt;
    }
    std::string_view s_;
    std::size_t k_ = 0;
};

TEST(AnswerKeys, FirstDegreeValuesSolveTheirEquation) {
    ForEachQuestion<FirstDegreeKind>([](int level, const FirstDegreeQuestion& q,
                                        const KeyLine& line, const KeyLine& exactLine) {
        const std::string& eq = line.statement;
        const auto equals = eq.find('=');
        ASSERT_NE(equals, std::string::npos) << eq;
        const auto l = SideReader(std::string_view(eq).substr(0, equals)).Read();
        const auto r = SideReader(std::string_view(eq).substr(equals + 1)).Read();
        ASSERT_TRUE(l && r) << eq;
        const std::int64_t d = l->p - r->p, n = r->q - l->q;  // d x = n
        ASSERT_EQ(line.values.size(), 1u) << line.text;
        const std::string& x = line.values[0];
        const auto exact = FirstDegreeExactSolution(level, q);
        EXPECT_EQ(exact.has_value(), d != 0);
        if (d == 0) {
            EXPECT_EQ(x, n == 0 ? "?" : "/") << line.text;
            EXPECT_TRUE(Has(line.text, n == 0 ? "infinit\xE9" : "aucune solution")) << line.text;
            EXPECT_EQ(exactLine.text, line.text);
            return;
        }
        ASSERT_TRUE(exact);
        EXPECT_EQ(Rational(l->p) * *exact + l->q, Rational(r->p) * *exact + r->q);
        std::size_t at = 0;
        ExpectExactShown(*exact, x, exactLine.text, at);
        EXPECT_NEAR(static_cast<double>(d) * Number(x), static_cast<double>(n),
                    std::abs(static_cast<double>(d)) * 0.005 + 1e-9)
            << line.text;
    });
}

TEST(AnswerKeys, SecondDegreeRootsSolveTheirEquation) {
    ForEachQuestion<SecondDegreeKind>(
        [](int level, const QuadraticQuestion& q, const KeyLine& line, const KeyLine& exactLine) {
            const auto& s = q.slots;
            const double a = s[0] - s[3], b = s[1] - s[4], c = s[2] - s[5];
            ASSERT_EQ(line.values.size(), 3u) << line.text;  // delta, x1, x2
            const double delta = b * b - 4 * a * c;
            EXPECT_EQ(Number(line.values[0]), delta) << line.text;
            const auto exact = QuadraticExactRoots(level, q);
            EXPECT_EQ(exact.has_value(), delta >= 0);
            if (delta < 0) {
                EXPECT_EQ(line.values[1], "/");
                EXPECT_EQ(line.values[2], "/");
                EXPECT_EQ(exactLine.text, line.text);
                return;
            }
            ASSERT_TRUE(exact);
            std::size_t at = 0;
            // At level 1 the decimal key gives the roots in the order they were drawn.
            const bool swapped = level == 1 && line.values[1] != ExactText(exact->first);
            for (const auto& [root, decimal] :
                 {std::pair{exact->first, line.values[swapped ? 2 : 1]},
                  std::pair{exact->second, line.values[swapped ? 1 : 2]}}) {
                const Surd sa(static_cast<std::int64_t>(a)), sb(static_cast<std::int64_t>(b)),
                    sc(static_cast<std::int64_t>(c));
                EXPECT_EQ(sa * root * root + sb * root + sc, Surd());
                ExpectExactShown(root, decimal, exactLine.text, at);
            }
            EXPECT_EQ(exact->first == exact->second, delta == 0);
            const double x1 = Number(line.values[1]), x2 = Number(line.values[2]);
            for (double x : {x1, x2}) {
                // A value within 0.005 of a root leaves at most this much.
                const double slack = 0.005 * (std::abs(2 * a * x + b) + std::abs(a) * 0.01) + 1e-9;
                EXPECT_NEAR(a * x * x + b * x + c, 0.0, slack) << line.text;
            }
            EXPECT_NEAR(x1 + x2, -b / a, 0.0101) << line.text;  // both roots, not one twice
        });
}

TEST(AnswerKeys, SystemValuesSolveBothEquations) {
    ForEachQuestion<SystemKind>(
        [](int level, const SystemQuestion& q, const KeyLine& line, const KeyLine& exactLine) {
            struct Eq {
                std::int64_t a, b, c;
            };
            auto reduce = [&](const EquationSlots& s) -> Eq {
                if (level < 3) return {s[0], s[1], s[2]};
                if (q.form == 0) return {s[0] - s[3], s[1] - s[4], s[5] - s[2]};
                return {std::int64_t{s[0]} * s[1] - std::int64_t{s[4]} * s[5],
                        std::int64_t{s[0]} * s[2] - std::int64_t{s[4]} * s[6], s[7] - s[3]};
            };
            const Eq e1 = reduce(q.eq1), e2 = reduce(q.eq2);
            ASSERT_EQ(line.values.size(), 2u) << line.text;  // x, y
            const std::int64_t d = e1.a * e2.b - e1.b * e2.a;
            if (d == 0) {
                const bool indeterminate = e1.c * e2.b == e1.b * e2.c && e1.a * e2.c == e1.c * e2.a;
                const std::string verdict = indeterminate ? "?" : "/";
                EXPECT_EQ(line.values[0], verdict) << line.text;
                EXPECT_EQ(line.values[1], verdict) << line.text;
                EXPECT_TRUE(Has(line.text, indeterminate ? "ind\xE9termin\xE9" : "impossible"))
                    << line.text;
                EXPECT_FALSE(SystemExactSolution(level, q));
                EXPECT_EQ(exactLine.text, line.text);
                return;
            }
            const auto exact = SystemExactSolution(level, q);
            ASSERT_TRUE(exact);
            for (const Eq& e : {e1, e2})
                EXPECT_EQ(Rational(e.a) * exact->x + Rational(e.b) * exact->y, Rational(e.c));
            std::size_t at = 0;
            ExpectExactShown(exact->x, line.values[0], exactLine.text, at);
            ExpectExactShown(exact->y, line.values[1], exactLine.text, at);
            const double x = Number(line.values[0]), y = Number(line.values[1]);
            for (const Eq& e : {e1, e2}) {
                const double slack = (std::abs(e.a) + std::abs(e.b)) * 0.005 + 1e-9;
                EXPECT_NEAR(e.a * x + e.b * y, e.c, slack) << line.text;
            }
            EXPECT_FALSE(Has(line.text, "Syst\xE8me")) << line.text;
        });
}

}  // namespace
}  // namespace equat

namespace equat {
namespace {

// With the decimal comma, a sheet differs from the same sheet without it only where a
// point stood between two digits of a question, and no such point is left.
template <class Kind>
void ExpectCommaOnlyInDecimals(long& decimals) {
    for (KeyStyle style : {KeyStyle::Decimal, KeyStyle::Exact, KeyStyle::Detailed}) {
        for (int level = 1; level <= 3; ++level) {
            for (std::uint32_t seed = 1; seed <= 20; ++seed) {
                SheetSettings s;
                s.level = level;
                s.count = kMaxQuestions;
                s.keyStyle = style;
                Kind kind;
                RandomSource rng(seed);
                const Sheet point = BuildSheet(kind, rng, s);
                s.decimalComma = true;
                RandomSource again(seed);
                const Sheet comma = BuildSheet(kind, again, s);
                EXPECT_EQ(comma.subject, point.subject);
                ASSERT_EQ(comma.answerKey.size(), point.answerKey.size());
                const std::string& p = point.answerKey;
                const std::string& c = comma.answerKey;
                const auto digit = [](char ch) { return ch >= '0' && ch <= '9'; };
                for (std::size_t k = 1; k + 1 < c.size(); ++k) {
                    const bool between = digit(c[k - 1]) && digit(c[k + 1]);
                    EXPECT_FALSE(between && c[k] == '.') << c.substr(k - 20, 40);
                    if (c[k] == p[k]) continue;
                    EXPECT_TRUE(between && p[k] == '.' && c[k] == ',') << c.substr(k - 20, 40);
                    ++decimals;
                }
            }
        }
    }
}

TEST(AnswerKeys, DecimalCommaChangesOnlyTheDecimals) {
    long decimals = 0;
    ExpectCommaOnlyInDecimals<FirstDegreeKind>(decimals);
    ExpectCommaOnlyInDecimals<SecondDegreeKind>(decimals);
    ExpectCommaOnlyInDecimals<SystemKind>(decimals);
    EXPECT_GT(decimals, 1000);
}

}  // namespace
}  // namespace equat
