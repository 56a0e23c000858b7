// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The layout of a sheet's two documents, decided once and written to any writer: the RTF
// bytes (core/sheetrtf.cpp) or the rich-text document (rtf/sheetdocument.cpp). A writer
// `Out` offers:
//   Piece, static Piece Convert(markup)   a constant piece of markup, converted once
//   Put(piece), Put(text), Put(char), PutInt, PutLeadCoef, PutSignedCoef, PutConstTerm
//   Markup(markup), Par(), Exact(surd), Worked(steps)
//   Stream(expected, f)                   f(sink) with a sink offering the Put… above
//   Begin(layout), End()                  the document's prologue and its end
//   BeginBody(options), ApplyComma(), ApplyLayout(), BodyPar()
//                                         a body: the comma, the adapted layout and the
//                                         room to write after it, applied as each writer can
//   EndStatement()                        where the subject body's statement ends
//   Picture(png)                          a picture in the current paragraph
//   CopyStatement(subject, statement)     the subject body's statement again, in the key
//   Skeleton(subject, q, style)           the subject's body with each run of its text one
//                                         space
// The transformations (comma, adapted layout, room, strip) are the writers' own; what is
// written, and in which order, is decided here only.
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "core/adapted.h"
#include "core/choicesmarkup.h"
#include "core/equat1d.h"
#include "core/exactkey.h"
#include "core/keymarkup.h"
#include "core/markup.h"
#include "core/numbertext.h"
#include "core/sheet.h"
#include "core/textsink.h"
#include "core/titlemarkup.h"

