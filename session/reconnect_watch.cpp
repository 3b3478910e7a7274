// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/reconnect_watch.h"

#include <utility>

namespace zelk {

ReconnectWatch::ReconnectWatch(std::string port_name, double started_ms)
    : port_name_(std::move(port_name)), started_ms_(started_ms), next_try_ms_(started_ms) {}

ReconnectLook ReconnectWatch::Look(Session& session, double now_ms) {
  ReconnectLook look;
  if (state_ == ReconnectState::waiting && now_ms - started_ms_ >= kReconnectWatchMs) {
    state_ = ReconnectState::gave_up;
  }
  if (state_ != ReconnectState::waiting || now_ms < next_try_ms_) {
    look.state = state_;
    return look;
  }
  // Connect opens (nothing is sent when that fails), asks the version, and
  // closes the port again when no answer comes.
  look.version = session.Connect(port_name_);
  if (look.version.ok()) {
    state_ = ReconnectState::back;
  } else if (!IsOpenFailure(look.version.failure)) {
    next_try_ms_ = now_ms + kSilentPortPauseMs;
  }
  look.state = state_;
  return look;
}

}  // namespace zelk
