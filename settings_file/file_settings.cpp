// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings_file/file_settings.h"

#include <algorithm>
#include <cmath>

#include "monitor/idle_period.h"
#include "settings/number_text.h"
#include "settings/settings_values.h"
#include "text/fill.h"
#include "text/translatable.h"

namespace zelk {

namespace {

constexpr std::string_view kTrue = "true";
constexpr std::string_view kFalse = "false";

// Typed text as a message quotes it: short, whatever was typed.
std::string Shortened(std::string_view text) {
  constexpr std::size_t kShown = 40;
  std::string shown(text.substr(0, kShown));
  if (text.size() > kShown) shown.append("...");
  return shown;
}

std::string_view WithoutTrailingBlanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

std::string_view FileSettingUnit(SettingIndex setting, bool wide_band) {
  return WithoutTrailingBlanks(UnitCaption(kSettings[setting], wide_band));
}

bool FileSettings::empty() const {
  return std::none_of(values.begin(), values.end(),
                      [](const std::optional<double>& value) { return value.has_value(); });
}

FileSettings SettingsOfBlock(ConstSettingsBytes block) {
  FileSettings settings;
  const SettingsValues values = DecodeSettingsValues(block);
  for (const SettingRow& row : kSettings) {
    switch (row.kind) {
      case SettingKind::edit:
        settings.values[row.id] = values.value(row.id);
        break;
      case SettingKind::idle_rpm:
        settings.values[row.id] =
            ParseDecimal(DecodeIdleRpm(block, '.'), '.').value_or(std::nan(""));
        break;
      case SettingKind::option:
        settings.values[row.id] = values.option(row.id) ? 1 : 0;
        break;
    }
  }
  return settings;
}

SettingTexts TextsOf(const FileSettings& settings) {
  SettingTexts texts;
  for (const SettingRow& row : kSettings) {
    const std::optional<double>& value = settings.values[row.id];
    if (!value) continue;
    texts[row.id] = row.kind == SettingKind::option ? std::string(*value != 0 ? kTrue : kFalse)
                                                    : GeneralText(*value, '.');
  }
  return texts;
}

std::vector<SettingDifference> CompareSettings(const SettingTexts& first,
                                               const SettingTexts& second) {
  std::vector<SettingDifference> differences;
  for (const SettingRow& row : kSettings) {
    if (first[row.id] && second[row.id] && *first[row.id] != *second[row.id]) {
      differences.push_back({row.name, *first[row.id], *second[row.id]});
    }
  }
  return differences;
}

std::string AddAssignment(std::string_view assignment, FileSettings& settings) {
  const std::size_t equals = assignment.find('=');
  if (equals == std::string_view::npos) {
    return Fill(QT_TRANSLATE_NOOP("SettingsFile", "'%1' is not NAME=VALUE"),
                {Shortened(assignment)});
  }
  const std::string_view name = assignment.substr(0, equals);
  const std::string_view text = assignment.substr(equals + 1);
  const SettingRow* row = FindSetting(name);
  if (row == nullptr) {
    return Fill(QT_TRANSLATE_NOOP("SettingsFile", "unknown setting '%1'"), {Shortened(name)});
  }
  std::optional<double>& value = settings.values[row->id];
  // Which of two values would be meant is anyone's guess.
  if (value) return Fill(QT_TRANSLATE_NOOP("SettingsFile", "%1 given more than once"), {name});
  if (row->kind == SettingKind::option) {
    if (text != kTrue && text != kFalse) {
      return Fill(QT_TRANSLATE_NOOP("SettingsFile", "%1: '%2' is not true or false"),
                  {name, Shortened(text)});
    }
    value = text == kTrue ? 1 : 0;
    return {};
  }
  const std::optional<double> number = ParseDecimal(text, '.');
  if (!number) {
    return Fill(QT_TRANSLATE_NOOP("SettingsFile", "%1: '%2' is not a number"),
                {name, Shortened(text)});
  }
  value = number;
  return {};
}

}  // namespace zelk
