// SPDX-License-Identifier: GPL-3.0-or-later
// A class set's worth of PDF: 175 pages of 40 lines, drawn on our PDF device or on QPdfWriter,
// to be timed from outside (farm-bench). Usage: bench_pdfdevice ours|qt [glyphs|sheets|lines
// [FILE]] "glyphs" draws the lines as glyph runs (our device's DrawGlyphs, the writer's
// drawGlyphRun), laid out before the clock starts, instead of painter.drawText. Prints the size and
// the CPU seconds of drawing and writing alone. "sheets" draws instead a class set's subjects, 35
// sheets of the second degree laid out by the Paginator (QTextDocument's text items).
#include <QBuffer>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <map>

#include "core/kinds.h"
#include "core/sheet.h"
#include "platform/pages.h"
#include "platform/paginator.h"
#include "platform/pdfdevice.h"
#include "platform/rtfqt.h"
#include "rtf/reader.h"

namespace {

constexpr int kPages = 175, kLines = 40;

QPageLayout A4() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                       QPageLayout::Millimeter);
}

// line: the text of one line; draw: puts it at its baseline.
void DrawPages(QPainter* p, const std::function<void()>& newPage,
               const std::function<void(const QString&, QPointF)>& draw) {
    for (int page = 0; page < kPages; ++page) {
        if (page) newPage();
        for (int line = 0; line < kLines; ++line) {
            const QString text =
                QString::fromUtf8("%1°/ Résoudre l'équation 3x + %2 = 7x − %3 ; x ≈ %4")
                    .arg(line + 1)
                    .arg(page % 9 + 2)
                    .arg(line % 7 + 1)
                    .arg(0.25 * (page % 13 + line), 0, 'f', 2);
            draw(text, QPointF(200, 300 + line * 320));
        }
        if (p) p->drawLine(QPointF(0, 13200), QPointF(9000, 13200));
    }
}

// A class set's subjects: 35 sheets of 30 questions of the second degree.
std::vector<std::string> Subjects() {
    auto kind = equat::MakeKind("2d");
    equat::SheetSettings settings;
    settings.count = 30;
    std::vector<std::string> subjects;
    for (int copy = 0; copy < 35; ++copy) {
        equat::RandomSource rng(static_cast<std::uint32_t>(copy + 1));
        subjects.push_back(equat::BuildSheet(*kind, rng, settings).subject);
    }
    return subjects;
}

// Each sheet from a new page, as a class set lays its copies.
void DrawSheets(QPainter& p, const std::vector<std::string>& subjects,
                const std::function<void()>& newPage) {
    const QRectF page = equat::PageRectTwips(*p.device());
    for (size_t copy = 0; copy < subjects.size(); ++copy) {
        equat::Paginator pages(equat::rtf::ReadRtf(subjects[copy]));
        if (copy) newPage();
        for (int at = 0, first = true; at < pages.TextLength(); first = false) {
            if (!first) newPage();
            at = pages.FormatRange(p, page, at);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const bool ours = argc > 1 && !std::strcmp(argv[1], "ours");
    const bool glyphs = argc > 2 && !std::strcmp(argv[2], "glyphs");
    const std::vector<std::string> subjects =
        argc > 2 && !std::strcmp(argv[2], "sheets") ? Subjects() : std::vector<std::string>();
    auto draw = [&](QPainter& p, const std::function<void()>& newPage,
                    const std::function<void(const QString&, QPointF)>& line) {
        if (subjects.empty()) return DrawPages(&p, newPage, line);
        DrawSheets(p, subjects, newPage);
    };
    QFont font("Times New Roman");
    font.setPixelSize(200);
    std::map<QString, QList<QGlyphRun>> runs;
    if (glyphs)
        DrawPages(
            nullptr, [] {},
            [&](const QString& text, QPointF) {
                QTextLayout layout(text, font);
                layout.beginLayout();
                layout.createLine();
                layout.endLayout();
                runs[text] = layout.glyphRuns();
            });
    auto layoutRuns = [&](const QString& text) { return runs[text]; };
    const std::clock_t start = std::clock();
    size_t size = 0;
    if (ours) {
        equat::PdfDevice device(A4(), 1200, "Banc", "Equat");
        QPainter p(&device);
        p.setFont(font);
        draw(
            p, [&] { device.newPage(); },
            [&](const QString& text, QPointF at) {
                if (!glyphs) return p.drawText(at, text);
                for (const QGlyphRun& run : layoutRuns(text)) {
                    QList<QPointF> positions = run.positions();
                    for (QPointF& q : positions) q += at;
                    device.DrawGlyphs(p.combinedTransform(), run.rawFont(), run.glyphIndexes(),
                                      positions, Qt::black);
                }
            });
        p.end();
        std::string pdf;
        QString why;
        if (!device.Finish(&pdf, &why)) return 1;
        size = pdf.size();
        if (argc > 3) std::fwrite(pdf.data(), 1, pdf.size(), std::fopen(argv[3], "wb"));
    } else {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&buffer);
            writer.setResolution(1200);
            writer.setPageLayout(A4());
            QPainter p(&writer);
            p.setFont(font);
            draw(
                p, [&] { writer.newPage(); },
                [&](const QString& text, QPointF at) {
                    if (!glyphs) return p.drawText(at, text);
                    for (const QGlyphRun& run : layoutRuns(text)) p.drawGlyphRun(at, run);
                });
        }
        size = static_cast<size_t>(buffer.size());
        if (argc > 3) std::fwrite(buffer.data().data(), 1, size, std::fopen(argv[3], "wb"));
    }
    std::printf("%zu bytes, %.3f s CPU\n", size, double(std::clock() - start) / CLOCKS_PER_SEC);
    return 0;
}
