// SPDX-License-Identifier: GPL-3.0-or-later
// Every answer of the banks, read back with the syntax the platform documents, equals the
// exact result of its question.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "../rtf/rtf_test_util.h"
#include "core/choices.h"
#include "core/cp1252.h"
#include "core/drawchoices.h"
#include "core/kinds.h"
#include "core/markup.h"
#include "core/random.h"
#include "outputs/answers.h"
#include "outputs/formats.h"
#include "outputs/mathtex.h"
#include "rtf/reader.h"

namespace equat {
namespace {

// The kinds whose answers the banks' rules cover (values of equations; no solution sets yet).
bool IsEquationKind(std::string_view kind) {
    return kind == "1d" || kind == "2d" || kind == "syst";
}

// The kind a result's shape tells, known without the bank: the second degree writes its
// discriminant, a system two unknowns.
std::string_view ResultKind(const QuestionResult& result) {
    return result.discriminant ? "2d" : result.values.size() == 2 ? "syst" : "1d";
}

// "-1.67" as the rational -167/100.
Rational Decimal(const std::string& text) {
    const auto dot = text.find('.');
    const std::string digits =
        dot == std::string::npos ? text : text.substr(0, dot) + text.substr(dot + 1);
    std::int64_t den = 1;
    if (dot != std::string::npos)
        for (std::size_t k = dot + 1; k < text.size(); ++k) den *= 10;
    return Rational(std::stoll(digits), den);
}

// A numeric answer stands for x: the exact value with no tolerance for an integer, else
// the hundredths within half a hundredth, which only the right rounding fits.
void ExpectNumeric(const std::string& value, const std::string& tolerance, const Surd& x,
                   const std::string& where) {
    ASSERT_TRUE(std::regex_match(value, std::regex("-?[0-9]+(\\.[0-9]+)?"))) << where << value;
    const Rational v = Decimal(value), t = Decimal(tolerance);
    if (x.IsInteger()) {
        EXPECT_EQ(Surd(v), x) << where;
        EXPECT_EQ(t, Rational(0)) << where;
        return;
    }
    EXPECT_EQ(t, Rational(1, 200)) << where;
    EXPECT_TRUE(HasAtMostDecimals(Surd(v), 2)) << where;
    const Surd gap = x - Surd(v);
    EXPECT_TRUE(gap <= Surd(t) && gap >= Surd(-t)) << where << " " << ExactText(x);
}

struct Blank {
    std::string type, body;
};

std::vector<Blank> Blanks(const std::string& text) {
    std::vector<Blank> blanks;
    const std::regex blank("\\{1:(NUMERICAL|MC):([^}]*)\\}");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), blank);
         it != std::sregex_iterator(); ++it)
        blanks.push_back({(*it)[1], (*it)[2]});
    return blanks;
}

// The text of the choice marked right.
std::string RightChoice(const std::string& body) {
    std::string right;
    std::size_t start = 0;
    for (;;) {
        const auto end = body.find('~', start);
        const std::string choice = body.substr(start, end - start);
        if (!choice.empty() && choice[0] == '=') right = choice.substr(1);
        if (end == std::string::npos) return right;
        start = end + 1;
    }
}

void ExpectNumericBlank(const Blank& b, const Surd& x, const std::string& where) {
    ASSERT_EQ(b.type, "NUMERICAL") << where;
    ASSERT_EQ(b.body[0], '=') << where;
    const auto colon = b.body.find(':');
    ExpectNumeric(b.body.substr(1, colon - 1), b.body.substr(colon + 1), x, where);
}

std::vector<Surd> Exact(const QuestionResult& r) {
    std::vector<Surd> values;
    for (const auto& v : r.values)
        if (v.exact) values.push_back(*v.exact);
    return values;
}

// How the right choice of a verdict starts.
std::string VerdictWord(Verdict v) {
    return v == Verdict::NoSolution ? "aucune" : v == Verdict::EveryReal ? "tout" : "une infinit";
}

