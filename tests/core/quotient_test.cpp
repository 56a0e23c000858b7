// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/quotient.h"

#include "core/sheet.h"
#include "setkinds.h"

namespace equat {
namespace {

TEST(QuotientKind, WritesFixedQuestionsAndTheirSets) {
    struct Row {
        QuotientQuestion q;
        std::string_view statement, set;
    };
    const Row rows[] = {
        {{1, 1, 1, 1, -2, 3, 1}, "(x + 1)/(x - 2) = 3", "S = \\{7/2\\}"},
        {{0, 0, 12, 1, 0, -4, 1}, "12/x = -4", "S = \\{-3\\}"},
        {{0, 0, 5, 1, 0, 0, 1},
         "5/x = 0",
         "S = <symbol>\xC6"
         "<arial>"},
        {{1, 2, -4, 1, -2, 3, 1},
         "(2 x - 4)/(x - 2) = 3",
         "S = <symbol>\xC6"
         "<arial>"},
        {{1, 3, 6, 2, 4, 3, 2}, "(3 x + 6)/(2 x + 4) = 3/2", "S = <b>R</b> \\\\ \\{-2\\}"},
        {{1, 2, 1, 1, -2, 2, 1},
         "(2 x + 1)/(x - 2) = 2",
         "S = <symbol>\xC6"
         "<arial>"},
    };
    for (const Row& r : rows) {
        const QuestionModel m{"quotient", 1, QuotientStatement(r.q), QuotientResult(r.q), {}};
        EXPECT_EQ(StatementText(m), r.statement);
        EXPECT_EQ(SolutionSetMarkup(*m.result.set), r.set);
    }
}

// Whether a drawn set is the statement's is the oracle's; here, that every case comes.
TEST(QuotientKind, EveryCaseIsReachable) {
    ExpectCasesReachable("quotient");
}

// Every case asked: both kinds of no solution and the forbidden value as the numerator's root
// come on the sheets.
TEST(QuotientKind, EveryCaseShowsTheForbiddenValueBothWays) {
    DrawChoices every;
    every.everyCase = true;
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
        RandomSource rng(seed);
        SheetSettings settings;
        settings.count = 3;
        settings.level = 2;
        settings.draw = every;
        const SheetModel sheet = BuildSheetModel(*MakeSheetKind("quotient", every), rng, settings);
        unsigned roots = 0;
        for (const QuestionModel& q : sheet.questions) {
            const auto& c = q.coefficients;
            roots |= c[1] * c[2] == c[0] * c[3] ? 1u : 2u;
        }
        EXPECT_EQ(roots, 3u) << seed;
    }
}

}  // namespace
}  // namespace equat
