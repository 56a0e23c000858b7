// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/pdfdevice.h"

#include <libdeflate.h>

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QTextLayout>
#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstring>
#include <deque>
#include <future>
#include <map>
#include <set>
#include <string_view>
#include <unordered_map>

#include "platform/beside.h"
#include "platform/pdffont.h"

namespace equat {

using pdf::AppendNumber;

namespace {

// Objects whose numbers are known from the start; the rest are numbered as they are written.
constexpr int kCatalog = 1, kPages = 2, kResources = 3, kInfo = 4;

// What the content stream has set, so that each operator is written only when it changes.
struct Ink {
    QRgb fill = 0, stroke = 0;
    double width = 1;
    int cap = 0, join = 0;
    std::string dash = "[] 0";
    int alpha = 0xFFFF;      // fill alpha << 8 | stroke alpha
    int font = -1, sub = 0;  // the text font (Tf), kept across text objects
    double size = 0;
};

// A glyph inside a word is moved from where the widths' advances put it only when its place
// parts from them by kSmallestAdjust thousandths of an em or more: the layout's positions are
// quantised finer, an invisible noise, and the error never grows beyond that bound. A glyph
// beside a gap (a space, room, a run's end) is placed to kExactAdjust as before: text
// extractors weigh a line's gaps against one another and would join or part words otherwise.
constexpr double kSmallestAdjust = 0.5, kExactAdjust = 0.01;

// A run of at least this many glyphs drawn again is placed as a form; at most kMostRepeated
// runs are remembered.
constexpr qsizetype kRepeatedGlyphs = 32;
constexpr size_t kMostRepeated = 4096;

void AppendPoint(std::string& out, QPointF p) {
    AppendNumber(out, p.x());
    out += ' ';
    AppendNumber(out, p.y());
    out += ' ';
}

void AppendColour(std::string& out, QRgb c, const char* op) {
    for (int v : {qRed(c), qGreen(c), qBlue(c)}) {
        AppendNumber(out, v / 255.0);
        out += ' ';
    }
    out += op;
}

// A PDF text string: UTF-16 with its byte order mark, in hex.
std::string TextString(const QString& text) {
    std::string out = "<FEFF";
    for (QChar c : text) pdf::AppendHex(out, c.unicode(), 4);
    return out + '>';
}

QRgb BrushColour(const QBrush& brush) {
    if (const QGradient* g = brush.gradient(); g && !g->stops().isEmpty())
        return g->stops().first().second.rgba();
    return brush.color().rgba();
}

// One compressor for a whole document (its tables cost more to set up than deflating a page's
// content), at the fastest level: higher levels cost more CPU for files a few percent smaller.
class Deflater {
  public:
    Deflater() : compressor_(libdeflate_alloc_compressor(1)) {}
    ~Deflater() {
        if (compressor_) libdeflate_free_compressor(compressor_);
    }
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;

    // The zlib stream of data, valid until the next call; empty when compression fails.
    std::string_view Deflate(const char* data, size_t size) {
        if (!compressor_) return {};
        const size_t bound = libdeflate_zlib_compress_bound(compressor_, size);
        if (buffer_.size() < bound) buffer_.resize(bound);
        const size_t n =
            libdeflate_zlib_compress(compressor_, data, size, buffer_.data(), buffer_.size());
        return {buffer_.data(), n};
    }

  private:
    libdeflate_compressor* compressor_;
    std::string buffer_;  // kept at its largest: no new memory a stream
};

// A stream's data as written: deflated, or as it is should compression fail.
struct Packed {
    std::string data;
    bool deflated = false;
};

Packed Pack(Deflater& deflater, std::string raw) {
    const std::string_view packed = deflater.Deflate(raw.data(), raw.size());
    if (packed.empty()) return {std::move(raw), false};
    return {std::string(packed), true};
}

// Pages wait this many pages before they are written, deflated or not by a second core: the
// file is the same whichever core deflates them.
constexpr size_t kPagesWaiting = 4;

}  // namespace

struct PdfDevice::Doc {
    QPageLayout layout;
    int res;
    QString title, creator;
    QTransform page;  // device pixels to points, y up
    std::string out;
    std::vector<size_t> offsets = std::vector<size_t>(5, 0);  // by object number
    std::vector<int> pages;
    std::string content;
    size_t contentRoom = 0;  // the largest page's content so far
    Deflater deflater;
    // Pages ended but not yet written: their stream's and their own object numbers, and their
    // content, deflated here when written or by the second core meanwhile.
    struct Waiting {
        int stream, page;
        std::future<Packed> content;
    };
    std::deque<Waiting> waiting;
    Beside* beside = nullptr;
    std::shared_ptr<Deflater> besideDeflater;  // the second core's, for this document's pages
    size_t textEnd = 0;                        // where the last text object ended, to go on with it
    // The text line's start, and whether its matrix is upright (Tm 1 0 0 1 x y): a new upright
    // line then only moves from it (Td).
    QPointF lineStart;
    bool lineUpright = true;
    // The text space of the last glyphs: the painter's transform, it on the page, its scale k
    // and its matrix without the scale, whether that is upright; kept while the transform is.
    struct TextSpace {
        QTransform t, m;
        double k = 0, matrix[4] = {};
        bool upright = false, affine = false, valid = false;
    } text;
    bool open = false, begun = false, ended = false;
    std::vector<std::unique_ptr<pdf::PdfFont>> fonts;
    std::map<QByteArray, int> fontIndex;
    std::vector<std::pair<QRawFont, int>> recentFonts;
    struct WrittenFont {
        int index = -1, sub = 0;
        double size = 0;
        char text[3 * pdf::kNumberSize + 8];
        int length = 0;
    };
    std::array<WrittenFont, 4> writtenFonts;  // the last Tf operators written, as written
    size_t nextWrittenFont = 0;
    std::vector<int> images;
    std::unordered_map<qint64, int> imageIndex;
    // Long runs of glyphs met again, as a copy's separator lines: written once as a form, then
    // placed. Keyed by their font, size, glyphs and the glyphs' places from the first.
    struct Repeated {
        int font;
        double size, k;
        std::vector<quint32> glyphs;
        std::vector<QPointF> offsets;
        int form = -1;  // its form's number among forms, once met twice
    };
    std::unordered_multimap<std::uint64_t, size_t> repeatedIndex;
    std::vector<Repeated> repeated;
    std::vector<int> forms;  // the forms' objects
    std::set<int> alphas;    // the alpha pairs used, each a graphics state
    Ink ink, saved;
    QPainterPath clip;  // in device pixels
    bool clipOn = false, clipDirty = false, clipOpen = false;

