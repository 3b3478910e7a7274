// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/faults.h"
#include <cctype>

#include <gtest/gtest.h>

#include <functional>

#include "link/frame.h"
#include "sim/module.h"
#include "sim/sim_options.h"
#include "sim_test_util.h"

namespace zelk::sim {
namespace {

using testing::Ask;
using testing::Bytes;

const Bytes kVersionReply{0xF3, 0x03, 0x02, 0x0A, 0x98};

struct PlanCase {
  const char* name;
  std::function<void(FaultModes&)> set;
  std::vector<ReplyChunk> chunks;  // expected plan for the version request
};

class FaultPlans : public ::testing::TestWithParam<PlanCase> {};

TEST_P(FaultPlans, VersionReplyAsTheFaultShapesIt) {
  ZelkModule module;
  GetParam().set(module.faults());
  const ReplyPlan plan = Ask(module, 3, 1, {0});
  ASSERT_EQ(plan.chunks.size(), GetParam().chunks.size());
  for (std::size_t i = 0; i < plan.chunks.size(); ++i) {
    EXPECT_EQ(plan.chunks[i].delay_ms, GetParam().chunks[i].delay_ms) << i;
    EXPECT_EQ(plan.chunks[i].bytes, GetParam().chunks[i].bytes) << i;
  }
  EXPECT_FALSE(plan.hang_up);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultPlans,
    ::testing::Values(
        PlanCase{"none", [](FaultModes&) {}, {{0, kVersionReply}}},
        PlanCase{"silent", [](FaultModes& f) { f.silent = true; }, {}},
        PlanCase{"bad_check",
                 [](FaultModes& f) { f.bad_check = true; },
                 {{0, {0xF3, 0x03, 0x02, 0x0A, 0x98 ^ 0xFF}}}},
        // Half of the two payload bytes, and no check byte.
        PlanCase{"truncated", [](FaultModes& f) { f.truncated = true; }, {{0, {0xF3, 0x03, 0x02}}}},
        PlanCase{"garbage_before",
                 [](FaultModes& f) { f.garbage_before = true; },
                 {{0, {0x00, 0xFF, 0x55, 0xF3, 0x03, 0x02, 0x0A, 0x98}}}},
        PlanCase{"split_pause",
                 [](FaultModes& f) { f.split_pause_ms = 40; },
                 {{0, {0xF3, 0x03}}, {40, {0x02, 0x0A, 0x98}}}},
        PlanCase{"late_bytes",
                 [](FaultModes& f) { f.late_bytes = true; },
                 {{0, kVersionReply}, {60, {0x5A, 0xA5}}}},
        PlanCase{
            "extra_delay", [](FaultModes& f) { f.extra_delay_ms = 150; }, {{150, kVersionReply}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Faults, OversizeReplyFillsTheWholeReadAndIsStillValid) {
  ZelkModule module;
  module.faults().oversize = true;
  const Bytes reply = Ask(module, 3, 1, {0}).Bytes();
  ASSERT_EQ(reply.size(), kFrameBufferSize);
  EXPECT_TRUE(ReplyAccepted(reply));
  EXPECT_EQ(reply[2], 2);
  EXPECT_EQ(reply[3], 10);
}

TEST(Faults, TruncatedAndBadCheckRepliesAreRefused) {
  for (auto set :
       {+[](FaultModes& f) { f.truncated = true; }, +[](FaultModes& f) { f.bad_check = true; },
        +[](FaultModes& f) { f.garbage_before = true; }}) {
    ZelkModule module;
    set(module.faults());
    EXPECT_FALSE(ReplyAccepted(Ask(module, 1, 1, Bytes(25, 0)).Bytes()));
  }
}

TEST(Faults, NoReplyToTheFirstTriesAndNoEffectEither) {
  ZelkModule module;
  module.faults().no_reply_first = 2;
  const auto before = module.settings();
  EXPECT_TRUE(Ask(module, 4, 3, {99}).silent());
  EXPECT_EQ(module.settings(), before) << "an ignored write must not be stored";
  EXPECT_TRUE(Ask(module, 3, 1, {0}).silent());
  EXPECT_EQ(Ask(module, 3, 1, {0}).Bytes(), kVersionReply);
  EXPECT_EQ(Ask(module, 3, 1, {0}).Bytes(), kVersionReply);
  EXPECT_EQ(module.counters().requests, 4u);
  EXPECT_EQ(module.counters().replies, 2u);
}

TEST(Faults, HangUpAfterAnsweredExchanges) {
  ZelkModule module;
  module.faults().hangup_after = 2;
  const ReplyPlan first = Ask(module, 3, 1, {0});
  EXPECT_FALSE(first.hang_up);
  const ReplyPlan second = Ask(module, 3, 1, {0});
  EXPECT_EQ(second.Bytes(), kVersionReply) << "the last reply still goes out";
  EXPECT_TRUE(second.hang_up);
  EXPECT_TRUE(module.hung_up());
  EXPECT_TRUE(Ask(module, 3, 1, {0}).silent());

  module.Reconnect();
  EXPECT_FALSE(module.hung_up());
  EXPECT_EQ(Ask(module, 3, 1, {0}).Bytes(), kVersionReply);
}

TEST(Faults, HangUpAfterZeroHangsUpAtOnce) {
  ZelkModule module;
  module.faults().hangup_after = 0;
  const ReplyPlan plan = Ask(module, 3, 1, {0});
  EXPECT_TRUE(plan.silent());
  EXPECT_TRUE(plan.hang_up);
}

struct TokenCase {
  const char* token;
  bool ok;
  std::function<bool(const FaultModes&)> holds;
};

class FaultTokens : public ::testing::TestWithParam<TokenCase> {};

TEST_P(FaultTokens, Parse) {
  FaultModes faults;
  std::string error;
  EXPECT_EQ(ApplyFaultToken(GetParam().token, faults, error), GetParam().ok) << error;
  EXPECT_TRUE(GetParam().holds(faults));
  EXPECT_EQ(error.empty(), GetParam().ok);
}

bool Untouched(const FaultModes& f) {
  return !f.silent && f.no_reply_first == 0 && !f.bad_check && !f.truncated && !f.garbage_before &&
         !f.oversize && f.split_pause_ms == 0 && !f.late_bytes && f.hangup_after == -1 &&
         f.extra_delay_ms == 0;
}

INSTANTIATE_TEST_SUITE_P(
    Tokens, FaultTokens,
    ::testing::Values(
        TokenCase{"silent", true, [](const FaultModes& f) { return f.silent; }},
        TokenCase{"no-reply-first=2", true,
                  [](const FaultModes& f) { return f.no_reply_first == 2; }},
        TokenCase{"bad-check", true, [](const FaultModes& f) { return f.bad_check; }},
        TokenCase{"truncated", true, [](const FaultModes& f) { return f.truncated; }},
        TokenCase{"garbage-before", true, [](const FaultModes& f) { return f.garbage_before; }},
        TokenCase{"oversize", true, [](const FaultModes& f) { return f.oversize; }},
        TokenCase{"split-pause=40", true,
                  [](const FaultModes& f) { return f.split_pause_ms == 40; }},
        TokenCase{"late-bytes", true, [](const FaultModes& f) { return f.late_bytes; }},
        TokenCase{"hangup-after=0", true, [](const FaultModes& f) { return f.hangup_after == 0; }},
        TokenCase{"extra-delay=250", true,
                  [](const FaultModes& f) { return f.extra_delay_ms == 250; }},
        TokenCase{"noisy", false, Untouched}, TokenCase{"silent=1", false, Untouched},
        TokenCase{"split-pause", false, Untouched}, TokenCase{"split-pause=", false, Untouched},
        TokenCase{"split-pause=-5", false, Untouched},
        TokenCase{"hangup-after=3x", false, Untouched},
        TokenCase{"extra-delay=99999999999", false, Untouched}),
    [](const auto& info) {
      std::string name = info.param.token;
      for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      }
      return name + "_" + std::to_string(info.index);
    });

TEST(SimOptions, FlagsOfTheProgram) {
  SimOptions options;
  std::string error;
  ASSERT_TRUE(ParseSimOptions(
      {"--link", "/tmp/x", "--fault", "silent", "--fault=split-pause=30", "--module-version", "3.7",
       "--rpm-program-ms=250", "--map-program-ms", "500", "--seed", "42", "--quiet"},
      options, error))
      << error;
  EXPECT_EQ(options.link_path, "/tmp/x");
  EXPECT_TRUE(options.faults.silent);
  EXPECT_EQ(options.faults.split_pause_ms, 30);
  EXPECT_EQ(options.version[0], 3);
  EXPECT_EQ(options.version[1], 7);
  EXPECT_EQ(options.engine.rpm_program_ms, 250);
  EXPECT_EQ(options.engine.map_program_ms, 500);
  EXPECT_EQ(options.engine.seed, 42u);
  EXPECT_TRUE(options.quiet);
  EXPECT_FALSE(options.help);
  EXPECT_FALSE(options.program_version);
}

// --version is the program's version; the module's is --module-version.
TEST(SimOptions, VersionFlagAsksForTheProgramsVersion) {
  SimOptions options;
  std::string error;
  ASSERT_TRUE(ParseSimOptions({"--version"}, options, error)) << error;
  EXPECT_TRUE(options.program_version);
  EXPECT_EQ(options.version[0], 2);  // the module keeps its default 2.10
  EXPECT_EQ(options.version[1], 10);
}

TEST(SimOptions, BadFlagsAreRefused) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"--module-version", "2"},
                                             {"--module-version", "2.256"},
                                             {"--module-version", "a.b"},
                                             {"--link"},
                                             {"--link="},
                                             {"--fault", "wobble"},
                                             {"--rpm-program-ms", "-1"},
                                             {"--seed", "x"},
                                             {"--frobnicate"},
                                             {"--version=3.7"},
                                             {"--version", "3.7"}}) {
    SimOptions options;
    std::string error;
    EXPECT_FALSE(ParseSimOptions(args, options, error)) << args[0];
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
}  // namespace zelk::sim
