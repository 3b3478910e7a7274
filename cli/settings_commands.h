// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// zelkctl's settings commands: read, backup, restore, set, edit, diff and
// restore-points. A file or an assignment is checked before the port is
// opened, and a write happens only after a restore point of the block as read
// has been saved; the write is then read back and compared.
//
// Exit status: 0 done (diff: no difference); 1 communication failure, or
// (read, backup with --vehicle) settings the vehicle's history could not
// keep; 2 bad usage, a port that cannot be opened, a file refused or not
// written, no restore point, a file whose block holds settings out of their
// ranges (restore --force writes it anyway); 3 the settings differ (diff: a
// difference; restore and set: the read back is not what was written). An
// interrupt (SIGINT, SIGTERM) before the write ends the command at once; one
// after it is reported with exit 1.

#include <ostream>
#include <string>
#include <vector>

#include "cli/command_table.h"
#include "records/vehicle_history.h"
#include "session/guarded_write.h"
#include "session/restore_points.h"
#include "session/session.h"
#include "settings_file/file_settings.h"
#include "settings_file/settings_file.h"

namespace zelk::cli {

inline constexpr int kExitDiffers = 3;

// The settings as a table (name, value, unit), or with `json` as a settings
// file. With a `history` (the vehicle on the bench), the settings as read go
// into it too (reason "read"); exit 1 when they cannot, after the output.
int RunRead(Session& session, bool json, std::ostream& out, std::ostream& err,
            VehicleHistory* history = nullptr);
// Reads and saves to `file` ("-": `out`); with a `history`, the saved settings
// go into it too (reason "backup"), as for RunRead.
int RunBackup(Session& session, const std::string& file, std::ostream& out, std::ostream& err,
              VehicleHistory* history = nullptr);
// Reads, applies `file` over the block read, and writes it behind a restore point.
// `stop` is armed just before the write goes out; a stop asked for from then
// on says that the settings were sent, whether and how they were read back,
// and the restore point, and returns 1. A file of another major module
// version than the module's is refused (exit 2) unless `any_version`.
int RunRestore(Session& session, const SettingsFile& file, RestorePointTarget& points,
               std::ostream& out, std::ostream& err, const WriteStop& stop = {},
               bool any_version = false);
// Reads, applies the named settings (range-checked), and writes them behind a
// restore point; `stop` as for RunRestore.
int RunSet(Session& session, const FileSettings& settings, RestorePointTarget& points,
           std::ostream& out, std::ostream& err, const WriteStop& stop = {});
// The settings of `other` (the module as read, or a second file) against `file`.
int RunDiff(const SettingTexts& other, const std::string& other_name, const SettingTexts& file,
            const std::string& file_name, std::ostream& out);
int RunRestorePoints(const RestorePoints& points, std::ostream& out, bool json = false);
// Newest first, as a table or with `json` as an array of {time, module_version,
// reason, file} (a file that does not read: {damaged, file}).
int PrintRestorePoints(const std::vector<RestorePoint>& listed, const std::filesystem::path& folder,
                       bool json, std::ostream& out);

int ReadCommand(CommandContext& context, const std::vector<std::string>& operands);
int BackupCommand(CommandContext& context, const std::vector<std::string>& operands);
int RestoreCommand(CommandContext& context, const std::vector<std::string>& operands);
int SetCommand(CommandContext& context, const std::vector<std::string>& operands);
// Changes settings in a file with no module: range-checked, written
// atomically in place or to -o OUT; a refused assignment changes nothing.
int EditCommand(CommandContext& context, const std::vector<std::string>& operands);
int DiffCommand(CommandContext& context, const std::vector<std::string>& operands);
int RestorePointsCommand(CommandContext& context, const std::vector<std::string>& operands);

}  // namespace zelk::cli
