// SPDX-License-Identifier: GPL-3.0-or-later
// The random fault mode: the draw, its counters, and what the link makes of
// each fault it picks.

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "link/frame_link.h"
#include "link/requests.h"
#include "sim/faults.h"
#include "sim/module.h"
#include "sim/sim_options.h"
#include "sim/simulated_line.h"
#include "sim_test_util.h"

namespace zelk::sim {
namespace {

using testing::Ask;

// Asks the version `count` times and returns the faults the module injected.
std::vector<InjectedFault> InjectedOver(double probability, std::uint32_t seed, int count) {
  ZelkModule module(EngineModelSettings{.seed = seed});
  module.faults().random = probability;
  for (int i = 0; i < count; ++i) Ask(module, 3, 1, {0});
  return module.TakeInjected();
}

bool Same(const std::vector<InjectedFault>& a, const std::vector<InjectedFault>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].request != b[i].request || a[i].fault != b[i].fault) return false;
  }
  return true;
}

TEST(RandomFaults, ASeedGivesTheSameFaultsOnTheSameRequests) {
  const auto first = InjectedOver(0.05, 7, 2000);
  EXPECT_TRUE(Same(first, InjectedOver(0.05, 7, 2000)));
  EXPECT_FALSE(Same(first, InjectedOver(0.05, 8, 2000)));
  ASSERT_FALSE(first.empty());
  // The module's draw is the published one, so a soak can replay it.
  for (const InjectedFault& injected : first) {
    EXPECT_EQ(DrawRandomFault(0.05, 7, injected.request), injected.fault);
  }
}

TEST(RandomFaults, ProbabilityZeroNeverAndOneAlways) {
  EXPECT_TRUE(InjectedOver(0, 1, 1000).empty());
  const auto all = InjectedOver(1, 1, 1000);
  ASSERT_EQ(all.size(), 1000u);
  EXPECT_EQ(all.front().request, 1u);
  EXPECT_EQ(all.back().request, 1000u);
}

TEST(RandomFaults, EveryKindIsReachedAndCounted) {
  ZelkModule module;
  module.faults().random = 1;
  for (int i = 0; i < 300; ++i) Ask(module, 3, 1, {0});
  std::uint64_t total = 0;
  for (std::size_t kind = 0; kind < kRandomFaultKinds; ++kind) {
    EXPECT_GT(module.counters().injected[kind], 50u)
        << RandomFaultName(static_cast<RandomFault>(kind));
    total += module.counters().injected[kind];
  }
  EXPECT_EQ(total, 300u);
}

TEST(RandomFaults, ShareFollowsTheProbability) {
  // Deterministic for the seed; the bounds only catch a draw gone wrong.
  const auto injected = InjectedOver(0.01, 1, 20000);
  EXPECT_GT(injected.size(), 150u);
  EXPECT_LT(injected.size(), 250u);
}

TEST(RandomFaults, TheFaultLastsOneAnswer) {
  ZelkModule module;
  module.faults().random = 1;
  EXPECT_FALSE(Ask(module, 3, 1, {0}).Bytes() == testing::ReplyFrame(3, {2, 10}));
  module.faults().random = 0;
  EXPECT_EQ(Ask(module, 3, 1, {0}).Bytes(), testing::ReplyFrame(3, {2, 10}));
  EXPECT_FALSE(module.faults().silent || module.faults().bad_check ||
               module.faults().garbage_before || module.faults().short_reply);
}

struct TokenCase {
  const char* token;
  bool ok;
  double share;
};

TEST(RandomFaults, ProbabilityTokens) {
  const TokenCase cases[] = {
      {"random=0.01", true, 0.01}, {"random=0", true, 0},     {"random=1", true, 1},
      {"random=1.0", true, 1},     {"random=2", false, 0},    {"random=x", false, 0},
      {"random", false, 0},        {"random=", false, 0},     {"random=-0.1", false, 0},
      {"random=0.5x", false, 0},   {"random=1e-2", false, 0}, {"random=nan", false, 0},
      {"random=inf", false, 0},
  };
  for (const TokenCase& c : cases) {
    FaultModes faults;
    std::string error;
    EXPECT_EQ(ApplyFaultToken(c.token, faults, error), c.ok) << c.token;
    EXPECT_DOUBLE_EQ(faults.random, c.share) << c.token;
    EXPECT_EQ(error.empty(), c.ok) << c.token;
  }
  SimOptions options;
  std::string error;
  EXPECT_FALSE(ParseSimOptions({"--fault", "random=2"}, options, error));
  EXPECT_TRUE(ParseSimOptions({"--fault=random=0.25", "--seed", "9"}, options, error));
  EXPECT_DOUBLE_EQ(options.faults.random, 0.25);
}

// Every injected fault the link must report, as the soak expects: a bad
// check byte or stray bytes in front fail the exchange as bad_check, a reply
// a byte short as short_reply; silence fails it as no_reply only on all three
// tries and is otherwise made good.
TEST(RandomFaults, TheLinkReportsExactlyTheInjectedFaults) {
  SimulatedPort port(EngineModelSettings{.seed = 3});
  port.module().faults().random = 0.3;
  FrameLink link(port.Opener());
  ASSERT_EQ(link.OpenPort("SIM").error, OpenError::none);
  std::array<std::uint8_t, requests::kPollBlock.count> live{};
  std::array<int, kRandomFaultKinds> failed_on{};
  int recovered = 0, three_silences = 0;
  for (int poll = 0; poll < 400; ++poll) {
    const std::uint64_t before = port.module().counters().requests;
    const bool ok = link.ExchangeFrame(requests::kPollBlock, live);
    const std::uint64_t last = port.module().counters().requests;
    std::optional<RandomFault> last_fault;
    std::uint64_t silenced_before_last = 0;
    for (const InjectedFault& injected : port.module().TakeInjected()) {
      ASSERT_GT(injected.request, before);
      if (injected.request == last) {
        last_fault = injected.fault;
      } else if (injected.fault == RandomFault::silent) {
        ++silenced_before_last;
      }
    }
    // The link tries again only after silence.
    ASSERT_EQ(silenced_before_last, last - before - 1) << poll;
    if (ok) {
      ASSERT_FALSE(last_fault) << poll;
      recovered += static_cast<int>(silenced_before_last);
      continue;
    }
    ASSERT_TRUE(last_fault) << poll;
    ++failed_on[static_cast<std::size_t>(*last_fault)];
    if (*last_fault == RandomFault::silent) {
      ++three_silences;
      EXPECT_EQ(last - before, 3u);
      EXPECT_EQ(link.last_failure(), ExchangeFailure::no_reply);
    } else if (*last_fault == RandomFault::short_reply) {
      EXPECT_EQ(link.last_failure(), ExchangeFailure::short_reply) << poll;
    } else {
      EXPECT_EQ(link.last_failure(), ExchangeFailure::bad_check) << poll;
    }
  }
  EXPECT_GT(failed_on[static_cast<std::size_t>(RandomFault::bad_check)], 0);
  EXPECT_GT(failed_on[static_cast<std::size_t>(RandomFault::short_reply)], 0);
  EXPECT_GT(failed_on[static_cast<std::size_t>(RandomFault::garbage_before)], 0);
  EXPECT_GT(recovered, 0);
}

}  // namespace
}  // namespace zelk::sim
