// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/equat2d.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

#include "core/numbertext.h"
#include "core/worked.h"

namespace equat {

namespace {

void AddQuadratic(WrittenSide& side, std::int32_t p, std::int32_t q, std::int32_t r) {
    if (p != 0) {
        side.push_back(AtomOf(Atom::Kind::LeadCoef, p));
        side.push_back(UnknownAtom(Var::X2));
        if (q != 0) {
            side.push_back(AtomOf(Atom::Kind::SignedCoef, q));
            side.push_back(UnknownAtom(Var::X));
        }
        side.push_back(AtomOf(Atom::Kind::RoomTerm, r));
    } else if (q != 0) {
        side.push_back(AtomOf(Atom::Kind::LeadCoef, q));
        side.push_back(UnknownAtom(Var::X));
        side.push_back(AtomOf(Atom::Kind::RoomTerm, r));
    } else {
        side.push_back(AtomOf(Atom::Kind::Number, r));
    }
}

}  // namespace

WrittenSide QuadraticSide(std::int32_t p, std::int32_t q, std::int32_t r) {
    WrittenSide side;
    side.reserve(5);
    AddQuadratic(side, p, q, r);
    return side;
}

std::int32_t Discriminant(std::int32_t a, std::int32_t b, std::int32_t c) {
    return Sub32(Mul32(b, b), Mul32(Mul32(4, a), c));
}

namespace {

// (−b ± √Δ) / 2a rounded from its exact value; the double only where a wrapped 2a is 0 or
// the exact fields would overflow, which drawn questions never reach.
std::string RootText(std::int32_t a, std::int32_t b, std::int32_t c, int sign) {
    const std::int32_t d = Discriminant(a, b, c);
    if (d < 0) return "/";
    const std::int32_t top = Sub32(0, b), twoA = Mul32(2, a);
    if (twoA != 0) {
        try {
            return RoundedText(Surd(top, sign, d, twoA));
        } catch (const std::overflow_error&) {
        }
    }
    return FormatFixed2((static_cast<double>(top) + sign * std::sqrt(static_cast<double>(d))) /
                        static_cast<double>(twoA));
}

}  // namespace

std::string RootX1(std::int32_t a, std::int32_t b, std::int32_t c) {
    return RootText(a, b, c, 1);
}

std::string RootX2(std::int32_t a, std::int32_t b, std::int32_t c) {
    return RootText(a, b, c, -1);
}

int DrawQuadraticLevel1(RandomSource& rng, QuadraticQuestion& q, int target) {
    auto& s = q.slots;
    // Roots and factor all range over −9..19, so b and c stay far inside 32 bits.
    for (;;) {
        q.r = DrawNonZeroDiff(rng, 20, 10);
        q.s = DrawNonZeroDiff(rng, 20, 10);
        q.x1 = DecimalText(q.r);
        q.x2 = DecimalText(q.s);
        const std::int32_t a = DrawNonZeroDiff(rng, 20, 10);
        s = {a, -a * (q.r + q.s), a * q.r * q.s, 0, 0, 0, 0, 0};
        if (s[1] != 0 && s[2] != 0) break;  // r + s = 0 would leave no x term
    }
    // Branch 0 gives no real root (case 1), 1 a double root (case 2), the others two roots.
    int aleas;
    do aleas = rng.RandomInt(20);
    while (target >= 0 && (aleas == 0 ? 1 : aleas == 1 ? 2 : 0) != target);
    if (aleas == 0) {  // no real root
        do {
            s[0] = DrawNonZeroDiff(rng, 20, 10);
            s[1] = DrawNonZeroDiff(rng, 20, 10);
            s[2] = DrawNonZeroDiff(rng, 20, 10);
            q.x1 = q.x2 = "/";
        } while (Discriminant(s[0], s[1], s[2]) >= 0);
    } else if (aleas == 1) {  // double root
        q.r = DrawNonZeroDiff(rng, 20, 10);
        q.s = q.r;
        q.x1 = q.x2 = DecimalText(q.r);
        const std::int32_t a = DrawNonZeroDiff(rng, 20, 10);
        s[0] = a;
        s[1] = -a * (q.r + q.s);
        s[2] = a * q.r * q.s;
    }
    return aleas;
}

void DrawQuadraticLevel2(RandomSource& rng, QuadraticQuestion& q) {
    auto& s = q.slots;
    do {
        const std::int32_t a = DrawNonZeroDiff(rng, 45, 15);
        const std::int32_t b = DrawDiff(rng, 30, 15);
        const std::int32_t c = DrawDiff(rng, 15, 45);
        s = {a, b, c, 0, 0, 0, 0, 0};
        q.x1 = RootX1(a, b, c);
        q.x2 = RootX2(a, b, c);
    } while (s[1] == 0 && s[2] == 0);
}

void DrawQuadraticLevel3(RandomSource& rng, QuadraticQuestion& q) {
    auto& s = q.slots;
    do {
        const std::int32_t b = DrawDiff(rng, 15, 15);
        const std::int32_t c = DrawDiff(rng, 15, 45);
        std::int32_t a, d;
        do {
            a = DrawDiff(rng, 45, 15);
            d = DrawDiff(rng, 15, 45);
        } while (a == d);
        const std::int32_t e = DrawDiff(rng, 15, 15);
        const std::int32_t f = DrawDiff(rng, 45, 15);
        s = {a, b, c, d, e, f, 0, 0};
        q.x1 = RootX1(a - d, b - e, c - f);
        q.x2 = RootX2(a - d, b - e, c - f);
    } while (s[1] == s[4] && s[2] == s[5]);
}

namespace {

bool InRange(std::int64_t v, std::int64_t lo, std::int64_t hi) {
    return v >= lo && v <= hi;
}

}  // namespace

void DrawQuadraticDoubleRoot(RandomSource& rng, QuadraticQuestion& q, int level) {
    auto& s = q.slots;
    for (;;) {
        std::int64_t a, b;
        if (level == 2) {
            a = DrawNonZeroDiff(rng, 45, 15);
            b = DrawDiff(rng, 30, 15);
            s = {static_cast<std::int32_t>(a), static_cast<std::int32_t>(b), 0, 0, 0, 0, 0, 0};
        } else {
            s[1] = DrawDiff(rng, 15, 15);
            do {
                s[0] = DrawDiff(rng, 45, 15);
                s[3] = DrawDiff(rng, 15, 45);
            } while (s[0] == s[3]);
            s[4] = DrawDiff(rng, 15, 15);
            s[5] = DrawDiff(rng, 45, 15);
            a = s[0] - s[3];
            b = s[1] - s[4];
        }
        // Δ = 0 with b = 0 leaves c = 0: the equation the level refuses.
        if (b == 0 || (b * b) % (4 * a) != 0) continue;
        const std::int64_t c = b * b / (4 * a) + (level == 2 ? 0 : s[5]);
        if (!InRange(c, -44, 14)) continue;
        s[2] = static_cast<std::int32_t>(c);
        break;
    }
    q.x1 = RootX1(s[0] - s[3], s[1] - s[4], s[2] - s[5]);
    q.x2 = RootX2(s[0] - s[3], s[1] - s[4], s[2] - s[5]);
}

namespace {

// The leading coefficient as the level draws it: a on level 2, a − d on level 3.
std::int64_t DrawLeading(RandomSource& rng, int level, std::array<std::int32_t, 8>& s) {
    s = {};
    if (level == 2) {
        s[0] = DrawNonZeroDiff(rng, 45, 15);
        return s[0];
    }
    do {
        s[0] = DrawDiff(rng, 45, 15);
        s[3] = DrawDiff(rng, 15, 45);
    } while (s[0] == s[3]);
    return std::int64_t{s[0]} - s[3];
}

// `minuend` = `difference` + a subtrahend drawn as R(p) − R(q), within lo..hi.
bool SplitDifference(RandomSource& rng, std::int64_t difference, int p, int q, std::int64_t lo,
                     std::int64_t hi, std::int32_t& minuend, std::int32_t& subtrahend) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        subtrahend = DrawDiff(rng, p, q);
        if (InRange(difference + subtrahend, lo, hi)) {
            minuend = static_cast<std::int32_t>(difference + subtrahend);
            return true;
        }
    }
    return false;
}

