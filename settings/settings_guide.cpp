// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settings_guide.h"

#include <initializer_list>

#include "settings/number_text.h"
#include "settings/settings_table.h"
#include "text/fill.h"
#include "text/translatable.h"

namespace zelk {

namespace {

constexpr std::string_view kGuideContext = "Guide";
// The names table's heading over the names: the program's name, the same in
// every language.
constexpr std::string_view kNamesHeading = "zelkctl";

std::string Say(const GuideTranslate& translate, std::string_view context,
                std::string_view english) {
  return translate ? translate(context, english) : std::string(english);
}

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

// A text of a row of the settings table, as a cell in the reader's language:
// under the row's context, as the windows look it up, so the guide and the
// window say the same.
std::string WindowCell(const GuideTranslate& translate, const SettingRow& row,
                       std::string_view english) {
  return Cell(Say(translate, row.context, english));
}

// One of the guide's own words (a heading), as a cell.
std::string GuideCell(const GuideTranslate& translate, std::string_view english) {
  return Cell(Say(translate, kGuideContext, english));
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

std::string RangeText(const SettingRow& row, const GuideTranslate& translate) {
  const SettingRow& limit = kSettings[kLimiteCorr];
  const std::string max = row.max_is_limite_corr ? WindowCell(translate, limit, limit.caption)
                                                 : GeneralText(row.max, '.');
  return Fill(Say(translate, kGuideContext, QT_TRANSLATE_NOOP("Guide", "%1 to %2")),
              {GeneralText(row.min, '.'), max});
}

// The option box whose check enables the edit, or an empty text.
std::string EnabledBy(const SettingRow& row, const GuideTranslate& translate) {
  if (!row.needs) return {};
  const SettingRow& option = kSettings[*row.needs];
  return WindowCell(translate, option, option.caption);
}

void ReplaceLine(std::string& text, std::string_view marker, const std::string& table) {
  const auto at = text.find(marker);
  if (at == std::string::npos) return;
  auto end = at + marker.size();
  if (end < text.size() && text[end] == '\n') ++end;
  text.replace(at, end - at, table);
}

}  // namespace

std::string SettingsGuideTable(const GuideTranslate& translate) {
  std::string table = Row({GuideCell(translate, QT_TRANSLATE_NOOP("Guide", "Setting")),
                           GuideCell(translate, QT_TRANSLATE_NOOP("Guide", "Unit")),
                           GuideCell(translate, QT_TRANSLATE_NOOP("Guide", "Range")),
                           GuideCell(translate, QT_TRANSLATE_NOOP("Guide", "Default")),
                           GuideCell(translate, QT_TRANSLATE_NOOP("Guide", "Needs")),
                           GuideCell(translate, QT_TRANSLATE_NOOP("Guide", "Meaning"))});
  table += "|---|---|---|---|---|---|\n";
  for (const SettingRow& row : EditRows()) {
    // The default is digits, the same in every language.
    table += Row({WindowCell(translate, row, row.caption), WindowCell(translate, row, row.unit),
                  RangeText(row, translate), Cell(row.default_text), EnabledBy(row, translate),
                  WindowCell(translate, row, row.hint)});
  }
  return table;
}

std::string OptionsGuideTable(const GuideTranslate& translate) {
  std::string table = Row({GuideCell(translate, QT_TRANSLATE_NOOP("Guide", "Option")),
                           GuideCell(translate, QT_TRANSLATE_NOOP("Guide", "Meaning"))});
  table += "|---|---|\n";
  for (const SettingRow& option : OptionRows()) {
    table += Row({WindowCell(translate, option, option.caption),
                  WindowCell(translate, option, option.hint)});
  }
  return table;
}

std::string NamesGuideTable(const GuideTranslate& translate) {
  std::string table =
      Row({GuideCell(translate, QT_TRANSLATE_NOOP("Guide", "Setting")), Cell(kNamesHeading)});
  table += "|---|---|\n";
  for (const SettingRow& row : kSettings) {
    // Appended rather than concatenated: GCC 12 at -O3 takes "`" + name for an
    // overlapping copy (-Wrestrict).
    std::string name = "`";
    name += Cell(row.name);
    name += '`';
    table += Row({WindowCell(translate, row, row.caption), name});
  }
  return table;
}

std::string GuideForSystem(std::string_view guide, GuideSystem system) {
  std::string text;
  text.reserve(guide.size());
  // Whether the lines read now are kept: all of them outside a section.
  bool keeping = true;
  while (!guide.empty()) {
    const std::size_t end = guide.find('\n');
    const std::size_t length = end == std::string_view::npos ? guide.size() : end + 1;
    const std::string_view line = guide.substr(0, length);
    guide.remove_prefix(length);
    std::string_view bare = line;
    while (!bare.empty() && (bare.back() == '\n' || bare.back() == '\r')) bare.remove_suffix(1);
    if (bare == kOnlyOnLinuxMarker) {
      keeping = system == GuideSystem::linux_pc;
    } else if (bare == kOnlyOnWindowsMarker) {
      keeping = system == GuideSystem::windows_pc;
    } else if (bare == kEndOnlyMarker) {
      keeping = true;
    } else if (keeping) {
      text += line;
    }
  }
  return text;
}

std::string WithGuideTables(std::string_view guide, const GuideTranslate& translate) {
  std::string text(guide);
  ReplaceLine(text, kSettingsTableMarker, SettingsGuideTable(translate));
  ReplaceLine(text, kOptionsTableMarker, OptionsGuideTable(translate));
  ReplaceLine(text, kNamesTableMarker, NamesGuideTable(translate));
  return text;
}

}  // namespace zelk
