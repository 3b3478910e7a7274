// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/vehicle_records.h"

#include "cli/commands.h"
#include "cli/hex_text.h"
#include "cli/vehicle_commands.h"
#include "text/terminal_text.h"

namespace zelk::cli {

bool HistoryOnTheBench(CommandContext& context, std::optional<VehicleHistory>& history) {
  if (!context.options.vehicle_given) return true;
  const std::optional<VehicleEntry> entry = VehicleOnTheBench(context);
  if (!entry) return false;
  history.emplace(entry->folder);
  return true;
}

int RecordSettings(VehicleHistory& history, const SettingsFile& file, int status,
                   std::ostream& err) {
  const AddedRecord added = history.AddSettings(file);
  if (added.file) return status;
  err << "zelkctl: the settings could not be recorded in the vehicle's history: "
      << TerminalSafe(added.error) << '\n';
  return status == kExitOk ? kExitCommunication : status;
}

}  // namespace zelk::cli
