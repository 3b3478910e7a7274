// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/commissioning.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "records/vehicle_history.h"
#include "records_folder.h"
#include "settings_file/file_io.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;

SensorCheckRecord FullSensorCheck() {
  SensorCheckRecord check;
  check.stats.seconds = 42.5;
  check.stats.samples = 85;
  check.stats.failures = 2;
  check.stats.ranges = {MeasuredRange{85, 78.5, 92.25}, MeasuredRange{84, 0.35, 1.2},
                        MeasuredRange{83, 100, 850}, MeasuredRange{0, 0, 0}};
  check.stats.lambda_threshold_mv = 450;
  check.stats.lambda_crossings = 17;
  check.ticks = {SensorTick{true, ""}, SensorTick{true, ""}, SensorTick{false, "sensor unplugged"},
                 SensorTick{true, ""}};
  return check;
}

CommissioningRecord SensorStep() {
  CommissioningRecord record;
  record.commissioning = "2026-12-09T10:00:00Z";
  record.step = CommissioningStep::sensors;
  record.outcome = StepOutcome::done;
  record.time = "2026-12-09T10:12:30Z";
  record.module_version = "2.10";
  record.technician = "Ana";
  record.sensors = FullSensorCheck();
  return record;
}

TEST(CommissioningRecord, ASkippedStepAsWritten) {
  CommissioningRecord record;
  record.commissioning = "2026-12-09T10:00:00Z";
  record.step = CommissioningStep::rpm_lambda;
  record.outcome = StepOutcome::skipped;
  record.time = "2026-12-09T10:20:00Z";
  record.reason = "no oxygen sensor fitted";
  record.module_version = "2.10";
  record.technician = "Ana";
  EXPECT_EQ(EncodeCommissioningRecord(record), R"({
  "format": "zelk-commissioning",
  "commissioning": "2026-12-09T10:00:00Z",
  "step": "rpm_lambda",
  "outcome": "skipped",
  "time": "2026-12-09T10:20:00Z",
  "reason": "no oxygen sensor fitted",
  "module_version": "2.10",
  "technician": "Ana"
}
)");
}

TEST(CommissioningRecord, ReadsBackEveryField) {
  const CommissioningRecord written = SensorStep();
  const DecodedCommissioningRecord read =
      DecodeCommissioningRecord(EncodeCommissioningRecord(written));
  ASSERT_TRUE(read.record) << read.error;
  const CommissioningRecord& r = *read.record;
  EXPECT_EQ(r.commissioning, written.commissioning);
  EXPECT_EQ(r.step, CommissioningStep::sensors);
  EXPECT_EQ(r.outcome, StepOutcome::done);
  EXPECT_EQ(r.time, written.time);
  EXPECT_EQ(r.reason, "");
  EXPECT_EQ(r.module_version, "2.10");
  EXPECT_EQ(r.technician, "Ana");
  ASSERT_TRUE(r.sensors);
  const SensorStats& stats = r.sensors->stats;
  EXPECT_DOUBLE_EQ(stats.seconds, 42.5);
  EXPECT_EQ(stats.samples, 85);
  EXPECT_EQ(stats.failures, 2);
  EXPECT_EQ(stats.lambda_threshold_mv, 450);
  EXPECT_EQ(stats.lambda_crossings, 17);
  for (std::size_t i = 0; i < kSensorMeasureCount; ++i) {
    EXPECT_EQ(stats.ranges[i].samples, written.sensors->stats.ranges[i].samples) << i;
    EXPECT_DOUBLE_EQ(stats.ranges[i].min, written.sensors->stats.ranges[i].min) << i;
    EXPECT_DOUBLE_EQ(stats.ranges[i].max, written.sensors->stats.ranges[i].max) << i;
  }
  for (std::size_t i = 0; i < kSensorItemCount; ++i) {
    EXPECT_EQ(r.sensors->ticks[i].ticked, written.sensors->ticks[i].ticked) << i;
    EXPECT_EQ(r.sensors->ticks[i].reason, written.sensors->ticks[i].reason) << i;
  }
}

