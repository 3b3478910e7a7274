// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Restore points kept in a vehicle's history: every one, for as long as the
// vehicle is kept, whatever work is done on other vehicles. The same block
// as the vehicle's newest settings record is not kept twice: that record is
// the restore point.

#include <chrono>
#include <filesystem>
#include <functional>

#include "records/vehicle_history.h"
#include "session/restore_points.h"

namespace zelk {

class VehicleRestorePoints : public RestorePointTarget {
 public:
  using Now = std::function<std::chrono::system_clock::time_point()>;

  explicit VehicleRestorePoints(std::filesystem::path vehicle_folder,
                                Now now = std::chrono::system_clock::now);

  SavedRestorePoint Save(const SettingsBlock& block, const std::string& module_version,
                         SaveReason reason) override;

 private:
  VehicleHistory history_;
  Now now_;
};

}  // namespace zelk
