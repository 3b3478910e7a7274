// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/utc_time.h"

#include <gtest/gtest.h>

namespace zelk {
namespace {

using std::chrono::system_clock;

TEST(UtcTime, TextsAndStemsOfOneTime) {
  const system_clock::time_point time = std::chrono::sys_days{std::chrono::year{2026} / 12 / 9} +
                                        std::chrono::hours{10} + std::chrono::minutes{15} +
                                        std::chrono::milliseconds{123};
  EXPECT_EQ(UtcTimeText(time), "2026-12-09T10:15:00Z");
  EXPECT_EQ(UtcFileStem(time), "2026-12-09T10-15-00.123Z");
  EXPECT_EQ(UtcTimeTextOfStem("2026-12-09T10-15-00.123Z"), "2026-12-09T10:15:00Z");
  EXPECT_EQ(UtcTimeOfText("2026-12-09T10:15:00Z"), std::chrono::floor<std::chrono::seconds>(time));
}

TEST(UtcTime, EveryTextReadsBackAsItsTime) {
  for (const char* text : {"1970-01-01T00:00:00Z", "2000-02-29T23:59:59Z", "2026-12-31T12:00:01Z",
                           "2099-06-15T07:08:09Z"}) {
    const auto time = UtcTimeOfText(text);
    ASSERT_TRUE(time) << text;
    EXPECT_EQ(UtcTimeText(*time), text);
  }
}

TEST(UtcTime, TextsThatNameNoTimeAreRefused) {
  for (const char* text :
       {"", "2026-12-09T10:15:00", "2026-12-09 10:15:00Z", "2026-02-30T10:15:00Z",
        "2026-13-01T10:15:00Z", "2026-12-09T24:00:00Z", "2026-12-09T10:60:00Z",
        "2026-12-09T10:15:60Z", "2026-12-09T10-15-00.123Z", "abcd-12-09T10:15:00Z"}) {
    EXPECT_FALSE(UtcTimeOfText(text)) << text;
  }
}

}  // namespace
}  // namespace zelk
