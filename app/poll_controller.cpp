// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/poll_controller.h"

#include <utility>

#include "monitor/poll_schedule.h"

namespace zelk {

PollController::PollController(std::function<bool()> connected, std::function<void()> stalled)
    : connected_(std::move(connected)), stalled_(std::move(stalled)) {
  timer_.setInterval(kPollIntervalMs);
}

void PollController::SetInterval(int interval_ms) {
  // setInterval keeps a running timer running; every start keeps the interval.
  timer_.setInterval(interval_ms);
}

void PollController::Run() {
  if (pause_ != nullptr) {
    pause_->run_ = true;
  } else {
    timer_.start();
  }
}

void PollController::StopAfterFailure() {
  if (pause_ != nullptr) {
    pause_->failed_ = true;
    return;
  }
  // Ticks keep coming while the failure's box is open.
  timer_.stop();
  stalled_();
}

void PollController::Finish(const PollPause& pause) {
  // An operation that met a communication failure has shown its one box; a
  // tick behind it would show another for the same silence. So the poll
  // stays stopped, the Sync lamp says live data has stopped, and Read starts
  // the poll again. Nor does a poll start on a line that is not open.
  const bool run = pause.run_ && !pause.ended_;
  if (pause.failed_ || (run && !connected_())) {
    stalled_();
    return;
  }
  if (run) timer_.start();
}

PollPause::PollPause(PollController& poll, Then then)
    : poll_(poll),
      outer_(poll.pause_),
      run_(then == Then::run || (outer_ != nullptr ? outer_->run_ : poll.running())) {
  poll_.pause_ = this;
  poll_.timer_.stop();
}

PollPause::~PollPause() {
  poll_.pause_ = outer_;
  if (outer_ == nullptr) {
    poll_.Finish(*this);
    return;
  }
  outer_->run_ = run_;
  outer_->failed_ = outer_->failed_ || failed_;
  outer_->ended_ = outer_->ended_ || ended_;
}

}  // namespace zelk
