// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/vehicle_restore_points.h"

#include <utility>

#include "text/utc_time.h"

namespace zelk {

VehicleRestorePoints::VehicleRestorePoints(std::filesystem::path vehicle_folder, Now now)
    : history_(std::move(vehicle_folder), now), now_(std::move(now)) {}

SavedRestorePoint VehicleRestorePoints::Save(const SettingsBlock& block,
                                             const std::string& module_version, SaveReason reason) {
  const AddedRecord added =
      history_.AddSettings(MakeSettingsFile(block, module_version, UtcTimeText(now_()), reason));
  return SavedRestorePoint{added.file, added.error};
}

}  // namespace zelk
