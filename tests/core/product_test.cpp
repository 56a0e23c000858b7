// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/product.h"

#include "core/sheet.h"
#include "setkinds.h"

namespace equat {
namespace {

TEST(ProductKind, WritesFixedQuestionsAndTheirSets) {
    struct Row {
        ProductQuestion q;
        std::string_view statement, set;
    };
    const Row rows[] = {
        {{0, 2, -3, 1, 5}, "(2 x - 3)(x + 5) = 0", "S = \\{-5 ; 3/2\\}"},
        {{1, 1, 0, -3, 7}, "x (-3 x + 7) = 0", "S = \\{0 ; 7/3\\}"},
        {{0, 2, 4, -1, -2}, "(2 x + 4)(- x - 2) = 0", "S = \\{-2\\}"},
    };
    for (const Row& r : rows) {
        const QuestionModel m{"product", 1, ProductStatement(r.q), ProductResult(r.q), {}};
        EXPECT_EQ(StatementText(m), r.statement);
        EXPECT_EQ(SolutionSetMarkup(*m.result.set), r.set);
    }
}

// Whether a drawn set is the statement's is the oracle's; here, that every case comes.
TEST(ProductKind, EveryCaseIsReachable) {
    ExpectCasesReachable("product");
}

// A product is zero somewhere: asked alone, "none" is refused; asked with others, or every
// case asked, it is never drawn.
TEST(ProductKind, NeverDrawsNone) {
    const int product = KindIndex("product");
    DrawChoices none;
    none.cases = 1u << 1;
    EXPECT_TRUE(DrawChoicesError(none, product, 10));
    DrawChoices mixed = none;
    mixed.mixedKinds = 1u << product | 1u;
    EXPECT_TRUE(DrawChoicesError(mixed, 0, 10));
    DrawChoices every;
    every.everyCase = true;
    ASSERT_FALSE(DrawChoicesError(every, product, 10));
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
        RandomSource rng(seed);
        SheetSettings settings;
        settings.count = 10;
        settings.draw = every;
        const SheetModel sheet = BuildSheetModel(*MakeSheetKind("product", every), rng, settings);
        unsigned seen = 0;
        for (const QuestionModel& q : sheet.questions) seen |= 1u << CaseOf(q.result);
        EXPECT_EQ(seen, 5u) << seed;
    }
}

}  // namespace
}  // namespace equat
