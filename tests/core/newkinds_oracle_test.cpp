// SPDX-License-Identifier: GPL-3.0-or-later
// An oracle for the kinds whose keys write a solution set (squares, products, quotients,
// inequations, sign tables): each statement is read back from its atoms into
// P(x) / Q(x) R 0 and solved here in exact arithmetic, with nothing of the kinds' own solving.
// The model's set, values, verdict, sign tables and worked lines must say the same.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <numeric>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "core/drawchoices.h"
#include "core/exact.h"
#include "core/kinds.h"
#include "core/random.h"
#include "core/sheet.h"
#include "core/sheetmodel.h"

#if defined(__SANITIZE_ADDRESS__)
#define ORACLE_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ORACLE_SANITIZED 1
#endif
#endif

namespace equat {
namespace {

#ifdef ORACLE_SANITIZED
constexpr std::uint32_t kSheets = 30;  // per kind and level: the sanitizers are slow
#else
constexpr std::uint32_t kSheets = 300;
#endif

// ---- Polynomials and rational functions with rational coefficients --------------------

using Poly = std::vector<Rational>;  // the coefficient of x^k at k, no zero on top

Poly Trim(Poly p) {
    while (!p.empty() && p.back() == 0) p.pop_back();
    return p;
}
Poly Plus(const Poly& a, const Poly& b, const Rational& k = 1) {  // a + k b
    Poly r(std::max(a.size(), b.size()));
    for (std::size_t i = 0; i < r.size(); ++i)
        r[i] = (i < a.size() ? a[i] : 0) + (i < b.size() ? k * b[i] : Rational(0));
    return Trim(r);
}
Poly Times(const Poly& a, const Poly& b) {
    if (a.empty() || b.empty()) return {};
    Poly r(a.size() + b.size() - 1);
    for (std::size_t i = 0; i < a.size(); ++i)
        for (std::size_t j = 0; j < b.size(); ++j) r[i + j] = r[i + j] + a[i] * b[j];
    return Trim(r);
}
template <class T>
T At(const Poly& p, const T& x) {
    T v = Rational(0);
    for (auto k = p.rbegin(); k != p.rend(); ++k) v = v * x + T(*k);
    return v;
}

struct Fn {  // num / den; never cancelled, so that a forbidden value stays one
    Poly num, den{Rational(1)};
};
Fn Mul(const Fn& a, const Fn& b) {
    return {Times(a.num, b.num), Times(a.den, b.den)};
}
Fn Sum(const Fn& a, const Fn& b, const Rational& k = 1) {  // a + k b
    return {Plus(Times(a.num, b.den), Times(b.num, a.den), k), Times(a.den, b.den)};
}
Fn Const(std::int64_t v) {
    return {Trim({Rational(v)})};
}

// ---- Reading a side from its atoms ------------------------------------------------------

// Terms start at a signed atom; numbers, unknowns and brackets multiply the term; "/" divides
// it by the one factor after it.
class SideReader {
  public:
    explicit SideReader(const WrittenSide& s) : s_(s) {}
    Fn Read() {
        Fn f = Terms();
        if (at_ != s_.size()) throw std::runtime_error("a ')' without '('");
        return f;
    }