namespace equat::layout {

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

inline std::string Join(std::initializer_list<std::string_view> parts) {
    std::string s;
    for (auto p : parts) s += p;
    return s;
}

// The constant pieces, converted once per writer.
template <class Out>
struct Pieces {
    using P = typename Out::Piece;
    P x = Out::Convert(kX);
    P xLead = Out::Convert(kXLead);
    P xNegated = Out::Convert(kXNegated);
    P squared = Out::Convert(kXSquared);
    P y = Out::Convert(kY);
    P tabs[5] = {Out::Convert(""), Out::Convert(TabTags(1)), Out::Convert(TabTags(2)),
                 Out::Convert(TabTags(3)), Out::Convert(TabTags(4))};
    // Systems: the brace around the two lines.
    P open = Out::Convert(Join({"<br>", kTop}));
    P between = Out::Convert(Join({"<br>", kMid, kBot}));
    P close = Out::Convert("<br>");
    // The highlighted results. The Symbol font shows "D" as a capital delta.
    P highlightX = Out::Convert("<cf=jaune><times><i><te=26> x <te=18></i><arial> = ");
    P highlightEnd = Out::Convert(" <cf=auto>");
    P delta = Out::Convert("<symbol><te=20> D <te=18><arial>= ");
    P root1 =
        Out::Convert("<cf=jaune><times><i><te=26> x<arial><te=18></i><sub>1</sub> <te=18> = ");
    P root2 = Out::Convert(
        " <cf=auto>    "
        "<cf=jaune><times><i><te=26> x<arial><te=18></i><sub>2<te=18></sub> = ");
    P rootsEnd = Out::Convert(" <cf=auto><br>");
    // The exact keys write a double root once.
    P root0 =
        Out::Convert("<cf=jaune><times><i><te=26> x<arial><te=18></i><sub>0</sub> <te=18> = ");
    P solY = Out::Convert("<times><i><te=26>      y <te=18></i><arial> = ");
    // The signs of inequations the Symbol font holds, a raised 2 after a bracket, the
    // highlight of a solution set.
    P le = Out::Convert("<symbol>\xA3<arial>");
    P ge = Out::Convert("<symbol>\xB3<arial>");
    P power2 = Out::Convert("<sup>2</sup>");
    P highlight = Out::Convert("<cf=jaune>");
};

template <class Out>
const Pieces<Out>& P() {
    static const Pieces<Out> pieces;
    return pieces;
}

// Only x is written in more than one look; x² and y always follow their coefficient.
template <class Out>
const typename Out::Piece& UnknownPiece(const Pieces<Out>& p, Var var, VarLook look) {
    if (var == Var::X2) return p.squared;
    if (var == Var::Y) return p.y;
    return look == VarLook::Lead ? p.xLead : look == VarLook::Negated ? p.xNegated : p.x;
}

template <class Sink>
void PutSpaces(Sink& out, int n) {
    for (int k = 0; k < n; ++k) out.Put(' ');
}

template <class Sink, class Out>
void PutAtom(Sink& out, const Atom& a, const Pieces<Out>& p) {
    switch (a.kind) {
        case Atom::Kind::Unknown:
            out.Put(UnknownPiece(p, a.var, a.look));
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
        case Atom::Kind::Over:
            out.Put('/');
            break;
        case Atom::Kind::Squared:
            out.Put(p.power2);
            break;
        default:
            PutNumberAtom(out, a);
            break;
    }
}

template <class Sink, class Out>
void PutSide(Sink& out, const WrittenSide& side, const Pieces<Out>& p) {
    for (const Atom& a : side) PutAtom(out, a, p);
}

template <class Sink, class Out>
void PutEquation(Sink& out, const WrittenEquation& e, const Pieces<Out>& p) {
    PutSide(out, e.left, p);
    PutSpaces(out, e.padBefore);
    switch (e.relation) {
        case Relation::Lt:
            out.Put('<');
            break;
        case Relation::Le:
            out.Put(p.le);
            break;
        case Relation::Gt:
            out.Put('>');
            break;
        case Relation::Ge:
            out.Put(p.ge);
            break;
        default:
            out.Put('=');
            break;
    }
    PutSpaces(out, e.padAfter);
    PutSide(out, e.right, p);
}

template <class Out>
void PutStatement(Out& out, const Statement& s) {
    out.Stream(512, [&](auto& sink) {
        const Pieces<Out>& p = P<Out>();
        if (s.lines.size() != 2) {
            for (const auto& line : s.lines) PutEquation(sink, line, p);
            return;
        }
        sink.Put(p.open);
        PutEquation(sink, s.lines[0], p);
        sink.Put(p.between);
        PutEquation(sink, s.lines[1], p);
        sink.Put(p.close);
    });
}

// A value of a key: its exact text when the style shows one and there is one, else its
// decimal text.
template <class Out>
void PutValue(Out& out, const ResultValue& v, KeyStyle style) {
    if (ShowsExactValues(style) && v.exact) {
        out.Exact(*v.exact);
    } else {
        out.Put(v.decimal);
    }
}

// The worked steps of a detailed key, after a paragraph mark when `par`.
template <class Out>
void PutWorked(Out& out, const QuestionModel& q, KeyStyle style, bool par) {
    if (!StyleOf(style).workedSteps || !q.steps) return;
    if (par) out.Par();
    out.Worked(*q.steps);
}

// `statement(out)` writes the question's statement: the key reuses the subject's.
template <class Out, class Statement>
void PutFirstDegreeKey(Out& out, const QuestionModel& q, KeyStyle style, Statement&& statement) {
    const Pieces<Out>& p = P<Out>();
    const ResultValue& x = q.result.values.front();
    statement(out);
    PutWorked(out, q, style, true);
    out.Put(p.tabs[q.level == 3 ? 2 : 4]);
    out.Put(p.highlightX);
    if (ShowsExactValues(style) && x.exact) {
        out.Exact(*x.exact);
    } else {
        // The solution text is markup: a verdict's words are converted as the key writes them.
        out.Markup(q.result.verdict == Verdict::Values
                       ? std::string_view(x.decimal)
                       : FirstDegreeVerdictText(q.level, q.result.verdict));
    }
    out.Put(p.highlightEnd);
    out.Par();
}

template <class Out, class Statement>
void PutQuadraticKey(Out& out, const QuestionModel& q, KeyStyle style, Statement&& statement) {
    const Pieces<Out>& p = P<Out>();
    const ResultValue &v1 = q.result.values[0], &v2 = q.result.values[1];
    statement(out);
    PutWorked(out, q, style, true);
    out.Put(p.tabs[q.level == 3 ? 2 : 3]);
    out.Put(p.delta);
    out.PutInt(q.result.discriminant.value_or(0));
    out.Put("     ");
    if (ShowsExactValues(style) && v1.exact && v1.exact == v2.exact) {
        out.Put(p.root0);
        PutValue(out, v1, style);
    } else {
        out.Put(p.root1);
        PutValue(out, v1, style);
        out.Put(p.root2);
        PutValue(out, v2, style);
    }
    out.Put(p.rootsEnd);  // its line break ends the question's paragraph
}

template <class Out, class Statement>
void PutSystemKey(Out& out, const QuestionModel& q, KeyStyle style, Statement&& statement) {
    const Pieces<Out>& p = P<Out>();
    const ResultValue &x = q.result.values[0], &y = q.result.values[1];
    statement(out);
    if (q.level == 3) out.Par();  // an empty line between the system and its solution
    PutWorked(out, q, style, false);
    out.Put(p.tabs[q.level == 3 ? 2 : 3]);
    out.Put(p.highlightX);
    PutValue(out, x, style);
    out.Put(p.solY);
    PutValue(out, y, style);
    out.Put(p.highlightEnd);
    // The verdict's words follow the key's own text, the 32-bit computation it always showed.
    if (x.decimal == "?") {
        out.Put(kIndeterminate);
    } else if (x.decimal == "/") {
        out.Put(kImpossible);
    }
    out.Par();
}

// The key of a kind whose result is a solution set: the worked steps (with their sign table),
// then the set highlighted.
template <class Out, class Statement>
void PutSetKey(Out& out, const QuestionModel& q, KeyStyle style, Statement&& statement) {
    const Pieces<Out>& p = P<Out>();
    statement(out);
    PutWorked(out, q, style, true);
    out.Put(p.tabs[2]);
    out.Put(p.highlight);
    out.Markup(SolutionSetMarkup(*q.result.set, ShowsExactValues(style)));
    out.Put(p.highlightEnd);
    out.Par();
}

// The key's body of a question, its statement written by `statement`.
template <class Out, class Statement>
void PutKey(Out& out, const QuestionModel& q, KeyStyle style, Statement&& statement) {
    if (q.result.set) {
        PutSetKey(out, q, style, statement);
    } else if (q.kind == "2d") {
        PutQuadraticKey(out, q, style, statement);
    } else if (q.kind == "syst") {
        PutSystemKey(out, q, style, statement);
    } else {
        PutFirstDegreeKey(out, q, style, statement);
    }
}

// The subject's body of a question but its last paragraph mark: its statement, then the
// choices of a multiple-choice question.
template <class Out>
void PutSubjectText(Out& out, const QuestionModel& q, KeyStyle style) {
    PutStatement(out, q.statement);
    out.EndStatement();
    if (q.choices.empty()) return;
    out.Par();
    out.Markup(ChoicesMarkup(q, style));
}

// After a multiple-choice question's key: its choices, the right letter and each mistake.
template <class Out>
void PutChoicesKey(Out& out, const QuestionModel& q, KeyStyle style) {
    if (q.choices.empty()) return;
    out.Markup(ChoicesMarkup(q, style));
    out.Par();
    out.Markup(ChoicesKeyMarkup(q));
    out.Par();
}

// The numbering after a question's number in the key: a system's is shorter.
inline std::string_view KeyNumberingOf(const QuestionModel& q) {
    return q.kind == "syst" ? "\xB0/ " : kNumbering;
}

// What a writer does to a body besides writing it.
struct BodyOptions {
    bool comma = false;                     // '.' between digits becomes ','
    const AdaptedLayout* layout = nullptr;  // sizes scaled, italics dropped
    bool room = false;                      // with the layout: room to write after it
};

// The first line's code, when there is one.
inline std::string CodeMarkup(const SheetFrame& f) {
    return f.code.empty() ? std::string() : "   Code : " + f.code;
}

// The instruction, followed by the quiz copy's level when shown: the first line of a copy in
// its half page is full with a title and a long code.
inline std::string InstructionMarkup(const SheetFrame& f, const SheetSettings& s) {
    const std::string instruction = TeacherMarkup(f.instruction);
    if (!s.quiz.on || !s.quiz.showLevel) return instruction;
    return instruction + "   (niveau " + DecimalText(s.level) + ")";
}

template <class Out>
void PutHeader(Out& out, std::string_view firstLine, std::string_view instruction,
               const AdaptedLayout* adapted) {
    std::string m = "<arial><te=" + DecimalText(kTitleSize) + ">";
    m += firstLine;
    m += "<br><br><b>";
    m += instruction;
    m += "<b><br><br></b>";
    out.Begin(adapted);
    out.BeginBody({false, adapted, false});
    out.Markup(m);
    out.ApplyComma();
    out.ApplyLayout();
}

// The first lines of the subject and of the key. A quiz copy's go without the base name (the
// code names it), its key's without the title too; a strip's first line is short enough for
// its column, and its lines are those of the subject, one for one.
// With the adapted layout, the subject's in it, and the key's when it is adapted too.
template <class Out>
void PutHeaders(Out& subject, Out& key, std::string_view baseName, const SheetFrame& f,
                const SheetSettings& s) {
    const AdaptedLayout* subjectLayout = s.layout.on ? &s.layout : nullptr;
    const AdaptedLayout* keyLayout = KeyAdapted(s) ? &s.layout : nullptr;
    // The teacher's texts as typed; the pupil's name in the title.
    const std::string ownTitle = TeacherMarkup(f.title);
    const std::string title = "<u>" +
                              (f.name.empty() ? ownTitle : TitleWithName(ownTitle, f.name)) +
                              "</u>" + CodeMarkup(f);
    const std::string first = s.quiz.on ? title : std::string(baseName) + " - " + title;
    const std::string instruction = InstructionMarkup(f, s);
    PutHeader(subject, first, instruction, subjectLayout);
    if (StyleOf(s.keyStyle).strip) {
        PutHeader(key, f.code.empty() ? std::string(baseName) : f.code, "R\xE9sultats", keyLayout);
        return;
    }
    const std::string keyFirst = s.quiz.on
                                     ? "<b>Corrig\xE9</b>" + CodeMarkup(f)
                                     : std::string(baseName) + " - <b>Corrig\xE9</b> - " + title;
    PutHeader(key, keyFirst, instruction, keyLayout);
}

// A separator line of at most length characters: cut, or dashes when the cut would split a
// tag or a control word.
inline std::string ShortSeparator(const std::string& separator, std::size_t length) {
    if (separator.size() <= length) return separator;
    const std::string cut = separator.substr(0, length);
    if (cut.find_first_of("<>\\{}&") != std::string::npos) return std::string(length, '-');
    return cut;
}

// The separator line before a question, as markup. An adapted document keeps it at the
// standard size, the line it was made to fill, and numbers its questions at the layout's size.
inline std::string SeparatorMarkup(const SheetFrame& f, std::size_t length,
                                   const AdaptedLayout* layout) {
    std::string line =
        f.separatorOn ? TeacherMarkup(ShortSeparator(f.separator, length)) + "<br>" : " ";
    if (!layout) return line;
    return "<te=" + DecimalText(kStandardTextSize) + ">" + line +
           "<te=" + DecimalText(AdaptedTextSize(*layout)) + ">";
}

// The writing pass: each question after its separator and number, in the subject and in
// the key, in the sheet's style and layout.
template <class Out>
class QuestionWriter {
  public:
    QuestionWriter(const SheetFrame& frame, const SheetSettings& settings, int n)
        : settings_(settings),
          n_(n),
          interline_(std::clamp(frame.interline, 0, 10)),
          strip_(StyleOf(settings.keyStyle).strip),
          subjectLayout_(settings.layout.on ? &settings.layout : nullptr),
          keyLayout_(KeyAdapted(settings) ? &settings.layout : nullptr) {
        const std::size_t length = settings.quiz.on ? kQuizSeparatorLength : frame.separator.size();
        subjectSeparator_ = Out::Convert(SeparatorMarkup(frame, length, subjectLayout_));
        keySeparator_ = Out::Convert(SeparatorMarkup(
            frame, strip_ ? std::min(length, kStripSeparatorLength) : length, keyLayout_));
    }

