// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/typeset.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <tuple>

#include "platform/pdfdevice.h"
#include "platform/rtfqt.h"
#include "rtf/tablegrid.h"

namespace equat::typeset {

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kTwipsPerPixel = 15.0;
// A table's cells, as Qt sets a table of a one-pixel border and three pixels of padding at
// 1440 dots per inch: the border's width, the text's offset from its cell's top left corner,
// what a cell takes beyond its text, and what the table takes beyond its cells.
constexpr double kRule = kTwipsPerPixel;
constexpr double kCellInset = 75.5;
constexpr double kCellExtra = 105;
constexpr double kTableExtra = 46;
constexpr char16_t kLineSeparator = 0x2028;
constexpr char16_t kObject = 0xFFFC;
constexpr char16_t kNoBreakSpace = 0xA0;

bool IsSign(QChar c) {
    return c == '-' || c == '+' || c == QChar(0x2212);
}

bool IsSpace(QChar c) {
    return c == ' ' || c == QChar(kNoBreakSpace);
}

// A space a line may end after (not a no-break space).
bool Breakable(QChar c) {
    if (c == ' ') return true;  // by far the most common, without Unicode's tables
    return c.isSpace() && c.decompositionTag() != QChar::NoBreak && c != QChar(kLineSeparator);
}

// FNV-1a over the text, four UTF-16 units at a time, each step's high bits folded down, then
// mixed: the texts are short, and a table takes the hash's low bits.
std::size_t HashOf(QStringView text, std::uint64_t seed) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.utf16());
    std::size_t n = static_cast<std::size_t>(text.size()) * 2;
    std::uint64_t h = (14695981039346656037ULL ^ seed) + n;
    const auto step = [&h](std::uint64_t w) {
        h = (h ^ w) * 1099511628211ULL;
        h ^= h >> 32;
    };
    for (; n >= 8; bytes += 8, n -= 8) {
        std::uint64_t w = 0;
        std::memcpy(&w, bytes, 8);
        step(w);
    }
    if (n > 0) {
        std::uint64_t w = 0;
        std::memcpy(&w, bytes, n);
        step(w);
    }
    h *= 0xFF51AFD7ED558CCDULL;
    return static_cast<std::size_t>(h ^ (h >> 33));
}

// Values by a seed and a text, found by a view of the text: no copy unless new. Open
// addressing over a power of two of slots, no division a look-up; a value stays where it is
// until Clear, so layouts may point at it.
template <class Value>
class TextTable {
  public:
    Value* Find(std::uint32_t seed, QStringView text) const {
        if (slots_.empty()) return nullptr;
        const std::size_t hash = HashOf(text, seed);
        for (std::size_t i = hash & Mask(); slots_[i].entry; i = (i + 1) & Mask()) {
            Entry& e = *slots_[i].entry;
            if (slots_[i].hash == hash && e.seed == seed && e.text.size() == text.size() &&
                std::equal(text.begin(), text.end(), e.text.constBegin()))
                return &e.value;
        }
        return nullptr;
    }

    Value& Add(std::uint32_t seed, QStringView text, Value value) {
        if ((entries_.size() + 1) * 2 > slots_.size()) Grow();
        entries_.push_back(std::make_unique<Entry>(Entry{seed, text.toString(), std::move(value)}));
        Place(HashOf(text, seed), entries_.back().get());
        return entries_.back()->value;
    }

    std::size_t Size() const { return entries_.size(); }
    void Clear() {
        slots_.clear();
        entries_.clear();
    }

  private:
    struct Entry {
        std::uint32_t seed;
        QString text;
        Value value;
    };
    struct Slot {
        std::size_t hash = 0;
        Entry* entry = nullptr;
    };
    std::size_t Mask() const { return slots_.size() - 1; }
    void Place(std::size_t hash, Entry* e) {
        std::size_t i = hash & Mask();
        while (slots_[i].entry) i = (i + 1) & Mask();
        slots_[i] = {hash, e};
    }
    void Grow() {
        const std::vector<Slot> old = std::move(slots_);
        slots_.assign(std::max<std::size_t>(256, old.size() * 2), Slot{});
        for (const Slot& slot : old)
            if (slot.entry) Place(slot.hash, slot.entry);
    }

    std::vector<std::unique_ptr<Entry>> entries_;
    std::vector<Slot> slots_;
};

bool IsAscii(const std::string& bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Appends UTF-8 as QString::fromUtf8 reads it; plain ASCII without a temporary string.
void AppendUtf8(QString& to, const std::string& utf8) {
    if (IsAscii(utf8))
        to.append(QLatin1String(utf8.data(), static_cast<qsizetype>(utf8.size())));
    else
        to.append(QString::fromStdString(utf8));
}

}  // namespace

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

