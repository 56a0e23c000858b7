// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtf/reader.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/cp1252.h"
#include "rtf/symbol.h"
#include "rtf/tokenizer.h"

namespace equat::rtf {

namespace {

// Bounds that keep hostile input linear: deeper groups share their parent's state, and
// table entries past the limits are read but not kept.
constexpr std::size_t kMaxDepth = 4096;
constexpr std::size_t kMaxFonts = 32768;
constexpr std::size_t kMaxColours = 32768;
constexpr int kMaxFontSize = 3276;  // half-points
constexpr int kMaxUc = 16;
// A picture's hexadecimal data (64 MiB of digits) and side (twips or pixels) read at most.
constexpr std::size_t kMaxPictureHex = std::size_t{64} << 20;
constexpr int kMaxPictureSide = 1 << 20;
// Paragraph spacing, twips: ten inches is more than any page.
constexpr int kMaxSpacing = 14400;
// A table row's cells read apart (more go to the last), and a cell's right edge, twips.
constexpr std::size_t kMaxCells = 4096;

enum class Kw : std::uint8_t {
    // destinations
    FontTable,
    ColourTable,
    SkipDest,
    Picture,
    // a picture's words
    PngBlip,
    PicW,
    PicH,
    PicWGoal,
    PicHGoal,
    // document defaults
    Deff,
    Deftab,
    Deflang,
    // font table entries
    Font,
    Charset,
    Pitch,
    FamNil,
    FamRoman,
    FamSwiss,
    FamModern,
    FamScript,
    FamDecor,
    FamTech,
    FamBidi,
    // colour table
    Red,
    Green,
    Blue,
    // character format
    Plain,
    FontSize,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Strike,
    Super,
    Sub,
    NoSuperSub,
    Up,
    Down,
    Colour,
    Highlight,
    // paragraphs
    Pard,
    Par,
    AlignLeft,
    AlignCenter,
    AlignRight,
    AlignJustify,
    SpaceAfter,
    LineSpacing,
    LineMultiple,
    // tables
    RowDefaults,
    CellRight,
    InTable,
    Itap,
    CellEnd,
    RowEnd,
    // characters
    Char,
    Unicode,
    Uc,
};

struct Keyword {
    std::string_view name;
    Kw kw;
    char32_t ch = 0;  // for Kw::Char
};

// Sorted by name: looked up by binary search.
constexpr Keyword kKeywords[] = {
    {"author", Kw::SkipDest},
    {"b", Kw::Bold},
    {"blue", Kw::Blue},
    {"bullet", Kw::Char, 0x2022},
    {"buptim", Kw::SkipDest},
    {"cb", Kw::Highlight},
    {"cell", Kw::CellEnd},
    {"cellx", Kw::CellRight},
    {"cf", Kw::Colour},
    {"colorschememapping", Kw::SkipDest},
    {"colortbl", Kw::ColourTable},
    {"comment", Kw::SkipDest},
    {"company", Kw::SkipDest},
    {"creatim", Kw::SkipDest},
    {"datastore", Kw::SkipDest},
    {"deff", Kw::Deff},
    {"deflang", Kw::Deflang},
    {"deftab", Kw::Deftab},
    {"dn", Kw::Down},
    {"doccomm", Kw::SkipDest},
    {"emdash", Kw::Char, 0x2014},
    {"emspace", Kw::Char, 0x2003},
    {"endash", Kw::Char, 0x2013},
    {"enspace", Kw::Char, 0x2002},
    {"f", Kw::Font},
    {"fbidi", Kw::FamBidi},
    {"fcharset", Kw::Charset},
    {"fdecor", Kw::FamDecor},
    {"fmodern", Kw::FamModern},
    {"fnil", Kw::FamNil},
    {"fonttbl", Kw::FontTable},
    {"footer", Kw::SkipDest},
    {"footerf", Kw::SkipDest},
    {"footerl", Kw::SkipDest},
    {"footerr", Kw::SkipDest},
    {"footnote", Kw::SkipDest},
    {"fprq", Kw::Pitch},
    {"froman", Kw::FamRoman},
    {"fs", Kw::FontSize},
    {"fscript", Kw::FamScript},
    {"fswiss", Kw::FamSwiss},
    {"ftech", Kw::FamTech},
    {"generator", Kw::SkipDest},
    {"green", Kw::Green},
    {"header", Kw::SkipDest},
    {"headerf", Kw::SkipDest},
    {"headerl", Kw::SkipDest},
    {"headerr", Kw::SkipDest},
    {"highlight", Kw::Highlight},
    {"i", Kw::Italic},
    {"info", Kw::SkipDest},
    {"intbl", Kw::InTable},
    {"itap", Kw::Itap},
    {"keywords", Kw::SkipDest},
    {"latentstyles", Kw::SkipDest},
    {"ldblquote", Kw::Char, 0x201C},
    {"line", Kw::Char, 0x2028},
    {"listoverridetable", Kw::SkipDest},
    {"listtable", Kw::SkipDest},
    {"lquote", Kw::Char, 0x2018},
    {"nestcell", Kw::Par},  // a nested table's cells are paragraphs of the outer cell
    {"nonesttables", Kw::SkipDest},
    {"nonshppict", Kw::SkipDest},
    {"nosupersub", Kw::NoSuperSub},
    {"object", Kw::SkipDest},
    {"operator", Kw::SkipDest},
    {"page", Kw::Par},
    {"par", Kw::Par},
    {"pard", Kw::Pard},
    {"pgdsctbl", Kw::SkipDest},
    {"pich", Kw::PicH},
    {"pichgoal", Kw::PicHGoal},
    {"pict", Kw::Picture},
    {"picw", Kw::PicW},
    {"picwgoal", Kw::PicWGoal},
    {"plain", Kw::Plain},
    {"pngblip", Kw::PngBlip},
    {"printim", Kw::SkipDest},
    {"qc", Kw::AlignCenter},
    {"qj", Kw::AlignJustify},
    {"ql", Kw::AlignLeft},
    {"qmspace", Kw::Char, 0x2005},
    {"qr", Kw::AlignRight},
    {"rdblquote", Kw::Char, 0x201D},
    {"red", Kw::Red},
    {"revtbl", Kw::SkipDest},
    {"revtim", Kw::SkipDest},
    {"row", Kw::RowEnd},
    {"rquote", Kw::Char, 0x2019},
    {"rsidtbl", Kw::SkipDest},
    {"sa", Kw::SpaceAfter},
    {"sect", Kw::Par},
    {"sl", Kw::LineSpacing},
    {"slmult", Kw::LineMultiple},
    {"strike", Kw::Strike},
    {"striked", Kw::Strike},
    {"stylesheet", Kw::SkipDest},
    {"sub", Kw::Sub},
    {"subject", Kw::SkipDest},
    {"super", Kw::Super},
    {"tab", Kw::Char, U'\t'},
    {"themedata", Kw::SkipDest},
    {"title", Kw::SkipDest},
    {"trowd", Kw::RowDefaults},
    {"u", Kw::Unicode},
    {"uc", Kw::Uc},
    {"ul", Kw::Underline},
    {"uld", Kw::Underline},
    {"uldash", Kw::Underline},
    {"uldashd", Kw::Underline},
    {"uldashdd", Kw::Underline},
    {"uldb", Kw::Underline},
    {"ulhwave", Kw::Underline},
    {"ulnone", Kw::UnderlineNone},
    {"ulth", Kw::Underline},
    {"ulw", Kw::Underline},
    {"ulwave", Kw::Underline},
    {"up", Kw::Up},
    {"xmlnstbl", Kw::SkipDest},
};

static_assert(std::is_sorted(std::begin(kKeywords), std::end(kKeywords),
                             [](const Keyword& a, const Keyword& b) { return a.name < b.name; }));

const Keyword* FindKeyword(std::string_view name) {
    const auto* end = std::end(kKeywords);
    const auto* it =
        std::lower_bound(std::begin(kKeywords), end, name,
                         [](const Keyword& k, std::string_view n) { return k.name < n; });
    return it != end && it->name == name ? it : nullptr;
}

enum class Dest : std::uint8_t { Document, FontTable, ColourTable, Skip, Picture };

struct State {
    Dest dest = Dest::Document;
    VAlign valign = VAlign::Baseline;
    Align align = Align::Left;
    int spaceAfter = 0, lineSpacing = 0;
    bool lineMultiple = false;
    bool inTable = false;  // \intbl, until \pard
    bool bold = false, italic = false, underline = false, strike = false;
    int fontNumber = -1;  // -1: the default font
    int size = 24;
    int uc = 1;
    std::optional<Rgb> colour, highlight;

