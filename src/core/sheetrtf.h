// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The RTF renderer of a sheet: the frame, each question's subject and key bodies in the
// key's style, the strip, the decimal comma and the adapted layout.
#include <string>
#include <string_view>

#include "core/sheet.h"

namespace equat {

// The raw paragraph mark a sheet appends. The space ends the control word, so what
// follows (a separator starting with a letter or digit, the space before a number)
// is never swallowed by it.
inline constexpr std::string_view kPar = "\\par ";

// One side, one equation, one statement, as the documents write them.
std::string SideRtf(const WrittenSide& side);
std::string StatementRtf(const Statement& statement);

// The numbering after a question's number in the key: a system's is shorter.
std::string_view KeyNumbering(const QuestionModel& q);
// The bodies after the numbering, closing paragraph mark included, appended to a document.
// A detailed key needs q.steps.
void AppendSubjectRtf(std::string& out, const QuestionModel& q);
void AppendKeyRtf(std::string& out, const QuestionModel& q, KeyStyle style);

// Both documents of a drawn sheet, in the settings' key style and layout.
Sheet RenderSheet(SheetModel model, const SheetSettings& settings);

}  // namespace equat
