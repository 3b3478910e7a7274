// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/group_box_frame_style.h"

#include <QPainter>
#include <QRegion>
#include <QStyleOption>

namespace zelk {

GroupBoxFrameStyle::GroupBoxFrameStyle(const QString& key) : QProxyStyle(key) {}

GroupBoxFrameStyle::GroupBoxFrameStyle(QStyle* base) : QProxyStyle(base) {}

void GroupBoxFrameStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                       QPainter* painter, const QWidget* widget) const {
  if (element != PE_FrameGroupBox || painter == nullptr || !painter->hasClipping()) {
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    return;
  }
  // The clip, with a one-pixel strip just outside the frame's right and
  // bottom: however the base style rounds it, it reaches the frame's last
  // device column and row. The title's cut stays as it was.
  const QRect frame = option->rect;
  const QRegion past_frame = QRegion(frame.adjusted(0, 0, 1, 1)) - QRegion(frame);
  painter->save();
  painter->setClipRegion(painter->clipRegion() + past_frame);
  QProxyStyle::drawPrimitive(element, option, painter, widget);
  painter->restore();
}

}  // namespace zelk
