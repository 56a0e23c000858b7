// SPDX-License-Identifier: GPL-3.0-or-later
// Replays saved inputs through a fuzz target without libFuzzer, so that every build (and
// every compiler) runs the seed corpus and each crash input ever found.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    std::vector<fs::path> inputs;
    for (int k = 1; k < argc; ++k) {
        std::error_code ec;
        if (fs::is_regular_file(argv[k], ec)) inputs.emplace_back(argv[k]);
        if (!fs::is_directory(argv[k], ec)) continue;  // a folder not made yet holds nothing
        for (const auto& entry : fs::recursive_directory_iterator(argv[k], ec))
            if (entry.is_regular_file()) inputs.push_back(entry.path());
    }
    std::sort(inputs.begin(), inputs.end());
    for (const fs::path& input : inputs) {
        std::fprintf(stderr, "replay: %s\n", input.c_str());
        std::ifstream in(input, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), {});
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    std::printf("replayed %zu inputs\n", inputs.size());
    return inputs.empty() ? 1 : 0;
}
