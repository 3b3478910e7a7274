// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/sensor_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zelk {
namespace {

LiveSample Sample(double temperature_c, double map_v, int lambda_mv, std::optional<double> rpm) {
  LiveSample sample;
  sample.temperature_c = temperature_c;
  sample.map_v = map_v;
  sample.lambda_mv = lambda_mv;
  sample.rpm = rpm;
  return sample;
}

LiveSample Lambda(int lambda_mv) {
  return Sample(80, 1.0, lambda_mv, 850);
}

const MeasuredRange& Range(const SensorStats& stats, SensorMeasure measure) {
  return stats.ranges.at(static_cast<std::size_t>(measure));
}

TEST(SensorCheck, KeepsTheLowestAndHighestOfEachMeasure) {
  SensorCheck check(450);
  check.Add(Sample(85.5, 1.20, 300, 900), 0);
  check.Add(Sample(78.0, 0.35, 800, 2400), 500);
  check.Add(Sample(92.0, 0.90, 100, 750), 1000);
  const SensorStats& stats = check.stats();
  struct Expected {
    SensorMeasure measure;
    double min;
    double max;
  };
  for (const Expected& e :
       {Expected{SensorMeasure::temperature, 78.0, 92.0}, Expected{SensorMeasure::map, 0.35, 1.20},
        Expected{SensorMeasure::lambda, 100, 800}, Expected{SensorMeasure::rpm, 750, 2400}}) {
    const MeasuredRange& range = Range(stats, e.measure);
    EXPECT_EQ(range.samples, 3) << static_cast<int>(e.measure);
    EXPECT_DOUBLE_EQ(range.min, e.min) << static_cast<int>(e.measure);
    EXPECT_DOUBLE_EQ(range.max, e.max) << static_cast<int>(e.measure);
  }
  EXPECT_EQ(stats.samples, 3);
  EXPECT_EQ(stats.lambda_threshold_mv, 450);
}

// An RPM the factor could not give is not a zero: the range counts only the
// samples that had one, and stays unmeasured when none did.
TEST(SensorCheck, AnRpmThatCouldNotBeGivenIsLeftOut) {
  SensorCheck check(450);
  check.Add(Sample(80, 1.0, 300, std::nullopt), 0);
  check.Add(Sample(80, 1.0, 300, 1200), 100);
  check.Add(Sample(80, 1.0, 300, std::nullopt), 200);
  EXPECT_EQ(Range(check.stats(), SensorMeasure::rpm).samples, 1);
  EXPECT_DOUBLE_EQ(Range(check.stats(), SensorMeasure::rpm).min, 1200);
  EXPECT_DOUBLE_EQ(Range(check.stats(), SensorMeasure::rpm).max, 1200);

  SensorCheck never(450);
  never.Add(Sample(80, 1.0, 300, std::nullopt), 0);
  EXPECT_EQ(Range(never.stats(), SensorMeasure::rpm).samples, 0);
  EXPECT_EQ(Range(never.stats(), SensorMeasure::temperature).samples, 1);
  EXPECT_FALSE(MeasureOf(Sample(80, 1.0, 300, std::nullopt), SensorMeasure::rpm));
}

TEST(SensorCheck, CountsTheLambdaCrossingsOfTheThreshold) {
  struct Case {
    const char* name;
    std::vector<int> lambda_mv;
    int crossings;
  };
  const std::vector<Case> cases{
      {"no samples", {}, 0},
      {"always below", {100, 200, 449}, 0},
      {"always above", {451, 900, 700}, 0},
      {"one switch up", {100, 800}, 1},
      {"switching rich and lean", {100, 800, 200, 900, 150}, 4},
      {"on the threshold changes nothing", {100, 450, 100}, 0},
      {"crossing through the threshold counts once", {100, 450, 800}, 1},
      {"resting on it, then back", {800, 450, 450, 800, 450, 100}, 1},
      {"a start on the threshold", {450, 450, 800}, 0},
      {"a start on it, then both sides", {450, 100, 450, 800}, 1},
      {"only on the threshold", {450, 450}, 0},
      {"one millivolt either side", {449, 451, 449}, 2},
  };
  for (const Case& c : cases) {
    SensorCheck check(450);
    double at_ms = 0;
    for (int mv : c.lambda_mv) check.Add(Lambda(mv), at_ms += 100);
    EXPECT_EQ(check.stats().lambda_crossings, c.crossings) << c.name;
  }
}

TEST(SensorCheck, SecondsRunFromTheFirstSampleToTheLast) {
  SensorCheck check(450);
  EXPECT_DOUBLE_EQ(check.stats().seconds, 0);
  check.Add(Lambda(100), 12'000);
  EXPECT_DOUBLE_EQ(check.stats().seconds, 0);
  check.Add(Lambda(100), 12'750);
  check.AddFailure();  // a poll lost between samples leaves the clock alone
  check.Add(Lambda(100), 44'500);
  EXPECT_DOUBLE_EQ(check.stats().seconds, 32.5);
}

TEST(SensorCheck, FailuresAreCountedApartFromTheSamples) {
  SensorCheck check(450);
  check.AddFailure();
  check.AddFailure();
  check.Add(Lambda(100), 0);
  check.AddFailure();
  EXPECT_EQ(check.stats().failures, 3);
  EXPECT_EQ(check.stats().samples, 1);
  EXPECT_EQ(Range(check.stats(), SensorMeasure::lambda).samples, 1);
}

}  // namespace
}  // namespace zelk
