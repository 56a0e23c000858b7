// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/worked.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "core/markup.h"
#include "core/numbertext.h"

namespace equat {

namespace {

Surd Power(const Surd& x, Unknown u, const Rational& y) {
    switch (u) {
        case Unknown::One:
            return 1;
        case Unknown::X:
            return x;
        case Unknown::X2:
            return x * x;
        default:
            return y;
    }
}

bool SameSide(const Side& p, const Side& q) {
    return std::equal(p.begin(), p.end(), q.begin(), q.end(),
                      [](const Term& s, const Term& t) { return s.coef == t.coef && s.u == t.u; });
}

}  // namespace

void Add(Side& side, std::int64_t coef, Unknown u) {
    if (coef != 0) side.push_back({coef, u});
}

namespace {

// Sum of the coefficients of one unknown.
Rational Total(const Side& side, Unknown u) {
    Rational sum;
    for (const Term& t : side)
        if (t.u == u) sum = sum + t.coef;
    return sum;
}

// lhs = rhs with the unknowns on the left and the numbers on the right (a quadratic keeps
// everything on the left): the line a pupil writes after moving terms across.
Step Gathered(const Step& from, bool allLeft) {
    Step s{Step::Kind::Rewrite, from.group, {}, {}, {}, {}, false, {}};
    for (const Term& t : from.lhs)
        if (allLeft || t.u != Unknown::One) s.lhs.push_back(t);
    for (const Term& t : from.rhs)
        if (allLeft || t.u != Unknown::One) s.lhs.push_back({-t.coef, t.u});
    if (allLeft) return s;
    for (const Term& t : from.rhs)
        if (t.u == Unknown::One) s.rhs.push_back(t);
    for (const Term& t : from.lhs)
        if (t.u == Unknown::One) s.rhs.push_back({-t.coef, t.u});
    return s;
}

// Each side with its like terms added up, in the order x², x, y, 1 (after gathering: the
// reduced line).
Step Collected(const Step& from) {
    Step s{Step::Kind::Rewrite, from.group, {}, {}, {}, {}, false, {}};
    for (Unknown u : {Unknown::X2, Unknown::X, Unknown::Y, Unknown::One}) {
        const Rational l = Total(from.lhs, u), r = Total(from.rhs, u);
        if (l != 0) s.lhs.push_back({l, u});
        if (r != 0) s.rhs.push_back({r, u});
    }
    return s;
}

// Appends a line unless it repeats the one before.
bool IsEquation(const Step& s) {
    return s.kind == Step::Kind::Rewrite || s.kind == Step::Kind::Derived;
}

void Push(Steps& steps, Step s) {
    if (!steps.empty() && IsEquation(steps.back()) && IsEquation(s) &&
        SameSide(steps.back().lhs, s.lhs) && SameSide(steps.back().rhs, s.rhs)) {
        if (!s.label.empty()) steps.back().label = std::move(s.label);
        return;
    }
    steps.push_back(std::move(s));
}

bool HasLikeTerms(const Side& side) {
    for (std::size_t i = 0; i < side.size(); ++i)
        for (std::size_t j = i + 1; j < side.size(); ++j)
            if (side[i].u == side[j].u) return true;
    return false;
}

}  // namespace

// From a written equation to "unknowns = number", each line kept when it says something
// new: each side reduced first, then the terms moved across, then added up. The written
// equation itself is dropped when it is only the question again.
void Reduce(Steps& steps, Step written, bool showWritten, bool allLeft) {
    const std::size_t first = steps.size();
    Push(steps, written);
    if (HasLikeTerms(written.lhs) || HasLikeTerms(written.rhs)) {
        written = Collected(written);
        Push(steps, written);
    }
    Push(steps, Gathered(written, allLeft));
    Push(steps, Collected(steps.back()));
    if (!showWritten) steps.erase(steps.begin() + static_cast<std::ptrdiff_t>(first));
}

Step ValueStep(std::string label, std::vector<Calc> links) {
    return {Step::Kind::Value, 0, std::move(label), {}, {}, std::move(links), false, {}};
}

Step NoteStep(std::string text) {
    return {Step::Kind::Note, 0, std::move(text), {}, {}, {}, false, {}};
}

Step ConclusionStep(SolutionSet set) {
    return {Step::Kind::Conclusion, 0, {}, {}, {}, {}, false, std::move(set)};
}

SolutionSet SetOf(SolutionSet::Shape shape, std::vector<Surd> values) {
    SolutionSet set;
    set.shape = shape;
    set.values = std::move(values);
    return set;
}

// "x = n/d = value", "x = value" for -x = value, or nothing when the reduced line already
// reads x = value.
void PushDegenerate(Steps& steps, Step reduced) {
    reduced.lhs = {{0, Unknown::X}};
    reduced.degenerate = true;
    if (!steps.empty() && steps.back().lhs.empty()) steps.pop_back();
    steps.push_back(std::move(reduced));
}

void Solve(Steps& steps, std::string label, const Rational& n, const Rational& d) {
    if (d == 1) return;
    if (d == -1) {
        steps.push_back(ValueStep(std::move(label), {Num(-n)}));
        return;
    }
    steps.push_back(ValueStep(std::move(label), {QuotOf(Num(n), Num(d)), Num(n / d)}));
}

namespace {

// The side of a level-3 first-degree equation in bracketed form, brackets expanded.
Side ExpandedSide(int form, std::int64_t p1, std::int64_t p2, std::int64_t p3, std::int64_t p4) {
    Side s;
    switch (form) {
        case 1:  // p1 (p2 x + p3) + p4 x
        case 3:  // p1 (p2 x + p3) + p4
            Add(s, p1 * p2, Unknown::X);
            Add(s, p1 * p3, Unknown::One);
            Add(s, p4, form == 1 ? Unknown::X : Unknown::One);
            break;
        case 2:  // p1 x + p2 (p3 x + p4)
        case 4:  // p1 + p2 (p3 x + p4)
            Add(s, p1, form == 2 ? Unknown::X : Unknown::One);
            Add(s, p2 * p3, Unknown::X);
            Add(s, p2 * p4, Unknown::One);
            break;
        default:  // p1 + p2 (x + p4), -1 + p2 (x + p4)
            Add(s, form == 6 ? -1 : p1, Unknown::One);
            Add(s, p2, Unknown::X);
            Add(s, p2 * p4, Unknown::One);
            break;
    }
    return s;
}

// The named signs of a label (steps.h).
const std::string kDelta(1, kLabelDelta);
const std::string kRoot(1, kLabelRoot);

std::string NameOf(Unknown u) {
    return u == Unknown::X ? "x" : "y";
}

// "x = " as a label, the unknown named.
std::string IsLabel(Unknown u) {
    return kLabelUnknown + NameOf(u) + "= ";
}

}  // namespace

Surd Evaluate(const Side& side, const Surd& x, const Rational& y) {
    Surd sum;
    for (const Term& t : side) sum = sum + Surd(t.coef) * Power(x, t.u, y);
    return sum;
}

Calc Num(const Surd& v) {
    return {Calc::Op::Number, v, 0, {}};
}
Calc RootOf(std::int64_t n) {
    return {Calc::Op::Root, {}, n, {}};
}
Calc SquareOf(const Calc& c) {
    return {Calc::Op::Square, {}, 0, {c}};
}
Calc SumOf(const Calc& a, const Calc& b) {
    return {Calc::Op::Sum, {}, 0, {a, b}};
}
Calc DiffOf(const Calc& a, const Calc& b) {
    return {Calc::Op::Diff, {}, 0, {a, b}};
}
Calc ProdOf(std::vector<Calc> factors) {
    return {Calc::Op::Prod, {}, 0, std::move(factors)};
}
Calc QuotOf(const Calc& a, const Calc& b) {
    return {Calc::Op::Quot, {}, 0, {a, b}};
}
Calc NegOf(const Calc& a) {
    return {Calc::Op::Neg, {}, 0, {a}};
}

Surd Evaluate(const Calc& c) {
    switch (c.op) {
        case Calc::Op::Number:
            return c.value;
        case Calc::Op::Root:
            return Surd(0, 1, c.root, 1);
        case Calc::Op::Square:
            return Evaluate(c.args[0]) * Evaluate(c.args[0]);
        case Calc::Op::Sum:
            return Evaluate(c.args[0]) + Evaluate(c.args[1]);
        case Calc::Op::Diff:
            return Evaluate(c.args[0]) - Evaluate(c.args[1]);
        case Calc::Op::Quot:
            return Evaluate(c.args[0]) / Evaluate(c.args[1]);
        case Calc::Op::Neg:
            return -Evaluate(c.args[0]);
        default: {
            Surd p = 1;
            for (const Calc& f : c.args) p = p * Evaluate(f);
            return p;
        }
    }
}

LinearReduction FirstDegreeReduction(int level, const FirstDegreeQuestion& q) {
    const auto& s = q.slots;
    Step written;
    if (level == 3) {
        const FormPair pair = Level3Forms(q.aleas);
        written.lhs = ExpandedSide(pair.left, s[0], s[1], s[2], s[3]);
        written.rhs = ExpandedSide(pair.right, s[4], s[5], s[6], s[7]);
    } else {
        Add(written.lhs, s[0], Unknown::X);
        Add(written.lhs, s[1], Unknown::One);
        Add(written.rhs, s[2], Unknown::X);
        Add(written.rhs, s[3], Unknown::One);
    }
    LinearReduction r;
    Reduce(r.steps, written, level == 3, false);
    const Step reduced = Collected(Gathered(written, false));
    r.a = Total(reduced.lhs, Unknown::X);
    r.b = Total(reduced.rhs, Unknown::One);
    r.reduced = reduced;
    return r;
}

Steps FirstDegreeSteps(int level, const FirstDegreeQuestion& q) {
    auto [steps, reduced, a, b] = FirstDegreeReduction(level, q);
    if (a != 0) {
        Solve(steps, IsLabel(Unknown::X), b, a);
        steps.push_back(ConclusionStep(SetOf(SolutionSet::Shape::Values, {b / a})));
        return steps;
    }
    PushDegenerate(steps, reduced);
    steps.push_back(NoteStep(b == 0 ? "Tout nombre r\xE9\x65l est solution."
                                    : "Aucun nombre ne v\xE9rifie cette \xE9galit\xE9."));
    steps.push_back(
        ConclusionStep(SetOf(b == 0 ? SolutionSet::Shape::Reals : SolutionSet::Shape::Empty)));
    return steps;
}

namespace {

void DiscriminantStep(Steps& steps, std::int64_t a, std::int64_t b, std::int64_t c) {
    // With b = 0 the square term is left out: -4 × 43 × (-25).
    std::vector<Calc> links{b == 0 ? ProdOf({Num(-4), Num(a), Num(c)})
                                   : DiffOf(SquareOf(Num(b)), ProdOf({Num(4), Num(a), Num(c)}))};
    if (b != 0 && a * c != 0) links.push_back(DiffOf(Num(b * b), Num(4 * a * c)));
    links.push_back(Num(b * b - 4 * a * c));
    steps.push_back(ValueStep(std::string(kDelta) + " = b\xB2 - 4ac = ", std::move(links)));
}

void RootStep(Steps& steps, int index, bool plus, std::int64_t a, std::int64_t b, const Surd& root,
              const Surd& value) {
    const std::string label = std::string{kLabelIndexed, index == 1 ? '1' : '2'} + " = (-b " +
                              (plus ? "+" : "-") + " " + kRoot + kDelta + ")/(2a) = ";
    const Calc top = b == 0 ? Num(plus ? root : -root)
                            : (plus ? SumOf(Num(-b), Num(root)) : DiffOf(Num(-b), Num(root)));
    std::vector<Calc> links{QuotOf(top, Num(2 * a))};
    if (root.IsRational()) links.push_back(QuotOf(Num(Evaluate(top)), Num(2 * a)));
    links.push_back(Num(value));
    steps.push_back(ValueStep(label, std::move(links)));
}

}  // namespace

Steps QuadraticOpening(int level, const QuadraticQuestion& q) {
    const auto& s = q.slots;
    Steps steps;
    if (level == 3) {
        Step written;
        for (int side = 0; side < 2; ++side) {
            Side& out = side == 0 ? written.lhs : written.rhs;
            Add(out, s[3 * side], Unknown::X2);
            Add(out, s[3 * side + 1], Unknown::X);
            Add(out, s[3 * side + 2], Unknown::One);
        }
        Reduce(steps, written, false, true);
    }
    const auto [a, b, c] = TrinomialOf(q);
    steps.push_back(NoteStep("a = " + DecimalText(a) + "      b = " + DecimalText(b) +
                             "      c = " + DecimalText(c)));
    DiscriminantStep(steps, a, b, c);
    return steps;
}

Rational DoubleRootStep(Steps& steps, std::int64_t a, std::int64_t b) {
    const Rational x0(-b, 2 * a);
    steps.push_back(ValueStep(std::string{kLabelIndexed, '0'} + " = -b/(2a) = ",
                              {QuotOf(Num(-b), Num(2 * a)), Num(x0)}));
    return x0;
}

SurdPair QuadraticRootSteps(Steps& steps, std::int64_t a, std::int64_t b, std::int64_t c,
                            bool plusFirst) {
    const std::int64_t delta = b * b - 4 * a * c;
    const Surd root(0, 1, delta, 1);
    std::vector<Calc> rootLinks{RootOf(delta), Num(root)};
    if (delta == 1) rootLinks.erase(rootLinks.begin());  // not "√1 = 1"
    steps.push_back(ValueStep(std::string(kRoot) + std::string(kDelta) + " = ", rootLinks));
    const SurdPair roots = QuadraticRoots(a, b, c);
    const SurdPair named = plusFirst ? roots : SurdPair{roots.second, roots.first};
    RootStep(steps, 1, plusFirst, a, b, root, named.first);
    RootStep(steps, 2, !plusFirst, a, b, root, named.second);
    return named;
}

Steps QuadraticSteps(int level, const QuadraticQuestion& q) {
    Steps steps = QuadraticOpening(level, q);
    const Trinomial t = TrinomialOf(q);
    const auto [a, b, c] = t;
    const std::int64_t delta = t.Delta();
    if (delta < 0) {
        steps.push_back(
            NoteStep(std::string(kDelta) +
                     " est n\xE9gatif : l'\xE9quation n'a pas de solution r\xE9\x65lle."));
        steps.push_back(ConclusionStep(SetOf(SolutionSet::Shape::Empty)));
        return steps;
    }
    if (delta == 0) {
        steps.push_back(NoteStep(std::string(kDelta) + " = 0 : une solution double."));
        const Rational x0 = DoubleRootStep(steps, a, b);
        steps.push_back(ConclusionStep(SetOf(SolutionSet::Shape::Values, {x0})));
        return steps;
    }
    steps.push_back(NoteStep(std::string(kDelta) + " est positif : deux solutions."));
    // x1 is the "+" root, as in the key's result line.
    const SurdPair roots = QuadraticRootSteps(steps, a, b, c, true);
    const bool ordered = roots.first < roots.second;
    steps.push_back(
        ConclusionStep(SetOf(SolutionSet::Shape::Values, {ordered ? roots.first : roots.second,
                                                          ordered ? roots.second : roots.first})));
    return steps;
}

namespace {

struct Reduced3 {
    std::int64_t a, b, c;
};

Reduced3 ReducedOf(int level, int form, const EquationSlots& s) {
    ReducedEquation r{s[0], s[1], s[2]};
    if (level == 3) r = form == 0 ? ReduceTwoSided(s) : ReduceBracketed(s);
    return {r.a, r.b, r.c};
}

Step WrittenStep(int level, int form, const EquationSlots& s) {
    Step w;
    const std::int64_t k = s[0], m = s[4];
    if (level != 3) {
        Add(w.lhs, s[0], Unknown::X);
        Add(w.lhs, s[1], Unknown::Y);
        Add(w.rhs, s[2], Unknown::One);
    } else if (form == 0) {
        for (int side = 0; side < 2; ++side) {
            Side& out = side == 0 ? w.lhs : w.rhs;
            Add(out, s[3 * side], Unknown::X);
            Add(out, s[3 * side + 1], Unknown::Y);
            Add(out, s[3 * side + 2], Unknown::One);
        }
    } else {
        Add(w.lhs, k * s[1], Unknown::X);
        Add(w.lhs, k * s[2], Unknown::Y);
        Add(w.lhs, s[3], Unknown::One);
        Add(w.rhs, m * s[5], Unknown::X);
        Add(w.rhs, m * s[6], Unknown::Y);
        Add(w.rhs, s[7], Unknown::One);
    }
    return w;
}

Step Equation(Step::Kind kind, int group, std::string label, const Rational& a, const Rational& b,
              const Rational& c) {
    Step s{kind, group, std::move(label), {}, {}, {}, false, {}};
    if (a != 0) s.lhs.push_back({a, Unknown::X});
    if (b != 0) s.lhs.push_back({b, Unknown::Y});
    if (c != 0) s.rhs.push_back({c, Unknown::One});
    return s;
}

std::string Times(std::int64_t m, std::string_view eq) {
    return m == 1 ? std::string(eq) : DecimalText(m) + " \xD7 " + std::string(eq);
}

// a x with the value v put in the place of x: a × v, v for x, -v for -x; a negative v is
// bracketed where it follows a sign (-(-6), 8 × (-6)).
Calc ProductOf(std::int64_t a, const Rational& v) {
    if (a == 1) return Num(v);
    if (a == -1) return NegOf(Num(v));
    return ProdOf({Num(a), Num(v)});
}

// The roles of the unknowns: `found` is found first, `other` eliminated to find it.
struct Roles {
    Unknown found, other;
};

std::int64_t Coef(const Reduced3& e, Unknown u) {
    return u == Unknown::X ? e.a : e.b;
}

// m·e, written in the order x, y whatever the roles.
Step Scaled(Step::Kind kind, std::string label, std::int64_t m, const Reduced3& e) {
    return Equation(kind, 0, std::move(label), m * e.a, m * e.b, m * e.c);
}

// Eliminates the other unknown between the two equations (both hold it), returns the
// value of the one found.
Rational Eliminate(Steps& steps, const Reduced3& e1, const Reduced3& e2, Roles r) {
    const std::int64_t b1 = Coef(e1, r.other), b2 = Coef(e2, r.other);
    const std::int64_t g = std::gcd(b1, b2);
    const std::int64_t m1 = std::abs(b2) / g, m2 = std::abs(b1) / g;
    const bool same = (b1 > 0) == (b2 > 0);
    const std::int64_t sign = same ? -1 : 1;  // m1·(1) + sign·m2·(2) lacks the other unknown
    if (m1 != 1) steps.push_back(Scaled(Step::Kind::Derived, Times(m1, "(1) : "), m1, e1));
    if (m2 != 1) steps.push_back(Scaled(Step::Kind::Derived, Times(m2, "(2) : "), m2, e2));
    const Reduced3 sum{m1 * e1.a + sign * m2 * e2.a, m1 * e1.b + sign * m2 * e2.b,
                       m1 * e1.c + sign * m2 * e2.c};
    const std::string label = Times(m1, "(1)") + (same ? " - " : " + ") + Times(m2, "(2) : ");
    steps.push_back(Scaled(Step::Kind::Derived, label, 1, sum));
    Solve(steps, IsLabel(r.found), sum.c, Coef(sum, r.found));
    return Rational(sum.c, Coef(sum, r.found));
}

// Find first the unknown an equation gives alone, else the one whose elimination takes
// the smaller multipliers.
Roles ChooseRoles(const Reduced3& e1, const Reduced3& e2) {
    const Roles xFirst{Unknown::X, Unknown::Y}, yFirst{Unknown::Y, Unknown::X};
    if (e1.b == 0 || e2.b == 0) return xFirst;
    if (e1.a == 0 || e2.a == 0) return yFirst;
    const std::int64_t costY = std::abs(e1.b * e2.b) / std::gcd(e1.b, e2.b);
    const std::int64_t costX = std::abs(e1.a * e2.a) / std::gcd(e1.a, e2.a);
    return costX < costY ? yFirst : xFirst;
}

// The equation's left side with the values in place of the unknowns, = its right side.
void CheckStep(Steps& steps, std::string_view eq, const Reduced3& e, const Rational& x,
               const Rational& y) {
    Calc lhs = e.a == 0 ? ProductOf(e.b, y) : ProductOf(e.a, x);
    if (e.a != 0 && e.b != 0) lhs = SumOf(lhs, ProductOf(e.b, y));
    Step check = ValueStep("Dans " + std::string(eq) + " : ", {lhs, Num(e.c)});
    check.kind = Step::Kind::Check;
    steps.push_back(std::move(check));
}

void SolveSystem(Steps& steps, const Reduced3& e1, const Reduced3& e2) {
    const Roles r = ChooseRoles(e1, e2);
    Rational found;
    if (Coef(e1, r.other) != 0 && Coef(e2, r.other) != 0) {
        found = Eliminate(steps, e1, e2, r);
    } else {
        const bool first = Coef(e1, r.other) == 0;
        const Reduced3& e = first ? e1 : e2;
        found = Rational(e.c, Coef(e, r.found));
        Solve(steps, std::string(first ? "(1)" : "(2)") + " donne " + IsLabel(r.found), e.c,
              Coef(e, r.found));
    }
    const bool useFirst = Coef(e1, r.other) != 0;
    const Reduced3& e = useFirst ? e1 : e2;
    Step sub{Step::Kind::Derived,
             3,
             "On remplace " + NameOf(r.found) + " par " + ExactText(found) + " dans " +
                 (useFirst ? "(1)" : "(2)") + " : ",
             {},
             {},
             {},
             false,
             {}};
    const Rational known = found * Rational(Coef(e, r.found));
    const Rational rest = Rational(e.c) - known;
    if (known != 0) sub.lhs.push_back({known, Unknown::One});
    sub.lhs.push_back({Coef(e, r.other), r.other});
    sub.rhs.push_back({e.c, Unknown::One});
    steps.push_back(sub);
    Step moved{Step::Kind::Rewrite, 3, "", {{Coef(e, r.other), r.other}}, {}, {}, false, {}};
    if (rest != 0) moved.rhs.push_back({rest, Unknown::One});
    Push(steps, moved);
    Solve(steps, IsLabel(r.other), rest, Coef(e, r.other));
    const Rational value = rest / Rational(Coef(e, r.other));
    const Rational x = r.found == Unknown::X ? found : value;
    const Rational y = r.found == Unknown::X ? value : found;
    CheckStep(steps, "(1)", e1, x, y);
    CheckStep(steps, "(2)", e2, x, y);
    steps.push_back(ConclusionStep(SetOf(SolutionSet::Shape::Couple, {x, y})));
}

// The solutions of a system whose determinant is 0: none, those of one of its equations,
// or every couple.
SolutionSet DependentSet(const Reduced3 (&e)[2]) {
    const auto trivial = [](const Reduced3& q) { return q.a == 0 && q.b == 0; };
    for (const Reduced3& q : e)
        if (trivial(q) && q.c != 0) return SetOf(SolutionSet::Shape::Empty);
    const Reduced3& q = trivial(e[0]) ? e[1] : e[0];
    if (trivial(q)) return SetOf(SolutionSet::Shape::Couples);
    const Reduced3& other = &q == &e[0] ? e[1] : e[0];
    // Proportional to q, right side included, or trivial: then q alone says it all.
    if (q.a * other.b != other.a * q.b || q.a * other.c != other.a * q.c ||
        q.b * other.c != other.b * q.c)
        return SetOf(SolutionSet::Shape::Empty);
    SolutionSet set = SetOf(SolutionSet::Shape::Line);
    if (q.b != 0) {  // y = -a/b x + c/b
        set.lhs = {{1, Unknown::Y}};
        if (q.a != 0) set.rhs.push_back({Rational(-q.a, q.b), Unknown::X});
        if (q.c != 0 || q.a == 0) set.rhs.push_back({Rational(q.c, q.b), Unknown::One});
    } else {  // x = c/a, y any
        set.lhs = {{1, Unknown::X}};
        set.rhs = {{Rational(q.c, q.a), Unknown::One}};
    }
    return set;
}

}  // namespace

Steps SystemSteps(int level, const SystemQuestion& q) {
    Steps steps;
    const Reduced3 e[2] = {ReducedOf(level, q.form, q.eq1), ReducedOf(level, q.form, q.eq2)};
    for (int k = 0; k < 2; ++k) {
        Step w = WrittenStep(level, q.form, k == 0 ? q.eq1 : q.eq2);
        w.group = k + 1;
        // The two-sided form is the question itself; the bracketed one is shown expanded.
        if (level == 3 && q.form == 1) steps.push_back(w);
        if (level == 3) Push(steps, Gathered(w, false));
        Push(steps, Equation(Step::Kind::Rewrite, k + 1, k == 0 ? "(1) : " : "(2) : ", e[k].a,
                             e[k].b, e[k].c));
    }
    const std::int64_t det = e[0].a * e[1].b - e[1].a * e[0].b;
    if (det != 0) {
        SolveSystem(steps, e[0], e[1]);
        return steps;
    }
    steps.push_back(ValueStep(
        "D\xE9terminant : ",
        {DiffOf(ProdOf({Num(e[0].a), Num(e[1].b)}), ProdOf({Num(e[1].a), Num(e[0].b)})), Num(0)}));
    const SolutionSet set = DependentSet(e);
    const bool same = set.shape != SolutionSet::Shape::Empty;
    steps.push_back(NoteStep(
        same ? "Les deux \xE9quations sont proportionnelles, seconds membres compris : "
               "une infinit\xE9 de solutions."
             : "Les premiers membres sont proportionnels, pas les seconds : aucune solution."));
    steps.push_back(ConclusionStep(set));
    return steps;
}

}  // namespace equat
