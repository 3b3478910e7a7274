// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/assign_restore_points.h"

#include <gtest/gtest.h>

#include <random>

#include "records/vehicle_history.h"
#include "session/restore_points.h"
#include "settings_file/file_io.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;
using std::chrono::system_clock;

// 2026-12-09 10:15:00 UTC.
const system_clock::time_point kMorning =
    system_clock::time_point(std::chrono::seconds(1796811300));

class AssignRestorePointsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("zelk-assign-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path Save(std::uint8_t fill) {
    SettingsBlock block;
    block.fill(fill);
    const SavedRestorePoint saved = RestorePoints(dir_ / "restore-points", [this] {
                                      return now_;
                                    }).Save(block, "2.10", SaveReason::before_write);
    EXPECT_TRUE(saved.path) << saved.error;
    now_ += std::chrono::hours(1);
    return saved.path.value_or(fs::path());
  }

  fs::path dir_;
  system_clock::time_point now_ = kMorning;
};

TEST_F(AssignRestorePointsTest, PointsMoveIntoTheVehicleAtTheTimeTheyWereSaved) {
  const fs::path first = Save(1);
  const fs::path second = Save(2);
  const AssignedRestorePoints outcome = AssignRestorePoints({first, second}, dir_ / "car");
  EXPECT_EQ(outcome.assigned, 2u);
  EXPECT_TRUE(outcome.refused.empty());
  EXPECT_TRUE(RestorePoints(dir_ / "restore-points").List().empty());
  const std::vector<HistoryRecord> timeline = VehicleHistory(dir_ / "car").Timeline();
  ASSERT_EQ(timeline.size(), 2u);
  EXPECT_EQ(timeline[0].time, "2026-12-09T11:15:00Z");
  EXPECT_EQ(timeline[1].time, "2026-12-09T10:15:00Z");
  EXPECT_EQ((*timeline[0].settings->block)[0], 2);
  EXPECT_EQ(timeline[1].settings->reason, SaveReason::before_write);
}

TEST_F(AssignRestorePointsTest, APointThatDoesNotReadStaysWhereItIs) {
  const fs::path good = Save(1);
  const fs::path damaged = dir_ / "restore-points" / "00000009-2026-12-09T12-00-00.000Z.zelk";
  ASSERT_TRUE(WriteFileAtomically(damaged, "{ broken").ok);
  const fs::path missing = dir_ / "restore-points" / "00000010-2026-12-09T12-00-00.000Z.zelk";
  const AssignedRestorePoints outcome = AssignRestorePoints({damaged, missing, good}, dir_ / "car");
  EXPECT_EQ(outcome.assigned, 1u);
  ASSERT_EQ(outcome.refused.size(), 2u);
  EXPECT_TRUE(outcome.refused[0].starts_with(damaged.filename().string() + ": "));
  EXPECT_TRUE(fs::exists(damaged));
  EXPECT_FALSE(fs::exists(good));
  EXPECT_EQ(VehicleHistory(dir_ / "car").Timeline().size(), 1u);
}

TEST_F(AssignRestorePointsTest, AVehicleThatCannotBeWrittenKeepsThePoint) {
  const fs::path point = Save(1);
  ASSERT_TRUE(WriteFileAtomically(dir_ / "car", "a file where the folder should be").ok);
  const AssignedRestorePoints outcome = AssignRestorePoints({point}, dir_ / "car");
  EXPECT_EQ(outcome.assigned, 0u);
  ASSERT_EQ(outcome.refused.size(), 1u);
  EXPECT_TRUE(fs::exists(point));
}

}  // namespace
}  // namespace zelk
