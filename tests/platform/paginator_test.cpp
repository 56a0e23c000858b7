// SPDX-License-Identifier: GPL-3.0-or-later
// Where pages are cut: never inside a question's statement, a system or its result line, and
// never between a value and its sign or its "=".
#include "platform/paginator.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <map>

#include "../rtf/rtf_test_util.h"
#include "app/qt_environment.h"
#include "core/kinds.h"
#include "core/sheet.h"
#include "platform/classpdf.h"
#include "platform/pdfwords.h"
#include "platform/qtdocument.h"
#include "platform/rtfqt.h"

using namespace equat;

namespace {

SheetSettings Settings(int level, KeyStyle style, int round) {
    SheetSettings s;
    s.level = level;
    s.count = 25;
    s.keyStyle = style;
    s.interline = round == 0 ? 0 : 2;
    s.layout.on = round == 2;
    s.layout.key = round == 2;
    s.layout.size = 18;
    return s;
}

// Why a page may not start at position p of doc; empty when it may.
std::string Fault(const QTextDocument& doc, int p) {
    const QTextBlock b = doc.findBlock(p);
    const QString text = b.text(), before = b.previous().text();
    static const QRegularExpression question(QString::fromUtf8("^[0-9]+\u00B0/"));
    bool afterFirstQuestion = false;
    for (QTextBlock q = doc.begin(); q.isValid() && q.position() < b.position(); q = q.next())
        afterFirstQuestion = afterFirstQuestion || question.match(q.text()).hasMatch();
    if (!afterFirstQuestion) return {};
    if (p != b.position()) return "inside a paragraph";
    if (text.contains(QRegularExpression(QString::fromUtf8("[\u23A7-\u23A9]"))))
        return "inside a system";
    if (text.startsWith("\t\t")) return "a result away from its question";
    if (!text.isEmpty() && text.trimmed().isEmpty()) return "inside a strip's question";
    if (question.match(text).hasMatch() && before.startsWith("---"))
        return "a separator away from its question";
    return {};
}

}  // namespace

TEST(Pages, NoQuestionIsCut) {
    QPainter unused;
    for (const char* name : {"1d", "2d", "syst"}) {
        for (int level = 1; level <= 3; ++level) {
            for (KeyStyle style : {KeyStyle::Decimal, KeyStyle::Detailed, KeyStyle::Strip}) {
                for (int round = 0; round < 3; ++round) {
                    auto kind = MakeKind(name);
                    RandomSource rng(static_cast<std::uint32_t>(level * 100 + round));
                    const Sheet sheet = BuildSheet(*kind, rng, Settings(level, style, round));
                    for (const std::string& rtf : {sheet.subject, sheet.answerKey}) {
                        auto doc = test::QtDocument(rtf);
                        Paginator pages(*doc);
                        for (double height = 6000; height < 16000; height += 1733) {
                            for (int at = 0; at < pages.TextLength();) {
                                at = pages.FormatRange(unused, QRectF(0, 0, 10772, height), at,
                                                       false);
                                if (at < pages.TextLength()) {
                                    ASSERT_EQ(Fault(*doc, at), "")
                                        << name << " level " << level << " style "
                                        << static_cast<int>(style) << " round " << round
                                        << ", a page " << height << " twips high, at " << at;
                                }
                            }
                        }
                    }
                }
            }
        }
    }
}

// Keys at 18 points, whose results run over two lines: no line of the PDF ends on a sign,
// an "=" or a "≈".
TEST(Pages, ValuesStayWithTheirSigns) {
    for (const char* name : {"1d", "2d", "syst"}) {
        auto kind = MakeKind(name);
        RandomSource rng(11);
        SheetSettings s = Settings(3, KeyStyle::Exact, 2);
        s.decimalComma = true;
        const Sheet sheet = BuildSheet(*kind, rng, s);
        std::string pdf, error;
        ASSERT_TRUE(CollatedPdf({sheet.subject, sheet.answerKey}, "t", &pdf, &error)) << error;
        std::map<std::pair<int, int>, std::map<double, QString>> lines;
        for (const auto& w : test::PdfWords(pdf)) lines[{w.page, w.line}][w.x] = w.text;
        ASSERT_GT(lines.size(), 40u);
        for (const auto& [at, words] : lines) {
            const QString last = words.rbegin()->second;
            QString all;
            for (const auto& [x, w] : words) all += w + " ";
            for (const char* sign : {"=", "\u2248", "-", "+"})
                EXPECT_NE(last, sign) << name << ", page " << at.first << ": " << all.toStdString();
        }
    }
}

