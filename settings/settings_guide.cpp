// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settings_guide.h"

#include <algorithm>
#include <initializer_list>

#include "settings/number_text.h"
#include "settings/option_flags.h"
#include "settings/settings_table.h"

namespace zelk {

namespace {

// A window text as a table cell: no outer blanks, and a '|' kept from
// splitting the cell.
std::string Cell(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  text = text.substr(first, text.find_last_not_of(' ') - first + 1);
  std::string cell;
  for (char c : text) {
    if (c == '|') cell += '\\';
    cell += c;
  }
  return cell;
}

std::string Row(std::initializer_list<std::string> cells) {
  std::string row = "|";
  for (const std::string& cell : cells) {
    row += ' ';
    row += cell;
    row += " |";
  }
  row += '\n';
  return row;
}

std::string RangeText(const SettingRow& row) {
  std::string range = GeneralText(row.min, '.');
  range += " to ";
  range +=
      row.max_is_limite_corr ? Cell(kSettingRows[kLimiteCorr].caption) : GeneralText(row.max, '.');
  return range;
}

// The option box whose check enables the edit, or an empty text.
std::string EnabledBy(const SettingRow& row) {
  for (const OptionBox& option : kOptionBoxes) {
    if (std::find(option.edits.begin(), option.edits.end(), row.name) != option.edits.end()) {
      return Cell(option.caption);
    }
  }
  return {};
}

void ReplaceLine(std::string& text, std::string_view marker, const std::string& table) {
  const auto at = text.find(marker);
  if (at == std::string::npos) return;
  auto end = at + marker.size();
  if (end < text.size() && text[end] == '\n') ++end;
  text.replace(at, end - at, table);
}

}  // namespace

std::string SettingsGuideTable() {
  std::string table = Row({"Setting", "Unit", "Range", "Default", "Needs", "Meaning"});
  table += "|---|---|---|---|---|---|\n";
  for (const SettingRow& row : kSettingRows) {
    table += Row({Cell(row.caption), Cell(row.unit), RangeText(row), Cell(row.default_text),
                  EnabledBy(row), Cell(row.hint)});
  }
  return table;
}

std::string OptionsGuideTable() {
  std::string table = Row({"Option", "Meaning"});
  table += "|---|---|\n";
  for (const OptionBox& option : kOptionBoxes) {
    table += Row({Cell(option.caption), Cell(option.hint)});
  }
  return table;
}

std::string WithGuideTables(std::string_view guide) {
  std::string text(guide);
  ReplaceLine(text, kSettingsTableMarker, SettingsGuideTable());
  ReplaceLine(text, kOptionsTableMarker, OptionsGuideTable());
  return text;
}

}  // namespace zelk
