// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/vehicle_history.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "records_folder.h"
#include "settings_file/file_io.h"
#include "text/utc_time.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;
using std::chrono::minutes;

class VehicleHistoryTest : public testing::RecordsFolderTest {
 protected:
  VehicleHistory History() {
    return VehicleHistory(
        dir_ / "car", [this] { return now_; }, [this] { return ++random_; });
  }
  SettingsFile Settings(std::uint8_t fill, SaveReason reason) {
    SettingsBlock block;
    block.fill(fill);
    return MakeSettingsFile(block, "2.10", UtcTimeText(now_), reason);
  }
  std::uint32_t random_ = 0x9f3a01c0;
};

TEST_F(VehicleHistoryTest, RecordsAreFilesNamedByTimeAndARandomPart) {
  VehicleHistory history = History();
  const AddedRecord note = history.AddNote("Customer reports hard cold start");
  ASSERT_TRUE(note.file) << note.error;
  EXPECT_EQ(note.file->filename(), "2026-12-09T10-15-00.000Z-9f3a01c1.note.json");
  now_ += minutes(1);
  const AddedRecord run =
      history.AddProgramRun({"rpm_lambda", "2026-12-09T10:16:00Z", "2026-12-09T10:18:30Z",
                             ProgramResult::aborted, "2.10"});
  ASSERT_TRUE(run.file) << run.error;
  EXPECT_EQ(run.file->filename(), "2026-12-09T10-16-00.000Z-9f3a01c2.program.json");
}

TEST_F(VehicleHistoryTest, TimelineIsNewestFirstWithEachKind) {
  VehicleHistory history = History();
  ASSERT_TRUE(history.AddSettings(Settings(1, SaveReason::before_write)).file);
  now_ += minutes(1);
  ASSERT_TRUE(history.AddNote("Injector 3 replaced").file);
  now_ += minutes(1);
  ASSERT_TRUE(history.AddProgramRun({"map", "a", "b", ProgramResult::completed, "2.10"}).file);
  now_ += minutes(1);
  // A log written beside them by the logger is listed by its name alone.
  ASSERT_TRUE(
      WriteFileAtomically(dir_ / "car" / "2026-12-09T10-18-00.000Z-00000001.csv", "t\n").ok);
  // Files this history did not name take no part.
  ASSERT_TRUE(WriteFileAtomically(dir_ / "car" / "readme.txt", "x").ok);
  ASSERT_TRUE(WriteFileAtomically(dir_ / "car" / "vehicle.json", "{}").ok);

  const std::vector<HistoryRecord> timeline = history.Timeline();
  ASSERT_EQ(timeline.size(), 4u);
  EXPECT_EQ(timeline[0].kind, RecordKind::log);
  EXPECT_EQ(timeline[0].time, "2026-12-09T10:18:00Z");
  EXPECT_EQ(timeline[1].kind, RecordKind::program_run);
  ASSERT_TRUE(timeline[1].program_run);
  EXPECT_EQ(timeline[1].program_run->program, "map");
  EXPECT_EQ(timeline[1].program_run->result, ProgramResult::completed);
  EXPECT_EQ(timeline[2].kind, RecordKind::note);
  EXPECT_EQ(timeline[2].note, "Injector 3 replaced");
  EXPECT_EQ(timeline[3].kind, RecordKind::settings);
  ASSERT_TRUE(timeline[3].settings);
  EXPECT_EQ(timeline[3].settings->reason, SaveReason::before_write);
  EXPECT_EQ(timeline[3].settings->module_version, "2.10");
  for (const HistoryRecord& record : timeline)
    EXPECT_TRUE(record.damaged.empty()) << record.damaged;
  ASSERT_TRUE(history.NewestTime());
  EXPECT_EQ(history.NewestTime()->time, "2026-12-09T10:18:00Z");
  EXPECT_EQ(history.NewestTime()->order, "2026-12-09T10-18-00.000Z-00000001.csv");
}

