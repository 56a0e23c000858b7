// SPDX-License-Identifier: GPL-3.0-or-later
// Our PDF device against QPdfWriter: the same scene drawn on both reads back as the same words
// at the same places and renders alike, with every font embedded (subset when TrueType).
#include "platform/pdfdevice.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QGlyphRun>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextLayout>
#include <cmath>
#include <fstream>
#include <functional>
#include <random>

#include "app/qt_environment.h"
#include "platform/beside.h"
#include "platform/pdffont.h"
#include "platform/pdfwords.h"
#include "platform/rtfqt.h"

using namespace equat;

namespace {

using GlyphDrawer = std::function<void(QPainter&, const QGlyphRun&, QPointF)>;

struct Output {
    QString out, err;
};

Output RunTool(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return {QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

// Lines of French text with signs, in the fonts a sheet uses, through the glyph path and the
// painter's own text; boxes, dashed lines and an image with alpha; on 3 pages.
void DrawScene(QPainter& p, const std::function<void()>& newPage, const GlyphDrawer& glyphs) {
    InstallFontFallbacks();
    const QString text =
        QString::fromUtf8("Résoudre : x ≈ √2 ; S = ∅ ou ℝ, vers ∞ — définition élève");
    QStringList families = {"Times New Roman", "Arial", "DejaVu Serif"};
    if (QFontDatabase::families().contains("OpenDyslexic")) families << "OpenDyslexic";
    QImage image(40, 30, QImage::Format_ARGB32);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            image.setPixel(x, y, qRgba(x * 6, 200, y * 8, x < 20 ? 255 : 90));
    for (int page = 0; page < 3; ++page) {
        if (page) newPage();
        double y = 300;
        for (const QString& family : families) {
            QFont font(family);
            font.setPixelSize(180 + 20 * page);
            font.setItalic(page == 1);
            font.setBold(page == 2);
            QTextLayout layout(text, font);
            layout.beginLayout();
            layout.createLine();
            layout.endLayout();
            for (const QGlyphRun& run : layout.glyphRuns()) glyphs(p, run, QPointF(200, y));
            y += 500;
            p.setFont(font);
            p.drawText(QPointF(300, y), QString::fromUtf8("Écrit par le peintre : ") + family);
            y += 500;
        }
        p.setPen(QPen(Qt::darkBlue, 8, Qt::DashLine));
        p.setBrush(QColor(250, 220, 180));
        p.drawRect(QRectF(300, y, 3000, 800));
        // Rectangles upright (one given bottom up) and turned, filled alone.
        p.fillRect(QRectF(6500, y + 500, 1200, -400), QColor(40, 120, 60));
        p.save();
        p.translate(7000, y + 700);
        p.rotate(20);
        p.fillRect(QRectF(0, 0, 900, 300), Qt::darkRed);
        p.restore();
        p.drawLine(QPointF(300, y + 1200), QPointF(8000, y + 1500));
        p.drawImage(QRectF(4000, y, 2000, 1500), image);
        // A justified paragraph of a text document, scaled and clipped.
        QTextDocument doc;
        QFont small("Times New Roman");
        small.setPixelSize(16);
        doc.setDefaultFont(small);
        doc.setTextWidth(700);
        doc.setHtml(QString("<p align=justify>%1</p>").arg(text.repeated(4)));
        p.save();
        p.translate(300, y + 2000);
        p.scale(8, 8);
        doc.drawContents(&p, QRectF(0, 0, 700, 400));
        p.restore();
    }
}

std::string DrawOurs() {
    PdfDevice device(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                 QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter),
                     1200, "Feuille d'essai é", "Equat");
    QPainter p(&device);
    DrawScene(
        p, [&] { device.newPage(); },
        [&](QPainter& painter, const QGlyphRun& run, QPointF origin) {
            QList<QPointF> positions = run.positions();
            for (QPointF& q : positions) q += origin;
            device.DrawGlyphs(painter.combinedTransform(), run.rawFont(), run.glyphIndexes(),
                              positions, painter.pen().color());
        });
    p.end();
    std::string pdf;
    QString why;
    EXPECT_TRUE(device.Finish(&pdf, &why)) << why.toStdString();
    return pdf;
}

std::string DrawQts(const QString& path) {
    {
        QPdfWriter writer(path);
        writer.setResolution(1200);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        QPainter p(&writer);
        DrawScene(
            p, [&] { writer.newPage(); },
            [](QPainter& painter, const QGlyphRun& run, QPointF origin) {
                painter.drawGlyphRun(origin, run);
            });
    }
    std::ifstream in(path.toStdString(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

QImage Rendered(const QString& pdf, const QString& stem) {
    EXPECT_EQ(RunTool("pdftoppm", {"-r", "50", "-png", pdf, stem}).err, QString());
    QImage all;
    for (int page = 1; page <= 3; ++page) {
        const QImage one(QString("%1-%2.png").arg(stem).arg(page));
        if (all.isNull()) all = QImage(one.width(), one.height() * 3, QImage::Format_RGB32);
        QPainter(&all).drawImage(0, one.height() * (page - 1), one);
    }
    return all;
}

TEST(PdfDevice, ReadsAndRendersAsQtsWriter) {
    QTemporaryDir dir;
    const QString ours = dir.filePath("ours.pdf"), qts = dir.filePath("qts.pdf");
    const std::string pdf = DrawOurs();
    std::ofstream(ours.toStdString(), std::ios::binary) << pdf;
    const std::string reference = DrawQts(qts);

    const Output info = RunTool("pdfinfo", {ours});
    EXPECT_TRUE(info.err.isEmpty()) << info.err.toStdString();
    EXPECT_TRUE(info.out.contains(QRegularExpression("Pages: +3\n")));
    EXPECT_TRUE(info.out.contains("595 x 842 pts (A4)")) << info.out.toStdString();
    EXPECT_TRUE(
        info.out.contains(QRegularExpression(QString::fromUtf8("Title: +Feuille d'essai é\n"))));

    const Output fonts = RunTool("pdffonts", {ours});
    const QStringList rows = fonts.out.split('\n', Qt::SkipEmptyParts).mid(2);
    EXPECT_GE(rows.size(), 6);
    for (const QString& row : rows) {
        EXPECT_TRUE(row.contains(QRegularExpression(" yes +(yes|no) +yes +")))
            << "not embedded: " << row.toStdString();
        if (row.contains("TrueType")) {
            EXPECT_TRUE(row.contains(QRegularExpression("^[A-Z]{6}\\+.* yes +yes +yes ")))
                << "not subset: " << row.toStdString();
        }
    }

    // Each word back, in order, at its place.
    const auto got = test::PdfWords(pdf), want = test::PdfWords(reference);
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].text, want[i].text);
        EXPECT_NEAR(got[i].x, want[i].x, 0.5) << want[i].text.toStdString();
        EXPECT_NEAR(got[i].y, want[i].y, 0.5) << want[i].text.toStdString();
    }

    const QImage a = Rendered(ours, dir.filePath("a")), b = Rendered(qts, dir.filePath("b"));
    ASSERT_EQ(a.size(), b.size());
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    EXPECT_LT(sum / (3.0 * a.width() * a.height()), 0.3);
}

// Pages deflated by a second core make the same file, page for page: the device writes them in
// the same order, at the same lag, whoever deflated them.
TEST(PdfDevice, TheSameFileWhicheverCoreDeflates) {
    const auto draw = [](Beside* worker) {
        PdfDevice device(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()),
                         300, "Pages", "Equat");
        if (worker) device.DeflateBeside(*worker);
        QPainter p(&device);
        for (int page = 0; page < 9; ++page) {
            if (page) device.newPage();
            for (int line = 0; line <= page * 7; ++line)
                p.drawText(QPointF(100, 100 + 40 * line),
                           QString("Page %1, ligne %2").arg(page).arg(line));
        }
        p.end();
        std::string pdf;
        QString why;
        EXPECT_TRUE(device.Finish(&pdf, &why)) << why.toStdString();
        return pdf;
    };
    const std::string here = draw(nullptr);
    Beside worker;
    EXPECT_EQ(draw(&worker), here);
    EXPECT_NE(here.find("/Count 9 "), std::string::npos);
}

// A long run drawn again (a separator line) is written once, as a form, then placed: its
// words read back as the first one's, moved by as much as it was.
TEST(PdfDevice, ARunDrawnAgainReadsAsTheFirst) {
    PdfDevice device(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()),
                     1200, "", "");
    QPainter p(&device);
    p.setFont(QFont("Times New Roman", 12));
    const QString line = QString("Une ligne de quarante signes ou plus : ") + QString(60, '-');
    for (int k = 0; k < 3; ++k) p.drawText(QPointF(300 + 100 * k, 1000 + 2000 * k), line);
    p.end();
    std::string pdf;
    QString why;
    ASSERT_TRUE(device.Finish(&pdf, &why));
    EXPECT_NE(pdf.find("/Subtype /Form"), std::string::npos);
    const auto words = test::PdfWords(pdf);
    ASSERT_FALSE(words.empty());
    ASSERT_EQ(words.size() % 3, 0u);
    const std::size_t each = words.size() / 3;
    for (std::size_t k = 1; k < 3; ++k)
        for (std::size_t w = 0; w < each; ++w) {
            const auto &a = words[w], &b = words[k * each + w];
            EXPECT_EQ(b.text, a.text);
            EXPECT_NEAR(b.x - a.x, 100.0 * k * 72 / 1200, 0.02) << w;
            EXPECT_NEAR(b.y - a.y, 2000.0 * k * 72 / 1200, 0.02) << w;
        }
}

