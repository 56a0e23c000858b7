// SPDX-License-Identifier: GPL-3.0-or-later
// The worked steps of a detailed key, written in the keys' markup.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/keymarkup.h"
#include "core/markup.h"
#include "core/numbertext.h"

namespace equat {

namespace {

constexpr std::string_view kVar[] = {"", "<times><i><te=26> x <te=18></i><arial>",
                                     "<times><i><te=26> x\xB2 <te=18></i><arial>",
                                     "<times><i><te=26> y <te=18></i><arial>"};

void AppendSide(std::string& out, const Side& side) {
    if (side.empty()) out += "0";
    for (std::size_t i = 0; i < side.size(); ++i) {
        Rational c = side[i].coef;
        if (i > 0) {
            out += c.Sign() < 0 ? " - " : " + ";
            if (c.Sign() < 0) c = -c;
        }
        const bool bare = side[i].u != Unknown::One && (c == 1 || c == -1);
        out += bare ? (c == 1 ? "" : "-") : ExactText(c);
        out += kVar[static_cast<int>(side[i].u)];
    }
}

bool NegativeLead(const Calc& c) {
    if (c.op == Calc::Op::Number) return c.value.Sign() < 0;
    return c.op == Calc::Op::Neg || (c.op == Calc::Op::Prod && NegativeLead(c.args[0]));
}

Calc Negated(Calc c) {
    if (c.op == Calc::Op::Neg) return c.args[0];
    if (c.op == Calc::Op::Number) {
        c.value = -c.value;
    } else {
        c.args[0] = Negated(c.args[0]);
    }
    return c;
}

bool IsSum(const Calc& c) {
    return c.op == Calc::Op::Sum || c.op == Calc::Op::Diff ||
           (c.op == Calc::Op::Number && c.value.a() != 0 && c.value.b() != 0 && c.value.d() == 1);
}

bool IsFraction(const Calc& c) {
    return c.op == Calc::Op::Quot || (c.op == Calc::Op::Number && c.value.d() != 1);
}

bool IsNatural(const Calc& c) {
    return c.op == Calc::Op::Number && c.value.IsInteger() && c.value.Sign() >= 0;
}

std::string CalcText(const Calc& c);

std::string Grouped(const Calc& c, bool group) {
    return group ? "(" + CalcText(c) + ")" : CalcText(c);
}

std::string CalcText(const Calc& c) {
    switch (c.op) {
        case Calc::Op::Number:
            return ExactText(c.value, kRootMarkup);
        case Calc::Op::Root:
            return std::string(kRootMarkup) + DecimalText(c.root);
        case Calc::Op::Square:
            return Grouped(c.args[0], !IsNatural(c.args[0])) + "\xB2";
        case Calc::Op::Sum:
        case Calc::Op::Diff: {
            bool minus = c.op == Calc::Op::Diff;
            Calc right = c.args[1];
            if (NegativeLead(right)) {
                minus = !minus;
                right = Negated(right);
            }
            return CalcText(c.args[0]) + (minus ? " - " : " + ") +
                   Grouped(right, IsSum(right) || NegativeLead(right));
        }
        case Calc::Op::Neg:
            return "-" + Grouped(c.args[0], IsSum(c.args[0]) || NegativeLead(c.args[0]));
        case Calc::Op::Quot:
            return Grouped(c.args[0], IsSum(c.args[0]) || IsFraction(c.args[0])) + "/" +
                   Grouped(c.args[1], !IsNatural(c.args[1]));
        default: {
            std::string s;
            for (std::size_t i = 0; i < c.args.size(); ++i) {
                const Calc& f = c.args[i];
                if (i > 0) s += " \xD7 ";
                s += Grouped(f, IsSum(f) || IsFraction(f) || (i > 0 && NegativeLead(f)));
            }
            return s;
        }
    }
}

constexpr std::string_view kCouple =
    "(<times><i><te=26>x<te=18></i><arial> ; <times><i><te=26>y<te=18></i><arial>)";

std::string ValueText(const Surd& v, bool exact) {
    return exact ? ExactText(v, kRootMarkup) : RoundedText(v, 2);
}

std::string ValuesText(const std::vector<Surd>& values, bool exact) {
    std::string s = "\\{";
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) s += " ; ";
        s += ValueText(values[i], exact);
    }
    return s + "\\}";
}

// The Symbol font's infinity sign; its sign before it.
constexpr std::string_view kInfinity = "<symbol>\xA5<arial>";

