// SPDX-License-Identifier: GPL-3.0-or-later
#include "outputs/latex.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <span>

#include "core/choicesmarkup.h"
#include "core/cp1252.h"
#include "core/graph.h"
#include "core/keymarkup.h"
#include "core/markup.h"
#include "core/numbertext.h"
#include "core/sheet.h"
#include "core/sheetcode.h"
#include "core/titlemarkup.h"
#include "outputs/graphtex.h"
#include "outputs/mathtex.h"
#include "rtf/symbol.h"

namespace equat {

const std::string_view kLatexPackages =
    "\\usepackage[utf8]{inputenc}\n\\usepackage[T1]{fontenc}\n\\usepackage{mathptmx}\n"
    "\\usepackage{textcomp}\n\\usepackage{amsmath,amssymb}\n\\usepackage[french]{babel}\n";

namespace {

struct Named {
    char32_t c;
    std::string_view tex;
};

// Signs TeX reads as commands (or joins into other signs), as text.
constexpr Named kTextSpecials[] = {
    {'\\', "\\textbackslash{}"},
    {'{', "\\{"},
    {'}', "\\}"},
    {'$', "\\$"},
    {'%', "\\%"},
    {'#', "\\#"},
    {'&', "\\&"},
    {'_', "\\_"},
    {'~', "\\textasciitilde{}"},
    {'^', "\\textasciicircum{}"},
    {'<', "\\textless{}"},
    {'>', "\\textgreater{}"},
    {'|', "\\textbar{}"},
    {'-', "-{}"},
    {'`', "\\textasciigrave{}"},
    {'\'', "'{}"},
    {'"', "\\textquotedbl{}"},
    {0xA0, "~"},
    {'\t', "\\quad{}"},
};

// The Symbol font's Greek letters and signs that Latin-1 text has not, in math.
constexpr Named kMathSigns[] = {
    {0x3B1, "\\alpha"},      {0x3B2, "\\beta"},     {0x3B3, "\\gamma"},
    {0x3B4, "\\delta"},      {0x3B5, "\\epsilon"},  {0x3B6, "\\zeta"},
    {0x3B7, "\\eta"},        {0x3B8, "\\theta"},    {0x3B9, "\\iota"},
    {0x3BA, "\\kappa"},      {0x3BB, "\\lambda"},   {0x3BC, "\\mu"},
    {0x3BD, "\\nu"},         {0x3BE, "\\xi"},       {0x3BF, "o"},
    {0x3C0, "\\pi"},         {0x3C1, "\\rho"},      {0x3C2, "\\varsigma"},
    {0x3C3, "\\sigma"},      {0x3C4, "\\tau"},      {0x3C5, "\\upsilon"},
    {0x3C6, "\\varphi"},     {0x3C7, "\\chi"},      {0x3C8, "\\psi"},
    {0x3C9, "\\omega"},      {0x3D1, "\\vartheta"}, {0x3D5, "\\phi"},
    {0x3D6, "\\varpi"},      {0x393, "\\Gamma"},    {0x398, "\\Theta"},
    {0x39B, "\\Lambda"},     {0x39E, "\\Xi"},       {0x3A0, "\\Pi"},
    {0x3A3, "\\Sigma"},      {0x3A5, "\\Upsilon"},  {0x3A6, "\\Phi"},
    {0x3A8, "\\Psi"},        {0x3A9, "\\Omega"},    {0x2022, "\\bullet"},
    {0x2026, "\\ldots"},     {0x221E, "\\infty"},   {0x2192, "\\rightarrow"},
    {0x2190, "\\leftarrow"}, {0x2208, "\\in"},      {0x2200, "\\forall"},
    {0x2203, "\\exists"},    {0x2211, "\\sum"},
};

std::string_view Find(std::span<const Named> table, char32_t c) {
    for (const Named& n : table)
        if (n.c == c) return n.tex;
    return {};
}

// Writes markup as TeX text, sign by sign and tag by tag; a root's digits go under it.
class TexText {
  public:
    void Tag(std::string_view tag);
    void Sign(char32_t c);
    std::string Done() {
        EndScript();
        TableTag("/row");
        EndTable();
        return "{" + out_ + "}";
    }
    bool Symbol() const { return symbol_; }

