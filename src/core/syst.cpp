// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/syst.h"

#include <cstdlib>
#include <utility>

#include "core/numbertext.h"
#include "core/textsink.h"
#include "core/worked.h"

namespace equat {

namespace {

// R(15) − R(15) drawn again while its absolute value is at most `floor`.
int SmallAbove(RandomSource& rng, int floor) {
    int v;
    do v = DrawDiff(rng, 15, 15);
    while (std::abs(v) <= floor);
    return v;
}

// Determinant quotient: "?" for 0/0, "/" for n/0, else the value.
std::string Quotient(std::int32_t n, std::int32_t d) {
    if (d == 0) return n == 0 ? "?" : "/";
    return RoundedText(Rational(n, d));
}

// a x + b y, as each form writes it.
void AddXY(WrittenSide& side, std::int32_t a, std::int32_t b) {
    side.insert(side.end(), {AtomOf(Atom::Kind::LeadCoef, a), UnknownAtom(Var::X),
                             AtomOf(Atom::Kind::SignedCoef, b), UnknownAtom(Var::Y)});
}

// k (a x + b y)
void AddBracket(WrittenSide& side, std::int32_t k, std::int32_t a, std::int32_t b) {
    side.insert(side.end(), {AtomOf(Atom::Kind::LeadCoef, k), AtomOf(Atom::Kind::Space, 1),
                             AtomOf(Atom::Kind::Open)});
    AddXY(side, a, b);
    side.push_back(AtomOf(Atom::Kind::Close));
}

ReducedEquation Reduce(int form, const EquationSlots& s) {
    return form == 0 ? ReduceTwoSided(s) : ReduceBracketed(s);
}

ReducedEquation Plain(const EquationSlots& s) {
    return {s[0], s[1], s[2]};
}

void SetSolution(SystemQuestion& q, const ReducedEquation& e1, const ReducedEquation& e2) {
    q.x = SolveForX(e1.a, e1.b, e1.c, e2.a, e2.b, e2.c);
    q.y = SolveForY(e1.a, e1.b, e1.c, e2.a, e2.b, e2.c);
}

// Plain-form equation a x + b y = c with non-zero a and b drawn as R(p) − R(q), and the
// right side taken from the drawn solution.
void DrawPlainOnSolution(RandomSource& rng, EquationSlots& s, int p, int q, std::int32_t x0,
                         std::int32_t y0) {
    s[0] = DrawNonZeroDiff(rng, p, q);
    s[1] = DrawNonZeroDiff(rng, p, q);
    s[2] = s[0] * x0 + s[1] * y0;  // at most 29·19·2 in magnitude
}

void DrawSolution(RandomSource& rng, SystemQuestion& q) {
    q.x0 = DrawDiff(rng, 20, 10);
    q.x = DecimalText(q.x0);
    q.y0 = DrawDiff(rng, 20, 10);
    q.y = DecimalText(q.y0);
}

}  // namespace

ReducedEquation ReduceTwoSided(const EquationSlots& s) {
    return {Sub32(s[0], s[3]), Sub32(s[1], s[4]), Sub32(s[5], s[2])};
}

ReducedEquation ReduceBracketed(const EquationSlots& s) {
    return {Sub32(Mul32(s[0], s[1]), Mul32(s[4], s[5])),
            Sub32(Mul32(s[0], s[2]), Mul32(s[4], s[6])), Sub32(s[7], s[3])};
}

WrittenEquation PlainLine(const EquationSlots& s) {
    WrittenEquation e{{}, {AtomOf(Atom::Kind::Number, s[2])}, 2, 1};
    AddXY(e.left, s[0], s[1]);
    return e;
}

WrittenEquation TwoSidedLine(const EquationSlots& s) {
    WrittenEquation e{{}, {}, 2, 1};
    e.left.reserve(5);
    e.right.reserve(6);
    AddXY(e.left, s[0], s[1]);
    e.left.push_back(AtomOf(Atom::Kind::RoomTerm, s[2]));
    AddXY(e.right, s[3], s[4]);
    e.right.push_back(AtomOf(Atom::Kind::Space, 1));
    e.right.push_back(AtomOf(Atom::Kind::RoomTerm, s[5]));
    return e;
}

WrittenEquation BracketedLine(const EquationSlots& s) {
    WrittenEquation e{{}, {}, 2, 1};
    e.left.reserve(8);
    e.right.reserve(9);
    AddBracket(e.left, s[0], s[1], s[2]);
    e.left.push_back(AtomOf(Atom::Kind::RoomTerm, s[3]));
    AddBracket(e.right, s[4], s[5], s[6]);
    e.right.push_back(AtomOf(Atom::Kind::Space, 1));
    e.right.push_back(AtomOf(Atom::Kind::RoomTerm, s[7]));
    return e;
}

std::string SolveForX(std::int32_t a1, std::int32_t b1, std::int32_t c1, std::int32_t a2,
                      std::int32_t b2, std::int32_t c2) {
    const std::int32_t d = Sub32(Mul32(a1, b2), Mul32(b1, a2));
    return Quotient(Sub32(Mul32(c1, b2), Mul32(b1, c2)), d);
}

std::string SolveForY(std::int32_t a1, std::int32_t b1, std::int32_t c1, std::int32_t a2,
                      std::int32_t b2, std::int32_t c2) {
    const std::int32_t d = Sub32(Mul32(a1, b2), Mul32(b1, a2));
    return Quotient(Sub32(Mul32(a1, c2), Mul32(c1, a2)), d);
}

int DrawSystemLevel1(RandomSource& rng, SystemQuestion& q) {
    q.eq1 = {};
    q.eq2 = {};
    DrawSolution(rng, q);
    DrawPlainOnSolution(rng, q.eq1, 20, 10, q.x0, q.y0);
    DrawPlainOnSolution(rng, q.eq2, 20, 10, q.x0, q.y0);
    // Both equations pass through (x0, y0), so proportional ones leave a whole line of
    // solutions: the key must not state the drawn point as the only one.
    if (q.eq1[0] * q.eq2[1] == q.eq1[1] * q.eq2[0]) q.x = q.y = "?";
    return 0;
}

void DrawSystemLevel1Dependent(RandomSource& rng, SystemQuestion& q, bool infinite) {
    auto& e1 = q.eq1;
    auto& e2 = q.eq2;
    e1 = {};
    e2 = {};
    do {
        const int k = rng.RandomInt(3) + 2;
        for (int j = 0; j < 3; ++j) e1[j] = DrawNonZeroDiff(rng, 20, 10);
        e2[0] = k * e1[0];
        e2[1] = k * e1[1];
        e2[2] = k * e1[2] - (infinite ? 0 : rng.RandomInt(20) + 1);
    } while (std::abs(e2[2]) >= 200);
    SetSolution(q, {e1[0], e1[1], e1[2]}, {e2[0], e2[1], e2[2]});
}

namespace {

// What the level-2 branch of choice draw `aleas` gives: 0 one solution (the drawn integers
// for 21..37), 1 none (39), 2 infinitely many (38).
bool Level2BranchGives(int aleas, int target, Solutions solutions) {
    const int branchCase = aleas <= 37 ? 0 : aleas == 39 ? 1 : 2;
    if (target >= 0 && branchCase != target) return false;
    return branchCase != 0 || solutions != Solutions::Integer || aleas >= 21;
}

}  // namespace

int DrawSystemLevel2(RandomSource& rng, SystemQuestion& q, int target, Solutions solutions) {
    auto& e1 = q.eq1;
    auto& e2 = q.eq2;
    e1 = {};
    e2 = {};
    DrawSolution(rng, q);
    DrawPlainOnSolution(rng, e1, 30, 15, q.x0, q.y0);
    DrawPlainOnSolution(rng, e2, 30, 15, q.x0, q.y0);
    int aleas;
    do aleas = rng.RandomInt(40);
    while (!Level2BranchGives(aleas, target, solutions));
    if (aleas <= 20) {  // redrawn right-hand sides
        e1[2] = DrawNonZeroDiff(rng, 30, 15);
        e2[2] = DrawNonZeroDiff(rng, 30, 15);
    } else if (aleas == 38) {  // indeterminate: eq2 = k·eq1
        do {
            const int k = rng.RandomInt(5) + 2;
            for (int j = 0; j < 3; ++j) e1[j] = DrawNonZeroDiff(rng, 30, 15);
            for (int j = 0; j < 3; ++j) e2[j] = k * e1[j];
        } while (std::abs(e2[2]) >= 250);
    } else if (aleas == 39) {  // impossible: same left sides up to k, shifted right side
        do {
            const int k = rng.RandomInt(5) + 2;
            for (int j = 0; j < 3; ++j) e1[j] = DrawNonZeroDiff(rng, 30, 15);
            e2[0] = k * e1[0];
            e2[1] = k * e1[1];
            const int shift = rng.RandomInt(30);
            e2[2] = k * e1[2] - shift - 1;
        } while (std::abs(e2[2]) >= 300);
    }
    SetSolution(q, {e1[0], e1[1], e1[2]}, {e2[0], e2[1], e2[2]});
    return aleas;
}

namespace {

// One level-3 equation of the two-sided form.
void DrawTwoSided(RandomSource& rng, EquationSlots& s) {
    s[0] = DrawNonZeroDiff(rng, 30, 15);
    s[1] = DrawNonZeroDiff(rng, 30, 15);
    s[2] = DrawDiff(rng, 15, 15);
    s[3] = DrawNonZeroDiff(rng, 30, 15);
    s[4] = DrawNonZeroDiff(rng, 30, 15);
    s[5] = DrawDiff(rng, 15, 15);
}

// One level-3 equation of the bracketed form.
void DrawBracketed(RandomSource& rng, EquationSlots& s) {
    s[0] = SmallAbove(rng, 1);
    s[1] = SmallAbove(rng, 0);
    s[2] = SmallAbove(rng, 0);
    s[3] = DrawDiff(rng, 15, 15);
    s[4] = SmallAbove(rng, 1);
    s[5] = SmallAbove(rng, 0);
    s[6] = SmallAbove(rng, 0);
    s[7] = DrawDiff(rng, 15, 15);
}

void DrawLevel3Equation(RandomSource& rng, int form, EquationSlots& s) {
    s = {};
    if (form == 0) {
        DrawTwoSided(rng, s);
    } else {
        DrawBracketed(rng, s);
    }
}

// A level-3 equation through (x0, y0): drawn as the level draws it, then its right side's
// constant solved from the rest; false when that falls out of the level's range.
bool DrawThroughPoint(RandomSource& rng, int form, std::int64_t x0, std::int64_t y0,
                      EquationSlots& s) {
    DrawLevel3Equation(rng, form, s);
    const ReducedEquation r = Reduce(form, s);
    // Two-sided: s5 − s2 is the reduced constant; bracketed: s7 − s3.
    const std::size_t left = form == 0 ? 2 : 3, right = form == 0 ? 5 : 7;
    const std::int64_t constant = r.a * x0 + r.b * y0 + s[left];
    if (std::abs(constant) > 14) return false;
    s[right] = static_cast<std::int32_t>(constant);
    return true;
}

}  // namespace

bool DrawSystemLevel3Attempt(RandomSource& rng, SystemQuestion& q) {
    q.form = rng.RandomInt(2);
    DrawLevel3Equation(rng, q.form, q.eq1);
    DrawLevel3Equation(rng, q.form, q.eq2);
    SetSolution(q, Reduce(q.form, q.eq1), Reduce(q.form, q.eq2));
    return !((q.x == "/" && q.y == "?") || (q.x == "?" && q.y == "/"));
}

void DrawSystemLevel3OnPoint(RandomSource& rng, SystemQuestion& q) {
    for (;;) {
        q.form = rng.RandomInt(2);
        // The bracketed form's products fit a point near the origin only; a point that fits
        // too few equations is drawn again after a while.
        const int reach = q.form == 0 ? 7 : 3;
        const int x0 = DrawDiff(rng, reach, reach), y0 = DrawDiff(rng, reach, reach);
        bool placed = true;
        for (EquationSlots* e : {&q.eq1, &q.eq2}) {
            int attempt = 0;
            while (!DrawThroughPoint(rng, q.form, x0, y0, *e) && ++attempt < 64) {
            }
            placed = placed && attempt < 64;
        }
        const ReducedEquation r1 = Reduce(q.form, q.eq1), r2 = Reduce(q.form, q.eq2);
        if (!placed || std::int64_t{r1.a} * r2.b == std::int64_t{r1.b} * r2.a) continue;
        SetSolution(q, r1, r2);
        return;
    }
}

bool DrawSystemLevel3Dependent(RandomSource& rng, SystemQuestion& q, bool infinite) {
    const auto big = [](std::int64_t v) { return v >= -14 && v <= 29 && v != 0; };
    const auto small = [](std::int64_t v) { return v >= -14 && v <= 14; };
    for (int attempt = 0; attempt < 1000; ++attempt) {
        // Two-sided, both equations drawn as the level draws them.
        q.form = 0;
        for (EquationSlots* e : {&q.eq1, &q.eq2}) {
            *e = {};
            DrawTwoSided(rng, *e);
        }
        // Then the second's a, b and f solved so that it reduces to m times the first,
        // its right side shifted for an impossible system.
        const ReducedEquation r = ReduceTwoSided(q.eq1);
        const int m = std::array{1, -1, 2}[static_cast<std::size_t>(rng.RandomInt(3))];
        const int shift = infinite ? 0 : rng.RandomInt(14) + 1;
        auto& s = q.eq2;
        const std::int64_t a = std::int64_t{m} * r.a + s[3], b = std::int64_t{m} * r.b + s[4],
                           f = std::int64_t{m} * r.c + s[2] + shift;
        if (!big(a) || !big(b) || !small(f)) continue;
        s[0] = static_cast<std::int32_t>(a);
        s[1] = static_cast<std::int32_t>(b);
        s[5] = static_cast<std::int32_t>(f);
        SetSolution(q, Reduce(0, q.eq1), Reduce(0, q.eq2));
        return true;
    }
    return false;
}

void DrawSystemLevel3(RandomSource& rng, SystemQuestion& q) {
    while (!DrawSystemLevel3Attempt(rng, q)) {
    }
}

Statement SystemStatement(int level, const SystemQuestion& q) {
    const auto line = level != 3 ? PlainLine : q.form == 0 ? TwoSidedLine : BracketedLine;
    return {{line(q.eq1), line(q.eq2)}};
}

std::string SystemDiagnosticEntry(int i, const SystemQuestion& q, int aleas) {
    static constexpr std::array<std::string_view, 6> kFirst{
        "t1=", "  t2=", "  t3=", "    t4=", "    t5=", "    t6="};
    static constexpr std::array<std::string_view, 6> kSecond{
        "\r\nt7=", "    t8=", "    t9=", "    t10=", "    t11=", "    t12="};
    std::string entry;
    {
        TextSink out(entry, 256);
        out.PutInt(i);
        out.Put(kNumbering);
        for (std::size_t k = 0; k < 6; ++k) {
            out.Put(kFirst[k]);
            out.PutInt(q.eq1[k]);
        }
        for (std::size_t k = 0; k < 6; ++k) {
            out.Put(kSecond[k]);
            out.PutInt(q.eq2[k]);
        }
        out.Put("\r\nx =  ");
        out.Put(q.x);
        out.Put("  y =  ");
        out.Put(q.y);
        out.Put("   aleas=");
        out.PutInt(aleas);
    }
    return entry;
}

namespace {

// The two equations as a x + b y = c, whatever their written form.
std::pair<ReducedEquation, ReducedEquation> ReducedSystem(int level, const SystemQuestion& q) {
    if (level == 3) return {Reduce(q.form, q.eq1), Reduce(q.form, q.eq2)};
    return {Plain(q.eq1), Plain(q.eq2)};
}

}  // namespace

std::optional<ExactPoint> SystemExactSolution(int level, const SystemQuestion& q) {
    const auto [e1, e2] = ReducedSystem(level, q);
    const std::int64_t d = std::int64_t{e1.a} * e2.b - std::int64_t{e1.b} * e2.a;
    if (d == 0) return std::nullopt;
    return ExactPoint{Rational(std::int64_t{e1.c} * e2.b - std::int64_t{e1.b} * e2.c, d),
                      Rational(std::int64_t{e1.a} * e2.c - std::int64_t{e1.c} * e2.a, d)};
}

QuestionResult SystemResult(int level, const SystemQuestion& q) {
    QuestionResult result;
    const auto exact = SystemExactSolution(level, q);
    if (!exact) result.verdict = q.x == "?" ? Verdict::Indeterminate : Verdict::NoSolution;
    result.values.push_back({"x", exact ? std::optional(Surd(exact->x)) : std::nullopt, q.x});
    result.values.push_back({"y", exact ? std::optional(Surd(exact->y)) : std::nullopt, q.y});
    return result;
}

void SystemKind::DrawToward(RandomSource& rng, int i, int target, Solutions solutions) {
    auto& q = record(i);
    switch (level_) {
        case 1:
            if (target >= 1) {
                DrawSystemLevel1Dependent(rng, q, target == 2);
                aleas_ = 0;
            } else {
                aleas_ = DrawSystemLevel1(rng, q);
            }
            break;
        case 2:
            aleas_ = DrawSystemLevel2(rng, q, target, solutions);
            break;
        default:
            if (target <= 0 && solutions == Solutions::Integer) {
                DrawSystemLevel3OnPoint(rng, q);
            } else if (target < 1 || !DrawSystemLevel3Dependent(rng, q, target == 2)) {
                DrawSystemLevel3(rng, q);
            }
            break;
    }
}

std::string SystemKind::DiagnosticEntry(int i) const {
    return SystemDiagnosticEntry(i, question(i), aleas_);
}

std::string SystemKind::DuplicateKey(int i) const {
    // The sixteen slots as DuplicateKeyOf writes them, in one buffer.
    const auto& q = question(i);
    std::string key;
    {
        TextSink out(key, 64);
        for (auto v : q.eq1) out.PutInt(v);
        for (auto v : q.eq2) out.PutInt(v);
    }
    return key;
}

QuestionModel SystemKind::Model(int i, bool steps) const {
    const auto& q = question(i);
    QuestionModel m{"syst", level_, SystemStatement(level_, q), Result(i), std::nullopt};
    const auto [e1, e2] = ReducedSystem(level_, q);
    m.coefficients = {e1.a, e1.b, e1.c, e2.a, e2.b, e2.c};
    if (steps) m.steps = SystemSteps(level_, q);
    return m;
}

}  // namespace equat
