// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <vector>

#include "core/formats.h"
#include "rtf/model.h"

namespace equat {

// The document as OpenDocument text: a zip with "mimetype" first and stored, content.xml,
// styles.xml, meta.xml and META-INF/manifest.xml. The same text, fonts, sizes, bold, italic,
// underline, colours and highlight as the model; every sign real Unicode (a Symbol-font run
// is written in the document's text font, its signs being Unicode already). False with
// *error when the archive cannot be made.
bool OdtBytes(const rtf::Document& doc, std::string* bytes, std::string* error);

// The pair as .odt (see FormatWriter).
bool WriteOdtPair(const OutputData& output, const std::vector<std::string>& names,
                  NamedFiles* files, std::string* error);

}  // namespace equat
