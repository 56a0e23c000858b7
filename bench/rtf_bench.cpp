// SPDX-License-Identifier: GPL-3.0-or-later
// The RTF reader alone, on generated worksheets.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/kinds.h"
#include "rtf/reader.h"
#include "rtf/writer.h"

namespace {

// A full 40-question answer key and subject of every kind and level.
const std::vector<std::string>& Documents() {
    static const std::vector<std::string> docs = [] {
        std::vector<std::string> d;
        for (std::string_view name : equat::KindNames())
            for (int level = 1; level <= 3; ++level) {
                auto kind = equat::MakeKind(name);
                equat::RandomSource rng(777 + static_cast<std::uint32_t>(level));
                equat::SheetSettings s;
                s.level = level;
                s.count = 40;
                auto sheet = equat::BuildSheet(*kind, rng, s);
                d.push_back(sheet.subject);
                d.push_back(sheet.answerKey);
            }
        return d;
    }();
    return docs;
}

void BM_ReadGenerated(benchmark::State& state) {
    std::int64_t bytes = 0;
    for (auto _ : state) {
        for (const std::string& doc : Documents()) {
            auto d = equat::rtf::ReadRtf(doc);
            benchmark::DoNotOptimize(d);
            bytes += static_cast<std::int64_t>(doc.size());
        }
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_ReadGenerated);

void BM_WriteGenerated(benchmark::State& state) {
    std::vector<equat::rtf::Document> models;
    for (const std::string& doc : Documents()) models.push_back(equat::rtf::ReadRtf(doc));
    std::int64_t bytes = 0;
    for (auto _ : state) {
        for (const auto& m : models) {
            std::string out = equat::rtf::WriteRtf(m);
            bytes += static_cast<std::int64_t>(out.size());
            benchmark::DoNotOptimize(out);
        }
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_WriteGenerated);

}  // namespace
