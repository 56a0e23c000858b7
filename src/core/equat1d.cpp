#include "core/equat1d.h"

#include "core/markup.h"
#include "core/numbertext.h"

namespace equat {

namespace {

constexpr std::string_view kX = "<times><i><te=26> x <te=18></i><arial>";
constexpr std::string_view kX1 = "<times><i><te=26>x <te=18></i><arial>";
constexpr std::string_view kXm = "<times><i><te=26>- x <te=18></i><arial>";
constexpr std::string_view kHighlightOpen = "<cf=jaune><times><i><te=26> x <te=18></i><arial> = ";
constexpr std::string_view kHighlightClose = " <cf=auto>";

const std::string& XRtf() {
    static const std::string x = MarkupToRtf(kX);
    return x;
}

// " + v" for v > 0, " - |v|" otherwise.
std::string SignedTerm(std::int32_t v) {
    if (v > 0) return " + " + DecimalText(v);
    return " - " + DecimalText(-static_cast<std::int64_t>(v));
}

int DrawDiff(RandomSource& rng, int p, int q) {
    const int first = rng.RandomInt(p);
    return first - rng.RandomInt(q);
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

Affine SideValue(int form, std::int64_t p1, std::int64_t p2, std::int64_t p3, std::int64_t p4) {
    switch (form) {
        case 1:
            return {p1 * p2 + p4, p1 * p3};
        case 2:
            return {p1 + p2 * p3, p2 * p4};
        case 3:
            return {p1 * p2, p1 * p3 + p4};
        case 4:
            return {p2 * p3, p1 + p2 * p4};
        case 5:
            return {p2, p1 + p2 * p4};
        default:
            return {p2, -1 + p2 * p4};
    }
}

struct FormPair {
    int left, right;
};
constexpr std::array<FormPair, 10> kPairs{
    {{1, 1}, {1, 2}, {1, 3}, {1, 4}, {2, 3}, {2, 4}, {3, 4}, {4, 1}, {5, 3}, {2, 6}}};

}  // namespace

std::string LinearSideText(std::int32_t p, std::int32_t q) {
    std::string s;
    if (p == 1) {
        s = MarkupToRtf(kX1);
    } else if (p == -1) {
        s = MarkupToRtf(kXm);
    } else if (p != 0) {
        s = DecimalText(p) + XRtf();
    }
    if (q != 0) {
        if (p != 0) {
            s += SignedTerm(q);
        } else if (q > 0) {
            s += DecimalText(q);
        } else {
            s += " - " + DecimalText(-static_cast<std::int64_t>(q));
        }
    }
    return s;
}

std::string BracketSideText(int form, std::int32_t p1, std::int32_t p2, std::int32_t p3,
                            std::int32_t p4) {
    const std::string& x = XRtf();
    switch (form) {
        case 1:
            return DecimalText(p1) + " (" + DecimalText(p2) + x + SignedTerm(p3) + ")" +
                   SignedTerm(p4) + x;
        case 2:
            return DecimalText(p1) + x + SignedTerm(p2) + " (" + DecimalText(p3) + x +
                   SignedTerm(p4) + ")";
        case 3:
            return DecimalText(p1) + " (" + DecimalText(p2) + x + SignedTerm(p3) + ")" +
                   SignedTerm(p4);
        case 4:
            return DecimalText(p1) + SignedTerm(p2) + " (" + DecimalText(p3) + x + SignedTerm(p4) +
                   ")";
        case 5:
            return DecimalText(p1) + SignedTerm(p2) + " (" + x + SignedTerm(p4) + ")";
        default:
            return "-1" + SignedTerm(p2) + " (" + x + SignedTerm(p4) + ")";
    }
}

std::string Level3SolutionText(int k, const std::array<std::int32_t, 8>& s) {
    const auto& pair = kPairs.at(static_cast<std::size_t>(k));
    const Affine l = SideValue(pair.left, s[0], s[1], s[2], s[3]);
    const Affine r = SideValue(pair.right, s[4], s[5], s[6], s[7]);
    // Each side's value in 32-bit arithmetic, then the two differences likewise.
    const std::int32_t d = Wrap32(std::int64_t{Wrap32(l.p)} - Wrap32(r.p));
    const std::int32_t n = Wrap32(std::int64_t{Wrap32(r.q)} - Wrap32(l.q));
    if (d == 0)
        return n == 0 ? "? : Ind\xE9termin\xE9 (infinit\xE9 de solution)"
                      : "/ : Impossible (aucune solution)";
    return FormatFixed2(static_cast<double>(n) / static_cast<double>(d));
}

void FirstDegreeKind::Begin(int level) {
    level_ = level;
    aleas_ = 0;
    q_.fill(Question{});
}

void FirstDegreeKind::DrawLevel1(RandomSource& rng, Question& q) {
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

void FirstDegreeKind::DrawLevel2(RandomSource& rng, Question& q) {
    auto& s = q.slots;
    for (;;) {
        const std::int32_t b = DrawDiff(rng, 30, 15);
        std::int32_t a, c, d;
        do {
            a = DrawDiff(rng, 30, 15);
            c = DrawDiff(rng, 30, 15);
        } while (c == a);
        aleas_ = rng.RandomInt(40);
        if (aleas_ <= 19) {
            q.x0 = DrawDiff(rng, 30, 15);
            q.solution = DecimalText(q.x0);
            d = a * q.x0 + b - c * q.x0;
        } else if (aleas_ <= 37) {
            d = DrawDiff(rng, 30, 15);
            q.solution = FormatFixed2(static_cast<double>(d - b) / static_cast<double>(a - c));
        } else if (aleas_ == 38) {
            c = a;
            do d = DrawDiff(rng, 30, 15);
            while (d == b);
            q.solution = "/ (impossible : aucune solution)";
        } else {
            c = a;
            d = b;
            q.solution = "? (ind\xE9termin\xE9 : infinit\xE9 de solutions)";
        }
        s = {a, b, c, d, 0, 0, 0, 0};
        if ((a == 0 && b == 0) || (c == 0 && d == 0) || (a == 0 && c == 0) ||
            (a == 1 && b == 0 && c == 0))
            continue;
        return;
    }
}

void FirstDegreeKind::DrawLevel3(RandomSource& rng, Question& q) {
    auto& s = q.slots;
    for (auto& v : s) v = DrawBig(rng);
    aleas_ = rng.RandomInt(10);
    if (aleas_ == 8) s[2] = 1;
    if (aleas_ == 9) {
        s[4] = -1;
        s[6] = 1;
    }
    const auto& pair = kPairs[static_cast<std::size_t>(aleas_)];
    q.equation = BracketSideText(pair.left, s[0], s[1], s[2], s[3]) + " = " +
                 BracketSideText(pair.right, s[4], s[5], s[6], s[7]);
    q.solution = Level3SolutionText(aleas_, s);
}

void FirstDegreeKind::Draw(RandomSource& rng, int i) {
    auto& q = q_.at(static_cast<std::size_t>(i));
    switch (level_) {
        case 1:
            DrawLevel1(rng, q);
            break;
        case 2:
            DrawLevel2(rng, q);
            break;
        default:
            DrawLevel3(rng, q);
            break;
    }
}

std::string FirstDegreeKind::DiagnosticEntry(int i) const {
    const auto& q = question(i);
    return DegreeDiagnosticEntry(i, q.slots[0], q.slots[1], q.slots[2], q.slots[3], q.solution,
                                 aleas_);
}

std::string FirstDegreeKind::DuplicateKey(int i) const {
    return DuplicateKeyOf(question(i).slots);
}

std::string FirstDegreeKind::Equation(int i) const {
    const auto& q = question(i);
    if (level_ == 3) return q.equation;
    return LinearSideText(q.slots[0], q.slots[1]) + "  =  " +
           LinearSideText(q.slots[2], q.slots[3]);
}

std::string FirstDegreeKind::SubjectBody(int i) const {
    return Equation(i) + std::string(kPar);
}

std::string FirstDegreeKind::AnswerBody(int i) const {
    std::string s = Equation(i);
    s += MarkupToRtf(TabTags(level_ == 3 ? 2 : 4));
    s += MarkupToRtf(std::string(kHighlightOpen) + question(i).solution +
                     std::string(kHighlightClose));
    s += kPar;
    return s;
}

}  // namespace equat