  private:
    bool TableTag(std::string_view tag);
    void EndTable() {
        if (columns_ > 0 && cell_ < 0) out_ += "\\end{tabular}\\par\\medskip\\noindent{}";
        if (cell_ < 0) columns_ = 0;
    }
    void EndRoot() {
        if (root_) out_ += "}$";
        root_ = false;
    }
    void EndScript() {
        EndRoot();
        if (script_) out_ += "}";
        script_ = false;
    }
    std::string out_;
    bool symbol_ = false, root_ = false, script_ = false;
    // An open tabular's columns (0: none), and the cell being written (-1: between rows).
    int columns_ = 0, cell_ = -1;
};

// A row of the keys' tables: one tabular of ruled cells for the rows that follow one another.
bool TexText::TableTag(std::string_view tag) {
    const std::vector<int> edges = RowEdges(tag);
    const bool row = !edges.empty();
    if (!row && tag != "cell" && tag != "/row") return false;
    EndScript();
    if (row && cell_ >= 0) TableTag("/row");  // a row left open ends where the next starts
    if (row) {
        if (columns_ != static_cast<int>(edges.size())) {
            EndTable();
            columns_ = static_cast<int>(edges.size());
            std::string rules = "|";
            for (std::size_t c = 0; c < edges.size(); ++c) rules += "c|";
            out_ += "\\par\\medskip\\noindent\\begin{tabular}{" + rules + "}\\hline\n";
        }
        cell_ = 0;
    } else if (tag == "cell" && cell_ >= 0) {
        if (++cell_ < columns_) out_ += " & ";
    } else if (tag == "/row" && cell_ >= 0) {
        for (; cell_ < columns_ - 1; ++cell_) out_ += " & ";
        out_ += " \\\\ \\hline\n";
        cell_ = -1;
    }
    return true;
}

void TexText::Tag(std::string_view tag) {
    if (TableTag(tag)) return;
    // Whatever follows a table's last row ends it.
    if (cell_ < 0) EndTable();
    // A font or a size changes between a root sign and its digits: the root goes on.
    if (tag == "symbol" || tag == "arial" || tag == "times" || tag == "courier")
        symbol_ = tag == "symbol";
    const bool acts = tag == "b" || tag == "/b" || tag == "i" || tag == "/i" || tag == "sup" ||
                      tag == "sub" || tag == "/sup" || tag == "/sub" || tag == "br" || tag == "tab";
    if (!acts) return;
    EndRoot();
    if (tag == "b" || tag == "/b" || tag == "i" || tag == "/i") {
        out_ += tag == "b"    ? "\\bfseries{}"
                : tag == "/b" ? "\\mdseries{}"
                : tag == "i"  ? "\\itshape{}"
                              : "\\upshape{}";
    } else if (tag == "sup" || tag == "sub" || tag == "/sup" || tag == "/sub") {
        EndScript();
        if (tag[0] != '/') out_ += tag == "sup" ? "\\textsuperscript{" : "\\textsubscript{";
        script_ = tag[0] != '/';
    } else if (tag == "br") {
        EndScript();
        out_ += cell_ >= 0 ? " " : "\\par\n";
    } else if (tag == "tab") {
        out_ += "\\quad{}";
    }
}

void TexText::Sign(char32_t c) {
    if (cell_ < 0) EndTable();
    if (root_ && ((c >= '0' && c <= '9') || c == 0x394)) {
        out_ += c == 0x394 ? std::string("\\Delta ") : std::string(1, char(c));
        return;
    }
    EndRoot();
    if (c == 0x221A) {
        out_ += "$\\sqrt{";
        root_ = true;
    } else if (const auto text = Find(kTextSpecials, c); !text.empty()) {
        out_ += text;
    } else if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
        // A control character never shows.
    } else if (const auto math = TexSign(c); !math.empty()) {
        out_ += "$" + std::string(math) + "$";
    } else if (const auto sign = Find(kMathSigns, c); !sign.empty()) {
        out_ += "$" + std::string(sign) + "$";
    } else if (UnicodeToCp1252(c)) {
        AppendUtf8(out_, c);
    } else {
        out_ += "?";  // a sign no standard font of TeX has
    }
}

// The byte a backslash escape of the markup stands for ("\{", "\\", "\'3c"), and where the
// text goes on; a control word is skipped (nullopt).
std::optional<unsigned char> Escaped(std::string_view m, std::size_t& k) {
    if (k >= m.size()) return std::nullopt;
    const char c = m[k];
    if (c == '\'' && k + 2 < m.size()) {
        const std::string hex(m.substr(k + 1, 2));
        k += 3;
        return static_cast<unsigned char>(std::strtoul(hex.c_str(), nullptr, 16));
    }
    const auto letter = [&](std::size_t at) {
        return at < m.size() && ((m[at] >= 'a' && m[at] <= 'z') || (m[at] >= 'A' && m[at] <= 'Z'));
    };
    if (!letter(k)) return static_cast<unsigned char>(m[k++]);
    while (letter(k)) ++k;
    while (k < m.size() && (m[k] == '-' || (m[k] >= '0' && m[k] <= '9'))) ++k;
    if (k < m.size() && m[k] == ' ') ++k;
    return std::nullopt;
}

std::string Number(std::int64_t v) {
    return DecimalText(v < 0 ? -v : v);
}

std::string SignedTex(std::int32_t v, bool dropOne) {
    const std::string sign = v > 0 ? "+" : "-";
    return sign + (dropOne && (v == 1 || v == -1) ? "" : Number(v));
}

std::string AtomTex(const Atom& a) {
    switch (a.kind) {
        case Atom::Kind::Number:
            return DecimalText(a.value);
        case Atom::Kind::LeadCoef:
            return a.value == 1 ? "" : a.value == -1 ? "-" : DecimalText(a.value);
        case Atom::Kind::SignedCoef:
            return SignedTex(a.value, true);
        case Atom::Kind::SignedTerm:
            return a.value == 0 ? "-0" : SignedTex(a.value, false);
        case Atom::Kind::RoomTerm:
            return a.value == 0 ? "\\phantom{{}+00}" : SignedTex(a.value, false);
        case Atom::Kind::Unknown: {
            const std::string_view var = a.var == Var::X2 ? "x^{2}" : a.var == Var::Y ? "y" : "x";
            return (a.look == VarLook::Negated ? "-" : "") + std::string(var);
        }
        case Atom::Kind::Open:
            return "(";
        case Atom::Kind::Close:
            return ")";
        case Atom::Kind::Space:
            return a.value >= 4 ? "\\quad " : "";
        case Atom::Kind::Over:
            return "/";
        case Atom::Kind::Squared:
            return "^{2}";
    }
    return "";
}

std::string SideTex(const WrittenSide& side) {
    std::string tex;
    for (const Atom& a : side) tex += AtomTex(a);
    return tex.empty() ? "0" : tex;
}

}  // namespace