// The values the blanks must take under the rule each question states, from the exact
// results: the one solution's values, else zeros; the second degree's roots in increasing
// order, a double root twice, none as two zeros.
std::vector<Surd> RuleValues(const std::string& kind, const QuestionResult& r) {
    std::vector<Surd> v = Exact(r);
    if (kind == "2d") {
        std::sort(v.begin(), v.end());
        if (v.empty()) return {Surd(0), Surd(0)};
        return {v.front(), v.back()};
    }
    const std::size_t n = kind == "syst" ? 2 : 1;
    if (r.verdict != Verdict::Values || v.size() != n) v.assign(n, Surd(0));
    return v;
}

// The case a question is of, as the teacher counts them.
int CaseKey(const QuestionResult& r) {
    std::vector<Surd> v = Exact(r);
    std::sort(v.begin(), v.end());
    if (r.discriminant) v.erase(std::unique(v.begin(), v.end()), v.end());
    return r.verdict == Verdict::Values ? int(v.size()) + 10 : int(r.verdict);
}

void CheckCloze(const std::string& kind, const QuestionResult& r, const std::vector<Blank>& blanks,
                const std::string& where) {
    const std::vector<Surd> values = RuleValues(kind, r);
    std::size_t next = 0;
    if (kind == "2d") {
        ASSERT_EQ(blanks.size(), 4u) << where;
        ExpectNumericBlank(blanks[next++], Surd(*r.discriminant), where);
        const char* counts[] = {"aucune", "une", "deux"};
        EXPECT_EQ(RightChoice(blanks[next++].body), counts[CaseKey(r) == 12 ? 2 : CaseKey(r) == 11])
            << where;
    } else {
        ASSERT_EQ(blanks.size(), 1 + values.size()) << where;
        const std::string right = RightChoice(blanks[next++].body);
        EXPECT_TRUE(r.verdict == Verdict::Values ? right.starts_with("une seule")
                                                 : right.starts_with(VerdictWord(r.verdict)))
            << where;
    }
    for (const Surd& v : values) ExpectNumericBlank(blanks[next++], v, where);
}

// A random set of every shape the new kinds' keys write, its bounds halves in [-10, 10].
SolutionSet RandomSet(RandomSource& rng) {
    using Shape = SolutionSet::Shape;
    const auto half = [&] { return Surd(Rational(rng.RandomInt(41) - 20, 2)); };
    Surd a = half(), b = half();
    while (b == a) b = half();
    if (b < a) std::swap(a, b);
    const bool c0 = rng.RandomInt(2) == 1, c1 = rng.RandomInt(2) == 1;
    switch (rng.RandomInt(9)) {
        case 0:
            return {.shape = Shape::Empty};
        case 1:
            return {.shape = Shape::Reals};
        case 2:
            return {.shape = Shape::Reals, .excluded = {a}};
        case 3:
            return {.shape = Shape::Values, .values = {a}};
        case 4:
            return {.shape = Shape::Values, .values = {a, b}};
        case 5:
            return {.shape = Shape::Intervals, .intervals = {{std::nullopt, a, false, c0}}};
        case 6:
            return {.shape = Shape::Intervals, .intervals = {{a, std::nullopt, c0, false}}};
        case 7:
            return {.shape = Shape::Intervals, .intervals = {{a, b, c0, c1}}};
        default:
            return {.shape = Shape::Intervals,
                    .intervals = {{std::nullopt, a, false, c0}, {b, std::nullopt, c1, false}}};
    }
}

