// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/savenames.h"

#include "core/cp1252.h"
#include "core/formats.h"

namespace equat {

namespace {

// Position of the extension's ".", or npos.
std::size_t ExtensionDot(std::string_view name) {
    const auto nameStart = name.find_last_of("/\\:");
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos) return dot;
    if (nameStart != std::string_view::npos && dot < nameStart) return std::string_view::npos;
    return dot;
}

}  // namespace

SaveNames SaveNamesFor(std::string_view chosen) {
    const auto dot = ExtensionDot(chosen);
    SaveNames names;
    names.subject = std::string(chosen);
    if (dot == std::string_view::npos) names.subject += ".rtf";
    names.answerKey = BesideName(chosen.substr(0, dot), kAnswerKeySuffix, ".rtf");
    return names;
}

bool IsPlainTextName(std::string_view name) {
    const auto dot = ExtensionDot(name);
    if (dot == std::string_view::npos) return false;
    const auto ext = name.substr(dot);
    return AsciiLower(ext) == ".txt";
}

}  // namespace equat