TEST(CommissioningRecord, EveryStepAndOutcomeReadsBack) {
  for (std::size_t s = 0; s < kCommissioningStepCount; ++s) {
    for (StepOutcome outcome :
         {StepOutcome::done, StepOutcome::skipped, StepOutcome::failed, StepOutcome::cancelled}) {
      CommissioningRecord record;
      record.step = static_cast<CommissioningStep>(s);
      record.outcome = outcome;
      const DecodedCommissioningRecord read =
          DecodeCommissioningRecord(EncodeCommissioningRecord(record));
      ASSERT_TRUE(read.record) << read.error;
      EXPECT_EQ(read.record->step, record.step);
      EXPECT_EQ(read.record->outcome, outcome);
      EXPECT_FALSE(read.record->sensors);
    }
  }
}

TEST(CommissioningRecord, NamesAsStored) {
  EXPECT_EQ(CommissioningStepName(CommissioningStep::connect), "connect");
  EXPECT_EQ(CommissioningStepName(CommissioningStep::rpm_lambda), "rpm_lambda");
  EXPECT_EQ(CommissioningStepName(CommissioningStep::report), "report");
  EXPECT_EQ(StepOutcomeName(StepOutcome::cancelled), "cancelled");
  EXPECT_EQ(SensorItemName(SensorItem::engine_temperature), "engine_temperature");
  EXPECT_EQ(SensorItemName(SensorItem::map_idle), "map_idle");
}

// `text` with the first `from` made `to`; the test fails when `from` is not there.
std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

TEST(CommissioningRecord, RefusesWhatItDoesNotWrite) {
  const std::string good = EncodeCommissioningRecord(SensorStep());
  CommissioningRecord no_check = SensorStep();
  no_check.sensors.reset();
  const std::string without_sensors = EncodeCommissioningRecord(no_check);
  struct Case {
    const char* name;
    std::string text;
    std::string error;
  };
  const std::vector<Case> cases{
      {"not JSON", good.substr(0, good.size() / 2), "not a JSON object"},
      {"an array", "[1]", "not a JSON object"},
      {"another format", Replaced(good, "zelk-commissioning", "zelk-note"),
       "not a commissioning record"},
      {"unknown step", Replaced(good, R"("step": "sensors")", R"("step": "warm_up")"),
       R"("step" "warm_up" is not known)"},
      {"unknown outcome", Replaced(good, R"("outcome": "done")", R"("outcome": "passed")"),
       R"("outcome" "passed" is not known)"},
      {"unknown item", Replaced(good, R"("map_idle")", R"("map_cruise")"),
       R"("ticks" names "map_cruise", which is not known)"},
      {"unknown measure", Replaced(good, R"("rpm": {)", R"("speed": {)"),
       R"("ranges" names "speed", which is not known)"},
      {"missing text", Replaced(good, R"("technician": "Ana",)", ""), R"(no "technician")"},
      {"missing count", Replaced(good, R"("lambda_crossings")", R"("crossings")"),
       R"(no "lambda_crossings")"},
      {"text a number", Replaced(good, R"("time": "2026-12-09T10:12:30Z")", R"("time": 5)"),
       R"("time" is not a text)"},
      {"figure not a number", Replaced(good, R"("min": 78.5)", R"("min": null)"),
       R"("min" is not a finite number)"},
      {"negative count", Replaced(good, R"("failures": 2)", R"("failures": -1)"),
       R"("failures" is below zero)"},
      {"fractional count", Replaced(good, R"("samples": 85)", R"("samples": 85.5)"),
       R"("samples" is not a whole number)"},
      {"count past int", Replaced(good, R"("samples": 85)", R"("samples": 4294967296)"),
       R"("samples" is not a whole number)"},
      {"negative seconds", Replaced(good, R"("seconds": 42.5)", R"("seconds": -1.5)"),
       R"("seconds" is below zero)"},
      {"tick not true or false", Replaced(good, R"("ticked": true)", R"("ticked": 1)"),
       R"("ticked" is not true or false)"},
      {"sensors not an object",
       Replaced(without_sensors, R"("technician": "Ana")", R"("technician": "Ana", "sensors": 3)"),
       R"("sensors" is not an object)"},
  };
  for (const Case& c : cases) {
    const DecodedCommissioningRecord read = DecodeCommissioningRecord(c.text);
    EXPECT_FALSE(read.record) << c.name;
    EXPECT_EQ(read.error, c.error) << c.name;
  }
}