    void ResetCharacter() {
        valign = VAlign::Baseline;
        bold = italic = underline = strike = false;
        fontNumber = -1;
        size = 24;
        colour.reset();
        highlight.reset();
    }
};

bool OnOff(const Token& t) {
    return !t.hasParam || t.param != 0;
}

std::string Trim(std::string s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    const auto last = s.find_last_not_of(' ');
    return s.substr(first, last - first + 1);
}

class Reader {
  public:
    Reader(std::string_view input, RtfSink& sink)
        : tok_(input), sink_(sink), stopAtClose_(LooksLikeRtf(input)) {
        states_.reserve(64);
        states_.emplace_back();
    }

    void Run() {
        for (;;) {
            const Token t = tok_.Next();
            switch (t.kind) {
                case TokenKind::End:
                    Finish();
                    return;
                case TokenKind::GroupOpen:
                    skip_ = 0;
                    if (states_.size() < kMaxDepth)
                        states_.push_back(states_.back());
                    else
                        ++overflow_;
                    break;
                case TokenKind::GroupClose:
                    skip_ = 0;
                    if (CloseGroup()) {
                        Finish();
                        return;
                    }
                    break;
                case TokenKind::Word:
                    OnWord(t);
                    break;
                case TokenKind::Symbol:
                    OnSymbol(t.byte);
                    break;
                case TokenKind::Hex:
                    OnByte(t.byte);
                    break;
                case TokenKind::Text:
                    OnTextBytes(t.text);
                    break;
                case TokenKind::Binary:
                    if (skip_ > 0) --skip_;
                    break;
            }
        }
    }

