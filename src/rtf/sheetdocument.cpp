// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtf/sheetdocument.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/adaptedrtf.h"
#include "core/cp1252.h"
#include "core/keymarkup.h"
#include "core/layoutmarkup.h"
#include "core/textsink.h"
#include "rtf/reader.h"
#include "rtf/symbol.h"

namespace equat::rtf {

namespace {

// The prologue's colour table (kRtfHeader): entry 0 is the automatic colour.
constexpr std::array<std::optional<Rgb>, 17> kColours{
    std::nullopt,     Rgb{0, 0, 0},      Rgb{128, 0, 0},   Rgb{0, 128, 0},     Rgb{128, 128, 0},
    Rgb{0, 0, 128},   Rgb{128, 0, 128},  Rgb{0, 128, 128}, Rgb{128, 128, 128}, Rgb{192, 192, 192},
    Rgb{255, 0, 0},   Rgb{0, 255, 0},    Rgb{255, 255, 0}, Rgb{0, 0, 255},     Rgb{255, 0, 255},
    Rgb{0, 255, 255}, Rgb{255, 255, 255}};

// The size words' bound, as a document read from RTF has it.
constexpr int kMaxFontSize = 3276;

// The prologue's fonts f0..f4; the adapted layout sets its font in place of Arial and Times.
std::vector<Font> PrologueFonts(const AdaptedLayout* layout) {
    const std::string text = layout ? Cp1252ToUtf8(FontInfo(layout->font).family) : "Arial";
    return {{text, 0, FontFamily::Swiss, 2},
            layout ? Font{text, 0, FontFamily::Swiss, 2}
                   : Font{"Times New Roman", 0, FontFamily::Roman, 2},
            {"Courier New", 0, FontFamily::Modern, 1},
            {"Symbol", 2, FontFamily::Roman, 2},
            {text, 0, FontFamily::Swiss, 0}};
}

bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}
bool IsHex(char c) {
    return IsDigit(static_cast<unsigned char>(c)) || (c >= 'a' && c <= 'f') ||
           (c >= 'A' && c <= 'F');
}
int Hex(char c) {
    return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
}

bool IsPrintable(char c) {  // printable ASCII
    return static_cast<unsigned char>(c) - 0x20u < 0x5Fu;
}

// The end of the printable ASCII from `k` on that a text font takes as it is; with `escapes`,
// a backslash may start an escape of the markup.
std::size_t AsciiEnd(std::string_view text, std::size_t k, bool escapes) {
    if (escapes) {
        while (k < text.size() && IsPrintable(text[k]) && text[k] != '\\') ++k;
    } else {
        while (k < text.size() && IsPrintable(text[k])) ++k;
    }
    return k;
}

// What format tags in a row leave of the character format: each field as the last tag of it
// set it. Nothing else changes between them, so they act at one control word's place.
struct FormatStep {
    std::optional<bool> bold, italic, underline, strike;
    std::optional<VAlign> valign;
    std::optional<int> font, size, colour, highlight;  // the tags' values

