// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <string_view>

namespace equat {

namespace rtf {
struct Document;
}

// A document (a question's body) as HTML paragraphs for a learning platform whose MathJax
// filter typesets TeX between \( and \): the mathematics as TeX (powers, indices, the Symbol
// font's signs, R as a set), the words as text, a system's brace as one \begin{cases} with a
// line per equation, a table as an HTML table of bordered cells. Empty paragraphs are left out.
std::string DocumentTexHtml(const rtf::Document& doc);

// A sign of the documents in TeX's math mode (\times, \approx, \Delta, ^{2}, \emptyset, the
// specials escaped); empty for a sign written as itself.
std::string_view TexSign(char32_t c);

}  // namespace equat