  private:
    State& Top() { return states_.back(); }

    // True when the document's outermost group has just closed.
    bool CloseGroup() {
        if (overflow_ > 0) {
            --overflow_;
            return false;
        }
        if (states_.size() <= 1) return false;  // an unbalanced '}': ignored
        Flush();
        const Dest closing = Top().dest;
        if (states_.size() == 2) endState_ = Top();  // the document group's own
        states_.pop_back();
        if (closing == Dest::Picture && Top().dest != Dest::Picture) EndPicture();
        // An entry closed without its ';' still counts when it has a name.
        if (closing == Dest::FontTable && pendingActive_ &&
            pendingName_.find_first_not_of(' ') != std::string::npos)
            CommitFont();
        return stopAtClose_ && states_.size() == 1;
    }

    void OnWord(const Token& t) {
        const Keyword* k = FindKeyword(t.text);
        const Dest dest = Top().dest;
        if (dest == Dest::Skip) return;
        if (dest == Dest::Document && skip_ > 0) {  // a fallback of \u, one character
            --skip_;
            if (k != nullptr && k->kw == Kw::Font && t.hasParam) fallbackFont_ = t.param;
            return;
        }
        if (k == nullptr) return;
        switch (dest) {
            case Dest::FontTable:
                OnFontTableWord(*k, t);
                return;
            case Dest::ColourTable:
                OnColourTableWord(*k, t);
                return;
            case Dest::Picture:
                OnPictureWord(*k, t);
                return;
            default:
                break;
        }
        State& s = Top();
        switch (k->kw) {
            case Kw::Char:
                AppendChar(k->ch);
                return;
            case Kw::Unicode:
                if (t.hasParam) OnUnicode(t.param);
                return;
            case Kw::Uc:
                s.uc = std::clamp(t.hasParam ? t.param : 1, 0, kMaxUc);
                return;
            default:
                break;
        }
        Flush();
        if (!OnFormatWord(*k, t, s)) OnDocumentWord(*k, t, s);
    }

    // The character format words; false for any other word.
    bool OnFormatWord(const Keyword& k, const Token& t, State& s) {
        switch (k.kw) {
            case Kw::Font:
                if (t.hasParam) s.fontNumber = t.param;
                return true;
            case Kw::Plain:
                s.ResetCharacter();
                return true;
            case Kw::FontSize:
                s.size = t.hasParam && t.param > 0 ? std::min(t.param, kMaxFontSize) : 24;
                return true;
            case Kw::Bold:
                s.bold = OnOff(t);
                return true;
            case Kw::Italic:
                s.italic = OnOff(t);
                return true;
            case Kw::Underline:
                s.underline = OnOff(t);
                return true;
            case Kw::UnderlineNone:
                s.underline = false;
                return true;
            case Kw::Strike:
                s.strike = OnOff(t);
                return true;
            case Kw::Super:
                s.valign = VAlign::Super;
                return true;
            case Kw::Sub:
                s.valign = VAlign::Sub;
                return true;
            case Kw::NoSuperSub:
                s.valign = VAlign::Baseline;
                return true;
            case Kw::Up:
                s.valign = t.hasParam && t.param == 0 ? VAlign::Baseline : VAlign::Super;
                return true;
            case Kw::Down:
                s.valign = t.hasParam && t.param == 0 ? VAlign::Baseline : VAlign::Sub;
                return true;
            case Kw::Colour:
                s.colour = ColourAt(t);
                return true;
            case Kw::Highlight:
                s.highlight = ColourAt(t);
                return true;
            default:
                return false;
        }
    }

