// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtf/sheetdocument.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/exactkey.h"
#include "core/keymarkup.h"
#include "core/kinds.h"
#include "core/markup.h"
#include "core/numbertext.h"
#include "core/sheetrtf.h"
#include "rtf/reader.h"
#include "rtf/writer.h"
#include "rtf_test_util.h"

namespace equat::rtf {
namespace {

// Teacher texts that try every sign the documents must show as typed, and the markup's own
// tags left open.
const std::string kHostile[] = {
    "",
    "Nom :      Pr\xE9nom :    <b>Classe</b> {x} \\par \\'41",
    "<i><te=30><ce=rouge>ouvert <cf=jaune>< <tab>\x80\x81\x7F\x01 <te=> <TE=12>fin",
    "a.5 1.5 x.2 {\\b 3.}5 <sup>2</sup>",
};

// The first paragraph where two documents differ, to read a failure.
std::string FirstDifference(const Document& a, const Document& b) {
    if (a.fonts != b.fonts) return "fonts";
    for (std::size_t k = 0; k < std::min(a.paragraphs.size(), b.paragraphs.size()); ++k) {
        if (a.paragraphs[k] == b.paragraphs[k]) continue;
        std::string s = "paragraph " + std::to_string(k) + ":";
        for (const Document* d : {&a, &b}) {
            const Paragraph& p = d->paragraphs[k];
            s += "\n  sa" + std::to_string(p.spaceAfter) + " sl" + std::to_string(p.lineSpacing) +
                 " mark " + std::to_string(p.mark.size) + (p.mark.italic ? "i" : "");
            for (const Run& r : p.runs)
                s += " [f" + std::to_string(r.format.font) + " s" + std::to_string(r.format.size) +
                     (r.format.italic ? "i" : "") + (r.format.bold ? "b" : "") +
                     (r.format.underline ? "u" : "") + (r.format.strike ? "x" : "") +
                     std::to_string(static_cast<int>(r.format.valign)) +
                     (r.format.colour ? "c" + std::to_string(r.format.colour->r) : "") +
                     (r.format.highlight ? "h" + std::to_string(r.format.highlight->g) : "") +
                     " '" + r.text + "']";
        }
        return s;
    }
    return "paragraph count " + std::to_string(a.paragraphs.size()) + " " +
           std::to_string(b.paragraphs.size());
}

AdaptedLayout LayoutNumber(std::uint32_t n) {
    AdaptedLayout l;
    l.on = n % 3 == 0;
    l.font = kAdaptedFonts[n % kAdaptedFontCount].font;
    l.size = kAdaptedSizes[(n / 3) % 3];
    l.doubleSpacing = (n & 8) != 0;
    l.key = (n & 16) != 0;
    return l;
}

// The documents made from the model are those read back from the RTF the same model makes,
// for every kind (mixed too), level, key style, layout, comma, quiz copy, strip, multiple
// choice and teacher text.
TEST(SheetDocument, EqualsTheRtfReadBack) {
    for (std::uint32_t seed = 0; seed < 48; ++seed) {
        for (const auto& kind : kSheetKinds) {
            SheetSettings s;
            s.level = 1 + static_cast<int>(seed % 3);
            s.count = 1 + static_cast<int>(seed * 7 % 14);
            s.interline = static_cast<int>(seed % 4);
            s.keyStyle = kKeyStyles[(seed / 3) % kKeyStyleCount].style;
            s.decimalComma = seed % 2 == 1;
            s.layout = LayoutNumber(seed);
            s.quiz = {seed % 5 == 0, seed % 10 == 0};
            s.choiceCount = seed % 5 == 2 ? 4 : seed % 5 == 4 ? 3 : 0;
            s.code = seed % 4 == 0 ? "ABC-12" : "";
            s.separatorOn = seed % 6 != 5;
            const std::string& hostile = kHostile[seed % std::size(kHostile)];
            if (seed % 8 < 4) {
                s.title += hostile;
                s.instruction = hostile;
                s.separator = hostile + s.separator;
            }
            if (seed % 7 == 3) s.name = "Zo\xE9 {\\O'Brien} <b>";
            s.draw.progressive = seed % 9 == 4;
            s.draw.mixedKinds = seed % 9 == 7 ? 7u : 0u;  // every kind on one sheet
            RandomSource rng(seed);
            const SheetModel model = BuildSheetModel(*MakeSheetKind(kind.name, s.draw), rng, s);
            Sheet sheet = RenderSheet(model, s);
            sheet.model = std::make_shared<const SheetModel>(model);
            sheet.settings = std::make_shared<const SheetSettings>(s);
            // Each document alone, as the outputs ask for them.
            const SheetDocuments docs{SubjectDocument(sheet), KeyDocument(sheet)};
            const Document subject = ReadRtf(sheet.subject), key = ReadRtf(sheet.answerKey);
            ASSERT_TRUE(docs.subject == subject)
                << kind.name << " seed " << seed << " " << FirstDifference(docs.subject, subject);
            ASSERT_TRUE(docs.answerKey == key)
                << kind.name << " seed " << seed << " " << FirstDifference(docs.answerKey, key);
        }
    }
}

// A question's bodies made from the model are its RTF fragments read back: the statement as the
// subject writes it, the worked solution as a detailed key does, each with the comma; for every
// kind and level, multiple choice, graphs, mixed and progressive sheets.
TEST(SheetDocument, QuestionBodiesEqualTheirRtfReadBack) {
    for (std::uint32_t seed = 0; seed < 36; ++seed)
        for (const auto& kind : kSheetKinds) {
            SheetSettings s;
            s.level = 1 + static_cast<int>(seed % 3);
            s.count = 8;
            s.decimalComma = seed % 2 == 1;
            s.choiceCount = seed % 4 == 1 ? 4 : 0;
            s.graphs = seed % 4 == 2;
            s.draw.progressive = seed % 6 == 3;
            s.draw.mixedKinds = seed % 6 == 5 ? 7u : 0u;
            s.exports.bodies = true;  // the worked steps
            RandomSource rng(seed);
            const SheetModel model = BuildSheetModel(*MakeSheetKind(kind.name, s.draw), rng, s);
            for (std::size_t i = 0; i < model.questions.size(); ++i) {
                const QuestionModel& q = model.questions[i];
                std::string statement, worked;
                AppendSubjectRtf(statement, q);
                AppendKeyRtf(worked, q, KeyStyle::Detailed);
                if (s.decimalComma) UseDecimalComma(statement);
                if (s.decimalComma) UseDecimalComma(worked);
                const QuestionDocuments made = QuestionBodyDocuments(q, s.decimalComma);
                const std::string where = std::string(kind.name) + " seed " + std::to_string(seed);
                for (const auto& [doc, rtf] :
                     {std::pair{&made.statement, &statement}, std::pair{&made.worked, &worked}}) {
                    const Document read = ReadRtf(std::string(kRtfHeader) + *rtf + "}");
                    ASSERT_TRUE(*doc == read) << where << " " << FirstDifference(*doc, read);
                }
            }
        }
}

// A sign table drawn from the seed: one to three values (a surd among them), one or two factor
// rows and the whole row, a product or a quotient, with every sign.
SignTable DrawnTable(std::uint32_t seed) {
    RandomSource rng(seed);
    SignTable t;
    const int n = 1 + rng.RandomInt(3);
    for (int v = 0; v < n; ++v) t.values.push_back(v == 1 ? Surd(1, 1, 7, 2) : Surd(v * 3 - 2));
    const int factors = 1 + rng.RandomInt(2);
    SignRow whole;
    for (int f = 0; f < factors; ++f) {
        const Side side = {{Rational(rng.RandomInt(5) - 2, 1 + f), Unknown::X},
                           {Rational(rng.RandomInt(9) - 4), Unknown::One}};
        SignRow row{{side}, 1, {}};
        for (int c = 0; c < 2 * n + 1; ++c)
            row.cells.push_back(static_cast<Sign>(rng.RandomInt(5)));
        t.rows.push_back(row);
        whole.factors.push_back(side);
    }
    whole.numerators = factors == 2 && rng.RandomInt(2) == 0 ? 1 : factors;
    whole.cells = t.rows.back().cells;
    t.rows.push_back(whole);
    return t;
}

// A key whose solutions are worked through sign tables: its documents are still the RTF read
// back, the writer gives the same tables again, and the text keeps each row's cells in order.
TEST(SheetDocument, SignTablesAreTablesInEveryDocument) {
    for (std::uint32_t seed = 0; seed < 24; ++seed) {
        SheetSettings s;
        s.count = 1 + static_cast<int>(seed % 4);
        s.keyStyle = KeyStyle::Detailed;
        s.layout = LayoutNumber(seed);
        s.decimalComma = seed % 2 == 1;
        RandomSource rng(seed);
        SheetModel model = BuildSheetModel(*MakeKind("1d"), rng, s);
        for (QuestionModel& q : model.questions) {
            const SignTable table = DrawnTable(seed * 31 + static_cast<std::uint32_t>(q.level));
            Step label, tableStep, conclusion;
            label.kind = tableStep.kind = Step::Kind::Table;
            label.table = tableStep.table = table;
            label.label = "Tableau de signes :";
            conclusion.kind = Step::Kind::Conclusion;
            conclusion.set.shape = SolutionSet::Shape::Intervals;
            conclusion.set.intervals = {{std::nullopt, table.values[0], false, true}};
            q.steps = Steps{label, tableStep, conclusion};
            q.result.set = conclusion.set;
        }
        const Document key = ReadRtf(RenderSheet(model, s).answerKey);
        const Document made = RenderDocuments(model, s).answerKey;
        ASSERT_TRUE(made == key) << "seed " << seed << " " << FirstDifference(made, key);
        const Document again = ReadRtf(WriteRtf(key));
        ASSERT_TRUE(again == key) << "seed " << seed << " " << FirstDifference(again, key);
        const SignTable& t =
            DrawnTable(seed * 31 + static_cast<std::uint32_t>(model.questions[0].level));
        std::string header = "x\t-\xE2\x88\x9E";
        for (std::size_t v = 0; v < t.values.size(); ++v)
            header += "\t\t" + std::string(v == 1 ? "(1 + \xE2\x88\x9A"
                                                    "7)/2"
                                                  : std::to_string(3 * static_cast<int>(v) - 2));
        header += "\t\t+\xE2\x88\x9E\n";
        const std::string text = PlainTextUtf8(key);
        EXPECT_NE(text.find("\n" + header), std::string::npos) << seed << "\n" << text;
        int cells = 0;
        for (const Paragraph& p : key.paragraphs) cells += p.cell ? 1 : 0;
        EXPECT_EQ(cells,
                  s.count * 2 * static_cast<int>((t.values.size() * 2 + 4) * (t.rows.size() + 1)));
    }
}

// Solution sets, as the new kinds' keys write them: the strip and every key style write their
// braces, backslash and Symbol signs through markup, the same in the RTF and the model's
// documents, and the key reads as the set's text.
TEST(SheetDocument, SolutionSetsReadAsTheirText) {
    const std::vector<SolutionSet> sets = test::SampleSets({Rational(-3, 2), Rational(3, 2)});
    for (std::uint32_t seed = 0; seed < 24; ++seed) {
        SheetSettings s;
        s.count = 6;
        s.keyStyle = kKeyStyles[seed % kKeyStyleCount].style;
        s.decimalComma = seed % 2 == 1;
        s.layout = LayoutNumber(seed);
        RandomSource rng(seed);
        SheetModel model = BuildSheetModel(*MakeKind("1d"), rng, s);
        for (std::size_t i = 0; i < model.questions.size(); ++i)
            model.questions[i].result.set = sets[(i + seed) % std::size(sets)];
        const Document key = ReadRtf(RenderSheet(model, s).answerKey);
        ASSERT_TRUE(RenderDocuments(model, s).answerKey == key)
            << "seed " << seed << " " << FirstDifference(RenderDocuments(model, s).answerKey, key);
        const std::string text = PlainTextUtf8(key);
        for (const QuestionModel& q : model.questions) {
            std::string set = SolutionSetText(*q.result.set, ShowsExactValues(s.keyStyle));
            if (s.decimalComma) UseDecimalComma(set);
            const auto reals = set.find("\xE2\x84\x9D");  // the keys' bold R
            if (reals != std::string::npos) set.replace(reals, 3, "R");
            EXPECT_NE(text.find(set), std::string::npos) << "seed " << seed << ": " << set;
        }
    }
}

}  // namespace
}  // namespace equat::rtf
