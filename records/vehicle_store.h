// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The workshop's vehicles: a folder `vehicles/` in the data folder with one
// folder per vehicle (see vehicle_id.h for its name), each holding its record
// vehicle.json and its history. Listing is a scan of the folders: there is no
// index file that two programs could both rewrite.

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/vehicle.h"

namespace zelk {

inline constexpr std::string_view kVehiclesFolderName = "vehicles";

struct VehicleEntry {
  std::filesystem::path folder;
  std::optional<Vehicle> vehicle;  // empty when vehicle.json does not read
  std::string damaged;             // then why
  std::string last_activity;       // UTC: the newest record, else the creation
  std::string activity_order;      // sorts entries by last activity, to the millisecond
  std::string search_text;         // folded plate, name and customer
};

enum class VehicleRefusal { none, bad_id, exists, unknown, write_failed };

struct VehicleChange {
  VehicleRefusal refusal = VehicleRefusal::none;
  std::optional<VehicleEntry> entry;  // the vehicle as now stored
  std::string error;                  // the system's reason for write_failed
};

class VehicleStore {
 public:
  using Now = std::function<std::chrono::system_clock::time_point()>;

  // `root` is the vehicles' folder (data folder / kVehiclesFolderName).
  explicit VehicleStore(std::filesystem::path root, Now now = std::chrono::system_clock::now);

  const std::filesystem::path& root() const { return root_; }

  // A new vehicle; its identifier is checked and trimmed, the creation time
  // set. Refused when the identifier breaks the rule or folds like one that
  // exists; nothing is made then.
  VehicleChange Add(Vehicle vehicle) const;

  // The stored vehicle of the same identifier takes the new description,
  // customer, phone and notes (the identifier and creation time stay).
  VehicleChange Update(const Vehicle& vehicle) const;

  // The vehicle whose identifier folds like `id`.
  std::optional<VehicleEntry> Find(std::string_view id) const;

  // Every vehicle folder, newest activity first; a damaged one is listed.
  std::vector<VehicleEntry> List() const;

 private:
  std::filesystem::path root_;
  Now now_;
};

// The entries whose plate, description or customer hold `search`, folded
// (ignoring case and accents), in the order given.
std::vector<const VehicleEntry*> SearchVehicles(const std::vector<VehicleEntry>& entries,
                                                std::string_view search);

}  // namespace zelk