    // Destinations, document settings and paragraph words.
    void OnDocumentWord(const Keyword& k, const Token& t, State& s) {
        switch (k.kw) {
            case Kw::FontTable:
                s.dest = Dest::FontTable;
                pendingActive_ = false;
                pendingName_.clear();
                break;
            case Kw::ColourTable:
                s.dest = Dest::ColourTable;
                ResetPendingColour();
                break;
            case Kw::SkipDest:
                s.dest = Dest::Skip;
                break;
            case Kw::Picture:
                s.dest = Dest::Picture;
                picture_ = {};
                pictureHex_.clear();
                pictureIsPng_ = false;
                break;
            case Kw::Deff:
                if (t.hasParam) deff_ = t.param;
                ++fontGeneration_;
                break;
            case Kw::Deftab:
                if (t.hasParam && t.param > 0) defaultTab_ = std::min(t.param, 1440 * 22);
                break;
            case Kw::Deflang:
                if (t.hasParam && t.param > 0) language_ = t.param;
                break;
            default:
                OnParagraphWord(k, t, s);
                break;
        }
    }

    // A row's definition and the ends of cells and rows.
    void OnTableWord(const Keyword& k, const Token& t) {
        switch (k.kw) {
            case Kw::RowDefaults:
                edges_.clear();
                break;
            case Kw::CellRight:
                if (edges_.size() < kMaxCells)
                    edges_.push_back(std::clamp(t.hasParam ? t.param : 0, 0, kMaxCellRight));
                break;
            case Kw::CellEnd:
                EndParagraph(true);
                break;
            case Kw::RowEnd:
                if (pendingText_) EndParagraph(true);             // text after the last cell
                if (tableRun_ && lastCell_->row == row_) ++row_;  // a row holds a cell
                column_ = 0;
                break;
            default:
                break;
        }
    }

    // A paragraph's end: in a table when it ends a cell or stands in one (\intbl). Rows whose
    // paragraphs follow one another make one table.
    void EndParagraph(bool cellEnd) {
        ParaFormat para = Para();
        if (cellEnd || Top().inTable) {
            if (!tableRun_) {
                ++table_;
                row_ = column_ = 0;
            }
            para.cell = PlaceInRow(lastCell_, {table_, row_, column_, 0}, edges_);
            if (cellEnd && column_ + 1 < static_cast<int>(kMaxCells)) ++column_;
        }
        tableRun_ = para.cell.has_value();
        lastCell_ = para.cell;
        pendingText_ = false;
        sink_.OnParagraphEnd(para, Format());
    }

    void OnParagraphWord(const Keyword& k, const Token& t, State& s) {
        switch (k.kw) {
            case Kw::Pard:
                s.align = Align::Left;
                s.spaceAfter = s.lineSpacing = 0;
                s.lineMultiple = s.inTable = false;
                break;
            case Kw::Par:
                EndParagraph(false);
                break;
            case Kw::InTable:
            case Kw::Itap:  // \itap0: out of any table; deeper levels read in the outer cell
                s.inTable = k.kw == Kw::InTable || !t.hasParam || t.param != 0;
                break;
            case Kw::SpaceAfter:
                s.spaceAfter = t.hasParam ? std::clamp(t.param, 0, kMaxSpacing) : 0;
                break;
            case Kw::LineSpacing:
                s.lineSpacing = t.hasParam ? t.param : 0;
                break;
            case Kw::LineMultiple:
                s.lineMultiple = OnOff(t);
                break;
            case Kw::AlignLeft:
                s.align = Align::Left;
                break;
            case Kw::AlignCenter:
                s.align = Align::Center;
                break;
            case Kw::AlignRight:
                s.align = Align::Right;
                break;
            case Kw::AlignJustify:
                s.align = Align::Justify;
                break;
            default:
                OnTableWord(k, t);
                break;
        }
    }

