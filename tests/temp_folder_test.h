// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A fixture with a fresh folder under /tmp, removed afterwards, and whole-file helpers.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace equat {

class TempFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char templ[] = "/tmp/equat-test-XXXXXX";
        ASSERT_NE(::mkdtemp(templ), nullptr);
        dir_ = templ;
    }
    void TearDown() override {
        std::error_code ec;
        namespace fs = std::filesystem;
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(dir_, ec);
    }
    static std::string Slurp(const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void Spit(const std::filesystem::path& p, const std::string& s) {
        std::ofstream(p, std::ios::binary) << s;
    }
    std::filesystem::path dir_;
};

}  // namespace equat
