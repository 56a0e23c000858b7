// SPDX-License-Identifier: GPL-3.0-or-later
// Reading hostile settings files: one long line and many sections. The time per byte
// should stay flat as the files grow.
#include <benchmark/benchmark.h>

#include <string>

#include "settings/settingsmodel.h"

namespace {

void BM_LongLine(benchmark::State& state) {
    std::string text = "[TForm1]\r\neTitre1_Text=";
    text.append(static_cast<std::size_t>(state.range(0)), 'x');
    for (auto _ : state) {
        const equat::IniDocument doc = equat::IniDocument::Parse(text);
        benchmark::DoNotOptimize(doc.Find("TForm1", "eTitre1_Text"));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_LongLine)->RangeMultiplier(8)->Range(1 << 20, 1 << 26)->Unit(benchmark::kMillisecond);

void BM_ManySectionsRestore(benchmark::State& state) {
    std::string text;
    for (std::int64_t i = 0; i < state.range(0); ++i)
        text += "[s" + std::to_string(i) + "]\r\nk=v\r\n";
    text += "[TForm1]\r\nspMaxLigne_Value=12\r\n";
    for (auto _ : state) {
        const equat::IniDocument doc = equat::IniDocument::Parse(text);
        benchmark::DoNotOptimize(equat::RestoreSettings(doc, {}, {}, {1024, 768, 96}));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ManySectionsRestore)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond);

}  // namespace
