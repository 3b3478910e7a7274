// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/status_text.h"

#include <QStringList>

#include <QAction>
#include <QEvent>
#include <QMenuBar>
#include <QPainter>
#include <algorithm>

namespace zelk {

namespace {

constexpr int kGap = 16;         // between the last menu and the text
constexpr int kRightMargin = 8;  // between the text and the window's edge

}  // namespace

StatusText::StatusText(QMenuBar& bar) : QWidget(&bar), bar_(bar) {
  bar_.installEventFilter(this);
  Place();
}

void StatusText::setText(const QString& text) {
  if (text == text_) return;
  text_ = text;
  Place();
}

void StatusText::setBench(const QString& bench) {
  if (bench == bench_) return;
  bench_ = bench;
  Place();
}

void StatusText::setPrepared(const QString& prepared) {
  if (prepared == prepared_) return;
  prepared_ = prepared;
  Place();
}

QString StatusText::Whole() const {
  QStringList parts;
  for (const QString* part : {&bench_, &prepared_, &text_}) {
    if (!part->isEmpty()) parts << *part;
  }
  return parts.join(QStringLiteral("  |  "));
}

QSize StatusText::sizeHint() const {
  return {fontMetrics().horizontalAdvance(Whole()), fontMetrics().height()};
}

bool StatusText::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &bar_) {
    switch (event->type()) {
      case QEvent::Resize:
      case QEvent::Show:
      case QEvent::LayoutRequest:
      case QEvent::ActionAdded:
      case QEvent::ActionChanged:
      case QEvent::ActionRemoved:
      case QEvent::FontChange:
      case QEvent::StyleChange:
        Place();
        break;
      default:
        break;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void StatusText::Place() {
  int menus_end = 0;
  for (QAction* action : bar_.actions()) {
    if (action->isVisible()) menus_end = std::max(menus_end, bar_.actionGeometry(action).right());
  }
  const int room = std::max(0, bar_.width() - kRightMargin - (menus_end + kGap));
  const QString text = Whole();
  const int whole = fontMetrics().horizontalAdvance(text);
  shown_ = whole <= room ? text : fontMetrics().elidedText(text, Qt::ElideRight, room);
  setToolTip(shown_ == text ? QString() : text);
  const int width = std::min(whole, room);
  setGeometry(bar_.width() - kRightMargin - width, 0, width, bar_.height());
  setVisible(!shown_.isEmpty());
  update();
}

void StatusText::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawText(rect(), Qt::AlignVCenter | Qt::AlignLeft, shown_);
}

}  // namespace zelk
