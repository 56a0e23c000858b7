// SPDX-License-Identifier: GPL-3.0-or-later
#include "outputs/quiz.h"

#include <algorithm>

#include "core/choices.h"
#include "core/cp1252.h"
#include "core/drawchoices.h"
#include "core/kinds.h"
#include "core/sheetcode.h"
#include "outputs/answers.h"
#include "outputs/documents.h"
#include "outputs/mathtex.h"
#include "rtf/sheetdocument.h"

namespace equat {

namespace {

std::string KindTitle(std::string_view kind) {
    const int k = KindIndex(kind);
    return k < 0 ? std::string(kind) : Cp1252ToUtf8(kSheetKinds[k].title);
}

// What names a copy: its code, or the base name of a sheet made without one.
std::string CopyLabel(const ClassCopy& copy) {
    return Cp1252ToUtf8(copy.codeText.empty() ? copy.sheet.baseName : copy.codeText);
}

// The text with every `sign` doubled: how the platform reads it as itself.
std::string Doubled(std::string_view text, char sign) {
    std::string out;
    for (char c : text) out += c == sign ? std::string(2, c) : std::string(1, c);
    return out;
}

// A mixed or progressive copy is filed as such: its code's kind and level are its first.
// A roster's copy is filed under its code and its pupil's name.
std::string Category(const ClassCopy& copy) {
    const DrawChoices draw =
        DrawChoicesFromFlags(copy.code.flags & kSheetCodeDrawBits).value_or(DrawChoices{});
    const std::string label =
        CopyLabel(copy) + (copy.name.empty() ? "" : " " + Cp1252ToUtf8(copy.name));
    return "$course$/top/Equat/" +
           (draw.IsMixed() ? std::string("Mixte") : KindTitle(copy.code.kind)) +
           (draw.progressive ? std::string("/Niveaux 1-3")
                             : "/Niveau " + std::to_string(copy.code.level)) +
           "/" + Doubled(label, '/');  // a slash in a name opens no category
}

// Question i of a copy as drawn: its kind and level (a mixed or progressive sheet's own), what
// it asks and its worked steps.
const QuestionModel& ModelOf(const ClassCopy& copy, std::size_t i) {
    return copy.sheet.model->questions[i];
}

std::string QuestionName(const ClassCopy& copy, std::size_t i) {
    const QuestionModel& q = ModelOf(copy, i);
    return std::string(q.kind) + " N" + std::to_string(q.level) + " " + CopyLabel(copy) + " q" +
           std::to_string(i + 1);
}

// A question's statement and worked solution as HTML, made from its model.
struct BodiesHtml {
    std::string statement, worked;
};
BodiesHtml BodiesHtmlOf(const ClassCopy& copy, std::size_t i) {
    const rtf::QuestionDocuments d =
        rtf::QuestionBodyDocuments(ModelOf(copy, i), copy.sheet.bodies[i].decimalComma);
    return {DocumentTexHtml(d.statement), DocumentTexHtml(d.worked)};
}

// A numeric answer: the exact value when it is an integer, else rounded to the hundredth
// and accepted within half a hundredth, so that only the right rounding is.
struct Numeric {
    std::string value, tolerance;
};
Numeric NumericOf(const Surd& x) {
    if (x.IsInteger()) return {RoundedText(x, 0), "0"};
    return {RoundedText(x, 2), "0.005"};
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

// How to type a number: a platform in English reads "-1,35" as -135, one in French takes the
// comma; the sheet's own separator is the one asked.
std::string DecimalRule(bool comma) {
    return "<p>Valeurs non enti\xC3\xA8res arrondies au centi\xC3\xA8me, \xC3\xA9\x63rites avec " +
           std::string(comma ? "une virgule (par exemple -1,35)" : "un point (par exemple -1.35)") +
           ".</p>\n";
}

// The blanks of a set kind's question: its shape, then each value (with its bracket for an
// inequation's bound), the same for every question of the kind.
std::string SetBlanks(std::string_view kind, const SetAnswer& answer) {
    const bool bounds = IsInequationKind(kind);
    std::string html = bounds ? "<p>Ensemble des solutions : " : "<p>Nombre de solutions : ";
    html += ChoiceBlank(SetShapeChoices(kind), answer.shape) + "</p>\n<p>";
    const std::size_t n = answer.values.size();
    for (std::size_t k = 0; k < n; ++k) {
        const std::string name = bounds   ? std::string(1, char('a' + k))
                                 : n == 1 ? std::string("x")
                                 : k == 0 ? "plus petite"
                                          : "plus grande";
        html += (k ? " ; " : "") + name + (bounds ? " = " : " : ") + NumericBlank(answer.values[k]);
        if (bounds)
            html += ", crochet \xC3\xA9\x63rit \xC3\xA0 c\xC3\xB4t\xC3\xA9 de " + name + " : " +
                    ChoiceBlank(kBracketChoices, answer.brackets[k]);
    }
    return html + "</p>\n<p>" + std::string(SetBlankRule(kind)) + "</p>\n";
}

// The blanks of a cloze question, after its statement, and the rules they follow.
std::string ClozeBlanks(std::string_view kind, const QuestionResult& r, bool comma) {
    if (r.set) return SetBlanks(kind, *SetAnswerOf(kind, *r.set)) + DecimalRule(comma);
    const std::vector<Surd> v = BlankValues(kind, r);
    std::string html;
    if (kind == "2d") {
        html = "<p>\xCE\x94 = " + NumericBlank(Surd(r.discriminant.value_or(0))) +
               "</p>\n<p>Nombre de solutions r\xC3\xA9\x65lles : " +
               ChoiceBlank({"aucune", "une", "deux"}, Roots(r).size()) +
               "</p>\n<p>Plus petite : " + NumericBlank(v[0]) +
               " ; plus grande : " + NumericBlank(v[1]) +
               "</p>\n<p>Une seule solution : l'\xC3\xA9\x63rire dans les deux cases ; aucune : "
               "\xC3\xA9\x63rire 0 dans les deux cases.</p>\n";
    } else if (kind == "syst") {
        html = "<p>Le syst\xC3\xA8me a : " + ChoiceBlank(kSystemChoices, VerdictChoice(r.verdict)) +
               "</p>\n<p>x = " + NumericBlank(v[0]) + " ; y = " + NumericBlank(v[1]) +
               "</p>\n<p>S'il n'a pas une seule solution : \xC3\xA9\x63rire 0 pour x et pour "
               "y.</p>\n";
    } else {
        html =
            "<p>L'\xC3\xA9quation a : " + ChoiceBlank(kOneDegreeChoices, VerdictChoice(r.verdict)) +
            "</p>\n<p>x = " + NumericBlank(v[0]) +
            "</p>\n<p>Si elle n'a pas une seule solution : \xC3\xA9\x63rire 0 pour x.</p>\n";
    }
    return html + DecimalRule(comma);
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

// A first-degree question with one solution (GIFT asks only first-degree ones).
bool SingleValue(const QuestionResult& r) {
    return r.verdict == Verdict::Values && ExactValuesOf(r).size() == 1;
}

// A set kind's question whose set is one number: the one GIFT can ask of such a kind.
bool SingleSetValue(const QuestionResult& r) {
    return r.set && r.set->shape == SolutionSet::Shape::Values && r.set->values.size() == 1;
}

std::string Instruction(std::string_view kind) {
    if (kind == "syst") return "<p>R\xC3\xA9soudre le syst\xC3\xA8me :</p>\n";
    if (kind != "1d" && kind != "2d" && IsInequationKind(kind))
        return "<p>R\xC3\xA9soudre l'in\xC3\xA9quation :</p>\n";
    return "<p>R\xC3\xA9soudre l'\xC3\xA9quation :</p>\n";
}

// The graph of a solution as an image inside the feedback, its PNG in the page itself.
std::string GraphHtml(const PngPicture& graph) {
    if (graph.png.empty()) return {};
    static constexpr char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string base64;
    const std::string& b = graph.png;
    for (std::size_t k = 0; k < b.size(); k += 3) {
        std::uint32_t v = static_cast<unsigned char>(b[k]) << 16;
        if (k + 1 < b.size()) v |= static_cast<unsigned char>(b[k + 1]) << 8;
        if (k + 2 < b.size()) v |= static_cast<unsigned char>(b[k + 2]);
        for (std::size_t d = 0; d < 4; ++d)
            base64 += k + d <= b.size() ? kDigits[(v >> (18 - 6 * d)) & 63] : '=';
    }
    // Shown at the size it has in the key (CSS pixels, 96 an inch).
    return "<p><img src=\"data:image/png;base64," + base64 + "\" width=\"" +
           std::to_string(graph.width / 15) + "\" height=\"" + std::to_string(graph.height / 15) +
           "\" alt=\"Graphe de la solution\"/></p>\n";
}

// A choice's text in UTF-8, exact: a screen shows the root sign, and no rounding to explain.
std::string ChoiceHtml(const Choice& choice, std::string_view kind) {
    const std::string text = Cp1252ToUtf8(ChoiceText(choice.value, kind, true, "\x1F"));
    std::string html;
    for (char c : text) html += c == '\x1F' ? std::string("\xE2\x88\x9A") : std::string(1, c);
    return html;
}

// A multiple-choice question: one answer, shuffled by the platform, each wrong one's feedback
// naming the mistake it stands for.
std::string MultichoiceQuestion(const ClassCopy& copy, std::size_t i, const BodiesHtml& html) {
    const QuestionModel& m = ModelOf(copy, i);
    std::string q = "  <question type=\"multichoice\">\n";
    q += "    <name><text>" + XmlEscaped(QuestionName(copy, i)) + "</text></name>\n";
    q += HtmlText("questiontext", Instruction(m.kind) + html.statement);
    q += HtmlText("generalfeedback", html.worked + GraphHtml(copy.sheet.bodies[i].graph));
    q += "    <penalty>0.3333333</penalty>\n    <hidden>0</hidden>\n    <single>true</single>\n"
         "    <shuffleanswers>1</shuffleanswers>\n    <answernumbering>ABCD</answernumbering>\n";
    for (const Choice& c : m.choices) {
        const bool right = c.mistake.empty();
        q += std::string("    <answer fraction=\"") + (right ? "100" : "0") +
             "\" format=\"html\">\n      <text>" + Cdata(ChoiceHtml(c, m.kind)) + "</text>\n  ";
        q += HtmlText("feedback",
                      right ? std::string("Exact.") : "Erreur : " + Cp1252ToUtf8(c.mistake) + ".");
        q += "    </answer>\n";
    }
    return q + "  </question>\n";
}

std::string MoodleQuestion(const ClassCopy& copy, std::size_t i) {
    const QuestionResult& r = copy.sheet.results[i];
    const QuestionBodies& b = copy.sheet.bodies[i];
    const QuestionModel& m = ModelOf(copy, i);
    const std::string_view kind = m.kind;
    const BodiesHtml html = BodiesHtmlOf(copy, i);
    if (!m.choices.empty()) return MultichoiceQuestion(copy, i, html);
    // A set no blanks can say is marked by the teacher, never graded wrong by the platform.
    const bool graded = !r.set || SetAnswerOf(kind, *r.set);
    std::string q = graded ? "  <question type=\"cloze\">\n" : "  <question type=\"essay\">\n";
    q += "    <name><text>" + XmlEscaped(QuestionName(copy, i)) + "</text></name>\n";
    q += HtmlText("questiontext", Instruction(kind) + html.statement +
                                      (graded ? ClozeBlanks(kind, r, b.decimalComma) : ""));
    q += HtmlText("generalfeedback", html.worked + GraphHtml(b.graph));
    q += "    <penalty>0.3333333</penalty>\n    <hidden>0</hidden>\n";
    return q + "  </question>\n";
}

// Each question as drawn, and what its sheet adds for the banks.
bool HasBodies(const OutputData& output, std::string* error) {
    for (const auto& copy : output.copies)
        if (!copy.sheet.model || copy.sheet.model->questions.size() != copy.sheet.results.size() ||
            copy.sheet.bodies.size() != copy.sheet.results.size()) {
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
    const BodiesHtml html = BodiesHtmlOf(copy, i);
    std::string q = "::" + GiftEscaped(QuestionName(copy, i)) + "::[html]" +
                    GiftEscaped(Instruction(ModelOf(copy, i).kind) + html.statement);
    std::string answer;
    if (SingleValue(r) || SingleSetValue(r)) {
        const Numeric n = NumericOf(SingleSetValue(r) ? r.set->values[0] : ExactValuesOf(r)[0]);
        q += GiftEscaped("<p>x = ?</p>" + DecimalRule(b.decimalComma));
        answer = "#" + n.value + ":" + n.tolerance;
    } else {
        for (std::size_t k = 0; k < kOneDegreeChoices.size(); ++k)
            answer += std::string(k == VerdictChoice(r.verdict) ? "=" : "~") +
                      GiftEscaped(kOneDegreeChoices[k]) + " ";
    }
    return q + "{" + answer + "####" + GiftEscaped(html.worked) + "}\n\n";
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
    std::size_t asked = 0, left = 0;
    for (const ClassCopy* copy : output.InKeyOrder()) {
        const auto& questions = copy->sheet.model->questions;
        const auto& results = copy->sheet.results;
        for (std::size_t i = 0; i < questions.size(); ++i)
            if (questions[i].kind != "1d" && !results[i].set) {
                *error = "Le format GIFT ne prend que les \xC3\xA9quations du premier degr\xC3\xA9";
                return false;
            }
        // The category line is read as it is, but for its backslashes.
        gift += "$CATEGORY: " + Doubled(Category(*copy), '\\') + "\n\n";
        // A set kind's question asks one number, or is left out: GIFT has one blank.
        for (std::size_t i = 0; i < results.size(); ++i) {
            const bool asks = questions[i].kind == "1d" || SingleSetValue(results[i]);
            if (asks) gift += GiftQuestion(*copy, i);
            (asks ? asked : left) += 1;
        }
    }
    if (asked == 0 && left > 0) {
        *error =
            "Aucune question de cette feuille n'a une seule solution : le format GIFT ne "
            "peut pas l'\xC3\xA9\x63rire";
        return false;
    }
    files->emplace_back(names.at(0), gift);
    return true;
}

}  // namespace equat
