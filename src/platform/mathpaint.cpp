// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/mathpaint.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "core/cp1252.h"
#include "core/exactkey.h"
#include "core/keymarkup.h"
#include "core/numbertext.h"
#include "core/textsink.h"
#include "rtf/symbol.h"

namespace equat {

namespace {

QString FromBytes(std::string_view bytes) {
    return QString::fromStdString(Cp1252ToUtf8(bytes));
}

// The numbers through the documents' own writer, so that both write the same signs.
QString NumberText(const Atom& a) {
    std::string s;
    {
        TextSink out(s, 24);
        PutNumberAtom(out, a);
    }
    return QString::fromLatin1(s);
}

// An unknown as the documents set it: x with the room its look gives it, x² with its 2 raised.
void AppendUnknown(MathLine& line, const Atom& a) {
    if (a.var == Var::X2) {
        line.push_back({" x", true});
        line.push_back({"2", false, MathRun::Shift::Up});
        line.push_back({" ", false});
        return;
    }
    const QString name = a.var == Var::Y ? "y" : "x";
    const QString text = a.var == Var::X && a.look == VarLook::Lead      ? name + " "
                         : a.var == Var::X && a.look == VarLook::Negated ? "- " + name + " "
                                                                         : " " + name + " ";
    line.push_back({text, true});
}

void AppendSide(MathLine& line, const WrittenSide& side) {
    for (const Atom& a : side) {
        switch (a.kind) {
            case Atom::Kind::Unknown:
                AppendUnknown(line, a);
                break;
            case Atom::Kind::Open:
                line.push_back({"("});
                break;
            case Atom::Kind::Close:
                line.push_back({")"});
                break;
            case Atom::Kind::Space:
                line.push_back({QString(std::max(a.value, 0), ' ')});
                break;
            case Atom::Kind::Over:
                line.push_back({"/"});
                break;
            case Atom::Kind::Squared:
                line.push_back({QString(QChar(0xB2))});
                break;
            default:
                line.push_back({NumberText(a)});
                break;
        }
    }
}

// "x1" as x with its index lowered; "y" alone.
MathLine NameLine(std::string_view name) {
    MathLine line{{FromBytes(name.substr(0, 1)), true}};
    if (name.size() > 1) line.push_back({FromBytes(name.substr(1)), false, MathRun::Shift::Down});
    return line;
}

QString ValueText(const ResultValue& v, KeyStyle style, bool decimalComma) {
    std::string s = ShowsExactValues(style) && v.exact ? ExactKeyMarkup(*v.exact) : v.decimal;
    if (decimalComma) UseDecimalComma(s);
    return KeyMarkupText(s);
}

QFont RunFont(const MathRun& run, QFont font) {
    font.setItalic(run.italic);
    if (run.shift != MathRun::Shift::None) font.setPixelSize(std::max(1, font.pixelSize() * 3 / 5));
    return font;
}

// Walks the runs of a line from x = 0, handing each its font, place and baseline shift.
template <class Fn>
double WalkLine(const MathLine& line, const QFont& font, Fn&& fn) {
    const double ascent = QFontMetricsF(font).ascent();
    double x = 0;
    for (const MathRun& run : line) {
        const QFont f = RunFont(run, font);
        const double dy = run.shift == MathRun::Shift::Up     ? -0.4 * ascent
                          : run.shift == MathRun::Shift::Down ? 0.2 * ascent
                                                              : 0;
        fn(run, f, x, dy);
        x += QFontMetricsF(f).horizontalAdvance(run.text);
    }
    return x;
}

double LineWidth(const MathLine& line, const QFont& font) {
    return WalkLine(line, font, [](const MathRun&, const QFont&, double, double) {});
}

double LineHeight(const QFont& font) {
    return QFontMetricsF(font).height() * 1.15;
}

double BraceWidth(const QFont& font) {
    return 0.6 * QFontMetricsF(font).height();
}

// A curly brace down the left of the lines, drawn as two curves meeting at its point.
void PaintBrace(QPainter& painter, const QRectF& r) {
    const double w = r.width() * 0.6, x = r.left() + r.width() * 0.25, mid = r.center().y();
    QPainterPath path(QPointF(x + w, r.top()));
    path.cubicTo(x, r.top(), x + w, mid, x, mid);
    path.cubicTo(x + w, mid, x, r.bottom(), x + w, r.bottom());
    QPen pen = painter.pen();
    pen.setWidthF(std::max(1.0, r.width() / 10));
    painter.save();
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    painter.restore();
}

// The sign between the sides of an equation or an inequation.
QString RelationSign(Relation relation) {
    switch (relation) {
        case Relation::Lt:
            return "<";
        case Relation::Le:
            return QString(QChar(0x2264));
        case Relation::Gt:
            return ">";
        case Relation::Ge:
            return QString(QChar(0x2265));
        default:
            return "=";
    }
}

QFont WithPixelSize(QFont font, double size) {
    font.setPixelSize(std::max(1, static_cast<int>(size)));
    return font;
}

}  // namespace

MathBlock StatementBlock(const Statement& statement, bool splitAtSign) {
    MathBlock block;
    block.brace = statement.lines.size() == 2;
    for (const WrittenEquation& e : statement.lines) {
        MathLine line;
        AppendSide(line, e.left);
        if (splitAtSign) {
            // The right side indented under the left: it goes on, it is no new equation.
            block.lines.push_back(std::move(line));
            line = {{"      "}};
        } else {
            line.push_back({QString(std::max(e.padBefore, 0), ' ')});
        }
        line.push_back({RelationSign(e.relation) + QString(std::max(e.padAfter, 0), ' ')});
        AppendSide(line, e.right);
        block.lines.push_back(std::move(line));
    }
    return block;
}

MathBlock ResultBlock(const QuestionModel& q, KeyStyle style, bool decimalComma) {
    MathBlock block;
    const QuestionResult& r = q.result;
    if (r.discriminant)
        block.lines.push_back(
            {{QString(QChar(0x0394)) + " = " + QString::number(*r.discriminant)}});
    if (r.set) {
        std::string text = SolutionSetText(*r.set, ShowsExactValues(style));
        if (decimalComma) UseDecimalComma(text);
        block.lines.push_back({{QString::fromStdString(text)}});
        return block;
    }
    if (r.verdict != Verdict::Values) {
        block.lines.push_back({{FromBytes(StripResultText(r))}});
        return block;
    }
    // An exact key writes a double root once.
    const bool once = ShowsExactValues(style) && r.values.size() == 2 && q.kind == "2d" &&
                      r.values[0].exact && r.values[0].exact == r.values[1].exact;
    for (const ResultValue& v : r.values) {
        MathLine line = NameLine(once ? std::string_view("x0") : std::string_view(v.name));
        line.push_back({" = " + ValueText(v, style, decimalComma)});
        block.lines.push_back(std::move(line));
        if (once) break;
    }
    return block;
}

QString LineText(const MathLine& line) {
    QString text;
    for (const MathRun& run : line) text += run.text;
    return text;
}

QString KeyMarkupText(std::string_view markup) {
    QString text;
    bool symbol = false;
    for (std::size_t k = 0; k < markup.size(); ++k) {
        if (markup[k] == '<') {
            const std::size_t end = markup.find('>', k);
            if (end != std::string_view::npos) {
                const std::string_view tag = markup.substr(k + 1, end - k - 1);
                if (tag == "symbol") symbol = true;
                if (tag == "arial" || tag == "times") symbol = false;
                k = end;
                continue;
            }
        }
        const auto byte = static_cast<unsigned char>(markup[k]);
        if (symbol) {
            text += QString::fromUcs4(std::u32string(1, rtf::SymbolToUnicode(byte)).data(), 1);
        } else {
            text += FromBytes(markup.substr(k, 1));
        }
    }
    return text;
}

QSizeF BlockSize(const MathBlock& block, const QFont& font) {
    double width = 0;
    for (const MathLine& line : block.lines) width = std::max(width, LineWidth(line, font));
    if (block.brace) width += BraceWidth(font);
    return {width, LineHeight(font) * static_cast<double>(block.lines.size())};
}

double BlockPixelSize(const QRectF& box, const MathBlock& block, const QFont& font) {
    const QSizeF size = BlockSize(block, font);
    double scale = 1;
    if (size.width() > box.width()) scale = box.width() / size.width();
    if (size.height() > box.height()) scale = std::min(scale, box.height() / size.height());
    return std::max(1.0, std::floor(font.pixelSize() * scale));
}

double PaintBlock(QPainter& painter, const QRectF& box, const MathBlock& block, QFont font,
                  Qt::Alignment align) {
    const double size = BlockPixelSize(box, block, font);
    font = WithPixelSize(font, size);
    const QSizeF whole = BlockSize(block, font);
    double left = box.left();
    if (align & Qt::AlignHCenter) left += (box.width() - whole.width()) / 2;
    if (align & Qt::AlignRight) left += box.width() - whole.width();
    const double top = box.top() + (box.height() - whole.height()) / 2, line = LineHeight(font);
    if (block.brace) {
        PaintBrace(painter, QRectF(left, top, BraceWidth(font), whole.height()));
        left += BraceWidth(font);
    }
    const double ascent = QFontMetricsF(font).ascent() + (line - QFontMetricsF(font).height()) / 2;
    for (std::size_t i = 0; i < block.lines.size(); ++i) {
        const double base = top + line * static_cast<double>(i) + ascent;
        WalkLine(block.lines[i], font,
                 [&](const MathRun& run, const QFont& f, double x, double dy) {
                     painter.setFont(f);
                     painter.drawText(QPointF(left + x, base + dy), run.text);
                 });
    }
    return size;
}

namespace {

// The whole lines, or the split ones when the whole come out below `least` pixels.
MathBlock FittedStatement(const QRectF& box, const Statement& statement, const QFont& font,
                          double least) {
    MathBlock whole = StatementBlock(statement);
    const double size = BlockPixelSize(box, whole, font);
    if (size >= least) return whole;
    MathBlock split = StatementBlock(statement, true);
    return BlockPixelSize(box, split, font) > size ? split : whole;
}

}  // namespace

double StatementPixelSize(const QRectF& box, const Statement& statement, const QFont& font,
                          double least) {
    return BlockPixelSize(box, FittedStatement(box, statement, font, least), font);
}

double PaintStatement(QPainter& painter, const QRectF& box, const Statement& statement,
                      const QFont& font, Qt::Alignment align, double least) {
    return PaintBlock(painter, box, FittedStatement(box, statement, font, least), font, align);
}

}  // namespace equat
