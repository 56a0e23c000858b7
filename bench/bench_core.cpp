// SPDX-License-Identifier: GPL-3.0-or-later
// One 40-question first-degree sheet (both documents) per level, and the markup converter.
#include <benchmark/benchmark.h>

#include "core/equat1d.h"
#include "core/markup.h"

using namespace equat;

static void BM_FirstDegreeSheet(benchmark::State& state) {
    FirstDegreeKind kind;
    RandomSource rng(42);
    SheetSettings s;
    s.level = static_cast<int>(state.range(0));
    s.count = 40;
    for (auto _ : state) {
        Sheet sheet = BuildSheet(kind, rng, s);
        benchmark::DoNotOptimize(sheet);
    }
}
BENCHMARK(BM_FirstDegreeSheet)->DenseRange(1, 3)->Unit(benchmark::kMicrosecond);

static void BM_MarkupToRtf(benchmark::State& state) {
    std::string text;
    for (int k = 0; k < 200; ++k)
        text +=
            "<cf=jaune><times><i><te=26> x <te=18></i><arial> = 12.5 <cf=auto>"
            "<b>Titre</b> \xE9l\xE8ve <sup>2</sup><unknown> {\\i brut}<br>";
    for (auto _ : state) benchmark::DoNotOptimize(MarkupToRtf(text));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_MarkupToRtf);
