// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/sheet.h"

#include <algorithm>

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

std::string QuestionKind::BaseNameOf(int level) const {
    return std::string(BaseNamePrefix()) + DecimalText(level);
}

namespace {

std::string TwoDigits(int v) {
    std::string s = DecimalText(v);
    return s.size() < 2 ? "0" + s : s;
}

std::string Header(std::string_view baseName, std::string_view middle, const SheetSettings& s) {
    std::string m = "<arial><te=" + DecimalText(kTitleSize) + ">";
    m += baseName;
    m += middle;
    m += s.title;
    m += "</u>";
    if (!s.code.empty()) {
        m += "   Code : ";
        m += s.code;
    }
    m += "<br><br><b>";
    m += s.instruction;
    m += "<b><br><br></b>";
    // The RTF header converts to itself (no tag, no control character), so only what
    // follows it needs converting.
    std::string out(kRtfHeader);
    AppendMarkupRtf(out, m);
    return out;
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

}  // namespace

Sheet BuildSheet(QuestionKind& kind, RandomSource& rng, const SheetSettings& settings) {
    const int level = std::clamp(settings.level, 1, 3);
    const int n = std::clamp(settings.count, 0, kMaxQuestions);
    const int interline = std::clamp(settings.interline, 0, 10);

    Sheet sheet;
    sheet.log.reserve(static_cast<std::size_t>(n) + 8);
    sheet.results.reserve(static_cast<std::size_t>(n));
    sheet.baseName = kind.BaseNameOf(level) + "_";
    sheet.baseName += TwoDigits(rng.RandomInt(100));
    sheet.baseName += "_";
    sheet.baseName += TwoDigits(rng.RandomInt(100));

    sheet.subject = Header(sheet.baseName, " - <u>", settings);
    sheet.answerKey = Header(sheet.baseName, " - <b>Corrig\xE9</b> - <u>", settings);

    kind.Begin(level);
    kind.Prepare(rng, n);
    DrawQuestions(kind, rng, n, sheet.log);

    const std::string separatorLine =
        settings.separatorOn ? MarkupToRtf(settings.separator + "<br>") : MarkupToRtf(" ");
    for (int i = 1; i <= n; ++i) {
        const std::size_t subjectBefore = sheet.subject.size();
        const std::size_t keyBefore = sheet.answerKey.size();
        const std::string number = DecimalText(i);
        sheet.subject += separatorLine;
        sheet.subject += number;
        sheet.subject += kNumbering;
        // Only the bodies: the teacher's own texts keep what was typed.
        const std::size_t subjectBody = sheet.subject.size();
        kind.AppendSubjectBody(sheet.subject, i);
        if (settings.decimalComma) UseDecimalComma(sheet.subject, subjectBody);
        if (i < n)
            for (int k = 0; k < interline; ++k) sheet.subject += kPar;

        sheet.answerKey += separatorLine;
        sheet.answerKey += number;
        sheet.answerKey += kind.AnswerNumberingOf(i);
        const std::size_t keyBody = sheet.answerKey.size();
        kind.AppendAnswerBody(sheet.answerKey, i, settings.keyStyle);
        if (settings.decimalComma) UseDecimalComma(sheet.answerKey, keyBody);
        sheet.results.push_back(kind.Result(i));
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