TEST(PdfDevice, NoFileBeforeThePainterEnds) {
    PdfDevice device(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()), 300,
                     "", "");
    std::string pdf;
    QString why;
    EXPECT_FALSE(device.Finish(&pdf, &why));  // never painted
    QPainter p(&device);
    p.drawLine(0, 0, 100, 100);
    EXPECT_FALSE(device.Finish(&pdf, &why));  // still painting
    EXPECT_FALSE(why.isEmpty());
    p.end();
    EXPECT_TRUE(device.Finish(&pdf, &why));
    EXPECT_EQ(pdf.rfind("%%EOF\n"), pdf.size() - 6);
}

// Numbers as content writes them: three decimals at most, halves away from zero, no "-0", and
// nothing but 0 for what is not finite; Rounded is what a reader reads back.
TEST(PdfDevice, NumbersAsContentWritesThem) {
    const std::pair<double, const char*> cases[] = {{0, "0"},
                                                    {-0.0004, "0"},
                                                    {0.0005, "0.001"},
                                                    {-0.0005, "-0.001"},
                                                    {1.5, "1.5"},
                                                    {-277.7025, "-277.703"},
                                                    {12.0401, "12.04"},
                                                    {1e-9, "0"},
                                                    {805.558, "805.558"},
                                                    {123456.789, "123456.789"},
                                                    {std::nan(""), "0"},
                                                    {-HUGE_VAL, "0"}};
    for (const auto& [value, text] : cases) {
        std::string out;
        pdf::AppendNumber(out, value);
        EXPECT_EQ(out, text) << value;
    }
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> any(-20000, 20000);
    for (int i = 0; i < 20000; ++i) {
        const double v = any(rng);
        std::string out;
        pdf::AppendNumber(out, v);
        ASSERT_EQ(std::stod(out), pdf::Rounded(v)) << v;
        ASSERT_LE(std::abs(pdf::Rounded(v) - v), 0.0005 + 1e-9) << v;
    }
}

