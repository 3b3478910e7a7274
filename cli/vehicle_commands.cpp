// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/vehicle_commands.h"

#include <algorithm>
#include <array>
#include <nlohmann/json.hpp>
#include <optional>
#include <string_view>
#include <utility>

#include "cli/commands.h"
#include "cli/hex_text.h"
#include "records/vehicle_history.h"
#include "records/vehicle_id.h"
#include "session/data_folder.h"
#include "text/path_text.h"
#include "text/terminal_text.h"

namespace zelk::cli {
namespace {

using Json = nlohmann::ordered_json;

constexpr std::array<std::string_view, 6> kKindNames{"settings", "note",          "program-run",
                                                     "log",      "commissioning", "report"};

std::string_view KindName(RecordKind kind) {
  return kKindNames.at(static_cast<std::size_t>(kind));
}

std::string JsonText(const Json& doc) {
  return doc.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

Json VehicleJson(const VehicleEntry& entry) {
  Json doc = Json::object();
  if (entry.vehicle) {
    doc["plate"] = entry.vehicle->id;
    doc["name"] = entry.vehicle->name;
    doc["customer"] = entry.vehicle->customer;
    doc["phone"] = entry.vehicle->phone;
  } else {
    doc["damaged"] = entry.damaged;
  }
  doc["last_activity"] = entry.last_activity;
  doc["folder"] = Utf8PathText(entry.folder);
  return doc;
}

// What a record was made for: a settings file's reason, a program run's
// program and result, a commissioning step's name and outcome.
std::string Reason(const HistoryRecord& record) {
  if (record.settings && record.settings->reason) {
    return std::string(ReasonName(*record.settings->reason));
  }
  if (record.program_run) {
    return record.program_run->program + " " +
           std::string(ProgramResultName(record.program_run->result));
  }
  if (record.commissioning) {
    const CommissioningRecord& step = *record.commissioning;
    std::string reason = std::string(CommissioningStepName(step.step)) + " " +
                         std::string(StepOutcomeName(step.outcome));
    if (!step.reason.empty()) reason += ": " + step.reason;
    return reason;
  }
  return {};
}

std::string ModuleVersionOf(const HistoryRecord& record) {
  if (record.settings) return record.settings->module_version;
  if (record.program_run) return record.program_run->module_version;
  if (record.commissioning) return record.commissioning->module_version;
  return {};
}

Json RecordJson(const HistoryRecord& record) {
  Json doc = Json::object();
  doc["time"] = record.time;
  doc["kind"] = KindName(record.kind);
  doc["reason"] = Reason(record);
  doc["module_version"] = ModuleVersionOf(record);
  doc["file"] = Utf8PathText(record.file);
  if (record.kind == RecordKind::note && record.damaged.empty()) doc["note"] = record.note;
  if (!record.damaged.empty()) doc["damaged"] = record.damaged;
  return doc;
}

std::optional<VehicleStore> StoreOrSay(CommandContext& context) {
  DataFolder folder = VehiclesFolder();
  if (!folder.path) {
    UsageError(context, "no folder for vehicles: " + folder.error);
    return std::nullopt;
  }
  return VehicleStore(std::move(*folder.path));
}

// The vehicle `id` names, or nothing after saying why (exit 2).
std::optional<VehicleEntry> KnownVehicle(CommandContext& context, const VehicleStore& store,
                                         const std::string& id) {
  if (!CheckVehicleId(id).ok) {
    UsageError(context, kVehicleIdRule);
    return std::nullopt;
  }
  std::optional<VehicleEntry> entry = store.Find(id);
  if (!entry) {
    UsageError(context, "no vehicle '" + id + "' (zelkctl vehicles lists them)");
  } else if (!entry->vehicle) {
    UsageError(context, "the record of vehicle '" + id + "' does not read: " + entry->damaged);
    entry.reset();
  }
  return entry;
}

int VehicleAdd(CommandContext& context, const VehicleStore& store,
               const std::vector<std::string>& operands) {
  if (operands.empty()) return UsageError(context, "vehicle add: which plate or name?");
  Vehicle vehicle;
  vehicle.id = operands.front();
  const std::array<std::pair<std::string_view, std::string*>, 4> fields{{
      {"--name", &vehicle.name},
      {"--customer", &vehicle.customer},
      {"--phone", &vehicle.phone},
      {"--notes", &vehicle.notes},
  }};
  for (std::size_t i = 1; i < operands.size(); i += 2) {
    const auto* field = std::find_if(fields.begin(), fields.end(),
                                     [&](const auto& f) { return f.first == operands[i]; });
    if (field == fields.end()) {
      return UsageError(context, "unexpected argument '" + operands[i] + "'");
    }
    if (i + 1 >= operands.size()) {
      return UsageError(context, std::string(field->first) + " needs a text");
    }
    *field->second = operands[i + 1];
  }
  const VehicleChange added = store.Add(vehicle);
  switch (added.refusal) {
    case VehicleRefusal::none:
      context.out << "added " << TerminalSafe(added.entry->vehicle->id) << " in "
                  << TerminalSafe(Utf8PathText(added.entry->folder)) << '\n';
      return kExitOk;
    case VehicleRefusal::bad_id:
      return UsageError(context, kVehicleIdRule);
    case VehicleRefusal::exists:
    case VehicleRefusal::unknown:
      return UsageError(context, "a vehicle '" + vehicle.id + "' exists already");
    case VehicleRefusal::write_failed:
      break;
  }
  context.err << "zelkctl: " << TerminalSafe(added.error) << '\n';
  return kExitCommunication;
}

int VehicleShow(CommandContext& context, const VehicleStore& store,
                const std::vector<std::string>& operands) {
  const bool json = operands.size() == 2 && operands[1] == "--json";
  if (operands.empty() || operands.size() > (json ? 2u : 1u)) {
    return UsageError(context, "usage: zelkctl vehicle show ID [--json]");
  }
  const std::optional<VehicleEntry> entry = KnownVehicle(context, store, operands.front());
  if (!entry) return kExitUsage;
  const std::vector<HistoryRecord> history = VehicleHistory(entry->folder).Timeline();
  const Vehicle& vehicle = *entry->vehicle;
  if (json) {
    Json doc = VehicleJson(*entry);
    doc["notes"] = vehicle.notes;
    doc["created_at"] = vehicle.created_at;
    Json records = Json::array();
    for (const HistoryRecord& record : history) records.push_back(RecordJson(record));
    doc["history"] = std::move(records);
    context.out << JsonText(doc);
    return kExitOk;
  }
  for (const auto& [label, text] :
       {std::pair{"plate", &vehicle.id}, std::pair{"name", &vehicle.name},
        std::pair{"customer", &vehicle.customer}, std::pair{"phone", &vehicle.phone},
        std::pair{"notes", &vehicle.notes}, std::pair{"created", &vehicle.created_at}}) {
    context.out << label << ": " << TerminalSafe(*text) << '\n';
  }
  context.out << "folder: " << TerminalSafe(Utf8PathText(entry->folder)) << '\n';
  context.out << "history: " << history.size() << " record(s), newest first\n";
  for (const HistoryRecord& record : history) {
    context.out << record.time << '\t' << KindName(record.kind) << '\t'
                << TerminalSafe(Reason(record)) << '\t' << TerminalSafe(ModuleVersionOf(record))
                << '\t' << TerminalSafe(Utf8PathText(record.file.filename()));
    if (!record.damaged.empty()) context.out << "\tdamaged: " << TerminalSafe(record.damaged);
    if (record.kind == RecordKind::note) context.out << '\t' << TerminalSafe(record.note);
    context.out << '\n';
  }
  return kExitOk;
}

int VehicleNote(CommandContext& context, const VehicleStore& store,
                const std::vector<std::string>& operands) {
  if (operands.size() != 2 || operands[1].empty()) {
    return UsageError(context, "usage: zelkctl vehicle note ID TEXT");
  }
  const std::optional<VehicleEntry> entry = KnownVehicle(context, store, operands.front());
  if (!entry) return kExitUsage;
  const AddedRecord note = VehicleHistory(entry->folder).AddNote(operands[1]);
  if (!note.file) {
    context.err << "zelkctl: " << TerminalSafe(note.error) << '\n';
    return kExitCommunication;
  }
  context.out << "noted in " << TerminalSafe(Utf8PathText(*note.file)) << '\n';
  return kExitOk;
}

}  // namespace

std::optional<VehicleEntry> VehicleOnTheBench(CommandContext& context) {
  const std::optional<VehicleStore> store = StoreOrSay(context);
  if (!store) return std::nullopt;
  return KnownVehicle(context, *store, context.options.vehicle);
}

std::optional<VehicleRestorePointList> RestorePointsOfVehicle(CommandContext& context,
                                                              const std::string& id) {
  const std::optional<VehicleStore> store = StoreOrSay(context);
  if (!store) return std::nullopt;
  const std::optional<VehicleEntry> entry = KnownVehicle(context, *store, id);
  if (!entry) return std::nullopt;
  VehicleRestorePointList points{entry->folder, {}};
  for (HistoryRecord& record : VehicleHistory(entry->folder).Timeline()) {
    if (record.kind != RecordKind::settings) continue;
    points.listed.push_back({record.file, std::move(record.settings), std::move(record.damaged)});
  }
  return points;
}

int RunVehicles(const VehicleStore& store, bool json, const std::string& search,
                std::ostream& out) {
  const std::vector<VehicleEntry> all = store.List();
  const std::vector<const VehicleEntry*> found = SearchVehicles(all, search);
  if (json) {
    Json list = Json::array();
    for (const VehicleEntry* entry : found) list.push_back(VehicleJson(*entry));
    // Damaged records are listed too, unless a search names something else.
    if (search.empty()) {
      for (const VehicleEntry& entry : all) {
        if (!entry.vehicle) list.push_back(VehicleJson(entry));
      }
    }
    out << JsonText(list);
    return kExitOk;
  }
  for (const VehicleEntry* entry : found) {
    const Vehicle& v = *entry->vehicle;
    out << TerminalSafe(v.id) << '\t' << entry->last_activity << '\t' << TerminalSafe(v.name)
        << '\t' << TerminalSafe(v.customer) << '\t' << TerminalSafe(v.phone) << '\n';
  }
  if (search.empty()) {
    for (const VehicleEntry& entry : all) {
      if (!entry.vehicle) {
        out << "damaged\t" << TerminalSafe(Utf8PathText(entry.folder)) << '\t'
            << TerminalSafe(entry.damaged) << '\n';
      }
    }
  }
  return kExitOk;
}

int VehiclesCommand(CommandContext& context, const std::vector<std::string>& operands) {
  bool json = false;
  std::string search;
  for (const std::string& operand : operands) {
    if (operand == "--json" && !json) {
      json = true;
    } else if (search.empty() && !operand.empty() && operand.front() != '-') {
      search = operand;
    } else {
      return UsageError(context, "unexpected argument '" + operand + "'");
    }
  }
  const std::optional<VehicleStore> store = StoreOrSay(context);
  if (!store) return kExitUsage;
  return RunVehicles(*store, json, search, context.out);
}

int VehicleCommand(CommandContext& context, const std::vector<std::string>& operands) {
  struct Sub {
    std::string_view name;
    int (*run)(CommandContext&, const VehicleStore&, const std::vector<std::string>&);
  };
  constexpr std::array<Sub, 3> kSubs{
      {{"add", VehicleAdd}, {"show", VehicleShow}, {"note", VehicleNote}}};
  if (operands.empty()) return UsageError(context, "vehicle: add, show or note?");
  const auto* sub = std::find_if(kSubs.begin(), kSubs.end(),
                                 [&](const Sub& s) { return s.name == operands.front(); });
  if (sub == kSubs.end()) {
    return UsageError(context, "vehicle: unknown '" + operands.front() + "' (add, show or note)");
  }
  const std::optional<VehicleStore> store = StoreOrSay(context);
  if (!store) return kExitUsage;
  return sub->run(context, *store, std::vector<std::string>(operands.begin() + 1, operands.end()));
}

}  // namespace zelk::cli
