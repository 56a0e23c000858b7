// SPDX-License-Identifier: GPL-3.0-or-later
// Loading a 40-question answer key into the rich-text control's QTextDocument, and a
// detailed key from generation to laid out in the control.
#include <benchmark/benchmark.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QTextCursor>
#include <QTextDocument>

#include "core/kinds.h"
#include "platform/richedit.h"
#include "platform/rtfqt.h"
#include "rtf/reader.h"

namespace {

equat::SheetSettings Level3Sheet(equat::KeyStyle style) {
    equat::SheetSettings s;
    s.level = 3;
    s.count = 40;
    s.keyStyle = style;
    return s;
}

std::string AnswerKey(std::string_view kindName) {
    auto kind = equat::MakeKind(kindName);
    equat::RandomSource rng(99);
    return equat::BuildSheet(*kind, rng, Level3Sheet(equat::KeyStyle::Decimal)).answerKey;
}

QApplication& App() {
    static int argc = 1;
    static char name[] = "bench_richedit";
    static char* argv[] = {name, nullptr};
    // Never destroyed: Qt's input devices must not outlive it at exit.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// Read and build the QTextDocument: what LoadRtfDocument does before the repaint.
void BM_KeyIntoQTextDocument(benchmark::State& state, std::string_view kind) {
    App();
    const std::string rtf = AnswerKey(kind);
    for (auto _ : state) {
        QTextDocument doc;
        QTextCursor c(&doc);
        c.beginEditBlock();
        equat::InsertDocument(c, equat::rtf::ReadRtf(rtf));
        c.endEditBlock();
        benchmark::DoNotOptimize(doc.characterCount());
    }
}
BENCHMARK_CAPTURE(BM_KeyIntoQTextDocument, 1d, "1d")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_KeyIntoQTextDocument, 2d, "2d")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_KeyIntoQTextDocument, syst, "syst")->Unit(benchmark::kMillisecond);

// The whole load into a control, with its change signal and one pass of pending events.
void BM_LoadRtfDocument(benchmark::State& state) {
    App();
    const std::string rtf = AnswerKey("syst");
    equat::RichEdit edit;
    for (auto _ : state) {
        edit.Clear();
        edit.LoadRtfDocument(rtf);
    }
}
BENCHMARK(BM_LoadRtfDocument)->Unit(benchmark::kMillisecond);

// A detailed key as the window makes it: generated, loaded into a shown control the size
// of the key's area, and laid out.
void BM_DetailedKeyToLayout(benchmark::State& state, std::string_view kindName) {
    App();
    auto kind = equat::MakeKind(kindName);
    equat::RandomSource rng(99);
    const equat::SheetSettings settings = Level3Sheet(equat::KeyStyle::Detailed);
    equat::RichEdit edit;
    edit.resize(790, 141);
    edit.show();
    for (auto _ : state) {
        const std::string key = equat::BuildSheet(*kind, rng, settings).answerKey;
        edit.Clear();
        edit.LoadRtfDocument(key);
        benchmark::DoNotOptimize(edit.document()->documentLayout()->documentSize());
    }
}
BENCHMARK_CAPTURE(BM_DetailedKeyToLayout, 1d, "1d")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DetailedKeyToLayout, 2d, "2d")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DetailedKeyToLayout, syst, "syst")->Unit(benchmark::kMillisecond);

}  // namespace