// A subset read back as a font: the used glyphs (accented letters are composites in DejaVu)
// keep their outlines and advances under their own ids; an unused glyph is empty.
TEST(PdfDevice, SubsetKeepsTheUsedGlyphs) {
    InstallFontFallbacks();
    for (const char* family : {"Liberation Serif", "DejaVu Serif", "Liberation Sans"}) {
        QFont font(family);
        font.setPixelSize(100);
        const QRawFont raw = QRawFont::fromFont(font);
        ASSERT_TRUE(raw.isValid()) << family;
        pdf::PdfFont subset(raw, 0);
        ASSERT_TRUE(subset.Embeddable() && !subset.Cff()) << family;
        const QList<quint32> used = raw.glyphIndexesForString(QString::fromUtf8("Résolu é ç à"));
        int sub = 0;
        for (quint32 g : used) subset.Use(g, &sub);
        const std::string program = subset.Program();
        const QRawFont back(QByteArray(program.data(), static_cast<qsizetype>(program.size())),
                            100);
        ASSERT_TRUE(back.isValid()) << family;
        for (quint32 g : used) {
            EXPECT_EQ(back.pathForGlyph(g).boundingRect(), raw.pathForGlyph(g).boundingRect())
                << family << " glyph " << g;
            EXPECT_EQ(back.advancesForGlyphIndexes({g}), raw.advancesForGlyphIndexes({g}));
        }
        const quint32 unused = raw.glyphIndexesForString("Z").value(0);
        EXPECT_TRUE(back.pathForGlyph(unused).isEmpty()) << family;
    }
}

}  // namespace
