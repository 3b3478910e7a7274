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

bool Given(const FileSettings& settings, std::size_t setting) {
  if (setting < kSettingCount) return settings.edits[setting].has_value();
  if (setting == kIdleRpmSetting) return settings.idle_rpm.has_value();
  return settings.options[setting - kFirstOptionSetting].has_value();
}

std::string_view WithoutTrailingBlanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

std::string_view FileSettingName(std::size_t setting) {
  if (setting < kSettingCount) return kSettingRows[setting].name;
  if (setting == kIdleRpmSetting) return kIdleRpmName;
  return kOptionBoxes[setting - kFirstOptionSetting].name;
}

std::string_view FileSettingUnit(std::size_t setting, bool wide_band) {
  if (setting == kValorLambda) return WithoutTrailingBlanks(LambdaUnitCaption(wide_band));
  if (setting < kSettingCount) return WithoutTrailingBlanks(kSettingRows[setting].unit);
  if (setting == kIdleRpmSetting) return QT_TRANSLATE_NOOP("SettingsFile", "RPM");
  return {};
}

std::optional<std::size_t> FindFileSetting(std::string_view name) {
  for (std::size_t setting = 0; setting < kFileSettingCount; ++setting) {
    if (FileSettingName(setting) == name) return setting;
  }
  return std::nullopt;
}

bool FileSettings::empty() const {
  const auto absent = [](const auto& value) { return !value.has_value(); };
  return std::all_of(edits.begin(), edits.end(), absent) && !idle_rpm &&
         std::all_of(options.begin(), options.end(), absent);
}

FileSettings SettingsOfBlock(ConstSettingsBytes block) {
  FileSettings settings;
  const SettingsValues values = DecodeSettingsValues(block);
  for (std::size_t row = 0; row < kSettingCount; ++row) settings.edits[row] = values.values[row];
  settings.idle_rpm = ParseDecimal(DecodeIdleRpm(block, '.'), '.').value_or(std::nan(""));
  for (std::size_t option = 0; option < kOptionCount; ++option) {
    settings.options[option] = values.option(static_cast<OptionIndex>(option));
  }
  return settings;
}

SettingTexts TextsOf(const FileSettings& settings) {
  SettingTexts texts;
  for (std::size_t row = 0; row < kSettingCount; ++row) {
    if (settings.edits[row]) texts[row] = GeneralText(*settings.edits[row], '.');
  }
  if (settings.idle_rpm) texts[kIdleRpmSetting] = GeneralText(*settings.idle_rpm, '.');
  for (std::size_t option = 0; option < kOptionCount; ++option) {
    if (settings.options[option]) {
      texts[kFirstOptionSetting + option] = std::string(*settings.options[option] ? kTrue : kFalse);
    }
  }
  return texts;
}

std::vector<SettingDifference> CompareSettings(const SettingTexts& first,
                                               const SettingTexts& second) {
  std::vector<SettingDifference> differences;
  for (std::size_t setting = 0; setting < kFileSettingCount; ++setting) {
    if (first[setting] && second[setting] && *first[setting] != *second[setting]) {
      differences.push_back({FileSettingName(setting), *first[setting], *second[setting]});
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
  const std::optional<std::size_t> setting = FindFileSetting(name);
  if (!setting) {
    return Fill(QT_TRANSLATE_NOOP("SettingsFile", "unknown setting '%1'"), {Shortened(name)});
  }
  // Which of two values would be meant is anyone's guess.
  if (Given(settings, *setting)) {
    return Fill(QT_TRANSLATE_NOOP("SettingsFile", "%1 given more than once"), {name});
  }
  if (IsOptionSetting(*setting)) {
    if (text != kTrue && text != kFalse) {
      return Fill(QT_TRANSLATE_NOOP("SettingsFile", "%1: '%2' is not true or false"),
                  {name, Shortened(text)});
    }
    settings.options[*setting - kFirstOptionSetting] = text == kTrue;
    return {};
  }
  const std::optional<double> value = ParseDecimal(text, '.');
  if (!value) {
    return Fill(QT_TRANSLATE_NOOP("SettingsFile", "%1: '%2' is not a number"),
                {name, Shortened(text)});
  }
  if (*setting == kIdleRpmSetting) {
    settings.idle_rpm = value;
  } else {
    settings.edits[*setting] = value;
  }
  return {};
}

}  // namespace zelk