    Doc(const QPageLayout& l, int r, QString t, QString c);
    int NewObject();
    void BeginObject(int n);
    void WriteStream(int n, const std::string& dict, const char* data, size_t size);
    void WriteStream(int n, const std::string& dict, std::string_view body, bool deflated);
    void WritePage(Waiting& page);
    void StartPage();
    void EndPage();
    void ApplyClip();
    void SetFill(QRgb c);
    void SetStroke(const QPen& pen, double scale);
    void SetAlpha(int fill, int stroke);
    char* SetFont(char* at, int index, int sub, double size);
    void SetTextSpace(const QTransform& t);
    char* StartLine(char* at, QPointF p);
    int FontFor(const QRawFont& font);
    void DrawGlyphs(const QTransform& t, const QRawFont& font, const QList<quint32>& glyphs,
                    const QList<QPointF>& positions, const QColor& colour);
    void TextRun(int index, double size, const QList<quint32>& glyphs,
                 const QList<QPointF>& positions, qsizetype n);
    QPointF LineStart(QPointF p) const;
    int RepeatedForm(int index, double size, const QList<quint32>& glyphs,
                     const QList<QPointF>& positions, qsizetype n);
    int WriteForm(int index, double size, const QList<quint32>& glyphs,
                  const QList<QPointF>& positions, qsizetype n);
    void WriteType3(const pdf::PdfFont& f, const std::string& name, std::string* fontRes);
    int ImageObject(const QImage& image);
    void DrawImage(const QTransform& m, const QRectF& r, const QImage& image);
    void WriteFonts(std::string* fontRes);
    bool Finish(std::string* pdf, QString* why);
};

PdfDevice::Doc::Doc(const QPageLayout& l, int r, QString t, QString c)
    : layout(l), res(r > 0 ? r : 1200), title(std::move(t)), creator(std::move(c)) {
    const QRectF full = layout.fullRect(QPageLayout::Point);
    const QRectF paint = layout.paintRect(QPageLayout::Point);
    const double s = 72.0 / res;
    page = QTransform(s, 0, 0, -s, paint.left(), full.height() - paint.top());
    out = "%PDF-1.6\n%\xE2\xE3\xCF\xD3\n";
}

int PdfDevice::Doc::NewObject() {
    offsets.push_back(0);
    return static_cast<int>(offsets.size() - 1);
}

void PdfDevice::Doc::BeginObject(int n) {
    offsets[static_cast<size_t>(n)] = out.size();
    out += std::to_string(n) + " 0 obj\n";
}

// A stream object, deflated; as it is should compression fail.
void PdfDevice::Doc::WriteStream(int n, const std::string& dict, const char* data, size_t size) {
    const std::string_view packed = deflater.Deflate(data, size);
    WriteStream(n, dict, packed.empty() ? std::string_view(data, size) : packed, !packed.empty());
}

void PdfDevice::Doc::WriteStream(int n, const std::string& dict, std::string_view body,
                                 bool deflated) {
    BeginObject(n);
    out += "<< " + dict + (deflated ? " /Filter /FlateDecode" : "") + " /Length " +
           std::to_string(body.size()) + " >>\nstream\n";
    out += body;
    out += "\nendstream\nendobj\n";
}

void PdfDevice::Doc::WritePage(Waiting& page) {
    const Packed content = page.content.get();
    WriteStream(page.stream, "", content.data, content.deflated);
    BeginObject(page.page);
    const QRectF full = layout.fullRect(QPageLayout::Point);
    out += "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 ";
    AppendPoint(out, {full.width(), full.height()});
    out.back() = ']';
    out += " /Resources 3 0 R /Contents " + std::to_string(page.stream) + " 0 R >>\nendobj\n";
}

void PdfDevice::Doc::StartPage() {
    content.clear();
    textEnd = 0;
    ink = Ink{};
    clipOpen = false;
    clipDirty = clipOn;
    open = true;
}

// A page's content is deflated as it ends and written a few pages later, so that a long
// document keeps only a few pages' content at a time.
void PdfDevice::Doc::EndPage() {
    if (!open) return;
    if (clipOpen) content += "Q\n";
    contentRoom = std::max(contentRoom, content.size());
    Waiting page{NewObject(), NewObject(), {}};
    if (beside) {
        page.content = beside->Run([d = besideDeflater, raw = std::move(content)]() mutable {
            return Pack(*d, std::move(raw));
        });
    } else {
        page.content = std::async(
            std::launch::deferred,
            [this, raw = std::move(content)]() mutable { return Pack(deflater, std::move(raw)); });
    }
    content = std::string();
    content.reserve(contentRoom);
    pages.push_back(page.page);
    waiting.push_back(std::move(page));
    for (; waiting.size() > kPagesWaiting; waiting.pop_front()) WritePage(waiting.front());
    open = false;
}

// The clip is set lazily, inside q/Q: a new clip first restores what the last one saved.
void PdfDevice::Doc::ApplyClip() {
    if (!clipDirty) return;
    clipDirty = false;
    if (clipOpen) {
        content += "Q\n";
        ink = saved;
        clipOpen = false;
    }
    if (!clipOn) return;
    saved = ink;
    content += "q ";
    if (clip.isEmpty())
        content += "0 0 0 0 re ";
    else
        pdf::AppendPath(content, clip, page);
    content += clip.fillRule() == Qt::OddEvenFill ? "W* n\n" : "W n\n";
    clipOpen = true;
}

void PdfDevice::Doc::SetFill(QRgb c) {
    if ((c & 0xFFFFFF) != (ink.fill & 0xFFFFFF)) AppendColour(content, c, "rg\n");
    ink.fill = c;
}

void PdfDevice::Doc::SetAlpha(int fill, int stroke) {
    const int key = fill << 8 | stroke;
    if (key == ink.alpha) return;
    ink.alpha = key;
    alphas.insert(key);
    content += "/G" + std::to_string(key) + " gs\n";
}

// The pen's colour, width (scale: points per logical unit), ends, joins and dashes.
void PdfDevice::Doc::SetStroke(const QPen& pen, double scale) {
    const QRgb c = pen.color().rgba();
    if ((c & 0xFFFFFF) != (ink.stroke & 0xFFFFFF)) AppendColour(content, c, "RG\n");
    ink.stroke = c;
    const double width = pen.widthF() * (pen.isCosmetic() ? 72.0 / res : scale);
    if (pdf::Rounded(width) != ink.width) {
        ink.width = pdf::Rounded(width);
        AppendNumber(content, width);
        content += " w\n";
    }
    const int cap = pen.capStyle() == Qt::RoundCap ? 1 : pen.capStyle() == Qt::SquareCap ? 2 : 0;
    const int join = pen.joinStyle() == Qt::RoundJoin   ? 1
                     : pen.joinStyle() == Qt::BevelJoin ? 2
                                                        : 0;
    if (cap != ink.cap) content += std::to_string(cap) + " J\n";
    if (join != ink.join) content += std::to_string(join) + " j\n";
    ink.cap = cap;
    ink.join = join;
    std::string dash = "[] 0";
    if (pen.style() != Qt::SolidLine) {
        const double unit = std::max(width, 72.0 / res);
        dash = "[";
        for (qreal d : pen.dashPattern()) {
            AppendNumber(dash, d * unit);
            dash += ' ';
        }
        if (dash.back() == ' ') dash.pop_back();
        dash += "] ";
        AppendNumber(dash, pen.dashOffset() * unit);
    }
    if (dash != ink.dash) content += dash + " d\n";
    ink.dash = std::move(dash);
}

int PdfDevice::Doc::FontFor(const QRawFont& font) {
    for (const auto& [f, i] : recentFonts)
        if (f == font) return i;
    const QByteArray key = pdf::PdfFont::Key(font);
    auto it = fontIndex.find(key);
    if (it == fontIndex.end()) {
        const int i = static_cast<int>(fonts.size());
        fonts.push_back(std::make_unique<pdf::PdfFont>(font, i));
        it = fontIndex.emplace(key, i).first;
    }
    recentFonts.insert(recentFonts.begin(), {font, it->second});
    if (recentFonts.size() > 16) recentFonts.pop_back();
    return it->second;
}

void PdfDevice::Doc::DrawGlyphs(const QTransform& t, const QRawFont& font,
                                const QList<quint32>& glyphs, const QList<QPointF>& positions,
                                const QColor& colour) {
    const qsizetype n = std::min(glyphs.size(), positions.size());
    if (!open || !n || !font.isValid()) return;
    if (!text.valid || t != text.t) SetTextSpace(t);
    if (!(text.k > 0) || !(font.pixelSize() > 0)) return;
    ApplyClip();
    SetFill(colour.rgba());
    SetAlpha(colour.alpha(), ink.alpha & 0xFF);
    const int index = FontFor(font);
    const double size = font.pixelSize();
    if (const int form = RepeatedForm(index, size, glyphs, positions, n); form >= 0) {
        // Outside any text object; the form takes the fill and alpha set here.
        const QPointF at = LineStart(positions[0]);
        content += "q 1 0 0 1 ";
        AppendPoint(content, at);
        content += "cm /R" + std::to_string(form) + " Do Q\n";
        return;
    }
    // Runs drawn one after the other share a text object.
    if (textEnd && textEnd == content.size()) {
        content.resize(textEnd - 3);  // "ET\n"
    } else {
        content += "BT\n";
        lineStart = QPointF(), lineUpright = true;
    }
    TextRun(index, size, glyphs, positions, n);
    content += "ET\n";
    textEnd = content.size();
}

// The form of a long upright run drawn before, written when met the second time; -1 for a run
// drawn in the content (short, turned, new, or past kMostRepeated).
int PdfDevice::Doc::RepeatedForm(int index, double size, const QList<quint32>& glyphs,
                                 const QList<QPointF>& positions, qsizetype n) {
    if (n < kRepeatedGlyphs || !text.upright || !text.affine) return -1;
    const QPointF first = positions[0];
    // Keyed by a few of the glyphs and places; compared whole when the key is met.
    std::uint64_t h = 14695981039346656037ULL;
    const auto mix = [&h](std::uint64_t v) { h = (h ^ v) * 1099511628211ULL; };
    for (const qsizetype i : {qsizetype(1), n / 2, n - 1}) {
        std::uint64_t x = 0;
        const double dx = positions[i].x() - first.x();
        std::memcpy(&x, &dx, sizeof x);
        mix(glyphs[i]), mix(x);
    }
    mix(static_cast<std::uint64_t>(n)), mix(static_cast<std::uint64_t>(index));
    const auto same = [&](const Repeated& r) {
        if (r.font != index || r.size != size || r.k != text.k || r.glyphs.size() != size_t(n))
            return false;
        for (qsizetype i = 0; i < n; ++i)
            if (r.glyphs[size_t(i)] != glyphs[i] || r.offsets[size_t(i)] != positions[i] - first)
                return false;
        return true;
    };
    const auto [from, to] = repeatedIndex.equal_range(h);
    for (auto it = from; it != to; ++it) {
        Repeated& r = repeated[it->second];
        if (!same(r)) continue;
        if (r.form < 0) r.form = WriteForm(index, size, glyphs, positions, n);
        return r.form;
    }
    if (repeated.size() < kMostRepeated) {
        Repeated& r = repeated.emplace_back(
            Repeated{index, size, text.k, {glyphs.begin(), glyphs.begin() + n}, {}});
        r.offsets.reserve(size_t(n));
        for (qsizetype i = 0; i < n; ++i) r.offsets.push_back(positions[i] - first);
        repeatedIndex.emplace(h, repeated.size() - 1);
    }
    return -1;
}

// The run as a form whose origin is its first glyph's line start, written by TextRun itself in
// a content of its own, from a text state of its own; the page's state is kept.
int PdfDevice::Doc::WriteForm(int index, double size, const QList<quint32>& glyphs,
                              const QList<QPointF>& positions, qsizetype n) {
    const QPointF origin = LineStart(positions[0]);
    const Ink pageInk = ink;
    const QTransform pageSpace = text.m;
    const QPointF pageLine = lineStart;
    const bool pageUpright = lineUpright;
    std::string pageContent = std::move(content);
    content = "BT\n";
    text.m *= QTransform::fromTranslate(-origin.x(), -origin.y());
    ink.font = -1, lineStart = QPointF(), lineUpright = true;
    TextRun(index, size, glyphs, positions, n);
    content += "ET";
    // Room around the glyphs for their ascent, descent and widths.
    const double em = size * text.k;
    const QPointF end = LineStart(positions[n - 1]);
    std::string box = "/BBox [";
    for (double v : {std::min(0.0, end.x()) - 2 * em, std::min(0.0, end.y()) - 2 * em,
                     std::max(0.0, end.x()) + 4 * em, std::max(0.0, end.y()) + 2 * em}) {
        AppendNumber(box, v);
        box += ' ';
    }
    box.back() = ']';
    const int object = NewObject();
    WriteStream(object, "/Type /XObject /Subtype /Form " + box + " /Resources 3 0 R",
                content.data(), content.size());
    content = std::move(pageContent);
    text.m = pageSpace, ink = pageInk, lineStart = pageLine, lineUpright = pageUpright;
    forms.push_back(object);
    return static_cast<int>(forms.size() - 1);
}

// The font is part of the graphics state: set only when it changes. Writes at `at`, returns
// the end (at most 3 numbers long).
char* PdfDevice::Doc::SetFont(char* at, int index, int sub, double size) {
    const double rounded = pdf::Rounded(size);
    if (index == ink.font && sub == ink.sub && rounded == ink.size) return at;
    ink.font = index, ink.sub = sub, ink.size = rounded;
    // A line's fonts alternate (a system's braces, its text): the last few written, kept.
    for (const WrittenFont& f : writtenFonts)
        if (f.index == index && f.sub == sub && f.size == rounded)
            return std::copy_n(f.text, f.length, at);
    char* const start = at;
    at = pdf::PutNumber(std::copy_n("/F", 2, at), index);
    if (sub) at = pdf::PutNumber(std::copy_n("s", 1, at), sub);
    *at++ = ' ';
    at = std::copy_n(" Tf\n", 4, pdf::PutNumber(at, size));
    WrittenFont& f = writtenFonts[nextWrittenFont++ % writtenFonts.size()];
    f = {index, sub, rounded, {}, static_cast<int>(at - start)};
    std::copy(start, at, f.text);
    return at;
}

void PdfDevice::Doc::SetTextSpace(const QTransform& t) {
    text.t = t;
    text.m = t * page;
    const QTransform& m = text.m;
    text.k = std::sqrt(std::abs(m.determinant()));
    if (!(text.k > 0)) return;  // nothing drawn in it
    const double k = text.k;
    const double matrix[4] = {m.m11() / k, m.m12() / k, -m.m21() / k, -m.m22() / k};
    std::copy_n(matrix, 4, text.matrix);
    text.affine = m.type() < QTransform::TxProject;
    text.upright = pdf::Rounded(matrix[0]) == 1 && pdf::Rounded(matrix[1]) == 0 &&
                   pdf::Rounded(matrix[2]) == 0 && pdf::Rounded(matrix[3]) == 1;
    text.valid = true;
}

// Where a line of text starting at p starts on the page, as written.
QPointF PdfDevice::Doc::LineStart(QPointF p) const {
    const QTransform& m = text.m;
    const QPointF mapped = text.affine ? QPointF(m.m11() * p.x() + m.m21() * p.y() + m.dx(),
                                                 m.m12() * p.x() + m.m22() * p.y() + m.dy())
                                       : m.map(p);
    return {pdf::Rounded(mapped.x()), pdf::Rounded(mapped.y())};
}

// A line of text starts at p: moved to from the last line's start while both are upright (Td),
// else set whole (Tm). Writes at `at` (at most 6 numbers long), returns the end.
char* PdfDevice::Doc::StartLine(char* at, QPointF p) {
    const QPointF start = LineStart(p);
    const bool move = text.upright && lineUpright;
    if (!move)
        for (double v : text.matrix) *(at = pdf::PutNumber(at, v))++ = ' ';
    const QPointF to = move ? start - lineStart : start;
    *(at = pdf::PutNumber(at, to.x()))++ = ' ';
    *(at = pdf::PutNumber(at, to.y()))++ = ' ';
    lineStart = start, lineUpright = text.upright;
    return std::copy_n(move ? "Td " : "Tm ", 3, at);
}

// The glyphs as one TJ array a baseline, each adjustment putting a glyph where its position
// says (the widths array gives the advance a reader adds), as kSmallestAdjust allows.
void PdfDevice::Doc::TextRun(int index, double size, const QList<quint32>& glyphs,
                             const QList<QPointF>& positions, qsizetype n) {
    pdf::PdfFont& font = *fonts[static_cast<size_t>(index)];
    const double toEm = 1000.0 / size;
    const int digits = font.CodeDigits();
    double x0 = 0, y0 = 0, written = 0, advance = 0;
    const auto newLine = [&](QPointF p) { return std::abs(p.y() - y0) > size * 1e-5; };
    const quint32 space = font.Space();
    // Whether glyph i borders a gap: a space, its line's end, or room the advance does not make.
    const auto gap = [&](qsizetype i) {
        return glyphs[i - 1] == space || i + 1 == n || glyphs[i + 1] == space ||
               newLine(positions[i + 1]) ||
               std::abs((positions[i + 1].x() - positions[i].x()) * toEm - advance) >=
                   kSmallestAdjust;
    };
    // Written through a buffer, appended to the content when a line's worth of room is left.
    char buffer[1024];
    constexpr qsizetype kLineRoom = 16 * pdf::kNumberSize;
    char* at = buffer;
    int current = -1, sub = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (at - buffer > qsizetype(sizeof buffer) - kLineRoom) {
            content.append(buffer, static_cast<size_t>(at - buffer));
            at = buffer;
        }
        const QPointF p = positions[i];
        const unsigned code = font.Use(glyphs[i], &sub);
        const double before = advance;
        advance = font.Advance(glyphs[i]);
        if (sub != current || newLine(p)) {
            if (i) at = std::copy_n(">] TJ\n", 6, at);
            at = StartLine(SetFont(at, index, sub, size * text.k), p);
            at = std::copy_n("[<", 2, at);
            x0 = p.x(), y0 = p.y(), written = 0, current = sub;
        } else {
            written += before;
            const double adjust = (p.x() - x0) * toEm - written, off = std::abs(adjust);
            if (off >= kSmallestAdjust || (off > kExactAdjust && gap(i))) {
                *at++ = '>';
                *(at = pdf::PutNumber(at, -adjust))++ = '<';
                written += pdf::Rounded(adjust);
            }
        }
        at = pdf::PutHex(at, code, digits);
    }
    at = std::copy_n(">] TJ\n", 6, at);
    content.append(buffer, static_cast<size_t>(at - buffer));
}