// The set a pupil's answer says, read from the shape's words, the values and the brackets.
SolutionSet SetOfAnswer(std::string_view kind, std::string_view shape, const std::vector<Surd>& v,
                        const std::vector<std::string_view>& brackets) {
    using Shape = SolutionSet::Shape;
    const std::string_view words(shape);
    if (!IsInequationKind(kind)) {
        if (words.starts_with("aucune")) return {.shape = Shape::Empty};
        if (words.starts_with("une infinit")) return {.shape = Shape::Reals};
        if (words.starts_with("deux")) return {.shape = Shape::Values, .values = v};
        return {.shape = Shape::Values, .values = {v[0]}};
    }
    const bool low0 = brackets[0] == "[", high0 = brackets[0] == "]";
    const bool low1 = brackets.size() > 1 && brackets[1] == "[";
    const bool high1 = brackets.size() > 1 && brackets[1] == "]";
    const std::string r = "r\xC3\xA9\x65l";
    if (words == "aucun " + r) return {.shape = Shape::Empty};
    if (words == "tous les " + r + "s") return {.shape = Shape::Reals};
    if (words == "tous les " + r + "s sauf a") return {.shape = Shape::Reals, .excluded = {v[0]}};
    if (words == "le seul " + r + " a") return {.shape = Shape::Values, .values = {v[0]}};
    if (words == "de a \xC3\xA0 b")
        return {.shape = Shape::Intervals, .intervals = {{v[0], v[1], low0, high1}}};
    if (words.starts_with("de a"))
        return {.shape = Shape::Intervals, .intervals = {{v[0], std::nullopt, low0, false}}};
    if (words.find(", et de b") != std::string_view::npos)
        return {
            .shape = Shape::Intervals,
            .intervals = {{std::nullopt, v[0], false, high0}, {v[1], std::nullopt, low1, false}}};
    return {.shape = Shape::Intervals, .intervals = {{std::nullopt, v[0], false, high0}}};
}

// A set kind's cloze question: its right answers read back as its set (an equation's "every
// real" as its shape alone).
void CheckSetBlanks(std::string_view kind, const SolutionSet& set, const SetAnswer& answer,
                    const std::string& body, const std::string& where) {
    const std::vector<Blank> blanks = Blanks(body);
    std::vector<Surd> values;
    std::vector<std::string> brackets;
    for (std::size_t k = 0; k < answer.values.size(); ++k) {
        const std::size_t at = 1 + k * (IsInequationKind(kind) ? 2 : 1);
        ASSERT_LT(at, blanks.size()) << where;
        ExpectNumericBlank(blanks[at], answer.values[k], where);
        values.push_back(answer.values[k]);
        if (IsInequationKind(kind)) brackets.push_back(RightChoice(blanks[at + 1].body));
    }
    const std::vector<std::string_view> views(brackets.begin(), brackets.end());
    const std::string shape = RightChoice(blanks.at(0).body);
    if (set.shape == SolutionSet::Shape::Reals && !IsInequationKind(kind))
        EXPECT_EQ(SetOfAnswer(kind, shape, values, views).shape, set.shape) << where;
    else
        EXPECT_TRUE(SetOfAnswer(kind, shape, values, views) == set) << where << shape;
}

struct Drawn {
    std::string kind;  // of the sheet
    DrawChoices draw;
};

// Every sheet a teacher may ask: each kind as drawn, with every case forced, progressive; the
// three kinds interleaved with every case.
std::vector<Drawn> Sheets() {
    std::vector<Drawn> sheets;
    for (const auto& k : kSheetKinds)
        if (IsEquationKind(k.name))
            for (const DrawChoices& d : {DrawChoices{}, DrawChoices{.everyCase = true},
                                         DrawChoices{.everyCase = true, .progressive = true}})
                sheets.push_back({std::string(k.name), d});
    sheets.push_back({"1d", {.everyCase = true, .mixedKinds = 7, .interleaved = true}});
    return sheets;
}

