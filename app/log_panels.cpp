// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/log_panels.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "app/chart_ticks.h"
#include "app/log_value_text.h"
#include "app/qt_text.h"

namespace zelk {

namespace {

const QColor kFailBand(255, 0, 0, 60);
const QColor kMarkerColor(0, 110, 0);
const QColor kFirstCursorColor(0, 0, 0);
const QColor kSecondCursorColor(120, 0, 160);
const QColor kOverlayColor(230, 120, 0);
constexpr int kNarrowestBand = 3;  // pixels: a single failed poll stays visible

QColor ValueColor(std::size_t index) {
  return QColor::fromHsv(static_cast<int>(index) * 55, 220, 180);
}

QVector<double> ToQVector(const std::vector<double>& values) {
  return QVector<double>(values.begin(), values.end());
}

QVector<double> Shifted(const std::vector<double>& times, double offset_s) {
  QVector<double> shifted(static_cast<qsizetype>(times.size()));
  std::transform(times.begin(), times.end(), shifted.begin(),
                 [offset_s](double t) { return t + offset_s; });
  return shifted;
}

QCPItemStraightLine* VerticalLine(QCustomPlot& plot, QCPAxisRect& panel, const QPen& pen) {
  auto* line = new QCPItemStraightLine(&plot);
  line->setClipAxisRect(&panel);
  line->setSelectable(false);
  line->setPen(pen);
  for (QCPItemPosition* end : {line->point1, line->point2}) {
    end->setAxisRect(&panel);
    end->setAxes(panel.axis(QCPAxis::atBottom), panel.axis(QCPAxis::atLeft));
  }
  line->setVisible(false);
  return line;
}

void PlaceVerticalLine(QCPItemStraightLine& line, std::optional<double> at_s) {
  line.setVisible(at_s.has_value());
  if (!at_s) return;
  line.point1->setCoords(*at_s, 0);
  line.point2->setCoords(*at_s, 1);
}

void AddPanelTitle(QCustomPlot& plot, QCPAxisRect& panel, const QString& name,
                   const QColor& color) {
  auto* title = new QCPItemText(&plot);
  title->setClipAxisRect(&panel);
  title->setSelectable(false);
  title->setText(name);
  title->setColor(color.darker(130));
  title->setBrush(QColor(255, 255, 255, 200));
  title->setPadding(QMargins(3, 1, 3, 1));
  title->setPositionAlignment(Qt::AlignLeft | Qt::AlignTop);
  title->position->setType(QCPItemPosition::ptAxisRectRatio);
  title->position->setAxisRect(&panel);
  title->position->setCoords(0, 0);
}

}  // namespace

// The failed polls of one panel as bands behind the lines. One item draws
// them all, and only those in view, merged where they meet on the screen: a
// day's log may hold thousands, and an item each would slow every drawing.
class FailBands : public QCPAbstractItem {
 public:
  FailBands(QCustomPlot& plot, QCPAxisRect& panel) : QCPAbstractItem(&plot), panel_(panel) {
    setClipAxisRect(&panel);
    setSelectable(false);
    setLayer(QStringLiteral("grid"));
  }

  void SetSpans(std::vector<FailSpan> spans) { spans_ = std::move(spans); }

  double selectTest(const QPointF&, bool, QVariant*) const override { return -1; }

 protected:
  void draw(QCPPainter* painter) override {
    const QCPAxis& time = *panel_.axis(QCPAxis::atBottom);
    const QCPRange range = time.range();
    const QRect area = clipRect();
    const auto first =
        std::lower_bound(spans_.begin(), spans_.end(), range.lower,
                         [](const FailSpan& span, double lower) { return span.to_s < lower; });
    painter->setPen(Qt::NoPen);
    painter->setBrush(kFailBand);
    double left = 0;
    double right = -std::numeric_limits<double>::infinity();
    for (auto span = first; span != spans_.end() && span->from_s <= range.upper; ++span) {
      double from = time.coordToPixel(span->from_s);
      double to = time.coordToPixel(span->to_s);
      if (to - from < kNarrowestBand) {
        from -= kNarrowestBand / 2.0;
        to = from + kNarrowestBand;
      }
      if (from <= right + 1) {
        right = std::max(right, to);
        continue;
      }
      if (right > left) painter->drawRect(QRectF(left, area.top(), right - left, area.height()));
      left = from;
      right = to;
    }
    if (right > left) painter->drawRect(QRectF(left, area.top(), right - left, area.height()));
  }