int PdfDevice::Doc::ImageObject(const QImage& source) {
    const auto known = imageIndex.find(source.cacheKey());
    if (known != imageIndex.end()) return known->second;
    const bool alpha = source.hasAlphaChannel();
    const QImage image =
        source.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB888);
    const int w = image.width(), h = image.height();
    std::string rgb, mask;
    rgb.reserve(static_cast<size_t>(w) * h * 3);
    bool opaque = true;
    for (int y = 0; y < h; ++y) {
        if (!alpha) {
            rgb.append(reinterpret_cast<const char*>(image.constScanLine(y)),
                       static_cast<size_t>(w) * 3);
            continue;
        }
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            rgb += static_cast<char>(qRed(line[x]));
            rgb += static_cast<char>(qGreen(line[x]));
            rgb += static_cast<char>(qBlue(line[x]));
            mask += static_cast<char>(qAlpha(line[x]));
            opaque = opaque && qAlpha(line[x]) == 255;
        }
    }
    const std::string size =
        "/Width " + std::to_string(w) + " /Height " + std::to_string(h) + " /BitsPerComponent 8";
    std::string dict = "/Type /XObject /Subtype /Image " + size + " /ColorSpace /DeviceRGB";
    if (!opaque) {
        const int m = NewObject();
        WriteStream(m, "/Type /XObject /Subtype /Image " + size + " /ColorSpace /DeviceGray",
                    mask.data(), mask.size());
        dict += " /SMask " + std::to_string(m) + " 0 R";
    }
    const int n = NewObject();
    WriteStream(n, dict, rgb.data(), rgb.size());
    images.push_back(n);
    const int index = static_cast<int>(images.size() - 1);
    imageIndex.emplace(source.cacheKey(), index);
    return index;
}

