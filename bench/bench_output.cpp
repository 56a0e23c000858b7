// SPDX-License-Identifier: GPL-3.0-or-later
// Output: the preview's two page images written, read back and drawn at the preview's size
// (40 questions, the layout made afresh and cached); and a 40-question pair to PDF with
// equat-sheet --pdf, side by side with LibreOffice converting the same RTF pair.
// Runs on the platform QT_QPA_PLATFORM names (offscreen when unset).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <memory>

#include "app/preview.h"
#include "core/kinds.h"
#include "core/random.h"
#include "core/sheet.h"
#include "platform/pageimages.h"
#include "platform/paginator.h"
#include "platform/printing.h"
#include "platform/richedit.h"
#include "qt_bench_main.h"
#include "tool_runs.h"

namespace {

using equat::bench::RunMs;

equat::Sheet FortyQuestions() {
    equat::RandomSource rng;
    rng.setSeed(2024);
    equat::SheetSettings settings;
    settings.count = 40;
    settings.interline = 3;
    return equat::BuildSheet(*equat::MakeKind("1d"), rng, settings);
}

// RichEditToEMF for the subject, then both images loaded and drawn at 420 x 594.
void PreviewOnce(equat::RichEdit& edit, const QString& folder, equat::PageImage (&images)[2],
                 QImage& canvas) {
    equat::RichEditToEMF(edit.Pages(), folder + "/Temp", equat::CurrentPrinter());
    for (int k = 0; k < 2; ++k) {
        images[k].Load(QString("%1/Temp%2.EMF").arg(folder).arg(k));
        images[k].render(&canvas, QPoint(0, 0));
    }
}

void BM_PreviewTwoPages(benchmark::State& state) {
    const bool fresh = state.range(0) != 0;
    const equat::Sheet sheet = FortyQuestions();
    equat::RichEdit edit;
    edit.LoadRtfDocument(sheet.subject);
    QTemporaryDir dir;
    equat::PageImage images[2];
    for (auto& i : images) i.resize(420, 594);
    QImage canvas(420, 594, QImage::Format_ARGB32_Premultiplied);
    PreviewOnce(edit, dir.path(), images, canvas);
    for (auto _ : state) {
        if (fresh) {
            // A new sheet: the page layout is made again.
            state.PauseTiming();
            edit.Clear();
            edit.LoadRtfDocument(sheet.subject);
            state.ResumeTiming();
        }
        PreviewOnce(edit, dir.path(), images, canvas);
    }
    state.SetLabel(fresh ? "after a new sheet" : "same sheet again");
}
BENCHMARK(BM_PreviewTwoPages)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// Both tools in the same iteration, on the same pair; the counters give their times and how
// many times faster equat-sheet is.
void BM_PairToPdfSideBySide(benchmark::State& state) {
    QTemporaryDir dir;
    const QStringList sheetArgs = {"--kind", "1d",    "--count",  "40",  "--seed",
                                   "7",      "--pdf", "--output", "ours"};
    bool ok = false;
    RunMs(EQUAT_SHEET_TOOL, sheetArgs, dir.path(), &ok);
    if (!ok) {
        state.SkipWithError("equat-sheet --pdf failed");
        return;
    }
    equat::bench::Soffice soffice;
    if (!soffice.Ready(dir.path(), {"ours.rtf", "ours_Cor.rtf"})) {
        state.SkipWithError("soffice is not installed or --convert-to pdf failed");
        return;
    }
    double ours = 0, theirs = 0;
    for (auto _ : state) {
        ours += RunMs(EQUAT_SHEET_TOOL, sheetArgs, dir.path(), &ok);
        theirs += soffice.Run(dir.path(), &ok);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["equat_sheet_ms"] = ours / n;
    state.counters["soffice_ms"] = theirs / n;
    state.counters["times_faster"] = theirs / ours;
}
BENCHMARK(BM_PairToPdfSideBySide)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return RunQtBenchmarks(argc, argv);
}
