// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/setting_changes.h"

#include <QCoreApplication>
#include <QStringList>

#include "app/qt_text.h"
#include "app/setting_widgets.h"
#include "app/translation.h"
#include "settings/settings_table.h"
#include "settings_file/file_settings.h"

namespace zelk {

namespace {

QString ShownUnit(const SettingRow& row, bool wide_band) {
  const std::string_view unit = UnitCaption(row, wide_band);
  return unit.empty() ? QString() : RowText(row, unit).trimmed();
}

QString ShownValue(const SettingRow& row, const std::string& text, bool wide_band, char separator) {
  if (row.kind == SettingKind::option) {
    return text == "true" ? QCoreApplication::translate("SettingChanges", "on")
                          : QCoreApplication::translate("SettingChanges", "off");
  }
  QString value = ToQString(text);
  value.replace(QLatin1Char('.'), QLatin1Char(separator));
  const QString unit = ShownUnit(row, wide_band);
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
  return OptionChecked(block, kBandaLarga);
}

}  // namespace

QString SettingCaption(std::size_t setting) {
  const SettingRow& row = kSettings[setting];
  // The windows' files name the idle RPM in a context of their own.
  if (row.kind == SettingKind::idle_rpm) {
    return QCoreApplication::translate("SettingsFiles", "Idle RPM");
  }
  return RowText(row, row.caption).trimmed();
}

std::vector<ShownDifference> ShownDifferences(const SettingsBlock& first,
                                              const SettingsBlock& second, char separator) {
  const SettingTexts first_texts = TextsOf(SettingsOfBlock(first));
  const SettingTexts second_texts = TextsOf(SettingsOfBlock(second));
  std::vector<ShownDifference> differences;
  for (const SettingRow& row : kSettings) {
    const std::string a = first_texts[row.id].value_or("");
    const std::string b = second_texts[row.id].value_or("");
    if (a == b) continue;
    differences.push_back({SettingCaption(row.id), ShownValue(row, a, WideBand(first), separator),
                           ShownValue(row, b, WideBand(second), separator)});
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