void PdfDevice::Doc::DrawImage(const QTransform& m, const QRectF& r, const QImage& image) {
    if (!open || image.isNull() || r.isEmpty()) return;
    ApplyClip();
    const int index = ImageObject(image);
    // The image's unit square, its first row on top, onto the rectangle.
    const QTransform t = QTransform(r.width(), 0, 0, -r.height(), r.left(), r.bottom()) * m;
    content += "q ";
    for (double v : {t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy()}) {
        AppendNumber(content, v);
        content += ' ';
    }
    content += "cm /I" + std::to_string(index) + " Do Q\n";
}

void PdfDevice::Doc::WriteFonts(std::string* fontRes) {
    for (size_t i = 0; i < fonts.size(); ++i) {
        const pdf::PdfFont& f = *fonts[i];
        if (!f.Embeddable()) {
            WriteType3(f, "/F" + std::to_string(i), fontRes);
            continue;
        }
        const std::string program = f.Program(), unicode = f.ToUnicode();
        const int file = NewObject(), map = NewObject(), desc = NewObject();
        const int cid = NewObject(), type0 = NewObject();
        WriteStream(file,
                    f.Cff() ? "/Subtype /OpenType" : "/Length1 " + std::to_string(program.size()),
                    program.data(), program.size());
        WriteStream(map, "", unicode.data(), unicode.size());
        BeginObject(desc);
        out += "<< /Type /FontDescriptor " + f.Descriptor() +
               (f.Cff() ? " /FontFile3 " : " /FontFile2 ") + std::to_string(file) +
               " 0 R >>\nendobj\n";
        BeginObject(cid);
        out += "<< /Type /Font /Subtype " +
               std::string(f.Cff() ? "/CIDFontType0" : "/CIDFontType2") + " /BaseFont /" +
               f.BaseFont() +
               " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >>" +
               " /FontDescriptor " + std::to_string(desc) + " 0 R" +
               (f.Cff() ? "" : " /CIDToGIDMap /Identity") + " /W " + f.Widths() + " >>\nendobj\n";
        BeginObject(type0);
        out += "<< /Type /Font /Subtype /Type0 /BaseFont /" + f.BaseFont() +
               " /Encoding /Identity-H /DescendantFonts [" + std::to_string(cid) +
               " 0 R] /ToUnicode " + std::to_string(map) + " 0 R >>\nendobj\n";
        *fontRes += "/F" + std::to_string(i) + ' ' + std::to_string(type0) + " 0 R ";
    }
}

