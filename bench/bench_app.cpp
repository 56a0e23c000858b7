// SPDX-License-Identifier: GPL-3.0-or-later
// The window: process start to the window first painted (the benchmark starts itself again as
// a child that runs the program's start-up path), and a generator click to both documents
// loaded and laid out, 40 questions.
// Runs on the platform QT_QPA_PLATFORM names (offscreen when unset).
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QPushButton>
#include <QSlider>
#include <QTextDocument>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "app/run.h"
#include "app/uequat.h"
#include "app/widgets.h"
#include "core/kinds.h"
#include "platform/richedit.h"
#include "qt_bench_main.h"

extern char** environ;

namespace {

constexpr const char* kChildFlag = "--start-child";
char* g_self = nullptr;

// Child: the program's own start-up; one byte on stdout at the first paint, then quit.
int RunChild(int argc, char** argv) {
    return equat::RunEquat(argc, argv, [] {
        const char done = '1';
        [[maybe_unused]] auto n = ::write(STDOUT_FILENO, &done, 1);
        QCoreApplication::quit();
    });
}

void BM_StartToFirstPaint(benchmark::State& state) {
    for (auto _ : state) {
        int fds[2];
        if (::pipe(fds) != 0) {
            state.SkipWithError("pipe");
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        char* args[] = {g_self, const_cast<char*>(kChildFlag), nullptr};
        const auto start = std::chrono::steady_clock::now();
        pid_t pid = 0;
        const int rc = posix_spawn(&pid, g_self, &actions, nullptr, args, environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(fds[1]);
        char byte = 0;
        const bool painted = rc == 0 && ::read(fds[0], &byte, 1) == 1;
        const auto end = std::chrono::steady_clock::now();
        ::close(fds[0]);
        int status = 0;
        if (rc == 0) ::waitpid(pid, &status, 0);
        if (!painted) {
            state.SkipWithError("the child never painted its window");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}
BENCHMARK(BM_StartToFirstPaint)->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);

void BM_GenerateAndLayOut(benchmark::State& state) {
    const auto names = equat::KindNames();
    const auto kind = static_cast<std::size_t>(state.range(0));
    if (kind >= names.size()) {
        state.SkipWithError("kind not built yet");
        return;
    }
    equat::TForm1 form;
    form.show();
    QApplication::setActiveWindow(&form);
    QApplication::processEvents();
    form.spMaxLigne->setValue(40);
    form.trbNiveau->setValue(static_cast<int>(state.range(1)));
    QPushButton* button = names[kind] == "1d"   ? form.btnEquat1d
                          : names[kind] == "2d" ? form.btnEquat2d
                                                : form.btnSyst;
    for (auto _ : state) {
        button->click();
        for (auto* area : {form.RxE1, form.RxE2})
            benchmark::DoNotOptimize(area->document()->documentLayout()->documentSize());
    }
    state.SetLabel(std::string(names[kind]));
}
BENCHMARK(BM_GenerateAndLayOut)->ArgsProduct({{0, 1, 2}, {1, 2, 3}})->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    g_self = argv[0];
    if (argc > 1 && std::strcmp(argv[1], kChildFlag) == 0) return RunChild(argc, argv);
    return RunQtBenchmarks(argc, argv);
}
