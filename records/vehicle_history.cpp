// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/vehicle_history.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <random>
#include <string_view>
#include <system_error>
#include <utility>

#include "records/record_json.h"
#include "settings_file/file_io.h"
#include "text/utc_time.h"

namespace zelk {
namespace {

using Json = nlohmann::json;

// New names are tried again, with another random part, when one is taken.
constexpr int kWriteAttempts = 10;
constexpr std::size_t kRandomDigits = 8;

struct KindSuffix {
  RecordKind kind;
  std::string_view suffix;
};
constexpr std::array<KindSuffix, 6> kSuffixes{{
    {RecordKind::settings, ".zelk"},
    {RecordKind::note, ".note.json"},
    {RecordKind::program_run, ".program.json"},
    {RecordKind::log, ".csv"},
    {RecordKind::commissioning, ".commissioning.json"},
    {RecordKind::report, ".report.pdf"},
}};

constexpr std::array<std::string_view, 3> kResultNames{"completed", "aborted", "failed"};

std::string_view SuffixOf(RecordKind kind) {
  return std::find_if(kSuffixes.begin(), kSuffixes.end(),
                      [kind](const KindSuffix& k) { return k.kind == kind; })
      ->suffix;
}

struct RecordName {
  std::filesystem::path path;
  std::string name;
  RecordKind kind;
  std::string time;
};

bool IsHexDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

// The shape of a record's name up to its suffix: time stem, '-', random part.
constexpr std::string_view kStemSample = "2000-01-01T00-00-00.000Z";
constexpr std::size_t kNameFixed = kStemSample.size() + 1 + kRandomDigits;

// The kind of record a file's name gives; none for a file this history did not name.
std::optional<RecordKind> KindOfName(std::string_view name) {
  if (name.size() <= kNameFixed || name[kStemSample.size()] != '-' ||
      !MatchesSample(name.substr(0, kStemSample.size()), kStemSample) ||
      !IsHexDigits(name.substr(kStemSample.size() + 1, kRandomDigits))) {
    return std::nullopt;
  }
  const std::string_view suffix = name.substr(kNameFixed);
  for (const KindSuffix& k : kSuffixes) {
    if (suffix == k.suffix) return k.kind;
  }
  return std::nullopt;
}

std::string TimeOfName(std::string_view name) {
  return UtcTimeTextOfStem(name.substr(0, kStemSample.size())).value_or(std::string());
}

std::optional<RecordName> ParseRecordName(const std::filesystem::path& path) {
  std::string name = path.filename().string();
  const std::optional<RecordKind> kind = KindOfName(name);
  if (!kind) return std::nullopt;
  std::string time = TimeOfName(name);
  return RecordName{path, std::move(name), *kind, std::move(time)};
}

// The history's files, newest first.
std::vector<RecordName> NewestFirst(const std::filesystem::path& folder) {
  std::vector<RecordName> names;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    if (auto parsed = ParseRecordName(it->path())) names.push_back(std::move(*parsed));
  }
  std::sort(names.begin(), names.end(),
            [](const RecordName& a, const RecordName& b) { return a.name > b.name; });
  return names;
}

// The record's file, or nothing with the record marked damaged by why.
std::optional<std::string> ReadText(HistoryRecord& record) {
  FileRead read = ReadSmallFile(record.file);
  if (read.ok) return std::move(read.contents);
  record.damaged = read.error;
  return std::nullopt;
}

// The record's JSON object, or nothing with the record marked damaged.
std::optional<Json> ReadJson(HistoryRecord& record) {
  const std::optional<std::string> text = ReadText(record);
  if (!text) return std::nullopt;
  Json doc = Json::parse(*text, nullptr, false);
  if (doc.is_discarded() || !doc.is_object()) {
    record.damaged = "not a JSON object";
    return std::nullopt;
  }
  return doc;
}

std::string TextField(const Json& doc, const char* key) {
  const auto it = doc.find(key);
  return it != doc.end() && it->is_string() ? it->get<std::string>() : std::string();
}

void ReadRecord(HistoryRecord& record) {
  switch (record.kind) {
    case RecordKind::settings:
      if (const std::optional<std::string> text = ReadText(record)) {
        DecodedSettingsFile decoded = DecodeSettingsFile(*text);
        record.settings = std::move(decoded.file);
        record.damaged = std::move(decoded.error);
      }
      return;
    case RecordKind::note: {
      const std::optional<Json> doc = ReadJson(record);
      if (!doc) return;
      const auto text = doc->find("text");
      if (text == doc->end() || !text->is_string()) {
        record.damaged = "no note text";
        return;
      }
      record.note = text->get<std::string>();
      return;
    }
    case RecordKind::program_run: {
      const std::optional<Json> doc = ReadJson(record);
      if (!doc) return;
      ProgramRun run;
      run.program = TextField(*doc, "program");
      run.started_at = TextField(*doc, "started_at");
      run.ended_at = TextField(*doc, "ended_at");
      run.module_version = TextField(*doc, "module_version");
      const std::string result = TextField(*doc, "result");
      const auto* found = std::find(kResultNames.begin(), kResultNames.end(), result);
      if (run.program.empty() || found == kResultNames.end()) {
        record.damaged = "not a program run";
        return;
      }
      run.result = static_cast<ProgramResult>(found - kResultNames.begin());
      record.program_run = std::move(run);
      return;
    }
    case RecordKind::commissioning:
      if (const std::optional<std::string> text = ReadText(record)) {
        DecodedCommissioningRecord decoded = DecodeCommissioningRecord(*text);
        record.commissioning = std::move(decoded.record);
        record.damaged = std::move(decoded.error);
      }
      return;
    case RecordKind::log:     // read by the log review, not for the timeline
    case RecordKind::report:  // opened by a PDF viewer
      return;
  }
}

HistoryRecord RecordOf(const RecordName& name) {
  HistoryRecord record;
  record.file = name.path;
  record.kind = name.kind;
  record.time = name.time;
  ReadRecord(record);
  return record;
}

std::uint32_t DefaultRandom() {
  thread_local std::mt19937 generator{std::random_device{}()};
  return static_cast<std::uint32_t>(generator());
}

}  // namespace