std::string IntervalText(const Interval& i, bool exact) {
    std::string s = i.lowClosed ? "[" : "]";
    s += i.low ? ValueText(*i.low, exact) : "-" + std::string(kInfinity);
    s += " ; ";
    s += i.high ? ValueText(*i.high, exact) : "+" + std::string(kInfinity);
    return s + (i.highClosed ? "]" : "[");
}

std::string SetText(const SolutionSet& set, bool exact) {
    using Shape = SolutionSet::Shape;
    switch (set.shape) {
        case Shape::Values:
            return "S = " + ValuesText(set.values, exact);
        case Shape::Couple:
            return "S = \\{(" + ValueText(set.values[0], exact) + " ; " +
                   ValueText(set.values[1], exact) + ")\\}";
        case Shape::Empty:
            return "S = <symbol>\xC6<arial>";
        case Shape::Reals: {
            // The Symbol font has no double-struck R: the bold R of print stands for it.
            std::string s = "S = <b>R</b>";
            if (!set.excluded.empty()) s += " \\\\ " + ValuesText(set.excluded, exact);
            return s;
        }
        case Shape::Intervals: {
            std::string s = "S = ";
            for (std::size_t k = 0; k < set.intervals.size(); ++k) {
                if (k > 0) s += " <symbol>\xC8<arial> ";
                s += IntervalText(set.intervals[k], exact);
            }
            return s;
        }
        case Shape::Couples:
            return "S : tous les couples " + std::string(kCouple);
        default: {
            std::string s = "S : les couples " + std::string(kCouple) + " tels que ";
            AppendSide(s, set.lhs);
            s += " = ";
            AppendSide(s, set.rhs);
            return s;
        }
    }
}

// The label with its named signs set in the keys' fonts.
void AppendLabel(std::string& out, std::string_view label) {
    for (std::size_t k = 0; k < label.size(); ++k) {
        const char c = label[k];
        const bool named = (c == kLabelUnknown || c == kLabelIndexed) && k + 1 < label.size();
        if (c == kLabelDelta) {
            out += "<symbol>D<arial>";
        } else if (c == kLabelRoot) {
            out += kRootMarkup;
        } else if (named && c == kLabelUnknown) {
            out += "<times><i><te=26>";
            out += label[++k];
            out += " <te=18></i><arial>";
        } else if (named) {
            out += "<times><i><te=26>x</i><te=18><arial><sub>";
            out += label[++k];
            out += "</sub>";
        } else if (c == kLabelLe || c == kLabelGe || c == kLabelInfinity) {
            out += "<symbol>";
            out += c == kLabelLe ? '\xA3' : c == kLabelGe ? '\xB3' : '\xA5';
            out += "<arial>";
        } else if (c == '<') {
            out += "\\'3c";  // a tag would start otherwise
        } else {
            out += c;
        }
    }
}

void AppendStep(std::string& out, const Step& step) {
    AppendLabel(out, step.label);
    switch (step.kind) {
        case Step::Kind::Check:
            // Both sides, even when they read alike.
            out += CalcText(step.links[0]);
            out += " = ";
            out += CalcText(step.links[1]);
            break;
        case Step::Kind::Conclusion:
            out += SetText(step.set, true);
            break;
        case Step::Kind::Value: {
            std::string previous;
            for (const Calc& link : step.links) {
                std::string text = CalcText(link);
                if (text == previous) continue;
                if (!previous.empty()) out += " = ";
                out += text;
                previous = std::move(text);
            }
            break;
        }
        case Step::Kind::Note:
            break;
        default:
            AppendSide(out, step.lhs);
            out += RelationMarkup(step.relation);
            AppendSide(out, step.rhs);
            break;
    }
}

}  // namespace

std::string_view RelationMarkup(Relation relation) {
    switch (relation) {
        case Relation::Lt:
            return " \\'3c ";
        case Relation::Le:
            return " <symbol>\xA3<arial> ";
        case Relation::Gt:
            return " > ";
        case Relation::Ge:
            return " <symbol>\xB3<arial> ";
        default:
            return " = ";
    }
}

std::string SolutionSetMarkup(const SolutionSet& set, bool exact) {
    return SetText(set, exact);
}