TEST_F(VehicleHistoryTest, ConsecutiveIdenticalSettingsAreOne) {
  VehicleHistory history = History();
  const AddedRecord first = history.AddSettings(Settings(1, SaveReason::before_write));
  ASSERT_TRUE(first.file);
  now_ += minutes(5);
  const AddedRecord again = history.AddSettings(Settings(1, SaveReason::before_set));
  EXPECT_TRUE(again.repeated);
  EXPECT_EQ(again.file, first.file);
  now_ += minutes(5);
  ASSERT_FALSE(history.AddSettings(Settings(2, SaveReason::before_write)).repeated);
  now_ += minutes(5);
  // The same as an older one, not the newest: a change back is history too.
  ASSERT_FALSE(history.AddSettings(Settings(1, SaveReason::before_write)).repeated);
  EXPECT_EQ(history.Timeline().size(), 3u);
  ASSERT_TRUE(history.NewestSettings());
  EXPECT_EQ(history.NewestSettings()->settings->block->front(), 1);
}

TEST_F(VehicleHistoryTest, DamagedRecordsAreListedAndKept) {
  VehicleHistory history = History();
  ASSERT_TRUE(history.AddSettings(Settings(7, SaveReason::backup)).file);
  now_ += minutes(1);
  const AddedRecord newest = history.AddSettings(Settings(8, SaveReason::backup));
  ASSERT_TRUE(newest.file);
  now_ += minutes(1);
  const AddedRecord note = history.AddNote("fine");
  ASSERT_TRUE(note.file);
  ASSERT_TRUE(WriteFileAtomically(*newest.file, "{ broken").ok);
  ASSERT_TRUE(WriteFileAtomically(*note.file, "{\"format\": \"zelk-note\"}").ok);

  const std::vector<HistoryRecord> timeline = history.Timeline();
  ASSERT_EQ(timeline.size(), 3u);
  EXPECT_FALSE(timeline[0].damaged.empty());
  EXPECT_FALSE(timeline[1].damaged.empty());
  EXPECT_FALSE(timeline[1].settings);
  EXPECT_TRUE(timeline[2].damaged.empty());
  // The newest that reads is the one before the damaged one; the damaged
  // file stays where it is.
  ASSERT_TRUE(history.NewestSettings());
  EXPECT_EQ(history.NewestSettings()->settings->block->front(), 7);
  EXPECT_TRUE(fs::exists(*newest.file));
}

TEST_F(VehicleHistoryTest, ATakenNameIsTriedAgainWithAnotherRandomPart) {
  VehicleHistory history = History();
  ASSERT_TRUE(fs::create_directories(dir_ / "car"));
  ASSERT_TRUE(
      WriteFileAtomically(dir_ / "car" / "2026-12-09T10-15-00.000Z-9f3a01c1.note.json", "{}").ok);
  const AddedRecord note = history.AddNote("second");
  ASSERT_TRUE(note.file) << note.error;
  EXPECT_EQ(note.file->filename(), "2026-12-09T10-15-00.000Z-9f3a01c2.note.json");
}

TEST_F(VehicleHistoryTest, AnUnwritableFolderSaysWhy) {
  ASSERT_TRUE(WriteFileAtomically(dir_ / "car", "a file where the folder should be").ok);
  const AddedRecord note = History().AddNote("x");
  EXPECT_FALSE(note.file);
  EXPECT_FALSE(note.error.empty());
  std::string error;
  EXPECT_TRUE(History().NewLogPath(error).empty());
  EXPECT_FALSE(error.empty());
}

TEST_F(VehicleHistoryTest, ALogStartedInTheHistoryIsOneOfItsRecords) {
  VehicleHistory history = History();
  std::string error;
  const fs::path log = history.NewLogPath(error);
  ASSERT_FALSE(log.empty()) << error;
  EXPECT_EQ(log, dir_ / "car" / "2026-12-09T10-15-00.000Z-9f3a01c1.csv");
  ASSERT_TRUE(WriteFileAtomically(log, "time\n").ok);
  const std::vector<HistoryRecord> timeline = history.Timeline();
  ASSERT_EQ(timeline.size(), 1u);
  EXPECT_EQ(timeline[0].kind, RecordKind::log);
  EXPECT_EQ(timeline[0].file, log);
  EXPECT_EQ(timeline[0].time, "2026-12-09T10:15:00Z");
}

}  // namespace
}  // namespace zelk
