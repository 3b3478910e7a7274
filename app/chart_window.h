// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The live chart: the six live values against time, one strip per value on
// a shared time axis, from the main window's poll. The poll only adds to the
// history; the drawing happens on a timer of its own (at most 20 a second),
// only while the window is shown and only when the history changed, so a
// drawing never delays a poll.

#include <QString>
#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>

#include "monitor/chart_history.h"
#include "monitor/live_series.h"

namespace Ui {
class ChartWindow;
}
class QCheckBox;
class QCPAbstractItem;
class QCPAxisRect;
class QCPGraph;
class QCustomPlot;

namespace zelk {

class Messages;

inline constexpr int kChartRedrawMs = 50;  // 20 drawings a second at most

class ChartWindow : public QWidget {
  Q_OBJECT

 public:
  ChartWindow(Messages& messages, QWidget* parent = nullptr);
  ~ChartWindow() override;

  ChartHistory& history() { return history_; }
  // A marker now, drawn as a line with its text across the strips.
  void AddMarker(const QString& text);

  // The visible window in seconds; false, with a box and nothing changed,
  // outside 10 s to 10 min.
  bool SetWindowSeconds(int seconds);
  void SetPaused(bool paused);
  void SetShown(LiveSeries series, bool shown);
  // What is shown, written atomically; false, with a box, when it cannot be.
  bool ExportPng(const QString& path);
  bool ExportCsv(const QString& path);

  // Draws now when the history changed since the last drawing (the timer's
  // work); the number of drawings so far.
  void RedrawIfChanged();
  int drawings() const { return drawings_; }
  QCustomPlot& plot();
  QCheckBox& series_box(LiveSeries series) { return *series_boxes_[SeriesIndex(series)]; }

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void BuildStrips();
  void LayOutShownStrips();
  void Redraw();
  void DrawMarkers(const std::vector<ChartMarker>& markers);
  void ExportPngClick();
  void ExportCsvClick();
  bool WriteAtomically(const QString& path, const QByteArray& bytes);

  std::unique_ptr<Ui::ChartWindow> ui_;
  Messages& messages_;
  ChartHistory history_;
  QTimer redraw_timer_;
  std::uint64_t drawn_revision_ = 0;
  bool drawn_once_ = false;
  int drawings_ = 0;
  std::array<QCheckBox*, kLiveSeriesCount> series_boxes_{};
  std::array<QCPAxisRect*, kLiveSeriesCount> strips_{};
  std::array<QCPGraph*, kLiveSeriesCount> graphs_{};
  std::vector<QCPAbstractItem*> marker_items_;  // this drawing's marker lines and texts
};

}  // namespace zelk