    // False, nothing changed, for a tag that sets no format.
    bool Add(const MarkupTag& tag) {
        const bool on = tag.value != 0;
        switch (tag.kind) {
            case TagKind::Bold:
                bold = on;
                break;
            case TagKind::Italic:
                italic = on;
                break;
            case TagKind::Underline:
                underline = on;
                break;
            case TagKind::Strike:
                strike = on;
                break;
            case TagKind::Super:
                valign = VAlign::Super;
                break;
            case TagKind::Sub:
                valign = VAlign::Sub;
                break;
            case TagKind::Baseline:
                valign = VAlign::Baseline;
                break;
            case TagKind::Font:
                font = tag.value;
                break;
            case TagKind::Size:
                size = tag.value;
                break;
            case TagKind::Colour:
                colour = tag.value;
                break;
            case TagKind::Highlight:
                highlight = tag.value;
                break;
            default:
                return false;
        }
        return true;
    }
};

// The markup's events: runs of text, format tags in a row as one step, and each other tag
// known (with its text, for a row's widths).
template <class OnText, class OnFormat, class OnTag>
void ForEachEvent(std::string_view markup, OnText&& onText, OnFormat&& onFormat, OnTag&& onTag) {
    FormatStep step;
    bool formats = false;
    const auto flush = [&] {
        if (!formats) return;
        onFormat(step);
        step = {};
        formats = false;
    };
    ForEachMarkup(
        markup,
        [&](std::string_view text) {
            flush();
            onText(text);
        },
        [&](std::string_view text) {
            const MarkupTag tag = ReadTag(text);
            if (tag.kind == TagKind::Unknown) return;  // nothing is written for it
            if (step.Add(tag)) {
                formats = true;
                return;
            }
            flush();
            onTag(tag, text);
        });
    flush();
}

// One piece of markup: format tags in a row, another tag, or a run of text with the markup's
// escapes (\\ \{ \} \'hh).
struct Event {
    MarkupTag tag;           // Unknown for format tags and text
    FormatStep format;       // the format tags'
    std::string text;        // empty for a tag
    std::vector<int> edges;  // a row's cells' right edges
    bool ascii = false;      // text of printable ASCII without escapes
};

// The document writer of the layout: the markup's events applied to a character format, text
// appended to runs as a document read from RTF holds them. The comma, the adapted layout and
// the strip's emptied text are applied to the events as they come.
class DocOut {
  public:
    using Piece = std::vector<Event>;
    static Piece Convert(std::string_view markup) {
        Piece events;
        ForEachEvent(
            markup,
            [&](std::string_view text) {
                events.push_back(
                    {{}, {}, std::string(text), {}, AsciiEnd(text, 0, true) == text.size()});
            },
            [&](const FormatStep& format) {
                events.push_back({{}, format, {}, {}});
            },
            [&](const MarkupTag& tag, std::string_view text) {
                events.push_back(
                    {tag, {}, {}, tag.kind == TagKind::Row ? RowEdges(text) : std::vector<int>{}});
            });
        return events;
    }

    // A writer not wanted writes nothing: the layout of a sheet writes both documents.
    explicit DocOut(bool wanted = true) : wanted_(wanted) {}

    // Room at once for the paragraphs of a document of `questions` questions, most of which
    // take fewer than kParagraphsPerQuestion: the vector is not moved as it grows.
    void Reserve(std::size_t questions) {
        if (wanted_) doc_.paragraphs.reserve(kParagraphsPerQuestion * (questions + 1));
    }

    void Put(const Piece& piece) {
        if (!wanted_) return;
        for (const Event& e : piece) {
            if (e.tag.kind != TagKind::Unknown) {
                Apply(e.tag, e.edges);
            } else if (e.text.empty()) {
                Step(e.format);
            } else if (e.ascii && textFont_ && !skeleton_) {
                Ascii(e.text);
            } else {
                Text(e.text, true);
            }
        }
    }
    void Put(std::string_view text) { Text(text, false); }
    void Put(char c) {
        if (wanted_ && textFont_ && !skeleton_ && IsPrintable(c)) {
            text_ += c;
            Appended(text_.size() - 1);
        } else {
            Text(std::string_view(&c, 1), false);
        }
    }
    void PutInt(std::int64_t v) {
        Numbers([&](TextSink& s) { s.PutInt(v); });
    }
    void PutLeadCoef(std::int32_t v) {
        Numbers([&](TextSink& s) { s.PutLeadCoef(v); });
    }
    void PutSignedCoef(std::int32_t v) {
        Numbers([&](TextSink& s) { s.PutSignedCoef(v); });
    }
    void PutConstTerm(std::int32_t v) {
        Numbers([&](TextSink& s) { s.PutConstTerm(v); });
    }
    void Markup(std::string_view markup) {
        if (!wanted_) return;
        ForEachEvent(
            markup, [&](std::string_view text) { Text(text, true); },
            [&](const FormatStep& format) { Step(format); },
            [&](const MarkupTag& tag, std::string_view text) {
                Apply(tag, tag.kind == TagKind::Row ? RowEdges(text) : std::vector<int>{});
            });
    }
    void Exact(const Surd& x) {
        if (wanted_) Markup(ExactKeyMarkup(x));
    }
    void Worked(const Steps& steps) {
        if (wanted_) Markup(WorkedStepsMarkup(steps));
    }
    void Picture(const PngPicture& picture) {
        if (!wanted_) return;
        Boundary();
        spans_.push_back({format_, text_.size(), &picture});
    }
    template <class F>
    void Stream(std::size_t /*expected*/, F&& f) {
        if (wanted_) f(*this);
    }