std::string MarkupTex(std::string_view m) {
    TexText tex;
    for (std::size_t k = 0; k < m.size() && m[k] != '\0';) {
        const char c = m[k++];
        if (c == '<') {
            const std::size_t close = m.find('>', k);
            if (close == std::string_view::npos) break;
            tex.Tag(AsciiLower(m.substr(k, close - k)));
            k = close + 1;
            continue;
        }
        std::optional<unsigned char> byte = static_cast<unsigned char>(c);
        if (c == '\\') byte = Escaped(m, k);
        if (!byte) continue;
        tex.Sign(tex.Symbol() ? rtf::SymbolToUnicode(*byte) : Cp1252ToUnicode(*byte));
    }
    return tex.Done();
}

std::string StatementTex(const Statement& statement) {
    std::string tex;
    for (const WrittenEquation& e : statement.lines) {
        if (!tex.empty()) tex += " \\\\ ";
        tex += SideTex(e.left) + " = " + SideTex(e.right);
    }
    return statement.lines.size() > 1 ? "\\begin{cases} " + tex + " \\end{cases}" : tex;
}

std::string NameTex(std::string_view name) {
    const std::size_t digits = name.find_first_of("0123456789");
    if (digits == std::string_view::npos) return std::string(name);
    return std::string(name.substr(0, digits)) + "_{" + std::string(name.substr(digits)) + "}";
}

bool HasModels(const OutputData& output, std::string* error) {
    for (const auto& copy : output.copies)
        if (!copy.sheet.model) {
            *error =
                "Les questions de cette feuille ne sont pas disponibles : "
                "g\xC3\xA9n\xC3\xA9rez-la \xC3\xA0 nouveau";
            return false;
        }
    return true;
}

