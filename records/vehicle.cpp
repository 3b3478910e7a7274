// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/vehicle.h"

#include <nlohmann/json.hpp>

#include "records/record_json.h"
#include "records/vehicle_id.h"

namespace zelk {
namespace {

using Json = nlohmann::json;

constexpr std::string_view kFormat = "zelk-vehicle";
constexpr int kFormatVersion = 1;

// A text field: absent reads as empty, anything but a string refuses the file.
bool ReadText(const Json& doc, const char* key, std::string& out, std::string& error) {
  const auto it = doc.find(key);
  if (it == doc.end()) return true;
  if (!it->is_string()) {
    error = std::string("\"") + key + "\" is not a text";
    return false;
  }
  out = it->get<std::string>();
  return true;
}

}  // namespace

std::string EncodeVehicle(const Vehicle& vehicle) {
  Json doc = Json::object();
  doc["format"] = kFormat;
  doc["format_version"] = kFormatVersion;
  doc["plate"] = vehicle.id;
  doc["name"] = vehicle.name;
  doc["customer"] = vehicle.customer;
  doc["phone"] = vehicle.phone;
  doc["notes"] = vehicle.notes;
  doc["created_at"] = vehicle.created_at;
  return RecordJsonText(doc);
}

DecodedVehicle DecodeVehicle(std::string_view text) {
  DecodedVehicle decoded;
  const std::optional<Json> parsed =
      ParseRecordObject<Json>(text, kFormat, "not a vehicle record", decoded.error);
  if (!parsed) return decoded;
  const Json& doc = *parsed;
  Vehicle vehicle;
  for (const auto& [key, field] :
       {std::pair{"plate", &vehicle.id}, std::pair{"name", &vehicle.name},
        std::pair{"customer", &vehicle.customer}, std::pair{"phone", &vehicle.phone},
        std::pair{"notes", &vehicle.notes}, std::pair{"created_at", &vehicle.created_at}}) {
    if (!ReadText(doc, key, *field, decoded.error)) return decoded;
  }
  if (!CheckVehicleId(vehicle.id).ok || CheckVehicleId(vehicle.id).id != vehicle.id) {
    decoded.error = "the plate is not a valid identifier";
    return decoded;
  }
  decoded.vehicle = std::move(vehicle);
  return decoded;
}

}  // namespace zelk