    void Begin(const AdaptedLayout* layout) {
        for (const Font& f : PrologueFonts(layout)) {
            doc_.fonts.push_back(f);
            encodings_.push_back(EncodingOf(f));
        }
        doc_.defaultFont = 0;
        doc_.defaultTab = 720;
        doc_.language = 1036;
        SetFont(0);
        lineSpacing_ = layout ? (layout->doubleSpacing ? 480 : 360) : 0;
    }
    void End() {
        Paragraph& last = doc_.paragraphs.back();
        last.mark = format_;
        last.lineSpacing = lineSpacing_;
        last.spaceAfter = spaceAfter_;
    }
    void Par() {
        if (!wanted_) return;
        Boundary();
        Paragraph& p = doc_.paragraphs.back();
        TakeRuns(p);
        p.lineSpacing = lineSpacing_;
        p.spaceAfter = spaceAfter_;
        p.mark = format_;
        p.align = align_;
        // Where the reader places it: rows that follow one another make one table.
        if (inRow_) {
            if (!tableRun_) {
                ++table_;
                row_ = column_ = 0;
            }
            p.cell = PlaceInRow(LastCell(), {table_, row_, column_, 0}, edges_);
        }
        tableRun_ = inRow_;
        doc_.paragraphs.emplace_back();
    }

    void BeginBody(layout::BodyOptions options) {
        options_ = options;
        Boundary();
    }
    void BodyPar() {
        if (!options_.layout || !options_.room) {
            Par();
            return;
        }
        spaceAfter_ = WritingSpace(*options_.layout);
        Par();
        spaceAfter_ = 0;
    }
    void ApplyComma() {
        options_.comma = false;
        Boundary();
    }
    void ApplyLayout() { options_ = {}; }
    void CopyStatement(const DocOut& /*subject*/, const Statement& statement) {
        layout::PutStatement(*this, statement);
    }
    void EndStatement() {}
    void Skeleton(const DocOut& /*subject*/, const QuestionModel& q, KeyStyle style) {
        if (!wanted_) return;
        skeleton_ = true;
        layout::PutSubjectText(*this, q, style);
        Boundary();
        skeleton_ = false;
    }

    Document Take() {
        TakeRuns(doc_.paragraphs.back());
        return std::move(doc_);
    }

  private:
    // A number's text: printable ASCII, written in place in a text font.
    template <class F>
    void Numbers(F&& f) {
        if (!wanted_) return;
        if (!textFont_ || skeleton_) {  // through Text, as any other bytes
            numbers_.clear();
            {
                TextSink sink(numbers_, 24);
                f(sink);
            }
            Text(numbers_, false);
            return;
        }
        const std::size_t start = text_.size();
        {
            TextSink sink(text_, 24);
            f(sink);
        }
        Appended(start);
    }

    // A control word's place: the strip's pending text becomes its one space, and the comma
    // looks no further. The format may change after it: the run text goes in is looked for
    // again.
    void Boundary() {
        if (skeletonText_) {
            skeletonText_ = false;
            Append(' ', false);
        }
        previous_ = 0;
        dot_.reset();
        runOpen_ = false;
    }

