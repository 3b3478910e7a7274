// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the module commands (read, backup, monitor) keep in the history of the
// vehicle on the bench. The vehicle is looked up before the port is opened, so
// an unknown one sends nothing; a record that cannot be written turns a
// success into exit 1, so a script does not take the run for recorded.

#include <optional>
#include <ostream>

#include "cli/command_table.h"
#include "records/vehicle_history.h"
#include "settings_file/settings_file.h"

namespace zelk::cli {

// The history of the vehicle --vehicle names, in `history`; left empty when
// none was named. False, after saying why, for an unknown or refused vehicle
// (the command then exits with 2).
bool HistoryOnTheBench(CommandContext& context, std::optional<VehicleHistory>& history);

// Adds `file` to `history` (the same block as its newest settings record is
// not written again) and returns `status`; when it cannot be written, says why
// on `err` and a success becomes exit 1.
int RecordSettings(VehicleHistory& history, const SettingsFile& file, int status,
                   std::ostream& err);

}  // namespace zelk::cli
