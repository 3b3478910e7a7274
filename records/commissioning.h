// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A commissioning: the routine of installing a module in a car, step by step
// (connect and read, backup, sensor check, the RPM/oxygen-sensor program, the
// MAP program, settings, report). Each step's result is a record of its own
// in the vehicle's history, so a step repeated or skipped leaves its trace
// and the customer's report is built from the records alone.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "monitor/sensor_check.h"

namespace zelk {

enum class CommissioningStep { connect, backup, sensors, rpm_lambda, map, settings, report };
inline constexpr std::size_t kCommissioningStepCount = 7;

// done: the step did what it is for; skipped: the technician gave a reason;
// failed: the module did not answer, or a program was aborted; cancelled: the
// commissioning was cancelled while this step was the current one.
enum class StepOutcome { done, skipped, failed, cancelled };

// The checks the technician ticks in the sensor check, each with a reason
// when left unticked.
enum class SensorItem { engine_temperature, lambda_switching, map_key_on, map_idle };
inline constexpr std::size_t kSensorItemCount = 4;

struct SensorTick {
  bool ticked = false;
  std::string reason;  // why not ticked; may be empty
};

struct SensorCheckRecord {
  SensorStats stats;
  std::array<SensorTick, kSensorItemCount> ticks{};
};

struct CommissioningRecord {
  std::string commissioning;  // the commissioning it belongs to: the UTC time it began
  CommissioningStep step = CommissioningStep::connect;
  StepOutcome outcome = StepOutcome::done;
  std::string time;    // UTC, when the step ended
  std::string reason;  // skipped: the technician's reason; failed or cancelled: what happened
  std::string module_version;                // empty when none answered yet
  std::string technician;                    // who did it
  std::optional<SensorCheckRecord> sensors;  // the sensor check's figures, when it was done
};

// "connect", "backup", "sensors", "rpm_lambda", "map", "settings", "report".
std::string_view CommissioningStepName(CommissioningStep step);
// "done", "skipped", "failed", "cancelled".
std::string_view StepOutcomeName(StepOutcome outcome);
// "engine_temperature", "lambda_switching", "map_key_on", "map_idle".
std::string_view SensorItemName(SensorItem item);

// The record's JSON text ("format": "zelk-commissioning"), ending in a newline.
std::string EncodeCommissioningRecord(const CommissioningRecord& record);

struct DecodedCommissioningRecord {
  std::optional<CommissioningRecord> record;
  std::string error;  // why the text is not a commissioning record
};

// Refuses anything else than what Encode writes: unknown step, outcome or item,
// a missing field, figures that are not finite numbers or counts below zero.
DecodedCommissioningRecord DecodeCommissioningRecord(std::string_view text);

}  // namespace zelk
