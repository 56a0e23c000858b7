// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/paginator.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>

#include "platform/rtfqt.h"
#include "rtf/reader.h"

namespace equat {

namespace {

// A block that opens a numbered question: digits, then the degree sign and a slash.
bool StartsQuestion(const QTextBlock& block) {
    if (!block.isValid()) return false;
    const QString text = block.text();
    int k = 0;
    while (k < text.size() && text[k].isDigit()) ++k;
    return k > 0 && text.mid(k, 2) == QString::fromUtf8("\u00B0/");
}

constexpr double kTwipsPerInch = 1440.0;
// Less than any line is high, in twips.
constexpr double kEdge = 1.0;

// A device of 1440 dots per inch: laid out on it, one unit is one twip.
QImage& TwipDevice() {
    static QImage image = [] {
        QImage i(1, 1, QImage::Format_RGB32);
        const int dotsPerMeter = static_cast<int>(kTwipsPerInch / 0.0254 + 0.5);
        i.setDotsPerMeterX(dotsPerMeter);
        i.setDotsPerMeterY(dotsPerMeter);
        return i;
    }();
    return image;
}

// The resolution Qt takes tab stops in: that of the primary screen, or 96.
double DefaultDpiY() {
    if (QCoreApplication::testAttribute(Qt::AA_Use96Dpi)) return 96;
    if (const QScreen* s = QGuiApplication::primaryScreen()) return s->logicalDotsPerInchY();
    return 96;
}

}  // namespace

struct Paginator::Layout {
    int revision = -1;
    double width = -1;
    int tab = 0;
    QTextDocument* doc = nullptr;  // the paginator's own document, or copy
    std::unique_ptr<QTextDocument> copy;
    struct Line {
        int position;
        double top, bottom;
        bool keepWithNext = false;  // a separator line: it goes where its question goes
    };
    std::vector<Line> lines;
};

Paginator::Paginator(const QTextDocument& document, int defaultTabTwips)
    : document_(document), defaultTabTwips_(defaultTabTwips) {}

Paginator::Paginator(std::unique_ptr<QTextDocument> document, int defaultTabTwips)
    : owned_(std::move(document)), document_(*owned_), defaultTabTwips_(defaultTabTwips) {}

Paginator::~Paginator() = default;

int Paginator::TextLength() const {
    return document_.characterCount() - 1;
}

const Paginator::Layout& Paginator::LayoutFor(double widthTwips) {
    if (!layout_) layout_ = std::make_unique<Layout>();
    Layout& l = *layout_;
    if (l.doc && l.revision == document_.revision() && l.width == widthTwips &&
        l.tab == defaultTabTwips_)
        return l;
    l.width = widthTwips;
    l.tab = defaultTabTwips_;
    if (owned_) {
        l.doc = owned_.get();
    } else {
        l.copy.reset(document_.clone());
        l.doc = l.copy.get();
    }
    // Laid out once, when the width is set: Qt lays a document out again on every change
    // of its device, margin or options while its page size is not null.
    l.doc->setPageSize(QSizeF(0, 0));
    // The glyphs shaped for the layout are kept for drawing, not shaped again.
    for (QTextBlock b = l.doc->begin(); b.isValid(); b = b.next())
        b.layout()->setCacheEnabled(true);
    l.doc->documentLayout()->setPaintDevice(&TwipDevice());
    l.doc->setDocumentMargin(0);
    QTextOption option = l.doc->defaultTextOption();
    // Qt scales tab stops by the layout device's resolution over its default one.
    option.setTabStopDistance(defaultTabTwips_ * DefaultDpiY() / kTwipsPerInch);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    l.doc->setDefaultTextOption(option);
    l.doc->setTextWidth(widthTwips);
    // After the settings, which count as edits of a document laid out in place.
    l.revision = document_.revision();
    l.lines.clear();
    QAbstractTextDocumentLayout* layout = l.doc->documentLayout();
    for (QTextBlock b = l.doc->begin(); b.isValid(); b = b.next()) {
        const QRectF box = layout->blockBoundingRect(b);
        const QTextLayout* tl = b.layout();
        for (int k = 0; k < tl->lineCount(); ++k) {
            const QTextLine line = tl->lineAt(k);
            const double top = box.top() + line.y();
            l.lines.push_back({b.position() + line.textStart(), top, top + line.height()});
        }
        if (tl->lineCount() == 1 && !b.text().trimmed().isEmpty() && StartsQuestion(b.next()))
            l.lines.back().keepWithNext = true;
    }
    return l;
}

int Paginator::FormatRange(QPainter& painter, const QRectF& rectTwips, int start, bool render) {
    const int length = TextLength();
    if (start >= length) return length;
    start = std::max(start, 0);
    const Layout& l = LayoutFor(std::max(rectTwips.width(), 1.0));
    if (l.lines.empty()) return length;
    // The line that holds start, then every following line whose bottom is on the page.
    auto first =
        std::upper_bound(l.lines.begin(), l.lines.end(), start,
                         [](int pos, const Layout::Line& line) { return pos < line.position; });
    if (first != l.lines.begin()) --first;
    const double top = first->top;
    auto last = first + 1;
    while (last != l.lines.end() && last->bottom - top <= rectTwips.height()) ++last;
    // A separator line left alone at the foot of the page goes over with its question.
    if (last != l.lines.end() && last - 1 != first && (last - 1)->keepWithNext) --last;
    const int next = last == l.lines.end() ? length : last->position;
    const double bottom = (last - 1)->bottom;

    if (render && painter.device() != nullptr) {
        const double sx = painter.device()->logicalDpiX() / kTwipsPerInch;
        const double sy = painter.device()->logicalDpiY() / kTwipsPerInch;
        painter.save();
        painter.translate(rectTwips.left() * sx, rectTwips.top() * sy);
        painter.scale(sx, sy);
        painter.setClipRect(QRectF(0, 0, rectTwips.width(), bottom - top), Qt::IntersectClip);
        painter.translate(0, -top);
        // The lines of this page and no other: a line that merely touches the page's top or
        // bottom edge would be drawn outside the clip, invisible yet in the page's text.
        QAbstractTextDocumentLayout::PaintContext ctx;
        ctx.clip = QRectF(0, top + kEdge, rectTwips.width(), bottom - top - 2 * kEdge);
        ctx.palette.setColor(QPalette::Text, Qt::black);
        l.doc->documentLayout()->draw(&painter, ctx);
        painter.restore();
    }
    return next;
}

double Paginator::HeightTwips(double widthTwips) {
    const Layout& l = LayoutFor(std::max(widthTwips, 1.0));
    return l.lines.empty() ? 0.0 : l.lines.back().bottom - l.lines.front().top;
}

double Paginator::IdealWidthTwips(double widthTwips) {
    return LayoutFor(std::max(widthTwips, 1.0)).doc->idealWidth();
}

bool Paginator::PaintPages(QPainter& painter, QPagedPaintDevice& device, const QRectF& pageTwips,
                           std::vector<int>* starts, QString* error, const QColor& paper) {
    const int end = TextLength();
    int position = 0;
    // The painter starts at the corner of the printable area: the paper lies around it.
    const int dpi = device.logicalDpiX();
    const QRectF sheet = device.pageLayout().fullRectPixels(dpi).toRectF().translated(
        -device.pageLayout().paintRectPixels(dpi).topLeft());
    for (;;) {
        if (paper.isValid()) painter.fillRect(sheet, paper);
        if (starts) starts->push_back(position);
        const int next = FormatRange(painter, pageTwips, position, true);
        if (next >= end || next == -1) return true;
        if (!device.newPage()) {
            if (error) *error = QString("Une nouvelle page n'a pas pu être ajoutée");
            return false;
        }
        position = next;
    }
}

QFont DocumentFont() {
    InstallFontFallbacks();
    QFont f("Courier New");
    f.setPixelSize(11);
    return f;
}

std::unique_ptr<QTextDocument> LoadRtfDocument(std::string_view rtf, int* defaultTabTwips) {
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(DocumentFont());
    const rtf::Document model = rtf::ReadRtf(rtf);
    // Neither undone nor edited: one edit block spares the cursor's work after each run.
    document->setUndoRedoEnabled(false);
    QTextCursor cursor(document.get());
    cursor.beginEditBlock();
    InsertDocument(cursor, model);
    cursor.endEditBlock();
    if (defaultTabTwips) *defaultTabTwips = model.defaultTab;
    return document;
}

}  // namespace equat
