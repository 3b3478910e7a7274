// SPDX-License-Identifier: GPL-3.0-or-later
// zelk-sim's --pace: how replies go out on the pty.

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "sim/sim_options.h"

namespace zelk::sim {
namespace {

struct PaceCase {
  std::vector<std::string> args;
  std::optional<Pace> pace;  // nothing: refused
};

void PrintTo(const PaceCase& test, std::ostream* os) {
  for (const std::string& arg : test.args) *os << arg << ' ';
}

class PaceOption : public ::testing::TestWithParam<PaceCase> {};

TEST_P(PaceOption, Parse) {
  SimOptions options;
  std::string error;
  const bool parsed = ParseSimOptions(GetParam().args, options, error);
  ASSERT_EQ(parsed, GetParam().pace.has_value()) << error;
  if (parsed) {
    EXPECT_EQ(options.pace, *GetParam().pace);
  } else {
    EXPECT_NE(error.find("--pace"), std::string::npos) << error;
  }
}

// The default stays the paced line: the technician's simulator and the
// benchmarks behave as they always did.
INSTANTIATE_TEST_SUITE_P(
    Cases, PaceOption,
    ::testing::Values(PaceCase{{}, Pace::line}, PaceCase{{"--pace", "line"}, Pace::line},
                      PaceCase{{"--pace=reply"}, Pace::reply},
                      PaceCase{{"--pace", "reply", "--pace", "line"}, Pace::line},
                      PaceCase{{"--pace", "Reply"}, std::nullopt},
                      PaceCase{{"--pace="}, std::nullopt}, PaceCase{{"--pace"}, std::nullopt}));

TEST(SimUsage, NamesThePaceAndTheShortFault) {
  const std::string usage = SimUsage();
  EXPECT_NE(usage.find("--pace line|reply"), std::string::npos);
  EXPECT_NE(usage.find(" short,"), std::string::npos);
}

}  // namespace
}  // namespace zelk::sim
