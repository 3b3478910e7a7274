// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs the zelk-sim program for a test or a benchmark: in a fresh temporary
// directory, with its pty link there, and makes sure it is gone when the test
// ends. The one way every test starts the simulator.

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace zelk::testing {

// How zelk-sim puts its replies on the pty (its --pace). Tests take each
// reply in one piece: the client ends a reply at a 20 ms pause, and a test
// must not fail because a busy host left the simulator unscheduled that long
// in the middle of one. The benchmarks and the soak measure the paced line.
enum class SimPace { line, reply };

class SimProcess {
 public:
  // `sim_path`: the zelk-sim program.
  explicit SimProcess(std::string sim_path, SimPace pace = SimPace::reply);
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  // Starts zelk-sim --quiet --link <dir>/zelk-tty --pace <pace> plus `args`,
  // and waits for it to print the link path. False (with `error`) when it did
  // not come up.
  bool Start(const std::vector<std::string>& args, std::string& error);

  // Instead of Start: runs zelk-sim with `args` (no link added, output
  // discarded) to its end; returns its exit status, or nothing when it did
  // not end within the time-out.
  std::optional<int> RunToEnd(const std::vector<std::string>& args,
                              std::chrono::milliseconds timeout);

  const std::string& dir() const { return dir_; }
  const std::string& link() const { return link_; }
  bool running() const { return pid_ > 0; }

  // Sends `signal` and waits for the exit; returns the exit status, or
  // nothing when the program was killed or did not end in time.
  std::optional<int> Signal(int signal, std::chrono::milliseconds timeout);
  // Sends `signal` and returns at once (SIGSTOP, SIGCONT); false when not running.
  bool Send(int signal);
  // Waits for the program to end on its own.
  std::optional<int> WaitExit(std::chrono::milliseconds timeout);

 private:
  bool Spawn(const std::vector<std::string>& args, int stdout_fd, std::string& error);

  std::string sim_path_;
  SimPace pace_;
  std::string dir_;
  std::string link_;
  pid_t pid_ = -1;
  int exit_status_ = -1;
};

}  // namespace zelk::testing
