// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/exact.h"

#include <cmath>
#include <limits>
#include <numeric>
#include <stdexcept>

#include "core/numbertext.h"

namespace equat {

namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();

[[noreturn]] void Overflow() {
    throw std::overflow_error("exact arithmetic: 64-bit overflow");
}

// The results never reach INT64_MIN, so that negation and std::gcd stay defined.
std::int64_t Add(std::int64_t x, std::int64_t y) {
    if ((y > 0 && x > kMax - y) || (y < 0 && x < -kMax - y)) Overflow();
    return x + y;
}

std::int64_t Sub(std::int64_t x, std::int64_t y) {
    return Add(x, -y);
}

std::int64_t Mul(std::int64_t x, std::int64_t y) {
    if (x == 0 || y == 0) return 0;
    const std::int64_t ax = x < 0 ? -x : x, ay = y < 0 ? -y : y;
    if (ax > kMax / ay) Overflow();
    return x * y;
}

std::int64_t Checked(std::int64_t x) {
    if (x == std::numeric_limits<std::int64_t>::min()) Overflow();
    return x;
}

int SignOf(std::int64_t v) {
    return (v > 0) - (v < 0);
}

}  // namespace

// --- Rational ---------------------------------------------------------------------

Rational::Rational(std::int64_t n) : num_(Checked(n)) {}

Rational::Rational(std::int64_t n, std::int64_t d) : num_(Checked(n)), den_(Checked(d)) {
    if (den_ == 0) throw std::domain_error("exact arithmetic: zero denominator");
    if (den_ < 0) {
        num_ = -num_;
        den_ = -den_;
    }
    const std::int64_t g = std::gcd(num_, den_);
    num_ /= g;
    den_ /= g;
}

double Rational::ToDouble() const {
    return static_cast<double>(num_) / static_cast<double>(den_);
}

Rational operator-(const Rational& x) {
    Rational r;
    r.num_ = -x.num_;
    r.den_ = x.den_;
    return r;
}

Rational operator+(const Rational& x, const Rational& y) {
    // Over the least common denominator, so that sums of small fractions stay small.
    const std::int64_t g = std::gcd(x.den_, y.den_);
    const std::int64_t n = Add(Mul(x.num_, y.den_ / g), Mul(y.num_, x.den_ / g));
    return {n, Mul(x.den_ / g, y.den_)};
}

Rational operator-(const Rational& x, const Rational& y) {
    return x + -y;
}

Rational operator*(const Rational& x, const Rational& y) {
    // Cross-cancel first: the product is then already in lowest terms.
    const std::int64_t g1 = std::gcd(x.num_, y.den_), g2 = std::gcd(y.num_, x.den_);
    return {Mul(x.num_ / g1, y.num_ / g2), Mul(x.den_ / g2, y.den_ / g1)};
}

Rational operator/(const Rational& x, const Rational& y) {
    if (y.num_ == 0) throw std::domain_error("exact arithmetic: division by zero");
    return x * Rational(y.den_, y.num_);
}

std::strong_ordering operator<=>(const Rational& x, const Rational& y) {
    return (x - y).Sign() <=> 0;
}

// --- Surd -------------------------------------------------------------------------

namespace {

bool IsSquare(std::int64_t r, std::int64_t& root) {
    root = static_cast<std::int64_t>(std::sqrt(static_cast<double>(r)));
    while (root > 0 && root > r / root) --root;   // the double may be one too high
    while ((root + 1) <= r / (root + 1)) ++root;  // or one too low
    return root * root == r;
}

// Largest k with k² dividing r, and the square-free rest r / k²; r >= 0. Once the primes
// up to the cube root of the unfactored part m are divided out, m has at most two prime
// factors, so it is square-free unless it is itself a square.
void SplitSquare(std::int64_t r, std::int64_t& k, std::int64_t& rest) {
    std::int64_t root = 0;
    if (IsSquare(r, root)) {  // rational roots: no factoring
        k = root;
        rest = r == 0 ? 0 : 1;
        return;
    }
    k = 1;
    rest = 1;
    std::int64_t m = r;
    for (std::int64_t p = 2; p <= m / p / p; p += 1 + (p > 2)) {
        bool odd = false;
        while (m % p == 0) {
            m /= p;
            odd = !odd;
            if (!odd) k = Mul(k, p);
        }
        if (odd) rest *= p;  // rest * p divides r
    }
    if (IsSquare(m, root)) {
        k = Mul(k, root);
    } else {
        rest *= m;
    }
    if (r == 0) rest = 0;
}

}  // namespace

