// SPDX-License-Identifier: GPL-3.0-or-later
// The restore point before a write, the write, its read back and the
// verification, against the simulated module.

#include "session/guarded_write.h"

#include <gtest/gtest.h>

#include <random>

#include "settings_file/file_io.h"
#include "settings_file/settings_overlay.h"
#include "sim/simulated_line.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;

class GuardedWriteTest : public ::testing::Test {
 protected:
  GuardedWriteTest() : session_(port_.Opener(), [this] { return port_.clock().now_ms(); }) {}
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("zelk-guarded-" + std::to_string(std::random_device{}()));
    ASSERT_TRUE(session_.Open("SIM").ok());
    const Result<SettingsValues> read = session_.ReadSettingsBlock();
    ASSERT_TRUE(read.ok());
    as_read_ = read.value.block;
    // A new start mix and the quick-throttle option flipped.
    FileSettings change;
    change.values[kPorcMistura] = 20;
    change.values[kAcelRapidaEn] = !read.value.option(kAcelRapidaEn);
    const AppliedSettings applied = ApplyFileSettings(change, as_read_);
    ASSERT_TRUE(applied.block) << applied.error;
    to_write_ = *applied.block;
    ASSERT_NE(to_write_, as_read_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::size_t Requests() { return port_.module().history().size(); }
  SettingsBlock ModuleBlock() {
    SettingsBlock block;
    const auto& held = port_.module().settings();
    std::copy(held.begin(), held.end(), block.begin());
    return block;
  }

  sim::SimulatedPort port_;
  Session session_;
  fs::path dir_;
  SettingsBlock as_read_{};
  SettingsBlock to_write_{};
};

TEST_F(GuardedWriteTest, SavesTheBlockAsReadThenWritesAndVerifies) {
  RestorePoints points(dir_);
  const GuardedWrite result = WriteWithRestorePoint(session_, points, as_read_, to_write_,
                                                    SaveReason::before_restore, "2.10");
  EXPECT_EQ(result.outcome, WriteOutcome::verified);
  EXPECT_EQ(result.failure(), Failure::none);
  EXPECT_TRUE(SameSettings(ModuleBlock(), to_write_));

  const std::vector<RestorePoint> listed = points.List();
  ASSERT_EQ(listed.size(), 1u);
  ASSERT_TRUE(listed[0].file) << listed[0].error;
  EXPECT_EQ(listed[0].path, *result.restore_point.path);
  EXPECT_EQ(listed[0].file->block, as_read_);
  EXPECT_EQ(listed[0].file->reason, SaveReason::before_restore);
}

TEST_F(GuardedWriteTest, NoRestorePointNothingSent) {
  ASSERT_TRUE(fs::create_directories(dir_));
  ASSERT_TRUE(WriteFileAtomically(dir_ / "plain", "x").ok);
  RestorePoints points(dir_ / "plain" / "restore-points");
  const std::size_t before = Requests();
  const GuardedWrite result = WriteWithRestorePoint(session_, points, as_read_, to_write_,
                                                    SaveReason::before_write, "2.10");
  EXPECT_EQ(result.outcome, WriteOutcome::no_restore_point);
  EXPECT_FALSE(result.restore_point.error.empty());
  EXPECT_EQ(Requests(), before);
  EXPECT_EQ(ModuleBlock(), as_read_);
  EXPECT_EQ(session_.settings_block(), as_read_);
}

TEST_F(GuardedWriteTest, CommunicationFailuresKeepTheRestorePoint) {
  const struct {
    const char* name;
    void (*fault)(sim::FaultModes&);
    WriteOutcome outcome;
    Failure failure;
  } cases[] = {
      {"silent before the write", [](sim::FaultModes& f) { f.silent = true; },
       WriteOutcome::write_failed, Failure::no_reply},
      // Answered: the read of SetUp and the write.
      {"gone after the write", [](sim::FaultModes& f) { f.hangup_after = 2; },
       WriteOutcome::read_back_failed, Failure::port_gone},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    port_.module().faults() = {};
    c.fault(port_.module().faults());
    RestorePoints points(dir_ / c.name);
    const GuardedWrite result = WriteWithRestorePoint(session_, points, as_read_, to_write_,
                                                      SaveReason::before_set, "2.10");
    EXPECT_EQ(result.outcome, c.outcome);
    EXPECT_EQ(result.failure(), c.failure);
    ASSERT_EQ(points.List().size(), 1u);
    EXPECT_EQ(points.List()[0].file->block, as_read_);
  }
}

}  // namespace
}  // namespace zelk