  private:
    using K = Atom::Kind;
    Fn Terms() {
        Fn total{{}};
        std::optional<Fn> term;
        const auto times = [&](const Fn& f) { term = term ? Mul(*term, f) : f; };
        while (at_ < s_.size() && s_[at_].kind != K::Close) {
            const Atom& a = s_[at_++];
            // "- x" carries its own sign: after a term it starts one.
            const bool negated = a.kind == K::Unknown && a.look == VarLook::Negated;
            if (a.kind == K::SignedCoef || a.kind == K::SignedTerm || a.kind == K::RoomTerm ||
                (negated && term)) {
                if (term) total = Sum(total, *term);
                term = negated ? std::nullopt : std::optional(Const(a.value));
                if (negated) --at_;
            } else if (a.kind == K::Over) {
                if (!term) throw std::runtime_error("'/' after nothing");
                const Fn d = Factor();
                if (d.num.empty()) throw std::runtime_error("a division by 0");
                term = Mul(*term, Fn{d.den, d.num});
            } else if (a.kind != K::Space) {
                --at_;
                times(Factor());
            }
        }
        return term ? Sum(total, *term) : total;
    }
    Fn Factor() {
        while (at_ < s_.size() && s_[at_].kind == K::Space) ++at_;
        if (at_ == s_.size()) throw std::runtime_error("a side ends on a sign");
        const Atom& a = s_[at_++];
        switch (a.kind) {
            case K::Number:
            case K::LeadCoef:
                return Const(a.value);
            case K::Unknown: {
                if (a.var == Var::Y) throw std::runtime_error("y in an equation in x");
                Poly p(a.var == Var::X2 ? 3 : 2);
                p.back() = a.look == VarLook::Negated ? -1 : 1;
                return {p};
            }
            case K::Open: {
                Fn f = Terms();
                if (at_ == s_.size()) throw std::runtime_error("a '(' without ')'");
                ++at_;
                if (at_ < s_.size() && s_[at_].kind == K::Squared) {
                    ++at_;
                    f = Mul(f, f);
                }
                return f;
            }
            default:
                throw std::runtime_error("an atom out of place");
        }
    }
    const WrittenSide& s_;
    std::size_t at_ = 0;
};

// left − right of the statement's one line.
Fn StatementFn(const Statement& st) {
    if (st.lines.size() != 1) throw std::runtime_error("not one line");
    return Sum(SideReader(st.lines[0].left).Read(), SideReader(st.lines[0].right).Read(), -1);
}

Poly SidePoly(const Side& side) {
    Poly p;
    for (const Term& t : side) {
        if (t.u == Unknown::Y) throw std::runtime_error("y in a side in x");
        Poly m(t.u == Unknown::X2 ? 3 : t.u == Unknown::X ? 2 : 1);
        m.back() = t.coef;
        p = Plus(p, m);
    }
    return p;
}

// ---- Roots ------------------------------------------------------------------------------

// Order of the reals; surds of two radicands are never equal, so their doubles decide.
bool Less(const Surd& a, const Surd& b) {
    if (a.IsRational() || b.IsRational() || a.c() == b.c()) return a < b;
    return a.ToDouble() < b.ToDouble();
}
void SortUnique(std::vector<Surd>& v) {
    std::sort(v.begin(), v.end(), Less);
    v.erase(std::unique(v.begin(), v.end()), v.end());
}

// The polynomial times a rational, its coefficients coprime integers.
std::vector<std::int64_t> Integral(const Poly& p) {
    std::int64_t l = 1, g = 0;
    for (const Rational& c : p) l = std::lcm(l, c.den());
    std::vector<std::int64_t> r;
    for (const Rational& c : p) r.push_back((c * l).num());
    for (std::int64_t c : r) g = std::gcd(g, c);
    for (std::int64_t& c : r) c /= g;
    return r;
}
std::vector<std::int64_t> Divisors(std::int64_t n) {
    std::vector<std::int64_t> d;
    n = n < 0 ? -n : n;
    for (std::int64_t k = 1; k * k <= n; ++k)
        if (n % k == 0) d.insert(d.end(), {k, n / k});
    return d;
}
// A rational root of p by the rational root theorem (p(0) != 0), if any.
std::optional<Rational> RationalRoot(const Poly& p) {
    const auto c = Integral(p);
    for (std::int64_t num : Divisors(c.front()))
        for (std::int64_t den : Divisors(c.back()))
            for (const Rational r : {Rational(num, den), Rational(-num, den)})
                if (At(p, r) == 0) return r;
    return std::nullopt;
}

// The distinct real roots of p (not zero), increasing.
std::vector<Surd> Roots(Poly p) {
    if (p.empty()) throw std::runtime_error("the roots of 0");
    std::vector<Surd> roots;
    while (p.size() > 3 || (p.size() > 1 && p[0] == 0)) {
        std::optional<Rational> r = p[0] == 0 ? Rational(0) : RationalRoot(p);
        if (!r) throw std::runtime_error("a cubic without a rational root");
        roots.push_back(*r);
        Poly q(p.size() - 1);  // p / (x − r), by Horner
        Rational carry = 0;
        for (std::size_t k = p.size() - 1; k-- > 0;) q[k] = carry = p[k + 1] + carry * *r;
        p = q;
    }
    if (p.size() == 2) roots.push_back(-p[0] / p[1]);
    if (p.size() == 3) {
        const auto c = Integral(p);
        const std::int64_t delta = c[1] * c[1] - 4 * c[2] * c[0];
        if (delta == 0) roots.push_back(Rational(-c[1], 2 * c[2]));
        if (delta > 0)
            for (int s : {1, -1}) roots.push_back(Surd(-c[1], s, delta, 2 * c[2]));
    }
    SortUnique(roots);
    return roots;
}

// A rational strictly between two reals (nullopt: infinite), checked exactly.
Rational Between(const std::optional<Surd>& lo, const std::optional<Surd>& hi) {
    if (!lo && !hi) return 0;
    if (!lo) return Rational(static_cast<std::int64_t>(std::floor(hi->ToDouble())) - 1);
    if (!hi) return Rational(static_cast<std::int64_t>(std::ceil(lo->ToDouble())) + 1);
    if (lo->IsRational() && hi->IsRational()) return (lo->RationalPart() + hi->RationalPart()) / 2;
    const double mid = (lo->ToDouble() + hi->ToDouble()) / 2;
    for (std::int64_t q = 1; q <= (1 << 24); q *= 2) {
        const Rational t(static_cast<std::int64_t>(std::floor(mid * static_cast<double>(q))), q);
        if (Less(*lo, t) && Less(t, *hi)) return t;
    }
    throw std::runtime_error("no rational found between two values");
}

// ---- Solving ----------------------------------------------------------------------------

int SignAt(const Poly& p, const Surd& x) {
    return At<Surd>(p, x).Sign();
}
bool Holds(int sign, Relation r) {
    switch (r) {
        case Relation::Eq:
            return sign == 0;
        case Relation::Lt:
            return sign < 0;
        case Relation::Le:
            return sign <= 0;
        case Relation::Gt:
            return sign > 0;
        default:
            return sign >= 0;
    }
}

// Where f R 0 holds, cell by cell: interval 0, value 0, interval 1, ..., interval n.
struct Cells {
    std::vector<Surd> values;
    std::vector<Rational> points;  // one inside each interval
    std::vector<bool> holds;
};
std::vector<Rational> Points(const std::vector<Surd>& v) {
    std::vector<Rational> t;
    for (std::size_t i = 0; i <= v.size(); ++i)
        t.push_back(Between(i ? std::optional(v[i - 1]) : std::nullopt,
                            i < v.size() ? std::optional(v[i]) : std::nullopt));
    return t;
}
Cells Solve(const Fn& f, Relation r, const std::vector<Surd>& forbidden = {}) {
    Cells c;
    c.values = Roots(f.den);
    c.values.insert(c.values.end(), forbidden.begin(), forbidden.end());
    if (!f.num.empty()) {
        const auto roots = Roots(f.num);
        c.values.insert(c.values.end(), roots.begin(), roots.end());
    }
    SortUnique(c.values);
    c.points = Points(c.values);
    for (std::size_t i = 0; i <= c.values.size(); ++i) {
        const Surd t = c.points[i];
        c.holds.push_back(Holds(SignAt(f.num, t) * SignAt(f.den, t), r));
        if (i == c.values.size()) break;
        const Surd& v = c.values[i];
        const bool defined = SignAt(f.den, v) != 0 &&
                             std::find(forbidden.begin(), forbidden.end(), v) == forbidden.end();
        c.holds.push_back(defined && Holds(SignAt(f.num, v), r));
    }
    return c;
}

// The set a teacher writes: values, ∅, ℝ (less the values out of it), or intervals.
SolutionSet SetOf(const Cells& c) {
    using S = SolutionSet::Shape;
    const std::size_t n = c.holds.size();
    const auto bound = [&](std::size_t cell) { return c.values[(cell - 1) / 2]; };
    SolutionSet s;
    bool points = true, allIntervals = true;
    for (std::size_t a = 0; a < n; ++a) {
        if (a % 2 == 0) allIntervals = allIntervals && c.holds[a];
        if (!c.holds[a]) continue;
        std::size_t b = a;
        while (b + 1 < n && c.holds[b + 1]) ++b;
        Interval iv;
        if (a > 0) iv.low = a % 2 ? bound(a) : c.values[a / 2 - 1];
        if (b + 1 < n) iv.high = b % 2 ? bound(b) : c.values[b / 2];
        iv.lowClosed = a % 2 == 1;
        iv.highClosed = b % 2 == 1;
        points = points && a == b && a % 2 == 1;
        s.intervals.push_back(iv);
        a = b;
    }
    if (s.intervals.empty()) return {};
    if (points) {
        s.shape = S::Values;
        for (const Interval& iv : s.intervals) s.values.push_back(*iv.low);
    } else if (allIntervals) {
        s.shape = S::Reals;
        for (std::size_t k = 1; k < n; k += 2)
            if (!c.holds[k]) s.excluded.push_back(bound(k));
    } else {
        s.shape = S::Intervals;
        return s;
    }
    s.intervals.clear();
    return s;
}

// ---- Texts for the messages -------------------------------------------------------------

std::string Text(const SolutionSet& s) {
    using S = SolutionSet::Shape;
    const auto list = [](const std::vector<Surd>& v) {
        std::string t = "{";
        for (const Surd& x : v) t += (t.size() > 1 ? " ; " : "") + ExactText(x);
        return t + "}";
    };
    switch (s.shape) {
        case S::Empty:
            return "empty";
        case S::Values:
            return list(s.values);
        case S::Reals:
            return s.excluded.empty() ? "R" : "R \\ " + list(s.excluded);
        case S::Intervals: {
            std::string t;
            for (const Interval& iv : s.intervals)
                t += (t.empty() ? "" : " U ") + std::string(iv.lowClosed ? "[" : "]") +
                     (iv.low ? ExactText(*iv.low) : "-inf") + " ; " +
                     (iv.high ? ExactText(*iv.high) : "+inf") + (iv.highClosed ? "]" : "[");
            return t;
        }
        default:
            return "shape " + std::to_string(static_cast<int>(s.shape));
    }
}
std::string Text(const std::vector<Surd>& v) {
    SolutionSet s;
    s.shape = SolutionSet::Shape::Values;
    s.values = v;
    return Text(s);
}
const char* Text(Sign s) {
    constexpr const char* kSigns[] = {"+", "-", "0", "||", " "};
    return kSigns[static_cast<int>(s)];
}
std::string Text(const std::vector<Sign>& cells) {
    std::string t;
    for (Sign s : cells) t += std::string(Text(s)) + ",";
    return t;
}

// ---- The comparison ---------------------------------------------------------------------

using Problems = std::vector<std::string>;

bool IsInequationKind(std::string_view kind) {
    return kind == "ineq" || kind == "signs" || kind == "ineq2";
}

// The model's values: the solutions of an equation, the finite bounds of an inequation's set
// (ℝ \ {a}: a).
std::vector<ResultValue> ExpectedValues(std::string_view kind, const SolutionSet& s) {
    std::vector<Surd> v;
    if (s.shape == SolutionSet::Shape::Values) v = s.values;
    if (IsInequationKind(kind)) {
        v.insert(v.end(), s.excluded.begin(), s.excluded.end());
        for (const Interval& iv : s.intervals)
            for (const auto& b : {iv.low, iv.high})
                if (b) v.push_back(*b);
    }
    SortUnique(v);
    std::vector<ResultValue> r;
    for (std::size_t i = 0; i < v.size(); ++i)
        r.push_back({v.size() == 1 ? "x" : "x" + std::to_string(i + 1), v[i], RoundedText(v[i])});
    return r;
}

Verdict ExpectedVerdict(const SolutionSet& s) {
    return s.shape == SolutionSet::Shape::Empty   ? Verdict::NoSolution
           : s.shape == SolutionSet::Shape::Reals ? Verdict::EveryReal
                                                  : Verdict::Values;
}

// b² − 4ac of a trinomial left side over 1; none for another statement.
std::optional<Rational> Discriminant(const Fn& f) {
    if (f.den != Poly{Rational(1)} || f.num.size() != 3) return std::nullopt;
    return f.num[1] * f.num[1] - 4 * f.num[2] * f.num[0];
}

// The case by its meaning in each kind: bit 1 no solution, bit 2 the special one (a single
// root of a square or a product; every real, less a value or not; a single point of a
// trinomial; two unbounded intervals of a sign table), bit 0 the usual one.
int ExpectedCase(std::string_view kind, const SolutionSet& s) {
    using S = SolutionSet::Shape;
    if (s.shape == S::Empty) return 1;
    if (kind == "square" || kind == "product") return s.values.size() == 1 ? 2 : 0;
    if (kind == "signs" && s.shape == S::Intervals)
        return !s.intervals.front().low && !s.intervals.back().high ? 2 : 0;
    return s.shape == S::Reals || (kind == "ineq2" && s.shape == S::Values) ? 2 : 0;
}

void CheckResult(const QuestionModel& m, const Fn& f, const SolutionSet& want, Problems& out) {
    const QuestionResult& r = m.result;
    if ((m.statement.lines[0].relation == Relation::Eq) == IsInequationKind(m.kind))
        out.push_back("an equation in an inequation's kind, or the reverse");
    if (!r.set)
        out.push_back("no set");
    else if (*r.set != want)
        out.push_back("set " + Text(*r.set) + ", oracle " + Text(want));
    if (r.verdict != ExpectedVerdict(want))
        out.push_back("verdict " + std::to_string(static_cast<int>(r.verdict)));
    const auto values = ExpectedValues(m.kind, want);
    if (r.values != values) {
        const auto text = [](const std::vector<ResultValue>& list) {
            std::string t;
            for (const auto& v : list)
                t += v.name + "=" + (v.exact ? ExactText(*v.exact) : "none") + " (" + v.decimal +
                     ") ";
            return t;
        };
        out.push_back("values " + text(r.values) + "for " + text(values));
    }
    if (r.caseBit != ExpectedCase(m.kind, want))
        out.push_back("case " + (r.caseBit ? std::to_string(*r.caseBit) : "none"));
    const std::optional<Rational> delta = Discriminant(f);
    if (m.kind == "ineq2" ? !r.discriminant || !delta || Rational(*r.discriminant) != *delta
                          : r.discriminant.has_value())
        out.push_back("discriminant " +
                      (r.discriminant ? std::to_string(*r.discriminant) : "none"));
}

// The cells of the product of `factors` (the first `numerators` over the others).
std::vector<Sign> RowCells(const std::vector<Poly>& factors, std::size_t numerators,
                           const std::vector<Surd>& values) {
    const auto points = Points(values);
    std::vector<Sign> cells;
    for (std::size_t i = 0; i <= values.size(); ++i) {
        int sign = 1;
        for (const Poly& p : factors) sign *= SignAt(p, points[i]);
        cells.push_back(sign > 0 ? Sign::Plus : sign < 0 ? Sign::Minus : Sign::Zero);
        if (i == values.size()) break;
        Sign at = Sign::Blank;
        for (std::size_t k = 0; k < factors.size(); ++k)
            if (SignAt(factors[k], values[i]) == 0)
                at = k >= numerators ? Sign::Forbidden : at == Sign::Blank ? Sign::Zero : at;
        cells.push_back(at);
    }
    return cells;
}

void CheckTable(const SignTable& t, const Fn& f, const Cells& statement, Problems& out) {
    std::vector<Surd> roots;
    std::vector<std::vector<Poly>> rows;
    for (const SignRow& row : t.rows) {
        rows.emplace_back();
        for (const Side& side : row.factors) {
            rows.back().push_back(SidePoly(side));
            const auto r = Roots(rows.back().back());
            roots.insert(roots.end(), r.begin(), r.end());
        }
    }
    SortUnique(roots);
    if (t.values != roots)
        return out.push_back("table values " + Text(t.values) + ", roots " + Text(roots));
    if (t.values != statement.values)
        out.push_back("table values " + Text(t.values) + ", statement " + Text(statement.values));
    for (std::size_t k = 0; k < t.rows.size(); ++k) {
        const auto want = RowCells(rows[k], static_cast<std::size_t>(t.rows[k].numerators), roots);
        if (t.rows[k].cells != want)
            out.push_back("table row " + std::to_string(k) + " " + Text(t.rows[k].cells) + " for " +
                          Text(want));
    }
    if (t.rows.empty()) return out.push_back("a table without rows");
    // A row for each factor, then the last row their product or quotient.
    std::vector<Side> each;
    for (std::size_t k = 0; k + 1 < t.rows.size(); ++k) {
        const SignRow& row = t.rows[k];
        if (row.factors.size() != 1 || row.numerators != 1)
            out.push_back("table row " + std::to_string(k) + " is not one factor");
        each.insert(each.end(), row.factors.begin(), row.factors.end());
    }
    const auto& all = t.rows.back().factors;
    if (t.rows.size() > 1 && !std::is_permutation(all.begin(), all.end(), each.begin(), each.end()))
        out.push_back("the table's last row is not of the factors above it");
    if (t.values != statement.values) return;
    const auto whole = RowCells({f.num, f.den}, 1, roots);
    if (t.rows.back().cells != whole)
        out.push_back("table's last row " + Text(t.rows.back().cells) + ", statement " +
                      Text(whole));
}

Surd Value(const Calc& c) {
    const auto fold = [&](auto op) {
        Surd v = Value(c.args.at(0));
        for (std::size_t k = 1; k < c.args.size(); ++k) v = op(v, Value(c.args[k]));
        return v;
    };
    switch (c.op) {
        case Calc::Op::Number:
            return c.value;
        case Calc::Op::Root:
            return Surd(0, 1, c.root, 1);
        case Calc::Op::Square:
            return Value(c.args.at(0)) * Value(c.args.at(0));
        case Calc::Op::Sum:
            return fold([](const Surd& a, const Surd& b) { return a + b; });
        case Calc::Op::Diff:
            return fold([](const Surd& a, const Surd& b) { return a - b; });
        case Calc::Op::Prod:
            return fold([](const Surd& a, const Surd& b) { return a * b; });
        case Calc::Op::Quot:
            return fold([](const Surd& a, const Surd& b) { return a / b; });
        default:
            return -Value(c.args.at(0));
    }
}

// A line of a worked solution is one a teacher writes when it says again the statement (its
// forbidden values out) or the line before it in its group, when it is a computation (the
// same polynomial on both sides), or when it is the equation of a factor: roots that are
// values of the statement.
struct LineCheck {
    const SolutionSet& want;
    const Cells& statement;
    std::vector<Surd> forbidden;
    std::map<int, SolutionSet> groups;  // each group's set as its last line says it

