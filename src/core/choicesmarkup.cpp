// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/choicesmarkup.h"

#include <vector>

#include "core/choices.h"
#include "core/exactkey.h"
#include "core/keymarkup.h"

namespace equat {

namespace {

constexpr std::string_view kIndent = "<arial><te=18>     ";
constexpr std::string_view kBetween = "        ";
// Choices that fit one line of the page together share it; longer ones take a line each, so
// that none is cut across two.
constexpr std::size_t kOneLine = 90;

}  // namespace

std::string ChoicesMarkup(const QuestionModel& q, KeyStyle style) {
    if (q.choices.empty()) return {};
    std::vector<std::string> texts;
    std::size_t length = 0;
    for (const Choice& c : q.choices) {
        // Root signs count as one character each: the text length with "sqrt".
        length += ChoiceText(c.value, q.kind, ShowsExactValues(style)).size() + kBetween.size();
        texts.push_back(ChoiceText(c.value, q.kind, ShowsExactValues(style), kRootMarkup));
    }
    const std::string_view between = length <= kOneLine ? kBetween : "<br>";
    // The texts hold digits, signs, letters and the root's tag: nothing to escape.
    std::string markup(kIndent);
    for (std::size_t k = 0; k < texts.size(); ++k) {
        if (k) markup += between;
        if (k && between != kBetween) markup += kIndent;
        markup += ChoiceLetter(k);
        markup += ") ";
        markup += texts[k];
    }
    return markup;
}

std::string ChoicesKeyMarkup(const QuestionModel& q) {
    if (q.choices.empty()) return {};
    std::string markup(kIndent);
    markup += "<b>R\xE9ponse : ";
    markup += ChoiceLetter(RightChoiceIndex(q.choices));
    markup += "</b>";
    for (std::size_t k = 0; k < q.choices.size(); ++k) {
        if (q.choices[k].mistake.empty()) continue;
        markup += "<br>";
        markup += kIndent;
        markup += ChoiceLetter(k);
        markup += " : ";
        markup += q.choices[k].mistake;
    }
    return markup;
}

std::string ChoiceLetterText(const QuestionModel& q) {
    if (q.choices.empty()) return {};
    return std::string(1, ChoiceLetter(RightChoiceIndex(q.choices))) + "  ";
}

}  // namespace equat
