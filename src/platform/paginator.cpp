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
#include <QTextDocumentFragment>
#include <QTextLayout>
#include <QTextTable>
#include <algorithm>
#include <cmath>

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

// The line before a question, printed above its number.
bool IsSeparator(const QTextBlock& block) {
    return block.layout()->lineCount() == 1 && !block.text().trimmed().isEmpty() &&
           StartsQuestion(block.next());
}

// A key's result line, two tabs in.
bool IsResult(const QString& text) {
    return text.startsWith(QLatin1String("\t\t"));
}

// Where a page may start, block by block. Before the first question, at any line. A question
// runs from its separator to the next one: its statement, a system's lines and the key's
// result line stay together; a worked solution may go over between its steps (one tab) or at
// an empty paragraph, never inside a paragraph.
class BreakRule {
  public:
    // For the first line of the block, then whether a page may start at its other lines.
    bool Before(const QTextBlock& b) {
        const QString text = b.text();
        const bool separator = IsSeparator(b);
        bool may = true;
        if (StartsQuestion(b)) {
            may = !afterSeparator_;
        } else if (inQuestion_ && !separator) {
            const bool step = text.startsWith('\t') && !IsResult(text);
            may = !IsResult(text) &&
                  (text.isEmpty() ? !IsResult(b.next().text()) : step || afterEmpty_);
        }
        inQuestion_ = inQuestion_ || separator || StartsQuestion(b);
        afterSeparator_ = separator;
        afterEmpty_ = text.isEmpty();
        return may;
    }
    bool WithinParagraphs() const { return !inQuestion_; }
    // A table stays with what leads to it, whole: a page starts before it only where one
    // may start inside a paragraph, and nowhere inside it.
    bool BeforeTable() {
        afterSeparator_ = afterEmpty_ = false;
        return WithinParagraphs();
    }

  private:
    bool inQuestion_ = false, afterSeparator_ = false, afterEmpty_ = false;
};

// The table a block stands in, if any; nothing to look up in a document without frames.
QTextTable* TableOf(const QTextBlock& b) {
    if (b.document()->rootFrame()->childFrames().isEmpty()) return nullptr;
    return QTextCursor(b).currentTable();
}

bool IsSign(QChar c) {
    return c == '-' || c == '+' || c == QChar(0x2212);
}

// The spaces in text that must not end a line: on either side of "=" or "\u2248", and after
// a sign standing alone (a value keeps its sign).
std::vector<int> GluedSpaces(const QString& text) {
    std::vector<int> spaces;
    const auto spacesFrom = [&](int j, int step) {
        for (; j >= 0 && j < text.size() && text[j] == ' '; j += step) spaces.push_back(j);
    };
    for (int k = 0; k < text.size(); ++k) {
        if (text[k] == '=' || text[k] == QChar(0x2248)) {
            spacesFrom(k - 1, -1);
            spacesFrom(k + 1, 1);
        } else if (IsSign(text[k]) && (k == 0 || text[k - 1] == ' ')) {
            spacesFrom(k + 1, 1);
        }
    }
    return spaces;
}

// Makes those spaces non-breaking, one character for one: positions stay the document's.
void GlueValues(QTextDocument& doc) {
    QTextCursor cursor(&doc);
    // One edit for the whole pass: the layout hears of it once, not once per space.
    cursor.beginEditBlock();
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (int k : GluedSpaces(b.text())) {
            cursor.setPosition(b.position() + k);
            cursor.setPosition(b.position() + k + 1, QTextCursor::KeepAnchor);
            cursor.insertText(QString(QChar(0x00A0)), cursor.charFormat());
        }
    }
    cursor.endEditBlock();
}

