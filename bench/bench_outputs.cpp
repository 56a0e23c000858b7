// SPDX-License-Identifier: GPL-3.0-or-later
// The exports' cost beside the set itself: 35 copies of a 40-question level-3 systems sheet
// drawn with and without their questions as data, their Moodle bank, and the .odt pair of
// one copy.
#include <benchmark/benchmark.h>

#include "core/classset.h"
#include "outputs/formats.h"

namespace equat {
namespace {

ClassSet DrawSet(bool bodies) {
    ClassSetRequest request;
    request.kind = "syst";
    request.settings.level = 3;
    request.settings.count = 40;
    request.settings.exports.bodies = bodies;
    request.copies = 35;
    RandomSource stream(7);
    return MakeClassSet(request, stream);
}

void BM_SetDrawn(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(DrawSet(state.range(0) != 0));
}
BENCHMARK(BM_SetDrawn)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_MoodleBank(benchmark::State& state) {
    const ClassSet set = DrawSet(true);
    for (auto _ : state) {
        NamedFiles files;
        std::string error;
        MakeFormat(Format(FormatId::Moodle), OutputData{set.copies, set.keyOrder}, {"b.xml"},
                   &files, &error);
        benchmark::DoNotOptimize(files);
    }
}
BENCHMARK(BM_MoodleBank)->Unit(benchmark::kMillisecond);

void BM_OdtPair(benchmark::State& state) {
    const ClassSet set = DrawSet(false);
    for (auto _ : state) {
        NamedFiles files;
        std::string error;
        MakeFormat(Format(FormatId::Odt), OutputData{std::span(set.copies.data(), 1), {}},
                   FormatFiles(Format(FormatId::Odt), "s"), &files, &error);
        benchmark::DoNotOptimize(files);
    }
}
BENCHMARK(BM_OdtPair)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace equat