// Every answer of a bank is right by the rule its question states; every question of a kind
// has the same blanks and the same words around them, whatever its case; each is named by
// its own kind and level, and says which decimal separator to type.
TEST(Quiz, EveryMoodleQuestionOfAKindAsksTheSameAndGradesRight) {
    std::map<std::string, std::string> asked;    // kind -> its questions' text, answers hidden
    std::map<std::string, std::set<int>> cases;  // kind -> the cases met
    std::size_t questions = 0;
    for (const Drawn& sheet : Sheets())
        for (int level = 1; level <= 3; ++level)
            for (std::uint32_t seed = 1; seed <= 8; ++seed) {
                SheetSettings settings;
                settings.level = level;
                settings.count = 40;
                settings.exports.bodies = true;
                settings.decimalComma = seed % 2 == 0;
                settings.draw = sheet.draw;
                const int kind = KindIndex(sheet.kind);
                ASSERT_FALSE(DrawChoicesError(sheet.draw, kind, settings.count));
                RandomSource rng(seed);
                ClassCopy copy{
                    {}, "", "", BuildSheet(*MakeSheetKind(sheet.kind, sheet.draw), rng, settings)};
                copy.code.kind = sheet.kind;
                copy.code.level = level;
                NamedFiles files;
                std::string error;
                ASSERT_TRUE(MakeFormat(Format(FormatId::Moodle),
                                       OutputData{std::span(&copy, 1), {}}, {"b.xml"}, &files,
                                       &error))
                    << error;
                const std::string& xml = files.at(0).second;
                const std::regex question(
                    "<question type=\"(?:cloze|essay)\">([\\s\\S]*?)</question>");
                std::size_t i = 0;
                for (auto it = std::sregex_iterator(xml.begin(), xml.end(), question);
                     it != std::sregex_iterator(); ++it, ++i) {
                    ASSERT_LT(i, copy.sheet.results.size());
                    const QuestionResult& r = copy.sheet.results[i];
                    if (r.set) {  // a set's blanks, by the bank's own kind of the question
                        const std::string_view kind = copy.sheet.model->questions[i].kind;
                        const auto answer = SetAnswerOf(kind, *r.set);
                        ASSERT_TRUE(answer) << kind;
                        CheckSetBlanks(kind, *r.set, *answer, (*it)[1], std::string(kind));
                        continue;
                    }
                    const std::string k(ResultKind(r));
                    const int own =
                        sheet.draw.progressive ? 1 + 3 * int(i) / settings.count : level;
                    const std::string body = (*it)[1];
                    const std::string where = k + " N" + std::to_string(level) + " seed " +
                                              std::to_string(seed) + " q" + std::to_string(i + 1) +
                                              ": ";
                    EXPECT_NE(body.find("<name><text>" + k + " N" + std::to_string(own) + " "),
                              std::string::npos)
                        << where;
                    const auto start = body.find("</p>\n", body.find("\\)</p>")) + 5;
                    const std::string text = body.substr(start, body.find("]]>") - start);
                    CheckCloze(k, r, Blanks(text), where);
                    EXPECT_EQ(text.find(k == "syst" ? "L'\xC3\xA9quation a" : "Le syst"),
                              std::string::npos)
                        << where;
                    EXPECT_NE(text.find(settings.decimalComma ? "exemple -1,35" : "exemple -1.35"),
                              std::string::npos);
                    const std::string hidden = std::regex_replace(
                        std::regex_replace(text, std::regex("\\{1:NUMERICAL:[^}]*\\}"), "{N}"),
                        std::regex("~?=?((une|aucune|deux|tout)[^~}]*)"), "~$1");
                    auto [at, fresh] = asked.try_emplace(k + std::to_string(seed % 2), hidden);
                    EXPECT_EQ(at->second, hidden) << where;
                    cases[k].insert(CaseKey(r));
                }
                EXPECT_EQ(i, copy.sheet.results.size());
                questions += i;
            }
    for (const auto& [k, met] : cases) EXPECT_EQ(met.size(), 3u) << k;
    EXPECT_GT(questions, 9000u);
}

