// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Back after an unplug: once the line has said the device is gone, the
// window looks about once a second whether the same port name is back. A
// look opens the port and sends the version request, nothing else; while the
// port cannot be opened, nothing is sent at all. When the version answers,
// the session stays connected and the watch is over.

#include <string>

#include "session/session.h"

namespace zelk {

inline constexpr double kReconnectWatchMs = 10 * 60 * 1000.0;  // then the watch gives up
inline constexpr double kReconnectLookMs = 1000.0;             // the window's timer
// A port that opens but stays silent (an adapter back, the module not yet
// powered) costs a failed exchange of about 1.1 s; it is asked again only
// after this pause, so the window is not kept busy half of the time.
inline constexpr double kSilentPortPauseMs = 5000.0;

enum class ReconnectState {
  waiting,  // not back yet (the port does not open, or it opened and stayed silent)
  back,     // the port is open again and the version answered
  gave_up,  // the watch time is over; nothing more is tried
};

struct ReconnectLook {
  ReconnectState state = ReconnectState::waiting;
  // The version reply (back), or why this look did not find the module
  // (not asked at all while a silent port waits for its pause: Failure::none).
  Result<ModuleVersion> version;
};

class ReconnectWatch {
 public:
  // `started_ms` on the clock the caller passes to Look (the session's own).
  ReconnectWatch(std::string port_name, double started_ms);

  // One look: connects `session` to the port when the port opens and the
  // version answers. After back or gave_up every further look says the same
  // and touches nothing.
  ReconnectLook Look(Session& session, double now_ms);

  const std::string& port_name() const { return port_name_; }
  bool over() const { return state_ != ReconnectState::waiting; }

 private:
  std::string port_name_;
  double started_ms_;
  double next_try_ms_;
  ReconnectState state_ = ReconnectState::waiting;
};

}  // namespace zelk
