// SPDX-License-Identifier: GPL-3.0-or-later
// Soak: 10,000 generations of mixed kinds, levels and lengths in one window, with a preview
// every 100, as a teacher's long session would. Reports the resident memory once the window
// has warmed up and at the end (a leak shows as growth), and the slowest generation.
// Runs offscreen unless QT_QPA_PLATFORM says otherwise; the preview's page files go to a
// temporary folder.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTextDocument>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "app/uequat.h"
#include "app/widgets.h"
#include "core/random.h"
#include "platform/richedit.h"
#include "qt_bench_main.h"
#include "settings/formstorage.h"

namespace {

// Freed memory goes back to the system first, so that the figure is memory in use, not the
// allocator's high-water mark.
double ResidentMiB() {
    ::malloc_trim(0);
    long pages = 0, resident = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) /
           (1024.0 * 1024.0);
}

// One generation with settings drawn from rng; returns its time in milliseconds.
double Generate(equat::TForm1& form, equat::RandomSource& rng) {
    QPushButton* buttons[] = {form.btnEquat1d, form.btnEquat2d, form.btnSyst};
    form.trbNiveau->setValue(1 + rng.RandomInt(3));
    form.spMaxLigne->setValue(1 + rng.RandomInt(40));
    form.spinterligne->setValue(rng.RandomInt(11));
    const auto start = std::chrono::steady_clock::now();
    buttons[rng.RandomInt(3)]->click();
    for (auto* area : {form.RxE1, form.RxE2})
        benchmark::DoNotOptimize(area->document()->documentLayout()->documentSize());
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

void BM_Soak(benchmark::State& state) {
    const int generations = static_cast<int>(state.range(0));
    QTemporaryDir dir;
    const QString home = QDir::currentPath();
    QDir::setCurrent(dir.path());
    equat::RandomSource rng;
    rng.setSeed(20240601);
    for (auto _ : state) {
        equat::TForm1 form;
        form.FormStorage1->SetIniFileName(QString());  // no settings read or written
        form.show();
        QApplication::setActiveWindow(&form);
        QApplication::processEvents();
        // Warm-up: the largest sheet of every kind and a preview, so that fonts, caches and
        // the documents' largest sizes are in place before the first figure.
        for (QPushButton* button : {form.btnEquat1d, form.btnEquat2d, form.btnSyst}) {
            form.trbNiveau->setValue(3);
            form.spMaxLigne->setValue(40);
            form.spinterligne->setValue(10);
            button->click();
        }
        for (int k = 0; k < 30; ++k) Generate(form, rng);
        form.btnApercu->click();
        QApplication::processEvents();
        const double before = ResidentMiB();
        double slowest = 0, total = 0;
        for (int k = 1; k <= generations; ++k) {
            const double ms = Generate(form, rng);
            slowest = std::max(slowest, ms);
            total += ms;
            if (k == generations / 2) state.counters["rss_half_MiB"] = ResidentMiB();
            if (k % 100 == 0) {
                form.btnApercu->click();
                QApplication::processEvents();
            }
        }
        const double after = ResidentMiB();
        state.counters["rss_start_MiB"] = before;
        state.counters["rss_end_MiB"] = after;
        state.counters["rss_growth_MiB"] = after - before;
        state.counters["slowest_ms"] = slowest;
        state.counters["mean_ms"] = total / generations;
        form.close();
    }
    QDir::setCurrent(home);
}
BENCHMARK(BM_Soak)->Arg(10000)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    return RunQtBenchmarks(argc, argv);
}
