// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/graph.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <string_view>

namespace equat {

namespace {

SidePolynomial& operator+=(SidePolynomial& p, const SidePolynomial& q) {
    p.c = p.c + q.c;
    p.x = p.x + q.x;
    p.x2 = p.x2 + q.x2;
    p.y = p.y + q.y;
    return p;
}

SidePolynomial Scaled(const SidePolynomial& p, const Rational& k) {
    return {p.c * k, p.x * k, p.x2 * k, p.y * k};
}

SidePolynomial UnknownTimes(Var var, const Rational& k) {
    SidePolynomial p;
    (var == Var::X2 ? p.x2 : var == Var::Y ? p.y : p.x) = k;
    return p;
}

bool IsNumber(Atom::Kind kind) {
    return kind != Atom::Kind::Unknown && kind != Atom::Kind::Open && kind != Atom::Kind::Close &&
           kind != Atom::Kind::Space;
}

// The atoms from i to the matching ")" or the end, as written: a number multiplies the
// unknown or the bracket that follows it (past room), else stands alone.
SidePolynomial ReadTerms(const WrittenSide& side, std::size_t& i) {
    SidePolynomial sum;
    while (i < side.size() && side[i].kind != Atom::Kind::Close) {
        const Atom& a = side[i++];
        if (a.kind == Atom::Kind::Space) continue;
        Rational k = 1;
        if (a.kind == Atom::Kind::Unknown) {
            sum += UnknownTimes(a.var, a.look == VarLook::Negated ? -1 : 1);
            continue;
        }
        if (IsNumber(a.kind)) {
            k = a.value;
            std::size_t j = i;
            while (j < side.size() && side[j].kind == Atom::Kind::Space) ++j;
            if (j < side.size() && side[j].kind == Atom::Kind::Unknown) {
                sum += UnknownTimes(side[j].var, side[j].look == VarLook::Negated ? -k : k);
                i = j + 1;
                continue;
            }
            if (j == side.size() || side[j].kind != Atom::Kind::Open) {
                sum.c = sum.c + k;
                continue;
            }
            i = j + 1;
        }
        sum += Scaled(ReadTerms(side, i), k);  // a bracket, i past its "("
        if (i < side.size()) ++i;              // its ")"
    }
    return sum;
}

SidePolynomial SidePoly(const WrittenSide& side) {
    std::size_t i = 0;
    SidePolynomial sum;
    while (i < side.size()) {
        sum += ReadTerms(side, i);
        ++i;  // a stray ")" is skipped
    }
    return sum;
}

// "2.5", "-0.33", "4": two decimals at most, with a comma when asked.
std::string Number(double v, bool comma) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2f", std::abs(v) < 0.005 ? 0.0 : v);
    std::string s = buffer;
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    if (comma) std::replace(s.begin(), s.end(), '.', ',');
    return s;
}

// A key's decimal text with the sheet's decimal sign.
std::string KeyText(const ResultValue& value, bool comma) {
    std::string s = value.decimal;
    if (comma) std::replace(s.begin(), s.end(), '.', ',');
    return s;
}

std::string Pair(const std::string& x, const std::string& y) {
    return "(" + x + " ; " + y + ")";
}

struct Span {
    double lo = 0, hi = 0;
    void Add(double v) {
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
};

double ValueOf(const ResultValue& v) {
    return v.exact ? v.exact->ToDouble() : 0.0;
}

// The polynomial's coefficients as doubles, for drawing.
struct Coefficients {
    double c, x, x2, y;
};
Coefficients Approx(const SidePolynomial& p) {
    return {p.c.ToDouble(), p.x.ToDouble(), p.x2.ToDouble(), p.y.ToDouble()};
}

GraphModel ParabolaGraph(const QuestionModel& q, bool comma) {
    const Coefficients p = Approx(EquationPolynomial(q.statement.lines.at(0)));
    GraphModel g;
    g.curves.push_back({p.x2, p.x, p.c, false});
    if (p.x2 == 0) {  // not a parabola: the line and its root, around the origin
        Span xs, ys;
        for (const ResultValue& v : q.result.values) {
            if (!v.exact) continue;
            xs.Add(ValueOf(v));
            g.points.push_back({ValueOf(v), 0, KeyText(v, comma)});
        }
        ys.Add(p.c);
        g.x = RoundAxis(xs.lo - 1, xs.hi + 1, 10);
        g.y = RoundAxis(ys.lo - 1, ys.hi + 1, 6);
        return g;
    }
    const double xv = -p.x / (2 * p.x2), yv = p.c - p.x * p.x / (4 * p.x2);
    const bool up = p.x2 > 0;
    g.symmetryAxis = xv;
    // The vertex's label outside the curve, the roots' inside it, away from the arms.
    g.points.push_back({xv, yv, "S" + Pair(Number(xv, comma), Number(yv, comma)), false, up});
    if (q.result.verdict == Verdict::Values) {
        for (const ResultValue& v : q.result.values) {
            const double x = ValueOf(v);
            // A double root is the vertex, whose label says it.
            const bool twice = std::any_of(g.points.begin(), g.points.end(),
                                           [&](const GraphPoint& m) { return m.x == x; });
            if (!twice) g.points.push_back({x, 0, KeyText(v, comma), x > xv, !up});
        }
    }
    // Around the vertex, as far as the curve rises by the vertex's height (to the roots when
    // there are some) and a third more: the arms show, the x axis is in view.
    const double half = 1.3 * std::max(std::sqrt(std::abs(yv / p.x2)), 0.5);
    Span ys;
    ys.Add(yv);
    ys.Add(yv + p.x2 * half * half);
    g.x = RoundAxis(xv - half, xv + half, 10);
    g.y = RoundAxis(ys.lo, ys.hi, 6);
    return g;
}

GraphCurve LineOf(const Coefficients& p) {
    // x X + y Y + c = 0
    if (p.y == 0) return {0, 0, p.x == 0 ? 0 : -p.c / p.x, true};
    return {0, -p.x / p.y, -p.c / p.y, false};
}

GraphModel SystemGraph(const QuestionModel& q, bool comma) {
    GraphModel g;
    Span xs, ys;
    const std::size_t lines = q.result.verdict == Verdict::Indeterminate ? 1 : 2;
    for (std::size_t i = 0; i < lines && i < q.statement.lines.size(); ++i) {
        const Coefficients p = Approx(EquationPolynomial(q.statement.lines[i]));
        g.curves.push_back(LineOf(p));
        // The line's point nearest the origin keeps it in view.
        const double n = p.x * p.x + p.y * p.y;
        if (n == 0) continue;
        xs.Add(-p.c * p.x / n);
        ys.Add(-p.c * p.y / n);
    }
    if (q.result.verdict == Verdict::Values && q.result.values.size() >= 2) {
        const ResultValue &x = q.result.values[0], &y = q.result.values[1];
        g.points.push_back({ValueOf(x), ValueOf(y), Pair(KeyText(x, comma), KeyText(y, comma))});
        xs = {std::min(0.0, ValueOf(x)), std::max(0.0, ValueOf(x))};
        ys = {std::min(0.0, ValueOf(y)), std::max(0.0, ValueOf(y))};
    } else {
        g.caption = lines == 1 ? "Droites confondues : une infinit\xE9 de solutions"
                               : "Droites parall\xE8les : aucune solution";
    }
    g.x = RoundAxis(xs.lo - 1, xs.hi + 1, 10);
    g.y = RoundAxis(ys.lo - 1, ys.hi + 1, 6);
    return g;
}

GraphModel NumberLineGraph(const QuestionModel& q, bool comma) {
    GraphModel g;
    g.shape = GraphModel::Shape::NumberLine;
    Span xs;
    switch (q.result.verdict) {
        case Verdict::Values:
            for (const ResultValue& v : q.result.values) {
                g.points.push_back({ValueOf(v), 0, KeyText(v, comma)});
                xs.Add(ValueOf(v));
            }
            break;
        case Verdict::EveryReal:
            g.intervals.push_back({});
            g.caption =
                "Tous les r\xE9"
                "els sont solutions";
            break;
        default:
            g.caption = "Aucune solution";
            break;
    }
    g.x = RoundAxis(xs.lo - 1, xs.hi + 1, 10);
    g.y = {0, 0, 1};
    return g;
}

// A solution set on a number line: its intervals with their brackets, its values as dots, the
// values taken out of the reals as holes; the axis over every finite bound.
GraphModel SetGraph(const QuestionModel& q, bool comma) {
    const SolutionSet& set = *q.result.set;
    GraphModel g;
    g.shape = GraphModel::Shape::NumberLine;
    Span xs;
    for (const ResultValue& v : q.result.values) xs.Add(ValueOf(v));
    const auto bound = [](const std::optional<Surd>& b) {
        return b ? std::optional(b->ToDouble()) : std::nullopt;
    };
    for (const Interval& i : set.intervals)
        g.intervals.push_back({bound(i.low), bound(i.high), i.lowClosed, i.highClosed});
    const bool reals = set.shape == SolutionSet::Shape::Reals;
    if (reals) g.intervals.push_back({std::nullopt, std::nullopt, false, false});
    if (set.shape == SolutionSet::Shape::Values || reals)
        for (const ResultValue& v : q.result.values)
            (reals ? g.holes : g.points).push_back({ValueOf(v), 0, KeyText(v, comma)});
    if (set.shape == SolutionSet::Shape::Empty) g.caption = "Aucune solution";
    g.x = RoundAxis(xs.lo - 1, xs.hi + 1, 10);
    g.y = {0, 0, 1};
    return g;
}

}  // namespace

SidePolynomial EquationPolynomial(const WrittenEquation& line) {
    SidePolynomial p = SidePoly(line.left);
    p += Scaled(SidePoly(line.right), -1);
    return p;
}

GraphAxis RoundAxis(double lo, double hi, int ticks) {
    if (lo > hi) std::swap(lo, hi);
    if (hi - lo < 1e-9) {
        lo -= 1;
        hi += 1;
    }
    const double margin = (hi - lo) / 10;
    lo -= margin;
    hi += margin;
    const double raw = (hi - lo) / std::max(1, ticks);
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    double step = 10 * power;
    for (const double m : {1.0, 2.0, 5.0}) {
        if (m * power >= raw * (1 - 1e-9)) {
            step = m * power;
            break;
        }
    }
    return {std::floor(lo / step) * step, std::ceil(hi / step) * step, step};
}

namespace {
std::atomic<GraphPainter> graphPainter{nullptr};
}  // namespace

void SetGraphPainter(GraphPainter painter) {
    graphPainter.store(painter);
}

PngPicture QuestionGraphPicture(const QuestionModel& question, bool decimalComma, bool adapted) {
    const GraphPainter painter = graphPainter.load();
    const auto graph = painter ? QuestionGraph(question, decimalComma) : std::nullopt;
    return graph ? painter(*graph, adapted) : PngPicture{};
}

std::optional<GraphModel> QuestionGraph(const QuestionModel& question, bool decimalComma) {
    if (question.statement.lines.empty()) return std::nullopt;
    const std::string_view kind = question.kind;
    std::optional<GraphModel> g;
    if (kind == "2d") g = ParabolaGraph(question, decimalComma);
    if (kind == "syst") g = SystemGraph(question, decimalComma);
    if (kind == "1d") g = NumberLineGraph(question, decimalComma);
    if (kind == "signs") g = SetGraph(question, decimalComma);
    if (g) g->decimalComma = decimalComma;
    return g;
}

}  // namespace equat
