// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/assign_restore_points.h"

#include <chrono>
#include <optional>
#include <system_error>

#include "records/vehicle_history.h"
#include "settings_file/file_io.h"
#include "settings_file/settings_file.h"
#include "text/utc_time.h"

namespace zelk {

AssignedRestorePoints AssignRestorePoints(const std::vector<std::filesystem::path>& points,
                                          const std::filesystem::path& vehicle_folder) {
  AssignedRestorePoints outcome;
  for (const std::filesystem::path& point : points) {
    const std::string name = point.filename().string();
    const FileRead read = ReadSmallFile(point);
    if (!read.ok) {
      outcome.refused.push_back(name + ": " + read.error);
      continue;
    }
    const DecodedSettingsFile decoded = DecodeSettingsFile(read.contents);
    if (!decoded.file) {
      outcome.refused.push_back(name + ": " + decoded.error);
      continue;
    }
    // The record takes the time the point was saved, so the timeline shows
    // it where it happened.
    const std::chrono::system_clock::time_point saved =
        UtcTimeOfText(decoded.file->saved_at).value_or(std::chrono::system_clock::now());
    const AddedRecord added =
        VehicleHistory(vehicle_folder, [saved] { return saved; }).AddSettings(*decoded.file);
    if (!added.file) {
      outcome.refused.push_back(name + ": " + added.error);
      continue;
    }
    std::error_code removed;
    std::filesystem::remove(point, removed);
    if (removed) {
      outcome.refused.push_back(name +
                                ": kept in the vehicle, but not removed from the restore "
                                "points: " +
                                removed.message());
      continue;
    }
    ++outcome.assigned;
  }
  return outcome;
}

}  // namespace zelk
