// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/tablehelp.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

#include "cli/sheetoptions.h"
#include "core/kinds.h"
#include "outputs/formats.h"

using namespace equat;

namespace {

std::string ReadPage(const std::string& page) {
    std::ifstream in(std::string(EQUAT_MAN_DIR) + "/" + page);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The name as a word of its own: not inside another name or word.
bool Lists(const std::string& text, const std::string& name) {
    const std::string_view before = " {,\n\"", after = " ,}|\n(\"";
    for (auto at = text.find(name); at != std::string::npos; at = text.find(name, at + 1)) {
        const std::size_t end = at + name.size();
        if (at > 0 && before.find(text[at - 1]) != std::string_view::npos && end < text.size() &&
            after.find(text[end]) != std::string_view::npos)
            return true;
    }
    return false;
}

}  // namespace

// Every kind, key style, adapted font and format equat-rtf writes is listed by the tools' help and
// by the manual pages the build makes from the tables, in both languages.
TEST(TableHelp, EveryRowIsListedInTheHelpAndTheManualPages) {
    std::vector<std::string> sheet, rtf;
    for (const auto& k : kSheetKinds) sheet.emplace_back(k.name);
    for (const auto& s : kKeyStyles) sheet.emplace_back(s.name);
    for (const auto& f : kAdaptedFonts) sheet.emplace_back(f.name);
    for (const auto& f : Formats())
        if (f.fromRtf) rtf.emplace_back(f.name);
    const std::pair<std::string, const std::vector<std::string>*> texts[] = {
        {SheetUsage(), &sheet},
        {RtfUsage(), &rtf},
        {ReadPage("equat-sheet.1"), &sheet},
        {ReadPage("fr/equat-sheet.1"), &sheet},
        {ReadPage("equat-rtf.1"), &rtf},
        {ReadPage("fr/equat-rtf.1"), &rtf},
    };
    for (const auto& [text, names] : texts) {
        ASSERT_FALSE(text.empty()) << "a manual page is missing from " << EQUAT_MAN_DIR;
        for (const auto& name : *names) EXPECT_TRUE(Lists(text, name)) << name << " in\n" << text;
    }
}

// A list wrapped into the help keeps every word in order, and no line goes past the help's
// width (86 characters, an accented letter one).
TEST(TableHelp, WrappedListsKeepTheirWordsWithinTheWidth) {
    std::mt19937 rng(1);
    const auto word = [&](unsigned length) {
        std::string w;
        while (length-- > 0) w += rng() % 3 == 0 ? "\xC3\xA9" : "h";
        return w;
    };
    const std::string indent = "\n" + std::string(22, ' ');
    for (int seed = 0; seed < 300; ++seed) {
        std::vector<ListedChoice> choices(1 + rng() % 8);
        for (auto& c : choices) {
            c.name = word(1 + rng() % 12);
            for (unsigned w = rng() % 6; w > 0; --w)
                c.help += (c.help.empty() ? "" : " ") + word(1 + rng() % 9);
        }
        const std::string list = Listed(choices, seed % 2 == 1);
        const std::string text =
            FillLists("  --opt X             lead: %1; tail\nnext %2\n", {list, "x"});
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);) {
            std::size_t columns = 0;
            for (char c : line) columns += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
            EXPECT_LE(columns, 86u) << line;
        }
        std::string joined = text;
        for (auto at = joined.find(indent); at != std::string::npos; at = joined.find(indent))
            joined.replace(at, indent.size(), " ");
        EXPECT_EQ(joined, "  --opt X             lead: " + list + "; tail\nnext x\n");
    }
}