qsizetype Utf16Size(const std::string& utf8) {
    return IsAscii(utf8) ? static_cast<qsizetype>(utf8.size())
                         : QString::fromStdString(utf8).size();
}

void GlueValues(QString& text) {
    const qsizetype n = text.size();
    QChar* const c = n > 0 ? text.data() : nullptr;  // detached once, not at every character
    const auto glue = [&](qsizetype j, int step) {
        for (; j >= 0 && j < n && IsSpace(c[j]); j += step) c[j] = QChar(kNoBreakSpace);
    };
    for (qsizetype k = 0; k < n; ++k) {
        if (c[k] == '=' || c[k] == QChar(0x2248)) {
            glue(k - 1, -1);
            glue(k + 1, 1);
        } else if (IsSign(c[k]) && (k == 0 || IsSpace(c[k - 1]))) {
            glue(k + 1, 1);
        }
    }
}

namespace {

// What a font of the documents is shaped from: its name, size and look.
using FontKey = std::tuple<std::string, int, int, bool, bool, int>;

struct FontEntry {
    int id = 0;
    QFont shaping;  // the glyphs' font: two thirds as large for a superscript or a subscript
    Style metrics;  // of the full-size font, as the line takes them
};

// Everything shaped so far by this thread: fonts, then words in a font.
class Shaper {
  public:
    const FontEntry& Font(const rtf::CharFormat& f, const std::vector<rtf::Font>& fonts) {
        const bool named = f.font >= 0 && f.font < static_cast<int>(fonts.size());
        const rtf::Font* font = named ? &fonts[static_cast<std::size_t>(f.font)] : nullptr;
        const FontKey key{font ? font->name : std::string(),
                          font ? static_cast<int>(rtf::EncodingOf(*font)) : -1,
                          f.size,
                          f.bold,
                          f.italic,
                          static_cast<int>(f.valign)};
        auto it = fonts_.find(key);
        if (it == fonts_.end()) it = fonts_.emplace(key, Make(f, fonts)).first;
        return it->second;
    }

    // The shape of a word; the layout keeps the words it was set from (see Words).
    const Shape& Word(const FontEntry& font, QStringView text, Layout& layout) {
        const auto id = static_cast<std::uint32_t>(font.id);
        const Shape* shape = words_->shapes.Find(id, text);
        if (!shape) {
            // A long session starts afresh now and then; layouts keep the words they use.
            if (words_->shapes.Size() >= kMostWords) words_ = std::make_shared<Words>();
            shape = &words_->shapes.Add(id, text, ShapeOf(font.shaping, text));
        }
        if (layout.words.empty() || layout.words.back().get() != words_.get())
            layout.words.push_back(words_);
        return *shape;
    }

  private:
    FontEntry Make(const rtf::CharFormat& f, const std::vector<rtf::Font>& fonts) {
        rtf::CharFormat plain = f;
        plain.valign = rtf::VAlign::Baseline;
        const QFont font(ToQtFormat(plain, fonts).font().resolve(DocumentFont()), &TwipDevice());
        FontEntry e;
        e.id = static_cast<int>(fonts_.size()) + 1;
        const QFontMetricsF m(font, &TwipDevice());
        e.metrics.ascent = m.ascent();
        e.metrics.descent = m.descent();
        e.metrics.leading = m.leading();
        e.metrics.lineWidth = m.lineWidth();
        e.metrics.underlinePosition = m.underlinePos();
        e.metrics.strikePosition = m.strikeOutPos();
        e.shaping = font;
        // As Qt sets them: two thirds of the size, the baseline half the line's height up, or
        // a sixth down.
        if (f.valign != rtf::VAlign::Baseline) {
            if (font.pointSize() != -1)
                e.shaping.setPointSize(font.pointSize() * 2 / 3);
            else
                e.shaping.setPixelSize(font.pixelSize() * 2 / 3);
            const double height = m.ascent() + m.descent();
            e.metrics.shift = f.valign == rtf::VAlign::Super ? -height / 2 : height / 6;
        }
        return e;
    }

    static Shape ShapeOf(const QFont& font, QStringView text) {
        QTextLayout layout(text.toString(), font, &TwipDevice());
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        layout.setTextOption(option);
        layout.setCacheEnabled(true);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        layout.endLayout();
        Shape s;
        if (!line.isValid()) return s;
        s.width = line.horizontalAdvance();
        const double baseline = line.y() + line.ascent();
        for (const QGlyphRun& run : GlyphRuns(layout, line)) {
            Glyphs& g = s.runs.emplace_back();
            g.font = run.rawFont();
            g.indexes = run.glyphIndexes();
            g.positions = run.positions();
            // On the baseline exactly: Qt's fixed-point glyph positions stray by a 64th of a
            // unit, enough for a text extractor to read a word as standing on another line.
            for (QPointF& p : g.positions) p.ry() = std::round((p.y() - baseline) * 8) / 8;
        }
        return s;
    }

