// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A fresh folder for one test, removed afterwards, and a clock the test moves.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <string>

namespace zelk::testing {

class RecordsFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("zelk-records-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  // 2026-12-09 10:15:00 UTC.
  std::chrono::system_clock::time_point now_{std::chrono::seconds(1796811300)};
  std::filesystem::path dir_;
};

}  // namespace zelk::testing
