// SPDX-License-Identifier: GPL-3.0-or-later
#include "outputs/answers.h"

#include <algorithm>

#include "core/sheet.h"

namespace equat {

const std::vector<std::string_view> kOneDegreeChoices = {"une seule solution", "aucune solution",
                                                         "tout nombre r\xC3\xA9\x65l est solution"};
const std::vector<std::string_view> kSystemChoices = {"une seule solution", "aucune solution",
                                                      "une infinit\xC3\xA9 de solutions"};

std::size_t VerdictChoice(Verdict v) {
    return v == Verdict::NoSolution ? 1 : v == Verdict::Values ? 0 : 2;
}

std::vector<Surd> Roots(const QuestionResult& r) {
    std::vector<Surd> roots = ExactValuesOf(r);
    std::sort(roots.begin(), roots.end());
    roots.erase(std::unique(roots.begin(), roots.end()), roots.end());
    return roots;
}

namespace {

// The kinds whose result is a set: whether they are inequations, how many values they ask.
struct SetKind {
    std::string_view name;
    bool inequation;
    std::size_t blanks;
};
constexpr SetKind kSetKinds[] = {{"square", false, 2},   {"product", false, 2},
                                 {"quotient", false, 1}, {"ineq", true, 1},
                                 {"signs", true, 2},     {"ineq2", true, 2}};

SetKind SetKindOf(std::string_view kind) {
    for (const SetKind& k : kSetKinds)
        if (k.name == kind) return k;
    return {kind, true, 2};  // a set kind to come: the widest blanks
}

// The inequations' shapes, in the order of kInequationShapes; a one-bound kind offers the
// first two and the half-lines.
enum Shape : std::size_t { kEmpty, kReals, kRealsBut, kSingle, kBelow, kAbove, kBetween, kOutside };
const std::vector<std::string_view> kInequationShapes = {
    "aucun r\xC3\xA9\x65l",
    "tous les r\xC3\xA9\x65ls",
    "tous les r\xC3\xA9\x65ls sauf a",
    "le seul r\xC3\xA9\x65l a",
    "de -\xE2\x88\x9E \xC3\xA0 a",
    "de a \xC3\xA0 +\xE2\x88\x9E",
    "de a \xC3\xA0 b",
    "de -\xE2\x88\x9E \xC3\xA0 a, et de b \xC3\xA0 +\xE2\x88\x9E"};
const std::vector<std::string_view> kHalfLineShapes = {
    kInequationShapes[kEmpty], kInequationShapes[kReals], kInequationShapes[kBelow],
    kInequationShapes[kAbove]};
const std::vector<std::string_view> kEquationShapes = {
    "aucune solution", "une seule solution", "deux solutions", "une infinit\xC3\xA9 de solutions"};

// The bracket written beside a bound: "[" (0) or "]" (1).
std::size_t Bracket(bool closed, bool low) {
    return closed == low ? 0 : 1;
}

std::optional<SetAnswer> InequationAnswer(const SolutionSet& set, std::size_t blanks) {
    using S = SolutionSet::Shape;
    SetAnswer a;
    const auto bound = [&](const Surd& v, std::size_t bracket) {
        a.values.push_back(v);
        a.brackets.push_back(bracket);
    };
    const std::vector<Interval>& in = set.intervals;
    if (set.shape == S::Empty) {
        a.shape = kEmpty;
    } else if (set.shape == S::Reals && set.excluded.size() <= 1) {
        a.shape = set.excluded.empty() ? kReals : kRealsBut;
        if (!set.excluded.empty()) bound(set.excluded[0], 2);
    } else if (set.shape == S::Values && set.values.size() == 1) {
        a.shape = kSingle;
        bound(set.values[0], 2);
    } else if (set.shape == S::Intervals && in.size() == 1) {
        const Interval& i = in[0];
        a.shape = !i.low ? (i.high ? kBelow : kReals) : i.high ? kBetween : kAbove;
        if (i.low) bound(*i.low, Bracket(i.lowClosed, true));
        if (i.high) bound(*i.high, Bracket(i.highClosed, false));
    } else if (set.shape == S::Intervals && in.size() == 2 && !in[0].low && in[0].high &&
               in[1].low && !in[1].high) {
        a.shape = kOutside;
        bound(*in[0].high, Bracket(in[0].highClosed, false));
        bound(*in[1].low, Bracket(in[1].lowClosed, true));
    } else {
        return std::nullopt;
    }
    // Its place among the kind's shapes, which a one-bound kind has fewer of.
    const auto& shapes = blanks == 1 ? kHalfLineShapes : kInequationShapes;
    const auto at = std::find(shapes.begin(), shapes.end(), kInequationShapes[a.shape]);
    if (at == shapes.end() || a.values.size() > blanks) return std::nullopt;
    a.shape = static_cast<std::size_t>(at - shapes.begin());
    a.values.resize(blanks, Surd(0));
    a.brackets.resize(blanks, 2);
    return a;
}

std::optional<SetAnswer> EquationAnswer(const SolutionSet& set, std::size_t blanks) {
    using S = SolutionSet::Shape;
    SetAnswer a;
    if (set.shape == S::Values && !set.values.empty() && set.values.size() <= blanks) {
        a.shape = set.values.size();
        a.values = set.values;
        std::sort(a.values.begin(), a.values.end());
        a.values.resize(blanks, a.values.back());  // one solution in both blanks
        return a;
    }
    if (set.shape != S::Empty && set.shape != S::Reals) return std::nullopt;
    a.shape = set.shape == S::Empty ? 0 : 3;
    a.values.assign(blanks, Surd(0));
    return a;
}

}  // namespace

const std::vector<std::string_view> kBracketChoices = {"[", "]", "sans crochet"};

bool IsInequationKind(std::string_view kind) {
    return SetKindOf(kind).inequation;
}

std::size_t SetBlankCount(std::string_view kind) {
    return SetKindOf(kind).blanks;
}

const std::vector<std::string_view>& SetShapeChoices(std::string_view kind) {
    const SetKind k = SetKindOf(kind);
    if (!k.inequation) return kEquationShapes;
    return k.blanks == 1 ? kHalfLineShapes : kInequationShapes;
}

std::optional<SetAnswer> SetAnswerOf(std::string_view kind, const SolutionSet& set) {
    const SetKind k = SetKindOf(kind);
    return k.inequation ? InequationAnswer(set, k.blanks) : EquationAnswer(set, k.blanks);
}

std::string_view SetBlankRule(std::string_view kind) {
    const SetKind k = SetKindOf(kind);
    if (k.inequation)
        return k.blanks == 1 ? "S'il n'y a pas de borne a : 0 et \xC2\xAB sans crochet \xC2\xBB."
                             : "a la plus petite borne, b la plus grande ; une borne inutile : 0 "
                               "et \xC2\xAB sans crochet \xC2\xBB.";
    return k.blanks == 1 ? "S'il n'y a pas une seule solution : 0."
                         : "Une seule solution : l'\xC3\xA9\x63rire dans les deux cases ; "
                           "aucune ou une infinit\xC3\xA9 : 0 dans les deux cases.";
}

std::vector<Surd> BlankValues(std::string_view kind, const QuestionResult& r) {
    if (r.set) {
        const auto answer = SetAnswerOf(kind, *r.set);
        return answer ? answer->values : std::vector<Surd>(SetBlankCount(kind), Surd(0));
    }
    if (kind == "2d") {
        const std::vector<Surd> roots = Roots(r);
        if (roots.empty()) return {Surd(0), Surd(0)};
        return {roots.front(), roots.back()};
    }
    const std::size_t count = kind == "syst" ? 2 : 1;
    std::vector<Surd> values = ExactValuesOf(r);
    if (r.verdict != Verdict::Values || values.size() != count) values.assign(count, Surd(0));
    return values;
}

}  // namespace equat
