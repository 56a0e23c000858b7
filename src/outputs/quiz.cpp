// SPDX-License-Identifier: GPL-3.0-or-later
#include "outputs/quiz.h"

#include <algorithm>

#include "core/cp1252.h"
#include "core/drawchoices.h"
#include "core/kinds.h"
#include "core/sheetcode.h"
#include "outputs/documents.h"
#include "rtf/writer.h"

namespace equat {

namespace {

// A run's text in HTML: tabs as spaces, line breaks as <br>.
std::string RunHtml(const rtf::Run& run) {
    std::string text;
    for (std::size_t pos = 0; pos < run.text.size();) {
        const std::size_t at = pos;
        const char32_t c = rtf::NextCodePoint(run.text, pos);
        if (c == '\t') {
            text += "\xC2\xA0\xC2\xA0\xC2\xA0";
        } else if (c == 0x2028) {
            text += "<br>";
        } else {
            text += XmlEscaped(std::string_view(run.text).substr(at, pos - at));
        }
    }
    const rtf::CharFormat& f = run.format;
    if (f.valign == rtf::VAlign::Super) text = "<sup>" + text + "</sup>";
    if (f.valign == rtf::VAlign::Sub) text = "<sub>" + text + "</sub>";
    if (f.italic) text = "<i>" + text + "</i>";
    if (f.bold) text = "<b>" + text + "</b>";
    return text;
}

// A fragment of the documents as HTML paragraphs, empty paragraphs left out. The reader
// turns the Symbol font's signs into real Unicode.
std::string FragmentHtml(std::string_view fragment) {
    const rtf::Document doc = FragmentDocument(fragment);
    std::string html;
    for (const auto& p : doc.paragraphs) {
        std::string line;
        for (const auto& run : p.runs) line += RunHtml(run);
        if (line.find_first_not_of(" ") != std::string::npos) html += "<p>" + line + "</p>\n";
    }
    return html;
}

std::string KindTitle(std::string_view kind) {
    const int k = KindIndex(kind);
    return k < 0 ? std::string(kind) : Cp1252ToUtf8(kSheetKinds[k].title);
}

// What names a copy: its code, or the base name of a sheet made without one.
std::string CopyLabel(const ClassCopy& copy) {
    return Cp1252ToUtf8(copy.codeText.empty() ? copy.sheet.baseName : copy.codeText);
}

// A mixed or progressive copy is filed as such: its code's kind and level are its first.
std::string Category(const ClassCopy& copy) {
    const DrawChoices draw =
        DrawChoicesFromFlags(copy.code.flags & kSheetCodeDrawBits).value_or(DrawChoices{});
    return "$course$/top/Equat/" +
           (draw.IsMixed() ? std::string("Mixte") : KindTitle(copy.code.kind)) +
           (draw.progressive ? std::string("/Niveaux 1-3")
                             : "/Niveau " + std::to_string(copy.code.level)) +
           "/" + CopyLabel(copy);
}

std::string QuestionName(const ClassCopy& copy, std::size_t i) {
    return copy.code.kind + " N" + std::to_string(copy.code.level) + " " + CopyLabel(copy) + " q" +
           std::to_string(i + 1);
}

// A numeric answer: the exact value when it is an integer, else rounded to the hundredth
// and accepted within half a hundredth, so that only the right rounding is.
struct Numeric {
    std::string value, tolerance;
    bool rounded = false;
};
Numeric NumericOf(const Surd& x) {
    if (x.IsInteger()) return {RoundedText(x, 0), "0", false};
    return {RoundedText(x, 2), "0.005", true};
}

std::string NumericBlank(const Surd& x) {
    const Numeric n = NumericOf(x);
    return "{1:NUMERICAL:=" + n.value + ":" + n.tolerance + "}";
}

// A choice among texts, the right one marked.
std::string ChoiceBlank(const std::vector<std::string_view>& choices, std::size_t right) {
    std::string blank = "{1:MC:";
    for (std::size_t k = 0; k < choices.size(); ++k) {
        if (k) blank += '~';
        if (k == right) blank += '=';
        blank += choices[k];
    }
    return blank + "}";
}

const std::vector<std::string_view> kOneDegreeChoices = {"une seule solution", "aucune solution",
                                                         "tout nombre r\xC3\xA9\x65l est solution"};
const std::vector<std::string_view> kSystemChoices = {"une seule solution", "aucune solution",
                                                      "une infinit\xC3\xA9 de solutions"};
constexpr std::string_view kRoundedNote = " (valeurs approch\xC3\xA9\x65s au centi\xC3\xA8me)";
constexpr std::string_view kRoundedOne = " (valeur approch\xC3\xA9\x65 au centi\xC3\xA8me)";

std::size_t VerdictChoice(Verdict v) {
    return v == Verdict::NoSolution ? 1 : v == Verdict::Values ? 0 : 2;
}

std::vector<Surd> ExactValues(const QuestionResult& result) {
    std::vector<Surd> values;
    for (const auto& v : result.values)
        if (v.exact) values.push_back(*v.exact);
    return values;
}

// The blanks of a cloze question, after its statement.
std::string ClozeBlanks(std::string_view kind, const QuestionResult& r) {
    const std::vector<Surd> values = ExactValues(r);
    bool rounded = false;
    for (const auto& v : values) rounded |= NumericOf(v).rounded;
    const std::string note =
        rounded ? std::string(values.size() > 1 && kind != "2d" ? kRoundedNote : kRoundedOne) : "";
    if (kind == "2d") {
        std::vector<Surd> roots = values;
        std::sort(roots.begin(), roots.end());
        roots.erase(std::unique(roots.begin(), roots.end()), roots.end());
        std::string html = "<p>\xCE\x94 = " + NumericBlank(Surd(r.discriminant.value_or(0))) +
                           "</p>\n<p>Nombre de solutions r\xC3\xA9\x65lles : " +
                           ChoiceBlank({"aucune", "une", "deux"}, roots.size()) + "</p>\n";
        if (roots.size() == 1) html += "<p>Solution : " + NumericBlank(roots[0]) + note + "</p>\n";
        if (roots.size() == 2)
            html += "<p>Plus petite : " + NumericBlank(roots[0]) +
                    " ; plus grande : " + NumericBlank(roots[1]) + note + "</p>\n";
        return html;
    }
    if (r.verdict != Verdict::Values || values.empty())
        return "<p>L'\xC3\xA9quation a : " +
               ChoiceBlank(kind == "syst" ? kSystemChoices : kOneDegreeChoices,
                           VerdictChoice(r.verdict)) +
               "</p>\n";
    std::string html = "<p>";
    for (std::size_t k = 0; k < values.size(); ++k)
        html += (k ? " ; " : "") + Cp1252ToUtf8(r.values[k].name) + " = " + NumericBlank(values[k]);
    return html + note + "</p>\n";
}

// CDATA that holds any text: "]]>" split across two sections.
std::string Cdata(std::string_view text) {
    std::string out = "<![CDATA[";
    for (std::size_t k = 0; k < text.size(); ++k) {
        if (text.substr(k, 3) == "]]>") {
            out += "]]]]><![CDATA[>";
            k += 2;
        } else {
            out += text[k];
        }
    }
    return out + "]]>";
}

std::string HtmlText(std::string_view tag, std::string_view html) {
    return "    <" + std::string(tag) + " format=\"html\"><text>" + Cdata(html) + "</text></" +
           std::string(tag) + ">\n";
}

bool SingleValue(const QuestionResult& r) {
    return ResultKind(r) == "1d" && r.verdict == Verdict::Values && ExactValues(r).size() == 1;
}

std::string Instruction(std::string_view kind) {
    return kind == "syst" ? "<p>R\xC3\xA9soudre le syst\xC3\xA8me :</p>\n"
                          : "<p>R\xC3\xA9soudre l'\xC3\xA9quation :</p>\n";
}

std::string MoodleQuestion(const ClassCopy& copy, std::size_t i) {
    const QuestionResult& r = copy.sheet.results[i];
    const QuestionBodies& b = copy.sheet.bodies[i];
    const bool numerical = SingleValue(r);
    std::string q =
        "  <question type=\"" + std::string(numerical ? "numerical" : "cloze") + "\">\n";
    q += "    <name><text>" + XmlEscaped(QuestionName(copy, i)) + "</text></name>\n";
    std::string text = Instruction(ResultKind(r)) + FragmentHtml(b.statement);
    if (numerical) {
        const Numeric n = NumericOf(ExactValues(r)[0]);
        text += "<p>x = ?" + std::string(n.rounded ? kRoundedOne : "") + "</p>\n";
        q += HtmlText("questiontext", text);
        q += HtmlText("generalfeedback", FragmentHtml(b.worked));
        q += "    <defaultgrade>1</defaultgrade>\n    <penalty>0.3333333</penalty>\n"
             "    <hidden>0</hidden>\n";
        q += "    <answer fraction=\"100\" format=\"moodle_auto_format\"><text>" + n.value +
             "</text><feedback format=\"html\"><text></text></feedback><tolerance>" + n.tolerance +
             "</tolerance></answer>\n";
    } else {
        q += HtmlText("questiontext", text + ClozeBlanks(ResultKind(r), r));
        q += HtmlText("generalfeedback", FragmentHtml(b.worked));
        q += "    <penalty>0.3333333</penalty>\n    <hidden>0</hidden>\n";
    }
    return q + "  </question>\n";
}

bool HasBodies(const OutputData& output, std::string* error) {
    for (const auto& copy : output.copies)
        if (copy.sheet.bodies.size() != copy.sheet.results.size()) {
            *error =
                "Les questions de cette feuille ne sont pas disponibles : "
                "g\xC3\xA9n\xC3\xA9rez-la \xC3\xA0 nouveau";
            return false;
        }
    return true;
}

// GIFT's special signs escaped.
std::string GiftEscaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (std::string_view("~=#{}:\\").find(c) != std::string_view::npos) out += '\\';
        out += c == '\n' ? ' ' : c;
    }
    return out;
}

