// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/sheet.h"

#include <algorithm>
#include <tuple>
#include <utility>

#include "core/choices.h"
#include "core/graph.h"
#include "core/keymarkup.h"
#include "core/numbertext.h"
#include "core/sheetrtf.h"

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

std::string_view VerdictWords(Verdict verdict) {
    switch (verdict) {
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
    return {};
}

std::vector<Surd> ExactValuesOf(const QuestionResult& result) {
    std::vector<Surd> values;
    for (const auto& v : result.values)
        if (v.exact) values.push_back(*v.exact);
    return values;
}

QuestionResult SetResult(SolutionSet set, int caseBit, bool excludedAreBounds) {
    QuestionResult result;
    std::vector<Surd> values = set.values;
    if (excludedAreBounds) values.insert(values.end(), set.excluded.begin(), set.excluded.end());
    for (const Interval& i : set.intervals)
        for (const auto& bound : {i.low, i.high})
            if (bound && (values.empty() || values.back() != *bound)) values.push_back(*bound);
    if (set.shape == SolutionSet::Shape::Empty) result.verdict = Verdict::NoSolution;
    if (set.shape == SolutionSet::Shape::Reals) result.verdict = Verdict::EveryReal;
    for (std::size_t k = 0; k < values.size(); ++k) {
        const std::string name = values.size() == 1 ? "x" : "x" + DecimalText(k + 1);
        result.values.push_back({name, values[k], RoundedText(values[k], 2)});
    }
    result.set = std::move(set);
    result.caseBit = caseBit;
    return result;
}

std::string StripResultText(const QuestionResult& result) {
    if (result.set) return SolutionSetMarkup(*result.set, false);
    // A verdict in words: its signs alone ("x1 = /") say little on a strip.
    if (result.verdict != Verdict::Values) return std::string(VerdictWords(result.verdict));
    std::string text;
    for (const auto& v : result.values) {
        if (!text.empty()) text += " ; ";
        text += v.name + " = " + v.decimal;
    }
    return text;
}

std::string SetLogText(const SolutionSet& set) {
    const auto text = [](const std::vector<Surd>& values) {
        std::string s = "{";
        for (std::size_t k = 0; k < values.size(); ++k)
            s += (k ? " ; " : "") + RoundedText(values[k], 2);
        return s + "}";
    };
    switch (set.shape) {
        case SolutionSet::Shape::Empty:
            return "vide";
        case SolutionSet::Shape::Reals:
            return set.excluded.empty() ? "R" : "R \\ " + text(set.excluded);
        case SolutionSet::Shape::Intervals: {
            std::string s;
            for (const Interval& i : set.intervals) {
                if (!s.empty()) s += " U ";
                s += i.low ? (i.lowClosed ? "[" : "]") + RoundedText(*i.low, 2) : "]-inf";
                s += " ; ";
                s += i.high ? RoundedText(*i.high, 2) + (i.highClosed ? "]" : "[") : "+inf[";
            }
            return s;
        }
        default:
            return text(set.values);
    }
}

std::string QuestionKind::BaseNameOf(int level) const {
    return std::string(BaseNamePrefix()) + DecimalText(level);
}

namespace {

std::string TwoDigits(int v) {
    std::string s = DecimalText(v);
    return s.size() < 2 ? "0" + s : s;
}

// A multiple-choice question is drawn again while its mistakes give too few distinct choices;
// past this many draws (never seen: every case has enough) it is left a question to solve.
constexpr int kChoiceDraws = 10000;

// Draws questions 1..n, each again until it differs from those before it (and, with
// choiceCount, until it has that many choices), logging every attempt.
void DrawQuestions(QuestionKind& kind, RandomSource& rng, int n, int choiceCount,
                   std::vector<std::string>& log) {
    SeenQuestions seen;
    for (int i = 1; i <= n; ++i) {
        for (int attempt = 1;; ++attempt) {
            kind.Draw(rng, i);
            log.push_back(kind.DiagnosticEntry(i));
            auto key = kind.DuplicateKey(i);
            if (seen.IsSeenQuestion(key)) continue;
            if (choiceCount > 0 && attempt < kChoiceDraws) {
                // A kind with no mistakes to offer keeps its first draw: a question to solve.
                const QuestionModel q = kind.Model(i, false);
                if (!MistakesOf(q.kind).empty() && !ChoicesOf(q, choiceCount)) continue;
            }
            seen.Store(i, std::move(key));
            break;
        }
    }
}

}  // namespace

SheetModel BuildSheetModel(QuestionKind& kind, RandomSource& rng, const SheetSettings& settings) {
    const int level = std::clamp(settings.level, 1, 3);
    const int n = std::clamp(settings.count, 0, kMaxQuestions);

    SheetModel model;
    model.frame = {settings.title,     settings.instruction, settings.separatorOn,
                   settings.separator, settings.code,        std::clamp(settings.interline, 0, 10),
                   settings.name};
    model.log.reserve(static_cast<std::size_t>(n) + 8);
    model.baseName = kind.BaseNameOf(level) + "_";
    model.baseName += TwoDigits(rng.RandomInt(100));
    model.baseName += "_";
    model.baseName += TwoDigits(rng.RandomInt(100));

    kind.Begin(level);
    kind.Prepare(rng, n);
    const int choiceCount =
        settings.choiceCount > 0 ? std::clamp(settings.choiceCount, kMinChoices, kMaxChoices) : 0;
    DrawQuestions(kind, rng, n, choiceCount, model.log);

    // Worked steps cost a solution's work: only for a detailed key or the exports.
    const bool steps =
        StyleOf(settings.keyStyle).workedSteps || settings.exports.bodies || settings.exports.steps;
    model.questions.reserve(static_cast<std::size_t>(n));
    for (int i = 1; i <= n; ++i) model.questions.push_back(kind.Model(i, steps));
    // The order of the choices comes after every question: without them the stream is as it was.
    for (auto& q : model.questions) {
        if (choiceCount == 0) break;
        if (auto choices = ChoicesOf(q, choiceCount))
            q.choices = ShuffledChoices(std::move(*choices), rng);
    }
    // Painting a graph costs far more than writing its question: once here, not per writer.
    if (settings.graphs && !StyleOf(settings.keyStyle).strip)
        for (auto& q : model.questions)
            q.graph = QuestionGraphPicture(q, settings.decimalComma, KeyAdapted(settings));
    return model;
}

bool KeyAdapted(const SheetSettings& s) {
    return s.layout.on && (s.layout.key || StyleOf(s.keyStyle).strip);
}

Sheet BuildSheet(QuestionKind& kind, RandomSource& rng, const SheetSettings& settings) {
    SheetModel model = BuildSheetModel(kind, rng, settings);
    // The banks write each question from its model.
    std::shared_ptr<const SheetModel> kept;
    if (settings.exports.model || settings.exports.bodies)
        kept = std::make_shared<const SheetModel>(model);
    Sheet sheet = RenderSheet(std::move(model), settings);
    sheet.model = std::move(kept);
    sheet.settings = std::make_shared<const SheetSettings>(settings);
    return sheet;
}

const SheetSettings& WrittenSettings(const Sheet& sheet) {
    static const SheetSettings defaults;
    return sheet.settings ? *sheet.settings : defaults;
}

}  // namespace equat
