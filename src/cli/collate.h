// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "cli/answergrid.h"

namespace equat {

// Several RTF documents as one PDF laid out as printing lays out each (A4), every document
// starting on a new page. The bytes are made in memory; nothing is written.
bool CollatedPdf(const std::vector<std::string_view>& rtfs, const std::string& title,
                 std::string* pdf, std::string* error);

// The grid on one page of A4 landscape, made smaller when it would not fit.
bool AnswerGridPdf(const AnswerGrid& grid, std::string* pdf, std::string* error);

// The subjects of a class set into path (".pdf" added when it has no extension), the keys
// into its name without extension followed by "_Cor.pdf", in keyOrder; the grid into
// answers when not empty. All are made before any is written. The names written go to
// *written; false with *error when one cannot be made or written.
bool WriteClassPdfs(const std::vector<ClassCopy>& copies, const std::vector<std::size_t>& keyOrder,
                    const std::string& path, const std::string& answers,
                    std::vector<std::string>* written, std::string* error);

}  // namespace equat
