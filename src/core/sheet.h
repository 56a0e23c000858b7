// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>
#include <iterator>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/adapted.h"
#include "core/drawchoices.h"
#include "core/exact.h"
#include "core/picture.h"
#include "core/random.h"
#include "core/sheetmodel.h"

namespace equat {

inline constexpr int kMaxQuestions = 40;
inline constexpr int kMaxTitleLength = 160;
// The size of the title line, in half points.
inline constexpr int kTitleSize = 18;
inline constexpr int kMaxSeparatorLength = 200;

// Numbering after the question number: degree sign (byte 0xB0), slash, three spaces.
inline constexpr std::string_view kNumbering = "\xB0/   ";
// Window design values, Windows-1252.
inline constexpr std::string_view kDefaultTitle =
    "Nom :                       Pr\xE9nom :                             Classe :";
inline constexpr std::string_view kDefaultInstruction = "Calculer ";
inline const std::string kDefaultSeparator(123, '-');

// How the answer key writes its results. Decimal is the first style and the default.
// Strip: the results alone, one line per question, each beside its question's line.
enum class KeyStyle { Decimal, Exact, Detailed, Strip };

// What the batch tools' help (and the manual pages made from it) say of a choice of a table:
// English (ASCII), then French (Windows-1252).
struct ToolHelp {
    std::string_view en;
    std::string_view fr;
};

// The styles, in the order of the window's list, of the stored index and of the sheet
// code's field: never reorder, only append. name: the batch tool's choice; label: the
// list's item. The flags say what the style writes; the renderer and the answer
// grid read them, never the style itself.
struct KeyStyleInfo {
    KeyStyle style;
    std::string_view name;
    std::string_view label;
    std::string_view hint;  // how the list's hint names it, Windows-1252
    bool exactValues;       // exact values (fractions, square roots) where there are some
    bool workedSteps;       // each question's worked solution before its result
    bool strip;             // the results alone, each on its question's line (its subject's lines)
    ToolHelp help;
};
// clang-format off
inline constexpr KeyStyleInfo kKeyStyles[] = {
    //       name       label            hint                    exactValues workedSteps strip
    {KeyStyle::Decimal, "decimal", "D\xE9" "cimal", "d\xE9" "cimales", false, false, false,
     {"two decimals, default", "deux d\xE9" "cimales, par d\xE9" "faut"}},
    {KeyStyle::Exact, "exact", "Exact", "valeurs exactes", true, false, false,
     {"fractions and square roots, each followed by its decimal",
      "fractions et racines carr\xE9" "es, chacune suivie de sa valeur d\xE9" "cimale"}},
    {KeyStyle::Detailed, "detailed", "D\xE9" "taill\xE9", "solution d\xE9" "taill\xE9" "e",
     true, true, false,
     {"the exact key under the worked solution",
      "le corrig\xE9 exact sous la solution r\xE9" "dig\xE9" "e"}},
    {KeyStyle::Strip, "strip", "R\xE9sultats seuls", "r\xE9sultats seuls", false, false, true,
     {"the results alone, each beside its question's line",
      "les r\xE9sultats seuls, chacun en face de sa question"}},
};
// clang-format on
inline constexpr int kKeyStyleCount = static_cast<int>(std::size(kKeyStyles));
// The row of a style.
constexpr const KeyStyleInfo& StyleOf(KeyStyle style) {
    return kKeyStyles[static_cast<std::size_t>(style)];
}
constexpr bool StylesInOrder() {
    for (std::size_t k = 0; k < std::size(kKeyStyles); ++k)
        if (kKeyStyles[k].style != static_cast<KeyStyle>(k)) return false;
    return true;
}
static_assert(StylesInOrder(), "one row per KeyStyle, in its order");

// What the exports (quizzes) need beyond the documents: off, nothing more is made.
struct ExportNeeds {
    bool bodies = false;  // the banks: the model with worked steps, and Sheet::bodies
    bool model = false;   // the sheet as data (Sheet::model), for outputs rendered from it
    bool steps = false;   // each question's worked steps in the model, whatever the key's style
};

// The separator lines of a strip key, in its narrow column, and of a quick quiz's copy, in
// half a page's width, at most so many characters.
inline constexpr std::size_t kStripSeparatorLength = 24;
inline constexpr std::size_t kQuizSeparatorLength = 60;

// A copy of a quick quiz, several to a page: its first line without the base name, the key's
// without the title, its separators shortened to the quiz's column. With showLevel (a quiz of
// two levels, whose columns differ) the instruction of both documents is followed by the copy's
// level.
struct QuickQuiz {
    bool on = false;
    bool showLevel = false;
};

// What a generation reads from the window. Texts are Windows-1252.
struct SheetSettings;
// Whether the key is in the adapted layout: when asked, and always for a strip, whose lines
// are those of its subject.
bool KeyAdapted(const SheetSettings& s);

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
    // Multiple choice: the choices each question offers (kMinChoices..kMaxChoices), the right
    // one among named mistakes; 0: off, the questions to solve.
    int choiceCount = 0;
    // A graph under each solution of the key (not in a strip); off: the documents as they were.
    bool graphs = false;
};