    // The layout's glyph runs, which merge its line's runs of one font and flags. Most words
    // have a single font: their line's runs, joined, are that merged run at half the cost.
    static QList<QGlyphRun> GlyphRuns(const QTextLayout& layout, const QTextLine& line) {
        QList<QGlyphRun> runs = line.glyphRuns(0, static_cast<int>(layout.text().size()));
        if (runs.size() < 2) return runs;
        const QRawFont font = runs.front().rawFont();
        const auto flags = runs.front().flags();
        QList<quint32> indexes;
        QList<QPointF> positions;
        for (const QGlyphRun& run : runs) {
            if (run.rawFont() != font || run.flags() != flags) return layout.glyphRuns();
            indexes += run.glyphIndexes();
            positions += run.positions();
        }
        runs.front().setGlyphIndexes(indexes);
        runs.front().setPositions(positions);
        runs.resize(1);
        return runs;
    }

    std::map<FontKey, FontEntry> fonts_;
    // Words by their font's id, looked up by a view of the paragraph's text.
    struct Words {
        TextTable<Shape> shapes;
    };
    static constexpr std::size_t kMostWords = 100'000;
    std::shared_ptr<Words> words_ = std::make_shared<Words>();
};

Shaper& ThreadShaper() {
    thread_local Shaper shaper;
    return shaper;
}

// Where a line may end in a paragraph's text, for every text a thread has set: the copies of
// a class set share their titles, separators and many of their lines.
class BreakCache {
  public:
    // Where Unicode's rules allow it, after spaces that may break, and on either side of a
    // tab, which a line takes whole or not at all, as Qt's lines do; after a line break, which
    // Qt's finder misses after digits and Qt's lines never do; the text's end last.
    const std::vector<qsizetype>& Of(const QString& text) {
        if (const auto* found = breaks_.Find(0, text)) return *found;
        if (breaks_.Size() >= kMostTexts) breaks_.Clear();
        return breaks_.Add(0, text, Find(text));
    }

  private:
    std::vector<qsizetype> Find(const QString& text) {
        std::vector<qsizetype> breaks;
        // Qt's attributes, a byte a character, in a buffer kept from text to text.
        const auto need = static_cast<std::size_t>(text.size() + 1) * 2;
        if (attributes_.size() < need) attributes_.resize(need);
        QTextBoundaryFinder finder(QTextBoundaryFinder::Line, QStringView(text), attributes_.data(),
                                   static_cast<qsizetype>(attributes_.size()));
        for (qsizetype at = finder.toNextBoundary(); at > 0; at = finder.toNextBoundary())
            breaks.push_back(at);
        for (qsizetype k = 0; k < text.size(); ++k) {
            if (text[k] == '\t') breaks.insert(breaks.end(), {k, k + 1});
            if (text[k] == QChar(kLineSeparator)) breaks.push_back(k + 1);
            if (Breakable(text[k]) && k + 1 < text.size() && !Breakable(text[k + 1]))
                breaks.push_back(k + 1);
        }
        breaks.push_back(text.size());
        std::sort(breaks.begin(), breaks.end());
        breaks.erase(std::unique(breaks.begin(), breaks.end()), breaks.end());
        breaks.erase(std::remove_if(breaks.begin(), breaks.end(),
                                    [&](qsizetype b) { return b <= 0 || b > text.size(); }),
                     breaks.end());
        return breaks;
    }

    static constexpr std::size_t kMostTexts = 20'000;
    TextTable<std::vector<qsizetype>> breaks_;
    std::vector<unsigned char> attributes_;
};

BreakCache& ThreadBreaks() {
    thread_local BreakCache breaks;
    return breaks;
}

// A paragraph's text with, for each character, its style and its picture.
struct Text {
    QString chars;
    std::vector<int> styles;
    std::vector<const PngPicture*> pictures;
};

class Setter {
  public:
    Setter(const rtf::Document& doc, int tabTwips, Layout& out)
        : doc_(doc),
          tab_(std::max(tabTwips, 1)),
          out_(out),
          shaper_(ThreadShaper()),
          breaks_(ThreadBreaks()) {}