// The level's leading coefficient a = k d1 d2, then k (d1 x − n1)(d2 x − n2) with its other
// coefficients in the level's ranges; false when they fall out.
bool DrawOnRoots(RandomSource& rng, int level, bool twice, bool fractions,
                 std::array<std::int32_t, 8>& s) {
    // How far b and c reach: the level's own ranges, or those of the two sides' differences.
    const std::int64_t bReach = level == 2 ? 29 : 28, cReach = level == 2 ? 44 : 88;
    const std::int64_t lead = DrawLeading(rng, level, s);
    const std::int64_t d1 = fractions ? 1 + rng.RandomInt(4) : 1;
    const std::int64_t d2 = twice ? d1 : fractions ? 1 + rng.RandomInt(4) : 1;
    if (fractions && lead % (d1 * d2) != 0) return false;
    const std::int64_t k = fractions ? lead / (d1 * d2) : lead;
    // No root beyond c's reach over |k| fits. One root twice is drawn anywhere it fits, so
    // that none of the few such questions is left out. Two roots are drawn as if within a
    // fixed reach: a large k, which fits few of them, kept as seldom as in the level's own
    // draw (kept in the share of that square its own reach covers, then drawn there).
    const std::int64_t fits = std::min(bReach + 1, cReach / std::abs(k));
    const std::int64_t fixed = level == 2 ? 15 : 9;  // level 3's roots lie closer
    const std::int64_t reach = twice ? fits : std::min(fits, fixed);
    const std::int64_t side = 2 * reach + 1, fixedSide = 2 * fixed + 1;
    if (!twice && rng.RandomInt(static_cast<int>(fixedSide * fixedSide)) >= side * side)
        return false;
    const int span = static_cast<int>(side);
    const std::int64_t n1 = rng.RandomInt(span) - reach;
    const std::int64_t n2 = twice ? n1 : rng.RandomInt(span) - reach;
    if (!twice && n1 * d2 == n2 * d1) return false;  // two roots asked, one given
    const std::int64_t b = -k * (d1 * n2 + d2 * n1), c = k * n1 * n2;
    if (b == 0 && c == 0) return false;  // the equation the levels refuse
    // Each side's reach first: a hopeless split draws nothing.
    if (level == 3)
        return InRange(b, -bReach, bReach) && InRange(c, -cReach, 28) &&
               SplitDifference(rng, b, 15, 15, -14, 14, s[1], s[4]) &&
               SplitDifference(rng, c, 45, 15, -44, 14, s[2], s[5]);
    if (!InRange(b, -14, 29) || !InRange(c, -44, 14)) return false;
    s[1] = static_cast<std::int32_t>(b);
    s[2] = static_cast<std::int32_t>(c);
    return true;
}

}  // namespace

