// SPDX-License-Identifier: GPL-3.0-or-later
// The LaTeX exports checked by the tools themselves: pdflatex compiles every document, and the
// multiple-choice package's own command prepares its source into a subject, a solution and a
// catalog whose right answers are ours. Skipped where the tools are not installed.
#include "outputs/latex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "../rtf/rtf_test_util.h"
#include "core/choices.h"
#include "core/classset.h"
#include "core/kinds.h"
#include "core/random.h"
#include "outputs/answers.h"
#include "outputs/formats.h"

namespace equat {
namespace {

// The kinds whose answers the banks' rules cover (values of equations; no solution sets yet).
bool IsEquationKind(std::string_view kind) {
    return kind == "1d" || kind == "2d" || kind == "syst";
}

namespace fs = std::filesystem;

bool Installed(const std::string& tool) {
    return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

// A fresh folder of its own under the temporary folder.
fs::path TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "equat-latex-XXXXXX").string();
    EXPECT_NE(::mkdtemp(pattern.data()), nullptr);
    return pattern;
}

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Titles that would break a document written carelessly: TeX's specials, tags of ours and
// not, a backslash at the end, every byte of the code page, the Symbol font's.
std::vector<std::string> HostileTitles() {
    std::string bytes;
    for (int c = 1; c < 256; ++c) bytes += char(c);
    return {"{\\bf } % # & $ _ ^ ~ \\\\ \\end{document} \\{ \\} <b>gras</i><sup>2<u><x> <",
            "<cf=rouge><te=30>\\input{/etc/passwd}\\", bytes, "<symbol>" + bytes + "<sub>x"};
}

// One copy of every kind and level with every case, a mixed sheet, the hostile titles (one a
// copy), then a class set of 30 copies: what the exports must hold.
std::vector<ClassCopy> Copies() {
    std::vector<ClassCopy> copies;
    const auto hostile = HostileTitles();
    std::uint32_t seed = 1;
    const auto add = [&](const std::string& kind, const DrawChoices& draw, int level,
                         int choices = 0) {
        SheetSettings s;
        s.choiceCount = choices;
        s.level = level;
        s.count = 6;
        s.draw = draw;
        s.exports.model = true;
        s.decimalComma = seed % 2 == 0;
        s.title = hostile[seed % hostile.size()];
        s.separator = seed % 3 ? "----*----" : hostile[(seed + 1) % hostile.size()];
        RandomSource rng(seed++);
        copies.push_back({{}, "", "", BuildSheet(*MakeSheetKind(kind, draw), rng, s)});
        copies.back().code.flags = s.decimalComma ? kSheetCodeDecimalComma : 0;
        if (seed % 3 == 0) copies.back().code.flags |= kSheetCodeGraphBit;  // TikZ graphs
    };
    for (const auto& k : kSheetKinds)
        for (int level = 1; level <= 3; ++level)
            if (IsEquationKind(k.name)) add(std::string(k.name), {.everyCase = true}, level);
    add("1d", {.everyCase = true, .mixedKinds = 7, .interleaved = true}, 2);
    add("1d", {.mixedKinds = 7, .interleaved = true}, 3, 4);  // multiple choice
    // The new kinds' shapes on a copy made by hand: every relation, a raised square and a
    // quotient in the statements, a set of every shape in the key.
    add("1d", {}, 2);
    SheetModel model = *copies.back().sheet.model;
    const std::vector<SolutionSet> sets = rtf::test::SampleSets({Rational(3, 2)});
    for (std::size_t i = 0; i < model.questions.size(); ++i) {
        QuestionModel& q = model.questions[i];
        q.kind = "ineq2";
        WrittenEquation& e = q.statement.lines.at(0);
        e.relation = static_cast<Relation>(1 + i % 4);
        e.left.insert(e.left.begin(), AtomOf(Atom::Kind::Open));
        for (const Atom::Kind k : {Atom::Kind::Close, Atom::Kind::Squared, Atom::Kind::Over})
            e.left.push_back(AtomOf(k));
        e.left.push_back(AtomOf(Atom::Kind::Number, 2));
        q.result.set = sets[i % std::size(sets)];
    }
    copies.back().sheet.model = std::make_shared<const SheetModel>(std::move(model));
    ClassSetRequest request;
    request.kind = "1d";
    request.settings.draw = {.everyCase = true, .mixedKinds = 7};
    request.settings.count = 9;
    request.settings.exports.model = true;
    request.copies = 30;
    RandomSource stream(77);
    for (auto& copy : MakeClassSet(request, stream).copies) copies.push_back(std::move(copy));
    return copies;
}

NamedFiles Make(FormatId id, const std::vector<ClassCopy>& copies, const fs::path& stem) {
    NamedFiles files;
    std::string error;
    EXPECT_TRUE(MakeFormat(Format(id), OutputData{copies, {}},
                           FormatFiles(Format(id), stem.string()), &files, &error))
        << error;
    for (const auto& [name, bytes] : files) std::ofstream(name, std::ios::binary) << bytes;
    return files;
}

// The markup's signs and tags as TeX: a root takes its digits across font changes.
TEST(Latex, MarkupSignsAndTagsBecomeTex) {
    const struct {
        const char* markup;
        const char* tex;
    } cases[] = {
        {"<symbol>\xD6<arial><te=18>12 = 2<symbol>\xD6<arial>3", "{$\\sqrt{12}$ = 2$\\sqrt{3}$}"},
        {"(-b + <symbol>\xD6<arial><symbol>D<arial>)", "{(-{}b + $\\sqrt{\\Delta }$)}"},
        {"<b>x</b><sub>1</sub> \\{50%\\}<br>",
         "{\\bfseries{}x\\mdseries{}\\textsubscript{1} \\{50\\%\\}\\par\n}"},
        {"<symbol>\xBB \xC6<arial> \\'3c\xE9", "{$\\approx $ $\\emptyset $ \\textless{}\xC3\xA9}"},
    };
    for (const auto& c : cases) EXPECT_EQ(MarkupTex(c.markup), c.tex) << c.markup;
}

// Unescaped braces balance in any text of ours, whatever it holds.
TEST(Latex, MarkupOfAnyBytesKeepsItsBracesBalanced) {
    for (std::uint32_t seed = 1; seed <= 2000; ++seed) {
        RandomSource rng(seed);
        std::string markup;
        const char* pieces[] = {
            "<b>",       "</i>",   "<sup>", "<sub>", "<symbol>", "<br>", "\\", "{",
            "}",         "%",      "<",     "\\'3c", "\\par ",   "$",    "^",  "<row=400,500>",
            "<row=300>", "<cell>", "</row>"};
        constexpr int kPieces = static_cast<int>(std::size(pieces));
        for (int k = 0; k < 30; ++k)
            markup += rng.RandomInt(3) ? std::string(1, char(1 + rng.RandomInt(255)))
                                       : std::string(pieces[rng.RandomInt(kPieces)]);
        const std::string tex = MarkupTex(markup);
        int depth = 0;
        for (std::size_t k = 0; k < tex.size(); ++k) {
            if (tex[k] == '\\') {
                ++k;
                continue;
            }
            EXPECT_NE(tex[k], '%') << seed;
            depth += tex[k] == '{' ? 1 : tex[k] == '}' ? -1 : 0;
            ASSERT_GE(depth, 0) << seed << " " << tex;
        }
        EXPECT_EQ(depth, 0) << seed << " " << tex;
        std::size_t opened = 0, closed = 0;
        for (auto at = tex.find("\\begin{tabular}"); at != std::string::npos;
             at = tex.find("\\begin{tabular}", at + 1))
            ++opened;
        for (auto at = tex.find("\\end{tabular}"); at != std::string::npos;
             at = tex.find("\\end{tabular}", at + 1))
            ++closed;
        EXPECT_EQ(opened, closed) << seed << " " << tex;
    }
}

// The keys' table rows are one ruled tabular, which pdflatex typesets with its cells in order.
TEST(Latex, TableRowsBecomeOneRuledTabular) {
    std::string markup = "avant";
    for (int r = 0; r < 3; ++r) {
        markup += "<row=1400,900,900,900,900>";
        for (int c = 0; c < 5; ++c)
            markup += "r" + std::to_string(r) + "c" + std::to_string(c) + "<cell>";
        markup += "</row>";
    }
    const std::string tex = MarkupTex(markup + "<br>apr\xE8s");
    EXPECT_EQ(tex.find("\\begin{tabular}"), tex.rfind("\\begin{tabular}")) << tex;
    EXPECT_NE(tex.find("\\begin{tabular}{|c|c|c|c|c|}\\hline\nr0c0 & r0c1 & r0c2 & r0c3 & r0c4 "
                       "\\\\ \\hline\n"),
              std::string::npos)
        << tex;
    if (!Installed("pdflatex") || !Installed("pdftotext"))
        GTEST_SKIP() << "pdflatex or pdftotext is not installed";
    const fs::path dir = TempFolder();
    std::ofstream(dir / "t.tex") << "\\documentclass{article}\\usepackage[T1]{fontenc}"
                                    "\\usepackage[utf8]{inputenc}\\begin{document}"
                                 << tex << "\\end{document}\n";
    const std::string run = "cd '" + dir.string() +
                            "' && timeout 300 pdflatex -interaction=nonstopmode -halt-on-error "
                            "t.tex >/dev/null 2>&1 && pdftotext -layout t.pdf t.txt";
    ASSERT_EQ(std::system(run.c_str()), 0);
    const std::string text = ReadAll(dir / "t.txt");
    EXPECT_EQ(rtf::test::FirstOutOfOrder(text), "") << text;
    fs::remove_all(dir);
}

// Every kind, a mixed sheet, hostile texts, keys with graphs and a 30-copy class set: both
// documents compile.
TEST(Latex, EveryDocumentCompilesWithPdflatex) {
    if (!Installed("pdflatex")) GTEST_SKIP() << "pdflatex is not installed";
    const fs::path dir = TempFolder();
    for (const auto& [name, bytes] : Make(FormatId::Latex, Copies(), dir / "sheets")) {
        const std::string run =
            "cd '" + dir.string() +
            "' && timeout 300 pdflatex -interaction=nonstopmode -halt-on-error '" + name +
            "' >/dev/null 2>&1";
        EXPECT_EQ(std::system(run.c_str()), 0) << name;
        EXPECT_GT(fs::file_size(fs::path(name).replace_extension(".pdf")), 1000u) << name;
    }
    fs::remove_all(dir);
}

// What the package's scoring data says: each question's identifier, its right choices (by
// place) and its numeric value. Lines "id|answer" for the right choices of verdicts, then
// "id|strategy" of numeric questions.
struct Compiled {
    std::vector<int> right;
    std::optional<double> value;
};
std::map<std::string, Compiled> CompiledAnswers(const std::string& dump) {
    std::map<std::string, Compiled> answers;
    const std::regex choice(R"(([^|\n]*-(?:v|c[a-z]))\|(\d+))"),
        numeric(R"(([^|\n]*)\|numval=([^,]*),)");
    std::istringstream lines(dump);
    for (std::string line; std::getline(lines, line);) {
        std::smatch m;
        if (std::regex_match(line, m, choice)) answers[m[1]].right.push_back(std::stoi(m[2]));
        if (std::regex_search(line, m, numeric)) answers[m[1]].value = std::stod(m[2]);
    }
    return answers;
}

// The package's own preparation makes subject, solution and catalog, and every answer it
// compiled is the question's: the verdict's choice, and each value within a rounding.
TEST(Latex, AmcPreparesOurSourceAndItsAnswersAreOurs) {
    if (!Installed("auto-multiple-choice") || !Installed("sqlite3"))
        GTEST_SKIP() << "auto-multiple-choice or sqlite3 is not installed";
    const fs::path dir = TempFolder();
    const std::vector<ClassCopy> copies = Copies();
    Make(FormatId::Amc, copies, dir / "amc");
    fs::create_directory(dir / "data");
    const std::string run =
        "cd '" + dir.string() +
        "' && timeout 600 auto-multiple-choice prepare --mode 's[sc]' --with pdflatex "
        "--epoch 946684800 --n-copies 30 --prefix ./ --data ./data amc.tex "
        ">prepare.log 2>&1";
    ASSERT_EQ(std::system(run.c_str()), 0) << ReadAll(dir / "prepare.log");
    for (const char* pdf : {"sujet.pdf", "corrige.pdf", "catalog.pdf"})
        EXPECT_GT(fs::file_size(dir / pdf), 1000u) << pdf;
    // The scoring data, as the package extracts it before marking.
    const std::string scoring =
        "cd '" + dir.string() +
        "' && timeout 300 auto-multiple-choice prepare --mode b --data ./data amc.tex "
        ">>prepare.log 2>&1 && "
        "sqlite3 data/scoring.sqlite \"select distinct t.title, a.answer from scoring_answer a "
        "join scoring_title t on a.question = t.question where a.correct = 1; select distinct "
        "t.title, q.strategy from scoring_question q join scoring_title t on q.question = "
        "t.question\" >answers.txt";
    ASSERT_EQ(std::system(scoring.c_str()), 0) << ReadAll(dir / "prepare.log");
    const auto answers = CompiledAnswers(ReadAll(dir / "answers.txt"));
    ASSERT_GE(answers.size(), 30u);
    std::size_t checked = 0, sets = 0;
    for (std::size_t k = 0; k < copies.size(); ++k) {
        const auto& questions = copies[k].sheet.model->questions;
        for (std::size_t i = 0; i < questions.size(); ++i) {
            const std::string id = (copies[k].codeText.empty() ? "copie" + std::to_string(k + 1)
                                                               : copies[k].codeText) +
                                   "-q" + std::to_string(i + 1) + "-";
            const QuestionResult& r = questions[i].result;
            const auto get = [&](const std::string& key) {
                const auto at = answers.find(key);
                return at == answers.end() ? Compiled{} : at->second;
            };
            // The shape, then each bound's box and bracket, of a variant the package printed.
            if (r.set && answers.contains(id + "v")) {
                const auto answer = SetAnswerOf(questions[i].kind, *r.set);
                ASSERT_TRUE(answer) << id;
                ++sets;
                EXPECT_EQ(get(id + "v").right, std::vector<int>{int(answer->shape) + 1}) << id;
                const bool bounds = IsInequationKind(questions[i].kind);
                const std::size_t n = answer->values.size();
                for (std::size_t b = 0; b < n; ++b) {
                    const std::string name = bounds   ? std::string(1, char('a' + b))
                                             : n == 1 ? "x"
                                                      : "x" + std::to_string(b + 1);
                    ASSERT_TRUE(get(id + name).value) << id << name;
                    EXPECT_NEAR(*get(id + name).value, answer->values[b].ToDouble(), 0.0051);
                    if (bounds) {
                        EXPECT_EQ(get(id + "c" + name).right,
                                  std::vector<int>{int(answer->brackets[b]) + 1})
                            << id << name;
                    }
                    ++checked;
                }
            }
            if (r.set) continue;
            std::vector<double> exact;  // a system's x then y; the second degree's roots, sorted
            for (const auto& v : r.values)
                if (v.exact) exact.push_back(v.exact->ToDouble());
            if (r.discriminant) {
                std::sort(exact.begin(), exact.end());
                exact.erase(std::unique(exact.begin(), exact.end()), exact.end());
            }
            if (const auto v = answers.find(id + "v"); v != answers.end()) {
                const int right = !questions[i].choices.empty()
                                      ? int(RightChoiceIndex(questions[i].choices)) + 1
                                  : r.discriminant                   ? int(exact.size()) + 1
                                  : r.verdict == Verdict::Values     ? 1
                                  : r.verdict == Verdict::NoSolution ? 2
                                                                     : 3;
                EXPECT_EQ(v->second.right, std::vector<int>{right}) << id;
                ++checked;
            }
            // The boxes' rule: the values of the one solution, else zeros; the smaller and the
            // larger root.
            const struct {
                const char* name;
                std::size_t at;
            } boxes[] = {{"x", 0}, {"y", 1}, {"x1", 0}, {"x2", exact.size() - 1}};
            for (const auto& b : boxes) {
                const auto box = answers.find(id + b.name);
                if (box == answers.end()) continue;
                ASSERT_TRUE(box->second.value) << id << b.name;
                const bool one = r.verdict == Verdict::Values && !exact.empty();
                EXPECT_NEAR(*box->second.value, one ? exact[b.at] : 0, 0.0051) << id << b.name;
                ++checked;
            }
        }
    }
    EXPECT_GE(checked, 90u);
    EXPECT_GT(sets, 0u);
    fs::remove_all(dir);
}

}  // namespace
}  // namespace equat