Surd::Surd(const Rational& r) : a_(r.num()), d_(r.den()) {}

Surd::Surd(std::int64_t a, std::int64_t b, std::int64_t r, std::int64_t d) {
    if (r < 0) throw std::domain_error("exact arithmetic: square root of a negative number");
    std::int64_t k = 1, c = 1;
    if (b != 0) SplitSquare(r, k, c);
    b = Mul(Checked(b), k);
    if (c <= 1) {  // a perfect square (or none at all): rational
        a = Add(Checked(a), Mul(b, c));
        b = 0;
    }
    *this = Reduced(a, b, c, d);
}

Surd Surd::Reduced(std::int64_t a, std::int64_t b, std::int64_t c, std::int64_t d) {
    if (d == 0) throw std::domain_error("exact arithmetic: zero denominator");
    Checked(a);
    Checked(b);
    Checked(d);
    if (d < 0) {
        a = -a;
        b = -b;
        d = -d;
    }
    const std::int64_t g = std::gcd(std::gcd(a, b), d);
    Surd x;
    x.a_ = a / g;
    x.b_ = b / g;
    x.c_ = b == 0 ? 1 : c;
    x.d_ = d / g;
    return x;
}

int Surd::Sign() const {
    const int sa = SignOf(a_), sb = SignOf(b_);
    if (sa == sb || sb == 0) return sa;
    if (sa == 0) return sb;
    // Opposite signs: the larger of a² and b²c wins (never equal, c is no square).
    return Mul(a_, a_) > Mul(Mul(b_, b_), c_) ? sa : sb;
}

double Surd::ToDouble() const {
    return (static_cast<double>(a_) +
            static_cast<double>(b_) * std::sqrt(static_cast<double>(c_))) /
           static_cast<double>(d_);
}

namespace {

std::int64_t CommonRadicand(const Surd& x, const Surd& y) {
    if (x.IsRational()) return y.c();
    if (y.IsRational() || x.c() == y.c()) return x.c();
    throw std::domain_error("exact arithmetic: different radicands");
}

}  // namespace

Surd operator-(const Surd& x) {
    Surd y = x;
    y.a_ = -x.a_;
    y.b_ = -x.b_;
    return y;
}

Surd operator+(const Surd& x, const Surd& y) {
    const std::int64_t c = CommonRadicand(x, y);
    const std::int64_t g = std::gcd(x.d_, y.d_);
    const std::int64_t mx = y.d_ / g, my = x.d_ / g;
    return Surd::Reduced(Add(Mul(x.a_, mx), Mul(y.a_, my)), Add(Mul(x.b_, mx), Mul(y.b_, my)), c,
                         Mul(x.d_, mx));
}

Surd operator-(const Surd& x, const Surd& y) {
    return x + -y;
}

Surd operator*(const Surd& x, const Surd& y) {
    const std::int64_t c = CommonRadicand(x, y);
    const std::int64_t a = Add(Mul(x.a_, y.a_), Mul(Mul(x.b_, y.b_), c));
    const std::int64_t b = Add(Mul(x.a_, y.b_), Mul(x.b_, y.a_));
    return Surd::Reduced(a, b, c, Mul(x.d_, y.d_));
}

Surd operator/(const Surd& x, const Surd& y) {
    // d / (a + b√c) = d (a − b√c) / (a² − b²c); the norm is 0 only for y = 0.
    const std::int64_t norm = Sub(Mul(y.a_, y.a_), Mul(Mul(y.b_, y.b_), y.c_));
    if (norm == 0) throw std::domain_error("exact arithmetic: division by zero");
    return x * Surd::Reduced(Mul(y.d_, y.a_), -Mul(y.d_, y.b_), y.c_, norm);
}

