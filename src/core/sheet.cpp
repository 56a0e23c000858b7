// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/sheet.h"

#include <algorithm>
#include <tuple>
#include <utility>

#include "core/classset.h"
#include "core/markup.h"
#include "core/numbertext.h"

namespace equat {

bool SeenQuestions::IsSeenQuestion(std::string_view key) const {
    bool seen = false;
    for (const auto& e : entries_) seen |= (e == key);
    return seen;
}

std::string DuplicateKeyOf(std::span<const std::int32_t> slots) {
    std::string key;
    key.reserve(slots.size() * 3);
    for (auto v : slots) AppendDecimal(key, v);
    return key;
}

std::string DegreeDiagnosticEntry(int i, std::int32_t a, std::int32_t b, std::int32_t c,
                                  std::int32_t d, std::string_view solution, int aleas) {
    std::string s;
    s.reserve(64 + solution.size());
    AppendDecimal(s, i);
    s += kNumbering;
    s += "a=";
    AppendDecimal(s, a);
    s += "  b=";
    AppendDecimal(s, b);
    s += "  c=";
    AppendDecimal(s, c);
    s += "  d=";
    AppendDecimal(s, d);
    s += "\r\nx =  ";
    s += solution;
    s += "   aleas=";
    AppendDecimal(s, aleas);
    return s;
}

std::string StripResultText(const QuestionResult& result) {
    // A verdict in words: its signs alone ("x1 = /") say little on a strip.
    switch (result.verdict) {
        case Verdict::NoSolution:
            return "aucune solution";
        case Verdict::NoRealRoot:
            return "aucune solution r\xE9"
                   "elle";
        case Verdict::EveryReal:
            return "tout r\xE9"
                   "el est solution";
        case Verdict::Indeterminate:
            return "infinit\xE9 de solutions";
        case Verdict::Values:
            break;
    }
    std::string text;
    for (const auto& v : result.values) {
        if (!text.empty()) text += " ; ";
        text += v.name + " = " + v.decimal;
    }
    return text;
}

namespace {

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The RTF with every run of text one space, its control words and groups kept: the same
// fonts on the same lines, nothing to read.
void AppendSkeleton(std::string& out, std::string_view rtf) {
    bool text = false;
    auto flush = [&] {
        if (text) out += ' ';
        text = false;
    };
    for (std::size_t k = 0; k < rtf.size();) {
        const char c = rtf[k];
        if (c == '\\' && k + 1 < rtf.size() && IsLetter(rtf[k + 1])) {
            std::size_t end = k + 1;
            while (end < rtf.size() && IsLetter(rtf[end])) ++end;
            if (end < rtf.size() && (rtf[end] == '-' || IsDigit(rtf[end]))) ++end;
            while (end < rtf.size() && IsDigit(rtf[end])) ++end;
            flush();
            out.append(rtf.substr(k, end - k));
            out += ' ';
            k = end + (end < rtf.size() && rtf[end] == ' ' ? 1 : 0);
        } else if (c == '{' || c == '}') {
            flush();
            out += c;
            ++k;
        } else {
            // A character, an escaped sign or a hexadecimal byte.
            if (c != '\r' && c != '\n') text = true;
            k += c != '\\' ? 1 : (k + 1 < rtf.size() && rtf[k + 1] == '\'') ? 4 : 2;
        }
    }
    flush();
}

}  // namespace

void AppendStripBody(std::string& out, std::string_view subjectBody, const QuestionResult& result) {
    // The results are digits, signs and the names of the unknowns: nothing to escape.
    out += StripResultText(result);
    AppendSkeleton(out, subjectBody);
}

std::string_view ResultKind(const QuestionResult& result) {
    return result.discriminant ? "2d" : result.values.size() == 2 ? "syst" : "1d";
}

std::string QuestionKind::BaseNameOf(int level) const {
    return std::string(BaseNamePrefix()) + DecimalText(level);
}

namespace {

std::string TwoDigits(int v) {
    std::string s = DecimalText(v);
    return s.size() < 2 ? "0" + s : s;
}

// The first line's code, when there is one.
std::string CodeMarkup(const SheetSettings& s) {
    return s.code.empty() ? std::string() : "   Code : " + s.code;
}

std::string Header(std::string_view firstLine, std::string_view instruction,
                   const AdaptedLayout* adapted) {
    std::string m = "<arial><te=" + DecimalText(kTitleSize) + ">";
    m += firstLine;
    m += "<br><br><b>";
    m += instruction;
    m += "<b><br><br></b>";
    // The RTF header converts to itself (no tag, no control character), so only what
    // follows it needs converting.
    std::string out(adapted ? AdaptedRtfHeader(*adapted) : std::string(kRtfHeader));
    const std::size_t body = out.size();
    AppendMarkupRtf(out, m);
    if (adapted) AdaptRtf(out, body, *adapted);
    return out;
}

// Whether the key is in the adapted layout: when asked, and always for a strip, whose lines
// are those of its subject.
bool KeyAdapted(const SheetSettings& s) {
    return s.layout.on && (s.layout.key || s.keyStyle == KeyStyle::Strip);
}

// The first lines of the subject and of the key. A quiz copy's go without the base name (the
// code names it), its key's without the title too; a strip's first line is short enough for
// its column, and its lines are those of the subject, one for one.
// With the adapted layout, the subject's in it, and the key's when it is adapted too.
std::pair<std::string, std::string> Headers(std::string_view baseName, const SheetSettings& s) {
    const AdaptedLayout* subjectLayout = s.layout.on ? &s.layout : nullptr;
    const AdaptedLayout* keyLayout = KeyAdapted(s) ? &s.layout : nullptr;
    // The teacher's texts as typed; the pupil's name in the title.
    const std::string instruction = TeacherMarkup(s.instruction);
    const std::string ownTitle = TeacherMarkup(s.title);
    const std::string title = "<u>" +
                              (s.name.empty() ? ownTitle : TitleWithName(ownTitle, s.name)) +
                              "</u>" + CodeMarkup(s);
    std::string subject = s.quiz.on ? title : std::string(baseName) + " - " + title;
    if (s.keyStyle == KeyStyle::Strip)
        return {Header(subject, instruction, subjectLayout),
                Header(s.code.empty() ? std::string(baseName) : s.code, "R\xE9sultats", keyLayout)};
    std::string key = s.quiz.on ? "<b>Corrig\xE9</b>" + CodeMarkup(s)
                                : std::string(baseName) + " - <b>Corrig\xE9</b> - " + title;
    return {Header(subject, instruction, subjectLayout), Header(key, instruction, keyLayout)};
}

// A separator line of at most length characters: cut, or dashes when the cut would split a
// tag or a control word.
std::string ShortSeparator(const std::string& separator, std::size_t length) {
    if (separator.size() <= length) return separator;
    const std::string cut = separator.substr(0, length);
    if (cut.find_first_of("<>\\{}&") != std::string::npos) return std::string(length, '-');
    return cut;
}

std::string SeparatorLine(const SheetSettings& s, std::size_t length) {
    return s.separatorOn ? MarkupToRtf(TeacherMarkup(ShortSeparator(s.separator, length)) + "<br>")
                         : MarkupToRtf(" ");
}

// An adapted document keeps its separator at the standard size, the line it was made to fill,
// and numbers its questions at the layout's size.
std::string AdaptedSeparator(const std::string& line, const AdaptedLayout& layout) {
    return "\\fs" + DecimalText(kStandardTextSize) + " " + line + "\\fs" +
           DecimalText(AdaptedTextSize(layout)) + " ";
}

// The body in the layout, with room to write after its last paragraph.
void AdaptSubjectBody(std::string& subject, std::size_t body, const AdaptedLayout& layout) {
    AdaptRtf(subject, body, layout);
    const auto last = subject.rfind(kPar);
    if (last == std::string::npos || last < body) return;
    subject.insert(last + kPar.size(), "\\sa0 ");
    subject.insert(last, "\\sa" + DecimalText(WritingSpace(layout)) + " ");
}

// Draws questions 1..n, each again until it differs from those before it, logging every
// attempt.
void DrawQuestions(QuestionKind& kind, RandomSource& rng, int n, std::vector<std::string>& log) {
    SeenQuestions seen;
    for (int i = 1; i <= n; ++i) {
        for (;;) {
            kind.Draw(rng, i);
            log.push_back(kind.DiagnosticEntry(i));
            auto key = kind.DuplicateKey(i);
            if (!seen.IsSeenQuestion(key)) {
                seen.Store(i, std::move(key));
                break;
            }
        }
    }
}

// Question i for the exports: its statement as the subject has it, and its worked solution.
QuestionBodies BodiesOf(const QuestionKind& kind, int i, std::string statement, bool decimalComma) {
    QuestionBodies bodies{std::move(statement), {}};
    kind.AppendAnswerBody(bodies.worked, i, KeyStyle::Detailed);
    if (decimalComma) UseDecimalComma(bodies.worked, 0);
    return bodies;
}

// The writing pass: each question after its separator and number, in the subject and in
// the key, in the sheet's style and layout.
class QuestionWriter {
  public:
    QuestionWriter(const QuestionKind& kind, const SheetSettings& settings, int n)
        : kind_(kind),
          settings_(settings),
          n_(n),
          interline_(std::clamp(settings.interline, 0, 10)),
          strip_(settings.keyStyle == KeyStyle::Strip),
          adaptSubject_(settings.layout.on),
          adaptKey_(KeyAdapted(settings)) {
        const std::size_t length =
            settings.quiz.on ? kQuizSeparatorLength : settings.separator.size();
        const std::string line = SeparatorLine(settings, length);
        const std::string keyLine =
            strip_ ? SeparatorLine(settings, std::min(length, kStripSeparatorLength)) : line;
        subjectSeparator_ = adaptSubject_ ? AdaptedSeparator(line, settings.layout) : line;
        keySeparator_ = adaptKey_ ? AdaptedSeparator(keyLine, settings.layout) : keyLine;
    }