    // Sets paragraph p at width, its first line at top; returns its block.
    Block Paragraph(const rtf::Paragraph& p, double width, double top, int position) {
        Block b;
        b.position = position;
        TextOf(p);
        b.text = text_.chars;
        b.length = static_cast<int>(text_.chars.size()) + 1;
        b.spaceAfter = p.spaceAfter;
        b.top = top;
        Fill(b, text_, p, width);
        if (b.lines.empty()) {
            Line& line = b.lines.emplace_back();
            line.position = position;
            const Style& mark = out_.styles[static_cast<std::size_t>(StyleOf(p.mark))];
            Measure(line, mark.ascent, mark.descent, mark.leading, p.lineSpacing);
        }
        double y = top;
        for (Line& line : b.lines) {
            line.top = y;
            y += line.advance;
        }
        b.bottom = y;
        Align(b, p.align, width);
        return b;
    }

    int StyleOf(const rtf::CharFormat& f) {
        // Runs mostly repeat the format just seen.
        if (last_ < formats_.size() && formats_[last_] == f) return static_cast<int>(last_);
        for (std::size_t k = 0; k < formats_.size(); ++k)
            if (formats_[k] == f) return static_cast<int>(last_ = k);
        const FontEntry& font = shaper_.Font(f, doc_.fonts);
        Style s = font.metrics;
        if (f.colour) s.colour = QColor(f.colour->r, f.colour->g, f.colour->b);
        if (f.highlight) s.highlight = QColor(f.highlight->r, f.highlight->g, f.highlight->b);
        s.underline = f.underline;
        s.strike = f.strike;
        formats_.push_back(f);
        fonts_.push_back(&font);
        out_.styles.push_back(s);
        last_ = formats_.size() - 1;
        return static_cast<int>(last_);
    }

  private:
    // The paragraph's text into text_, whose buffers serve paragraph after paragraph.
    void TextOf(const rtf::Paragraph& p) {
        Text& t = text_;
        std::size_t most = 0;  // UTF-8 has at least as many bytes as UTF-16 units
        for (const rtf::Run& r : p.runs) most += r.text.size() + (r.picture ? 1 : 0);
        t.chars = QString();
        if (most > 0) t.chars.reserve(static_cast<qsizetype>(most));
        t.styles.clear();
        t.pictures.clear();
        t.styles.reserve(most);
        t.pictures.reserve(most);
        for (const rtf::Run& r : p.runs) {
            const int style = StyleOf(r.format);
            const qsizetype before = t.chars.size();
            AppendUtf8(t.chars, r.text);
            const auto added = static_cast<std::size_t>(t.chars.size() - before);
            t.styles.insert(t.styles.end(), added, style);
            t.pictures.insert(t.pictures.end(), added, nullptr);
            if (r.picture) {
                t.chars += QChar(kObject);
                t.styles.push_back(style);
                t.pictures.push_back(&*r.picture);
            }
        }
        GlueValues(t.chars);
    }

    // Qt's line: its height, and its advance to the next line: that height rounded up to a
    // whole twip, times the paragraph's spacing.
    static void Measure(Line& line, double ascent, double descent, double leading,
                        int lineSpacing) {
        line.ascent = ascent;
        line.height = ascent + descent + std::max(leading, 0.0);
        line.advance = std::ceil(line.height);
        if (lineSpacing > 0) line.advance *= lineSpacing / 240.0;
    }

    // A line's metrics as Qt merges its items': the leading is what the highest leading
    // reaches above the highest ascent.
    struct Metrics {
        double ascent = 0, descent = 0, leading = 0;
        bool any = false;
        void Take(double a, double d, double l) {
            const double top = std::max(ascent + leading, a + l);
            ascent = std::max(ascent, a);
            descent = std::max(descent, d);
            leading = top - ascent;
            any = true;
        }
        void Merge(const Metrics& other) {
            if (other.any) Take(other.ascent, other.descent, other.leading);
        }
    };

    // A piece of a segment: a run of one style, a tab or a picture.
    struct Piece {
        int style = 0;
        const Shape* shape = nullptr;
        const PngPicture* picture = nullptr;
        bool tab = false, space = false;
        qsizetype from = 0;
    };

    // The pieces of [from, to): runs of one style, each tab and each picture apart.
    void Pieces(const Text& t, qsizetype from, qsizetype to, std::vector<Piece>& out) {
        qsizetype k = from;
        while (k < to) {
            Piece piece;
            piece.from = k;
            piece.style = t.styles[std::size_t(k)];
            const QChar c = t.chars[k];
            if (c == '\t' || t.pictures[std::size_t(k)]) {
                piece.tab = c == '\t';
                piece.picture = t.pictures[std::size_t(k)];
                out.push_back(piece);
                ++k;
                continue;
            }
            qsizetype e = k + 1;
            while (e < to && t.styles[std::size_t(e)] == piece.style && t.chars[e] != '\t' &&
                   !t.pictures[std::size_t(e)])
                ++e;
            const QStringView text = QStringView(t.chars).mid(k, e - k);
            piece.space = std::all_of(text.begin(), text.end(), Breakable);
            piece.shape = &shaper_.Word(*fonts_[std::size_t(piece.style)], text, out_);
            out.push_back(piece);
            k = e;
        }
    }

