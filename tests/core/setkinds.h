// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the tests of the equation kinds whose key is a solution set share: the set a statement
// itself gives, read from its atoms, and the checks of a drawn question against it.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/keymarkup.h"
#include "core/kinds.h"
#include "core/markup.h"
#include "core/sheetrtf.h"
#include "rtf/reader.h"
#include "rtf/writer.h"

namespace equat {

// Every case the kind gives, with every kind of solutions, drawn when asked at every level,
// among questions enough for sheets of them without duplicates.
inline void ExpectCasesReachable(std::string_view name) {
    const int k = KindIndex(name);
    const auto kind = MakeKind(name);
    for (int level = 1; level <= 3; ++level)
        for (const CaseInfo& c : KindCases(k))
            for (Solutions solutions : {Solutions::Any, Solutions::Fraction, Solutions::Integer}) {
                if (!c.possible) continue;
                RandomSource rng(level * 100 + c.bit);
                kind->Begin(level);
                std::set<std::string> keys;
                for (int draw = 0; draw < 1000; ++draw) {
                    kind->DrawToward(rng, 1, c.bit, solutions);
                    const QuestionResult r = kind->Result(1);
                    EXPECT_EQ(CaseOf(r), c.bit) << name << level;
                    EXPECT_TRUE(SolutionsAre(r, solutions)) << name << level;
                    keys.insert(kind->DuplicateKey(1));
                }
                EXPECT_GE(keys.size(), 2u * kMaxQuestions) << name << level << c.bit;
            }
}

// The statement as the subject writes it, each run of spaces one space, and the set as the
// exact key writes it.
inline std::string StatementText(const QuestionModel& m) {
    std::string rtf(kRtfHeader);
    AppendSubjectRtf(rtf, m);
    std::string text = rtf::PlainTextUtf8(rtf::ReadRtf(rtf + "}"), " ");
    std::string out;
    for (char ch : text)
        if (ch != ' ' || (!out.empty() && out.back() != ' ')) out += ch;
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

}  // namespace equat
