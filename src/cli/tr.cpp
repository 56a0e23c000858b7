// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/tr.h"

#include <array>
#include <clocale>
#include <cstdlib>
#include <utility>

#ifdef EQUAT_HAVE_QT
#include <QString>
#include <QTranslator>
#endif

namespace equat {

namespace {

#ifdef EQUAT_HAVE_QT
// The messages' locale as POSIX chooses it: the first of LC_ALL, LC_MESSAGES, LANG set.
bool FrenchLocale() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) return std::string_view(value).starts_with("fr");
    }
    return false;
}

// Loaded once; null when the locale is not French.
const QTranslator* French() {
    static const QTranslator* const translator = []() -> const QTranslator* {
        if (!FrenchLocale()) return nullptr;
        // The system's own texts (strerror) in French too, where that locale is installed.
        std::setlocale(LC_MESSAGES, "");
        static QTranslator t;
        return t.load(QStringLiteral(":/i18n/equat_tools_fr.qm")) ? &t : nullptr;
    }();
    return translator;
}
#endif

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// The core's fixed phrases, English then French, as the core writes them. The core has no
// translations: the window shows its French, and its file errors are English.
constexpr std::array<std::pair<std::string_view, std::string_view>, 59> kCorePhrases = {{
    {"this format needs a build with the Qt layers",
     "Ce format demande une version construite avec Qt"},
    {"no sheet to export", "Aucune feuille \xC3\xA0 exporter"},
    {"the questions of this sheet are not at hand: generate it again",
     "Les questions de cette feuille ne sont pas disponibles : g\xC3\xA9n\xC3\xA9rez-la \xC3\xA0 "
     "nouveau"},
    {"GIFT takes first-degree equations only",
     "Le format GIFT ne prend que les \xC3\xA9quations du premier degr\xC3\xA9"},
    {"Line ", "Ligne "},
    {" of the list: ", " de la liste : "},
    {"a list has at most ", "une liste a au plus "},
    {" names.", " noms."},
    {"The list holds no name.", "La liste ne contient aucun nom."},
    {"a control character has no place in a name.",
     "un caract\xC3\xA8re de contr\xC3\xB4le n'a pas sa place dans un nom."},
    {"a character cannot be written in the documents (Windows-1252).",
     "un caract\xC3\xA8re ne s'\xC3\xA9"
     "crit pas dans les documents (Windows-1252)."},
    {"a name has at most ", "un nom a au plus "},
    {"a quote is not closed, or is followed by other text than the separator.",
     "des guillemets ne sont pas ferm\xC3\xA9s ou sont suivis d'un autre texte que le "
     "s\xC3\xA9parateur."},
    {"after the name come the level (1 to 3) then \xC2\xAB A \xC2\xBB, or nothing.",
     "apr\xC3\xA8s le nom viennent le niveau (1 \xC3\xA0 3) puis \xC2\xAB A \xC2\xBB, ou rien."},
    {"a name is missing before the separator.", "un nom manque avant le s\xC3\xA9parateur."},
    {" cannot be read: ", " ne peut pas \xC3\xAAtre lu : "},
    {" cannot be read", " ne peut pas \xC3\xAAtre lu"},
    {": it is a folder", " : c'est un dossier"},
    {": not a regular file", " : ce n'est pas un fichier ordinaire"},
    {": the file is larger than ", " : le fichier d\xC3\xA9passe "},
    {" KB", " Ko"},
    {"cannot write ",
     "impossible d'\xC3\xA9"
     "crire "},
    {" twice in one set of files", " deux fois dans un m\xC3\xAAme ensemble de fichiers"},
    {": interrupted", " : interrompu"},
    {": create: ",
     " : cr\xC3\xA9"
     "ation : "},
    {": rename: ", " : renommage : "},
    {": inspect: ", " : examen : "},
    {": keep mode: ", " : conservation des droits : "},
    {": write: ",
     " : \xC3\xA9"
     "criture : "},
    {": sync: ", " : synchronisation : "},
    {": close: ", " : fermeture : "},
    {": read link: ", " : lecture du lien : "},
    {": create folder: ",
     " : cr\xC3\xA9"
     "ation du dossier : "},
    {": too many levels of symbolic links", " : trop de liens symboliques en cha\xC3\xAEne"},
    {": the path is a folder", " : c'est un dossier"},
    {": the file is read-only", " : le fichier est en lecture seule"},
    {": empty file name", " : nom de fichier vide"},
    {": no free temporary name", " : aucun nom temporaire libre"},
    {": the run reads this file", " : la commande lit ce fichier"},
    {"lock folder: ", "verrouillage du dossier : "},
    {"open folder: ", "ouverture du dossier : "},
    {"The code is a typo away: check it character by character.",
     "Ce code contient une faute de frappe : v\xC3\xA9rifiez-le caract\xC3\xA8re par "
     "caract\xC3\xA8re."},
    {"This code was not made by Equat: check the code.",
     "Ce code n'a pas \xC3\xA9t\xC3\xA9 fait par Equat : v\xC3\xA9rifiez le code."},
    {"This code comes from a newer version of Equat: update the program.",
     "Ce code vient d'une version plus r\xC3\xA9"
     "cente d'Equat : mettez le programme \xC3\xA0 jour."},
    {" characters in four groups (or 11, or 14 in three groups, for an older code); this one "
     "has ",
     " caract\xC3\xA8res en quatre groupes (ou 11, ou 14 en trois groupes, s'il est plus "
     "ancien) ; celui-ci en a "},
    {" characters; this one has ", " caract\xC3\xA8res ; celui-ci en a "},
    {"A code has ", "Un code a "},
    {"The character \xC2\xAB ", "Le caract\xC3\xA8re \xC2\xAB "},
    {" \xC2\xBB cannot be in a code (no 0, 1, O, I or S)",
     " \xC2\xBB ne peut pas figurer dans un code (ni 0, ni 1, ni O, ni I, ni S)"},
    {": check the code.", " : v\xC3\xA9rifiez le code."},
    {" characters.", " caract\xC3\xA8res."},
    {"These drawing choices were not made by Equat.",
     "Ces choix de tirage ne sont pas ceux d'Equat."},
    {"A mixed sheet needs at least two kinds of equations.",
     "Une feuille m\xC3\xAAl\xC3\xA9"
     "e demande au moins deux types d'\xC3\xA9quations."},
    {"The sheet's kind must be one of the mix.",
     "Le type de la feuille doit faire partie du m\xC3\xA9lange."},
    {"A mixed sheet of ",
     "Une feuille m\xC3\xAAl\xC3\xA9"
     "e de "},
    {" kinds needs at least ", " types demande au moins "},
    {"For each of the ", "Pour que chacun des "},
    {" picked cases to appear at least once, at least ",
     " cas choisis paraisse au moins une fois, il faut au moins "},
    {" questions are needed; the sheet has ", " questions ; la feuille en a "},
}};

}  // namespace

bool ToolsInFrench() {
#ifdef EQUAT_HAVE_QT
    return French() != nullptr;
#else
    return false;
#endif
}

std::string Tr(const char* source, std::initializer_list<std::string_view> args) {
    std::string text = source;
#ifdef EQUAT_HAVE_QT
    if (const QTranslator* fr = French()) {
        const QString t = fr->translate("equat", source);
        if (!t.isEmpty()) text = t.toStdString();
    }
#endif
    // One pass, so that a %1 inside an argument stays as typed.
    std::string out;
    for (std::size_t k = 0; k < text.size(); ++k) {
        std::size_t n = 0, end = k + 1;
        while (end < text.size() && text[end] >= '0' && text[end] <= '9')
            n = n * 10 + static_cast<std::size_t>(text[end++] - '0');
        if (text[k] == '%' && n >= 1 && n <= args.size()) {
            out += *(args.begin() + (n - 1));
            k = end - 1;
        } else {
            out += text[k];
        }
    }
    text = std::move(out);
    return text;
}

std::string CoreText(std::string text) {
    const bool fr = ToolsInFrench();
    for (const auto& [en, frText] : kCorePhrases)
        ReplaceAll(text, fr ? en : frText, fr ? frText : en);
    return text;
}

}  // namespace equat
