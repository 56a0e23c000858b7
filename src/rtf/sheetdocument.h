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

}  // namespace equat::rtf
