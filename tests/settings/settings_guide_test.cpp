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
  ASSERT_EQ(lines.size(), kEditCount + 2);
  EXPECT_EQ(lines[0], "| Setting | Unit | Range | Default | Needs | Meaning |");
  EXPECT_EQ(lines[1], "|---|---|---|---|---|---|");
  for (std::size_t i = 0; i < kEditCount; ++i) {
    const SettingRow& row = kSettings[i];
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
    EXPECT_EQ(cells[2], c.range) << kSettings[c.index].name;
    EXPECT_EQ(cells[4], c.needs) << kSettings[c.index].name;
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
    EXPECT_EQ(cells[0], Trimmed(OptionRows()[i].caption));
    EXPECT_EQ(cells[1], Trimmed(OptionRows()[i].hint));
  }
}

TEST(SettingsGuide, MarkersGiveWayToTheirTables) {
  const std::string guide = "# Guide\n\n" + std::string(kSettingsTableMarker) + "\n\nText\n\n" +
                            std::string(kOptionsTableMarker) + "\nEnd\n";
  EXPECT_EQ(WithGuideTables(guide),
            "# Guide\n\n" + SettingsGuideTable() + "\nText\n\n" + OptionsGuideTable() + "End\n");
  EXPECT_EQ(WithGuideTables("no tables here\n"), "no tables here\n");
}

// The technician's glossary: every setting of the window, as its caption
// shows it, beside the name settings files and zelkctl give it.
TEST(SettingsGuide, NamesTableGivesEachSettingsName) {
  const auto lines = Lines(NamesGuideTable());
  ASSERT_EQ(lines.size(), kSettingRowCount + 2);
  EXPECT_EQ(lines[0], "| Setting | zelkctl |");
  EXPECT_EQ(lines[1], "|---|---|");
  for (const SettingRow& row : kSettings) {
    const auto cells = Cells(lines[row.id + 2]);
    ASSERT_EQ(cells.size(), 2u) << lines[row.id + 2];
    EXPECT_EQ(cells[0], Trimmed(row.caption));
    EXPECT_EQ(cells[1], std::string("`").append(row.name).append("`"));
  }
  EXPECT_EQ(lines[kTempoPartida + 2], "| Injec. Time | `tempo_partida` |");
  EXPECT_EQ(lines[kRpmAdj + 2], "| Idle RPM | `rpm_adj` |");
  EXPECT_EQ(lines[kBandaLarga + 2], "| WideBand Sensor | `banda_larga` |");

  const std::string guide = "# Guide\n" + std::string(kNamesTableMarker) + "\nEnd\n";
  EXPECT_EQ(WithGuideTables(guide), "# Guide\n" + NamesGuideTable() + "End\n");
}

// A translation that says which context each text was asked under.
std::string Tagged(std::string_view context, std::string_view english) {
  return std::string("<").append(context).append(">").append(english);
}

std::string Untranslated(std::string_view, std::string_view english) {
  return std::string(english);
}

TEST(SettingsGuide, EveryTextOfTheTablesIsAskedForItsTranslation) {
  const auto settings = Lines(SettingsGuideTable(Tagged));
  ASSERT_EQ(settings.size(), kEditCount + 2);
  EXPECT_EQ(settings[0],
            "| <Guide>Setting | <Guide>Unit | <Guide>Range | <Guide>Default | <Guide>Needs | "
            "<Guide>Meaning |");
  EXPECT_EQ(settings[1], "|---|---|---|---|---|---|");
  const auto window = [](std::string_view english) { return Trimmed(Tagged("Settings", english)); };
  for (std::size_t i = 0; i < kEditCount; ++i) {
    const SettingRow& row = kSettings[i];
    const auto cells = Cells(settings[i + 2]);
    ASSERT_EQ(cells.size(), 6u) << settings[i + 2];
    EXPECT_EQ(cells[0], window(row.caption));
    EXPECT_EQ(cells[1], window(row.unit));
    EXPECT_EQ(cells[2].rfind("<Guide>", 0), 0u) << cells[2];
    EXPECT_EQ(cells[3], Trimmed(row.default_text));  // digits stay digits
    EXPECT_EQ(cells[5], window(row.hint));
  }
  // The worked-out cells name the windows' texts under the windows' context.
  EXPECT_EQ(Cells(settings[kPorcMistura + 2])[2], "<Guide>10 to <Settings>Max. Correction");
  EXPECT_EQ(Cells(settings[kInjecaoExtra + 2])[4], "<Settings>Engine Heating");
  EXPECT_EQ(Cells(settings[kTempoPartida + 2])[4], "");

  const auto options = Lines(OptionsGuideTable(Tagged));
  ASSERT_EQ(options.size(), kOptionCount + 2);
  EXPECT_EQ(options[0], "| <Guide>Option | <Guide>Meaning |");
  for (std::size_t i = 0; i < kOptionCount; ++i) {
    const auto cells = Cells(options[i + 2]);
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_EQ(cells[0], window(OptionRows()[i].caption));
    EXPECT_EQ(cells[1], window(OptionRows()[i].hint));
  }

  const std::string guide =
      std::string(kSettingsTableMarker) + "\n" + std::string(kOptionsTableMarker) + "\n";
  EXPECT_EQ(WithGuideTables(guide, Tagged), SettingsGuideTable(Tagged) + OptionsGuideTable(Tagged));
}