// Multiple choice: one multichoice question per question, its answers the copy's choices in
// their order, the right one alone worth the mark, each wrong one's feedback its mistake.
TEST(Quiz, MultichoiceAnswersAreTheChoicesWithTheirMistakes) {
    for (const Drawn& sheet : Sheets())
        for (std::uint32_t seed = 1; seed <= 6; ++seed) {
            SheetSettings settings;
            settings.level = 1 + static_cast<int>(seed % 3);
            settings.count = 10;
            settings.exports.bodies = true;
            settings.choiceCount = 3 + static_cast<int>(seed % 2);
            settings.draw = sheet.draw;
            RandomSource rng(seed);
            ClassCopy copy{
                {}, "", "", BuildSheet(*MakeSheetKind(sheet.kind, sheet.draw), rng, settings)};
            copy.code.kind = sheet.kind;
            NamedFiles files;
            std::string error;
            ASSERT_TRUE(MakeFormat(Format(FormatId::Moodle), OutputData{std::span(&copy, 1), {}},
                                   {"b.xml"}, &files, &error));
            const std::string& xml = files.at(0).second;
            const std::regex question("<question type=\"multichoice\">([\\s\\S]*?)</question>");
            const std::regex answer(
                "<answer "
                "fraction=\"(\\d+)\"[^>]*>\\s*<text><!\\[CDATA\\[(.*?)\\]\\]></text>[\\s\\S]*?"
                "<feedback format=\"html\"><text><!\\[CDATA\\[(.*?)\\]\\]>");
            std::size_t i = 0;
            for (auto q = std::sregex_iterator(xml.begin(), xml.end(), question);
                 q != std::sregex_iterator(); ++q, ++i) {
                ASSERT_LT(i, copy.sheet.model->questions.size());
                const auto& choices = copy.sheet.model->questions[i].choices;
                const std::string body = (*q)[1];
                EXPECT_NE(body.find("<single>true</single>"), std::string::npos);
                EXPECT_NE(body.find("<shuffleanswers>1</shuffleanswers>"), std::string::npos);
                std::size_t k = 0;
                for (auto a = std::sregex_iterator(body.begin(), body.end(), answer);
                     a != std::sregex_iterator(); ++a, ++k) {
                    ASSERT_LT(k, choices.size());
                    const bool right = choices[k].mistake.empty();
                    EXPECT_EQ((*a)[1], right ? "100" : "0");
                    EXPECT_EQ((*a)[3], right
                                           ? "Exact."
                                           : "Erreur : " + Cp1252ToUtf8(choices[k].mistake) + ".");
                }
                EXPECT_EQ(k, static_cast<std::size_t>(settings.choiceCount));
            }
            // A kind without mistakes keeps its questions to solve.
            EXPECT_EQ(i, MistakesOf(sheet.kind).empty() ? 0 : copy.sheet.results.size());
        }
}

