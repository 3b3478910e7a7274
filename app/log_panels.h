// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A log drawn as stacked panels, one per live value, on one time axis: a
// zoom or pan in any panel moves them all. Failed polls are gaps in the
// lines under a light red band; markers are dashed lines with their text
// along the top panel; the cursors are vertical lines through every panel;
// a second log laid over the first is drawn in another colour.

#include <QObject>
#include <array>
#include <optional>
#include <vector>

#include "app/log_rows.h"
#include "monitor/log_reader.h"
#include "qcustomplot.h"

namespace zelk {

class FailBands;

class LogPanels : public QObject {
  Q_OBJECT

 public:
  explicit LogPanels(QCustomPlot& plot);

  // Replaces what is drawn (a log laid over it included) and shows the
  // whole log. The log must outlive its drawing, or until the next call.
  void ShowLog(const LogData& log);
  // Null: none laid over.
  void ShowOverlay(const LogData* overlay, double offset_s);

  void SetCursors(std::optional<double> first_s, std::optional<double> second_s);
  // Draws the cursors again, and nothing else.
  void RedrawCursors();

  QCPRange range() const;
  void SetRange(const QCPRange& range);
  // The log's time in seconds under `pixel`, when it is inside a panel.
  std::optional<double> TimeAt(const QPointF& pixel) const;

  QCPAxisRect& panel(LogValue value) const { return *panels_[Index(value)]; }
  QCPGraph& graph(LogValue value) const { return *graphs_[Index(value)]; }
  QCPGraph& overlay_graph(LogValue value) const { return *overlay_graphs_[Index(value)]; }

 signals:
  // Every panel's range, after a zoom or pan in any of them.
  void rangeChanged(const QCPRange& range);

 private:
  static std::size_t Index(LogValue value) { return static_cast<std::size_t>(value); }
  void BuildPanels();
  void FollowRange(const QCPRange& range);
  void DrawMarkers(const std::vector<LogMarker>& markers);
  void FitValueAxes();

  QCustomPlot& plot_;
  bool following_ = false;  // one panel's range change is being passed to the rest
  QCPLayer* cursor_layer_ = nullptr;
  std::array<QCPAxisRect*, kLogValueCount> panels_{};
  std::array<QCPGraph*, kLogValueCount> graphs_{};
  std::array<QCPGraph*, kLogValueCount> overlay_graphs_{};
  std::array<FailBands*, kLogValueCount> fail_bands_{};
  std::array<QCPItemStraightLine*, kLogValueCount> first_cursor_{};
  std::array<QCPItemStraightLine*, kLogValueCount> second_cursor_{};
  std::vector<QCPAbstractItem*> marker_items_;
};

}  // namespace zelk
