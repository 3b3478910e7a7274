// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/entry_check.h"

#include <gtest/gtest.h>

#include <limits>

namespace zelk {
namespace {

using V = EntryVerdict;

TEST(EntryCheck, Verdicts) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    const char* name;
    const char* text;
    char sep;
    double limit;
    V verdict;
  } cases[] = {
      {"tempo_partida", "4001", '.', 50, V::range_failure},
      {"tempo_partida", "4000", '.', 50, V::accepted},
      {"tempo_partida", "0", '.', 50, V::accepted},
      {"tempo_partida", "-1", '.', 50, V::range_failure},
      {"tempo_partida", "", '.', 50, V::conversion_failure},
      {"tempo_partida", " 1000 ", '.', 50, V::accepted},
      {"temp_max_cold", "36", '.', 50, V::range_failure},
      {"temp_max_cold", "35", '.', 50, V::accepted},
      {"temp_max_cold", "15", '.', 50, V::accepted},
      {"var_inicial", "12.5", '.', 50, V::conversion_failure},
      {"var_inicial", "200.8", '.', 50, V::conversion_failure},  // as a read may leave it
      {"injecao_extra", "12.5", '.', 50, V::range_failure},
      {"injecao_extra", "9,5", ',', 50, V::accepted},
      {"injecao_extra", "9.5", ',', 50, V::conversion_failure},
      {"injecao_extra", "-0.1", '.', 50, V::range_failure},
      {"porc_mistura", "50", '.', 50, V::accepted},
      {"porc_mistura", "30", '.', 30, V::accepted},
      {"porc_mistura", "37", '.', 30, V::range_failure},
      {"porc_mistura", "9.9", '.', 50, V::range_failure},
      {"porc_mistura", "20", '.', nan, V::range_failure},
      {"porc_mistura", "x", '.', 50, V::conversion_failure},
  };
  for (const auto& c : cases) {
    const SettingRow* row = FindSetting(c.name);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(CheckEntry(*row, c.text, c.sep, c.limit), c.verdict)
        << c.name << " '" << c.text << "'";
  }
}

// Each range at and just beyond both ends.
TEST(EntryCheck, RangesAreInclusive) {
  const struct {
    const char* name;
    const char *below, *min, *max, *above;
  } ranges[] = {
      {"tempo_partida", "-1", "0", "4000", "4001"},    {"temp_max_cold", "14", "15", "35", "36"},
      {"injecao_extra", "-0.01", "0", "10", "10.01"},  {"temp_max_extra", "34", "35", "60", "61"},
      {"limite_corr", "9.99", "10", "50", "50.01"},    {"temp_corr", "-1", "0", "100", "101"},
      {"tempo_ajuste", "9", "10", "50", "51"},         {"valor_lambda", "-1", "0", "1000", "1001"},
      {"var_inicial", "199", "200", "15000", "15001"}, {"tempo_extra", "-0.01", "0", "20", "20.01"},
      {"porc_mistura", "9.99", "10", "50", "50.01"},  // with limite_corr at 50
  };
  for (const auto& r : ranges) {
    const SettingRow& row = *FindSetting(r.name);
    EXPECT_EQ(CheckEntry(row, r.below, '.', 50), V::range_failure) << r.name;
    EXPECT_EQ(CheckEntry(row, r.min, '.', 50), V::accepted) << r.name;
    EXPECT_EQ(CheckEntry(row, r.max, '.', 50), V::accepted) << r.name;
    EXPECT_EQ(CheckEntry(row, r.above, '.', 50), V::range_failure) << r.name;
  }
}

TEST(EntryCheck, LimitPullsTheStartMixDown) {
  const struct {
    const char* start_mix;
    const char* limit;
    char sep;
    bool pulls;
  } cases[] = {
      {"37", "30", '.', true},   {"30", "50", '.', false},  {"30", "30", '.', false},
      {"37,5", "37", ',', true}, {"abc", "30", '.', false}, {"37", "x", '.', false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LimitPullsStartMix(c.start_mix, c.limit, c.sep), c.pulls)
        << c.start_mix << " / " << c.limit;
  }
}

}  // namespace
}  // namespace zelk
