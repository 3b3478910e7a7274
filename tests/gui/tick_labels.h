// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether an axis's tick labels, as last drawn, run into each other: along a
// time axis two neighbours need half of each one's width between their
// ticks, up a value axis a line's height.

#include <QFontMetrics>
#include <QString>
#include <QVector>
#include <cmath>

#include "qcustomplot.h"

namespace zelk::test {

// Empty when the labels keep apart, else the first two that do not.
inline QString CrowdedTickLabels(const QCPAxis& axis) {
  if (!axis.visible() || !axis.tickLabels()) return {};
  const QFontMetrics metrics(axis.tickLabelFont());
  const QVector<double> ticks = axis.tickVector();
  const QVector<QString> labels = axis.tickVectorLabels();
  for (qsizetype i = 1; i < ticks.size() && i < labels.size(); ++i) {
    const double apart = std::fabs(axis.coordToPixel(ticks[i]) - axis.coordToPixel(ticks[i - 1]));
    const int needed =
        axis.orientation() == Qt::Horizontal
            ? (metrics.horizontalAdvance(labels[i]) + metrics.horizontalAdvance(labels[i - 1])) / 2
            : metrics.height();
    if (apart <= needed)
      return QStringLiteral("%1 and %2: %3 px apart, %4 needed")
          .arg(labels[i - 1], labels[i])
          .arg(apart)
          .arg(needed);
  }
  return {};
}

}  // namespace zelk::test
