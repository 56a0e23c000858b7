// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/square.h"

#include "setkinds.h"

namespace equat {
namespace {

TEST(SquareKind, WritesFixedQuestionsAndTheirSets) {
    struct Row {
        SquareQuestion q;
        std::string_view statement, set;
    };
    const Row rows[] = {
        {{0, 4, 0, 0, 9}, "4 x 2 = 9", "S = \\{-3/2 ; 3/2\\}"},
        {{1, 1, -1, 0, 8},
         "(x - 1)2 = 8",
         "S = \\{1 - 2<symbol>\xD6"
         "<arial>2 ; 1 + 2<symbol>\xD6"
         "<arial>2\\}"},
        {{0, 1, 0, 0, -4},
         "x 2 = -4",
         "S = <symbol>\xC6"
         "<arial>"},
        {{1, -3, 2, 5, 5}, "-3 (x + 2)2 + 5 = 5", "S = \\{-2\\}"},
        {{0, -2, 0, 3, -47}, "-2 x 2 + 3 = -47", "S = \\{-5 ; 5\\}"},
    };
    for (const Row& r : rows) {
        const QuestionModel m{"square", 1, SquareStatement(r.q), SquareResult(r.q), {}};
        EXPECT_EQ(StatementText(m), r.statement);
        EXPECT_EQ(SolutionSetMarkup(*m.result.set), r.set);
    }
}

// Whether a drawn set is the statement's is the oracle's; here, that every case comes.
TEST(SquareKind, EveryCaseIsReachable) {
    ExpectCasesReachable("square");
}

}  // namespace
}  // namespace equat