// An outlined font's subfonts: Type 3 fonts whose glyphs are their outlines.
void PdfDevice::Doc::WriteType3(const pdf::PdfFont& f, const std::string& name,
                                std::string* fontRes) {
    for (int sub = 0; sub < f.Subfonts(); ++sub) {
        const std::vector<quint32> glyphs = f.SubfontGlyphs(sub);
        std::string procs, names;
        for (size_t c = 0; c < glyphs.size(); ++c) {
            const std::string proc = f.GlyphProcedure(glyphs[c]);
            const int n = NewObject();
            WriteStream(n, "", proc.data(), proc.size());
            procs += "/g" + std::to_string(c) + ' ' + std::to_string(n) + " 0 R ";
            names += "/g" + std::to_string(c);
        }
        const std::string m = "600 0 d0\n";
        const int mProc = NewObject();
        WriteStream(mProc, "", m.data(), m.size());
        procs += "/m " + std::to_string(mProc) + " 0 R ";
        names += ' ' + std::to_string(pdf::kType3Glyphs) + " /m";
        const std::string unicode = f.ToUnicode(sub);
        const int map = NewObject(), desc = NewObject(), font = NewObject();
        WriteStream(map, "", unicode.data(), unicode.size());
        BeginObject(desc);
        out += "<< /Type /FontDescriptor /FontName /" + f.BaseFont() + " /Flags 4 /FontBBox " +
               f.Type3Box() + " /ItalicAngle 0 /Ascent " + f.Type3Box(3) + " /Descent " +
               f.Type3Box(1) + " /CapHeight " + f.Type3Box(3) + " /StemV 80 >>\nendobj\n";
        BeginObject(font);
        out += "<< /Type /Font /Subtype /Type3 /FontBBox " + f.Type3Box() +
               " /FontMatrix [0.001 0 0 0.001 0 0]"
               " /CharProcs << " +
               procs + ">> /Encoding << /Type /Encoding /Differences [0 " + names +
               "] >> /FirstChar 0 /LastChar " + std::to_string(pdf::kType3Glyphs) + " /Widths " +
               f.Type3Widths(sub) + " /ToUnicode " + std::to_string(map) + " 0 R /FontDescriptor " +
               std::to_string(desc) + " 0 R /Resources << >> >>\nendobj\n";
        *fontRes +=
            name + (sub ? 's' + std::to_string(sub) : "") + ' ' + std::to_string(font) + " 0 R ";
    }
}