namespace {

constexpr std::string_view kSignText[] = {"+", "-", "0", "||", ""};
constexpr std::string_view kTableX = "<times><i><te=26>x<te=18></i><arial>";

std::string SideText(const Side& side) {
    std::string s;
    AppendSide(s, side);
    return s;
}

// factors[from, to) side by side: a sum in brackets, and a single term too after the first, so
// that no factor reads as a coefficient of the one before. A factor `alone` (its own row) goes
// without brackets.
std::string ProductText(const std::vector<Side>& factors, std::size_t from, std::size_t to,
                        bool alone) {
    if (from >= to) return "1";
    if (to - from == 1 && (alone || factors[from].size() <= 1)) return SideText(factors[from]);
    std::string s;
    for (std::size_t f = from; f < to; ++f) {
        const bool bracket = factors[f].size() > 1 || f > from;
        s += bracket ? "(" + SideText(factors[f]) + ")" : SideText(factors[f]);
    }
    return s;
}

// A row's expression: one factor as the worked steps write it, a product side by side, a
// quotient over a slash, never as a product.
std::string RowLabel(const SignRow& row) {
    const std::size_t n = row.factors.size();
    const std::size_t top =
        std::min<std::size_t>(static_cast<std::size_t>(std::max(row.numerators, 0)), n);
    if (top == n) return ProductText(row.factors, 0, n, true);
    std::string below = ProductText(row.factors, top, n, false);
    if (n - top > 1) below = "[" + below + "]";  // the whole product divides
    return ProductText(row.factors, 0, top, false) + "/" + below;
}

// A cell's width in twips for its markup: the visible characters of the keys' 9-point text,
// with the room the cell keeps on both sides.
int CellWidth(std::string_view markup, int least) {
    int chars = 0;
    ForEachMarkup(
        markup, [&](std::string_view text) { chars += static_cast<int>(text.size()); },
        [](std::string_view) {});
    return std::max(least, chars * 110 + 280);
}

void AppendRow(std::string& s, const std::vector<std::string>& cells,
               const std::vector<int>& widths) {
    s += "<row=";
    for (std::size_t c = 0; c < widths.size(); ++c) {
        if (c > 0) s += ',';
        s += DecimalText(widths[c]);
    }
    s += '>';
    for (const std::string& cell : cells) s += cell + "<cell>";
    s += "</row>";
}

}  // namespace

// A row of cells for x and each row: the label, -∞, then the intervals and the values in
// turn, then +∞. Every row has as many cells as the header, whatever its signs hold.
std::string SignTableMarkup(const SignTable& table) {
    const std::size_t middle = 2 * table.values.size() + 1;
    std::vector<std::vector<std::string>> rows(1 + table.rows.size());
    rows[0] = {std::string(kTableX), "-" + std::string(kInfinity)};
    for (const Surd& v : table.values) {
        rows[0].emplace_back();
        rows[0].push_back(ValueText(v, true));
    }
    rows[0].emplace_back();
    rows[0].push_back("+" + std::string(kInfinity));
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const SignRow& row = table.rows[r];
        std::vector<std::string>& cells = rows[r + 1];
        cells = {RowLabel(row), ""};
        for (std::size_t c = 0; c < middle; ++c)
            cells.emplace_back(c < row.cells.size() ? kSignText[static_cast<int>(row.cells[c])]
                                                    : "");
        cells.emplace_back();
    }
    std::vector<int> widths(rows[0].size(), 0);
    for (const auto& cells : rows)
        for (std::size_t c = 0; c < cells.size(); ++c)
            widths[c] = std::max(widths[c], CellWidth(cells[c], c == 0 ? 900 : 480));
    // A row wider than a row tag takes is narrowed whole, so that the table stays one.
    std::int64_t total = 0;
    for (int w : widths) total += w;
    if (total > kMaxRowTwips)
        for (int& w : widths)
            w = std::max<int>(1, static_cast<int>(w * std::int64_t{kMaxRowTwips} / total));
    std::string s = "<arial><te=18>";
    for (const auto& cells : rows) AppendRow(s, cells, widths);
    return s;
}

std::string WorkedStepsMarkup(const Steps& steps) {
    std::string out;
    for (const Step& step : steps) {
        if (step.kind == Step::Kind::Table) {
            // A table starts a paragraph and its last row ends one.
            if (!step.label.empty()) {
                out += "<arial><te=18><tab>";
                AppendLabel(out, step.label);
                out += "<br>";
            }
            out += SignTableMarkup(step.table);
            continue;
        }
        out += "<arial><te=18><tab>";
        AppendStep(out, step);
        out += "<br>";
    }
    return out;
}

void AppendWorkedStepsRtf(std::string& out, const Steps& steps) {
    AppendMarkupRtf(out, WorkedStepsMarkup(steps));
}

}  // namespace equat
