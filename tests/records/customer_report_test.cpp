// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/customer_report.h"

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

const Workshop kWorkshop{"Oficina Zelk", "Rua das Flores, 12", "555-0101", "Carla"};

// A block whose settings differ from `base` only in tempo_partida.
SettingsBlock Block(std::uint8_t fill, std::uint8_t tempo_partida_low = 0x10) {
  SettingsBlock block;
  block.fill(fill);
  block[kSettings[kTempoPartida].offset] = tempo_partida_low;
  return block;
}

SettingsBlock WideBand(SettingsBlock block) {
  block[kSettings[kBandaLarga].offset] |= kSettings[kBandaLarga].mask;
  return block;
}

class CustomerReportTest : public testing::RecordsFolderTest {
 protected:
  // Each record a minute after the one before, in the folder `car`.
  VehicleHistory History(const std::string& car = "car") {
    return VehicleHistory(
        dir_ / car, [this] { return now_ += minutes(1); }, [this] { return ++random_; });
  }
  std::string Now() const { return UtcTimeText(now_); }

  // A step of the commissioning that began at `began`, ending now.
  void Step(VehicleHistory& history, CommissioningStep step, StepOutcome outcome,
            std::string reason = {}, std::string technician = "Ana") {
    CommissioningRecord record;
    record.commissioning = began_;
    record.step = step;
    record.outcome = outcome;
    record.time = UtcTimeText(now_ + minutes(1));
    record.reason = std::move(reason);
    record.module_version = "2.10";
    record.technician = std::move(technician);
    if (step == CommissioningStep::sensors && outcome == StepOutcome::done)
      record.sensors = SensorCheckRecord{};
    ASSERT_TRUE(history.AddCommissioningStep(record).file);
  }
  void SensorsDone(VehicleHistory& history, int crossings) {
    CommissioningRecord record;
    record.commissioning = began_;
    record.step = CommissioningStep::sensors;
    record.time = UtcTimeText(now_ + minutes(1));
    record.sensors = SensorCheckRecord{};
    record.sensors->stats.lambda_crossings = crossings;
    ASSERT_TRUE(history.AddCommissioningStep(record).file);
  }
  // A settings record; its time is the record's name's.
  std::string Settings(VehicleHistory& history, const SettingsBlock& block, SaveReason reason,
                       const std::string& version = "2.10") {
    const AddedRecord added = history.AddSettings(MakeSettingsFile(block, version, "", reason));
    EXPECT_TRUE(added.file && !added.repeated);
    return Now();
  }
  void Run(VehicleHistory& history, const std::string& program, ProgramResult result) {
    ASSERT_TRUE(history.AddProgramRun({program, "start", "end " + program, result, "2.10"}).file);
  }
  void BeginCommissioning() { began_ = UtcTimeText(now_ + minutes(1)); }

  CustomerReport Report(const VehicleHistory& history) {
    return MakeCustomerReport(Vehicle{"ABC1D23", "Fiat Uno 1.0 1994", "Rui", "555", "", ""},
                              history.Timeline(), kWorkshop, "2026-12-09T12:00:00Z");
  }

  std::string began_;
  std::uint32_t random_ = 0;
};

const ReportSetting* Find(const CustomerReport& report, SettingIndex setting) {
  for (const ReportSetting& s : report.settings) {
    if (s.setting == setting) return &s;
  }
  return nullptr;
}

const ReportStep& StepOf(const CustomerReport& report, CommissioningStep step) {
  return report.steps.at(static_cast<std::size_t>(step));
}

