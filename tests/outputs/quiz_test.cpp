// SPDX-License-Identifier: GPL-3.0-or-later
// Every answer of the banks, read back with the syntax the platform documents, equals the
// exact result of its question.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include "core/kinds.h"
#include "core/random.h"
#include "outputs/formats.h"

namespace equat {
namespace {

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

void CheckCloze(const std::string& kind, const QuestionResult& r, const std::vector<Blank>& blanks,
                const std::string& where) {
    std::vector<Surd> values = Exact(r);
    if (kind == "2d") {
        ASSERT_GE(blanks.size(), 2u) << where;
        ExpectNumericBlank(blanks[0], Surd(*r.discriminant), where);
        std::sort(values.begin(), values.end());
        values.erase(std::unique(values.begin(), values.end()), values.end());
        const char* counts[] = {"aucune", "une", "deux"};
        EXPECT_EQ(RightChoice(blanks[1].body), counts[values.size()]) << where;
        ASSERT_EQ(blanks.size(), 2 + values.size()) << where;
        for (std::size_t k = 0; k < values.size(); ++k)
            ExpectNumericBlank(blanks[2 + k], values[k], where);
        return;
    }
    if (r.verdict != Verdict::Values) {
        ASSERT_EQ(blanks.size(), 1u) << where;
        EXPECT_TRUE(RightChoice(blanks[0].body).starts_with(VerdictWord(r.verdict))) << where;
        return;
    }
    ASSERT_EQ(blanks.size(), values.size()) << where;
    for (std::size_t k = 0; k < values.size(); ++k) ExpectNumericBlank(blanks[k], values[k], where);
}

TEST(Quiz, EveryMoodleAnswerIsTheExactResult) {
    std::size_t questions = 0;
    // Each kind alone, then the three interleaved: question i of the mix is of kind i mod 3.
    for (int sheetKind = 0; sheetKind <= kKindCount; ++sheetKind) {
        const bool mixed = sheetKind == kKindCount;
        auto kindOf = [&](std::size_t i) {
            return std::string(kSheetKinds[mixed ? i % kKindCount : sheetKind].name);
        };
        for (int level = 1; level <= 3; ++level) {
            for (std::uint32_t seed = 1; seed <= 40; ++seed) {
                SheetSettings settings;
                settings.level = level;
                settings.count = 40;
                settings.exports.bodies = true;
                if (mixed) settings.draw = {.mixedKinds = 7, .interleaved = true};
                RandomSource rng(seed);
                ClassCopy copy{{},
                               "",
                               "",
                               BuildSheet(*MakeSheetKind(kindOf(0), settings.draw), rng, settings)};
                copy.code.kind = kindOf(0);
                copy.code.level = level;
                NamedFiles files;
                std::string error;
                ASSERT_TRUE(MakeFormat(Format(FormatId::Moodle),
                                       OutputData{std::span(&copy, 1), {}}, {"b.xml"}, &files,
                                       &error))
                    << error;
                const std::string& xml = files.at(0).second;
                const std::regex question(
                    "<question type=\"(numerical|cloze)\">([\\s\\S]*?)</question>");
                std::size_t i = 0;
                for (auto it = std::sregex_iterator(xml.begin(), xml.end(), question);
                     it != std::sregex_iterator(); ++it, ++i) {
                    ASSERT_LT(i, copy.sheet.results.size());
                    const QuestionResult& r = copy.sheet.results[i];
                    const std::string body = (*it)[2];
                    const std::string where = kindOf(i) + " N" + std::to_string(level) + " seed " +
                                              std::to_string(seed) + " q" + std::to_string(i + 1) +
                                              ": ";
                    std::smatch answer;
                    if ((*it)[1] == "numerical") {
                        ASSERT_TRUE(
                            std::regex_search(body, answer,
                                              std::regex("<answer "
                                                         "fraction=\"100\"[^>]*><text>([^<]*)</"
                                                         "text>.*<tolerance>([^<]*)</tolerance>")))
                            << where;
                        ASSERT_EQ(Exact(r).size(), 1u) << where;
                        ExpectNumeric(answer[1], answer[2], Exact(r)[0], where);
                    } else {
                        const auto end = body.find("</questiontext>");
                        CheckCloze(kindOf(i), r, Blanks(body.substr(0, end)), where);
                    }
                }
                EXPECT_EQ(i, copy.sheet.results.size());
                questions += i;
            }
        }
    }
    EXPECT_GT(questions, 10000u);
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

}  // namespace
}  // namespace equat