bool PdfDevice::Doc::Finish(std::string* pdf, QString* why) {
    if (!ended || pages.empty()) {
        if (why)
            *why = !ended
                       ? QStringLiteral("Le PDF n'est pas terminé : sa page est encore dessinée.")
                       : QStringLiteral("Le PDF n'a aucune page (ou il a déjà été rendu).");
        return false;
    }
    for (; !waiting.empty(); waiting.pop_front()) WritePage(waiting.front());
    std::string fontRes, xobjects, states;
    WriteFonts(&fontRes);
    for (size_t i = 0; i < images.size(); ++i)
        xobjects += "/I" + std::to_string(i) + ' ' + std::to_string(images[i]) + " 0 R ";
    for (size_t i = 0; i < forms.size(); ++i)
        xobjects += "/R" + std::to_string(i) + ' ' + std::to_string(forms[i]) + " 0 R ";
    for (int key : alphas) {
        states += "/G" + std::to_string(key) + " << /ca ";
        AppendNumber(states, (key >> 8) / 255.0);
        states += " /CA ";
        AppendNumber(states, (key & 0xFF) / 255.0);
        states += " >> ";
    }
    BeginObject(kResources);
    out += "<< /ProcSet [/PDF /Text /ImageB /ImageC] /Font << " + fontRes + ">> /XObject << " +
           xobjects + ">> /ExtGState << " + states + ">> >>\nendobj\n";
    BeginObject(kPages);
    out += "<< /Type /Pages /Kids [";
    for (int p : pages) out += std::to_string(p) + " 0 R ";
    out += "] /Count " + std::to_string(pages.size()) + " >>\nendobj\n";
    BeginObject(kCatalog);
    out += "<< /Type /Catalog /Pages 2 0 R >>\nendobj\n";
    BeginObject(kInfo);
    out += "<< /Title " + TextString(title) + " /Creator " + TextString(creator) +
           " /Producer (Equat) >>\nendobj\n";
    const size_t xref = out.size();
    out += "xref\n0 " + std::to_string(offsets.size()) + "\n0000000000 65535 f \n";
    char entry[32];
    for (size_t i = 1; i < offsets.size(); ++i) {
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offsets[i]);
        out += entry;
    }
    out += "trailer\n<< /Size " + std::to_string(offsets.size()) +
           " /Root 1 0 R /Info 4 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    *pdf = std::move(out);
    out.clear();
    pages.clear();
    return true;
}

namespace {

// A text item shaped: its glyph runs, positions from the baseline's origin, and where its
// spaces are, so that a justified line's wider spaces can be put back.
struct Shaped {
    QList<QGlyphRun> runs;
    double width = 0;
    std::vector<double> spaces;  // x of each space glyph, in order
};

// The paint engine: QPainter's calls turned into content of the device's current page.
class PdfEngine final : public QPaintEngine {
  public:
    explicit PdfEngine(PdfDevice::Doc* doc) : QPaintEngine(AllFeatures), doc_(doc) {}
    bool begin(QPaintDevice*) override;
    bool end() override;
    void updateState(const QPaintEngineState& state) override;
    using QPaintEngine::drawLines;
    using QPaintEngine::drawPolygon;
    using QPaintEngine::drawRects;
    void drawRects(const QRectF* rects, int count) override;
    void drawLines(const QLineF* lines, int count) override;
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override;
    void drawPath(const QPainterPath& path) override;
    void drawPixmap(const QRectF& r, const QPixmap& pm, const QRectF& sr) override;
    void drawImage(const QRectF& r, const QImage& image, const QRectF& sr,
                   Qt::ImageConversionFlags) override;
    void drawTextItem(const QPointF& p, const QTextItem& item) override;
    Type type() const override { return User; }