    double TabWidth(double x) const { return (std::floor(x / tab_) + 1) * tab_ - x; }

    double WidthAt(const Piece& p, double x) const {
        if (p.tab) return TabWidth(x);
        if (p.picture) return p.picture->width;
        return p.shape ? p.shape->width : 0;
    }

    // The width pieces take from x, tabs included.
    double Width(const std::vector<Piece>& pieces, std::size_t from, std::size_t to,
                 double x) const {
        const double start = x;
        for (std::size_t k = from; k < to; ++k) x += WidthAt(pieces[k], x);
        return x - start;
    }

    // Places pieces [from, to) at x on the line; returns the x after them.
    double Place(Line& line, Metrics& m, const std::vector<Piece>& pieces, std::size_t from,
                 std::size_t to, double x) {
        for (std::size_t k = from; k < to; ++k) {
            const Piece& p = pieces[k];
            const Style& s = out_.styles[std::size_t(p.style)];
            Item item;
            item.x = x;
            item.style = p.style;
            item.width = WidthAt(p, x);
            item.shape = p.shape;
            item.space = p.space;
            if (p.picture) {
                item.picture = p.picture;
                item.height = p.picture->height;
                m.Take(p.picture->height, 0, 0);
            } else {
                m.Take(s.ascent, s.descent, s.leading);
            }
            x += item.width;
            line.items.push_back(item);
        }
        return x;
    }

    // Lines of the paragraph's text, filled word after word; a word wider than the line is
    // cut anywhere.
    // The state of the paragraph's line being filled.
    struct Filling {
        Block& block;
        const Text& text;
        const rtf::Paragraph& paragraph;
        double width;
        Line line{};
        Metrics m{}, trailing{};  // the line's; its trailing spaces', which count once followed
        double x = 0, natural = 0;
    };

    // Ends the line; the next starts at character next. Trailing spaces count on a line
    // that ends its paragraph or a forced break, not on one that wraps.
    void Close(Filling& f, qsizetype next, bool forced) {
        if (forced) f.m.Merge(f.trailing);
        if (!f.m.any) {
            const Style& mark = out_.styles[std::size_t(StyleOf(f.paragraph.mark))];
            f.m.Take(mark.ascent, mark.descent, mark.leading);
        }
        Measure(f.line, f.m.ascent, f.m.descent, f.m.leading, f.paragraph.lineSpacing);
        natural_.push_back({f.natural, forced});
        // A copy as large as its items: the line being filled keeps its buffer.
        f.block.lines.push_back(f.line);
        std::vector<Item> buffer = std::move(f.line.items);
        buffer.clear();
        f.line = Line{};
        f.line.items = std::move(buffer);
        f.line.position = f.block.position + static_cast<int>(next);
        f.m = f.trailing = Metrics{};
        f.x = f.natural = 0;
    }

    // As Qt does: a tab goes on a line not yet full, and ends the line it fills.
    void PlaceTab(Filling& f, qsizetype at, std::vector<Piece>& pieces) {
        if (!f.line.items.empty() && f.x > f.width + 0.01) Close(f, at, false);
        f.m.Merge(f.trailing);
        f.trailing = Metrics{};
        pieces.clear();
        Pieces(f.text, at, at + 1, pieces);
        f.x = f.natural = Place(f.line, f.m, pieces, 0, pieces.size(), f.x);
        if (f.x > f.width + 0.01) Close(f, at + 1, false);
    }

    // Places the segment [start, end): its word on this line or the next (cut when wider
    // than a line), its spaces after it.
    void PlaceSegment(Filling& f, qsizetype start, qsizetype end, std::vector<Piece>& pieces) {
        const bool forced = f.text.chars[end - 1] == QChar(kLineSeparator);
        const qsizetype stop = forced ? end - 1 : end;
        qsizetype body = stop;
        // Spaces at a line's end hang past its edge, as in Qt.
        while (body > start && Breakable(f.text.chars[body - 1]) && f.text.chars[body - 1] != '\t')
            --body;
        pieces.clear();
        Pieces(f.text, start, body, pieces);
        const std::size_t words = pieces.size();
        Pieces(f.text, body, stop, pieces);
        if (!f.line.items.empty() && f.x + Width(pieces, 0, words, f.x) > f.width + 0.01)
            Close(f, start, false);
        if (words > 0) {
            f.m.Merge(f.trailing);
            f.trailing = Metrics{};
        }
        if (f.line.items.empty() && Width(pieces, 0, words, 0) > f.width + 0.01)
            Cut(f, start, body);
        else
            f.x = Place(f.line, f.m, pieces, 0, words, f.x);
        f.natural = f.x;
        f.x = Place(f.line, f.trailing, pieces, words, pieces.size(), f.x);
        if (forced) Close(f, end, true);
    }

