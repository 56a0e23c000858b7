// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/formats.h"

#include <iterator>

namespace equat {

const FormatInfo* FindFormat(std::string_view name) {
    for (const auto& f : kFormats)
        if (f.name == name) return &f;
    return nullptr;
}

const FormatInfo& Format(std::string_view name) {
    const FormatInfo* f = FindFormat(name);
    return f ? *f : kFormats[0];
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
