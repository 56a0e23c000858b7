// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtf/writer.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "core/cp1252.h"
#include "core/graphrtf.h"
#include "core/markup.h"
#include "rtf/reader.h"
#include "rtf/symbol.h"

namespace equat::rtf {

namespace {

constexpr std::string_view kFamilies[] = {"fnil",    "froman", "fswiss", "fmodern",
                                          "fscript", "fdecor", "ftech",  "fbidi"};

// Characters written the same way in every font.
bool IsSpecial(char32_t c) {
    return c < 0x20 || c == 0x2028 || c == 0xA0 || c == 0xAD;
}

std::optional<unsigned char> PictureByte(FontEncoding enc, char32_t c) {
    if (enc == FontEncoding::Symbol) return UnicodeToSymbol(c);
    if (c >= 0xF020 && c <= 0xF0FF) return static_cast<unsigned char>(c - 0xF000);
    return std::nullopt;
}

// A character that a picture font can hold neither as a byte nor as \u.
bool NeedsOtherFont(FontEncoding enc, char32_t c) {
    return !IsSpecial(c) && c <= 0xFF && !PictureByte(enc, c);
}

// The Symbol-font byte of a character that has a Unicode code point of its own. Such a
// character is saved as that code point in a text font, with the byte in the Symbol font as
// the fallback of readers without \u: editors that read \u in a Symbol font keep the private
// code point (blank on most systems) or map the character back through a code page.
std::optional<unsigned char> SymbolFallback(FontEncoding enc, char32_t c) {
    if (enc != FontEncoding::Symbol || IsSpecial(c) || (c >= 0xF020 && c <= 0xF0FF))
        return std::nullopt;
    return UnicodeToSymbol(c);
}

std::uint32_t Key(const Rgb& c) {
    return c.r << 16 | c.g << 8 | c.b;
}

class Writer {
  public:
    explicit Writer(const Document& doc) : doc_(doc), fonts_(doc.fonts) {
        for (std::size_t k = 0; k < fonts_.size(); ++k) {
            encodings_.push_back(EncodingOf(fonts_[k]));
            if (textFont_ < 0 && encodings_.back() == FontEncoding::Text)
                textFont_ = static_cast<int>(k);
        }
        // Symbol characters go to a text font only where the document has one: a font added
        // here would be a new entry in the font table when the file is read again.
        unicodeSymbols_ = textFont_ >= 0;
        if (textFont_ < 0 && NeedsTextFont()) {  // for what a picture font cannot draw
            textFont_ = static_cast<int>(fonts_.size());
            fonts_.push_back(Font{"Arial", 0, FontFamily::Swiss, 2});
            encodings_.push_back(FontEncoding::Text);
        }
        if (doc.defaultFont >= 0 && doc.defaultFont < static_cast<int>(doc.fonts.size()))
            defaultFont_ = doc.defaultFont;
        else
            defaultFont_ = fonts_.empty() ? -1 : 0;
        for (const Paragraph& p : doc.paragraphs) {
            for (const Run& r : p.runs) {
                AddColour(r.format.colour);
                AddColour(r.format.highlight);
            }
            AddColour(p.mark.colour);
            AddColour(p.mark.highlight);
        }
    }

    std::string Write() {
        out_.reserve(1024);
        out_ += "{\\rtf1\\ansi\\ansicpg1252\\deff";
        Number(std::max(defaultFont_, 0));
        out_ += "\\deftab";
        Number(doc_.defaultTab > 0 ? doc_.defaultTab : 720);
        if (doc_.language > 0) {
            out_ += "\\deflang";
            Number(doc_.language);
        }
        out_ += "{\\fonttbl";
        for (std::size_t k = 0; k < fonts_.size(); ++k) WriteFont(static_cast<int>(k), fonts_[k]);
        out_ += "}\n{\\colortbl ;";
        for (const Rgb& c : colours_) {
            out_ += "\\red";
            Number(c.r);
            out_ += "\\green";
            Number(c.g);
            out_ += "\\blue";
            Number(c.b);
            out_ += ';';
        }
        out_ += "}\n\\viewkind4\\uc1\\pard\\plain";
        if (defaultFont_ >= 0) {
            out_ += "\\f";
            Number(defaultFont_);
        }
        out_ += "\\fs24 ";
        state_.font = defaultFont_;
        for (std::size_t k = 0; k < doc_.paragraphs.size(); ++k) {
            const Paragraph& p = doc_.paragraphs[k];
            if (p.cell && !SameRow(k - 1, k)) WriteRowDefinition(k);
            if (p.align != align_) {
                constexpr std::string_view kAlign[] = {"\\ql ", "\\qc ", "\\qr ", "\\qj "};
                out_ += kAlign[static_cast<int>(p.align)];
                align_ = p.align;
            }
            WriteSpacing(p);
            for (const Run& r : p.runs) WriteRun(r);
            WriteFormat(p.mark);
            WriteParagraphEnd(k);
        }
        out_ += "}\n";
        return std::move(out_);
    }