// The same in a document read from RTF, before it becomes a QTextDocument: its runs change in
// place, which costs nothing like an edit of the QTextDocument does.
void GlueValues(rtf::Document& model) {
    for (rtf::Paragraph& p : model.paragraphs) {
        std::vector<QString> runs;
        QString text;
        for (const rtf::Run& run : p.runs)
            text += runs.emplace_back(QString::fromStdString(run.text));
        const std::vector<int> spaces = GluedSpaces(text);
        if (spaces.empty()) continue;
        for (int k : spaces) text[k] = QChar(0x00A0);
        int at = 0;
        for (std::size_t r = 0; r < runs.size(); ++r) {
            p.runs[r].text = text.mid(at, runs[r].size()).toStdString();
            at += static_cast<int>(runs[r].size());
        }
    }
}

constexpr double kTwipsPerInch = 1440.0;
// Less than any line is high, in twips.
constexpr double kEdge = 1.0;
// Qt's block margins are in pixels of 1/96 inch.
constexpr double kTwipsPerPixel = 15.0;

// Where a table keeps the column widths its document gave, once FitTables has seen it.
constexpr int kGivenWidths = QTextFormat::UserProperty + 100;

// A table wider than the page (a key in a narrow column) shrinks to it, its columns keeping
// their proportions, rather than run off the page; one that fits keeps its own widths.
void FitTables(QTextDocument& doc, double widthTwips) {
    for (QTextFrame* frame : doc.rootFrame()->childFrames()) {
        auto* table = qobject_cast<QTextTable*>(frame);
        if (!table) continue;
        QTextTableFormat f = table->format();
        if (!f.hasProperty(kGivenWidths)) f.setProperty(kGivenWidths, f.columnWidthConstraints());
        const QList<QTextLength> given = f.lengthVectorProperty(kGivenWidths);
        double total = 0;
        bool fixed = true;
        for (const QTextLength& w : given) {
            fixed = fixed && w.type() == QTextLength::FixedLength;
            total += w.rawValue();
        }
        QList<QTextLength> widths = given;
        if (fixed && total * kTwipsPerPixel > widthTwips) {
            widths.clear();
            for (const QTextLength& w : given)
                widths.append(
                    QTextLength(QTextLength::PercentageLength, 100 * w.rawValue() / total));
        }
        if (widths == f.columnWidthConstraints()) continue;
        f.setColumnWidthConstraints(widths);
        table->setFormat(f);
    }
}

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

double FirstLineTop(QAbstractTextDocumentLayout& layout, const QTextBlock& b) {
    const double top = layout.blockBoundingRect(b).top();
    return b.layout()->lineCount() > 0 ? top + b.layout()->lineAt(0).y() : top;
}

// Lowers paragraph k to tops[k] where it stands higher. Qt merges a paragraph's top margin
// with the bottom margin of the one before, so the margin grows until the line is there.
void AlignParagraphs(QTextDocument& doc, const std::vector<double>& tops) {
    QAbstractTextDocumentLayout& layout = *doc.documentLayout();
    QTextCursor cursor(&doc);
    std::size_t k = 0;
    for (QTextBlock b = doc.begin(); b.isValid() && k < tops.size(); b = b.next(), ++k) {
        for (int tries = 0; tries < 4; ++tries) {
            const double lower = tops[k] - FirstLineTop(layout, b);
            if (lower < kEdge / 2) break;
            QTextBlockFormat f = b.blockFormat();
            f.setTopMargin(f.topMargin() + lower / kTwipsPerPixel);
            cursor.setPosition(b.position());
            cursor.setBlockFormat(f);
        }
    }
}

// Qt's layout of one document goes wrong (and may never end) past 2^23 units, some 420,000
// points in twips: a document stays well below that, or is laid out in consecutive parts.
// Against guesses that overestimate: a guess below kWholeTwips is laid out whole, as it
// always was.
constexpr double kWholeTwips = 4'000'000;
constexpr double kPartTwips = 1'000'000;

