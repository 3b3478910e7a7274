// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/busy_cursor.h"

#include <QApplication>
#include <QCursor>

namespace zelk {

BusyCursor::BusyCursor(Session& session) : session_(session) {
  session_.SetBusyWatch(
      kBusyCursorAfterMs, [this] { Show(); }, [this] { Restore(); });
}

BusyCursor::~BusyCursor() {
  session_.SetBusyWatch(0, {}, {});
  Restore();
}

void BusyCursor::Show() {
  if (shown_) return;
  // The platform applies an override cursor at once; no event needs to run,
  // which matters here because the exchange holds the event loop.
  QApplication::setOverrideCursor(Qt::WaitCursor);
  shown_ = true;
  ++times_shown_;
}

void BusyCursor::Restore() {
  if (!shown_) return;
  QApplication::restoreOverrideCursor();
  shown_ = false;
}

}  // namespace zelk
