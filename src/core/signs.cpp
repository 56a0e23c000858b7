// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/signs.h"

#include <algorithm>
#include <utility>

#include "core/equat1d.h"
#include "core/numbertext.h"

namespace equat {

namespace {

Rational RootOf(const SignFactor& f) {
    return {-std::int64_t{f.q}, f.p};
}

bool Strict(Relation r) {
    return r == Relation::Lt || r == Relation::Gt;
}

Side SideOf(const SignFactor& f) {
    Side s;
    if (f.constantFirst && f.q != 0) s.push_back({f.q, Unknown::One});
    s.push_back({f.p, Unknown::X});
    if (!f.constantFirst && f.q != 0) s.push_back({f.q, Unknown::One});
    return s;
}

bool IsQuotient(SignForm form) {
    return form == SignForm::Quotient || form == SignForm::Moved;
}

}  // namespace

ReducedSigns ReduceSigns(const SignsQuestion& q) {
    const auto& f = q.factors;
    switch (q.form) {
        case SignForm::Square:
            return {{f[0], f[0]}, 2, q.relation};
        case SignForm::Triple:
            return {{f[0], f[1], f[2]}, 3, q.relation};
        case SignForm::Quotient:
            return {{f[0], f[1]}, 1, q.relation};
        case SignForm::Moved: {
            const SignFactor top{f[0].p - q.k * f[1].p, f[0].q - q.k * f[1].q, false};
            return {{top, f[1]}, 1, q.relation};
        }
        default:
            return {{f[0], f[1]}, 2, q.relation};
    }
}

SignTable SignTableOf(const ReducedSigns& r) {
    SignTable t;
    std::vector<Rational> roots;
    for (const auto& f : r.factors) roots.push_back(RootOf(f));
    std::vector<Rational> sorted = roots;
    std::ranges::sort(sorted);
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    const std::size_t n = sorted.size();
    for (const auto& v : sorted) t.values.emplace_back(v);
    SignRow whole{{}, r.numerators, std::vector<Sign>(2 * n + 1, Sign::Plus)};
    for (std::size_t k = 0; k < r.factors.size(); ++k) {
        const auto at =
            static_cast<std::size_t>(std::ranges::find(sorted, roots[k]) - sorted.begin());
        const bool positive = r.factors[k].p > 0;
        SignRow row{{SideOf(r.factors[k])}, 1, std::vector<Sign>(2 * n + 1, Sign::Blank)};
        for (std::size_t j = 0; j <= n; ++j) {
            // Right of its root a factor has its leading coefficient's sign.
            const bool plus = (j > at) == positive;
            row.cells[2 * j] = plus ? Sign::Plus : Sign::Minus;
            if (!plus)
                whole.cells[2 * j] = whole.cells[2 * j] == Sign::Plus ? Sign::Minus : Sign::Plus;
        }
        row.cells[2 * at + 1] = Sign::Zero;
        // A denominator's root forbids the value whatever the numerator does there.
        Sign& under = whole.cells[2 * at + 1];
        if (static_cast<int>(k) >= r.numerators) {
            under = Sign::Forbidden;
        } else if (under != Sign::Forbidden) {
            under = Sign::Zero;
        }
        whole.factors.push_back(row.factors.front());
        t.rows.push_back(std::move(row));
    }
    t.rows.push_back(std::move(whole));
    return t;
}

namespace {

// The interval of the cells first..last (cell 2j the interval before value j, 2j + 1 value j).
Interval CellsInterval(const std::vector<Surd>& values, std::size_t first, std::size_t last) {
    Interval i;
    if (first > 0) i.low = values[(first - 1) / 2];
    i.lowClosed = first % 2 == 1;
    if (last < 2 * values.size()) i.high = values[last / 2];
    i.highClosed = last % 2 == 1;
    return i;
}

// Intervals that leave out single values only, from -∞ to +∞: ℝ without those values.
bool AllButValues(const std::vector<Interval>& v) {
    if (v.front().low || v.back().high) return false;
    for (std::size_t k = 1; k < v.size(); ++k)
        if (v[k - 1].high != v[k].low) return false;
    return true;
}

}  // namespace

SolutionSet SignSolutionSet(const SignTable& table, Relation relation) {
    const Sign want =
        relation == Relation::Lt || relation == Relation::Le ? Sign::Minus : Sign::Plus;
    const auto& cells = table.rows.back().cells;
    const auto in = [&](std::size_t c) {
        return cells[c] == want || (cells[c] == Sign::Zero && !Strict(relation));
    };
    SolutionSet set;
    set.shape = SolutionSet::Shape::Intervals;
    std::size_t first = 0;
    for (std::size_t c = 0; c < cells.size(); ++c) {
        if (!in(c)) continue;
        if (c == 0 || !in(c - 1)) first = c;
        if (c + 1 == cells.size() || !in(c + 1))
            set.intervals.push_back(CellsInterval(table.values, first, c));
    }
    const auto& v = set.intervals;
    if (v.empty()) {
        set.shape = SolutionSet::Shape::Empty;
    } else if (std::ranges::all_of(v, [](const Interval& i) { return i.low && i.low == i.high; })) {
        set.shape = SolutionSet::Shape::Values;
        for (const auto& i : v) set.values.push_back(*i.low);
    } else if (AllButValues(v)) {
        set.shape = SolutionSet::Shape::Reals;
        for (std::size_t k = 1; k < v.size(); ++k) set.excluded.push_back(*v[k].low);
    }
    if (set.shape != SolutionSet::Shape::Intervals) set.intervals.clear();
    return set;
}

QuestionResult SignsResult(const SignsQuestion& q) {
    const ReducedSigns r = ReduceSigns(q);
    SolutionSet set = SignSolutionSet(SignTableOf(r), r.relation);
    using Shape = SolutionSet::Shape;
    const bool both =
        set.shape == Shape::Reals ||
        (set.shape == Shape::Intervals && !set.intervals.front().low && !set.intervals.back().high);
    const int caseBit = set.shape == Shape::Empty ? 1 : both ? 2 : 0;
    return SetResult(std::move(set), caseBit, true);
}

namespace {

void AddFactor(WrittenSide& s, const SignFactor& f, bool bare) {
    if (bare) {
        const WrittenSide side = LinearSide(f.p, f.q);
        s.insert(s.end(), side.begin(), side.end());
        return;
    }
    s.push_back(AtomOf(Atom::Kind::Open));
    if (f.constantFirst) {
        s.push_back(AtomOf(Atom::Kind::Number, f.q));
        s.push_back(AtomOf(Atom::Kind::SignedCoef, f.p));
        s.push_back(UnknownAtom(Var::X));
    } else {
        const WrittenSide side = LinearSide(f.p, f.q);
        s.insert(s.end(), side.begin(), side.end());
    }
    s.push_back(AtomOf(Atom::Kind::Close));
}

}  // namespace

Statement SignsStatement(const SignsQuestion& q) {
    WrittenSide left;
    const auto& f = q.factors;
    switch (q.form) {
        case SignForm::Square:
            AddFactor(left, f[0], false);
            left.push_back(AtomOf(Atom::Kind::Squared));
            break;
        case SignForm::Triple:
            AddFactor(left, f[0], true);
            AddFactor(left, f[1], false);
            AddFactor(left, f[2], false);
            break;
        default:
            AddFactor(left, f[0], false);
            if (IsQuotient(q.form)) left.push_back(AtomOf(Atom::Kind::Over));
            AddFactor(left, f[1], false);
            break;
    }
    WrittenEquation e{std::move(left), {AtomOf(Atom::Kind::Number, q.k)}, 1, 1, q.relation};
    return {{std::move(e)}};
}

namespace {

Step NoteStep(std::string text) {
    return {Step::Kind::Note, 0, std::move(text), {}, {}, {}, false, {}};
}

// "p x + q = 0", then "x = -q/p = root" (the quotient left out where it is the root itself).
void RootSteps(Steps& steps, const SignFactor& f, std::string label) {
    steps.push_back({Step::Kind::Rewrite, 0, std::move(label), SideOf(f), {}, {}, false, {}});
    if (f.p == 1 && f.q == 0) return;  // "x = 0" says it already
    // -q/p with its sign on top: x = 16/2 = 8 for -2x + 16 = 0.
    const std::int64_t top = f.p < 0 ? f.q : -std::int64_t{f.q}, bottom = f.p < 0 ? -f.p : f.p;
    std::vector<Calc> links;
    if (bottom != 1) links.push_back(QuotOf(Num(Rational(top)), Num(Rational(bottom))));
    links.push_back(Num(RootOf(f)));
    steps.push_back({Step::Kind::Value,
                     0,
                     std::string{kLabelUnknown} + "x= ",
                     {},
                     {},
                     std::move(links),
                     false,
                     {}});
}

// k moved to the left over the common denominator: its numerator as written, then reduced.
void MovedSteps(Steps& steps, const SignsQuestion& q, const SignFactor& top) {
    const std::string move = q.k > 0 ? "on retranche " + DecimalText(q.k)
                                     : "on ajoute " + DecimalText(-std::int64_t{q.k});
    steps.push_back(NoteStep("On compare \xE0 0 : " + move +
                             " aux deux membres et on r\xE9\x64uit au m\xEAme d\xE9nominateur."));
    Side written = SideOf(q.factors[0]);
    for (const Term& t : SideOf(q.factors[1])) written.push_back({-q.k * t.coef, t.u});
    steps.push_back({Step::Kind::Rewrite,
                     0,
                     "Num\xE9rateur : ",
                     std::move(written),
                     SideOf(top),
                     {},
                     false,
                     {}});
}

std::string ReadingText(bool quotient, Relation relation) {
    std::string s =
        quotient ? "On cherche o\xF9 le quotient est " : "On cherche o\xF9 le produit est ";
    switch (relation) {
        case Relation::Lt:
            s += "strictement n\xE9gatif";
            break;
        case Relation::Le:
            s += "n\xE9gatif ou nul";
            break;
        case Relation::Gt:
            s += "strictement positif";
            break;
        default:
            s += "positif ou nul";
            break;
    }
    return s + (quotient && !Strict(relation) ? " (la valeur interdite est exclue)." : ".");
}

}  // namespace

Steps SignsSteps(const SignsQuestion& q) {
    const ReducedSigns r = ReduceSigns(q);
    const bool quotient = IsQuotient(q.form);
    Steps steps;
    if (quotient) RootSteps(steps, r.factors[1], "Valeur interdite : ");
    if (q.form == SignForm::Moved) MovedSteps(steps, q, r.factors[0]);
    const int tops = quotient ? 1 : q.form == SignForm::Square ? 1 : r.numerators;
    for (int k = 0; k < tops; ++k) RootSteps(steps, r.factors[static_cast<std::size_t>(k)], "");
    SignTable table = SignTableOf(r);
    SolutionSet set = SignSolutionSet(table, r.relation);
    steps.push_back({Step::Kind::Table, 0, {}, {}, {}, {}, false, {}, std::move(table)});
    steps.push_back(NoteStep(ReadingText(quotient, r.relation)));
    steps.push_back({Step::Kind::Conclusion, 0, {}, {}, {}, {}, false, std::move(set)});
    return steps;
}

namespace {

// p x + q with an integer root: p = ±1 at level 1, up to ±4 after; from level 2 a negative p is
// written after the constant half the time: (2 - x).
SignFactor IntegerRootFactor(RandomSource& rng, int level) {
    SignFactor f;
    f.p = level == 1 ? (rng.RandomInt(2) == 0 ? 1 : -1) : DrawNonZeroDiff(rng, 5, 5);
    f.q = -f.p * DrawNonZeroDiff(rng, 10, 10);
    f.constantFirst = level >= 2 && f.p < 0 && rng.RandomInt(2) == 0;
    return f;
}

// p x + q with a root that is no integer: |p| from 2 to 5.
SignFactor FractionRootFactor(RandomSource& rng) {
    SignFactor f;
    f.p = (2 + rng.RandomInt(4)) * (rng.RandomInt(2) == 0 ? 1 : -1);
    do f.q = DrawNonZeroDiff(rng, 10, 10);
    while (f.q % f.p == 0);
    return f;
}

// A second factor whose root differs from the first's.
SignFactor OtherFactor(RandomSource& rng, int level, const SignFactor& first) {
    SignFactor f;
    do f = IntegerRootFactor(rng, level);
    while (RootOf(f) == RootOf(first));
    return f;
}

void DrawTwoFactors(RandomSource& rng, int level, bool fraction, SignsQuestion& q) {
    q.factors[0] = fraction ? FractionRootFactor(rng) : IntegerRootFactor(rng, level);
    q.factors[1] = OtherFactor(rng, level, q.factors[0]);
    // The fraction's factor as often below as above.
    if (fraction && rng.RandomInt(2) == 0) std::swap(q.factors[0], q.factors[1]);
}

void DrawLevel3(RandomSource& rng, int aleas, SignsQuestion& q) {
    if (aleas <= 6) {  // a factor with a fraction root
        q.form = aleas <= 3 ? SignForm::Product : SignForm::Quotient;
        DrawTwoFactors(rng, 3, true, q);
    } else if (aleas <= 13) {  // a right side to move first
        q.form = SignForm::Moved;
        do {
            DrawTwoFactors(rng, 2, false, q);
            q.k = DrawNonZeroDiff(rng, 6, 6);
        } while (q.factors[0].p == q.k * q.factors[1].p);
    } else {  // x and two factors
        q.form = SignForm::Triple;
        q.factors[0] = {1, 0, false};
        q.factors[1] = IntegerRootFactor(rng, 2);
        q.factors[2] = OtherFactor(rng, 2, q.factors[1]);
    }
}

}  // namespace

void SignsKind::DrawToward(RandomSource& rng, int i, int target, Solutions /*solutions*/) {
    SignsQuestion& q = record(i);
    q = {};
    // A square is the one form that can give no solution: built when that case is asked.
    aleas_ = target == 1 ? 0 : rng.RandomInt(20);
    q.relation = target == 1 ? Relation::Lt : static_cast<Relation>(1 + rng.RandomInt(4));
    if (aleas_ == 0) {
        q.form = SignForm::Square;
        q.factors[0] = level_ == 3 ? FractionRootFactor(rng) : IntegerRootFactor(rng, level_);
        // (3 - x)² too at level 1, so that a sheet of empty sets has forty different squares.
        if (level_ == 1 && q.factors[0].p == -1) q.factors[0].constantFirst = rng.RandomInt(2) == 0;
    } else if (level_ == 3) {
        DrawLevel3(rng, aleas_, q);
    } else {
        q.form = aleas_ <= 9 ? SignForm::Product : SignForm::Quotient;
        DrawTwoFactors(rng, level_, false, q);
    }
}

std::string SignsKind::DiagnosticEntry(int i) const {
    const SignsQuestion& q = question(i);
    const QuestionResult r = Result(i);
    std::string s = DecimalText(i) + std::string(kNumbering) +
                    "forme=" + DecimalText(static_cast<int>(q.form)) +
                    "  R=" + DecimalText(static_cast<int>(q.relation));
    for (const auto& f : q.factors) s += "  (" + DecimalText(f.p) + ";" + DecimalText(f.q) + ")";
    s += "  k=" + DecimalText(q.k) + "\r\nS :";
    for (const auto& v : r.values) s += " " + v.name + "=" + v.decimal;
    return s + "   aleas=" + DecimalText(aleas_);
}

std::string SignsKind::DuplicateKey(int i) const {
    const SignsQuestion& q = question(i);
    std::string s = DecimalText(static_cast<int>(q.form)) + "," +
                    DecimalText(static_cast<int>(q.relation)) + "," + DecimalText(q.k);
    for (const auto& f : q.factors)
        s += "," + DecimalText(f.p) + "," + DecimalText(f.q) + (f.constantFirst ? "c" : "");
    return s;
}

QuestionModel SignsKind::Model(int i, bool steps) const {
    const SignsQuestion& q = question(i);
    QuestionModel m{"signs", level_, SignsStatement(q), Result(i), std::nullopt};
    const ReducedSigns r = ReduceSigns(q);
    m.coefficients = {static_cast<std::int64_t>(r.relation), r.numerators};
    for (const auto& f : r.factors) m.coefficients.insert(m.coefficients.end(), {f.p, f.q});
    if (steps) m.steps = SignsSteps(q);
    return m;
}

}  // namespace equat
