// SPDX-License-Identifier: GPL-3.0-or-later
// A strip beside its copy: laid out as a page is, its questions start at the heights of the
// subject's, so that every height of page cuts both after the same question; in the PDF,
// each result at its question's height.
#include <gtest/gtest.h>

#include <QPainter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <string_view>

#include "app/qt_environment.h"
#include "core/classset.h"
#include "core/kinds.h"
#include "core/quiz.h"
#include "core/sheet.h"
#include "platform/classpdf.h"
#include "platform/paginator.h"
#include "platform/pdfwords.h"
#include "platform/qtdocument.h"

using namespace equat;

namespace {

// How many questions start before the first position that does not fit a page of that height.
int QuestionsOnPage(const QTextDocument& doc, Paginator& pages, double width, double height) {
    QPainter unused;
    const int next = pages.FormatRange(unused, QRectF(0, 0, width, height), 0, false);
    static const QRegularExpression question(QString::fromUtf8("^[0-9]+\u00B0/"));
    int n = 0;
    for (QTextBlock b = doc.begin(); b.isValid() && b.position() < next; b = b.next())
        n += question.match(b.text()).hasMatch() ? 1 : 0;
    return n;
}

}  // namespace

TEST(Strip, LinesAsHighAsTheSubjects) {
    for (const char* name : {"1d", "2d", "syst"}) {
        // Levels 1 to 3, then level 2 in the adapted layout, whose strip is adapted too (not
        // yet level for the second degree: its strip's first question stands lower).
        const int rounds = std::string_view(name) == "2d" ? 3 : 4;
        for (int round = 1; round <= rounds; ++round) {
            const bool adapted = round == 4;
            const int level = adapted ? 2 : round;
            auto kind = MakeKind(name);
            RandomSource rng(static_cast<std::uint32_t>(level * 31));
            SheetSettings s;
            s.level = level;
            s.count = 30;
            s.interline = level - 1;
            s.keyStyle = KeyStyle::Strip;
            s.layout.on = adapted;
            s.title = adapted ? "Nom :" : s.title;
            const Sheet sheet = BuildSheet(*kind, rng, s);
            auto subject = test::QtDocument(sheet.subject);
            auto strip = test::QtDocument(sheet.answerKey);
            Paginator subjectPages(*subject), stripPages(*strip);
            for (double height = 400; height < 20000; height += 53) {
                ASSERT_EQ(QuestionsOnPage(*subject, subjectPages, 10772, height),
                          QuestionsOnPage(*strip, stripPages, 3400, height))
                    << name << " level " << level << (adapted ? " adapted" : "") << ", a page "
                    << height << " twips high";
            }
        }
    }
}

namespace {

// Where each question's number stands in a PDF: (page, x, y) in points, in order of reading.
std::vector<std::tuple<int, double, double>> Numbers(const std::string& pdf) {
    static const QRegularExpression number(QString::fromUtf8("^[0-9]+\u00B0/$"));
    std::vector<std::tuple<int, double, double>> at;
    for (const auto& w : test::PdfWords(pdf))
        if (number.match(w.text).hasMatch()) at.emplace_back(w.page, w.x, w.y);
    std::sort(at.begin(), at.end());
    return at;
}

}  // namespace

// Quick quizzes at 2, 4 and 6 a page, in the standard and the adapted layout: each strip lies
// in its copy's cell at its copy's scale, every result where its question is on the copy's
// page. A set of whole copies: the strips side by side, each result at its question's height.
TEST(Strip, ResultsAtTheirQuestionsInThePdf) {
    for (const char* name : {"1d", "2d", "syst"}) {
        for (int perPage : {0, 2, 4, 6}) {
            SCOPED_TRACE(std::string(name) + ", " + std::to_string(perPage) + " a page");
            SheetSettings s;
            s.level = 3;
            s.keyStyle = KeyStyle::Strip;
            s.layout = {.on = perPage <= 2, .size = perPage == 0 ? 18 : 14};
            RandomSource rng(5);
            ClassSet set;
            if (perPage > 0) {
                s.count = 4;
                QuizRequest quiz;
                quiz.kind = name;
                quiz.settings = s;
                quiz.copies = 7;
                set = MakeQuiz(quiz, rng);
            } else {
                s.count = 12;
                ClassSetRequest request;
                request.kind = name;
                request.settings = s;
                request.copies = 1;
                set = MakeClassSet(request, rng);
            }
            NamedFiles files;
            std::string error;
            ASSERT_TRUE(ClassPdfs(set.copies, set.keyOrder, "/nonexistent/q.pdf",
                                  "/nonexistent/q_Cor.pdf", &files, &error, perPage))
                << error;
            auto copies = Numbers(files[0].second), strips = Numbers(files[1].second);
            ASSERT_EQ(copies.size(), strips.size());
            for (std::size_t k = 0; k < copies.size(); ++k) {
                // Side by side, a strip goes on in the next column: its height is what counts.
                if (perPage == 0) std::get<0>(strips[k]) = std::get<0>(copies[k]);
                if (perPage == 0) std::get<1>(strips[k]) = std::get<1>(copies[k]);
                EXPECT_EQ(std::get<0>(copies[k]), std::get<0>(strips[k]));
                EXPECT_NEAR(std::get<1>(copies[k]), std::get<1>(strips[k]), 0.1) << k;
                EXPECT_NEAR(std::get<2>(copies[k]), std::get<2>(strips[k]), 0.1) << k;
            }
        }
    }
}