TEST_F(CustomerReportTest, OnlyTheNewestCommissioningIsCovered) {
  VehicleHistory history = History();
  BeginCommissioning();
  const std::string first = began_;
  Step(history, CommissioningStep::connect, StepOutcome::done);
  Settings(history, Block(1), SaveReason::before_commissioning);
  ASSERT_TRUE(history.AddNote("first visit").file);
  Run(history, "map", ProgramResult::completed);
  Step(history, CommissioningStep::map, StepOutcome::done);

  BeginCommissioning();
  Step(history, CommissioningStep::connect, StepOutcome::done);
  const std::string backup = Settings(history, Block(2), SaveReason::before_commissioning);
  ASSERT_TRUE(history.AddNote("second visit").file);
  const std::string read = Settings(history, Block(2, 0x20), SaveReason::read);

  const CustomerReport report = Report(history);
  EXPECT_NE(report.commissioning, first);
  EXPECT_EQ(report.commissioning, began_);
  EXPECT_EQ(report.notes, std::vector<std::string>{"second visit"});
  EXPECT_TRUE(report.programs.empty());
  EXPECT_EQ(report.backup_time, backup);
  EXPECT_EQ(report.settings_time, read);
  EXPECT_EQ(StepOf(report, CommissioningStep::connect).outcome, StepOutcome::done);
  EXPECT_FALSE(StepOf(report, CommissioningStep::map).outcome);
  EXPECT_EQ(report.vehicle.id, "ABC1D23");
  EXPECT_EQ(report.workshop.name, "Oficina Zelk");
  EXPECT_EQ(report.made_at, "2026-12-09T12:00:00Z");
}

// The settings are the newest that the module held; a file saved or prepared
// from the window is not. Only the settings that changed since the oldest
// restore point of the commissioning carry what they were.
TEST_F(CustomerReportTest, SettingsMarkedAgainstTheCommissioningsFirstRestorePoint) {
  VehicleHistory history = History();
  Settings(history, Block(9), SaveReason::read);  // before the commissioning: not the backup
  BeginCommissioning();
  Step(history, CommissioningStep::connect, StepOutcome::done);
  const std::string backup = Settings(history, Block(3), SaveReason::before_commissioning);
  Settings(history, Block(3, 0x40), SaveReason::before_commissioning);
  const SettingsBlock module = WideBand(Block(3, 0x30));
  const std::string read = Settings(history, module, SaveReason::read, "2.11");
  Settings(history, Block(5), SaveReason::save);
  Settings(history, Block(6), SaveReason::prepared);

  const CustomerReport report = Report(history);
  EXPECT_EQ(report.backup_time, backup);
  EXPECT_EQ(report.settings_time, read);
  EXPECT_EQ(report.module_version, "2.11");
  EXPECT_TRUE(report.wide_band);
  const SettingTexts now = TextsOf(SettingsOfBlock(module));
  const SettingTexts before = TextsOf(SettingsOfBlock(Block(3)));
  ASSERT_EQ(report.settings.size(), kSettingRowCount);
  int changed = 0;
  for (std::size_t i = 0; i < kSettingRowCount; ++i) {
    const ReportSetting& setting = report.settings[i];
    EXPECT_EQ(setting.setting, static_cast<SettingIndex>(i));
    EXPECT_EQ(setting.value, *now[i]) << i;
    if (now[i] == before[i]) {
      EXPECT_FALSE(setting.before) << i;
    } else {
      ++changed;
      EXPECT_EQ(setting.before, before[i]) << i;
    }
  }
  EXPECT_EQ(changed, 2);  // tempo_partida and banda_larga
  ASSERT_TRUE(Find(report, kBandaLarga));
  EXPECT_EQ(Find(report, kBandaLarga)->value, "true");
  EXPECT_EQ(Find(report, kBandaLarga)->before, "false");
}

TEST_F(CustomerReportTest, NoBackupWithoutARestorePointOfTheCommissioning) {
  VehicleHistory history = History();
  BeginCommissioning();
  Step(history, CommissioningStep::connect, StepOutcome::done);
  Settings(history, Block(3), SaveReason::read);
  Settings(history, Block(4), SaveReason::before_write);
  const CustomerReport report = Report(history);
  EXPECT_EQ(report.backup_time, "");
  ASSERT_FALSE(report.settings.empty());
  for (const ReportSetting& setting : report.settings) EXPECT_FALSE(setting.before);
}