    // Lines of the paragraph's text, filled word after word.
    void Fill(Block& b, const Text& t, const rtf::Paragraph& p, double width) {
        const qsizetype n = t.chars.size();
        if (n == 0) return;
        Filling f{b, t, p, width};
        f.line.position = b.position;
        f.line.items = std::move(items_);
        f.line.items.clear();
        qsizetype start = 0;
        for (const qsizetype end : breaks_.Of(t.chars)) {
            if (t.chars[start] == '\t' && end == start + 1)
                PlaceTab(f, start, pieces_);
            else
                PlaceSegment(f, start, end, pieces_);
            start = end;
        }
        if (!f.line.items.empty() || b.lines.empty() || t.chars.endsWith(QChar(kLineSeparator)))
            Close(f, n, true);
        items_ = std::move(f.line.items);
        out_.idealWidth = std::max(out_.idealWidth, MaxNatural());
    }

    // A word wider than a line, a character at a time.
    void Cut(Filling& f, qsizetype from, qsizetype to) {
        std::vector<Piece> one;
        for (qsizetype k = from; k < to; ++k) {
            one.clear();
            Pieces(f.text, k, k + 1, one);
            if (!f.line.items.empty() && f.x + Width(one, 0, one.size(), f.x) > f.width + 0.01) {
                f.natural = f.x;
                Close(f, k, false);
            }
            f.x = Place(f.line, f.m, one, 0, one.size(), f.x);
        }
    }

    double MaxNatural() const {
        double w = 0;
        for (const auto& [natural, forced] : natural_) w = std::max(w, natural);
        return w;
    }

    void Align(Block& b, rtf::Align align, double width) {
        for (std::size_t k = 0; k < b.lines.size() && k < natural_.size(); ++k) {
            Line& line = b.lines[k];
            const double extra = width - natural_[k].first;
            if (extra <= 0) continue;
            double shift = 0;
            if (align == rtf::Align::Center) shift = extra / 2;
            if (align == rtf::Align::Right) shift = extra;
            if (align == rtf::Align::Justify && !natural_[k].second && k + 1 < b.lines.size()) {
                Justify(line, extra);
                continue;
            }
            for (Item& item : line.items) item.x += shift;
        }
        natural_.clear();
    }

    // Spreads extra over the spaces between the line's words.
    static void Justify(Line& line, double extra) {
        std::vector<std::size_t> gaps;
        std::size_t lastWord = 0;
        for (std::size_t k = 0; k < line.items.size(); ++k)
            if (!line.items[k].space) lastWord = k;
        for (std::size_t k = 0; k + 1 < line.items.size() && k < lastWord; ++k)
            if (line.items[k].space) gaps.push_back(k);
        if (gaps.empty()) return;
        const double each = extra / static_cast<double>(gaps.size());
        double shift = 0;
        std::size_t g = 0;
        for (std::size_t k = 0; k < line.items.size(); ++k) {
            line.items[k].x += shift;
            if (g < gaps.size() && gaps[g] == k) {
                line.items[k].width += each;
                shift += each;
                ++g;
            }
        }
    }

    const rtf::Document& doc_;
    double tab_;
    Layout& out_;
    Shaper& shaper_;
    BreakCache& breaks_;
    std::vector<rtf::CharFormat> formats_;
    std::size_t last_ = 0;  // the style found last
    std::vector<const FontEntry*> fonts_;
    std::vector<std::pair<double, bool>> natural_;
    // Buffers that serve paragraph after paragraph.
    Text text_;
    std::vector<Piece> pieces_;
    std::vector<Item> items_;
};

// Lays out the document's paragraphs and tables one under another.
class DocumentSetter {
  public:
    DocumentSetter(const rtf::Document& doc, double width, int tab,
                   const std::vector<double>& alignTops, Layout& out)
        : doc_(doc), width_(width), alignTops_(alignTops), out_(out), setter_(doc, tab, out) {}

