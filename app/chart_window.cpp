// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/chart_window.h"

#include "app/dialog_folder.h"

#include <QBuffer>
#include <QCheckBox>
#include <QPixmap>
#include <QSaveFile>
#include <chrono>
#include <sstream>
#include <string>

#include "app/chart_ticks.h"
#include "app/messages.h"
#include "app/qt_text.h"
#include "app/translation.h"
#include "app/window_placement.h"
#include "ui_ChartWindow.h"

namespace zelk {

namespace {

QVector<double> ToQVector(const std::vector<double>& values) {
  return QVector<double>(values.begin(), values.end());
}

QString StripLabel(const LiveSeriesRow& series_row) {
  return QStringLiteral("%1 (%2)").arg(Translated("Monitor", series_row.label),
                                       Translated("Monitor", series_row.unit));
}

}  // namespace

ChartWindow::ChartWindow(Messages& messages, QWidget* parent)
    : QWidget(parent, Qt::Window), ui_(std::make_unique<Ui::ChartWindow>()), messages_(messages) {
  ui_->setupUi(this);
  BuildStrips();
  // Over the window that opens it, as large as designed where the screen has room.
  FitOnScreen(*this, parent != nullptr ? parent->pos() : QPoint());
  connect(ui_->window_seconds, &QSpinBox::valueChanged, this,
          [this](int seconds) { SetWindowSeconds(seconds); });
  connect(ui_->pause, &QPushButton::toggled, this, &ChartWindow::SetPaused);
  connect(ui_->export_png, &QPushButton::clicked, this, &ChartWindow::ExportPngClick);
  connect(ui_->export_csv, &QPushButton::clicked, this, &ChartWindow::ExportCsvClick);
  redraw_timer_.setInterval(kChartRedrawMs);
  connect(&redraw_timer_, &QTimer::timeout, this, &ChartWindow::RedrawIfChanged);
}

ChartWindow::~ChartWindow() = default;

QCustomPlot& ChartWindow::plot() {
  return *ui_->plot;
}

// One strip per series, all on the same time range and lined up on the left
// and right, so a moment reads straight down through every value.
void ChartWindow::BuildStrips() {
  QCustomPlot& plot = *ui_->plot;
  // Drawn without antialiasing: a third of the time, which the poll needs.
  plot.setNotAntialiasedElements(QCP::aeAll);
  plot.plotLayout()->clear();
  auto* margins = new QCPMarginGroup(&plot);
  for (const LiveSeriesRow& series_row : kLiveSeries) {
    const std::size_t index = SeriesIndex(series_row.series);
    auto* strip = new QCPAxisRect(&plot);
    strip->setMarginGroup(QCP::msLeft | QCP::msRight, margins);
    strip->axis(QCPAxis::atLeft)->setLabel(StripLabel(series_row));
    strips_[index] = strip;
    graphs_[index] = plot.addGraph(strip->axis(QCPAxis::atBottom), strip->axis(QCPAxis::atLeft));
    graphs_[index]->setPen(QPen(QColor::fromHsv(static_cast<int>(index) * 55, 220, 180)));

    auto* box = new QCheckBox(Translated("Monitor", series_row.label), this);
    box->setObjectName(QStringLiteral("show_") + ToQString(series_row.column));
    box->setChecked(history_.shown(series_row.series));
    connect(box, &QCheckBox::toggled, this,
            [this, series = series_row.series](bool shown) { SetShown(series, shown); });
    ui_->series_layout->addWidget(box);
    series_boxes_[index] = box;
  }
  LayOutShownStrips();
  KeepTickLabelsApart(plot);
}

void ChartWindow::LayOutShownStrips() {
  QCPLayoutGrid& layout = *ui_->plot->plotLayout();
  for (QCPAxisRect* strip : strips_) {
    if (strip->layout() != nullptr) layout.take(strip);  // hidden ones are out already
  }
  layout.simplify();
  int row = 0;
  QCPAxisRect* last = nullptr;
  for (const LiveSeriesRow& series_row : kLiveSeries) {
    const std::size_t index = SeriesIndex(series_row.series);
    const bool shown = history_.shown(series_row.series);
    strips_[index]->setVisible(shown);
    graphs_[index]->setVisible(shown);
    strips_[index]->axis(QCPAxis::atBottom)->setLabel(QString());
    if (!shown) continue;
    layout.addElement(row++, 0, strips_[index]);
    last = strips_[index];
  }
  if (last != nullptr) last->axis(QCPAxis::atBottom)->setLabel(tr("Time (s)"));
}

bool ChartWindow::SetWindowSeconds(int seconds) {
  if (!history_.SetWindow(std::chrono::seconds(seconds))) {
    messages_.Inform(tr("The chart's window is from %1 s to %2 s.")
                         .arg(kShortestChartWindow.count())
                         .arg(kLongestChartWindow.count()),
                     windowTitle());
    return false;
  }
  const QSignalBlocker quiet(ui_->window_seconds);
  ui_->window_seconds->setValue(seconds);
  return true;
}

void ChartWindow::SetPaused(bool paused) {
  if (paused) {
    history_.Pause();
  } else {
    history_.Resume();
  }
  const QSignalBlocker quiet(ui_->pause);
  ui_->pause->setChecked(paused);
  ui_->pause->setText(paused ? tr("&Resume") : tr("&Pause"));
}

void ChartWindow::SetShown(LiveSeries series, bool shown) {
  history_.SetShown(series, shown);
  {
    const QSignalBlocker quiet(series_boxes_[SeriesIndex(series)]);
    series_boxes_[SeriesIndex(series)]->setChecked(shown);
  }
  LayOutShownStrips();
}

void ChartWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  redraw_timer_.start();
  RedrawIfChanged();
}