    // The open paragraph's runs, made once at their size from its text and the spans of it
    // each format holds.
    void TakeRuns(Paragraph& p) {
        p.runs.reserve(spans_.size());
        for (std::size_t k = 0; k < spans_.size(); ++k) {
            const Span& s = spans_[k];
            const std::size_t end = k + 1 < spans_.size() ? spans_[k + 1].start : text_.size();
            Run& run = p.runs.emplace_back(Run{s.format, text_.substr(s.start, end - s.start)});
            if (s.picture) run.picture = *s.picture;
        }
        spans_.clear();
        text_.clear();
        runOpen_ = false;
    }

    // A tag that sets no format.
    void Apply(const MarkupTag& tag, const std::vector<int>& edges) {
        Boundary();
        switch (tag.kind) {
            case TagKind::Break:
                Par();
                break;
            case TagKind::Tab:
                AddChar(U'\t');
                break;
            default:
                ApplyTable(tag.kind, edges);
                break;
        }
    }

    // Format tags at one place.
    void Step(const FormatStep& s) {
        Boundary();
        if (s.bold) format_.bold = *s.bold;
        if (s.italic && !options_.layout) format_.italic = *s.italic;  // an upright x
        if (s.underline) format_.underline = *s.underline;
        if (s.strike) format_.strike = *s.strike;
        if (s.valign) format_.valign = *s.valign;
        if (s.font) SetFont(*s.font);
        if (s.size) SetSize(*s.size);
        if (s.colour) format_.colour = kColours[static_cast<std::size_t>(*s.colour)];
        if (s.highlight) format_.highlight = kColours[static_cast<std::size_t>(*s.highlight)];
    }

    // A table's tags, placing paragraphs in cells as the reader does the RTF they make.
    void ApplyTable(TagKind kind, const std::vector<int>& edges) {
        switch (kind) {
            case TagKind::Row:
                edges_ = edges;
                inRow_ = true;
                align_ = Align::Center;
                break;
            case TagKind::Cell: {
                const bool inRow = inRow_;
                inRow_ = true;  // a cell's end is a cell's even out of a row, as read
                Par();
                inRow_ = inRow;
                ++column_;
                break;
            }
            case TagKind::RowEnd:
                if (!spans_.empty()) {  // text after the last cell
                    inRow_ = true;
                    Par();
                }
                inRow_ = false;
                align_ = Align::Left;  // the paragraph's reset after the row
                if (tableRun_ && LastCell()->row == row_) ++row_;  // a row holds a cell, as read
                column_ = 0;
                break;
            default:
                break;
        }
    }

    void SetFont(int font) {
        format_.font = font;
        const auto k = static_cast<std::size_t>(font);
        textFont_ = k >= encodings_.size() || encodings_[k] == FontEncoding::Text;
    }

    void SetSize(int size) {  // -1: a size word without its number
        if (size >= 0 && options_.layout) size = AdaptedSize(size, *options_.layout);
        format_.size = size > 0 ? std::min(size, kMaxFontSize) : 24;
    }

    // Text bytes; with `escapes`, the markup's \\, \{, \} and \'hh give one byte each. Printable
    // ASCII in a text font goes in by spans.
    void Text(std::string_view text, bool escapes) {
        if (!wanted_) return;
        if (skeleton_) {  // any text, escaped or not, is the strip's one space
            skeletonText_ = skeletonText_ || !text.empty();
            return;
        }
        for (std::size_t k = 0; k < text.size();) {
            const std::size_t end = textFont_ ? AsciiEnd(text, k, escapes) : k;
            if (end > k) {
                Ascii(text.substr(k, end - k));
                k = end;
            } else {
                k = Byte(text, k, escapes);
            }
        }
    }

