// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/commissioning.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <nlohmann/json.hpp>
#include <utility>

#include "records/record_json.h"

namespace zelk {
namespace {

// Keys in the order they are written, so a record reads top-down.
using Json = nlohmann::ordered_json;

constexpr std::string_view kFormat = "zelk-commissioning";

constexpr std::array<std::string_view, kCommissioningStepCount> kStepNames{
    "connect", "backup", "sensors", "rpm_lambda", "map", "settings", "report"};
constexpr std::array<std::string_view, 4> kOutcomeNames{"done", "skipped", "failed", "cancelled"};
constexpr std::array<std::string_view, kSensorItemCount> kItemNames{
    "engine_temperature", "lambda_switching", "map_key_on", "map_idle"};
// By SensorMeasure: the keys of the sensor check's ranges.
constexpr std::array<std::string_view, kSensorMeasureCount> kMeasureNames{"temperature", "map",
                                                                          "lambda", "rpm"};

// The index of `name` in `names`, if it is one of them.
template <std::size_t N>
std::optional<std::size_t> IndexOf(const std::array<std::string_view, N>& names,
                                   std::string_view name) {
  for (std::size_t i = 0; i < N; ++i) {
    if (names[i] == name) return i;
  }
  return std::nullopt;
}

// Built by appending: GCC 12's -O3 sees a false overlap in "\"" + text + "\""
// (-Wrestrict, mingw-w64 included).
std::string Quoted(std::string_view key) {
  std::string quoted;
  quoted.reserve(key.size() + 2);
  quoted.push_back('"');
  quoted.append(key);
  quoted.push_back('"');
  return quoted;
}

// Each reader takes a field of `doc` into `out`; on a refusal it sets `error`
// and returns false, so a decode stops at the first field that is wrong.
const Json* Field(const Json& doc, std::string_view key, std::string& error) {
  const auto it = doc.find(key);
  if (it == doc.end()) {
    error = "no " + Quoted(key);
    return nullptr;
  }
  return &*it;
}

bool ReadText(const Json& doc, std::string_view key, std::string& out, std::string& error) {
  const Json* field = Field(doc, key, error);
  if (field == nullptr) return false;
  if (!field->is_string()) {
    error = Quoted(key) + " is not a text";
    return false;
  }
  out = field->get<std::string>();
  return true;
}

template <std::size_t N>
bool ReadName(const Json& doc, std::string_view key, const std::array<std::string_view, N>& names,
              std::size_t& out, std::string& error) {
  std::string name;
  if (!ReadText(doc, key, name, error)) return false;
  const std::optional<std::size_t> index = IndexOf(names, name);
  if (!index) {
    error = Quoted(key) + " " + Quoted(name) + " is not known";
    return false;
  }
  out = *index;
  return true;
}

bool ReadNumber(const Json& doc, std::string_view key, double& out, std::string& error) {
  const Json* field = Field(doc, key, error);
  if (field == nullptr) return false;
  if (!field->is_number() || !std::isfinite(field->get<double>())) {
    error = Quoted(key) + " is not a finite number";
    return false;
  }
  out = field->get<double>();
  return true;
}

bool ReadWhole(const Json& doc, std::string_view key, int& out, std::string& error) {
  const Json* field = Field(doc, key, error);
  if (field == nullptr) return false;
  bool fits = false;
  if (field->is_number_unsigned()) {
    fits =
        field->get<std::uint64_t>() <= static_cast<std::uint64_t>(std::numeric_limits<int>::max());
  } else if (field->is_number_integer()) {
    const std::int64_t value = field->get<std::int64_t>();
    fits = value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max();
  }
  if (!fits) {
    error = Quoted(key) + " is not a whole number";
    return false;
  }
  out = field->get<int>();
  return true;
}

bool ReadCount(const Json& doc, std::string_view key, int& out, std::string& error) {
  if (!ReadWhole(doc, key, out, error)) return false;
  if (out < 0) {
    error = Quoted(key) + " is below zero";
    return false;
  }
  return true;
}

const Json* ReadObject(const Json& doc, std::string_view key, std::string& error) {
  const Json* field = Field(doc, key, error);
  if (field == nullptr) return nullptr;
  if (!field->is_object()) {
    error = Quoted(key) + " is not an object";
    return nullptr;
  }
  return field;
}

// An object keyed by `names` and nothing else: each name read by `read`.
template <std::size_t N, typename Read>
bool ReadKeyed(const Json& doc, std::string_view key, const std::array<std::string_view, N>& names,
               Read read, std::string& error) {
  const Json* object = ReadObject(doc, key, error);
  if (object == nullptr) return false;
  for (const auto& [name, value] : object->items()) {
    if (!IndexOf(names, name)) {
      error = Quoted(key) + " names " + Quoted(name) + ", which is not known";
      return false;
    }
  }
  for (std::size_t i = 0; i < N; ++i) {
    const Json* item = ReadObject(*object, names[i], error);
    if (item == nullptr || !read(*item, i)) return false;
  }
  return true;
}

bool ReadRange(const Json& doc, MeasuredRange& range, std::string& error) {
  return ReadCount(doc, "samples", range.samples, error) &&
         ReadNumber(doc, "min", range.min, error) && ReadNumber(doc, "max", range.max, error);
}

bool ReadTick(const Json& doc, SensorTick& tick, std::string& error) {
  const Json* ticked = Field(doc, "ticked", error);
  if (ticked == nullptr) return false;
  if (!ticked->is_boolean()) {
    error = "\"ticked\" is not true or false";
    return false;
  }
  tick.ticked = ticked->get<bool>();
  return ReadText(doc, "reason", tick.reason, error);
}

bool ReadSensors(const Json& doc, SensorCheckRecord& sensors, std::string& error) {
  SensorStats& stats = sensors.stats;
  if (!ReadNumber(doc, "seconds", stats.seconds, error)) return false;
  if (stats.seconds < 0) {
    error = "\"seconds\" is below zero";
    return false;
  }
  return ReadCount(doc, "samples", stats.samples, error) &&
         ReadCount(doc, "failures", stats.failures, error) &&
         ReadKeyed(
             doc, "ranges", kMeasureNames,
             [&](const Json& range, std::size_t i) {
               return ReadRange(range, stats.ranges[i], error);
             },
             error) &&
         ReadWhole(doc, "lambda_threshold_mv", stats.lambda_threshold_mv, error) &&
         ReadCount(doc, "lambda_crossings", stats.lambda_crossings, error) &&
         ReadKeyed(
             doc, "ticks", kItemNames,
             [&](const Json& tick, std::size_t i) {
               return ReadTick(tick, sensors.ticks[i], error);
             },
             error);
}

Json SensorsJson(const SensorCheckRecord& sensors) {
  const SensorStats& stats = sensors.stats;
  Json doc = Json::object();
  doc["seconds"] = stats.seconds;
  doc["samples"] = stats.samples;
  doc["failures"] = stats.failures;
  Json ranges = Json::object();
  for (std::size_t i = 0; i < kSensorMeasureCount; ++i) {
    const MeasuredRange& range = stats.ranges[i];
    ranges[std::string(kMeasureNames[i])] = {
        {"samples", range.samples}, {"min", range.min}, {"max", range.max}};
  }
  doc["ranges"] = std::move(ranges);
  doc["lambda_threshold_mv"] = stats.lambda_threshold_mv;
  doc["lambda_crossings"] = stats.lambda_crossings;
  Json ticks = Json::object();
  for (std::size_t i = 0; i < kSensorItemCount; ++i) {
    ticks[std::string(kItemNames[i])] = {{"ticked", sensors.ticks[i].ticked},
                                         {"reason", sensors.ticks[i].reason}};
  }
  doc["ticks"] = std::move(ticks);
  return doc;
}

}  // namespace

std::string_view CommissioningStepName(CommissioningStep step) {
  return kStepNames.at(static_cast<std::size_t>(step));
}

std::string_view StepOutcomeName(StepOutcome outcome) {
  return kOutcomeNames.at(static_cast<std::size_t>(outcome));
}

std::string_view SensorItemName(SensorItem item) {
  return kItemNames.at(static_cast<std::size_t>(item));
}

std::string EncodeCommissioningRecord(const CommissioningRecord& record) {
  Json doc = Json::object();
  doc["format"] = kFormat;
  doc["commissioning"] = record.commissioning;
  doc["step"] = CommissioningStepName(record.step);
  doc["outcome"] = StepOutcomeName(record.outcome);
  doc["time"] = record.time;
  doc["reason"] = record.reason;
  doc["module_version"] = record.module_version;
  doc["technician"] = record.technician;
  if (record.sensors) doc["sensors"] = SensorsJson(*record.sensors);
  return RecordJsonText(doc);
}

DecodedCommissioningRecord DecodeCommissioningRecord(std::string_view text) {
  DecodedCommissioningRecord decoded;
  const std::optional<Json> parsed =
      ParseRecordObject<Json>(text, kFormat, "not a commissioning record", decoded.error);
  if (!parsed) return decoded;
  const Json& doc = *parsed;
  CommissioningRecord record;
  std::string& error = decoded.error;
  std::size_t step = 0;
  std::size_t outcome = 0;
  const bool read = ReadText(doc, "commissioning", record.commissioning, error) &&
                    ReadName(doc, "step", kStepNames, step, error) &&
                    ReadName(doc, "outcome", kOutcomeNames, outcome, error) &&
                    ReadText(doc, "time", record.time, error) &&
                    ReadText(doc, "reason", record.reason, error) &&
                    ReadText(doc, "module_version", record.module_version, error) &&
                    ReadText(doc, "technician", record.technician, error);
  if (!read) return decoded;
  record.step = static_cast<CommissioningStep>(step);
  record.outcome = static_cast<StepOutcome>(outcome);
  // The sensor check's figures are there only when it was done.
  if (doc.contains("sensors")) {
    const Json* sensors = ReadObject(doc, "sensors", error);
    if (sensors == nullptr) return decoded;
    SensorCheckRecord check;
    if (!ReadSensors(*sensors, check, error)) return decoded;
    record.sensors = std::move(check);
  }
  decoded.record = std::move(record);
  return decoded;
}

}  // namespace zelk
