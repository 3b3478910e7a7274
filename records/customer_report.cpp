// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/customer_report.h"

#include <algorithm>
#include <utility>

namespace zelk {
namespace {

// A settings file's text of an option box that is checked.
constexpr std::string_view kChecked = "true";

// The file names sort the records by when they were made, to the millisecond
// and with the random part breaking ties; the time texts stop at the second.
std::string OrderOf(const HistoryRecord& record) {
  return record.file.filename().string();
}

// The records that read, oldest first.
std::vector<const HistoryRecord*> ReadableOldestFirst(const std::vector<HistoryRecord>& timeline) {
  std::vector<const HistoryRecord*> records;
  for (const HistoryRecord& record : timeline) {
    if (record.damaged.empty()) records.push_back(&record);
  }
  std::stable_sort(
      records.begin(), records.end(),
      [](const HistoryRecord* a, const HistoryRecord* b) { return OrderOf(*a) < OrderOf(*b); });
  return records;
}

// The newest commissioning's id: the newest commissioning record's; empty for none.
std::string NewestCommissioning(const std::vector<const HistoryRecord*>& oldest_first) {
  const auto newest =
      std::find_if(oldest_first.rbegin(), oldest_first.rend(),
                   [](const HistoryRecord* record) { return record->commissioning.has_value(); });
  return newest == oldest_first.rend() ? std::string() : (*newest)->commissioning->commissioning;
}

bool Names(const HistoryRecord& record, const std::string& commissioning) {
  return record.commissioning && record.commissioning->commissioning == commissioning;
}

// The records the report covers: from the commissioning's beginning on (the
// first record made since the time that names it, such as the read of its
// first step, or the first record naming it), or all of them when there is
// none.
std::vector<const HistoryRecord*> Covered(std::vector<const HistoryRecord*> oldest_first,
                                          const std::string& commissioning) {
  if (commissioning.empty()) return oldest_first;
  const auto first =
      std::find_if(oldest_first.begin(), oldest_first.end(), [&](const HistoryRecord* record) {
        return Names(*record, commissioning) || record->time >= commissioning;
      });
  oldest_first.erase(oldest_first.begin(), first);
  return oldest_first;
}

bool HoldsModuleSettings(const HistoryRecord& record) {
  if (!record.settings) return false;
  const std::optional<SaveReason>& reason = record.settings->reason;
  return reason != SaveReason::save && reason != SaveReason::prepared;
}

const HistoryRecord* NewestModuleSettings(const std::vector<const HistoryRecord*>& covered) {
  const auto it = std::find_if(covered.rbegin(), covered.rend(), [](const HistoryRecord* record) {
    return HoldsModuleSettings(*record);
  });
  return it == covered.rend() ? nullptr : *it;
}

// What the changes are marked against: the commissioning's restore point from
// before it changed anything, or, for a car never commissioned, the first
// settings it had on record.
const HistoryRecord* Backup(const std::vector<const HistoryRecord*>& covered, bool commissioned) {
  const auto it = std::find_if(covered.begin(), covered.end(), [&](const HistoryRecord* record) {
    return record->settings &&
           (!commissioned || record->settings->reason == SaveReason::before_commissioning);
  });
  return it == covered.end() ? nullptr : *it;
}

void FillSettings(CustomerReport& report, const HistoryRecord& settings,
                  const HistoryRecord* backup) {
  const SettingTexts texts = TextsOfFile(*settings.settings);
  const std::optional<SettingTexts> before =
      backup ? std::optional(TextsOfFile(*backup->settings)) : std::nullopt;
  for (std::size_t i = 0; i < kSettingRowCount; ++i) {
    if (!texts[i]) continue;
    ReportSetting setting{static_cast<SettingIndex>(i), *texts[i], std::nullopt};
    if (before && (*before)[i] && *(*before)[i] != *texts[i]) setting.before = (*before)[i];
    report.settings.push_back(std::move(setting));
  }
  report.settings_time = settings.time;
  report.wide_band = texts[kBandaLarga] == kChecked;
}

// A step's time: when it ended, else when its record was made.
std::string StepTime(const HistoryRecord& record) {
  return record.commissioning->time.empty() ? record.time : record.commissioning->time;
}

bool IsProgramStep(CommissioningStep step) {
  return step == CommissioningStep::rpm_lambda || step == CommissioningStep::map;
}

void AddProgram(CustomerReport& report, const HistoryRecord& record,
                const std::string& commissioning) {
  if (record.program_run) {
    const ProgramRun& run = *record.program_run;
    report.programs.push_back({run.program,
                               std::string(ProgramResultName(run.result)),
                               run.ended_at.empty() ? record.time : run.ended_at,
                               {}});
  } else if (Names(record, commissioning) && IsProgramStep(record.commissioning->step) &&
             record.commissioning->outcome == StepOutcome::skipped) {
    report.programs.push_back({std::string(CommissioningStepName(record.commissioning->step)),
                               std::string(StepOutcomeName(StepOutcome::skipped)), StepTime(record),
                               record.commissioning->reason});
  }
}

// Oldest first, so a newer record of a step or a sensor check overwrites an older one.
void AddStep(CustomerReport& report, const HistoryRecord& record,
             const HistoryRecord*& sensors_done, const HistoryRecord*& sensors_skipped) {
  const CommissioningRecord& step = *record.commissioning;
  report.steps.at(static_cast<std::size_t>(step.step)) = {step.step, step.outcome, StepTime(record),
                                                          step.reason};
  if (step.step != CommissioningStep::sensors) return;
  if (step.outcome == StepOutcome::done && step.sensors) sensors_done = &record;
  if (step.outcome == StepOutcome::skipped) sensors_skipped = &record;
}

}  // namespace

CustomerReport MakeCustomerReport(const Vehicle& vehicle,
                                  const std::vector<HistoryRecord>& timeline,
                                  const Workshop& workshop, std::string made_at) {
  CustomerReport report;
  report.workshop = workshop;
  report.vehicle = vehicle;
  report.made_at = std::move(made_at);
  for (std::size_t i = 0; i < kCommissioningStepCount; ++i)
    report.steps[i].step = static_cast<CommissioningStep>(i);

  const std::vector<const HistoryRecord*> readable = ReadableOldestFirst(timeline);
  report.commissioning = NewestCommissioning(readable);
  const std::vector<const HistoryRecord*> covered = Covered(readable, report.commissioning);

  if (const HistoryRecord* settings = NewestModuleSettings(covered)) {
    const HistoryRecord* backup = Backup(covered, !report.commissioning.empty());
    FillSettings(report, *settings, backup);
    if (backup) report.backup_time = backup->time;
    report.module_version = settings->settings->module_version;
  }

  const HistoryRecord* newest_step = nullptr;
  const HistoryRecord* sensors_done = nullptr;
  const HistoryRecord* sensors_skipped = nullptr;
  for (const HistoryRecord* record : covered) {
    AddProgram(report, *record, report.commissioning);
    if (record->kind == RecordKind::note) report.notes.push_back(record->note);
    if (!Names(*record, report.commissioning)) continue;
    AddStep(report, *record, sensors_done, sensors_skipped);
    newest_step = record;
    if (!record->commissioning->technician.empty())
      report.technician = record->commissioning->technician;
  }

  if (report.technician.empty()) report.technician = workshop.technician;
  if (report.module_version.empty() && newest_step)
    report.module_version = newest_step->commissioning->module_version;
  if (sensors_done) {
    report.sensors = sensors_done->commissioning->sensors;
    report.sensors_time = StepTime(*sensors_done);
  } else if (sensors_skipped) {
    report.sensors_skipped = sensors_skipped->commissioning->reason;
  }
  return report;
}

}  // namespace zelk