    // One byte or escape at `k`, not ASCII in a text font; the place after it.
    std::size_t Byte(std::string_view text, std::size_t k, bool escapes) {
        const auto b = static_cast<unsigned char>(text[k]);
        const char next = escapes && b == '\\' && k + 1 < text.size() ? text[k + 1] : '\0';
        if (next == '\\' || next == '{' || next == '}') {
            Escaped(static_cast<unsigned char>(next));
            return k + 2;
        }
        if (next == '\'' && k + 3 < text.size() && IsHex(text[k + 2]) && IsHex(text[k + 3])) {
            Escaped(static_cast<unsigned char>(Hex(text[k + 2]) * 16 + Hex(text[k + 3])));
            return k + 4;
        }
        Plain(b);
        return k + 1;
    }

    // Printable ASCII in a text font.
    void Ascii(std::string_view span) {
        const std::size_t start = text_.size();
        text_ += span;
        Appended(start);
    }

    // The printable ASCII just put in the text from `start` on, in the current format, as Plain
    // puts it byte by byte: the comma turns each '.' between two digits, the last '.' after a
    // digit waits for what follows.
    void Appended(std::size_t start) {
        if (start == text_.size()) return;
        OpenRun(start);
        EndDot(static_cast<unsigned char>(text_[start]));
        if (options_.comma) {
            for (std::size_t i = start; i < text_.size(); ++i) {
                const auto before = i > start ? text_[i - 1] : static_cast<char>(previous_);
                if (!DecimalPoint(static_cast<unsigned char>(text_[i]),
                                  static_cast<unsigned char>(before)))
                    continue;
                if (i + 1 == text_.size()) {
                    dot_ = i;
                } else if (IsDigit(static_cast<unsigned char>(text_[i + 1]))) {
                    text_[i] = ',';
                }
            }
        }
        previous_ = static_cast<unsigned char>(text_.back());
    }

    // The '.' waiting after a digit becomes a comma when next is a digit, and waits no more.
    void EndDot(unsigned char next) {
        if (dot_ && IsDigit(next)) text_[*dot_] = ',';
        dot_.reset();
    }
    // Whether c, after before, is a decimal point the comma replaces.
    bool DecimalPoint(unsigned char c, unsigned char before) const {
        return options_.comma && c == '.' && IsDigit(before);
    }

    // A byte of plain text: the comma turns a '.' between two digits.
    void Plain(unsigned char b) {
        EndDot(b);
        const bool dot = DecimalPoint(b, previous_);
        Append(b, false);
        previous_ = b;
        // The '.' ends the last run's text.
        if (dot && !spans_.empty() && text_.size() > spans_.back().start && text_.back() == '.')
            dot_ = text_.size() - 1;
    }

    void Escaped(unsigned char b) {
        previous_ = 0;
        dot_.reset();
        Append(b, true);
    }

    // One byte in the current font, as the RTF reader reads it: plain text of a text font as
    // it is, the rest through the font's table.
    void Append(unsigned char b, bool escaped) {
        if (!escaped && (b < 0x20 || b == 0x7F)) return;  // control bytes are not text
        const auto font = static_cast<std::size_t>(format_.font);
        const FontEncoding enc = font < encodings_.size() ? encodings_[font] : FontEncoding::Text;
        if (enc == FontEncoding::Text && !escaped) {
            if (b < 0x80) {
                RunText() += static_cast<char>(b);
            } else {
                AppendUtf8(RunText(), Cp1252ToUnicode(b));
            }
            return;
        }
        AddChar(enc == FontEncoding::Text     ? Cp1252ToUnicode(b)
                : enc == FontEncoding::Symbol ? SymbolToUnicode(b)
                                              : (b < 0x20 ? b : 0xF000 + b));
    }

    // A character; the control characters but the tab are not text.
    void AddChar(char32_t c) {
        if ((c < 0x20 && c != U'\t') || c == 0x7F) return;
        AppendUtf8(RunText(), c);
    }