// GIFT: the first degree's numeric answers likewise; other kinds refused.
TEST(Quiz, GiftAnswersAreTheExactResults) {
    for (std::uint32_t seed = 1; seed <= 60; ++seed) {
        SheetSettings settings;
        settings.level = 1 + int(seed % 3);
        settings.count = 40;
        settings.exports.bodies = true;
        RandomSource rng(seed);
        ClassCopy copy{{}, "", "", BuildSheet(*MakeKind("1d"), rng, settings)};
        copy.code.kind = "1d";
        copy.code.level = settings.level;
        NamedFiles files;
        std::string error;
        ASSERT_TRUE(MakeFormat(Format(FormatId::Gift), OutputData{std::span(&copy, 1), {}},
                               {"g.txt"}, &files, &error));
        const std::string& gift = files.at(0).second;
        const std::regex numeric("\\{#(-?[0-9.]+):([0-9.]+)####");
        std::size_t i = 0;
        std::size_t from = 0;
        for (; i < copy.sheet.results.size(); ++i) {
            const auto start = gift.find("::1d ", from);
            ASSERT_NE(start, std::string::npos);
            from = gift.find("\n\n", start);
            const std::string q = gift.substr(start, from - start);
            const auto values = Exact(copy.sheet.results[i]);
            std::smatch m;
            if (values.size() == 1) {
                ASSERT_TRUE(std::regex_search(q, m, numeric)) << q;
                ExpectNumeric(m[1], m[2], values[0], "gift " + std::to_string(seed));
                EXPECT_NE(q.find("exemple -1.35"), std::string::npos) << q;
            } else {
                EXPECT_NE(q.find("=" + VerdictWord(copy.sheet.results[i].verdict)),
                          std::string::npos)
                    << q;
            }
        }
    }
    SheetSettings settings;
    settings.exports.bodies = true;
    RandomSource rng(1);
    ClassCopy copy{{}, "", "", BuildSheet(*MakeKind("syst"), rng, settings)};
    copy.code.kind = "syst";
    NamedFiles files;
    std::string error;
    EXPECT_FALSE(MakeFormat(Format(FormatId::Gift), OutputData{std::span(&copy, 1), {}}, {"g.txt"},
                            &files, &error));
    // A sheet made without its questions as data is refused, not exported empty.
    copy.sheet.bodies.clear();
    EXPECT_FALSE(MakeFormat(Format(FormatId::Moodle), OutputData{std::span(&copy, 1), {}},
                            {"b.xml"}, &files, &error));
}

// The new kinds' sets in the Moodle bank: every set the kind's blanks can say is read back from
// the right answers as itself, every question of a kind asks the same blanks whatever its set,
// and a set they cannot say becomes a question the teacher marks. GIFT asks the sets of one
// number and leaves the others out.
TEST(Quiz, SetAnswersReadBackAsTheirSet) {
    const std::string kinds[] = {"square", "product", "quotient", "ineq", "signs", "ineq2"};
    RandomSource rng(7);
    for (const std::string& kind : kinds) {
        ClassCopy copy;
        copy.code.kind = kind;
        auto model = std::make_shared<SheetModel>();
        std::size_t graded = 0, singles = 0;
        for (int i = 0; i < 300; ++i) {
            QuestionResult r;
            r.set = RandomSet(rng);
            copy.sheet.results.push_back(r);
            model->questions.emplace_back().kind = kind;
            model->questions.back().result = r;
            copy.sheet.bodies.emplace_back();
            graded += SetAnswerOf(kind, *r.set).has_value();
            singles += r.set->shape == SolutionSet::Shape::Values && r.set->values.size() == 1;
        }
        copy.sheet.model = model;
        ASSERT_GT(graded, 60u) << kind;
        NamedFiles files;
        std::string error;
        const OutputData data{std::span(&copy, 1), {}};
        ASSERT_TRUE(MakeFormat(Format(FormatId::Moodle), data, {"b.xml"}, &files, &error));
        const std::string& xml = files.at(0).second;
        const std::regex question("<question type=\"(cloze|essay)\">([\\s\\S]*?)</question>");
        std::size_t i = 0;
        std::string asked;
        for (auto it = std::sregex_iterator(xml.begin(), xml.end(), question);
             it != std::sregex_iterator(); ++it, ++i) {
            const SolutionSet& set = *copy.sheet.results.at(i).set;
            const auto answer = SetAnswerOf(kind, set);
            const std::string where = kind + " q" + std::to_string(i + 1);
            ASSERT_EQ((*it)[1] == "cloze", answer.has_value()) << where;
            if (!answer) continue;
            const std::string body = (*it)[2];
            CheckSetBlanks(kind, set, *answer, body, where);
            const auto from = body.find("<questiontext");
            const std::string hidden = std::regex_replace(
                std::regex_replace(body.substr(from, body.find("<generalfeedback") - from),
                                   std::regex("\\{1:NUMERICAL:[^}]*\\}"), "{N}"),
                std::regex("([:~])="), "$1");
            if (asked.empty()) asked = hidden;
            EXPECT_EQ(hidden, asked) << where;
        }
        EXPECT_EQ(i, copy.sheet.results.size()) << kind;
        const bool gift = MakeFormat(Format(FormatId::Gift), data, {"g.txt"}, &files, &error);
        ASSERT_EQ(gift, singles > 0) << kind << error;
        if (gift) {
            const std::string& text = files.back().second;
            std::size_t count = 0;
            for (auto at = text.find("::" + kind); at != std::string::npos;
                 at = text.find("::" + kind, at + 1))
                ++count;
            EXPECT_EQ(count, singles) << kind;
        }
    }
}