    bool Keeps(const Step& s, const Poly& gap) {
        const SolutionSet set = SetOf(Solve({gap}, s.relation, forbidden));
        const auto before = groups.find(s.group);
        const bool chained = before != groups.end() && before->second == set;
        groups[s.group] = set;
        if (set == want || chained || s.kind == Step::Kind::Derived) return true;
        if (s.relation != Relation::Eq || gap.empty()) return s.relation == Relation::Eq;
        if (gap.size() == 1) return false;
        const auto roots = Roots(gap);
        return !roots.empty() && std::all_of(roots.begin(), roots.end(), [&](const Surd& r) {
            return std::find(statement.values.begin(), statement.values.end(), r) !=
                   statement.values.end();
        });
    }
};

// What the worked text says in words or labels: the sign of Δ and of a, the sign of a divisor
// and whether the relation turns (the line after it keeps the set), Δ's value, the roots it names
// x0, x1, x2 (x1 < x2).
struct WordCheck {
    const Fn& f;
    const Cells& statement;
    std::map<char, Surd> named;
    Problems& out;

    static bool Has(const std::string& text, std::string_view part) {
        return text.find(part) != std::string::npos;
    }
    void Sign(const std::string& text, std::string_view pattern, int sign, int actual) {
        if (Has(text, pattern) && sign != actual) out.push_back("says " + text);
    }
    void Note(const std::string& text) {
        const auto delta = Discriminant(f);
        const std::string d(1, kLabelDelta);
        for (const auto& [word, sign] : {std::pair{" < 0", -1}, {" = 0", 0}, {" > 0", 1}}) {
            if (delta) Sign(text, d + std::string(word), sign, delta->Sign());
            if (delta) Sign(text, "(a" + std::string(word) + ")", sign, f.num[2].Sign());
        }
        constexpr std::string_view kDivide = "On divise par ";
        if (text.rfind(kDivide, 0) != 0) return;
        const bool negative = text[kDivide.size()] == '-';
        if (Has(text, " < 0") != negative || Has(text, "sens change") != negative)
            out.push_back("says " + text);
    }
    void Value(const Step& s, const Surd& v) {
        const auto delta = Discriminant(f);
        if (delta && s.label.rfind(std::string{kLabelDelta, ' ', '='}, 0) == 0 && v != *delta)
            out.push_back(s.label + ExactText(v) + " for " + ExactText(*delta));
        if (s.label.size() < 2 || s.label[0] != kLabelIndexed) return;
        named[s.label[1]] = v;
        if (std::find(statement.values.begin(), statement.values.end(), v) ==
            statement.values.end())
            out.push_back("names x" + s.label.substr(1, 1) + " = " + ExactText(v));
    }
    void End() {
        if (named.count('1') && named.count('2') && !Less(named['1'], named['2']))
            out.push_back("x1 > x2");
    }
};

void CheckSteps(const QuestionModel& m, const Fn& f, const Cells& cells, const SolutionSet& want,
                Problems& out) {
    LineCheck lines{want, cells, f.den.size() > 1 ? Roots(f.den) : std::vector<Surd>{}, {}};
    WordCheck words{f, cells, {}, out};
    std::optional<Surd> root;  // the one root of the equation just before
    bool table = false, conclusion = false;
    for (std::size_t k = 0; k < m.steps->size(); ++k) {
        const Step& s = (*m.steps)[k];
        const std::string at = "step " + std::to_string(k) + ": ";
        const std::optional<Surd> rootBefore = std::exchange(root, std::nullopt);
        if (s.kind == Step::Kind::Rewrite || s.kind == Step::Kind::Derived) {
            const Poly gap = Plus(SidePoly(s.lhs), SidePoly(s.rhs), -1);
            if (!lines.Keeps(s, gap)) out.push_back(at + "a line that does not follow");
            if (s.relation == Relation::Eq && gap.size() == 2) root = -gap[0] / gap[1];
        } else if (s.kind == Step::Kind::Note) {
            words.Note(s.label);
        } else if (s.kind == Step::Kind::Value) {
            words.Value(s, Value(s.links.back()));
            for (const Calc& c : s.links)
                if (Value(c) != Value(s.links.at(0)))
                    out.push_back(at + "links " + ExactText(Value(s.links[0])) + " and " +
                                  ExactText(Value(c)));
            if (rootBefore && s.label.find('x') != std::string::npos &&
                Value(s.links.back()) != *rootBefore)
                out.push_back(at + "x = " + ExactText(Value(s.links.back())) +
                              " after a line of root " + ExactText(*rootBefore));
        } else if (s.kind == Step::Kind::Conclusion) {
            conclusion = true;
            if (s.set != want) out.push_back(at + "concludes " + Text(s.set));
        } else if (s.kind == Step::Kind::Table) {
            table = true;
            CheckTable(s.table, f, cells, out);
        }
    }
    words.End();
    if (!conclusion) out.push_back("no conclusion");
    if (!table && (m.kind == "signs" || m.kind == "ineq2")) out.push_back("no sign table");
}

// What differs between the model and the oracle; empty when they agree.
Problems Disagreements(const QuestionModel& m) {
    Problems out;
    try {
        const Fn f = StatementFn(m.statement);
        const Cells cells = Solve(f, m.statement.lines[0].relation);
        const SolutionSet want = SetOf(cells);
        CheckResult(m, f, want, out);
        if (m.steps) CheckSteps(m, f, cells, want, out);
    } catch (const std::exception& e) {
        out.push_back(std::string("oracle: ") + e.what());
    }
    return out;
}

// ---- Hand-made questions ----------------------------------------------------------------

Atom N(int v) {
    return AtomOf(Atom::Kind::Number, v);
}
Atom T(int v) {
    return AtomOf(Atom::Kind::SignedTerm, v);
}
Atom A(Atom::Kind k) {
    return AtomOf(k);
}
const Atom kX = UnknownAtom(Var::X, VarLook::Lead), kX2 = UnknownAtom(Var::X2),
           kOpen = A(Atom::Kind::Open), kClose = A(Atom::Kind::Close), kOver = A(Atom::Kind::Over),
           kSq = A(Atom::Kind::Squared), kNegX = UnknownAtom(Var::X, VarLook::Negated);

Statement Line(WrittenSide left, Relation r, WrittenSide right = {N(0)}) {
    WrittenEquation e{std::move(left), std::move(right)};
    e.relation = r;
    return {{e}};
}

struct HandCase {
    Statement statement;
    const char* set;  // as the oracle writes it
};

TEST(NewKindsOracle, SolvesHandMadeStatements) {
    using R = Relation;
    const HandCase cases[] = {
        // (x - 1)(2 - x) > 0
        {Line({kOpen, kX, T(-1), kClose, kOpen, N(2), kNegX, kClose}, R::Gt), "]1 ; 2["},
        // (x + 3)/(x - 1) <= 0
        {Line({kOpen, kX, T(3), kClose, kOver, kOpen, kX, T(-1), kClose}, R::Le), "[-3 ; 1["},
        // 4x² = 9
        {Line({N(4), kX2}, R::Eq, {N(9)}), "{-3/2 ; 3/2}"},
        // (x + 1)² = 0 - 5
        {Line({kOpen, kX, T(1), kClose, kSq}, R::Eq, {N(0), T(-5)}), "empty"},
        // 2x² - x - 3 < 0
        {Line({N(2), kX2, T(-1), kX, T(-3)}, R::Lt), "]-1 ; 3/2["},
        // x² - 2 >= 0
        {Line({kX2, T(-2)}, R::Ge), "]-inf ; -sqrt2] U [sqrt2 ; +inf["},
        // (x + 1)/(x - 2) = 3
        {Line({kOpen, kX, T(1), kClose, kOver, kOpen, kX, T(-2), kClose}, R::Eq, {N(3)}), "{7/2}"},
        // (2x + 4)/(x + 2) = 2
        {Line({kOpen, N(2), kX, T(4), kClose, kOver, kOpen, kX, T(2), kClose}, R::Eq, {N(2)}),
         "R \\ {-2}"},
        // 2(x - 1)² > 0, x(x - 3)(2x + 1) >= 0, 6/x < 2
        {Line({N(2), kOpen, kX, T(-1), kClose, kSq}, R::Gt), "R \\ {1}"},
        {Line({kX, kOpen, kX, T(-3), kClose, kOpen, N(2), kX, T(1), kClose}, R::Ge),
         "[-1/2 ; 0] U [3 ; +inf["},
        {Line({N(6), kOver, kX}, R::Lt, {N(2)}), "]-inf ; 0[ U ]3 ; +inf["},
        // -3x + 5 <= x/2 - 7
        {Line({N(-3), kX, T(5)}, R::Le, {kX, kOver, N(2), T(-7)}), "[24/7 ; +inf["},
    };
    for (const HandCase& c : cases) {
        const Fn f = StatementFn(c.statement);
        EXPECT_EQ(Text(SetOf(Solve(f, c.statement.lines[0].relation))), c.set);
    }
}

// ---- Mutations: the comparison sees an altered set, bracket or sign ---------------------

bool Alter(SolutionSet& s) {
    using S = SolutionSet::Shape;
    if (s.shape == S::Intervals) {
        Interval& iv = s.intervals.back();
        (iv.low ? iv.lowClosed : iv.highClosed) ^= true;
    } else if (s.shape == S::Values) {
        s.values.back() = s.values.back() + 1;
    } else if (s.shape == S::Reals && !s.excluded.empty()) {
        s.excluded.pop_back();
    } else {
        s.shape = s.shape == S::Empty ? S::Reals : S::Empty;
    }
    return true;
}
bool AlterTable(Steps& steps) {
    for (Step& s : steps)
        if (s.kind == Step::Kind::Table && !s.table.rows.empty()) {
            Sign& c = s.table.rows.back().cells.front();
            c = c == Sign::Plus ? Sign::Minus : Sign::Plus;
            return true;
        }
    return false;
}
bool AlterConclusion(Steps& steps) {
    for (Step& s : steps)
        if (s.kind == Step::Kind::Conclusion) return Alter(s.set);
    return false;
}

bool AlterWords(Steps& steps) {
    for (Step& s : steps)
        for (auto [from, to] : {std::pair{" < 0", " > 0"}, {" > 0", " < 0"}})
            if (const auto at = s.label.find(from);
                s.kind == Step::Kind::Note && at != s.label.npos) {
                s.label.replace(at, 4, to);
                return true;
            }
    return false;
}

// Every mutation of a question the oracle agrees with must be reported.
void ExpectMutationsCaught(const QuestionModel& m, const std::string& where) {
    ASSERT_TRUE(Disagreements(m).empty()) << where;
    QuestionModel set = m, table = m, conclusion = m, words = m;
    if (m.steps && AlterWords(*words.steps)) {
        EXPECT_FALSE(Disagreements(words).empty()) << where;
    }
    if (set.result.set && Alter(*set.result.set)) {
        EXPECT_FALSE(Disagreements(set).empty()) << where;
    }
    if (m.steps && AlterTable(*table.steps)) {
        EXPECT_FALSE(Disagreements(table).empty()) << where;
    }
    if (m.steps && AlterConclusion(*conclusion.steps)) {
        EXPECT_FALSE(Disagreements(conclusion).empty()) << where;
    }
}

TEST(NewKindsOracle, CatchesAlteredHandMadeTable) {
    // (x + 3)/(x - 1) <= 0, its key as a teacher writes it.
    QuestionModel m;
    m.kind = "signs";
    m.statement = Line({kOpen, kX, T(3), kClose, kOver, kOpen, kX, T(-1), kClose}, Relation::Le);
    SolutionSet s;
    s.shape = SolutionSet::Shape::Intervals;
    s.intervals = {{Surd(-3), Surd(1), true, false}};
    m.result.values = {{"x1", Surd(-3), "-3"}, {"x2", Surd(1), "1"}};
    m.result.set = s;
    m.result.caseBit = 0;
    const Side plus3{{1, Unknown::X}, {3}}, minus1{{1, Unknown::X}, {-1}};
    using enum Sign;
    SignTable t{{-3, 1},
                {{{plus3}, 1, {Minus, Zero, Plus, Blank, Plus}},
                 {{minus1}, 1, {Minus, Blank, Minus, Zero, Plus}},
                 {{plus3, minus1}, 1, {Plus, Zero, Minus, Forbidden, Plus}}}};
    m.steps = Steps(2);
    m.steps->at(0).kind = Step::Kind::Table;
    m.steps->at(0).table = t;
    m.steps->at(1).kind = Step::Kind::Conclusion;
    m.steps->at(1).set = s;
    ExpectMutationsCaught(m, "hand-made");
    // The quotient shown as a product: a 0 where the double bar belongs.
    m.steps->at(0).table.rows.back().numerators = 2;
    m.steps->at(0).table.rows.back().cells[3] = Zero;
    EXPECT_FALSE(Disagreements(m).empty());
}

// ---- Every kind, level and many seeds ---------------------------------------------------

constexpr std::string_view kNewKinds[] = {"square", "product", "quotient",
                                          "ineq",   "signs",   "ineq2"};

SheetModel DrawSheet(std::string_view kind, int level, std::uint32_t seed,
                     const DrawChoices& choices = {}) {
    SheetSettings s;
    s.level = level;
    s.count = kMaxQuestions;
    s.exports.steps = true;
    s.draw = choices;
    RandomSource rng(seed);
    return BuildSheetModel(*MakeSheetKind(kind, choices), rng, s);
}

// The kinds' own draws, and on a third as many sheets the draws steered to every case and to
// integer or fractional solutions, which build rare questions their own way.
std::vector<DrawChoices> ChoicesOf(std::string_view kind) {
    std::vector<DrawChoices> all{{}};
    DrawChoices every, integers, fractions;
    every.everyCase = true;
    integers.solutions = Solutions::Integer;
    fractions.solutions = Solutions::Fraction;
    for (const DrawChoices& c : {every, integers, fractions})
        if (!DrawChoicesError(c, KindIndex(kind), kMaxQuestions)) all.push_back(c);
    return all;
}

class NewKindsOracle : public testing::TestWithParam<std::string_view> {};

TEST_P(NewKindsOracle, KeysSayWhatTheStatementsAsk) {
    const std::string_view kind = GetParam();
    if (KindIndex(kind) < 0) GTEST_SKIP() << kind << " is not built yet";
    const auto choices = ChoicesOf(kind);
    int reported = 0;
    for (int level = 1; level <= 3; ++level)
        for (std::uint32_t seed = 1; seed <= kSheets; ++seed)
            for (std::size_t c = 0; c < choices.size(); ++c) {
                if (c > 0 && seed % 3 != c % 3) continue;
                const SheetModel sheet = DrawSheet(kind, level, seed, choices[c]);
                for (std::size_t i = 0; i < sheet.questions.size(); ++i)
                    for (const std::string& p : Disagreements(sheet.questions[i]))
                        if (++reported <= 20)
                            ADD_FAILURE() << kind << " level " << level << " seed " << seed
                                          << " choices " << c << " #" << i + 1 << ": " << p;
            }
    EXPECT_EQ(reported, 0) << "disagreements in all";
}

TEST_P(NewKindsOracle, CatchesAlteredKeys) {
    const std::string_view kind = GetParam();
    if (KindIndex(kind) < 0) GTEST_SKIP() << kind << " is not built yet";
    for (int level = 1; level <= 3; ++level) {
        const SheetModel sheet = DrawSheet(kind, level, 7);
        for (std::size_t i = 0; i < 5 && i < sheet.questions.size(); ++i)
            ExpectMutationsCaught(sheet.questions[i],
                                  std::string(kind) + " level " + std::to_string(level));
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, NewKindsOracle, testing::ValuesIn(kNewKinds),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
}  // namespace equat