std::string_view ProgramResultName(ProgramResult result) {
  return kResultNames.at(static_cast<std::size_t>(result));
}

VehicleHistory::VehicleHistory(std::filesystem::path folder, Now now, Random random)
    : folder_(std::move(folder)),
      now_(std::move(now)),
      random_(random ? std::move(random) : Random(DefaultRandom)) {}

std::string VehicleHistory::NewName(std::string_view suffix) const {
  char random[kRandomDigits + 1];
  (void)std::snprintf(random, sizeof random, "%08x", static_cast<unsigned>(random_()));
  std::string name = UtcFileStem(now_());
  name.append("-").append(random).append(suffix);
  return name;
}

bool VehicleHistory::MakeFolder(std::string& error) const {
  std::error_code made;
  std::filesystem::create_directories(folder_, made);
  if (!made) return true;
  error = "cannot make the folder " + folder_.string() + ": " + made.message();
  return false;
}

std::filesystem::path VehicleHistory::NewLogPath(std::string& error) const {
  if (!MakeFolder(error)) return {};
  return folder_ / NewName(SuffixOf(RecordKind::log));
}

AddedRecord VehicleHistory::Write(std::string_view suffix, const std::string& contents) {
  AddedRecord added;
  if (!MakeFolder(added.error)) return added;
  for (int attempt = 0; attempt < kWriteAttempts; ++attempt) {
    const std::filesystem::path path = folder_ / NewName(suffix);
    const FileWrite write = WriteFileAtomically(path, contents, ExistingFile::keep);
    if (write.ok) {
      added.file = path;
      return added;
    }
    if (!write.exists) {
      added.error = write.error;
      return added;
    }
  }
  added.error = "no free name for a record in " + folder_.string();
  return added;
}

AddedRecord VehicleHistory::AddSettings(const SettingsFile& file) {
  // A commissioning's backup is written whatever it repeats: its report marks
  // the changes against that record.
  if (const std::optional<HistoryRecord> newest = NewestSettings();
      newest && file.block && newest->settings->block == file.block &&
      file.reason != SaveReason::before_commissioning) {
    return AddedRecord{newest->file, true, {}};
  }
  return Write(SuffixOf(RecordKind::settings), EncodeSettingsFile(file));
}

AddedRecord VehicleHistory::AddNote(const std::string& text) {
  Json doc = Json::object();
  doc["format"] = "zelk-note";
  doc["time"] = UtcTimeText(now_());
  doc["text"] = text;
  return Write(SuffixOf(RecordKind::note), RecordJsonText(doc));
}

AddedRecord VehicleHistory::AddProgramRun(const ProgramRun& run) {
  Json doc = Json::object();
  doc["format"] = "zelk-program-run";
  doc["program"] = run.program;
  doc["started_at"] = run.started_at;
  doc["ended_at"] = run.ended_at;
  doc["result"] = ProgramResultName(run.result);
  doc["module_version"] = run.module_version;
  return Write(SuffixOf(RecordKind::program_run), RecordJsonText(doc));
}

AddedRecord VehicleHistory::AddCommissioningStep(const CommissioningRecord& record) {
  return Write(SuffixOf(RecordKind::commissioning), EncodeCommissioningRecord(record));
}

AddedRecord VehicleHistory::AddReport(const std::string& pdf) {
  return Write(SuffixOf(RecordKind::report), pdf);
}

std::vector<HistoryRecord> VehicleHistory::Timeline() const {
  std::vector<HistoryRecord> timeline;
  for (const RecordName& name : NewestFirst(folder_)) timeline.push_back(RecordOf(name));
  return timeline;
}

std::optional<HistoryRecord> VehicleHistory::NewestSettings() const {
  for (const RecordName& name : NewestFirst(folder_)) {
    if (name.kind != RecordKind::settings) continue;
    HistoryRecord record = RecordOf(name);
    if (record.settings) return record;
  }
  return std::nullopt;
}

std::optional<RecordTime> VehicleHistory::NewestTime() const {
  // The vehicles' list asks this of every vehicle: one pass over the names,
  // nothing sorted, nothing read.
  std::string newest;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder_, error), end; !error && it != end;
       it.increment(error)) {
    std::string name = it->path().filename().string();
    if (name > newest && KindOfName(name)) newest = std::move(name);
  }
  if (newest.empty()) return std::nullopt;
  return RecordTime{TimeOfName(newest), newest};
}

}  // namespace zelk