// A figure that is no number is written as null by the JSON library: the
// record is refused when read, not taken as zero.
TEST(CommissioningRecord, ANonFiniteFigureDoesNotReadBack) {
  CommissioningRecord record = SensorStep();
  record.sensors->stats.ranges[0].max = std::numeric_limits<double>::quiet_NaN();
  const DecodedCommissioningRecord read =
      DecodeCommissioningRecord(EncodeCommissioningRecord(record));
  EXPECT_FALSE(read.record);
  EXPECT_EQ(read.error, R"("max" is not a finite number)");
}

class CommissioningHistoryTest : public testing::RecordsFolderTest {
 protected:
  VehicleHistory History() {
    return VehicleHistory(
        dir_ / "car", [this] { return now_; }, [] { return 0x9f3a01c2u; });
  }
};

TEST_F(CommissioningHistoryTest, AStepIsARecordOfItsOwn) {
  VehicleHistory history = History();
  const AddedRecord added = history.AddCommissioningStep(SensorStep());
  ASSERT_TRUE(added.file) << added.error;
  EXPECT_EQ(added.file->filename(), "2026-12-09T10-15-00.000Z-9f3a01c2.commissioning.json");
  const std::vector<HistoryRecord> timeline = history.Timeline();
  ASSERT_EQ(timeline.size(), 1u);
  EXPECT_EQ(timeline[0].kind, RecordKind::commissioning);
  EXPECT_EQ(timeline[0].damaged, "");
  ASSERT_TRUE(timeline[0].commissioning);
  EXPECT_EQ(timeline[0].commissioning->step, CommissioningStep::sensors);
  ASSERT_TRUE(timeline[0].commissioning->sensors);
  EXPECT_EQ(timeline[0].commissioning->sensors->stats.lambda_crossings, 17);
}

TEST_F(CommissioningHistoryTest, ADamagedStepIsListedAndKept) {
  const fs::path file = dir_ / "car" / "2026-12-09T10-15-00.000Z-00000001.commissioning.json";
  fs::create_directories(file.parent_path());
  const std::string text =
      Replaced(EncodeCommissioningRecord(SensorStep()), R"("step": "sensors")", R"("step": "x")");
  ASSERT_TRUE(WriteFileAtomically(file, text).ok);
  const std::vector<HistoryRecord> timeline = History().Timeline();
  ASSERT_EQ(timeline.size(), 1u);
  EXPECT_EQ(timeline[0].kind, RecordKind::commissioning);
  EXPECT_FALSE(timeline[0].commissioning);
  EXPECT_EQ(timeline[0].damaged, R"("step" "x" is not known)");
  EXPECT_TRUE(fs::exists(file));
}

TEST_F(CommissioningHistoryTest, AReportKeepsThePdfBytesAsTheyAre) {
  const char bytes[] = "%PDF-1.4\r\n\x00\xff\xfe binary\n%%EOF\n";
  const std::string pdf(bytes, sizeof bytes - 1);
  VehicleHistory history = History();
  const AddedRecord added = history.AddReport(pdf);
  ASSERT_TRUE(added.file) << added.error;
  EXPECT_EQ(added.file->filename(), "2026-12-09T10-15-00.000Z-9f3a01c2.report.pdf");
  const FileRead read = ReadSmallFile(*added.file);
  ASSERT_TRUE(read.ok) << read.error;
  EXPECT_EQ(read.contents, pdf);
  const std::vector<HistoryRecord> timeline = history.Timeline();
  ASSERT_EQ(timeline.size(), 1u);
  EXPECT_EQ(timeline[0].kind, RecordKind::report);
  EXPECT_EQ(timeline[0].damaged, "");
  EXPECT_EQ(timeline[0].time, "2026-12-09T10:15:00Z");
}

}  // namespace
}  // namespace zelk