std::string GiftQuestion(const ClassCopy& copy, std::size_t i) {
    const QuestionResult& r = copy.sheet.results[i];
    const QuestionBodies& b = copy.sheet.bodies[i];
    std::string q = "::" + GiftEscaped(QuestionName(copy, i)) + "::[html]" +
                    GiftEscaped(Instruction("1d") + FragmentHtml(b.statement));
    std::string answer;
    if (SingleValue(r)) {
        const Numeric n = NumericOf(ExactValues(r)[0]);
        if (n.rounded) q += GiftEscaped("<p>x = ?" + std::string(kRoundedOne) + "</p>");
        answer = "#" + n.value + ":" + n.tolerance;
    } else {
        for (std::size_t k = 0; k < kOneDegreeChoices.size(); ++k)
            answer += std::string(k == VerdictChoice(r.verdict) ? "=" : "~") +
                      GiftEscaped(kOneDegreeChoices[k]) + " ";
    }
    return q + "{" + answer + "####" + GiftEscaped(FragmentHtml(b.worked)) + "}\n\n";
}

}  // namespace

bool WriteMoodle(const OutputData& output, const std::vector<std::string>& names, NamedFiles* files,
                 std::string* error) {
    if (!HasBodies(output, error)) return false;
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quiz>\n";
    for (const ClassCopy* copy : output.InKeyOrder()) {
        xml += "  <question type=\"category\">\n    <category><text>" +
               XmlEscaped(Category(*copy)) +
               "</text></category>\n    <info format=\"html\"><text></text></info>\n"
               "  </question>\n";
        for (std::size_t i = 0; i < copy->sheet.results.size(); ++i)
            xml += MoodleQuestion(*copy, i);
    }
    files->emplace_back(names.at(0), xml + "</quiz>\n");
    return true;
}

bool WriteGift(const OutputData& output, const std::vector<std::string>& names, NamedFiles* files,
               std::string* error) {
    if (!HasBodies(output, error)) return false;
    std::string gift;
    for (const ClassCopy* copy : output.InKeyOrder()) {
        const auto& results = copy->sheet.results;
        if (std::any_of(results.begin(), results.end(),
                        [](const QuestionResult& r) { return ResultKind(r) != "1d"; })) {
            *error = "Le format GIFT ne prend que les \xC3\xA9quations du premier degr\xC3\xA9";
            return false;
        }
        gift += "$CATEGORY: " + Category(*copy) + "\n\n";
        for (std::size_t i = 0; i < copy->sheet.results.size(); ++i) gift += GiftQuestion(*copy, i);
    }
    files->emplace_back(names.at(0), gift);
    return true;
}

}  // namespace equat
