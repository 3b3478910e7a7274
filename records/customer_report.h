// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The customer's report as data: what a vehicle's records say was done in its
// newest commissioning (or, for a car never commissioned, in its whole
// history). The windows lay it out as a PDF; nothing here is invented or
// judged: every figure comes from a record.

#include <optional>
#include <string>
#include <vector>

#include "records/commissioning.h"
#include "records/vehicle.h"
#include "records/vehicle_history.h"
#include "settings/settings_table.h"

namespace zelk {

// Entered once by the technician and remembered by the program.
struct Workshop {
  std::string name;
  std::string address;
  std::string phone;
  std::string technician;
};

struct ReportSetting {
  SettingIndex setting = kTempoPartida;
  std::string value;                  // as a settings file writes it ("1000", "37.5", "true")
  std::optional<std::string> before;  // the backup's value, when it differs
};

struct ReportProgram {
  std::string program;  // "mix", "reset", "rpm_lambda", "map"
  // "completed", "aborted", "failed" from a program run; "skipped" from a
  // commissioning step skipped (its reason beside it).
  std::string result;
  std::string time;  // UTC: when it ended, or when it was skipped
  std::string reason;
};

struct ReportStep {
  CommissioningStep step = CommissioningStep::connect;
  std::optional<StepOutcome> outcome;  // the newest record of the step; none: not reached
  std::string time;
  std::string reason;
};

struct CustomerReport {
  Workshop workshop;
  Vehicle vehicle;
  std::string made_at;        // UTC
  std::string commissioning;  // when the commissioning began; empty: the whole history
  std::string technician;     // the commissioning's, else the workshop's
  std::string module_version;
  // The module's settings: the newest settings record that holds what the
  // module held (a read, a read back, a restore point), not a file prepared
  // or saved from the window. Empty when there is none.
  std::vector<ReportSetting> settings;
  std::string settings_time;
  bool wide_band = false;               // the lambda value's unit is V
  std::string backup_time;              // the settings the changes are marked against; empty: none
  std::vector<ReportProgram> programs;  // oldest first
  // The newest sensor check done, or the newest skipped (with its reason).
  std::optional<SensorCheckRecord> sensors;
  std::string sensors_time;
  std::string sensors_skipped;  // the reason, when the newest sensor step was skipped
  std::array<ReportStep, kCommissioningStepCount> steps{};
  std::vector<std::string> notes;  // oldest first
};

// `timeline` as VehicleHistory::Timeline gives it (newest first). The records
// covered are those of the newest commissioning: from the first record that
// names it on, or from the time it began when a record made since comes
// first (the read of its first step). The backup is its "before-commissioning" restore point (the
// oldest, from before anything was changed); without a commissioning the
// whole history counts and the oldest settings record is the backup. Damaged
// records are left out.
CustomerReport MakeCustomerReport(const Vehicle& vehicle,
                                  const std::vector<HistoryRecord>& timeline,
                                  const Workshop& workshop, std::string made_at);

}  // namespace zelk
