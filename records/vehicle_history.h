// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A vehicle's history: every record is a file of its own in the vehicle's
// folder, named by the time it was made and a random part
// ("2026-12-09T10-15-00.123Z-9f3a01c2.zelk"), so two programs adding records
// at once never write the same file and a folder kept in step between PCs
// merges without a conflict. The timeline is the folder, read newest first;
// nothing is an index that two writers could clobber. A record that cannot be
// read is listed as damaged and never deleted.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "records/commissioning.h"
#include "settings_file/settings_file.h"

namespace zelk {

enum class RecordKind { settings, note, program_run, log, commissioning, report };

enum class ProgramResult { completed, aborted, failed };

struct ProgramRun {
  std::string program;  // "mix", "reset", "rpm_lambda", "map"
  std::string started_at;
  std::string ended_at;
  ProgramResult result = ProgramResult::completed;
  std::string module_version;
};

struct HistoryRecord {
  std::filesystem::path file;
  RecordKind kind = RecordKind::settings;
  std::string time;                                  // UTC, from the file's name
  std::optional<SettingsFile> settings;              // a settings record that reads
  std::string note;                                  // a note's text
  std::optional<ProgramRun> program_run;             // a program run that reads
  std::optional<CommissioningRecord> commissioning;  // a commissioning step that reads
  std::string damaged;  // why the file could not be read; empty when it could
};

struct RecordTime {
  std::string time;   // UTC, "2026-12-09T10:15:00Z"
  std::string order;  // sorts records by when they were made: the file's name
};

struct AddedRecord {
  std::optional<std::filesystem::path> file;  // the record written, or the newest it repeats
  bool repeated = false;                      // the settings equal the newest: nothing written
  std::string error;                          // else why nothing could be written
};

class VehicleHistory {
 public:
  using Now = std::function<std::chrono::system_clock::time_point()>;
  using Random = std::function<std::uint32_t()>;

  explicit VehicleHistory(std::filesystem::path folder, Now now = std::chrono::system_clock::now,
                          Random random = {});

  const std::filesystem::path& folder() const { return folder_; }

  // A settings file (a restore point, a snapshot as read, a file saved). The
  // same block as the newest settings record is not written again.
  AddedRecord AddSettings(const SettingsFile& file);
  AddedRecord AddNote(const std::string& text);
  AddedRecord AddProgramRun(const ProgramRun& run);
  AddedRecord AddCommissioningStep(const CommissioningRecord& record);
  // A customer's report: the PDF's bytes as they are.
  AddedRecord AddReport(const std::string& pdf);
  // Where a log started now is written: a record's name in this folder (made
  // when missing), which the logger then creates. Empty, with `error` set,
  // when the folder cannot be made.
  std::filesystem::path NewLogPath(std::string& error) const;

  // Every record, newest first; only the files this history names take part.
  std::vector<HistoryRecord> Timeline() const;

  // The newest settings record that reads, if any.
  std::optional<HistoryRecord> NewestSettings() const;

  // When the newest record was made, from the names alone (no file is read).
  std::optional<RecordTime> NewestTime() const;

 private:
  AddedRecord Write(std::string_view suffix, const std::string& contents);
  // A new record's name: its time, a random part, the kind's suffix.
  std::string NewName(std::string_view suffix) const;
  bool MakeFolder(std::string& error) const;

  std::filesystem::path folder_;
  Now now_;
  Random random_;
};

std::string_view ProgramResultName(ProgramResult result);

}  // namespace zelk
