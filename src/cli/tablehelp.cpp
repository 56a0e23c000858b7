// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/tablehelp.h"

#include <cstdio>

#include "core/cp1252.h"
#include "core/kinds.h"
#include "outputs/formats.h"

namespace equat {

namespace {

// The help's lines stay within this many characters; a wrapped line goes on under the
// options' descriptions.
constexpr std::size_t kHelpWidth = 86;
constexpr std::size_t kHelpIndent = 22;

std::size_t Columns(std::string_view utf8) {
    std::size_t n = 0;
    for (char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

// The line cut at spaces after its first `keep` bytes, each cut going on at the indent.
std::string Wrapped(std::string_view line, std::size_t keep, std::size_t indent = kHelpIndent) {
    std::string out(line.substr(0, keep));
    std::size_t column = Columns(out);
    std::size_t at = keep;
    while (at < line.size()) {
        const std::size_t space = line.find(' ', at + 1);
        const std::string_view word =
            line.substr(at, space == std::string_view::npos ? line.npos : space - at);
        if (column + Columns(word) > kHelpWidth && column > indent && word.starts_with(' ')) {
            out += '\n' + std::string(indent, ' ');
            out += word.substr(1);
            column = indent + Columns(word) - 1;
        } else {
            out += word;
            column += Columns(word);
        }
        at += word.size();
    }
    return out;
}

// Roff text: every sign beyond ASCII by its code point, whatever the reader's encoding; a
// backslash as itself, and a line that would start as a request made plain text.
std::string Roff(std::string_view utf8) {
    std::string out = utf8.starts_with('.') || utf8.starts_with('\'') ? "\\&" : "";
    for (char32_t c : DecodeUtf8(utf8).value_or(std::u32string())) {
        if (c == '\\') {
            out += "\\e";
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            char code[16];
            std::snprintf(code, sizeof code, "\\[u%04X]", static_cast<unsigned>(c));
            out += code;
        }
    }
    return out;
}

std::string Quoted(const std::string& name) {
    return name.find(' ') == std::string::npos ? Roff(name) : '"' + Roff(name) + '"';
}

// Inline roff: ".B a" then "(x)," ..., "or" before the last, `end` after it.
std::string RoffListed(const std::vector<ListedChoice>& choices, bool french,
                       std::string_view end) {
    std::string out;
    for (std::size_t k = 0; k < choices.size(); ++k) {
        const std::string after = k + 1 == choices.size()   ? std::string(end)
                                  : k + 2 == choices.size() ? (french ? " ou" : " or")
                                                            : ",";
        const ListedChoice& c = choices[k];
        if (c.help.empty()) {
            out += ".BR " + Quoted(c.name) + " \"" + after + "\"\n";
        } else {
            out += ".B " + Quoted(c.name) + "\n(" + Roff(c.help) + ")" + after + "\n";
        }
    }
    return out;
}

// A roff list of tagged paragraphs, one per choice.
std::string RoffItems(const std::vector<ListedChoice>& choices, bool french) {
    std::string out;
    for (std::size_t k = 0; k < choices.size(); ++k)
        out += ".TP\n.B " + Quoted(choices[k].name) + "\n" + Roff(choices[k].help) +
               (k + 1 == choices.size() ? ".\n"
                : french                ? "\\ ;\n"
                                        : ";\n");
    return out;
}

// The window's own words for the rows: kinds by their buttons, left to right, and the key
// styles by their items in its list.
std::vector<ListedChoice> WindowKinds(bool french) {
    std::vector<ListedChoice> out;
    for (const KindInfo* k : KindsInWindowOrder())
        out.push_back({Cp1252ToUtf8(k->caption), HelpText(k->help, french)});
    return out;
}

std::vector<ListedChoice> WindowKeyStyles(bool french) {
    std::vector<ListedChoice> out;
    for (const auto& s : kKeyStyles)
        out.push_back({Cp1252ToUtf8(s.label), HelpText(s.help, french)});
    return out;
}

std::vector<ListedChoice> NamesOnly(std::vector<ListedChoice> choices) {
    for (auto& c : choices) c.help.clear();
    return choices;
}

std::string CMakeSet(std::string_view name, std::string value) {
    while (!value.empty() && value.back() == '\n') value.pop_back();
    return "set(" + std::string(name) + " [==[" + value + "]==])\n";
}

}  // namespace

std::string HelpText(const ToolHelp& help, bool french) {
    return french ? Cp1252ToUtf8(help.fr) : std::string(help.en);
}

std::vector<ListedChoice> KindChoices(bool french) {
    std::vector<ListedChoice> out;
    for (const auto& k : kSheetKinds)
        out.push_back({std::string(k.name), HelpText(k.help, french)});
    return out;
}

std::vector<ListedChoice> KeyStyleChoices(bool french) {
    std::vector<ListedChoice> out;
    for (const auto& s : kKeyStyles) out.push_back({std::string(s.name), HelpText(s.help, french)});
    return out;
}

std::vector<ListedChoice> CaseChoices() {
    std::vector<ListedChoice> out;
    for (const auto& k : kSheetKinds) {
        std::string words;
        for (const auto& c : k.cases) words += (words.empty() ? "" : ",") + std::string(c.word);
        out.push_back({words, std::string(k.name)});
    }
    return out;
}

std::vector<ListedChoice> RtfFormatChoices(bool french, bool laidOutOnly) {
    std::vector<ListedChoice> out;
    for (const auto& f : Formats())
        if (f.fromRtf && (f.laidOut || !laidOutOnly))
            out.push_back({std::string(f.name), laidOutOnly ? "" : HelpText(f.help, french)});
    return out;
}

namespace {

std::string DefaultMark(bool isDefault, bool french) {
    return isDefault ? (french ? "par d\xC3\xA9"
                                 "faut"
                               : "default")
                     : "";
}

}  // namespace

std::vector<ListedChoice> FontChoices(bool french, bool marked) {
    std::vector<ListedChoice> out;
    for (const auto& f : kAdaptedFonts)
        out.push_back(
            {std::string(f.name), DefaultMark(marked && f.font == AdaptedLayout{}.font, french)});
    return out;
}

std::vector<ListedChoice> SizeChoices(bool french, bool marked) {
    std::vector<ListedChoice> out;
    for (int size : kAdaptedSizes)
        out.push_back(
            {std::to_string(size), DefaultMark(marked && size == AdaptedLayout{}.size, french)});
    return out;
}

std::string Names(const std::vector<ListedChoice>& choices, std::string_view separator) {
    std::string out;
    for (const auto& c : choices) out += (out.empty() ? "" : std::string(separator)) + c.name;
    return out;
}

std::string Listed(const std::vector<ListedChoice>& choices, bool french) {
    std::string out;
    for (std::size_t k = 0; k < choices.size(); ++k) {
        if (k > 0) out += k + 1 == choices.size() ? (french ? " ou " : " or ") : ", ";
        out += choices[k].name;
        if (!choices[k].help.empty()) out += " (" + choices[k].help + ")";
    }
    return out;
}

std::string FillLists(std::string_view text, const std::vector<std::string>& lists) {
    std::string out;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end == text.npos ? text.size() : end + 1);
        text.remove_prefix(line.size());
        std::string filled;
        std::size_t first = std::string::npos;
        for (std::size_t k = 0; k < line.size(); ++k) {
            const std::size_t n =
                k + 1 < line.size() ? static_cast<std::size_t>(line[k + 1] - '1') : lists.size();
            if (line[k] == '%' && n < lists.size()) {
                if (first == std::string::npos) first = filled.size();
                filled += lists[n];
                ++k;
            } else {
                filled += line[k];
            }
        }
        // An option's description goes on under the descriptions, any other line just in.
        const std::size_t indent = filled.starts_with("  --") ? kHelpIndent : 4;
        out += first == std::string::npos ? filled : Wrapped(filled, first, indent);
    }
    return out;
}

std::string ManPageLists(bool french) {
    const auto kinds = KindChoices(french);
    const auto formats = RtfFormatChoices(french);
    return CMakeSet("KIND_CHOICES", Names(kinds, " | ")) +
           CMakeSet("KINDS", RoffListed(kinds, french, ".")) +
           CMakeSet("WINDOW_KINDS", RoffListed(WindowKinds(french), french, ".")) +
           CMakeSet("KEY_STYLES", RoffListed(KeyStyleChoices(french), french, ".")) +
           CMakeSet("WINDOW_KEY_STYLES", RoffListed(WindowKeyStyles(french), french, ".")) +
           CMakeSet("CASES", RoffListed(CaseChoices(), french, ".")) +
           CMakeSet("FONTS", RoffListed(FontChoices(french, true), french, ".")) +
           CMakeSet("SIZES", RoffListed(SizeChoices(french, true), french, ".")) +
           CMakeSet("FORMAT_CHOICES", Names(formats, " | ")) +
           CMakeSet("FORMATS", RoffItems(formats, french)) +
           CMakeSet("FORMAT_NAMES", RoffListed(NamesOnly(formats), french, ".")) +
           CMakeSet("LAID_OUT_FORMATS", RoffListed(RtfFormatChoices(french, true), french, "."));
}

Text RtfUsage() {
    const bool french = ToolsInFrench();
    std::string lines;
    for (const auto& f : RtfFormatChoices(french))
        lines += Wrapped("  " + f.name + (french ? " : " : ": ") + f.help + "\n", 2, 4);
    return FillLists(Tr("usage: equat-rtf INPUT --to {%1} [--output PATH] [--printer NAME]\n"),
                     {Names(RtfFormatChoices(french), ",")}) +
           lines +
           FillLists(Tr("  %1: on the printable area of the named printer, or of an A4 page "
                        "with 10 mm margins\n"
                        "  PATH defaults to INPUT with the new extension\n"),
                     {Listed(RtfFormatChoices(french, true), french)});
}

}  // namespace equat
