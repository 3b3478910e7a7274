// SPDX-License-Identifier: GPL-3.0-or-later
// How the soak judges a poll: every failure must be an injected fault's or a
// cut the host caused by leaving the simulator unscheduled inside a reply.

#include "soak_matching.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <ostream>
#include <set>
#include <string>

namespace zelk::soak {
namespace {

struct MatchCase {
  const char* name;
  PollRecord poll;
  SimLog log;
  std::uint64_t matched;
  std::uint64_t cut_by_host;
  bool problem;
};

void PrintTo(const MatchCase& test, std::ostream* os) {
  *os << test.name;
}

class PollMatching : public ::testing::TestWithParam<MatchCase> {};

TEST_P(PollMatching, OneFailedPoll) {
  const MatchCase& test = GetParam();
  const Tally tally = Match({test.poll}, test.log);
  EXPECT_EQ(tally.failures, 1u);
  EXPECT_EQ(tally.failures_matched, test.matched);
  EXPECT_EQ(tally.failures_cut_by_host, test.cut_by_host);
  EXPECT_EQ(tally.problems.empty(), !test.problem);
  EXPECT_EQ(tally.failures_matched + tally.failures_cut_by_host == tally.failures, !test.problem)
      << "the soak passes exactly when every failure is accounted for";
}

constexpr auto kBadCheck = ExchangeFailure::bad_check;
constexpr auto kNoReply = ExchangeFailure::no_reply;

INSTANTIATE_TEST_SUITE_P(
    Cases, PollMatching,
    ::testing::Values(
        MatchCase{"InjectedBadCheck", {7, 7, kBadCheck}, {{{7, "bad-check"}}, {}}, 1, 0, false},
        MatchCase{"InjectedGarbage", {7, 7, kBadCheck}, {{{7, "garbage-before"}}, {}}, 1, 0, false},
        MatchCase{"InjectedShort", {7, 7, kBadCheck}, {{{7, "short"}}, {}}, 1, 0, false},
        MatchCase{"SilentThrice",
                  {5, 7, kNoReply},
                  {{{5, "silent"}, {6, "silent"}, {7, "silent"}}, {}},
                  1,
                  0,
                  false},
        // The reply the simulator sent late, cut by the link's 20 ms rule.
        MatchCase{"LateReply", {7, 7, kBadCheck}, {{}, {7}}, 0, 1, false},
        MatchCase{"LateAfterASilentTry", {6, 7, kBadCheck}, {{{6, "silent"}}, {7}}, 0, 1, false},
        // A failure with neither a fault nor a late reply is the link's own.
        MatchCase{"Neither", {7, 7, kBadCheck}, {{}, {}}, 0, 0, true},
        MatchCase{"LateOnAnotherRequest", {7, 7, kBadCheck}, {{}, {6, 8}}, 0, 0, true},
        // Lateness inside a reply does not silence a module.
        MatchCase{"LateButNoReply", {5, 7, kNoReply}, {{}, {7}}, 0, 0, true},
        MatchCase{"WrongKindForTheFault", {7, 7, kNoReply}, {{{7, "bad-check"}}, {}}, 0, 0, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PollMatching, ASuccessCarryingAFaultIsAProblemLatenessOrNot) {
  const Tally tally =
      Match({{1, 1, ExchangeFailure::none}, {2, 2, ExchangeFailure::none}}, {{{1, "short"}}, {2}});
  EXPECT_EQ(tally.failures, 0u);
  EXPECT_EQ(tally.faulty_successes, 1u);
  EXPECT_EQ(tally.problems.size(), 1u);
}

TEST(SimLogParsing, InjectedFaultsAndLateRepliesByRequest) {
  char path[] = "/tmp/zelk-soak-log-XXXXXX";
  const int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  close(fd);
  {
    std::ofstream log(path);
    log << "zelk-sim: 12.5 ms: command 0 address 67 count 10 -> 13 bytes\n"
           "zelk-sim: request 3: injected fault short\n"
           "zelk-sim: request 4: reply sent late, a gap 31.2 ms over plan\n"
           "zelk-sim: request 9: injected fault garbage-before\n"
           "zelk-sim: request 10: reply sent lately\n"  // not the simulator's line
           "zelk-sim: 10 requests; injected faults: silent 0, bad-check 0, garbage-before 1, "
           "short 1; replies sent late: 1\n";
  }
  const SimLog parsed = ParseSimLog(path);
  std::remove(path);
  EXPECT_EQ(parsed.injected,
            (std::map<std::uint64_t, std::string>{{3, "short"}, {9, "garbage-before"}}));
  EXPECT_EQ(parsed.late, (std::set<std::uint64_t>{4}));
}

}  // namespace
}  // namespace zelk::soak
