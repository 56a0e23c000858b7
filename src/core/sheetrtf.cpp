// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/sheetrtf.h"

#include <algorithm>
#include <initializer_list>
#include <tuple>
#include <utility>

#include "core/adaptedrtf.h"
#include "core/choicesrtf.h"
#include "core/equat1d.h"
#include "core/exactkey.h"
#include "core/keymarkup.h"
#include "core/markup.h"
#include "core/numbertext.h"
#include "core/textsink.h"
#include "core/titlemarkup.h"
#include "core/worked.h"

namespace equat {

namespace {

constexpr std::string_view kX = "<times><i><te=26> x <te=18></i><arial>";
constexpr std::string_view kXLead = "<times><i><te=26>x <te=18></i><arial>";
constexpr std::string_view kXNegated = "<times><i><te=26>- x <te=18></i><arial>";
constexpr std::string_view kXSquared =
    "<times><i><te=26> x</i><te=22><arial><sup> 2</sup><><te=18> ";
constexpr std::string_view kY = "<times><i><te=26> y <te=18></i><arial>";

// The brace pieces are Symbol-font characters 236, 237 and 238.
constexpr std::string_view kTop = "     <te=24><symbol>\xEC <te=18><arial>";
constexpr std::string_view kMid = "     <te=24><symbol>\xED <te=18><arial><br>";
constexpr std::string_view kBot = "     <te=24><symbol>\xEE <te=18><arial>";

constexpr std::string_view kIndeterminate =
    "  Syst\xE8me ind\xE9termin\xE9 (infinit\xE9 de solutions)";
constexpr std::string_view kImpossible = "  Syst\xE8me impossible (aucune solution)";

std::string Join(std::initializer_list<std::string_view> parts) {
    std::string s;
    for (auto p : parts) s += p;
    return s;
}

// The converter keeps no state between tags, so the constant pieces are converted once
// and the plain numbers and signs between them appended as they are.
struct Pieces {
    std::string x = MarkupToRtf(kX);
    std::string xLead = MarkupToRtf(kXLead);
    std::string xNegated = MarkupToRtf(kXNegated);
    std::string squared = MarkupToRtf(kXSquared);
    std::string y = MarkupToRtf(kY);
    std::string tabs[5] = {"", MarkupToRtf(TabTags(1)), MarkupToRtf(TabTags(2)),
                           MarkupToRtf(TabTags(3)), MarkupToRtf(TabTags(4))};
    // Systems: the brace around the two lines.
    std::string open = MarkupToRtf(Join({"<br>", kTop}));
    std::string between = MarkupToRtf(Join({"<br>", kMid, kBot}));
    std::string close = MarkupToRtf("<br>");
    // The highlighted results. The Symbol font shows "D" as a capital delta.
    std::string highlightX = MarkupToRtf("<cf=jaune><times><i><te=26> x <te=18></i><arial> = ");
    std::string highlightEnd = MarkupToRtf(" <cf=auto>");
    std::string delta = MarkupToRtf("<symbol><te=20> D <te=18><arial>= ");
    std::string root1 =
        MarkupToRtf("<cf=jaune><times><i><te=26> x<arial><te=18></i><sub>1</sub> <te=18> = ");
    std::string root2 = MarkupToRtf(
        " <cf=auto>    "
        "<cf=jaune><times><i><te=26> x<arial><te=18></i><sub>2<te=18></sub> = ");
    std::string rootsEnd = MarkupToRtf(" <cf=auto><br>");
    // The exact keys write a double root once.
    std::string root0 =
        MarkupToRtf("<cf=jaune><times><i><te=26> x<arial><te=18></i><sub>0</sub> <te=18> = ");
    std::string solY = MarkupToRtf("<times><i><te=26>      y <te=18></i><arial> = ");
};

const Pieces& P() {
    static const Pieces pieces;
    return pieces;
}

// Only x is written in more than one look; x² and y always follow their coefficient.
const std::string& UnknownRtf(const Pieces& p, Var var, VarLook look) {
    if (var == Var::X2) return p.squared;
    if (var == Var::Y) return p.y;
    return look == VarLook::Lead ? p.xLead : look == VarLook::Negated ? p.xNegated : p.x;
}

void PutSpaces(TextSink& out, int n) {
    for (int k = 0; k < n; ++k) out.Put(' ');
}

void PutAtom(TextSink& out, const Atom& a, const Pieces& p) {
    switch (a.kind) {
        case Atom::Kind::Number:
            out.PutInt(a.value);
            break;
        case Atom::Kind::LeadCoef:
            out.PutLeadCoef(a.value);
            break;
        case Atom::Kind::SignedCoef:
            out.PutSignedCoef(a.value);
            break;
        case Atom::Kind::SignedTerm:
            out.Put(a.value > 0 ? " + " : " - ");
            out.PutInt(a.value > 0 ? std::int64_t{a.value} : -std::int64_t{a.value});
            break;
        case Atom::Kind::RoomTerm:
            out.PutConstTerm(a.value);
            break;
        case Atom::Kind::Unknown:
            out.Put(UnknownRtf(p, a.var, a.look));
            break;
        case Atom::Kind::Open:
            out.Put('(');
            break;
        case Atom::Kind::Close:
            out.Put(')');
            break;
        case Atom::Kind::Space:
            PutSpaces(out, a.value);
            break;
    }
}

void PutSide(TextSink& out, const WrittenSide& side, const Pieces& p) {
    for (const Atom& a : side) PutAtom(out, a, p);
}

void PutEquation(TextSink& out, const WrittenEquation& e, const Pieces& p) {
    PutSide(out, e.left, p);
    PutSpaces(out, e.padBefore);
    out.Put('=');
    PutSpaces(out, e.padAfter);
    PutSide(out, e.right, p);
}

void PutStatement(TextSink& out, const Statement& s) {
    const Pieces& p = P();
    if (s.lines.size() != 2) {
        for (const auto& line : s.lines) PutEquation(out, line, p);
        return;
    }
    out.Put(p.open);
    PutEquation(out, s.lines[0], p);
    out.Put(p.between);
    PutEquation(out, s.lines[1], p);
    out.Put(p.close);
}

void AppendStatementRtf(std::string& out, const Statement& s) {
    TextSink sink(out, 512);
    PutStatement(sink, s);
}

// A value of a key: its exact text when the style shows one and there is one, else `text`.
std::string KeyValue(const ResultValue& v, KeyStyle style, std::string_view text) {
    std::string s;
    if (ShowsExactValues(style) && v.exact) {
        AppendExactKeyRtf(s, *v.exact);
    } else {
        s = text;
    }
    return s;
}

// The worked steps of a detailed key, after `before`.
void AppendWorked(std::string& out, const QuestionModel& q, KeyStyle style,
                  std::string_view before) {
    if (style != KeyStyle::Detailed || !q.steps) return;
    out += before;
    AppendWorkedStepsRtf(out, *q.steps);
}

void AppendFirstDegreeKey(std::string& out, const QuestionModel& q, KeyStyle style,
                          std::string_view statement) {
    const Pieces& p = P();
    const ResultValue& x = q.result.values.front();
    out += statement;
    AppendWorked(out, q, style, kPar);
    out += p.tabs[q.level == 3 ? 2 : 4];
    out += p.highlightX;
    if (ShowsExactValues(style) && x.exact) {
        AppendExactKeyRtf(out, *x.exact);
    } else {
        // The solution text is markup: a verdict's words are converted as the key writes them.
        AppendMarkupRtf(out, q.result.verdict == Verdict::Values
                                 ? std::string_view(x.decimal)
                                 : FirstDegreeVerdictText(q.level, q.result.verdict));
    }
    out += p.highlightEnd;
    out += kPar;
}

void AppendQuadraticKey(std::string& out, const QuestionModel& q, KeyStyle style,
                        std::string_view statement) {
    const Pieces& p = P();
    const ResultValue &v1 = q.result.values[0], &v2 = q.result.values[1];
    const std::string x1 = KeyValue(v1, style, v1.decimal), x2 = KeyValue(v2, style, v2.decimal);
    out += statement;
    AppendWorked(out, q, style, kPar);
    TextSink sink(out, x1.size() + x2.size() + 400);
    sink.Put(p.tabs[q.level == 3 ? 2 : 3]);
    sink.Put(p.delta);
    sink.PutInt(q.result.discriminant.value_or(0));
    sink.Put("     ");
    if (ShowsExactValues(style) && v1.exact && v1.exact == v2.exact) {
        sink.Put(p.root0);
        sink.Put(x1);
    } else {
        sink.Put(p.root1);
        sink.Put(x1);
        sink.Put(p.root2);
        sink.Put(x2);
    }
    sink.Put(p.rootsEnd);  // its line break ends the question's paragraph
}

void AppendSystemKey(std::string& out, const QuestionModel& q, KeyStyle style,
                     std::string_view statement) {
    const Pieces& p = P();
    const ResultValue &x = q.result.values[0], &y = q.result.values[1];
    out += statement;
    if (q.level == 3) out += kPar;  // an empty line between the system and its solution
    AppendWorked(out, q, style, "");
    out += p.tabs[q.level == 3 ? 2 : 3];
    out += p.highlightX;
    out += KeyValue(x, style, x.decimal);
    out += p.solY;
    out += KeyValue(y, style, y.decimal);
    out += p.highlightEnd;
    // The verdict's words follow the key's own text, the 32-bit computation it always showed.
    if (x.decimal == "?") {
        out += kIndeterminate;
    } else if (x.decimal == "/") {
        out += kImpossible;
    }
    out += kPar;
}

// The key's body of a question whose statement is already written: the subject wrote it.
void AppendKey(std::string& out, const QuestionModel& q, KeyStyle style,
               std::string_view statement) {
    if (q.kind == "2d") {
        AppendQuadraticKey(out, q, style, statement);
    } else if (q.kind == "syst") {
        AppendSystemKey(out, q, style, statement);
    } else {
        AppendFirstDegreeKey(out, q, style, statement);
    }
}

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

// The first line's code, when there is one.
std::string CodeMarkup(const SheetFrame& f) {
    return f.code.empty() ? std::string() : "   Code : " + f.code;
}

// The instruction, followed by the quiz copy's level when shown: the first line of a copy in
// its half page is full with a title and a long code.
std::string InstructionMarkup(const SheetFrame& f, const SheetSettings& s) {
    const std::string instruction = TeacherMarkup(f.instruction);
    if (!s.quiz.on || !s.quiz.showLevel) return instruction;
    return instruction + "   (niveau " + DecimalText(s.level) + ")";
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
std::pair<std::string, std::string> Headers(std::string_view baseName, const SheetFrame& f,
                                            const SheetSettings& s) {
    const AdaptedLayout* subjectLayout = s.layout.on ? &s.layout : nullptr;
    const AdaptedLayout* keyLayout = KeyAdapted(s) ? &s.layout : nullptr;
    // The teacher's texts as typed; the pupil's name in the title.
    const std::string ownTitle = TeacherMarkup(f.title);
    const std::string title = "<u>" +
                              (f.name.empty() ? ownTitle : TitleWithName(ownTitle, f.name)) +
                              "</u>" + CodeMarkup(f);
    std::string subject = s.quiz.on ? title : std::string(baseName) + " - " + title;
    const std::string instruction = InstructionMarkup(f, s);
    if (s.keyStyle == KeyStyle::Strip)
        return {Header(subject, instruction, subjectLayout),
                Header(f.code.empty() ? std::string(baseName) : f.code, "R\xE9sultats", keyLayout)};
    std::string key = s.quiz.on ? "<b>Corrig\xE9</b>" + CodeMarkup(f)
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

std::string SeparatorLine(const SheetFrame& f, std::size_t length) {
    return f.separatorOn ? MarkupToRtf(TeacherMarkup(ShortSeparator(f.separator, length)) + "<br>")
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

// Question i for the exports: its statement as the subject has it, and its worked solution.
QuestionBodies BodiesOf(const QuestionModel& q, std::string statement, bool decimalComma) {
    QuestionBodies bodies{std::move(statement), {}, q.kind, q.level, decimalComma, q.choices};
    AppendKeyRtf(bodies.worked, q, KeyStyle::Detailed);
    if (decimalComma) UseDecimalComma(bodies.worked, 0);
    return bodies;
}

// The writing pass: each question after its separator and number, in the subject and in
// the key, in the sheet's style and layout.
class QuestionWriter {
  public:
    QuestionWriter(const SheetFrame& frame, const SheetSettings& settings, int n)
        : settings_(settings),
          n_(n),
          interline_(std::clamp(frame.interline, 0, 10)),
          strip_(settings.keyStyle == KeyStyle::Strip),
          adaptSubject_(settings.layout.on),
          adaptKey_(KeyAdapted(settings)) {
        const std::size_t length = settings.quiz.on ? kQuizSeparatorLength : frame.separator.size();
        const std::string line = SeparatorLine(frame, length);
        const std::string keyLine =
            strip_ ? SeparatorLine(frame, std::min(length, kStripSeparatorLength)) : line;
        subjectSeparator_ = adaptSubject_ ? AdaptedSeparator(line, settings.layout) : line;
        keySeparator_ = adaptKey_ ? AdaptedSeparator(keyLine, settings.layout) : keyLine;
    }

    void Write(Sheet& sheet, const QuestionModel& q, int i) const {
        const std::string number = DecimalText(i);
        sheet.subject += subjectSeparator_;
        sheet.subject += number;
        sheet.subject += kNumbering;
        // Only the bodies: the teacher's own texts keep what was typed.
        const std::size_t subjectBody = sheet.subject.size();
        AppendSubjectRtf(sheet.subject, q);
        const std::size_t statementEnd = sheet.subject.size();
        AppendChoicesRtf(sheet.subject, q, settings_.keyStyle);
        sheet.results.push_back(q.result);

        sheet.answerKey += keySeparator_;
        sheet.answerKey += number;
        sheet.answerKey += strip_ ? kNumbering : KeyNumbering(q);
        const std::size_t keyBody = sheet.answerKey.size();
        if (strip_) {
            AppendChoiceLetter(sheet.answerKey, q);
            AppendStripBody(sheet.answerKey, std::string_view(sheet.subject).substr(subjectBody),
                            sheet.results.back());
        } else {
            // The statement as the subject wrote it, not written twice.
            const std::string_view subject(sheet.subject);
            AppendKey(sheet.answerKey, q, settings_.keyStyle,
                      subject.substr(subjectBody, statementEnd - subjectBody - kPar.size()));
            AppendChoicesKeyRtf(sheet.answerKey, q, settings_.keyStyle);
        }
        if (settings_.decimalComma) UseDecimalComma(sheet.answerKey, keyBody);
        if (settings_.decimalComma) UseDecimalComma(sheet.subject, subjectBody);
        // The bodies as drawn, before any adapted layout: what the exports ask.
        if (settings_.exports.bodies)
            sheet.bodies.push_back(
                BodiesOf(q, sheet.subject.substr(subjectBody, statementEnd - subjectBody),
                         settings_.decimalComma));
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

    const SheetSettings& settings_;
    int n_, interline_;
    bool strip_, adaptSubject_, adaptKey_;
    std::string subjectSeparator_, keySeparator_;
};

}  // namespace

std::string SideRtf(const WrittenSide& side) {
    std::string s;
    {
        TextSink out(s, 160);
        PutSide(out, side, P());
    }
    return s;
}

std::string StatementRtf(const Statement& statement) {
    std::string s;
    AppendStatementRtf(s, statement);
    return s;
}

std::string_view KeyNumbering(const QuestionModel& q) {
    return q.kind == "syst" ? "\xB0/ " : kNumbering;
}

void AppendSubjectRtf(std::string& out, const QuestionModel& q) {
    TextSink sink(out, 512);
    PutStatement(sink, q.statement);
    sink.Put(kPar);
}

void AppendKeyRtf(std::string& out, const QuestionModel& q, KeyStyle style) {
    AppendKey(out, q, style, StatementRtf(q.statement));
}

void AppendStripBody(std::string& out, std::string_view subjectBody, const QuestionResult& result) {
    // The results are digits, signs and the names of the unknowns: nothing to escape.
    out += StripResultText(result);
    AppendSkeleton(out, subjectBody);
}

Sheet RenderSheet(SheetModel model, const SheetSettings& settings) {
    const int n = static_cast<int>(model.questions.size());
    Sheet sheet;
    sheet.baseName = std::move(model.baseName);
    sheet.log = std::move(model.log);
    sheet.results.reserve(model.questions.size());
    std::tie(sheet.subject, sheet.answerKey) = Headers(sheet.baseName, model.frame, settings);

    const QuestionWriter writer(model.frame, settings, n);
    for (int i = 1; i <= n; ++i) {
        const std::size_t subjectBefore = sheet.subject.size();
        const std::size_t keyBefore = sheet.answerKey.size();
        writer.Write(sheet, model.questions[static_cast<std::size_t>(i - 1)], i);
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
