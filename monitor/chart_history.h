// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the live chart shows, without pixels: a bounded history of the polls
// (ten minutes at the fastest poll), the visible window of time, which series
// are shown, pause and resume, and the export of what is shown as CSV.
//
// Paused, the view stands still at the moment of the pause (a copy of the
// history then), while new polls are still kept; resumed, it follows the
// newest poll again.

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "monitor/live_sample.h"
#include "monitor/live_series.h"

namespace zelk {

// One poll on the chart; a value that cannot be computed, and every value of
// a failed poll, is NaN (a gap in the curve).
struct ChartPoint {
  double time_s = 0;  // since the chart's first poll
  std::array<double, kLiveSeriesCount> values{};
};

// A moment the technician marked, on the chart's time.
struct ChartMarker {
  double time_s = 0;
  std::string text;
};

// The visible part, ready to draw: the axis range and, for each series, its
// values beside `times` (hidden series: empty), and the markers inside it.
struct ChartView {
  double from_s = 0;
  double to_s = 0;
  std::vector<double> times;
  std::array<std::vector<double>, kLiveSeriesCount> values;
  std::vector<ChartMarker> markers;
};

// Markers kept: many more than a drive's worth, few enough to draw at once.
inline constexpr std::size_t kChartMarkersKept = 200;

inline constexpr std::chrono::seconds kShortestChartWindow{10};
inline constexpr std::chrono::seconds kLongestChartWindow{600};
inline constexpr std::chrono::seconds kDefaultChartWindow{60};
// Ten minutes at one poll every 30 ms, a little faster than the link allows.
inline constexpr std::size_t kChartHistorySize = 20000;

class ChartHistory {
 public:
  explicit ChartHistory(std::size_t capacity = kChartHistorySize);

  // A poll's values at `sample.taken_at`, or a failed poll at `at`.
  void AddSample(const LiveSample& sample);
  void AddFailure(std::chrono::steady_clock::time_point at);
  // A marker at `at` with `text` (may be empty); the oldest goes beyond
  // kChartMarkersKept.
  void AddMarker(std::chrono::steady_clock::time_point at, std::string text);

  // The visible window; false (and nothing changes) outside 10 s to 10 min.
  bool SetWindow(std::chrono::seconds window);
  std::chrono::seconds window() const { return window_; }

  void SetShown(LiveSeries series, bool shown);
  bool shown(LiveSeries series) const { return shown_[SeriesIndex(series)]; }

  void Pause();
  void Resume();
  bool paused() const { return paused_; }

  ChartView View() const;

  // The view as CSV: "time_s" and the shown series' columns, one row per
  // poll in the window, empty cells for gaps. False when the stream refused.
  bool ExportCsv(std::ostream& out) const;

  std::size_t size() const { return count_; }  // polls kept
  std::size_t capacity() const { return ring_.size(); }
  // Changes with every change of what View() gives (a poll added while not
  // paused, the window, a series shown or hidden, pause and resume): a chart
  // redraws only when this moved since its last drawing.
  std::uint64_t revision() const { return revision_; }

 private:
  void Add(std::chrono::steady_clock::time_point at, const ChartPoint& point);
  std::vector<ChartPoint> Ordered() const;  // oldest first

  std::vector<ChartPoint> ring_;
  std::size_t next_ = 0;  // where the next point goes
  std::size_t count_ = 0;
  std::optional<std::chrono::steady_clock::time_point> origin_;

  std::chrono::seconds window_ = kDefaultChartWindow;
  std::array<bool, kLiveSeriesCount> shown_{true, true, true, true, true, true};
  bool paused_ = false;
  std::vector<ChartPoint> frozen_;   // the history at the pause, oldest first
  std::deque<ChartMarker> markers_;  // oldest first
  std::uint64_t revision_ = 0;
};

}  // namespace zelk
