// SPDX-License-Identifier: GPL-3.0-or-later
// A 40-question sheet, both documents and the log, at each level. The stream runs on
// from one sheet to the next, so the figure is an average over many different sheets.
// KeyStyle/* sets the decimal answer key of each kind beside the exact and detailed ones.
#include <benchmark/benchmark.h>

#include "core/equat1d.h"
#include "core/equat2d.h"
#include "core/kinds.h"
#include "core/sheet.h"
#include "core/syst.h"

namespace {

using equat::KeyStyle;

template <class Kind, KeyStyle style = KeyStyle::Decimal>
void BM_Sheet40(benchmark::State& state) {
    Kind kind;
    equat::RandomSource rng(20240601u);
    equat::SheetSettings settings;
    settings.level = static_cast<int>(state.range(0));
    settings.count = 40;
    settings.keyStyle = style;
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

#define EQUAT_KEY_STYLES(Kind, name)                \
    BENCHMARK(BM_Sheet40<Kind, KeyStyle::Decimal>)  \
        ->Name("KeyStyle/" name "/decimal")         \
        ->ArgName("level")                          \
        ->DenseRange(1, 3)                          \
        ->Unit(benchmark::kMicrosecond);            \
    BENCHMARK(BM_Sheet40<Kind, KeyStyle::Exact>)    \
        ->Name("KeyStyle/" name "/exact")           \
        ->ArgName("level")                          \
        ->DenseRange(1, 3)                          \
        ->Unit(benchmark::kMicrosecond);            \
    BENCHMARK(BM_Sheet40<Kind, KeyStyle::Detailed>) \
        ->Name("KeyStyle/" name "/detailed")        \
        ->ArgName("level")                          \
        ->DenseRange(1, 3)                          \
        ->Unit(benchmark::kMicrosecond)

EQUAT_KEY_STYLES(equat::FirstDegreeKind, "1d");
EQUAT_KEY_STYLES(equat::SecondDegreeKind, "2d");
EQUAT_KEY_STYLES(equat::SystemKind, "syst");

}  // namespace

namespace {

// A 40-question sheet with every case and integer solutions beside the default one of the
// same kind and level: kind 0..2, level 1..3. The draw choices should cost at most twice.
void BM_Chosen40(benchmark::State& state, bool chosen) {
    const auto kind = static_cast<std::size_t>(state.range(0));
    equat::SheetSettings settings;
    settings.level = static_cast<int>(state.range(1));
    settings.count = 40;
    if (chosen) {
        settings.draw.everyCase = true;
        settings.draw.solutions = equat::Solutions::Integer;
    }
    const auto questions = equat::MakeSheetKind(equat::kSheetKinds[kind].name, settings.draw);
    equat::RandomSource rng(20240601u);
    for (auto _ : state) {
        equat::Sheet sheet = equat::BuildSheet(*questions, rng, settings);
        benchmark::DoNotOptimize(sheet.answerKey.data());
    }
}

BENCHMARK_CAPTURE(BM_Chosen40, default, false)
    ->ArgNames({"kind", "level"})
    ->ArgsProduct({{0, 1, 2}, {1, 2, 3}})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Chosen40, every_case_integer, true)
    ->ArgNames({"kind", "level"})
    ->ArgsProduct({{0, 1, 2}, {1, 2, 3}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
