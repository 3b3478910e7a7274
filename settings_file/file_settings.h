// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sixteen settings a settings file names, in this order: the edit boxes
// of kSettingRows, the idle RPM (rpm_adj, at calibration factor 1) and the
// option boxes of kOptionBoxes, each by its control name. Their values are
// the numbers the main window shows after a read.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/option_flags.h"
#include "settings/settings_block.h"
#include "settings/settings_table.h"

namespace zelk {

inline constexpr std::size_t kIdleRpmSetting = kSettingCount;
inline constexpr std::size_t kFirstOptionSetting = kSettingCount + 1;
inline constexpr std::size_t kFileSettingCount = kFirstOptionSetting + kOptionCount;
inline constexpr std::string_view kIdleRpmName = "rpm_adj";

std::string_view FileSettingName(std::size_t setting);
// The unit the window shows beside the value ("ms", "RPM"); empty for an
// option box. The lambda value is in V with a wide-band sensor.
std::string_view FileSettingUnit(std::size_t setting, bool wide_band);
std::optional<std::size_t> FindFileSetting(std::string_view name);
inline bool IsOptionSetting(std::size_t setting) {
  return setting >= kFirstOptionSetting;
}

// The settings a file names; absent ones stay as the module holds them.
struct FileSettings {
  std::array<std::optional<double>, kSettingCount> edits{};
  std::optional<double> idle_rpm;
  std::array<std::optional<bool>, kOptionCount> options{};

  bool empty() const;
};

// Every setting of `block`, as the window shows it after a read.
FileSettings SettingsOfBlock(ConstSettingsBytes block);

// The settings as texts ("1230", "37.5", "true"), by setting; absent ones empty.
using SettingTexts = std::array<std::optional<std::string>, kFileSettingCount>;
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