    // `between(subject)` sees the subject's body with its comma, before its layout.
    template <class Between>
    void Write(Out& subject, Out& key, const QuestionModel& q, int i, Between&& between) const {
        const std::string number = DecimalText(i);
        subject.Put(subjectSeparator_);
        subject.Put(number);
        subject.Put(kNumbering);
        // Only the bodies: the teacher's own texts keep what was typed.
        const bool comma = settings_.decimalComma;
        subject.BeginBody({comma, subjectLayout_, true});
        PutSubjectText(subject, q, settings_.keyStyle);
        subject.BodyPar();

        key.Put(keySeparator_);
        key.Put(number);
        key.Put(strip_ ? kNumbering : KeyNumberingOf(q));
        // A strip is laid out as its subject is, line for line.
        key.BeginBody({comma, keyLayout_, strip_});
        if (strip_) {
            // The results are digits, signs and the names of the unknowns: nothing to escape.
            key.Put(ChoiceLetterText(q));
            if (q.result.set) {
                // A set's brackets say what its bounds alone do not (and R \ {a} is no "every
                // real").
                key.Markup(SolutionSetMarkup(*q.result.set, false));
            } else {
                key.Put(StripResultText(q.result));
            }
            key.Skeleton(subject, q, settings_.keyStyle);
            key.BodyPar();
        } else {
            // The statement as the subject wrote it, not written twice.
            PutKey(key, q, settings_.keyStyle,
                   [&](Out& out) { out.CopyStatement(subject, q.statement); });
            PutChoicesKey(key, q, settings_.keyStyle);
        }
        key.ApplyComma();
        subject.ApplyComma();
        between(subject);
        key.ApplyLayout();
        subject.ApplyLayout();
        if (settings_.graphs && !strip_) PutGraph(key, q);
        Interline(subject, i);
        if (strip_) Interline(key, i);
    }

