// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// GroupBoxFrameStyle: the application's style with one correction for the
// frame of a titled group box at a fractional scaling (125 %, 175 % ...).
//
// The group box cuts its title out of the frame with a painter clip. Qt 6.4's
// Windows style turns that clip into device pixels in the box's own
// coordinates and then adds the box's position rounded, while it places the
// frame at the box's exact (fractional) position: at 125 % the clip can end
// one device row or column short of the frame's last one, and the bottom (or
// right) line of the frame is not drawn. The style widens the clip by one
// pixel past the frame's right and bottom; the box's own clip still keeps the
// painting inside the box, so nothing else changes on any screen.

#include <QProxyStyle>

class QString;

namespace zelk {

class GroupBoxFrameStyle : public QProxyStyle {
 public:
  // Wraps the style named `key` (the one the application would use).
  explicit GroupBoxFrameStyle(const QString& key);
  // Wraps `base`, and takes it over.
  explicit GroupBoxFrameStyle(QStyle* base);

  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
};

}  // namespace zelk
