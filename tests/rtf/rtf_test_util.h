#pragma once
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/kinds.h"
#include "core/random.h"
#include "core/sheet.h"

namespace equat::rtf::test {

inline std::string ReadDataFile(const std::string& name) {
    std::ifstream in(std::string(EQUAT_TEST_DATA) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Generated {
    std::string name;  // kind, level, subject or key: "1d_N2_Cor"
    std::string rtf;
};

// Both documents of a full sheet for every kind and level the core offers.
inline std::vector<Generated> GeneratedDocuments(int count = 40, std::uint32_t seed = 4242) {
    std::vector<Generated> docs;
    for (std::string_view kindName : KindNames()) {
        for (int level = 1; level <= 3; ++level) {
            auto kind = MakeKind(kindName);
            RandomSource rng(seed + static_cast<std::uint32_t>(level));
            SheetSettings settings;
            settings.level = level;
            settings.count = count;
            Sheet sheet = BuildSheet(*kind, rng, settings);
            const std::string base = std::string(kindName) + "_N" + std::to_string(level);
            docs.push_back({base, std::move(sheet.subject)});
            docs.push_back({base + "_Cor", std::move(sheet.answerKey)});
        }
    }
    return docs;
}

}  // namespace equat::rtf::test
