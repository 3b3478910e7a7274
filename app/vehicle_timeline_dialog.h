// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The chosen vehicle's timeline: every record of its history, newest first,
// with what it is (a settings record's reason, a note, a program run and how
// it ended, a log), the module's version and, for a settings record, how many
// settings differ from the window. From a settings record the technician
// compares, restores all or chosen settings, or opens it as a settings file;
// from a log record, opens the log.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "records/vehicle_history.h"
#include "settings/settings_table.h"
#include "settings_file/file_settings.h"

class QDialog;
class QWidget;

namespace zelk {

struct TimelineShown {
  std::string vehicle_id;              // in the caption: "ABC1D23: every record, newest first"
  std::vector<HistoryRecord> records;  // newest first
  std::optional<SettingTexts> window;  // the window's settings, to count differences; none
                                       // before a Read
  bool can_write = false;              // Restore and Restore chosen are offered only then
  bool offline = false;  // no module read: a settings record opens to prepare ("Edit offline")
};

// What the buttons do, each given the selected record's file.
struct TimelineActions {
  std::function<void(const std::filesystem::path&)> compare;  // Compare with the window
  std::function<void(const std::filesystem::path&)> restore;  // all settings of the record
  std::function<void(const std::filesystem::path&, std::vector<SettingIndex>)> restore_chosen;
  std::function<void(const std::filesystem::path&)> open_settings;  // as a settings file
  std::function<void(const std::filesystem::path&)> open_log;
  std::function<void(const std::filesystem::path&)> open_report;  // a customer's report
};

// A dialog, a child of `parent` that deletes itself when closed, not yet
// shown. The buttons follow the selected record: the settings ones only for a
// settings record that reads (Compare also needs the window's settings, the
// two Restore ones `can_write`), Open log only for a log (Open report for a
// customer's report). Every action closes
// the dialog first, then calls back: each opens another window or changes
// the module, after which the timeline would be out of date. Restore chosen
// first asks which settings (ChooseSettings), and does nothing when none.
QDialog* MakeVehicleTimelineDialog(QWidget* parent, const TimelineShown& shown,
                                   TimelineActions actions);

}  // namespace zelk