    void Run() {
        const auto& ps = doc_.paragraphs;
        double y = 0;
        double spaceBefore = 0;
        int position = 0;
        out_.blocks.reserve(ps.size());
        for (std::size_t k = 0; k < ps.size();) {
            if (k > 0) y += spaceBefore;
            if (k < alignTops_.size()) y = std::max(y, alignTops_[k]);
            if (ps[k].cell) {
                const rtf::TableGrid grid = rtf::TableAt(ps, k);
                y = Table(grid, y, position);
                spaceBefore = 0;
                k = std::max(grid.end, k + 1);
                continue;
            }
            Block b = setter_.Paragraph(ps[k], width_, y, position);
            position += b.length;
            y = b.bottom;
            spaceBefore = b.spaceAfter;
            out_.blocks.push_back(std::move(b));
            ++k;
        }
        out_.height = y;
    }

  private:
    // The columns' widths: the document's, shrunk in proportion to a narrower page.
    std::vector<double> Columns(const rtf::TableGrid& grid) const {
        std::vector<double> widths;
        double total = 0;
        for (int w : grid.Widths()) total += widths.emplace_back(std::max(w, 1));
        if (total > width_)
            for (double& w : widths) w *= std::max(width_ - kTableExtra, 1.0) / total;
        return widths;
    }

    // One cell's paragraphs at its column's width, from the cell's text top.
    Cell SetCell(const rtf::TableGrid::Range& range, double left, double width, int& position) {
        Cell cell;
        cell.left = left;
        cell.width = width;
        const double inner = std::max(width - kCellExtra, 1.0);
        double y = 0;
        for (std::size_t k = range.first; k < range.last; ++k) {
            Block b = setter_.Paragraph(doc_.paragraphs[k], inner, y, position);
            position += b.length;
            y = b.bottom + (k + 1 < range.last ? b.spaceAfter : 0);
            b.inTable = true;
            for (Line& line : b.lines)
                for (Item& item : line.items) item.x += left + kCellInset;
            cell.blocks.push_back(std::move(b));
        }
        cell.height = y;
        return cell;
    }

    // Moves a cell's text to the middle of its row, which starts at top.
    static void Centre(Cell& cell, double top, double height) {
        const double offset = top + kCellInset + (height - kCellExtra - cell.height) / 2;
        for (Block& b : cell.blocks) {
            b.top += offset;
            b.bottom += offset;
            for (Line& line : b.lines) line.top += offset;
        }
        cell.top = top;
        cell.height = height;
    }

    // A table as Qt sets ours (a one-pixel border, three pixels of padding, borders
    // collapsed): rows as high as their tallest cell; returns the table's bottom.
    double Table(const rtf::TableGrid& grid, double top, int& position) {
        auto table = std::make_shared<typeset::Table>();
        table->top = top;
        const std::vector<double> widths = Columns(grid);
        const std::size_t firstBlock = out_.blocks.size();
        double y = top;
        for (const auto& row : grid.cells) {
            double left = 0, height = 0;
            const std::size_t rowStart = table->cells.size();
            for (std::size_t c = 0; c < row.size() && c < widths.size(); ++c) {
                table->cells.push_back(SetCell(row[c], left, widths[c], position));
                height = std::max(height, table->cells.back().height + kCellExtra);
                left += widths[c];
            }
            for (std::size_t c = rowStart; c < table->cells.size(); ++c)
                Centre(table->cells[c], y, height);
            y += height;
        }
        table->height = y - top + kTableExtra;
        for (double w : widths) table->width += w;
        table->width += kTableExtra;
        out_.idealWidth = std::max(out_.idealWidth, table->width);
        for (const Cell& cell : table->cells)
            out_.blocks.insert(out_.blocks.end(), cell.blocks.begin(), cell.blocks.end());
        if (out_.blocks.size() > firstBlock) out_.blocks[firstBlock].table = table;
        return table->top + table->height;
    }

    const rtf::Document& doc_;
    double width_;
    const std::vector<double>& alignTops_;
    Layout& out_;
    Setter setter_;
};

QImage PictureImage(const PngPicture& picture) {
    thread_local std::map<const void*, std::pair<std::string, QImage>> images;
    auto& entry = images[&picture];
    if (entry.first != picture.png || entry.second.isNull()) {
        entry.first = picture.png;
        entry.second = QImage::fromData(reinterpret_cast<const uchar*>(picture.png.data()),
                                        int(picture.png.size()), "PNG");
    }
    return entry.second;
}

// The glyphs of a line's neighbouring pieces in one font and colour, drawn as one run: a
// PDF gets one text object for them rather than one a word.
// One serves all the lines drawn at once: the painter's transform stays, and the arrays keep
// their room from run to run.
class RunMerger {
  public:
    explicit RunMerger(QPainter& painter)
        : painter_(painter),
          pdf_(dynamic_cast<PdfDevice*>(painter.device())),
          transform_(pdf_ ? painter.combinedTransform() : QTransform()) {}
    ~RunMerger() { Flush(); }

