// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A document as the window's rich-text control holds it, for tests that compare the pages
// with the paragraphs a teacher sees.
#include <QTextCursor>
#include <QTextDocument>
#include <memory>
#include <string_view>

#include "platform/paginator.h"
#include "platform/rtfqt.h"
#include "rtf/reader.h"

namespace equat::test {

inline std::unique_ptr<QTextDocument> QtDocument(const rtf::Document& model) {
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(DocumentFont());
    document->setUndoRedoEnabled(false);
    QTextCursor cursor(document.get());
    InsertDocument(cursor, model);
    return document;
}

inline std::unique_ptr<QTextDocument> QtDocument(std::string_view rtf) {
    return QtDocument(rtf::ReadRtf(rtf));
}

}  // namespace equat::test
