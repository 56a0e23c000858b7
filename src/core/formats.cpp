// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/formats.h"

namespace equat {

std::vector<const ClassCopy*> OutputData::InKeyOrder() const {
    std::vector<const ClassCopy*> ordered;
    if (keyOrder.empty()) {
        for (const auto& copy : copies) ordered.push_back(&copy);
    } else {
        for (std::size_t k : keyOrder)
            if (k < copies.size()) ordered.push_back(&copies[k]);
    }
    return ordered;
}

std::string BesideName(std::string_view stem, std::string_view suffix, std::string_view extension) {
    std::string name(stem);
    name += suffix;
    name += extension;
    return name;
}

std::vector<std::string> FormatFiles(const FormatInfo& format, std::string_view stem) {
    std::vector<std::string> files{BesideName(stem, format.suffix, format.extension)};
    if (format.pair) files.push_back(BesideName(stem, kAnswerKeySuffix, format.extension));
    return files;
}

}  // namespace equat
