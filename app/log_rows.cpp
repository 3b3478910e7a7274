// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/log_rows.h"

#include <algorithm>
#include <iterator>

namespace zelk {

RowRange RowsBetween(const std::vector<double>& time_s, double from_s, double to_s) {
  const auto first = std::lower_bound(time_s.begin(), time_s.end(), from_s);
  const auto end = std::upper_bound(first, time_s.end(), to_s);
  return {static_cast<std::size_t>(first - time_s.begin()),
          static_cast<std::size_t>(end - time_s.begin())};
}

std::optional<std::size_t> NearestRow(const std::vector<double>& time_s, double at_s) {
  if (time_s.empty()) return std::nullopt;
  const auto after = std::lower_bound(time_s.begin(), time_s.end(), at_s);
  if (after == time_s.begin()) return 0;
  if (after == time_s.end()) return time_s.size() - 1;
  const auto before = std::prev(after);
  const auto nearest = (at_s - *before) <= (*after - at_s) ? before : after;
  return static_cast<std::size_t>(nearest - time_s.begin());
}

std::vector<FailSpan> FailSpans(const LogData& log) {
  std::vector<FailSpan> spans;
  const std::size_t rows = std::min(log.failed.size(), log.time_s.size());
  for (std::size_t row = 0; row < rows; ++row) {
    if (!log.failed[row]) continue;
    const bool continues = row > 0 && log.failed[row - 1] && !spans.empty();
    if (continues) {
      spans.back().to_s = log.time_s[row];
    } else {
      spans.push_back({log.time_s[row], log.time_s[row]});
    }
  }
  return spans;
}

double OverlayOffset(const LogData& base, const LogData& overlay) {
  const double base_start = base.time_s.empty() ? 0 : base.time_s.front();
  const double overlay_start = overlay.time_s.empty() ? 0 : overlay.time_s.front();
  return base_start - overlay_start;
}

std::optional<double> OverlayOffset(const LogData& base, std::size_t base_marker,
                                    const LogData& overlay, std::size_t overlay_marker) {
  if (base_marker >= base.markers.size() || overlay_marker >= overlay.markers.size())
    return std::nullopt;
  return base.markers[base_marker].time_s - overlay.markers[overlay_marker].time_s;
}

}  // namespace zelk