namespace {

// A copy's first lines: the base name, the title (with a pupil's name) and the code, then
// the instruction in bold, as the RTF documents write them.
std::string CopyHeader(const SheetModel& model, bool key) {
    const SheetFrame& f = model.frame;
    const std::string own = TeacherMarkup(f.title);
    const std::string title = "<u>" + (f.name.empty() ? own : TitleWithName(own, f.name)) + "</u>" +
                              (f.code.empty() ? "" : "   Code : " + f.code);
    const std::string first =
        TextAsMarkup(model.baseName) + " - " + (key ? "<b>Corrig\xE9</b> - " : "") + title;
    return "{\\large " + MarkupTex(first) + "}\\par\\medskip\n\\textbf{" +
           MarkupTex(TeacherMarkup(f.instruction)) + "}\\par\\medskip\n";
}

// What the key says after a question: its worked steps, then each value exactly and in
// decimals; a decimal comma where the copy has one.
std::string KeyTex(const QuestionModel& q, bool comma) {
    std::string markup;
    if (q.steps) markup = WorkedStepsMarkup(*q.steps);
    if (q.result.verdict != Verdict::Values || !q.steps) markup += StripResultText(q.result);
    std::string values;
    for (const ResultValue& v : q.result.values)
        if (v.exact)
            values += (values.empty() ? "$" : "\\qquad $") + NameTex(v.name) +
                      "$ = " + MarkupTex(ExactKeyMarkup(*v.exact));
    if (comma) UseDecimalComma(markup);
    if (comma) UseDecimalComma(values);
    return MarkupTex(markup) + (values.empty() ? "" : "\\par\n" + values) + "\\par\n";
}

// A multiple-choice question's choices, exact as a screen shows them, and in the key the right
// letter and each wrong one's mistake; nothing for another question.
std::string ChoicesTex(const QuestionModel& q, bool key, bool comma) {
    if (q.choices.empty()) return {};
    std::string markup = ChoicesMarkup(q, KeyStyle::Exact);
    if (key) markup += "<br>" + ChoicesKeyMarkup(q);
    if (comma) UseDecimalComma(markup);
    return MarkupTex(markup) + "\\par\n";
}

std::string CopyTex(const ClassCopy& copy, bool key) {
    const SheetModel& model = *copy.sheet.model;
    const bool comma = (copy.code.flags & kSheetCodeDecimalComma) != 0;
    std::string tex = CopyHeader(model, key);
    int n = 0;
    for (const QuestionModel& q : model.questions) {
        if (model.frame.separatorOn)
            tex += "\\noindent" + MarkupTex(TeacherMarkup(model.frame.separator)) + "\\par\n";
        tex +=
            "\\textbf{" + DecimalText(++n) + ")}\\quad $" + StatementTex(q.statement) + "$\\par\n";
        tex += ChoicesTex(q, key, comma);
        if (key) tex += KeyTex(q, comma);
        if (key && (copy.code.flags & kSheetCodeGraphBit))
            if (const auto graph = QuestionGraph(q, comma))
                tex += "\\begin{center}\n" + GraphTikz(*graph) + "\\end{center}\n";
        if (!key && model.frame.interline > 0)
            tex += "\\vspace*{" + DecimalText(model.frame.interline) + "\\baselineskip}\n";
    }
    return tex;
}

std::string Document(const std::vector<const ClassCopy*>& copies, bool key) {
    std::string tex = "\\documentclass[a4paper,11pt]{article}\n" + std::string(kLatexPackages) +
                      "\\usepackage[margin=2cm]{geometry}\n\\setlength{\\parindent}{0pt}\n";
    // The graphs are TikZ pictures; its babel library keeps French's active signs out of them.
    const auto graphs = [](const ClassCopy* c) {
        return (c->code.flags & kSheetCodeGraphBit) != 0;
    };
    if (key && std::any_of(copies.begin(), copies.end(), graphs))
        tex += "\\usepackage{tikz}\n\\usetikzlibrary{babel}\n";
    tex += "\\begin{document}\n";
    for (std::size_t k = 0; k < copies.size(); ++k)
        tex += (k ? "\\newpage\n" : "") + CopyTex(*copies[k], key);
    return tex + "\\end{document}\n";
}

}  // namespace

bool WriteLatex(const OutputData& output, const std::vector<std::string>& names, NamedFiles* files,
                std::string* error) {
    if (!HasModels(output, error)) return false;
    std::vector<const ClassCopy*> drawn;
    for (const ClassCopy& copy : output.copies) drawn.push_back(&copy);
    files->emplace_back(names.at(0), Document(drawn, false));
    if (names.size() > 1) files->emplace_back(names[1], Document(output.InKeyOrder(), true));
    return true;
}

}  // namespace equat