TEST_F(CustomerReportTest, ProgramsRunAndSkippedOldestFirst) {
  VehicleHistory history = History();
  BeginCommissioning();
  Step(history, CommissioningStep::connect, StepOutcome::done);
  Run(history, "rpm_lambda", ProgramResult::aborted);
  Step(history, CommissioningStep::rpm_lambda, StepOutcome::failed, "program aborted");
  Run(history, "rpm_lambda", ProgramResult::completed);
  Step(history, CommissioningStep::rpm_lambda, StepOutcome::done);
  Step(history, CommissioningStep::map, StepOutcome::skipped, "no MAP sensor fitted");
  const std::string skipped_at = UtcTimeText(now_);
  Run(history, "mix", ProgramResult::failed);

  const CustomerReport report = Report(history);
  ASSERT_EQ(report.programs.size(), 4u);
  struct Expected {
    const char* program;
    const char* result;
    std::string time;
    const char* reason;
  };
  const std::vector<Expected> expected{
      {"rpm_lambda", "aborted", "end rpm_lambda", ""},
      {"rpm_lambda", "completed", "end rpm_lambda", ""},
      {"map", "skipped", skipped_at, "no MAP sensor fitted"},
      {"mix", "failed", "end mix", ""},
  };
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(report.programs[i].program, expected[i].program) << i;
    EXPECT_EQ(report.programs[i].result, expected[i].result) << i;
    EXPECT_EQ(report.programs[i].time, expected[i].time) << i;
    EXPECT_EQ(report.programs[i].reason, expected[i].reason) << i;
  }
}

TEST_F(CustomerReportTest, TheNewestSensorCheckDoneElseTheNewestSkipped) {
  struct Case {
    const char* name;
    std::vector<int> steps;  // crossings of a check done; -1: a check skipped
    std::optional<int> crossings;
    std::string skipped;
  };
  const std::vector<Case> cases{
      {"done", {12}, 12, ""},
      {"done twice", {3, 12}, 12, ""},
      {"skipped", {-1}, std::nullopt, "engine too hot to idle"},
      {"skipped after done", {7, -1}, 7, ""},
      {"done after skipped", {-1, 9}, 9, ""},
      {"none", {}, std::nullopt, ""},
  };
  for (const Case& c : cases) {
    VehicleHistory history = History(c.name);
    BeginCommissioning();
    Step(history, CommissioningStep::connect, StepOutcome::done);
    std::string done_at;
    for (int step : c.steps) {
      if (step < 0) {
        Step(history, CommissioningStep::sensors, StepOutcome::skipped, "engine too hot to idle");
      } else {
        SensorsDone(history, step);
        done_at = UtcTimeText(now_);
      }
    }
    const CustomerReport report = Report(history);
    ASSERT_EQ(report.sensors.has_value(), c.crossings.has_value()) << c.name;
    if (c.crossings) {
      EXPECT_EQ(report.sensors->stats.lambda_crossings, *c.crossings) << c.name;
      EXPECT_EQ(report.sensors_time, done_at) << c.name;
    }
    EXPECT_EQ(report.sensors_skipped, c.skipped) << c.name;
  }
}

TEST_F(CustomerReportTest, EachStepAsItsNewestRecordSaysIt) {
  VehicleHistory history = History();
  BeginCommissioning();
  Step(history, CommissioningStep::connect, StepOutcome::failed, "the module did not answer");
  Step(history, CommissioningStep::connect, StepOutcome::done);
  const std::string connected = UtcTimeText(now_);
  Step(history, CommissioningStep::backup, StepOutcome::done);
  Step(history, CommissioningStep::settings, StepOutcome::cancelled, "cancelled by the user");
  const std::string cancelled = UtcTimeText(now_);

  const CustomerReport report = Report(history);
  for (std::size_t i = 0; i < kCommissioningStepCount; ++i)
    EXPECT_EQ(report.steps[i].step, static_cast<CommissioningStep>(i));
  EXPECT_EQ(StepOf(report, CommissioningStep::connect).outcome, StepOutcome::done);
  EXPECT_EQ(StepOf(report, CommissioningStep::connect).time, connected);
  EXPECT_EQ(StepOf(report, CommissioningStep::connect).reason, "");
  EXPECT_EQ(StepOf(report, CommissioningStep::backup).outcome, StepOutcome::done);
  EXPECT_EQ(StepOf(report, CommissioningStep::settings).outcome, StepOutcome::cancelled);
  EXPECT_EQ(StepOf(report, CommissioningStep::settings).time, cancelled);
  EXPECT_EQ(StepOf(report, CommissioningStep::settings).reason, "cancelled by the user");
  for (CommissioningStep unreached : {CommissioningStep::sensors, CommissioningStep::rpm_lambda,
                                      CommissioningStep::map, CommissioningStep::report})
    EXPECT_FALSE(StepOf(report, unreached).outcome);
}

