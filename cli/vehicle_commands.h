// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// zelkctl's vehicle commands: the workshop's vehicles and their histories in
// the data folder, without a module. `vehicles` lists and searches, `vehicle
// add` makes one, `vehicle show` prints one with its history, `vehicle note`
// adds a note to it.
//
// Exit status: 0 done; 1 the data folder could not be written; 2 bad usage,
// a refused identifier, an identifier that exists (add) or is unknown.

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/command_table.h"
#include "records/vehicle_store.h"
#include "session/restore_points.h"

namespace zelk::cli {

// The vehicle --vehicle names; nothing after saying why it is unknown or
// refused (the command then exits with 2, before the port is opened).
std::optional<VehicleEntry> VehicleOnTheBench(CommandContext& context);

struct VehicleRestorePointList {
  std::filesystem::path folder;
  std::vector<RestorePoint> listed;  // newest first
};

// The settings records of vehicle `id`, as restore points; nothing after
// saying why the vehicle is unknown or refused.
std::optional<VehicleRestorePointList> RestorePointsOfVehicle(CommandContext& context,
                                                              const std::string& id);

int RunVehicles(const VehicleStore& store, bool json, const std::string& search, std::ostream& out);

int VehiclesCommand(CommandContext& context, const std::vector<std::string>& operands);
int VehicleCommand(CommandContext& context, const std::vector<std::string>& operands);

}  // namespace zelk::cli
