// SPDX-License-Identifier: GPL-3.0-or-later
#include "outputs/amc.h"

#include <algorithm>
#include <cmath>

#include "core/choices.h"
#include "core/cp1252.h"
#include "core/keymarkup.h"
#include "core/markup.h"
#include "core/numbertext.h"
#include "outputs/answers.h"
#include "outputs/latex.h"
#include "outputs/mathtex.h"

namespace equat {

namespace {

// The package's group names take letters only: a slot's is two letters after "slot".
std::string SlotGroup(std::size_t slot) {
    return "slot" + std::string(1, char('A' + slot / 26 % 26)) + char('A' + slot % 26);
}

// A copy's code, or its place when it has none: the start of its questions' identifiers.
std::string CopyId(const ClassCopy& copy, std::size_t k) {
    return copy.codeText.empty() ? "copie" + DecimalText(static_cast<std::int64_t>(k + 1))
                                 : copy.codeText;
}

// Words (UTF-8) as TeX text; a sign Windows-1252 lacks (the infinity of a shape) in math.
std::string WordsTex(std::string_view words) {
    std::string tex, run;
    const auto flush = [&] {
        if (!run.empty()) tex += MarkupTex(TextAsMarkup(run));
        run.clear();
    };
    for (const char32_t c : DecodeUtf8(words).value_or(U"?")) {
        if (const auto byte = UnicodeToCp1252(c)) {
            run += static_cast<char>(*byte);
            continue;
        }
        flush();
        const std::string_view sign = TexSign(c);
        tex += sign.empty() ? std::string("?") : "$" + std::string(sign) + "$";
    }
    flush();
    return tex;
}

const std::vector<std::string_view> kRootCounts = {"aucune solution r\xC3\xA9\x65lle",
                                                   "une seule solution r\xC3\xA9\x65lle",
                                                   "deux solutions r\xC3\xA9\x65lles"};

// The names of a kind's value boxes, in the order BlankValues gives them.
std::vector<std::string_view> BlankNames(const QuestionModel& q) {
    const std::string_view kind = q.kind;
    if (kind == "2d") return {"x1", "x2"};
    if (kind == "syst") return {"x", "y"};
    if (!q.result.set) return {"x"};
    if (IsInequationKind(kind)) return {"a", "b"};
    return SetBlankCount(kind) == 1 ? std::vector<std::string_view>{"x"}
                                    : std::vector<std::string_view>{"x1", "x2"};
}

std::string BlankRule(const QuestionModel& q) {
    const std::string_view kind = q.kind;
    if (q.result.set) return WordsTex(SetBlankRule(kind));
    if (kind == "2d")
        return "La plus petite solution en $x_{1}$, la plus grande en $x_{2}$ ; une seule "
               "solution : dans les deux ; aucune : 0 dans les deux.";
    return "S'il n'y a pas une seule solution : 0.";
}

// Digits of the integer part of the largest value of every box, so that all boxes are alike.
int IntegerDigits(const OutputData& output) {
    double largest = 9;
    for (const ClassCopy& copy : output.copies)
        for (const QuestionModel& q : copy.sheet.model->questions)
            for (const Surd& v : BlankValues(q.kind, q.result))
                largest = std::max(largest, std::abs(v.ToDouble()) + 1);
    int digits = 0;
    for (; largest >= 1; largest /= 10) ++digits;
    return digits;
}

std::string Choices(const std::vector<AmcChoice>& choices) {
    std::string tex = "\\begin{choices}[o]\n";
    for (const AmcChoice& c : choices)
        tex += (c.right ? "\\correctchoice{" : "\\wrongchoice{") + c.text + "}\n";
    return tex + "\\end{choices}\n";
}

// A multiple-choice question's own choices, in the order its copy shows them, exact.
std::vector<AmcChoice> DrawnChoices(const QuestionModel& q) {
    std::vector<AmcChoice> choices;
    for (const Choice& c : q.choices)
        choices.push_back(
            {MarkupTex(ChoiceText(c.value, q.kind, true, kRootMarkup)), c.mistake.empty()});
    return choices;
}

// An inequation's brackets, each a single-answer question beside its bound's box.
std::string BracketQuestions(const QuestionModel& q, const std::string& id,
                             const std::vector<std::string_view>& names) {
    if (!q.result.set || !IsInequationKind(q.kind)) return {};
    const auto answer = SetAnswerOf(q.kind, *q.result.set);
    std::string tex;
    for (std::size_t k = 0; answer && k < answer->brackets.size() && k < names.size(); ++k) {
        std::vector<AmcChoice> choices;
        for (std::size_t c = 0; c < kBracketChoices.size(); ++c)
            choices.push_back(
                {c < 2 ? "$" + std::string(kBracketChoices[c]) + "$" : WordsTex(kBracketChoices[c]),
                 c == answer->brackets[k]});
        tex += "\\begin{question}{" + id + "-c" + std::string(names[k]) +
               "}\nCrochet \xC3\xA9\x63rit \xC3\xA0 c\xC3\xB4t\xC3\xA9 de $" +
               std::string(names[k]) + "$\n" + Choices(choices) + "\\end{question}\n";
    }
    return tex;
}

// One question of one copy: its verdict, then its values' boxes; a multiple-choice question
// its choices alone.
std::string Element(const QuestionModel& q, std::size_t slot, const std::string& id, int digits) {
    std::string tex = "\\element{" + SlotGroup(slot) + "}{\n\\begin{question}{" + id +
                      "-v}\nR\xC3\xA9soudre $" + StatementTex(q.statement) + "$\n" +
                      Choices(q.choices.empty() ? VerdictChoices(q) : DrawnChoices(q)) +
                      "\\end{question}\n";
    if (!q.choices.empty()) return tex + "}\n";
    const std::vector<Surd> values = BlankValues(q.kind, q.result);
    const std::vector<std::string_view> names = BlankNames(q);
    for (std::size_t k = 0; k < values.size() && k < names.size(); ++k)
        tex += "\\begin{questionmultx}{" + id + "-" + std::string(names[k]) + "}\n$" +
               NameTex(names[k]) + "$, arrondi au centi\xC3\xA8me. " + BlankRule(q) +
               "\n\\AMCnumericChoices{" + RoundedText(values[k], 2) +
               "}{digits=" + DecimalText(digits + 2) +
               ",decimals=2,sign=true}\n\\end{questionmultx}\n";
    return tex + BracketQuestions(q, id, names) + "}\n";
}

// Our copies' count of the package's copies: the title, a box for the name, the instruction,
// then one variant of each slot.
std::string CopyPages(const SheetModel& first, std::size_t copies, std::size_t slots) {
    std::string tex = "\\onecopy{" + DecimalText(static_cast<std::int64_t>(copies)) +
                      "}{\n\\noindent{\\large " + MarkupTex(TeacherMarkup(first.frame.title)) +
                      "}\\hfill\\namefield{\\fbox{\\parbox{7cm}{Nom et pr\xC3\xA9nom :\\\\[4ex]}}}"
                      "\\par\\medskip\n\\textbf{" +
                      MarkupTex(TeacherMarkup(first.frame.instruction)) + "}\\par\\medskip\n";
    for (std::size_t slot = 0; slot < slots; ++slot)
        tex += "\\shufflegroup{" + SlotGroup(slot) + "}\\insertgroup[1]{" + SlotGroup(slot) + "}\n";
    return tex + "\\AMCcleardoublepage\n}\n";
}

}  // namespace

std::vector<AmcChoice> VerdictChoices(const QuestionModel& q) {
    if (q.result.set) {
        const auto answer = SetAnswerOf(q.kind, *q.result.set);
        const auto& words = SetShapeChoices(q.kind);
        std::vector<AmcChoice> choices;
        for (std::size_t k = 0; k < words.size(); ++k)
            choices.push_back({WordsTex(words[k]), answer && k == answer->shape});
        return choices;
    }
    const bool roots = q.kind == "2d";
    const auto& words = roots ? kRootCounts : q.kind == "syst" ? kSystemChoices : kOneDegreeChoices;
    const std::size_t right = roots ? Roots(q.result).size() : VerdictChoice(q.result.verdict);
    std::vector<AmcChoice> choices;
    for (std::size_t k = 0; k < words.size(); ++k)
        choices.push_back({WordsTex(words[k]), k == right});
    return choices;
}

bool WriteAmc(const OutputData& output, const std::vector<std::string>& names, NamedFiles* files,
              std::string* error) {
    if (!HasModels(output, error)) return false;
    for (const ClassCopy& copy : output.copies)
        for (const QuestionModel& q : copy.sheet.model->questions)
            if (q.result.set && !SetAnswerOf(q.kind, *q.result.set)) {
                // Never a question graded against a wrong answer.
                *error =
                    "Une question de cette feuille a un ensemble de solutions qu'AMC ne peut pas "
                    "noter : choisissez un autre type d'exercice";
                return false;
            }
    const int digits = IntegerDigits(output);
    std::string tex = "\\documentclass[a4paper,11pt]{article}\n" + std::string(kLatexPackages) +
                      "\\usepackage{fp}\n\\usepackage{automultiplechoice}\n"
                      "\\begin{document}\n\\AMCrandomseed{1527384}\n";
    std::size_t slots = 0;
    for (std::size_t k = 0; k < output.copies.size(); ++k) {
        const auto& questions = output.copies[k].sheet.model->questions;
        slots = std::max(slots, questions.size());
        for (std::size_t i = 0; i < questions.size(); ++i)
            tex += Element(
                questions[i], i,
                CopyId(output.copies[k], k) + "-q" + DecimalText(static_cast<std::int64_t>(i + 1)),
                digits);
    }
    const SheetModel& first = *output.copies[0].sheet.model;
    files->emplace_back(names.at(0),
                        tex + CopyPages(first, output.copies.size(), slots) + "\\end{document}\n");
    return true;
}

}  // namespace equat
