// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/chart_ticks.h"

#include <QFontMetrics>
#include <algorithm>
#include <typeinfo>

#include "qcustomplot.h"

namespace zelk {

namespace {

constexpr int kMostTicks = 10;
constexpr double kFewestWholeSeconds = 3.0;
constexpr double kWidening = 1.5;
constexpr int kMostWidenings = 40;

// A ticker told how far apart its ticks must be, in the axis's units.
class LeastStep {
 public:
  virtual ~LeastStep() = default;
  void SetLeastStep(double step) { least_step_ = step; }

 protected:
  double least_step_ = 0;
};

// Qt's tickers round a step to a readable one, which may be smaller than
// asked for: on a short axis two labels then overlap. This one takes the
// ticker's own readable steps, for a wider range until one is far enough.
template <typename Ticker>
class SpacedTicker : public Ticker, public LeastStep {
 protected:
  double getTickStep(const QCPRange& range) override {
    double step = Ticker::getTickStep(range);
    double size = range.size();
    for (int i = 0; i < kMostWidenings && step < least_step_; ++i) {
      size *= kWidening;
      step = Ticker::getTickStep(QCPRange(0, size));
    }
    return step;
  }
};

int LabelWidth(const QCPAxis& axis, const QString& widest) {
  return QFontMetrics(axis.tickLabelFont()).horizontalAdvance(widest);
}

int AxisLength(const QCPAxis& axis) {
  return axis.orientation() == Qt::Horizontal ? axis.axisRect()->width()
                                              : axis.axisRect()->height();
}

}  // namespace

void UseElapsedTimeTicks(QCPAxis& axis) {
  auto ticker = QSharedPointer<SpacedTicker<QCPAxisTickerTime>>::create();
  ticker->setTimeFormat(QStringLiteral("%h:%m:%s"));
  axis.setTicker(ticker);
}

void FitTickCount(QCPAxis& axis) {
  // The plain ticker every axis starts with becomes a spaced one.
  QSharedPointer<QCPAxisTicker> ticker = axis.ticker();
  if (ticker.isNull()) return;
  if (const QCPAxisTicker& plain = *ticker; typeid(plain) == typeid(QCPAxisTicker)) {
    ticker = QSharedPointer<SpacedTicker<QCPAxisTicker>>::create();
    axis.setTicker(ticker);
  }
  auto* spaced = dynamic_cast<LeastStep*>(ticker.data());
  if (spaced == nullptr) return;
  const int length = std::max(AxisLength(axis), 1);
  // The room a label takes along the axis, with a gap of half its size.
  int room = 3 * QFontMetrics(axis.tickLabelFont()).height() / 2;
  if (axis.orientation() == Qt::Horizontal) {
    QString widest = QStringLiteral("-00000.00");
    if (auto* time = dynamic_cast<QCPAxisTickerTime*>(ticker.data())) {
      // Whole seconds while the view holds a few; less than that needs the
      // milliseconds, which widen every label.
      widest = QStringLiteral("000:00:00");
      const bool fine = axis.range().size() < kFewestWholeSeconds;
      if (fine) widest += QStringLiteral(".000");
      const QString format = fine ? QStringLiteral("%h:%m:%s.%z") : QStringLiteral("%h:%m:%s");
      if (time->timeFormat() != format) time->setTimeFormat(format);
    }
    room = 3 * LabelWidth(axis, widest) / 2;
  }
  const int count = std::clamp(length / room, 1, kMostTicks);
  if (ticker->tickCount() != count) ticker->setTickCount(count);
  spaced->SetLeastStep(axis.range().size() * room / length);
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
