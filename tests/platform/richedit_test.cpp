// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/richedit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>
#include <QSignalSpy>
#include <QSvgGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include "../rtf/rtf_test_util.h"
#include "core/markup.h"
#include "platform/rtfqt.h"
#include "rtf/reader.h"
#include "rtf/writer.h"

namespace equat {
namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "richedit_test";
    static char* argv[] = {name, nullptr};
    // Never destroyed: Qt's input devices must not outlive it at exit.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

class RichEditTest : public ::testing::Test {
  protected:
    void SetUp() override { App(); }
};

// Each character with its visible format, the font by name: what a reader of the text sees.
struct Styled {
    std::u32string text;
    std::vector<std::string> formats;
    bool operator==(const Styled&) const = default;
};

Styled Flatten(const rtf::Document& d) {
    Styled s;
    for (std::size_t k = 0; k < d.paragraphs.size(); ++k) {
        if (k > 0) s.text += U'\n', s.formats.push_back("par");
        for (const auto& r : d.paragraphs[k].runs) {
            const auto& f = r.format;
            const std::string font = f.font >= 0 ? d.fonts[f.font].name : "";
            std::string fmt = font + "/" + std::to_string(f.size) + "/" + std::to_string(f.bold) +
                              std::to_string(f.italic) + std::to_string(f.underline) +
                              std::to_string(f.strike) + std::to_string(static_cast<int>(f.valign));
            if (f.colour)
                fmt += "/c" + std::to_string(f.colour->r * 65536 + f.colour->g * 256 + f.colour->b);
            if (f.highlight)
                fmt += "/h" + std::to_string(f.highlight->r * 65536 + f.highlight->g * 256 +
                                             f.highlight->b);
            std::size_t pos = 0;
            while (pos < r.text.size()) {
                s.text += rtf::NextCodePoint(r.text, pos);
                s.formats.push_back(fmt);
            }
        }
    }
    return s;
}

const std::string kSample = std::string(kRtfHeader) +
                            "\\fs18 a\\b b\\b0\\i c\\i0\\ul d\\ul0\\strike e\\strike0 x\\super 2"
                            "\\nosupersub y\\sub 1\\nosupersub\\cf10 r\\cf0\\highlight12 h"
                            "\\highlight0\\f3 D\\'ec\\f1\\i x\\tab\\par\\par z\\par }";

TEST_F(RichEditTest, CreatedAsTheWindowExpects) {
    RichEdit e;
    EXPECT_EQ(e.Text(), "     ");
    EXPECT_EQ(e.TextLength(), 5);
    EXPECT_EQ(e.LineCount(), 1);
    EXPECT_TRUE(e.isReadOnly());
    EXPECT_EQ(e.font().pixelSize(), 11);
    EXPECT_EQ(e.font().family(), "Courier New");
    EXPECT_EQ(e.autoFormatting(), QTextEdit::AutoNone);
}

TEST_F(RichEditTest, LoadIsOneChangeAndReplacesTheSelection) {
    RichEdit e;
    QSignalSpy changes(&e, &RichEdit::Changed);
    e.Clear();
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(e.TextLength(), 0);
    EXPECT_EQ(e.LineCount(), 0);
    e.LoadRtfDocument(kSample);
    EXPECT_EQ(changes.count(), 2);
    EXPECT_EQ(e.Text(), QString::fromUtf8("abcdex2y1rh\xce\x94\xe2\x8e\xa7x\t\n\nz\n"));
    EXPECT_EQ(e.TextLength(), e.Text().size());
    EXPECT_EQ(e.LineCount(), 3);
    // A second load over a selection of "bcd" replaces just those characters.
    e.SetSelStart(1);
    e.SetSelLength(3);
    EXPECT_EQ(e.SelStart(), 1);
    EXPECT_EQ(e.SelLength(), 3);
    e.LoadRtfDocument("{\\rtf1 Q}");
    EXPECT_TRUE(e.Text().startsWith("aQex2"));
    EXPECT_EQ(changes.count(), 3);
    e.SetSelLength(0);
    EXPECT_EQ(e.SelLength(), 0);
    e.undo();  // the load was one step
    EXPECT_TRUE(e.Text().startsWith("abcdex2"));
}

TEST_F(RichEditTest, FormatsReachTheQtDocument) {
    RichEdit e;
    e.Clear();
    e.LoadRtfDocument(kSample);
    auto formatAt = [&](int pos) {
        QTextCursor c(e.document());
        c.setPosition(pos + 1);
        return c.charFormat();
    };
    EXPECT_EQ(formatAt(0).fontPointSize(), 9.0);
    EXPECT_EQ(formatAt(1).fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatAt(2).fontItalic());
    EXPECT_TRUE(formatAt(3).fontUnderline());
    EXPECT_TRUE(formatAt(4).fontStrikeOut());
    EXPECT_EQ(formatAt(6).verticalAlignment(), QTextCharFormat::AlignSuperScript);
    EXPECT_EQ(formatAt(8).verticalAlignment(), QTextCharFormat::AlignSubScript);
    EXPECT_EQ(formatAt(9).foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(formatAt(10).background().color(), QColor(255, 255, 0));
    EXPECT_EQ(formatAt(12).fontFamilies().toStringList().first(), "DejaVu Serif");
    const QFontInfo times(formatAt(14).font());
    EXPECT_TRUE(times.family() == "Times New Roman" || times.family() == "Liberation Serif")
        << times.family().toStdString();
    EXPECT_EQ(e.tabStopDistance(), 720 * e.logicalDpiX() / 1440.0);
}

// What the control writes back reads as what it loaded, generated documents included.
TEST_F(RichEditTest, SelectionRtfKeepsTextAndFormats) {
    std::vector<rtf::test::Generated> docs = rtf::test::GeneratedDocuments(12);
    docs.push_back({"sample", kSample});
    for (const auto& g : docs) {
        RichEdit e;
        e.Clear();
        e.LoadRtfDocument(g.rtf);
        e.SelectAll();
        const rtf::Document original = rtf::ReadRtf(g.rtf);
        const rtf::Document saved = rtf::ReadRtf(e.SelectionRtf());
        EXPECT_TRUE(Flatten(original) == Flatten(saved)) << g.name;
        EXPECT_EQ(e.Text().toStdString(), rtf::PlainTextUtf8(original)) << g.name;
        EXPECT_EQ(e.TextLength(), static_cast<int>(Flatten(original).text.size())) << g.name;
    }
}

// A table of the model is a bordered QTextTable in the control, its columns as wide as the
// model says, and what the control gives back places every paragraph in its cell again.
TEST_F(RichEditTest, TablesComeBackInTheirCells) {
    const rtf::Document doc = rtf::test::TableDocument();
    // Loaded from the model and given back as a model, then opened from RTF and saved.
    for (bool file : {false, true}) {
        RichEdit e;
        e.Clear();
        if (file)
            e.LoadRtfDocument(rtf::WriteRtf(doc));
        else
            e.LoadDocument(doc);
        const auto* table =
            qobject_cast<QTextTable*>(e.document()->rootFrame()->childFrames().value(0));
        ASSERT_NE(table, nullptr);
        ASSERT_EQ(table->rows(), 3);
        ASSERT_EQ(table->columns(), 5);
        EXPECT_GT(table->format().border(), 0);
        const QList<QTextLength> widths = table->format().columnWidthConstraints();
        for (int c = 0; c < 5; ++c) {
            EXPECT_EQ(widths.value(c).rawValue() * 15, c == 0 ? 1400 : 900) << c;
            for (int r = 0; r < 3; ++r)
                EXPECT_EQ(table->cellAt(r, c).firstCursorPosition().block().text(),
                          QString("r%1c%2").arg(r).arg(c));
        }
        e.SelectAll();
        const rtf::Document back = file ? rtf::ReadRtf(e.SelectionRtf())
                                        : DocumentFromRange(*e.document(), 0, e.TextLength());
        ASSERT_EQ(back.paragraphs.size(), doc.paragraphs.size()) << file;
        const auto text = [](const rtf::Paragraph& p) {
            std::string t;
            for (const auto& run : p.runs) t += run.text;
            return t;
        };
        for (std::size_t k = 0; k < doc.paragraphs.size(); ++k) {
            EXPECT_EQ(back.paragraphs[k].cell, doc.paragraphs[k].cell) << file << " " << k;
            EXPECT_EQ(back.paragraphs[k].align, doc.paragraphs[k].align) << file << " " << k;
            EXPECT_EQ(text(back.paragraphs[k]), text(doc.paragraphs[k])) << file << " " << k;
        }
    }
}

TEST_F(RichEditTest, SaveSelection) {
    QTemporaryDir dir;
    RichEdit e;
    e.Clear();
    e.LoadRtfDocument(kSample);
    e.SelectAll();
    auto read = [](const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
    };
    struct Case {
        const char* name;
        bool plain;
    } cases[] = {
        {"a.txt", true}, {"b.TxT", true}, {"c.rtf", false}, {"d.doc", false}, {"e", false}};
    for (const Case& c : cases) {
        const QString path = dir.filePath(c.name);
        QString error;
        ASSERT_TRUE(e.SaveSelectionToFile(path, &error)) << error.toStdString();
        const std::string data = read(path);
        if (c.plain)
            EXPECT_EQ(data, "abcdex2y1rhD\xecx\t\r\n\r\nz\r\n") << c.name;
        else  // the Symbol-font delta as itself, its Symbol byte as the fallback
            EXPECT_TRUE(rtf::LooksLikeRtf(data) && data.find("\\u916\\f") != std::string::npos)
                << c.name;
    }
    // Only "bcd": a selection, not the whole text.
    e.SetSelStart(1);
    e.SetSelLength(3);
    EXPECT_EQ(e.SelectionPlainText(), "bcd");
    ASSERT_TRUE(e.SaveSelectionToFile(dir.filePath("a.txt")));
    EXPECT_EQ(read(dir.filePath("a.txt")), "bcd");
    QString error;
    EXPECT_FALSE(e.SaveSelectionToFile(dir.filePath("missing/x.rtf"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(dir.filePath("missing/x.rtf")));
}

TEST_F(RichEditTest, MouseNotifications) {
    RichEdit e;
    e.resize(200, 100);
    e.show();
    QSignalSpy down(&e, &RichEdit::MouseDown), up(&e, &RichEdit::MouseUp),
        moved(&e, &RichEdit::MouseMoved);
    QTest::mousePress(e.viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(e.viewport(), QPoint(20, 12));
    QTest::mouseRelease(e.viewport(), Qt::LeftButton, {}, QPoint(20, 12));
    EXPECT_EQ(down.count(), 1);
    EXPECT_EQ(up.count(), 1);
    EXPECT_GE(moved.count(), 1);
}

TEST_F(RichEditTest, ReadOnlyAndTabs) {
    RichEdit e;
    e.SetReadOnly(false);
    EXPECT_FALSE(e.isReadOnly());
    EXPECT_TRUE(e.textInteractionFlags() & Qt::TextEditable);
    e.SetWantTabs(true);
    EXPECT_FALSE(e.tabChangesFocus());
    e.SetWantTabs(false);
    EXPECT_TRUE(e.tabChangesFocus());
}

// Pages of an A4 printable area, as printing and the preview cut them.
std::vector<int> Paginate(RichEdit& e, QPaintDevice& device, const QRectF& page) {
    QPainter p(&device);
    std::vector<int> starts;
    int pos = 0;
    const int end = e.TextLength();
    while (pos < end && starts.size() < 1000) {
        starts.push_back(pos);
        const int next = e.FormatRange(p, page, pos);
        EXPECT_GT(next, pos);
        if (next <= pos) break;
        pos = next;
    }
    return starts;
}

TEST_F(RichEditTest, FormatRangeGivesTheSamePagesOnEveryDevice) {
    const auto docs = rtf::test::GeneratedDocuments(40);
    RichEdit e;
    e.Clear();
    e.LoadRtfDocument(docs[1].rtf);  // a 40-question answer key
    const QRectF page(0, 0, 190 * 1440 / 25.4, 277 * 1440 / 25.4);

    QImage screen(800, 1100, QImage::Format_RGB32);
    screen.setDotsPerMeterX(3780);  // 96 dpi
    screen.setDotsPerMeterY(3780);
    screen.fill(Qt::white);
    QTemporaryDir dir;
    QPdfWriter pdf(dir.filePath("x.pdf"));
    pdf.setResolution(1200);
    QSvgGenerator svg;
    svg.setFileName(dir.filePath("x.svg"));
    svg.setResolution(72);
    QPicture picture;

    const std::vector<int> onScreen = Paginate(e, screen, page);
    ASSERT_GE(onScreen.size(), 2u);
    EXPECT_EQ(Paginate(e, pdf, page), onScreen);
    EXPECT_EQ(Paginate(e, svg, page), onScreen);
    EXPECT_EQ(Paginate(e, picture, page), onScreen);
    // Something was drawn on the first page.
    bool ink = false;
    for (int y = 0; y < screen.height() && !ink; y += 2)
        for (int x = 0; x < screen.width() && !ink; x += 2)
            ink = screen.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_TRUE(ink);

    // Pages start at line starts: the first question's paragraph is never cut mid-line.
    const int keyLength = e.TextLength();
    QPainter p(&screen);
    EXPECT_EQ(e.FormatRange(p, page, keyLength, false), keyLength);
    EXPECT_EQ(e.FormatRange(p, QRectF(0, 0, page.width(), 1e7), 0, false), keyLength);
    // A page lower than one line still moves on.
    EXPECT_GT(e.FormatRange(p, QRectF(0, 0, page.width(), 10), 0, false), 0);
}

// Default tab stops every \deftab twips on paper, whatever the device's resolution.
TEST_F(RichEditTest, PageTabStops) {
    struct Case {
        const char* rtf;
        int dpi;
        double inches;  // where the X starts
    } cases[] = {
        {"{\\rtf1 \\tab X}", 96, 0.5},
        {"{\\rtf1 \\tab X}", 300, 0.5},
        {"{\\rtf1\\deftab1440 \\tab\\tab X}", 96, 2.0},
    };
    for (const Case& c : cases) {
        RichEdit e;
        e.Clear();
        e.LoadRtfDocument(c.rtf);
        QImage img(c.dpi * 4, c.dpi, QImage::Format_RGB32);
        const int dotsPerMeter = static_cast<int>(c.dpi / 0.0254 + 0.5);
        img.setDotsPerMeterX(dotsPerMeter);
        img.setDotsPerMeterY(dotsPerMeter);
        img.fill(Qt::white);
        {
            QPainter p(&img);
            e.FormatRange(p, QRectF(0, 0, 4 * 1440, 1440), 0);
        }
        int left = -1;
        for (int x = 0; x < img.width() && left < 0; ++x)
            for (int y = 0; y < img.height(); ++y)
                if (qGray(img.pixel(x, y)) < 128) {
                    left = x;
                    break;
                }
        EXPECT_GE(left, c.inches * c.dpi) << c.rtf << " at " << c.dpi;
        EXPECT_LT(left, (c.inches + 0.1) * c.dpi) << c.rtf << " at " << c.dpi;
    }
}

}  // namespace
}  // namespace equat