// A key's graph goes with the feedback as an image held in the page, in base64 with its
// padding; a question without one has no image.
TEST(Quiz, GraphsGoWithTheFeedback) {
    SheetSettings settings;
    settings.exports.bodies = true;
    RandomSource rng(1);
    ClassCopy copy{{}, "", "", BuildSheet(*MakeKind("2d"), rng, settings)};
    copy.code.kind = "2d";
    const std::string bytes[] = {"\x89PNG", "\x89PNG\r", "\x89PNG\r\n"};
    for (std::size_t i = 0; i < 3; ++i) copy.sheet.bodies[i].graph = {bytes[i], 1500, 750, 1, 1};
    NamedFiles files;
    std::string error;
    ASSERT_TRUE(MakeFormat(Format(FormatId::Moodle), OutputData{std::span(&copy, 1), {}}, {"b.xml"},
                           &files, &error))
        << error;
    const std::string& xml = files.at(0).second;
    for (const char* image : {"base64,iVBORw==\" width=\"100\" height=\"50\"", "base64,iVBORw0=\"",
                              "base64,iVBORw0K\""})
        EXPECT_NE(xml.find(image), std::string::npos) << image;
    std::size_t images = 0;
    for (auto at = xml.find("<img "); at != std::string::npos; at = xml.find("<img ", at + 1))
        ++images;
    EXPECT_EQ(images, 3u);
}