// A generous guess at a paragraph's height laid out at that width, in twips, without laying
// it out: every line as high as twice its largest font, every character as wide as the font.
double GuessTwips(const QTextBlock& b, double width, double defaultPoints) {
    double points = defaultPoints;
    for (auto it = b.begin(); !it.atEnd(); ++it)
        points = std::max(points, it.fragment().charFormat().fontPointSize());
    const QTextBlockFormat f = b.blockFormat();
    const double spacing =
        f.lineHeightType() == QTextBlockFormat::ProportionalHeight ? f.lineHeight() / 100 : 1;
    const double lines = 1 + b.length() * points * 20 / std::max(width, 1.0);
    return (f.topMargin() + f.bottomMargin()) * kTwipsPerPixel +
           lines * points * 40 * std::max(spacing, 1.0);
}

// Where a part starts: a paragraph, or a place inside one too tall for a part.
struct Cut {
    int position;
    bool paragraph;
};

// The text [from.position, to.position) of a document as a document of its own; the
// paragraph mark before a paragraph that starts the next part stays out of it.
std::unique_ptr<QTextDocument> PartOf(const QTextDocument& doc, Cut from, Cut to) {
    auto part = std::make_unique<QTextDocument>();
    part->setUndoRedoEnabled(false);
    part->setDefaultFont(doc.defaultFont());
    const QTextBlock block = doc.findBlock(from.position);
    QTextCursor in(block);
    in.setPosition(from.position);
    in.setPosition(to.paragraph ? to.position - 1 : to.position, QTextCursor::KeepAnchor);
    QTextCursor(part.get()).insertFragment(QTextDocumentFragment(in));
    // The first paragraph's own format, which a fragment from its start does not carry.
    QTextCursor first(part->begin());
    first.setBlockFormat(block.blockFormat());
    first.setBlockCharFormat(block.charFormat());
    return part;
}

// Cuts a paragraph taller than a part after spaces, into pieces of about a part's height.
void CutParagraph(const QTextBlock& b, double guess, std::vector<Cut>& cuts) {
    const int pieces = static_cast<int>(std::ceil(guess / kPartTwips));
    const QString text = b.text();
    const int size = static_cast<int>(text.size());
    int at = 0;
    for (int k = 1; k < pieces; ++k) {
        const int from = std::max(at + 1, static_cast<int>(std::int64_t{k} * size / pieces));
        const int space = static_cast<int>(text.indexOf(' ', from));
        at = space < 0 ? from : space + 1;
        if (at >= size) return;
        cuts.push_back({b.position() + at, false});
    }
}

}  // namespace

struct Paginator::Layout {
    int revision = -1;
    double width = -1;
    int tab = 0;
    // The document laid out whole (the paginator's own, or a copy), or in consecutive parts.
    struct Part {
        QTextDocument* doc = nullptr;
        std::unique_ptr<QTextDocument> copy;
        int start = 0;  // its first position in the document
        bool endsParagraph = true;
        double top = 0;  // its top in the whole, in twips
    };
    std::vector<Part> parts;
    struct Line {
        int position;
        double top, bottom;
        bool breakBefore = true;  // a page may start here
        std::size_t part = 0;
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

// The document whole when it is short enough for one layout, else in parts each short
// enough, cut between paragraphs.
void Paginator::SplitInto(Layout& l, double widthTwips) const {
    l.parts.clear();
    const double points = std::max(document_.defaultFont().pointSizeF(), 12.0);
    std::vector<Cut> cuts{{0, true}};
    double whole = 0, part = 0;
    for (QTextBlock b = document_.begin(); b.isValid(); b = b.next()) {
        const double guess = GuessTwips(b, widthTwips, points);
        // A part holds a table whole, and never starts right after one: a fragment cut there
        // would take the table's frame apart.
        const bool mayCut = !TableOf(b) && !(b.previous().isValid() && TableOf(b.previous()));
        if (part > 0 && part + guess > kPartTwips && mayCut) {
            cuts.push_back({b.position(), true});
            part = 0;
        }
        if (guess > kPartTwips && mayCut) CutParagraph(b, guess, cuts);
        part = guess > kPartTwips ? kPartTwips : part + guess;
        whole += guess;
    }
    if (whole <= kWholeTwips) {
        Layout::Part& p = l.parts.emplace_back();
        if (owned_) {
            p.doc = owned_.get();
        } else {
            p.copy.reset(document_.clone());
            p.doc = p.copy.get();
        }
        return;
    }
    cuts.push_back({document_.characterCount(), true});
    for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
        Layout::Part& p = l.parts.emplace_back();
        p.copy = PartOf(document_, cuts[k], cuts[k + 1]);
        p.doc = p.copy.get();
        p.start = cuts[k].position;
        p.endsParagraph = cuts[k + 1].paragraph;
    }
}

void Paginator::Prepare(QTextDocument& doc, double widthTwips) const {
    doc.setUndoRedoEnabled(false);
    GlueValues(doc);
    // Laid out once, when the width is set: Qt lays a document out again on every change
    // of its device, margin or options while its page size is not null.
    doc.setPageSize(QSizeF(0, 0));
    // The glyphs shaped for the layout are kept for drawing, not shaped again.
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) b.layout()->setCacheEnabled(true);
    doc.documentLayout()->setPaintDevice(&TwipDevice());
    doc.setDocumentMargin(0);
    QTextOption option = doc.defaultTextOption();
    // Qt scales tab stops by the layout device's resolution over its default one.
    option.setTabStopDistance(defaultTabTwips_ * DefaultDpiY() / kTwipsPerInch);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    doc.setDefaultTextOption(option);
    FitTables(doc, widthTwips);
    doc.setTextWidth(widthTwips);
}