// Taller than Qt's text layout could hold in one piece (about 420,000 points): each paragraph
// on its page as in a short document of the same paragraphs, two to a page.
TEST(Pages, TallDocumentsArePaged) {
    for (int paragraphs : {4, 1201}) {
        QTextDocument doc;
        QTextCursor cursor(&doc);
        QTextBlockFormat spaced;
        spaced.setBottomMargin(960);  // 10 inches
        for (int k = 0; k < paragraphs; ++k) {
            if (k > 0) cursor.insertBlock();
            cursor.setBlockFormat(spaced);
            cursor.insertText(QString("paragraphe %1").arg(k));
        }
        Paginator pages(doc);
        QPainter unused;
        std::vector<int> starts;
        for (int at = 0; at < pages.TextLength();) {
            starts.push_back(at);
            at = pages.FormatRange(unused, QRectF(0, 0, 10772, 15718), at, false);
        }
        ASSERT_EQ(starts.size(), static_cast<std::size_t>(paragraphs + 1) / 2);
        for (std::size_t k = 0; k < starts.size(); ++k)
            EXPECT_EQ(starts[k], doc.findBlockByNumber(static_cast<int>(2 * k)).position()) << k;
    }
}

// The lines of an image drawn dark over at least `length` pixels in a row: each run of
// neighbouring rows (or columns, `across`) counted once.
int RuledLines(const QImage& image, bool across, int length) {
    const int outer = across ? image.width() : image.height();
    const int inner = across ? image.height() : image.width();
    int lines = 0;
    bool inLine = false;
    for (int a = 0; a < outer; ++a) {
        int run = 0, longest = 0;
        for (int b = 0; b < inner; ++b) {
            const QRgb px = across ? image.pixel(a, b) : image.pixel(b, a);
            run = qGray(px) < 128 ? run + 1 : 0;
            longest = std::max(longest, run);
        }
        lines += longest >= length && !inLine;
        inLine = longest >= length;
    }
    return lines;
}

// A table goes to the next page whole whatever the page's height, and a page that shows it
// shows all its rules: 4 across its 3 rows, 6 beside its 5 columns.
TEST(Pages, TablesAreNeverCut) {
    rtf::Document model = rtf::test::TableDocument();
    for (int k = 0; k < 5; ++k)
        model.paragraphs.insert(model.paragraphs.begin(), model.paragraphs[0]);
    Paginator pages(model);
    int tableFirst = -1, tableLast = -1;
    {
        auto copy = test::QtDocument(model);
        const QTextBlock first = copy->findBlockByNumber(6), last = copy->findBlockByNumber(20);
        tableFirst = first.position();
        tableLast = last.position();
        ASSERT_EQ(first.text(), "r0c0");
        ASSERT_EQ(last.text(), "r2c4");
    }
    QPainter unused;
    // A column narrower than the table's 5000 twips shrinks it.
    for (double width : {10772.0, 3000.0}) {
        int shown = 0;
        for (double height = 2100; height < 3600; height += 31) {
            for (int at = 0; at < pages.TextLength();) {
                const QRectF page(0, 0, width, height);
                const int next = pages.FormatRange(unused, page, at, false);
                ASSERT_TRUE(next <= tableFirst || next > tableLast) << height << " " << next;
                if (at == tableFirst) {
                    QImage image(720, 400, QImage::Format_RGB32);
                    image.setDotsPerMeterX(3780);  // 96 dots per inch
                    image.setDotsPerMeterY(3780);
                    image.fill(Qt::white);
                    QPainter painter(&image);
                    pages.FormatRange(painter, page, at);
                    painter.end();
                    const int across = static_cast<int>(std::min(width, 5000.0) / 15 * 0.9);
                    EXPECT_EQ(RuledLines(image, false, across), 4) << width << " " << height;
                    EXPECT_EQ(RuledLines(image, true, 40), 6) << width << " " << height;
                    ++shown;
                }
                at = next;
            }
        }
        EXPECT_GT(shown, 0) << width;
    }
}
