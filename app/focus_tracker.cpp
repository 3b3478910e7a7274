// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/focus_tracker.h"

#include <QApplication>

namespace zelk {

FocusTracker::FocusTracker(QWidget* window, Handler on_exit, Handler on_enter)
    : QObject(window),
      window_(window),
      on_exit_(std::move(on_exit)),
      on_enter_(std::move(on_enter)) {
  connect(qApp, &QApplication::focusChanged, this, &FocusTracker::OnFocusChanged);
}

void FocusTracker::OnFocusChanged(QWidget* /*old*/, QWidget* now) {
  // Focus leaving for nothing, for another window or for a message box is no
  // move between controls; coming back to the same control is none either.
  if (now == nullptr || now->window() != window_ || now == last_) return;
  QPointer<QWidget> previous = last_;
  last_ = now;  // before Exit: a box it opens moves the focus away and back
  if (previous) on_exit_(previous);
  on_enter_(now);
}

}  // namespace zelk
