// SPDX-License-Identifier: GPL-3.0-or-later
// Codes handed out by this version must rebuild the same documents in every later version.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "core/sheetcode.h"
#include "sha256.h"

using namespace equat;

// Each line: a code, then the SHA-256 of the subject and of the answer key it rebuilds with
// the window's design texts. The code carries its key style, so the file takes codes of
// every style.
TEST(GoldenCodes, RebuildTheSameDocuments) {
    std::ifstream in(std::string(EQUAT_TEST_DATA) + "/sheetcodes.txt");
    ASSERT_TRUE(in) << "tests/data/sheetcodes.txt is missing";
    std::string line;
    int checked = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string text, subjectHash, keyHash;
        fields >> text >> subjectHash >> keyHash;
        std::string error;
        const auto code = DecodeSheetCode(text, &error);
        ASSERT_TRUE(code) << text << ": " << error;
        const Sheet sheet = BuildSheetFromCode(*code, SheetSettings{});
        EXPECT_EQ(Sha256Hex(sheet.subject), subjectHash) << text << " (subject)";
        EXPECT_EQ(Sha256Hex(sheet.answerKey), keyHash) << text << " (answer key)";
        ++checked;
    }
    EXPECT_GE(checked, 300);
}