  private:
    // Whether paragraphs a and b stand in one row of a table (a may be -1).
    bool SameRow(std::size_t a, std::size_t b) const {
        if (a >= doc_.paragraphs.size() || b >= doc_.paragraphs.size()) return false;
        const auto& x = doc_.paragraphs[a].cell;
        const auto& y = doc_.paragraphs[b].cell;
        return x && y && x->table == y->table && x->row == y->row;
    }

    // The row that starts at paragraph k: a cell for each change of column, then the
    // paragraph's format from its reset.
    void WriteRowDefinition(std::size_t k) {
        std::vector<int> edges;
        for (std::size_t j = k; j == k || SameRow(j - 1, j); ++j) {
            const CellPlace& c = *doc_.paragraphs[j].cell;
            if (j == k || c.column != doc_.paragraphs[j - 1].cell->column) edges.push_back(c.right);
            if (j + 1 == doc_.paragraphs.size()) break;
        }
        AppendRowRtf(out_, edges);
        ResetParagraph();
    }

    // \par inside a cell or out of any table, \cell between cells, \cell\row at a row's end,
    // and \pard once out of the table. A last paragraph ends nothing but its row.
    void WriteParagraphEnd(std::size_t k) {
        const auto& cell = doc_.paragraphs[k].cell;
        const bool last = k + 1 == doc_.paragraphs.size();
        if (!cell) {
            if (!last) out_ += "\\par\n";
            return;
        }
        if (SameRow(k, k + 1)) {
            const bool sameCell = doc_.paragraphs[k + 1].cell->column == cell->column;
            out_ += sameCell ? "\\par\n" : "\\cell\n";
            return;
        }
        out_ += "\\cell\\row\n";
        if (last || doc_.paragraphs[k + 1].cell) return;
        out_ += "\\pard ";
        ResetParagraph();
    }

    void ResetParagraph() {
        align_ = Align::Left;
        lineSpacing_ = spaceAfter_ = 0;
    }

    void WriteSpacing(const Paragraph& p) {
        if (p.lineSpacing != lineSpacing_) {
            out_ += "\\sl";
            Number(std::max(p.lineSpacing, 0));
            out_ += p.lineSpacing > 0 ? "\\slmult1 " : "\\slmult0 ";
            lineSpacing_ = p.lineSpacing;
        }
        if (p.spaceAfter != spaceAfter_) {
            out_ += "\\sa";
            Number(std::max(p.spaceAfter, 0));
            out_ += ' ';
            spaceAfter_ = p.spaceAfter;
        }
    }

    bool NeedsTextFont() const {
        for (const Paragraph& p : doc_.paragraphs)
            for (const Run& r : p.runs) {
                if (r.format.font < 0 || r.format.font >= static_cast<int>(fonts_.size())) continue;
                const FontEncoding enc = encodings_[static_cast<std::size_t>(r.format.font)];
                std::size_t pos = 0;
                while (pos < r.text.size()) {
                    const char32_t c = NextCodePoint(r.text, pos);
                    if (enc != FontEncoding::Text && NeedsOtherFont(enc, c)) return true;
                }
            }
        return false;
    }

    void Number(long v) { out_ += std::to_string(v); }

    void AddColour(const std::optional<Rgb>& c) {
        if (c && colourIndex_.emplace(Key(*c), static_cast<int>(colours_.size()) + 1).second)
            colours_.push_back(*c);
    }

    int ColourIndex(const std::optional<Rgb>& c) const {
        if (!c) return 0;
        return colourIndex_.at(Key(*c));
    }

    void WriteFont(int index, const Font& f) {
        out_ += "{\\f";
        Number(index);
        out_ += '\\';
        out_ += kFamilies[std::min<std::size_t>(static_cast<std::size_t>(f.family), 7)];
        if (f.pitch > 0) {
            out_ += "\\fprq";
            Number(f.pitch);
        }
        out_ += "\\fcharset";
        Number(f.charset);
        out_ += ' ';
        std::size_t pos = 0;
        while (pos < f.name.size()) {
            // Font names are read as plain code-page bytes: no \u, no control symbols.
            const char32_t c = NextCodePoint(f.name, pos);
            const auto b = UnicodeToCp1252(c);
            if (c != ';') Byte(b ? *b : '?');
        }
        out_ += ";}";
    }