  private:
    // The question's graph in a paragraph of its own, under its solution.
    void PutGraph(Out& key, const QuestionModel& q) const {
        if (q.graph.png.empty()) return;
        key.Picture(q.graph);
        key.Par();
    }

    // The empty lines after every question but the last.
    void Interline(Out& out, int i) const {
        if (i < n_)
            for (int k = 0; k < interline_; ++k) out.Par();
    }

    const SheetSettings& settings_;
    int n_, interline_;
    bool strip_;
    const AdaptedLayout *subjectLayout_, *keyLayout_;
    typename Out::Piece subjectSeparator_, keySeparator_;
};

// Both documents of a drawn sheet into two writers; `each(q, subject)` after each question's
// body, with its comma and before its layout.
template <class Out, class Each>
void PutSheet(Out& subject, Out& key, const SheetModel& model, const SheetSettings& settings,
              Each&& each) {
    const int n = static_cast<int>(model.questions.size());
    PutHeaders(subject, key, model.baseName, model.frame, settings);
    const QuestionWriter<Out> writer(model.frame, settings, n);
    for (int i = 1; i <= n; ++i) {
        const QuestionModel& q = model.questions[static_cast<std::size_t>(i - 1)];
        writer.Write(subject, key, q, i, [&](Out& s) { each(q, s); });
    }
    subject.End();
    key.End();
}

}  // namespace equat::layout
