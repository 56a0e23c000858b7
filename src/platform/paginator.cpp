// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/paginator.h"

#include <QPageLayout>
#include <QPainter>
#include <QTextDocument>
#include <algorithm>

#include "platform/pages.h"
#include "platform/rtfqt.h"
#include "platform/typeset.h"
#include "rtf/reader.h"

namespace equat {

namespace {

constexpr double kTwipsPerInch = 1440.0;

// A paragraph that opens a numbered question: digits, then the degree sign and a slash.
bool StartsQuestion(const typeset::Block* block) {
    if (!block) return false;
    const QString& text = block->text;
    qsizetype k = 0;
    while (k < text.size() && text[k].isDigit()) ++k;
    return k > 0 && k + 1 < text.size() && text[k] == QChar(0xB0) && text[k + 1] == '/';
}

// A key's result line, two tabs in.
bool IsResult(const QString& text) {
    return text.startsWith(QLatin1String("\t\t"));
}

// Where a page may start, paragraph by paragraph. Before the first question, at any line. A
// question runs from its separator to the next one: its statement, a system's lines and the
// key's result line stay together; a worked solution may go over between its steps (one tab)
// or at an empty paragraph, never inside a paragraph.
class BreakRule {
  public:
    // For the first line of b (next: the paragraph after it, if any), then whether a page
    // may start at its other lines.
    bool Before(const typeset::Block& b, const typeset::Block* next) {
        const QString& text = b.text;
        // The line before a question, printed above its number.
        const bool separator =
            b.lines.size() == 1 &&
            !std::all_of(text.begin(), text.end(), [](QChar c) { return c.isSpace(); }) &&
            StartsQuestion(next);
        bool may = true;
        if (StartsQuestion(&b)) {
            may = !afterSeparator_;
        } else if (inQuestion_ && !separator) {
            const bool step = text.startsWith('\t') && !IsResult(text);
            may = !IsResult(text) &&
                  (text.isEmpty() ? !(next && IsResult(next->text)) : step || afterEmpty_);
        }
        inQuestion_ = inQuestion_ || separator || StartsQuestion(&b);
        afterSeparator_ = separator;
        afterEmpty_ = text.isEmpty();
        return may;
    }
    bool WithinParagraphs() const { return !inQuestion_; }
    // A table stays with what leads to it, whole: a page starts before it only where one
    // may start inside a paragraph.
    bool BeforeTable() {
        afterSeparator_ = afterEmpty_ = false;
        return WithinParagraphs();
    }

  private:
    bool inQuestion_ = false, afterSeparator_ = false, afterEmpty_ = false;
};

int LengthOf(const rtf::Document& doc) {
    int length = 0;
    for (const rtf::Paragraph& p : doc.paragraphs) {
        for (const rtf::Run& r : p.runs)
            length += static_cast<int>(typeset::Utf16Size(r.text)) + (r.picture ? 1 : 0);
        ++length;
    }
    return std::max(length - 1, 0);
}

}  // namespace

struct Paginator::Layout {
    double width = -1;
    int tab = 0;
    typeset::Layout set;
    struct Line {
        int position;
        double top, bottom;
        bool breakBefore = true;  // a page may start here
        const typeset::Line* line = nullptr;
        const typeset::Table* table = nullptr;  // a whole table, as one line
    };
    std::vector<Line> lines;

