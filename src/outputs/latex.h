// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// LaTeX of the sheets, rendered from their model: documents for pdflatex (UTF-8, standard
// packages, French typography), and the pieces the multiple-choice export shares.
#include <string>
#include <string_view>
#include <vector>

#include "core/formats.h"
#include "core/sheetmodel.h"

namespace equat {

// The preamble's packages after \documentclass (UTF-8 input, T1 fonts, the AMS signs, French).
extern const std::string_view kLatexPackages;

// The sheets' markup (Windows-1252: a teacher's text through TeacherMarkup, a key's lines) as
// TeX text in UTF-8: bold and italics kept, superscripts and subscripts raised and lowered, the
// Symbol font's signs as TeX's, line breaks as paragraphs; sizes, colours, fonts and
// underlining dropped. Every sign TeX reads as a command shows as typed, so any text compiles.
std::string MarkupTex(std::string_view markup);

// A question's statement as TeX math, without delimiters: one equation, or a system's two
// lines under a brace.
std::string StatementTex(const Statement& statement);

// An unknown's name as TeX math: "x1" as x_{1}.
std::string NameTex(std::string_view name);

// The copies' model as two LaTeX documents, subject then key (names[1]; the subject alone
// when one name is given): each copy's first lines and questions, the key's worked steps,
// values and solution sets; copies one after the other, each on a new page, in the order drawn
// (keys in key order). The copies need their model (ExportNeeds::model).
bool WriteLatex(const OutputData& output, const std::vector<std::string>& names, NamedFiles* files,
                std::string* error);

// False with a French *error when a copy was made without its model.
bool HasModels(const OutputData& output, std::string* error);

}  // namespace equat
