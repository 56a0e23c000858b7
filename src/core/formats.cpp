// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/formats.h"

namespace equat {

std::vector<std::size_t> OutputData::KeyOrder() const {
    std::vector<std::size_t> order;
    if (keyOrder.empty()) {
        for (std::size_t k = 0; k < copies.size(); ++k) order.push_back(k);
    } else {
        for (std::size_t k : keyOrder)
            if (k < copies.size()) order.push_back(k);
    }
    return order;
}

std::vector<const ClassCopy*> OutputData::InKeyOrder() const {
    std::vector<const ClassCopy*> ordered;
    for (std::size_t k : KeyOrder()) ordered.push_back(&copies[k]);
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