    void Write(Sheet& sheet, int i) const {
        const std::string number = DecimalText(i);
        sheet.subject += subjectSeparator_;
        sheet.subject += number;
        sheet.subject += kNumbering;
        // Only the bodies: the teacher's own texts keep what was typed.
        const std::size_t subjectBody = sheet.subject.size();
        kind_.AppendSubjectBody(sheet.subject, i);
        sheet.results.push_back(kind_.Result(i));

        sheet.answerKey += keySeparator_;
        sheet.answerKey += number;
        sheet.answerKey += strip_ ? kNumbering : kind_.AnswerNumberingOf(i);
        const std::size_t keyBody = sheet.answerKey.size();
        if (strip_) {
            AppendStripBody(sheet.answerKey, std::string_view(sheet.subject).substr(subjectBody),
                            sheet.results.back());
        } else {
            kind_.AppendAnswerBody(sheet.answerKey, i, settings_.keyStyle);
        }
        if (settings_.decimalComma) UseDecimalComma(sheet.answerKey, keyBody);
        if (settings_.decimalComma) UseDecimalComma(sheet.subject, subjectBody);
        // The bodies as drawn, before any adapted layout: what the exports ask.
        if (settings_.exports.bodies)
            sheet.bodies.push_back(
                BodiesOf(kind_, i, sheet.subject.substr(subjectBody), settings_.decimalComma));
        // A strip is laid out as its subject is, line for line.
        if (adaptKey_ && strip_) AdaptSubjectBody(sheet.answerKey, keyBody, settings_.layout);
        if (adaptKey_ && !strip_) AdaptRtf(sheet.answerKey, keyBody, settings_.layout);
        if (adaptSubject_) AdaptSubjectBody(sheet.subject, subjectBody, settings_.layout);
        AppendInterline(sheet.subject, i);
        if (strip_) AppendInterline(sheet.answerKey, i);
    }