    void Add(const Glyphs& run, QPointF at, const QColor& colour) {
        if (!glyphs_.isEmpty() && (run.font != font_ || colour != colour_)) Flush();
        if (glyphs_.isEmpty()) {
            font_ = run.font;
            colour_ = colour;
        }
        glyphs_.append(run.indexes);
        const qsizetype end = positions_.size();
        positions_.resize(end + run.positions.size());
        QPointF* to = positions_.data() + end;
        for (const QPointF& p : run.positions) *to++ = p + at;
    }

    void Flush() {
        if (glyphs_.isEmpty()) return;
        // Our own PDF takes the glyphs as they are; any other device through the painter.
        if (pdf_) {
            pdf_->DrawGlyphs(transform_, font_, glyphs_, positions_, colour_);
        } else {
            QGlyphRun run;
            run.setRawFont(font_);
            run.setGlyphIndexes(glyphs_);
            run.setPositions(positions_);
            if (painter_.pen().color() != colour_) painter_.setPen(colour_);
            painter_.drawGlyphRun(QPointF(0, 0), run);
        }
        glyphs_.clear();
        positions_.clear();
    }

  private:
    QPainter& painter_;
    PdfDevice* const pdf_;
    const QTransform transform_;
    QRawFont font_;
    QColor colour_;
    QList<quint32> glyphs_;
    QList<QPointF> positions_;
};

// A line's highlights first, neighbours of one colour as one rectangle, as Qt draws them:
// the text then goes over them in runs no rectangle cuts.
void DrawHighlights(QPainter& painter, const Layout& layout, const Line& line, double y) {
    QRectF rect;
    QColor colour;
    const auto flush = [&] {
        if (colour.isValid()) painter.fillRect(rect, colour);
        colour = QColor();
    };
    for (const Item& item : line.items) {
        const QColor& c = layout.styles[std::size_t(item.style)].highlight;
        const QRectF r(item.x, y, item.width, line.height);
        if (c.isValid() && c == colour && std::abs(rect.right() - r.left()) < 0.5) {
            rect = rect.united(r);
            continue;
        }
        flush();
        rect = r;
        colour = c;
    }
    flush();
}

void DrawLine(QPainter& painter, const Layout& layout, const Line& line, double y,
              RunMerger& merger) {
    DrawHighlights(painter, layout, line, y);
    const double baseline = y + line.ascent;
    for (const Item& item : line.items) {
        const Style& s = layout.styles[std::size_t(item.style)];
        if (item.picture) {
            merger.Flush();
            painter.drawImage(QRectF(item.x, baseline - item.height, item.width, item.height),
                              PictureImage(*item.picture));
            continue;
        }
        // A tab parts the glyphs either side: text extractors read each part as its own.
        if (!item.shape) merger.Flush();
        if (item.shape && !item.space)
            for (const Glyphs& run : item.shape->runs)
                merger.Add(run, QPointF(item.x, baseline + s.shift), s.colour);
        const double thickness = std::max(s.lineWidth, 1.0);
        if (s.underline)
            painter.fillRect(QRectF(item.x, baseline + s.underlinePosition, item.width, thickness),
                             s.colour);
        if (s.strike)
            painter.fillRect(QRectF(item.x, baseline - s.strikePosition, item.width, thickness),
                             s.colour);
    }
    merger.Flush();
}

}  // namespace

Layout SetDocument(const rtf::Document& doc, double widthTwips, int defaultTabTwips,
                   const std::vector<double>& alignTops) {
    Layout layout;
    DocumentSetter(doc, widthTwips, defaultTabTwips, alignTops, layout).Run();
    return layout;
}

void DrawLines(QPainter& painter, const Layout& layout, const std::vector<const Line*>& lines,
               const std::vector<const Table*>& tables, double documentTop) {
    painter.save();
    painter.setPen(Qt::black);
    RunMerger merger(painter);
    for (const Table* t : tables) {
        QPen pen(Qt::black);
        pen.setWidthF(kRule);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        // The border a rule in from the table's edge, the padding between it and the text.
        const double edge = kCellInset - 3 * kTwipsPerPixel - kRule;
        for (const Cell& c : t->cells)
            painter.drawRect(QRectF(c.left + edge, c.top + edge - documentTop, c.width, c.height));
        painter.setPen(Qt::black);
        for (const Cell& c : t->cells)
            for (const Block& b : c.blocks)
                for (const Line& line : b.lines)
                    DrawLine(painter, layout, line, line.top - documentTop, merger);
    }
    for (const Line* line : lines)
        DrawLine(painter, layout, *line, line->top - documentTop, merger);
    painter.restore();
}

}  // namespace equat::typeset
