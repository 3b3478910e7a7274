// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Restore points saved with no vehicle chosen, given afterwards to the
// vehicle they belong to. Each becomes a settings record of the vehicle's
// history at the time it was saved, and leaves the restore points only once
// that record is written: a point is never lost on the way.

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace zelk {

struct AssignedRestorePoints {
  std::size_t assigned = 0;
  std::vector<std::string> refused;  // "name: why", for each point left where it was
};

AssignedRestorePoints AssignRestorePoints(const std::vector<std::filesystem::path>& points,
                                          const std::filesystem::path& vehicle_folder);

}  // namespace zelk
