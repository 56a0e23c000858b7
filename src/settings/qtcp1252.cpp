// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/qtcp1252.h"

#include <QList>

#include "core/cp1252.h"

namespace equat {

std::string ToCp1252(const QString& text) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (char32_t cp : text.toUcs4()) {
        const auto b = UnicodeToCp1252(cp);
        out += b ? static_cast<char>(*b) : '?';
    }
    return out;
}

QString FromCp1252(std::string_view bytes) {
    return QString::fromStdString(Cp1252ToUtf8(bytes));
}

}  // namespace equat