 private:
  QCPAxisRect& panel_;
  std::vector<FailSpan> spans_;
};

LogPanels::LogPanels(QCustomPlot& plot) : QObject(&plot), plot_(plot) {
  BuildPanels();
}

void LogPanels::BuildPanels() {
  plot_.setNotAntialiasedElements(QCP::aeAll);  // a third of the drawing time
  plot_.plotLayout()->clear();
  plot_.setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
  auto* margins = new QCPMarginGroup(&plot_);
  // The cursors on a layer of their own, buffered apart: a cursor moved
  // redraws that layer alone, not a day of values.
  plot_.addLayer(QStringLiteral("cursors"), plot_.layer(QStringLiteral("main")),
                 QCustomPlot::limAbove);
  cursor_layer_ = plot_.layer(QStringLiteral("cursors"));
  cursor_layer_->setMode(QCPLayer::lmBuffered);
  for (std::size_t index = 0; index < kLogValueCount; ++index) {
    const auto value = static_cast<LogValue>(index);
    auto* panel = new QCPAxisRect(&plot_);
    plot_.plotLayout()->addElement(static_cast<int>(index), 0, panel);
    panel->setMarginGroup(QCP::msLeft | QCP::msRight, margins);
    QCPAxis* time = panel->axis(QCPAxis::atBottom);
    QCPAxis* left = panel->axis(QCPAxis::atLeft);
    // The unit beside the axis, the value's name inside the panel: a panel
    // is too short for a name written up its side.
    left->setLabel(LogValueUnit(value));
    AddPanelTitle(plot_, *panel, LogValueName(value), ValueColor(index));
    UseElapsedTimeTicks(*time);
    // Only the lowest panel labels the time: the others line up above it.
    time->setTickLabels(index + 1 == kLogValueCount);
    // Zoom and pan move the time only; each value keeps the range of its log.
    panel->setRangeDrag(Qt::Horizontal);
    panel->setRangeZoom(Qt::Horizontal);
    panel->setRangeDragAxes(time, nullptr);
    panel->setRangeZoomAxes(time, nullptr);
    panels_[index] = panel;

    fail_bands_[index] = new FailBands(plot_, *panel);
    graphs_[index] = plot_.addGraph(time, left);
    graphs_[index]->setPen(QPen(ValueColor(index)));
    overlay_graphs_[index] = plot_.addGraph(time, left);
    overlay_graphs_[index]->setPen(QPen(kOverlayColor));
    overlay_graphs_[index]->setVisible(false);
    first_cursor_[index] = VerticalLine(plot_, *panel, QPen(kFirstCursorColor));
    second_cursor_[index] = VerticalLine(plot_, *panel, QPen(kSecondCursorColor, 1, Qt::DashLine));
    first_cursor_[index]->setLayer(cursor_layer_);
    second_cursor_[index]->setLayer(cursor_layer_);
    connect(time, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
            &LogPanels::FollowRange);
  }
  panels_.back()->axis(QCPAxis::atBottom)->setLabel(tr("Time since the start (h:mm:ss)"));
  KeepTickLabelsApart(plot_);
}

void LogPanels::FollowRange(const QCPRange& range) {
  if (following_) return;
  following_ = true;
  for (QCPAxisRect* panel : panels_) panel->axis(QCPAxis::atBottom)->setRange(range);
  following_ = false;
  emit rangeChanged(range);
}

void LogPanels::ShowLog(const LogData& log) {
  const QVector<double> times = ToQVector(log.time_s);
  const std::vector<FailSpan> spans = FailSpans(log);
  for (std::size_t index = 0; index < kLogValueCount; ++index) {
    graphs_[index]->setData(times, ToQVector(log.values[index]), true);
    fail_bands_[index]->SetSpans(spans);
  }
  ShowOverlay(nullptr, 0);
  DrawMarkers(log.markers);
  SetCursors(std::nullopt, std::nullopt);
  const double end = log.time_s.empty() ? 1 : std::max(log.time_s.back(), log.time_s.front() + 1);
  SetRange(QCPRange(log.time_s.empty() ? 0 : log.time_s.front(), end));
}

void LogPanels::ShowOverlay(const LogData* overlay, double offset_s) {
  for (std::size_t index = 0; index < kLogValueCount; ++index) {
    QCPGraph& graph = *overlay_graphs_[index];
    graph.setVisible(overlay != nullptr);
    if (overlay == nullptr) {
      graph.data()->clear();
      continue;
    }
    graph.setData(Shifted(overlay->time_s, offset_s), ToQVector(overlay->values[index]), true);
  }
  FitValueAxes();
}

// Each value over the whole of both logs, so a zoom or pan never rescales it.
void LogPanels::FitValueAxes() {
  for (std::size_t index = 0; index < kLogValueCount; ++index) {
    QCPAxis& axis = *panels_[index]->axis(QCPAxis::atLeft);
    bool found = false;
    QCPRange range = graphs_[index]->getValueRange(found);
    if (overlay_graphs_[index]->visible()) {
      bool overlay_found = false;
      const QCPRange overlay = overlay_graphs_[index]->getValueRange(overlay_found);
      if (overlay_found)
        range = found ? QCPRange(std::min(range.lower, overlay.lower),
                                 std::max(range.upper, overlay.upper))
                      : overlay;
      found = found || overlay_found;
    }
    if (!found) range = QCPRange(0, 1);
    const double margin = range.size() > 0 ? range.size() * 0.05 : 1;
    axis.setRange(range.lower - margin, range.upper + margin);
  }
}

void LogPanels::DrawMarkers(const std::vector<LogMarker>& markers) {
  for (QCPAbstractItem* item : marker_items_) plot_.removeItem(item);
  marker_items_.clear();
  const QPen pen(kMarkerColor, 1, Qt::DashLine);
  for (const LogMarker& marker : markers) {
    for (QCPAxisRect* panel : panels_) {
      QCPItemStraightLine* line = VerticalLine(plot_, *panel, pen);
      PlaceVerticalLine(*line, marker.time_s);
      marker_items_.push_back(line);
    }
    if (marker.text.empty()) continue;
    QCPAxisRect& top = *panels_.front();
    auto* text = new QCPItemText(&plot_);
    text->setClipAxisRect(&top);
    text->setSelectable(false);
    text->setColor(kMarkerColor);
    text->setText(ToQString(marker.text));
    text->setPositionAlignment(Qt::AlignLeft | Qt::AlignTop);
    text->position->setAxisRect(&top);
    text->position->setAxes(top.axis(QCPAxis::atBottom), top.axis(QCPAxis::atLeft));
    text->position->setTypeX(QCPItemPosition::ptPlotCoords);
    text->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
    text->position->setCoords(marker.time_s, 0);
    text->setPadding(QMargins(3, 1, 3, 1));
    marker_items_.push_back(text);
  }
}

void LogPanels::SetCursors(std::optional<double> first_s, std::optional<double> second_s) {
  for (std::size_t index = 0; index < kLogValueCount; ++index) {
    PlaceVerticalLine(*first_cursor_[index], first_s);
    PlaceVerticalLine(*second_cursor_[index], second_s);
  }
}

void LogPanels::RedrawCursors() {
  cursor_layer_->replot();
}

QCPRange LogPanels::range() const {
  return panels_.front()->axis(QCPAxis::atBottom)->range();
}

void LogPanels::SetRange(const QCPRange& range) {
  panels_.front()->axis(QCPAxis::atBottom)->setRange(range);
}

std::optional<double> LogPanels::TimeAt(const QPointF& pixel) const {
  for (QCPAxisRect* panel : panels_) {
    if (panel->rect().contains(pixel.toPoint()))
      return panel->axis(QCPAxis::atBottom)->pixelToCoord(pixel.x());
  }
  return std::nullopt;
}

}  // namespace zelk