// The names table's captions come in the window's language, each under its
// row's context; the names and the heading over them stay as they are.
TEST(SettingsGuide, NamesTableTranslatesTheCaptionsOnly) {
  const auto lines = Lines(NamesGuideTable(Tagged));
  ASSERT_EQ(lines.size(), kSettingRowCount + 2);
  EXPECT_EQ(lines[0], "| <Guide>Setting | zelkctl |");
  EXPECT_EQ(lines[kTempoPartida + 2], "| <Settings>Injec. Time | `tempo_partida` |");
  EXPECT_EQ(lines[kRpmAdj + 2], "| <SettingsFile>Idle RPM | `rpm_adj` |");
  EXPECT_EQ(lines[kHeatEn + 2], "| <Settings>Engine Heating | `heat_en` |");
  EXPECT_EQ(NamesGuideTable(Untranslated), NamesGuideTable());
}

// A translation may put the range's numbers in its own order and words, and a
// '|' it brings stays inside its cell.
TEST(SettingsGuide, TranslatedRangesKeepTheirNumbers) {
  const auto translate = [](std::string_view context, std::string_view english) -> std::string {
    if (context == "Guide" && english == "%1 to %2") return "de %1 a %2";
    if (context == "Settings" && english == "Max. Correction ") return "Correção máx. ";
    if (context == "Settings" && english == "Engine Heating ") return "Aquecimento | motor";
    return std::string(english);
  };
  struct Case {
    SettingIndex index;
    const char* range;
    const char* needs;
  };
  const Case cases[] = {
      {kTempoPartida, "de 0 a 4000", ""},
      {kPorcMistura, "de 10 a Correção máx.", ""},
      {kInjecaoExtra, "de 0 a 10", "Aquecimento | motor"},
      {kVarInicial, "de 200 a 15000", "Quick Throtle"},
  };
  const auto lines = Lines(SettingsGuideTable(translate));
  for (const Case& c : cases) {
    const auto cells = Cells(lines[c.index + 2]);
    ASSERT_EQ(cells.size(), 6u) << lines[c.index + 2];
    EXPECT_EQ(cells[2], c.range) << kSettings[c.index].name;
    EXPECT_EQ(cells[4], c.needs) << kSettings[c.index].name;
  }
}

TEST(SettingsGuide, UntranslatedTablesAreTheEnglishOnes) {
  EXPECT_EQ(SettingsGuideTable(Untranslated), SettingsGuideTable());
  EXPECT_EQ(OptionsGuideTable(Untranslated), OptionsGuideTable());
  const std::string guide = "# Guide\n" + std::string(kSettingsTableMarker) + "\n" +
                            std::string(kOptionsTableMarker) + "\n";
  EXPECT_EQ(WithGuideTables(guide, Untranslated), WithGuideTables(guide));
}

// Each system's reader gets the sections of that system only, markers gone.
TEST(GuideForSystem, KeepsTheReadersSectionsOnly) {
  const std::string guide =
      "## Connecting\n"
      "<!-- only on linux -->\n"
      "### On Linux\n"
      "dialout\n"
      "<!-- end only -->\n"
      "<!-- only on windows -->\r\n"
      "### On Windows\n"
      "Device Manager\n"
      "<!-- end only -->\n"
      "## Reading\n"
      "<!-- only on windows -->\n"
      "left open";
  struct Case {
    GuideSystem system;
    const char* expected;
  };
  const Case cases[] = {
      {GuideSystem::linux_pc, "## Connecting\n### On Linux\ndialout\n## Reading\n"},
      {GuideSystem::windows_pc,
       "## Connecting\n### On Windows\nDevice Manager\n## Reading\nleft open"},
  };
  for (const Case& c : cases) EXPECT_EQ(GuideForSystem(guide, c.system), c.expected);
  EXPECT_EQ(GuideForSystem("no sections\n", GuideSystem::windows_pc), "no sections\n");
}

}  // namespace
}  // namespace zelk