void DrawQuadraticOnRoots(RandomSource& rng, QuadraticQuestion& q, int level, bool twice,
                          bool fractions) {
    auto& s = q.slots;
    while (!DrawOnRoots(rng, level, twice, fractions, s)) {
    }
    q.x1 = RootX1(s[0] - s[3], s[1] - s[4], s[2] - s[5]);
    q.x2 = RootX2(s[0] - s[3], s[1] - s[4], s[2] - s[5]);
}

Statement QuadraticStatement(int level, const std::array<std::int32_t, 8>& slots) {
    // Levels 1 and 2 ask "a x² + b x + c = 0 ", both sides written at level 3.
    if (level == 3)
        return {{{QuadraticSide(slots[0], slots[1], slots[2]),
                  QuadraticSide(slots[3], slots[4], slots[5]), 2, 2}}};
    return {{{QuadraticSide(slots[0], slots[1], slots[2]),
              {AtomOf(Atom::Kind::Number, 0), AtomOf(Atom::Kind::Space, 1)},
              1,
              1}}};
}

Trinomial TrinomialOf(const QuadraticQuestion& q) {
    const auto& s = q.slots;
    return {std::int64_t{s[0]} - s[3], std::int64_t{s[1]} - s[4], std::int64_t{s[2]} - s[5]};
}

std::optional<SurdPair> QuadraticExactRoots(int /*level*/, const QuadraticQuestion& q) {
    const Trinomial t = TrinomialOf(q);
    if (t.Delta() < 0) return std::nullopt;
    return QuadraticRoots(t.a, t.b, t.c);
}

QuestionResult QuadraticResult(int level, const QuadraticQuestion& q) {
    const auto& s = q.slots;
    QuestionResult result;
    result.discriminant = Discriminant(Sub32(s[0], s[3]), Sub32(s[1], s[4]), Sub32(s[2], s[5]));
    const auto exact = QuadraticExactRoots(level, q);
    if (!exact) result.verdict = Verdict::NoRealRoot;
    result.values.push_back({"x1", exact ? std::optional(exact->first) : std::nullopt, q.x1});
    result.values.push_back({"x2", exact ? std::optional(exact->second) : std::nullopt, q.x2});
    return result;
}

void SecondDegreeKind::DrawToward(RandomSource& rng, int i, int target, Solutions solutions) {
    auto& q = record(i);
    switch (level_) {
        case 1:
            aleas_ = DrawQuadraticLevel1(rng, q, target);
            break;
        case 2:
        default:
            if (solutions != Solutions::Any &&
                (target == 0 || (target == 2 && solutions == Solutions::Integer))) {
                // Rational roots are too rare in the level's own draw to wait for them.
                DrawQuadraticOnRoots(rng, q, level_, target == 2, solutions == Solutions::Fraction);
            } else if (target == 2) {
                DrawQuadraticDoubleRoot(rng, q, level_);
            } else if (level_ == 2) {
                DrawQuadraticLevel2(rng, q);
            } else {
                DrawQuadraticLevel3(rng, q);
            }
            break;
    }
}

std::string SecondDegreeKind::DiagnosticEntry(int i) const {
    const auto& q = question(i);
    return DegreeDiagnosticEntry(i, q.slots[0], q.slots[1], q.slots[2], q.slots[3], q.x1, aleas_);
}

std::string SecondDegreeKind::DuplicateKey(int i) const {
    return DuplicateKeyOf(question(i).slots);
}

QuestionModel SecondDegreeKind::Model(int i, bool steps) const {
    const auto& q = question(i);
    const auto& s = q.slots;
    QuestionModel m{"2d", level_, QuadraticStatement(level_, s), Result(i), std::nullopt};
    const Trinomial t = TrinomialOf(q);
    m.coefficients = {t.a, t.b, t.c};
    if (steps) m.steps = QuadraticSteps(level_, q);
    return m;
}

}  // namespace equat