  private:
    // Fills and strokes what the content just traced, as the brush and pen say.
    void Paint(Qt::FillRule rule);
    void Stroke(const QPainterPath& path);  // with the pen alone
    bool Inked(const QTransform& m);
    PdfDevice::Doc* doc_;
    std::unordered_map<QString, Shaped> shapes_;
    struct FontKey {
        QFont font;
        double ascent;
        QString key;
    };
    const QString& KeyOf(const QFont& font);
    std::vector<FontKey> fontKeys_;  // the last fonts met, newest first
    QTransform m_;
    QPen pen_;
    QBrush brush_;
    double opacity_ = 1;
};

bool PdfEngine::begin(QPaintDevice*) {
    if (doc_->begun) return false;
    doc_->begun = true;
    doc_->StartPage();
    return true;
}

bool PdfEngine::end() {
    doc_->EndPage();
    doc_->ended = true;
    return true;
}

void PdfEngine::updateState(const QPaintEngineState& state) {
    const DirtyFlags flags = state.state();
    if (flags & DirtyTransform) m_ = state.transform();
    if (flags & DirtyPen) pen_ = state.pen();
    if (flags & DirtyBrush) brush_ = state.brush();
    if (flags & DirtyOpacity) opacity_ = state.opacity();
    if (flags & (DirtyClipPath | DirtyClipRegion | DirtyClipEnabled)) {
        QPainter* p = painter();
        doc_->clipOn = p && p->hasClipping();
        doc_->clip = doc_->clipOn ? p->combinedTransform().map(p->clipPath()) : QPainterPath();
        doc_->clipDirty = true;
    }
}

void PdfEngine::Paint(Qt::FillRule rule) {
    const bool fill = brush_.style() != Qt::NoBrush;
    const bool stroke = pen_.style() != Qt::NoPen;
    const bool oddEven = rule == Qt::OddEvenFill;
    doc_->content += fill && stroke ? (oddEven ? "B*\n" : "B\n")
                     : fill         ? (oddEven ? "f*\n" : "f\n")
                                    : "S\n";
}

// Sets the clip, the fill and the stroke for what is drawn next under m; false when nothing
// would show.
bool PdfEngine::Inked(const QTransform& m) {
    if (!doc_->open || (pen_.style() == Qt::NoPen && brush_.style() == Qt::NoBrush)) return false;
    doc_->ApplyClip();
    const auto alpha = [this](QRgb c) {
        return static_cast<int>(std::lround(qAlpha(c) * opacity_));
    };
    int fillAlpha = doc_->ink.alpha >> 8, strokeAlpha = doc_->ink.alpha & 0xFF;
    if (brush_.style() != Qt::NoBrush) {
        doc_->SetFill(BrushColour(brush_));
        fillAlpha = alpha(BrushColour(brush_));
    }
    if (pen_.style() != Qt::NoPen) {
        doc_->SetStroke(pen_, std::sqrt(std::abs(m.determinant())));
        strokeAlpha = alpha(pen_.color().rgba());
    }
    doc_->SetAlpha(fillAlpha, strokeAlpha);
    return true;
}

void PdfEngine::drawPath(const QPainterPath& path) {
    const QTransform m = m_ * doc_->page;
    if (path.isEmpty() || !Inked(m)) return;
    pdf::AppendPath(doc_->content, path, m);
    Paint(path.fillRule());
}

// Filled rectangles that stay upright on the page are written as rectangles (re), with the
// corners the path would have: the same fill (even-odd, as the path's). Stroked ones keep
// their path, which renderers snap to pixels otherwise than a rectangle.
void PdfEngine::drawRects(const QRectF* rects, int count) {
    const QTransform m = m_ * doc_->page;
    const auto kept = [](const QRectF& r) {
        return !r.isNull() && std::isfinite(r.x()) && std::isfinite(r.y()) &&
               std::isfinite(r.width()) && std::isfinite(r.height());
    };
    if (m.type() > QTransform::TxScale || pen_.style() != Qt::NoPen) {
        QPainterPath path;
        for (int i = 0; i < count; ++i) path.addRect(rects[i]);
        return drawPath(path);
    }
    if (std::none_of(rects, rects + count, kept) || !Inked(m)) return;
    std::string& out = doc_->content;
    for (int i = 0; i < count; ++i) {
        if (!kept(rects[i])) continue;
        const QPointF a = m.map(rects[i].topLeft()), b = m.map(rects[i].bottomRight());
        const double x = pdf::Rounded(a.x()), y = pdf::Rounded(a.y());
        AppendPoint(out, {x, y});
        AppendPoint(out, {pdf::Rounded(b.x()) - x, pdf::Rounded(b.y()) - y});
        out += "re\n";
    }
    Paint(Qt::OddEvenFill);
}

void PdfEngine::Stroke(const QPainterPath& path) {
    const QBrush brush = std::exchange(brush_, QBrush());
    drawPath(path);
    brush_ = brush;
}

void PdfEngine::drawLines(const QLineF* lines, int count) {
    QPainterPath path;
    for (int i = 0; i < count; ++i) {
        path.moveTo(lines[i].p1());
        path.lineTo(lines[i].p2());
    }
    Stroke(path);
}

void PdfEngine::drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) {
    if (count < 2) return;
    QPainterPath path;
    path.moveTo(points[0]);
    for (int i = 1; i < count; ++i) path.lineTo(points[i]);
    if (mode == PolylineMode) return Stroke(path);
    path.closeSubpath();
    path.setFillRule(mode == OddEvenMode ? Qt::OddEvenFill : Qt::WindingFill);
    drawPath(path);
}

