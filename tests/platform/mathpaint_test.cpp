// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/mathpaint.h"

#include <gtest/gtest.h>

#include "app/qt_environment.h"
#include "core/kinds.h"
#include "core/random.h"
#include "rtf/sheetdocument.h"
#include "rtf/writer.h"

namespace equat {
namespace {

// The signs of a text, its room and the brace's pieces aside; a raised 2 as the plain text of
// a document writes it.
QString Signs(const QString& text) {
    QString out;
    for (QChar c : text)
        if (!c.isSpace() && (c.unicode() < 0x23A7 || c.unicode() > 0x23AD))
            out += c.unicode() == 0xB2 ? QChar('2') : c;
    return out;
}

QString BlockText(const MathBlock& block) {
    QString text;
    for (const MathLine& line : block.lines) text += LineText(line) + "\n";
    return text;
}

// Every kind and level over many draws: the painted statement reads as the subject writes it,
// and on a projector's whole screen (1920 x 1080) it is at least a tenth of the height high.
TEST(MathPaint, StatementsAreTheDocumentsAndReadFromAfar) {
    const QFont font = [] {
        QFont f;
        f.setPixelSize(1080 / 7);
        return f;
    }();
    const QRectF screen(0, 0, 1834, 864);
    for (const auto& k : kSheetKinds)
        for (int level = 1; level <= 3; ++level)
            for (std::uint32_t seed = 1; seed <= 8; ++seed) {
                SheetSettings s;
                s.level = level;
                s.count = 12;
                s.exports = {true, true};
                RandomSource rng(seed);
                const std::string_view kind = k.name;
                const Sheet sheet = BuildSheet(*MakeKind(kind), rng, s);
                for (const QuestionModel& q : sheet.model->questions) {
                    const Statement& st = q.statement;
                    const auto doc =
                        rtf::PlainTextUtf8(rtf::QuestionBodyDocuments(q, false).statement);
                    EXPECT_EQ(Signs(BlockText(StatementBlock(st))),
                              Signs(QString::fromStdString(doc)))
                        << kind << level << " seed " << seed;
                    EXPECT_EQ(Signs(BlockText(StatementBlock(st, true))),
                              Signs(BlockText(StatementBlock(st))));
                    EXPECT_GE(StatementPixelSize(screen, st, font, 108), 108)
                        << kind << level << " " << BlockText(StatementBlock(st)).toStdString();
                }
            }
}

QuestionModel Quadratic(const Surd& x1, const Surd& x2, std::int64_t delta) {
    QuestionModel q{"2d", 1, {}, {Verdict::Values, {}, delta}, {}};
    q.result.values = {{"x1", x1, "d1"}, {"x2", x2, "d2"}};
    return q;
}

TEST(MathPaint, ResultsInTheKeysStyle) {
    QuestionModel first{"1d", 2, {}, {Verdict::Values, {{"x", Rational(7, 3), "2.33"}}, {}}, {}};
    QuestionModel none{"syst", 1, {}, {Verdict::Indeterminate, {{"x", {}, "?"}}, {}}, {}};
    QuestionModel set{"ineq", 1, {}, {}, {}};
    set.result.set = SolutionSet{.shape = SolutionSet::Shape::Intervals,
                                 .intervals = {{std::nullopt, Surd(Rational(3, 2)), false, true}}};
    const struct {
        QuestionModel q;
        KeyStyle style;
        bool comma;
        QString text;
    } cases[] = {
        {first, KeyStyle::Decimal, true, "x = 2,33\n"},
        {first, KeyStyle::Exact, false, "x = 7/3 \u2248 2.33\n"},
        {first, KeyStyle::Strip, false, "x = 2.33\n"},
        {Quadratic(Rational(1, 2), Rational(1, 2), 0), KeyStyle::Exact, true,
         "\u0394 = 0\nx0 = 1/2 = 0,5\n"},
        {Quadratic(Rational(1, 2), Rational(1, 2), 0), KeyStyle::Decimal, false,
         "\u0394 = 0\nx1 = d1\nx2 = d2\n"},
        {Quadratic(Surd(0, 1, 2, 1), Surd(0, -1, 2, 1), 8), KeyStyle::Detailed, false,
         "\u0394 = 8\nx1 = \u221A2 \u2248 1.41\nx2 = -\u221A2 \u2248 -1.41\n"},
        {none, KeyStyle::Exact, false, "infinit\u00E9 de solutions\n"},
        {set, KeyStyle::Exact, false, "S = ]-\u221E ; 3/2]\n"},
        {set, KeyStyle::Strip, true, "S = ]-\u221E ; 1,5]\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BlockText(ResultBlock(c.q, c.style, c.comma)), c.text) << c.text.toStdString();
}

}  // namespace
}  // namespace equat
