// A 40-question sheet, both documents and the log, at each level. The stream runs on
// from one sheet to the next, so the figure is an average over many different sheets.
#include <benchmark/benchmark.h>

#include "core/equat2d.h"
#include "core/sheet.h"
#include "core/syst.h"

namespace {

template <class Kind>
void BM_Sheet40(benchmark::State& state) {
    Kind kind;
    equat::RandomSource rng(20240601u);
    equat::SheetSettings settings;
    settings.level = static_cast<int>(state.range(0));
    settings.count = 40;
    for (auto _ : state) {
        equat::Sheet sheet = equat::BuildSheet(kind, rng, settings);
        benchmark::DoNotOptimize(sheet.subject.data());
        benchmark::DoNotOptimize(sheet.answerKey.data());
    }
}

BENCHMARK(BM_Sheet40<equat::SecondDegreeKind>)
    ->Name("SecondDegree/40")
    ->ArgName("level")
    ->DenseRange(1, 3);
BENCHMARK(BM_Sheet40<equat::SystemKind>)->Name("Systems/40")->ArgName("level")->DenseRange(1, 3);

}  // namespace