const Paginator::Layout& Paginator::LayoutFor(double widthTwips) {
    if (!layout_) layout_ = std::make_unique<Layout>();
    Layout& l = *layout_;
    if (!l.parts.empty() && l.revision == document_.revision() && l.width == widthTwips &&
        l.tab == defaultTabTwips_)
        return l;
    l.width = widthTwips;
    l.tab = defaultTabTwips_;
    SplitInto(l, widthTwips);
    double top = 0;
    for (Layout::Part& p : l.parts) {
        Prepare(*p.doc, widthTwips);
        if (l.parts.size() == 1) AlignParagraphs(*p.doc, align_);
        p.top = top;
        // Qt leaves the last paragraph's space after out of the document's height.
        top += p.doc->documentLayout()->documentSize().height() +
               (p.endsParagraph ? p.doc->lastBlock().blockFormat().bottomMargin() : 0) *
                   kTwipsPerPixel;
    }
    // After the settings, which count as edits of a document laid out in place.
    l.revision = document_.revision();
    CollectLines(l);
    return l;
}

void Paginator::CollectLines(Layout& l) {
    l.lines.clear();
    BreakRule rule;
    for (std::size_t n = 0; n < l.parts.size(); ++n) {
        const Layout::Part& p = l.parts[n];
        QAbstractTextDocumentLayout* layout = p.doc->documentLayout();
        QTextTable* table = nullptr;
        std::size_t tableStart = 0;
        for (QTextBlock b = p.doc->begin(); b.isValid(); b = b.next()) {
            const QRectF box = layout->blockBoundingRect(b);
            const QTextLayout* tl = b.layout();
            QTextTable* in = TableOf(b);
            if (table && in != table) SpanFrame(l, tableStart, *layout, *table, p.top);
            const bool before = !in ? rule.Before(b) : in != table && rule.BeforeTable();
            const bool within = !in && rule.WithinParagraphs();
            if (in != table) tableStart = l.lines.size();
            table = in;
            for (int k = 0; k < tl->lineCount(); ++k) {
                const QTextLine line = tl->lineAt(k);
                const double top = p.top + box.top() + line.y();
                l.lines.push_back({p.start + b.position() + line.textStart(), top,
                                   top + line.height(), k == 0 ? before : within, n});
            }
        }
        if (table) SpanFrame(l, tableStart, *layout, *table, p.top);
    }
}