    void OnSymbol(unsigned char c) {
        if (Top().dest == Dest::Skip) return;
        if (c == '*') {  // an optional destination: we know none worth reading
            Flush();
            Top().dest = Dest::Skip;
            return;
        }
        if (c == '\\' || c == '{' || c == '}') {
            OnByte(c);
            return;
        }
        if (Top().dest != Dest::Document) return;
        if (skip_ > 0) {
            --skip_;
            return;
        }
        switch (c) {
            case '~':
                AppendChar(0x00A0);
                break;
            case '-':
                AppendChar(0x00AD);
                break;
            case '_':
                AppendChar(0x2011);
                break;
            default:
                break;
        }
    }

    // One text byte, from plain text, \'hh or an escaped syntax character.
    void OnByte(unsigned char b) {
        switch (Top().dest) {
            case Dest::Document:
                if (skip_ > 0) {
                    SkipFallbackByte(b);
                    return;
                }
                AppendByte(b);
                return;
            case Dest::FontTable:
                if (b == ';')
                    CommitFont();
                else
                    pendingName_ += static_cast<char>(b);
                return;
            case Dest::ColourTable:
                if (b == ';') CommitColour();
                return;
            case Dest::Skip:
            case Dest::Picture:
                return;
        }
    }

    void OnTextBytes(std::string_view text) {
        if (Top().dest == Dest::Picture && pictureHex_.size() < kMaxPictureHex) pictureHex_ += text;
        if (Top().dest == Dest::Document) {
            while (skip_ > 0 && !text.empty()) {
                SkipFallbackByte(static_cast<unsigned char>(text.front()));
                text.remove_prefix(1);
            }
            const FontEncoding enc = CurrentFont().second;
            if (enc == FontEncoding::Text) {
                for (unsigned char b : text) {
                    if (b < 0x80)
                        buffer_ += static_cast<char>(b);
                    else
                        AppendUtf8(buffer_, Cp1252ToUnicode(b));
                }
            } else {
                for (unsigned char b : text) AppendByte(b);
            }
            return;
        }
        for (unsigned char b : text) OnByte(b);
    }

    // A \u character whose fallback switches to a Symbol font and gives the byte of that
    // character there was that font's text when it was written: it goes back to the font.
    void SkipFallbackByte(unsigned char b) {
        --skip_;
        if (fallbackFont_ == kNoFont || unicodeAt_ >= buffer_.size()) return;
        const int index = IndexOf(fallbackFont_);
        fallbackFont_ = kNoFont;
        if (index < 0 || encodings_[static_cast<std::size_t>(index)] != FontEncoding::Symbol ||
            UnicodeToSymbol(unicodeChar_) != b)
            return;
        const std::string c = buffer_.substr(unicodeAt_);
        buffer_.resize(unicodeAt_);
        Flush();
        CharFormat f = Format();
        f.font = index;
        pendingText_ = true;
        sink_.OnText(c, f);
    }

    void AppendByte(unsigned char b) {
        switch (CurrentFont().second) {
            case FontEncoding::Text:
                AppendChar(Cp1252ToUnicode(b));
                return;
            case FontEncoding::Symbol:
                AppendChar(SymbolToUnicode(b));
                return;
            case FontEncoding::Pi:
                AppendChar(b < 0x20 ? b : 0xF000 + b);
                return;
        }
    }

    void AppendChar(char32_t c) {
        // NUL and the other control characters are not text.
        if ((c < 0x20 && c != U'\t') || c == 0x7F) return;
        if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = 0xFFFD;
        AppendUtf8(buffer_, c);
    }

    void OnUnicode(std::int32_t param) {
        skip_ = Top().uc;
        unicodeAt_ = std::string::npos;
        fallbackFont_ = kNoFont;
        std::int64_t v = param;
        if (v < 0) v += 65536;  // written as a signed 16-bit number
        if (v < 0 || v > 0xFFFF) {
            highSurrogate_ = 0;
            AppendChar(0xFFFD);
            return;
        }
        char32_t c = static_cast<char32_t>(v);
        if (c >= 0xD800 && c <= 0xDBFF) {
            highSurrogate_ = c;
            return;
        }
        if (c >= 0xDC00 && c <= 0xDFFF) {
            c = highSurrogate_ != 0 ? 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (c - 0xDC00)
                                    : 0xFFFD;
            highSurrogate_ = 0;
            AppendChar(c);
            return;
        }
        highSurrogate_ = 0;
        const FontEncoding enc = CurrentFont().second;
        if (enc == FontEncoding::Symbol &&
            ((c >= 0xF020 && c <= 0xF0FF) || (c >= 0x20 && c <= 0xFF)))
            c = SymbolToUnicode(static_cast<unsigned char>(c & 0xFF));
        else if (enc == FontEncoding::Pi && c >= 0x20 && c <= 0xFF)
            c += 0xF000;
        unicodeAt_ = buffer_.size();
        unicodeChar_ = c;
        AppendChar(c);
    }

