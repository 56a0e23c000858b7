// SPDX-License-Identifier: GPL-3.0-or-later
// Interoperability with LibreOffice: it must read the generators' RTF and ours as we do,
// and what it writes back must read as what we gave it. soffice starts slowly, so every
// file goes through two batched conversions made once for the whole suite.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

#include "core/cp1252.h"
#include "core/keymarkup.h"
#include "core/markup.h"
#include "rtf/reader.h"
#include "rtf/symbol.h"
#include "rtf/writer.h"
#include "rtf_test_util.h"

namespace equat::rtf {
namespace {

namespace fs = std::filesystem;

std::string FindSoffice() {
    const char* path = std::getenv("PATH");
    std::stringstream dirs(path ? path : "");
    std::string dir;
    while (std::getline(dirs, dir, ':'))
        for (const char* name : {"soffice", "libreoffice"}) {
            const fs::path p = fs::path(dir) / name;
            if (fs::exists(p)) return p.string();
        }
    return {};
}

void WriteFile(const fs::path& p, const std::string& data) {
    std::ofstream(p, std::ios::binary) << data;
}

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The signs a row of sheets must show somewhere: one row per answer-key style, each
// covering every kind and level.
struct StyleRow {
    KeyStyle style;
    const char* suffix;
    std::u32string_view signs;
};
constexpr StyleRow kStyleRows[] = {
    {KeyStyle::Decimal, "", U"\u0394\u23A7\u23A8\u23A9"},
    // The exact keys add the root and the approximation sign:
    {KeyStyle::Exact, "_exact", U"\u221A\u2248"},
};

bool IsPrivateUse(char32_t c) {
    return c >= 0xE000 && c <= 0xF8FF;
}

// LibreOffice's text differs from ours only in spelling: a byte-order mark, U+2006 marks
// before the spaces of a run of spaces, Symbol-font characters as U+F0xx (in the
// generators' RTF only), and how many line ends close the text.
std::u32string Normalise(const std::string& utf8, bool privateIsSymbol = false) {
    std::u32string out;
    std::size_t pos = utf8.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    while (pos < utf8.size()) {
        char32_t c = NextCodePoint(utf8, pos);
        if (c == 0x2006 || c == U'\r') continue;
        if (privateIsSymbol && c >= 0xF020 && c <= 0xF0FF)
            c = SymbolToUnicode(static_cast<unsigned char>(c - 0xF000));
        out += c;
    }
    while (!out.empty() && (out.back() == U'\n' || out.back() == U' ')) out.pop_back();
    return out;
}

std::string Show(const std::u32string& s) {
    std::string out;
    for (char32_t c : s) AppendUtf8(out, c);
    return out;
}

// The formats a round trip must keep, character by character.
std::vector<std::string> StyledText(const Document& d) {
    std::vector<std::string> out;
    for (std::size_t k = 0; k < d.paragraphs.size(); ++k) {
        if (k > 0) out.push_back("\n");
        for (const Run& r : d.paragraphs[k].runs) {
            const CharFormat& f = r.format;
            std::ostringstream fmt;
            fmt << f.size << ' ' << f.bold << f.italic << f.underline << static_cast<int>(f.valign);
            if (f.colour)
                fmt << " c" << int(f.colour->r) << ',' << int(f.colour->g) << ','
                    << int(f.colour->b);
            if (f.highlight)
                fmt << " h" << int(f.highlight->r) << ',' << int(f.highlight->g) << ','
                    << int(f.highlight->b);
            std::size_t pos = 0;
            while (pos < r.text.size()) {
                const char32_t c = NextCodePoint(r.text, pos);
                if (c == 0x2006) continue;
                std::string ch;
                AppendUtf8(ch, c);
                out.push_back(ch + " " + fmt.str());
            }
        }
    }
    while (!out.empty() && out.back() == "\n") out.pop_back();
    return out;
}

// A key's worked lines around a sign table of a quotient: a root value, a forbidden one, every
// sign.
std::string SignTableKey() {
    const Side num = {{Rational(2), Unknown::X}, {Rational(-1), Unknown::One}};
    const Side den = {{Rational(1), Unknown::X}, {Rational(3), Unknown::One}};
    SignTable t;
    t.values = {Surd(-3), Surd(Rational(1, 2)), Surd(0, 1, 5, 1)};
    using enum Sign;
    t.rows = {{{num}, 1, {Minus, Blank, Minus, Zero, Plus, Blank, Plus}},
              {{den}, 1, {Minus, Zero, Plus, Blank, Plus, Blank, Plus}},
              {{num, den}, 1, {Plus, Forbidden, Minus, Zero, Plus, Blank, Plus}}};
    Step table;
    table.kind = Step::Kind::Table;
    table.label = "Tableau de signes :";
    table.table = t;
    Step note;
    note.kind = Step::Kind::Note;
    note.label = "Donc :";
    return std::string(kRtfHeader) + MarkupToRtf(WorkedStepsMarkup({table, note})) + "}";
}

// Each paragraph in a table's cell: its row, its column and its text.
std::vector<std::string> Cells(const Document& d) {
    std::vector<std::string> out;
    for (const Paragraph& p : d.paragraphs) {
        if (!p.cell) continue;
        std::string text;
        for (const Run& r : p.runs) text += r.text;
        out.push_back(std::to_string(p.cell->table) + "," + std::to_string(p.cell->row) + "," +
                      std::to_string(p.cell->column) + " " + text);
    }
    return out;
}

class Interop : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        soffice_ = FindSoffice();
        if (soffice_.empty()) return;
        char tmpl[] = "/tmp/equat-interop-XXXXXX";
        if (!mkdtemp(tmpl)) return;
        dir_ = tmpl;
        for (const StyleRow& row : kStyleRows)
            for (auto& g : test::GeneratedDocuments(40, 4242, row.style, row.suffix))
                docs_.push_back(std::move(g));
        WriteFile(dir_ / "tbl_signs.rtf", SignTableKey());
        for (const auto& g : docs_) {
            WriteFile(dir_ / ("gen_" + g.name + ".rtf"), g.rtf);
            WriteFile(dir_ / ("our_" + g.name + ".rtf"), WriteRtf(ReadRtf(g.rtf)));
        }
        const std::string base = "cd '" + dir_.string() + "' && timeout 300 '" + soffice_ +
                                 "' --headless --norestore -env:UserInstallation=file://" +
                                 (dir_ / "profile").string();
        const std::string toText =
            base +
            " --convert-to 'txt:Text (encoded):UTF8' --outdir txt gen_*.rtf our_*.rtf tbl_*.rtf";
        const std::string toRtf = base + " --convert-to rtf --outdir lo our_*.rtf tbl_*.rtf";
        converted_ = std::system((toText + " >log 2>&1").c_str()) == 0 &&
                     std::system((toRtf + " >>log 2>&1").c_str()) == 0;
    }