    // The paragraph's text, its end in a run of the current format.
    std::string& RunText() {
        OpenRun(text_.size());
        return text_;
    }

    // The last run takes the text from `start` on: a new one there when the last is in another
    // format.
    void OpenRun(std::size_t start) {
        if (runOpen_) return;
        if (spans_.empty() || spans_.back().format != format_ || spans_.back().picture)
            spans_.push_back({format_, start, nullptr});
        runOpen_ = true;
    }

    // The place of the last paragraph ended.
    std::optional<CellPlace> LastCell() const {
        const auto& p = doc_.paragraphs;
        return p.size() > 1 ? p[p.size() - 2].cell : std::nullopt;
    }

    static constexpr std::size_t kParagraphsPerQuestion = 10;

    // A run of the open paragraph: its format, where its text starts, its picture (the
    // model's, which outlives the writer).
    struct Span {
        CharFormat format;
        std::size_t start;
        const PngPicture* picture;
    };

    bool wanted_;
    Document doc_;
    std::string text_;         // the open paragraph's text
    std::vector<Span> spans_;  // its runs
    bool runOpen_ = false;     // the last of spans_ takes text in the current format
    std::vector<FontEncoding> encodings_;
    CharFormat format_;
    int lineSpacing_ = 0, spaceAfter_ = 0;
    layout::BodyOptions options_;
    bool skeleton_ = false, skeletonText_ = false;
    unsigned char previous_ = 0;      // the last byte of plain text since a control word
    std::optional<std::size_t> dot_;  // a '.' after a digit in text_, turned when a digit follows
    bool textFont_ = true;            // the current font reads its bytes as Windows-1252
    std::string numbers_;             // a number's text, before it goes in
    // Tables: the open row's cells' right edges, whether a row is open, whether the last
    // paragraph ended in a table, the place of the next cell.
    std::vector<int> edges_;
    bool inRow_ = false, tableRun_ = false;
    Align align_ = Align::Left;
    int table_ = -1, row_ = 0, column_ = 0;
};

}  // namespace

namespace {

SheetDocuments Render(const SheetModel& model, const SheetSettings& settings, bool subjectWanted,
                      bool keyWanted) {
    DocOut subject(subjectWanted), key(keyWanted);
    subject.Reserve(model.questions.size());
    key.Reserve(model.questions.size());
    layout::PutSheet(subject, key, model, settings, [](const QuestionModel&, DocOut&) {});
    return {subject.Take(), key.Take()};
}

// A body alone in the standard layout, written by `put`, its comma as a sheet's body has it.
template <class Put>
Document BodyDocument(bool comma, Put&& put) {
    DocOut out;
    out.Begin(nullptr);
    out.BeginBody({comma, nullptr, false});
    put(out);
    out.ApplyComma();
    out.End();
    return out.Take();
}

}  // namespace

SheetDocuments RenderDocuments(const SheetModel& model, const SheetSettings& settings) {
    return Render(model, settings, true, true);
}

Document SubjectDocument(const Sheet& sheet) {
    if (!sheet.model || !sheet.settings) return ReadRtf(sheet.subject);
    return Render(*sheet.model, *sheet.settings, true, false).subject;
}

Document KeyDocument(const Sheet& sheet) {
    if (!sheet.model || !sheet.settings) return ReadRtf(sheet.answerKey);
    return Render(*sheet.model, *sheet.settings, false, true).answerKey;
}

QuestionDocuments QuestionBodyDocuments(const QuestionModel& q, bool decimalComma) {
    const auto statement = [&](DocOut& out) { layout::PutStatement(out, q.statement); };
    return {BodyDocument(decimalComma,
                         [&](DocOut& out) {
                             statement(out);
                             out.Par();
                         }),
            BodyDocument(decimalComma, [&](DocOut& out) {
                layout::PutKey(out, q, KeyStyle::Detailed, statement);
            })};
}

}  // namespace equat::rtf
