// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settings_guide.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "settings/option_flags.h"
#include "settings/settings_table.h"

namespace zelk {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The cells of one Markdown row, without their padding.
std::vector<std::string> Cells(const std::string& line) {
  std::vector<std::string> cells;
  std::string cell;
  for (std::size_t i = 1; i < line.size(); ++i) {
    if (line[i] == '\\' && i + 1 < line.size()) {
      cell += line[++i];
    } else if (line[i] == '|') {
      cells.push_back(cell.substr(1, cell.size() - 2));
      cell.clear();
    } else {
      cell += line[i];
    }
  }
  return cells;
}

std::string Trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return std::string(text);
}

TEST(SettingsGuide, OneRowPerSettingInTheTablesOrder) {
  const auto lines = Lines(SettingsGuideTable());
  ASSERT_EQ(lines.size(), kSettingCount + 2);
  EXPECT_EQ(lines[0], "| Setting | Unit | Range | Default | Needs | Meaning |");
  EXPECT_EQ(lines[1], "|---|---|---|---|---|---|");
  for (std::size_t i = 0; i < kSettingCount; ++i) {
    const SettingRow& row = kSettingRows[i];
    const auto cells = Cells(lines[i + 2]);
    ASSERT_EQ(cells.size(), 6u) << lines[i + 2];
    EXPECT_EQ(cells[0], Trimmed(row.caption));
    EXPECT_EQ(cells[1], Trimmed(row.unit));
    EXPECT_EQ(cells[3], Trimmed(row.default_text));
    EXPECT_EQ(cells[5], Trimmed(row.hint));
  }
}

// The columns that are worked out rather than copied.
TEST(SettingsGuide, RangesAndEnablingOptions) {
  struct Case {
    SettingIndex index;
    const char* range;
    const char* needs;
  };
  const Case cases[] = {
      {kTempoPartida, "0 to 4000", ""},
      {kPorcMistura, "10 to Max. Correction", ""},  // bounded by the current limite_corr
      {kInjecaoExtra, "0 to 10", "Engine Heating"},
      {kTempMaxExtra, "35 to 60", "Engine Heating"},
      {kTempoAjuste, "10 to 50", "Oxygen Sensor Freeze"},
      {kValorLambda, "0 to 1000", "Oxygen Sensor Freeze"},
      {kVarInicial, "200 to 15000", "Quick Throtle"},
      {kTempoExtra, "0 to 20", "Quick Throtle"},
  };
  const auto lines = Lines(SettingsGuideTable());
  for (const Case& c : cases) {
    const auto cells = Cells(lines[c.index + 2]);
    EXPECT_EQ(cells[2], c.range) << kSettingRows[c.index].name;
    EXPECT_EQ(cells[4], c.needs) << kSettingRows[c.index].name;
  }
  EXPECT_EQ(lines[kInjecaoExtra + 2],
            "| Extra Inject. | % | 0 to 10 | 10 | Engine Heating | Extra Fuel Injection on Engine "
            "Heating |");
}

TEST(SettingsGuide, OneRowPerOptionBox) {
  const auto lines = Lines(OptionsGuideTable());
  ASSERT_EQ(lines.size(), kOptionCount + 2);
  for (std::size_t i = 0; i < kOptionCount; ++i) {
    const auto cells = Cells(lines[i + 2]);
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_EQ(cells[0], Trimmed(kOptionBoxes[i].caption));
    EXPECT_EQ(cells[1], Trimmed(kOptionBoxes[i].hint));
  }
}

TEST(SettingsGuide, MarkersGiveWayToTheirTables) {
  const std::string guide = "# Guide\n\n" + std::string(kSettingsTableMarker) + "\n\nText\n\n" +
                            std::string(kOptionsTableMarker) + "\nEnd\n";
  EXPECT_EQ(WithGuideTables(guide),
            "# Guide\n\n" + SettingsGuideTable() + "\nText\n\n" + OptionsGuideTable() + "End\n");
  EXPECT_EQ(WithGuideTables("no tables here\n"), "no tables here\n");
}

}  // namespace
}  // namespace zelk
