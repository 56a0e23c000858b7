// SPDX-License-Identifier: GPL-3.0-or-later
#include "outputs/formats.h"

#include <iterator>

#include "outputs/amc.h"
#include "outputs/documents.h"
#include "outputs/latex.h"
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

// "Exporter..." lists its formats in this order.
// clang-format off
constexpr FormatInfo kFormats[] = {
    //                  name      ext     suffix             pair   laidOut fromRtf
    {FormatId::Rtf,    "rtf",    ".rtf", "",                true,  false,  true,  "", &WriteRtfPair,
     {"read with our RTF reader, written back with our writer",
      "lu par notre lecteur RTF, r\xE9\xE9"
      "crit par notre r\xE9"
      "dacteur"}},
    {FormatId::Txt,    "txt",    ".txt", "",                false, false,  true,  "", &WriteText,
     {"the plain text, UTF-8, CR LF line ends",
      "le texte brut, en UTF-8, fins de ligne CR LF"}},
    {FormatId::Pdf,    "pdf",    ".pdf", "",                true,  true,   true,
     "PDF, sujet et corrig\xC3\xA9 (*.pdf)", WritePdf,
     {"laid out as printing lays it out",
      "mis en page comme \xE0 l'impression"}},
    {FormatId::Png,    "png",    ".png", "",                false, true,   true,  "", WritePng,
     {"laid out the same way, one image per page, \"-1\", \"-2\", ... before the output's "
      "extension",
      "mis en page de m\xEAme, une image par page, \xAB -1 \xBB, \xAB -2 \xBB, ... avant "
      "l'extension de la sortie"}},
    {FormatId::Grid,   "grid",   ".pdf", kAnswerGridSuffix, false, true,   false, "", WriteGrid},
    {FormatId::Moodle, "moodle", ".xml", "",                false, false,  false,
     "Banque de questions Moodle XML (*.xml)", &WriteMoodle},
    {FormatId::Gift,   "gift",   ".txt", "",                false, false,  false,
     "Questions GIFT, premier degr\xC3\xA9 (*.txt)", &WriteGift},
    {FormatId::Odt,    "odt",    ".odt", "",                true,  false,  true,
     "Texte OpenDocument, sujet et corrig\xC3\xA9 (*.odt)", &WriteOdtPair,
     {"OpenDocument text, every sign as real Unicode",
      "texte OpenDocument, chaque signe en vrai Unicode"}},
    {FormatId::Latex,  "latex",  ".tex", "",                true,  false,  false,
     "LaTeX, sujet et corrig\xC3\xA9 (*.tex)", &WriteLatex,
     {"LaTeX subject and key, for pdflatex", "sujet et corrig\xE9 LaTeX, pour pdflatex"}},
    {FormatId::Amc,    "amc",    ".tex", "",                false, false,  false, "", &WriteAmc,
     {"a class set as a multiple-choice marking source",
      "une s\xE9rie en source pour la correction automatique de QCM"}},
};
// clang-format on
constexpr bool InIdOrder() {
    for (std::size_t k = 0; k < std::size(kFormats); ++k)
        if (kFormats[k].id != static_cast<FormatId>(k)) return false;
    return std::size(kFormats) == static_cast<std::size_t>(FormatId::Amc) + 1;
}
static_assert(InIdOrder(), "one row per FormatId, in its order");

}  // namespace

std::span<const FormatInfo> Formats() {
    return kFormats;
}

const FormatInfo& Format(FormatId id) {
    return kFormats[static_cast<std::size_t>(id)];
}

const FormatInfo* FindFormat(std::string_view name) {
    for (const auto& f : kFormats)
        if (f.name == name) return &f;
    return nullptr;
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
