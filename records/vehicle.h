// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A vehicle's own record: who and what it is. It is the file vehicle.json in
// the vehicle's folder; its history lies beside it, one file per record.

#include <optional>
#include <string>
#include <string_view>

namespace zelk {

inline constexpr std::string_view kVehicleFileName = "vehicle.json";

struct Vehicle {
  std::string id;    // plate or short name, as CheckVehicleId keeps it
  std::string name;  // make, model, year, engine: free text
  std::string customer;
  std::string phone;
  std::string notes;
  std::string created_at;  // UTC, "2026-12-09T10:15:00Z"
};

// The JSON text, ending in a newline.
std::string EncodeVehicle(const Vehicle& vehicle);

struct DecodedVehicle {
  std::optional<Vehicle> vehicle;  // set when the text was accepted
  std::string error;               // else why not
};

DecodedVehicle DecodeVehicle(std::string_view text);

}  // namespace zelk
