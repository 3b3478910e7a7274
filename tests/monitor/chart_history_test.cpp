// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/chart_history.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace zelk {
namespace {

using namespace std::chrono_literals;
using Steady = std::chrono::steady_clock;

const Steady::time_point kStart{100s};

// A poll at `at`; lambda byte 51 reads 1000 mV, period 0xc350 750 RPM.
LiveSample Sample(Steady::time_point at, std::uint8_t lambda = 51, std::uint16_t period = 0xc350) {
  const auto low = static_cast<std::uint8_t>(period & 0xff);
  const auto high = static_cast<std::uint8_t>(period >> 8);
  const LiveBlock block{low, high, 0xe2, 0x04, 0x00, 0x46, 0x00, 0x80, 0x64, lambda};
  LiveSample sample = DecodePollSample(block, 1);
  sample.taken_at = at;
  return sample;
}

// Polls every `step` for `total`, from kStart.
void Fill(ChartHistory& chart, std::chrono::milliseconds step, std::chrono::milliseconds total) {
  for (std::chrono::milliseconds t{0}; t <= total; t += step) chart.AddSample(Sample(kStart + t));
}

constexpr std::size_t kLambda = SeriesIndex(LiveSeries::lambda_mv);
constexpr std::size_t kRpm = SeriesIndex(LiveSeries::rpm);

TEST(ChartHistory, HistoryIsBoundedAndKeepsTheNewest) {
  ChartHistory chart(100);
  Fill(chart, 35ms, 35ms * 249);  // 250 polls
  EXPECT_EQ(chart.size(), 100u);
  EXPECT_EQ(chart.capacity(), 100u);
  ASSERT_TRUE(chart.SetWindow(600s));
  const ChartView view = chart.View();
  ASSERT_EQ(view.times.size(), 100u);
  EXPECT_DOUBLE_EQ(view.times.front(), 150 * 0.035);
  EXPECT_DOUBLE_EQ(view.times.back(), 249 * 0.035);
}

TEST(ChartHistory, TheDefaultHoldsTenMinutesOfTheFastestPoll) {
  ChartHistory chart;
  EXPECT_GE(chart.capacity() * 0.035, 600.0);
  EXPECT_EQ(chart.window(), 60s);
}

TEST(ChartHistory, TheWindowEndsAtTheNewestPoll) {
  ChartHistory chart;
  Fill(chart, 500ms, 120s);  // 0 .. 120 s
  const ChartView view = chart.View();
  EXPECT_DOUBLE_EQ(view.to_s, 120);
  EXPECT_DOUBLE_EQ(view.from_s, 60);
  ASSERT_EQ(view.times.size(), 121u);  // 60.0 .. 120.0 inclusive
  EXPECT_DOUBLE_EQ(view.times.front(), 60);
  EXPECT_EQ(view.values[kLambda].size(), 121u);
  EXPECT_EQ(view.values[kLambda].front(), 1000);

  ASSERT_TRUE(chart.SetWindow(10s));
  EXPECT_EQ(chart.View().times.size(), 21u);
}

TEST(ChartHistory, WindowsOutsideTenSecondsToTenMinutesAreRefused) {
  ChartHistory chart;
  struct Case {
    std::chrono::seconds window;
    bool ok;
  };
  for (const Case c :
       {Case{9s, false}, Case{10s, true}, Case{600s, true}, Case{601s, false}, Case{0s, false}}) {
    ASSERT_TRUE(chart.SetWindow(30s));
    EXPECT_EQ(chart.SetWindow(c.window), c.ok) << c.window.count();
    EXPECT_EQ(chart.window(), c.ok ? c.window : 30s);
  }
}

TEST(ChartHistory, HiddenSeriesAreLeftOut) {
  ChartHistory chart;
  Fill(chart, 1s, 5s);
  chart.SetShown(LiveSeries::rpm, false);
  EXPECT_FALSE(chart.shown(LiveSeries::rpm));
  const ChartView view = chart.View();
  EXPECT_TRUE(view.values[kRpm].empty());
  EXPECT_EQ(view.values[kLambda].size(), 6u);
  chart.SetShown(LiveSeries::rpm, true);
  EXPECT_EQ(chart.View().values[kRpm].size(), 6u);
}

TEST(ChartHistory, FailuresAndMissingValuesAreGaps) {
  ChartHistory chart;
  chart.AddSample(Sample(kStart));
  chart.AddFailure(kStart + 1s);
  chart.AddSample(Sample(kStart + 2s, 51, 0));  // period 0: no RPM
  const ChartView view = chart.View();
  ASSERT_EQ(view.times, (std::vector<double>{0, 1, 2}));
  for (std::size_t s = 0; s < kLiveSeriesCount; ++s)
    EXPECT_TRUE(std::isnan(view.values[s][1])) << s;
  EXPECT_EQ(view.values[kRpm][0], 750);
  EXPECT_TRUE(std::isnan(view.values[kRpm][2]));
  EXPECT_EQ(view.values[kLambda][2], 1000);
}

TEST(ChartHistory, PausedTheViewStandsStillWhilePollsAreKept) {
  ChartHistory chart(1000);
  Fill(chart, 500ms, 30s);
  chart.Pause();
  const std::uint64_t revision = chart.revision();
  const ChartView before = chart.View();
  // Far more polls than the history holds: the frozen view keeps its points.
  for (int i = 1; i <= 2000; ++i) chart.AddSample(Sample(kStart + 30s + i * 100ms, 102));
  EXPECT_EQ(chart.revision(), revision) << "nothing to redraw";
  const ChartView during = chart.View();
  EXPECT_EQ(during.times, before.times);
  EXPECT_EQ(during.values[kLambda], before.values[kLambda]);
  EXPECT_DOUBLE_EQ(during.to_s, 30);

  chart.Resume();
  EXPECT_GT(chart.revision(), revision);
  const ChartView after = chart.View();
  EXPECT_DOUBLE_EQ(after.to_s, 230);
  EXPECT_EQ(after.values[kLambda].back(), 2000);
  EXPECT_EQ(chart.size(), 1000u);
}

TEST(ChartHistory, ExportIsTheShownPart) {
  ChartHistory chart;
  chart.AddSample(Sample(kStart));
  chart.AddFailure(kStart + 500ms);
  chart.AddSample(Sample(kStart + 70s + 1ms));  // the first two fall out of the 60 s window
  chart.AddSample(Sample(kStart + 70s + 501ms, 255, 0xc34c));
  chart.AddFailure(kStart + 71s);
  for (const LiveSeries hidden : {LiveSeries::injection_ms, LiveSeries::correction_pct,
                                  LiveSeries::temperature_c, LiveSeries::map_v})
    chart.SetShown(hidden, false);
  std::ostringstream out;
  EXPECT_TRUE(chart.ExportCsv(out));
  EXPECT_EQ(out.str(),
            "time_s,rpm,lambda_mv\n"
            "70.001,750,1000\n"
            "70.501,750.0600048,5000\n"
            "71.000,,\n");
  out.setstate(std::ios::badbit);
  EXPECT_FALSE(chart.ExportCsv(out));
}

}  // namespace
}  // namespace zelk