void ChartWindow::hideEvent(QHideEvent* event) {
  redraw_timer_.stop();  // nothing to draw for while nobody sees it
  QWidget::hideEvent(event);
}

void ChartWindow::RedrawIfChanged() {
  if (!isVisible()) return;
  if (drawn_once_ && history_.revision() == drawn_revision_) return;
  Redraw();
}

void ChartWindow::AddMarker(const QString& text) {
  history_.AddMarker(std::chrono::steady_clock::now(), text.toStdString());
}

void ChartWindow::DrawMarkers(const std::vector<ChartMarker>& markers) {
  QCustomPlot& plot = *ui_->plot;
  for (QCPAbstractItem* item : marker_items_) plot.removeItem(item);
  marker_items_.clear();
  const QPen pen(QColor(200, 0, 0), 1, Qt::DashLine);
  bool first_strip = true;
  for (std::size_t index = 0; index < strips_.size(); ++index) {
    if (!graphs_[index]->visible()) continue;
    for (const ChartMarker& marker : markers) {
      auto* line = new QCPItemStraightLine(&plot);
      line->setClipAxisRect(strips_[index]);
      line->point1->setAxes(graphs_[index]->keyAxis(), graphs_[index]->valueAxis());
      line->point2->setAxes(graphs_[index]->keyAxis(), graphs_[index]->valueAxis());
      line->point1->setCoords(marker.time_s, 0);
      line->point2->setCoords(marker.time_s, 1);
      line->setPen(pen);
      marker_items_.push_back(line);
      if (!first_strip || marker.text.empty()) continue;
      // The text once, at the top of the first strip shown.
      auto* label = new QCPItemText(&plot);
      label->setClipAxisRect(strips_[index]);
      label->position->setAxes(graphs_[index]->keyAxis(), graphs_[index]->valueAxis());
      label->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
      label->position->setAxisRect(strips_[index]);
      label->position->setCoords(marker.time_s, 0);
      label->setPositionAlignment(Qt::AlignLeft | Qt::AlignTop);
      label->setText(ToQString(marker.text));
      label->setColor(pen.color());
      marker_items_.push_back(label);
    }
    first_strip = false;
  }
}

void ChartWindow::Redraw() {
  const ChartView view = history_.View();
  const QVector<double> times = ToQVector(view.times);
  for (const LiveSeriesRow& series_row : kLiveSeries) {
    const std::size_t index = SeriesIndex(series_row.series);
    QCPGraph& graph = *graphs_[index];
    if (view.values[index].empty()) {
      graph.data()->clear();
      continue;
    }
    graph.setData(times, ToQVector(view.values[index]), true);
    graph.keyAxis()->setRange(view.from_s, view.to_s);
    graph.rescaleValueAxis(false, true);
  }
  DrawMarkers(view.markers);
  ui_->plot->replot();
  drawn_revision_ = history_.revision();
  drawn_once_ = true;
  ++drawings_;
}

bool ChartWindow::WriteAtomically(const QString& path, const QByteArray& bytes) {
  // QSaveFile writes a temporary file beside `path` and renames it on commit:
  // the old file stays whole until the new one is.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    messages_.Inform(tr("Cannot write %1: %2").arg(path, file.errorString()), windowTitle());
    return false;
  }
  return true;
}

bool ChartWindow::ExportPng(const QString& path) {
  Redraw();  // what is shown now, not at the last tick
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!ui_->plot->toPixmap().save(&buffer, "PNG")) {
    messages_.Inform(tr("Cannot make a PNG image of the chart."), windowTitle());
    return false;
  }
  return WriteAtomically(path, bytes);
}

bool ChartWindow::ExportCsv(const QString& path) {
  std::ostringstream csv;
  history_.ExportCsv(csv);
  const std::string text = csv.str();
  return WriteAtomically(path, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
}

void ChartWindow::ExportPngClick() {
  const QString path = AskFileToSave(this, tr("Export the chart as PNG"), tr("PNG images (*.png)"));
  if (path.isEmpty()) return;
  ExportPng(path);
}

void ChartWindow::ExportCsvClick() {
  const QString path = AskFileToSave(this, tr("Export the chart as CSV"), tr("CSV files (*.csv)"));
  if (path.isEmpty()) return;
  ExportCsv(path);
}

}  // namespace zelk
