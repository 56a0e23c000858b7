// SPDX-License-Identifier: GPL-3.0-or-later
#include "outputs/documents.h"

#include <algorithm>

#include "core/cp1252.h"
#include "rtf/sheetdocument.h"
#include "rtf/writer.h"

namespace equat {

std::vector<std::string_view> PairDocuments(const OutputData& output, std::size_t count) {
    const ClassCopy& copy = *output.InKeyOrder().front();
    std::vector<std::string_view> docs{copy.sheet.subject, copy.sheet.answerKey};
    docs.resize(std::min<std::size_t>(count, 2));
    return docs;
}

std::vector<rtf::Document> PairDocumentModels(const OutputData& output, std::size_t count) {
    const Sheet& sheet = output.InKeyOrder().front()->sheet;
    std::vector<rtf::Document> docs;
    if (count > 0) docs.push_back(rtf::SubjectDocument(sheet));
    if (count > 1) docs.push_back(rtf::KeyDocument(sheet));
    return docs;
}

bool WriteRtfPair(const OutputData& output, const std::vector<std::string>& names,
                  NamedFiles* files, std::string*) {
    if (output.raw) {
        const auto docs = PairDocuments(output, names.size());
        for (std::size_t k = 0; k < docs.size(); ++k)
            files->emplace_back(names[k], std::string(docs[k]));
        return true;
    }
    const auto docs = PairDocumentModels(output, names.size());
    for (std::size_t k = 0; k < docs.size(); ++k)
        files->emplace_back(names[k], rtf::WriteRtf(docs[k]));
    return true;
}

bool WriteText(const OutputData& output, const std::vector<std::string>& names, NamedFiles* files,
               std::string*) {
    const auto docs = PairDocumentModels(output, 1);
    files->emplace_back(names.at(0), rtf::PlainTextUtf8(docs[0], "\r\n"));
    return true;
}

std::string XmlEscaped(std::string_view text) {
    std::string out;
    for (std::size_t pos = 0; pos < text.size();) {
        const char32_t c = rtf::NextCodePoint(text, pos);
        // What XML 1.0 cannot hold (control characters, U+FFFE, U+FFFF, halves of
        // surrogate pairs) is dropped: a reader refuses the whole file for one of them.
        const bool allowed = c == '\t' || c == '\n' || c == '\r' || (c >= 0x20 && c < 0xD800) ||
                             (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
        if (!allowed) continue;
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                AppendUtf8(out, c);
        }
    }
    return out;
}

}  // namespace equat
