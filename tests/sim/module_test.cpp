// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/module.h"

#include <gtest/gtest.h>

#include <cmath>

#include "sim/engine_model.h"
#include "sim_test_util.h"

namespace zelk::sim {
namespace {

using testing::Ask;
using testing::Bytes;
using testing::ReplyFrame;

Bytes Settings(ZelkModule& module) {
  return Bytes(module.settings().begin(), module.settings().end());
}

// The configurator's reading of a temperature byte (NTC under 1 kohm from
// 5 V, 8-bit converter), written out here so the engine model is checked
// against the reader, not against itself.
int DecodeTemperature(std::uint8_t b) {
  const double v = b * 5.0 / 256.0;
  double r = 1000.0 * v / (5.0 - v);
  if (r == 0) r = 0.01;
  const double k0 = 21.5 + 273.15;
  return static_cast<int>(3900.0 * k0 / (k0 * std::log(r / 1000.0) + 3900.0) - 273.15);
}

TEST(ZelkModule, VersionReplyByteExact) {
  ZelkModule module;
  const ReplyPlan plan = Ask(module, 3, 1, {0});
  ASSERT_EQ(plan.chunks.size(), 1u);
  EXPECT_EQ(plan.chunks[0].bytes, (Bytes{0xF3, 0x03, 0x02, 0x0A, 0x98}));
  EXPECT_EQ(plan.chunks[0].delay_ms, 0);
  EXPECT_FALSE(plan.hang_up);
}

TEST(ZelkModule, VersionCanBeChanged) {
  ZelkModule module;
  module.version() = {3, 7};
  EXPECT_EQ(Ask(module, 3, 1, {0}).Bytes(), ReplyFrame(3, {3, 7}));
}

TEST(ZelkModule, ReadsAndWritesOfTheSettingsMemory) {
  ZelkModule module;
  const Bytes defaults = Settings(module);

  EXPECT_EQ(Ask(module, 1, 1, Bytes(25, 0xEE)).Bytes(), ReplyFrame(1, defaults));
  // Addresses past 25 read as zero; a read returns `count` bytes.
  EXPECT_EQ(Ask(module, 1, 24, Bytes(4, 0)).Bytes(),
            ReplyFrame(1, {defaults[23], defaults[24], 0, 0}));
  EXPECT_EQ(Ask(module, 1, 0, Bytes(2, 0)).Bytes(), ReplyFrame(1, {0, defaults[0]}));

  Bytes written(25);
  for (std::size_t i = 0; i < written.size(); ++i) written[i] = static_cast<std::uint8_t>(i * 7);
  // A write answers with an empty payload: F3 04 and the check byte.
  EXPECT_EQ(Ask(module, 4, 1, written).Bytes(), (Bytes{0xF3, 0x04, 0x37}));
  EXPECT_EQ(Settings(module), written);
  EXPECT_EQ(Ask(module, 1, 1, Bytes(25, 0)).Bytes(), ReplyFrame(1, written));
}

TEST(ZelkModule, MixtureWriteChangesOnlyOffsetTwo) {
  ZelkModule module;
  Bytes expected = Settings(module);
  expected[2] = 45;
  EXPECT_EQ(Ask(module, 4, 3, {45}).Bytes(), ReplyFrame(4, {}));
  EXPECT_EQ(Settings(module), expected);
}

TEST(ZelkModule, WritesOutsideTheSettingsAreClipped) {
  ZelkModule module;
  Bytes expected = Settings(module);
  Ask(module, 4, 23, {1, 2, 3, 4, 5});  // addresses 23..27: only 23..25 exist
  expected[22] = 1;
  expected[23] = 2;
  expected[24] = 3;
  EXPECT_EQ(Settings(module), expected);
  Ask(module, 4, 0xFFFF, {9, 9});  // far outside, and the address must not wrap
  EXPECT_EQ(Settings(module), expected);
}

TEST(ZelkModule, LiveReadsByAddress) {
  ZelkModule module;
  const double now = 12345;
  const auto poll = module.PollBlock(now);
  const auto instant = module.InstantBlock(now);
  EXPECT_EQ(Ask(module, 0, 0x43, Bytes(10, 0), now).Bytes(),
            ReplyFrame(0, Bytes(poll.begin(), poll.end())));
  EXPECT_EQ(Ask(module, 0, 0x48, Bytes(10, 0), now).Bytes(),
            ReplyFrame(0, Bytes(instant.begin(), instant.end())));
  EXPECT_EQ(Ask(module, 0, 0x64, Bytes(2, 0), now).Bytes(), ReplyFrame(0, {0, 0}));
  EXPECT_EQ(Ask(module, 0, 0x50, Bytes(4, 0xAA), now).Bytes(), ReplyFrame(0, Bytes(4, 0)));
  // The two blocks carry the same readings in their own places.
  EXPECT_EQ(instant[0], poll[5]);
  EXPECT_EQ(instant[2], poll[7]);
  EXPECT_EQ(instant[3], poll[8]);
  EXPECT_EQ(instant[4], poll[9]);
}

TEST(ZelkModule, UnknownCommandIsSilentButCounted) {
  ZelkModule module;
  EXPECT_TRUE(Ask(module, 7, 1, {0}).silent());
  EXPECT_EQ(module.counters().requests, 1u);
  EXPECT_EQ(module.counters().replies, 0u);
  ASSERT_EQ(module.history().size(), 1u);
  EXPECT_EQ(module.history()[0].command, 7);
}

TEST(ZelkModule, CountersAndHistory) {
  ZelkModule module;
  const Bytes noise{0x00, 0x11};
  module.Receive(noise.data(), noise.size(), 0);
  Ask(module, 3, 1, {0});           // 7 bytes
  Ask(module, 1, 1, Bytes(25, 0));  // 31 bytes
  module.faults().silent = true;
  Ask(module, 0, 0x64, Bytes(2, 0));  // 8 bytes, not answered
  EXPECT_EQ(module.counters().bytes_received, 2u + 7 + 31 + 8);
  EXPECT_EQ(module.counters().requests, 3u);
  EXPECT_EQ(module.counters().replies, 2u);
  ASSERT_EQ(module.history().size(), 3u);
  EXPECT_EQ(module.history()[1].payload.size(), 25u);
  EXPECT_EQ(module.history()[2].address, 0x64);
}

TEST(ZelkModule, HistoryLimitKeepsTheLatestRequests) {
  ZelkModule module;
  module.SetHistoryLimit(2);
  for (std::uint16_t address : {1, 2, 3, 4}) Ask(module, 0, address, Bytes(1, 0));
  EXPECT_EQ(module.counters().requests, 4u);
  ASSERT_EQ(module.history().size(), 2u);
  EXPECT_EQ(module.history()[0].address, 3);
  EXPECT_EQ(module.history()[1].address, 4);
}

// Decoded with the configurator's scales, the factory settings must be
// values a technician would accept.
TEST(DefaultSettings, DecodeToPlausibleValues) {
  const auto s = DefaultSettings();
  auto word = [&](int offset) { return s[offset] | (s[offset + 1] << 8); };
  EXPECT_EQ(s[0] & 0x03, 0) << "no calibration program has run yet";
  EXPECT_NEAR(37500000.0 / word(4), 850, 1);      // idle RPM
  EXPECT_NEAR(word(12) * 0.82, 1000, 1);          // cold-start injection, ms
  EXPECT_DOUBLE_EQ(s[14] * 1.5625, 37.5);         // start mix, %
  EXPECT_LE(s[14], s[3]);                         // start mix within max correction
  EXPECT_DOUBLE_EQ(s[3] * 1.5625, 50);            // max correction, %
  EXPECT_EQ(DecodeTemperature(s[15]), 35);        // correction from, C
  EXPECT_EQ(DecodeTemperature(s[16]), 35);        // heating extra up to, C
  EXPECT_EQ(DecodeTemperature(s[17]), 20);        // cold start up to, C
  EXPECT_DOUBLE_EQ(word(18) * 0.8, 200);          // throttle variation, us
  EXPECT_LE(s[21] * 1.5625, 10);                  // heating extra, %
  EXPECT_EQ(s[22] * 5000 / 255, 450);             // lambda mid value, mV
  EXPECT_EQ(static_cast<int>(s[24] * 0.21), 49);  // adjust time, s
  // Bytes the configurator only carries are not zero, so a test can see them carried.
  for (int offset : {1, 6, 7, 8, 10, 11, 23}) EXPECT_NE(s[offset], 0) << offset;
}

struct ProgramCheck {
  double at_ms;
  std::uint8_t status;
  std::uint8_t done_flags;  // settings flag bits 0..1 at that time
};

struct ProgramCase {
  const char* name;
  std::uint8_t start;  // program-control payload
  std::vector<ProgramCheck> checks;
};

class ZelkModulePrograms : public ::testing::TestWithParam<ProgramCase> {};

// Durations: RPM/lambda 1000 ms, MAP 2000 ms with prompts from 500 to 1500 ms.
TEST_P(ZelkModulePrograms, StatusOverTime) {
  ZelkModule module(EngineModelSettings{.seed = 1,
                                        .rpm_program_ms = 1000,
                                        .map_program_ms = 2000,
                                        .map_prompt_from = 0.25,
                                        .map_prompt_to = 0.75});
  module.settings()[0] = 0x90;
  EXPECT_EQ(Ask(module, 13, 1, {GetParam().start}, 0).Bytes(), (Bytes{0xF3, 0x0D, 0x08}));
  for (const ProgramCheck& check : GetParam().checks) {
    SCOPED_TRACE(check.at_ms);
    // Through the wire, as the progress window reads it.
    EXPECT_EQ(Ask(module, 0, 0x64, {0, 0}, check.at_ms).Bytes(), ReplyFrame(0, {check.status, 0}));
    EXPECT_EQ(module.settings()[0], 0x90 | check.done_flags);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Programs, ZelkModulePrograms,
    ::testing::Values(ProgramCase{"rpm_lambda",
                                  1,
                                  {{0, 0x40, 0}, {999, 0x40, 0}, {1000, 0, 0x02}, {5000, 0, 0x02}}},
                      ProgramCase{"map",
                                  2,
                                  {{0, 0x01, 0},
                                   {499, 0x01, 0},
                                   {500, 0x03, 0},
                                   {1499, 0x03, 0},
                                   {1500, 0x01, 0},
                                   {1999, 0x01, 0},
                                   {2000, 0, 0x01}}},
                      ProgramCase{"reset_starts_nothing", 0, {{0, 0, 0}, {3000, 0, 0}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ZelkModule, AbortEndsAProgramWithoutMarkingItDone) {
  ZelkModule module(EngineModelSettings{.rpm_program_ms = 1000, .map_program_ms = 1000});
  const std::uint8_t flags = module.settings()[0];
  for (std::uint8_t program : {1, 2}) {
    Ask(module, 13, 1, {program}, 10000.0 * program);
    EXPECT_NE(module.ProgramStatus(10000.0 * program + 500), 0);
    Ask(module, 13, 1, {0}, 10000.0 * program + 500);
    EXPECT_EQ(module.ProgramStatus(10000.0 * program + 501), 0);
    EXPECT_EQ(module.ProgramStatus(10000.0 * program + 5000), 0);
    EXPECT_EQ(module.settings()[0], flags);
  }
}

TEST(ZelkModule, BothProgramsDoneSetBothFlags) {
  ZelkModule module(EngineModelSettings{.rpm_program_ms = 100, .map_program_ms = 100});
  Ask(module, 13, 1, {1}, 0);
  Ask(module, 13, 1, {2}, 200);
  EXPECT_EQ(module.ProgramStatus(400), 0);
  EXPECT_EQ(module.settings()[0] & 0x03, 0x03);
}

TEST(EngineModel, IdleFollowsTheSettingsWithJitter) {
  ZelkModule module;
  // Program 600 RPM (period 62500) as a settings write would.
  Ask(module, 4, 5, {0x24, 0xF4});
  bool varied = false;
  std::uint16_t first = 0;
  for (int i = 0; i < 50; ++i) {
    const auto poll = module.PollBlock(i * 100.0);
    const std::uint16_t period = static_cast<std::uint16_t>(poll[0] | (poll[1] << 8));
    EXPECT_NEAR(period, 62500, 62500 * 0.011);
    if (i == 0) first = period;
    varied = varied || period != first;
  }
  EXPECT_TRUE(varied);
}

TEST(EngineModel, CoolantWarmsFromTwentyToEightyEight) {
  ZelkModule module;
  int previous = -100;
  for (double minute : {0.0, 1.0, 2.0, 3.0, 5.0, 10.0, 30.0}) {
    const int celsius = DecodeTemperature(module.InstantBlock(minute * 60000)[2]);
    EXPECT_GE(celsius, previous) << minute;
    previous = celsius;
    if (minute == 0) {
      EXPECT_NEAR(celsius, 20, 3);
    } else if (minute == 5) {
      EXPECT_GT(celsius, 75);
    } else if (minute == 30) {
      EXPECT_NEAR(celsius, 88, 2);
    }
  }
}

TEST(EngineModel, LambdaSwitchesAboutOnceASecond) {
  ZelkModule module;
  int switches = 0;
  bool rich = false;
  for (int i = 0; i < 200; ++i) {  // ten seconds
    const std::uint8_t b = module.PollBlock(i * 50.0)[9];
    const int millivolts = b * 5000 / 255;
    ASSERT_TRUE(millivolts <= 200 || millivolts >= 700) << millivolts;
    const bool now_rich = millivolts >= 700;
    if (i > 0 && now_rich != rich) ++switches;
    rich = now_rich;
  }
  EXPECT_GE(switches, 10);
  EXPECT_LE(switches, 30);
}

TEST(EngineModel, SameSeedSameValuesOtherSeedOtherJitter) {
  int differ = 0;
  for (int i = 0; i < 20; ++i) {
    const LiveValues a = EngineAt(i * 100.0, 44118, 1);
    const LiveValues b = EngineAt(i * 100.0, 44118, 1);
    const LiveValues c = EngineAt(i * 100.0, 44118, 2);
    EXPECT_EQ(a.rpm_period, b.rpm_period);
    EXPECT_EQ(a.lambda, b.lambda);
    differ += a.rpm_period != c.rpm_period;
  }
  EXPECT_GT(differ, 10);
}

TEST(EngineModel, NoIdleSpeedShowsAStoppedEngine) {
  const LiveValues v = EngineAt(1000, 0, 1);
  EXPECT_EQ(v.rpm_period, 0);
  EXPECT_EQ(v.injection, 0);
}

}  // namespace
}  // namespace zelk::sim
