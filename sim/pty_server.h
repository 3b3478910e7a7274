// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Serves a ZelkModule on a pseudo-terminal: the client opens the slave side
// as it would a serial port; this side feeds what arrives to the module and
// plays each reply at the pace of a 19200-baud line, or a piece at a time
// (see PtyPacer), since a pty moves bytes instantly.

#include <signal.h>  // NOLINT(modernize-deprecated-headers): POSIX sigset_t, not in <csignal>

#include <chrono>
#include <cstdint>
#include <string>

#include "sim/module.h"
#include "sim/pty_pacer.h"

namespace zelk::sim {

class PtyServer {
 public:
  // `log`: one line on stderr per request, and one per reply that went out
  // later than planned.
  PtyServer(ZelkModule& module, bool log, Pace pace);
  ~PtyServer();
  PtyServer(const PtyServer&) = delete;
  PtyServer& operator=(const PtyServer&) = delete;

  // Creates the pty and puts both sides in raw mode. A slave descriptor stays
  // open here so that the pty survives clients coming and going (with no
  // slave open, the master reports a hang-up and poll would spin).
  bool Open(std::string& error);
  const std::string& slave_path() const { return slave_path_; }

  enum class Outcome { stopped, hung_up, failed };

  // Serves until `stop` is set (checked whenever a signal interrupts the
  // wait), or until the module hangs up: the master is then closed, the
  // client sees the device vanish, and Run returns hung_up. `wait_mask` is
  // the signal mask while waiting; the stopping signals must be blocked
  // otherwise, so that none slips in between the check and the wait.
  Outcome Run(const volatile sig_atomic_t& stop, const sigset_t& wait_mask, std::string& error);

 private:
  double NowMs() const;
  void Take(const std::uint8_t* bytes, std::size_t count, double now);
  void SendDue(double now);
  void LogLateReplies();
  void ReleaseAbandonedPort();
  void CloseAll();

  static constexpr double kIdleCheckMs = 1000;
  static constexpr std::size_t kHistoryKept = 64;

  ZelkModule& module_;
  bool log_;
  int master_ = -1;
  int slave_ = -1;
  std::string slave_path_;
  std::chrono::steady_clock::time_point started_;
  PtyPacer outgoing_;
  double hang_up_at_ms_ = -1;  // >= 0: close the line at this time
};

}  // namespace zelk::sim