// The lines of a table from `first` on reach its frame's edges: a page that starts with it
// shows its top border, and one that ends with it its bottom border.
void Paginator::SpanFrame(Layout& l, std::size_t first, QAbstractTextDocumentLayout& layout,
                          QTextFrame& frame, double partTop) {
    if (first >= l.lines.size()) return;
    // Qt gives a table's box from its first cell's text, as far right of the table's left
    // edge (the page's: our tables have no margin) as below its top.
    QRectF box = layout.frameBoundingRect(&frame);
    box.translate(-box.left(), -box.left());
    l.lines[first].top = std::min(l.lines[first].top, partTop + box.top());
    l.lines.back().bottom = std::max(l.lines.back().bottom, partTop + box.bottom());
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
    // What must stay together goes over whole, unless it fills the page by itself.
    if (last != l.lines.end()) {
        auto cut = last;
        while (cut - 1 != first && !cut->breakBefore) --cut;
        if (cut - 1 != first || first[1].breakBefore) last = cut;
    }
    const int next = last == l.lines.end() ? length : last->position;
    if (render && painter.device() != nullptr)
        Draw(painter, rectTwips, top, (last - 1)->bottom, first->part, (last - 1)->part);
    return next;
}

void Paginator::Draw(QPainter& painter, const QRectF& rectTwips, double top, double bottom,
                     std::size_t firstPart, std::size_t lastPart) {
    const double sx = painter.device()->logicalDpiX() / kTwipsPerInch;
    const double sy = painter.device()->logicalDpiY() / kTwipsPerInch;
    painter.save();
    painter.translate(rectTwips.left() * sx, rectTwips.top() * sy);
    painter.scale(sx, sy);
    painter.setClipRect(QRectF(0, 0, rectTwips.width(), bottom - top), Qt::IntersectClip);
    for (std::size_t n = firstPart; n <= lastPart; ++n) {
        const Layout::Part& p = layout_->parts[n];
        painter.save();
        painter.translate(0, p.top - top);
        // The lines of this page and no other: a line that merely touches the page's top or
        // bottom edge would be drawn outside the clip, invisible yet in the page's text.
        QAbstractTextDocumentLayout::PaintContext ctx;
        ctx.clip = QRectF(0, top - p.top + kEdge, rectTwips.width(), bottom - top - 2 * kEdge);
        ctx.palette.setColor(QPalette::Text, Qt::black);
        p.doc->documentLayout()->draw(&painter, ctx);
        painter.restore();
    }
    painter.restore();
}

std::vector<double> Paginator::ParagraphTops(double widthTwips) {
    const Layout& l = LayoutFor(std::max(widthTwips, 1.0));
    std::vector<double> tops;
    for (const Layout::Part& p : l.parts)
        for (QTextBlock b = p.doc->begin(); b.isValid(); b = b.next())
            tops.push_back(p.top + FirstLineTop(*p.doc->documentLayout(), b));
    return tops;
}

void Paginator::AlignTo(std::vector<double> tops) {
    align_ = std::move(tops);
    layout_.reset();
}

double Paginator::HeightTwips(double widthTwips) {
    const Layout& l = LayoutFor(std::max(widthTwips, 1.0));
    return l.lines.empty() ? 0.0 : l.lines.back().bottom - l.lines.front().top;
}

double Paginator::IdealWidthTwips(double widthTwips) {
    double widest = 0;
    for (const Layout::Part& p : LayoutFor(std::max(widthTwips, 1.0)).parts)
        widest = std::max(widest, p.doc->idealWidth());
    return widest;
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

rtf::Document DocumentSource::Read() const {
    return make_ ? make_() : rtf::ReadRtf(rtf_);
}

std::unique_ptr<QTextDocument> LoadRtfDocument(std::string_view rtf, int* defaultTabTwips) {
    return LoadDocument(DocumentSource(rtf), defaultTabTwips);
}

std::unique_ptr<QTextDocument> LoadDocument(const DocumentSource& source, int* defaultTabTwips) {
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(DocumentFont());
    rtf::Document model = source.Read();
    // Glued here, the layout's own pass finds nothing left to edit.
    GlueValues(model);
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
