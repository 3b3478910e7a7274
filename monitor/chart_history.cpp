// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/chart_history.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "monitor/csv_cells.h"

namespace zelk {

namespace {

constexpr double kGap = std::numeric_limits<double>::quiet_NaN();

}  // namespace

ChartHistory::ChartHistory(std::size_t capacity) : ring_(capacity > 0 ? capacity : 1) {}

void ChartHistory::AddSample(const LiveSample& sample) {
  ChartPoint point;
  for (const LiveSeriesRow& series_row : kLiveSeries)
    point.values[SeriesIndex(series_row.series)] =
        SeriesValue(sample, series_row.series).value_or(kGap);
  Add(sample.taken_at, point);
}

void ChartHistory::AddFailure(std::chrono::steady_clock::time_point at) {
  ChartPoint point;
  point.values.fill(kGap);
  Add(at, point);
}

void ChartHistory::Add(std::chrono::steady_clock::time_point at, const ChartPoint& point) {
  if (!origin_) origin_ = at;
  ChartPoint stamped = point;
  stamped.time_s = std::chrono::duration<double>(at - *origin_).count();
  ring_[next_] = stamped;
  next_ = (next_ + 1) % ring_.size();
  count_ = std::min(count_ + 1, ring_.size());
  if (!paused_) ++revision_;  // a paused view does not change
}

bool ChartHistory::SetWindow(std::chrono::seconds window) {
  if (window < kShortestChartWindow || window > kLongestChartWindow) return false;
  window_ = window;
  ++revision_;
  return true;
}

void ChartHistory::SetShown(LiveSeries series, bool shown) {
  shown_[SeriesIndex(series)] = shown;
  ++revision_;
}

void ChartHistory::Pause() {
  if (paused_) return;
  frozen_ = Ordered();
  paused_ = true;
  ++revision_;
}

void ChartHistory::Resume() {
  if (!paused_) return;
  paused_ = false;
  frozen_.clear();
  frozen_.shrink_to_fit();
  ++revision_;
}

std::vector<ChartPoint> ChartHistory::Ordered() const {
  std::vector<ChartPoint> points;
  points.reserve(count_);
  const std::size_t oldest = (next_ + ring_.size() - count_) % ring_.size();
  for (std::size_t i = 0; i < count_; ++i) points.push_back(ring_[(oldest + i) % ring_.size()]);
  return points;
}

ChartView ChartHistory::View() const {
  // The points oldest first, read in place: the ring, or the copy taken at the pause.
  const std::vector<ChartPoint>& source = paused_ ? frozen_ : ring_;
  const std::size_t count = paused_ ? frozen_.size() : count_;
  const std::size_t oldest = paused_ ? 0 : (next_ + ring_.size() - count_) % ring_.size();
  const auto at = [&](std::size_t i) -> const ChartPoint& {
    return source[(oldest + i) % source.size()];
  };

  ChartView view;
  view.to_s = count == 0 ? 0 : at(count - 1).time_s;
  view.from_s = view.to_s - std::chrono::duration<double>(window_).count();
  std::size_t first = 0;  // the first point inside the window, by bisection
  for (std::size_t last = count; first < last;) {
    const std::size_t middle = first + (last - first) / 2;
    if (at(middle).time_s < view.from_s)
      first = middle + 1;
    else
      last = middle;
  }
  view.times.reserve(count - first);
  for (std::size_t i = first; i < count; ++i) view.times.push_back(at(i).time_s);
  for (std::size_t s = 0; s < kLiveSeriesCount; ++s) {
    if (!shown_[s]) continue;
    view.values[s].reserve(count - first);
    for (std::size_t i = first; i < count; ++i) view.values[s].push_back(at(i).values[s]);
  }
  return view;
}

bool ChartHistory::ExportCsv(std::ostream& out) const {
  const ChartView view = View();
  std::string header = "time_s";
  for (const LiveSeriesRow& series_row : kLiveSeries) {
    if (!shown(series_row.series)) continue;
    header += ',';
    header += series_row.column;
  }
  out << header << '\n';
  for (std::size_t row = 0; row < view.times.size(); ++row) {
    std::string line = SecondsCell(std::chrono::milliseconds(
        static_cast<long long>(std::floor(view.times[row] * 1000 + 0.5))));
    for (std::size_t s = 0; s < kLiveSeriesCount; ++s) {
      if (!shown_[s]) continue;
      line += ',';
      line += LogNumberCell(view.values[s][row]);  // as the live log writes them; NaN: empty
    }
    out << line << '\n';
  }
  out.flush();
  return static_cast<bool>(out);
}

}  // namespace zelk
