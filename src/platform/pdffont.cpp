// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/pdffont.h"

#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <utility>

namespace equat::pdf {

char* PutNumber(char* at, double value) {
    const long long v = Thousandths(value);
    const unsigned long long magnitude = static_cast<unsigned long long>(v < 0 ? -v : v);
    char digits[24];  // backwards
    int n = 0;
    int frac = static_cast<int>(magnitude % 1000);
    if (frac) {
        int places = 3;
        while (frac % 10 == 0) frac /= 10, --places;
        for (int i = 0; i < places; ++i, frac /= 10)
            digits[n++] = static_cast<char>('0' + frac % 10);
        digits[n++] = '.';
    }
    unsigned long long whole = magnitude / 1000;
    do {
        digits[n++] = static_cast<char>('0' + whole % 10);
        whole /= 10;
    } while (whole);
    if (v < 0) *at++ = '-';
    while (n) *at++ = digits[--n];
    return at;
}

char* PutHex(char* at, unsigned value, int digits) {
    static const char kHex[] = "0123456789ABCDEF";
    for (int i = digits - 1; i >= 0; --i, value >>= 4) at[i] = kHex[value & 0xF];
    return at + digits;
}

void AppendNumber(std::string& out, double value) {
    char buf[kNumberSize];
    out.append(buf, static_cast<size_t>(PutNumber(buf, value) - buf));
}

void AppendHex(std::string& out, unsigned value, int digits) {
    char buf[8];
    out.append(buf, static_cast<size_t>(PutHex(buf, value, digits) - buf));
}

void AppendPath(std::string& out, const QPainterPath& path, const QTransform& m) {
    QPointF start;
    const int count = path.elementCount();
    for (int i = 0; i < count; ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        const QPointF p = m.map(QPointF(e.x, e.y));
        AppendNumber(out, p.x());
        out += ' ';
        AppendNumber(out, p.y());
        const bool next = i + 1 < count;
        if (e.type == QPainterPath::MoveToElement) {
            out += " m\n";
            start = QPointF(e.x, e.y);
        } else if (e.type == QPainterPath::LineToElement) {
            out += " l\n";
        } else {
            const bool more =
                next && path.elementAt(i + 1).type == QPainterPath::CurveToDataElement;
            out += e.type == QPainterPath::CurveToDataElement && !more ? " c\n" : " ";
        }
        const bool last = !next || path.elementAt(i + 1).type == QPainterPath::MoveToElement;
        if (last && e.type != QPainterPath::MoveToElement && QPointF(e.x, e.y) == start)
            out += "h\n";
    }
}

namespace {

// Big-endian reads that stay inside the table: a short table reads as zeros.
unsigned U16(const QByteArray& t, qsizetype at) {
    if (at < 0 || at + 2 > t.size()) return 0;
    return static_cast<unsigned>(static_cast<unsigned char>(t[at]) << 8 |
                                 static_cast<unsigned char>(t[at + 1]));
}
int S16(const QByteArray& t, qsizetype at) {
    return static_cast<int16_t>(U16(t, at));
}
uint32_t U32(const QByteArray& t, qsizetype at) {
    return static_cast<uint32_t>(U16(t, at)) << 16 | U16(t, at + 2);
}

void Put16(std::string& s, unsigned v) {
    s += static_cast<char>(v >> 8 & 0xFF);
    s += static_cast<char>(v & 0xFF);
}
void Put32(std::string& s, uint32_t v) {
    Put16(s, v >> 16);
    Put16(s, v & 0xFFFF);
}
void Set32(std::string& s, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>(v >> (24 - 8 * i) & 0xFF);
}

// The sum of the big-endian words, the last padded with zeros.
uint32_t CheckSum(const std::string& s, size_t from, size_t length) {
    const auto* p = reinterpret_cast<const unsigned char*>(s.data() + from);
    uint32_t sum = 0;
    size_t i = 0;
    for (; i + 4 <= length; i += 4)
        sum += uint32_t{p[i]} << 24 | uint32_t{p[i + 1]} << 16 | uint32_t{p[i + 2]} << 8 | p[i + 3];
    for (int shift = 24; i < length; ++i, shift -= 8) sum += uint32_t{p[i]} << shift;
    return sum;
}

using Tables = std::vector<std::pair<std::string, QByteArray>>;

// An sfnt file of these tables: the directory sorted by tag, each table 4-byte aligned, the
// checksums and head's checkSumAdjustment right.
std::string BuildSfnt(uint32_t version, Tables tables) {
    std::sort(tables.begin(), tables.end());
    const unsigned count = static_cast<unsigned>(tables.size());
    unsigned power = 1, log2 = 0;
    while (power * 2 <= count) power *= 2, ++log2;
    std::string out;
    Put32(out, version);
    Put16(out, count);
    Put16(out, power * 16);
    Put16(out, log2);
    Put16(out, count * 16 - power * 16);
    size_t offset = out.size() + 16 * count, headAt = 0;
    std::string body;
    for (const auto& [tag, data] : tables) {
        std::string padded(data.constData(), static_cast<size_t>(data.size()));
        if (tag == "head" && padded.size() >= 12) Set32(padded, 8, 0), headAt = offset;
        out.append(tag.c_str(), 4);
        Put32(out, CheckSum(padded, 0, padded.size()));
        Put32(out, static_cast<uint32_t>(offset));
        Put32(out, static_cast<uint32_t>(padded.size()));
        padded.resize((padded.size() + 3) & ~size_t{3}, '\0');
        body += padded;
        offset += padded.size();
    }
    out += body;
    if (headAt) Set32(out, headAt + 8, 0xB1B0AFBAu - CheckSum(out, 0, out.size()));
    return out;
}

// The glyphs of a composite glyph's components.
void AddComponents(const char* g, qsizetype size, std::vector<quint32>* more) {
    const QByteArray d = QByteArray::fromRawData(g, size);
    if (S16(d, 0) >= 0) return;
    qsizetype at = 10;
    for (;;) {
        const unsigned flags = U16(d, at);
        if (at + 4 > size) return;
        more->push_back(U16(d, at + 2));
        at += 4 + ((flags & 0x1) ? 4 : 2);
        at += (flags & 0x8) ? 2 : (flags & 0x40) ? 4 : (flags & 0x80) ? 8 : 0;
        if (!(flags & 0x20)) return;
    }
}

// hmtx with the unused glyphs' metrics zeroed: same size and ids, and it deflates to little.
// (The PDF's widths array gives the advances; hinting reads only the used glyphs'.)
// The last full metric stays: the glyphs after it take its advance.
QByteArray UsedMetrics(QByteArray hmtx, unsigned hMetrics, const std::vector<bool>& used) {
    for (size_t g = 0; g < used.size(); ++g) {
        if (used[g] || g + 1 == hMetrics) continue;
        const qsizetype at = g < hMetrics ? 4 * static_cast<qsizetype>(g)
                                          : 4 * static_cast<qsizetype>(hMetrics) +
                                                2 * static_cast<qsizetype>(g - hMetrics);
        const qsizetype size = g < hMetrics ? 4 : 2;
        if (at + size <= hmtx.size()) std::fill_n(hmtx.data() + at, size, '\0');
    }
    return hmtx;
}

// The TrueType subset: glyph ids kept, only the used glyphs' outlines, loca in the long form.
std::string TrueTypeSubset(const QRawFont& raw, std::vector<bool> used) {
    const QByteArray glyf = raw.fontTable("glyf"), loca = raw.fontTable("loca");
    QByteArray head = raw.fontTable("head");
    const bool longLoca = S16(head, 50) == 1;
    const size_t count = used.size();
    auto range = [&](size_t g) {
        const uint32_t a = longLoca ? U32(loca, 4 * g) : U16(loca, 2 * g) * 2u;
        const uint32_t b = longLoca ? U32(loca, 4 * g + 4) : U16(loca, 2 * g + 2) * 2u;
        const uint32_t end = std::min<uint32_t>(b, static_cast<uint32_t>(glyf.size()));
        return std::pair<uint32_t, uint32_t>(std::min(a, end), end);
    };
    std::vector<quint32> todo;
    for (size_t g = 0; g < count; ++g)
        if (used[g]) todo.push_back(static_cast<quint32>(g));
    while (!todo.empty()) {
        const quint32 g = todo.back();
        todo.pop_back();
        const auto [a, b] = range(g);
        std::vector<quint32> more;
        AddComponents(glyf.constData() + a, b - a, &more);
        for (quint32 c : more)
            if (c < count && !used[c]) used[c] = true, todo.push_back(c);
    }
    std::string newGlyf, newLoca;
    for (size_t g = 0; g < count; ++g) {
        Put32(newLoca, static_cast<uint32_t>(newGlyf.size()));
        if (!used[g]) continue;
        const auto [a, b] = range(g);
        newGlyf.append(glyf.constData() + a, b - a);
        newGlyf.resize((newGlyf.size() + 3) & ~size_t{3}, '\0');
    }
    Put32(newLoca, static_cast<uint32_t>(newGlyf.size()));
    if (head.size() >= 54) head[50] = 0, head[51] = 1;
    Tables tables{
        {"glyf", QByteArray(newGlyf.data(), static_cast<qsizetype>(newGlyf.size()))},
        {"loca", QByteArray(newLoca.data(), static_cast<qsizetype>(newLoca.size()))},
        {"head", head},
        {"hmtx", UsedMetrics(raw.fontTable("hmtx"), U16(raw.fontTable("hhea"), 34), used)}};
    for (const char* tag : {"hhea", "maxp", "cvt ", "fpgm", "prep", "OS/2"}) {
        const QByteArray t = raw.fontTable(tag);
        if (!t.isEmpty()) tables.emplace_back(tag, t);
    }
    return BuildSfnt(0x00010000, std::move(tables));
}

// The whole CFF-based font, rebuilt from the tables a reader needs.
std::string OpenTypeFont(const QRawFont& raw) {
    Tables tables;
    for (const char* tag :
         {"CFF ", "head", "hhea", "hmtx", "maxp", "OS/2", "cmap", "name", "post"}) {
        const QByteArray t = raw.fontTable(tag);
        if (!t.isEmpty()) tables.emplace_back(tag, t);
    }
    return BuildSfnt(0x4F54544F, std::move(tables));  // 'OTTO'
}

// The PostScript name from the name table (id 6), reduced to the characters a PDF name takes.
std::string PostScriptName(const QRawFont& raw) {
    const QByteArray name = raw.fontTable("name");
    const unsigned count = U16(name, 2), strings = U16(name, 4);
    QString found;
    for (unsigned i = 0; i < count && found.isEmpty(); ++i) {
        const qsizetype rec = 6 + 12 * i;
        if (U16(name, rec + 6) != 6) continue;
        const unsigned platform = U16(name, rec), length = U16(name, rec + 8);
        const qsizetype at = strings + U16(name, rec + 10);
        if (at + length > name.size()) continue;
        if (platform == 3 || platform == 0) {
            for (unsigned k = 0; k + 1 < length; k += 2)
                found += QChar(static_cast<char16_t>(U16(name, at + k)));
        } else if (platform == 1) {
            found = QString::fromLatin1(name.constData() + at, length);
        }
    }
    if (found.isEmpty()) found = raw.familyName() + '-' + raw.styleName();
    std::string out;
    for (QChar c : found)
        if (c.unicode() > 32 && c.unicode() < 127 && !QStringLiteral("()<>[]{}/%#").contains(c))
            out += static_cast<char>(c.unicode());
    return out.empty() ? std::string("Font") : out;
}

// The Unicode subtable of a character map ('cmap') we read: format 4 for the basic plane,
// format 12 for all; -1 when there is none.
qsizetype UnicodeSubtable(const QByteArray& cmap, unsigned* format) {
    qsizetype best = -1;
    for (unsigned k = 0, n = U16(cmap, 2); k < n; ++k) {
        const qsizetype record = 4 + 8 * static_cast<qsizetype>(k);
        const unsigned platform = U16(cmap, record), encoding = U16(cmap, record + 2);
        const qsizetype at = U32(cmap, record + 4);
        const unsigned f = U16(cmap, at);
        const bool unicode = platform == 0 || (platform == 3 && (encoding == 1 || encoding == 10));
        if (!unicode || (f != 4 && f != 12)) continue;
        if (best < 0 || f == 12) {
            best = at;
            *format = f;
        }
    }
    return best;
}

// Calls each(character, glyph) for the basic plane's characters of a format 4 subtable at
// `at`, characters ascending.
template <class F>
void Format4(const QByteArray& t, qsizetype at, F&& each) {
    const unsigned segments = U16(t, at + 6) / 2;
    const qsizetype ends = at + 14, starts = ends + 2 * segments + 2;
    const qsizetype deltas = starts + 2 * segments, offsets = deltas + 2 * segments;
    for (unsigned i = 0; i < segments; ++i) {
        const unsigned end = U16(t, ends + 2 * i), start = U16(t, starts + 2 * i);
        const int delta = S16(t, deltas + 2 * i);
        const unsigned offset = U16(t, offsets + 2 * i);
        for (unsigned c = start; c <= end && c < 0xFFFF; ++c) {
            unsigned g = c;
            if (offset) {
                g = U16(t, offsets + 2 * i + offset + 2 * (c - start));
                if (!g) continue;
            }
            each(c, static_cast<quint32>((g + static_cast<unsigned>(delta)) & 0xFFFF));
        }
    }
}

// The same of a format 12 subtable, the basic plane only.
template <class F>
void Format12(const QByteArray& t, qsizetype at, F&& each) {
    const uint32_t groups = U32(t, at + 12);
    for (uint32_t i = 0; i < groups && at + 16 + 12 * qsizetype(i) + 12 <= t.size(); ++i) {
        const qsizetype group = at + 16 + 12 * static_cast<qsizetype>(i);
        const uint32_t start = U32(t, group), end = std::min<uint32_t>(U32(t, group + 4), 0xFFFE);
        for (uint32_t c = start; c <= end; ++c) each(c, U32(t, group + 8) + (c - start));
    }
}

// Each (character, glyph) of the font's character map, characters ascending from U+0020 in
// the basic plane: read from its table, or asked of the font a character at a time.
template <class F>
void CharacterMap(const QRawFont& raw, F&& each) {
    const QByteArray cmap = raw.fontTable("cmap");
    unsigned format = 0;
    const qsizetype at = UnicodeSubtable(cmap, &format);
    const auto kept = [&](uint32_t c, quint32 g) {
        if (c >= 0x20 && (c < 0xD800 || c > 0xDFFF) && g) each(static_cast<char16_t>(c), g);
    };
    if (at >= 0 && format == 4) return Format4(cmap, at, kept);
    if (at >= 0 && format == 12) return Format12(cmap, at, kept);
    QString all;
    for (char16_t c = 0x20; c < 0xFFFF; ++c)
        if (c < 0xD800 || c > 0xDFFF) all += QChar(c);
    const QList<quint32> glyphs = raw.glyphIndexesForString(all);
    for (qsizetype i = 0; i < glyphs.size() && i < all.size(); ++i)
        kept(all[i].unicode(), glyphs[i]);
}

}  // namespace

PdfFont::PdfFont(const QRawFont& font, int index) : raw_(font), index_(index) {
    truetype_ = !font.fontTable("glyf").isEmpty() && !font.fontTable("loca").isEmpty();
    cff_ = !truetype_ && !font.fontTable("CFF ").isEmpty();
    const QByteArray head = font.fontTable("head"), maxp = font.fontTable("maxp");
    unitsPerEm_ = U16(head, 18) ? static_cast<int>(U16(head, 18)) : 1000;
    const size_t glyphs = U16(maxp, 4);
    const QByteArray hmtx = font.fontTable("hmtx");
    const size_t metrics =
        std::min<size_t>(U16(font.fontTable("hhea"), 34), static_cast<size_t>(hmtx.size() / 4));
    if (!glyphs || !metrics) truetype_ = cff_ = false;
    // Each full metric's advance, once: the text looks one up a glyph.
    if (Embeddable()) {
        advances_.resize(metrics);
        for (size_t g = 0; g < metrics; ++g)
            advances_[g] = Rounded(U16(hmtx, 4 * static_cast<qsizetype>(g)) * 1000.0 / unitsPerEm_);
    }
    used_.assign(glyphs, false);
    space_ = font.glyphIndexesForString(QStringLiteral(" ")).value(0);
    if (!used_.empty()) used_[0] = true;
    if (!Embeddable()) {
        em_ = font;
        em_.setPixelSize(1000);
    }
}

QByteArray PdfFont::Key(const QRawFont& font) {
    QByteArray key = font.familyName().toUtf8() + '\0' + font.styleName().toUtf8() + '\0';
    key += QByteArray::number(font.weight()) + ' ' + QByteArray::number(int(font.style())) + '\0';
    return key + font.fontTable("head") + font.fontTable("maxp");
}

double PdfFont::OutlinedAdvance(quint32 glyph) const {
    const auto it = codes_.find(glyph);
    return it == codes_.end() ? 0 : outlined_[it->second].second;
}

unsigned PdfFont::UseOutlined(quint32 glyph, int* sub) {
    auto it = codes_.find(glyph);
    if (it == codes_.end()) {
        const QList<QPointF> advance = em_.advancesForGlyphIndexes(QList<quint32>{glyph});
        outlined_.emplace_back(glyph, Rounded(advance.isEmpty() ? 0 : advance[0].x()));
        it = codes_.emplace(glyph, outlined_.size() - 1).first;
    }
    *sub = static_cast<int>(it->second / kType3Glyphs);
    return static_cast<unsigned>(it->second % kType3Glyphs);
}

int PdfFont::Subfonts() const {
    return static_cast<int>((outlined_.size() + kType3Glyphs - 1) / kType3Glyphs);
}

std::vector<quint32> PdfFont::SubfontGlyphs(int sub) const {
    std::vector<quint32> glyphs;
    for (size_t i = static_cast<size_t>(sub) * kType3Glyphs;
         i < outlined_.size() && glyphs.size() < kType3Glyphs; ++i)
        glyphs.push_back(outlined_[i].first);
    return glyphs;
}

std::string PdfFont::Type3Widths(int sub) const {
    std::string out = "[";
    const std::vector<quint32> glyphs = SubfontGlyphs(sub);
    for (quint32 g : glyphs) {
        AppendNumber(out, Advance(g));
        out += ' ';
    }
    for (size_t c = glyphs.size(); c < kType3Glyphs; ++c) out += "0 ";
    return out + "600]";  // the unused 'm' (see kType3Glyphs)
}

std::string PdfFont::Type3Box(int part) const {
    const double box[4] = {0, -em_.descent(), 1000, em_.ascent()};
    std::string out;
    if (part >= 0) return AppendNumber(out, box[part]), out;
    for (double v : box) {
        out += out.empty() ? '[' : ' ';
        AppendNumber(out, v);
    }
    return out + ']';
}

// The glyph's outline in glyph space (1000 units an em, y up), filled in the text's colour.
std::string PdfFont::GlyphProcedure(quint32 glyph) const {
    std::string out;
    AppendNumber(out, Advance(glyph));
    out += " 0 d0\n";
    AppendPath(out, em_.pathForGlyph(glyph), QTransform(1, 0, 0, -1, 0, 0));
    return out + "f\n";
}

std::string PdfFont::Program() const {
    return truetype_ ? TrueTypeSubset(raw_, used_) : OpenTypeFont(raw_);
}

std::string PdfFont::Widths() const {
    std::string out = "[";
    size_t g = 0;
    while (g < used_.size()) {
        if (!used_[g]) {
            ++g;
            continue;
        }
        out += std::to_string(g) + " [";
        for (; g < used_.size() && used_[g]; ++g) {
            AppendNumber(out, Advance(static_cast<quint32>(g)));
            out += ' ';
        }
        out.back() = ']';
    }
    return out + ']';
}

std::string PdfFont::ToUnicode(int sub) const {
    // The reverse of the font's character map, over the basic plane: the first character
    // reaching a glyph names it.
    std::map<quint32, char16_t> chars;  // code -> character
    CharacterMap(raw_, [&](char16_t c, quint32 g) {
        if (Embeddable() && g < used_.size() && used_[g]) chars.emplace(g, c);
        const auto it = codes_.find(g);
        if (it != codes_.end() && it->second / kType3Glyphs == static_cast<size_t>(sub))
            chars.emplace(static_cast<quint32>(it->second % kType3Glyphs), c);
    });
    const char* space = Embeddable() ? "<0000> <FFFF>" : "<00> <FF>";
    std::string out =
        "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
        "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
        "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
        "1 begincodespacerange\n" +
        std::string(space) + "\nendcodespacerange\n";
    auto it = chars.begin();
    while (it != chars.end()) {
        const size_t block =
            std::min<size_t>(100, static_cast<size_t>(std::distance(it, chars.end())));
        out += std::to_string(block) + " beginbfchar\n";
        for (size_t i = 0; i < block; ++i, ++it) {
            out += '<';
            AppendHex(out, it->first, CodeDigits());
            out += "> <";
            AppendHex(out, it->second, 4);
            out += ">\n";
        }
        out += "endbfchar\n";
    }
    return out + "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
}

std::string PdfFont::BaseFont() const {
    std::string name = PostScriptName(raw_);
    if (cff_) return name;  // embedded whole: no subset tag
    uint32_t h =
        static_cast<uint32_t>(qHash(Key(raw_))) ^ (static_cast<uint32_t>(index_) * 2654435761u);
    std::string tag;
    for (int i = 0; i < 6; ++i, h /= 26) tag += static_cast<char>('A' + h % 26);
    return tag + '+' + name;
}

std::string PdfFont::Descriptor() const {
    const QByteArray head = raw_.fontTable("head"), hhea = raw_.fontTable("hhea");
    const QByteArray post = raw_.fontTable("post"), os2 = raw_.fontTable("OS/2");
    const double em = 1000.0 / unitsPerEm_;
    const double italic = static_cast<int32_t>(U32(post, 4)) / 65536.0;
    const bool fixed = U32(post, 12) != 0;
    const int cap = U16(os2, 0) >= 2 && os2.size() >= 90 ? S16(os2, 88) : S16(hhea, 4);
    const int flags =
        4 | (fixed ? 1 : 0) | (italic != 0 || raw_.style() != QFont::StyleNormal ? 64 : 0);
    std::string out =
        "/FontName /" + BaseFont() + " /Flags " + std::to_string(flags) + " /FontBBox [";
    for (int at : {36, 38, 40, 42}) {
        AppendNumber(out, S16(head, at) * em);
        out += at == 42 ? "]" : " ";
    }
    out += " /ItalicAngle ";
    AppendNumber(out, italic);
    out += " /Ascent ";
    AppendNumber(out, S16(hhea, 4) * em);
    out += " /Descent ";
    AppendNumber(out, S16(hhea, 6) * em);
    out += " /CapHeight ";
    AppendNumber(out, cap * em);
    out += " /StemV " + std::to_string(raw_.weight() >= QFont::Bold ? 120 : 80);
    return out;
}

}  // namespace equat::pdf