TEST_F(CustomerReportTest, ACarNeverCommissionedReportsItsWholeHistory) {
  VehicleHistory history = History();
  const std::string first = Settings(history, Block(1), SaveReason::prepared);
  ASSERT_TRUE(history.AddNote("cold start").file);
  Run(history, "reset", ProgramResult::completed);
  const std::string read = Settings(history, Block(1, 0x30), SaveReason::read);
  ASSERT_TRUE(history.AddNote("idle fixed").file);

  const CustomerReport report = Report(history);
  EXPECT_EQ(report.commissioning, "");
  EXPECT_EQ(report.backup_time, first);
  EXPECT_EQ(report.settings_time, read);
  EXPECT_EQ(report.notes, (std::vector<std::string>{"cold start", "idle fixed"}));
  ASSERT_EQ(report.programs.size(), 1u);
  EXPECT_EQ(report.programs[0].program, "reset");
  EXPECT_EQ(report.technician, "Carla");
  EXPECT_EQ(report.module_version, "2.10");
  ASSERT_TRUE(Find(report, kTempoPartida));
  EXPECT_TRUE(Find(report, kTempoPartida)->before);
  EXPECT_FALSE(Find(report, kTempMaxCold)->before);
  for (const ReportStep& step : report.steps) EXPECT_FALSE(step.outcome);
}

TEST_F(CustomerReportTest, DamagedRecordsAreLeftOut) {
  VehicleHistory history = History();
  BeginCommissioning();
  Step(history, CommissioningStep::connect, StepOutcome::done);
  const std::string read = Settings(history, Block(1), SaveReason::read);
  ASSERT_TRUE(history.AddNote("kept").file);
  // Newer than all of them, and unreadable.
  const fs::path car = history.folder();
  for (const char* name :
       {"2027-01-01T00-00-00.000Z-00000001.note.json", "2027-01-01T00-00-00.000Z-00000002.zelk",
        "2027-01-01T00-00-00.000Z-00000003.commissioning.json",
        "2027-01-01T00-00-00.000Z-00000004.program.json"})
    ASSERT_TRUE(WriteFileAtomically(car / name, "{}").ok);

  const CustomerReport report = Report(history);
  EXPECT_EQ(report.commissioning, began_);
  EXPECT_EQ(report.notes, std::vector<std::string>{"kept"});
  EXPECT_EQ(report.settings_time, read);
  EXPECT_TRUE(report.programs.empty());
}

TEST_F(CustomerReportTest, TechnicianAndVersionFallBack) {
  struct Case {
    const char* name;
    std::vector<std::string> technicians;  // of the steps, oldest first
    std::string expected;
  };
  const std::vector<Case> cases{
      {"the step's", {"Ana"}, "Ana"},
      {"the newest named", {"Ana", "Bruno", ""}, "Bruno"},
      {"the workshop's", {"", ""}, "Carla"},
  };
  for (const Case& c : cases) {
    VehicleHistory history = History(c.name);
    BeginCommissioning();
    for (const std::string& technician : c.technicians)
      Step(history, CommissioningStep::connect, StepOutcome::done, "", technician);
    const CustomerReport report = Report(history);
    EXPECT_EQ(report.technician, c.expected) << c.name;
    // No settings on record: the version the steps saw.
    EXPECT_EQ(report.module_version, "2.10") << c.name;
    EXPECT_TRUE(report.settings.empty()) << c.name;
  }
}

}  // namespace
}  // namespace zelk
