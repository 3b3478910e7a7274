// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/chart_ticks.h"

#include <QFontMetrics>
#include <algorithm>
#include <memory>

#include "qcustomplot.h"

namespace zelk {

namespace {

constexpr int kMostTicks = 10;
constexpr double kShortestWholeSecondStep = 1.0;

// The widest label the axis may draw, with a label's width of room on each
// side: the ticker may place up to half again as many ticks as asked for.
int LabelRoom(const QCPAxis& axis, const QString& widest) {
  const QFontMetrics metrics(axis.tickLabelFont());
  if (axis.orientation() == Qt::Horizontal) return 2 * metrics.horizontalAdvance(widest);
  return 5 * metrics.height() / 2;
}

}  // namespace

void UseElapsedTimeTicks(QCPAxis& axis) {
  auto ticker = QSharedPointer<QCPAxisTickerTime>::create();
  ticker->setTimeFormat(QStringLiteral("%h:%m:%s"));
  axis.setTicker(ticker);
}

void FitTickCount(QCPAxis& axis) {
  QSharedPointer<QCPAxisTicker> ticker = axis.ticker();
  if (ticker.isNull()) return;
  auto* time = dynamic_cast<QCPAxisTickerTime*>(ticker.data());
  QString widest = QStringLiteral("-00000.00");
  int count = 0;
  const int length =
      axis.orientation() == Qt::Horizontal ? axis.axisRect()->width() : axis.axisRect()->height();
  if (time != nullptr) {
    widest = QStringLiteral("000:00:00");
    count = std::clamp(length / LabelRoom(axis, widest), 2, kMostTicks);
    // Steps under a second need the milliseconds, which widen every label.
    const bool fine = axis.range().size() / count < kShortestWholeSecondStep;
    const QString format = fine ? QStringLiteral("%h:%m:%s.%z") : QStringLiteral("%h:%m:%s");
    if (fine)
      count = std::clamp(length / LabelRoom(axis, widest + QStringLiteral(".000")), 2, kMostTicks);
    if (time->timeFormat() != format) time->setTimeFormat(format);
  } else {
    // A strip too short for two labels gets one.
    const int fewest = axis.orientation() == Qt::Horizontal ? 2 : 1;
    count = std::clamp(length / LabelRoom(axis, widest), fewest, kMostTicks);
  }
  if (ticker->tickCount() != count) ticker->setTickCount(count);
}

void KeepTickLabelsApart(QCustomPlot& plot) {
  QObject::connect(&plot, &QCustomPlot::beforeReplot, &plot, [&plot] {
    for (QCPAxisRect* rect : plot.axisRects()) {
      for (QCPAxis* axis : rect->axes()) {
        if (axis->visible() && axis->tickLabels()) FitTickCount(*axis);
      }
    }
  });
}

}  // namespace zelk
