// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's live-values poll, and the one place that starts and
// stops it. Every operation that talks to the module or asks the technician
// something (Read, Write, Restore, a program, Config, a file action, Quit, a
// box shown from a tick) pauses the poll while it runs: a tick inside the
// operation's modal box would talk to the module behind that box and, on a
// silent module, open a second box for the same failure. When the operation
// ends, the poll runs again or stays stopped by one rule (PollController's
// Finish).

#include <QTimer>
#include <functional>

namespace zelk {

class PollPause;

class PollController {
 public:
  // `connected`: whether the line to the module is open. `stalled`: shows
  // that live data has stopped (the Sync lamp).
  PollController(std::function<bool()> connected, std::function<void()> stalled);

  // Ticks while running; the owner connects its tick to it.
  QTimer& timer() { return timer_; }
  bool running() const { return timer_.isActive(); }
  // The period; 0: back to back. A running poll goes on running.
  void SetInterval(int interval_ms);
  // Live data came (a read's instant block): the poll runs from now on, or
  // from the end of the operation under way.
  void Run();
  // The poll's own tick failed: it stops before its box is shown, and stays
  // stopped until a Read.
  void StopAfterFailure();

 private:
  friend class PollPause;
  void Finish(const PollPause& pause);

  QTimer timer_;
  std::function<bool()> connected_;
  std::function<void()> stalled_;
  PollPause* pause_ = nullptr;  // the innermost operation under way
};

// The poll paused for the length of one operation (this object's life).
// Afterwards it runs if it ran before (`as_before`) or in any case (`run`),
// or when the operation brought live data (PollController::Run); unless the
// operation met a communication failure (Failed) or ended the poll
// (EndStopped). An operation inside another hands its outcome to the outer
// one, which alone restarts the poll.
class PollPause {
 public:
  enum class Then { as_before, run };

  PollPause(PollController& poll, Then then);
  ~PollPause();
  PollPause(const PollPause&) = delete;
  PollPause& operator=(const PollPause&) = delete;

  // The operation met a communication failure and has shown its box.
  void Failed() { failed_ = true; }
  // The operation leaves the poll stopped, with no failure to show: a Config
  // that found no module, Quit.
  void EndStopped() { ended_ = true; }

 private:
  friend class PollController;

  PollController& poll_;
  PollPause* outer_;
  bool run_;
  bool failed_ = false;
  bool ended_ = false;
};

}  // namespace zelk
