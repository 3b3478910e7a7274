// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/setting_changes.h"

#include <QCoreApplication>
#include <QStringList>

#include "app/qt_text.h"
#include "app/translation.h"
#include "settings/option_flags.h"
#include "settings/settings_table.h"
#include "settings_file/file_settings.h"

namespace zelk {

namespace {

QString ShownUnit(std::size_t setting, bool wide_band) {
  if (setting == kValorLambda)
    return Translated("Settings", LambdaUnitCaption(wide_band)).trimmed();
  if (setting < kSettingCount) return Translated("Settings", kSettingRows[setting].unit).trimmed();
  if (setting == kIdleRpmSetting) return Translated("SettingsFile", "RPM");
  return {};
}

QString ShownValue(std::size_t setting, const std::string& text, bool wide_band, char separator) {
  if (IsOptionSetting(setting)) {
    return text == "true" ? QCoreApplication::translate("SettingChanges", "on")
                          : QCoreApplication::translate("SettingChanges", "off");
  }
  QString value = ToQString(text);
  value.replace(QLatin1Char('.'), QLatin1Char(separator));
  const QString unit = ShownUnit(setting, wide_band);
  return unit.isEmpty() ? value : value + QLatin1Char(' ') + unit;
}

// One line a difference, by `format` with the caption and the two values.
QString Lines(const std::vector<ShownDifference>& differences, const QString& format) {
  QStringList lines;
  for (const ShownDifference& difference : differences) {
    lines << format.arg(difference.caption, difference.first, difference.second);
  }
  return lines.join(QLatin1Char('\n'));
}

bool WideBand(const SettingsBlock& block) {
  return (block[kFlagsOffset] & kOptionBoxes[kBandaLarga].mask) != 0;
}

}  // namespace

QString SettingCaption(std::size_t setting) {
  if (setting < kSettingCount)
    return Translated("Settings", kSettingRows[setting].caption).trimmed();
  if (IsOptionSetting(setting)) {
    return Translated("Settings", kOptionBoxes[setting - kFirstOptionSetting].caption).trimmed();
  }
  return QCoreApplication::translate("SettingsFiles", "Idle RPM");
}

std::vector<ShownDifference> ShownDifferences(const SettingsBlock& first,
                                              const SettingsBlock& second, char separator) {
  const SettingTexts first_texts = TextsOf(SettingsOfBlock(first));
  const SettingTexts second_texts = TextsOf(SettingsOfBlock(second));
  std::vector<ShownDifference> differences;
  for (std::size_t setting = 0; setting < kFileSettingCount; ++setting) {
    const std::string a = first_texts[setting].value_or("");
    const std::string b = second_texts[setting].value_or("");
    if (a == b) continue;
    differences.push_back({SettingCaption(setting),
                           ShownValue(setting, a, WideBand(first), separator),
                           ShownValue(setting, b, WideBand(second), separator)});
  }
  return differences;
}

QString ChangeLines(const std::vector<ShownDifference>& changes) {
  return Lines(changes, QCoreApplication::translate("SettingChanges", "%1: %2 -> %3"));
}

QString NotTakenLines(const std::vector<ShownDifference>& sent_and_held) {
  return Lines(sent_and_held,
               QCoreApplication::translate("SettingChanges", "%1: sent %2, the module holds %3"));
}

}  // namespace zelk
