// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The documents of a sheet made straight from its model, for the outputs that show, lay out or
// convert what Equat just drew: no RTF written or read on the way.
#include "core/sheet.h"
#include "rtf/model.h"

namespace equat::rtf {

struct SheetDocuments {
    Document subject;
    Document answerKey;
};

// Both documents of a drawn sheet in the settings' key style and layout: what reading the RTF
// pair of RenderSheet(model, settings) gives, paragraph for paragraph and run for run.
SheetDocuments RenderDocuments(const SheetModel& model, const SheetSettings& settings);

// A sheet's subject or key: made from its model when it carries one, else read from its RTF.
Document SubjectDocument(const Sheet& sheet);
Document KeyDocument(const Sheet& sheet);

// One question as a bank shows it, each body a document of its own (the sheet's prologue, no
// separator or number): its statement as the subject writes it, and its worked solution as a
// detailed key writes it, the comma applied to both when the sheet has one.
struct QuestionDocuments {
    Document statement;
    Document worked;
};
QuestionDocuments QuestionBodyDocuments(const QuestionModel& q, bool decimalComma);

}  // namespace equat::rtf
