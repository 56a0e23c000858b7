// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Exact arithmetic for answer keys: rationals and quadratic surds on 64-bit integers.
//
// Every operation checks for overflow and throws std::overflow_error rather than give a
// wrong value; division by zero throws std::domain_error. Values are always kept in
// lowest terms, so equal values have equal representations and == compares fields.
//
// Why 64 bits is plenty for the sheets (every coefficient is a drawn slot):
//   - first degree: each side is P x + Q with |P|, |Q| <= 29·29 + 2·29 < 2^10, so the
//     solution N / D has |N|, |D| < 2^11;
//   - second degree: |A| <= 88, |B| <= 19·38 < 2^10, |C| <= 19·19·19 < 2^13 (level 1
//     builds B and C from its roots), so |Δ| < 2^21 and the roots (−B ± √Δ) / 2A have
//     every field below 2^11;
//   - systems: reduced coefficients stay below 2·14·14 < 2^9 and right sides below
//     29·19·2 < 2^11, so D, Dx and Dy stay below 2^21.
// Substituting a solution back into its equation multiplies a few such numbers (a surd
// squared: (a + b√c)² = a² + b²c + 2ab√c), which stays far inside 63 bits; the property
// tests do exactly that over thousands of sheets with these checked operations.
#include <compare>
#include <cstdint>
#include <string>
#include <string_view>

namespace equat {

// n / d in lowest terms with d > 0. Numerator and denominator stay within
// ±(2^63 − 1): INT64_MIN never appears, so negation is always safe.
class Rational {
  public:
    constexpr Rational() = default;  // 0
    Rational(std::int64_t n);        // NOLINT(google-explicit-constructor): integers are rationals
    // Throws std::domain_error for d == 0.
    Rational(std::int64_t n, std::int64_t d);

    std::int64_t num() const { return num_; }
    std::int64_t den() const { return den_; }
    bool IsInteger() const { return den_ == 1; }
    int Sign() const { return (num_ > 0) - (num_ < 0); }
    // Nearest double for fields below 2^53 (one correctly rounded division).
    double ToDouble() const;

    friend Rational operator-(const Rational& x);
    friend Rational operator+(const Rational& x, const Rational& y);
    friend Rational operator-(const Rational& x, const Rational& y);
    friend Rational operator*(const Rational& x, const Rational& y);
    friend Rational operator/(const Rational& x, const Rational& y);  // domain_error on 0
    friend bool operator==(const Rational& x, const Rational& y) = default;
    friend std::strong_ordering operator<=>(const Rational& x, const Rational& y);

  private:
    std::int64_t num_ = 0;
    std::int64_t den_ = 1;
};

struct SurdPair;

// (a + b√c) / d with c square-free (c >= 2 when b != 0), gcd(a, b, d) = 1 and d > 0.
// A rational value has b = 0 and c = 1. All fields stay within ±(2^63 − 1).
class Surd {
  public:
    constexpr Surd() = default;                  // 0
    Surd(const Rational& r);                     // NOLINT(google-explicit-constructor)
    Surd(std::int64_t n) : Surd(Rational(n)) {}  // NOLINT(google-explicit-constructor)
    // (a + b√r) / d for any radicand r >= 0: square factors leave the root
    // (√12 = 2√3), a perfect square becomes rational. Throws std::domain_error for
    // r < 0 or d == 0.
    Surd(std::int64_t a, std::int64_t b, std::int64_t r, std::int64_t d);

    std::int64_t a() const { return a_; }
    std::int64_t b() const { return b_; }
    std::int64_t c() const { return c_; }
    std::int64_t d() const { return d_; }
    bool IsRational() const { return b_ == 0; }
    bool IsInteger() const { return b_ == 0 && d_ == 1; }
    Rational RationalPart() const { return {a_, d_}; }  // a / d
    int Sign() const;
    double ToDouble() const;

    // Sums, differences and products need a common radicand (or a rational operand);
    // otherwise they throw std::domain_error. Division rationalises the denominator.
    friend Surd operator-(const Surd& x);
    friend Surd operator+(const Surd& x, const Surd& y);
    friend Surd operator-(const Surd& x, const Surd& y);
    friend Surd operator*(const Surd& x, const Surd& y);
    friend Surd operator/(const Surd& x, const Surd& y);
    friend bool operator==(const Surd& x, const Surd& y) = default;
    // Real order, under the same rule as the sums (a common radicand or a rational side).
    friend std::strong_ordering operator<=>(const Surd& x, const Surd& y);

  private:
    // (a + b√c) / d for a c that is already square-free (or b = 0), in lowest terms.
    static Surd Reduced(std::int64_t a, std::int64_t b, std::int64_t c, std::int64_t d);
    friend SurdPair QuadraticRoots(std::int64_t a, std::int64_t b, std::int64_t c);

    std::int64_t a_ = 0, b_ = 0, c_ = 1, d_ = 1;
};

// The two roots of A x² + B x + C = 0 for A != 0 and Δ = B² − 4AC >= 0, in the order the
// answer keys give them: (−B + √Δ) / 2A first, (−B − √Δ) / 2A second.
struct SurdPair {
    Surd first, second;
};
SurdPair QuadraticRoots(std::int64_t a, std::int64_t b, std::int64_t c);

// Texts as a teacher writes them, minus sign in front: "5", "-7/3". Windows-1252.
std::string ExactText(const Rational& x);
// "1 + √2", "(3 - 2√5)/4", "-√3/2", "2√7", with `root` written where √ stands (the
// Symbol-font markup in the answer keys; "sqrt" by default, for logs and tests).
// A rational value is written as ExactText writes it.
std::string ExactText(const Surd& x, std::string_view root = "sqrt");
// x rounded half away from zero to `decimals` decimals, taken from the exact value, with
// "." as decimal point and no trailing zeros: "-0.18", "2.5", "3", "0" (never "-0").
std::string RoundedText(const Surd& x, int decimals = 2);
// Whether x is a decimal with at most `decimals` decimals (1/2, 3/40 with 3 decimals).
bool HasAtMostDecimals(const Surd& x, int decimals);
// The same, appended.
void AppendExactText(std::string& out, const Rational& x);
void AppendExactText(std::string& out, const Surd& x, std::string_view root = "sqrt");

}  // namespace equat
