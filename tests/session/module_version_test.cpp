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

TEST(ModuleVersionTextTest, MajorNumberOfAText) {
  const struct {
    const char* text;
    std::optional<int> major;
  } cases[] = {
      {"2.10", 2},           {"3", 3},
      {"10.0", 10},          {"", std::nullopt},
      {"?.?", std::nullopt}, {"2x.1", std::nullopt},
      {".5", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(MajorVersionOf(c.text), c.major) << c.text;
}

TEST(ModuleVersionTextTest, OtherMajorOnlyWhenBothAreKnownAndDiffer) {
  const std::optional<ModuleVersion> module = ModuleVersion{{2, 10}, 2};
  EXPECT_FALSE(OtherMajorVersion("2.7", module));
  EXPECT_TRUE(OtherMajorVersion("3.0", module));
  EXPECT_TRUE(OtherMajorVersion("1.10", module));
  EXPECT_FALSE(OtherMajorVersion("", module));  // written by hand
  EXPECT_FALSE(OtherMajorVersion("?.?", module));
  EXPECT_FALSE(OtherMajorVersion("3.0", std::nullopt));
  EXPECT_FALSE(OtherMajorVersion("3.0", ModuleVersion{{0, 0}, 0}));
}

}  // namespace
}  // namespace zelk
