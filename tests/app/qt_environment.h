// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One QApplication for the whole test executable: widgets need it, and Qt allows one.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace equat::test {

class QtEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "equat-test";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { app_.reset(); }

  private:
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] inline const auto* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace equat::test
