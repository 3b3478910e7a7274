// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/vehicle_store.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "records/folding.h"
#include "records/vehicle_history.h"
#include "records/vehicle_id.h"
#include "settings_file/file_io.h"
#include "text/utc_time.h"

namespace zelk {
namespace {

// A vehicle.json is a few hundred bytes; notes may be long, not this long.
constexpr std::size_t kMaxVehicleFileSize = std::size_t{256} * 1024;

std::string SearchText(const Vehicle& vehicle) {
  std::string text = Folded(vehicle.id);
  text.append("\n").append(Folded(vehicle.name)).append("\n").append(Folded(vehicle.customer));
  return text;
}

// "2026-12-09T10:15:00Z" in the form of a record's name, "2026-12-09T10-15-00.000Z",
// so a vehicle without records sorts among those with some.
std::string FileStemOfTimeText(std::string text) {
  if (text.size() != 20) return text;
  text[13] = '-';
  text[16] = '-';
  text.insert(19, ".000");
  return text;
}

VehicleEntry ReadEntry(const std::filesystem::path& folder) {
  VehicleEntry entry;
  entry.folder = folder;
  const FileRead read = ReadSmallFile(folder / kVehicleFileName, kMaxVehicleFileSize);
  if (!read.ok) {
    entry.damaged = read.error;
  } else {
    DecodedVehicle decoded = DecodeVehicle(read.contents);
    entry.vehicle = std::move(decoded.vehicle);
    entry.damaged = std::move(decoded.error);
  }
  if (const std::optional<RecordTime> newest = VehicleHistory(folder).NewestTime()) {
    entry.last_activity = newest->time;
    entry.activity_order = newest->order;
  } else if (entry.vehicle) {
    entry.last_activity = entry.vehicle->created_at;
    entry.activity_order = FileStemOfTimeText(entry.vehicle->created_at);
  }
  if (entry.vehicle) entry.search_text = SearchText(*entry.vehicle);
  return entry;
}

VehicleChange Refused(VehicleRefusal refusal, std::string error = {}) {
  VehicleChange change;
  change.refusal = refusal;
  change.error = std::move(error);
  return change;
}

}  // namespace

VehicleStore::VehicleStore(std::filesystem::path root, Now now)
    : root_(std::move(root)), now_(std::move(now)) {}

VehicleChange VehicleStore::Add(Vehicle vehicle) const {
  const VehicleIdCheck check = CheckVehicleId(vehicle.id);
  if (!check.ok) return Refused(VehicleRefusal::bad_id);
  vehicle.id = check.id;
  vehicle.created_at = UtcTimeText(now_());
  const std::filesystem::path folder = root_ / VehicleFolderName(vehicle.id);
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    return Refused(VehicleRefusal::write_failed,
                   "cannot make the folder " + folder.string() + ": " + error.message());
  }
  // Keep, never replace: of two programs adding the same vehicle at once,
  // one makes it and the other is told it exists.
  const FileWrite write =
      WriteFileAtomically(folder / kVehicleFileName, EncodeVehicle(vehicle), ExistingFile::keep);
  if (write.exists) return Refused(VehicleRefusal::exists);
  if (!write.ok) return Refused(VehicleRefusal::write_failed, write.error);
  VehicleChange change;
  change.entry = ReadEntry(folder);
  return change;
}

VehicleChange VehicleStore::Update(const Vehicle& vehicle) const {
  const std::optional<VehicleEntry> stored = Find(vehicle.id);
  if (!stored || !stored->vehicle) return Refused(VehicleRefusal::unknown);
  Vehicle updated = vehicle;
  updated.id = stored->vehicle->id;
  updated.created_at = stored->vehicle->created_at;
  const FileWrite write = WriteFileAtomically(stored->folder / kVehicleFileName,
                                              EncodeVehicle(updated), ExistingFile::replace);
  if (!write.ok) return Refused(VehicleRefusal::write_failed, write.error);
  VehicleChange change;
  change.entry = ReadEntry(stored->folder);
  return change;
}

std::optional<VehicleEntry> VehicleStore::Find(std::string_view id) const {
  const VehicleIdCheck check = CheckVehicleId(id);
  if (!check.ok) return std::nullopt;
  const std::filesystem::path folder = root_ / VehicleFolderName(check.id);
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error)) return std::nullopt;
  VehicleEntry entry = ReadEntry(folder);
  // A folder's name is a hash: the record inside says whose it is.
  if (entry.vehicle && VehicleKey(entry.vehicle->id) != VehicleKey(check.id)) return std::nullopt;
  return entry;
}

std::vector<VehicleEntry> VehicleStore::List() const {
  std::vector<VehicleEntry> entries;
  std::error_code error;
  for (std::filesystem::directory_iterator it(root_, error), end; !error && it != end;
       it.increment(error)) {
    std::error_code kind_error;
    if (it->is_directory(kind_error)) entries.push_back(ReadEntry(it->path()));
  }
  std::stable_sort(entries.begin(), entries.end(),
                   [](const VehicleEntry& a, const VehicleEntry& b) {
                     if (a.activity_order != b.activity_order) {
                       return a.activity_order > b.activity_order;
                     }
                     return a.folder.filename() < b.folder.filename();
                   });
  return entries;
}

std::vector<const VehicleEntry*> SearchVehicles(const std::vector<VehicleEntry>& entries,
                                                std::string_view search) {
  const std::string folded = Folded(search);
  std::vector<const VehicleEntry*> found;
  for (const VehicleEntry& entry : entries) {
    if (entry.vehicle && FoldedContains(entry.search_text, folded)) found.push_back(&entry);
  }
  return found;
}

}  // namespace zelk