// The mathematics as TeX for the platform's MathJax filter, the words as text, HTML's and
// TeX's signs escaped.
TEST(Quiz, FragmentsAsTex) {
    const struct {
        const char* rtf;
        const char* html;
    } cases[] = {
        {"   27\\f1\\i  x\\f0\\i0\\super  2\\nosupersub   + 7\\f1\\i  x \\f0\\i0  = 0\\par ",
         "<p>\\(27 x^{2} + 7 x = 0\\)</p>\n"},
        {"\\f1\\i x\\f0\\i0\\sub 1\\nosupersub  = (-b + \\f3\\'d6D\\f0 )/(2a) = 2\\f3\\'d65\\f0 "
         "\\par ",
         "<p>\\(x_{1} = (-b + \\sqrt{\\Delta })/(2a) = 2\\sqrt{5}\\)</p>\n"},
        {"   On remplace \\f1\\i x\\f0\\i0  par -3 dans (1) : 2 = 2\\par ",
         "<p>On remplace \\(x\\) par \\(-3\\) dans \\((1) : 2 = 2\\)</p>\n"},
        {"\\f3 D\\f0  est n\\'e9gatif : l'\\'e9quation n'a pas de solution r\\'e9elle.\\par ",
         "<p>\\(\\Delta \\) est n\xC3\xA9gatif : l'\xC3\xA9quation n'a pas de solution "
         "r\xC3\xA9\x65lle.</p>\n"},
        {"   S = \\b R\\b0\\par S = \\{1 ; 2\\} < 3 & 4\\par \\par ",
         "<p>\\(S = \\mathbb{R}\\)</p>\n<p>\\(S = \\{1 ; 2\\} &lt; 3 \\&amp; 4\\)</p>\n"},
        {"x \\f3\\'bb\\f0  0,33\\tab y \\f3\\'b4\\f0  2\\par ",
         "<p>\\(x \\approx  0{,}33\\qquad y \\times  2\\)</p>\n"},
        {"   \\f3\\'ec\\f0  2\\f1\\i x\\f0\\i0  = 1\\par   \\f3\\'ed\\f0 \\par   \\f3\\'ee\\f0  "
         "\\f1\\i y\\f0\\i0  = 2\\par ",
         "<p>\\(\\begin{cases}2x = 1 \\\\ y = 2\\end{cases}\\)</p>\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DocumentTexHtml(rtf::ReadRtf(std::string(kRtfHeader) + c.rtf + "}")), c.html)
            << c.rtf;
}

// A table of the feedback is an HTML table, its cells in order between the paragraphs.
TEST(Quiz, TablesAsHtmlTables) {
    const std::string html = DocumentTexHtml(rtf::test::TableDocument());
    std::string expected = "<p>avant</p>\n<table style=\"border-collapse:collapse\">\n";
    for (int r = 0; r < 3; ++r) {
        expected += "<tr>";
        for (int c = 0; c < 5; ++c)
            expected +=
                "<td style=\"border:1px solid black;padding:2px 6px;text-align:center\">"
                "\\(r" +
                std::to_string(r) + "c" + std::to_string(c) + "\\)</td>";
        expected += "</tr>\n";
    }
    EXPECT_EQ(html, expected + "</table>\n<p>apr\xC3\xA8s</p>\n");
}

// A roster's names go into the categories as typed, and nowhere else: the rest of a bank
// is the one made without them, and no name splits a category or opens a blank.
TEST(Quiz, RosterNamesFileEachCopyUnderItsPupil) {
    const struct {
        const char* name;  // Windows-1252
        const char* xml;   // the category's end in the XML bank
        const char* gift;  // in the GIFT one
    } cases[] = {
        {"Zo\xE9 ]]> <b>x</b>", "ABC Zo\xC3\xA9 ]]&gt; &lt;b&gt;x&lt;//b&gt;</text>",
         "ABC Zo\xC3\xA9 ]]> <b>x<//b>\n"},
        {"{1:NUMERICAL:=5:0}", "ABC {1:NUMERICAL:=5:0}</text>", "ABC {1:NUMERICAL:=5:0}\n"},
        {"a/b \\: c", "ABC a//b \\: c</text>", "ABC a//b \\\\: c\n"},
    };
    SheetSettings settings;
    settings.exports.bodies = true;
    RandomSource rng(3);
    ClassCopy copy{{}, "ABC", "", BuildSheet(*MakeKind("1d"), rng, settings)};
    auto bank = [&](FormatId format) {
        NamedFiles files;
        std::string error;
        EXPECT_TRUE(
            MakeFormat(Format(format), OutputData{std::span(&copy, 1), {}}, {"b"}, &files, &error));
        return files.at(0).second;
    };
    const std::string xml = bank(FormatId::Moodle), gift = bank(FormatId::Gift);
    for (const auto& c : cases) {
        copy.name = c.name;
        const std::string named = bank(FormatId::Moodle), giftNamed = bank(FormatId::Gift);
        const auto at = named.find("ABC ");
        ASSERT_NE(at, std::string::npos) << c.name;
        EXPECT_EQ(named.substr(at, std::strlen(c.xml)), c.xml);
        EXPECT_EQ(named.substr(0, at) + named.substr(named.find("</text>", at)),
                  xml.substr(0, at) + xml.substr(xml.find("</text>", at)));
        const auto line = giftNamed.find("ABC ");
        EXPECT_EQ(giftNamed.substr(line, std::strlen(c.gift)), c.gift);
        EXPECT_EQ(giftNamed.substr(giftNamed.find("\n", line)), gift.substr(gift.find("\n", line)));
    }
}

}  // namespace
}  // namespace equat
