// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ineq2.h"

#include <utility>

#include "core/ineq.h"
#include "core/numbertext.h"
#include "core/worked.h"

namespace equat {

namespace {

bool Closed(Relation relation) {
    return relation == Relation::Le || relation == Relation::Ge;
}

}  // namespace

SolutionSet TrinomialInequationSet(std::int64_t a, std::int64_t b, std::int64_t c,
                                   Relation relation) {
    const Trinomial t{a, b, c};
    // Where the trinomial is not zero it has a's sign (outside the roots, when it has two).
    const bool signFits = Holds(a > 0 ? 1 : -1, relation, 0);
    const bool zeroFits = Closed(relation);
    if (t.Delta() < 0)
        return SetOf(signFits ? SolutionSet::Shape::Reals : SolutionSet::Shape::Empty);
    if (t.Delta() == 0) {
        const Surd x0 = Rational(-b, 2 * a);
        if (!signFits)
            return zeroFits ? SetOf(SolutionSet::Shape::Values, {x0})
                            : SetOf(SolutionSet::Shape::Empty);
        SolutionSet set = SetOf(SolutionSet::Shape::Reals);
        if (!zeroFits) set.excluded = {x0};
        return set;
    }
    SurdPair r = QuadraticRoots(a, b, c);
    if (r.second < r.first) std::swap(r.first, r.second);
    SolutionSet set = SetOf(SolutionSet::Shape::Intervals);
    if (signFits) {
        set.intervals = {{std::nullopt, r.first, false, zeroFits},
                         {r.second, std::nullopt, zeroFits, false}};
    } else {
        set.intervals = {{r.first, r.second, zeroFits, zeroFits}};
    }
    return set;
}

Statement QuadraticInequationStatement(int level, const QuadraticInequationQuestion& q) {
    Statement st = QuadraticStatement(level, q.trinomial.slots);
    st.lines[0].relation = q.relation;
    return st;
}

QuestionResult QuadraticInequationResult(int /*level*/, const QuadraticInequationQuestion& q) {
    const Trinomial t = TrinomialOf(q.trinomial);
    QuestionResult result = InequationSetResult(TrinomialInequationSet(t.a, t.b, t.c, q.relation));
    const auto& s = q.trinomial.slots;
    result.discriminant = Discriminant(Sub32(s[0], s[3]), Sub32(s[1], s[4]), Sub32(s[2], s[5]));
    return result;
}

namespace {

// The trinomial's only row: a's sign on every interval, 0 under each root.
Step TableStep(const Trinomial& t, std::vector<Surd> roots) {
    SignRow row;
    row.factors = {{}};
    for (const auto& [coef, u] :
         {std::pair{t.a, Unknown::X2}, {t.b, Unknown::X}, {t.c, Unknown::One}})
        if (coef != 0) row.factors[0].push_back({coef, u});
    const Sign outside = t.a > 0 ? Sign::Plus : Sign::Minus;
    const Sign inside = t.a > 0 ? Sign::Minus : Sign::Plus;
    row.cells = {outside};
    for (std::size_t k = 0; k < roots.size(); ++k) {
        row.cells.push_back(Sign::Zero);
        row.cells.push_back(k + 1 < roots.size() ? inside : outside);
    }
    Step step;
    step.kind = Step::Kind::Table;
    step.table = {std::move(roots), {std::move(row)}};
    return step;
}

std::string SignOfA(const Trinomial& t) {
    return t.a > 0 ? "a > 0" : "a < 0";
}

}  // namespace

Steps QuadraticInequationSteps(int level, const QuadraticInequationQuestion& q) {
    Steps steps = QuadraticOpening(level, q.trinomial);
    for (Step& s : steps) s.relation = q.relation;
    const Trinomial t = TrinomialOf(q.trinomial);
    const std::string delta(1, kLabelDelta);
    std::vector<Surd> roots;
    if (t.Delta() < 0) {
        steps.push_back(NoteStep(delta +
                                 " < 0 : pas de racine ; le trin\xF4me est du signe de a (" +
                                 SignOfA(t) + ") pour tout x."));
    } else if (t.Delta() == 0) {
        steps.push_back(NoteStep(delta + " = 0 : une racine double."));
        roots = {DoubleRootStep(steps, t.a, t.b)};
        steps.push_back(NoteStep("Le trin\xF4me est du signe de a (" + SignOfA(t) +
                                 ") et s'annule en " + kLabelIndexed + "0."));
    } else {
        steps.push_back(NoteStep(delta + " > 0 : deux racines."));
        // x1 the smaller: the "+" root when a < 0.
        const SurdPair r = QuadraticRootSteps(steps, t.a, t.b, t.c, t.a < 0);
        roots = {r.first, r.second};
        steps.push_back(NoteStep("Le trin\xF4me est du signe de a (" + SignOfA(t) +
                                 ") \xE0 l'ext\xE9rieur des racines."));
    }
    steps.push_back(TableStep(t, roots));
    steps.push_back(ConclusionStep(TrinomialInequationSet(t.a, t.b, t.c, q.relation)));
    return steps;
}

void QuadraticInequationKind::Begin(int level) {
    TabledKind::Begin(level);
    trinomials_.Begin(level);
}

void QuadraticInequationKind::DrawToward(RandomSource& rng, int i, int target,
                                         Solutions solutions) {
    auto& q = record(i);
    // Δ < 0 and Δ = 0 both give ∅ or the special case, by the relation.
    const bool verdict = target == 1 || target == 2;
    trinomials_.DrawToward(rng, i, verdict ? 1 + rng.RandomInt(2) : target, solutions);
    q.trinomial = trinomials_.question(i);
    aleas_ = trinomials_.aleas();
    const Trinomial t = TrinomialOf(q.trinomial);
    // A trinomial with two roots where none or one was asked fits no relation: the caller
    // draws again.
    q.relation = DrawRelation(rng, [&](Relation r) {
        return !verdict || t.Delta() > 0 ||
               InequationSetResult(TrinomialInequationSet(t.a, t.b, t.c, r)).caseBit == target;
    });
}

std::string QuadraticInequationKind::DiagnosticEntry(int i) const {
    const auto& q = question(i);
    return InequationDiagnosticEntry(i, q.trinomial.slots, q.relation, Result(i), aleas_);
}

std::string QuadraticInequationKind::DuplicateKey(int i) const {
    const auto& q = question(i);
    return DuplicateKeyOf(q.trinomial.slots) + "|" + std::string(RelationText(q.relation));
}

QuestionModel QuadraticInequationKind::Model(int i, bool steps) const {
    const auto& q = question(i);
    QuestionModel m{"ineq2", level_, QuadraticInequationStatement(level_, q), Result(i),
                    std::nullopt};
    const Trinomial t = TrinomialOf(q.trinomial);
    m.coefficients = {t.a, t.b, t.c};
    if (steps) m.steps = QuadraticInequationSteps(level_, q);
    return m;
}

}  // namespace equat
