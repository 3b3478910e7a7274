// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Restore points: before every settings write the block as last read from the
// module is kept as a settings file in one folder, named by a sequence number
// one above the highest present and the time it was saved
// ("00000042-2026-12-09T10-15-00.123Z.zelk"). The number, not the clock, says
// which is newer: a PC whose clock was set back still saves its newest point
// as the newest. Points of the earlier form without a number
// ("2026-12-09T10-15-00.123Z-00.zelk") count as older than every numbered
// one. The newest kRestorePointsKept are kept, and never the one just saved
// is dropped.

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "settings/settings_block.h"
#include "settings_file/settings_file.h"
#include "text/utc_time.h"

namespace zelk {

inline constexpr std::size_t kRestorePointsKept = 100;

struct RestorePoint {
  std::filesystem::path path;
  std::optional<SettingsFile> file;  // empty when the file could not be read
  std::string error;                 // then why
};

struct SavedRestorePoint {
  std::optional<std::filesystem::path> path;  // the file written
  std::string error;                          // else why none could be
};

struct NamedRestorePoint;  // a file of the store and its place among the others

// Where a write keeps the block it is about to replace: the restore points
// of no vehicle, or the history of the vehicle on the bench.
class RestorePointTarget {
 public:
  virtual ~RestorePointTarget() = default;
  virtual SavedRestorePoint Save(const SettingsBlock& block, const std::string& module_version,
                                 SaveReason reason) = 0;
};

class RestorePoints : public RestorePointTarget {
 public:
  using Now = std::function<std::chrono::system_clock::time_point()>;

  explicit RestorePoints(std::filesystem::path folder, Now now = std::chrono::system_clock::now);

  const std::filesystem::path& folder() const { return folder_; }

  // Saves `block` (the folder is made when missing), then drops the oldest
  // beyond kRestorePointsKept. Two programs saving at once take different
  // numbers: a name already taken is never replaced, the next number is tried.
  SavedRestorePoint Save(const SettingsBlock& block, const std::string& module_version,
                         SaveReason reason) override;

  // Newest first; a file that does not read is listed with its reason.
  std::vector<RestorePoint> List() const;

 private:
  std::vector<NamedRestorePoint> NewestFirst() const;
  void DropOldest(const std::filesystem::path& just_saved) const;

  std::filesystem::path folder_;
  Now now_;
};

}  // namespace zelk
