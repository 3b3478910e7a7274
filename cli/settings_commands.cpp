// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/settings_commands.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iomanip>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>

#include "cli/commands.h"
#include "cli/hex_text.h"
#include "cli/stop_signal.h"
#include "cli/vehicle_commands.h"
#include "cli/vehicle_records.h"
#include "session/data_folder.h"
#include "session/guarded_write.h"
#include "session/module_version.h"
#include "session/vehicle_restore_points.h"
#include "settings_file/block_ranges.h"
#include "settings_file/edited_settings_file.h"
#include "settings_file/file_io.h"
#include "settings_file/settings_overlay.h"
#include "text/path_text.h"
#include "text/terminal_text.h"

namespace zelk::cli {

namespace {

using Json = nlohmann::ordered_json;

constexpr int kNameColumn = 16;
constexpr int kValueColumn = 10;
constexpr std::string_view kForceOption = "--force";

void Say(std::ostream& err, const std::string& message) {
  err << "zelkctl: " << TerminalSafe(message) << '\n';
}

int CommunicationFailure(std::ostream& err, const std::string& step) {
  Say(err, step + ": " + std::string(kCommunicationFailText));
  return kExitCommunication;
}

// What a command learns from the module before it writes: its version (for
// the files it saves) and the settings block.
struct ModuleRead {
  std::string version;
  SettingsBlock block{};
};

std::optional<ModuleRead> ReadModule(Session& session, std::ostream& err) {
  const Result<ModuleVersion> version = session.ReadVersion();
  if (!version.ok()) {
    CommunicationFailure(err, "asking the module's version");
    return std::nullopt;
  }
  const Result<SettingsValues> read = session.ReadSettingsBlock();
  if (!read.ok()) {
    CommunicationFailure(err, "reading the settings");
    return std::nullopt;
  }
  return ModuleRead{ModuleVersionText(version.value), read.value.block};
}

std::string Now() {
  return UtcTimeText(std::chrono::system_clock::now());
}

std::optional<SettingsFile> LoadFile(const std::string& name, std::ostream& err) {
  const FileRead read = ReadSmallFile(PathFromUtf8(name));
  if (!read.ok) {
    Say(err, read.error);
    return std::nullopt;
  }
  DecodedSettingsFile decoded = DecodeSettingsFile(read.contents);
  if (!decoded.file) Say(err, name + ": " + decoded.error);
  return std::move(decoded.file);
}

void PrintDifferences(const std::vector<SettingDifference>& differences,
                      const std::string& first_name, const std::string& second_name,
                      std::ostream& out) {
  out << std::left << std::setw(kNameColumn) << "setting" << std::setw(kValueColumn)
      << TerminalSafe(first_name) << ' ' << TerminalSafe(second_name) << '\n';
  for (const SettingDifference& difference : differences) {
    out << std::setw(kNameColumn) << difference.name << std::setw(kValueColumn) << difference.first
        << ' ' << difference.second << '\n';
  }
  out << std::right;
}

// A stop once the settings went out: the module holds something new, so say
// how far the command got, with the restore point that undoes it.
int SayWhereItStopped(const GuardedWrite& result, const std::string& kept, std::ostream& err) {
  std::string where = "interrupted after the settings were sent; ";
  if (result.stopped_before_read_back) {
    where += "they were not read back";
  } else if (result.outcome == WriteOutcome::read_back_failed) {
    where += "reading them back: " + std::string(kCommunicationFailText);
  } else if (result.outcome == WriteOutcome::differs) {
    where += "the read back differs from them";
  } else {
    where += "the read back shows the module holds them";
  }
  Say(err, where + "; " + kept);
  return kExitCommunication;
}

// The guarded write of restore and set, and what it says about the outcome.
int WriteAndVerify(Session& session, RestorePointTarget& points, const ModuleRead& read,
                   const SettingsBlock& to_write, SaveReason reason, const std::string& done,
                   const WriteStop& stop, std::ostream& out, std::ostream& err) {
  const GuardedWrite result =
      WriteWithRestorePoint(session, points, read.block, to_write, reason, read.version, stop);
  const std::string kept =
      result.restore_point.path ? "restore point " + Utf8PathText(*result.restore_point.path) : "";
  if (result.written.write.ok() && stop.requested && stop.requested()) {
    return SayWhereItStopped(result, kept, err);
  }
  switch (result.outcome) {
    case WriteOutcome::no_restore_point:
      Say(err, result.restore_point.error + "; nothing was written");
      return kExitUsage;
    case WriteOutcome::write_failed:
      Say(err, "writing the settings: " + std::string(kCommunicationFailText) + "; " + kept);
      return kExitCommunication;
    case WriteOutcome::read_back_failed:
      Say(err, "the settings were sent, but reading them back: " +
                   std::string(kCommunicationFailText) + "; " + kept);
      return kExitCommunication;
    case WriteOutcome::differs:
      Say(err, "the module does not hold the settings written; " + kept);
      PrintDifferences(
          CompareSettings(TextsOf(SettingsOfBlock(to_write)),
                          TextsOf(SettingsOfBlock(result.written.read_back->settings.value.block))),
          "written", "read back", out);
      return kExitDiffers;
    case WriteOutcome::verified:
      out << done << "; " << TerminalSafe(kept) << '\n';
      return kExitOk;
  }
  return kExitCommunication;
}

// The restore points of no vehicle, or with --vehicle the vehicle's history.
std::unique_ptr<RestorePointTarget> OpenRestorePoints(CommandContext& context) {
  if (context.options.vehicle_given) {
    const std::optional<VehicleEntry> vehicle = VehicleOnTheBench(context);
    if (!vehicle) return nullptr;
    return std::make_unique<VehicleRestorePoints>(vehicle->folder);
  }
  DataFolder folder = RestorePointFolder();
  if (!folder.path) {
    Say(context.err, "no folder for restore points: " + folder.error + "; nothing was written");
    return nullptr;
  }
  return std::make_unique<RestorePoints>(std::move(*folder.path));
}

bool BlockWithinRanges(const SettingsFile& file, const std::string& name, std::ostream& err) {
  if (!file.block) return true;  // its settings were range-checked as it was read
  const std::vector<std::string> outside = SettingsOutsideTheirRanges(*file.block);
  if (outside.empty()) return true;
  for (const std::string& setting : outside) {
    std::string line = name;
    line.append(": ").append(setting);
    Say(err, line);
  }
  Say(err, name + ": holds settings no entry check allows; nothing was written (restore " +
               std::string(kForceOption) + " writes it as it is)");
  return false;
}

// SIGINT and SIGTERM end the command at once until the write goes out; from
// then on they are noted and the command says where it stopped.
WriteStop StopOnSignals() {
  return {InstallStopSignals, StopRequested};
}

bool OneOperand(CommandContext& context, const std::vector<std::string>& operands,
                std::string_view what) {
  if (operands.size() == 1) return true;
  UsageError(context, operands.empty()
                          ? std::string(context.options.command) + " needs " + std::string(what)
                          : "unexpected argument '" + operands[1] + "'");
  return false;
}

// The settings as the read command shows them: name, value, unit.
void PrintSettingsTable(const SettingsBlock& block, std::ostream& out) {
  const SettingTexts texts = TextsOf(SettingsOfBlock(block));
  const bool wide_band = OptionChecked(block, kBandaLarga);
  for (const SettingRow& row : kSettings) {
    const std::string_view unit = FileSettingUnit(row.id, wide_band);
    out << std::left << std::setw(kNameColumn) << row.name;
    if (unit.empty()) {
      out << *texts[row.id] << '\n';
    } else {
      out << std::setw(kValueColumn) << *texts[row.id] << ' ' << unit << '\n';
    }
  }
  out << std::right;
}

}  // namespace

int RunRead(Session& session, bool json, std::ostream& out, std::ostream& err,
            VehicleHistory* history) {
  const std::optional<ModuleRead> read = ReadModule(session, err);
  if (!read) return kExitCommunication;
  if (json) {
    out << EncodeSettingsFile(
        MakeSettingsFile(read->block, read->version, Now(), SaveReason::backup));
  } else {
    PrintSettingsTable(read->block, out);
  }
  out.flush();
  if (!history) return kExitOk;
  return RecordSettings(*history,
                        MakeSettingsFile(read->block, read->version, Now(), SaveReason::read),
                        kExitOk, err);
}

int RunBackup(Session& session, const std::string& file, std::ostream& out, std::ostream& err,
              VehicleHistory* history) {
  const std::optional<ModuleRead> read = ReadModule(session, err);
  if (!read) return kExitCommunication;
  const SettingsFile backup =
      MakeSettingsFile(read->block, read->version, Now(), SaveReason::backup);
  const std::string text = EncodeSettingsFile(backup);
  if (file == "-") {
    out << text;
    out.flush();
    if (!out) return kExitUsage;
  } else {
    const FileWrite written = WriteFileAtomically(PathFromUtf8(file), text);
    if (!written.ok) {
      Say(err, "cannot save " + written.error);
      return kExitUsage;
    }
    out << "saved " << TerminalSafe(file) << '\n';
    out.flush();
  }
  // The history keeps the backup once the file holds it.
  if (!history) return kExitOk;
  return RecordSettings(*history, backup, kExitOk, err);
}

int RunRestore(Session& session, const SettingsFile& file, RestorePointTarget& points,
               std::ostream& out, std::ostream& err, const WriteStop& stop, bool any_version) {
  const std::optional<ModuleRead> read = ReadModule(session, err);
  if (!read) return kExitCommunication;
  // A file's settings are laid out for its module's major version.
  if (!any_version && OtherMajorVersion(file.module_version, session.module_version())) {
    Say(err, "the file is for module version " + file.module_version + ", the module is version " +
                 read->version + "; nothing was written (--force writes it anyway)");
    return kExitUsage;
  }
  const AppliedSettings applied = ApplySettingsFile(file, read->block);
  if (!applied.block) {
    Say(err, applied.error + "; nothing was written");
    return kExitUsage;
  }
  return WriteAndVerify(session, points, *read, *applied.block, SaveReason::before_restore,
                        "restored", stop, out, err);
}

int RunSet(Session& session, const FileSettings& settings, RestorePointTarget& points,
           std::ostream& out, std::ostream& err, const WriteStop& stop) {
  const std::optional<ModuleRead> read = ReadModule(session, err);
  if (!read) return kExitCommunication;
  const AppliedSettings applied = ApplyFileSettings(settings, read->block);
  if (!applied.block) {
    Say(err, applied.error + "; nothing was written");
    return kExitUsage;
  }
  return WriteAndVerify(session, points, *read, *applied.block, SaveReason::before_set, "set", stop,
                        out, err);
}

int RunDiff(const SettingTexts& other, const std::string& other_name, const SettingTexts& file,
            const std::string& file_name, std::ostream& out) {
  const std::vector<SettingDifference> differences = CompareSettings(other, file);
  if (differences.empty()) {
    out << "no difference\n";
    return kExitOk;
  }
  PrintDifferences(differences, other_name, file_name, out);
  return kExitDiffers;
}

int RunRestorePoints(const RestorePoints& points, std::ostream& out, bool json) {
  return PrintRestorePoints(points.List(), points.folder(), json, out);
}

int PrintRestorePoints(const std::vector<RestorePoint>& listed, const std::filesystem::path& folder,
                       bool json, std::ostream& out) {
  if (json) {
    Json list = Json::array();
    for (const RestorePoint& point : listed) {
      Json entry = Json::object();
      if (point.file) {
        entry["time"] = point.file->saved_at;
        entry["module_version"] = point.file->module_version;
        entry["reason"] = point.file->reason ? ReasonName(*point.file->reason) : "";
      } else {
        entry["damaged"] = point.error;
      }
      entry["file"] = Utf8PathText(std::filesystem::absolute(point.path));
      list.push_back(std::move(entry));
    }
    out << list.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
    return kExitOk;
  }
  if (listed.empty()) {
    out << "no restore points in " << TerminalSafe(Utf8PathText(folder)) << '\n';
    return kExitOk;
  }
  for (const RestorePoint& point : listed) {
    if (!point.file) {
      out << TerminalSafe(Utf8PathText(point.path)) << ": " << TerminalSafe(point.error) << '\n';
      continue;
    }
    const SettingsFile& file = *point.file;
    out << std::left << std::setw(21) << TerminalSafe(file.saved_at) << ' ' << std::setw(6)
        << TerminalSafe(file.module_version) << ' ' << std::setw(15)
        << (file.reason ? ReasonName(*file.reason) : "") << ' ' << std::right
        << TerminalSafe(Utf8PathText(point.path)) << '\n';
  }
  return kExitOk;
}

int ReadCommand(CommandContext& context, const std::vector<std::string>& operands) {
  const std::optional<bool> json_flag = JsonFlagOnly(context, operands);
  if (!json_flag) return kExitUsage;
  const bool json = *json_flag;
  std::optional<VehicleHistory> history;
  if (!HistoryOnTheBench(context, history)) return kExitUsage;
  Session* session = context.OpenSession();
  if (session == nullptr) return kExitUsage;
  return RunRead(*session, json, context.out, context.err, history ? &*history : nullptr);
}

int BackupCommand(CommandContext& context, const std::vector<std::string>& operands) {
  if (!OneOperand(context, operands, "a FILE (- for standard output)")) return kExitUsage;
  std::optional<VehicleHistory> history;
  if (!HistoryOnTheBench(context, history)) return kExitUsage;
  Session* session = context.OpenSession();
  if (session == nullptr) return kExitUsage;
  return RunBackup(*session, operands.front(), context.out, context.err,
                   history ? &*history : nullptr);
}

int RestoreCommand(CommandContext& context, const std::vector<std::string>& operands) {
  std::vector<std::string> files;
  bool force = false;
  for (const std::string& operand : operands) {
    if (operand == kForceOption) {
      force = true;
    } else {
      files.push_back(operand);
    }
  }
  if (!OneOperand(context, files, "a FILE")) return kExitUsage;
  const std::optional<SettingsFile> file = LoadFile(files.front(), context.err);
  if (!file) return kExitUsage;
  if (!force && !BlockWithinRanges(*file, files.front(), context.err)) return kExitUsage;
  const std::unique_ptr<RestorePointTarget> points = OpenRestorePoints(context);
  if (!points) return kExitUsage;
  Session* session = context.OpenSession();
  if (session == nullptr) return kExitUsage;
  return RunRestore(*session, *file, *points, context.out, context.err, StopOnSignals(), force);
}

int SetCommand(CommandContext& context, const std::vector<std::string>& operands) {
  if (operands.empty()) return UsageError(context, "set needs NAME=VALUE");
  FileSettings settings;
  for (const std::string& assignment : operands) {
    const std::string problem = AddAssignment(assignment, settings);
    if (!problem.empty()) return UsageError(context, problem);
  }
  // The rules that need no module: ranges, whole numbers, porc_mistura
  // against a limite_corr named with it.
  const std::string out_of_range = CheckSettingRanges(settings, kSettings[kLimiteCorr].max);
  if (!out_of_range.empty()) return UsageError(context, out_of_range);
  const std::unique_ptr<RestorePointTarget> points = OpenRestorePoints(context);
  if (!points) return kExitUsage;
  Session* session = context.OpenSession();
  if (session == nullptr) return kExitUsage;
  return RunSet(*session, settings, *points, context.out, context.err, StopOnSignals());
}

int EditCommand(CommandContext& context, const std::vector<std::string>& operands) {
  std::string file_name;
  std::string out_name;
  FileSettings changes;
  for (std::size_t i = 0; i < operands.size(); ++i) {
    const std::string& operand = operands[i];
    if (operand == "-o") {
      if (i + 1 == operands.size()) return UsageError(context, "-o needs a file");
      out_name = operands[++i];
    } else if (file_name.empty()) {
      file_name = operand;
    } else {
      const std::string problem = AddAssignment(operand, changes);
      if (!problem.empty()) return UsageError(context, problem);
    }
  }
  if (file_name.empty()) return UsageError(context, "edit needs a FILE");
  if (changes.empty()) return UsageError(context, "edit needs NAME=VALUE");
  const std::optional<SettingsFile> file = LoadFile(file_name, context.err);
  if (!file) return kExitUsage;
  const EditedSettingsFile edited = EditSettingsFile(*file, changes, Now());
  if (!edited.file) {
    Say(context.err, file_name + ": " + edited.error);
    return kExitUsage;
  }
  const std::string& target = out_name.empty() ? file_name : out_name;
  const FileWrite written =
      WriteFileAtomically(PathFromUtf8(target), EncodeSettingsFile(*edited.file));
  if (!written.ok) {
    Say(context.err, "cannot save " + written.error);
    return kExitUsage;
  }
  context.out << "saved " << TerminalSafe(target) << '\n';
  return kExitOk;
}

int DiffCommand(CommandContext& context, const std::vector<std::string>& operands) {
  if (operands.empty() || operands.size() > 2) {
    return UsageError(context, operands.empty() ? "diff needs a FILE"
                                                : "unexpected argument '" + operands[2] + "'");
  }
  if (operands.size() == 1 && !context.has_port()) {
    return UsageError(context, "diff FILE compares with the module: give --port NAME, or a FILE2");
  }
  const std::optional<SettingsFile> file = LoadFile(operands[0], context.err);
  if (!file) return kExitUsage;
  if (operands.size() == 2) {
    const std::optional<SettingsFile> other = LoadFile(operands[1], context.err);
    if (!other) return kExitUsage;
    return RunDiff(TextsOfFile(*other), operands[1], TextsOfFile(*file), operands[0], context.out);
  }
  Session* session = context.OpenSession();
  if (session == nullptr) return kExitUsage;
  const std::optional<ModuleRead> read = ReadModule(*session, context.err);
  if (!read) return kExitCommunication;
  return RunDiff(TextsOf(SettingsOfBlock(read->block)), "module", TextsOfFile(*file), operands[0],
                 context.out);
}

int RestorePointsCommand(CommandContext& context, const std::vector<std::string>& operands) {
  const std::optional<bool> json_flag = JsonFlagOnly(context, operands);
  if (!json_flag) return kExitUsage;
  const bool json = *json_flag;
  if (context.options.vehicle_given) {
    const std::optional<VehicleRestorePointList> points =
        RestorePointsOfVehicle(context, context.options.vehicle);
    if (!points) return kExitUsage;
    return PrintRestorePoints(points->listed, points->folder, json, context.out);
  }
  DataFolder folder = RestorePointFolder();
  if (!folder.path) return UsageError(context, "no folder for restore points: " + folder.error);
  // A folder that cannot be read is not one without restore points; one not
  // made yet is.
  std::error_code unreadable;
  const std::filesystem::directory_iterator listing(*folder.path, unreadable);
  if (unreadable && unreadable != std::errc::no_such_file_or_directory) {
    return UsageError(context, "cannot read the restore point folder " +
                                   Utf8PathText(*folder.path) + ": " + unreadable.message());
  }
  return RunRestorePoints(RestorePoints(std::move(*folder.path)), context.out, json);
}

}  // namespace zelk::cli
