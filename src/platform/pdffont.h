// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One font of a PDF we write: its glyphs' advances, the glyphs a document used, and the
// pieces the file needs at the end (the font program, the widths, the map back to text).
#include <QByteArray>
#include <QPainterPath>
#include <QRawFont>
#include <QTransform>
#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

namespace equat::pdf {

// A number as PDF content wants it: at most 3 decimals, no trailing zeros, no "-0".
void AppendNumber(std::string& out, double value);
// The same written at `at`, kNumberSize characters at most; the end.
constexpr int kNumberSize = 24;
char* PutNumber(char* at, double value);
// value in upper-case hex, digits long.
void AppendHex(std::string& out, unsigned value, int digits);
char* PutHex(char* at, unsigned value, int digits);  // at most 8 digits
// value * 1000 rounded half away from zero, as llround would, without its call; 0 when not
// finite or beyond any page.
inline long long Thousandths(double value) {
    const double a = value < 0 ? -value * 1000.0 : value * 1000.0;
    if (!(a < 4e18)) return 0;
    auto v = static_cast<long long>(a);
    if (a - static_cast<double>(v) >= 0.5) ++v;
    return value < 0 ? -v : v;
}
// The number AppendNumber would write, as a double.
inline double Rounded(double value) {
    return static_cast<double>(Thousandths(value)) / 1000.0;
}
// A path's operators (m, l, c, h) under m.
void AppendPath(std::string& out, const QPainterPath& path, const QTransform& m);

// Glyphs in one Type 3 font. The last code is an empty 'm' 0.6 em wide: text extractors that
// guess a Type 3 font's scale from its 'm' then box its words at the right height.
constexpr size_t kType3Glyphs = 255;

class PdfFont {
  public:
    // index: the font's place in the document, which makes its subset tag.
    PdfFont(const QRawFont& font, int index);

    // What tells two fonts apart: family, style, weight and the font's own tables, not its size.
    static QByteArray Key(const QRawFont& font);

    // False when the font has no tables we can embed (neither "glyf" nor "CFF ", as a Type 1
    // font): its glyphs then go as outlines in Type 3 fonts of kType3Glyphs each, "subfonts".
    bool Embeddable() const { return truetype_ || cff_; }
    bool Cff() const { return cff_; }
    // The glyph's advance in thousandths of an em, exactly as the widths array says it. (Glyphs
    // past the last full metric take its advance.) Inline: the text asks it of every glyph.
    double Advance(quint32 glyph) const {
        if (!Embeddable()) return OutlinedAdvance(glyph);
        return advances_[std::min<size_t>(glyph, advances_.size() - 1)];
    }
    // Marks the glyph used and gives its code, CodeDigits() hex digits; *sub is its subfont.
    unsigned Use(quint32 glyph, int* sub) {
        if (!Embeddable()) return UseOutlined(glyph, sub);
        if (glyph < used_.size()) used_[glyph] = true;
        *sub = 0;
        return glyph;
    }
    int CodeDigits() const { return Embeddable() ? 4 : 2; }
    quint32 Space() const { return space_; }  // the space's glyph

    // The font program: a TrueType subset (/FontFile2) or the whole CFF-based font rebuilt
    // from its tables (/FontFile3 /OpenType).
    std::string Program() const;
    std::string Widths() const;  // the /W array of the used glyphs
    // A CMap from the used glyphs' codes (in one subfont) to their characters.
    std::string ToUnicode(int sub = 0) const;
    // The descriptor's entries after /Type, /FontName first.
    std::string Descriptor() const;
    std::string BaseFont() const;  // the PostScript name, tagged when subset

    // Outlined fonts: how many subfonts, and one's glyphs by code, their widths and drawing.
    int Subfonts() const;
    std::vector<quint32> SubfontGlyphs(int sub) const;
    std::string Type3Widths(int sub) const;
    // The box from the font's ascent and descent, or one of its four numbers.
    std::string Type3Box(int part = -1) const;
    std::string GlyphProcedure(quint32 glyph) const;

  private:
    double OutlinedAdvance(quint32 glyph) const;
    unsigned UseOutlined(quint32 glyph, int* sub);

    QRawFont raw_;
    int index_;
    bool truetype_ = false, cff_ = false;
    int unitsPerEm_ = 1000;
    quint32 space_ = 0;
    std::vector<double> advances_;  // embedded: by glyph, up to the last full metric
    std::vector<bool> used_;
    QRawFont em_;                                       // outlined: the font at 1000 pixels
    std::vector<std::pair<quint32, double>> outlined_;  // by code: glyph, advance
    std::unordered_map<quint32, size_t> codes_;         // outlined: glyph -> code
};

}  // namespace equat::pdf
