// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The user's data folder, the same for the window and zelkctl: the folder
// chosen in the window when there is one, else $ZELK_DATA_DIR when it is set,
// else the platform's per-user application data folder
// (Linux: $XDG_DATA_HOME/programable-zelk or ~/.local/share/programable-zelk;
// Windows: %APPDATA%\Programable Zelk).

#include <filesystem>
#include <optional>
#include <string>

namespace zelk {

struct DataFolder {
  std::optional<std::filesystem::path> path;
  std::string error;  // why there is none
};

DataFolder UserDataFolder();

// The folder the technician chose in the window (File > Data folder...), for
// the rest of this process: it comes before $ZELK_DATA_DIR and the platform's
// folder. Empty: no choice. A relative path is no choice either.
void ChooseDataFolder(std::filesystem::path folder);

// The restore points' folder under the data folder.
DataFolder RestorePointFolder();

// The vehicles' folder under the data folder.
DataFolder VehiclesFolder();

}  // namespace zelk