std::strong_ordering operator<=>(const Surd& x, const Surd& y) {
    return (x - y).Sign() <=> 0;
}

SurdPair QuadraticRoots(std::int64_t a, std::int64_t b, std::int64_t c) {
    if (a == 0) throw std::domain_error("exact arithmetic: not a quadratic");
    const std::int64_t delta = Sub(Mul(b, b), Mul(Mul(4, a), c));
    if (delta < 0) throw std::domain_error("exact arithmetic: no real root");
    const std::int64_t twoA = Mul(2, a);
    std::int64_t k = 1, r = 1;
    SplitSquare(delta, k, r);  // once for both roots
    if (r <= 1) return {Surd::Reduced(k - b, 0, 1, twoA), Surd::Reduced(-b - k, 0, 1, twoA)};
    return {Surd::Reduced(-b, k, r, twoA), Surd::Reduced(-b, -k, r, twoA)};
}

// --- Texts ------------------------------------------------------------------------

namespace {

std::int64_t PowerOfTen(int n) {
    std::int64_t p = 1;
    for (int k = 0; k < n; ++k) p = Mul(p, 10);
    return p;
}

}  // namespace

std::string RoundedText(const Surd& x, int decimals) {
    const std::int64_t scale = PowerOfTen(decimals);
    const Surd scaled = (x.Sign() < 0 ? -x : x) * Surd(scale);
    // The double gives the count of units to within one; exact comparisons settle it, so
    // that a value on a half (-7/40 = -0.175) rounds away from zero.
    auto units = static_cast<std::int64_t>(std::llround(scaled.ToDouble()));
    while (units > 0 && scaled < Surd(Rational(Sub(Mul(2, units), 1), 2))) --units;
    while (!(scaled < Surd(Rational(Add(Mul(2, units), 1), 2)))) ++units;
    std::string text;
    if (units != 0 && x.Sign() < 0) text += '-';
    AppendDecimal(text, units / scale);
    std::int64_t rest = units % scale;
    int digits = decimals;
    while (digits > 0 && rest % 10 == 0) {
        rest /= 10;
        --digits;
    }
    if (digits > 0) {
        const std::string tail = DecimalText(rest);
        text += '.';
        text.append(static_cast<std::size_t>(digits) - tail.size(), '0');
        text += tail;
    }
    return text;
}

bool HasAtMostDecimals(const Surd& x, int decimals) {
    return x.IsRational() && PowerOfTen(decimals) % x.d() == 0;
}

void AppendExactText(std::string& out, const Rational& x) {
    AppendDecimal(out, x.num());
    if (!x.IsInteger()) {
        out += '/';
        AppendDecimal(out, x.den());
    }
}

void AppendExactText(std::string& out, const Surd& x, std::string_view root) {
    if (x.IsRational()) {
        AppendExactText(out, x.RationalPart());
        return;
    }
    const bool fraction = x.d() != 1;
    if (x.a() == 0) {
        if (x.b() < 0) out += '-';
    } else {
        if (fraction) out += '(';
        AppendDecimal(out, x.a());
        out += x.b() < 0 ? " - " : " + ";
    }
    // |b|√c, the coefficient 1 left out.
    const std::int64_t b = x.b() < 0 ? -x.b() : x.b();
    if (b != 1) AppendDecimal(out, b);
    out += root;
    AppendDecimal(out, x.c());
    if (x.a() != 0 && fraction) out += ')';
    if (fraction) {
        out += '/';
        AppendDecimal(out, x.d());
    }
}

std::string ExactText(const Rational& x) {
    std::string s;
    AppendExactText(s, x);
    return s;
}

std::string ExactText(const Surd& x, std::string_view root) {
    std::string s;
    AppendExactText(s, x, root);
    return s;
}

}  // namespace equat
