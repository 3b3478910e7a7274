// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/lamp.h"

#include <QPainter>
#include <QPen>
#include <QRectF>
#include <algorithm>

Lamp::Lamp(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void Lamp::setGreen(bool green) {
  if (green_ == green) return;
  green_ = green;
  update();
}

QColor Lamp::color() const {
  return green_ ? QColor(0, 255, 0) : QColor(255, 0, 0);
}

void Lamp::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing, true);
  // The largest circle that fits, centred, with room for half the outline.
  const qreal diameter = std::min(width(), height()) - 1.0;
  const QRectF circle((width() - diameter) / 2.0, (height() - diameter) / 2.0, diameter, diameter);
  painter.setPen(QPen(QColor(64, 64, 64), 1.0));
  painter.setBrush(color());
  painter.drawEllipse(circle);
}