    static void TearDownTestSuite() {
        std::error_code ec;
        if (!dir_.empty() && converted_) fs::remove_all(dir_, ec);
    }

    void SetUp() override {
        if (soffice_.empty()) {
            std::cerr << "*** soffice not found: LibreOffice interoperability NOT tested ***\n";
            GTEST_SKIP() << "soffice not found";
        }
        ASSERT_TRUE(converted_) << "soffice failed; see " << (dir_ / "log").string();
    }

    static inline std::string soffice_;
    static inline fs::path dir_;
    static inline bool converted_ = false;
    static inline std::vector<test::Generated> docs_;
};

TEST_F(Interop, LibreOfficeReadsTheGeneratorsTextAsWeDo) {
    for (const auto& g : docs_) {
        const std::string lo = ReadFile(dir_ / "txt" / ("gen_" + g.name + ".txt"));
        ASSERT_FALSE(lo.empty()) << g.name;
        EXPECT_EQ(Show(Normalise(lo, true)), Show(Normalise(PlainTextUtf8(ReadRtf(g.rtf)))))
            << g.name;
    }
}

// Our saved files carry real characters: LibreOffice's text of them is ours, with every
// sign and without a private-use code point (which no font on a Linux desktop draws).
TEST_F(Interop, LibreOfficeReadsOurRtfWithTheRealSigns) {
    for (const StyleRow& row : kStyleRows) {
        std::u32string seen;
        for (const auto& g : docs_) {
            if (g.style != row.style) continue;
            const std::string lo = ReadFile(dir_ / "txt" / ("our_" + g.name + ".txt"));
            ASSERT_FALSE(lo.empty()) << g.name;
            const std::u32string text = Normalise(lo);
            EXPECT_EQ(std::find_if(text.begin(), text.end(), IsPrivateUse), text.end()) << g.name;
            EXPECT_EQ(Show(text), Show(Normalise(PlainTextUtf8(ReadRtf(g.rtf))))) << g.name;
            seen += text;
        }
        for (char32_t sign : row.signs)
            EXPECT_NE(seen.find(sign), std::u32string::npos)
                << Show(std::u32string(1, sign)) << " missing" << row.suffix;
    }
}

TEST_F(Interop, RoundTripThroughLibreOfficeKeepsTextAndFormats) {
    for (const auto& g : docs_) {
        const std::string lo = ReadFile(dir_ / "lo" / ("our_" + g.name + ".rtf"));
        ASSERT_TRUE(LooksLikeRtf(lo)) << g.name;
        const auto ours = StyledText(ReadRtf(g.rtf));
        const auto back = StyledText(ReadRtf(lo));
        ASSERT_EQ(back.size(), ours.size()) << g.name;
        for (std::size_t k = 0; k < ours.size(); ++k)
            ASSERT_EQ(back[k], ours[k]) << g.name << " at character " << k;
        if (g.name.find("_Cor") != std::string::npos) {  // the checks saw highlighted solutions
            const auto highlighted = std::count_if(back.begin(), back.end(), [](const auto& c) {
                return c.find(" h255,255,0") != std::string::npos;
            });
            EXPECT_GT(highlighted, 10) << g.name;
        }
    }
}

// LibreOffice reads a sign table as a table: its text gives every cell, in order, on a line
// of its own, and the RTF it writes back reads as the same cells.
TEST_F(Interop, SignTablesAreTablesForLibreOffice) {
    const Document ours = ReadRtf(SignTableKey());
    const auto cells = Cells(ours);
    ASSERT_EQ(cells.size(), 4u * 10u);
    std::string lines;
    for (const Paragraph& p : ours.paragraphs) {
        for (const rtf::Run& r : p.runs) lines += r.text;
        lines += '\n';
    }
    const std::string lo = ReadFile(dir_ / "txt" / "tbl_signs.txt");
    EXPECT_EQ(Show(Normalise(lo, true)), Show(Normalise(lines)));
    EXPECT_EQ(Cells(ReadRtf(ReadFile(dir_ / "lo" / "tbl_signs.rtf"))), cells);
}

}  // namespace
}  // namespace equat::rtf
