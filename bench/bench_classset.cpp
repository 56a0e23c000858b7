// SPDX-License-Identifier: GPL-3.0-or-later
// A class set: 35 copies of a 40-question level-3 systems sheet with their keys, collated
// into two PDFs by equat-sheet, side by side in the same iteration with LibreOffice
// converting one RTF pair of that sheet. The counters give both times and their ratio.
// And one sheet's pair with its PDFs, the run as a teacher makes it: its processor time.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include "tool_runs.h"

namespace {

using equat::bench::RunMs;

void BM_ClassSetAgainstOnePair(benchmark::State& state) {
    QTemporaryDir dir;
    const QStringList sheet = {"--kind", "syst", "--level", "3", "--count", "40", "--seed", "7"};
    const QStringList set = sheet + QStringList{"--sheets", "35", "--collate", "classe.pdf"};
    bool ok = false;
    RunMs(EQUAT_SHEET_TOOL, sheet + QStringList{"--output", "pair"}, dir.path(), &ok);
    equat::bench::Soffice soffice;
    if (!ok || !soffice.Ready(dir.path(), {"pair.rtf", "pair_Cor.rtf"})) {
        state.SkipWithError("equat-sheet or soffice failed (is soffice installed?)");
        return;
    }
    double ours = 0, theirs = 0;
    for (auto _ : state) {
        ours += RunMs(EQUAT_SHEET_TOOL, set, dir.path(), &ok);
        if (!ok) state.SkipWithError("equat-sheet --collate failed");
        theirs += soffice.Run(dir.path(), &ok);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["set_35_copies_ms"] = ours / n;
    state.counters["soffice_one_pair_ms"] = theirs / n;
    state.counters["pair_time_over_set_time"] = theirs / ours;
}
BENCHMARK(BM_ClassSetAgainstOnePair)->Iterations(5)->Unit(benchmark::kMillisecond);

// Start-up weighs as much as the work here: the libraries loaded, the fonts, two documents.
void BM_PdfPairCpu(benchmark::State& state) {
    QTemporaryDir dir;
    const QStringList pair = {"--kind", "syst", "--level", "3",        "--count", "40",
                              "--seed", "1",    "--pdf",   "--output", "pair"};
    bool ok = false;
    double wall = 0;
    const double before = equat::bench::ChildrenCpuMs();
    for (auto _ : state) {
        wall += RunMs(EQUAT_SHEET_TOOL, pair, dir.path(), &ok);
        if (!ok) state.SkipWithError("equat-sheet --pdf failed");
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["cpu_ms"] = (equat::bench::ChildrenCpuMs() - before) / n;
    state.counters["wall_ms"] = wall / n;
}
BENCHMARK(BM_PdfPairCpu)->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
