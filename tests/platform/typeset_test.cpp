// SPDX-License-Identifier: GPL-3.0-or-later
// Our lines against Qt's own layout of the same documents, which the window shows: the same
// line breaks, the same heights and the same tops (to a twip a page: Qt rounds a table's rows),
// paragraphs, tables and adapted layouts.
#include "platform/typeset.h"

#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QFontInfo>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include "app/qt_environment.h"
#include "core/kinds.h"
#include "core/sheet.h"
#include "platform/paginator.h"
#include "platform/rtfqt.h"
#include "rtf/reader.h"

using namespace equat;

namespace {

struct QtLine {
    int position;
    double top, height;
};

// Qt's lines of the document (outside tables) laid out in twips at that width, its values
// glued to their signs as ours are.
std::vector<QtLine> QtLines(rtf::Document doc, double width) {
    for (rtf::Paragraph& p : doc.paragraphs) {
        QString text;
        for (const rtf::Run& r : p.runs) text += QString::fromStdString(r.text);
        typeset::GlueValues(text);
        qsizetype at = 0;
        for (rtf::Run& r : p.runs) {
            const qsizetype size = QString::fromStdString(r.text).size();
            r.text = text.mid(at, size).toStdString();
            at += size;
        }
    }
    QTextDocument qdoc;
    qdoc.setDefaultFont(DocumentFont());
    QTextCursor cursor(&qdoc);
    InsertDocument(cursor, doc);
    qdoc.documentLayout()->setPaintDevice(&typeset::TwipDevice());
    qdoc.setDocumentMargin(0);
    QTextOption option = qdoc.defaultTextOption();
    option.setTabStopDistance(doc.defaultTab * 96.0 / 1440.0);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    qdoc.setDefaultTextOption(option);
    qdoc.setTextWidth(width);
    std::vector<QtLine> lines;
    for (QTextBlock b = qdoc.begin(); b.isValid(); b = b.next()) {
        if (QTextCursor(b).currentTable()) continue;
        const QRectF box = qdoc.documentLayout()->blockBoundingRect(b);
        for (int k = 0; k < b.layout()->lineCount(); ++k) {
            const QTextLine l = b.layout()->lineAt(k);
            lines.push_back({b.position() + l.textStart(), box.top() + l.y(), l.height()});
        }
    }
    return lines;
}

}  // namespace

TEST(Typeset, LinesAsQtSetsThem) {
    for (const char* name : {"1d", "2d", "syst", "signs"}) {
        for (KeyStyle style : {KeyStyle::Decimal, KeyStyle::Detailed}) {
            for (int round = 0; round < 2; ++round) {
                auto kind = MakeKind(name);
                RandomSource rng(static_cast<std::uint32_t>(7 + round));
                SheetSettings s;
                s.level = 3;
                s.count = 12;
                s.keyStyle = style;
                s.layout.on = s.layout.key = round == 1;
                s.layout.size = 18;
                const Sheet sheet = BuildSheet(*kind, rng, s);
                for (const std::string& rtf : {sheet.subject, sheet.answerKey}) {
                    const rtf::Document doc = rtf::ReadRtf(rtf);
                    // A table narrower than the page: a wider one shrinks, which is ours.
                    for (double width :
                         {10772.0, std::string(name) == "signs" ? 10772.0 : 5000.0}) {
                        const std::vector<QtLine> qt = QtLines(doc, width);
                        const typeset::Layout ours =
                            typeset::SetDocument(doc, width, doc.defaultTab, {});
                        std::vector<const typeset::Line*> lines;
                        for (const typeset::Block& b : ours.blocks)
                            if (!b.inTable)
                                for (const typeset::Line& l : b.lines) lines.push_back(&l);
                        const std::string where =
                            std::string(name) + " style " + std::to_string(int(style)) + " round " +
                            std::to_string(round) + " width " + std::to_string(int(width));
                        ASSERT_EQ(lines.size(), qt.size()) << where;
                        for (std::size_t k = 0; k < qt.size(); ++k) {
                            ASSERT_EQ(lines[k]->position, qt[k].position) << where << " line " << k;
                            EXPECT_NEAR(lines[k]->height, qt[k].height, 1)
                                << where << " line " << k;
                            ASSERT_NEAR(lines[k]->top, qt[k].top, 2 + qt[k].top / 5000)
                                << where << " line " << k;
                        }
                    }
                }
            }
        }
    }
}

// A line break inside a paragraph ends its line whatever stands before it: Qt's line-break
// finder sees none after digits, which Qt's lines break at all the same.
TEST(Typeset, LineBreakEndsTheLine) {
    for (const char* text : {"333\u2028apr\u00e8s un saut", "x\t22\u2028y = 3\u2028", "AAA\u2028b",
                             "3)\u2028a", "1,5\u2028\u20282"}) {
        rtf::Document doc;
        doc.paragraphs[0].runs.push_back({.format = {}, .text = text});
        const std::vector<QtLine> qt = QtLines(doc, 10772);
        const typeset::Layout ours = typeset::SetDocument(doc, 10772, doc.defaultTab, {});
        ASSERT_EQ(ours.blocks.size(), 1U);
        const std::vector<typeset::Line>& lines = ours.blocks[0].lines;
        ASSERT_EQ(lines.size(), qt.size()) << text;
        for (std::size_t k = 0; k < qt.size(); ++k)
            EXPECT_EQ(lines[k].position, qt[k].position) << text << " line " << k;
    }
}

// The documents' fonts are named to Qt by the family they resolve to: the same family, for
// every style, as Qt finds by asking the font configuration about the name itself.
TEST(Typeset, DocumentFontsDrawnWithTheFamilyQtWouldFind) {
    const std::vector<rtf::Font> fonts = {
        {"Arial", 0, rtf::FontFamily::Swiss, 2},
        {"Times New Roman", 0, rtf::FontFamily::Roman, 2},
        {"Courier New", 0, rtf::FontFamily::Modern, 1},
        {"Andika", 0, rtf::FontFamily::Swiss, 2},
        {"OpenDyslexic", 0, rtf::FontFamily::Swiss, 2},
        {"Comic Sans MS", 0, rtf::FontFamily::Script, 2},
    };
    for (int font = 0; font < static_cast<int>(fonts.size()); ++font)
        for (int style = 0; style < 4; ++style) {
            rtf::CharFormat f;
            f.font = font;
            f.size = 24;
            f.bold = style & 1;
            f.italic = style & 2;
            const QFont ours = ToQtFormat(f, fonts).font().resolve(DocumentFont());
            QFont asked = ours;
            const QString name = QString::fromStdString(fonts[static_cast<std::size_t>(font)].name);
            asked.setFamilies(QStringList{name});
            EXPECT_EQ(QFontInfo(ours).family(), QFontInfo(asked).family()) << name.toStdString();
            EXPECT_EQ(QFontInfo(ours).styleName(), QFontInfo(asked).styleName()) << style;
        }
}
