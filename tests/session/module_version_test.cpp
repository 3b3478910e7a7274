// SPDX-License-Identifier: GPL-3.0-or-later
// The one text of the module's version, for every number of payload bytes.

#include "session/module_version.h"

#include <gtest/gtest.h>

namespace zelk {
namespace {

TEST(ModuleVersionTextTest, MissingNumbersShowAsQuestionMarks) {
  EXPECT_EQ(ModuleVersionText({{2, 10}, 2}), "2.10");
  EXPECT_EQ(ModuleVersionText({{2, 10}, 1}), "2.?");
  EXPECT_EQ(ModuleVersionText({{0, 0}, 0}), "?.?");
}

TEST(ModuleVersionTextTest, BothNumbersInDecimal) {
  const struct {
    ModuleVersion version;
    const char* text;
  } cases[] = {
      {{{1, 0}, 2}, "1.0"},
      {{{0, 0}, 2}, "0.0"},
      {{{255, 255}, 2}, "255.255"},
      {{{3, 7}, 5}, "3.7"},  // a longer reply: its first two bytes
  };
  for (const auto& c : cases) EXPECT_EQ(ModuleVersionText(c.version), c.text);
}

TEST(ModuleVersionTextTest, NoModuleGivesAnEmptyText) {
  EXPECT_EQ(ModuleVersionText(std::optional<ModuleVersion>{}), "");
  EXPECT_EQ(ModuleVersionText(std::optional<ModuleVersion>{ModuleVersion{{2, 10}, 2}}), "2.10");
}

}  // namespace
}  // namespace zelk
