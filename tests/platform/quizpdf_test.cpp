// SPDX-License-Identifier: GPL-3.0-or-later
// A strip beside its copy: laid out as a page is, its questions start at the heights of the
// subject's, so that every height of page cuts both after the same question.
#include <gtest/gtest.h>

#include <QPainter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <string_view>

#include "app/qt_environment.h"
#include "core/kinds.h"
#include "core/sheet.h"
#include "platform/paginator.h"

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
            int tab = 720;
            auto subject = LoadRtfDocument(sheet.subject, &tab);
            auto strip = LoadRtfDocument(sheet.answerKey, &tab);
            Paginator subjectPages(*subject, tab), stripPages(*strip, tab);
            for (double height = 400; height < 20000; height += 53) {
                ASSERT_EQ(QuestionsOnPage(*subject, subjectPages, 10772, height),
                          QuestionsOnPage(*strip, stripPages, 3400, height))
                    << name << " level " << level << (adapted ? " adapted" : "") << ", a page "
                    << height << " twips high";
            }
        }
    }
}