    // Index and encoding of the current font, cached for the run of text that uses it.
    std::pair<int, FontEncoding> CurrentFont() {
        const int number = Top().fontNumber;
        if (number == cachedNumber_ && cachedGeneration_ == fontGeneration_) return cached_;
        cachedNumber_ = number;
        cachedGeneration_ = fontGeneration_;
        int index = -1;
        if (number != -1) index = IndexOf(number);
        if (index < 0) index = IndexOf(deff_);
        if (index < 0 && !fonts_.empty()) index = 0;
        cached_ = {index,
                   index >= 0 ? encodings_[static_cast<std::size_t>(index)] : FontEncoding::Text};
        return cached_;
    }

    int IndexOf(int number) const {
        const auto it = fontIndex_.find(number);
        return it == fontIndex_.end() ? -1 : it->second;
    }

    void Flush() {
        unicodeAt_ = std::string::npos;
        if (buffer_.empty()) return;
        pendingText_ = true;
        sink_.OnText(buffer_, Format());
        buffer_.clear();
    }

    // Only a PNG's size and bytes are kept; other pictures are skipped as before.
    void OnPictureWord(const Keyword& k, const Token& t) {
        const int v = t.hasParam ? std::clamp(t.param, 0, kMaxPictureSide) : 0;
        switch (k.kw) {
            case Kw::PngBlip:
                pictureIsPng_ = true;
                break;
            case Kw::PicW:
                picture_.pixelWidth = v;
                break;
            case Kw::PicH:
                picture_.pixelHeight = v;
                break;
            case Kw::PicWGoal:
                picture_.width = v;
                break;
            case Kw::PicHGoal:
                picture_.height = v;
                break;
            default:
                break;
        }
    }

    // The PNG of a closed picture group, its hexadecimal digits read in pairs (white space
    // between them ignored), in the format of the group around it.
    void EndPicture() {
        if (!pictureIsPng_ || picture_.width <= 0 || picture_.height <= 0) return;
        std::string png;
        png.reserve(pictureHex_.size() / 2);
        int high = -1;
        for (const char c : pictureHex_) {
            const int d = HexDigit(c);
            if (d < 0) continue;
            if (high < 0) {
                high = d;
            } else {
                png += static_cast<char>(high * 16 + d);
                high = -1;
            }
        }
        if (png.rfind("\x89PNG", 0) != 0) return;
        picture_.png = std::move(png);
        pendingText_ = true;
        sink_.OnPicture(picture_, Format());
    }

    static int HexDigit(char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    }

    CharFormat Format() {
        const State& s = Top();
        CharFormat f;
        f.font = CurrentFont().first;
        f.size = s.size;
        f.bold = s.bold;
        f.italic = s.italic;
        f.underline = s.underline;
        f.strike = s.strike;
        f.valign = s.valign;
        f.colour = s.colour;
        f.highlight = s.highlight;
        return f;
    }

    // Only a multiple of the line is kept: an exact or least height ("\\sl" alone) reads as a
    // single line, as before.
    ParaFormat Para() {
        const State& s = Top();
        const bool multiple = s.lineMultiple && s.lineSpacing > 0;
        return {s.align, multiple ? std::min(s.lineSpacing, kMaxSpacing) : 0, s.spaceAfter};
    }

    void Finish() {
        Flush();
        int deffIndex = IndexOf(deff_);
        if (deffIndex < 0 && !fonts_.empty()) deffIndex = 0;
        if (states_.size() <= 1 && endState_) states_.back() = *endState_;
        sink_.OnEnd(deffIndex, defaultTab_, language_, Para(), Format());
    }

    std::optional<Rgb> ColourAt(const Token& t) const {
        if (!t.hasParam || t.param < 0 || static_cast<std::size_t>(t.param) >= colours_.size())
            return std::nullopt;  // out of the table: the automatic colour
        return colours_[static_cast<std::size_t>(t.param)];
    }

