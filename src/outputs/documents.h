// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "core/formats.h"
#include "rtf/model.h"

namespace equat {

// The writers of the formats made from the documents alone (see FormatWriter). Of a class
// set, the pair writers make one copy's pair: the first in key order.
bool WriteRtfPair(const OutputData& output, const std::vector<std::string>& names,
                  NamedFiles* files, std::string* error);
bool WriteText(const OutputData& output, const std::vector<std::string>& names, NamedFiles* files,
               std::string* error);

// The subject and, when asked, the answer key of the output's first copy in key order.
std::vector<std::string_view> PairDocuments(const OutputData& output, std::size_t count);
// The same as documents: made from the copy's model when it carries one, else read.
std::vector<rtf::Document> PairDocumentModels(const OutputData& output, std::size_t count);

// UTF-8 text fit for XML's text and attributes: & < > " as entities, what XML cannot hold
// dropped.
std::string XmlEscaped(std::string_view text);

}  // namespace equat
