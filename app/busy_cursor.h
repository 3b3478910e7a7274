// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A window blocks while the session exchanges with the module (up to about
// 1.1 s for a silent one). Once an operation has run longer than a moment
// the application shows the busy cursor, and puts it back when the operation
// ends, whichever way it ends.

#include "session/session.h"

namespace zelk {

// Long enough that a module that answers never flickers the cursor.
inline constexpr double kBusyCursorAfterMs = 200;

class BusyCursor {
 public:
  explicit BusyCursor(Session& session);
  ~BusyCursor();
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

  bool shown() const { return shown_; }
  int times_shown() const { return times_shown_; }

 private:
  void Show();
  void Restore();

  Session& session_;
  bool shown_ = false;
  int times_shown_ = 0;
};

}  // namespace zelk
