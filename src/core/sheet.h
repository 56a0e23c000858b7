// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>
#include <iterator>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/adapted.h"
#include "core/drawchoices.h"
#include "core/exact.h"
#include "core/random.h"

namespace equat {

inline constexpr int kMaxQuestions = 40;
inline constexpr int kMaxTitleLength = 160;
// The size of the title line, in half points.
inline constexpr int kTitleSize = 18;
inline constexpr int kMaxSeparatorLength = 200;

// Numbering after the question number: degree sign (byte 0xB0), slash, three spaces.
inline constexpr std::string_view kNumbering = "\xB0/   ";
// The raw paragraph mark a sheet appends. The space ends the control word, so what
// follows (a separator starting with a letter or digit, the space before a number)
// is never swallowed by it.
inline constexpr std::string_view kPar = "\\par ";

// Window design values, Windows-1252.
inline constexpr std::string_view kDefaultTitle =
    "Nom :                       Pr\xE9nom :                             Classe :";
inline constexpr std::string_view kDefaultInstruction = "Calculer ";
inline const std::string kDefaultSeparator(123, '-');

// How the answer key writes its results. Decimal is the first style and the default.
// Strip: the results alone, one line per question, each beside its question's line.
enum class KeyStyle { Decimal, Exact, Detailed, Strip };

// The styles, in the order of the window's list, of the stored index and of the sheet
// code's field: never reorder, only append. name: the batch tool's choice; label: the
// list's item, Windows-1252.
struct KeyStyleInfo {
    KeyStyle style;
    std::string_view name;
    std::string_view label;
};
inline constexpr KeyStyleInfo kKeyStyles[] = {
    {KeyStyle::Decimal, "decimal",
     "D\xE9"
     "cimal"},
    {KeyStyle::Exact, "exact", "Exact"},
    {KeyStyle::Detailed, "detailed",
     "D\xE9"
     "taill\xE9"},
    {KeyStyle::Strip, "strip", "R\xE9sultats seuls"},
};
inline constexpr int kKeyStyleCount = static_cast<int>(std::size(kKeyStyles));

// What the exports (quizzes) need beyond the documents: off, nothing more is made.
struct ExportNeeds {
    bool bodies = false;  // each question's statement and worked solution (Sheet::bodies)
};

// The separator lines of a strip key, in its narrow column, and of a quick quiz's copy, in
// half a page's width, at most so many characters.
inline constexpr std::size_t kStripSeparatorLength = 24;
inline constexpr std::size_t kQuizSeparatorLength = 60;

// A copy of a quick quiz, several to a page: its first line without the base name, the key's
// without the title, its separators shortened to the quiz's column.
struct QuickQuiz {
    bool on = false;
};

// What a generation reads from the window. Texts are Windows-1252.
struct SheetSettings {
    int level = 1;      // 1..3
    int count = 25;     // 1..40
    int interline = 1;  // 0..10
    std::string title{kDefaultTitle};
    // A pupil's name (Windows-1252 text, shown as typed whatever its signs), put in the
    // title by TitleWithName; empty: none.
    std::string name;
    std::string instruction{kDefaultInstruction};
    bool separatorOn = true;
    std::string separator = kDefaultSeparator;
    KeyStyle keyStyle = KeyStyle::Decimal;
    // Decimals with a comma (0,59) instead of a point.
    bool decimalComma = false;
    // A sheet code shown at the end of the first line of both documents; empty: none.
    std::string code;
    // What is drawn: the cases, the solutions, a progressive or a mixed sheet.
    DrawChoices draw;
    // Off: the standard documents. On: the subject (and the key with layout.key) in the
    // adapted layout, the same questions and results.
    AdaptedLayout layout;
    QuickQuiz quiz;
    ExportNeeds exports;
};

// What a key concludes about a question: values, or a verdict that is its own reason.
enum class Verdict {
    Values,
    NoSolution,     // first degree "0 x = k", or an impossible system
    NoRealRoot,     // second degree, negative discriminant
    EveryReal,      // first degree "0 x = 0"
    Indeterminate,  // a system of two proportional equations
};

// One unknown of a result: its name, its exact value (none under a verdict) and the text
// the decimal key writes for it ("2.33", "/", "?").
struct ResultValue {
    std::string name;  // "x", "x1", "x2", "y"
    std::optional<Surd> exact;
    std::string decimal;
    bool operator==(const ResultValue&) const = default;
};

// The result of one question as data, whatever the key style: what every output that
// shows results (the keys' highlighted values, the answer grid) is built from.
struct QuestionResult {
    Verdict verdict = Verdict::Values;
    std::vector<ResultValue> values;
    std::optional<std::int64_t> discriminant;  // second degree: the Δ the key writes
    bool operator==(const QuestionResult&) const = default;
};

// The kind (a name of kSheetKinds) a result comes from, whatever sheet it is on (a mixed
// sheet holds several): the second degree writes its discriminant, a system two unknowns.
std::string_view ResultKind(const QuestionResult& result);

// One question as the documents write it, after its numbering: RTF fragments in the fonts of
// kRtfHeader, paragraph marks included.
struct QuestionBodies {
    std::string statement;  // the subject's body
    std::string worked;     // the detailed key's body: the worked solution, then the result
};

// One generated sheet: both RTF documents, the diagnostic entries of every attempt and the
// result of each question (results[i - 1] for question i); bodies likewise when the
// settings ask for them (ExportNeeds), else empty.
struct Sheet {
    std::string baseName;
    std::string subject;
    std::string answerKey;
    std::vector<std::string> log;
    std::vector<QuestionResult> results;
    std::vector<QuestionBodies> bodies;
};

// The per-kind operations the frame calls. A kind keeps its own question tables,
// indexed 1..kMaxQuestions.
class QuestionKind {
  public:
    virtual ~QuestionKind() = default;
    virtual std::string_view BaseNamePrefix() const = 0;
    virtual std::string_view AnswerNumbering() const { return kNumbering; }
    // The numbering of question i in the key; a mixed sheet's differs by question.
    virtual std::string_view AnswerNumberingOf(int /*i*/) const { return AnswerNumbering(); }
    // The start of the sheet's base name: the prefix and the level.
    virtual std::string BaseNameOf(int level) const;
    // Resets every table at the start of a generation.
    virtual void Begin(int level) = 0;
    // What a sheet of `count` questions draws before its first question; nothing by default,
    // so the stream stays the kinds' own.
    virtual void Prepare(RandomSource& /*rng*/, int /*count*/) {}
    // Draws question i, repeating the kind's own checks until they pass.
    virtual void Draw(RandomSource& rng, int i) = 0;
    // Draws question i steered toward case `target` (-1: any) and `solutions` where the
    // level has a choice draw, or a draw of its own for a case it never gives; the caller
    // checks what came out and draws again.
    virtual void DrawToward(RandomSource& rng, int i, int /*target*/, Solutions /*solutions*/) {
        Draw(rng, i);
    }
    virtual std::string DiagnosticEntry(int i) const = 0;
    virtual std::string DuplicateKey(int i) const = 0;
    // RTF after the numbering, closing paragraph mark included, appended to a document.
    virtual void AppendSubjectBody(std::string& out, int i) const = 0;
    virtual void AppendAnswerBody(std::string& out, int i, KeyStyle style) const = 0;
    // The result of question i, from its coefficients.
    virtual QuestionResult Result(int i) const = 0;
};

// The state every kind keeps: the level, the latest choice draw and one record per question.
template <class Question>
class TabledKind : public QuestionKind {
  public:
    void Begin(int level) override {
        level_ = level;
        aleas_ = 0;
        q_.fill(Question{});
    }
    const Question& question(int i) const { return q_.at(static_cast<std::size_t>(i)); }
    int aleas() const { return aleas_; }

