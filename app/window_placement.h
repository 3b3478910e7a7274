// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every window opens at its designed position. On a small screen, or one
// with a large scaling factor, that position can leave part of a window (the
// main window's buttons) outside the screen, out of reach; such a window is
// moved just enough to lie inside the screen's available area.

#include <QGuiApplication>
#include <QPoint>
#include <QRect>
#include <QScreen>
#include <QSize>
#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace zelk {

// Where the top left corner of a frame of `frame` size goes: `designed` when
// the frame fits there, else the nearest point at which it fits. A frame
// larger than the area keeps its top left corner (title bar, first controls)
// inside.
inline QPoint PlacedInside(QPoint designed, QSize frame, const QRect& available) {
  const auto axis = [](int at, int length, int first, int extent) {
    return std::max(first, std::min(at, first + extent - length));
  };
  return {axis(designed.x(), frame.width(), available.left(), available.width()),
          axis(designed.y(), frame.height(), available.top(), available.height())};
}

// Moves `window` (its frame, as move() does for a window) to `designed`, or
// as near as the screen it opens on allows. Before the window is first shown
// its frame is not known yet; a title bar's height stands in for it.
inline void PlaceOnScreen(QWidget& window, QPoint designed) {
  QScreen* screen = QGuiApplication::screenAt(designed);
  if (screen == nullptr) screen = window.screen();
  if (screen == nullptr) {
    window.move(designed);
    return;
  }
  QSize frame = window.frameGeometry().size();
  if (!window.isVisible() && frame == window.size()) {
    frame.rheight() += window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
  }
  window.move(PlacedInside(designed, frame, screen->availableGeometry()));
}

}  // namespace zelk
