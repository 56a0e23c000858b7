// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Worked solutions as data: the lines of a detailed answer key in exact values, so that
// tests can check every line and any renderer can write them.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/exact.h"

namespace equat {

// One term of a side as written: coef, coef x, coef x² or coef y. Terms are kept as
// written (6 x + 5 x stays two terms) so each line shows what the pupil writes.
enum class Unknown { One, X, X2, Y };
struct Term {
    Rational coef;
    Unknown u = Unknown::One;
    bool operator==(const Term&) const = default;
};
using Side = std::vector<Term>;

// The value of a side at x (and y).
Surd Evaluate(const Side& side, const Surd& x, const Rational& y = 0);

// An arithmetic expression as written in a computation: numbers (a surd such as 6√5 is
// one number), √n, a square, sums, differences, products, quotients and the opposite of
// an expression (-(-6), where a value replaces x in -x).
struct Calc {
    enum class Op { Number, Root, Square, Sum, Diff, Prod, Quot, Neg };
    Op op = Op::Number;
    Surd value;              // Number
    std::int64_t root = 0;   // Root: the radicand as written
    std::vector<Calc> args;  // the operands, left to right
};
Calc Num(const Surd& v);
Calc RootOf(std::int64_t n);
Calc SquareOf(const Calc& c);
Calc SumOf(const Calc& a, const Calc& b);
Calc DiffOf(const Calc& a, const Calc& b);
Calc ProdOf(std::vector<Calc> factors);
Calc QuotOf(const Calc& a, const Calc& b);
Calc NegOf(const Calc& a);
Surd Evaluate(const Calc& c);

// The sign between the two sides of an equation or an inequation.
enum class Relation : std::uint8_t { Eq, Lt, Le, Gt, Ge };

// An interval of the reals; a missing bound is infinite (and open).
struct Interval {
    std::optional<Surd> low, high;
    bool lowClosed = false, highClosed = false;
    bool operator==(const Interval&) const = default;
};

// The solutions a worked solution concludes with.
struct SolutionSet {
    enum class Shape {
        Values,     // S = {v1 ; v2}, in increasing order
        Couple,     // S = {(x ; y)}
        Empty,      // S = ∅
        Reals,      // S = ℝ: every real number
        Line,       // the couples (x ; y) of one equation, `line`
        Couples,    // every couple
        Intervals,  // S = ]-∞ ; 3] ∪ [4 ; +∞[: `intervals`, disjoint, in increasing order
    };
    Shape shape = Shape::Empty;
    std::vector<Surd> values = {};  // Values; Couple: x then y
    Side lhs = {}, rhs = {};        // Line: y = m x + p (or x = p)
    std::vector<Interval> intervals = {};
    // Reals: the values taken out, forbidden by a quotient (S = ℝ \ {2}), in increasing order.
    std::vector<Surd> excluded = {};
    bool operator==(const SolutionSet&) const = default;
};

// The sign of an expression on an interval of a sign table, or under one of its values.
enum class Sign : std::uint8_t {
    Plus,
    Minus,
    Zero,       // a root of the row's expression
    Forbidden,  // a value where the row's expression is not defined: a double bar
    Blank,      // under a value that is nothing to this row
};
// One row: the product of `factors` (the first `numerators` of them over the product of the
// others, for a quotient), and its sign on each cell: interval 0, value 0, interval 1, ...,
// value n-1, interval n (2n + 1 cells for n values).
struct SignRow {
    std::vector<Side> factors;
    int numerators = 1;
    std::vector<Sign> cells;
    bool operator==(const SignRow&) const = default;
};
// A sign table: its values in increasing order (the columns between -∞ and +∞), a row for
// each factor and the last row for the whole expression.
struct SignTable {
    std::vector<Surd> values;
    std::vector<SignRow> rows;
    bool operator==(const SignTable&) const = default;
};

// A step's label is plain Windows-1252 text in which a few signs are named, for each writer to
// set them its way: the discriminant's capital delta, the radical sign, an unknown (the letter
// after kLabelUnknown) as the statements write it, and x with the index (the digit after
// kLabelIndexed) of a root.
inline constexpr char kLabelDelta = '\x01';
inline constexpr char kLabelRoot = '\x02';
inline constexpr char kLabelUnknown = '\x03';
inline constexpr char kLabelIndexed = '\x04';
// The signs of inequations and intervals: ≤, ≥ and ∞.
inline constexpr char kLabelLe = '\x05';
inline constexpr char kLabelGe = '\x06';
inline constexpr char kLabelInfinity = '\x07';

struct Step {
    enum class Kind {
        Rewrite,     // an equation equivalent to the previous one of the same group
        Derived,     // an equation that follows from the system (a combination, a substitution)
        Value,       // label, then links that all have the same value
        Note,        // a sentence: a verdict and its reason
        Check,       // a solution put back into an equation: links, both sides written
        Conclusion,  // the solution set, `set`
        Table,       // a sign table, `table`
    };
    Kind kind = Kind::Rewrite;
    int group = 0;            // systems: equation 1, 2, or 0 for the elimination
    std::string label;        // written first ("(1) × 3 :", "Δ = b² - 4ac ="), signs named
    Side lhs, rhs;            // Rewrite, Derived
    std::vector<Calc> links;  // Value
    bool degenerate = false;  // a verdict line, where "0 x" is what must be shown
    SolutionSet set;          // Conclusion
    SignTable table = {};     // Table
    Relation relation = Relation::Eq;  // Rewrite, Derived: the sign between lhs and rhs
};
using Steps = std::vector<Step>;

}  // namespace equat
