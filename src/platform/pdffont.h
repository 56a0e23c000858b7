// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One font of a PDF we write: its glyphs' advances, the glyphs a document used, and the
// pieces the file needs at the end (the font program, the widths, the map back to text).
#include <QByteArray>
#include <QRawFont>
#include <string>
#include <vector>

namespace equat::pdf {

// A number as PDF content wants it: at most 3 decimals, no trailing zeros, no "-0".
void AppendNumber(std::string& out, double value);
// The number AppendNumber would write, as a double.
double Rounded(double value);

class PdfFont {
  public:
    // index: the font's place in the document, which makes its subset tag.
    PdfFont(const QRawFont& font, int index);

    // What tells two fonts apart: family, style, weight and the font's own tables, not its size.
    static QByteArray Key(const QRawFont& font);

    // False when the font has no outlines we can embed (neither "glyf" nor "CFF ").
    bool Embeddable() const { return truetype_ || cff_; }
    bool Cff() const { return cff_; }
    // The glyph's advance in thousandths of an em, exactly as the widths array says it.
    double Advance(quint32 glyph) const;
    void Use(quint32 glyph);

    // The font program: a TrueType subset (/FontFile2) or the whole CFF-based font rebuilt
    // from its tables (/FontFile3 /OpenType).
    std::string Program() const;
    std::string Widths() const;     // the /W array of the used glyphs
    std::string ToUnicode() const;  // a CMap from the used glyphs to their characters
    // The descriptor's entries after /Type, /FontName first.
    std::string Descriptor() const;
    std::string BaseFont() const;  // the PostScript name, tagged when subset

  private:
    QRawFont raw_;
    int index_;
    bool truetype_ = false, cff_ = false;
    int unitsPerEm_ = 1000;
    int glyphCount_ = 0;
    QByteArray hmtx_;
    int hMetrics_ = 0;
    std::vector<bool> used_;
};

}  // namespace equat::pdf