    void OnFontTableWord(const Keyword& k, const Token& t) {
        const int v = t.hasParam ? t.param : 0;
        switch (k.kw) {
            case Kw::Font:
                if (pendingActive_ && !pendingName_.empty()) CommitFont();
                pendingActive_ = true;
                pendingNumber_ = v;
                pendingFont_ = Font{};
                pendingName_.clear();
                break;
            case Kw::Charset:
                pendingFont_.charset = v;
                break;
            case Kw::Pitch:
                pendingFont_.pitch = std::clamp(v, 0, 2);  // default, fixed, variable
                break;
            case Kw::FamNil:
            case Kw::FamRoman:
            case Kw::FamSwiss:
            case Kw::FamModern:
            case Kw::FamScript:
            case Kw::FamDecor:
            case Kw::FamTech:
            case Kw::FamBidi:
                pendingFont_.family =
                    static_cast<FontFamily>(static_cast<int>(k.kw) - static_cast<int>(Kw::FamNil));
                break;
            case Kw::SkipDest:
                Top().dest = Dest::Skip;
                break;
            default:
                break;
        }
    }

    void CommitFont() {
        if (!pendingActive_) {
            pendingName_.clear();
            return;
        }
        pendingActive_ = false;
        if (fonts_.size() >= kMaxFonts) return;
        pendingFont_.name = Cp1252ToUtf8(Trim(std::move(pendingName_)));
        pendingName_.clear();
        fontIndex_[pendingNumber_] = static_cast<int>(fonts_.size());
        fonts_.push_back(pendingFont_);
        encodings_.push_back(EncodingOf(pendingFont_));
        ++fontGeneration_;
        sink_.OnFont(pendingFont_);
    }

    void OnColourTableWord(const Keyword& k, const Token& t) {
        const auto v = static_cast<std::uint8_t>(std::clamp(t.hasParam ? t.param : 0, 0, 255));
        switch (k.kw) {
            case Kw::Red:
                pendingColour_.r = v;
                colourGiven_ = true;
                break;
            case Kw::Green:
                pendingColour_.g = v;
                colourGiven_ = true;
                break;
            case Kw::Blue:
                pendingColour_.b = v;
                colourGiven_ = true;
                break;
            default:
                break;
        }
    }

    void CommitColour() {
        if (colours_.size() < kMaxColours)
            colours_.push_back(colourGiven_ ? std::optional<Rgb>(pendingColour_) : std::nullopt);
        ResetPendingColour();
    }

    void ResetPendingColour() {
        pendingColour_ = {};
        colourGiven_ = false;
    }

    Tokenizer tok_;
    RtfSink& sink_;
    bool stopAtClose_;
    std::vector<State> states_;
    std::size_t overflow_ = 0;
    int skip_ = 0;            // fallback characters of the last \u still to skip
    PngPicture picture_;      // the picture group being read
    std::string pictureHex_;  // its data
    bool pictureIsPng_ = false;
    // The last \u character: where it starts in buffer_ (npos once flushed), its code point
    // and a font that its fallback switched to.
    static constexpr int kNoFont = std::numeric_limits<int>::min();
    std::size_t unicodeAt_ = std::string::npos;
    char32_t unicodeChar_ = 0;
    int fallbackFont_ = kNoFont;
    char32_t highSurrogate_ = 0;
    std::optional<State> endState_;
    std::string buffer_;
    // Tables: the row's cells' right edges (\cellx since \trowd), whether the last paragraph
    // ended in a table, the place of the next cell, text since the last paragraph's end.
    std::vector<int> edges_;
    std::optional<CellPlace> lastCell_;
    bool tableRun_ = false, pendingText_ = false;
    int table_ = -1, row_ = 0, column_ = 0;

    int deff_ = 0;
    int defaultTab_ = 720;
    int language_ = 0;

    std::vector<Font> fonts_;
    std::vector<FontEncoding> encodings_;  // of fonts_, worked out once per font
    std::unordered_map<int, int> fontIndex_;
    unsigned fontGeneration_ = 0;
    int cachedNumber_ = -2;
    unsigned cachedGeneration_ = ~0u;
    std::pair<int, FontEncoding> cached_{-1, FontEncoding::Text};
    bool pendingActive_ = false;
    int pendingNumber_ = 0;
    Font pendingFont_;
    std::string pendingName_;