    void Word(std::string_view w) {
        out_ += w;
        pendingSpace_ = true;
    }
    void Word(std::string_view w, long v) {
        out_ += w;
        Number(v);
        pendingSpace_ = true;
    }

    // Brings the writer's state to f with the fewest control words; gives the font index.
    int WriteFormat(const CharFormat& f) {
        const int font =
            f.font >= 0 && f.font < static_cast<int>(doc_.fonts.size()) ? f.font : defaultFont_;
        if (font != state_.font && font >= 0) Word("\\f", font);
        if (f.size != state_.size) Word("\\fs", f.size > 0 ? f.size : 24);
        if (f.bold != state_.bold) Word(f.bold ? "\\b" : "\\b0");
        if (f.italic != state_.italic) Word(f.italic ? "\\i" : "\\i0");
        if (f.underline != state_.underline) Word(f.underline ? "\\ul" : "\\ulnone");
        if (f.strike != state_.strike) Word(f.strike ? "\\strike" : "\\strike0");
        if (f.valign != state_.valign) {
            constexpr std::string_view kV[] = {"\\nosupersub", "\\super", "\\sub"};
            Word(kV[static_cast<int>(f.valign)]);
        }
        if (f.colour != state_.colour) Word("\\cf", ColourIndex(f.colour));
        if (f.highlight != state_.highlight) Word("\\highlight", ColourIndex(f.highlight));
        state_ = f;
        state_.font = font;
        EndWords();
        return font;
    }

    void WriteRun(const Run& r) {
        const int font = WriteFormat(r.format);
        const FontEncoding enc =
            font >= 0 ? encodings_[static_cast<std::size_t>(font)] : FontEncoding::Text;
        std::size_t pos = 0;
        bool inGroup = false;  // of characters written by SymbolChar
        while (pos < r.text.size()) {
            const char32_t c = NextCodePoint(r.text, pos);
            const auto fallback = unicodeSymbols_ ? SymbolFallback(enc, c) : std::nullopt;
            if (fallback.has_value() != inGroup) {
                inGroup = !inGroup;
                out_ += inGroup ? "{\\uc2" : "}";
            }
            if (fallback) {
                SymbolChar(c, font, *fallback);
                continue;
            }
            if (enc == FontEncoding::Text || IsSpecial(c)) {
                TextChar(c);
                continue;
            }
            if (auto b = PictureByte(enc, c)) {
                Byte(*b);
            } else if (c > 0xFF) {  // as \u, read back as itself in this font
                UnicodeEscape(c);
            } else {  // this font would draw another glyph for the byte
                out_ += "{\\f";
                Number(textFont_);
                out_ += ' ';
                TextChar(c);
                out_ += '}';
            }
        }
        if (inGroup) out_ += '}';
        if (r.picture) AppendPictureRtf(out_, *r.picture);
    }

    // The text font, \u, then the Symbol font and its byte as the two characters that \u
    // readers skip. Readers that apply the skipped \f anyway get the text font again for
    // every character.
    void SymbolChar(char32_t c, int symbolFont, unsigned char byte) {
        out_ += "\\f";
        Number(textFont_);
        out_ += "\\u";
        Number(Signed16(c));
        out_ += "\\f";
        Number(symbolFont);
        Hex(byte);
    }

    void EndWords() {
        if (pendingSpace_) out_ += ' ';
        pendingSpace_ = false;
    }

    void Byte(unsigned char b) {
        if (b == '\\' || b == '{' || b == '}') {
            out_ += '\\';
            out_ += static_cast<char>(b);
        } else if (b >= 0x20 && b < 0x7F) {
            out_ += static_cast<char>(b);
        } else {
            Hex(b);
        }
    }

    void Hex(unsigned char b) {
        constexpr char kHex[] = "0123456789abcdef";
        out_ += "\\'";
        out_ += kHex[b >> 4];
        out_ += kHex[b & 15];
    }

    void TextChar(char32_t c) {
        if (c == U'\t') {
            out_ += "\\tab ";
        } else if (c == 0xA0) {
            out_ += "\\~";
        } else if (c == 0xAD) {
            out_ += "\\-";
        } else if (c == 0x2028) {
            out_ += "\\line ";
        } else if (c < 0x20 || c == 0x7F) {
            // control characters are not text
        } else if (auto b = UnicodeToCp1252(c)) {
            Byte(*b);
        } else {
            UnicodeEscape(c);
        }
    }

