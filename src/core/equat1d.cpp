// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/equat1d.h"

#include <numeric>
#include <optional>
#include <utility>

#include "core/numbertext.h"
#include "core/worked.h"

namespace equat {

namespace {

constexpr std::string_view kNoSolution[] = {"/ (impossible : aucune solution)",
                                            "/ : Impossible (aucune solution)"};
constexpr std::string_view kEveryReal[] = {"? (ind\xE9termin\xE9 : infinit\xE9 de solutions)",
                                           "? : Ind\xE9termin\xE9 (infinit\xE9 de solution)"};

Atom Signed(std::int32_t v) {
    return AtomOf(Atom::Kind::SignedTerm, v);
}

void AddLinearSide(WrittenSide& s, std::int32_t p, std::int32_t q) {
    if (p == 1) {
        s.push_back(UnknownAtom(Var::X, VarLook::Lead));
    } else if (p == -1) {
        s.push_back(UnknownAtom(Var::X, VarLook::Negated));
    } else if (p != 0) {
        s.push_back(AtomOf(Atom::Kind::Number, p));
        s.push_back(UnknownAtom(Var::X));
    }
    if (q == 0) return;
    s.push_back(p != 0 || q < 0 ? Signed(q) : AtomOf(Atom::Kind::Number, q));
}

// -14..29 without -1, 0 and 1.
int DrawBig(RandomSource& rng) {
    int v;
    do v = DrawDiff(rng, 30, 15);
    while (v >= -1 && v <= 1);
    return v;
}

struct Affine {
    std::int64_t p, q;  // value p x + q
};

// The side's value; without `whole`, as a pupil who multiplies only the bracket's first term
// by its factor finds it.
Affine SideValue(int form, std::int64_t p1, std::int64_t p2, std::int64_t p3, std::int64_t p4,
                 bool whole = true) {
    const auto times = [whole](std::int64_t factor, std::int64_t term) {
        return whole ? factor * term : term;
    };
    switch (form) {
        case 1:
            return {p1 * p2 + p4, times(p1, p3)};
        case 2:
            return {p1 + p2 * p3, times(p2, p4)};
        case 3:
            return {p1 * p2, times(p1, p3) + p4};
        case 4:
            return {p2 * p3, p1 + times(p2, p4)};
        case 5:
            return {p2, p1 + times(p2, p4)};
        default:
            return {p2, -1 + times(p2, p4)};
    }
}

constexpr std::array<FormPair, 10> kPairs{
    {{1, 1}, {1, 2}, {1, 3}, {1, 4}, {2, 3}, {2, 4}, {3, 4}, {4, 1}, {5, 3}, {2, 6}}};

}  // namespace

WrittenSide LinearSide(std::int32_t p, std::int32_t q) {
    WrittenSide s;
    s.reserve(3);
    AddLinearSide(s, p, q);
    return s;
}

std::string_view FirstDegreeVerdictText(int level, Verdict verdict) {
    const std::size_t style = level == 3 ? 1 : 0;
    return verdict == Verdict::EveryReal ? kEveryReal[style] : kNoSolution[style];
}

WrittenSide BracketSide(int form, std::int32_t p1, std::int32_t p2, std::int32_t p3,
                        std::int32_t p4) {
    const Atom x = UnknownAtom(Var::X), open = AtomOf(Atom::Kind::Open),
               close = AtomOf(Atom::Kind::Close), space = AtomOf(Atom::Kind::Space, 1);
    // The first term: a number, or the constant -1 of form 6.
    WrittenSide s;
    s.reserve(9);
    s.push_back(AtomOf(Atom::Kind::Number, form == 6 ? -1 : p1));
    switch (form) {
        case 1:  // p1 (p2 x + p3) + p4 x
        case 3:  // p1 (p2 x + p3) + p4
            s.insert(s.end(), {space, open, AtomOf(Atom::Kind::Number, p2), x, Signed(p3), close,
                               Signed(p4)});
            if (form == 1) s.push_back(x);
            break;
        case 2:  // p1 x + p2 (p3 x + p4)
        case 4:  // p1 + p2 (p3 x + p4)
            if (form == 2) s.push_back(x);
            s.insert(s.end(), {Signed(p2), space, open, AtomOf(Atom::Kind::Number, p3), x,
                               Signed(p4), close});
            break;
        default:  // p1 + p2 (x + p4), -1 + p2 (x + p4)
            s.insert(s.end(), {Signed(p2), space, open, x, Signed(p4), close});
            break;
    }
    return s;
}

FormPair Level3Forms(int k) {
    return kPairs.at(static_cast<std::size_t>(k));
}

std::string Level3SolutionText(int k, const std::array<std::int32_t, 8>& s) {
    const auto& pair = kPairs.at(static_cast<std::size_t>(k));
    const Affine l = SideValue(pair.left, s[0], s[1], s[2], s[3]);
    const Affine r = SideValue(pair.right, s[4], s[5], s[6], s[7]);
    // Each side's value in 32-bit arithmetic, then the two differences likewise.
    const std::int32_t d = Wrap32(std::int64_t{Wrap32(l.p)} - Wrap32(r.p));
    const std::int32_t n = Wrap32(std::int64_t{Wrap32(r.q)} - Wrap32(l.q));
    if (d == 0)
        return std::string(
            FirstDegreeVerdictText(3, n == 0 ? Verdict::EveryReal : Verdict::NoSolution));
    return RoundedText(Rational(n, d));
}

std::vector<std::int64_t> FirstDegreeCoefficients(int level, const FirstDegreeQuestion& q) {
    const auto& s = q.slots;
    if (level != 3) return {s[0], s[1], s[2], s[3]};
    const auto& pair = kPairs.at(static_cast<std::size_t>(q.aleas));
    const Affine l = SideValue(pair.left, s[0], s[1], s[2], s[3]);
    const Affine r = SideValue(pair.right, s[4], s[5], s[6], s[7]);
    const Affine lh = SideValue(pair.left, s[0], s[1], s[2], s[3], false);
    const Affine rh = SideValue(pair.right, s[4], s[5], s[6], s[7], false);
    return {l.p, l.q, r.p, r.q, lh.p, lh.q, rh.p, rh.q};
}

std::optional<Rational> FirstDegreeExactSolution(int level, const FirstDegreeQuestion& q) {
    const auto c = FirstDegreeCoefficients(level, q);
    if (c[0] == c[2]) return std::nullopt;
    return Rational(c[3] - c[1], c[0] - c[2]);
}

QuestionResult FirstDegreeResult(int level, const FirstDegreeQuestion& q) {
    QuestionResult result;
    auto exact = FirstDegreeExactSolution(level, q);
    if (exact) {
        result.values.push_back({"x", Surd(*exact), q.solution});
        return result;
    }
    // The verdict texts start with their sign: "/" none, "?" every real.
    const bool none = q.solution.front() == '/';
    result.verdict = none ? Verdict::NoSolution : Verdict::EveryReal;
    result.values.push_back({"x", std::nullopt, none ? "/" : "?"});
    return result;
}

void FirstDegreeKind::DrawLevel1(RandomSource& rng, FirstDegreeQuestion& q) {
    auto& s = q.slots;
    for (;;) {
        q.x0 = DrawDiff(rng, 20, 10);
        const std::int32_t a = DrawDiff(rng, 20, 10);
        const std::int32_t b = DrawDiff(rng, 20, 10);
        const std::int32_t c = DrawDiff(rng, 20, 10);
        const std::int32_t d = a * q.x0 + b - c * q.x0;
        s = {a, b, c, d, 0, 0, 0, 0};
        q.solution = DecimalText(q.x0);
        if (c == a || (a == 0 && b == 0) || (c == 0 && d == 0) || (a == 1 && b == 0 && c == 0))
            continue;
        return;
    }
}

void FirstDegreeKind::DrawLevel1Verdict(RandomSource& rng, FirstDegreeQuestion& q, bool every) {
    auto& s = q.slots;
    std::int32_t a, d;
    do a = DrawDiff(rng, 20, 10);
    while (a == 0);
    const std::int32_t b = DrawDiff(rng, 20, 10);
    if (every) {
        d = b;
    } else {
        do d = DrawDiff(rng, 20, 10);
        while (d == b);
    }
    q.x0 = 0;
    s = {a, b, a, d, 0, 0, 0, 0};
    q.solution = FirstDegreeVerdictText(1, every ? Verdict::EveryReal : Verdict::NoSolution);
}

namespace {

// What the level-2 branch of choice draw `aleas` gives: 0 one solution (an integer for
// aleas <= 19), 1 none, 2 every real.
bool Level2BranchGives(int aleas, int target, Solutions solutions) {
    const int branchCase = aleas <= 37 ? 0 : aleas - 37;
    if (target >= 0 && branchCase != target) return false;
    return branchCase != 0 || solutions != Solutions::Integer || aleas <= 19;
}

}  // namespace

void FirstDegreeKind::DrawLevel2(RandomSource& rng, FirstDegreeQuestion& q, int target,
                                 Solutions solutions) {
    auto& s = q.slots;
    for (;;) {
        const std::int32_t b = DrawDiff(rng, 30, 15);
        std::int32_t a, c, d;
        do {
            a = DrawDiff(rng, 30, 15);
            c = DrawDiff(rng, 30, 15);
        } while (c == a);
        do aleas_ = rng.RandomInt(40);
        while (!Level2BranchGives(aleas_, target, solutions));
        if (aleas_ <= 19) {
            q.x0 = DrawDiff(rng, 30, 15);
            q.solution = DecimalText(q.x0);
            d = a * q.x0 + b - c * q.x0;
        } else if (aleas_ <= 37) {
            d = DrawDiff(rng, 30, 15);
            q.solution = RoundedText(Rational(d - b, a - c));
        } else if (aleas_ == 38) {
            c = a;
            do d = DrawDiff(rng, 30, 15);
            while (d == b);
            q.solution = FirstDegreeVerdictText(2, Verdict::NoSolution);
        } else {
            c = a;
            d = b;
            q.solution = FirstDegreeVerdictText(2, Verdict::EveryReal);
        }
        s = {a, b, c, d, 0, 0, 0, 0};
        if ((a == 0 && b == 0) || (c == 0 && d == 0) || (a == 0 && c == 0) ||
            (a == 1 && b == 0 && c == 0))
            continue;
        return;
    }
}

namespace {

// The right side's slot that its constant alone holds, by form.
constexpr std::array<std::size_t, 7> kConstantSlot{0, 6, 7, 7, 4, 4, 7};

// a⁻¹ modulo m, for a coprime to m > 0.
std::int64_t ModInverse(std::int64_t a, std::int64_t m) {
    std::int64_t r0 = m, r1 = a, t0 = 0, t1 = 1;
    while (r1 != 0) {
        const std::int64_t k = r0 / r1;
        r0 = std::exchange(r1, r0 - k * r1);
        t0 = std::exchange(t1, t0 - k * t1);
    }
    return ((t0 % m) + m) % m;
}

// A value v that DrawBig gives with d | coef·v + n0 (d, coef ≠ 0), drawn evenly among them;
// none when there is none.
std::optional<std::int32_t> DrawBigSolving(RandomSource& rng, std::int64_t coef, std::int64_t n0,
                                           std::int64_t d) {
    const std::int64_t g = std::gcd(coef, d);
    if (n0 % g != 0) return std::nullopt;
    const std::int64_t m = std::abs(d) / g;
    const std::int64_t v0 = ((-n0 / g) % m + m) % m * ModInverse(((coef / g) % m + m) % m, m) % m;
    std::array<std::int32_t, 44> fits{};
    int count = 0;
    for (std::int64_t v = v0 - (v0 + 14) / m * m; v <= 29; v += m)
        if (v < -1 || v > 1) fits[static_cast<std::size_t>(count++)] = static_cast<std::int32_t>(v);
    if (count == 0) return std::nullopt;
    return fits[static_cast<std::size_t>(rng.RandomInt(count))];
}

}  // namespace

void FirstDegreeKind::DrawLevel3(RandomSource& rng, FirstDegreeQuestion& q, bool integer) {
    auto& s = q.slots;
    for (;;) {
        for (auto& v : s) v = DrawBig(rng);
        aleas_ = rng.RandomInt(10);
        if (aleas_ == 8) s[2] = 1;
        if (aleas_ == 9) {
            s[4] = -1;
            s[6] = 1;
        }
        if (!integer) break;
        // One draw in forty has an integer solution: the right side's constant is solved for
        // one instead, among the values the level draws.
        const auto& pair = kPairs[static_cast<std::size_t>(aleas_)];
        const std::size_t slot = kConstantSlot[static_cast<std::size_t>(pair.right)];
        s[slot] = 0;
        const Affine l = SideValue(pair.left, s[0], s[1], s[2], s[3]);
        const Affine r0 = SideValue(pair.right, s[4], s[5], s[6], s[7]);
        s[slot] = 1;
        const std::int64_t coef = SideValue(pair.right, s[4], s[5], s[6], s[7]).q - r0.q;
        const std::int64_t d = l.p - r0.p;
        if (d == 0 || coef == 0) continue;
        const auto v = DrawBigSolving(rng, coef, r0.q - l.q, d);
        if (!v) continue;
        s[slot] = *v;
        break;
    }
    q.solution = Level3SolutionText(aleas_, s);
}

namespace {

// The values DrawBig gives.
bool IsBig(std::int64_t v) {
    return v >= -14 && v <= 29 && (v < -1 || v > 1);
}

}  // namespace

void FirstDegreeKind::DrawLevel3Verdict(RandomSource& rng, FirstDegreeQuestion& q, bool every) {
    auto& s = q.slots;
    for (;;) {
        for (auto& v : s) v = DrawBig(rng);
        // Pair 0: p1 (p2 x + p3) + p4 x on both sides.
        const Affine l = SideValue(1, s[0], s[1], s[2], s[3]);
        if (every) {
            s[4] = s[0];
            s[6] = s[2];
        }
        const std::int64_t s7 = l.p - std::int64_t{s[4]} * s[5];
        if (every && s[5] == s[1]) continue;
        if (!IsBig(s7)) continue;
        s[7] = static_cast<std::int32_t>(s7);
        if (!every && SideValue(1, s[4], s[5], s[6], s[7]).q == l.q) continue;
        break;
    }
    aleas_ = 0;
    q.solution = Level3SolutionText(aleas_, s);
}

Statement FirstDegreeStatement(int level, const FirstDegreeQuestion& q) {
    const auto& s = q.slots;
    if (level != 3) return {{{LinearSide(s[0], s[1]), LinearSide(s[2], s[3]), 2, 2}}};
    const auto& pair = kPairs.at(static_cast<std::size_t>(q.aleas));
    return {{{BracketSide(pair.left, s[0], s[1], s[2], s[3]),
              BracketSide(pair.right, s[4], s[5], s[6], s[7]), 1, 1}}};
}

void FirstDegreeKind::DrawToward(RandomSource& rng, int i, int target, Solutions solutions) {
    auto& q = record(i);
    const bool verdict = target == 1 || target == 2;
    switch (level_) {
        case 1:
            if (verdict) {
                DrawLevel1Verdict(rng, q, target == 2);
            } else {
                DrawLevel1(rng, q);
            }
            break;
        case 2:
            DrawLevel2(rng, q, target, solutions);
            break;
        default:
            if (verdict) {
                DrawLevel3Verdict(rng, q, target == 2);
            } else {
                DrawLevel3(rng, q, solutions == Solutions::Integer);
            }
            break;
    }
    q.aleas = aleas_;
}

std::string FirstDegreeKind::DiagnosticEntry(int i) const {
    const auto& q = question(i);
    return DegreeDiagnosticEntry(i, q.slots[0], q.slots[1], q.slots[2], q.slots[3], q.solution,
                                 aleas_);
}

std::string FirstDegreeKind::DuplicateKey(int i) const {
    return DuplicateKeyOf(question(i).slots);
}

QuestionModel FirstDegreeKind::Model(int i, bool steps) const {
    const auto& q = question(i);
    QuestionModel m{"1d", level_, FirstDegreeStatement(level_, q), Result(i), std::nullopt};
    m.coefficients = FirstDegreeCoefficients(level_, q);
    if (steps) m.steps = FirstDegreeSteps(level_, q);
    return m;
}

}  // namespace equat
