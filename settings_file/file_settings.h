// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sixteen settings a settings file names: the rows of the settings table
// (settings/settings_table.h), in its order and by its names. Their values
// are the numbers the main window shows after a read: the idle RPM at
// calibration factor 1, an option box as true or false.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/settings_block.h"
#include "settings/settings_table.h"

namespace zelk {

// The unit the window shows beside the value ("ms", "RPM"); empty for an
// option box. The lambda value is in V with a wide-band sensor.
std::string_view FileSettingUnit(SettingIndex setting, bool wide_band);

// The settings a file names, by setting; absent ones stay as the module holds
// them. An option box is 1 when checked, 0 when not.
struct FileSettings {
  std::array<std::optional<double>, kSettingRowCount> values{};

  bool empty() const;
};

// Every setting of `block`, as the window shows it after a read.
FileSettings SettingsOfBlock(ConstSettingsBytes block);

// The settings as texts ("1230", "37.5", "true"), by setting; absent ones empty.
using SettingTexts = std::array<std::optional<std::string>, kSettingRowCount>;
SettingTexts TextsOf(const FileSettings& settings);

struct SettingDifference {
  std::string_view name;
  std::string first;
  std::string second;
};

// The settings both name with different texts, in file order.
std::vector<SettingDifference> CompareSettings(const SettingTexts& first,
                                               const SettingTexts& second);

// One NAME=VALUE of the command line into `settings`: a number for an edit or
// rpm_adj, true or false for an option box. Returns why it was refused, or
// an empty text. Ranges are checked with the rest (CheckSettingRanges).
std::string AddAssignment(std::string_view assignment, FileSettings& settings);

}  // namespace zelk