  protected:
    Question& record(int i) { return q_.at(static_cast<std::size_t>(i)); }

    int level_ = 1;
    int aleas_ = 0;

  private:
    std::array<Question, kMaxQuestions + 1> q_{};
};

// The keys of the questions already on the sheet.
class SeenQuestions {
  public:
    void Clear() { entries_.fill({}); }
    bool IsSeenQuestion(std::string_view key) const;
    void Store(int i, std::string key) {
        entries_.at(static_cast<std::size_t>(i - 1)) = std::move(key);
    }

  private:
    std::array<std::string, kMaxQuestions> entries_;
};

// Builds one sheet: base name, headers, drawing pass with duplicate rejection,
// writing pass, closing braces. Out-of-range settings are brought to their bounds.
Sheet BuildSheet(QuestionKind& kind, RandomSource& rng, const SheetSettings& settings);

// The results of a strip key's line, Windows-1252: each value's name and the decimal key's
// text for it, "x1 = -0.62 ; x2 = 1.62"; a verdict in words ("aucune solution").
std::string StripResultText(const QuestionResult& result);

// The strip key's body of a question: the results, then the subject body's paragraphs with
// their text taken out and their fonts kept, so that each line is as high as the subject's.
void AppendStripBody(std::string& out, std::string_view subjectBody, const QuestionResult& result);

// Concatenated decimal texts of the slots, without separators.
std::string DuplicateKeyOf(std::span<const std::int32_t> slots);

// Diagnostic entry of the first- and second-degree kinds.
std::string DegreeDiagnosticEntry(int i, std::int32_t a, std::int32_t b, std::int32_t c,
                                  std::int32_t d, std::string_view solution, int aleas);

}  // namespace equat
