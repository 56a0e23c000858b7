// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ineq.h"

#include <utility>

#include "core/numbertext.h"
#include "core/worked.h"

namespace equat {

bool Holds(const Surd& lhs, Relation relation, const Surd& rhs) {
    switch (relation) {
        case Relation::Lt:
            return lhs < rhs;
        case Relation::Le:
            return lhs <= rhs;
        case Relation::Gt:
            return lhs > rhs;
        case Relation::Ge:
            return lhs >= rhs;
        default:
            return lhs == rhs;
    }
}

Relation Turned(Relation relation) {
    switch (relation) {
        case Relation::Lt:
            return Relation::Gt;
        case Relation::Le:
            return Relation::Ge;
        case Relation::Gt:
            return Relation::Lt;
        case Relation::Ge:
            return Relation::Le;
        default:
            return relation;
    }
}

std::string_view RelationText(Relation relation) {
    constexpr std::string_view kTexts[] = {"=", "<", "<=", ">", ">="};
    return kTexts[static_cast<int>(relation)];
}

SolutionSet FirstDegreeInequationSet(const Rational& a, Relation relation, const Rational& b) {
    SolutionSet set;
    if (a == 0) {
        set.shape = Holds(0, relation, b) ? SolutionSet::Shape::Reals : SolutionSet::Shape::Empty;
        return set;
    }
    // x `toward` b / a once divided by a.
    const Relation toward = a.Sign() < 0 ? Turned(relation) : relation;
    const bool closed = toward == Relation::Le || toward == Relation::Ge;
    Interval half;
    if (toward == Relation::Lt || toward == Relation::Le) {
        half.high = b / a;
        half.highClosed = closed;
    } else {
        half.low = b / a;
        half.lowClosed = closed;
    }
    set.shape = SolutionSet::Shape::Intervals;
    set.intervals = {half};
    return set;
}

QuestionResult InequationSetResult(SolutionSet set) {
    const int caseBit = set.shape == SolutionSet::Shape::Intervals ? 0
                        : set.shape == SolutionSet::Shape::Empty   ? 1
                                                                   : 2;
    return SetResult(std::move(set), caseBit, true);
}

namespace {

struct Reduced {
    Rational a, b;  // a x `relation` b
};

Reduced ReducedOf(int level, const InequationQuestion& q) {
    const auto c = FirstDegreeCoefficients(level, q.sides);
    return {Rational(c[0] - c[2]), Rational(c[3] - c[1])};
}

// Level 1: p x + q < r x + s with p in 1..9 and q, r, s in 0..9, r = p for a verdict.
void DrawSmallSides(RandomSource& rng, FirstDegreeQuestion& q, bool verdict) {
    for (;;) {
        const std::int32_t p = 1 + rng.RandomInt(9), c = rng.RandomInt(10);
        const std::int32_t r = verdict ? p : rng.RandomInt(10), s = rng.RandomInt(10);
        if ((!verdict && r == p) || (r == 0 && s == 0)) continue;
        q = {};
        q.slots = {p, c, r, s, 0, 0, 0, 0};
        return;
    }
}

}  // namespace

Statement InequationStatement(int level, const InequationQuestion& q) {
    Statement st = FirstDegreeStatement(level, q.sides);
    st.lines[0].relation = q.relation;
    return st;
}

QuestionResult InequationResult(int level, const InequationQuestion& q) {
    const Reduced r = ReducedOf(level, q);
    return InequationSetResult(FirstDegreeInequationSet(r.a, q.relation, r.b));
}

Steps InequationSteps(int level, const InequationQuestion& q) {
    auto [steps, reduced, a, b] = FirstDegreeReduction(level, q.sides);
    for (Step& s : steps) s.relation = q.relation;
    reduced.relation = q.relation;
    SolutionSet set = FirstDegreeInequationSet(a, q.relation, b);
    if (a == 0) {
        PushDegenerate(steps, reduced);
        steps.push_back(NoteStep(set.shape == SolutionSet::Shape::Reals
                                     ? "Tout nombre r\xE9\x65l est solution."
                                     : "Aucun nombre ne v\xE9rifie cette in\xE9galit\xE9."));
    } else if (a != 1) {
        const bool turns = a.Sign() < 0;
        steps.push_back(
            NoteStep("On divise par " + ExactText(a) +
                     (turns ? " < 0 : le sens change." : " > 0 : le sens ne change pas.")));
        Step divided{Step::Kind::Rewrite, 0, {}, {{1, Unknown::X}}, {}, {}, false, {}};
        if (b != 0) divided.rhs.push_back({b / a, Unknown::One});
        divided.relation = turns ? Turned(q.relation) : q.relation;
        steps.push_back(std::move(divided));
    }
    steps.push_back(ConclusionStep(std::move(set)));
    return steps;
}

void InequationKind::Begin(int level) {
    TabledKind::Begin(level);
    equations_.Begin(level);
}

void InequationKind::DrawToward(RandomSource& rng, int i, int target, Solutions solutions) {
    auto& q = record(i);
    // ∅ and ℝ both come of "0 x < k": either verdict of the equation gives either, by the
    // relation.
    const bool verdict = target == 1 || target == 2;
    if (level_ == 1) {
        DrawSmallSides(rng, q.sides, verdict);
    } else {
        equations_.DrawToward(rng, i, verdict ? 1 + rng.RandomInt(2) : target, solutions);
        q.sides = equations_.question(i);
    }
    aleas_ = q.sides.aleas;
    const Reduced r = ReducedOf(level_, q);
    q.relation = DrawRelation(rng, [&](Relation rel) {
        return !verdict || r.a != 0 || Holds(0, rel, r.b) == (target == 2);
    });
}

std::string InequationKind::DiagnosticEntry(int i) const {
    const auto& q = question(i);
    return InequationDiagnosticEntry(i, q.sides.slots, q.relation, Result(i), aleas_);
}

std::string InequationDiagnosticEntry(int i, const std::array<std::int32_t, 8>& slots,
                                      Relation relation, const QuestionResult& result, int aleas) {
    return DegreeDiagnosticEntry(
        i, slots[0], slots[1], slots[2], slots[3],
        std::string(RelationText(relation)) + "  S = " + SetLogText(*result.set), aleas);
}

std::string InequationKind::DuplicateKey(int i) const {
    const auto& q = question(i);
    return DuplicateKeyOf(q.sides.slots) + "|" + DecimalText(q.sides.aleas) +
           std::string(RelationText(q.relation));
}

QuestionModel InequationKind::Model(int i, bool steps) const {
    const auto& q = question(i);
    QuestionModel m{"ineq", level_, InequationStatement(level_, q), Result(i), std::nullopt};
    m.coefficients = FirstDegreeCoefficients(level_, q.sides);
    if (steps) m.steps = InequationSteps(level_, q);
    return m;
}

}  // namespace equat