void PdfEngine::drawPixmap(const QRectF& r, const QPixmap& pm, const QRectF& sr) {
    drawImage(r, pm.toImage(), sr, Qt::AutoColor);
}

void PdfEngine::drawImage(const QRectF& r, const QImage& image, const QRectF& sr,
                          Qt::ImageConversionFlags) {
    const QRect whole = image.rect();
    const QRect part = sr.toAlignedRect().intersected(whole);
    doc_->DrawImage(m_ * doc_->page, r, part == whole ? image : image.copy(part));
}

Shaped Shape(const QString& text, const QFont& font, bool rightToLeft) {
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    if (rightToLeft) option.setTextDirection(Qt::RightToLeft);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    Shaped shaped;
    if (!line.isValid()) return shaped;
    shaped.width = line.naturalTextWidth();
    shaped.runs = layout.glyphRuns();
    for (QGlyphRun& run : shaped.runs) {
        const QList<quint32> space = run.rawFont().glyphIndexesForString(QStringLiteral(" "));
        QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < positions.size(); ++i) {
            positions[i].ry() -= line.ascent();
            if (!space.isEmpty() && run.glyphIndexes().value(i) == space[0])
                shaped.spaces.push_back(positions[i].x());
        }
        run.setPositions(positions);
    }
    std::sort(shaped.spaces.begin(), shaped.spaces.end());
    return shaped;
}

// A font's key says all but its resolution, which its ascent tells (its bits, as 4 characters).
const QString& PdfEngine::KeyOf(const QFont& font) {
    const double ascent = QFontMetricsF(font).ascent();
    for (const FontKey& k : fontKeys_)
        if (k.ascent == ascent && k.font == font) return k.key;
    quint64 bits;
    std::memcpy(&bits, &ascent, sizeof bits);
    QString key = font.key() + QChar(0);
    for (int shift = 0; shift < 64; shift += 16) key += QChar(static_cast<char16_t>(bits >> shift));
    if (fontKeys_.size() >= 16) fontKeys_.pop_back();
    fontKeys_.insert(fontKeys_.begin(), {font, ascent, std::move(key)});
    return fontKeys_.front().key;
}

// Text the painter lays out (drawText, QTextDocument) is shaped again from the item's text
// and font, at the font's own resolution, and drawn through the glyph path. Shapes are kept:
// a class set repeats its texts many times.
void PdfEngine::drawTextItem(const QPointF& p, const QTextItem& item) {
    const QString text = item.text();
    if (text.isEmpty()) return;
    const QFont font = item.font();
    const bool rightToLeft = item.renderFlags() & QTextItem::RightToLeft;
    QString key = KeyOf(font) + (rightToLeft ? 'r' : 'l') + text;
    auto it = shapes_.find(key);
    if (it == shapes_.end()) {
        if (shapes_.size() > 1024) shapes_.clear();
        it = shapes_.emplace(std::move(key), Shape(text, font, rightToLeft)).first;
    }
    const Shaped& shaped = it->second;
    // A justified line widens its spaces: each glyph moves by the room of the spaces before it.
    const double extra = item.width() - shaped.width;
    const bool widen = extra > 0.01 && !shaped.spaces.empty() && !rightToLeft;
    const double perSpace = widen ? extra / static_cast<double>(shaped.spaces.size()) : 0;
    for (const QGlyphRun& run : shaped.runs) {
        QList<QPointF> positions = run.positions();
        for (QPointF& q : positions) {
            const auto before = std::lower_bound(shaped.spaces.begin(), shaped.spaces.end(), q.x());
            q += p + QPointF(perSpace * static_cast<double>(before - shaped.spaces.begin()), 0);
        }
        doc_->DrawGlyphs(m_, run.rawFont(), run.glyphIndexes(), positions, pen_.color());
    }
}

}  // namespace

PdfDevice::PdfDevice(const QPageLayout& layout, int resolution, QString title, QString creator)
    : doc_(std::make_unique<Doc>(layout, resolution, std::move(title), std::move(creator))),
      engine_(std::make_unique<PdfEngine>(doc_.get())) {}

PdfDevice::~PdfDevice() = default;

bool PdfDevice::newPage() {
    if (!doc_->open) return false;
    doc_->EndPage();
    doc_->StartPage();
    return true;
}

QPageLayout PdfDevice::pageLayout() const {
    return doc_->layout;
}

int PdfDevice::resolution() const {
    return doc_->res;
}

void PdfDevice::DrawGlyphs(const QTransform& transform, const QRawFont& font,
                           const QList<quint32>& glyphs, const QList<QPointF>& positions,
                           const QColor& colour) {
    doc_->DrawGlyphs(transform, font, glyphs, positions, colour);
}

void PdfDevice::DeflateBeside(Beside& worker) {
    doc_->beside = &worker;
    doc_->besideDeflater = std::make_shared<Deflater>();
}

bool PdfDevice::Finish(std::string* pdf, QString* why) {
    return doc_->Finish(pdf, why);
}

QPaintEngine* PdfDevice::paintEngine() const {
    return engine_.get();
}

int PdfDevice::metric(PaintDeviceMetric metric) const {
    const QPageLayout& l = doc_->layout;
    switch (metric) {
        case PdmWidth:
            return l.paintRectPixels(doc_->res).width();
        case PdmHeight:
            return l.paintRectPixels(doc_->res).height();
        case PdmWidthMM:
            return qRound(l.paintRect(QPageLayout::Millimeter).width());
        case PdmHeightMM:
            return qRound(l.paintRect(QPageLayout::Millimeter).height());
        case PdmNumColors:
            return INT_MAX;
        case PdmDepth:
            return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return doc_->res;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
        default:
            return QPaintDevice::metric(metric);
    }
}

}  // namespace equat