// What a bank shows of a question beyond its model (its statement and worked solution are
// written from the model): how the sheet wrote it, kept with the sheet so that a pair edited by
// hand still exports the questions as drawn.
struct QuestionBodies {
    bool decimalComma = false;  // its decimals written with a comma
    PngPicture graph{};         // its graph in the standard layout, when the key has graphs
};

struct SheetModel;

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
    // The sheet as drawn, when the settings' exports ask for it; shared by the copies made of it.
    std::shared_ptr<const SheetModel> model;
    // The settings it was written in, kept by every sheet drawn: what lays it out (a strip,
    // cream pages, the key's style on screen) is read there, and with the model its documents
    // are made from both. Whoever puts other documents in the sheet (edited by hand, loaded)
    // drops them, so that its documents are read from those bytes.
    std::shared_ptr<const SheetSettings> settings;
};

// The settings a sheet was written in; the defaults for documents it did not draw.
const SheetSettings& WrittenSettings(const Sheet& sheet);

// The per-kind operations the frame calls. A kind keeps its own question tables,
// indexed 1..kMaxQuestions.
class QuestionKind {
  public:
    virtual ~QuestionKind() = default;
    virtual std::string_view BaseNamePrefix() const = 0;
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
    // Question i as data; its worked steps only when `steps` (they cost a solution's work).
    virtual QuestionModel Model(int i, bool steps) const = 0;
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

// What a sheet's frame writes around its questions, from the settings (Windows-1252).
struct SheetFrame {
    std::string title, instruction;
    bool separatorOn = true;
    std::string separator;
    std::string code;
    int interline = 1;  // 0..10
    std::string name;   // a pupil's, put in the title as typed; empty: none
};

// A sheet as data: its base name, its frame, its questions, the diagnostic entries of every
// attempt.
struct SheetModel {
    std::string baseName;
    SheetFrame frame;
    std::vector<QuestionModel> questions;
    std::vector<std::string> log;
};

// Draws one sheet: base name, then the questions with duplicate rejection. Out-of-range
// settings are brought to their bounds; steps are made when the key or the exports need them.
SheetModel BuildSheetModel(QuestionKind& kind, RandomSource& rng, const SheetSettings& settings);

// Builds one sheet: the model drawn, then rendered as the RTF pair (sheetrtf.h).
Sheet BuildSheet(QuestionKind& kind, RandomSource& rng, const SheetSettings& settings);

// A verdict in words, Windows-1252: "aucune solution", "tout r\xE9el est solution"...
std::string_view VerdictWords(Verdict verdict);

// The exact values of a result in its order; none under a verdict.
std::vector<Surd> ExactValuesOf(const QuestionResult& result);

// The result of a question whose key writes a solution set, `caseBit` its case: the verdict
// from the set's shape (none, every real, R but some values too), the set, and as values its
// elements, or the finite bounds of its intervals, in increasing order, named "x" when there is
// one, else "x1", "x2"..., each exact and rounded to two decimals. With `excludedAreBounds` (an
// inequation's R \ {a}), the values taken out count among them.
QuestionResult SetResult(SolutionSet set, int caseBit, bool excludedAreBounds = false);

// The results of a strip key's line, Windows-1252: each value's name and the decimal key's
// text for it, "x1 = -0.62 ; x2 = 1.62"; a verdict in words ("aucune solution"): plain text
// that is its own markup. A result with a set gives the set in decimals as markup
// (SolutionSetMarkup: braces, backslash and the Symbol font's signs), written as markup.
std::string StripResultText(const QuestionResult& result);

// A set in plain text for the diagnostic log: "]-inf ; 1.5] U [2 ; +inf[", "vide", "R \ {2}".
std::string SetLogText(const SolutionSet& set);

// Concatenated decimal texts of the slots, without separators.
std::string DuplicateKeyOf(std::span<const std::int32_t> slots);

// Diagnostic entry of the first- and second-degree kinds.
std::string DegreeDiagnosticEntry(int i, std::int32_t a, std::int32_t b, std::int32_t c,
                                  std::int32_t d, std::string_view solution, int aleas);

}  // namespace equat
