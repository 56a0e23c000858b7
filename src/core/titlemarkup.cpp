// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/titlemarkup.h"

#include <algorithm>

#include "core/markup.h"
#include "core/sheet.h"

namespace equat {

namespace {

// The width of a Windows-1252 character in Arial, in thousandths of its size: near enough
// to keep a long name from pushing the code onto a second line.
int ApproxWidth(unsigned char c) {
    static constexpr std::string_view kNarrow = " .,:;'!|()[]{}-/\\ijlftrI";
    if (kNarrow.find(static_cast<char>(c)) != std::string_view::npos) return 300;
    if (c == 'm' || c == 'w' || c == 'M' || c == 'W' || c == '@') return 900;
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE)) return 700;
    return 560;
}

int ApproxWidth(std::string_view text) {
    int w = 0;
    for (char c : text) w += ApproxWidth(static_cast<unsigned char>(c));
    return w;
}

}  // namespace

std::string TitleWithName(std::string_view title, std::string_view name) {
    std::string shown = TextAsMarkup(name);
    const auto at = title.find("Nom :");
    if (at == std::string_view::npos) return shown + "   " + std::string(title);
    std::size_t end = at + 5;
    while (end < title.size() && title[end] == ' ') ++end;
    // A full name holds the first name too: its label would only push the code along.
    constexpr std::string_view kFirst = "Pr\xE9nom :";
    if (name.find(' ') != std::string_view::npos &&
        title.compare(end, kFirst.size(), kFirst) == 0) {
        end += kFirst.size();
        while (end < title.size() && title[end] == ' ') ++end;
    }
    // A long name wider than what it replaces is written smaller, its line kept to one
    // (the line has room for thirty letters more than its title).
    const int room = std::max(ApproxWidth(title.substr(at, end - at)) - 6 * ApproxWidth(' '),
                              30 * ApproxWidth('a'));
    const int wide = ApproxWidth(name);
    if (wide > room) {
        const int size = std::max(kTitleSize * room / wide, kTitleSize / 2);
        shown =
            "<te=" + std::to_string(size) + ">" + shown + "<te=" + std::to_string(kTitleSize) + ">";
    }
    std::string out(title.substr(0, at));
    out += shown;
    out.append(std::max<std::size_t>(end - at, name.size() + 3) - name.size(), ' ');
    out += title.substr(end);
    return out;
}

}  // namespace equat
