// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every window opens at its designed position. On a small screen, or one
// with a large scaling factor, that position can leave part of a window (the
// main window's buttons) outside the screen, out of reach; such a window is
// moved just enough to lie inside the screen's available area. A window that
// may be resized (the live chart, the user guide) is also made smaller where
// its designed size does not fit.

#include <QGuiApplication>
#include <QPoint>
#include <QRect>
#include <QScreen>
#include <QSize>
#include <QStyle>
#include <QWidget>
#include <QWindow>
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

// The frame of a window that may be resized: its designed client size where
// the area allows, else as large as the area (never below `minimum`), with
// `margins` (what the frame adds to the client area) around it; its top left
// corner as PlacedInside puts it.
inline QRect FittedFrame(QPoint designed, QSize client, QSize minimum, QSize margins,
                         const QRect& available) {
  const QSize frame = client.boundedTo(available.size() - margins).expandedTo(minimum) + margins;
  return {PlacedInside(designed, frame, available), frame};
}

// The screen a window designed at `designed` opens on, if any.
inline QScreen* ScreenFor(QWidget& window, QPoint designed) {
  QScreen* screen = QGuiApplication::screenAt(designed);
  return screen != nullptr ? screen : window.screen();
}

// What the frame adds to the client area. Before the window is first shown
// only a platform that makes the frame itself (Windows) can tell it, once the
// native window exists; else a title bar's height stands in for it.
inline QSize FrameMargins(QWidget& window) {
  if (window.isVisible()) return window.frameGeometry().size() - window.size();
  QMargins frame =
      window.windowHandle() != nullptr ? window.windowHandle()->frameMargins() : QMargins();
  if (frame.isNull()) {
    frame.setTop(window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window));
  }
  return {frame.left() + frame.right(), frame.top() + frame.bottom()};
}

// Moves `window` (its frame, as move() does for a window) to `designed`, or
// as near as the screen it opens on allows.
inline void PlaceOnScreen(QWidget& window, QPoint designed) {
  QScreen* screen = ScreenFor(window, designed);
  if (screen == nullptr) {
    window.move(designed);
    return;
  }
  window.move(
      PlacedInside(designed, window.size() + FrameMargins(window), screen->availableGeometry()));
}

// A window that may be resized opens at its designed size where the screen
// has room for it, else as large as the screen's available area, and is
// placed as PlaceOnScreen places it.
inline void FitOnScreen(QWidget& window, QPoint designed) {
  QScreen* screen = ScreenFor(window, designed);
  if (screen == nullptr) {
    window.move(designed);
    return;
  }
  (void)window.winId();  // the native window, for its frame
  const QSize margins = FrameMargins(window);
  const QSize minimum = window.minimumSizeHint().expandedTo(window.minimumSize());
  const QRect frame =
      FittedFrame(designed, window.size(), minimum, margins, screen->availableGeometry());
  window.resize(frame.size() - margins);
  window.move(frame.topLeft());
}

}  // namespace zelk
