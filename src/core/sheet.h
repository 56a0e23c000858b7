// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/random.h"

namespace equat {

inline constexpr int kMaxQuestions = 40;
inline constexpr int kMaxTitleLength = 160;
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

// How the answer key writes its results. Decimal is the specified style and the default.
enum class KeyStyle { Decimal, Exact, Detailed };

// What a generation reads from the window. Texts are Windows-1252.
struct SheetSettings {
    int level = 1;      // 1..3
    int count = 25;     // 1..40
    int interline = 1;  // 0..10
    std::string title{kDefaultTitle};
    std::string instruction{kDefaultInstruction};
    bool separatorOn = true;
    std::string separator = kDefaultSeparator;
    KeyStyle keyStyle = KeyStyle::Decimal;
    // Decimals with a comma (0,59) instead of a point.
    bool decimalComma = false;
    // A sheet code shown at the end of the first line of both documents; empty: none.
    std::string code;
};

// One generated sheet: both RTF documents and the diagnostic entries of every attempt.
struct Sheet {
    std::string baseName;
    std::string subject;
    std::string answerKey;
    std::vector<std::string> log;
};

// The per-kind operations the frame calls. A kind keeps its own question tables,
// indexed 1..kMaxQuestions.
class QuestionKind {
  public:
    virtual ~QuestionKind() = default;
    virtual std::string_view BaseNamePrefix() const = 0;
    virtual std::string_view AnswerNumbering() const { return kNumbering; }
    // Resets every table at the start of a generation.
    virtual void Begin(int level) = 0;
    // Draws question i, repeating the kind's own checks until they pass.
    virtual void Draw(RandomSource& rng, int i) = 0;
    virtual std::string DiagnosticEntry(int i) const = 0;
    virtual std::string DuplicateKey(int i) const = 0;
    // RTF after the numbering, closing paragraph mark included, appended to a document.
    virtual void AppendSubjectBody(std::string& out, int i) const = 0;
    virtual void AppendAnswerBody(std::string& out, int i) const = 0;

    // Set by the frame before Begin; the answer bodies read it.
    void SetKeyStyle(KeyStyle style) { keyStyle_ = style; }
    KeyStyle keyStyle() const { return keyStyle_; }

  private:
    KeyStyle keyStyle_ = KeyStyle::Decimal;
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

// Concatenated decimal texts of the slots, without separators.
std::string DuplicateKeyOf(std::span<const std::int32_t> slots);

// Diagnostic entry of the first- and second-degree kinds.
std::string DegreeDiagnosticEntry(int i, std::int32_t a, std::int32_t b, std::int32_t c,
                                  std::int32_t d, std::string_view solution, int aleas);

}  // namespace equat
