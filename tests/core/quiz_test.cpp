// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/quiz.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "core/kinds.h"
#include "core/sheetcode.h"

using namespace equat;

namespace {

std::size_t Count(const std::string& text, std::string_view what) {
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// The text after each question's numbering up to the first control word: a strip's results.
std::vector<std::string> StripLines(const std::string& rtf) {
    std::vector<std::string> lines;
    for (auto at = rtf.find(kNumbering); at != std::string::npos;
         at = rtf.find(kNumbering, at + 1)) {
        const auto start = at + kNumbering.size();
        std::string line = rtf.substr(start, rtf.find('\\', start) - start);
        while (!line.empty() && line.back() == ' ') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

// The strip of every copy holds its results and nothing of its questions, the decimals
// within rounding of the exact values, on as many lines as the subject has.
TEST(Strip, ResultsOfTheCopyLineForLine) {
    for (const char* name : {"1d", "2d", "syst"}) {
        for (int level = 1; level <= 3; ++level) {
            for (std::uint32_t seed = 1; seed <= 40; ++seed) {
                auto kind = MakeKind(name);
                RandomSource rng(seed * 7919);
                SheetSettings s;
                s.level = level;
                s.count = 12;
                s.interline = static_cast<int>(seed % 3);
                s.keyStyle = KeyStyle::Strip;
                const Sheet sheet = BuildSheet(*kind, rng, s);
                SCOPED_TRACE(std::string(name) + " level " + std::to_string(level) + " seed " +
                             std::to_string(seed));
                ASSERT_EQ(Count(sheet.subject, "\\par"), Count(sheet.answerKey, "\\par"));
                const auto lines = StripLines(sheet.answerKey);
                ASSERT_EQ(lines.size(), sheet.results.size());
                for (std::size_t i = 0; i < lines.size(); ++i) {
                    const QuestionResult& r = sheet.results[i];
                    EXPECT_EQ(lines[i], StripResultText(r));
                    if (r.verdict != Verdict::Values) continue;
                    // The key names the roots in its own order: compared as sets.
                    std::vector<double> shown, exact;
                    std::size_t at = 0;
                    for (const auto& v : r.values) {
                        at = lines[i].find(v.name + " = ", at);
                        ASSERT_NE(at, std::string::npos) << lines[i];
                        at += v.name.size() + 3;
                        shown.push_back(std::strtod(lines[i].c_str() + at, nullptr));
                        exact.push_back(v.exact->ToDouble());
                    }
                    if (std::string(name) == "2d") {
                        std::sort(shown.begin(), shown.end());
                        std::sort(exact.begin(), exact.end());
                    }
                    for (std::size_t k = 0; k < shown.size(); ++k)
                        EXPECT_NEAR(shown[k], exact[k], 0.0051) << lines[i];
                }
            }
        }
    }
}

// A quiz has the copies asked, each of its own code, level and question count; every code
// holds the quiz bit and rebuilds its copy byte for byte. With two levels, each copy and key
// says its level.
TEST(Quiz, CopiesCodesAndLevels) {
    for (const bool twoLevels : {false, true}) {
        for (const char* name : {"1d", "2d", "syst"}) {
            QuizRequest request;
            request.kind = name;
            request.settings.level = 2;
            request.settings.count = 4;
            request.settings.title = std::string(kDefaultQuizTitle);
            request.copies = 9;
            request.twoLevels = twoLevels;
            RandomSource stream(2026);
            const ClassSet quiz = MakeQuiz(request, stream);
            ASSERT_EQ(quiz.copies.size(), 9u);
            EXPECT_EQ(quiz.keyOrder.size(), 9u);
            std::set<std::string> codes;
            for (std::size_t k = 0; k < quiz.copies.size(); ++k) {
                const ClassCopy& copy = quiz.copies[k];
                codes.insert(copy.codeText);
                EXPECT_EQ(copy.code.level, twoLevels && k % 2 == 1 ? 3 : 2);
                EXPECT_EQ(copy.sheet.results.size(), 4u);
                std::string error;
                const auto decoded = DecodeSheetCode(copy.codeText, &error);
                ASSERT_TRUE(decoded) << error;
                EXPECT_NE(decoded->flags & kSheetCodeQuizBits, 0u);
                const std::string level = "(niveau " + std::to_string(copy.code.level) + ")";
                for (const std::string* doc : {&copy.sheet.subject, &copy.sheet.answerKey})
                    EXPECT_EQ(doc->find(level) != std::string::npos, twoLevels);
                SheetSettings rebuilt = request.settings;
                rebuilt.quiz.showLevel = twoLevels;
                const Sheet again = BuildSheetFromCode(*decoded, rebuilt);
                EXPECT_EQ(again.subject, copy.sheet.subject);
                EXPECT_EQ(again.answerKey, copy.sheet.answerKey);
            }
            EXPECT_EQ(codes.size(), 9u);
        }
    }
}