    void UnicodeEscape(char32_t c) {
        if (c > 0xFFFF) {
            const char32_t v = c - 0x10000;
            Unicode(0xD800 + (v >> 10));
            Unicode(0xDC00 + (v & 0x3FF));
        } else {
            Unicode(c);
        }
    }

    void Unicode(char32_t c) {
        out_ += "\\u";
        Number(Signed16(c));
        out_ += '?';
    }

    static long Signed16(char32_t c) {
        return c > 32767 ? static_cast<long>(c) - 65536 : static_cast<long>(c);
    }

    const Document& doc_;
    std::vector<Font> fonts_;
    std::vector<FontEncoding> encodings_;
    int textFont_ = -1;
    bool unicodeSymbols_ = false;  // Symbol characters written by SymbolChar
    int defaultFont_ = 0;
    std::vector<Rgb> colours_;
    std::unordered_map<std::uint32_t, int> colourIndex_;
    std::string out_;
    CharFormat state_;
    Align align_ = Align::Left;
    int lineSpacing_ = 0, spaceAfter_ = 0;
    bool pendingSpace_ = false;
};

// What stands between two paragraphs' text: a row's cells are one line, its cells apart by
// tabs, a cell's paragraphs by a space.
std::string_view Between(const Paragraph& a, const Paragraph& b, std::string_view eol) {
    if (!a.cell || !b.cell || a.cell->table != b.cell->table || a.cell->row != b.cell->row)
        return eol;
    return a.cell->column == b.cell->column ? " " : "\t";
}

template <class Emit>
void EachParagraphText(const Document& doc, std::string_view eol, std::string& out, Emit emit) {
    for (std::size_t k = 0; k < doc.paragraphs.size(); ++k) {
        if (k > 0) out += Between(doc.paragraphs[k - 1], doc.paragraphs[k], eol);
        for (const Run& r : doc.paragraphs[k].runs) {
            std::size_t pos = 0;
            while (pos < r.text.size()) {
                const char32_t c = NextCodePoint(r.text, pos);
                if (c == 0x2028)
                    out += eol;
                else
                    emit(r, c);
            }
        }
    }
}

}  // namespace

char32_t NextCodePoint(std::string_view s, std::size_t& pos) {
    const auto b = static_cast<unsigned char>(s[pos++]);
    if (b < 0x80) return b;
    int extra;
    char32_t cp;
    if ((b & 0xE0) == 0xC0) {
        extra = 1;
        cp = b & 0x1F;
    } else if ((b & 0xF0) == 0xE0) {
        extra = 2;
        cp = b & 0x0F;
    } else if ((b & 0xF8) == 0xF0) {
        extra = 3;
        cp = b & 0x07;
    } else {
        return 0xFFFD;
    }
    for (int k = 0; k < extra; ++k) {
        if (pos >= s.size() || (static_cast<unsigned char>(s[pos]) & 0xC0) != 0x80) return 0xFFFD;
        cp = (cp << 6) | (static_cast<unsigned char>(s[pos++]) & 0x3F);
    }
    return cp;
}

std::string WriteRtf(const Document& doc) {
    return Writer(doc).Write();
}

std::string PlainTextUtf8(const Document& doc, std::string_view eol) {
    std::string out;
    EachParagraphText(doc, eol, out, [&out](const Run&, char32_t c) { AppendUtf8(out, c); });
    return out;
}

std::string PlainTextCp1252(const Document& doc, std::string_view eol) {
    std::string out;
    std::vector<bool> picture;  // per font, worked out once
    for (const Font& f : doc.fonts) picture.push_back(EncodingOf(f) != FontEncoding::Text);
    EachParagraphText(doc, eol, out, [&](const Run& r, char32_t c) {
        if (auto b = UnicodeToCp1252(c)) {
            out += static_cast<char>(*b);
            return;
        }
        const bool symbolFont = r.format.font >= 0 &&
                                r.format.font < static_cast<int>(picture.size()) &&
                                picture[static_cast<std::size_t>(r.format.font)];
        const auto s = symbolFont ? UnicodeToSymbol(c) : std::nullopt;
        out += s ? static_cast<char>(*s) : '?';
    });
    return out;
}

std::string ResavedRtf(std::string_view generated) {
    return WriteRtf(ReadRtf(generated));
}

}  // namespace equat::rtf