    std::vector<std::optional<Rgb>> colours_;
    Rgb pendingColour_;
    bool colourGiven_ = false;
};

}  // namespace

FontEncoding EncodingOf(const Font& font) {
    if (font.name.size() == 6) {
        std::string lower;
        for (char c : font.name) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
        if (lower == "symbol") return FontEncoding::Symbol;
    }
    if (font.charset != 2) return FontEncoding::Text;
    std::string lower;
    for (char c : font.name) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    for (std::string_view pi : {"wingdings", "webdings", "marlett", "zapf", "dingbats"})
        if (lower.find(pi) != std::string::npos) return FontEncoding::Pi;
    return FontEncoding::Symbol;
}

namespace {

int CellRight(const std::vector<int>& edges, int column) {
    const int given = static_cast<int>(edges.size());
    if (column < given) return edges[static_cast<std::size_t>(column)];
    const std::int64_t right =
        (given > 0 ? edges.back() : 0) + std::int64_t{1440} * (column - given + 1);
    return static_cast<int>(std::min<std::int64_t>(right, kMaxCellRight));
}

}  // namespace

CellPlace PlaceInRow(const std::optional<CellPlace>& previous, CellPlace place,
                     const std::vector<int>& edges) {
    if (previous && previous->table == place.table && previous->row == place.row &&
        previous->column == place.column) {
        place.right = previous->right;
    } else {
        place.right = CellRight(edges, place.column);
    }
    return place;
}

bool LooksLikeRtf(std::string_view bytes) {
    const auto first = bytes.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && bytes.substr(first, 5) == "{\\rtf";
}

void ReadRtf(std::string_view rtf, RtfSink& sink) {
    Reader(rtf, sink).Run();
}

Document ReadRtf(std::string_view rtf) {
    DocumentBuilder b;
    ReadRtf(rtf, b);
    return b.Take();
}

int DocumentBuilder::TextFontFor(int defaultFont) {
    if (EncodingOf(doc_.fonts[static_cast<std::size_t>(defaultFont)]) == FontEncoding::Text)
        return defaultFont;
    for (std::size_t k = 0; k < doc_.fonts.size(); ++k)
        if (EncodingOf(doc_.fonts[k]) == FontEncoding::Text) return static_cast<int>(k);
    doc_.fonts.push_back(Font{"Arial", 0, FontFamily::Swiss, 2});
    return static_cast<int>(doc_.fonts.size() - 1);
}

void DocumentBuilder::OnFont(const Font& font) {
    doc_.fonts.push_back(font);
}

void DocumentBuilder::OnText(std::string_view utf8, const CharFormat& format) {
    auto& runs = doc_.paragraphs.back().runs;
    if (!runs.empty() && runs.back().format == format && !runs.back().picture)
        runs.back().text += utf8;
    else
        runs.push_back(Run{format, std::string(utf8)});
}

void DocumentBuilder::OnPicture(const PngPicture& picture, const CharFormat& format) {
    doc_.paragraphs.back().runs.push_back(Run{format, {}, picture});
}

namespace {

void SetPara(Paragraph& p, const ParaFormat& f) {
    p.cell = f.cell;
    p.align = f.align;
    p.lineSpacing = f.lineSpacing;
    p.spaceAfter = f.spaceAfter;
}

}  // namespace

void DocumentBuilder::OnParagraphEnd(const ParaFormat& para, const CharFormat& mark) {
    SetPara(doc_.paragraphs.back(), para);
    doc_.paragraphs.back().mark = mark;
    doc_.paragraphs.emplace_back();
}

void DocumentBuilder::OnEnd(int defaultFont, int defaultTab, int language, const ParaFormat& last,
                            const CharFormat& lastMark) {
    doc_.paragraphs.back().mark = lastMark;
    doc_.defaultFont = defaultFont;
    doc_.defaultTab = defaultTab;
    doc_.language = language;
    SetPara(doc_.paragraphs.back(), last);
    // Text read before any font was known takes the default font, as it will when written.
    if (defaultFont < 0) return;
    // Text read before the font table was read as code-page text: it goes to a text font,
    // the default one if it is one, so that writing it back reads the same.
    int target = -1;
    for (Paragraph& p : doc_.paragraphs) {
        if (p.mark.font < 0) {
            if (target < 0) target = TextFontFor(defaultFont);
            p.mark.font = target;
        }
        bool changed = false;
        for (Run& r : p.runs)
            if (r.format.font < 0) {
                if (target < 0) target = TextFontFor(defaultFont);
                r.format.font = target;
                changed = true;
            }
        if (!changed) continue;
        std::vector<Run> merged;
        for (Run& r : p.runs) {
            if (!merged.empty() && merged.back().format == r.format)
                merged.back().text += r.text;
            else
                merged.push_back(std::move(r));
        }
        p.runs = std::move(merged);
    }
}

}  // namespace equat::rtf
