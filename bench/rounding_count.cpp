// SPDX-License-Identifier: GPL-3.0-or-later
// Counts, over many sheets of each kind and level, the decimal-key values whose text taken
// from the exact value differs from the one a binary double gives (the values on a half
// hundredth), and checks every decimal-key value against its exact rounding.
//   rounding_count [sheets=300] [questions=40]
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "core/equat1d.h"
#include "core/equat2d.h"
#include "core/exact.h"
#include "core/numbertext.h"
#include "core/syst.h"

namespace {

using namespace equat;

struct Tally {
    long values = 0, changed = 0, sheetsChanged = 0, wrong = 0;
};

// One written value against its exact value: the exact rounding must be the text; a
// change is a value the double rounded otherwise.
bool Count(Tally& t, const std::string& text, const Surd& exact) {
    ++t.values;
    if (RoundedText(exact) != text && ++t.wrong <= 5) {
        std::fprintf(stderr, "mismatch: %s for %s\n", text.c_str(), ExactText(exact).c_str());
    }
    if (FormatFixed2(exact.ToDouble()) == text) return false;
    ++t.changed;
    return true;
}

template <class Kind, class Visit>
Tally Run(int level, int sheets, int questions, Visit visit) {
    Tally t;
    Kind kind;
    SheetSettings settings;
    settings.level = level;
    settings.count = questions;
    for (int seed = 1; seed <= sheets; ++seed) {
        RandomSource rng(static_cast<std::uint32_t>(seed));
        BuildSheet(kind, rng, settings);
        bool changed = false;
        for (int i = 1; i <= questions; ++i) changed = visit(t, kind.question(i)) || changed;
        t.sheetsChanged += changed;
    }
    return t;
}

}  // namespace

int main(int argc, char** argv) {
    const int sheets = argc > 1 ? std::atoi(argv[1]) : 300;
    const int questions = argc > 2 ? std::atoi(argv[2]) : 40;
    long wrong = 0;
    std::printf("kind    level  values  changed  sheets changed (of %d)\n", sheets);
    const auto print = [&](const char* name, int level, const Tally& t) {
        std::printf("%-7s %5d  %6ld  %7ld  %5ld\n", name, level, t.values, t.changed,
                    t.sheetsChanged);
        wrong += t.wrong;
    };
    for (int level = 1; level <= 3; ++level) {
        print("equat1d", level,
              Run<FirstDegreeKind>(level, sheets, questions,
                                   [level](Tally& t, const FirstDegreeQuestion& q) {
                                       const auto x = FirstDegreeExactSolution(level, q);
                                       return x && Count(t, q.solution, *x);
                                   }));
        print("equat2d", level,
              Run<SecondDegreeKind>(level, sheets, questions,
                                    [level](Tally& t, const QuadraticQuestion& q) {
                                        auto r = QuadraticExactRoots(level, q);
                                        if (!r) return false;
                                        // Level 1 lists the roots in their drawn order.
                                        if (RoundedText(r->first) != q.x1)
                                            std::swap(r->first, r->second);
                                        const bool a = Count(t, q.x1, r->first);
                                        return Count(t, q.x2, r->second) || a;
                                    }));
        print("syst", level,
              Run<SystemKind>(level, sheets, questions, [level](Tally& t, const SystemQuestion& q) {
                  const auto p = SystemExactSolution(level, q);
                  if (!p) return false;
                  const bool a = Count(t, q.x, p->x);
                  return Count(t, q.y, p->y) || a;
              }));
    }
    if (wrong != 0) std::printf("%ld values differ from their exact rounding\n", wrong);
    return wrong == 0 ? 0 : 1;
}
