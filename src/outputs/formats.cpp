// SPDX-License-Identifier: GPL-3.0-or-later
#include "outputs/formats.h"

#include <iterator>

#include "outputs/documents.h"
#include "outputs/odt.h"
#include "outputs/quiz.h"
#ifdef EQUAT_HAVE_LAYOUT
#include "outputs/laidout.h"
#endif

namespace equat {

namespace {

#ifndef EQUAT_HAVE_LAYOUT
constexpr FormatWriter WritePdf = nullptr;
constexpr FormatWriter WriteGrid = nullptr;
#endif

// Page images are written by the page as they are drawn (RtfToPng), not made in memory.
constexpr FormatWriter WritePng = nullptr;

// clang-format off
constexpr FormatInfo kFormats[] = {
    //  name      ext      suffix             pair   laidOut fromRtf bodies  writer
    {"rtf",    ".rtf",  "",                true,  false,  true,   false,  &WriteRtfPair},
    {"txt",    ".txt",  "",                false, false,  true,   false,  &WriteText},
    {"pdf",    ".pdf",  "",                true,  true,   true,   false,  WritePdf},
    {"png",    ".png",  "",                false, true,   true,   false,  WritePng},
    {"grid",   ".pdf",  kAnswerGridSuffix, false, true,   false,  false,  WriteGrid},
    {"moodle", ".xml",  "",                false, false,  false,  true,   &WriteMoodle},
    {"gift",   ".txt",  "",                false, false,  false,  true,   &WriteGift},
    {"odt",    ".odt",  "",                true,  false,  true,   false,  &WriteOdtPair},
};
// clang-format on

}  // namespace

std::span<const FormatInfo> Formats() {
    return kFormats;
}

const FormatInfo* FindFormat(std::string_view name) {
    for (const auto& f : kFormats)
        if (f.name == name) return &f;
    return nullptr;
}

const FormatInfo& Format(std::string_view name) {
    const FormatInfo* f = FindFormat(name);
    return f ? *f : kFormats[0];
}

bool MakeFormat(const FormatInfo& format, const OutputData& output,
                const std::vector<std::string>& names, NamedFiles* files, std::string* error) {
    if (!format.write) {
        *error = "Ce format demande une version construite avec Qt";
        return false;
    }
    if (output.copies.empty()) {
        *error = "Aucune feuille \xC3\xA0 exporter";
        return false;
    }
    return format.write(output, names, files, error);
}

}  // namespace equat