    // The lines pages are cut between, a table standing as one.
    void Collect() {
        lines.clear();
        lines.reserve(set.blocks.size());
        BreakRule rule;
        const auto& blocks = set.blocks;
        for (std::size_t k = 0; k < blocks.size(); ++k) {
            const typeset::Block& b = blocks[k];
            if (b.table) {
                const typeset::Table& t = *b.table;
                lines.push_back(
                    {b.position, t.top, t.top + t.height, rule.BeforeTable(), nullptr, &t});
                continue;
            }
            if (b.inTable) continue;
            std::size_t after = k + 1;
            const typeset::Block* next = after < blocks.size() ? &blocks[after] : nullptr;
            const bool before = rule.Before(b, next);
            const bool within = rule.WithinParagraphs();
            for (std::size_t n = 0; n < b.lines.size(); ++n) {
                const typeset::Line& line = b.lines[n];
                lines.push_back({line.position, line.top, line.top + line.height,
                                 n == 0 ? before : within, &line, nullptr});
            }
        }
    }
};

Paginator::Paginator(const QTextDocument& document, int defaultTabTwips)
    : window_(&document), defaultTabTwips_(defaultTabTwips) {}

Paginator::Paginator(rtf::Document document)
    : document_(std::make_unique<rtf::Document>(std::move(document))),
      length_(LengthOf(*document_)),
      defaultTabTwips_(document_->defaultTab) {}

Paginator::~Paginator() = default;

int Paginator::TextLength() const {
    return window_ ? window_->characterCount() - 1 : length_;
}

// The window's document as it is now, read again after each change.
const rtf::Document& Paginator::Source() {
    if (window_ && (!document_ || sourceRevision_ != window_->revision())) {
        document_ = std::make_unique<rtf::Document>(
            DocumentFromRange(*window_, 0, window_->characterCount()));
        sourceRevision_ = window_->revision();
        layout_.reset();
    }
    return *document_;
}

const Paginator::Layout& Paginator::LayoutFor(double widthTwips) {
    const rtf::Document& doc = Source();
    if (layout_ && layout_->width == widthTwips && layout_->tab == defaultTabTwips_)
        return *layout_;
    layout_ = std::make_unique<Layout>();
    layout_->width = widthTwips;
    layout_->tab = defaultTabTwips_;
    layout_->set = typeset::SetDocument(doc, widthTwips, defaultTabTwips_, align_);
    layout_->Collect();
    return *layout_;
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
    if (render && painter.device() != nullptr) {
        std::vector<const typeset::Line*> lines;
        std::vector<const typeset::Table*> tables;
        for (auto it = first; it != last; ++it) {
            if (it->line) lines.push_back(it->line);
            if (it->table) tables.push_back(it->table);
        }
        const double sx = painter.device()->logicalDpiX() / kTwipsPerInch;
        const double sy = painter.device()->logicalDpiY() / kTwipsPerInch;
        painter.save();
        painter.translate(rectTwips.left() * sx, rectTwips.top() * sy);
        painter.scale(sx, sy);
        typeset::DrawLines(painter, l.set, lines, tables, top);
        painter.restore();
    }
    return next;
}

std::vector<double> Paginator::ParagraphTops(double widthTwips) {
    const Layout& l = LayoutFor(std::max(widthTwips, 1.0));
    std::vector<double> tops;
    for (const typeset::Block& b : l.set.blocks)
        tops.push_back(b.lines.empty() ? b.top : b.lines.front().top);
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
    return LayoutFor(std::max(widthTwips, 1.0)).set.idealWidth;
}

bool Paginator::PaintPages(QPainter& painter, PageDevice& device, const QRectF& pageTwips,
                           std::vector<int>* starts, QString* error, const QColor& paper) {
    const int end = TextLength();
    int position = 0;
    // The painter starts at the corner of the printable area: the paper lies around it.
    const int dpi = device.Device().logicalDpiX();
    const QPageLayout layout = device.PageLayout();
    const QRectF sheet =
        layout.fullRectPixels(dpi).toRectF().translated(-layout.paintRectPixels(dpi).topLeft());
    for (;;) {
        if (paper.isValid()) painter.fillRect(sheet, paper);
        if (starts) starts->push_back(position);
        const int next = FormatRange(painter, pageTwips, position, true);
        if (next >= end || next == -1) return true;
        if (!device.NewPage()) {
            if (error) *error = QString("Une nouvelle page n'a pas pu être ajoutée");
            return false;
        }
        position = next;
    }
}

rtf::Document DocumentSource::Read() const {
    return make_ ? make_() : rtf::ReadRtf(rtf_);
}

}  // namespace equat
