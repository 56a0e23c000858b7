// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Golden files: bytes that a test must produce forever, kept in tests/data/golden. A
// mismatch names the first paragraph that differs. With EQUAT_UPDATE_GOLDEN=1 in the
// environment, the files are written anew instead (check the change with git diff).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace equat::testing {

// Pieces of an RTF document or a log, each ending at a paragraph mark or a line end.
inline std::vector<std::string> GoldenPieces(std::string_view bytes) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const bool par = bytes.substr(i, 5) == "\\par ";
        if (par || bytes[i] == '\n') {
            const std::size_t end = par ? i + 5 : i + 1;
            out.emplace_back(bytes.substr(start, end - start));
            start = end;
            i = end - 1;
        }
    }
    if (start < bytes.size()) out.emplace_back(bytes.substr(start));
    return out;
}

inline ::testing::AssertionResult MatchesGolden(const std::string& name, const std::string& bytes) {
    const std::string path = std::string(EQUAT_TEST_DATA) + "/golden/" + name;
    const char* update = std::getenv("EQUAT_UPDATE_GOLDEN");
    if (update && std::string_view(update) == "1") {
        std::ofstream(path, std::ios::binary) << bytes;
        return ::testing::AssertionSuccess() << "written " << path;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) return ::testing::AssertionFailure() << "no golden file " << path;
    std::ostringstream s;
    s << in.rdbuf();
    const std::string expected = s.str();
    if (expected == bytes) return ::testing::AssertionSuccess();
    const auto want = GoldenPieces(expected), got = GoldenPieces(bytes);
    std::size_t i = 0;
    while (i < want.size() && i < got.size() && want[i] == got[i]) ++i;
    auto failure = ::testing::AssertionFailure();
    failure << name << " differs from its golden file at paragraph " << i + 1 << " of "
            << want.size() << " (now " << got.size()
            << ")\n  golden: " << (i < want.size() ? want[i] : "(end)")
            << "\n     now: " << (i < got.size() ? got[i] : "(end)")
            << "\nIf the change is meant, run the test with EQUAT_UPDATE_GOLDEN=1.";
    return failure;
}

}  // namespace equat::testing