  private:
    // The empty lines after every question but the last.
    void AppendInterline(std::string& out, int i) const {
        if (i < n_)
            for (int k = 0; k < interline_; ++k) out += kPar;
    }

    const QuestionKind& kind_;
    const SheetSettings& settings_;
    int n_, interline_;
    bool strip_, adaptSubject_, adaptKey_;
    std::string subjectSeparator_, keySeparator_;
};

}  // namespace

Sheet BuildSheet(QuestionKind& kind, RandomSource& rng, const SheetSettings& settings) {
    const int level = std::clamp(settings.level, 1, 3);
    const int n = std::clamp(settings.count, 0, kMaxQuestions);

    Sheet sheet;
    sheet.log.reserve(static_cast<std::size_t>(n) + 8);
    sheet.results.reserve(static_cast<std::size_t>(n));
    sheet.baseName = kind.BaseNameOf(level) + "_";
    sheet.baseName += TwoDigits(rng.RandomInt(100));
    sheet.baseName += "_";
    sheet.baseName += TwoDigits(rng.RandomInt(100));

    std::tie(sheet.subject, sheet.answerKey) = Headers(sheet.baseName, settings);

    kind.Begin(level);
    kind.Prepare(rng, n);
    DrawQuestions(kind, rng, n, sheet.log);

    const QuestionWriter writer(kind, settings, n);
    for (int i = 1; i <= n; ++i) {
        const std::size_t subjectBefore = sheet.subject.size();
        const std::size_t keyBefore = sheet.answerKey.size();
        writer.Write(sheet, i);
        if (i == 1) {
            // The first question tells the size of the others: room for them at once, so the
            // documents are not copied again and again as they grow.
            const auto rest = static_cast<std::size_t>(n - 1);
            sheet.subject.reserve(sheet.subject.size() +
                                  rest * (sheet.subject.size() - subjectBefore) * 5 / 4 + 64);
            sheet.answerKey.reserve(sheet.answerKey.size() +
                                    rest * (sheet.answerKey.size() - keyBefore) * 5 / 4 + 64);
        }
    }
    sheet.subject += '}';
    sheet.answerKey += '}';
    return sheet;
}

}  // namespace equat
