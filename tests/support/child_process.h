// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Running programs as real processes, for the black-box tests and the
// benchmarks.

#include <sys/resource.h>
#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace zelk::testing {

struct ProcessOutput {
  int exit_code = -1;  // -1 when killed by a signal or the time-out
  bool timed_out = false;
  std::string out;
  std::string err;
  rusage usage{};  // the child's own CPU time
};

// Runs argv[0] (a path) with `input` on its stdin, collecting stdout and
// stderr; kills it after `timeout`.
ProcessOutput RunProcess(const std::vector<std::string>& argv, const std::string& input,
                         std::chrono::milliseconds timeout);

// A process left running in the background, its stdout read line by line;
// stopped with SIGTERM (then SIGKILL) when destroyed.
class BackgroundProcess {
 public:
  explicit BackgroundProcess(const std::vector<std::string>& argv);
  ~BackgroundProcess();
  BackgroundProcess(const BackgroundProcess&) = delete;
  BackgroundProcess& operator=(const BackgroundProcess&) = delete;

  bool running() const { return pid_ > 0; }
  std::optional<std::string> ReadLine(std::chrono::milliseconds timeout);

 private:
  pid_t pid_ = -1;
  int stdout_fd_ = -1;
  std::string pending_;
};

}  // namespace zelk::testing
